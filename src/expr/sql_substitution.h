#pragma once

// Names replaced by run-time values inside a SQL text, so that no value ever
// reaches the statement raw: a value written among the statement's code
// becomes one quoted literal (or a date literal, or a plain number), a value
// that lands inside a literal the author quoted has its apostrophes doubled,
// and nothing is replaced inside comments.

#include <QDate>
#include <QList>
#include <QString>

namespace livrax::expr {

// A run-time value and the SQL literal it becomes.
class SqlValue {
  public:
    enum class Kind { Text, Date, Number, Nothing };

    // Any text: a quoted literal.
    static SqlValue text(const QString& value);
    // A date: 'dd.mm.yyyy' (SqlDate). An invalid date is written as an empty
    // text literal.
    static SqlValue date(const QDate& value);
    // A number with a "." decimal point, written as it is when it is one
    // ("-" digits, optionally "." digits), in parentheses when negative so
    // that it never makes "--" with a minus before it; any other text is
    // written as a text literal.
    static SqlValue number(const QString& value);
    // The name is removed.
    static SqlValue nothing();
    // A text typed in a window: a date when it is one (dd/mm/yy, dd/mm/yyyy),
    // a text literal otherwise. Firebird reads a quoted dd/mm/yy month first,
    // so a typed date is never passed as a quoted text.
    static SqlValue typed(const QString& value);

    Kind kind() const { return m_kind; }
    // The value written among the statement's code.
    QString inCode() const;
    // The value written inside a literal the author quoted: apostrophes
    // doubled, a date as dd.mm.yyyy.
    QString inLiteral() const;
    // The value written inside a double-quoted identifier: quotes doubled.
    QString inIdentifier() const;

  private:
    Kind m_kind = Kind::Nothing;
    QString m_text;
    QDate m_date;
};

struct SqlSubstitution {
    QString name;
    SqlValue value;
};

// Replaces every occurrence of the names (exact spelling) in `sql` in one
// left-to-right scan that follows the statement's quoting: at each place the
// longest name that starts there (the first of the list among equals) is
// replaced, and the inserted value is never scanned again. Names are made of letters, digits, "_",
// "[" and "]"; a name with any other character is not replaced. Inside comments
// ("--" to the end of the line, "/* */") and Q'..' literals nothing is
// replaced.
QString SubstituteInSql(const QString& sql, const QList<SqlSubstitution>& substitutions);

} // namespace livrax::expr
