#include "print/preview_window.h"

#include "platform/dialogs.h"
#include "platform/raised_focus.h"
#include "print/output_file.h"
#include "print/page_image_surface.h"
#include "print/page_images_pdf.h"
#include "print/print_job.h"
#include "print/text_grid_surface.h"
#include "print/tf_edit.h"
#include "print/tf_email.h"
#include "print/word_export.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

int Round(double value) {
    return int(std::nearbyint(value));
}

// Runs `step`; the message of a failure, empty when it worked.
template <typename Step> QString Failure(Step&& step) {
    try {
        step();
    } catch (const PrintError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

} // namespace

TF_PRINT::TF_PRINT(PrintJob& job, QWidget* parent) : QDialog(parent), m_job(job) {
    setObjectName(u"TF_PRINT"_s);
    setWindowTitle(job.settings.title.isEmpty() ? u"Visualização da Impressão"_s
                                                : job.settings.title);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menu = new QMenuBar(this);
    menu->setObjectName(u"MainMenu1"_s);
    buildMenu(menu);
    layout->setMenuBar(menu);

    auto* tools = new QFrame(this);
    tools->setObjectName(u"PA_TOOLS"_s);
    tools->setFrameShape(QFrame::StyledPanel);
    buildTools(tools);
    layout->addWidget(tools);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"ScrollBox1"_s);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    // The sheet: the page image inside the paper's printable margins, so
    // nothing of the page touches the edge of what is shown.
    m_paper = new QWidget;
    m_paper->setObjectName(u"PA_FOLHA"_s);
    m_paper->setBackgroundRole(QPalette::Base);
    m_paper->setAutoFillBackground(true);
    m_image = new QLabel(m_paper);
    m_image->setObjectName(u"IMP_FUNDO"_s);
    m_image->setScaledContents(true);
    m_image->setBackgroundRole(QPalette::Base);
    m_image->setAutoFillBackground(true);
    m_scroll->setWidget(m_paper);
    layout->addWidget(m_scroll, 1);

    m_progress = new QFrame(this);
    m_progress->setObjectName(u"IMP_PRINTING"_s);
    m_progress->setFrameShape(QFrame::Panel);
    m_progress->setFrameShadow(QFrame::Raised);
    auto* grid = new QGridLayout(m_progress);
    grid->setContentsMargins(24, 16, 24, 16);
    auto* printing = new QLabel(u"Imprimindo"_s, m_progress);
    printing->setObjectName(u"LA_IMPRIMINDO"_s);
    QFont big = printing->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    printing->setFont(big);
    grid->addWidget(printing, 0, 0, 1, 2, Qt::AlignCenter);
    auto* pageCaption = new QLabel(u"Pag:"_s, m_progress);
    pageCaption->setObjectName(u"LA_PAGINA"_s);
    grid->addWidget(pageCaption, 1, 0, Qt::AlignRight);
    m_progressPage = new QLabel(u"0"_s, m_progress);
    m_progressPage->setObjectName(u"LA_PAG"_s);
    grid->addWidget(m_progressPage, 1, 1);
    auto* cancel = new QPushButton(u"CANCELAR"_s, m_progress);
    cancel->setObjectName(u"BU_CANCELAR"_s);
    connect(cancel, &QPushButton::clicked, this, &TF_PRINT::cancelJob);
    grid->addWidget(cancel, 2, 0, 1, 2);
    m_progress->hide();
    // Beside the pages already made, which are shown while the job runs.
    layout->addWidget(m_progress, 0, Qt::AlignCenter);

    m_previousOnPage = job.onPage;
    job.onPage = [this](PrintJob& running) {
        if (m_previousOnPage) m_previousOnPage(running);
        pageFinished();
    };
    applyZoom();
    resize(900, 700);
}

TF_PRINT::~TF_PRINT() {
    m_job.onPage = m_previousOnPage;
}

