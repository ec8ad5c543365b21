#include "common/windows_1252.h"

namespace livrax {

namespace {

// The characters of bytes 0x80..0x9F (0: no character).
constexpr char16_t HighHalf[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                   0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

int Windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (HighHalf[i] != 0 && HighHalf[i] == c) return 0x80 + i;
    return -1;
}

QString InWindows1252(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (Windows1252Byte(c.unicode()) >= 0) {
            result += c;
            continue;
        }
        result += u'?';
        // One "?" for a character outside the 16 bits, not one per half.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    return result;
}

} // namespace livrax
