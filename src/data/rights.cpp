#include "data/rights.h"

#include "data/globals.h"

namespace livrax::data {

namespace {

// The character at `position` (from 1) of the rights string; none when the
// string does not reach it.
QChar RightAt(int position) {
    const QString& rights = Globals().user.rights;
    return position >= 1 && position <= rights.size() ? rights.at(position - 1) : QChar();
}

} // namespace

bool HasRight(int position) {
    return RightAt(position) != u'N';
}

bool HasRightOnlyWithS(int position) {
    return RightAt(position) == u'S';
}

} // namespace livrax::data
