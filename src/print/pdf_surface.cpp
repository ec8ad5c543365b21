#include "print/pdf_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>

namespace livrax::print {

PdfSurface::PdfSurface() = default;

PdfSurface::~PdfSurface() {
    if (painter().isActive()) painter().end();
    if (!m_partial.isEmpty()) QFile::remove(m_partial);
}

void PdfSurface::open(PrintJob& job) {
    setJob(&job);
    setRules({});
    m_fileName = job.outputFile.isEmpty() ? job.tempFolder + QStringLiteral("LIVRAX.PDF")
                                          : job.outputFile;
    m_partial = PartialFileName(m_fileName);
    m_writer = std::make_unique<QPdfWriter>(m_partial);
    m_writer->setResolution(300);
    m_writer->setTitle(job.title);
    m_writer->setCreator(QStringLiteral("LIVRAX"));
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                        job.orientation == QStringLiteral("H")
                                            ? QPageLayout::Landscape
                                            : QPageLayout::Portrait,
                                        QMarginsF(5, 4, 5, 4), QPageLayout::Millimeter));
    if (!painter().begin(m_writer.get()))
        throw PrintError(QStringLiteral("Não foi possível criar o arquivo ") + m_fileName);
    // Preview units to PDF dots: the preview page spans the printable area.
    m_scale = double(job.printerPageWidth) / job.previewWidth;
    painter().scale(m_scale, m_scale);
}

void PdfSurface::endPage(bool) {
    m_writer->newPage();
}

void PdfSurface::finish() {
    painter().end();
    m_writer.reset();
    FinishFile(m_partial, m_fileName);
    m_partial.clear();
}

} // namespace livrax::print
