#pragma once

namespace livrax::tools {

// Registers the filter dialog as window "SELF" and the column dialog as
// "SELC", so that windows of other subsystems open them by name. Their
// arguments are SelMode, SelSource and SelResult; after the dialog closes,
// ReturnedValues() holds SelResult in value 0 and SelSizes in value 1, and
// rowChosen says whether the user applied or saved (rather than cancelled).
void RegisterSelectionWindows();

} // namespace livrax::tools
