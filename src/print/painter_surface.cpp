#include "print/painter_surface.h"

#include "print/fonts.h"
#include "print/print_job.h"

#include <QFontMetrics>

#include <cmath>

namespace livrax::print {

Qt::BrushStyle PainterSurface::PatternStyle(const QString& pattern) {
    if (pattern == u'2') return Qt::HorPattern;
    if (pattern == u'3') return Qt::VerPattern;
    if (pattern == u'4') return Qt::CrossPattern;
    return Qt::NoBrush;
}

QPen PainterSurface::penOf(int width) const {
    QPen pen(Qt::black);
    pen.setWidthF(std::max(0.0, std::nearbyint(width * m_rules.penScale)));
    return pen;
}

int PainterSurface::textWidth(const QString& text, const FontSpec& font) {
    return TextWidth(font, m_rules.fontDpi, text);
}

void PainterSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                              bool inRange) {
    if (!inRange && !m_rules.textsOutsideRange) return;
    if (text.isEmpty()) return;
    if (m_rules.divideUnitMode1 && m_job->settings.unitMode == 1 && inRange)
        x = int(std::nearbyint(x / 3.0));
    const QFont qfont = MakeFont(font, m_rules.fontDpi);
    // Setting a font makes the painter resolve it for its device again;
    // consecutive texts mostly share one.
    if (m_painter.font() != qfont) m_painter.setFont(qfont);
    const QFontMetrics& metrics = FontMetrics(font, m_rules.fontDpi);
    const Qt::BrushStyle pattern = PatternStyle(m_job->next.fillPattern);
    if (pattern != Qt::NoBrush)
        m_painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                           QBrush(Qt::black, pattern));
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

void PainterSurface::drawLine(int x1, int y1, int x2, int y2, int pen, bool inRange) {
    if (!inRange) return;
    m_painter.setPen(penOf(pen));
    m_painter.drawLine(x1, y1, x2, y2);
}

void PainterSurface::drawBox(const QRect& box, bool filled, bool shaded, const QString& pattern,
                             int pen, int radius) {
    m_painter.setPen(penOf(pen));
    if (filled) {
        const QColor fill = shaded ? QColor(223, 223, 223) : QColor(Qt::white);
        m_painter.setBrush(fill);
        const int r = radius * m_rules.radiusScale;
        m_painter.drawRoundedRect(box, r, r);
        const Qt::BrushStyle style = PatternStyle(pattern);
        if (style != Qt::NoBrush) {
            m_painter.setBrush(QBrush(Qt::black, style));
            m_painter.drawRoundedRect(box, r, r);
        }
        m_painter.setBrush(Qt::NoBrush);
    } else {
        m_painter.setBrush(Qt::NoBrush);
        const QPoint corners[] = {box.topLeft(), QPoint(box.right(), box.top()), box.bottomRight(),
                                  QPoint(box.left(), box.bottom()), box.topLeft()};
        m_painter.drawPolyline(corners, 5);
    }
}

void PainterSurface::drawRowSeparator(int x, int top, int bottom, int pen, bool inRange) {
    if (!inRange && !m_rules.separatorsOutsideRange) return;
    m_painter.setPen(penOf(pen));
    m_painter.drawLine(x, top, x, bottom);
}

} // namespace livrax::print
