// The print job's layout arithmetic and its text, page-image and PDF
// destinations.

#include "data/globals.h"
#include "platform/clock.h"
#include "print/page_image_surface.h"
#include "print/print_job.h"
#include "print/text_grid_surface.h"
#include "print/text_page_surface.h"
#include "support/run_tool.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>

#include <sys/resource.h>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

namespace {

// A destination that records what the job hands it, with every character 6
// units wide, so the job's own arithmetic can be checked exactly.
class RecordingSurface : public PrintSurface {
  public:
    struct Text {
        int x, y;
        QString text;
        FontSpec font;
        bool inRange;
    };
    QList<Text> texts;
    QList<QRect> boxes;
    QList<QLine> lines;
    int pagesEnded = 0;
    bool finished = false;

    SurfaceCapabilities capabilities() const override { return {}; }
    // The classic screen metrics: lines of 14 units, characters of 6, a page
    // of 823 × 1225.
    void fixMetrics(PageMetrics& metrics, const PrintJob&) const override {
        metrics.lineHeight = 14;
        metrics.charWidth = 6;
        metrics.pageWidth = 823;
        metrics.pageHeight = 1225;
    }
    void open(PrintJob&) override {}
    int textWidth(const QString& text, const FontSpec&) override { return 6 * int(text.size()); }
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override {
        texts.append({x, y, text, font, inRange});
    }
    void drawLine(int x1, int y1, int x2, int y2, int, bool inRange) override {
        if (inRange) lines.append(QLine(x1, y1, x2, y2));
    }
    void drawBox(const QRect& box, bool, bool, const QString&, int, int) override {
        boxes.append(box);
    }
    void drawRowSeparator(int, int, int, int, bool) override {}
    void endPage(bool) override { ++pagesEnded; }
    void finish() override { finished = true; }
};

// A job on the recording surface with the classic screen metrics: lines of
// 14 units, characters of 6, a page of 823 × 1225.
struct RecordedJob {
    PrintJob job;
    RecordingSurface* surface;
    // `configure` sets what the test needs before the job starts.
    explicit RecordedJob(const std::function<void(PrintSettings&)>& configure = {}) {
        auto recording = std::make_unique<RecordingSurface>();
        surface = recording.get();
        job.setSurface(std::move(recording)); // a destination of the test's own
        job.settings.standardHeader = false;
        if (configure) configure(job.settings);
        job.startJob();
    }
};

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(10, 0))); }
    void cleanup() { platform::Clock::reset(); }

    void rowsAndColumns_data();
    void rowsAndColumns();
    void alignments_data();
    void alignments();
    void oneShotSettingsLastOneText();
    void codesOfStoredReports();
    void boxesOutsideThePageRangeAreNotDrawn();
    void pageBreakThreshold();
    void textGridRepeatsTheHeaderWithoutFormFeed();
    void textGridKeepsColumnsAndCutsAt500();
    void boxedHeaderInTheTextGrid();
    void pageNumberBeforeStartAndPageImages();
    void pdfHasThePagesAndTheirText();
    void cancelKeepsFinishedPagesAndStopsCommands();
    void textPagesGoToTheirFile();
    void pageImageThatCannotBeWrittenFailsTheJob();
    void pageImageCutShortLeavesNothingBehind();
};

void TestPrintJob::rowsAndColumns_data() {
    QTest::addColumn<int>("unitMode");
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("startY");
    QTest::addColumn<int>("drawnY");
    QTest::addColumn<int>("drawnX");
    QTest::addColumn<int>("newY");
    // "+5": currentY grows by round(5 × 14 / 10) = 7, the text goes 5 further.
    QTest::newRow("relative +5") << 3 << u"+5"_s << 10 << 100 << 112 << 60 << 107;
    QTest::newRow("relative -10") << 3 << u"-10"_s << 0 << 100 << 76 << 0 << 86;
    QTest::newRow("relative decimal") << 3 << u"+2,5"_s << 1 << 100 << 106 << 6 << 104;
    QTest::newRow("tenths of a line") << 3 << u"25"_s << 2 << 0 << 35 << 12 << 35;
    QTest::newRow("whole lines") << 0 << u"3"_s << 5 << 0 << 42 << 5 << 42;
    QTest::newRow("device units") << 1 << u"40"_s << 90 << 0 << 40 << 90 << 40;
    QTest::newRow("empty row") << 3 << QString() << 0 << 55 << 55 << 0 << 55;
}

