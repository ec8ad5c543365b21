#pragma once

#include "books/book_settings.h"
#include "books/lx70.h"

namespace livrax::books {

// The saved settings and the options of the Livro de ISSQN ("PAR_LX70", in
// the database of PDS, 20 lines): the period on lines 3, 4 and 6;
// "Aliquota" (7), the index of "Cálculo" (8) and of "Valor" (9), "Zerar
// Deduções" (10, --zero-deductions), "Número Profissionais" (11), "Copiar
// Valor Liquido p/ Base do ISQN" (12, --copy-net-to-base), "Produtos x Base"
// (13, --products-first), "Valor do ISSQN" (14, with two decimals; a whole
// number stored before reads as such), "Dt. Recolhimento" (15) and "Obs:" (16).
// The boxes are checked only when their line is "S".
const LineBookSettings<LX70Options>& LX70Settings();

} // namespace livrax::books
