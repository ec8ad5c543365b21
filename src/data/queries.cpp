#include "data/queries.h"

#include "common/fields.h"
#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/db_error.h"
#include "data/routing.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// Steps shared by the builders: bind the slot, start a fresh transaction,
// set the SQL text and open it. A failure rolls the slot back and throws.
bool OpenOrThrow(DataSlot& slot, Connection* database, const QString& sql) {
    try {
        slot.bind(database);
        if (slot.isOpen() || slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        slot.setSql(sql);
        return slot.open();
    } catch (const DbError&) {
        slot.rollback();
        throw;
    }
}

// The same giving false on a failure.
bool OpenInSlot(DataSlot& slot, Connection* database, const QString& sql) {
    try {
        return OpenOrThrow(slot, database, sql);
    } catch (const DbError&) {
        return false;
    }
}

QString BuildSelect(const QString& name, const QString& fields, const QString& where,
                    const QString& value) {
    QStringList lines;
    lines << u"SELECT "_s + fields + u" FROM "_s + name + u" A"_s;
    if (!where.isEmpty()) lines << u"WHERE "_s + where;
    if (!value.isEmpty()) {
        if (where.contains(u"LIKE"_s))
            lines << Quote(value);
        else if (!where.isEmpty())
            lines << u" = "_s + Quote(value);
        else
            lines << value;
    }
    return lines.join(u'\n');
}

QString WithOrder(const QString& sql, const QString& orderBy) {
    return orderBy.isEmpty() ? sql : sql + u"\nORDER BY "_s + orderBy;
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
    const QString columns = cadSql && fields.isEmpty() ? u"*"_s : fields;
    QString sql = WithOrder(BuildSelect(name, columns, where, value), orderBy);
    if (!cadSql && fields.left(6).toUpper() == u"SELECT"_s) sql = fields;
    return OpenInSlot(dataSlot, target, sql);
}

bool OpenQuery(Slot slot, const QString& table, const QString& sql) {
    const QString name = ResolveTableName(table);
    Connection* target = DatabaseFor(name);
    if (!target) throw DbError(u"Nenhum banco de dados contém a tabela "_s + name);
    return OpenOrThrow(DataModule().slot(slot), target, sql);
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
    if (!filter.isEmpty()) sql += (where.isEmpty() ? u"\nWHERE "_s : u"\nAND "_s) + filter;
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
        ExecStatement(name, u"DELETE FROM "_s + name + u" WHERE "_s + where, database);
    if (note != u"NAO"_s) AuditLog(table, u"EXCLUSAO: "_s + where + u" - "_s + note);
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
        slot.setSql(u"SELECT * FROM "_s + name +
                    (filter.isEmpty() ? QString() : u" WHERE "_s + filter));
        slot.open();
        return slot.isOpen();
    } catch (const DbError&) {
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
