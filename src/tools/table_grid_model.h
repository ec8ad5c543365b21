#pragma once

#include "tools/query_model.h"
#include "tools/table_maintenance.h"

#include <QHash>
#include <QPair>

namespace livrax::tools {

// The rows of one table for the maintenance grid, read only as the grid
// shows them (QueryModel), and editable while the window is changing rows:
// typed values are kept as pending edits until the window saves them in one
// transaction (SaveRowEdits) or drops them. The key columns are read too,
// after the shown ones when the column list leaves them out, so every row
// can be written back by its key.
class TableGridModel : public QueryModel {
    Q_OBJECT

  public:
    explicit TableGridModel(QObject* parent = nullptr);

    // Opens the rows of `table`: the `columns` shown (every column when
    // empty), narrowed by `filter` and ordered by `orderBy` ("," separated
    // fields; the key when empty). Columns not in the table are left out.
    // Throws DbError when the database refuses the statement.
    void openTable(const MaintenanceTable& table, const QStringList& columns, const QString& filter,
                   const QString& orderBy);
    // Columns from this one on are only the key read for saving.
    int shownColumns() const { return m_shown; }
    const QStringList& keyColumns() const { return m_key; }
    // The key values of a row read so far, as the database gave them (a
    // date, a number), for finding the row again; the shown texts would
    // lose the century of a date and the digits of a number.
    QList<data::DbValue> keyOf(int row) const;
    // The same as the grid shows them.
    QStringList keyTextsOf(int row) const;

    void setEditable(bool editable) { m_editable = editable; }
    bool editable() const { return m_editable; }
    bool hasEdits() const { return !m_edits.isEmpty(); }
    // The pending edits, row by row.
    QList<RowEdit> edits() const;
    void clearEdits();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  protected:
    void rowRead(const data::Statement& statement) override;

  private:
    QStringList m_key;
    QList<int> m_keyIndexes;
    int m_shown = 0;
    bool m_editable = false;
    QHash<QPair<int, int>, QString> m_edits;
    QList<QList<data::DbValue>> m_keyValues; // row by row, as read
};

} // namespace livrax::tools
