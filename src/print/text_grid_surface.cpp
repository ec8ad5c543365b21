#include "print/text_grid_surface.h"

#include "print/fonts.h"
#include "print/output_file.h"
#include "print/print_job.h"

#include <QFontMetrics>

#include <cmath>

namespace livrax::print {

using namespace Qt::StringLiterals;

void TextGridSurface::open(PrintJob& job) {
    m_job = &job;
    m_grid = {QString(Width, u' ')};
    const PrintSettings& settings = job.settings;
    m_fileName = settings.outputFile.isEmpty() ? settings.tempFolder + u"NovoArquivo.txt"_s
                                               : settings.outputFile;
}

void TextGridSurface::fixMetrics(PageMetrics& metrics, const PrintJob& job) const {
    metrics.charWidth = metrics.screenCharWidth = 6;
    metrics.lineHeight = metrics.screenLineHeight = 14;
    const bool landscape = job.orientation() == Orientation::Landscape;
    metrics.printerPageWidth = landscape ? 2381 : 2334;
    metrics.printerPageHeight = landscape ? 3361 : 3407;
}

int TextGridSurface::textWidth(const QString& text, const FontSpec& font) {
    // Measured as the preview page would, in the job's screen font.
    (void)font;
    return TextWidth(m_job->jobFont(), 96, text);
}

void TextGridSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                               bool inRange) {
    (void)y;
    (void)font;
    const int unitMode = m_job->settings.unitMode;
    if (unitMode == 1 && inRange) x = int(std::nearbyint(x / 3.0));
    const int column =
        unitMode == 3 ? int(std::nearbyint(double(x) / m_job->metrics().charWidth)) : x - 1;
    QString& line = m_grid.last();
    for (int i = 0; i < text.size(); ++i) {
        const int at = column + i;
        if (at >= 0 && at < Width) line[at] = text[i];
    }
}

void TextGridSurface::newLine() {
    m_grid.append(QString(Width, u' '));
}

QStringList TextGridSurface::lines() const {
    QStringList trimmed;
    trimmed.reserve(m_grid.size());
    for (const QString& line : m_grid) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ')
            --end;
        trimmed.append(line.left(end));
    }
    return trimmed;
}

void TextGridSurface::finish() {
    WriteTextFile(m_fileName, lines());
}

} // namespace livrax::print
