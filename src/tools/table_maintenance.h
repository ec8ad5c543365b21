#pragma once

// The table maintenance's work on a table, without widgets: the access rule,
// the table a typed text names, the stored grid columns, the mass change, the
// renumbering, the grid's own edits, inserting and deleting a row, emptying a
// table, deleting the rows of a filter and the indexes. The window TF_MPA, "livrax table" and the
// tests run this code.

#include "data/db_value.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace livrax::data {
class Connection;
}

namespace livrax::tools {

// What the user asks of a table; the access rule depends on it.
enum class TableCommand {
    Open,   // browse the rows (also the grid's search by value)
    Search, // the generic query over the table ("Pesquisa")
    Change, // mass change, renumbering, grid edits, "ZERAR", deleting the filtered rows
    Index,  // creating and dropping indexes
};

// The access rule for a table, by its resolved physical name, compared
// without regard to case and to the company suffix ("vrtnpar", "VRTNPAR001"
// and "VRTNPAR" are the same table). Open, Index: level "9", or right 11 "S"
// and the table neither VRTNSEN nor VRTNAGD; and in every case right 15 "S"
// unless the table is VRTNPAR. Search: the same without the right-11 test
// (so below level 9 VRTNSEN and VRTNAGD stay refused).
// Change: Open, and below level 9 right 12 "S" as well.
bool MayUseTable(const QString& table, TableCommand command);

// A table of a database, as the window and the command work on it.
struct MaintenanceTable {
    QString name;                         // the physical name as the database has it
    data::Connection* database = nullptr; // where it lives
    bool valid() const { return database && !name.isEmpty(); }
};

// The table a typed text names (a code such as "PDE" or a physical name),
// looked for in `database`, or in the database that holds it when null.
// Without a table of that name in that database: invalid, with the reason
// in `error`.
MaintenanceTable FindMaintenanceTable(const QString& text, data::Connection* database,
                                      QString* error = nullptr);

// The grid's columns from a stored list: "," or "#" separated, at most 190
// fields, empty fields dropped, in order. An empty result shows every field.
QStringList GridColumns(const QString& list);

// Line 21 of the key "ARQ_" + table in the table's database: the grid's
// column list; written back without touching the key's other lines.
QString ReadColumnList(const MaintenanceTable& table);
bool WriteColumnList(const MaintenanceTable& table, const QString& list);

// The column names of the table, in the table's order; empty on error.
QStringList TableColumns(const MaintenanceTable& table);
// The primary-key columns of the table, in key order.
QStringList TableKey(const MaintenanceTable& table);

// Which rows a mass command walks and in what order.
struct RowWalk {
    QString filter;  // SQL condition; empty: every row
    QString orderBy; // index fields, "," separated; empty: the primary key
    // Key texts (as the grid shows them) of the row to start from; empty:
    // from the first row.
    QStringList startKey;
};

// "Função" of the mass change.
enum class ChangeFunction { SetContent = 0, Upper = 1, NoQuotes = 2, NoAccents = 3, NoSymbols = 4 };

struct MassChange {
    QString field;
    QString content;         // function 0: the value, or the expression
    bool expression = false; // "Campo do Arquivo": content is a field expression of the row
    ChangeFunction function = ChangeFunction::SetContent;
    RowWalk walk;
    bool dryRun = false; // walk and work out every value, write nothing
};

// "Formato" of the renumbering.
enum class RenumberFormat { Keep = 0, Renumber = 1, AddStart = 2, ZeroFill = 3 };

struct Renumbering {
    QString field;
    RenumberFormat format = RenumberFormat::Renumber;
    qint64 start = 0; // "Numero inicial"
    int size = 0;     // "Tamanho Campo": zeros before the number up to it; 0 none
    RowWalk walk;
    bool dryRun = false;
};

// One value of the grid's edits: the row by its key values as read.
struct RowEdit {
    QList<data::DbValue> key;
    QString field;
    QString value;
};

struct ChangeResult {
    bool ok = false;
    bool refused = false; // the access rule refused the command; nothing done
    qint64 changed = 0;   // rows changed (or, on a dry run, that would be)
    QString message;      // why it failed, naming the row at fault
};

// The value function 2 leaves: apostrophes and double quotes made blanks,
// then each pair of blanks made one (one pass each).
QString WithoutQuotes(const QString& text);

// The mass change: the keys of the rows are read first, in index order,
// then each row is changed once, all in one transaction. A value the
// database refuses, or an expression that cannot be worked out, rolls every
// row back and the message names the row. Written to the audit log.
ChangeResult ApplyMassChange(const MaintenanceTable& table, const MassChange& change);
// The renumbering, walked and written the same way.
ChangeResult ApplyRenumbering(const MaintenanceTable& table, const Renumbering& renumbering);
// The grid's edits, in one transaction, the same way.
ChangeResult SaveRowEdits(const MaintenanceTable& table, const QList<RowEdit>& edits);

// The navigator's insert: one row with `fields` set to `values` (texts as
// the grid shows them; fields left empty keep their defaults), under the
// access rule; a refused row names the reason. Written to the audit log.
ChangeResult InsertRow(const MaintenanceTable& table, const QStringList& fields,
                       const QStringList& values);

// The navigator's delete: the row with these key values (as read, bound as
// they are), under the access rule.
ChangeResult DeleteRow(const MaintenanceTable& table, const QList<data::DbValue>& key);

// "ZERAR todo o Arquivo": every row deleted, in one transaction.
ChangeResult EmptyTable(const MaintenanceTable& table);
// "Deletar Reg. Visiveis": the rows of `filter` (which must not be blank).
ChangeResult DeleteFilteredRows(const MaintenanceTable& table, const QString& filter);

// Indexes over `fields` ("," separated) and by name, under the access rule.
bool CreateTableIndex(const MaintenanceTable& table, const QString& fields);
bool DropTableIndex(const MaintenanceTable& table, const QString& indexName);

} // namespace livrax::tools
