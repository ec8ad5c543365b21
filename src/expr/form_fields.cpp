#include "expr/form_fields.h"

#include "common/text.h"
#include "expr/sql_substitution.h"

#include <QList>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

// The candidate control names: the first ten words, empty ones included in
// the count but not returned. Longer names come first, so that E_DATA never
// replaces the start of E_DATAI.
QStringList Candidates(const QString& text) {
    QStringList names;
    const QStringList words = text.split(u' ');
    for (qsizetype i = 0; i < words.size() && i < 10; ++i) {
        if (!words.at(i).isEmpty()) names.append(words.at(i));
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return names;
}

bool IsRemovedWhenMissing(const QString& name) {
    return name.startsWith(u"E_"_s);
}

} // namespace

QString ExpandFormFields(const QString& text, const FormFieldLookup& window) {
    QString result = text;
    for (const QString& name : Candidates(text)) {
        const FormField field = window(name);
        if (field.kind == FormField::Kind::Missing && IsRemovedWhenMissing(name))
            result = ReplaceText(result, name, QString());
        else if (field.kind == FormField::Kind::Text)
            result = ReplaceText(result, name, field.text);
    }
    return result;
}

QString ExpandFormFieldsForSql(const QString& sql, const FormFieldLookup& window) {
    QList<SqlSubstitution> substitutions;
    for (const QString& name : Candidates(sql)) {
        const FormField field = window(name);
        if (field.kind == FormField::Kind::Missing && IsRemovedWhenMissing(name))
            substitutions.append({name, SqlValue::nothing()});
        else if (field.kind == FormField::Kind::Text)
            substitutions.append({name, SqlValue::typed(field.text)});
    }
    return SubstituteInSql(sql, substitutions);
}

} // namespace livrax::expr
