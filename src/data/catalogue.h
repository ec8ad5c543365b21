#pragma once

#include <QString>
#include <QStringList>

namespace livrax::data {

class Connection;

// The user tables of a database (not views, not system tables), in name
// order; with a pattern, those whose name is LIKE it. Empty without a
// database or on error.
QStringList ListTables(const QString& pattern, Connection* database);

// True when the database (or the one that holds the table) has a table whose
// name begins with the resolved name: "VRTNPDE" exists when "VRTNPDE001" does.
bool TableExists(const QString& table, Connection* database = nullptr);

// Records a table in the catalogue VRTNARQ (code, physical name, sequence,
// description). An empty `seq` keeps the row's own or takes the highest.
void CatalogUpdate(const QString& table, const QString& description, const QString& seq = {});

} // namespace livrax::data
