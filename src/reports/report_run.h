#pragma once

// One run of a user-defined report, the same for the runner window, the
// command line, the benchmark and the tests: the report's stored keys and
// its tables' columns are loaded, the statement is built from them, then
// opened on the report's database and its rows drawn on a print job.

#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_query.h"
#include "reports/report_selection.h"

#include <QString>
#include <QStringList>

namespace livrax::expr {
class MacroRun;
}
namespace livrax::print {
class PrintJob;
struct PrintSettings;
} // namespace livrax::print

namespace livrax::reports {

// A report as a run needs it: its three stored keys, the physical names of
// its tables and their columns in table order.
struct LoadedReport {
    ReportMenu menu;
    int number = 0;
    ReportDefinition definition;
    LastSelection selection;
    MenuSelectionConfig config;
    QString table;          // physical name of the main table
    QString secondaryTable; // physical name, empty without one
    QStringList mainColumns, secondaryColumns;
};

// Reads report `number` of the menu. A report never run has no selection
// yet and a menu may have no configuration; both are then empty. False,
// with the reason in `error`, when there is no definition or a table's
// columns cannot be read.
bool LoadReport(const ReportMenu& menu, int number, LoadedReport& report, QString& error);

// The column names of a table, from "SELECT FIRST 1 *". Throws DbError.
QStringList TableColumns(const QString& physicalTable);

// Sets the currency of the day ([GB_TITMOEDA], [GB_VALMOEDA]) for the run:
// the stored "PAR_MOEDADIA" replaced by the selection's values.
void SetRunCurrency(const LastSelection& selection);

// Builds the statement of the loaded report ("Montar").
BuiltQuery BuildReport(const LoadedReport& report, const expr::MacroRun& macros);

// Writes the statement as "P_FMQRR.TXT" in the user's temporary folder when
// that folder exists; the copy is only lost when it cannot be written.
void KeepStatementText(const BuiltQuery& built);

// Draws a built report: the job settings its definition asks for, then,
// for every draw, the statement opened in one snapshot of the database, the
// title block, the rows with their groups and subtotals, and the totals.
// draw() is a report function of the print engine (startJob to endJob), so
// a preview's reprint or PDF draws the report again. A statement the
// database refuses throws DbError from draw() before anything is printed; a
// walk broken off (a stop signal, a failed fetch) abandons the job, so no
// file is written, and throws Error.
class ReportRun {
  public:
    ReportRun(const LoadedReport& report, const BuiltQuery& built);

    // Title, fonts, header, margins, header texts and orientation of the
    // definition, over the caller's settings (destination, file, range).
    void applySettings(print::PrintSettings& settings) const;
    void draw(print::PrintJob& job);

    // The diagnostics of the expressions of the last draw ("line.field: ...").
    const QStringList& diagnostics() const { return m_diagnostics; }

  private:
    const LoadedReport& m_report;
    const BuiltQuery& m_built;
    QStringList m_diagnostics;
};

} // namespace livrax::reports
