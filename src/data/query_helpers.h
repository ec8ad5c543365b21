#pragma once

#include <QString>

namespace livrax::data {

class Connection;

// Rows of the table that meet `where` (all rows when empty); 0 on error.
qint64 CountRows(const QString& table, const QString& where = {}, Connection* database = nullptr);

// The highest value of the first field of `field` among the rows meeting
// `where` (a leading "WHERE " is accepted), as text; empty when there is none.
QString MaxOf(const QString& table, const QString& field, const QString& where = {});

} // namespace livrax::data
