// The preview window offscreen: progress while a job runs, the viewer it
// becomes, page navigation, zoom, leaving and cancelling, the PDF button, and
// the report runner with and without windows.

#include "data/globals.h"
#include "platform/clock.h"
#include "print/page_image_surface.h"
#include "print/preview_window.h"
#include "print/print_job.h"
#include "print/report_runner.h"
#include "print/tf_edit.h"
#include "print/tf_email.h"
#include "support/modal.h"
#include "support/run_tool.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::print;
using namespace Qt::StringLiterals;
using livrax::test::OnModal;

namespace {

// A report of `pages` pages with the standard header and three lines each:
// "Folha p linha l".
ReportFunction Report(int pages) {
    return [pages](PrintJob& job) {
        job.startJob();
        if (job.cancelled()) return;
        job.pageHeader();
        for (int page = 1; page <= pages && !job.cancelled(); ++page) {
            if (page > 1) job.newPage();
            for (int line = 0; line < 3 && !job.cancelled(); ++line) {
                job.printText(QString(), 2, u"Folha %1 linha %2"_s.arg(page).arg(line));
                job.drawBox(QString(), u"0"_s, u"+10"_s, u"N"_s);
                job.newLine();
            }
        }
        job.endJob();
    };
}

template <typename T> T* Child(const QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qWarning("no control %s", qPrintable(name));
    return child;
}

QString Text(const QWidget& window, const QString& name) {
    if (auto* label = window.findChild<QLabel*>(name)) return label->text();
    if (auto* edit = window.findChild<QLineEdit*>(name)) return edit->text();
    return u"<no control %1>"_s.arg(name);
}

void Click(const QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
}

// Closes the next message box, keeping its text.
std::shared_ptr<QString> CatchMessage(const QString& boxName) {
    auto text = std::make_shared<QString>();
    OnModal(boxName, [text](QWidget* box) {
        if (!box) return;
        *text = static_cast<QMessageBox*>(box)->text();
        static_cast<QMessageBox*>(box)->accept();
    });
    return text;
}

int PdfPages(const QString& file) {
    const QString info = test::RunTool(u"pdfinfo"_s, {file});
    return info.section(u"Pages:"_s, 1).section(u'\n', 0, 0).trimmed().toInt();
}

// The names of the files inside a zip archive (an .odt document), read from
// its central directory.
QStringList ZipEntries(const QString& archive) {
    QFile file(archive);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    const auto u16 = [&](qsizetype at) {
        return int(quint8(bytes[at])) | int(quint8(bytes[at + 1])) << 8;
    };
    QStringList names;
    for (qsizetype at = bytes.indexOf("PK\x01\x02"); at >= 0 && at + 46 <= bytes.size();
         at = bytes.indexOf("PK\x01\x02", at + 46))
        names << QString::fromUtf8(bytes.mid(at + 46, u16(at + 28)));
    return names;
}

QStringList PageImages(const QString& folder) {
    return QDir(folder).entryList({u"B_PRINT*.JPG"_s}, QDir::Files, QDir::Name);
}

} // namespace

class TestPreviewWindow : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString folder() const { return m_folder->path() + u'/'; }

  private Q_SLOTS:
    void init() {
        platform::Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
        m_folder = std::make_unique<QTemporaryDir>();
        data::Globals().registry.dirTemp = folder();
    }
    void cleanup() {
        platform::Clock::reset();
        data::ResetGlobals();
        m_folder.reset();
    }

    void controls_data();
    void controls();
    void menu();
    void progressThenViewerOfThreePages();
    void firstPageShownWhileTheJobRuns();
    void navigation_data();
    void navigation();
    void pageNumberThatIsNoNumberIsRejected();
    void zoom();
    void leavingWhileRunningCancels_data();
    void leavingWhileRunningCancels();
    void leavingAfterTheEndCloses();
    void pdfButton_data();
    void pdfButton();
    void endOfRunByDestination_data();
    void endOfRunByDestination();
    void emailWindowGetsThePages_data();
    void emailWindowGetsThePages();
    void emailAttachesAtMostFiftyPages();
    void exportToWordProcessor();
    void reprint_data();
    void reprint();
    void runnerWithoutWindow_data();
    void runnerWithoutWindow();
    void runnerShowsThePreviewModally();
    void runnerShowsTheTextGridInTheEditor();
};

void TestPreviewWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::newRow("leave") << u"BU_SAIR"_s << u"Sair  "_s << u"Sair do Programa"_s;
    QTest::newRow("normal") << u"BU_NORMAL"_s << u"100%"_s << u"Retorna ao Zoon Original"_s;
    QTest::newRow("zoom out") << u"BU_ZOOMENOS"_s << u"-"_s << u"Menos Zoon"_s;
    QTest::newRow("zoom in") << u"BU_ZOOMAIS"_s << u"+"_s << u"Mais Zoon"_s;
    QTest::newRow("first") << u"BU_PRIMEIRO"_s << QString() << u"Volta para a Primeira Página"_s;
    QTest::newRow("previous") << u"BU_RETORNA"_s << QString() << u"Retorna uma Página"_s;
    QTest::newRow("next") << u"BU_AVANCA"_s << QString() << u"Avança uma Página"_s;
    QTest::newRow("last") << u"BU_ULTIMO"_s << QString() << u"Avança para a Última Página"_s;
    QTest::newRow("word") << u"BU_EXPORT_WORD"_s << u"Word"_s << u"Exportar para o Word"_s;
    QTest::newRow("e-mail") << u"BU_EMAIL"_s << u"E-mail"_s << u"Enviar por Email"_s;
    QTest::newRow("reprint") << u"BU_REPRINT"_s << u"Imprimir"_s << u"Imprimir Relatório"_s;
    QTest::newRow("pdf") << u"BU_PDF"_s << u"PDF"_s << u"Salvar em PDF"_s;
    QTest::newRow("cancel") << u"BU_CANCELAR"_s << u"CANCELAR"_s << QString();
}

void TestPreviewWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    auto* button = Child<QAbstractButton>(window, name);
    QVERIFY(button);
    if (!text.isEmpty()) QCOMPARE(button->text(), text);
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(Text(window, u"E_INC"_s), u"0"_s);
    QCOMPARE(Text(window, u"LA_MAX"_s), u"1"_s);
    QVERIFY(Child<QFrame>(window, u"IMP_PRINTING"_s));
    QVERIFY(Child<QLabel>(window, u"IMP_FUNDO"_s));
    QCOMPARE(Text(window, u"LA_PAG"_s), u"0"_s);
}

void TestPreviewWindow::menu() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    auto* bar = Child<QMenuBar>(window, u"MainMenu1"_s);
    QVERIFY(bar);
    QStringList lines;
    const std::function<void(const QList<QAction*>&, int)> describe =
        [&](const QList<QAction*>& actions, int depth) {
            for (QAction* action : actions) {
                QString line =
                    QString(depth * 2, u' ') + (action->isSeparator() ? u"-"_s : action->text());
                if (!action->shortcut().isEmpty()) line += u'\t' + action->shortcut().toString();
                lines << line;
                if (action->menu()) describe(action->menu()->actions(), depth + 1);
            }
        };
    describe(bar->actions(), 0);
    const QStringList expected{u"Arquivo"_s,
                               u"  Sair\tF12"_s,
                               u"Word"_s,
                               u"  Criar Word"_s,
                               u"  Tornar visivel"_s,
                               u"  Novo Documento"_s,
                               u"  Inserir Relatório"_s,
                               u"  -"_s,
                               u"  Exportar para Word\tF6"_s,
                               u"Sair"_s};
    QCOMPARE(lines, expected);
}

