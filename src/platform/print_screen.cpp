#include "platform/print_screen.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <vector>

using namespace Qt::StringLiterals;

namespace livrax::platform {

namespace {

// n / d rounded to the nearest whole number, a half to the even one, for
// n >= 0 and d > 0; exact, so a page size that lands on a half rounds the
// same on every machine.
int RoundedQuotient(int n, int d) {
    const int quotient = n / d;
    const int twice = 2 * (n % d);
    if (twice > d || (twice == d && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

// Paints widgets white while an image is taken and gives them their own
// colours back when it goes away.
class WhitePaint {
  public:
    WhitePaint() = default;
    WhitePaint(const WhitePaint&) = delete;
    WhitePaint& operator=(const WhitePaint&) = delete;
    ~WhitePaint() {
        // The panels first, then the window, whose colours the panels that
        // have none of their own inherit again.
        for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
            if (!saved->widget) continue;
            saved->widget->setPalette(saved->ownPalette ? saved->palette : QPalette());
        }
    }

    void paint(QWidget* widget) {
        m_saved.push_back({widget, widget->palette(), widget->testAttribute(Qt::WA_SetPalette)});
        QPalette white = widget->palette();
        white.setColor(QPalette::Window, Qt::white);
        widget->setPalette(white);
    }

  private:
    struct Saved {
        QPointer<QWidget> widget;
        QPalette palette;
        bool ownPalette = false;
    };
    std::vector<Saved> m_saved;
};

// A panel: a widget inside the window that paints a background of its own.
bool IsPanel(const QWidget* widget) {
    return widget->autoFillBackground() || widget->testAttribute(Qt::WA_SetPalette);
}

class BusyCursor {
  public:
    explicit BusyCursor(bool busy) : m_busy(busy) {
        if (m_busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (m_busy) QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    bool m_busy;
};

} // namespace

ScreenPrintMode ScreenPrintModeOf(int digit) {
    switch (digit) {
    case 0:
        return ScreenPrintMode::AsShown;
    case 1:
        return ScreenPrintMode::WhitePanels;
    case 2:
        return ScreenPrintMode::WhiteStretched;
    default:
        return ScreenPrintMode::Direct;
    }
}

QRect StretchedScreenPrintRect(const QSize& page) {
    const int width = std::max(0, page.width());
    const int height = std::max(0, page.height());
    // W / 8 x 0.4 is W / 20; H / 8 x 0.5 is H / 16.
    return QRect(0, 0, width - RoundedQuotient(width, 20),
                 (height - RoundedQuotient(height, 16)) / 2);
}

QRect ProportionalScreenPrintRect(const QSize& image, double scale, const QSize& page) {
    QSize size(qRound(image.width() * scale), qRound(image.height() * scale));
    if (size.width() > page.width() || size.height() > page.height())
        size = size.scaled(page, Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), size);
}

QPixmap ScreenPrintImage(QWidget* window, ScreenPrintMode mode) {
    WhitePaint white;
    if (mode != ScreenPrintMode::AsShown) white.paint(window);
    if (mode == ScreenPrintMode::WhitePanels) {
        for (QWidget* child : window->findChildren<QWidget*>())
            if (!child->isWindow() && IsPanel(child)) white.paint(child);
    }
    return window->grab();
}

bool PaintScreenPrint(QWidget* window, ScreenPrintMode mode, QPaintDevice& device) {
    const QPixmap image = ScreenPrintImage(window, mode);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect page = painter.viewport();
    QRect target;
    if (mode == ScreenPrintMode::WhiteStretched || mode == ScreenPrintMode::Direct) {
        target = StretchedScreenPrintRect(page.size());
    } else {
        const double scale = double(device.logicalDpiX()) / std::max(1, window->logicalDpiX());
        target =
            ProportionalScreenPrintRect(image.deviceIndependentSize().toSize(), scale, page.size());
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target.translated(page.topLeft()), image);
    return painter.end();
}

void PrintScreen(QWidget* window, ScreenPrintMode mode, QPrinter& printer) {
    if (mode != ScreenPrintMode::Direct) {
        QPrintDialog dialog(&printer, window);
        dialog.setObjectName(u"PRINT_SCREEN"_s);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    bool printed = false;
    {
        const BusyCursor busy(mode == ScreenPrintMode::Direct);
        printed = PaintScreenPrint(window, mode, printer);
    }
    if (!printed) ShowError(window, u"Não foi possível imprimir a tela."_s);
}

void PrintScreen(QWidget* window, ScreenPrintMode mode) {
    QPrinter printer(QPrinter::HighResolution);
    PrintScreen(window, mode, printer);
}

} // namespace livrax::platform
