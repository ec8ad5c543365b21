#pragma once

#include "books/lx50.h"
#include "print/print_job.h"

#include <QString>
#include <QStringList>

namespace livrax::books {

// The inputs of the list of products sold without tax-substitution
// retention, as the window holds them.
struct LX64Options {
    QString startDate, endDate;                   // "Dt. Inicial", "Dt. Final" (dd/mm/yy)
    QString dateField = QStringLiteral("DTNOTA"); // "Campo"
    QString filter;                               // "Filtros"
    QString firstPage = QStringLiteral("1");      // "Num. Página"
    QString fontSize = QStringLiteral("7");       // "Tam. Fonte"
    QString series;                               // "Série <> de "
    int type = 0;                                 // "Tipo": 0 all, 1 oncological, 2 not oncological
    int state = 0;            // "Estado": 0 all, 1 in the company's state, 2 outside it
    bool allInvoices = false; // "Todas as Notas (com e sem ICM)"
    bool build = false;       // "Montar Arquivo"
};

const QStringList& LX64TypeItems();
const QStringList& LX64StateItems();

// The condition of the report's query over VRTNP50 (alias P50): the filter
// in parentheses, the period on P50.<Campo> and "P50.SERIE <> 'x'", joined by
// AND; empty when none is given. Throws BookError for a filter that could
// reach beyond the report's own rows or a date that is no date.
QString LX64Condition(const LX64Options& options);

// The report's query: VRTNP50 with the product, both invoice headers and
// both items (the exit item PIS by PEDIDO and SEQ, the entry item PIE by
// PEDIDOe and SEQe), ordered by exit invoice and product.
QString LX64Query(const LX64Options& options);

// The font size printed: "Tam. Fonte" below 4 becomes "7".
QString LX64FontSize(const QString& typed);

// One printed line of the report, its amounts in ten-thousandths.
struct LX64Line {
    qint64 saleNet = 0, rate = 0, debit = 0, credit = 0;
    bool marked = false; // credit above debit, both cut to the cent
};

// The amounts of one piece, rounded to the ten-thousandth (half to even)
// after every multiplication and division. The item discount is shared by
// the pieces of a split item by quantity. nullopt when a value leaves the
// 64-bit range.
struct LX64Piece {
    qint64 pieceQuant = 0;                                 // P50.QUANT
    qint64 exitQuant = 0, exitPrice = 0, exitDiscount = 0; // PIS QUANT, VALOR, DESCVALOR
    qint64 invoiceValue = 0, invoiceDiscount = 0, invoiceCharges = 0, invoiceRate = 0; // PDS
    bool entryFound = false;
    qint64 entryQuant = 0, entryPrice = 0, entryDiscount = 0, entrySecondDiscount = 0; // PIE
    qint64 entryIcmsBase = 0, entryIcmsValue = 0;                                      // PDE
};
std::optional<LX64Line> LX64Amounts(const LX64Piece& piece);

// Builds VRTNP50 first when `options.build` (BuildMatchTable, `progress`),
// then prints the report on `job`: one line per piece of a sale of a
// product subject to tax substitution matched to an entry, with the month's
// totals. A refused filter, a failed build or query, or rows that stop
// coming abandon the job and throw BookError.
void PrintLX64(print::PrintJob& job, const LX64Options& options,
               const MatchProgress& progress = {});

// The saved inputs ("PAR_LX64", in the database of PDS, 20 lines): 2 the
// date of the last close, 3 the period, 4 the filter, 5 "Num. Página" ("1"
// when none), 6 "Série <> de ", 9 "Tam. Fonte" ("7" when none), 10 "Tipo",
// 11 "Estado", 12 "Todas as Notas" ("S"). A blank start is the first day of
// the current month; "Montar Arquivo" is checked when the settings were not
// written today.
struct LX64Settings {
    LX64Options options;
    QString savedOn; // line 2
};
LX64Settings LoadLX64Settings();
// Writes them, line 2 today. False when they were not written.
bool SaveLX64Settings(const LX64Options& options);

// Whether the report must build VRTNP50 before a run that starts on
// `startDate`: the table is missing or empty, or its last exit date is
// before the start.
bool LX64NeedsBuild(const QString& startDate);

} // namespace livrax::books
