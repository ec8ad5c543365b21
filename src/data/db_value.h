#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace livrax::data {

// One value read from or written to the database, kept exactly: a NUMERIC or
// DECIMAL column is its unscaled 64-bit integer and its scale (never a
// double), a DATE a QDate, a text BLOB its decoded text.
class DbValue {
  public:
    enum class Kind { Null, Text, Decimal, Double, Date, Time, DateTime, Bool };

    DbValue() = default;
    DbValue(const QString& text) : m_kind(Kind::Text), m_text(text) {}
    DbValue(const char16_t* text) : DbValue(QString::fromUtf16(text)) {}
    DbValue(QDate date) : m_kind(date.isValid() ? Kind::Date : Kind::Null), m_date(date) {}
    DbValue(const QDateTime& moment)
        : m_kind(moment.isValid() ? Kind::DateTime : Kind::Null), m_date(moment.date()),
          m_time(moment.time()) {}
    DbValue(QTime time) : m_kind(time.isValid() ? Kind::Time : Kind::Null), m_time(time) {}
    DbValue(bool flag) : m_kind(Kind::Bool), m_integer(flag ? 1 : 0) {}
    DbValue(int integer) : DbValue(decimal(integer, 0)) {}
    DbValue(qint64 integer) : DbValue(decimal(integer, 0)) {}

    static DbValue null() { return {}; }
    // `unscaled` × 10^-`scale`: decimal(12345, 2) is 123.45.
    static DbValue decimal(qint64 unscaled, int scale);
    // An amount or quantity kept in ten-thousandths (four implied decimals).
    static DbValue scaled(qint64 tenThousandths) { return decimal(tenThousandths, 4); }
    static DbValue fromDouble(double value);

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::Null; }

    // Decimal: the unscaled integer and its number of decimals.
    qint64 unscaled() const { return m_integer; }
    int scale() const { return m_scale; }

    // Text of the value: texts as stored; numbers as plain decimal text with
    // the decimal comma and the column's own decimals ("1234,50"); dates as
    // "dd/MM/yy", times "hh:mm:ss", timestamps "dd/MM/yy hh:mm:ss"; null as "".
    QString toString() const;
    // The value in ten-thousandths. Numbers with more than four decimals are
    // rounded half to even; texts are read as decimals with "," or "."; 0 when
    // the value is null or not a number.
    qint64 toScaled() const;
    // The integer part (decimals dropped); 0 for null or non-numbers.
    qint64 toInt() const;
    QDate toDate() const;
    QDateTime toDateTime() const;
    QTime toTime() const;
    double toDouble() const;
    bool toBool() const;

    bool operator==(const DbValue& other) const;

  private:
    Kind m_kind = Kind::Null;
    QString m_text;
    qint64 m_integer = 0;
    int m_scale = 0;
    double m_double = 0;
    QDate m_date;
    QTime m_time;
};

// Exact conversion between decimal texts and scaled integers, shared by the
// value class and the parameter binding. Accepts an optional sign, digits, and
// "," or "." as the decimal point (a text with both reads "." as a thousands
// separator). Returns false for anything else or on overflow. Extra decimals
// are rounded half to even.
bool ParseDecimal(const QString& text, int scale, qint64* result);
// Changes the scale of an unscaled integer, rounding half to even when
// decimals are dropped. Returns false on overflow.
bool Rescale(qint64 unscaled, int fromScale, int toScale, qint64* result);

} // namespace livrax::data
