#pragma once

#include <QFlags>
#include <QMargins>
#include <QString>

#include <array>
#include <optional>

class QPageLayout;

namespace livrax::print {

using namespace Qt::StringLiterals;

// Where a report goes. Users and stored report definitions choose it by its
// letter; the program's own code uses the names.
enum class Destination {
    Preview,       // "V": page images shown in the preview window
    Printer,       // "P": the printer (to a file: one PDF with every page)
    TextGrid,      // "T": a text grid, line by line
    Spreadsheet,   // "E": a workbook, one text per cell
    WordProcessor, // "W": the preview, then a word-processor document
    Email,         // "K": the preview, then the e-mail window
    PdfFile,       // "F": a vector PDF with the preview's columns and lines
    TextPages,     // "G": the preview's pages as text
};

// The destination of a letter ("V", "P", "T", "E", "W", "K", "F", "G"),
// none for any other text.
std::optional<Destination> DestinationFromCode(const QString& code);
QString DestinationCode(Destination destination);

enum class Orientation { Portrait, Landscape };
// "H" and "1" are landscape; "V", "0", empty and anything else portrait.
Orientation OrientationFromCode(const QString& code);

// The sheet every destination but a real printer lays its pages out for: A4
// at the orientation, with the narrow margins of the printable area.
QPageLayout A4PageLayout(Orientation orientation);
// The white border of that sheet around a page laid out `pageWidth` units
// wide over its printable area, in the same units: what the preview and the
// page images show around the page, so that no text touches the paper's edge.
QMargins SheetMargins(Orientation orientation, int pageWidth);

// The standard page header: the simple one or the boxed one.
enum class HeaderStyle { Simple, Boxed };
// "1" is the boxed header; anything else the simple one.
HeaderStyle HeaderStyleFromCode(const QString& code);

// Where a text starts relative to its resolved column position x; w is its
// measured width, n its number of characters and pageRight the page width
// less the right margin.
enum class Align {
    Left,         // x
    Center,       // x - w/2
    Right,        // x - w: the text ends at x
    PageCenter,   // (pageRight - w)/2: the column is ignored
    PageRight,    // pageRight - w: the column is ignored
    RightInField, // x + n * charWidth - w: right-justified in n characters from x
    BeforeField,  // x - n * charWidth
};
// The alignment codes of the stored reports: empty, "E" and any other text
// Left; "C" and "2" Center; "D" Right; "CF" PageCenter; "DF" PageRight; "1"
// RightInField; "3" BeforeField. Only the first two characters count.
Align AlignFromCode(const QString& code);

enum class StyleFlag { Bold = 0x1, Underline = 0x2, Italic = 0x4 };
Q_DECLARE_FLAGS(Style, StyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(Style)
// The style codes: "B" bold, "S" underline, "I" italic in any order; other
// characters are ignored ("B8" is bold).
Style StyleFromCode(const QString& code);
// The letters of a style in the order fonts are keyed by: "B", "BS", "BSI",
// "I", ...
QString StyleCode(Style style);

// The font, size and alignment of one text. A size of 0 and no style take the
// job's font; any field may be given alone: `{Align::Right}`, `{10, Bold}`.
struct TextFormat {
    int size = 0;
    std::optional<Style> style;
    Align align = Align::Left;

    TextFormat() = default;
    TextFormat(Align a) : align(a) {}
    TextFormat(StyleFlag s) : style(Style(s)) {}
    TextFormat(int points, std::optional<Style> s = std::nullopt, Align a = Align::Left)
        : size(points), style(s), align(a) {}
};

// What a caller sets on a job before startJob: the destination and its file,
// paper, page numbering and range, fonts, header texts and margins. The job
// holds one and never changes it while it runs, so the same value draws the
// report again on another job (the preview's PDF and printer copies).
struct PrintSettings {
    // --- where the report goes ---
    Destination destination = Destination::Preview;
    // The file of destinations "T", "E", "F", "G" (and of "P" printing to a
    // PDF file); empty: a name in tempFolder.
    QString outputFile;
    // Receives the page images and default files; ends with a separator.
    QString tempFolder;
    // The name (without folder or extension) a file made of the report gets
    // when the user saves or prints it to a file: the book and its period.
    QString documentName;
    // Windows and dialogs may be shown (progress, print dialog, viewers). Off
    // on the command line and in tests: the job runs to its file unattended.
    bool interactive = false;
    // An interactive preview opens the print dialog before it starts, for
    // the printer and the pages (the user's preference
    // "Abrir Setup da impressora na Visão da Impressão").
    bool printDialogInPreview = false;

    // --- paper ---
    int paperWidth = 0, paperLength = 0; // tenths of a millimetre, 0 = printer's
    Orientation orientation = Orientation::Portrait;
    QString paperFormat;   // its first three letters: "CAR", "LEG", "A4", "DEF"
    int paperSizeCode = 0; // 1 letter, 5 legal, 9 A4
    int paperReapply = 0;  // 4: keep the print dialog's paper
    QString copies;

    // --- pages ---
    // The number before the first page: its header shows pageNumber + 1.
    int pageNumber = 0;
    int firstPage = 1, lastPage = 9999;
    int pagesPerSpoolDocument = 5;
    bool documentPerPage = false;
    bool autoPageBreak = true;
    // 3: rows in tenths of a line, columns in characters; 0: rows in lines,
    // columns in device units; 1: both in device units.
    int unitMode = 3;
    int ruleWidth = 1;
    int cornerRadius = 0;

    // --- fonts ---
    QString jobFontName = u"Arial"_s;
    int jobFontSize = 8;
    // Style letters; the words "FSBOLD", "FSUNDERLINE", "FSITALIC" are read too.
    QString jobFontStyle;

    // --- the standard header ---
    bool standardHeader = true;
    HeaderStyle headerStyle = HeaderStyle::Simple;
    QString pageLabel = u"Página:"_s;
    QString companyName;
    QString companyLine2;
    QString headerFontName;
    int headerFontSize = 8;
    QString headerFontStyle = u"B"_s;
    QString titleFontName;
    int titleFontSize = 0;
    QString titleFontStyle;
    QString title, subtitle, subtitle2, boxTitle, boxLeftText;
    QString footerText;

    // --- margins: left and right in characters, top and bottom in tenths of
    // a line (bottom is not used) ---
    int leftMargin = 0, rightMargin = 0, topMargin = 0, bottomMargin = 0;

    // Widths of spreadsheet columns 1..255 whose value is above 0.
    std::array<int, 256> spreadsheetColumnWidths{};
};

// The settings every report of the logged-in company starts from: the user's
// temporary folder, and the company's name and address in the header.
PrintSettings CompanyPrintSettings();

// The file name a PDF of the report is offered under: its documentName, else
// its title, else "Relatorio", with ".pdf"; characters a file name cannot
// hold become "-".
QString PdfDocumentName(const PrintSettings& settings);

} // namespace livrax::print
