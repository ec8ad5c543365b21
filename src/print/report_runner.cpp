#include "print/report_runner.h"

#include "print/print_job.h"

#include <QApplication>

namespace livrax::print {

void RunReport(PrintJob& job, const ReportFunction& report, QWidget* parent) {
    if (job.settings.interactive && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        TF_PRINT window(job, parent);
        window.run(report);
        if (window.isViewing()) window.exec();
        return;
    }
    report(job);
    if (!job.ended() && !job.cancelled()) job.endJob();
}

} // namespace livrax::print
