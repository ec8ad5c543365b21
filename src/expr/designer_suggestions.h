#pragma once

// The pick lists of the report designer's formula and macro fields.

class QComboBox;

namespace livrax::expr {

// Replaces the combo's items by an empty first item and the formula
// suggestions, sorted; the combo keeps the text it shows.
void FillFormulaSuggestions(QComboBox& combo);
// The same with the macro suggestions, in their fixed order.
void FillMacroSuggestions(QComboBox& combo);

} // namespace livrax::expr
