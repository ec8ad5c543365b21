// The printer destination: its set-up (orientation, copies, paper, the print
// dialog and its page range) and its spool documents, printed to PDF files.

#include "print/print_job.h"
#include "print/printer_surface.h"
#include "support/run_tool.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

namespace {

QString PdfInfo(const QString& file, const QString& key) {
    const QRegularExpression line(u"^"_s + key + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(test::RunTool(u"pdfinfo"_s, {file})).captured(1).trimmed();
}

int PdfPages(const QString& file) {
    return PdfInfo(file, u"Pages"_s).toInt();
}

QString PdfText(const QString& file) {
    return test::RunTool(u"pdftotext"_s, {file, u"-"_s});
}

// The mark printed on page n of a test report.
QString Mark(int page) {
    return u"FOLHA %1"_s.arg(page, 2, 10, QChar(u'0'));
}

// Runs a report of `pages` pages, each with its mark, as a caller would.
void PrintPages(PrintJob& job, int pages) {
    job.startJob();
    if (job.cancelled()) return;
    job.pageHeader();
    for (int page = 1; page <= pages && !job.cancelled(); ++page) {
        job.printText(QString(), 2, Mark(page));
        job.drawBox(QString(), u"0"_s, u"+10"_s, u"N"_s);
        if (page < pages) job.newPage();
    }
    job.endJob();
}

// A printer job printing to `file` without dialogs.
void PreparePdfJob(PrintJob& job, const QString& file) {
    job.settings.destination = Destination::Printer;
    job.settings.outputFile = file;
    job.settings.companyName = u"EMPRESA DE TESTE LTDA"_s;
    job.settings.title = u"REGISTRO DE SAIDAS"_s;
}

// The job's printer surface, installed before startJob so a test can answer
// the print dialog.
PrinterSurface* InstallPrinter(PrintJob& job) {
    auto surface = std::make_unique<PrinterSurface>();
    PrinterSurface* printer = surface.get();
    job.setSurface(std::move(surface));
    return printer;
}

} // namespace

class TestPrinterOutput : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void printToFileIsOneDocument_data();
    void printToFileIsOneDocument();
    void dialogChoosesThePrintRange_data();
    void dialogChoosesThePrintRange();
    void cancelledPrintDialogLeavesNoFile();
    void printerSetUp_data();
    void printerSetUp();
    void paperIsAppliedAgainAfterTheDialog_data();
    void paperIsAppliedAgainAfterTheDialog();
    void documentFileNames_data();
    void documentFileNames();
};

void TestPrinterOutput::printToFileIsOneDocument_data() {
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("perDocument");
    QTest::addColumn<bool>("documentPerPage");
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    // The spool-document settings of a printer do not cut a file.
    QTest::newRow("12 pages, 5 per spool document") << 12 << 5 << false << 1 << 9999;
    QTest::newRow("10 pages, 5 per spool document") << 10 << 5 << false << 1 << 9999;
    QTest::newRow("one spool document per page") << 3 << 5 << true << 1 << 9999;
    QTest::newRow("one per page, range 2 to 3") << 5 << 5 << true << 2 << 3;
    QTest::newRow("range 2 to 7, 5 per spool document") << 9 << 5 << false << 2 << 7;
}

void TestPrinterOutput::printToFileIsOneDocument() {
    QFETCH(int, pages);
    QFETCH(int, perDocument);
    QFETCH(bool, documentPerPage);
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    PreparePdfJob(job, folder.filePath(u"livro.pdf"_s));
    job.settings.pagesPerSpoolDocument = perDocument;
    job.settings.documentPerPage = documentPerPage;
    job.settings.firstPage = firstPage;
    job.settings.lastPage = lastPage;
    PrintPages(job, pages);

    // One file, and no partial file beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"livro.pdf"_s});
    auto* printer = static_cast<PrinterSurface*>(job.surface());
    QCOMPARE(printer->files(), QStringList{folder.filePath(u"livro.pdf"_s)});

    // It holds every page of the range, in order, with its mark.
    const QString file = folder.filePath(u"livro.pdf"_s);
    const int lastPrinted = std::min(pages, lastPage);
    QCOMPARE(PdfPages(file), lastPrinted - firstPage + 1);
    QCOMPARE(PdfInfo(file, u"Title"_s), u"REGISTRO DE SAIDAS"_s);
    const QString text = PdfText(file);
    int previous = -1;
    for (int p = 1; p <= pages; ++p) {
        const int at = text.indexOf(Mark(p));
        const bool here = p >= firstPage && p <= lastPrinted;
        QVERIFY2((at >= 0) == here, qPrintable(Mark(p)));
        if (here) {
            QVERIFY2(at > previous, qPrintable(Mark(p)));
            previous = at;
        }
    }
}

void TestPrinterOutput::dialogChoosesThePrintRange_data() {
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    QTest::addColumn<bool>("chooseRange");
    QTest::addColumn<int>("expectedFirst");
    QTest::addColumn<int>("expectedLast");
    QTest::addColumn<int>("pdfPages");
    QTest::newRow("pages 2 to 3") << 1 << 9999 << true << 2 << 3 << 2;
    QTest::newRow("all pages") << 2 << 4 << false << 1 << 9999 << 5;
}

