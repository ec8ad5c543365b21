#include "books/lx52.h"

#include "common/fields.h"
#include "data/param_store.h"
#include "data/routing.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_LX52"_s;
constexpr int Lines = 190;

data::Connection* SettingsDatabase() {
    return data::DatabaseFor(u"PDE"_s);
}

// A saved radio index; one out of range selects the first item.
int RadioIndex(const QString& text, int items) {
    const int index = ToInt(text);
    return index >= 0 && index < items ? index : 0;
}

} // namespace

LX52Options LoadLX52Settings() {
    data::ParamRead(SettingsDatabase(), Key, Lines);
    const data::ParamLineArray& lines = data::ParamLines();
    LX52Options options;
    if (!lines.line(2).isEmpty()) options.year = lines.line(2);
    options.period.filter = lines.line(3);
    options.period.firstPage = FirstPageText(lines.line(4), 1);
    options.side = LX52Side(RadioIndex(lines.line(5), 2));
    options.grouping = LX52Grouping(RadioIndex(lines.line(6), 3));
    options.period.startDate = lines.line(7);
    options.period.endDate = lines.line(8);
    return options;
}

bool SaveLX52Settings(const LX52Options& options) {
    data::Connection* database = SettingsDatabase();
    data::ParamRead(database, Key, Lines);
    data::ParamLineArray& lines = data::ParamLines();
    lines.setLine(2, options.year);
    lines.setLine(3, options.period.filter);
    lines.setLine(4, options.period.firstPage);
    lines.setLine(5, QString::number(int(options.side)));
    lines.setLine(6, QString::number(int(options.grouping)));
    lines.setLine(7, options.period.startDate);
    lines.setLine(8, options.period.endDate);
    lines.setLine(9, QString());
    return data::ParamWrite(database, Key, Lines);
}

} // namespace livrax::books
