#include "shell/book_command.h"

#include "books/invoice_book_settings.h"
#include "books/settlement.h"
#include "books/settlement_print.h"
#include "common/dates.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/stop_cancel.h"
#include "platform/stop_signals.h"
#include "print/print_job.h"
#include "shell/command_start.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// A check-box flag of the invoice books, as `livrax book` offers it once for
// both: its help text, prefixed with the book's code where only one book has
// the flag or where the books describe it differently.
struct InvoiceBookFlag {
    QString name;
    QStringList books;
    QStringList helps;

    QString help() const {
        if (books.size() == 2 && helps.first() == helps.last()) return helps.first();
        QStringList parts;
        for (qsizetype i = 0; i < books.size(); ++i) {
            QString text = helps[i];
            if (!text.isEmpty()) text[0] = text[0].toLower();
            parts << books[i] + u": "_s + text;
        }
        return parts.join(u' ');
    }
};

template <typename Options>
void AddFlags(QList<InvoiceBookFlag>& flags, const QString& book,
              const books::LineBookSettings<Options>& settings) {
    for (const books::BookOption<Options>& option : settings.options) {
        qsizetype i = 0;
        while (i < flags.size() && flags[i].name != option.flag)
            ++i;
        if (i == flags.size()) flags.append(InvoiceBookFlag{option.flag, {}, {}});
        flags[i].books << book;
        flags[i].helps << option.flagHelp;
    }
}

// The flags of LX53 and LX55 in the order of their tables, the entries
// book's first.
const QList<InvoiceBookFlag>& InvoiceBookFlags() {
    static const QList<InvoiceBookFlag> flags = [] {
        QList<InvoiceBookFlag> all;
        AddFlags(all, u"LX53"_s, books::LX53Settings());
        AddFlags(all, u"LX55"_s, books::LX55Settings());
        return all;
    }();
    return flags;
}

} // namespace

QString BookUsage() {
    QString flags;
    for (const InvoiceBookFlag& flag : InvoiceBookFlags())
        flags += u" [--"_s + flag.name + u"]"_s;
    return u"book LX53|LX55 [--from dd/mm/yy] [--to dd/mm/yy] [--field COLUNA] [--filter SQL] "
           u"[--first-page N]"_s +
           flags +
           u" --out ARQUIVO.pdf|.txt\n"
           u"  book LX56|LX57 --month MM/AA [--recalc] [--first-page N] "
           u"--out ARQUIVO.pdf|.txt"_s;
}