void TestPreviewWindow::progressThenViewerOfThreePages() {
    PrintJob job(CompanyPrintSettings());
    QCOMPARE(job.lastPage(), 9999);
    QStringList progress; // LA_PAG and LA_MAX after each page, panel shown
    TF_PRINT* seen = nullptr;
    job.onPage = [&](PrintJob&) {
        QVERIFY(seen);
        const bool panel = !Child<QFrame>(*seen, u"IMP_PRINTING"_s)->isHidden();
        progress << Text(*seen, u"LA_PAG"_s) + u' ' + Text(*seen, u"LA_MAX"_s) +
                        (panel ? u" panel"_s : u" no panel"_s);
    };
    TF_PRINT window(job);
    seen = &window;
    window.run(Report(3));
    // Each hook runs before the window updates its labels for that page.
    QCOMPARE(progress, (QStringList{u"0 1/0 panel"_s, u"1 1/1 panel"_s}));
    QCOMPARE(Text(window, u"LA_PAG"_s), u"2"_s);
    QVERIFY(job.ended());
    QCOMPARE(job.pageCount(), 3);
    QCOMPARE(job.lastPage(), 3);
    QCOMPARE(Text(window, u"LA_MAX"_s), u"1/3"_s);
    QCOMPARE(Text(window, u"E_INC"_s), u"1"_s);
    QVERIFY(window.isViewing());
    QVERIFY(window.isVisible());
    QVERIFY(Child<QFrame>(window, u"IMP_PRINTING"_s)->isHidden());
    QCOMPARE(window.shownPage(), 1);
    auto* image = Child<QLabel>(window, u"IMP_FUNDO"_s);
    QVERIFY(image->isVisibleTo(&window));
    const auto* pages = static_cast<PageImageSurface*>(job.surface());
    QCOMPARE(image->pixmap().toImage(),
             QPixmap::fromImage(pages->drawPage(1, image->size())).toImage());
    QCOMPARE(image->size(), QSize(job.metrics().previewWidth, job.metrics().previewHeight));
    window.done(QDialog::Rejected);
}

// A job that stops after its first page (as a long book does between pages)
// already shows that page, and the next ones can be reached as they come.
void TestPreviewWindow::firstPageShownWhileTheJobRuns() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    int shownDuringTheJob = -1;
    QString rangeDuringTheJob;
    bool imageVisible = false;
    bool secondReachable = false;
    window.run([&](PrintJob& running) {
        running.startJob();
        running.pageHeader();
        running.printText(QString(), 2, u"Folha 1"_s);
        running.newPage(); // page 1 is done: the pause
        running.printText(QString(), 2, u"Folha 2"_s);
        running.newPage();
        QVERIFY(!running.ended());
        shownDuringTheJob = window.shownPage();
        rangeDuringTheJob = Text(window, u"LA_MAX"_s);
        imageVisible = Child<QLabel>(window, u"IMP_FUNDO"_s)->isVisibleTo(&window) &&
                       !Child<QLabel>(window, u"IMP_FUNDO"_s)->pixmap().isNull();
        Click(window, u"BU_AVANCA"_s);
        secondReachable = window.shownPage() == 2;
        running.printText(QString(), 2, u"Folha 3"_s);
        running.endJob();
    });
    QCOMPARE(shownDuringTheJob, 1);
    QCOMPARE(rangeDuringTheJob, u"1/2"_s);
    QVERIFY(imageVisible);
    QVERIFY(secondReachable);
    QCOMPARE(Text(window, u"LA_MAX"_s), u"1/3"_s);
    // Closing the preview removes the job's page images.
    QVERIFY(QFile::exists(PageImageSurface::PageFile(folder(), 3)));
    window.done(QDialog::Rejected);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(!QFile::exists(PageImageSurface::PageFile(folder(), n)));
}

