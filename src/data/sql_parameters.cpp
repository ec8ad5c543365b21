#include "data/sql_parameters.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {
bool IsNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}
} // namespace

PositionalSql ToPositionalSql(const QString& sql) {
    PositionalSql result;
    result.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // Copy a literal or quoted identifier whole; a doubled quote
            // inside it is an escaped quote and does not end it.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            result.sql += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? n : end;
            result.sql += sql.mid(i, stop - i);
            i = stop;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(u"*/"_s, i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            result.sql += sql.mid(i, stop - i);
            i = stop;
        } else if (c == u':' && i + 1 < n && IsNameStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && IsNameChar(sql[j]))
                ++j;
            result.names.append(sql.mid(i + 1, j - i - 1).toUpper());
            result.sql += u'?';
            i = j;
        } else {
            if (c == u'?') result.names.append(QString());
            result.sql += c;
            ++i;
        }
    }
    return result;
}

} // namespace livrax::data
