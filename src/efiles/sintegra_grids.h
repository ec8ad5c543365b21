#pragma once
// The staging grids of the SINTEGRA window as read-only tables over the
// staged rows: column 0 "Seq" numbers the rows, column 1 holds the record
// type of a document row ("**" on a section row, whose title follows in
// column 2), amounts show with two decimals and the decimal comma.

#include "efiles/sintegra_layout.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <vector>

namespace livrax::efiles {

// What a grid shows: its captions (columns 1 to last), its rows' texts and
// which columns are amounts (right-aligned) or hidden.
struct StagedGrid {
    QStringList captions;
    int rows = 0;
    std::function<QStringList(int row)> cells; // columns 1 to last of a row
    QSet<int> amountColumns;                   // 1-based, as the captions
    QList<int> hiddenColumns;
};

// The grids over staged rows; the rows must outlive the grid (the window
// keeps them with the model).
StagedGrid Grid50(const std::vector<Row50>& rows);
StagedGrid Grid51(const std::vector<Row51>& rows);
StagedGrid Grid53(const std::vector<Row53>& rows);
StagedGrid Grid61(const std::vector<Row61>& rows);
StagedGrid Grid70(const std::vector<Row70>& rows);
StagedGrid Grid71(const std::vector<Row71>& rows);
StagedGrid Grid75(const std::vector<Product75>& products);

// An amount or rate as a total label or a grid cell shows it: FormatDecimal
// with two decimals, trimmed.
QString AmountText(qint64 tenThousandths);

// One staged grid, read-only: the texts are made as the view asks for them.
class StagedGridModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setGrid(StagedGrid grid);
    const StagedGrid& grid() const { return m_grid; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    StagedGrid m_grid;
};

} // namespace livrax::efiles
