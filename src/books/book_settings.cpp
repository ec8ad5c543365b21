#include "books/book_settings.h"

#include "common/fields.h"
#include "data/param_store.h"
#include "data/routing.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

LoadedBookSettings LoadBookSettings(const LineBookSettings& layout) {
    data::ParamRead(data::DatabaseFor(layout.table), layout.key, layout.lines);
    const data::ParamLineArray& lines = data::ParamLines();
    LoadedBookSettings loaded;
    const QStringList dates = SplitToList(lines.line(3));
    loaded.period.startDate = dates.value(0);
    loaded.period.endDate = dates.value(1);
    loaded.period.dateField = dates.value(2);
    loaded.period.filter = lines.line(4);
    loaded.period.firstPage = ToInt(lines.line(6)) != 0 ? lines.line(6) : u"1"_s;
    for (int i = 0; i < layout.checkedByDefault.size(); ++i) {
        const QString value = lines.line(7 + i);
        loaded.checks.append(layout.checkedByDefault[i] ? value != u"N"_s : value == u"S"_s);
    }
    return loaded;
}

void SaveBookSettings(const LineBookSettings& layout, const BookPeriod& period,
                      const QList<bool>& checks) {
    data::Connection* database = data::DatabaseFor(layout.table);
    data::ParamRead(database, layout.key, layout.lines);
    data::ParamLineArray& lines = data::ParamLines();
    const QStringList stored = SplitToList(lines.line(3));
    lines.setLine(3, JoinFields({period.startDate, period.endDate, period.dateField,
                                 stored.value(3), stored.value(4)},
                                5));
    lines.setLine(4, period.filter);
    lines.setLine(6, period.firstPage);
    for (int i = 0; i < checks.size(); ++i)
        lines.setLine(7 + i, checks[i] ? u"S"_s : u"N"_s);
    data::ParamWrite(database, layout.key, layout.lines);
}

} // namespace livrax::books
