#include "common/conditions.h"

#include "common/fields.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

bool IsConnective(const QString& field) {
    return field == u"AND"_s || field == u"OR"_s;
}

} // namespace

QString JoinConditions(const QString& line) {
    QString result;
    QString previous; // the field written last
    bool first = true;
    const QStringList fields = SplitToList(line);
    for (const QString& field : fields) {
        if (field.isEmpty()) continue;
        if (!first) {
            result.append(IsConnective(field) || IsConnective(previous) ? u" "_s : u" AND "_s);
        }
        result.append(field);
        previous = field;
        first = false;
    }
    return result;
}

QString StarToLike(const QString& condition) {
    const qsizetype star = condition.indexOf(u'*');
    if (star < 0 || condition.contains(u"'*'"_s)) return condition;
    // The word holding the star starts after the last space before it.
    const qsizetype wordStart = condition.lastIndexOf(u' ', star) + 1;
    if (wordStart < 2 || condition.at(wordStart - 2) != u'=') return condition;
    const qsizetype equals = wordStart - 2;
    if (equals > 0) {
        const QChar before = condition.at(equals - 1);
        if (before == u'<' || before == u'>' || before == u'!') return condition;
    }
    QString result = condition;
    result[star] = u'%';
    result.replace(equals, 1, u"LIKE"_s);
    return result;
}

} // namespace livrax
