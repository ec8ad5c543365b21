// "livrax book LX64": the sales without tax-substitution retention of a
// period; "livrax book LX50": the build of their match table alone.

#include "shell/book_commands.h"

#include "books/lx50.h"
#include "books/lx64.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/text.h"
#include "platform/clock.h"
#include "print/print_job.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// A choice flag given as its digit: 0, 1 or 2.
bool ReadChoice(const QCommandLineParser& parser, const QString& name, int& value,
                QTextStream& err) {
    if (!parser.isSet(name)) return true;
    const QString text = parser.value(name).trimmed();
    if (text != u"0"_s && text != u"1"_s && text != u"2"_s) {
        err << "livrax book: --" << name << " deve ser 0, 1 ou 2: \"" << text << "\".\n";
        return false;
    }
    value = text.toInt();
    return true;
}

bool ReadLX64(const QCommandLineParser& parser, books::LX64Options& options, QTextStream& err) {
    books::BookPeriod period;
    period.startDate = options.startDate;
    period.endDate = options.endDate;
    period.dateField = options.dateField;
    period.filter = options.filter;
    period.firstPage = options.firstPage;
    if (!ReadPeriodOptions(parser, period, err)) return false;
    options.startDate = period.startDate;
    options.endDate = period.endDate;
    options.filter = period.filter;
    options.firstPage = period.firstPage;
    if (!options.filter.isEmpty()) {
        QString filter = options.filter;
        const QString problem = FilterProblem(filter.replace(u'#', u' '));
        if (!problem.isEmpty()) {
            err << "livrax book: --filter recusado (só pode restringir as linhas do relatório): "
                << problem << ".\n";
            return false;
        }
    }
    if (parser.isSet(u"series-not"_s)) options.series = parser.value(u"series-not"_s);
    if (parser.isSet(u"font-size"_s)) options.fontSize = parser.value(u"font-size"_s);
    if (!ReadChoice(parser, u"type"_s, options.type, err)) return false;
    if (!ReadChoice(parser, u"state"_s, options.state, err)) return false;
    if (parser.isSet(u"all-invoices"_s) && parser.isSet(u"icms-free-only"_s)) {
        err << "livrax book: use --all-invoices ou --icms-free-only, não os dois.\n";
        return false;
    }
    if (parser.isSet(u"all-invoices"_s)) options.allInvoices = true;
    if (parser.isSet(u"icms-free-only"_s)) options.allInvoices = false;
    options.build = parser.isSet(u"build"_s);
    return true;
}

// The period when none is given: the current month.
books::LX64Options DefaultOptions() {
    books::LX64Options options;
    const QDate today = platform::Clock::now().date();
    const QDate first(today.year(), today.month(), 1);
    options.startDate = first.toString(u"dd/MM/yy"_s);
    options.endDate = first.addMonths(1).addDays(-1).toString(u"dd/MM/yy"_s);
    return options;
}

int PrintSales(const QCommandLineParser& parser, const QString& out, QTextStream& err) {
    books::LX64Options options = DefaultOptions();
    if (!ReadLX64(parser, options, err)) return 2;
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { books::PrintLX64(job, options); }, err)) return 1;
    return FinishFileJob(job, u"LX64"_s, out, err);
}

int BuildTable(QTextStream& err) {
    qint64 rows = 0;
    if (!PrintedWithoutError([&] { rows = books::BuildMatchTable(); }, err)) return 1;
    QTextStream(stdout) << "VRTNP50 montado: " << rows << " linhas gravadas.\n";
    return 0;
}

} // namespace

BookCommand LX64BookCommand() {
    BookCommand command;
    command.codes = {u"LX64"_s, u"LX50"_s};
    command.usage = u"book LX64 [--from dd/mm/aa] [--to dd/mm/aa] [--filter SQL] "
                    u"[--series-not SERIE] [--type 0|1|2] [--state 0|1|2] "
                    u"[--all-invoices|--icms-free-only] [--font-size N] [--build] "
                    u"[--first-page N] --out ARQUIVO.pdf|.txt; book LX50"_s;
    command.options = PeriodOptions();
    command.options
        << QCommandLineOption(u"series-not"_s,
                              u"LX64: deixa de fora as notas desta série "
                              u"(\"Série <> de \")."_s,
                              u"SERIE"_s)
        << QCommandLineOption(u"type"_s,
                              u"LX64: \"Tipo\": 0 todos, 1 oncológicos, 2 não "
                              u"oncológicos."_s,
                              u"0|1|2"_s)
        << QCommandLineOption(u"state"_s,
                              u"LX64: \"Estado\": 0 todos, 1 no estado, 2 fora do "
                              u"estado."_s,
                              u"0|1|2"_s)
        << QCommandLineOption(u"all-invoices"_s, u"LX64: \"Todas as Notas (com e sem ICM)\"."_s)
        << QCommandLineOption(u"icms-free-only"_s, u"LX64: só os itens sem ICMS (o padrão)."_s)
        << QCommandLineOption(u"font-size"_s, u"LX64: \"Tam. Fonte\"."_s, u"N"_s)
        << QCommandLineOption(u"build"_s, u"LX64: \"Montar Arquivo\": remonta o VRTNP50 antes."_s);
    // LX50 takes no option: it only builds the table.
    command.takes = [](const QString& code, const QString& name) {
        return code == u"LX64"_s && name != u"field"_s; // "Campo" is always DTNOTA
    };
    command.writesFile = [](const QString& code) { return code == u"LX64"_s; };
    command.check = [](const QCommandLineParser& parser, const QString& code, QTextStream& err) {
        if (code != u"LX64"_s) return true;
        books::LX64Options options;
        return ReadLX64(parser, options, err);
    };
    command.run = [](const QCommandLineParser& parser, const QString& code, const QString& out,
                     QTextStream& err) {
        return code == u"LX50"_s ? BuildTable(err) : PrintSales(parser, out, err);
    };
    return command;
}

} // namespace livrax::shell
