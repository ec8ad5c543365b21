#include "support/module_fixture.h"

#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "support/firebird_server.h"

namespace livrax::test {

using namespace Qt::StringLiterals;

ModuleFixture::ModuleFixture() {
    data::DataModule().closeAll();
    data::ResetGlobals();
    data::Globals().registry.dirs[1] = m_erp.path();
    data::Globals().registry.dirs[5] = m_store.path();
    data::B_DIR(1)->open(m_erp.options());
    data::B_DIR(5)->open(m_store.options());
    data::Globals().company.companyCode = u"001"_s;
    refreshTableLists();
}

ModuleFixture::~ModuleFixture() {
    data::DataModule().closeAll();
    data::ResetGlobals();
}

void ModuleFixture::refreshTableLists() {
    RefreshTableLists();
}

void RefreshTableLists() {
    for (int database : {1, 5}) {
        QString list;
        for (const QString& name : data::ListTables(QString(), data::B_DIR(database)))
            list += name + u',';
        data::Globals().tableLists[std::size_t(database)] = list;
    }
    data::Globals().routedName.clear();
    data::Globals().routedDatabase = 0;
}

ServerModuleFixture::ServerModuleFixture(const FirebirdServer& server) : m_server(server) {
    static int fixtures = 0;
    const QString number = QString::number(++fixtures);
    m_erpFile = u"erp"_s + number + u".fdb"_s;
    m_storeFile = u"store"_s + number + u".fdb"_s;
    data::DataModule().closeAll();
    data::ResetGlobals();
    server.createDatabase(m_erpFile);
    server.createDatabase(m_storeFile, TestDatabase::Tables::ProgramOnly);
    data::Globals().registry.dirs[1] = erp().path;
    data::Globals().registry.dirs[5] = store().path;
    data::B_DIR(1)->open(erp());
    data::B_DIR(5)->open(store());
    data::Globals().company.companyCode = u"001"_s;
    RefreshTableLists();
}

ServerModuleFixture::~ServerModuleFixture() {
    data::DataModule().closeAll();
    data::ResetGlobals();
}

data::ConnectionOptions ServerModuleFixture::erp() const {
    return m_server.options(m_erpFile);
}

data::ConnectionOptions ServerModuleFixture::store() const {
    return m_server.options(m_storeFile);
}

} // namespace livrax::test
