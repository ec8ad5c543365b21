#include "efiles/datahouse_settings.h"

#include "data/connection.h"
#include "data/param_store.h"
#include "data/routing.h"

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_DH_PDS"_s;
constexpr int Lines = 20;

// The lines of the key that the export keeps.
enum Line { StartDate = 3, EndDate = 4, Filter = 6, Folder = 11, WriteIcms = 12 };

// The key lives with the invoices it describes.
data::Connection* SettingsDatabase() {
    return data::DatabaseFor(u"PDS"_s);
}

} // namespace

DataHouseOptions LoadDataHouseSettings() {
    data::ParamRead(SettingsDatabase(), Key, Lines);
    const data::ParamLineArray& read = data::ParamLines();
    DataHouseOptions options;
    options.startDate = read.line(StartDate);
    options.endDate = read.line(EndDate);
    options.filter = read.line(Filter);
    options.folder = read.line(Folder);
    options.writeIcms = read.line(WriteIcms) != u"N"_s;
    return options;
}

bool SaveDataHouseSettings(const DataHouseOptions& options) {
    data::Connection* database = SettingsDatabase();
    if (!database || !database->isConnected()) return false;
    // Read again first, so that the lines the export does not set keep what
    // is stored in them.
    data::ParamRead(database, Key, Lines);
    data::ParamLineArray& lines = data::ParamLines();
    lines.setLine(StartDate, options.startDate);
    lines.setLine(EndDate, options.endDate);
    lines.setLine(Filter, options.filter);
    lines.setLine(Folder, options.folder);
    lines.setLine(WriteIcms, options.writeIcms ? u"S"_s : u"N"_s);
    return data::ParamWrite(database, Key, Lines);
}

} // namespace livrax::efiles
