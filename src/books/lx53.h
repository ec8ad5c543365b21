#pragma once

#include "books/book_frame.h"

namespace livrax::books {

// The inputs of the Registro de Entradas.
struct LX53Options {
    BookPeriod period;
    bool printIpi = true; // "Imprimir IPI": the IPI line of each invoice and its totals
    bool printIcm = true; // "Imprimir ICM": rate, tax, exempt and other amounts
};

// Prints the Registro de Entradas of the period on `job`, whose destination
// (and output file) the caller has chosen: one ICMS line per invoiced entry,
// an IPI line where the invoice has an IPI base, and the period totals.
// Invoices of natures left out of the books are skipped. A refused filter,
// a query that fails or rows that stop coming throw BookError and leave no
// output. `period.filter` is shown with its "#" made blanks, as it was run.
void PrintLX53(print::PrintJob& job, LX53Options& options);

} // namespace livrax::books