void TestPrinterOutput::dialogChoosesThePrintRange() {
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QFETCH(bool, chooseRange);
    QFETCH(int, expectedFirst);
    QFETCH(int, expectedLast);
    QFETCH(int, pdfPages);
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    PreparePdfJob(job, folder.filePath(u"faixa.pdf"_s));
    job.settings.interactive = true;
    job.settings.firstPage = firstPage;
    job.settings.lastPage = lastPage;
    PrinterSurface* printer = InstallPrinter(job);
    int shownFrom = 0, shownTo = 0, shownMin = 0, shownMax = 0;
    printer->runDialog = [&](QPrintDialog& dialog) {
        shownMin = dialog.minPage();
        shownMax = dialog.maxPage();
        shownFrom = dialog.printer()->fromPage();
        shownTo = dialog.printer()->toPage();
        if (chooseRange) {
            dialog.printer()->setPrintRange(QPrinter::PageRange);
            dialog.printer()->setFromTo(2, 3);
        } else {
            dialog.printer()->setPrintRange(QPrinter::AllPages);
        }
        return true;
    };
    PrintPages(job, 5);
    QCOMPARE(shownMin, firstPage);
    QCOMPARE(shownMax, lastPage);
    QCOMPARE(shownFrom, firstPage);
    QCOMPARE(shownTo, lastPage);
    QCOMPARE(job.firstPage(), expectedFirst);
    QCOMPARE(job.lastPage(), expectedLast);

    const QString file = folder.filePath(u"faixa.pdf"_s);
    QCOMPARE(PdfPages(file), pdfPages);
    const QString text = PdfText(file);
    for (int page = 1; page <= 5; ++page)
        QCOMPARE(text.contains(Mark(page)), page >= expectedFirst && page <= expectedLast);
}

void TestPrinterOutput::cancelledPrintDialogLeavesNoFile() {
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    PreparePdfJob(job, folder.filePath(u"cancelado.pdf"_s));
    job.settings.interactive = true;
    job.settings.firstPage = 2;
    job.settings.lastPage = 7;
    // The real dialog: read what it offers, then press Cancel.
    bool seen = false;
    int shownMin = 0, shownMax = 0;
    bool rangeOffered = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen = true;
        shownMin = dialog->minPage();
        shownMax = dialog->maxPage();
        rangeOffered = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        dialog->reject();
    });
    poll.start();
    PrintPages(job, 3);
    poll.stop();
    QVERIFY(seen);
    QCOMPARE(shownMin, 2);
    QCOMPARE(shownMax, 7);
    QVERIFY(rangeOffered);
    QVERIFY(job.cancelled());
    QCOMPARE(job.firstPage(), 2);
    QCOMPARE(job.lastPage(), 7);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

void TestPrinterOutput::printerSetUp_data() {
    QTest::addColumn<QString>("orientation");
    QTest::addColumn<QString>("paperFormat");
    QTest::addColumn<int>("paperSizeCode");
    QTest::addColumn<int>("paperWidth");
    QTest::addColumn<int>("paperLength");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QSize>("paperMm"); // portrait width × height
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("copyCount");
    const QSize a4(210, 297), letter(216, 279), legal(216, 356);
    QTest::newRow("defaults") << u"V"_s << QString() << 0 << 0 << 0 << QString() << a4 << false
                              << 1;
    QTest::newRow("landscape") << u"H"_s << QString() << 0 << 0 << 0 << QString() << a4 << true
                               << 1;
    QTest::newRow("1 is landscape")
        << u"1"_s << QString() << 0 << 0 << 0 << QString() << a4 << true << 1;
    QTest::newRow("0 is portrait")
        << u"0"_s << QString() << 0 << 0 << 0 << QString() << a4 << false << 1;
    QTest::newRow("letter by name")
        << u"V"_s << u"Carta"_s << 0 << 0 << 0 << QString() << letter << false << 1;
    QTest::newRow("legal by name")
        << u"V"_s << u"legal"_s << 0 << 0 << 0 << QString() << legal << false << 1;
    QTest::newRow("A4 by name over a custom size")
        << u"V"_s << u"A4 "_s << 0 << 1000 << 1000 << QString() << a4 << false << 1;
    QTest::newRow("DEF keeps the printer's paper")
        << u"V"_s << u"DEFAULT"_s << 0 << 1000 << 1000 << QString() << a4 << false << 1;
    QTest::newRow("code 5 is legal")
        << u"V"_s << QString() << 5 << 0 << 0 << QString() << legal << false << 1;
    QTest::newRow("code before name")
        << u"V"_s << u"LEG"_s << 1 << 0 << 0 << QString() << letter << false << 1;
    QTest::newRow("code 4 keeps the paper")
        << u"V"_s << QString() << 4 << 1000 << 1000 << QString() << a4 << false << 1;
    QTest::newRow("custom size") << u"V"_s << QString() << 0 << 2000 << 3000 << QString()
                                 << QSize(200, 300) << false << 1;
    QTest::newRow("custom width only")
        << u"V"_s << QString() << 0 << 1500 << 0 << QString() << QSize(150, 297) << false << 1;
    QTest::newRow("other name: custom size")
        << u"V"_s << u"XYZ"_s << 0 << 2000 << 3000 << QString() << QSize(200, 300) << false << 1;
    QTest::newRow("three copies") << u"V"_s << QString() << 0 << 0 << 0 << u"3"_s << a4 << false
                                  << 3;
    QTest::newRow("copies cut, not rounded")
        << u"V"_s << QString() << 0 << 0 << 0 << u"2,9"_s << a4 << false << 2;
    QTest::newRow("zero copies ignored")
        << u"V"_s << QString() << 0 << 0 << 0 << u"0"_s << a4 << false << 1;
    QTest::newRow("no number ignored")
        << u"V"_s << QString() << 0 << 0 << 0 << u"abc"_s << a4 << false << 1;
}

