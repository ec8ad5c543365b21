// Draws the program's icon, the open ledger of its logo (src/shell/logo.cpp)
// on a transparent square, as PNG files in the sizes of the desktop's icon
// theme: <folder>/hicolor/<n>x<n>/apps/livrax.png. Run at build time.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

// The ledger on a 128-unit square: two ruled pages and a green spine.
void DrawLedger(QPainter& painter) {
    const QColor ink(0x1f, 0x3a, 0x5f);
    const QColor green(0x2e, 0x7d, 0x32);
    QLinearGradient paper(0, 12, 0, 118);
    paper.setColorAt(0, QColor(0xfd, 0xfb, 0xf3));
    paper.setColorAt(1, QColor(0xec, 0xe6, 0xd2));
    for (int side = 0; side < 2; ++side) {
        const qreal x = side == 0 ? 6 : 64;
        QPainterPath page;
        page.moveTo(x, 24);
        page.quadTo(x + 29, 12, x + 58, 24);
        page.lineTo(x + 58, 116);
        page.quadTo(x + 29, 104, x, 116);
        page.closeSubpath();
        painter.setPen(QPen(ink, 4));
        painter.setBrush(paper);
        painter.drawPath(page);
        painter.setPen(QPen(QColor(0x6f, 0x8f, 0xb0), 3));
        for (int line = 0; line < 5; ++line) {
            const qreal y = 42 + line * 14;
            painter.drawLine(QPointF(x + 10, y), QPointF(x + 48, y));
        }
    }
    painter.setPen(QPen(green, 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(64, 20), QPointF(64, 118));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "uso: livrax_icon PASTA\n";
        return 2;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 128.0, size / 128.0);
        DrawLedger(painter);
        painter.end();
        const QString name = u"%1x%1"_s.arg(size);
        const QDir folder(args[1] + u"/hicolor/"_s + name + u"/apps"_s);
        const QString file = folder.filePath(u"livrax.png"_s);
        if (!QDir().mkpath(folder.path()) || !image.save(file, "PNG")) {
            err << "livrax_icon: não foi possível gravar " << file << "\n";
            return 1;
        }
    }
    return 0;
}
