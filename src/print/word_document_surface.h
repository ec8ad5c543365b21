#pragma once

#include "print/page_image_surface.h"

#include <QString>

namespace livrax::print {

// Destination "W": the preview's page images, then, when the job ends, a
// word-processor document with one image per page (ExportPagesToDocument),
// written to outputFile or to tempFolder + "LIVRAX.odt". An interactive job
// opens the document in the desktop's word processor.
class WordDocumentSurface : public PageImageSurface {
  public:
    // The pages go to the document; the preview window does not keep them.
    SurfaceCapabilities capabilities() const override { return SurfaceCapability::PreviewPages; }
    void finish() override;

    // Where finish() wrote the document.
    const QString& fileName() const { return m_fileName; }

  private:
    QString m_fileName;
};

} // namespace livrax::print
