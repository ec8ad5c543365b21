// The user's option "Abrir Setup da impressora na Visão da Impressão": an
// interactive preview opens the print dialog before it draws, and the
// dialog's answer decides the pages or cancels the preview.

#include "print/page_image_surface.h"
#include "print/print_job.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;

class TestPreviewPrintDialog : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void dialogBeforeThePreview_data();
    void dialogBeforeThePreview();
};

// What the dialog does when it opens.
enum class Answer { Cancel, AllPages, Pages2To3 };

void TestPreviewPrintDialog::dialogBeforeThePreview_data() {
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("interactive");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<int>("firstPage");
    QTest::addColumn<int>("lastPage");
    QTest::newRow("option off: no dialog")
        << u"V"_s << false << true << int(Answer::Cancel) << false << false << 1 << 4;
    QTest::newRow("option on, pages 2 to 3")
        << u"V"_s << true << true << int(Answer::Pages2To3) << true << false << 2 << 3;
    QTest::newRow("option on, all pages")
        << u"V"_s << true << true << int(Answer::AllPages) << true << false << 1 << 9999;
    QTest::newRow("option on, cancelled")
        << u"V"_s << true << true << int(Answer::Cancel) << true << true << 1 << 9999;
    QTest::newRow("not interactive: no dialog")
        << u"V"_s << true << false << int(Answer::Cancel) << false << false << 1 << 4;
    QTest::newRow("e-mail preview: no dialog")
        << u"K"_s << true << true << int(Answer::Cancel) << false << false << 1 << 4;
}

void TestPreviewPrintDialog::dialogBeforeThePreview() {
    QFETCH(QString, destination);
    QFETCH(bool, option);
    QFETCH(bool, interactive);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, cancelled);
    QFETCH(int, firstPage);
    QFETCH(int, lastPage);
    QTemporaryDir folder;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = *DestinationFromCode(destination);
    job.settings.tempFolder = folder.path() + u'/';
    job.settings.interactive = interactive;
    job.settings.printDialogInPreview = option;
    job.settings.firstPage = 1;
    job.settings.lastPage = 4;
    auto surface = std::make_unique<PageImageSurface>();
    bool shown = false;
    surface->runDialog = [&](QPrintDialog& dialog) {
        shown = true;
        // Page selection from the job's range.
        const bool offered = dialog.testOption(QAbstractPrintDialog::PrintPageRange) &&
                             dialog.minPage() == 1 && dialog.maxPage() == 4;
        if (!offered) return false;
        switch (Answer(answer)) {
        case Answer::Cancel:
            return false;
        case Answer::AllPages:
            dialog.printer()->setPrintRange(QPrinter::AllPages);
            return true;
        case Answer::Pages2To3:
            dialog.printer()->setPrintRange(QPrinter::PageRange);
            dialog.printer()->setFromTo(2, 3);
            return true;
        }
        return false;
    };
    job.setSurface(std::move(surface));
    job.startJob();
    QCOMPARE(shown, asked);
    QCOMPARE(job.cancelled(), cancelled);
    if (!cancelled) {
        QCOMPARE(job.firstPage(), firstPage);
        QCOMPARE(job.lastPage(), lastPage);
        job.printText(QString(), 2, u"PAGINA"_s);
        job.endJob();
    }
}

QTEST_MAIN(TestPreviewPrintDialog)
#include "test_preview_print_dialog.moc"
