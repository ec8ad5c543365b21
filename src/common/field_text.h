#pragma once

#include <QString>

namespace livrax {

// A typed text to be kept as one field of a "#"-separated line: a "#" of its
// own would close the field and shift every field after it, so each "#"
// becomes a space.
inline QString FieldText(const QString& text) {
    return QString(text).replace(u'#', u' ');
}

} // namespace livrax