void TF_PRINT::buildTools(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    const auto button = [&](const QString& name, const QString& hint, const QString& text,
                            QStyle::StandardPixmap icon, void (TF_PRINT::*action)()) {
        auto* b = new QToolButton(panel);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setText(text);
        b->setAutoRaise(true);
        if (icon != QStyle::SP_CustomBase) {
            b->setIcon(style()->standardIcon(icon));
            b->setToolButtonStyle(text.trimmed().isEmpty() ? Qt::ToolButtonIconOnly
                                                           : Qt::ToolButtonTextBesideIcon);
        }
        connect(b, &QToolButton::clicked, this, action);
        row->addWidget(b);
        return b;
    };
    constexpr QStyle::StandardPixmap noIcon = QStyle::SP_CustomBase;
    button(u"BU_SAIR"_s, u"Sair do Programa"_s, u"Sair  "_s, QStyle::SP_DialogCloseButton,
           &TF_PRINT::leave);
    row->addSpacing(12);
    // A real button (not a read-out): pressed while the page is at its own
    // size; the zoom in force is shown beside the zoom buttons.
    m_normalButton = button(u"BU_NORMAL"_s, u"Retorna ao Zoon Original"_s, u"100%"_s, noIcon,
                            &TF_PRINT::zoomNormal);
    m_normalButton->setCheckable(true);
    m_normalButton->setAutoRaise(false);
    button(u"BU_ZOOMENOS"_s, u"Menos Zoon"_s, u"-"_s, noIcon, &TF_PRINT::zoomOut);
    button(u"BU_ZOOMAIS"_s, u"Mais Zoon"_s, u"+"_s, noIcon, &TF_PRINT::zoomIn);
    m_zoomLabel = new QLabel(panel);
    m_zoomLabel->setObjectName(u"LA_ZOOM"_s);
    m_zoomLabel->setMinimumWidth(48);
    row->addWidget(m_zoomLabel);
    row->addSpacing(12);
    button(u"BU_PRIMEIRO"_s, u"Volta para a Primeira Página"_s, QString(),
           QStyle::SP_MediaSkipBackward, &TF_PRINT::firstPage);
    button(u"BU_RETORNA"_s, u"Retorna uma Página"_s, QString(), QStyle::SP_ArrowLeft,
           &TF_PRINT::previousPage);
    m_pageNumber = new QLineEdit(u"0"_s, panel);
    m_pageNumber->setObjectName(u"E_INC"_s);
    m_pageNumber->setAlignment(Qt::AlignRight);
    m_pageNumber->setMaximumWidth(60);
    connect(m_pageNumber, &QLineEdit::textChanged, this, &TF_PRINT::pageNumberChanged);
    row->addWidget(m_pageNumber);
    m_range = new QLabel(u"1"_s, panel);
    m_range->setObjectName(u"LA_MAX"_s);
    m_range->setMinimumWidth(60);
    row->addWidget(m_range);
    button(u"BU_AVANCA"_s, u"Avança uma Página"_s, QString(), QStyle::SP_ArrowRight,
           &TF_PRINT::nextPage);
    button(u"BU_ULTIMO"_s, u"Avança para a Última Página"_s, QString(), QStyle::SP_MediaSkipForward,
           &TF_PRINT::lastPage);
    row->addSpacing(12);
    m_reprintButton =
        button(u"BU_REPRINT"_s, u"Imprimir Relatório"_s, u"Imprimir"_s, noIcon, &TF_PRINT::reprint);
    m_reprintButton->setEnabled(false);
    button(u"BU_PDF"_s, u"Salvar em PDF"_s, u"PDF"_s, noIcon, &TF_PRINT::saveAsPdf);
    button(u"BU_EXPORT_WORD"_s, u"Exportar para o Word"_s, u"Word"_s, noIcon,
           &TF_PRINT::exportToWordProcessor);
    button(u"BU_EMAIL"_s, u"Enviar por Email"_s, u"E-mail"_s, noIcon, &TF_PRINT::sendByEmail);
    row->addStretch(1);
    for (QToolButton* flat : panel->findChildren<QToolButton*>())
        if (flat->autoRaise()) platform::RaiseWhileFocused(flat);
}

