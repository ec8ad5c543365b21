// A user-defined report over the items of a demo year's sales (PIS): one
// group per product with its subtotals and a total, eight columns with
// pictures, the product's name looked up in the product table and a function
// on the ICMS column. It runs through the same path as the runner window and
// `livrax report run` (LoadReport, BuildReport, ReportRun::draw) to text
// pages and to PDF, beside a bare baseline in the same process: the rows of
// the same statement streamed through a plain statement, the product names
// read once, and one text per column per row drawn straight on a job with
// the same settings and destination. The baseline is what the run could
// cost at best; the figure that matters is the ratio. The statements the run
// opened are counted too: the report's own and one look-up per product, not
// one per row.
// Usage: report_bench [invoices [folder [targets]]], targets "GF" by default:
// G text pages, F PDF. 70,000 invoices give about 100,000 sales items.

#include "bench_demo.h"
#include "bench_timing.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "expr/macros.h"
#include "print/print_job.h"
#include "print/print_settings.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_run.h"
#include "reports/report_selection.h"
#include "shell/startup.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <stdexcept>

using namespace livrax;
using livrax::bench::Milliseconds;
using livrax::bench::Rounds;
using namespace Qt::StringLiterals;

namespace {

// The report's number in the items menu, past the demo's own samples.
constexpr int BenchReport = 90;

// One column of the report: the column it reads (or the key of its look-up),
// its width, picture and alignment, whether it is summed.
struct Column {
    QString title, content;
    int size;
    QString picture;
    bool right = false, summed = false, lookup = false;
    QString function = {};
};

QList<Column> Columns() {
    return {
        {u"Data"_s, u"A.DATA"_s, 8, u"C,1,8"_s},
        {u"Nota"_s, u"A.NNOTA"_s, 8, u"Z,8,0"_s, true},
        {u"Cliente"_s, u"A.SIGLA"_s, 10, u"C,1,10"_s},
        {u"Descrição"_s, u"A.PRODUTO"_s, 30, u"C,1,30"_s, false, false, true},
        {u"Quantidade"_s, u"A.QUANT"_s, 12, u"N,12,3"_s, true, true},
        {u"Valor"_s, u"A.VALOR"_s, 14, u"P,14,2"_s, true, true},
        {u"Valor contábil"_s, u"A.CONTABIL"_s, 14, u"P,14,2"_s, true, true},
        // Printed only where the item carries ICMS.
        {u"ICMS"_s, u"A.ICMVALOR"_s, 14, u"B,14,2"_s, true, true, false,
         u"IMPSE([GBFUN0] <> 0,0000)"_s},
    };
}

reports::ReportDefinition Definition() {
    reports::ReportDefinition definition;
    definition.parameters.title = u"Itens vendidos por produto (bench)"_s;
    definition.parameters.flags = u"0000000ASS"_s; // analytic, header and field titles
    definition.sortFields = u"A.PRODUTO,A.DATA,A.NNOTA"_s;
    definition.grouping.field = u"A.PRODUTO"_s;
    definition.grouping.title = u"Produto:"_s;
    int column = 0;
    for (const Column& c : Columns()) {
        reports::ReportField field;
        field.title = c.title;
        field.content = c.content;
        field.type = c.lookup ? u"4"_s : u"1"_s;
        if (c.lookup) {
            field.otherTable = u"PRO"_s;
            field.otherKey = u"PRODUTO"_s;
            field.otherField = u"NOME"_s;
        }
        field.line = u"1"_s;
        field.column = QString::number(column);
        field.size = QString::number(c.size);
        field.picture = c.picture;
        field.function = c.function;
        field.alignment = c.right ? u"1"_s : u"0"_s;
        field.printFlags = c.summed ? u"111100000000"_s : u"110000000000"_s;
        if (c.summed) field.subtotal = field.total = c.content;
        definition.fields.append(field);
        column += (c.size + 2) * 6; // 6 designer units per character
    }
    return definition;
}

reports::ReportMenu Menu() {
    return reports::MenuForTable(u"PIS"_s, u"PAR_LFPIS"_s);
}

void WriteBenchReport(int year) {
    const reports::ReportMenu menu = Menu();
    if (!reports::WriteReportDefinition(menu.database, reports::DefinitionKey(menu, BenchReport),
                                        Definition()))
        throw std::runtime_error("the bench report could not be written");
    reports::LastSelection selection;
    selection.initialDate = QDate(year, 1, 1).toString(u"dd/MM/yy"_s);
    selection.finalDate = QDate(year, 12, 31).toString(u"dd/MM/yy"_s);
    selection.dateField = u"A.DATA"_s;
    selection.firstPage = u"1"_s;
    selection.tableName = u"VRTNPIS"_s;
    if (!reports::WriteLastSelection(menu.database, reports::SelectionKey(menu, BenchReport),
                                     selection))
        throw std::runtime_error("the bench report's selection could not be written");
}

// The settings `livrax report run` gives its job, to `file`.
print::PrintSettings Settings(const reports::ReportRun& run, QChar target, const QString& file) {
    print::PrintSettings settings = print::CompanyPrintSettings();
    settings.destination =
        target == u'F' ? print::Destination::PdfFile : print::Destination::TextPages;
    settings.outputFile = file;
    run.applySettings(settings);
    return settings;
}

// The rows of the report's statement streamed bare, each column's text
// drawn where the report puts it. Returns the number of rows.
qint64 Baseline(const QString& sql, print::PrintJob& job) {
    const QList<Column> columns = Columns();
    data::Connection& erp = *data::B_DIR(1);
    data::Transaction transaction(erp);
    QHash<QString, QString> names;
    {
        data::Statement products(erp, transaction, u"SELECT PRODUTO, NOME FROM VRTNPRO"_s);
        products.open();
        while (products.fetch())
            names.insert(products.value(0).toString(), products.value(1).toString());
    }
    data::Statement select(erp, transaction, sql);
    select.open();
    // The column of each report column in the statement, found once.
    QList<int> positions;
    for (const Column& c : columns) {
        const QString name = c.content.mid(2);
        int at = -1;
        for (int i = 0; i < select.columnCount() && at < 0; ++i)
            if (select.columnName(i) == name) at = i;
        positions << at;
    }
    job.startJob();
    job.pageHeader();
    job.newLine();
    qint64 rows = 0;
    while (select.fetch()) {
        int character = 0;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const Column& c = columns.at(i);
            QString text = select.value(positions.at(i)).toString();
            if (c.lookup) text = names.value(text);
            job.printText(c.right ? character + c.size : character, text,
                          c.right ? print::TextFormat(print::Align::Right) : print::TextFormat());
            character += c.size + 2;
        }
        job.newLine();
        ++rows;
    }
    job.endJob();
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const qint64 invoices = argc > 1 ? QByteArray(argv[1]).toLongLong() : 70000;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
    const QString targets = argc > 3 ? QString::fromLocal8Bit(argv[3]) : u"GF"_s;
    QTextStream out(stdout);

