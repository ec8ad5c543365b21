#include "books/lx67.h"

#include "data/param_store.h"
#include "data/routing.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_LX67"_s;
constexpr int Lines = 190;

data::Connection* SettingsDatabase() {
    return data::DatabaseFor(u"PDS"_s);
}

} // namespace

LX67Options LoadLX67Settings() {
    data::ParamRead(SettingsDatabase(), Key, Lines);
    const data::ParamLineArray& lines = data::ParamLines();
    LX67Options options;
    options.startDate = lines.line(1);
    options.endDate = lines.line(2);
    options.filter = lines.line(4);
    options.order = lines.line(5);
    options.swapTitles = lines.line(6) == u"S"_s;
    return options;
}

bool SaveLX67Settings(const LX67Options& options) {
    data::Connection* database = SettingsDatabase();
    data::ParamRead(database, Key, Lines);
    data::ParamLineArray& lines = data::ParamLines();
    lines.setLine(1, options.startDate);
    lines.setLine(2, options.endDate);
    lines.setLine(4, options.filter);
    lines.setLine(5, options.order);
    lines.setLine(6, options.swapTitles ? u"S"_s : u"N"_s);
    return data::ParamWrite(database, Key, Lines);
}

} // namespace livrax::books
