#include "data/indexes.h"

#include "data/catalogue.h"
#include "data/metadata.h"
#include "data/queries.h"
#include "data/routing.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// Column and index names reach the DDL text as identifiers, which cannot be
// quoted as values are; only plain names are let through.
bool IsPlainName(const QString& name) {
    static const QRegularExpression pattern(u"^[A-Za-z][A-Za-z0-9_$]*$"_s);
    return pattern.match(name).hasMatch();
}

} // namespace

bool CreateIndex(const QString& table, const QString& fields, Connection* database) {
    const QString name = ResolveTableName(table);
    Connection* target = database ? database : DatabaseFor(name);
    if (!target || !TableExists(name, target)) return false;
    const QString code = name.left(7).mid(4, 3);

    QStringList columns;
    for (const QString& part : fields.split(QRegularExpression(u"[,;]"_s), Qt::SkipEmptyParts)) {
        const QString column = part.trimmed().toUpper();
        if (column.isEmpty()) continue;
        if (!IsPlainName(column)) return false;
        columns.append(column);
    }
    if (columns.isEmpty()) return false;
    const QString indexName =
        code + u'_' + columns[0] + (columns.size() > 1 ? u'_' + columns[1] : QString());
    const QString columnList = columns.join(u',');

    // A single column that an index already holds gets no index of its own.
    if (ListIndexedFields(target, name).contains(columnList)) return false;
    return ExecStatement(
        name, u"Create Index "_s + indexName + u" ON "_s + name + u" ("_s + columnList + u')',
        target);
}

bool DropIndex(const QString& table, const QString& indexName, Connection* database) {
    const QString name = ResolveTableName(table);
    Connection* target = database ? database : DatabaseFor(name);
    const QString index = indexName.trimmed().toUpper();
    if (!target || !IsPlainName(index)) return false;
    const QStringList own = ListIndexes(target, name);
    for (const QString& candidate : {index, name.mid(4, 3) + u'_' + index}) {
        if (own.contains(candidate, Qt::CaseInsensitive))
            return ExecStatement(name, u"Drop Index "_s + candidate, target);
    }
    return false;
}

} // namespace livrax::data