void TestPrintJob::rowsAndColumns() {
    QFETCH(int, unitMode);
    QFETCH(QString, row);
    QFETCH(int, column);
    QFETCH(int, startY);
    QFETCH(int, drawnY);
    QFETCH(int, drawnX);
    QFETCH(int, newY);
    RecordedJob recorded([&](PrintSettings& settings) { settings.unitMode = unitMode; });
    PrintJob& job = recorded.job;
    job.setCurrentY(startY);
    job.printText(row, column, u"X"_s);
    QCOMPARE(recorded.surface->texts.last().y, drawnY);
    QCOMPARE(recorded.surface->texts.last().x, drawnX);
    QCOMPARE(job.currentY(), newY);
    // A row given as a number reads as its text would ("-10" is relative).
    bool isNumber = false;
    const int number = row.toInt(&isNumber);
    if (isNumber && !row.startsWith(u'+')) {
        job.setCurrentY(startY);
        job.printText(number, column, u"X"_s);
        QCOMPARE(recorded.surface->texts.last().y, drawnY);
        QCOMPARE(job.currentY(), newY);
    }
    // Margins (converted from the unit mode's units when the job starts) and
    // one-shot offsets move the drawing, not currentY. Left 2, top 10: in
    // characters and tenths of a line (mode 3), characters and lines (mode 0),
    // device units (mode 1).
    RecordedJob margins([&](PrintSettings& settings) {
        settings.unitMode = unitMode;
        settings.leftMargin = 2;
        settings.topMargin = 10;
    });
    const int left = unitMode == 1 ? 2 : 12;
    const int top = unitMode == 1 ? 10 : unitMode == 0 ? 140 : 14;
    margins.job.setCurrentY(startY);
    margins.job.next.rowOffset = 10;   // one line down
    margins.job.next.columnOffset = 2; // two characters right
    margins.job.printText(row, column, u"X"_s);
    QCOMPARE(margins.surface->texts.last().y, drawnY + 14 + top);
    QCOMPARE(margins.surface->texts.last().x, drawnX + 12 + left * (unitMode == 0 ? 2 : 1));
    QCOMPARE(margins.job.currentY(), newY);
}

void TestPrintJob::alignments_data() {
    QTest::addColumn<QString>("align");
    QTest::addColumn<int>("expectedX");
    // Text "ABCD" is 24 units wide; column 20 is x = 120; right margin 12
    // (2 characters).
    QTest::newRow("left") << QString() << 120;
    QTest::newRow("E") << u"E"_s << 120;
    QTest::newRow("centre") << u"C"_s << 108;
    QTest::newRow("2 reads as centre") << u"2"_s << 108;
    QTest::newRow("right") << u"D"_s << 96;
    QTest::newRow("centre of the page") << u"CF"_s << (823 - 12 - 24) / 2;
    QTest::newRow("right of the page") << u"DF"_s << 823 - 12 - 24;
    QTest::newRow("field right") << u"1"_s << 120 + 24 - 24;
    QTest::newRow("before the column") << u"3"_s << 120 - 24;
}

void TestPrintJob::alignments() {
    QFETCH(QString, align);
    QFETCH(int, expectedX);
    RecordedJob recorded([](PrintSettings& settings) { settings.rightMargin = 2; });
    recorded.job.printText(0, 20, u"ABCD"_s, {}, {}, align);
    QCOMPARE(recorded.surface->texts.last().x, expectedX);
    // The typed form gives the same position.
    recorded.job.printTextAt(0, 20, u"ABCD"_s, AlignFromCode(align));
    QCOMPARE(recorded.surface->texts.last().x, expectedX);
    // Stored in the field instead of passed: the same, and only once.
    recorded.job.next.align = align;
    recorded.job.printText(0, 20, u"ABCD"_s);
    QCOMPARE(recorded.surface->texts.last().x, expectedX);
    recorded.job.printText(0, 20, u"ABCD"_s);
    QCOMPARE(recorded.surface->texts.last().x, 120);
}

