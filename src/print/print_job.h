#pragma once

#include "print/print_settings.h"
#include "print/print_surface.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace livrax::print {

// A row or column argument of the layout commands: a number or a text such as
// "+5" (relative rows); an empty text means "absent".
struct Arg {
    QString text;
    // A non-negative number given as such, read without going through text.
    // A negative number is kept as its text ("-5"), which reads as relative.
    int number = -1;
    Arg() = default;
    Arg(const QString& value) : text(value) {}
    Arg(const char16_t* value) : text(QString::fromUtf16(value)) {}
    Arg(int value) {
        if (value >= 0)
            number = value;
        else
            text = QString::number(value);
    }
    bool isEmpty() const { return number < 0 && text.isEmpty(); }
    // The whole number of the argument, as ToInt reads its text.
    int toInt() const;
};

// The metrics of a running job, in device units of its destination: the
// usable page, the line and the character of the active target, of the
// printer and of the screen, and the preview page image. startJob computes
// them; a surface with cells of its own may fix them (PrintSurface::fixMetrics).
struct PageMetrics {
    int pageWidth = 823, pageHeight = 1225;
    int printerPageWidth = 2334, printerPageHeight = 3407;
    int lineHeight = 14, printerLineHeight = 14, screenLineHeight = 14;
    int charWidth = 6, printerCharWidth = 17, screenCharWidth = 6;
    int previewWidth = 0, previewHeight = 0;
};

// What the next drawing command takes, once: set before a printText,
// drawBox, drawLine or drawRowSeparator (as stored report definitions do),
// cleared by the command that uses it. The typed printText overloads pass
// font and alignment as arguments instead.
struct NextDrawing {
    QString fontName;
    int fontSize = 0;
    QString fontStyle;
    QString align;
    int penWidth = 0;
    int rowOffset = 0;            // tenths of a line
    int columnOffset = 0;         // characters
    QString shade = u"0"_s;       // "1": the next filled box is light grey
    QString fillPattern = u"0"_s; // "2", "3", "4": hatches of texts and boxes
};

// One report being drawn: the caller's settings, the layout commands that
// place texts, rules, lines and boxes on pages in character columns and
// tenths of a line, and the destination's surface they are rendered to.
//
// Usage: create with the settings, startJob(); unless cancelled,
// pageHeader(); per line: printText(...) and drawings, newLine(); endJob().
// The settings are the caller's; the run state (page number and count,
// position, metrics, cancellation) is the job's own.
class PrintJob {
  public:
    // Whether creating the job removes the previous job's page images from
    // the temporary folder (a new report does; a second rendering of the
    // report a preview is showing must not).
    enum class PageImages { Clear, Keep };

    // An empty temporary folder becomes the system's.
    explicit PrintJob(const PrintSettings& settings = {}, PageImages previous = PageImages::Clear);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // What the caller set. Changed before startJob; read only afterwards.
    PrintSettings settings;
    // The one-shot modifiers of the next drawing.
    NextDrawing next;
    // Called after each finished page so a window can process its events and
    // show progress; may cancel the job through cancel().
    std::function<void(PrintJob&)> onPage;

    // --- layout commands ---
    void startJob();
    void pageHeader();
    void newPage();
    // The typed forms: a text at the current row or at a row in the job's
    // units (tenths of a line), with its font and alignment.
    void printText(int column, const QString& text, const TextFormat& format = {});
    void printTextAt(int row, int column, const QString& text, const TextFormat& format = {});
    // The stored reports' form: row and column as numbers or texts ("+5"),
    // size, style and alignment as their codes; empty arguments are absent.
    void printText(const Arg& row, const Arg& column, const QString& text, const Arg& size = {},
                   const QString& styleCode = {}, const QString& alignCode = {});
    void newLine();
    void halfLine();
    void drawRule(const Arg& row = {});
    void drawLine(const Arg& row1, const Arg& column1 = {}, const Arg& row2 = {},
                  const Arg& ignored = {}, const QString& rawFlag = {}, const Arg& column2 = {});
    // A box from row `top` to row `bottom` (tenths of a line) and column
    // `left` to `right` (characters; absent: the right edge), filled or as
    // an outline, drawn with `pen`.
    enum class BoxKind { Filled, Outline };
    void drawBox(int top, int left, int bottom, BoxKind kind, int pen,
                 std::optional<int> right = std::nullopt);
    void drawBox(const Arg& top, const Arg& left, const Arg& bottom, const QString& kind,
                 const Arg& yOffset = {}, const QString& unitsFlag = {}, const Arg& right = {});
    void drawRowSeparator(const Arg& y = {}, const Arg& column = {});
    void pageFooter();
    void endJob();
    // The Cancel button: ends the job with the pages made so far, then marks
    // it cancelled.
    void cancel();
    // Ends the job as a failure (its data could not be read in full, a page
    // could not be drawn): nothing more is drawn and the destination keeps
    // nothing of it, so an output file is not written and the old one stays.
    void abandon();

