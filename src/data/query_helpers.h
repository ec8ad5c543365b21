#pragma once

#include <QString>

namespace livrax::data {

class Connection;

// Rows of the table that meet `where` (all rows when empty); 0 on error.
qint64 CountRows(const QString& table, const QString& where = {}, Connection* database = nullptr);

// The highest value of the first field of `field` among the rows meeting
// `where` (a leading "WHERE " is accepted), as text; empty when there is none.
QString MaxOf(const QString& table, const QString& field, const QString& where = {});

// True when the table (code or name) has a row meeting `condition`, a
// condition built by the program with typed values quoted; the rows stay open
// in T_CADSQL, on the first one. False for an empty condition, no row or an
// error. A ";" outside quoted values is removed with the word glued to it, so
// the condition cannot end one statement and start another.
bool RowsWhere(const QString& table, const QString& condition, Connection* database = nullptr);

} // namespace livrax::data
