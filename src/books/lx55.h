#pragma once

#include "books/book_frame.h"

namespace livrax::books {

// The inputs of the Registro de Saídas.
struct LX55Options {
    BookPeriod period;
    bool printIpi = true;      // "Imprimir IPI"
    bool printCompany = false; // "Imprimir Empresa": the partner name column
    bool printIcm = true;      // "Imprimir ICM": base, rate and tax
    bool printSt = true;       // "Imprimir Subst.Tribut.": the substitution total line
};

// Prints the Registro de Saídas of the period on `job`: one line per sales
// invoice, cancelled ones marked "*** CANCELADA ***" without values, a "*"
// where the numbering skips, "ST " where the invoice has tax substitution,
// an IPI line where it has an IPI base, and the period totals with the
// substitution total apart.
void PrintLX55(print::PrintJob& job, LX55Options& options);

} // namespace livrax::books
