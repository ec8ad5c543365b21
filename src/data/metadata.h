#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace livrax::data {

class Connection;

// What the database says about one column. Values are trimmed and kept whole.
struct FieldDescription {
    QString table;    // relation name
    QString field;    // column name
    QString typeName; // the engine's type name, VARYING reported as VARCHAR
    // "D" DATE, "N" INT64, "I" LONG, "M" BLOB, "S" every other type (TEXT,
    // VARCHAR, SHORT, DOUBLE, FLOAT, TIMESTAMP ...).
    QString typeLetter;
    // 8 for DATE, 12 for INT64, 8 for LONG; otherwise the stored length.
    int length = 0;
};

// The columns of a table (code or name; every user table when empty) in the
// database given or the one that holds it, in table and column order.
// `field` "*" takes every column, else the one named (upper-cased, without a
// prefix such as "A."); `type` "*" takes every type, else the one named as the
// engine names it ("DATE", "VARYING"). Describes the first column found; the
// rows stay open in T_CONX, on that first one, for callers that walk them.
// None when nothing matches or on error (the slot is then closed).
std::optional<FieldDescription> DescribeField(const QString& table, const QString& field,
                                              const QString& type, Connection* database = nullptr);

// The type letter of a column ("A.DATA" and "DATA" name the same one), or
// "U" when the column is not found.
QString FieldType(const QString& table, const QString& field, Connection* database = nullptr);

// The DATE columns of a table, in name order.
QStringList ListDateFields(const QString& table, Connection* database = nullptr);

// The primary-key columns of a table (of every table when `table` is empty),
// in key order. The names joined with "," are also left in the first returned
// value (ReturnedValues). `database` nullptr: the one that holds the table.
QStringList ListPrimaryKey(Connection* database, const QString& table = {});

// The columns of every index of a table (the primary key's included), upper
// case, one entry per index column, index by index. Empty when the database
// has no path.
QStringList ListIndexedFields(Connection* database, const QString& table);

// The names of the table's indexes that were created by name (not the ones
// the engine names after constraints), each once.
QStringList ListIndexes(Connection* database, const QString& table);

} // namespace livrax::data