void TestPrintJob::oneShotSettingsLastOneText() {
    RecordedJob recorded;
    PrintJob& job = recorded.job;
    job.next.fontName = u"Courier New"_s;
    job.next.fontSize = 12;
    job.printText(0, 0, u"A"_s, {}, u"SB"_s);
    job.printText(0, 0, u"B"_s);
    job.printText(0, 0, u"C"_s, 10, u"I8"_s);
    const auto& texts = recorded.surface->texts;
    QCOMPARE(texts[0].font.name, u"Courier New"_s);
    QCOMPARE(texts[0].font.size, 12);
    QCOMPARE(texts[0].font.style, u"BS"_s);
    QCOMPARE(texts[1].font.name, u"Arial"_s);
    QCOMPARE(texts[1].font.size, 8);
    QCOMPARE(texts[1].font.style, QString());
    QCOMPARE(texts[2].font.size, 10);
    QCOMPARE(texts[2].font.style, u"I"_s);
}

void TestPrintJob::codesOfStoredReports() {
    // Every destination letter reads back as itself; anything else is none.
    for (const QString& letter : {u"V"_s, u"P"_s, u"T"_s, u"E"_s, u"W"_s, u"K"_s, u"F"_s, u"G"_s}) {
        const std::optional<Destination> destination = DestinationFromCode(letter);
        QVERIFY2(destination.has_value(), qPrintable(letter));
        QCOMPARE(DestinationCode(*destination), letter);
    }
    for (const QString& other : {QString(), u"v"_s, u"X"_s, u"VV"_s})
        QVERIFY2(!DestinationFromCode(other).has_value(), qPrintable(other));
    QCOMPARE(OrientationFromCode(u"1"_s), Orientation::Landscape);
    QCOMPARE(OrientationFromCode(u"0"_s), Orientation::Portrait);
    QCOMPARE(OrientationFromCode(QString()), Orientation::Portrait);
    QCOMPARE(HeaderStyleFromCode(u"1"_s), HeaderStyle::Boxed);
    QCOMPARE(HeaderStyleFromCode(u"2"_s), HeaderStyle::Simple);
    QCOMPARE(StyleCode(StyleFromCode(u"isb8x"_s)), u"BSI"_s);
}

void TestPrintJob::boxesOutsideThePageRangeAreNotDrawn() {
    RecordedJob recorded([](PrintSettings& settings) {
        settings.firstPage = 2;
        settings.lastPage = 3;
        settings.pageNumber = 1;
    });
    PrintJob& job = recorded.job;
    job.drawBox(u"0"_s, u"0"_s, u"10"_s, u"R"_s);
    job.drawLine(u"0"_s);
    job.printText(0, 0, u"texto"_s);
    QCOMPARE(recorded.surface->boxes.size(), 0);
    QCOMPARE(recorded.surface->lines.size(), 0);
    QCOMPARE(recorded.surface->texts.size(), 1);
    QCOMPARE(recorded.surface->texts.last().inRange, false);
    job.newPage(); // page 2
    job.next.shade = u"1"_s;
    job.drawBox(u"0"_s, u"0"_s, u"10"_s, u"R"_s, u"2"_s);
    QCOMPARE(recorded.surface->boxes.size(), 1);
    QCOMPARE(recorded.surface->boxes.last(), QRect(QPoint(0, 2), QPoint(823 - 2, 14 + 2)));
    QCOMPARE(job.next.shade, u"0"_s);
}

void TestPrintJob::pageBreakThreshold() {
    RecordedJob recorded;
    PrintJob& job = recorded.job;
    job.pageHeader();
    job.setCurrentY(1118 - 14); // the next line reaches 1118: no break yet
    job.newLine();
    QCOMPARE(recorded.surface->pagesEnded, 0);
    QCOMPARE(job.currentY(), 1118);
    job.halfLine(); // 1125 ≥ 1119: a rule, then the next page
    QCOMPARE(recorded.surface->pagesEnded, 1);
    QCOMPARE(job.pageNumber(), 2);
    QCOMPARE(job.currentY(), 0);
    QCOMPARE(recorded.surface->lines.last().y1(), 1125);
    // At the last page the job ends instead, as a Cancel would.
    job.setPageRange(1, 2);
    job.setCurrentY(1200);
    job.newLine();
    QVERIFY(job.cancelled());
    QVERIFY(recorded.surface->finished);
}

