#pragma once

// Names of a window's controls inside a stored condition, replaced by what the
// user typed in them: "DATA >= E_DATAI" becomes "DATA >= 01/01/07". The
// window is reached through a look-up function, so this logic links no
// widgets (expr/form_widgets.h gives the look-up over a real window).

#include <QString>

#include <functional>

namespace livrax::expr {

// What a window holds under a control name.
struct FormField {
    enum class Kind {
        Missing, // no control of that name
        Other,   // a control that carries no text for conditions (a button ...)
        Text,    // an edit field, masked edit, label, combo box, memo or rich-text box
    };
    Kind kind = Kind::Missing;
    QString text;
};

using FormFieldLookup = std::function<FormField(const QString& name)>;

// The first ten words of the text (split at single spaces) are candidate
// control names. For each non-empty one: a name the window does not have and
// that begins with "E_" is removed from the text; a name of a text control is
// replaced, everywhere in the text, by the control's text. Other words stay.
QString ExpandFormFields(const QString& text, const FormFieldLookup& window);

// The same for a SQL text: each control's text is written as a SQL literal
// (SubstituteInSql), a typed date as 'dd.mm.yyyy', any other text quoted.
// A word holding a quote, a comment mark or an operator is never a name
// here, so removing or replacing names cannot change the statement's quoting.
QString ExpandFormFieldsForSql(const QString& sql, const FormFieldLookup& window);

} // namespace livrax::expr
