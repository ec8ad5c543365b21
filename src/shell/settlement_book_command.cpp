// "livrax book LX56|LX57": the ICMS and IPI settlement of a month.

#include "shell/book_commands.h"

#include "books/settlement.h"
#include "books/settlement_print.h"
#include "common/dates.h"
#include "data/stop_cancel.h"
#include "platform/stop_signals.h"
#include "print/print_job.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// The month as loaded (or recalculated and saved), then printed.
int PrintSettlementBook(const QCommandLineParser& parser, const QString& code, const QString& out,
                        QTextStream& err) {
    const books::SettlementBook& book =
        code == u"LX56"_s ? books::IcmsSettlement() : books::IpiSettlement();
    books::SettlementSettings settings = books::LoadSettlementSettings(book);
    const QString month = parser.value(u"month"_s);
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
        for (const QString& failure : recalc.failures())
            err << "livrax book: a consulta falhou: " << failure << "\n";
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
    return FinishFileJob(job, code + u" "_s + month, out, err);
}

} // namespace

BookCommand SettlementBookCommand() {
    BookCommand command;
    command.codes = {u"LX56"_s, u"LX57"_s};
    command.usage =
        u"book LX56|LX57 --month MM/AA [--recalc] [--first-page N] --out ARQUIVO.pdf|.txt"_s;
    command.options = {{u"month"_s, u"LX56/LX57: mês da apuração."_s, u"MM/AA"_s},
                       {u"recalc"_s, u"LX56/LX57: recalcula e grava o mês antes de imprimir."_s}};
    command.check = [](const QCommandLineParser& parser, const QString&, QTextStream& err) {
        if (IsValidShortDate(u"01/"_s + parser.value(u"month"_s))) return true;
        err << "livrax book: informe --month com o mês da apuração (MM/AA).\n";
        return false;
    };
    command.run = [](const QCommandLineParser& parser, const QString& code, const QString& out,
                     QTextStream& err) { return PrintSettlementBook(parser, code, out, err); };
    return command;
}

} // namespace livrax::shell
