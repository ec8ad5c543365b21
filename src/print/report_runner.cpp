#include "print/report_runner.h"

#include "print/print_job.h"

#include <QApplication>

namespace livrax::print {

void RunReport(PrintJob& job, const ReportFunction& report, QWidget* parent,
               const std::function<void()>& reprint) {
    if (job.settings.interactive && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        TF_PRINT window(job, parent);
        if (reprint)
            window.setReprintAction([&window, reprint] {
                window.done(QDialog::Rejected);
                reprint();
            });
        window.run(report);
        if (window.isViewing()) window.exec();
        return;
    }
    report(job);
    if (!job.ended() && !job.cancelled()) job.endJob();
}

} // namespace livrax::print
