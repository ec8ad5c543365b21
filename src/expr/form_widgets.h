#pragma once

// The controls of a real window as the form-field look-up of
// expr/form_fields.h.

#include "expr/form_fields.h"

class QWidget;

namespace livrax::expr {

// The control named `name` among the window's children: the text of an edit
// field (masked or not), label, combo box, memo or rich-text box; Other for
// any other control; Missing when there is none.
FormField WindowField(const QWidget& window, const QString& name);

// ExpandFormFields and ExpandFormFieldsForSql over the controls of `window`
// (the report manager that is printing).
QString ExpandFormFields(const QString& text, const QWidget& window);
QString ExpandFormFieldsForSql(const QString& sql, const QWidget& window);

} // namespace livrax::expr
