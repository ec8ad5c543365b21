#include "print/word_document_surface.h"

#include "print/print_job.h"
#include "print/word_export.h"

#include <QDesktopServices>
#include <QUrl>

namespace livrax::print {

void WordDocumentSurface::finish() {
    PageImageSurface::finish();
    const PrintJob& j = *job();
    m_fileName = ExportPagesToDocument(j.settings.tempFolder, j.lastPage(), j.settings.outputFile);
    if (j.settings.interactive) QDesktopServices::openUrl(QUrl::fromLocalFile(m_fileName));
}

} // namespace livrax::print
