#include "reports/report_windows.h"

#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "reports/report_menu.h"
#include "reports/tf_pfmqf.h"
#include "reports/tf_pr.h"

#include <QInputDialog>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

// The menu's reports as "001 - Title"; the chosen one is run in TF_PR.
void ChooseAndRun(QWidget* parent, const ReportMenu& menu) {
    const QList<ReportEntry> entries = ListReports(menu);
    if (entries.isEmpty()) {
        platform::ShowMessage(parent,
                              u"Nenhum relatório cadastrado para "_s + menu.tableCode + u"."_s);
        return;
    }
    QStringList items;
    for (const ReportEntry& entry : entries)
        items << entry.number + u" - "_s + entry.title.trimmed();
    bool chosen = false;
    const QString item = QInputDialog::getItem(parent, u"Relatórios - "_s + menu.tableCode,
                                               u"Relatório:"_s, items, 0, false, &chosen);
    if (!chosen) return;
    const int number = entries.at(items.indexOf(item)).number.toInt();
    TF_PR window(menu, number, parent);
    window.exec();
}

} // namespace

void RegisterReportWindows() {
    platform::RegisterWindow(u"PR"_s, [](QWidget* parent, const QStringList& arguments) {
        const ReportMenu menu = MenuForTable(arguments.value(0), arguments.value(1));
        TF_PR window(menu, arguments.value(2).toInt(), parent);
        window.exec();
    });
    platform::RegisterWindow(u"PFMQF"_s, [](QWidget* parent, const QStringList& arguments) {
        const ReportMenu menu = MenuForTable(arguments.value(0), arguments.value(1));
        TF_PFMQF window(menu, arguments.value(2).toInt(), parent);
        window.exec();
    });
    platform::RegisterWindow(u"REPORTS"_s, [](QWidget* parent, const QStringList& arguments) {
        // "CPC#" asks for the register's own menu, "FMQ_CPC".
        QString table = arguments.value(0);
        table.remove(u'#');
        ChooseAndRun(parent, MenuForTable(table, arguments.value(1)));
    });
}

} // namespace livrax::reports
