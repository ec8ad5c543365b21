// "Imprimir Tela": where each mode puts the window's image on the page, what
// the image looks like in each mode (drawn into an image, offscreen), and
// which modes ask before printing.

#include "platform/print_screen.h"

#include "support/dialog_log.h"
#include "support/modal.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::platform;
using namespace Qt::StringLiterals;

namespace {

const QColor Sentinel(90, 90, 90);
const QColor WindowColour(Qt::red);
const QColor PanelColour(Qt::blue);

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

// A 200 x 100 window in its own colour: a panel of its own colour on the
// right half and, on the left, a label and a small panel that inherit the
// window's colours.
struct Fixture {
    QWidget window;
    QFrame* panel;
    QFrame* inheritingPanel;
    QLabel* label;

    Fixture() {
        window.setObjectName(u"F_TESTE"_s);
        window.resize(200, 100);
        SetBackground(&window, WindowColour);
        panel = new QFrame(&window);
        panel->setGeometry(100, 0, 100, 100);
        panel->setAutoFillBackground(true);
        SetBackground(panel, PanelColour);
        inheritingPanel = new QFrame(&window);
        inheritingPanel->setGeometry(0, 0, 20, 20);
        inheritingPanel->setAutoFillBackground(true);
        label = new QLabel(&window);
        label->setGeometry(10, 80, 20, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

QColor Pixel(const QImage& image, double x, double y) {
    return image.pixelColor(int(x), int(y));
}

} // namespace

class TestPrintScreen : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void stretchedRect_data();
    void stretchedRect();
    void proportionalRect_data();
    void proportionalRect();
    void modesDrawTheWindow_data();
    void modesDrawTheWindow();
    void directModePrintsWithoutAsking();
    void cancelledDialogPrintsNothing_data();
    void cancelledDialogPrintsNothing();
};

void TestPrintScreen::stretchedRect_data() {
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("expected");
    // width = W - round(W / 20), height = trunc((H - round(H / 16)) / 2);
    // halves go to the even neighbour.
    QTest::newRow("A4, 300 dpi") << QSize(2480, 3508) << QSize(2356, 1644); // 124; 219.25, 1644.5
    QTest::newRow("A4, 600 dpi") << QSize(4960, 7016) << QSize(4712, 3289); // 248; 438.5 -> 438
    QTest::newRow("halves down to even") << QSize(2490, 3000) << QSize(2366, 1406); // 124.5; 187.5
    QTest::newRow("halves up to even") << QSize(2510, 24) << QSize(2384, 11);       // 125.5; 1.5
    QTest::newRow("odd height truncated") << QSize(100, 101) << QSize(95, 47); // 6.3 -> 6; 47.5
    QTest::newRow("empty page") << QSize(0, 0) << QSize(0, 0);
}

void TestPrintScreen::stretchedRect() {
    QFETCH(QSize, page);
    QFETCH(QSize, expected);
    QCOMPARE(StretchedScreenPrintRect(page), QRect(QPoint(0, 0), expected));
}

void TestPrintScreen::proportionalRect_data() {
    QTest::addColumn<QSize>("image");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("screen size on the printer")
        << QSize(400, 300) << 3.0 << QSize(2000, 3000) << QSize(1200, 900);
    QTest::newRow("same resolution")
        << QSize(400, 300) << 1.0 << QSize(2000, 3000) << QSize(400, 300);
    QTest::newRow("too wide: shrunk, proportions kept")
        << QSize(1000, 500) << 3.0 << QSize(2000, 3000) << QSize(2000, 1000);
    QTest::newRow("too tall: shrunk, proportions kept")
        << QSize(300, 600) << 10.0 << QSize(2000, 3000) << QSize(1500, 3000);
}

void TestPrintScreen::proportionalRect() {
    QFETCH(QSize, image);
    QFETCH(double, scale);
    QFETCH(QSize, page);
    QFETCH(QSize, expected);
    QCOMPARE(ProportionalScreenPrintRect(image, scale, page), QRect(QPoint(0, 0), expected));
}

void TestPrintScreen::modesDrawTheWindow_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("panel");
    QTest::addColumn<bool>("stretched");
    QTest::newRow("0: as shown") << 0 << WindowColour << PanelColour << false;
    QTest::newRow("1: window and panels white")
        << 1 << QColor(Qt::white) << QColor(Qt::white) << false;
    QTest::newRow("2: window white, stretched") << 2 << QColor(Qt::white) << PanelColour << true;
    QTest::newRow("3: the same as 2") << 3 << QColor(Qt::white) << PanelColour << true;
}

void TestPrintScreen::modesDrawTheWindow() {
    QFETCH(int, mode);
    QFETCH(QColor, background);
    QFETCH(QColor, panel);
    QFETCH(bool, stretched);
    Fixture fixture;
    QImage page(1000, 1400, QImage::Format_RGB32);
    page.fill(Sentinel);
    QVERIFY(PaintScreenPrint(&fixture.window, ScreenPrintModeOf(mode), page));

    // Where the window landed: over the page's top half, or at its size on
    // the screen converted to the page's resolution.
    QSizeF printed;
    if (stretched) {
        printed = QSizeF(950, 656); // 1000 - 50; (1400 - 88) / 2
    } else {
        const double scale = double(page.logicalDpiX()) / fixture.window.logicalDpiX();
        printed = QSizeF(200 * scale, 100 * scale);
    }
    QCOMPARE(Pixel(page, printed.width() * 0.25, printed.height() * 0.3), background);
    QCOMPARE(Pixel(page, printed.width() * 0.75, printed.height() * 0.5), panel);
    // Nothing beyond the window's image.
    QCOMPARE(Pixel(page, printed.width() + 2, printed.height() / 2), Sentinel);
    QCOMPARE(Pixel(page, printed.width() / 2, printed.height() + 2), Sentinel);

    // The window has its own colours back; the label and the panel without
    // colours of their own inherit them again.
    QCOMPARE(fixture.window.palette().color(QPalette::Window), WindowColour);
    QCOMPARE(fixture.panel->palette().color(QPalette::Window), PanelColour);
    for (QWidget* inheriting :
         {static_cast<QWidget*>(fixture.label), static_cast<QWidget*>(fixture.inheritingPanel)}) {
        QVERIFY(!inheriting->testAttribute(Qt::WA_SetPalette));
        QCOMPARE(inheriting->palette().color(QPalette::Window), WindowColour);
    }
}

void TestPrintScreen::directModePrintsWithoutAsking() {
    Fixture fixture;
    QTemporaryDir folder;
    const QString file = folder.filePath(u"tela.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    test::DialogLog dialogs;
    PrintScreen(&fixture.window, ScreenPrintMode::Direct, printer);
    QCOMPARE(dialogs.names(), QStringList());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Image"));
}

void TestPrintScreen::cancelledDialogPrintsNothing_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
}

void TestPrintScreen::cancelledDialogPrintsNothing() {
    QFETCH(int, mode);
    Fixture fixture;
    QTemporaryDir folder;
    const QString file = folder.filePath(u"tela.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QString seen;
    test::CloseNextModal(&seen);
    PrintScreen(&fixture.window, ScreenPrintModeOf(mode), printer);
    QCOMPARE(seen, u"PRINT_SCREEN"_s);
    QVERIFY(!QFile::exists(file));
    QCOMPARE(fixture.window.palette().color(QPalette::Window), WindowColour);
}

QTEST_MAIN(TestPrintScreen)
#include "test_print_screen.moc"