    const demo::DemoOptions options = bench::OpenDemoCompany(folder, invoices);
    WriteBenchReport(options.year);

    reports::LoadedReport report;
    QString error;
    if (!reports::LoadReport(Menu(), BenchReport, report, error)) {
        out << error << "\n";
        return 1;
    }
    reports::SetRunCurrency(report.selection);
    const expr::MacroRun macros;
    const reports::BuiltQuery built = reports::BuildReport(report, macros);
    if (!built.ok()) {
        out << built.refusals.join(u'\n') << "\n";
        return 1;
    }

    out << invoices << " invoices of a demo year\n";
    out << "target        rows    report ms   baseline ms   ratio   pages   statements\n";
    for (const QChar target : targets) {
        const QString suffix = target == u'F' ? u".pdf"_s : u".txt"_s;
        double ms = 0, bare = 0;
        qint64 rows = 0;
        int pages = 0, statements = 0;
        for (int round = 0; round < Rounds; ++round) {
            reports::ReportRun run(report, built);
            print::PrintJob job(Settings(run, target, folder + u"/report"_s + suffix));
            statements = 0;
            data::SetQueryObserver([&statements](data::Slot, const QString&) { ++statements; });
            const double runRound = Milliseconds([&] { run.draw(job); });
            data::SetQueryObserver({});
            if (!run.diagnostics().isEmpty()) {
                out << run.diagnostics().join(u'\n') << "\n";
                return 1;
            }
            pages = job.pageCount();
            print::PrintJob bareJob(Settings(run, target, folder + u"/baseline"_s + suffix));
            const double bareRound = Milliseconds([&] { rows = Baseline(built.sql(), bareJob); });
            ms = round == 0 ? runRound : std::min(ms, runRound);
            bare = round == 0 ? bareRound : std::min(bare, bareRound);
        }
        out << (target == u'F' ? "PDF       " : "text pages") << qSetFieldWidth(10) << rows
            << qSetFieldWidth(13) << qRound(ms) << qSetFieldWidth(14) << qRound(bare)
            << qSetFieldWidth(8) << QString::number(ms / bare, 'f', 2) << qSetFieldWidth(8) << pages
            << qSetFieldWidth(13) << statements << qSetFieldWidth(0) << "\n";
        out.flush();
    }
    data::DataModule().closeAll();
    return 0;
}
