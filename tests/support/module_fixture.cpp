#include "support/module_fixture.h"

#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/globals.h"

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
    for (int database : {1, 5}) {
        QString list;
        for (const QString& name : data::ListTables(QString(), data::B_DIR(database)))
            list += name + u',';
        data::Globals().tableLists[std::size_t(database)] = list;
    }
    data::Globals().routedName.clear();
    data::Globals().routedDatabase = 0;
}

} // namespace livrax::test
