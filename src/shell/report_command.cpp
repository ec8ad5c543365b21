#include "shell/report_command.h"

#include "shell/report_currency_command.h"
#include "shell/report_files_command.h"

#include "common/dates.h"
#include "common/line_files.h"
#include "common/text.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "expr/database_lookup.h"
#include "expr/expression.h"
#include "expr/macros.h"
#include "print/print_job.h"
#include "reports/report_check.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_print.h"
#include "reports/report_query.h"
#include "reports/report_run.h"
#include "reports/report_selection.h"
#include "shell/command_start.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringEncoder>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

const QString Name = u"livrax report: "_s;

// The tables whose report menus are kept under "PAR_LF" + code.
reports::ReportMenu MenuOf(const QString& table) {
    static const QStringList books = {u"PDS"_s, u"PDE"_s, u"PRO"_s, u"PIE"_s, u"PIS"_s};
    return reports::MenuForTable(table, books.contains(table) ? u"PAR_LF"_s + table : QString());
}

bool Load(const QString& tableCode, int number, reports::LoadedReport& report, QTextStream& err) {
    QString error;
    if (reports::LoadReport(MenuOf(tableCode), number, report, error)) return true;
    err << Name << error << "\n";
    return false;
}

// "N=VALUE" with N from 1 to 9; false when it is not one.
bool BoxValue(const QString& option, int& box, QString& value) {
    const qsizetype equals = option.indexOf(u'=');
    bool ok = false;
    box = option.left(equals).trimmed().toInt(&ok);
    value = option.mid(equals + 1);
    return equals > 0 && ok && box >= 1 && box <= reports::SelectionBoxes;
}

int List(const QString& table) {
    QTextStream out(stdout);
    for (const reports::ReportEntry& entry : reports::ListReports(MenuOf(table)))
        out << entry.number << "  " << entry.title << "\n";
    return 0;
}

// Parses every expression, checks the columns they name and prepares the
// statement. Each finding as "line.field: ..."; 0 when there is none.
// Shows the statement, then every finding; 0 when there is none.
int Check(const QString& table, int number, QTextStream& err) {
    reports::LoadedReport report;
    if (!Load(table, number, report, err)) return 1;
    const reports::ReportCheck check = reports::CheckReport(report);
    QTextStream out(stdout);
    for (const QString& line : check.built.lines)
        out << line << "\n";
    out << "\n";
    for (const QString& finding : check.findings)
        out << finding << "\n";
    if (check.findings.isEmpty())
        out << "Relatório " << reports::ReportNumber(number) << ": sem problemas.\n";
    return check.findings.isEmpty() ? 0 : 1;
}

// What the run wrote, after the file name: " (3 páginas)"; a workbook has
// no pages.
QString PagesWritten(const print::PrintJob& job) {
    if (job.settings.destination == print::Destination::Spreadsheet) return {};
    const int pages = job.pageCount();
    return u" (%1 %2)"_s.arg(pages).arg(pages == 1 ? u"página"_s : u"páginas"_s);
}

int Run(const QCommandLineParser& parser, const QString& table, int number, const QString& out,
        QTextStream& err) {
    reports::LoadedReport report;
    if (!Load(table, number, report, err)) return 1;
    // The options given replace the saved values for this run only.
    reports::LastSelection& selection = report.selection;
    if (parser.isSet(u"from"_s)) selection.initialDate = parser.value(u"from"_s);
    if (parser.isSet(u"to"_s)) selection.finalDate = parser.value(u"to"_s);
    if (parser.isSet(u"field"_s)) selection.dateField = parser.value(u"field"_s);
    if (parser.isSet(u"varsql"_s)) selection.varSql = parser.value(u"varsql"_s).trimmed();
    for (const QString& option : parser.values(u"select"_s)) {
        int box = 0;
        QString value;
        if (!BoxValue(option, box, value)) {
            err << Name << "--select espera N=VALOR com N de 1 a 9: \"" << option << "\".\n";
            return 2;
        }
        selection.values.at(std::size_t(box - 1)) = value;
    }
    for (const QString& option : parser.values(u"choice"_s)) {
        int box = 0;
        QString value;
        if (!BoxValue(option, box, value) ||
            (value != u"1"_s && value != u"2"_s && value != u"3"_s)) {
            err << Name << "--choice espera N=1, N=2 ou N=3 com N de 1 a 9: \"" << option
                << "\".\n";
            return 2;
        }
        selection.choices.at(std::size_t(box - 1)) = value;
    }

    reports::SetRunCurrency(selection);
    const expr::MacroRun macros;
    const reports::BuiltQuery built = reports::BuildReport(report, macros);
    if (!built.ok()) {
        for (const QString& refusal : built.refusals)
            err << Name << refusal << "\n";
        err << Name << "o relatório não foi executado.\n";
        return 2;
    }
    reports::KeepStatementText(built);

    print::PrintJob job(print::CompanyPrintSettings());
    const QString suffix = QFileInfo(out).suffix().toLower();
    job.settings.destination = suffix == u"pdf"_s    ? print::Destination::PdfFile
                               : suffix == u"xlsx"_s ? print::Destination::Spreadsheet
                                                     : print::Destination::TextPages;
    job.settings.outputFile = out;
    reports::ReportRun run(report, built);
    run.applySettings(job.settings);
    if (parser.isSet(u"first-page"_s))
        job.settings.pageNumber = parser.value(u"first-page"_s).toInt() - 1;
    // The pages made so far, as the books show them.
    const bool paged = job.settings.destination != print::Destination::Spreadsheet;
    if (paged)
        job.onPage = [&err](print::PrintJob& running) {
            err << "\rPáginas: " << running.pageCount() << Qt::flush;
        };
    const auto endProgress = [&] {
        if (paged && job.pageCount() > 0) err << "\n" << Qt::flush;
    };
    try {
        run.draw(job);
    } catch (const data::DbError& error) {
        endProgress();
        err << Name << "a consulta não pôde ser executada: " << QString::fromUtf8(error.what())
            << "\n"
            << built.sql() << "\n";
        return 1;
    } catch (const std::exception& error) {
        endProgress();
        err << Name << QString::fromUtf8(error.what()) << "\n";
        return 1;
    }
    endProgress();
    if (job.cancelled()) return 1;
    for (const QString& diagnostic : run.diagnostics())
        err << Name << diagnostic << "\n";
    QTextStream(stdout) << "Relatório " << reports::ReportNumber(number) << " gravado em " << out
                        << PagesWritten(job) << ".\n";
    return 0;
}

} // namespace

