#pragma once

#include "print/print_surface.h"

#include <QStringList>

namespace livrax::print {

// Destination "T": the report as a grid of text lines of 500 characters. A
// text lands on the last line at the character column of its position;
// newLine starts a new line; drawings have no place in it. The grid is
// written as a Windows-1252 text file with CR LF line ends.
class TextGridSurface : public TextOnlySurface {
  public:
    static constexpr int Width = 500;

    SurfaceCapabilities capabilities() const override { return SurfaceCapability::LineByLine; }
    // Fixed cells: characters of 6 and lines of 14, on the printer page of
    // the classic text grid.
    void fixMetrics(PageMetrics& metrics, const PrintJob& job) const override;

    void open(PrintJob& job) override;
    int textWidth(const QString& text, const FontSpec& font) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void newLine() override;
    void endPage(bool) override {}
    void finish() override;

    // The grid, trailing blanks removed from each line.
    QStringList lines() const;
    // Where finish() wrote the grid.
    const QString& fileName() const { return m_fileName; }

  private:
    PrintJob* m_job = nullptr;
    QStringList m_grid;
    QString m_fileName;
};

} // namespace livrax::print
