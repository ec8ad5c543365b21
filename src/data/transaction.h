#pragma once

#include <QString>

namespace Firebird {
class ITransaction;
}

namespace livrax::data {

class Connection;

// How a transaction sees the database.
enum class TransactionMode {
    // Read-write, read committed: each read sees the latest committed
    // version. A write that meets a record another transaction holds waits
    // at most LockTimeoutSeconds() and then fails, never forever.
    ReadWrite,
    // Read-only snapshot: every read sees the database as it was committed
    // when the transaction started, whatever is committed meanwhile. What a
    // report, a book, an export or a recalculation reads in (ReadMoment).
    ReadSnapshot
};

// How long a write waits for a record another transaction holds (another
// station saving the same month, the ERP updating an invoice) before it
// fails. Applies to transactions started afterwards.
int LockTimeoutSeconds();
void SetLockTimeoutSeconds(int seconds);

// A transaction on one connection, scoped: rolled back on destruction unless
// committed. It can be started again after commit or rollback, so a long-lived
// owner (a query slot) may reuse the object. Failures throw DbError.
class Transaction {
  public:
    Transaction() = default;
    explicit Transaction(Connection& connection,
                         TransactionMode mode = TransactionMode::ReadWrite) {
        start(connection, mode);
    }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start(Connection& connection, TransactionMode mode = TransactionMode::ReadWrite);
    void commit();
    // Commits and keeps the transaction open (bulk loads commit in batches).
    void commitRetaining();
    // Never throws: a failed rollback leaves the transaction dropped anyway.
    void rollback() noexcept;

    bool isActive() const { return m_transaction != nullptr; }
    TransactionMode mode() const { return m_mode; }
    Connection* connection() const { return m_connection; }
    Firebird::ITransaction* handle() const { return m_transaction; }

    // Runs one statement without parameters or rows in this transaction.
    void executeImmediate(const QString& sql);

  private:
    Firebird::ITransaction* m_transaction = nullptr;
    Connection* m_connection = nullptr;
    TransactionMode m_mode = TransactionMode::ReadWrite;
};

} // namespace livrax::data