void TestPreviewWindow::navigation_data() {
    QTest::addColumn<QStringList>("steps"); // button names, or "=text" typed into E_INC
    QTest::addColumn<QString>("pageText");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("lastStepQuiet"); // the last step leaves E_INC untouched
    QTest::newRow("next") << QStringList{u"BU_AVANCA"_s} << u"2"_s << 2 << false;
    QTest::newRow("next on the last page does nothing")
        << QStringList{u"BU_ULTIMO"_s, u"BU_AVANCA"_s} << u"3"_s << 3 << true;
    QTest::newRow("previous on the first page does nothing")
        << QStringList{u"BU_RETORNA"_s} << u"1"_s << 1 << true;
    QTest::newRow("last, previous")
        << QStringList{u"BU_ULTIMO"_s, u"BU_RETORNA"_s} << u"2"_s << 2 << false;
    QTest::newRow("last, first") << QStringList{u"BU_ULTIMO"_s, u"BU_PRIMEIRO"_s} << u"1"_s << 1
                                 << false;
    QTest::newRow("typed above the page count shows the last")
        << QStringList{u"=7"_s} << u"3"_s << 3 << false;
    QTest::newRow("typed zero") << QStringList{u"BU_ULTIMO"_s, u"=0"_s} << u"1"_s << 1 << false;
    QTest::newRow("typed negative")
        << QStringList{u"BU_ULTIMO"_s, u"=-4"_s} << u"1"_s << 1 << false;
    QTest::newRow("typed in range") << QStringList{u"=2"_s} << u"2"_s << 2 << false;
    QTest::newRow("emptied keeps the page")
        << QStringList{u"=2"_s, u"="_s} << QString() << 2 << false;
}

void TestPreviewWindow::navigation() {
    QFETCH(QStringList, steps);
    QFETCH(QString, pageText);
    QFETCH(int, shown);
    QFETCH(bool, lastStepQuiet);
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    window.run(Report(3));
    QCOMPARE(window.shownPage(), 1);
    auto* pageNumber = Child<QLineEdit>(window, u"E_INC"_s);
    int changes = 0;
    connect(pageNumber, &QLineEdit::textChanged, this, [&] { ++changes; });
    for (const QString& step : steps) {
        changes = 0;
        if (step.startsWith(u'='))
            pageNumber->setText(step.mid(1));
        else
            Click(window, step);
    }
    QCOMPARE(changes == 0, lastStepQuiet);
    QCOMPARE(Text(window, u"E_INC"_s), pageText);
    QCOMPARE(window.shownPage(), shown);
    auto* image = Child<QLabel>(window, u"IMP_FUNDO"_s);
    QCOMPARE(image->pixmap().toImage(),
             QPixmap::fromImage(
                 static_cast<PageImageSurface*>(job.surface())->drawPage(shown, image->size()))
                 .toImage());
    window.done(QDialog::Rejected);
}

void TestPreviewWindow::pageNumberThatIsNoNumberIsRejected() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    window.run(Report(3));
    Click(window, u"BU_AVANCA"_s);
    QCOMPARE(window.shownPage(), 2);
    auto error = CatchMessage(u"ERROR_BOX"_s);
    Child<QLineEdit>(window, u"E_INC"_s)->setText(u"2x"_s);
    QCOMPARE(*error, u"'2x' não é um número inteiro válido."_s);
    QCOMPARE(window.shownPage(), 2);
    // The buttons read the same box: rejected again, nothing moves.
    error = CatchMessage(u"ERROR_BOX"_s);
    Click(window, u"BU_AVANCA"_s);
    QCOMPARE(*error, u"'2x' não é um número inteiro válido."_s);
    QCOMPARE(window.shownPage(), 2);
    QCOMPARE(Text(window, u"E_INC"_s), u"2x"_s);
    window.done(QDialog::Rejected);
}

