// Grid printing: the listing of a grid's rows on text pages (titles, column
// widths from the screen's character width, numbers right-aligned), and the
// window's destination buttons.

#include "print/grid_print.h"
#include "print/print_job.h"
#include "print/text_page_surface.h"
#include "print/tf_printgrid.h"

#include <QDir>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

namespace {

// Three products; the model's captions differ from the field names.
void FillProducts(QStandardItemModel& model) {
    model.setHorizontalHeaderLabels({u"Nome do produto"_s, u"Preço"_s});
    const QList<QStringList> rows{
        {u"Parafuso"_s, u"1.234,56"_s}, {u"Porca"_s, u"7,50"_s}, {u"Arruela"_s, u"-12,00"_s}};
    for (const QStringList& row : rows)
        model.appendRow({new QStandardItem(row.at(0)), new QStandardItem(row.at(1))});
}

const QList<GridColumn> Columns{{u"NOME"_s, 90, false}, {u"PRECO"_s, 60, true}};

} // namespace

class TestGridPrint : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void numbersAsTheSpreadsheetReadsThem_data();
    void numbersAsTheSpreadsheetReadsThem();
    void listingOnTextPages();
    void nothingWithoutRowsOrColumns();
    void windowButtons();
};

void TestGridPrint::numbersAsTheSpreadsheetReadsThem_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("printed");
    QTest::newRow("thousands") << u"1.234,56"_s << u"1234.56"_s;
    QTest::newRow("comma only") << u"7,5"_s << u"7.5"_s;
    QTest::newRow("negative") << u"-1.000,00"_s << u"-1000.00"_s;
    QTest::newRow("whole") << u"42"_s << u"42"_s;
}

void TestGridPrint::numbersAsTheSpreadsheetReadsThem() {
    QFETCH(QString, shown);
    QFETCH(QString, printed);
    QCOMPARE(GridNumberText(shown), printed);
}

void TestGridPrint::listingOnTextPages() {
    QStandardItemModel model;
    FillProducts(model);
    PrintJob job;
    job.settings.destination = Destination::TextPages;
    ApplyGridPrintSettings({u"Produtos"_s, u"Linha 3"_s, Orientation::Portrait, 0, 0},
                           job.settings);
    PrintGrid(job, Columns, model);
    QVERIFY(job.ended());
    const auto* surface = static_cast<const TextPageSurface*>(job.surface());
    QCOMPARE(surface->pages().size(), 1);
    const QStringList lines = surface->pages().first();
    const auto lineWith = [&](const QString& text) {
        for (const QString& line : lines)
            if (line.contains(text)) return line;
        return QString();
    };
    QVERIFY(!lineWith(u"Produtos"_s).isEmpty());
    QVERIFY(!lineWith(u"Linha 3"_s).isEmpty());
    // The titles are the field names, the second one column after the first
    // one's width in screen characters.
    const QString titles = lineWith(u"NOME"_s);
    QVERIFY2(titles.contains(u"PRECO"_s), qPrintable(titles));
    QVERIFY(!titles.contains(u"Nome do produto"_s));
    const int charWidth = job.metrics().screenCharWidth;
    const int nameWidth = int(std::lround(90.0 / charWidth));
    const int priceWidth = int(std::lround(60.0 / charWidth));
    const int nameAt = int(titles.indexOf(u"NOME"_s));
    const int priceAt = int(titles.indexOf(u"PRECO"_s));
    QCOMPARE(priceAt - nameAt, nameWidth + 1);
    // Each price ends on the last character of its column; names start at
    // the first.
    const int priceEnd = priceAt + priceWidth - 1;
    const QList<std::pair<QString, QString>> expected{
        {u"Parafuso"_s, u"1234.56"_s}, {u"Porca"_s, u"7.50"_s}, {u"Arruela"_s, u"-12.00"_s}};
    for (const auto& [name, price] : expected) {
        const QString line = lineWith(name);
        QCOMPARE(int(line.indexOf(name)), nameAt);
        QCOMPARE(int(line.indexOf(price)) + int(price.size()) - 1, priceEnd);
    }
}

void TestGridPrint::nothingWithoutRowsOrColumns() {
    QStandardItemModel empty(0, 2);
    PrintJob job;
    job.settings.destination = Destination::TextPages;
    PrintGrid(job, Columns, empty);
    QCOMPARE(job.pageCount(), 0);
    QVERIFY(!job.ended());
    QStandardItemModel model;
    FillProducts(model);
    PrintJob noColumns;
    noColumns.settings.destination = Destination::TextPages;
    PrintGrid(noColumns, {}, model);
    QCOMPARE(noColumns.pageCount(), 0);
}

void TestGridPrint::windowButtons() {
    QStandardItemModel model;
    FillProducts(model);
    QTemporaryDir dir;
    TF_PRINTGRID window(Columns, model, u"Produtos"_s);
    PrintSettings base;
    base.tempFolder = dir.path() + u"/"_s;
    base.outputFile = dir.filePath(u"grade.txt"_s);
    window.setBaseSettings(base);
    window.show();
    QCOMPARE(window.options().title, u"Produtos"_s);
    QVERIFY(!window.findChild<QPushButton*>(u"BU_REPRINT"_s)->isVisible());
    // A text grid leaves the window open.
    window.findChild<QPushButton*>(u"BU_TXT"_s)->click();
    QCOMPARE(window.destinationCode(), u"T"_s);
    QVERIFY(QFile::exists(dir.filePath(u"grade.txt"_s)));
    QVERIFY(window.isVisible());
    // "Imprimir" (here to a PDF file) closes it when the listing ends.
    base.outputFile = dir.filePath(u"grade.pdf"_s);
    window.setBaseSettings(base);
    window.findChild<QPushButton*>(u"BU_IMPRIMIR"_s)->click();
    QCOMPARE(window.destinationCode(), u"P"_s);
    QVERIFY(QFile::exists(dir.filePath(u"grade.pdf"_s)));
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestGridPrint)
#include "test_grid_print.moc"
