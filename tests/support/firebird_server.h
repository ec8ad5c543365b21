#pragma once

#include "data/connection.h"
#include "support/test_database.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace livrax::test {

// A Firebird server of the test's own, for what needs more than one process
// or a real network attachment: a private folder with its configuration, its
// security database with a SYSDBA password made for the run, its lock files,
// and the server process listening on a free port of 127.0.0.1. It never
// uses a server that may already run on the machine (nor its port 3050).
//
//   FirebirdServer server;
//   QVERIFY2(server.start(), qPrintable(server.errorText()));
//   data::Connection connection;
//   connection.open(server.options(u"erp.fdb"_s));
//
// Needs Debian's firebird3.0-server (the server and isql-fb); start() fails,
// saying why, when anything is missing. The destructor stops the process.
class FirebirdServer {
  public:
    FirebirdServer() = default;
    ~FirebirdServer();
    FirebirdServer(const FirebirdServer&) = delete;
    FirebirdServer& operator=(const FirebirdServer&) = delete;

    // Prepares the folder and starts the server; true once it accepts
    // attachments. False, with errorText(), when it cannot.
    bool start();
    void stop();
    const QString& errorText() const { return m_error; }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    int port() const { return m_port; }
    QString user() const { return QStringLiteral("SYSDBA"); }
    const QString& password() const { return m_password; }
    // The path of a database file in the server's folder as a client names
    // it: "127.0.0.1/port:/folder/file".
    QString databasePath(const QString& fileName) const;
    // Options to attach to (or create) that database as SYSDBA.
    data::ConnectionOptions options(const QString& fileName) const;
    // Creates the database on the server with the schema (the ERP's and the
    // program's tables, or the program's only), forced writes off.
    void createDatabase(const QString& fileName,
                        TestDatabase::Tables tables = TestDatabase::Tables::All) const;

  private:
    bool fail(const QString& why);
    // Runs isql-fb with the server's environment (embedded, on the folder's
    // files); false with errorText() when it fails.
    bool runIsql(const QStringList& arguments, const QByteArray& input);
    QProcessEnvironment environment() const;

    QTemporaryDir m_dir;
    QString m_root;
    QProcess m_process;
    int m_port = 0;
    QString m_password;
    QString m_error;
};

} // namespace livrax::test
