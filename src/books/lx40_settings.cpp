#include "books/lx40.h"

#include "common/dates.h"
#include "common/text.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "platform/clock.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PAR_LX40"_s;
constexpr int Lines = 190;

data::Connection* SettingsDatabase() {
    return data::DatabaseFor(u"PDE"_s);
}

// The lines the book keeps nothing in, emptied on every write.
bool Emptied(int line) {
    return line == 1 || line == 7 || line == 9 || (line >= 12 && line <= 19) ||
           (line >= 23 && line <= 30);
}

} // namespace

LX40Options LoadLX40Settings() {
    data::ParamRead(SettingsDatabase(), Key, Lines);
    const data::ParamLineArray& lines = data::ParamLines();
    LX40Options options;
    if (!lines.line(2).isEmpty()) options.title = lines.line(2);
    options.bookNumber = lines.line(3);
    options.firstPage = FirstPageText(lines.line(4), 1);
    options.layout = LX40ItemFor(LX40LayoutItems(), lines.line(5).left(2)).left(2);
    options.valueField = LX40ItemFor(LX40ValueItems(), lines.line(6).left(1)).left(1).toInt();
    options.baseDate =
        IsBlank(lines.line(8)) ? FormatShortDate(platform::Clock::today()) : lines.line(8);
    options.entryFilter = lines.line(10);
    options.exitFilter = lines.line(11);
    options.positiveOnly = lines.line(20) != u"N"_s;
    options.registerCost = lines.line(21) == u"S"_s;
    options.summary = lines.line(22) == u"S"_s;
    return options;
}

bool SaveLX40Settings(const LX40Options& options) {
    data::Connection* database = SettingsDatabase();
    data::ParamRead(database, Key, Lines);
    data::ParamLineArray& lines = data::ParamLines();
    for (int line = 1; line <= 30; ++line)
        if (Emptied(line)) lines.setLine(line, QString());
    lines.setLine(2, options.title);
    lines.setLine(3, options.bookNumber);
    lines.setLine(4, options.firstPage);
    lines.setLine(5, LX40ItemFor(LX40LayoutItems(), options.layout));
    lines.setLine(6, LX40ItemFor(LX40ValueItems(), QString::number(options.valueField)));
    lines.setLine(8, options.baseDate);
    lines.setLine(10, options.entryFilter);
    lines.setLine(11, options.exitFilter);
    const auto flag = [](bool checked) { return checked ? u"S"_s : u"N"_s; };
    lines.setLine(20, flag(options.positiveOnly));
    lines.setLine(21, flag(options.registerCost));
    lines.setLine(22, flag(options.summary));
    return data::ParamWrite(database, Key, Lines);
}

} // namespace livrax::books