QString ReportUsage() {
    return u"report run TABELA NNN --out ARQUIVO.pdf|.txt|.xlsx [--from dd/mm/aa] "
           u"[--to dd/mm/aa] [--field COLUNA] [--select N=VALOR] [--choice N=1|2|3] "
           u"[--varsql TEXTO] [--first-page N]\n"
           u"  report list TABELA\n"
           u"  report check TABELA NNN\n  "_s +
           ReportCurrencyUsage() + u"\n  "_s + ReportFilesUsage().replace(u" | "_s, u"\n  "_s);
}

int RunReportCommand(const QStringList& arguments) {
    const QString action = arguments.value(0);
    if (action == u"export"_s || action == u"import"_s) return RunReportFilesCommand(arguments);
    if (action == u"currency"_s) return RunReportCurrencyCommand(arguments);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Executa, lista e verifica os relatórios do usuário sem janelas, como o usuário "
        u"registrado. As opções não informadas vêm da última seleção salva do relatório. "
        u"\"currency\" define a moeda do dia (--title e --value)."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"ação"_s, u"run, list, check, export, import ou currency."_s);
    parser.addPositionalArgument(u"tabela"_s,
                                 u"Código da tabela: PDS, PDE, PRO, PIE, PIS, CPC..."_s);
    parser.addPositionalArgument(u"NNN"_s, u"Número do relatório."_s);
    parser.addOption({u"out"_s, u"Arquivo de saída (.pdf, .txt ou .xlsx)."_s, u"ARQUIVO"_s});
    parser.addOption({u"from"_s, u"Data inicial."_s, u"dd/mm/aa"_s});
    parser.addOption({u"to"_s, u"Data final."_s, u"dd/mm/aa"_s});
    parser.addOption({u"field"_s, u"Coluna de data do período."_s, u"COLUNA"_s});
    parser.addOption({u"select"_s, u"Valor da seleção N (1 a 9)."_s, u"N=VALOR"_s});
    parser.addOption({u"choice"_s, u"Escolha da seleção múltipla N."_s, u"N=1|2|3"_s});
    parser.addOption({u"varsql"_s, u"Valor de [VARSQL] no filtro SQL."_s, u"TEXTO"_s});
    parser.addOption({u"first-page"_s, u"Número da primeira página."_s, u"N"_s});
    // Those of "currency", which has a parser of its own, listed here so
    // that the help of "report" names every option.
    parser.addOption(
        {u"title"_s, u"currency: nome da moeda do dia (até 20 caracteres)."_s, u"MOEDA"_s});
    parser.addOption(
        {u"value"_s, u"currency: valor da moeda do dia (número, até 4 decimais)."_s, u"VALOR"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax report"_s} + arguments)) {
        err << Name << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString table = positional.value(1).toUpper();
    bool numberOk = false;
    const int number = positional.value(2).toInt(&numberOk);
    const bool needsNumber = action == u"run"_s || action == u"check"_s;
    if ((action != u"list"_s && !needsNumber) || table.size() != 3 ||
        positional.size() != (needsNumber ? 3 : 2) || (needsNumber && (!numberOk || number < 1))) {
        err << Name << "uso: " << ReportUsage() << "\n";
        return 2;
    }
    if (parser.isSet(u"title"_s) || parser.isSet(u"value"_s)) {
        err << Name << "--title e --value são da ação currency.\n";
        return 2;
    }
    const QString out = parser.value(u"out"_s);
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (action == u"run"_s &&
        (out.isEmpty() || (suffix != u"pdf"_s && suffix != u"txt"_s && suffix != u"xlsx"_s))) {
        err << Name << "informe --out com um arquivo .pdf, .txt ou .xlsx.\n";
        return 2;
    }
    if (parser.isSet(u"first-page"_s) && parser.value(u"first-page"_s).toInt() < 1) {
        err << Name << "--first-page deve ser um número inteiro a partir de 1: \""
            << parser.value(u"first-page"_s) << "\".\n";
        return 2;
    }
    for (const QString& date : {parser.value(u"from"_s), parser.value(u"to"_s)}) {
        if (!IsBlank(date) && !IsValidShortDate(date)) {
            err << Name << "data inválida: \"" << date << "\" (use dd/mm/aa).\n";
            return 2;
        }
    }

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"report"_s, err)) return finish(1);
    if (action == u"list"_s) return finish(List(table));
    if (action == u"check"_s) return finish(Check(table, number, err));
    return finish(Run(parser, table, number, out, err));
}

} // namespace livrax::shell