void TestPreviewWindow::zoom() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    window.run(Report(1));
    auto* image = Child<QLabel>(window, u"IMP_FUNDO"_s);
    const QSize normal(job.metrics().pageWidth, job.metrics().pageHeight);
    QCOMPARE(image->size(), normal);
    // The page lies on its sheet inside the paper's margins, at every zoom;
    // the 100% button is pressed only at the page's own size.
    const auto insideMargins = [&] {
        const QRect sheet = image->parentWidget()->rect();
        return image->x() > 0 && image->y() > 0 && image->geometry().right() < sheet.right() &&
               image->geometry().bottom() < sheet.bottom();
    };
    auto* normalButton = Child<QToolButton>(window, u"BU_NORMAL"_s);
    QVERIFY(insideMargins());
    QVERIFY(normalButton->isChecked());
    QCOMPARE(Text(window, u"LA_ZOOM"_s), u"100%"_s);
    Click(window, u"BU_ZOOMENOS"_s);
    QVERIFY(insideMargins());
    QVERIFY(!normalButton->isChecked());
    QCOMPARE(Text(window, u"LA_ZOOM"_s), u"91%"_s);
    QVERIFY(std::abs(image->width() - qRound(normal.width() / 1.1)) <= 1);
    QVERIFY(std::abs(image->height() - qRound(normal.height() / 1.1)) <= 1);
    Click(window, u"BU_ZOOMAIS"_s);
    QVERIFY(std::abs(image->width() - normal.width()) <= 1);
    QVERIFY(std::abs(image->height() - normal.height()) <= 1);
    Click(window, u"BU_ZOOMAIS"_s);
    Click(window, u"BU_ZOOMAIS"_s);
    QVERIFY(image->width() > normal.width() * 1.2);
    // Drawn anew at the zoom's resolution, not an enlarged picture.
    QCOMPARE(image->pixmap().deviceIndependentSize().toSize(), image->size());
    QVERIFY(image->pixmap().width() > normal.width() * 1.2);
    Click(window, u"BU_NORMAL"_s);
    QCOMPARE(image->size(), normal);
    QVERIFY(normalButton->isChecked());
    // Zooming is the window's: the job's page stays as it was laid out.
    QCOMPARE(QSize(job.metrics().previewWidth, job.metrics().previewHeight), normal);
    window.done(QDialog::Rejected);
}

void TestPreviewWindow::leavingWhileRunningCancels_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("leave") << u"BU_SAIR"_s;
    QTest::newRow("cancel") << u"BU_CANCELAR"_s;
}

void TestPreviewWindow::leavingWhileRunningCancels() {
    QFETCH(QString, button);
    PrintJob job(CompanyPrintSettings());
    TF_PRINT* window = nullptr;
    int calls = 0;
    // The user's click arrives while the window processes its events after
    // the second page.
    job.onPage = [&](PrintJob& running) {
        ++calls;
        if (running.pageNumber() == 2)
            QTimer::singleShot(0, window, [window, button] { Click(*window, button); });
    };
    TF_PRINT preview(job);
    window = &preview;
    preview.run(Report(6));
    QVERIFY(job.cancelled());
    QCOMPARE(calls, 2);
    // The two pages made so far stay, with the page that had just begun when
    // Cancel came; nothing after it.
    QCOMPARE(job.pageCount(), 3);
    QCOMPARE(PageImages(folder()),
             (QStringList{u"B_PRINT1.JPG"_s, u"B_PRINT2.JPG"_s, u"B_PRINT3.JPG"_s}));
    QVERIFY(preview.isViewing());
    QVERIFY(preview.isVisible());
    QCOMPARE(Text(preview, u"LA_MAX"_s), u"1/3"_s);
    QCOMPARE(preview.shownPage(), 1);
    QVERIFY(Child<QFrame>(preview, u"IMP_PRINTING"_s)->isHidden());
    // Leaving now closes the window.
    Click(preview, u"BU_SAIR"_s);
    QVERIFY(!preview.isVisible());
    QVERIFY(!preview.isViewing());
}

void TestPreviewWindow::leavingAfterTheEndCloses() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    window.run(Report(2));
    QVERIFY(window.isVisible());
    // The menu's "Sair" does what the button does.
    QAction* leave = nullptr;
    for (QAction* action : Child<QMenuBar>(window, u"MainMenu1"_s)->actions())
        if (action->text() == u"Sair"_s) leave = action;
    QVERIFY(leave);
    QCOMPARE(PageImages(folder()).size(), 2);
    leave->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(!job.cancelled());
    // The page images went with the preview.
    QCOMPARE(PageImages(folder()).size(), 0);
}

