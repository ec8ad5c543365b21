#include "platform/print_screen.h"

#include "platform/dialogs.h"

#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace livrax::platform {

void PrintScreen(QWidget* window) {
    // Taken before the dialog covers the window.
    const QPixmap image = window->grab();
    QPrinter printer;
    QPrintDialog dialog(&printer, window);
    dialog.setObjectName(u"PRINT_SCREEN"_s);
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowError(window, u"Não foi possível imprimir a tela."_s);
        return;
    }
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    painter.end();
}

} // namespace livrax::platform
