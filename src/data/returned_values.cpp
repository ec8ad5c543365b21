#include "data/returned_values.h"

namespace livrax::data {

ReturnedValueList& ReturnedValues() {
    static ReturnedValueList values;
    return values;
}

void ResetReturnedValues() {
    ReturnedValues() = ReturnedValueList();
}

} // namespace livrax::data
