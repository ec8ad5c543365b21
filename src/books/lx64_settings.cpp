#include "books/lx64.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "data/catalogue.h"
#include "data/param_store.h"
#include "data/query_helpers.h"
#include "data/routing.h"
#include "platform/clock.h"

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_LX64"_s;
constexpr int Lines = 20;

data::Connection* SettingsDatabase() {
    return data::DatabaseFor(u"PDS"_s);
}

} // namespace

LX64Settings LoadLX64Settings() {
    data::ParamRead(SettingsDatabase(), Key, Lines);
    const data::ParamLineArray& lines = data::ParamLines();
    LX64Settings settings;
    LX64Options& options = settings.options;
    const QString today = FormatShortDate(platform::Clock::today());
    settings.savedOn = lines.line(2);
    const QStringList period = SplitToList(lines.line(3), 2);
    options.startDate = period.value(0);
    options.endDate = period.value(1);
    options.filter = lines.line(4);
    options.firstPage = ToInt(lines.line(5)) == 0 ? u"1"_s : lines.line(5);
    options.series = lines.line(6);
    options.fontSize = ToInt(lines.line(9)) == 0 ? u"7"_s : lines.line(9);
    options.type = std::clamp(ToInt(lines.line(10)), 0, 2);
    options.state = std::clamp(ToInt(lines.line(11)), 0, 2);
    options.allInvoices = lines.line(12) == u"S"_s;
    // A blank start is the first day of this month.
    if (IsBlank(options.startDate)) options.startDate = u"01"_s + today.mid(2, 6);
    // The first window of a day builds the table again.
    options.build = settings.savedOn != today;
    return settings;
}

bool SaveLX64Settings(const LX64Options& options) {
    data::Connection* database = SettingsDatabase();
    data::ParamRead(database, Key, Lines);
    data::ParamLineArray& lines = data::ParamLines();
    lines.setLine(2, FormatShortDate(platform::Clock::today()));
    lines.setLine(3, JoinFields({options.startDate, options.endDate}, 5));
    lines.setLine(4, options.filter);
    lines.setLine(5, options.firstPage);
    lines.setLine(6, options.series);
    lines.setLine(9, options.fontSize);
    lines.setLine(10, QString::number(options.type));
    lines.setLine(11, QString::number(options.state));
    lines.setLine(12, options.allInvoices ? u"S"_s : u"N"_s);
    return data::ParamWrite(database, Key, Lines);
}

bool LX64NeedsBuild(const QString& startDate) {
    data::Connection* database = data::DatabaseFor(u"PDS"_s);
    if (!data::TableExists(u"VRTNP50"_s, database)) return true;
    if (data::CountRows(u"P50"_s, {}, database) == 0) return true;
    if (IsBlank(startDate) || !IsValidShortDate(startDate)) return false;
    const QString last = data::MaxOf(u"P50"_s, u"DTNOTA"_s);
    const QDate lastDate = ParseDate(last);
    return !lastDate.isValid() || ParseDate(startDate) > lastDate;
}

} // namespace livrax::books