void TestPrintJob::textGridRepeatsTheHeaderWithoutFormFeed() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::TextGrid;
    job.settings.outputFile = folder.filePath(u"livro.txt"_s);
    job.settings.companyName = u"EMPRESA LTDA"_s;
    job.settings.companyLine2 = u"RUA A, 1"_s;
    job.settings.title = u"REGISTRO"_s;
    job.startJob();
    job.pageHeader();
    job.printText(QString(), 0, u"linha 1"_s);
    job.newLine();
    job.newPage();
    job.printText(QString(), 3, u"linha 2"_s);
    job.endJob();

    QFile file(job.settings.outputFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QStringDecoder("windows-1252")(file.readAll());
    QVERIFY(!text.contains(u'\f'));
    const QStringList lines = text.split(u"\r\n"_s);
    // Header: company at column 1, title centred, page number right-aligned
    // against 823 units; then the second line; then the body.
    QCOMPARE(lines[0], QString());
    QVERIFY(lines[1].startsWith(u" EMPRESA LTDA"_s));
    QVERIFY(lines[1].contains(u"REGISTRO"_s));
    QVERIFY(lines[1].trimmed().endsWith(u"Página: 00001"_s));
    QVERIFY(lines[2].startsWith(u" RUA A, 1"_s));
    QVERIFY(lines[2].trimmed().endsWith(u"Data: 09/03/26"_s));
    QCOMPARE(lines[3], QString());
    QCOMPARE(lines[4], u"linha 1"_s);
    QCOMPARE(lines.filter(u"Página: 0000"_s).size(), 2);
    QCOMPARE(lines.filter(u"Página: 00002"_s).size(), 1);
    // The second header follows the first page's lines directly.
    const qsizetype second = lines.indexOf(lines.filter(u"Página: 00002"_s).first());
    QCOMPARE(lines[second - 1], QString());
    QCOMPARE(lines[second + 3], u"   linha 2"_s);
    // The file is written whole or not at all.
    QVERIFY(!QFile::exists(job.settings.outputFile + u".part"_s));
}

void TestPrintJob::textGridKeepsColumnsAndCutsAt500() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::TextGrid;
    job.settings.standardHeader = false;
    job.settings.outputFile = folder.filePath(u"grade.txt"_s);
    job.startJob();
    job.pageHeader();
    job.printText(QString(), 0, u"ABC"_s);
    job.printText(QString(), 10, u"XYZ"_s);
    job.printText(QString(), 1, u"b"_s); // overwrites inside the line
    job.newLine();
    job.printText(QString(), 498, u"12345"_s);
    job.newLine();
    auto* grid = static_cast<TextGridSurface*>(job.surface());
    QCOMPARE(grid->lines().at(0), u"AbC       XYZ"_s);
    QCOMPARE(grid->lines().at(1), QString(498, u' ') + u"12"_s);
    job.endJob();
}

void TestPrintJob::boxedHeaderInTheTextGrid() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::TextGrid;
    job.settings.headerStyle = HeaderStyle::Boxed;
    job.settings.outputFile = folder.filePath(u"caixa.txt"_s);
    job.settings.companyName = u"EMPRESA LTDA"_s;
    job.settings.companyLine2 = u"RUA A, 1"_s;
    job.settings.title = u"LIVRO"_s;
    job.settings.subtitle = u"MARÇO"_s;
    job.settings.boxLeftText = u"ESQ"_s;
    job.settings.boxTitle = u"CAIXA"_s;
    job.startJob();
    job.pageHeader();
    job.printText(QString(), 0, u"corpo"_s);
    auto* grid = static_cast<TextGridSurface*>(job.surface());
    const QStringList lines = grid->lines();
    QVERIFY(lines[0].contains(u"LIVRO"_s));
    QVERIFY(lines[0].trimmed().endsWith(u"Página:  00001"_s));
    QVERIFY(lines[1].startsWith(u" EMPRESA LTDA"_s));
    QVERIFY(lines[1].contains(u"MARÇO"_s));
    QVERIFY(lines[1].trimmed().endsWith(u"Data: 09/03/26"_s));
    QVERIFY(lines[2].startsWith(u" RUA A, 1"_s));
    QVERIFY(lines[2].trimmed().endsWith(u"Hora: 10:00:00"_s));
    QVERIFY(lines[3].startsWith(u" ESQ"_s));
    QVERIFY(lines[3].contains(u"CAIXA"_s));
    QCOMPARE(lines[4], QString());
    QCOMPARE(lines[5], u"corpo"_s);
    QVERIFY(job.headerPending());
    job.endJob();
}