    // --- run state ---
    bool ended() const { return m_ended; }
    // Once cancelled, every command does nothing; callers leave their loops.
    bool cancelled() const { return m_cancelled; }
    // The number of the current page (settings.pageNumber before the first).
    int pageNumber() const { return m_pageNumber; }
    // Page images (or pages) made so far.
    int pageCount() const { return m_pageCount; }
    // The print range in force: the settings', or what the print dialog
    // chose; a preview lowers the last page to the page count when it ends.
    int firstPage() const { return m_firstPage; }
    int lastPage() const { return m_lastPage; }
    void setPageRange(int first, int last);
    // Top of the current line, in device units.
    int currentY() const { return m_currentY; }
    void setCurrentY(int y) { m_currentY = y; }
    // Set by every pageHeader; the caller prints its column titles and
    // clears it with headerPrinted().
    bool headerPending() const { return m_headerPending; }
    void headerPrinted() { m_headerPending = false; }
    const PageMetrics& metrics() const { return m_metrics; }
    // The whole characters that fit between the margins.
    int pageColumns() const;
    // The orientation the pages are laid out in.
    Orientation orientation() const { return settings.orientation; }
    // The spreadsheet column that receives the next texts (destination "E").
    void setSpreadsheetColumn(int column);

    PrintSurface* surface() const { return m_surface.get(); }
    // The font of the job with its normalised style.
    FontSpec jobFont() const { return m_jobFont; }

    // Replaces the destination's surface (the preview window supplies its own
    // for the page images). Must be called before startJob.
    void setSurface(std::unique_ptr<PrintSurface> surface);

    // Reads a row argument; `relativeInUnits` makes "+n" count device units
    // (drawLine) instead of tenths of a line. `extra` receives the "+n" extra
    // that printText draws further down.
    int readRow(const Arg& row, bool relativeInUnits, int* extra = nullptr) const;
    int readColumn(const Arg& column) const;
    bool inRange() const;

  private:
    int RowUnits(int row) const;
    void measure();
    void convertMargins();
    void pageBreakCheck();
    void stopAtLastPage();
    int alignedX(int x, Align align, const QString& text, const FontSpec& font);
    void drawText(int y, int rowForCurrent, int column, const QString& text, const FontSpec& font,
                  Align align);
    FontSpec fontOf(int size, const QString& style) const;
    void typedText(std::optional<int> row, int column, const QString& text,
                   const TextFormat& format);
    void clearTextOneShots();
    bool has(SurfaceCapability capability) const;

    std::unique_ptr<PrintSurface> m_surface;
    PageMetrics m_metrics;
    FontSpec m_jobFont;
    // The margins in device units.
    int m_left = 0, m_right = 0, m_top = 0;
    int m_pageNumber = 0;
    int m_pageCount = 0;
    int m_firstPage = 1, m_lastPage = 9999;
    int m_currentY = 0;
    bool m_headerPending = false;
    bool m_cancelled = false;
    bool m_started = false;
    bool m_ended = false;
};

// The surface of a destination, for a job about to start.
std::unique_ptr<PrintSurface> MakeSurface(Destination destination);

} // namespace livrax::print
