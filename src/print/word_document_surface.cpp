#include "print/word_document_surface.h"

#include "print/print_job.h"
#include "print/word_export.h"

#include <QDesktopServices>
#include <QUrl>

namespace livrax::print {

void WordDocumentSurface::finish() {
    PageImageSurface::finish();
    const PrintJob& j = *job();
    m_fileName = ExportPagesToDocument(j.tempFolder, j.lastPage, j.outputFile);
    if (j.interactive) QDesktopServices::openUrl(QUrl::fromLocalFile(m_fileName));
}

} // namespace livrax::print
