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

QString FilterProblem(const QString& filter) {
    int depth = 0;
    for (qsizetype i = 0; i < filter.size(); ++i) {
        const QChar c = filter[i];
        if (c == u'\'' || c == u'"') {
            // A quoted text or name runs to its closing quote; a doubled
            // quote inside it is one quote.
            qsizetype end = i + 1;
            while (true) {
                end = filter.indexOf(c, end);
                if (end < 0) return u"aspas sem fechamento"_s;
                if (end + 1 < filter.size() && filter[end + 1] == c) {
                    end += 2;
                    continue;
                }
                break;
            }
            i = end;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth < 0) return u"parêntese fechado sem ter sido aberto"_s;
        } else if (c == u';') {
            return u"o filtro não pode conter \";\""_s;
        } else if ((c == u'-' || c == u'/') && i + 1 < filter.size() &&
                   filter[i + 1] == (c == u'-' ? u'-' : u'*')) {
            return u"o filtro não pode conter comentários"_s;
        }
    }
    if (depth > 0) return u"parêntese aberto sem fechamento"_s;
    return {};
}

} // namespace livrax
