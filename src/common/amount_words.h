#pragma once

// Money amounts written in Portuguese words, upper case, as printed on
// duplicates and receipts: 1234,56 is
// "HUM MIL, DUZENTOS E TRINTA E QUATRO  REAIS E CINQUENTA E SEIS CENTAVOS".
// The spacing (double spaces included) is part of the printed form.

#include <QString>

namespace livrax {

// The amount (cut to two decimals) in words; empty for zero, negative or
// blank amounts.
QString AmountInWords(const QString& value);
QString AmountInWords(qint64 value);

// One group of up to three digits in words, ending in a space ("CEM " for
// 100, "CENTO E  QUINZE " for 115); empty for a blank group.
QString HundredsInWords(const QString& group);

} // namespace livrax
