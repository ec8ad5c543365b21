#include "data/query_helpers.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

qint64 CountRows(const QString& table, const QString& where, Connection* database) {
    qint64 count = 0;
    if (RunSelect(Slot::T_CONY, table, u"COUNT(*) AS CONTA"_s, where, QString(), database))
        count = DataModule().slot(Slot::T_CONY).value(u"CONTA"_s).toInt();
    CloseSlot(Slot::T_CONY);
    return count;
}

QString MaxOf(const QString& table, const QString& field, const QString& where) {
    if (field.isEmpty()) return {};
    QString condition = where;
    if (condition.left(6).compare(u"WHERE "_s, Qt::CaseInsensitive) == 0)
        condition = condition.mid(6);
    const QString first = field.section(u',', 0, 0);
    QString result;
    if (RunSelect(Slot::T_CONW, table, u"MAX("_s + first + u") AS RETORNO"_s, condition))
        result = DataModule().slot(Slot::T_CONW).value(u"RETORNO"_s).toString();
    CloseSlot(Slot::T_CONW);
    return result;
}

namespace {

// The condition without its first ";" outside quoted values and the
// characters after it up to the next space (or the end).
QString StripStatementSeparator(const QString& condition) {
    bool quoted = false;
    for (qsizetype i = 0; i < condition.size(); ++i) {
        const QChar c = condition.at(i);
        // A doubled apostrophe inside a literal closes and reopens it, which
        // leaves the state as it was.
        if (c == u'\'') quoted = !quoted;
        if (c != u';' || quoted) continue;
        qsizetype end = condition.indexOf(u' ', i);
        if (end < 0) end = condition.size();
        return condition.left(i) + condition.mid(end);
    }
    return condition;
}

} // namespace

bool RowsWhere(const QString& table, const QString& condition, Connection* database) {
    if (condition.trimmed().isEmpty()) return false;
    Connection* target = database ? database : DatabaseFor(table);
    if (!target) return false;
    DataSlot& slot = DataModule().slot(Slot::T_CADSQL);
    try {
        slot.bind(target);
        if (slot.isOpen() || slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        slot.setSql(u"SELECT * FROM "_s + ResolveTableName(table) + u" WHERE "_s +
                    StripStatementSeparator(condition));
        if (slot.open()) return true;
        slot.commit();
        return false;
    } catch (const DbError&) {
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
