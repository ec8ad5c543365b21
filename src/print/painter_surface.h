#pragma once

#include "print/print_surface.h"

#include <QPainter>

namespace livrax::print {

// The drawing rules shared by the destinations that paint: page images, the
// PDF file and the printer. Subclasses own the device and the page cycle.
class PainterSurface : public PrintSurface {
  public:
    int textWidth(const QString& text, const FontSpec& font) override;
    void drawText(int x, int y, const QString& text, const FontSpec& font, bool inRange) override;
    void drawLine(int x1, int y1, int x2, int y2, int pen, bool inRange) override;
    void drawBox(const QRect& box, bool filled, bool shaded, const QString& pattern, int pen,
                 int radius) override;
    void drawRowSeparator(int x, int top, int bottom, int pen, bool inRange) override;

  protected:
    // How a destination differs: the resolution its fonts are sized for,
    // whether texts and row separators appear on pages outside the print
    // range, whether unit mode 1 divides text columns by 3, and how pens and
    // corners scale.
    struct Rules {
        int fontDpi = 96;
        bool textsOutsideRange = true;
        bool separatorsOutsideRange = true;
        bool divideUnitMode1 = true;
        double penScale = 1.0;
        int radiusScale = 1;
    };

    void setRules(const Rules& rules) { m_rules = rules; }
    QPainter& painter() { return m_painter; }
    PrintJob* job() const { return m_job; }
    void setJob(PrintJob* job) { m_job = job; }
    // Brush of the background pattern codes: "2", "3", "4" hatch; else none.
    static Qt::BrushStyle PatternStyle(const QString& pattern);

  private:
    QPen penOf(int width) const;

    Rules m_rules;
    QPainter m_painter;
    PrintJob* m_job = nullptr;
};

} // namespace livrax::print
