#pragma once

#include "books/book_frame.h"

#include <QString>
#include <QStringList>

namespace livrax::books {

// The inputs of the Inventário Retroativo: the stock of every product on a
// base date, valued at a price of the product register.
struct LX40Options {
    QString baseDate;                        // "DATA BASE", dd/mm/yy
    QString layout = QStringLiteral("00");   // "Dados do Relatório": its first two characters
    int valueField = 0;                      // "Campo Valor": its first character, 0..9
    QString bookNumber;                      // "Livro", shown in the header when not blank
    QString firstPage = QStringLiteral("1"); // "Página"
    QString title = QStringLiteral("LX40 - INVENTÁRIO"); // "TITULO"
    QString entryFilter, exitFilter; // "Filtro Itens Entrada" / "Filtro Itens Saída"
    bool positiveOnly = true;        // "Imprimir somente Saldo Positivo"
    bool registerCost = false;       // "C/Medio do Produto"
    bool summary = false;            // "Imprimir Resumo"
};

// The items of "Dados do Relatório" and of "Campo Valor", as the window lists
// them.
const QStringList& LX40LayoutItems();
const QStringList& LX40ValueItems();
// The item of a list whose first characters are `code` ("01", "3"); the
// first item when none is.
QString LX40ItemFor(const QStringList& items, const QString& code);
// Whether a layout code is one the book prints: "00", "01", "03", "04", "05".
bool IsLX40Layout(const QString& code);

// The item rows the book counts, as the window's grid shows them: the
// invoiced entries (by DATA) and exits (by DTNOTA) up to the base date that
// move stock, each side narrowed by its filter, with the product's name;
// ordered by product, date, entries before exits, document and item. The
// filters name the item tables PIE and PIS and the register PRO as the query
// does ("PIE.PRODUTO"). Throws BookError for a base date that is no date or
// a filter that could reach beyond the book's own conditions.
QString LX40ItemQuery(const LX40Options& options);

// Prints the inventory on `job` with its standard page header (title
// "TITULO", the book number and base date, the company's CNPJ and state
// registration). Every product with an initial balance or a counted item
// row gets its line in the layout's form: "00" balance, price and value;
// "01" (landscape) entries and exits with their values; "05" entries, exits,
// initial balance and balance; "03" and "04" only the summary. Products
// whose balance is not positive ("05": negative) are left out when
// `positiveOnly`. The summary values the printed products' balance at seven
// prices of the register. Values are exact: each product of a quantity and
// a price rounded once to the cent (half to even), totals the sums of the
// printed values. A date or filter refused, a failed query, rows that stop
// coming or a value beyond the 64-bit range throw BookError and leave no
// output.
void PrintLX40(print::PrintJob& job, const LX40Options& options);

// The saved inputs ("PAR_LX40", in the database of PDE): line 2 the title
// ("LX40 - INVENTÁRIO" when empty), 3 the book number, 4 the first page ("1"
// when it is none of 1..9999), 5 and 6 the texts of "Dados do Relatório" and
// "Campo Valor" (the first item when empty), 8 the base date (today when
// blank), 10 and 11 the filters, 20 "Imprimir somente Saldo Positivo"
// (checked unless "N"), 21 "C/Medio do Produto" and 22 "Imprimir Resumo"
// (checked only when "S").
LX40Options LoadLX40Settings();
// Writes them back: lines 1, 7, 9, 12 to 19 and 23 to 30 emptied, the other
// lines kept. False when they were not written.
bool SaveLX40Settings(const LX40Options& options);

} // namespace livrax::books
