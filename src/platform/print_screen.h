#pragma once

class QWidget;

namespace livrax::platform {

// "Imprimir Tela": the window's image, as large as the page allows, on the
// printer the user chooses in the print dialog ("PRINT_SCREEN"). A printer
// that cannot be started is reported in the error box.
void PrintScreen(QWidget* window);

} // namespace livrax::platform
