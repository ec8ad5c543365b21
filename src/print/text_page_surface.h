#pragma once

#include "print/print_surface.h"

#include <QStringEncoder>
#include <QStringList>

#include <memory>

namespace livrax::print {

class OutputFile;

// Destination "G": the pages laid out as for the preview, written as text.
// The page is a grid of equal character cells: each text lands on the line
// and column nearest its position (row = y / lineHeight, column = x /
// charWidth), measures one cell per character for the alignments, and its
// blanks leave what is already there; drawings have no place in it; pages
// are separated by a form feed. This is how a book goes
// to a text file: unlike the text grid of "T", rows given to printText keep
// their place. With an output file each page is written (Windows-1252, CR LF)
// as it closes, so a book of any length is written in the memory of one
// page; the file appears complete or not at all.
class TextPageSurface : public TextOnlySurface {
  public:
    static constexpr int Width = 500;

    TextPageSurface();
    ~TextPageSurface() override;

    SurfaceCapabilities capabilities() const override { return SurfaceCapability::PreviewPages; }

    void open(PrintJob& job) override;
    int textWidth(const QString& text, const FontSpec& font) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void endPage(bool inRange) override;
    void finish() override;

    // Every page's lines, trailing blanks and empty trailing lines removed;
    // kept when the job has no output file.
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
    std::unique_ptr<OutputFile> m_file;
    QStringEncoder m_encoder{"windows-1252", QStringConverter::Flag::Stateless};
    QString m_pageText; // the page being written (its buffer is kept)
    int m_pagesWritten = 0;
};

} // namespace livrax::print
