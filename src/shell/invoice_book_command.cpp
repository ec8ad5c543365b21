// "livrax book LX53|LX55": the entries and exits books over a period.

#include "shell/book_commands.h"

#include "books/invoice_book_settings.h"
#include "print/print_job.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// A check-box flag of the invoice books, offered once for both: its help
// text, prefixed with the book's code where only one book has the flag or
// where the books describe it differently.
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

template <typename Options>
int PrintInvoiceBook(const QCommandLineParser& parser, const QString& book,
                     const books::LineBookSettings<Options>& settings,
                     void (*printBook)(print::PrintJob&, Options&), const QString& out,
                     QTextStream& err) {
    // The saved settings are the defaults; the run does not change them.
    Options options = books::LoadBookSettings(settings);
    if (!ReadPeriodOptions(parser, options.period, err)) return 2;
    if (options.period.dateField.isEmpty()) options.period.dateField = books::DefaultDateField();
    // A flag given overrides the saved box: --no-ipi clears it, --company checks it.
    for (const books::BookOption<Options>& option : settings.options) {
        if (parser.isSet(option.flag))
            options.*option.field = option.flagTurns == books::FlagTurns::On;
    }
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { printBook(job, options); }, err)) return 1;
    return FinishFileJob(job, book, out, err);
}

} // namespace

BookCommand InvoiceBookCommand() {
    BookCommand command;
    command.codes = {u"LX53"_s, u"LX55"_s};
    QString flags;
    command.options = PeriodOptions();
    for (const InvoiceBookFlag& flag : InvoiceBookFlags()) {
        flags += u" [--"_s + flag.name + u"]"_s;
        command.options.append({flag.name, flag.help()});
    }
    command.usage = u"book LX53|LX55 [--from dd/mm/yy] [--to dd/mm/yy] [--field COLUNA] "
                    u"[--filter SQL] [--first-page N]"_s +
                    flags + u" --out ARQUIVO.pdf|.txt"_s;
    // A flag only the other book has is refused.
    command.takes = [](const QString& code, const QString& name) {
        for (const InvoiceBookFlag& flag : InvoiceBookFlags())
            if (flag.name == name) return flag.books.contains(code);
        return true;
    };
    command.run = [](const QCommandLineParser& parser, const QString& code, const QString& out,
                     QTextStream& err) {
        if (code == u"LX55"_s)
            return PrintInvoiceBook(parser, code, books::LX55Settings(), &books::PrintLX55, out,
                                    err);
        return PrintInvoiceBook(parser, code, books::LX53Settings(), &books::PrintLX53, out, err);
    };
    return command;
}

} // namespace livrax::shell
