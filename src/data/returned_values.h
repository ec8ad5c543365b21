#pragma once

#include <QString>

#include <array>

namespace livrax::data {

// The values a lookup hands back to its caller: the columns of the row chosen
// in the generic query window, the text typed in an input prompt, the primary
// key fields of a table. values[0] is the first returned value.
struct ReturnedValueList {
    static constexpr int Size = 11;
    std::array<QString, Size> values;
    // True when the generic query window returned a row.
    bool rowChosen = false;
};

// The one process-wide list; tests reset it in init().
ReturnedValueList& ReturnedValues();
void ResetReturnedValues();

} // namespace livrax::data
