#pragma once

#include "books/book_frame.h"
#include "books/settlement.h"

namespace livrax::books {

// Prints the month of a settlement book as the window holds it: the
// ENTRADAS part (nature grid with group subtotals and the TOTAL line), the
// SAÍDAS part, and the RESUMO page with the boxes, the balance, the guides
// and the observations. `period` gives the dates of the header and the first
// page; the job's destination is set by the caller.
void PrintSettlement(print::PrintJob& job, const SettlementBook& book, const MonthData& month,
                     const BookPeriod& period);

} // namespace livrax::books
