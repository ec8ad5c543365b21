#pragma once

// The demo company's sample user-defined reports: sales invoices (PDS) and
// their items (PIS), in the menus the main window lists ("PAR_LF" + table).

#include <QList>
#include <QString>

namespace livrax::data {
class Connection;
}

namespace livrax::demo {

// The menus that hold the sample reports, by table code.
struct DemoReportMenu {
    QString tableCode;
    QString key;
};
QList<DemoReportMenu> DemoReportMenus();

// Writes the sample reports (definition and last selection, covering
// `year`) and each menu's selection configuration to the ERP database.
// Throws DbError when the database refuses a key.
void WriteDemoReports(data::Connection& erp, int year);

// The reports stored in the demo's menus, one line each (menu, number,
// title), for the summary printed after the demo is created.
QString FormatDemoReports(data::Connection& erp);

} // namespace livrax::demo
