#include "support/test_database.h"

#include "data/db_error.h"
#include "data/schema.h"

#include <QFile>

#include <stdexcept>

namespace livrax::test {

using namespace Qt::StringLiterals;

namespace {

data::ConnectionOptions OptionsFor(const QString& path) {
    data::ConnectionOptions options;
    options.path = path;
    options.forcedWrites = false; // a test database need not survive a crash
    return options;
}

// The databases every TestDatabase copies, built on first use.
QString TemplatePath(TestDatabase::Tables tables) {
    static QTemporaryDir folder;
    static QString paths[2];
    QString& path = paths[tables == TestDatabase::Tables::All ? 0 : 1];
    if (path.isEmpty()) {
        if (!folder.isValid())
            throw std::runtime_error("no temporary folder for the test database");
        const bool all = tables == TestDatabase::Tables::All;
        const QString file = folder.filePath(all ? u"all.fdb"_s : u"program.fdb"_s);
        data::Connection connection;
        if (all)
            data::CreateDatabaseWithSchema(connection, OptionsFor(file),
                                           {data::SchemaPart::Erp, data::SchemaPart::System});
        else
            data::CreateDatabaseWithSchema(connection, OptionsFor(file),
                                           {data::SchemaPart::System});
        connection.close();
        path = file;
    }
    return path;
}

} // namespace

TestDatabase::TestDatabase(Tables tables) : m_connection(std::make_unique<data::Connection>()) {
    m_path = m_dir.filePath(u"test.fdb"_s);
    if (!QFile::copy(TemplatePath(tables), m_path))
        throw std::runtime_error("could not copy the template test database");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    m_connection->open(options());
}

TestDatabase::~TestDatabase() {
    m_connection->close();
}

data::ConnectionOptions TestDatabase::options() const {
    return OptionsFor(m_path);
}

void TestDatabase::load(const QString& script) {
    data::RunSqlScript(*m_connection, script);
}

void TestDatabase::loadFile(const QString& name) {
    QFile file(QStringLiteral(LIVRAX_FIXTURES_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing fixture " + name.toStdString());
    load(QString::fromUtf8(file.readAll()));
}

void TestDatabase::exec(const QString& sql) {
    m_connection->executeImmediate(sql);
}

} // namespace livrax::test
