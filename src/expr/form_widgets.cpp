#include "expr/form_widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace livrax::expr {

FormField WindowField(const QWidget& window, const QString& name) {
    const QObject* control = window.findChild<QObject*>(name);
    if (!control) return {};
    const auto text = [](const QString& value) { return FormField{FormField::Kind::Text, value}; };
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return text(edit->text());
    if (const auto* label = qobject_cast<const QLabel*>(control)) return text(label->text());
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return text(combo->currentText());
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return text(memo->toPlainText());
    if (const auto* rich = qobject_cast<const QTextEdit*>(control))
        return text(rich->toPlainText());
    return {FormField::Kind::Other, QString()};
}

namespace {

FormFieldLookup Lookup(const QWidget& window) {
    return [&window](const QString& name) { return WindowField(window, name); };
}

} // namespace

QString ExpandFormFields(const QString& text, const QWidget& window) {
    return ExpandFormFields(text, Lookup(window));
}

QString ExpandFormFieldsForSql(const QString& sql, const QWidget& window) {
    return ExpandFormFieldsForSql(sql, Lookup(window));
}

} // namespace livrax::expr
