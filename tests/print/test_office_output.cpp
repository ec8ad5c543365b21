// The office destinations: the spreadsheet (.xlsx) of destination "E" and the
// word-processor document (.odt) of destination "W", read back from their
// zip containers.

#include "data/globals.h"
#include "platform/clock.h"
#include "print/page_image_surface.h"
#include "print/print_job.h"
#include "print/spreadsheet_surface.h"
#include "print/word_document_surface.h"
#include "print/word_export.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

namespace {

// One member of a zip file (an .xlsx or .odt), through unzip.
QByteArray Unzip(const QString& file, const QString& member) {
    QProcess process;
    process.start(u"unzip"_s, {u"-p"_s, file, member});
    if (!process.waitForFinished(30000)) return {};
    return process.readAllStandardOutput();
}

// The cells, fonts and formats of the first sheet of a workbook.
struct Workbook {
    struct Cell {
        QString type; // "s" shared string, "" number or date
        int style = 0;
        QString value;
    };
    struct Font {
        QString name;
        QString size;
        bool bold = false;
    };
    QMap<QString, Cell> cells; // by reference, "B1"
    QStringList strings;
    QList<Font> fonts;
    QList<QPair<int, int>> cellFormats; // (number format id, font id)
    QMap<int, QString> numberFormats;
    QMap<int, QString> columnWidths; // 1-based column → width

    explicit Workbook(const QString& file) {
        QXmlStreamReader sheet(Unzip(file, u"xl/worksheets/sheet1.xml"_s));
        QString ref;
        while (!sheet.atEnd()) {
            if (sheet.readNext() != QXmlStreamReader::StartElement) continue;
            const auto a = sheet.attributes();
            if (sheet.name() == u"c"_s) {
                ref = a.value(u"r"_s).toString();
                cells[ref] = {a.value(u"t"_s).toString(), a.value(u"s"_s).toInt(), {}};
            } else if (sheet.name() == u"v"_s) {
                cells[ref].value = sheet.readElementText();
            } else if (sheet.name() == u"col"_s) {
                columnWidths[a.value(u"min"_s).toInt()] = a.value(u"width"_s).toString();
            }
        }
        QXmlStreamReader shared(Unzip(file, u"xl/sharedStrings.xml"_s));
        while (!shared.atEnd())
            if (shared.readNext() == QXmlStreamReader::StartElement && shared.name() == u"t"_s)
                strings.append(shared.readElementText());
        QXmlStreamReader styles(Unzip(file, u"xl/styles.xml"_s));
        bool inCellXfs = false;
        while (!styles.atEnd()) {
            const auto token = styles.readNext();
            if (token == QXmlStreamReader::EndElement && styles.name() == u"cellXfs"_s)
                inCellXfs = false;
            if (token != QXmlStreamReader::StartElement) continue;
            const auto a = styles.attributes();
            if (styles.name() == u"numFmt"_s)
                numberFormats[a.value(u"numFmtId"_s).toInt()] = a.value(u"formatCode"_s).toString();
            else if (styles.name() == u"font"_s)
                fonts.append(Font{});
            else if (styles.name() == u"b"_s && !fonts.isEmpty())
                fonts.last().bold = true;
            else if (styles.name() == u"sz"_s && !fonts.isEmpty())
                fonts.last().size = a.value(u"val"_s).toString();
            else if (styles.name() == u"name"_s && !fonts.isEmpty())
                fonts.last().name = a.value(u"val"_s).toString();
            else if (styles.name() == u"cellXfs"_s)
                inCellXfs = true;
            else if (styles.name() == u"xf"_s && inCellXfs)
                cellFormats.append({a.value(u"numFmtId"_s).toInt(), a.value(u"fontId"_s).toInt()});
        }
    }
    QString text(const QString& ref) const {
        const Cell cell = cells.value(ref);
        return cell.type == u"s"_s ? strings.value(cell.value.toInt()) : QString();
    }
    Font font(const QString& ref) const {
        return fonts.value(cellFormats.value(cells.value(ref).style).second);
    }
    QString numberFormat(const QString& ref) const {
        return numberFormats.value(cellFormats.value(cells.value(ref).style).first);
    }
};

// The images and page breaks of an .odt document's body.
struct OdtBody {
    int images = 0;
    int pageBreaks = 0;
    bool firstHasBreak = false;
    QList<QSizeF> frames; // points
    explicit OdtBody(const QString& file) {
        const QString content = QString::fromUtf8(Unzip(file, u"content.xml"_s));
        // Paragraph styles that start a new page.
        QStringList breakStyles;
        const QRegularExpression style(
            uR"re(<style:style style:name="([^"]+)" style:family="paragraph">\s*<style:paragraph-properties[^>]*fo:break-before="page")re"_s);
        for (auto it = style.globalMatch(content); it.hasNext();)
            breakStyles.append(it.next().captured(1));
        const QRegularExpression paragraph(uR"re(<text:p text:style-name="([^"]+)")re"_s);
        bool first = true;
        for (auto it = paragraph.globalMatch(content); it.hasNext();) {
            const bool breaks = breakStyles.contains(it.next().captured(1));
            if (breaks) ++pageBreaks;
            if (first) firstHasBreak = breaks;
            first = false;
        }
        images = int(content.count(u"<draw:image "_s));
        const QRegularExpression frame(uR"re(svg:width="([\d.]+)pt" svg:height="([\d.]+)pt")re"_s);
        for (auto it = frame.globalMatch(content); it.hasNext();) {
            const auto match = it.next();
            frames.append({match.captured(1).toDouble(), match.captured(2).toDouble()});
        }
    }
};

void WritePageImage(const QString& folder, int n, QSize size = QSize(823, 1225)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(image.save(PageImageSurface::PageFile(folder, n), "JPEG", 100));
}

} // namespace

class TestOfficeOutput : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(10, 0))); }
    void cleanup() {
        platform::Clock::reset();
        data::ResetGlobals();
    }

