#pragma once

#include "print/print_surface.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

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

// One report being drawn: the job's fields, the layout commands that place
// texts, rules, lines and boxes on pages in character columns and tenths of a
// line, and the destination they are rendered to ("V" preview page images,
// "P" printer, "T" text grid, "E" spreadsheet, "W" preview then
// word-processor document, "K" preview then e-mail, "F" a PDF file, and "G"
// the preview's pages as text).
//
// Usage: create, set the fields, startJob(); unless cancelled, pageHeader();
// per line: printText(...) and drawings, newLine(); endJob().
class PrintJob {
public:
    // Whether creating the job removes the previous job's page images from
    // the temporary folder (a new report does; a second rendering of the
    // report a preview is showing must not).
    enum class PageImages { Clear, Keep };

    explicit PrintJob(PageImages previous = PageImages::Clear);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // --- job fields (defaults as every report expects them) ---
    int previewWidth = 0, previewHeight = 0;
    QString tempFolder;  // receives the page images; ends with a separator
    QString pageFiles;   // paths of the saved page images, separated by ";"
    int paperWidth = 0, paperLength = 0; // tenths of a millimetre, 0 = printer's
    QString orientation = QStringLiteral("V");
    QString paperFormat;
    int paperSizeCode = 0;
    int paperReapply = 0;
    QString copies;
    bool standardHeader = true;
    bool headerPending = false;
    bool cancelled = false;
    QString pageLabel = QStringLiteral("Página:");
    int pageNumber = 0;
    int firstPage = 1, lastPage = 9999;
    int pagesPerSpoolDocument = 5;
    int pagesInSpoolDocument = 0;
    bool documentPerPage = false;
    bool autoPageBreak = true;
    QString shade = QStringLiteral("0");
    QString fillPattern = QStringLiteral("0");
    int currentY = 0;
    int unitMode = 3;
    int pageWidth = 823, pageHeight = 1225;
    int printerPageWidth = 2334, printerPageHeight = 3407;
    int lineHeight = 14, printerLineHeight = 14, screenLineHeight = 14;
    int charWidth = 6, printerCharWidth = 17, screenCharWidth = 6;
    int penWidth = 0;
    int ruleWidth = 1;
    int cornerRadius = 0;
    QString destination = QStringLiteral("V");
    QString jobFontName = QStringLiteral("Arial");
    int jobFontSize = 8;
    QString jobFontStyle;
    QString fontName;
    int fontSize = 0;
    QString fontStyle;
    QString companyName;
    QString headerFontName;
    int headerFontSize = 8;
    QString headerFontStyle = QStringLiteral("B");
    QString companyLine2;
    QString titleFontName;
    int titleFontSize = 0;
    QString titleFontStyle;
    QString title, subtitle, subtitle2, boxTitle, boxLeftText;
    int rowOffset = 0, columnOffset = 0;
    int leftMargin = 0, rightMargin = 0, topMargin = 0, bottomMargin = 0;
    QString align;
    QString footerText;
    QString headerStyle;
    int pageCount = 0;
    int spreadsheetRow = 0, spreadsheetColumn = 0;
    std::array<int, 256> spreadsheetColumnWidths{}; // columns 1..255

    // --- beyond the report fields ---
    // The file a "T", "E" or "F" job writes (for "P", a printer that prints
    // to a PDF file); empty: a name in tempFolder.
    QString outputFile;
    // Windows and dialogs may be shown (progress, print dialog, viewers). Off
    // on the command line and in tests: the job runs to its file unattended.
    bool interactive = false;
    // Called after each finished page so a window can process its events and
    // show progress; may set `cancelled` through cancel().
    std::function<void(PrintJob&)> onPage;

    // --- layout commands ---
    void startJob();
    void pageHeader();
    void newPage();
    void printText(const Arg& row, const Arg& column, const QString& text, const Arg& size = {},
                   const QString& style = {}, const QString& alignCode = {});
    void newLine();
    void halfLine();
    void drawRule(const Arg& row = {});
    void drawLine(const Arg& row1, const Arg& column1 = {}, const Arg& row2 = {},
                  const Arg& ignored = {}, const QString& rawFlag = {}, const Arg& column2 = {});
    void drawBox(const Arg& top, const Arg& left, const Arg& bottom, const QString& kind,
                 const Arg& yOffset = {}, const QString& unitsFlag = {}, const Arg& right = {});
    void drawRowSeparator(const Arg& y = {}, const Arg& column = {});
    void pageFooter();
    void endJob();
    // The Cancel button: ends the job with the pages made so far, then marks
    // it cancelled.
    void cancel();

    bool ended() const { return m_ended; }
    PrintSurface* surface() const { return m_surface.get(); }
    // The font of the job with its normalised style.
    FontSpec jobFont() const { return {jobFontName, jobFontSize, jobFontStyle}; }

    // Replaces the destination's surface (the preview window supplies its own
    // for the page images). Must be called before startJob.
    void setSurface(std::unique_ptr<PrintSurface> surface);

    // Reads a row argument; `relativeInUnits` makes "+n" count device units
    // (drawLine) instead of tenths of a line. `extra` receives the "+n" extra
    // that printText draws further down.
    int readRow(const Arg& row, bool relativeInUnits, int* extra = nullptr) const;
    int readColumn(const Arg& column) const;
    bool inRange() const;

    // Style letters as the job uses them: "B", "S", "I" in any order, other
    // characters dropped, "SB" read as "BS".
    static QString NormaliseStyle(const QString& style);

private:
    int RowUnits(int row) const;
    void measure();
    void convertMargins();
    void pageBreakCheck();
    void stopAtLastPage();
    int alignedX(int x, const QString& code, const QString& text, const FontSpec& font);
    void clearTextOneShots();

    std::unique_ptr<PrintSurface> m_surface;
    bool m_started = false;
    bool m_ended = false;
};

// The surface of a destination letter, for a job about to start.
std::unique_ptr<PrintSurface> MakeSurface(const QString& destination);

} // namespace livrax::print
