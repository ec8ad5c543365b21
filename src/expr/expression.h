#pragma once

// The expression language of report columns.
//
// A line expression is a column's content text: a conditional (IF, IFBOL,
// CANCELARSE, IIF, IMPSE), the printed amount in words (VEXTENSO), or
// arithmetic over two operands (ARIT a op b, a [op] b); any other text prints
// as it is. A field expression is evaluated against the current row: a single
// column, a substring (COPY(name,start,length)), or arithmetic over columns and
// numbers applied strictly from left to right, without precedence ("2+3*4" is
// 20). Every form is recognised by its first characters and cut into tokens
// once, by ParseExpression; Evaluate then runs the parsed form for each row.
//
// Amounts are 64-bit fixed point (ten-thousandths), never floating point.
// Comparisons are byte by byte on the Windows-1252 text, so "10" < "9".
// Faults never crash and never print a silent zero: a division by zero, a
// result beyond 64 bits, an operand that is neither a column nor a number, or
// a misspelt column gives an empty text with a diagnostic.

#include "expr/expression_row.h"

#include <QList>
#include <QString>

#include <optional>

namespace livrax::expr {

struct Diagnostic {
    enum class Kind {
        Malformed,      // a form whose tokens make no sense (unknown operator, bad COPY)
        UnknownField,   // a name that is neither a column of the row nor a number
        NotANumber,     // a column or operand whose text is not a number
        DivisionByZero, // a divisor of zero
        Overflow,       // a number or a result beyond the 64-bit range
        LookupFailed,   // a look-up that found no row or no such column
    };
    Kind kind = Kind::Malformed;
    QString detail; // the token or column at fault, for the report designer's message

    friend bool operator==(const Diagnostic&, const Diagnostic&) = default;
};

struct ExpressionResult {
    QString text; // what is printed
    // Why the text is empty (or, for a line form with an unknown operator, why
    // it is the input text unchanged).
    std::optional<Diagnostic> diagnostic;
};

enum class ExpressionKind {
    Line,  // a report column's content text
    Field, // an expression over the current row
};

// One token of a parsed expression, with what can be worked out once.
struct ExpressionToken {
    QString text;
    // Column reference: the name without its "A."/"S." qualifier.
    QString column;
    bool secondary = false; // "S.name"
    bool hasMacro = false;  // contains "[": expanded for every row
    // The token read as a number literal (when it has no macro).
    enum class Number { Valid, NotANumber, Overflow } number = Number::NotANumber;
    qint64 scaled = 0;
};

struct ParsedExpression {
    enum class Form {
        Empty,       // field expression: empty text
        Verbatim,    // line expression printed as it is
        If,          // IF a = b THEN n = 'x' ELSE n = 'y'
        Truth,       // IFBOL / CANCELARSE a op b
        Choice,      // IIF(a op b,x,y)
        PrintIf,     // IMPSE(a op b)
        AmountWords, // VEXTENSO
        Arithmetic,  // ARIT a op b, a [op] b: six decimals
        Column,      // a single column
        Copy,        // COPY(name,start,length)
        Chain,       // operands and operators, left to right
    };
    ExpressionKind kind = ExpressionKind::Line;
    Form form = Form::Empty;
    QString source;
    // Line forms: T1..Tn (tokens[i] is T(i+1)). Chain: operand, operator,
    // operand... Arithmetic: a, op, b. Copy: name, start, length (start and
    // length read as integers into `scaled`).
    QList<ExpressionToken> tokens;
};

ParsedExpression ParseExpression(const QString& text, ExpressionKind kind);

ExpressionResult Evaluate(const ParsedExpression& expression, const ExpressionRow& row);

// Both steps at once, for a text evaluated a single time.
ExpressionResult EvaluateLine(const QString& text, const ExpressionRow& row);
ExpressionResult EvaluateField(const QString& text, const ExpressionRow& row);

// A value fetched from another table by key: the column `expr` of the first
// row whose `keyField` (the table's first primary-key field when empty) equals
// `keyValue`, narrowed by `filter`. `expr` may also be
// "IIF(field = value,equalField,otherField)". A blank table or key value gives
// an empty text; a missing row or column gives an empty text with a
// LookupFailed diagnostic.
ExpressionResult LookupValue(const LookupSource& source, const QString& table,
                             const QString& keyField, const QString& keyValue,
                             const QString& filter, const QString& expr);

// A number text read the way ToScaled reads it (decimals beyond `decimals`
// cut, then rounded half to even to ten-thousandths), but strictly: an
// optional leading "-", digits and one decimal comma or point ("1.234,56"
// reads its dots as thousands). Anything else is NotANumber; a value beyond
// 64 bits is Overflow. Allocation-free.
ExpressionToken::Number ReadScaled(QStringView text, int decimals, qint64* out);

// The shortest decimal text of a scaled amount: "24,6912", "20", "-0,5".
QString ShortestDecimal(qint64 tenThousandths);

// Byte-by-byte comparison of the Windows-1252 bytes of two texts (<0, 0, >0).
int CompareBytes(QStringView a, QStringView b);

} // namespace livrax::expr
