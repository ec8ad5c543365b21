#pragma once

#include <QString>

namespace livrax::data {

class Connection;

// Creates an index on a table (code or name) over `fields`, separated by ","
// or ";". The index is named after the table code and the first two fields:
// CreateIndex("PDE", "NUMERO;SERIE") creates PDE_NUMERO_SERIE on
// VRTNPDE (NUMERO,SERIE). False, with nothing done, when the table does not
// exist, a field is not a plain column name, a single field is already a
// column of one of the table's indexes, or the engine refuses the index (one
// of that name exists).
bool CreateIndex(const QString& table, const QString& fields, Connection* database = nullptr);

// Drops an index of the table: `indexName` itself, or the table code + "_" +
// `indexName` when only that one exists. Only the table's own named indexes
// (ListIndexes) are dropped. True when an index was dropped.
bool DropIndex(const QString& table, const QString& indexName, Connection* database = nullptr);

} // namespace livrax::data
