#pragma once

#include <QString>

namespace Firebird {
class IAttachment;
}

namespace livrax::data {

// Where and how to attach. A plain file path opens the database with the
// embedded engine (no server); "host:path" or "host/port:path" reaches a
// database server. Every attachment uses SQL dialect 3 and the WIN1252
// character set.
struct ConnectionOptions {
    QString path;
    QString user = QStringLiteral("SYSDBA");
    QString password;
    // Used only when a database file is created.
    int pageSize = 8192;
    // Synchronous writes; throw-away databases (tests, benchmarks) switch them
    // off for speed.
    bool forcedWrites = true;
};

// One attachment to one database. Closed until open() or create() succeeds;
// detaches on destruction. Failures throw DbError.
class Connection {
  public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void open(const ConnectionOptions& options);
    // Opens again with the options of the last open (or of setOptions).
    void open();
    // Creates a new, empty database file with default character set WIN1252
    // and stays attached to it.
    void create(const ConnectionOptions& options);
    // Detaches; errors while detaching are ignored (the attachment is gone).
    // The options are kept, so the same database can be opened again.
    void close();

    // Where the next open() attaches; closes nothing.
    void setOptions(const ConnectionOptions& options) { m_options = options; }
    const ConnectionOptions& options() const { return m_options; }

    bool isConnected() const { return m_attachment != nullptr; }
    // The database path, also while closed.
    const QString& path() const { return m_options.path; }
    Firebird::IAttachment* attachment() const { return m_attachment; }

    // Runs one statement that returns no rows (DDL included) in a transaction
    // of its own and commits it.
    void executeImmediate(const QString& sql);

  private:
    void attach(const ConnectionOptions& options, bool creating);

    Firebird::IAttachment* m_attachment = nullptr;
    ConnectionOptions m_options;
};

} // namespace livrax::data
