#pragma once

#include "print/painter_surface.h"

#include <QImage>
#include <QImageWriter>

#include <functional>

namespace livrax::print {

// Destinations "V", "W" and "K": every page is drawn on an image of the
// preview page size and saved in the temporary folder as "B_PRINT" + n +
// ".JPG" at JPEG quality 100; the preview window shows them.
class PageImageSurface : public PainterSurface {
  public:
    SurfaceCapabilities capabilities() const override {
        return SurfaceCapability::PreviewPages | SurfaceCapability::KeepsPageImages;
    }
    void open(PrintJob& job) override;
    void endPage(bool inRange) override;
    void finish() override;

    // The paths of the saved page images, separated by ";".
    const QString& pageFiles() const { return m_pageFiles; }

    // The path of page image n.
    static QString PageFile(const QString& tempFolder, int n);
    // Called with each page image as it is saved.
    std::function<void(const QImage&)> onImage;

  private:
    void savePage();

    QImage m_page;
    QImageWriter m_writer;
    QString m_pageFiles;
};

} // namespace livrax::print
