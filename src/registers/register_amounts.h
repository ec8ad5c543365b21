#pragma once
// Amounts typed in the register windows, read by the program before they are
// stored: the decimal text of a NUMERIC(precision, 2) column as an exact count
// of hundredths, and back.

#include <QString>

#include <optional>

namespace livrax::registers {

// The text as hundredths: digits with at most one decimal separator ("," or
// "."), decimals beyond the second cut, as the fields show them; an empty or
// blank text is 0. Nothing for any other text (a sign, letters, two
// separators) or for a value with more than `integerDigits` digits before
// the separator, which its column could not hold.
std::optional<qint64> ParseAmount(const QString& text, int integerDigits);

// Hundredths as the fields show them: "1234.50", "0.00".
QString AmountText(qint64 hundredths);

// "Valor inválido no campo <field>: <text>", the refusal of a text that
// ParseAmount does not take.
QString AmountProblem(const QString& field, const QString& text);

} // namespace livrax::registers
