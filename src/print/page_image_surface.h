#pragma once

#include "print/painter_surface.h"
#include "print/print_range_dialog.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QPicture>
#include <QThreadPool>

namespace livrax::print {

// Destinations "V", "W" and "K": every page is recorded as a vector page (a
// QPicture of the drawing commands, in preview-page units), which the preview
// window draws at the resolution of its zoom; and, off the interface thread,
// each page is also drawn on an image of the preview page size and saved in
// the temporary folder as "B_PRINT" + n + ".JPG" at JPEG quality 100 (what the
// word-processor export and e-mail take). One worker thread writes the
// images while the job lays out the next pages; the job's end waits for it.
class PageImageSurface : public PainterSurface {
  public:
    ~PageImageSurface() override;

    SurfaceCapabilities capabilities() const override {
        return SurfaceCapability::PreviewPages | SurfaceCapability::KeepsPageImages;
    }
    // A preview ("V") of an interactive job whose settings ask for it
    // (printDialogInPreview) opens the print dialog first: its page range
    // limits the pages drawn, and cancelling it cancels the job.
    bool setUp(PrintJob& job) override;
    void open(PrintJob& job) override;
    void endPage(bool inRange) override;
    void finish() override;

    // The paths of the saved page images, separated by ";" (complete once
    // the job has ended).
    const QString& pageFiles() const { return m_pageFiles; }
    // The vector pages recorded so far; page n is at n - 1.
    qsizetype recordedPages() const { return m_pages.size(); }
    const QPicture& recordedPage(int n) const { return m_pages.at(n - 1); }
    // Draws recorded page n on a white image of `size` pixels (the page
    // scaled to it, as vectors).
    QImage drawPage(int n, const QSize& size) const;

    // The path of page image n.
    static QString PageFile(const QString& tempFolder, int n);

    // Shows the print dialog of setUp(); a test can answer in its place.
    PrintDialogRunner runDialog = ModalPrintDialog();

  private:
    void closePage();
    void beginPage();
    // Waits for the image writer; throws the first failure.
    void waitForImages();
    // Throws the first failure of the worker, if there was one.
    void throwFailure();

    QSize m_pageSize;
    QMargins m_sheetMargins; // the paper around each page image
    QPicture m_picture;
    QList<QPicture> m_pages;
    QThreadPool m_writer;
    QMutex m_failureLock;
    QString m_failure; // the first page image that could not be written
    QString m_pageFiles;
};

// A recorded page drawn on a white image of `size` pixels at 96 dots per
// inch, with a white border of `sheet` around it; `pageSize` is the page's
// own size in its units.
QImage DrawRecordedPage(const QPicture& page, const QSize& pageSize, const QSize& size,
                        const QMargins& sheet = {});

} // namespace livrax::print