void TestPreviewWindow::pdfButton_data() {
    QTest::addColumn<bool>("byReport");
    QTest::newRow("the report drawn again") << true;
    QTest::newRow("the page images") << false;
}

void TestPreviewWindow::pdfButton() {
    QFETCH(bool, byReport);
    PrintJob job(CompanyPrintSettings());
    job.settings.companyName = u"EMPRESA DE TESTE LTDA"_s;
    job.settings.title = u"REGISTRO DE TESTE"_s;
    TF_PRINT window(job);
    if (byReport) {
        window.run(Report(3));
    } else {
        window.begin();
        Report(3)(job);
        window.end();
    }
    QVERIFY(window.isViewing());
    const QString pdf = folder() + u"saida/livro.pdf"_s;
    QVERIFY(QDir().mkpath(folder() + u"saida"_s));
    window.setPdfFileName(pdf);
    Click(window, u"BU_PDF"_s);
    QVERIFY(QFile::exists(pdf));
    QVERIFY(!QFile::exists(pdf + u".part"_s));
    QCOMPARE(PdfPages(pdf), 3);
    // The preview's own pages are still there and still shown.
    QCOMPARE(PageImages(folder()).size(), 3);
    Click(window, u"BU_ULTIMO"_s);
    QCOMPARE(window.shownPage(), 3);
    if (!byReport) return;
    const QString text = test::RunTool(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    for (int page = 1; page <= 3; ++page) {
        const QString& content = pages[page - 1];
        QVERIFY2(content.contains(u"EMPRESA DE TESTE LTDA"_s), qPrintable(content));
        QVERIFY(content.contains(u"REGISTRO DE TESTE"_s));
        QVERIFY(content.contains(u"Página: 0000%1"_s.arg(page)));
        QVERIFY(content.contains(u"Data: 09/03/26"_s));
        for (int line = 0; line < 3; ++line)
            QVERIFY(content.contains(u"Folha %1 linha %2"_s.arg(page).arg(line)));
        QVERIFY(!content.contains(u"Folha %1 "_s.arg(page % 3 + 1)));
    }
}

void TestPreviewWindow::endOfRunByDestination_data() {
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("viewing");
    QTest::addColumn<QString>("file"); // written in the temporary folder
    QTest::newRow("preview") << u"V"_s << true << u"B_PRINT2.JPG"_s;
    QTest::newRow("word processor") << u"W"_s << false << u"LIVRAX.odt"_s;
    QTest::newRow("pdf") << u"F"_s << false << u"LIVRAX.PDF"_s;
}

void TestPreviewWindow::endOfRunByDestination() {
    QFETCH(QString, destination);
    QFETCH(bool, viewing);
    QFETCH(QString, file);
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = *DestinationFromCode(destination);
    TF_PRINT window(job);
    window.run(Report(2));
    QVERIFY(job.ended());
    QCOMPARE(window.isViewing(), viewing);
    QCOMPARE(window.isVisible(), viewing);
    QVERIFY(QFile::exists(folder() + file));
}

void TestPreviewWindow::emailWindowGetsThePages_data() {
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("clickButton");
    QTest::newRow("button") << u"V"_s << true;
    QTest::newRow("preview then e-mail") << u"K"_s << false;
}

// The e-mail window opens over the preview with the user's default
// recipient and the page images attached, which exist while it is open;
// "K" closes the preview afterwards, "V" stays.
void TestPreviewWindow::emailWindowGetsThePages() {
    QFETCH(QString, destination);
    QFETCH(bool, clickButton);
    data::Globals().user.texts[4] = u"Contador@Escritorio.com.br"_s;
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = *DestinationFromCode(destination);
    TF_PRINT window(job);
    QStringList attached;
    QString recipient;
    bool filesThere = false;
    const auto catchEmail = [&] {
        OnModal(u"TF_EMAIL"_s, [&](QWidget* email) {
            if (!email) return;
            auto* list = email->findChild<QListWidget*>(u"E_ANEXOS"_s);
            for (int i = 0; list && i < list->count(); ++i)
                attached << list->item(i)->text();
            filesThere = !attached.isEmpty();
            for (const QString& path : std::as_const(attached))
                filesThere = filesThere && QFile::exists(path);
            recipient = Text(*email, u"E_PARA"_s);
            static_cast<QDialog*>(email)->reject();
        });
    };
    if (!clickButton) catchEmail();
    window.run(Report(3));
    if (clickButton) {
        catchEmail();
        Click(window, u"BU_EMAIL"_s);
    }
    QCOMPARE(attached, QStringList({folder() + u"B_PRINT1.JPG"_s, folder() + u"B_PRINT2.JPG"_s,
                                    folder() + u"B_PRINT3.JPG"_s}));
    QVERIFY(filesThere);
    QCOMPARE(recipient, u"contador@escritorio.com.br"_s);
    QCOMPARE(window.isViewing(), clickButton);
    if (clickButton) window.done(QDialog::Rejected);
    // The page images go with the preview.
    QCOMPARE(PageImages(folder()), QStringList());
}

void TestPreviewWindow::emailAttachesAtMostFiftyPages() {
    QStringList files;
    for (int n = 1; n <= 52; ++n)
        files << u"/tmp/B_PRINT"_s + QString::number(n) + u".JPG"_s;
    const QStringList attached = PageAttachments(u";"_s + files.join(u';'));
    // The empty first entry counts as one of the fifty.
    QCOMPARE(attached, files.mid(0, 49));
    QCOMPARE(PageAttachments(QString()), QStringList());
}

void TestPreviewWindow::exportToWordProcessor() {
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    window.run(Report(3));
    const QString document = folder() + u"LIVRAX.odt"_s;
    Click(window, u"BU_EXPORT_WORD"_s);
    QStringList pictures = ZipEntries(document).filter(u"Pictures/"_s);
    QCOMPARE(pictures.size(), 3);
    QVERIFY(window.isViewing());
    // The menu's item and its F6 do the same.
    QVERIFY(QFile::remove(document));
    QTest::keyClick(&window, Qt::Key_F6);
    QCOMPARE(ZipEntries(document).filter(u"Pictures/"_s).size(), 3);
    window.done(QDialog::Rejected);
}

void TestPreviewWindow::reprint_data() {
    QTest::addColumn<bool>("callerAction");
    QTest::newRow("the report again on the printer") << false;
    QTest::newRow("the caller's action") << true;
}

void TestPreviewWindow::reprint() {
    QFETCH(bool, callerAction);
    PrintJob job(CompanyPrintSettings());
    TF_PRINT window(job);
    QVERIFY(!Child<QToolButton>(window, u"BU_REPRINT"_s)->isEnabled());
    int actions = 0;
    if (callerAction) window.setReprintAction([&] { ++actions; });
    window.run(Report(3));
    QVERIFY(Child<QToolButton>(window, u"BU_REPRINT"_s)->isEnabled());
    Click(window, u"BU_REPRINT"_s);
    // A job that is not interactive prints to a PDF file in the temporary
    // folder instead of a printer.
    const QString printed = folder() + u"LIVRAX.PDF"_s;
    if (callerAction) {
        QCOMPARE(actions, 1);
        QVERIFY(!QFile::exists(printed));
    } else {
        QCOMPARE(PdfPages(printed), 3);
        const QString text = test::RunTool(u"pdftotext"_s, {printed, u"-"_s});
        QVERIFY(text.contains(u"Folha 3 linha 2"_s));
    }
    // The preview's pages are untouched.
    QCOMPARE(PageImages(folder()).size(), 3);
    QVERIFY(window.isViewing());
    window.done(QDialog::Rejected);
}

void TestPreviewWindow::runnerWithoutWindow_data() {
    QTest::addColumn<QString>("destination");
    QTest::newRow("preview") << u"V"_s;
    QTest::newRow("text grid") << u"T"_s;
    QTest::newRow("pdf") << u"F"_s;
}

void TestPreviewWindow::runnerWithoutWindow() {
    QFETCH(QString, destination);
    PrintJob job(CompanyPrintSettings());
    job.settings.destination = *DestinationFromCode(destination);
    job.settings.outputFile = folder() + u"saida.out"_s;
    bool windowSeen = false;
    job.onPage = [&](PrintJob&) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == u"TF_PRINT"_s) windowSeen = true;
    };
    RunReport(job, Report(2));
    QVERIFY(job.ended());
    QVERIFY(!windowSeen);
    if (destination == u"V"_s)
        QCOMPARE(PageImages(folder()).size(), 2);
    else
        QVERIFY(QFile::exists(job.settings.outputFile));
}

