#include "data/queries.h"

#include "common/fields.h"
#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/db_error.h"
#include "data/routing.h"

namespace livrax::data {

namespace {

// Steps shared by the builders: bind the slot, start a fresh transaction,
// set the SQL text and open it.
bool OpenInSlot(DataSlot& slot, Connection* database, const QString& sql) {
    try {
        slot.bind(database);
        if (slot.isOpen() || slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        slot.setSql(sql);
        return slot.open();
    } catch (const DbError&) {
        slot.rollback();
        return false;
    }
}

QString BuildSelect(const QString& name, const QString& fields, const QString& where,
                    const QString& value) {
    QStringList lines;
    lines << QStringLiteral("SELECT ") + fields + QStringLiteral(" FROM ") + name +
                 QStringLiteral(" A");
    if (!where.isEmpty()) lines << QStringLiteral("WHERE ") + where;
    if (!value.isEmpty()) {
        if (where.contains(QStringLiteral("LIKE")))
            lines << Quote(value);
        else if (!where.isEmpty())
            lines << QStringLiteral(" = ") + Quote(value);
        else
            lines << value;
    }
    return lines.join(u'\n');
}

QString WithOrder(const QString& sql, const QString& orderBy) {
    return orderBy.isEmpty() ? sql : sql + QStringLiteral("\nORDER BY ") + orderBy;
}

} // namespace

bool RunSelect(Slot slot, const QString& table, const QString& fields, const QString& where,
               const QString& orderBy, Connection* database, const QString& value) {
    DataSlot& dataSlot = DataModule().slot(slot);
    const QString name = ResolveTableName(table);
    dataSlot.setSql(QString());
    Connection* target = database ? database : DatabaseFor(name);
    if (!target) return false;
    if (slot == Slot::T_CONW) {
        // This builder never lets a failed commit stop the query.
        try {
            dataSlot.bind(target);
            dataSlot.commit();
        } catch (const DbError&) {
            dataSlot.rollback();
        }
    }
    const bool cadSql = slot == Slot::T_CADSQL;
    const QString columns = cadSql && fields.isEmpty() ? QStringLiteral("*") : fields;
    QString sql = WithOrder(BuildSelect(name, columns, where, value), orderBy);
    if (!cadSql && fields.left(6).toUpper() == QStringLiteral("SELECT")) sql = fields;
    return OpenInSlot(dataSlot, target, sql);
}

bool RunSelectAnd(const QString& table, const QString& fields, const QString& where,
                  const QString& filter, const QString& orderBy, Connection* database,
                  const QString& value) {
    DataSlot& slot = DataModule().slot(Slot::T_CONX);
    const QString name = ResolveTableName(table);
    slot.setSql(QString());
    Connection* target = database ? database : DatabaseFor(name);
    if (!target) return false;
    QString sql = BuildSelect(name, fields, where, value);
    if (!filter.isEmpty())
        sql += (where.isEmpty() ? QStringLiteral("\nWHERE ") : QStringLiteral("\nAND ")) + filter;
    return OpenInSlot(slot, target, WithOrder(sql, orderBy));
}

void CloseSlot(Slot slot) {
    DataSlot& dataSlot = DataModule().slot(slot);
    try {
        dataSlot.commit();
    } catch (const DbError&) {
        dataSlot.rollback();
    }
}

namespace {
bool PrepareIn(Slot slot, const QString& table, Connection* database) {
    DataSlot& dataSlot = DataModule().slot(slot);
    Connection* target = database ? database : DatabaseFor(table);
    if (!target) return false;
    try {
        if (dataSlot.database() != target) dataSlot.bind(target);
        dataSlot.startTransaction();
        return true;
    } catch (const DbError&) {
        dataSlot.rollback();
        return false;
    }
}
} // namespace

bool PrepareStatement(const QString& table, Connection* database) {
    return PrepareIn(Slot::T_SQL, table, database);
}

bool PrepareUpdate(const QString& table, Connection* database) {
    return PrepareIn(Slot::T_SQLU, table, database);
}

bool ExecStatement(const QString& table, const QString& sql, Connection* database) {
    if (!PrepareStatement(table, database)) return false;
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.setSql(sql);
        slot.prepare().execute();
        slot.commit();
        return true;
    } catch (const DbError&) {
        // The failed statement left nothing behind; end the transaction.
        try {
            slot.commit();
        } catch (const DbError&) {
            slot.rollback();
        }
        return false;
    }
}

bool DeleteWhere(const QString& table, const QString& where, Connection* database,
                 const QString& note) {
    const QString name = ResolveTableName(table);
    const bool done =
        ExecStatement(name, QStringLiteral("DELETE FROM ") + name + QStringLiteral(" WHERE ") + where,
                      database);
    if (note != QStringLiteral("NAO"))
        AuditLog(table, QStringLiteral("EXCLUSAO: ") + where + QStringLiteral(" - ") + note);
    return done;
}

void CommitAll() {
    TF_OPEN& module = DataModule();
    for (int i = 0; i < int(Slot::Count); ++i) {
        DataSlot& slot = module.slot(Slot(i));
        if (Slot(i) == Slot::T_CONW && !slot.database()) continue;
        try {
            slot.commit();
        } catch (const DbError&) {
            slot.rollback();
        }
    }
}

bool OpenTable(const QString& code, Slot tableSlot, Connection* database, const QString& filter) {
    DataSlot& slot = DataModule().slot(tableSlot);
    const QString name = ResolveTableName(code);
    if (slot.tableName == name && slot.isOpen()) return true;
    try {
        slot.commit();
        Connection* target = database;
        if (database) {
            if (!TableExists(name, database)) return false;
        } else {
            target = DatabaseFor(name);
            if (!target) return false;
        }
        slot.bind(target);
        slot.tableName = name;
        slot.startTransaction();
        slot.setSql(QStringLiteral("SELECT * FROM ") + name +
                    (filter.isEmpty() ? QString() : QStringLiteral(" WHERE ") + filter));
        slot.open();
        return slot.isOpen();
    } catch (const DbError&) {
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
