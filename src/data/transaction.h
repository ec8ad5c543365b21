#pragma once

#include <QString>

namespace Firebird {
class ITransaction;
}

namespace livrax::data {

class Connection;

// A transaction on one connection, scoped: rolled back on destruction unless
// committed. It can be started again after commit or rollback, so a long-lived
// owner (a query slot) may reuse the object. Failures throw DbError.
class Transaction {
  public:
    Transaction() = default;
    explicit Transaction(Connection& connection) { start(connection); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start(Connection& connection);
    void commit();
    // Commits and keeps the transaction open (bulk loads commit in batches).
    void commitRetaining();
    // Never throws: a failed rollback leaves the transaction dropped anyway.
    void rollback() noexcept;

    bool isActive() const { return m_transaction != nullptr; }
    Connection* connection() const { return m_connection; }
    Firebird::ITransaction* handle() const { return m_transaction; }

    // Runs one statement without parameters or rows in this transaction.
    void executeImmediate(const QString& sql);

  private:
    Firebird::ITransaction* m_transaction = nullptr;
    Connection* m_connection = nullptr;
};

} // namespace livrax::data
