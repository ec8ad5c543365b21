#pragma once

#include "print/print_surface.h"

#include <QStringList>

namespace livrax::print {

// Destination "G": the pages laid out as for the preview, written as text.
// The page is a grid of equal character cells: each text lands on the line
// and column nearest its position (row = y / lineHeight, column = x /
// charWidth), measures one cell per character for the alignments, and its
// blanks leave what is already there; drawings have no place in it; pages
// are separated by a form feed. This is how a book goes
// to a text file: unlike the text grid of "T", rows given to printText keep
// their place.
class TextPageSurface : public TextOnlySurface {
  public:
    static constexpr int Width = 500;

    void open(PrintJob& job) override;
    int textWidth(const QString& text, const FontSpec& font) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void endPage(bool inRange) override;
    void finish() override;

    // Every page's lines, trailing blanks and empty trailing lines removed.
    const QList<QStringList>& pages() const { return m_pages; }

  private:
    void closePage();

    PrintJob* m_job = nullptr;
    // The lines of the page being drawn. Their buffers are kept from page to
    // page (each with room for the whole width) so drawing allocates nothing;
    // only the first m_lineCount lines belong to the current page.
    QStringList m_lines;
    qsizetype m_lineCount = 0;
    QList<QStringList> m_pages;
};

} // namespace livrax::print
