#pragma once

#include <QString>
#include <QStringList>

namespace livrax::data {

// The TEXTO column of the parameter store holds the numbered lines of a key:
// for each non-empty line "NNN)" + text + CR LF, in line order. `lines[0]` is
// line 1; a line whose trimmed text is "#" counts as empty.
QString FormatParamText(const QStringList& lines);

} // namespace livrax::data