namespace {

// A job that writes the book to `out` (PDF or text pages) and shows the pages
// made on stderr. A book that would go on past the last page number a book
// can print is abandoned when that page is done: no cut book replaces the
// old file.
void SetUpFileJob(print::PrintJob& job, const QString& out, QTextStream& err) {
    job.settings.destination = QFileInfo(out).suffix().toLower() == u"pdf"_s
                                   ? print::Destination::PdfFile
                                   : print::Destination::TextPages;
    job.settings.outputFile = out;
    // The range reaches one page further, so that the page after the last
    // number begins (and the job is abandoned) instead of the book ending
    // quietly at that number.
    job.settings.lastPage = books::MaxPageNumber + 1;
    job.onPage = [&err](print::PrintJob& running) {
        err << "\rPáginas: " << running.pageCount() << Qt::flush;
        if (running.pageNumber() >= books::MaxPageNumber) running.abandon();
    };
}

// A book whose pages would run past the last page number a book can print
// was abandoned there (SetUpFileJob): the first page asked for does not fit
// the book. Says so on stderr; the old output file stays. True when it was cut.
bool RefusedWhenCut(const print::PrintJob& job, QTextStream& err) {
    if (!job.cancelled()) return false;
    err << "livrax book: o livro passaria da folha " << books::MaxPageNumber
        << " e foi cortado na folha " << std::min(job.pageNumber(), books::MaxPageNumber)
        << "; informe uma --first-page menor. Nenhum arquivo foi gravado.\n";
    return true;
}

// Runs a book's printing; a book that cannot be printed whole or a file that
// cannot be written ends it with the reason on stderr. False then.
bool PrintedWithoutError(const std::function<void()>& print, QTextStream& err) {
    try {
        print();
    } catch (const std::exception& error) {
        err << "\nlivrax book: " << QString::fromUtf8(error.what()) << "\n";
        return false;
    }
    return true;
}

// The entries or exits book over a period.
template <typename Options>
int PrintInvoiceBook(const QCommandLineParser& parser, const QString& book,
                     const books::LineBookSettings<Options>& settings,
                     void (*printBook)(print::PrintJob&, Options&), const QString& out,
                     QTextStream& err) {

    // The saved settings are the defaults; the run does not change them.
    Options options = books::LoadBookSettings(settings);
    books::BookPeriod& period = options.period;
    if (parser.isSet(u"from"_s)) period.startDate = parser.value(u"from"_s);
    if (parser.isSet(u"to"_s)) period.endDate = parser.value(u"to"_s);
    if (parser.isSet(u"field"_s)) period.dateField = parser.value(u"field"_s);
    if (parser.isSet(u"filter"_s)) period.filter = parser.value(u"filter"_s);
    if (parser.isSet(u"first-page"_s)) period.firstPage = parser.value(u"first-page"_s);
    if (period.dateField.isEmpty()) period.dateField = books::DefaultDateField();
    for (const QString& date : {period.startDate, period.endDate}) {
        if (!IsBlank(date) && !IsValidShortDate(date)) {
            err << "livrax book: data inválida: \"" << date << "\" (use dd/mm/aa).\n";
            return 2;
        }
    }
    if (!IsBlank(period.startDate) && !IsBlank(period.endDate) &&
        ParseDate(period.startDate) > ParseDate(period.endDate)) {
        err << "livrax book: período invertido: " << period.startDate << " é depois de "
            << period.endDate << ".\n";
        return 2;
    }
    // A flag given overrides the saved box: --no-ipi clears it, --company checks it.
    for (const books::BookOption<Options>& option : settings.options) {
        if (parser.isSet(option.flag))
            options.*option.field = option.flagTurns == books::FlagTurns::On;
    }

    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { printBook(job, options); }, err)) return 1;
    err << "\rPáginas: " << job.pageCount() << "\n";
    if (RefusedWhenCut(job, err)) return 2;
    QTextStream(stdout) << book << " gravado em " << out << " (" << job.pageCount()
                        << " páginas).\n";
    return 0;
}

// The ICMS or IPI settlement of a month, as loaded (or recalculated and saved).
int PrintSettlementBook(const QCommandLineParser& parser, const QString& code, const QString& month,
                        const QString& out, QTextStream& err) {
    const books::SettlementBook& book =
        code == u"LX56"_s ? books::IcmsSettlement() : books::IpiSettlement();
    books::SettlementSettings settings = books::LoadSettlementSettings(book);
    const QString start = u"01/"_s + month;
    const QString end = LastDayOfMonth(start);
    // A stop signal cancels the recalculation's queries in the database too.
    const data::CancelOnStop cancelOnStop;
    books::MonthData data = books::LoadMonth(book, start);
    const auto notSaved = [&] {
        err << "livrax book: o mês não foi gravado nem impresso: o registro "
            << books::MonthKey(book, start)
            << " está em uso em outra estação ou o banco de dados não respondeu.\n";
        return 1;
    };
    if (parser.isSet(u"recalc"_s)) {
        // Recalculated and saved as the window's "Recalc." does; a month whose
        // query failed is neither stored nor printed.
        const books::MonthRecalc recalc = books::RecalculateAndSave(
            book, start, end, settings.entriesFilter, settings.exitsFilter, data);
        for (const QString& query : recalc.failedQueries())
            err << "livrax book: a consulta falhou: " << query << "\n";
        if (recalc.failed()) {
            err << "livrax book: o mês não foi gravado nem impresso.\n";
            return 1;
        }
        if (!recalc.saved) return notSaved();
    } else if (!books::SaveMonth(book, start, data)) {
        // Stored as the window stores it when it closes: box 11 carried from
        // the previous month and the balance, which the next month carries.
        return notSaved();
    }
    if (platform::StopRequested()) {
        err << "livrax book: interrompido pelo sinal " << platform::StopSignalName()
            << "; o livro não foi gravado.\n";
        return 1;
    }
    const QString firstPage =
        parser.isSet(u"first-page"_s) ? parser.value(u"first-page"_s) : settings.firstPage;
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    const books::BookPeriod period{start, end, QString(), QString(), firstPage};
    if (!PrintedWithoutError([&] { books::PrintSettlement(job, book, data, period); }, err))
        return 1;
    err << "\rPáginas: " << job.pageCount() << "\n";
    if (RefusedWhenCut(job, err)) return 2;
    QTextStream(stdout) << code << " " << month << " gravado em " << out << " (" << job.pageCount()
                        << " páginas).\n";
    return 0;
}