    void spreadsheetCellValues_data();
    void spreadsheetCellValues();
    void spreadsheetCellsFontsAndWidths();
    void spreadsheetThatCannotBeWrittenLeavesNothing();
    void wordDocumentHasOnePicturePerPage();
    void exportEndsAtTheFirstMissingPage_data();
    void exportEndsAtTheFirstMissingPage();
    void exportThatCannotBeWrittenLeavesNothing();
};

void TestOfficeOutput::spreadsheetCellValues_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("number");
    QTest::addColumn<QDate>("date");
    const int text = int(SpreadsheetValue::Kind::Text);
    const int number = int(SpreadsheetValue::Kind::Number);
    const int date = int(SpreadsheetValue::Kind::Date);
    QTest::newRow("thousands and decimals") << u"1.234,56"_s << number << 1234.56 << QDate();
    QTest::newRow("decimal comma") << u"12,5"_s << number << 12.5 << QDate();
    QTest::newRow("negative") << u"-1.234,5"_s << number << -1234.5 << QDate();
    QTest::newRow("right-aligned in its field") << u"    987,10"_s << number << 987.1 << QDate();
    QTest::newRow("integer") << u"42"_s << number << 42.0 << QDate();
    QTest::newRow("zero") << u"0"_s << number << 0.0 << QDate();
    QTest::newRow("fraction below one") << u"0,25"_s << number << 0.25 << QDate();
    // Only a text with both separators loses its "." (thousands).
    QTest::newRow("point alone is decimal") << u"1.5"_s << number << 1.5 << QDate();
    QTest::newRow("two points") << u"1.234.567"_s << text << 0.0 << QDate();
    QTest::newRow("leading zeros: a code") << u"00123"_s << text << 0.0 << QDate();
    QTest::newRow("44-digit key") << QString(44, u'3') << text << 0.0 << QDate();
    QTest::newRow("dashes") << u"-----"_s << text << 0.0 << QDate();
    QTest::newRow("lone minus") << u"-"_s << text << 0.0 << QDate();
    QTest::newRow("date") << u"09/03/26"_s << date << 0.0 << QDate(2026, 3, 9);
    QTest::newRow("date of the last century")
        << u"31/12/95"_s << date << 0.0 << QDate(1995, 12, 31);
    QTest::newRow("padded date") << u" 01/02/26"_s << date << 0.0 << QDate(2026, 2, 1);
    QTest::newRow("no such day") << u"31/02/26"_s << text << 0.0 << QDate();
    QTest::newRow("four-digit year") << u"09/03/2026"_s << text << 0.0 << QDate();
    QTest::newRow("words with a comma") << u"Rua A, 10"_s << text << 0.0 << QDate();
}

