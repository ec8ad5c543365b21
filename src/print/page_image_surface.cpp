#include "print/page_image_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <QDir>
#include <QImageWriter>
#include <QMutexLocker>
#include <QPainter>
#include <QPrinter>

namespace livrax::print {

using namespace Qt::StringLiterals;

QImage DrawRecordedPage(const QPicture& page, const QSize& pageSize, const QSize& size,
                        const QMargins& sheet) {
    QImage image(size.grownBy(sheet), QImage::Format_RGB32);
    // 96 dots per inch, so the image means the same size everywhere.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing, size != pageSize);
    painter.translate(sheet.left(), sheet.top());
    if (size != pageSize && !pageSize.isEmpty())
        painter.scale(double(size.width()) / pageSize.width(),
                      double(size.height()) / pageSize.height());
    painter.drawPicture(0, 0, page);
    return image;
}

QString PageImageSurface::PageFile(const QString& tempFolder, int n) {
    return tempFolder + u"B_PRINT"_s + QString::number(n) + u".JPG"_s;
}

PageImageSurface::~PageImageSurface() {
    // A job abandoned half-way: its images are not waited for by anyone.
    if (painter().isActive()) painter().end();
    m_writer.waitForDone();
}

bool PageImageSurface::setUp(PrintJob& job) {
    const PrintSettings& settings = job.settings;
    if (!settings.interactive || !settings.printDialogInPreview ||
        settings.destination != Destination::Preview)
        return true;
    QPrinter printer(QPrinter::HighResolution);
    return AskPrintRange(job, printer, runDialog);
}

void PageImageSurface::open(PrintJob& job) {
    setJob(&job);
    setRules({});
    QDir().mkpath(job.settings.tempFolder);
    m_pageSize = QSize(job.metrics().previewWidth, job.metrics().previewHeight);
    m_sheetMargins = SheetMargins(job.orientation(), m_pageSize.width());
    // The other core writes the images; the layout keeps this one.
    m_writer.setMaxThreadCount(1);
    beginPage();
}

void PageImageSurface::beginPage() {
    m_picture = QPicture();
    // The recorded page spans the preview page, whatever is drawn on it.
    m_picture.setBoundingRect(QRect(QPoint(0, 0), m_pageSize));
    painter().begin(&m_picture);
    painter().setRenderHint(QPainter::TextAntialiasing);
}

void PageImageSurface::closePage() {
    PrintJob& j = *job();
    painter().end();
    m_pages.append(m_picture);
    const QString path = PageFile(j.settings.tempFolder, j.pageCount());
    m_pageFiles += (m_pageFiles.isEmpty() ? QString() : u";"_s) + path;
    // The image is the whole sheet, the page inside the paper's margins.
    // It is written under a name of its own and renamed when whole, so a
    // full disk never leaves a cut image under the page's name.
    const auto write = [this, page = m_picture, size = m_pageSize, sheet = m_sheetMargins, path] {
        QString failure;
        try {
            OutputFile file(path);
            QImageWriter writer(file.device(), "jpeg");
            writer.setQuality(100);
            if (writer.write(DrawRecordedPage(page, size, size, sheet))) {
                file.commit();
                return;
            }
            failure = WriteFailure(path, file.writeFailure().isEmpty() ? writer.errorString()
                                                                       : file.writeFailure());
        } catch (const PrintError& error) {
            failure = error.message();
        }
        const QMutexLocker lock(&m_failureLock);
        if (m_failure.isEmpty()) m_failure = failure;
    };
    // The first page is written at once: a folder where no image can be
    // written fails the job before it goes on. The others go to the worker;
    // a failure among them fails the job at the next page or at its end.
    if (m_pages.size() == 1) {
        write();
        waitForImages();
        return;
    }
    throwFailure();
    m_writer.start(write);
}

void PageImageSurface::waitForImages() {
    m_writer.waitForDone();
    throwFailure();
}

void PageImageSurface::throwFailure() {
    // A page that cannot be written (a full disk) fails the job: a preview,
    // PDF or document with a page missing would pass for the whole report.
    const QMutexLocker lock(&m_failureLock);
    if (!m_failure.isEmpty()) throw PrintError(m_failure);
}

void PageImageSurface::endPage(bool) {
    closePage();
    beginPage();
}

void PageImageSurface::finish() {
    closePage();
    waitForImages();
}

QImage PageImageSurface::drawPage(int n, const QSize& size) const {
    return DrawRecordedPage(recordedPage(n), m_pageSize, size);
}

} // namespace livrax::print
