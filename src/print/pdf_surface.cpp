#include "print/pdf_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <QPageLayout>
#include <QPdfWriter>

namespace livrax::print {

using namespace Qt::StringLiterals;

PdfSurface::PdfSurface() = default;

// An unfinished file (a cancelled or failed job) is discarded with it.
PdfSurface::~PdfSurface() {
    if (painter().isActive()) painter().end();
}

void PdfSurface::open(PrintJob& job) {
    setJob(&job);
    setRules({});
    const PrintSettings& settings = job.settings;
    m_fileName =
        settings.outputFile.isEmpty() ? settings.tempFolder + u"LIVRAX.PDF"_s : settings.outputFile;
    m_file = std::make_unique<OutputFile>(m_fileName);
    m_writer = std::make_unique<QPdfWriter>(m_file->device());
    m_writer->setResolution(300);
    m_writer->setTitle(settings.title);
    m_writer->setCreator(u"LIVRAX"_s);
    m_writer->setPageLayout(A4PageLayout(job.orientation()));
    if (!painter().begin(m_writer.get()))
        throw PrintError(u"Não foi possível criar o arquivo "_s + m_fileName);
    // Preview units to PDF dots: the preview page spans the printable area.
    m_scale = double(job.metrics().printerPageWidth) / job.metrics().previewWidth;
    painter().scale(m_scale, m_scale);
}

void PdfSurface::endPage(bool) {
    m_writer->newPage();
}

void PdfSurface::finish() {
    painter().end();
    m_writer.reset();
    m_file->commit();
    m_file.reset();
}

} // namespace livrax::print