// The options given that `book` does not use, as "--name".
QStringList OptionsNotFor(const QCommandLineParser& parser, const QString& book) {
    const bool settlement = book == u"LX56"_s || book == u"LX57"_s;
    QStringList unused;
    const QStringList invoiceOptions{u"from"_s, u"to"_s, u"field"_s, u"filter"_s};
    const QStringList settlementOptions{u"month"_s, u"recalc"_s};
    for (const QString& name : settlement ? invoiceOptions : settlementOptions)
        if (parser.isSet(name)) unused << u"--"_s + name;
    for (const InvoiceBookFlag& flag : InvoiceBookFlags())
        if (parser.isSet(flag.name) && !flag.books.contains(book)) unused << u"--"_s + flag.name;
    return unused;
}

} // namespace

int RunBookCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Imprime um livro fiscal sem janelas, como o usuário registrado, em PDF (.pdf) ou "
        u"texto (.txt). As opções não informadas vêm dos parâmetros salvos do livro."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"livro"_s, u"Código do livro: LX53, LX55, LX56 ou LX57."_s);
    parser.addOption({u"from"_s, u"Data inicial."_s, u"dd/mm/aa"_s});
    parser.addOption({u"to"_s, u"Data final."_s, u"dd/mm/aa"_s});
    parser.addOption({u"field"_s, u"Coluna de data do período."_s, u"COLUNA"_s});
    parser.addOption({u"filter"_s, u"Condição SQL adicional."_s, u"SQL"_s});
    parser.addOption(
        {u"first-page"_s,
         u"Número da primeira página, de 1 a "_s + QString::number(books::MaxPageNumber) + u"."_s,
         u"N"_s});
    for (const InvoiceBookFlag& flag : InvoiceBookFlags())
        parser.addOption({flag.name, flag.help()});
    parser.addOption({u"month"_s, u"LX56/LX57: mês da apuração."_s, u"MM/AA"_s});
    parser.addOption({u"recalc"_s, u"LX56/LX57: recalcula e grava o mês antes de imprimir."_s});
    parser.addOption({u"out"_s, u"Arquivo de saída (.pdf ou .txt)."_s, u"ARQUIVO"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax book"_s} + arguments)) {
        err << "livrax book: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString book = positional.value(0).toUpper();
    const bool settlement = book == u"LX56"_s || book == u"LX57"_s;
    if (positional.size() != 1 || (book != u"LX53"_s && book != u"LX55"_s && !settlement)) {
        err << "livrax book: informe o livro: LX53, LX55, LX56 ou LX57.\n";
        return 2;
    }
    if (const QStringList unused = OptionsNotFor(parser, book); !unused.isEmpty()) {
        err << "livrax book: " << book << " não usa " << unused.join(u", "_s) << ".\n";
        return 2;
    }
    const QString out = parser.value(u"out"_s);
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (out.isEmpty() || (suffix != u"pdf"_s && suffix != u"txt"_s)) {
        err << "livrax book: informe --out com um arquivo .pdf ou .txt.\n";
        return 2;
    }
    const QString month = parser.value(u"month"_s);
    if (settlement && !IsValidShortDate(u"01/"_s + month)) {
        err << "livrax book: informe --month com o mês da apuração (MM/AA).\n";
        return 2;
    }
    if (parser.isSet(u"first-page"_s) &&
        books::FirstPageNumber(parser.value(u"first-page"_s), 0) == 0) {
        err << "livrax book: --first-page deve ser um número inteiro de 1 a "
            << books::MaxPageNumber << ": \"" << parser.value(u"first-page"_s) << "\".\n";
        return 2;
    }

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"book"_s, err)) return finish(1);

    int status = 0;
    if (settlement)
        status = PrintSettlementBook(parser, book, month, out, err);
    else if (book == u"LX55"_s)
        status = PrintInvoiceBook(parser, book, books::LX55Settings(), &books::PrintLX55, out, err);
    else
        status = PrintInvoiceBook(parser, book, books::LX53Settings(), &books::PrintLX53, out, err);
    return finish(status);
}

} // namespace livrax::shell
