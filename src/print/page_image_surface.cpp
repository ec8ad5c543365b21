#include "print/page_image_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <QDir>

namespace livrax::print {

using namespace Qt::StringLiterals;

QString PageImageSurface::PageFile(const QString& tempFolder, int n) {
    return tempFolder + u"B_PRINT"_s + QString::number(n) + u".JPG"_s;
}

void PageImageSurface::open(PrintJob& job) {
    setJob(&job);
    setRules({});
    QDir().mkpath(job.settings.tempFolder);
    m_page = QImage(job.metrics().previewWidth, job.metrics().previewHeight, QImage::Format_RGB32);
    // 96 dots per inch, so the image means the same size everywhere.
    m_page.setDotsPerMeterX(3780);
    m_page.setDotsPerMeterY(3780);
    m_page.fill(Qt::white);
    m_writer.setFormat("jpeg");
    m_writer.setQuality(100);
    painter().begin(&m_page);
    painter().setRenderHint(QPainter::TextAntialiasing);
}

void PageImageSurface::savePage() {
    PrintJob& j = *job();
    painter().end();
    const QString path = PageFile(j.settings.tempFolder, j.pageCount());
    m_writer.setFileName(path);
    // A page that cannot be written (a full disk) fails the job: a preview,
    // PDF or document with a page missing would pass for the whole report.
    if (!m_writer.write(m_page)) throw PrintError(WriteFailure(path, m_writer.errorString()));
    m_pageFiles += (m_pageFiles.isEmpty() ? QString() : u";"_s) + path;
    if (onImage) onImage(m_page);
}

void PageImageSurface::endPage(bool) {
    savePage();
    m_page.fill(Qt::white);
    painter().begin(&m_page);
    painter().setRenderHint(QPainter::TextAntialiasing);
}

void PageImageSurface::finish() {
    savePage();
}

} // namespace livrax::print
