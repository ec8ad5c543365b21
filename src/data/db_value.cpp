#include "data/db_value.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

constexpr qint64 PowersOfTen[] = {1LL,
                                  10LL,
                                  100LL,
                                  1000LL,
                                  10000LL,
                                  100000LL,
                                  1000000LL,
                                  10000000LL,
                                  100000000LL,
                                  1000000000LL,
                                  10000000000LL,
                                  100000000000LL,
                                  1000000000000LL,
                                  10000000000000LL,
                                  100000000000000LL,
                                  1000000000000000LL,
                                  10000000000000000LL,
                                  100000000000000000LL,
                                  1000000000000000000LL};

// Divides by 10^digits rounding half to even.
qint64 DivideRoundingToEven(qint64 value, int digits) {
    const qint64 divisor = PowersOfTen[digits];
    qint64 quotient = value / divisor;
    const qint64 remainder = value % divisor;
    const qint64 twice = 2 * (remainder < 0 ? -remainder : remainder);
    const bool up = twice > divisor || (twice == divisor && (quotient % 2 != 0));
    if (up) quotient += value < 0 ? -1 : 1;
    return quotient;
}

// `value` cut to a whole number when it lies within the 64-bit range; false
// otherwise (infinite, not a number, or too large), as the decimal path
// reports an overflow. The bounds are -2^63 and 2^63, both exact doubles.
bool WholeFromDouble(double value, qint64* result) {
    constexpr double Limit = 9223372036854775808.0;
    if (!(value >= -Limit && value < Limit)) return false;
    *result = qint64(value);
    return true;
}

} // namespace

bool Rescale(qint64 unscaled, int fromScale, int toScale, qint64* result) {
    if (fromScale == toScale) {
        *result = unscaled;
        return true;
    }
    if (fromScale > toScale) {
        const int digits = fromScale - toScale;
        *result = digits > 18 ? 0 : DivideRoundingToEven(unscaled, digits);
        return true;
    }
    const int digits = toScale - fromScale;
    if (digits > 18) return unscaled == 0 ? (*result = 0, true) : false;
    const qint64 factor = PowersOfTen[digits];
    if (unscaled > std::numeric_limits<qint64>::max() / factor ||
        unscaled < std::numeric_limits<qint64>::min() / factor)
        return false;
    *result = unscaled * factor;
    return true;
}

bool ParseDecimal(const QString& input, int scale, qint64* result) {
    QString text = input.trimmed();
    if (text.contains(u',') && text.contains(u'.')) text.remove(u'.');
    text.replace(u',', u'.');
    bool negative = false;
    int pos = 0;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    qint64 digitsValue = 0;
    int fractionDigits = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'.') {
            if (seenPoint) return false;
            seenPoint = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > u'9') return false;
        seenDigit = true;
        if (digitsValue > (std::numeric_limits<qint64>::max() - 9) / 10) {
            // Beyond 18 significant digits only further decimals may be dropped.
            if (!seenPoint) return false;
            continue;
        }
        digitsValue = digitsValue * 10 + (c.unicode() - u'0');
        if (seenPoint) ++fractionDigits;
    }
    if (!seenDigit) return false;
    qint64 value = 0;
    if (!Rescale(negative ? -digitsValue : digitsValue, fractionDigits, scale, &value))
        return false;
    *result = value;
    return true;
}

DbValue DbValue::decimal(qint64 unscaled, int scale) {
    DbValue value;
    value.m_kind = Kind::Decimal;
    value.m_integer = unscaled;
    value.m_scale = scale;
    return value;
}

DbValue DbValue::fromDouble(double number) {
    DbValue value;
    value.m_kind = Kind::Double;
    value.m_double = number;
    return value;
}

