#include "tools/query_model.h"

#include "data/db_error.h"
#include "data/statement.h"
#include "data/transaction.h"

namespace livrax::tools {

namespace {

// The engine's type codes (the null flag cleared).
constexpr unsigned SqlText = 452, SqlVarying = 448, SqlShort = 500, SqlLong = 496, SqlInt64 = 580,
                   SqlFloat = 482, SqlDouble = 480, SqlDFloat = 530, SqlTimestamp = 510,
                   SqlDate = 570;

QueryColumn DescribeColumn(const data::Statement::Column& column) {
    QueryColumn info;
    info.name = column.name;
    switch (column.type) {
    case SqlShort:
    case SqlLong:
    case SqlInt64:
        info.kind = column.scale == 0 ? ColumnKind::Integer : ColumnKind::Decimal;
        break;
    case SqlFloat:
    case SqlDouble:
    case SqlDFloat:
        info.kind = ColumnKind::Float;
        break;
    case SqlDate:
        info.kind = ColumnKind::Date;
        break;
    case SqlTimestamp:
        info.kind = ColumnKind::Timestamp;
        break;
    case SqlText:
    case SqlVarying:
        info.size = int(column.length);
        break;
    default:
        break;
    }
    return info;
}

} // namespace

QueryModel::QueryModel(QObject* parent) : QAbstractTableModel(parent) {}

QueryModel::~QueryModel() {
    release();
}

void QueryModel::release() {
    m_statement.reset();
    if (m_transaction && m_transaction->isActive()) {
        // The snapshot only read: ending it either way releases it.
        try {
            m_transaction->commit();
        } catch (const data::DbError&) {
            m_transaction->rollback();
        }
    }
    m_transaction.reset();
}

void QueryModel::open(data::Connection& connection, const QString& sql) {
    close();
    beginResetModel();
    try {
        m_transaction =
            std::make_unique<data::Transaction>(connection, data::TransactionMode::ReadSnapshot);
        m_statement = std::make_unique<data::Statement>(connection, *m_transaction, sql);
        m_statement->open();
        for (int i = 0; i < m_statement->columnCount(); ++i) {
            m_columns << m_statement->columnName(i);
            m_columnInfo << DescribeColumn(m_statement->column(i));
        }
        m_atEnd = false;
    } catch (...) {
        release();
        m_columns.clear();
        m_columnInfo.clear();
        endResetModel();
        throw;
    }
    endResetModel();
    fetchMore();
}

void QueryModel::close() {
    beginResetModel();
    release();
    m_columns.clear();
    m_columnInfo.clear();
    m_rows.clear();
    m_atEnd = true;
    m_fetchError.clear();
    endResetModel();
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole && m_columnInfo.value(index.column()).numeric())
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (index.row() >= m_rows.size()) return {};
    return m_rows.at(index.row()).value(index.column());
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return m_columns.value(section);
    return section + 1;
}

bool QueryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_statement && !m_atEnd;
}

void QueryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    QList<QStringList> batch;
    try {
        while (batch.size() < m_batchSize) {
            if (!m_statement->fetch()) {
                m_atEnd = true;
                break;
            }
            QStringList row;
            row.reserve(m_statement->columnCount());
            for (int i = 0; i < m_statement->columnCount(); ++i)
                row << m_statement->value(i).toString();
            rowRead(*m_statement);
            batch << row;
        }
    } catch (const data::DbError& error) {
        // The rows read so far stay; the grid simply ends there.
        m_fetchError = error.message();
        m_atEnd = true;
    }
    if (batch.isEmpty()) return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(batch.size()) - 1);
    m_rows << batch;
    endInsertRows();
}

} // namespace livrax::tools
