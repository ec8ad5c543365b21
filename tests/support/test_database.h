#pragma once

#include "data/connection.h"
#include "data/transaction.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace livrax::test {

// A fresh embedded database with the whole schema (ERP and program tables),
// in a temporary folder removed when the object goes away. The schema is
// loaded once per test process into a template file; every TestDatabase is a
// copy of it, so creating one takes milliseconds.
class TestDatabase {
  public:
    // Which tables the database starts with.
    enum class Tables { All, ProgramOnly };

    explicit TestDatabase(Tables tables = Tables::All);
    ~TestDatabase();

    const QString& path() const { return m_path; }
    data::Connection& connection() { return *m_connection; }
    data::ConnectionOptions options() const;

    // Runs the statements of a small hand-written fixture (INSERTs, UPDATEs)
    // in one transaction: statements end with ";" at the end of a line and
    // whole-line "--" comments are allowed, as in the schema files.
    void load(const QString& script);
    // Loads the fixture file `name` from tests/fixtures/.
    void loadFile(const QString& name);
    // Runs one statement and commits it.
    void exec(const QString& sql);

  private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<data::Connection> m_connection;
};

} // namespace livrax::test