void TestPrintJob::pageNumberBeforeStartAndPageImages() {
    QTemporaryDir folder;
    QFile stale(folder.filePath(u"B_PRINT7.JPG"_s));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    // A new job takes the user's temporary folder and clears the page
    // images of the previous job there.
    data::Globals().registry.dirTemp = folder.path() + u'/';
    PrintJob job(CompanyPrintSettings());
    data::ResetGlobals();
    QCOMPARE(job.settings.tempFolder, folder.path() + u'/');
    QVERIFY(!stale.exists());
    job.settings.destination = Destination::Preview;
    job.settings.pageNumber = 9;
    job.settings.title = u"TESTE"_s;
    job.startJob();
    job.pageHeader();
    QCOMPARE(job.pageNumber(), 10);
    for (int i = 0; i < 3; ++i) {
        job.printText(QString(), 0, u"linha"_s);
        job.newPage();
    }
    job.endJob();
    QCOMPARE(job.pageCount(), 4);
    QCOMPARE(job.lastPage(), 4);
    const QStringList images =
        QDir(folder.path()).entryList({u"B_PRINT*.JPG"_s}, QDir::Files, QDir::Name);
    QCOMPARE(images, (QStringList{u"B_PRINT1.JPG"_s, u"B_PRINT2.JPG"_s, u"B_PRINT3.JPG"_s,
                                  u"B_PRINT4.JPG"_s}));
    QCOMPARE(static_cast<PageImageSurface*>(job.surface())->pageFiles().split(u';').size(), 4);
    // Each image is the sheet: the page inside the paper's white margins,
    // the page's text kept off the image's edges.
    const QImage first(folder.filePath(u"B_PRINT1.JPG"_s));
    const QSize page(job.metrics().previewWidth, job.metrics().previewHeight);
    const QMargins sheet = SheetMargins(job.orientation(), page.width());
    QVERIFY(sheet.left() > 0 && sheet.top() > 0);
    QCOMPARE(first.size(), page.grownBy(sheet));
    const auto columnIsWhite = [&first](int x) {
        for (int y = 0; y < first.height(); ++y)
            if (qGray(first.pixel(x, y)) < 200) return false;
        return true;
    };
    for (int x = 0; x < sheet.left(); ++x)
        QVERIFY2(columnIsWhite(x), qPrintable(QString::number(x)));
}

void TestPrintJob::pdfHasThePagesAndTheirText() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::PdfFile;
    job.settings.outputFile = folder.filePath(u"livro.pdf"_s);
    job.settings.companyName = u"EMPRESA DE TESTE LTDA"_s;
    job.settings.title = u"REGISTRO DE ENTRADAS"_s;
    job.startJob();
    job.pageHeader();
    for (int line = 0; line < 150; ++line) {
        job.printText(QString(), 2, u"Nota "_s + QString::number(1000 + line));
        job.drawBox(QString(), u"0"_s, u"+10"_s, u"N"_s);
        job.newLine();
    }
    job.endJob();
    QVERIFY(QFile::exists(job.settings.outputFile));
    QVERIFY(!QFile::exists(job.settings.outputFile + u".part"_s));
    const QString info = test::RunTool(u"pdfinfo"_s, {job.settings.outputFile});
    QVERIFY2(!info.isEmpty(), "pdfinfo (poppler-utils) is needed for this test");
    const int pages = info.section(u"Pages:"_s, 1).section(u'\n', 0, 0).trimmed().toInt();
    QVERIFY(pages >= 2);
    const QString text =
        test::RunTool(u"pdftotext"_s, {u"-layout"_s, job.settings.outputFile, u"-"_s});
    QVERIFY(text.contains(u"EMPRESA DE TESTE LTDA"_s));
    QVERIFY(text.contains(u"REGISTRO DE ENTRADAS"_s));
    QVERIFY(text.contains(u"Nota 1000"_s));
    QVERIFY(text.contains(u"Nota 1149"_s));
    QCOMPARE(text.count(u"Página: 0000"_s), pages);
}

