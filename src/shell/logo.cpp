#include "shell/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace livrax::shell {

QPixmap DrawLogo() {
    const QSize size(420, 150);
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // An open ledger: two pages with ruled lines and a green spine.
    const QColor ink(0x1f, 0x3a, 0x5f);
    const QColor green(0x2e, 0x7d, 0x32);
    QLinearGradient paper(0, 20, 0, 130);
    paper.setColorAt(0, QColor(0xfd, 0xfb, 0xf3));
    paper.setColorAt(1, QColor(0xec, 0xe6, 0xd2));
    for (int side = 0; side < 2; ++side) {
        QPainterPath page;
        const qreal x = side == 0 ? 18 : 75;
        page.moveTo(x, 30);
        page.quadTo(x + 28, 20, x + 57, 30);
        page.lineTo(x + 57, 122);
        page.quadTo(x + 28, 112, x, 122);
        page.closeSubpath();
        painter.setPen(QPen(ink, 2));
        painter.setBrush(paper);
        painter.drawPath(page);
        painter.setPen(QPen(QColor(0x9e, 0xb3, 0xc9), 1.2));
        for (int line = 0; line < 6; ++line) {
            const qreal y = 44 + line * 12;
            painter.drawLine(QPointF(x + 8, y), QPointF(x + 49, y));
        }
    }
    painter.setPen(QPen(green, 4));
    painter.drawLine(QPointF(75, 28), QPointF(75, 124));

    QFont title(u"Liberation Sans"_s, 40, QFont::Bold);
    painter.setFont(title);
    painter.setPen(ink);
    painter.drawText(QRectF(150, 22, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, u"LIVRAX"_s);
    QFont subtitle(u"Liberation Sans"_s, 14);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(subtitle);
    painter.setPen(green);
    painter.drawText(QRectF(152, 84, 260, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     u"LIVROS FISCAIS"_s);
    return pixmap;
}

} // namespace livrax::shell
