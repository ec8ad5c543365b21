#pragma once

#include <QString>

namespace livrax {

// The Windows-1252 byte of a character, or -1 when the code page has none.
int Windows1252Byte(char16_t c);

// The text with every character Windows-1252 lacks replaced by "?", as a
// DOS text shows it. (The converter alone would put the control character
// SUB, 0x1A, there: the end-of-file mark of DOS text.)
QString InWindows1252(const QString& text);

} // namespace livrax
