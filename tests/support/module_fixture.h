#pragma once

#include "support/test_database.h"

namespace livrax::test {

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

} // namespace livrax::test
