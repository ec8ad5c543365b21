#include "reports/report_windows.h"

#include "platform/window_registry.h"
#include "reports/report_menu.h"
#include "reports/tf_pfmqf.h"
#include "reports/tf_pfmqm.h"
#include "reports/tf_pr.h"

namespace livrax::reports {

using namespace Qt::StringLiterals;

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
        OpenReportManager(parent, arguments.value(0), arguments.value(1));
    });
}

} // namespace livrax::reports
