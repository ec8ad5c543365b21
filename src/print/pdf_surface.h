#pragma once

#include "print/painter_surface.h"

#include <QString>

#include <memory>

class QPdfWriter;

namespace livrax::print {
class OutputFile;
}

namespace livrax::print {

// Destination "F": the pages as a PDF file, drawn as vector text and lines
// in the preview's coordinates, so the PDF has the columns and lines of the
// preview. The file appears only when the job ends.
class PdfSurface : public PainterSurface {
  public:
    PdfSurface();
    ~PdfSurface() override;
    SurfaceCapabilities capabilities() const override { return SurfaceCapability::PreviewPages; }
    void open(PrintJob& job) override;
    void endPage(bool inRange) override;
    void finish() override;

    const QString& fileName() const { return m_fileName; }

  private:
    std::unique_ptr<OutputFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QString m_fileName;
    double m_scale = 1.0;
};

} // namespace livrax::print
