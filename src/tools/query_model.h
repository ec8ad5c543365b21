#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace livrax::data {
class Connection;
class Statement;
class Transaction;
} // namespace livrax::data

namespace livrax::tools {

// What a grid column holds, from the statement's metadata: whole numbers,
// floating-point numbers, scaled numbers (NUMERIC, DECIMAL), dates,
// timestamps, or text (text BLOBs and every other type included).
enum class ColumnKind { Text, Integer, Float, Decimal, Date, Timestamp };

struct QueryColumn {
    QString name;
    ColumnKind kind = ColumnKind::Text;
    // Characters of a CHAR or VARCHAR column; 0 for every other type.
    int size = 0;
    bool numeric() const {
        return kind == ColumnKind::Integer || kind == ColumnKind::Float ||
               kind == ColumnKind::Decimal;
    }
};

// The rows of one SELECT for a grid, read only as the grid shows them: the
// statement stays open in a read-only snapshot of its own, and each
// fetchMore() reads the next batch. The column headers are the statement's
// column names; every value is shown as text (NULL as blank). The grid of a
// report, of a table's rows and of the generic query all use it.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int DefaultBatchSize = 200;

    explicit QueryModel(QObject* parent = nullptr);
    ~QueryModel() override;

    // Prepares and opens `sql` on `connection` and reads the first batch.
    // Whatever was open before is closed first. Throws DbError when the
    // database refuses the statement; the model is empty and closed then.
    void open(data::Connection& connection, const QString& sql);
    // Ends the statement and its transaction and empties the model.
    void close();
    bool isOpen() const { return m_statement != nullptr; }

    // Rows read per fetch; takes effect from the next fetch.
    void setBatchSize(int rows) { m_batchSize = rows > 0 ? rows : 1; }
    int batchSize() const { return m_batchSize; }

    // The columns of the open statement.
    const QList<QueryColumn>& columns() const { return m_columnInfo; }
    // The texts of a row read so far (0 <= row < rowCount()), one per column.
    const QStringList& rowTexts(int row) const { return m_rows.at(row); }

    // The database's message when reading a batch failed (the rows read
    // until then stay); empty otherwise.
    const QString& fetchError() const { return m_fetchError; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

  protected:
    // Called for each row as it is read, before the grid gets it, with the
    // statement on that row: a model that keeps more of a row than its texts.
    virtual void rowRead(const data::Statement&) {}

  private:
    void release();

    std::unique_ptr<data::Transaction> m_transaction;
    std::unique_ptr<data::Statement> m_statement;
    QStringList m_columns;
    QList<QueryColumn> m_columnInfo;
    QList<QStringList> m_rows;
    bool m_atEnd = true;
    int m_batchSize = DefaultBatchSize;
    QString m_fetchError;
};

} // namespace livrax::tools