void TestPreviewWindow::runnerShowsThePreviewModally() {
    PrintJob job(CompanyPrintSettings());
    job.settings.interactive = true;
    QString range;
    bool modal = false;
    qsizetype imagesWhileShown = 0;
    // The window is modal from the start; it is a viewer once the job ended.
    OnModal(
        u"TF_PRINT"_s,
        [&](QWidget* window) {
            QVERIFY(window);
            modal = true;
            range = Text(*window, u"LA_MAX"_s);
            imagesWhileShown = PageImages(folder()).size();
            Click(*window, u"BU_SAIR"_s);
        },
        [](QWidget* window) { return static_cast<TF_PRINT*>(window)->isViewing(); });
    RunReport(job, Report(2));
    QVERIFY(modal);
    QCOMPARE(range, u"1/2"_s);
    QVERIFY(!job.cancelled());
    QCOMPARE(imagesWhileShown, 2);
    QCOMPARE(PageImages(folder()).size(), 0);
}

void TestPreviewWindow::runnerShowsTheTextGridInTheEditor() {
    PrintJob job(CompanyPrintSettings());
    job.settings.interactive = true;
    job.settings.destination = Destination::TextGrid;
    job.settings.outputFile = folder() + u"NovoArquivo.txt"_s;
    QString shownText;
    bool fixedPitch = false;
    OnModal(u"TF_EDIT"_s, [&](QWidget* window) {
        QVERIFY(window);
        auto* editor = static_cast<TF_EDIT*>(window);
        auto* memo = Child<QTextEdit>(*editor, u"MEMO1"_s);
        shownText = memo->toPlainText();
        fixedPitch = QFontInfo(memo->document()->defaultFont()).fixedPitch();
        // Saved as DOS text under a name without extension.
        Child<QLineEdit>(*editor, u"E_ARQUIVO"_s)->setText(folder() + u"copia"_s);
        Click(*editor, u"BU_SALVA"_s);
        Click(*editor, u"BU_SAIR"_s);
    });
    RunReport(job, Report(2));
    QVERIFY(shownText.contains(u"  Folha 1 linha 0"_s));
    QVERIFY(shownText.contains(u"  Folha 2 linha 2"_s));
    QVERIFY(shownText.contains(u"Página: 00002"_s));
    QVERIFY(fixedPitch);
    // The copy is the grid as the engine wrote it: Windows-1252, CR LF, and a
    // name without extension gets ".TXT".
    QFile copy(folder() + u"copia.TXT"_s);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QFile original(job.settings.outputFile);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = copy.readAll();
    QCOMPARE(bytes, original.readAll());
    QVERIFY(bytes.contains("P\xe1gina: 00001\r\n"));
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!(widget->objectName() == u"TF_PRINT"_s && widget->isVisible()));
}

QTEST_MAIN(TestPreviewWindow)
#include "test_preview_window.moc"
