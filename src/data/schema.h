#pragma once

#include "data/connection.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

namespace livrax::data {

// The SQL schema shipped with the program (the files of db/, compiled in):
// the ERP's tables, and the program's own tables (parameter store, table
// catalogue, audit log, help texts).
enum class SchemaPart { Erp, System };

QString SchemaScript(SchemaPart part);

// Splits a script into statements: each ends with ";" as the last character
// of a line; whole-line "--" comments and blank lines are dropped.
QStringList SplitSqlScript(const QString& script);

// The statements that create the per-company copy of an ERP table (its
// physical name followed by the company code, "VRTNCPC001") with its
// indexes, from the table's definition in the schema.
QStringList CompanyTableStatements(const QString& code, const QString& companyCode);

// Runs every statement of `script` in one transaction and commits it.
void RunSqlScript(Connection& connection, const QString& script);

// Creates the database file of `options` and loads the given schema parts.
void CreateDatabaseWithSchema(Connection& connection, const ConnectionOptions& options,
                              std::initializer_list<SchemaPart> parts);

} // namespace livrax::data