void TestOfficeOutput::spreadsheetCellValues() {
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(double, number);
    QFETCH(QDate, date);
    const SpreadsheetValue value = SpreadsheetCellValue(text);
    QCOMPARE(int(value.kind), kind);
    if (value.kind == SpreadsheetValue::Kind::Number) QCOMPARE(value.number, number);
    if (value.kind == SpreadsheetValue::Kind::Date) QCOMPARE(value.date, date);
    // A text stays exactly as written.
    if (value.kind == SpreadsheetValue::Kind::Text) QCOMPARE(value.text, text);
}

void TestOfficeOutput::spreadsheetCellsFontsAndWidths() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::Spreadsheet;
    job.settings.outputFile = folder.filePath(u"relatorio.xlsx"_s);
    job.settings.standardHeader = false;
    job.settings.jobFontName = u"Arial"_s;
    job.settings.jobFontSize = 8;
    job.settings.spreadsheetColumnWidths[2] = 30;
    job.startJob();
    job.pageHeader();
    // Row 0: a bold text in column 1, a number in column 2.
    job.setSpreadsheetColumn(1);
    job.printText(QString(), 0, u"CLIENTE, S.A."_s, 10, u"B"_s);
    job.setSpreadsheetColumn(2);
    job.printText(QString(), 20, u"1.234,56"_s);
    job.newLine();
    // Row 1: a date, a code with leading zeros, a blank text (not written).
    job.setSpreadsheetColumn(1);
    job.printText(QString(), 0, u"09/03/26"_s);
    job.setSpreadsheetColumn(2);
    job.printText(QString(), 20, u"00123"_s);
    job.setSpreadsheetColumn(3);
    job.printText(QString(), 40, u"   "_s);
    // Beyond the last column of a sheet: skipped, the job goes on.
    job.setSpreadsheetColumn(20000);
    job.printText(QString(), 40, u"fora"_s);
    job.endJob();
    QVERIFY(!job.cancelled());

    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"relatorio.xlsx"_s});
    const Workbook book(job.settings.outputFile);
    QCOMPARE(book.cells.keys(), (QStringList{u"B1"_s, u"B2"_s, u"C1"_s, u"C2"_s}));
    QCOMPARE(book.text(u"B1"_s), u"CLIENTE, S.A."_s);
    QCOMPARE(book.font(u"B1"_s).bold, true);
    QCOMPARE(book.font(u"B1"_s).name, u"Arial"_s);
    QCOMPARE(book.font(u"B1"_s).size, u"10"_s);

    QCOMPARE(book.cells[u"C1"_s].type, QString());
    QCOMPARE(book.cells[u"C1"_s].value, u"1234.56"_s);
    QCOMPARE(book.font(u"C1"_s).bold, false);
    QCOMPARE(book.font(u"C1"_s).size, u"8"_s);

    // A date is the day's serial number shown as dd/mm/yy.
    QCOMPARE(book.cells[u"B2"_s].type, QString());
    QCOMPARE(book.cells[u"B2"_s].value.toInt(), int(QDate(1899, 12, 30).daysTo(QDate(2026, 3, 9))));
    QCOMPARE(book.numberFormat(u"B2"_s), u"dd/mm/yy"_s);

    QCOMPARE(book.text(u"C2"_s), u"00123"_s);

    // Width 30 of the job's column 2 is column C.
    QCOMPARE(book.columnWidths.keys(), QList<int>{3});
    QVERIFY2(book.columnWidths[3].startsWith(u"30."_s), qPrintable(book.columnWidths[3]));
}

