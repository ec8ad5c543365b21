#pragma once

// CNPJ, the federal company number: 12 base digits and two check digits; CPF,
// the federal person number: 9 base digits and two check digits.

#include <QString>

namespace livrax {

// The two check digits of a 12-character base by the modulo-11 rule (weights
// 5,4,3,2,9,8,7,6,5,4,3,2 for the first, 6,5,4,3,2,9,8,7,6,5,4,3,2 for the
// second; a remainder below 2 gives 0, otherwise 11 minus the remainder). A
// non-digit counts as 0.
QString CnpjCheckDigits(const QString& base);

// True when StripSymbols(text) is its first 12 characters followed by their
// check digits: "11.222.333/0001-81" is valid.
bool IsValidCNPJ(const QString& text);

// True when StripSymbols(text) is 11 digits whose last two are the check
// digits of the first nine by the modulo-11 rule (weights 10..2 for the
// first, 11..2 for the second; a remainder below 2 gives 0, otherwise 11
// minus the remainder): "111.444.777-35" is valid.
bool IsValidCPF(const QString& text);

} // namespace livrax
