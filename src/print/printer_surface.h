#pragma once

#include "print/output_file.h"
#include "print/painter_surface.h"
#include "print/print_range_dialog.h"

#include <QPrinter>
#include <QStringList>

#include <functional>
#include <memory>

namespace livrax::print {

// Destination "P": the pages drawn on the printer in printer dots. The
// printer set-up (orientation, copies, paper, the print dialog and its page
// range) runs before the job measures its pages. Texts, lines and row
// separators appear only on pages inside the print range, and the output is
// cut into spool documents of pagesPerSpoolDocument printed pages (or one per
// page with documentPerPage).
//
// A job that is not interactive, or that names an outputFile, prints to a
// PDF file instead of a printer (also what the print dialog's "print to
// file" gives). A file is not cut into spool documents: it is one document
// with every page of the range, written under a temporary name and renamed
// when complete, so no half-written file remains.
//
// Pages are started when something is first drawn on them, so a job never
// ends with a blank sheet or an empty spool document after its last page.
class PrinterSurface : public PainterSurface {
  public:
    PrinterSurface();
    ~PrinterSurface() override;

    SurfaceCapabilities capabilities() const override { return SurfaceCapability::PrinterUnits; }

    bool setUp(PrintJob& job) override;
    PrinterGeometry printerGeometry(const PrintJob& job) const override;
    void open(PrintJob& job) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void drawLine(int x1, int y1, int x2, int y2, int pen, bool inRange) override;
    void drawBox(const QRect& box, bool filled, bool shaded, const QString& pattern, int pen,
                 int radius) override;
    void drawRowSeparator(int x, int top, int bottom, int pen, bool inRange) override;
    void endPage(bool inRange) override;
    void finish() override;

    QPrinter& printer() { return m_printer; }
    // Shows the print dialog; true when the user confirmed it. The default
    // runs it modally; a test can answer in its place.
    PrintDialogRunner runDialog;
    // The PDF file written, once the job is complete (a print to a file).
    const QStringList& files() const { return m_files; }

    // The file of spool document n (1, 2, ...) when printing to `fileName`.
    static QString DocumentFileName(const QString& fileName, int n);

  private:
    void applyPaper(const PrintJob& job);
    void beginDocument();
    void endDocument();
    void discardDocument();
    void nextDocument();
    bool startDrawing();

    QPrinter m_printer;
    bool m_toFile = false;
    QString m_baseFile;                   // the file of the first spool document
    QString m_file;                       // the file of the current one
    std::unique_ptr<StagedFile> m_staged; // written until the document is complete
    int m_document = 0;                   // number of the current spool document
    int m_pendingPages = 0;
    bool m_documentUsed = false; // something was drawn in the current document
    int m_pagesInDocument = 0;   // printed pages in the current spool document
    QStringList m_files;
};

} // namespace livrax::print
