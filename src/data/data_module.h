#pragma once

#include "data/connection.h"
#include "data/db_value.h"
#include "data/statement.h"
#include "data/transaction.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace livrax::data {

// The named dataset slots of the data module. Query slots hold one result
// set each; statement slots run INSERT, UPDATE, DELETE and DDL; table slots
// show one whole table to record forms and maintenance windows. Every slot
// has a transaction of its own on the connection it is bound to.
enum class Slot {
    // query slots
    T_CON0,
    T_CON1,
    T_CON2,
    T_CON3,
    T_CON4,
    T_CON5,
    T_CON6,
    T_CON7,
    T_CON8,
    T_CON9,
    T_CONA,
    T_CONB,
    T_CONC,
    T_COND,
    T_CONE,
    T_CONU,
    T_CONW,
    T_CONX,
    T_CONY,
    T_CONZ,
    T_CADSQL,
    // statement slots
    T_SQL,
    T_SQLU,
    T_SQLZ,
    // table slots
    GB_TAB,
    T_TAB0,
    T_TAB1,
    T_TAB2,
    T_TABW,
    T_ARQ,
    IBTable1,
    Count
};

enum class SlotKind { Query, Statement, Table };

SlotKind KindOf(Slot slot);
QString SlotName(Slot slot);

// One slot: its connection, its transaction, its last SQL text and, for a
// query or table slot, the open result positioned on its current row. While
// a ReadMoment lives, a query slot reads in the moment's snapshot of its
// connection instead of a transaction of its own.
class DataSlot {
  public:
    explicit DataSlot(Slot slot) : m_slot(slot) {}

    Slot id() const { return m_slot; }
    Connection* database() const { return m_database; }
    // Binds the slot to a connection. Binding to another connection commits
    // what the slot had open on the previous one.
    void bind(Connection* database);

    // The transaction the slot works in: the moment's snapshot it reads in,
    // or its own.
    Transaction& transaction() { return m_snapshot ? *m_snapshot : m_transaction; }
    // Starts the slot's transaction on its connection when it is not active.
    // A query slot under a ReadMoment that covers its connection takes the
    // moment's snapshot instead (ending a transaction of its own first).
    void startTransaction();
    // True while the slot reads in a moment's snapshot.
    bool readsSnapshot() const { return m_snapshot != nullptr; }
    // Closes the result and commits the transaction when active; a snapshot
    // is only let go (the moment ends it).
    void commit();
    // Closes the result and rolls the transaction back (or lets a snapshot
    // go); never throws.
    void rollback() noexcept;
    // Lets `snapshot` go when the slot reads in it, closing the result: the
    // moment that owns it is ending it.
    void leaveSnapshot(const Transaction* snapshot) noexcept;

    // The SQL text of the last query or statement, lines joined with "\n".
    const QString& sql() const { return m_sql; }
    void setSql(const QString& sql) { m_sql = sql; }

    // Query and table slots: prepares and opens the SQL text in the slot's
    // transaction (which must be active) and moves to the first row. True
    // when there is one. Throws DbError.
    bool open();
    bool isOpen() const { return m_statement && m_statement->hasCursor() && m_open; }
    // True once the walk has passed the last row (or nothing was found).
    bool eof() const { return !m_hasRow; }
    // Moves to the next row; false at the end. Throws DbError.
    bool next();
    // Closes the result; the transaction stays as it is.
    void close();

    // Columns of the current row; a null value past the end.
    DbValue value(const QString& field) const;
    DbValue value(int index) const;
    int fieldCount() const { return m_statement ? m_statement->columnCount() : 0; }
    QString fieldName(int index) const;
    bool hasField(const QString& field) const;

    // Statement slots: prepares the SQL text for binding and execution.
    Statement& prepare();
    Statement* statement() { return m_statement.get(); }

    // Table slots: the table they show.
    QString tableName;

  private:
    Slot m_slot;
    Connection* m_database = nullptr;
    Transaction m_transaction;
    Transaction* m_snapshot = nullptr; // a ReadMoment's, while the slot reads in it
    QString m_sql;
    std::unique_ptr<Statement> m_statement;
    bool m_open = false;
    bool m_hasRow = false;
};

// The data module TF_OPEN: the five connections B_DIR1..B_DIR5 (and B_DIR0,
// which nothing opens) and the dataset slots. One instance per process.
class TF_OPEN {
  public:
    TF_OPEN();
    ~TF_OPEN();

    // B_DIR0..B_DIR5 by number.
    Connection& connection(int number) { return m_connections.at(std::size_t(number)); }
    // The number of a connection of this module, 0 when it is none of them.
    int numberOf(const Connection* connection) const;
    DataSlot& slot(Slot slot) { return *m_slots.at(std::size_t(slot)); }

    // Why a connection could not be opened at start-up (empty when it was, or
    // was not tried).
    std::array<QString, 6> openErrors;

    // Rolls every slot back and closes every connection.
    void closeAll();

  private:
    std::array<Connection, 6> m_connections;
    std::array<std::unique_ptr<DataSlot>, std::size_t(Slot::Count)> m_slots;
};

TF_OPEN& DataModule();

// Told of every query a slot opens, once its first row has been read: the
// slot and its SQL text. A trace of what a run reads, for diagnostics and
// for tests that act between two queries of a run (another station
// committing). One per process; an empty function removes it.
using QueryObserver = std::function<void(Slot slot, const QString& sql)>;
void SetQueryObserver(QueryObserver observer);

// B_DIRn of the data module, for n in 1..5.
Connection* B_DIR(int number);

} // namespace livrax::data
