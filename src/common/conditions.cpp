#include "common/conditions.h"

#include "common/fields.h"

#include <QStringList>

namespace livrax {

namespace {

bool IsConnective(const QString& field) {
    return field == QStringView(u"AND") || field == QStringView(u"OR");
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
            result.append(IsConnective(field) || IsConnective(previous) ? QStringLiteral(" ")
                                                                        : QStringLiteral(" AND "));
        }
        result.append(field);
        previous = field;
        first = false;
    }
    return result;
}

QString StarToLike(const QString& condition) {
    const qsizetype star = condition.indexOf(QLatin1Char('*'));
    if (star < 0 || condition.contains(QStringView(u"'*'"))) return condition;
    // The word holding the star starts after the last space before it.
    const qsizetype wordStart = condition.lastIndexOf(QLatin1Char(' '), star) + 1;
    if (wordStart < 2 || condition.at(wordStart - 2) != QLatin1Char('=')) return condition;
    const qsizetype equals = wordStart - 2;
    if (equals > 0) {
        const QChar before = condition.at(equals - 1);
        if (before == QLatin1Char('<') || before == QLatin1Char('>') || before == QLatin1Char('!'))
            return condition;
    }
    QString result = condition;
    result[star] = QLatin1Char('%');
    result.replace(equals, 1, QStringLiteral("LIKE"));
    return result;
}

} // namespace livrax
