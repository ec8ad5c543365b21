#pragma once

#include "books/book_frame.h"

#include <QString>

namespace livrax::books {

// The inputs of the monthly list of controlled medicines.
struct LX67Options {
    QString startDate, endDate; // "DATA INICIAL", "DATA FINAL", dd/mm/yy
    QString filter;             // "Filtros": a condition on the items (PIS.xxx)
    QString order;              // "Ordem": the ORDER BY text
    bool swapTitles = false;    // "Troca os títulos (Nome do medicamento pelo Genérico)"
};

// The company's licences as the form prints them, from the company register
// (each value trimmed; the underscores to fill in by hand when empty).
struct LX67Company {
    QString name, address;
    QString specialAuthorisation = QStringLiteral("___________");
    QString operatingAuthorisation = QStringLiteral("___________");
    QString operatingLicence = QStringLiteral("___________");
    QString crfState = QStringLiteral("_____");
    QString crfNumber = QStringLiteral("______________");
};

// Reloads the company header from the register and takes the licences from
// it: the special authorisation (line 8, field 1), the operating
// authorisation and licence (line 8, fields 7 and 8) and the technical
// responsible's CRF state and number (line 9, fields 7 and 8).
LX67Company LoadLX67Company();

// The filter dialog's "#"-joined result as the filter field takes it: the
// fields joined into one condition, then the "*" wildcard made LIKE's "%"
// (PIS.LOTE = 'L12*' gives PIS.LOTE LIKE 'L12%'; PIS.LOTE LIKE 'L12*' gives
// PIS.LOTE LIKE 'L12%'). A star outside quotes (a product, "A*B") or after
// "<=", ">=", "!=" leaves the condition as it is.
QString LX67FilterText(const QString& dialogResult);

// The order dialog's "#"-separated columns as an ORDER BY text; a column
// without its table is the item's ("NNOTA" gives "PIS.NNOTA").
QString LX67OrderText(const QString& dialogResult);

// The query of the list: the invoiced exit items of controlled products
// (TIPOPRO "C" or "D") in the period, with their product and partner; an
// item whose partner is missing from the register is kept. Throws BookError
// for a date that is no date, or a filter or order that could reach beyond
// the list's own conditions.
QString LX67Query(const LX67Options& options);

// Prints the list on `job` (landscape): the form's header on every page, one
// line per item and the total quantity, exact. Pages are numbered from 1;
// the border and the columns follow the page the destination gives. A date,
// filter or order refused, a query the database refuses or rows that stop
// coming throw BookError with the database's message and leave no output.
void PrintLX67(print::PrintJob& job, const LX67Options& options, const LX67Company& company);

// The saved inputs ("PAR_LX67", in the database of PDS): line 1 the start,
// 2 the end, 4 the filter, 5 the order, 6 "Troca os títulos" (checked only
// when "S").
LX67Options LoadLX67Settings();
// Writes them back, the other lines kept. False when they were not written.
bool SaveLX67Settings(const LX67Options& options);

} // namespace livrax::books
