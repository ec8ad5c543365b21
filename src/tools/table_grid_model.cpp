#include "tools/table_grid_model.h"

#include "data/connection.h"
#include "data/statement.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::tools {

TableGridModel::TableGridModel(QObject* parent) : QueryModel(parent) {}

void TableGridModel::openTable(const MaintenanceTable& table, const QStringList& columns,
                               const QString& filter, const QString& orderBy) {
    clearEdits();
    const QStringList all = TableColumns(table);
    m_key = TableKey(table);
    QStringList shown;
    for (const QString& column : columns)
        if (all.contains(column.trimmed().toUpper())) shown << column.trimmed().toUpper();
    if (shown.isEmpty()) shown = all;
    m_shown = int(shown.size());
    QStringList read = shown;
    for (const QString& key : m_key)
        if (!read.contains(key)) read << key;
    m_keyIndexes.clear();
    for (const QString& key : m_key)
        m_keyIndexes << int(read.indexOf(key));
    QStringList order;
    for (const QString& field : orderBy.split(u',', Qt::SkipEmptyParts))
        if (all.contains(field.trimmed().toUpper())) order << field.trimmed().toUpper();
    if (order.isEmpty()) order = m_key;
    QString sql = u"SELECT "_s + read.join(u", "_s) + u" FROM "_s + table.name;
    if (!filter.trimmed().isEmpty()) sql += u" WHERE ("_s + filter + u')';
    if (!order.isEmpty()) sql += u" ORDER BY "_s + order.join(u", "_s);
    m_keyValues.clear();
    open(*table.database, sql);
}

void TableGridModel::rowRead(const data::Statement& statement) {
    QList<data::DbValue> key;
    for (int index : m_keyIndexes)
        key << statement.value(index);
    m_keyValues << key;
}

QList<data::DbValue> TableGridModel::keyOf(int row) const {
    if (row < 0 || row >= rowCount() || row >= m_keyValues.size()) return {};
    return m_keyValues.at(row);
}

QStringList TableGridModel::keyTextsOf(int row) const {
    QStringList key;
    if (row < 0 || row >= rowCount()) return key;
    for (int index : m_keyIndexes)
        key << rowTexts(row).value(index);
    return key;
}

QList<RowEdit> TableGridModel::edits() const {
    QList<QPair<int, int>> cells = m_edits.keys();
    std::sort(cells.begin(), cells.end());
    QList<RowEdit> list;
    for (const QPair<int, int>& cell : cells)
        list.append({keyOf(cell.first), columns().at(cell.second).name, m_edits.value(cell)});
    return list;
}

void TableGridModel::clearEdits() {
    m_edits.clear();
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && index.isValid()) {
        const auto found = m_edits.constFind({index.row(), index.column()});
        if (found != m_edits.constEnd()) return *found;
    }
    return QueryModel::data(index, role);
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QueryModel::flags(index);
    if (m_editable && index.isValid() && index.column() < m_shown && !m_key.isEmpty())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    const QString text = value.toString();
    if (text == rowTexts(index.row()).value(index.column()))
        m_edits.remove({index.row(), index.column()});
    else
        m_edits.insert({index.row(), index.column()}, text);
    Q_EMIT dataChanged(index, index);
    return true;
}

} // namespace livrax::tools
