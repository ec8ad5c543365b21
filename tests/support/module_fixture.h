#pragma once

#include "support/test_database.h"

#include <QString>

namespace livrax::test {

class FirebirdServer;

// Reads the table lists of databases 1 and 5 of the data module again.
void RefreshTableLists();

// The data module attached to two fresh test databases: database 1 with the
// whole schema (the ERP and the program's tables) and database 5 with the
// program's tables only, as the demo company has them. The table lists are
// filled and the company code is "001". The destructor
// closes every connection and resets the shared values, so tests stay apart.
class ModuleFixture {
  public:
    ModuleFixture();
    ~ModuleFixture();
    ModuleFixture(const ModuleFixture&) = delete;
    ModuleFixture& operator=(const ModuleFixture&) = delete;

    TestDatabase& erp() { return m_erp; }
    TestDatabase& store() { return m_store; }

    // Reads the table lists of both databases again (after creating or
    // dropping tables).
    void refreshTableLists();

  private:
    TestDatabase m_erp;
    TestDatabase m_store{TestDatabase::Tables::ProgramOnly};
};

// The same over a test server (FirebirdServer, already started): database 1
// with the whole schema and database 5 with the program's tables, new files
// created on the server for each fixture and attached through it, as the
// stations of a company reach them.
class ServerModuleFixture {
  public:
    explicit ServerModuleFixture(const FirebirdServer& server);
    ~ServerModuleFixture();
    ServerModuleFixture(const ServerModuleFixture&) = delete;
    ServerModuleFixture& operator=(const ServerModuleFixture&) = delete;

    // The databases' options, for another station's attachment.
    data::ConnectionOptions erp() const;
    data::ConnectionOptions store() const;

  private:
    const FirebirdServer& m_server;
    QString m_erpFile, m_storeFile;
};

} // namespace livrax::test
