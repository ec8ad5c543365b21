#include "print/print_range_dialog.h"

#include "print/print_job.h"

#include <QPrintDialog>
#include <QPrinter>

namespace livrax::print {

PrintDialogRunner ModalPrintDialog() {
    return [](QPrintDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

bool AskPrintRange(PrintJob& job, QPrinter& printer, const PrintDialogRunner& run) {
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    const int from = job.firstPage();
    const int to = std::max(job.firstPage(), job.lastPage());
    dialog.setMinMax(from, to);
    dialog.setFromTo(from, to);
    if (!run(dialog)) return false;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        job.setPageRange(printer.fromPage(), printer.toPage());
    } else {
        job.setPageRange(1, 9999);
    }
    return true;
}

} // namespace livrax::print
