#pragma once

#include "books/book_frame.h"

#include <QStringList>

#include <array>

namespace livrax::books {

// How the Livro de ISSQN obtains the month's tax ("Cálculo").
enum class LX70Method {
    OnPrint = 0,    // "0 - Na Impressão": taxable × "Aliquota" / 100
    Register = 1,   // "1 - Do Cadastro": the invoices' ISQNVALOR
    Calculated = 2, // "2 - Calculado": the day amounts are ISQNBASE and ISQNVALOR
};

// The inputs of the Livro de ISSQN. Amounts in ten-thousandths, with two
// decimals.
struct LX70Options {
    BookPeriod period;
    qint64 rate = 0;          // "Aliquota", percent
    qint64 subcontracted = 0; // "(-) Subempreitadas ", deducted from the month
    LX70Method method = LX70Method::OnPrint;
    bool gross = false;          // "Valor": "1 - Bruto" (VALOR), else "0 - Líquido" (LIQUIDO)
    bool zeroDeductions = false; // "Zerar Deduções"
    int professionals = 0;       // "Número Profissionais"
    bool copyNetToBase = false;  // "Copiar Valor Liquido p/ Base do ISQN"
    bool productsFirst = false;  // "Produtos x Base": total first, net last
    qint64 issValue = 0;         // "Valor do ISSQN" per professional
    QString paymentDate;         // "Dt. Recolhimento", dd/mm/yy
    qint64 withheld = 0;         // "Total do Imp.Retido", typed
    QString note;                // "Obs:"
};

// One day of the month: the invoice numbers of the day (each followed by
// ","), the day's total and its deductions.
struct LX70Day {
    QString numbers;
    qint64 total = 0;
    qint64 deductions = 0;
};

// What "Retido" reads of the period: the 31 days, the invoices' ISSQN, the
// withheld tax summed from the invoices ("2 - Calculado" only, else 0) and
// the invoices whose date column holds no day (kept out of every day).
struct LX70DayTable {
    std::array<LX70Day, 31> days;
    qint64 issTotal = 0;
    qint64 withheldCalc = 0;
    QStringList undated;
};

// "Retido": the day table of the period, read in one moment of the
// database. The date column must be a DATE column of VRTNPDS (DTNOTA when
// none is given) and the filter may only narrow the invoices; otherwise, or
// when the query fails, BookError.
LX70DayTable LX70Withheld(LX70Options& options);

// The RESUMO amounts of a day table: taxable (total − deductions of the
// month, the subcontracted amount deducted), the tax by the method, the
// withheld tax and what is left to pay.
struct LX70Summary {
    qint64 total = 0, deductions = 0, taxable = 0, tax = 0, withheld = 0, toPay = 0;
};
// BookError when an amount leaves the 64-bit range.
LX70Summary LX70Summarize(const LX70DayTable& table, const LX70Options& options);

// A day's number list written as ranges: "12,13,14,20,22,23," gives
// "12 a 14,20,22 a 23"; a repeated number counts once.
QString CompressNumberList(const QString& numbers);
// A compressed list cut into lines of at most `width` characters, broken
// after a ",".
QStringList WrapNumberList(const QString& compressed, int width);

// "Dt. Recolhimento" after leaving "Dt. Inicial": its day ("10" when blank)
// in the month after the start date's, the month's end when that month is
// shorter. Unchanged when the start date is not a date.
QString LX70PaymentDate(const QString& paymentDate, const QString& startDate);

// Prints the Livro de ISSQN on `job`, whose destination the caller has
// chosen: "Retido" first, then the 31 days, the period total and the RESUMO.
// Every page carries the header with its "Folha". Returns the day table it
// printed. BookError (no output) as LX70Withheld.
LX70DayTable PrintLX70(print::PrintJob& job, LX70Options& options);

} // namespace livrax::books
