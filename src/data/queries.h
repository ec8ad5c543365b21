#pragma once

#include "data/data_module.h"

#include <QString>

namespace livrax::data {

// The shared query builders and statement runners. None of them shows a
// message or throws: a database error rolls the slot back and gives false.
// `database` nullptr means "the database that holds the table" (DatabaseFor).

// Opens "SELECT fields FROM table A [WHERE where] [value] [ORDER BY orderBy]"
// in `slot` and leaves it on the first row. `value` is compared with
// " = 'value'" after a where text, follows a LIKE as a quoted line, or is
// appended as is when there is no where text. A `fields` text that is a
// whole SELECT statement runs unchanged. True when a row was found.
bool RunSelect(Slot slot, const QString& table, const QString& fields, const QString& where,
               const QString& orderBy = {}, Connection* database = nullptr,
               const QString& value = {});

// Opens the whole statement `sql` in `slot`, on the database that holds
// `table`, and leaves it on the first row; true when there is one. Unlike
// RunSelect a failure throws DbError with the database's reason (the slot
// rolled back), for the runs that must fail rather than print nothing.
bool OpenQuery(Slot slot, const QString& table, const QString& sql);

// As RunSelect on T_CONX, with one more condition `filter`.
bool RunSelectAnd(const QString& table, const QString& fields, const QString& where,
                  const QString& filter, const QString& orderBy = {},
                  Connection* database = nullptr, const QString& value = {});

// Closes the slot's result by committing its transaction when active.
void CloseSlot(Slot slot);

// Binds T_SQL (or T_SQLU) to the table's database and starts its
// transaction. False when no database holds the table.
bool PrepareStatement(const QString& table, Connection* database = nullptr);
bool PrepareUpdate(const QString& table, Connection* database = nullptr);

// Runs one statement on T_SQL and commits it.
bool ExecStatement(const QString& table, const QString& sql, Connection* database = nullptr);

// "DELETE FROM table WHERE where", written to the audit log with `note`
// unless the note is "NAO".
bool DeleteWhere(const QString& table, const QString& where, Connection* database = nullptr,
                 const QString& note = {});

// Commits every shared slot; used when windows close. Never fails.
void CommitAll();

// Opens a whole table in a table slot, optionally restricted by `filter`.
bool OpenTable(const QString& code, Slot tableSlot, Connection* database = nullptr,
               const QString& filter = {});

} // namespace livrax::data
