#pragma once

#include "print/output_file.h"
#include "print/print_surface.h"

#include <QDate>
#include <QString>

#include <map>
#include <memory>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace livrax::print {

// A number typed the Brazilian way as a spreadsheet reads it: when the
// trimmed text holds only digits, ",", "." and "-" and has both "," and ".",
// the "." (thousands) are removed; then "," becomes the decimal ".".
// "1.234,56" gives "1234.56". Any other text is returned unchanged.
QString PrepareSpreadsheetText(const QString& text);

// What a text becomes in a spreadsheet cell: a number when the prepared text
// is one, a date when it is dd/mm/yy (two-digit years by the program's
// window), otherwise the text as written. A number keeps its text instead
// when the number would lose what the text says: leading zeros ("00123", a
// code) or more than 15 digits (a CNPJ or key).
struct SpreadsheetValue {
    enum class Kind { Text, Number, Date };
    Kind kind = Kind::Text;
    QString text;
    double number = 0;
    QDate date;
};
SpreadsheetValue SpreadsheetCellValue(const QString& text);

// Destination "E": the texts of the job go into the cells of the first sheet
// of a workbook (.xlsx), one text per cell, at the surface's current row and
// column: every new line moves one row down, the job sets the column
// (PrintJob::setSpreadsheetColumn); drawings have no place in it. Rows and columns count
// from 0 as the job counts them: the job's row 0, column 0 is cell A1, its
// column 1 is column B, and spreadsheetColumnWidths[i] is the width of that
// same column i. A cell takes the text's font name and size and is bold when
// the style has "B"; numbers and dates are stored as such (dates with the
// format dd/mm/yy). A cell that cannot be stored is skipped.
//
// The workbook is written when the job ends, to outputFile or to
// tempFolder + "LIVRAX.xlsx", whole or not at all; an interactive job then
// opens it in the desktop's spreadsheet application.
class SpreadsheetSurface : public TextOnlySurface {
  public:
    SpreadsheetSurface();
    ~SpreadsheetSurface() override;

    SurfaceCapabilities capabilities() const override { return SurfaceCapability::Cells; }
    void newLine() override { ++m_row; }
    void skipRow() override { ++m_row; }
    void setColumn(int column) override { m_column = column; }
    int row() const { return m_row; }
    int column() const { return m_column; }

    void open(PrintJob& job) override;
    int textWidth(const QString& text, const FontSpec& font) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void endPage(bool) override {}
    void finish() override;

    // Where finish() writes the workbook.
    const QString& fileName() const { return m_fileName; }

  private:
    lxw_format* formatFor(const FontSpec& font, bool date);

    PrintJob* m_job = nullptr;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    std::map<QString, lxw_format*> m_formats;
    QString m_fileName;
    std::unique_ptr<StagedFile> m_staged;
    int m_row = 0, m_column = 0;
};

} // namespace livrax::print
