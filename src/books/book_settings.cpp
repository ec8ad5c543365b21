#include "books/book_settings.h"

#include "common/fields.h"
#include "data/param_store.h"
#include "data/routing.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

SavedLines ReadLineSettings(const QString& key, const QString& table, int lines,
                            const QMap<int, bool>& checkedByDefault, const QList<int>& textLines) {
    data::ParamRead(data::DatabaseFor(table), key, lines);
    const data::ParamLineArray& read = data::ParamLines();
    SavedLines saved;
    const QStringList dates = SplitToList(read.line(3));
    saved.period.startDate = dates.value(0);
    saved.period.endDate = dates.value(1);
    saved.period.dateField = dates.value(2);
    saved.period.filter = read.line(4);
    saved.period.firstPage = FirstPageText(read.line(6), 1);
    for (auto it = checkedByDefault.cbegin(); it != checkedByDefault.cend(); ++it) {
        const QString value = read.line(it.key());
        saved.checks.insert(it.key(), it.value() ? value != u"N"_s : value == u"S"_s);
    }
    for (const int line : textLines)
        saved.texts.insert(line, read.line(line));
    return saved;
}

bool WriteLineSettings(const QString& key, const QString& table, int lines,
                       const BookPeriod& period, const QMap<int, bool>& checks,
                       const QMap<int, QString>& texts) {
    data::Connection* database = data::DatabaseFor(table);
    data::ParamRead(database, key, lines);
    data::ParamLineArray& written = data::ParamLines();
    const QStringList stored = SplitToList(written.line(3));
    written.setLine(3, JoinFields({period.startDate, period.endDate, period.dateField,
                                   stored.value(3), stored.value(4)},
                                  5));
    written.setLine(4, period.filter);
    written.setLine(6, period.firstPage);
    for (auto it = checks.cbegin(); it != checks.cend(); ++it)
        written.setLine(it.key(), it.value() ? u"S"_s : u"N"_s);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        written.setLine(it.key(), it.value());
    return data::ParamWrite(database, key, lines);
}

} // namespace livrax::books
