#include "print/text_page_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <cmath>

namespace livrax::print {

using namespace Qt::StringLiterals;

TextPageSurface::TextPageSurface() = default;
// An unfinished file (a cancelled or failed job) is discarded with it.
TextPageSurface::~TextPageSurface() = default;

void TextPageSurface::open(PrintJob& job) {
    m_job = &job;
    const QString& outputFile = job.settings.outputFile;
    if (outputFile.isEmpty()) return;
    m_file = std::make_unique<OutputFile>(outputFile);
}

int TextPageSurface::textWidth(const QString& text, const FontSpec& font) {
    // The text page is a grid of equal cells: a text is as wide as its
    // characters, so right-aligned and centred texts line up by character.
    (void)font;
    return int(text.size()) * m_job->metrics().charWidth;
}

void TextPageSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                               bool inRange) {
    (void)font;
    (void)inRange;
    // Half-way positions go down (and right): lines half a line apart, as a
    // block that starts at row 105, land on consecutive lines, never two on one.
    const int line = std::max(0, int(std::floor(double(y) / m_job->metrics().lineHeight + 0.5)));
    const int column = int(std::floor(double(x) / m_job->metrics().charWidth + 0.5));
    while (m_lines.size() <= line) {
        m_lines.append(QString());
        m_lines.last().reserve(Width);
    }
    m_lineCount = std::max<qsizetype>(m_lineCount, line + 1);
    QString& target = m_lines[line];
    const qsizetype needed = std::min<qsizetype>(Width, column + text.size());
    if (target.size() < needed) target.resize(needed, u' ');
    QChar* cells = target.data();
    const QChar* source = text.constData();
    for (qsizetype i = std::max(0, -column); i < text.size() && column + i < Width; ++i) {
        // Blanks are not ink: they leave what is already there.
        if (source[i] != u' ') cells[column + i] = source[i];
    }
}

void TextPageSurface::closePage() {
    QStringList page;
    page.reserve(m_lineCount);
    for (qsizetype i = 0; i < m_lineCount; ++i) {
        QString& line = m_lines[i];
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ')
            --end;
        line.truncate(end);
        page.append(line);
    }
    while (!page.isEmpty() && page.last().isEmpty())
        page.removeLast();
    if (m_file) {
        if (m_pagesWritten++ > 0) m_pageText += u"\f\r\n";
        for (const QString& line : page) {
            m_pageText += line;
            m_pageText += u"\r\n";
        }
        m_file->device()->write(m_encoder(m_pageText));
        m_pageText.truncate(0);
    } else {
        // Kept lines must not share the buffers reused for the next page.
        for (QString& line : page)
            line = QString(line.constData(), line.size());
        m_pages.append(page);
    }
    page.clear();
    for (qsizetype i = 0; i < m_lineCount; ++i)
        m_lines[i].truncate(0); // keeps the buffers for the next page
    m_lineCount = 0;
}

void TextPageSurface::endPage(bool) {
    closePage();
}

void TextPageSurface::finish() {
    closePage();
    if (m_file) m_file->commit();
    m_file.reset();
}

} // namespace livrax::print