void TF_PRINT::buildMenu(QMenuBar* menu) {
    const auto item = [this](QMenu* parent, const QString& caption, auto action,
                             const QKeySequence& shortcut = {}) {
        QAction* a = parent->addAction(caption);
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WindowShortcut);
            addAction(a);
        }
        connect(a, &QAction::triggered, this, action);
        return a;
    };
    QMenu* file = menu->addMenu(u"Arquivo"_s);
    item(file, u"Sair"_s, &TF_PRINT::leave, QKeySequence(Qt::Key_F12));
    QMenu* word = menu->addMenu(u"Word"_s);
    // The steps of an automation server (create it, show it, new document,
    // insert the pages); the document is written whole, so each of them is
    // the whole export.
    item(word, u"Criar Word"_s, &TF_PRINT::exportToWordProcessor);
    item(word, u"Tornar visivel"_s, &TF_PRINT::exportToWordProcessor);
    item(word, u"Novo Documento"_s, &TF_PRINT::exportToWordProcessor);
    item(word, u"Inserir Relatório"_s, &TF_PRINT::exportToWordProcessor);
    word->addSeparator();
    item(word, u"Exportar para Word"_s, &TF_PRINT::exportToWordProcessor, QKeySequence(Qt::Key_F6));
    QAction* leaveItem = menu->addAction(u"Sair"_s);
    connect(leaveItem, &QAction::triggered, this, &TF_PRINT::leave);
}

void TF_PRINT::setReprintAction(std::function<void()> action) {
    m_reprintAction = std::move(action);
    m_reprintButton->setEnabled(m_reprintAction || m_report);
}

// --- running the job ---

void TF_PRINT::run(const ReportFunction& report) {
    m_report = report;
    m_reprintButton->setEnabled(m_reprintAction || m_report);
    m_settings = m_job.settings;
    begin();
    const QString failure = Failure([&] { report(m_job); });
    if (!failure.isEmpty()) {
        platform::ShowError(this, failure);
        // A report that failed leaves nothing: no pages, no file.
        m_job.abandon();
    }
    end();
}

