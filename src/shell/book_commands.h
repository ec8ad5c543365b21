#pragma once

// The books of "livrax book", each family of books (those that share their
// options) described once: its codes, its usage line, the options only it
// takes and its run. The command builds one parser from all of them, refuses
// an option given to a book that does not take it, starts the session and
// hands the parsed options to the book's run. The helpers below are what
// every run shares: the file job, the period options and the final report.

#include "books/book_frame.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace livrax::print {
class PrintJob;
}

namespace livrax::shell {

struct BookCommand {
    QStringList codes; // "LX53", "LX55"
    QString usage;     // "book LX53|LX55 [--from dd/mm/aa] ... --out ARQUIVO.pdf|.txt"
    // The options these books take besides --out and --first-page. An option
    // of the same name in two families is one option (the first family's
    // help text); each family still says whether it takes it.
    QList<QCommandLineOption> options;
    // Whether book `code` takes the option `name` of the list above; all of
    // them when not set.
    std::function<bool(const QString& code, const QString& name)> takes;
    // Whether book `code` writes a file (and so needs --out); all of them
    // when not set.
    std::function<bool(const QString& code)> writesFile;
    // Checks the options before the session starts: false, after the message
    // on `err`, for a usage error (exit status 2). Optional.
    std::function<bool(const QCommandLineParser& parser, const QString& code, QTextStream& err)>
        check;
    // Prints the book `code` to `out` in the started session; the exit status.
    std::function<int(const QCommandLineParser& parser, const QString& code, const QString& out,
                      QTextStream& err)>
        run;
};

// The families, in the order "livrax book --help" shows them.
BookCommand InvoiceBookCommand();    // LX53, LX55
BookCommand SettlementBookCommand(); // LX56, LX57
BookCommand LX52BookCommand();       // LX52
BookCommand LX70BookCommand();       // LX70
BookCommand LX40BookCommand();       // LX40
BookCommand LX64BookCommand();       // LX64, LX50
BookCommand LX67BookCommand();       // LX67

// --from, --to, --field and --filter: the period of the invoice books.
QList<QCommandLineOption> PeriodOptions();
// The period options given replace those of `period` (the saved ones);
// --first-page too. False, after the message, for a date that is no date or
// a period that ends before it begins.
bool ReadPeriodOptions(const QCommandLineParser& parser, books::BookPeriod& period,
                       QTextStream& err);

// A job that writes the book to `out` (PDF or text pages) and shows the pages
// made on stderr. A book that would go on past the last page number a book
// can print is abandoned when that page is done: no cut book replaces the
// old file.
void SetUpFileJob(print::PrintJob& job, const QString& out, QTextStream& err);

// Runs a book's printing; a book that cannot be printed whole or a file that
// cannot be written ends it with the reason on stderr. False then.
bool PrintedWithoutError(const std::function<void()>& print, QTextStream& err);

// The end of a file job: the page count on stderr, then either the refusal
// of a book cut at the last page number (status 2, the old file kept) or
// "<what> gravado em <out> (N páginas)." (or "(1 página)") on stdout (status 0).
int FinishFileJob(const print::PrintJob& job, const QString& what, const QString& out,
                  QTextStream& err);

} // namespace livrax::shell
