#include "data/query_helpers.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"

namespace livrax::data {

qint64 CountRows(const QString& table, const QString& where, Connection* database) {
    qint64 count = 0;
    if (RunSelect(Slot::T_CONY, table, QStringLiteral("COUNT(*) AS CONTA"), where, QString(),
                  database))
        count = DataModule().slot(Slot::T_CONY).value(QStringLiteral("CONTA")).toInt();
    CloseSlot(Slot::T_CONY);
    return count;
}

QString MaxOf(const QString& table, const QString& field, const QString& where) {
    if (field.isEmpty()) return {};
    QString condition = where;
    if (condition.left(6).compare(QStringLiteral("WHERE "), Qt::CaseInsensitive) == 0)
        condition = condition.mid(6);
    const QString first = field.section(u',', 0, 0);
    QString result;
    if (RunSelect(Slot::T_CONW, table,
                  QStringLiteral("MAX(") + first + QStringLiteral(") AS RETORNO"), condition))
        result = DataModule().slot(Slot::T_CONW).value(QStringLiteral("RETORNO")).toString();
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
        slot.setSql(QStringLiteral("SELECT * FROM ") + ResolveTableName(table) +
                    QStringLiteral(" WHERE ") + StripStatementSeparator(condition));
        if (slot.open()) return true;
        slot.commit();
        return false;
    } catch (const DbError&) {
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
