#pragma once

#include "books/book_frame.h"

namespace livrax::books {

// Which invoices the GIA Modelo B totals: "Entradas" (VRTNPDE, invoiced and
// cancelled, period on DATA) or "Saías" (VRTNPDS, invoiced, period on DTNOTA).
enum class LX52Side { Entries = 0, Exits = 1 };

// How the GIA Modelo B groups its totals ("Estado/Natureza").
enum class LX52Grouping {
    Analytic = 0, // "0 - Analítico": each state on its own page, its natures and its total
    ByNature = 1, // "1 - Por Natureza": one line per nature over all states
    ByState = 2,  // "2 - Por Estado": one total line per state
};

// The inputs of the GIA Modelo B. `period.dateField` is set by the run
// from the side; both dates are required.
struct LX52Options {
    BookPeriod period;
    QString year = QStringLiteral("00"); // "ANO", two digits
    LX52Side side = LX52Side::Entries;
    LX52Grouping grouping = LX52Grouping::Analytic;
};

// The eight amounts a line of the book totals: valor contábil, ICMS base,
// tax and exempt, other (valor contábil less the base), substitution tax,
// IPI base and tax.
struct GiaAmounts {
    qint64 values[8] = {};
    GiaAmounts& operator+=(const GiaAmounts& more) {
        for (int k = 0; k < 8; ++k)
            values[k] += more.values[k];
        return *this;
    }
    bool isZero() const {
        for (const qint64 value : values)
            if (value != 0) return false;
        return true;
    }
};

// Prints the GIA Modelo B of the period on `job`: the invoices of the side
// totalled by nature of operation and by partner state as `grouping` says,
// then the grand total. Invoices of natures left out of the books are
// skipped and close no group. A date missing or not a date, a refused
// filter, a failed query or rows that stop coming throw BookError and leave
// no output. `period.filter` is shown with its "#" made blanks, as it was run.
void PrintLX52(print::PrintJob& job, LX52Options& options);

// The saved inputs ("PAR_LX52"): line 2 the year, 3 the filter, 4 the first
// page ("1" when it is none of 1..9999), 5 and 6 the indexes of the side and
// the grouping (an index out of range selects the first item), 7 and 8 the
// dates.
LX52Options LoadLX52Settings();
// Writes them back (line 9 emptied, the other lines kept); false when they
// were not written.
bool SaveLX52Settings(const LX52Options& options);

} // namespace livrax::books
