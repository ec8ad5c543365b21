#include "data/routing.h"

#include "data/data_module.h"
#include "data/globals.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

bool ListHolds(int database, const QString& entry) {
    return Globals().tableLists[std::size_t(database)].contains(entry);
}

} // namespace

QString ResolveTableName(const QString& code) {
    const QString name = code.section(u' ', 0, 0).trimmed();
    if (name.size() == 3) {
        const QString table = u"VRTN"_s + name;
        const QString company = Globals().company.companyCode;
        // Per-company tables are looked for only in databases 5 and 1.
        for (int database : {5, 1}) {
            if (ListHolds(database, table + company + u',')) return table + company;
            if (ListHolds(database, table + u',')) return table;
        }
        return table.toUpper();
    }
    if (name.size() >= 4 && name.size() <= 6 && name.startsWith(u"VRTN"_s)) return name.toUpper();
    return name;
}

Connection* DatabaseFor(const QString& code) {
    SharedGlobals& globals = Globals();
    const QString name = ResolveTableName(code);
    if (!name.isEmpty() && name == globals.routedName && globals.routedDatabase != 0) {
        Connection* cached = B_DIR(globals.routedDatabase);
        if (cached->isConnected()) {
            globals.registry.dirDefault = cached->path();
            return cached;
        }
    }
    globals.routedName.clear();
    globals.routedDatabase = 0;
    int chosen = 0;
    for (int database : {5, 3, 2, 1}) {
        if (ListHolds(database, name + u',') || name == QString::number(database)) {
            chosen = database;
            break;
        }
    }
    if (chosen == 0) return nullptr;
    globals.routedName = name;
    globals.routedDatabase = chosen;
    Connection* connection = B_DIR(chosen);
    globals.registry.dirDefault = connection->path();
    return connection;
}

} // namespace livrax::data
