#pragma once

#include "data/db_error.h"

#include <QString>

namespace Firebird {
class IAttachment;
}

namespace livrax::data {

// Where and how to attach. A plain file path opens the database with the
// embedded engine (no server); "host:path" or "host/port:path" reaches a
// database server. Every attachment uses SQL dialect 3 and the WIN1252
// character set for its data; the path itself goes to the engine in UTF-8,
// so a folder named in any language opens.
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

// Why an attachment failed, read from the client's error codes. This is the
// one reading of them: every message about a database that could not be
// opened (start-up, "livrax info", the command-line jobs) shows it.
enum class ConnectFailure {
    Other,       // none of the reasons below: the engine's message says it
    NoFile,      // the file (or its folder) does not exist
    NotDatabase, // the file is not a database, or is damaged beyond opening
    InUse,       // another program holds the file
    Login,       // the server refused the user name or password
    NoAccess,    // the operating system refused access to the file
};

// The reason in words, for the messages of the program ("o arquivo não
// existe"); empty for Other.
QString ConnectFailureText(ConnectFailure failure);

// A failed open or create. message() is "Erro ao abrir PATH: " followed by
// reason(); failure() tells the reason apart.
class ConnectError : public DbError {
  public:
    ConnectError(const QString& what, ConnectFailure failure, const QString& engineMessage);
    ConnectFailure failure() const { return m_failure; }
    // The reason in words followed by the engine's own message in brackets,
    // or the engine's message alone when the reason is Other.
    const QString& reason() const { return m_reason; }
    const QString& engineMessage() const { return m_engineMessage; }

  private:
    ConnectFailure m_failure;
    QString m_reason;
    QString m_engineMessage;
};

// One attachment to one database. Closed until open() or create() succeeds;
// detaches on destruction. A failure to attach or create throws ConnectError,
// other failures DbError.
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

// Stops the database engine of this process: every attachment still open is
// closed and the embedded engine's threads end. Called once, as the program
// leaves, so that no engine thread is still running while the process exits;
// nothing opens a database afterwards.
void ShutdownDatabaseEngine();

} // namespace livrax::data
