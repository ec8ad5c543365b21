#pragma once

class QWidget;

namespace livrax::print {

// "Imprimir Tela": prints the window's image on the printer in the
// screen-print mode of the user's preferences (platform::PrintScreen).
void PrintScreen(QWidget* window);

} // namespace livrax::print
