#pragma once

#include "books/book_pages.h"
#include "common/error.h"
#include "print/print_job.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace livrax::data {
class DataSlot;
class DbValue;
} // namespace livrax::data

namespace livrax::books {

// The period and filter of one book run, as the window holds them.
struct BookPeriod {
    QString startDate; // "dd/mm/yy"
    QString endDate;   // "dd/mm/yy"
    QString dateField; // the DATE column the period applies to
    QString filter;    // an extra SQL condition
    QString firstPage; // number of the first page
};

// A book that could not be printed whole: its filter or date column was
// refused, its query failed, or its rows stopped coming (a stop signal, a
// server gone away). The job has been abandoned: no output, the old file
// stays. The message says why, in the database's own words where it has them.
class BookError : public Error {
  public:
    using Error::Error;
};

// The reason a stop signal (SIGINT, SIGTERM) gives a run that it broke off:
// "sinal SIGTERM".
QString StopSignalReason();
// The failure of a book whose run broke off (a stop signal, rows that stopped
// coming): nothing was written, and why.
BookError InterruptedBook(const QString& reason);

// Refuses (BookError) a period whose filter could reach beyond the book's own
// conditions or whose date column is not a DATE column of `table`.
void CheckBookPeriod(const BookPeriod& period, const QString& table);

// The name of a file made of a book: its code and period, as
// "LX53 01-01-26 a 31-01-26" (a blank date is left out).
QString BookDocumentName(const QString& code, const QString& startDate, const QString& endDate);

// The DATE column the period of the invoice books applies to when none is
// saved or given: DTNOTA, the column the window starts on.
QString DefaultDateField();

// The page numbers a book can print: "Folha" has four digits.
inline constexpr int MaxPageNumber = 9999;
// A first page as typed or saved: its number when it is one of 1..9999,
// else `fallback` (1 for the invoice books, 2 for the settlements).
int FirstPageNumber(const QString& text, int fallback);
// The same kept as text: `text` itself when it is a valid first page.
QString FirstPageText(const QString& text, int fallback);

// The book's base condition followed by the period and the filter:
// " AND field >= 'dd.mm.yyyy'", " AND field <= ...", " AND  (filter) ".
// Every "#" of the filter becomes a blank, in `period.filter` too (the window
// shows the edited text).
QString PeriodCondition(const QString& baseCondition, BookPeriod& period);

// The lookups every book makes per invoice, loaded once per run: which
// natures of operation are left out of the books (VRTNNAT.ATUGIAICM "N"),
// the natures' descriptions and the partners' names.
class BookLookups {
  public:
    // Reads the natures and the partners of the ERP database in two queries.
    void load();
    // Reads the natures only (partner names then stay the codes).
    void loadNatures();

    // True when the nature is in the table with ATUGIAICM "N"; a nature that
    // is not in the table does not exclude.
    bool natureExcluded(const QString& nature) const;
    // The nature's short description (RESUMIDA) and description (DESCRICAO);
    // empty for a nature that is not in the table.
    QString natureShortName(const QString& nature) const;
    QString natureDescription(const QString& nature) const;
    // The partner's name (EMPRESA), or the code itself when it is unknown.
    QString partnerName(const QString& sigla) const;

  private:
    void read(bool partners);