void TestOfficeOutput::spreadsheetThatCannotBeWrittenLeavesNothing() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = Destination::Spreadsheet;
    job.settings.outputFile = folder.filePath(u"falta/relatorio.xlsx"_s);
    QVERIFY_THROWS_EXCEPTION(PrintError, job.startJob());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestOfficeOutput::wordDocumentHasOnePicturePerPage() {
    QTemporaryDir folder;
    data::Globals().registry.dirTemp = folder.path() + u'/';
    PrintJob job(CompanyPrintSettings());
    QCOMPARE(job.settings.tempFolder, folder.path() + u'/');
    job.settings.destination = Destination::WordProcessor;
    job.settings.companyName = u"EMPRESA DE TESTE LTDA"_s;
    job.settings.title = u"REGISTRO DE ENTRADAS"_s;
    job.startJob();
    job.pageHeader();
    for (int page = 1; page <= 3; ++page) {
        job.printText(QString(), 2, u"Página "_s + QString::number(page));
        if (page < 3) job.newPage();
    }
    job.endJob();
    QCOMPARE(job.pageCount(), 3);

    // Without an output file the document goes to the temporary folder.
    auto* surface = static_cast<WordDocumentSurface*>(job.surface());
    QCOMPARE(surface->fileName(), folder.filePath(u"LIVRAX.odt"_s));
    QVERIFY(QFile::exists(surface->fileName()));
    const OdtBody body(surface->fileName());
    QCOMPARE(body.images, 3);
    QCOMPARE(body.pageBreaks, 2);
    QCOMPARE(body.firstHasBreak, false);
    // Each picture is the sheet (the page and the paper's margins), keeps
    // its proportions and fits a 450 × 660 pt area.
    const QSize page(job.metrics().previewWidth, job.metrics().previewHeight);
    const QSize sheet = page.grownBy(SheetMargins(job.orientation(), page.width()));
    QCOMPARE(body.frames.size(), 3);
    for (const QSizeF& frame : body.frames) {
        QVERIFY(frame.width() <= 450.01 && frame.height() <= 660.01);
        QVERIFY(qAbs(frame.width() / frame.height() - double(sheet.width()) / sheet.height()) <
                0.01);
    }
    const QString manifest =
        QString::fromUtf8(Unzip(surface->fileName(), u"META-INF/manifest.xml"_s));
    QCOMPARE(manifest.count(u"Pictures/"_s), 3);
}

void TestOfficeOutput::exportEndsAtTheFirstMissingPage_data() {
    QTest::addColumn<QList<int>>("images");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<int>("exported");
    QTest::newRow("all pages") << QList<int>{1, 2, 3} << 9999 << 3;
    QTest::newRow("a gap ends it") << QList<int>{1, 2, 4} << 9999 << 2;
    QTest::newRow("up to lastPage") << QList<int>{1, 2, 3} << 2 << 2;
    QTest::newRow("no first page") << QList<int>{2, 3} << 9999 << 0;
}

void TestOfficeOutput::exportEndsAtTheFirstMissingPage() {
    QFETCH(QList<int>, images);
    QFETCH(int, lastPage);
    QFETCH(int, exported);
    QTemporaryDir folder;
    const QString temp = folder.path() + u'/';
    for (const int n : images)
        WritePageImage(temp, n);
    const QString file = folder.filePath(u"paginas.odt"_s);
    QCOMPARE(ExportPagesToDocument(temp, lastPage, file), file);
    const OdtBody body(file);
    QCOMPARE(body.images, exported);
    QCOMPARE(body.pageBreaks, std::max(0, exported - 1));
}

void TestOfficeOutput::exportThatCannotBeWrittenLeavesNothing() {
    QTemporaryDir folder;
    const QString temp = folder.path() + u'/';
    WritePageImage(temp, 1);
    QVERIFY_THROWS_EXCEPTION(PrintError,
                             ExportPagesToDocument(temp, 9999, folder.filePath(u"falta/x.odt"_s)));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"B_PRINT1.JPG"_s});
}

QTEST_MAIN(TestOfficeOutput)
#include "test_office_output.moc"
