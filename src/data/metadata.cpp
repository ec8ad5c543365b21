#include "data/metadata.h"

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "data/routing.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

Connection* DatabaseOf(Connection* database, const QString& table) {
    return database ? database : DatabaseFor(table);
}

// The type letter and display length of an engine type name.
void ClassifyType(FieldDescription& description, int storedLength) {
    const QString& type = description.typeName;
    if (type == u"DATE"_s) {
        description.typeLetter = u"D"_s;
        description.length = 8;
    } else if (type == u"INT64"_s) {
        description.typeLetter = u"N"_s;
        description.length = 12;
    } else if (type == u"LONG"_s) {
        description.typeLetter = u"I"_s;
        description.length = 8;
    } else {
        description.typeLetter = type == u"BLOB"_s ? u"M"_s : u"S"_s;
        description.length = storedLength;
    }
}

// Walks the rows `slot` holds from its current one, collecting the trimmed
// text of `column`. A database error ends the walk with what was gathered.
QStringList Collect(Slot slot, const QString& column, bool upperCase = false) {
    DataSlot& dataSlot = DataModule().slot(slot);
    QStringList values;
    try {
        while (!dataSlot.eof()) {
            QString value = dataSlot.value(column).toString().trimmed();
            values.append(upperCase ? value.toUpper() : value);
            dataSlot.next();
        }
    } catch (const DbError&) {
        dataSlot.rollback();
    }
    CloseSlot(slot);
    return values;
}

// The index statement shared by ListIndexedFields and ListIndexes: segments of
// the table's indexes, `condition` choosing which.
QStringList ListIndexSegments(Connection* database, const QString& table, const QString& condition,
                              const QString& column, bool upperCase) {
    Connection* target = DatabaseOf(database, table);
    if (!target || target->path().isEmpty()) return {};
    QString sql = u"SELECT RDB$RELATION_NAME AS TABELA, RDB$FIELD_NAME AS CAMPO, "
                  "A.RDB$INDEX_NAME AS INDICE, A.RDB$INDEX_ID FROM RDB$INDICES A, "
                  "RDB$INDEX_SEGMENTS B WHERE (A.RDB$INDEX_NAME =  B.RDB$INDEX_NAME) AND "_s +
                  condition;
    if (!table.isEmpty()) sql += u" AND RDB$RELATION_NAME = "_s + Quote(ResolveTableName(table));
    // The segment position keeps the columns of one index in their key order.
    sql += u" ORDER BY RDB$RELATION_NAME, A.RDB$INDEX_ID, B.RDB$FIELD_POSITION"_s;
    if (!RunSelect(Slot::T_CONZ, table, sql, QString(), QString(), target)) {
        CloseSlot(Slot::T_CONZ);
        return {};
    }
    return Collect(Slot::T_CONZ, column, upperCase);
}

} // namespace

std::optional<FieldDescription> DescribeField(const QString& table, const QString& field,
                                              const QString& type, Connection* database) {
    Connection* target = DatabaseOf(database, table);
    if (!target) return std::nullopt;
    const QString name = TextAfter(field, u"."_s);
    QString sql =
        u"select rdb$relation_fields.rdb$relation_name as TABELA,\n"
        " rdb$relation_fields.rdb$field_name as CAMPO,\n"
        " case when rdb$types.rdb$type_name = 'VARYING' then 'VARCHAR'\n"
        "      else rdb$types.rdb$type_name\n"
        " end as TIPO,\n"
        " rdb$fields.rdb$field_length as TAMANHO\n"
        " from rdb$relation_fields\n"
        " join rdb$fields on rdb$fields.rdb$field_name = rdb$relation_fields.rdb$field_source\n"
        " join rdb$types  on rdb$fields.rdb$field_type = rdb$types.rdb$type and\n"
        "                    rdb$types.rdb$field_name = 'RDB$FIELD_TYPE'\n"
        " where substring(rdb$relation_fields.rdb$relation_name from 1 for 4) <> 'RDB$'"_s;
    if (!table.isEmpty())
        sql += u" and rdb$relation_fields.rdb$relation_name = "_s + Quote(ResolveTableName(table));
    if (name != u'*')
        sql += u" AND (rdb$relation_fields.rdb$field_name = "_s + Quote(name.toUpper()) + u')';
    if (type != u'*') sql += u" AND (rdb$types.rdb$type_name = "_s + Quote(type) + u')';
    sql += u" order by rdb$relation_fields.rdb$relation_name, "
           "rdb$relation_fields.rdb$field_name"_s;

    if (!RunSelect(Slot::T_CONX, table, sql, QString(), QString(), target)) {
        CloseSlot(Slot::T_CONX);
        return std::nullopt;
    }
    DataSlot& slot = DataModule().slot(Slot::T_CONX);
    try {
        FieldDescription description;
        description.table = slot.value(u"TABELA"_s).toString().trimmed();
        description.field = slot.value(u"CAMPO"_s).toString().trimmed();
        description.typeName = slot.value(u"TIPO"_s).toString().trimmed();
        ClassifyType(description, int(slot.value(u"TAMANHO"_s).toInt()));
        return description;
    } catch (const DbError&) {
        slot.rollback();
        return std::nullopt;
    }
}

QString FieldType(const QString& table, const QString& field, Connection* database) {
    const std::optional<FieldDescription> description =
        DescribeField(table, TextAfter(field, u"."_s), u"*"_s, database);
    CloseSlot(Slot::T_CONX);
    return description ? description->typeLetter : u"U"_s;
}

QStringList ListDateFields(const QString& table, Connection* database) {
    if (!DescribeField(table, u"*"_s, u"DATE"_s, database)) return {};
    return Collect(Slot::T_CONX, u"CAMPO"_s);
}

QStringList ListPrimaryKey(Connection* database, const QString& table) {
    QStringList fields;
    Connection* target = table.isEmpty() ? database : DatabaseOf(database, table);
    if (target) {
        QString sql =
            u"SELECT A.RDB$INDEX_NAME AS INDICE, A.RDB$RELATION_NAME AS TABELA, B.RDB$FIELD_NAME "
            "AS CAMPO, B.RDB$FIELD_POSITION AS POSICAO FROM RDB$RELATION_CONSTRAINTS A, "
            "RDB$INDEX_SEGMENTS B WHERE A.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'  AND "
            "B.RDB$INDEX_NAME = A.RDB$INDEX_NAME"_s;
        if (!table.isEmpty())
            sql += u" AND A.RDB$RELATION_NAME = "_s + Quote(ResolveTableName(table));
        sql += u" ORDER BY A.RDB$INDEX_NAME, B.RDB$FIELD_POSITION"_s;
        if (RunSelect(Slot::T_CONZ, table, sql, QString(), QString(), target))
            fields = Collect(Slot::T_CONZ, u"CAMPO"_s);
        else
            CloseSlot(Slot::T_CONZ);
    }
    ReturnedValues().values[0] = fields.join(u',');
    return fields;
}

QStringList ListIndexedFields(Connection* database, const QString& table) {
    return ListIndexSegments(database, table, u"(A.RDB$RELATION_NAME NOT LIKE 'RDB$%' )"_s,
                             u"CAMPO"_s, true);
}

QStringList ListIndexes(Connection* database, const QString& table) {
    QStringList names = ListIndexSegments(
        database, table, u"(A.RDB$INDEX_NAME NOT LIKE 'RDB$%' )"_s, u"INDICE"_s, false);
    // An index over several columns comes once per column.
    names.removeDuplicates();
    DataModule().slot(Slot::T_CONZ).setSql(QString());
    return names;
}

} // namespace livrax::data