void TF_PRINT::begin() {
    m_running = true;
    m_viewing = false;
    m_closeAfterRun = false;
    m_scroll->hide();
    m_progress->show();
    m_progressPage->setText(QString::number(m_job.pageNumber()));
    m_range->setText(QString::number(m_job.firstPage()) + u'/' +
                     QString::number(m_job.pageCount()));
    setWindowModality(Qt::ApplicationModal);
    if (!isVisible()) {
        showMaximized();
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QCoreApplication::processEvents();
}

void TF_PRINT::end() {
    // A report that returns without ending its job ends it here.
    if (!m_job.ended() && !m_job.cancelled()) {
        const QString failure = Failure([&] { m_job.endJob(); });
        if (!failure.isEmpty()) platform::ShowError(this, failure);
    }
    m_running = false;
    finishRun();
}

void TF_PRINT::pageFinished() {
    m_progressPage->setText(QString::number(m_job.pageNumber()));
    m_range->setText(QString::number(m_job.firstPage()) + u'/' +
                     QString::number(m_job.pageCount()));
    // The first page of the range is shown as soon as it exists; the others
    // can be reached as they come, while the job goes on.
    if (m_shownPage == 0 && hasPageImages() && m_job.pageCount() >= shownFirstPage()) {
        m_scroll->show();
        setPageNumberText(shownFirstPage());
    }
    // Cancel and Leave act between pages.
    QCoreApplication::processEvents();
}

void TF_PRINT::finishRun() {
    m_progress->hide();
    m_scroll->show();
    // Cancelled before any page (the print dialog), or left while cancelling.
    if (m_closeAfterRun || !m_job.ended()) {
        done(QDialog::Rejected);
        return;
    }
    if (hasPageImages()) {
        showPages();
        m_viewing = true;
        if (m_job.settings.destination == Destination::Email) {
            // "K": the e-mail window over the preview, then the preview
            // closes (and its page images go with it).
            sendByEmail();
            done(QDialog::Rejected);
        }
        return;
    }
    if (auto* grid = dynamic_cast<TextGridSurface*>(m_job.surface())) {
        TF_EDIT editor(this);
        editor.showReport(grid->lines(), grid->fileName());
        editor.exec();
    }
    done(QDialog::Rejected);
}

bool TF_PRINT::hasPageImages() const {
    return m_job.surface() &&
           m_job.surface()->capabilities().testFlag(SurfaceCapability::KeepsPageImages);
}

void TF_PRINT::showPages() {
    showRange(m_job.lastPage());
    setPageNumberText(shownFirstPage());
}

void TF_PRINT::showRange(int last) {
    m_range->setText(QString::number(shownFirstPage()) + u'/' + QString::number(last));
}

void TF_PRINT::cancelJob() {
    if (!m_running) return;
    m_progress->hide();
    const QString failure = Failure([&] { m_job.cancel(); });
    if (!failure.isEmpty()) platform::ShowError(this, failure);
}

void TF_PRINT::leave() {
    m_scroll->show();
    if (m_running && !m_progress->isHidden())
        cancelJob();
    else
        reject();
}

void TF_PRINT::reject() {
    if (m_running) {
        // Closing while the job runs cancels it; once cancelled, the window
        // closes as soon as the report has stopped.
        if (!m_progress->isHidden())
            cancelJob();
        else
            m_closeAfterRun = true;
        return;
    }
    QDialog::reject();
}

void TF_PRINT::done(int result) {
    m_viewing = false;
    m_image->clear();
    m_shownPage = 0;
    // The job's page images go with its preview: a year's book leaves
    // hundreds of megabytes of them otherwise.
    if (hasPageImages() && !m_running)
        for (int n = 1; n <= m_job.pageCount(); ++n)
            QFile::remove(PageImageSurface::PageFile(m_job.settings.tempFolder, n));
    QDialog::done(result);
}

// --- pages and zoom ---

bool TF_PRINT::typedPage(int& value) {
    const QString text = m_pageNumber->text();
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    if (!ok) platform::ShowError(this, u"'%1' não é um número inteiro válido."_s.arg(text));
    return ok;
}

void TF_PRINT::setPageNumberText(int value) {
    const QString text = QString::number(value);
    if (m_pageNumber->text() == text)
        pageNumberChanged(text); // shown again
    else
        m_pageNumber->setText(text);
}

void TF_PRINT::pageNumberChanged(const QString& text) {
    if (text.isEmpty()) return;
    int value = 0;
    if (!typedPage(value)) return;
    if (value <= 0) {
        m_pageNumber->setText(u"1"_s);
        return;
    }
    // Without any saved page there is nothing to show (and no number to
    // settle on between 1 and 0).
    const int pageCount = m_job.pageCount();
    if (pageCount < 1) return;
    if (value > pageCount) {
        m_pageNumber->setText(QString::number(pageCount));
        return;
    }
    if (value < shownFirstPage()) return;
    const PageImageSurface* pages = recordedPages();
    if (!pages || value > pages->recordedPages()) return;
    m_shownPage = value;
    applyZoom();
}

void TF_PRINT::firstPage() {
    m_pageNumber->setText(QString::number(shownFirstPage()));
}

void TF_PRINT::previousPage() {
    int value = 0;
    if (!typedPage(value)) return;
    if (value > 1 && value >= shownFirstPage() + 1)
        m_pageNumber->setText(QString::number(value - 1));
}

void TF_PRINT::nextPage() {
    int value = 0;
    if (!typedPage(value)) return;
    const int last = m_job.lastPage();
    if (value > last) value = last;
    if (value != last) ++value;
    m_pageNumber->setText(QString::number(value));
}

void TF_PRINT::lastPage() {
    m_pageNumber->setText(QString::number(m_job.lastPage()));
}

void TF_PRINT::applyZoom() {
    const QSize size = zoomedSize();
    const int pageWidth = std::max(1, m_job.metrics().pageWidth);
    // The sheet's margins, zoomed with the page.
    const QMargins sheet = SheetMargins(m_job.orientation(), size.width());
    m_image->setGeometry(sheet.left(), sheet.top(), std::max(1, size.width()),
                         std::max(1, size.height()));
    m_paper->resize(m_image->size().grownBy(sheet));
    const int percent = Round(100.0 * size.width() / pageWidth);
    m_zoomLabel->setText(QString::number(percent) + u'%');
    m_normalButton->setChecked(size == QSize(pageWidth, m_job.metrics().pageHeight));
    drawShownPage();
}

const PageImageSurface* TF_PRINT::recordedPages() const {
    return hasPageImages() ? dynamic_cast<const PageImageSurface*>(m_job.surface()) : nullptr;
}

void TF_PRINT::drawShownPage() {
    const PageImageSurface* pages = recordedPages();
    if (m_shownPage < 1 || !pages || m_shownPage > pages->recordedPages()) return;
    // Drawn from the page's vectors at the size it is shown (in the screen's
    // own pixels), so every zoom is sharp.
    const double ratio = devicePixelRatioF();
    QPixmap page = QPixmap::fromImage(
        pages->drawPage(m_shownPage, (QSizeF(m_image->size()) * ratio).toSize()));
    page.setDevicePixelRatio(ratio);
    m_image->setPixmap(page);
}

QSize TF_PRINT::zoomedSize() const {
    if (m_zoomed) return *m_zoomed;
    const PageMetrics& metrics = m_job.metrics();
    return {metrics.previewWidth, metrics.previewHeight};
}

void TF_PRINT::zoomOut() {
    const QSize size = zoomedSize();
    m_zoomed =
        QSize(std::max(1, Round(size.width() / 1.1)), std::max(1, Round(size.height() / 1.1)));
    applyZoom();
}

void TF_PRINT::zoomIn() {
    const QSize size = zoomedSize();
    m_zoomed = QSize(Round(size.width() * 1.1), Round(size.height() * 1.1));
    applyZoom();
}

void TF_PRINT::zoomNormal() {
    m_zoomed = QSize(m_job.metrics().pageWidth, m_job.metrics().pageHeight);
    applyZoom();
}

int TF_PRINT::shownFirstPage() const {
    return std::max(1, m_job.firstPage());
}

// --- the same report elsewhere ---

void TF_PRINT::runSideJob(Destination destination, const QString& outputFile) {
    PrintSettings settings = m_settings;
    settings.destination = destination;
    settings.outputFile = outputFile;
    settings.interactive = m_job.settings.interactive;
    settings.tempFolder = m_job.settings.tempFolder;
    // A second job must not clear the page images this window shows.
    PrintJob side(settings, PrintJob::PageImages::Keep);
    m_report(side);
    if (!side.ended() && !side.cancelled()) side.endJob();
}

void TF_PRINT::writePdfByReport(const QString& fileName) {
    runSideJob(Destination::PdfFile, fileName);
}

void TF_PRINT::writePdfFromImages(const QString& fileName) const {
    // Without the report function only the page images are left.
    QStringList pages;
    for (int n = 1; n <= m_job.pageCount(); ++n) {
        const QString path = PageImageSurface::PageFile(m_job.settings.tempFolder, n);
        if (!QFile::exists(path)) break;
        pages << path;
    }
    WritePageImagesPdf(pages, fileName, m_job.settings.title, m_job.orientation());
}

void TF_PRINT::saveAsPdf() {
    if (m_running) return;
    QString fileName = m_pdfFileName;
    if (fileName.isEmpty()) {
        // In the program's folder (where it was started), named after the
        // report: never the temporary folder, which the next job clears.
        const QString suggested = QDir::current().filePath(PdfDocumentName(m_job.settings));
        fileName = QFileDialog::getSaveFileName(this, u"Salvar em PDF"_s, suggested,
                                                u"Arquivos PDF (*.pdf)"_s);
        if (fileName.isEmpty()) return;
        if (QFileInfo(fileName).suffix().isEmpty()) fileName += u".pdf"_s;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString failure = Failure([&] {
        if (m_report)
            writePdfByReport(fileName);
        else
            writePdfFromImages(fileName);
    });
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) platform::ShowError(this, failure);
}

void TF_PRINT::reprint() {
    if (m_running) return;
    if (m_reprintAction) {
        m_reprintAction();
        return;
    }
    if (!m_report) return;
    const QString failure = Failure([&] { runSideJob(Destination::Printer, QString()); });
    if (!failure.isEmpty()) platform::ShowError(this, failure);
}

void TF_PRINT::exportToWordProcessor() {
    if (m_running) return;
    QString document;
    const QString failure = Failure(
        [&] { document = ExportPagesToDocument(m_job.settings.tempFolder, m_job.lastPage()); });
    if (!failure.isEmpty()) {
        platform::ShowError(this, failure);
        return;
    }
    // The user goes on in the desktop's word processor.
    if (m_job.settings.interactive && !QDesktopServices::openUrl(QUrl::fromLocalFile(document)))
        platform::ShowError(this, u"Não foi possível abrir o processador de texto. "
                                  u"O documento foi gravado em "_s +
                                      document);
}

void TF_PRINT::sendByEmail() {
    if (m_running) return;
    // Modal over the preview: the page images it attaches are removed when
    // the preview closes, so the preview waits until the message is done.
    TF_EMAIL window(this);
    if (const PageImageSurface* pages = recordedPages())
        for (const QString& path : PageAttachments(pages->pageFiles()))
            window.addAttachment(path);
    window.exec();
}

} // namespace livrax::print
