#pragma once

#include <functional>

class QPrintDialog;
class QPrinter;

namespace livrax::print {

class PrintJob;

// Runs a print dialog modally; true when the user confirmed it. Surfaces keep
// one so that a test can answer in the user's place.
using PrintDialogRunner = std::function<bool(QPrintDialog&)>;
// The runner that shows the dialog to the user.
PrintDialogRunner ModalPrintDialog();

// The print dialog of a job's printer set-up, on `printer`, with page-number
// selection from the job's first to its last page. Confirmed with a page
// range, the job prints that range; with all pages, 1 to 9999. False when the
// user cancelled it.
bool AskPrintRange(PrintJob& job, QPrinter& printer, const PrintDialogRunner& run);

} // namespace livrax::print