    struct Nature {
        bool excluded = false; // ATUGIAICM is "N"
        QString shortName, description;
    };
    QHash<QString, Nature> m_natures; // by NATOPER
    QHash<QString, QString> m_names;  // SIGLA -> EMPRESA
};

// An amount as the books take it from a row: its text cut (not rounded) to
// two decimals, in ten-thousandths.
qint64 BookAmount(const QString& text);
// The same for a value read from the database; a NUMERIC is cut without
// going through its text.
qint64 BookAmount(const data::DbValue& value);
// BookAmount of a column of the current row.
qint64 BookAmount(const data::DataSlot& row, const QString& column);

// The value columns the invoice books share, in characters: an amount ends
// at its column (right-aligned); the tax name ("ICMS", "IPI") starts at its.
namespace ValueColumn {
constexpr int Accounting = 65; // valor contábil
constexpr int TaxName = 71;
constexpr int Base = 89;    // base de cálculo
constexpr int Rate = 95;    // alíquota
constexpr int Tax = 105;    // imposto creditado / debitado
constexpr int Exempt = 115; // isentas ou não tributadas
constexpr int Other = 125;  // outras
} // namespace ValueColumn

// An amount printed right-aligned so that it ends at `column`, 12
// characters wide, two decimals, decimal comma, no thousands separators.
void PrintBookAmount(print::PrintJob& job, int column, qint64 value);

// How far the columns of a layout whose last text ends at `lastColumn` move
// left so that none is cut at the right edge of the page: 0 when the page
// holds them all (a wider font or a narrower page than the layout assumed
// gives fewer columns). Columns beyond the left part of a line move together.
int RightEdgeShift(const print::PrintJob& job, int lastColumn);

// The two boxes over the column titles of the books: rows 60 to 105,
// columns 0 to `split` and from the next one to the right edge.
void DrawColumnTitleBoxes(print::PrintJob& job, int split = 55);

// The titles over the shared value columns, rows 80 and 90: "Valor
// Contabil", "ICMS" (and "IPI" when `ipiTitle`), "Base Calc.", "Aliq.",
// "Imposto" (when `taxTitle`) "Creditado", "Isentas ou Não Tribut.", "Outras".
void PrintValueColumnTitles(print::PrintJob& job, bool taxTitle, bool ipiTitle);

// The ICMS amounts of an invoice or of a period.
struct IcmsAmounts {
    qint64 accounting = 0, base = 0, tax = 0, exempt = 0, other = 0;
    IcmsAmounts& operator+=(const IcmsAmounts& more) {
        accounting += more.accounting;
        base += more.base;
        tax += more.tax;
        exempt += more.exempt;
        other += more.other;
        return *this;
    }
};

// The IPI amounts of an invoice or of a period.
struct IpiAmounts {
    qint64 base = 0, tax = 0, exempt = 0, other = 0;
    IpiAmounts& operator+=(const IpiAmounts& more) {
        base += more.base;
        tax += more.tax;
        exempt += more.exempt;
        other += more.other;
        return *this;
    }
};

// A rate (BookAmount of a percentage) right-aligned to end at ValueColumn::Rate.
void PrintBookRate(print::PrintJob& job, qint64 rate);

// The ICMS base of an exit as the books take it: a base above a positive
// accounting value is capped at that value.
qint64 CappedIcmsBase(qint64 accounting, qint64 base);

// The IPI line of an invoice ("IPI", base, rate, tax, exempt, other) or,
// without a rate, of the totals, as a line of its own.
void PrintIpiLine(BookPages& pages, const IpiAmounts& ipi, std::optional<qint64> rate);

// The run every invoice book shares: the query of its table over the
// period, the job set-up, the header block on every page (and on the one
// page of an empty book), invoices of natures left out of the books skipped,
// the totals, endJob. A book gives what differs; each line it prints starts
// with `pages.line()` (the invoice's first line is started for it).
struct InvoiceBook {
    QString tableCode;     // "PDE": the table's database
    QString table;         // "VRTNPDE", as the query names it
    QString baseCondition; // "(FAT = 'F')"
    QString orderBy;       // "DATA,NNOTA"
    std::function<void()> headerBlock;
    // One invoice of the query (its nature is not left out).
    std::function<void(const data::DataSlot& row, const BookLookups& lookups, BookPages& pages)>
        invoice;
    // An invoice of a nature left out of the books: not printed nor totalled,
    // but seen (the numbering it uses is no gap). May be empty.
    std::function<void(const data::DataSlot& row)> skipped;
    // An invoice that counts, before its first line is started. A book that
    // groups its invoices closes here the groups the invoice ends (their
    // lines, a new page), so that a header its line brings shows the
    // invoice's group. May be empty.
    std::function<void(const data::DataSlot& row, BookPages& pages)> beforeLine;
    std::function<void(BookPages& pages)> totals;
};

// Runs the book on `job`, reading everything in one moment of the database
// (data::ReadMoment). A refused period, a failed query or rows that stop
// coming abandon the job and throw BookError.
void RunInvoiceBook(print::PrintJob& job, BookPeriod& period, const InvoiceBook& book);

// Sets a job up the way the books print: destination, rows in tenths of a
// line and columns in characters, the first page number (FirstPageNumber
// with `fallbackFirstPage`), the books' font, no standard header (each book
// prints its own).
void SetUpBookJob(print::PrintJob& job, print::Destination destination, const QString& firstPage,
                  int fallbackFirstPage = 1);

// What a book adds to the shared header: a word before "Mes/Período: "
// ("ENTRADAS   ") and a line centred on row 30 ("ESTADO: SP"); both empty
// for most books.
struct BookHeaderExtras {
    QString periodPrefix;
    QString centreLine;
};

// The page header of the books: program code, spaced title, page ("Folha"),
// company, CNPJ, state registration, date, time and the period line.
void BookPageHeader(print::PrintJob& job, const QString& programCode, const QString& title,
                    int periodColumn, const BookPeriod& period,
                    const BookHeaderExtras& extras = {});
// Rows 15 to 45 of that header: company, CNPJ and state registration on the
// left, date and time on the right, and the period line.
void BookCompanyLines(print::PrintJob& job, int periodColumn, const BookPeriod& period,
                      const BookHeaderExtras& extras = {});

} // namespace livrax::books
