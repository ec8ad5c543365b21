#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

class QPaintDevice;
class QPrinter;
class QWidget;

namespace livrax::platform {

// How "Imprimir Tela" prints a window: the digit the user chooses in the
// preferences ("0 - Print0" ... "3 - Print Form").
enum class ScreenPrintMode {
    AsShown = 0,        // ask, then the window as it is, at its size on the screen
    WhitePanels = 1,    // ask; the window and its panels painted white, at its size
    WhiteStretched = 2, // ask; the window painted white, stretched over the page's top half
    Direct = 3,         // as WhiteStretched without asking, with the busy cursor
};

// The mode of a preference digit 0 to 3; any other value is Direct.
ScreenPrintMode ScreenPrintModeOf(int digit);

// Where the stretched modes put the window's image on a page of `page`
// device units, from its top-left corner: width = W - round(W / 8 x 0.4),
// height = trunc((H - round(H / 8 x 0.5)) / 2). The halves are rounded to
// the even neighbour, as every computed printer position is.
QRect StretchedScreenPrintRect(const QSize& page);
// Where the other modes put an image of `image` screen pixels: at its size
// on the screen, `scale` device units per screen pixel, from the top-left
// corner; shrunk (keeping its proportions) when the page cannot hold it.
QRect ProportionalScreenPrintRect(const QSize& image, double scale, const QSize& page);

// The window's image as `mode` prints it: painted white (with its panels in
// WhitePanels) while the image is taken, its colours restored afterwards.
QPixmap ScreenPrintImage(QWidget* window, ScreenPrintMode mode);
// Draws the window's image by `mode` on `device` (a printer, a PDF writer,
// an image), whose painter viewport is the page. False when the device
// cannot be painted on or did not finish.
bool PaintScreenPrint(QWidget* window, ScreenPrintMode mode, QPaintDevice& device);

// "Imprimir Tela": prints the window on `printer` by `mode`; every mode but
// Direct asks first with the print dialog ("PRINT_SCREEN"), and nothing is
// printed when the user cancels it. A printer that cannot be started is
// reported in the error box.
void PrintScreen(QWidget* window, ScreenPrintMode mode, QPrinter& printer);
// The same on the system's printer.
void PrintScreen(QWidget* window, ScreenPrintMode mode);

} // namespace livrax::platform