QString DbValue::toString() const {
    switch (m_kind) {
    case Kind::Null:
        return {};
    case Kind::Text:
        return m_text;
    case Kind::Decimal: {
        if (m_scale <= 0) {
            qint64 whole = m_integer;
            for (int i = 0; i < -m_scale; ++i)
                whole *= 10;
            return QString::number(whole);
        }
        const bool negative = m_integer < 0;
        // Work on the magnitude as unsigned so that the minimum value is safe.
        quint64 magnitude = negative ? quint64(0) - quint64(m_integer) : quint64(m_integer);
        QString digits = QString::number(magnitude).rightJustified(m_scale + 1, u'0');
        digits.insert(digits.size() - m_scale, u',');
        return negative ? u'-' + digits : digits;
    }
    case Kind::Double:
        return QString::number(m_double, 'g', 15).replace(u'.', u',');
    case Kind::Date:
        return m_date.toString(u"dd/MM/yy");
    case Kind::Time:
        return m_time.toString(u"hh:mm:ss");
    case Kind::DateTime:
        return m_date.toString(u"dd/MM/yy") + u' ' + m_time.toString(u"hh:mm:ss");
    case Kind::Bool:
        return m_integer ? u"S"_s : u"N"_s;
    }
    return {};
}

qint64 DbValue::toScaled() const {
    qint64 result = 0;
    switch (m_kind) {
    case Kind::Decimal:
        if (!Rescale(m_integer, m_scale, 4, &result)) return 0;
        return result;
    case Kind::Double:
        return WholeFromDouble(std::nearbyint(m_double * 10000.0), &result) ? result : 0;
    case Kind::Text:
        return ParseDecimal(m_text, 4, &result) ? result : 0;
    case Kind::Bool:
        return m_integer * 10000;
    default:
        return 0;
    }
}

qint64 DbValue::toInt() const {
    switch (m_kind) {
    case Kind::Decimal: {
        if (m_scale <= 0) {
            qint64 result = 0;
            return Rescale(m_integer, m_scale, 0, &result) ? result : 0;
        }
        return m_scale > 18 ? 0 : m_integer / PowersOfTen[m_scale];
    }
    case Kind::Double: {
        qint64 result = 0;
        return WholeFromDouble(m_double, &result) ? result : 0;
    }
    case Kind::Text:
        return toScaled() / 10000;
    case Kind::Bool:
        return m_integer;
    default:
        return 0;
    }
}

QDate DbValue::toDate() const {
    return m_kind == Kind::Date || m_kind == Kind::DateTime ? m_date : QDate();
}

QDateTime DbValue::toDateTime() const {
    if (m_kind == Kind::DateTime) return QDateTime(m_date, m_time);
    if (m_kind == Kind::Date) return QDateTime(m_date, QTime(0, 0));
    return {};
}

QTime DbValue::toTime() const {
    return m_kind == Kind::Time || m_kind == Kind::DateTime ? m_time : QTime();
}

double DbValue::toDouble() const {
    switch (m_kind) {
    case Kind::Double:
        return m_double;
    case Kind::Decimal:
        return m_scale >= 0 && m_scale <= 18 ? double(m_integer) / double(PowersOfTen[m_scale])
                                             : double(m_integer);
    default:
        return double(toScaled()) / 10000.0;
    }
}

bool DbValue::toBool() const {
    if (m_kind == Kind::Text) return m_text.trimmed().compare(u"S", Qt::CaseInsensitive) == 0;
    return toScaled() != 0;
}

bool DbValue::operator==(const DbValue& other) const {
    if (m_kind != other.m_kind) return false;
    switch (m_kind) {
    case Kind::Null:
        return true;
    case Kind::Text:
        return m_text == other.m_text;
    case Kind::Decimal: {
        const int scale = std::max(m_scale, other.m_scale);
        qint64 a = 0, b = 0;
        return Rescale(m_integer, m_scale, scale, &a) &&
               Rescale(other.m_integer, other.m_scale, scale, &b) && a == b;
    }
    case Kind::Double:
        return m_double == other.m_double;
    case Kind::Date:
        return m_date == other.m_date;
    case Kind::Time:
        return m_time == other.m_time;
    case Kind::DateTime:
        return m_date == other.m_date && m_time == other.m_time;
    case Kind::Bool:
        return m_integer == other.m_integer;
    }
    return false;
}

} // namespace livrax::data
