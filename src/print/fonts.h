#pragma once

#include <QFont>
#include <QSize>

namespace livrax::print {

struct FontSpec;

// The fonts of the print engine. Reports are laid out in Arial; where it is
// missing the metric-compatible Liberation Sans takes its place, so every
// destination has the same columns and lines.
QFont MakeFont(const FontSpec& spec, int dpi);

// Width and height of "a" in Arial 8 at `dpi`: the character cell the
// layout commands count in.
QSize CharacterCell(int dpi);

} // namespace livrax::print
