#pragma once

#include "print/preview_window.h"

class QWidget;

namespace livrax::print {

// Draws a report on `job` (whose fields the caller has set) and hands it to
// its destination. An interactive job, in a program with windows, runs in the
// preview window with its progress panel and Cancel button; a preview then
// stays open, modally over `parent`, until the user leaves it, and a text
// grid is shown in the text editor. Otherwise (the command line, the tests) the
// report goes straight to its destination with no window and no event
// processing. Failures of a job without window reach the caller as
// exceptions (PrintError); a window shows them in the error box.
// `reprint`, when given, is what the preview's "Imprimir" button (BU_REPRINT)
// does instead of drawing the report again on the printer: the preview is
// closed and released first, then `reprint` runs.
void RunReport(PrintJob& job, const ReportFunction& report, QWidget* parent = nullptr,
               const std::function<void()>& reprint = {});

} // namespace livrax::print
