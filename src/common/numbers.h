#pragma once

// Numbers as texts with the program's fixed decimal comma: money with
// thousands dots, SQL numeric literals, and the exact conversion between
// decimal texts and the scaled integers (ten-thousandths) in which money and
// quantities are carried.

#include <QString>

#include <optional>

namespace livrax {

// FormatDecimal with "." thousands separators; when width >= 1 the dotted
// number is right-aligned in `width` and loses its leftmost characters when
// longer ("1234567,89" in width 10 gives "234.567,89").
QString FormatMoney(const QString& value, int width, int decimals);
QString FormatMoney(qint64 value, int width, int decimals);

// A SQL numeric literal such as 1234.50: FormatDecimal, trimmed, with a
// decimal point; empty becomes "0".
QString SqlNumber(const QString& value, int width, int decimals);
QString SqlNumber(qint64 value, int width, int decimals);

// FormatDecimal(value, 15, decimals) read as a number and scaled to
// ten-thousandths, rounded half to even when more than four decimals are
// kept. Exact decimal arithmetic throughout. A text that is not a number, or
// a number beyond the 64-bit range, gives 0.
qint64 ToScaled(const QString& value, int decimals);
qint64 ToScaled(qint64 value, int decimals);

// The plain decimal text of a scaled amount with the decimal comma and four
// decimals: 123456 gives "12,3456", -5 gives "-0,0005". Feeds scaled amounts
// to FormatDecimal and FormatMoney exactly.
QString ScaledToText(qint64 tenThousandths);

// FormatDecimal(ScaledToText(value), width, decimals) built straight from the
// integer: decimals cut, never rounded; a leading "-" for negatives; right-
// aligned in `width` and cut to its rightmost characters when longer.
QString FormatScaled(qint64 tenThousandths, int width, int decimals);

// Trimmed; when the text is made only of "0123456789,.-" and holds both ","
// and ".", the "." (thousands) are removed; then every "," becomes ".".
QString DotDecimal(const QString& text);

// As DotDecimal, but empty becomes "0", "." is removed whenever both "," and
// "." occur, and the result is trimmed.
QString DotDecimalZero(const QString& text);

// DotDecimal of the text; a result shaped like dd/mm/yy becomes DateMDY of it.
QString ToSqlValue(const QString& text);

// a × b / divisor computed exactly (a 128-bit intermediate) and rounded once,
// half to even as ToScaled rounds: the product and quotient of scaled amounts
// (balance × price, taxable × rate / 100) with no intermediate rounding.
// nullopt when divisor is 0 or the result leaves the 64-bit range: an amount
// never wraps.
std::optional<qint64> MulDivRounded(qint64 a, qint64 b, qint64 divisor);

} // namespace livrax
