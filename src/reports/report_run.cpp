#include "reports/report_run.h"

#include "common/error.h"
#include "common/line_files.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"
#include "data/stop_cancel.h"
#include "expr/database_lookup.h"
#include "expr/expression_row.h"
#include "expr/macros.h"
#include "platform/stop_signals.h"
#include "print/print_job.h"
#include "reports/report_print.h"

#include <QDate>
#include <QDir>
#include <QHash>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

// The current row of the report's statement: its columns are the main
// table's, then the secondary table's, so a name is found by its position in
// the column lists read before the build (both tables may have a column of
// the same name).
class ReportRow : public expr::ExpressionRow {
  public:
    ReportRow(const data::DataSlot& slot, const LoadedReport& report) : m_slot(slot) {
        for (qsizetype i = 0; i < report.mainColumns.size(); ++i)
            m_main.insert(report.mainColumns.at(i).toUpper(), int(i));
        const int offset = int(report.mainColumns.size());
        if (!report.secondaryTable.isEmpty())
            for (qsizetype i = 0; i < report.secondaryColumns.size(); ++i)
                m_secondary.insert(report.secondaryColumns.at(i).toUpper(), offset + int(i));
    }
    std::optional<QString> field(const QString& name) const override {
        return column(m_main, name);
    }
    std::optional<QString> secondaryField(const QString& name) const override {
        return column(m_secondary, name);
    }

  private:
    std::optional<QString> column(const QHash<QString, int>& columns, const QString& name) const {
        // Expressions name their columns in upper case almost always: the
        // name as given is tried before an upper-case copy is made.
        auto found = columns.constFind(name);
        if (found == columns.constEnd()) found = columns.constFind(name.toUpper());
        if (found == columns.constEnd() || *found >= m_slot.fieldCount()) return std::nullopt;
        return m_slot.value(*found).toString();
    }
    const data::DataSlot& m_slot;
    QHash<QString, int> m_main, m_secondary;
};

// The slot every report statement runs in, as the window's query.
constexpr data::Slot ReportSlot = data::Slot::T_CON9;

} // namespace

QStringList TableColumns(const QString& physicalTable) {
    data::DataSlot& slot = data::DataModule().slot(ReportSlot);
    data::OpenQuery(ReportSlot, physicalTable, u"SELECT FIRST 1 * FROM "_s + physicalTable);
    QStringList columns;
    for (int i = 0; i < slot.fieldCount(); ++i)
        columns << slot.fieldName(i);
    slot.close();
    return columns;
}

bool LoadReport(const ReportMenu& menu, int number, LoadedReport& report, QString& error) {
    report = {};
    report.menu = menu;
    report.number = number;
    if (!ReadReportDefinition(menu.database, DefinitionKey(menu, number), report.definition)) {
        error = u"relatório %1 de %2 não encontrado (%3)."_s.arg(
            ReportNumber(number), menu.tableCode, DefinitionKey(menu, number));
        return false;
    }
    ReadLastSelection(menu.database, SelectionKey(menu, number), report.selection);
    ReadMenuSelection(menu.database, MenuSelectionKey(menu), report.config);
    report.table = data::ResolveTableName(menu.tableCode);
    const QString secondary = report.definition.secondary.table.trimmed();
    if (!secondary.isEmpty()) report.secondaryTable = data::ResolveTableName(secondary);
    try {
        report.mainColumns = TableColumns(report.table);
        if (!report.secondaryTable.isEmpty())
            report.secondaryColumns = TableColumns(report.secondaryTable);
    } catch (const std::exception& failure) {
        error = u"tabela não lida: "_s + QString::fromUtf8(failure.what());
        return false;
    }
    return true;
}

void SetRunCurrency(const LastSelection& selection) {
    Currency stored;
    if (data::ParamRead(data::DatabaseFor(u"MOE"_s), u"PAR_MOEDADIA"_s, 2))
        stored = {data::ParamLines().line(1), data::ParamLines().line(2)};
    const Currency currency = CurrencyOfTheDay(stored, selection);
    expr::SetCurrencyOfTheDay(currency.title, currency.value);
}

BuiltQuery BuildReport(const LoadedReport& report, const expr::MacroRun& macros) {
    QueryInputs inputs;
    inputs.definition = &report.definition;
    inputs.selection = &report.selection;
    inputs.config = &report.config;
    inputs.mainTable = report.table;
    inputs.mainColumns = report.mainColumns;
    inputs.secondaryTable = report.secondaryTable;
    inputs.secondaryColumns = report.secondaryColumns;
    inputs.today = macros.today();
    inputs.macros = &macros;
    return BuildReportQuery(inputs);
}

void KeepStatementText(const BuiltQuery& built) {
    const QString folder = data::Globals().user.tempFolder;
    if (folder.isEmpty() || !QDir(folder).exists()) return;
    WriteWindowsLinesFile(folder + u"P_FMQRR.TXT"_s, built.lines);
}

ReportRun::ReportRun(const LoadedReport& report, const BuiltQuery& built)
    : m_report(report), m_built(built) {}

void ReportRun::applySettings(print::PrintSettings& settings) const {
    ApplyReportSettings(m_report.definition, m_built.titlePeriod, settings);
}

void ReportRun::draw(print::PrintJob& job) {
    m_diagnostics.clear();
    // Every row, the look-ups included, read in one moment of the database.
    const data::ReadMoment moment;
    // A stop signal cancels the statement in the database too.
    const data::CancelOnStop cancelOnStop;
    data::DataSlot& slot = data::DataModule().slot(ReportSlot);
    data::OpenQuery(ReportSlot, m_report.table, m_built.sql());
    const ReportRow row(slot, m_report);
    const expr::DatabaseLookup lookups;
    ReportLayout layout(m_report.definition, job, &lookups);
    bool started = false;
    bool stopped = false;
    try {
        job.startJob();
        if (!job.cancelled()) {
            job.pageHeader();
            job.newLine();
            // A walk broken off (a stop signal, the connection lost) is a
            // failure: a report never prints the rows read so far as if
            // they were all.
            layout.print([&]() -> const expr::ExpressionRow* {
                if (started) slot.next();
                started = true;
                if (platform::StopRequested()) stopped = true;
                return stopped || slot.eof() || job.cancelled() ? nullptr : &row;
            });
            if (platform::StopRequested()) stopped = true;
            if (stopped)
                throw data::DbError(u"sinal "_s + QString::fromLatin1(platform::StopSignalName()));
            job.endJob();
        }
    } catch (const data::DbError& error) {
        slot.rollback();
        job.abandon();
        m_diagnostics = layout.diagnostics();
        throw Error(u"O relatório foi interrompido e não foi gravado: "_s + error.message());
    }
    slot.close();
    m_diagnostics = layout.diagnostics();
}

} // namespace livrax::reports
