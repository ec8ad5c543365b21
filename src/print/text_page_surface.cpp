#include "print/text_page_surface.h"

#include "print/output_file.h"
#include "print/print_job.h"

#include <cmath>

namespace livrax::print {

void TextPageSurface::open(PrintJob& job) { m_job = &job; }

int TextPageSurface::textWidth(const QString& text, const FontSpec& font) {
    // The text page is a grid of equal cells: a text is as wide as its
    // characters, so right-aligned and centred texts line up by character.
    (void)font;
    return int(text.size()) * m_job->charWidth;
}

void TextPageSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                               bool inRange) {
    (void)font;
    (void)inRange;
    const int line = std::max(0, int(std::nearbyint(double(y) / m_job->lineHeight)));
    const int column = int(std::nearbyint(double(x) / m_job->charWidth));
    while (m_page.size() <= line) m_page.append(QString());
    QString& target = m_page[line];
    if (target.size() < column + text.size())
        target = target.leftJustified(std::min<qsizetype>(Width, column + text.size()), u' ');
    for (int i = 0; i < text.size(); ++i) {
        const int at = column + i;
        // Blanks are not ink: they leave what is already there.
        if (at >= 0 && at < Width && text[i] != u' ') target[at] = text[i];
    }
}

void TextPageSurface::closePage() {
    for (QString& line : m_page) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ') --end;
        line.truncate(end);
    }
    while (!m_page.isEmpty() && m_page.last().isEmpty()) m_page.removeLast();
    m_pages.append(m_page);
    m_page.clear();
}

void TextPageSurface::endPage(bool) { closePage(); }

void TextPageSurface::finish() {
    closePage();
    if (m_job->outputFile.isEmpty()) return;
    QStringList lines;
    for (int i = 0; i < m_pages.size(); ++i) {
        if (i > 0) lines.append(QStringLiteral("\f"));
        lines += m_pages[i];
    }
    WriteTextFile(m_job->outputFile, lines);
}

} // namespace livrax::print
