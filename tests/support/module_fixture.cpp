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
    data::DataModule().closeAll();
    data::ResetGlobals();
    server.createDatabase(u"erp.fdb"_s);
    server.createDatabase(u"store.fdb"_s, TestDatabase::Tables::ProgramOnly);
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
    return m_server.options(u"erp.fdb"_s);
}

data::ConnectionOptions ServerModuleFixture::store() const {
    return m_server.options(u"store.fdb"_s);
}

} // namespace livrax::test
