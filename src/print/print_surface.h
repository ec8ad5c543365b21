#pragma once

#include "common/error.h"

#include <QFlags>
#include <QRect>
#include <QString>

namespace livrax::print {

class PrintJob;
struct PageMetrics;

// What a destination does with the job's layout, so the job asks instead of
// comparing destination letters.
enum class SurfaceCapability {
    // Pages are laid out in preview units and counted as page images ("V",
    // "W", "K", "F", "G").
    PreviewPages = 0x1,
    // Pages are laid out in the printer's dots ("P").
    PrinterUnits = 0x2,
    // Line by line: a new line goes to the surface, rows are ignored, there
    // is no page set-up ("T").
    LineByLine = 0x4,
    // Texts go to cells, one row a line: blank texts, rules and row
    // separators are skipped ("E").
    Cells = 0x8,
    // The pages stay as page images for the preview window to show ("V", "K").
    KeepsPageImages = 0x10,
};
Q_DECLARE_FLAGS(SurfaceCapabilities, SurfaceCapability)
Q_DECLARE_OPERATORS_FOR_FLAGS(SurfaceCapabilities)

// The font of one drawing: family, size in points and style letters ("B"
// bold, "S" underline, "I" italic).
struct FontSpec {
    QString name;
    int size = 8;
    QString style;
};

// An output that cannot be produced (a file that cannot be created); the
// message names the path.
class PrintError : public Error {
  public:
    using Error::Error;
};

// The printable area of the printer a job lays its pages out for, in dots,
// and the printer's resolution.
struct PrinterGeometry {
    int width = 0;
    int height = 0;
    int dpi = 300;
};

// One destination of a print job. The job resolves every row, column,
// offset and margin once, in device units of the destination, and hands the
// drawings here; what differs between destinations (the device, which pages
// show what, the text grid's character cells, the spreadsheet's cells) lives
// in the surface.
class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    virtual SurfaceCapabilities capabilities() const = 0;

    // Printer set-up before the job measures its pages (the print dialog of
    // the printer destination). Returning false cancels the job.
    virtual bool setUp(PrintJob& job) {
        (void)job;
        return true;
    }
    // The printer the pages are laid out for. Destinations other than the
    // printer lay them out for an A4 sheet at 300 dpi with narrow margins.
    virtual PrinterGeometry printerGeometry(const PrintJob& job) const;
    // A surface with cells of its own fixes the job's metrics here, once the
    // printer page is known and before the preview page is derived from it.
    virtual void fixMetrics(PageMetrics& metrics, const PrintJob& job) const {
        (void)metrics;
        (void)job;
    }
    // Opens the destination once the job's metrics are set. Throws
    // PrintError when its file cannot be created.
    virtual void open(PrintJob& job) = 0;

    // Width of `text` in device units, for the alignment codes.
    virtual int textWidth(const QString& text, const FontSpec& font) = 0;

    // Draws one text whose starting point is already aligned.
    virtual void drawText(int x, int y, const QString& text, const FontSpec& font,
                          bool inRange) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, int pen, bool inRange) = 0;
    // A filled (rounded) rectangle or an outline; shaded boxes are light grey.
    virtual void drawBox(const QRect& box, bool filled, bool shaded, const QString& pattern,
                         int pen, int radius) = 0;
    virtual void drawRowSeparator(int x, int top, int bottom, int pen, bool inRange) = 0;

    // Line-by-line and cell surfaces: the next line (of characters, of cells).
    virtual void newLine() {}
    // Cell surfaces: a row left empty, and the column of the next texts.
    virtual void skipRow() {}
    virtual void setColumn(int column) { (void)column; }
    // The current page is complete (a new one follows).
    virtual void endPage(bool inRange) = 0;
    // The job ended (or was cancelled after some pages): write what remains.
    virtual void finish() = 0;
};

// A destination that keeps texts only (text grids, spreadsheets): rules,
// lines, boxes and row separators have no place in it.
class TextOnlySurface : public PrintSurface {
  public:
    void drawLine(int, int, int, int, int, bool) override {}
    void drawBox(const QRect&, bool, bool, const QString&, int, int) override {}
    void drawRowSeparator(int, int, int, int, bool) override {}
};

} // namespace livrax::print
