#pragma once

// A menu of user-defined reports: the parameter-store keys of its reports,
// the listing of its reports, and the FMQ_ shared values that tell the
// report windows and the external report runner which report is current.

#include <QList>
#include <QString>

namespace livrax::data {
class Connection;
}

namespace livrax::reports {

// One menu: its key M ("FMQ_" + table code by default, "PAR_LFPDS" from the
// main window) and the database that holds its keys.
struct ReportMenu {
    QString tableCode;
    QString key;
    data::Connection* database = nullptr;
};

// The menu of a table: the key given, or "FMQ_" + code; the database that
// holds the table.
ReportMenu MenuForTable(const QString& tableCode, const QString& key = {});

// Report numbers as three digits ("001").
QString ReportNumber(int number);
// The keys of report `number` of the menu: M + NNN + "A" (definition),
// "V" (last selection), "C" (passed on, never read here).
QString DefinitionKey(const ReportMenu& menu, int number);
QString SelectionKey(const ReportMenu& menu, int number);
QString CompanionKey(const ReportMenu& menu, int number);
// The menu's selection configuration: M + "0000".
QString MenuSelectionKey(const ReportMenu& menu);

struct ReportEntry {
    QString number; // the three characters before the "A"
    QString title;
    bool operator==(const ReportEntry&) const = default;
};

// The reports of the menu in key order: every key M + three characters +
// "A". A "_" or "%" of the menu key matches only itself. Empty when there is
// none or the database cannot be read.
QList<ReportEntry> ListReports(const ReportMenu& menu);

// Sets the FMQ_ shared values for report `number` of the menu: table code,
// database path (doubled backslashes made single) and name, table name, the
// menu key and the four report keys, and the current report number.
// FMQ_OPERACAO, FMQ_PRINTED and FMQ_CLOSE are the windows' to set.
void SetCurrentReport(const ReportMenu& menu, int number);

} // namespace livrax::reports