void TestPrinterOutput::printerSetUp() {
    QFETCH(QString, orientation);
    QFETCH(QString, paperFormat);
    QFETCH(int, paperSizeCode);
    QFETCH(int, paperWidth);
    QFETCH(int, paperLength);
    QFETCH(QString, copies);
    QFETCH(QSize, paperMm);
    QFETCH(bool, landscape);
    QFETCH(int, copyCount);
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    PreparePdfJob(job, folder.filePath(u"papel.pdf"_s));
    job.settings.orientation = OrientationFromCode(orientation);
    job.settings.paperFormat = paperFormat;
    job.settings.paperSizeCode = paperSizeCode;
    job.settings.paperWidth = paperWidth;
    job.settings.paperLength = paperLength;
    job.settings.copies = copies;
    PrinterSurface surface;
    QVERIFY(surface.setUp(job));
    const QPageLayout layout = surface.printer().pageLayout();
    QCOMPARE(layout.pageSize().size(QPageSize::Millimeter).toSize(), paperMm);
    QCOMPARE(layout.orientation() == QPageLayout::Landscape, landscape);
    QCOMPARE(surface.printer().copyCount(), copyCount);
    QCOMPARE(surface.printer().outputFormat(), QPrinter::PdfFormat);
    // The printable area: the sheet less 5 mm left and right and 4 mm top
    // and bottom, in dots of 300 per inch.
    const PrinterGeometry geometry = surface.printerGeometry(job);
    QCOMPARE(geometry.dpi, 300);
    const QSizeF exact = layout.pageSize().size(QPageSize::Millimeter);
    const QSizeF oriented = landscape ? exact.transposed() : exact;
    // (within a millimetre: the sizes pass through whole points on the way)
    const auto dots = [](double mm) { return mm / 25.4 * 300; };
    QVERIFY2(qAbs(geometry.width - dots(oriented.width() - 10)) <= dots(1),
             qPrintable(QString::number(geometry.width)));
    QVERIFY2(qAbs(geometry.height - dots(oriented.height() - 8)) <= dots(1),
             qPrintable(QString::number(geometry.height)));
}

void TestPrinterOutput::paperIsAppliedAgainAfterTheDialog_data() {
    QTest::addColumn<int>("paperReapply");
    QTest::addColumn<int>("paper");
    QTest::newRow("applied again") << 0 << int(QPageSize::A4);
    QTest::newRow("4: the dialog's paper stays") << 4 << int(QPageSize::Letter);
}

void TestPrinterOutput::paperIsAppliedAgainAfterTheDialog() {
    QFETCH(int, paperReapply);
    QFETCH(int, paper);
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    PreparePdfJob(job, folder.filePath(u"papel.pdf"_s));
    job.settings.interactive = true;
    job.settings.paperSizeCode = 9;
    job.settings.paperReapply = paperReapply;
    PrinterSurface surface;
    surface.runDialog = [](QPrintDialog& dialog) {
        dialog.printer()->setPageSize(QPageSize(QPageSize::Letter));
        return true;
    };
    QVERIFY(surface.setUp(job));
    QCOMPARE(int(surface.printer().pageLayout().pageSize().id()), paper);
}

void TestPrinterOutput::documentFileNames_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("document");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first keeps the name") << u"/t/livro.pdf"_s << 1 << u"/t/livro.pdf"_s;
    QTest::newRow("second") << u"/t/livro.pdf"_s << 2 << u"/t/livro-2.pdf"_s;
    QTest::newRow("dots in the name")
        << u"/t/livro.03.2026.pdf"_s << 3 << u"/t/livro.03.2026-3.pdf"_s;
    QTest::newRow("no extension") << u"/t.d/livro"_s << 2 << u"/t.d/livro-2"_s;
}

void TestPrinterOutput::documentFileNames() {
    QFETCH(QString, fileName);
    QFETCH(int, document);
    QFETCH(QString, expected);
    QCOMPARE(PrinterSurface::DocumentFileName(fileName, document), expected);
}

QTEST_MAIN(TestPrinterOutput)
#include "test_printer_output.moc"
