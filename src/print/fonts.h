#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QSize>

namespace livrax::print {

struct FontSpec;

// The fonts of the print engine. Reports are laid out in Arial; where it is
// missing the metric-compatible Liberation Sans takes its place, so every
// destination has the same columns and lines.
QFont MakeFont(const FontSpec& spec, int dpi);

// The metrics of MakeFont(spec, dpi). Fonts and metrics are made once per
// spec and resolution and kept: a report draws thousands of texts in a few
// fonts, and a font made afresh looks its font engine up again every time.
// The reference stays valid for the life of the program (GUI thread only).
const QFontMetrics& FontMetrics(const FontSpec& spec, int dpi);

// The width of `text` in MakeFont(spec, dpi), as FontMetrics measures it.
// Widths are remembered per font: books repeat their dates, codes, series
// and common amounts on every page, and measuring a text means shaping it.
int TextWidth(const FontSpec& spec, int dpi, const QString& text);

// Width and height of "a" in Arial 8 at `dpi`: the character cell the
// layout commands count in.
QSize CharacterCell(int dpi);

} // namespace livrax::print
