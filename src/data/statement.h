#pragma once

#include "data/db_value.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace Firebird {
class IStatement;
class IMessageMetadata;
class IResultSet;
} // namespace Firebird

namespace livrax::data {

class Connection;
class Transaction;

// A prepared statement with named parameters (":P_NAME") and exact values.
// The parameter names are mapped to positions and the result columns to
// indexes once, when the statement is prepared; rows are decoded on demand.
// Failures throw DbError.
//
//   Statement select(connection, transaction, "SELECT NOME FROM VRTNEMP WHERE SIGLA = :P_SIGLA");
//   select.bind("P_SIGLA", sigla);
//   select.open();
//   while (select.fetch()) name = select.value("NOME").toString();
class Statement {
  public:
    Statement(Connection& connection, Transaction& transaction, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return m_sql; }
    // True when the statement returns rows through a cursor (a SELECT).
    bool hasCursor() const { return m_hasCursor; }

    // Parameters. A name binds every position that carries it; binding an
    // unknown name throws. Values stay bound until changed or cleared.
    const QStringList& parameterNames() const { return m_parameterNames; }
    void bind(const QString& name, const DbValue& value);
    void bind(int position, const DbValue& value);
    void clearBindings();

    // Runs a statement without a cursor in `transaction` (the one given at
    // preparation when omitted). A statement that returns one row
    // (RETURNING, EXECUTE PROCEDURE) leaves it readable through value().
    void execute();
    void execute(Transaction& transaction);
    // Number of rows the last execute() inserted, updated or deleted.
    qint64 affectedRows();

    // Opens the cursor of a SELECT; fetch() moves to the next row and returns
    // false after the last one (and closes the cursor).
    void open();
    void open(Transaction& transaction);
    bool fetch();
    void close();
    bool isOpen() const { return m_cursor != nullptr; }

    // Columns of the current row, by index or by name (alias, upper case).
    int columnCount() const { return m_columns.size(); }
    QString columnName(int index) const { return m_columns.value(index).name; }
    // -1 when no column has that name.
    int columnIndex(const QString& name) const;
    DbValue value(int index) const;
    // Throws DbError for an unknown column name.
    DbValue value(const QString& name) const;

    struct Column {
        QString name;      // alias as the statement names it
        QString field;     // underlying column, when there is one
        QString relation;  // underlying table, when there is one
        unsigned type = 0; // database type code, without the null flag
        int subType = 0;
        int scale = 0;
        unsigned length = 0;
        unsigned offset = 0;
        unsigned nullOffset = 0;
    };
    const Column& column(int index) const { return m_columns.at(index); }

  private:
    void prepareMessages();
    void encodeParameter(int position);
    void resetInput();

    Connection& m_connection;
    Transaction& m_transaction;
    Transaction* m_activeTransaction = nullptr;
    QString m_sql;
    QStringList m_parameterNames;
    QHash<QString, QVector<int>> m_positionsByName;
    QVector<DbValue> m_parameterValues;
    QVector<Column> m_parameters;
    QVector<Column> m_columns;
    QHash<QString, int> m_columnByName;
    // Column names asked for row after row (a report names its columns the
    // same way on every row) answered by their text's address. An entry
    // holds its name, so no other text can take that address while it is
    // kept.
    struct RecentName {
        QString name;
        int index = -1;
    };
    mutable std::array<RecentName, 64> m_recentNames;
    Firebird::IStatement* m_statement = nullptr;
    Firebird::IMessageMetadata* m_inputMeta = nullptr;
    Firebird::IMessageMetadata* m_outputMeta = nullptr;
    Firebird::IResultSet* m_cursor = nullptr;
    QByteArray m_inputBuffer;
    QByteArray m_outputBuffer;
    bool m_hasCursor = false;
    bool m_hasRow = false;
};

} // namespace livrax::data