void TestPrintJob::cancelKeepsFinishedPagesAndStopsCommands() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.tempFolder = folder.path() + u'/';
    job.settings.destination = Destination::Preview;
    job.startJob();
    job.pageHeader();
    job.newPage();
    job.cancel();
    QVERIFY(job.cancelled());
    QCOMPARE(job.pageCount(), 2);
    const int y = job.currentY();
    job.printText(u"+50"_s, 0, u"depois"_s);
    job.newPage();
    QCOMPARE(job.currentY(), y);
    QCOMPARE(job.pageCount(), 2);
    QCOMPARE(QDir(folder.path()).entryList({u"B_PRINT*.JPG"_s}).size(), 2);
}

void TestPrintJob::textPagesGoToTheirFile() {
    // The same three pages kept in memory and written to a file: the file
    // holds them in Windows-1252 with CR LF, a form-feed line between pages,
    // and appears only when the job ends.
    QTemporaryDir folder;
    const auto run = [](PrintJob& job, bool finish) {
        job.settings.destination = Destination::TextPages;
        job.settings.standardHeader = false;
        job.startJob();
        job.pageHeader();
        for (int page = 1; page <= 3; ++page) {
            if (page > 1) job.newPage();
            job.printText(0, 0, u"Período "_s + QString::number(page));
            job.printText(20, 4, u"linha   "_s);
        }
        if (finish) job.endJob();
    };
    PrintJob kept;
    run(kept, true);
    const QList<QStringList> pages = static_cast<TextPageSurface*>(kept.surface())->pages();
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages[2], (QStringList{u"Período 3"_s, QString(), u"    linha"_s}));

    PrintJob written;
    written.settings.outputFile = folder.filePath(u"livro.txt"_s);
    run(written, false);
    QVERIFY(!QFile::exists(written.settings.outputFile)); // not before the job ends
    written.endJob();
    QFile file(written.settings.outputFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (int page = 0; page < 3; ++page) {
        if (page > 0) expected += "\f\r\n";
        for (const QString& line : pages[page])
            expected += QStringEncoder("windows-1252").encode(line) + "\r\n";
    }
    QCOMPARE(file.readAll(), expected);
    QVERIFY(expected.contains("Per\xEDodo 1"));

    // A job that never ends leaves no file behind.
    {
        PrintJob dropped;
        dropped.settings.outputFile = folder.filePath(u"abandonado.txt"_s);
        run(dropped, false);
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"livro.txt"_s});
}

void TestPrintJob::pageImageThatCannotBeWrittenFailsTheJob() {
    // A temporary "folder" below a plain file: no page image can be written
    // there (for root too). The job fails instead of showing fewer pages.
    QTemporaryDir folder;
    QFile plain(folder.filePath(u"file"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    PrintJob job;
    job.settings.tempFolder = plain.fileName() + u"/temp/"_s;
    job.settings.destination = Destination::Preview;
    job.startJob();
    job.pageHeader();
    job.printText(QString(), 0, u"linha"_s);
    QString message;
    try {
        job.newPage();
    } catch (const PrintError& error) {
        message = error.message();
    }
    QVERIFY2(message.startsWith(u"Não foi possível criar o arquivo "_s + plain.fileName()),
             qPrintable(message));
}

void TestPrintJob::pageImageCutShortLeavesNothingBehind() {
    // A file-size limit makes the image's write fail as a full disk would:
    // the job fails with the system's reason, and neither a cut image under
    // the page's name nor a work file stays in the folder.
    QTemporaryDir folder;
    PrintJob job;
    job.settings.tempFolder = folder.path() + u'/';
    job.settings.destination = Destination::Preview;
    job.startJob();
    job.pageHeader();
    for (int line = 0; line < 40; ++line) {
        job.printText(QString(), 0, u"linha de teste "_s + QString::number(line));
        job.newLine();
    }
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 4000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    QString message;
    try {
        job.newPage();
    } catch (const PrintError& error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    const QString image = folder.filePath(u"B_PRINT1.JPG"_s);
    QVERIFY2(message.startsWith(u"Não foi possível gravar o arquivo "_s + image + u": "_s),
             qPrintable(message));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestPrintJob)
#include "test_print_job.moc"
