#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace livrax::data {

// The number of lines a parameter-store key can hold (lines 1..190).
inline constexpr int ParamLineCount = 190;

// The number of lines a read or write covers: `count` itself when it lies in
// 1..190, else all 190 (0 is how callers ask for every line).
int ParamLineSpan(int count);

// The TEXTO column of the parameter store holds the numbered lines of a key:
// for each non-empty line "NNN)" + text + CR LF, in line order. `lines[0]` is
// line 1; a line whose trimmed text is "#" counts as empty.
QString FormatParamText(const QStringList& lines);

// One line found in a TEXTO: its number (1..190) and its text.
struct ParamTextLine {
    int number = 0;
    QString text;
};

// Reads the lines of a TEXTO for a reader that wants lines 1..count (0: 190),
// in the order they appear. A line whose fourth character is ")" carries its
// number in its first three characters; any other line is unnumbered and
// takes the number after the previous line's (the first one is line 1), so
// texts written without numbers read as lines 1, 2, 3... A line ends at CR
// (a LF right after it belongs to the line end); the last line, with no CR
// after it, is cut to 999 characters. Reading stops after the first line
// numbered above `count`, which is still returned. Lines numbered outside
// 1..190 are skipped.
QList<ParamTextLine> ParseParamText(const QString& text, int count);

} // namespace livrax::data
