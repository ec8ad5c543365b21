#include "reports/key_lines.h"

#include "common/fields.h"
#include "data/param_store.h"

namespace livrax::reports {

bool ReadKeyLines(data::Connection* database, const QString& key, QStringList& lines) {
    const bool found = data::ParamRead(database, key, 0);
    lines = data::ParamLines().lines();
    return found;
}

data::ParamReadResult ReadKeyLinesChecked(data::Connection* database, const QString& key,
                                          QStringList& lines) {
    const data::ParamReadResult result = data::ParamReadChecked(database, key, 0);
    lines = data::ParamLines().lines();
    return result;
}

bool WriteKeyLines(data::Connection* database, const QString& key, const QStringList& lines,
                   const QString& title) {
    data::ParamLineArray& shared = data::ParamLines();
    for (int n = 1; n <= data::ParamLineArray::Size; ++n)
        shared.setLine(n, lines.value(n - 1));
    return data::ParamWrite(database, key, 0, title);
}

LineFields::LineFields(const QString& line, int count) : m_fields(SplitToList(line, count)) {
    while (m_fields.size() < count)
        m_fields.append(QString());
}

QString LineFields::at(int n) const {
    return m_fields.value(n - 1);
}

void LineFields::set(int n, const QString& value) {
    if (n >= 1 && n <= m_fields.size()) m_fields[n - 1] = value;
}

QString LineFields::joined() const {
    return JoinFields(m_fields);
}

} // namespace livrax::reports
