#include "tools/table_maintenance.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/indexes.h"
#include "data/metadata.h"
#include "data/param_store.h"
#include "data/rights.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "expr/expression.h"
#include "platform/stop_signals.h"

#include <QDateTime>
#include <QHash>

#include <functional>
#include <optional>

#include <memory>

using namespace Qt::StringLiterals;

namespace livrax::tools {

namespace {

constexpr int ColumnListLine = 21;
constexpr int MaxGridColumns = 190;
// Engine type codes of the text columns (without the null flag).
constexpr unsigned TextType = 452, VaryingType = 448, BlobType = 520, DateType = 570,
                   TimestampType = 510;

// Why a walk or a write ended early on a stop signal (Ctrl-C, `kill`).
QString StoppedBySignal() {
    return u"interrompido pelo sinal "_s + QString::fromLatin1(platform::StopSignalName());
}

bool IsTextType(unsigned type) {
    return type == TextType || type == VaryingType || type == BlobType;
}

// A text as the grid shows it or as a function works it out, made the value
// of a column of `type`: dates and moments written day first ("05/03/26",
// "05/03/26 08:30:00", as the grid shows them) become dates, which the
// engine would not read from such a text; anything else (numbers with a
// decimal comma included) goes as text, for the data layer and the engine to
// take or refuse. An empty text is null outside the text columns.
data::DbValue ColumnValue(unsigned type, const QString& text) {
    if (IsTextType(type)) return data::DbValue(text);
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return data::DbValue::null();
    if (type == DateType || type == TimestampType) {
        const QString day = trimmed.section(u' ', 0, 0);
        const QDate date = ParseDate(day);
        if (!date.isValid() || !day.contains(u'/')) return data::DbValue(trimmed);
        if (type == DateType) return data::DbValue(date);
        const QString clock = trimmed.section(u' ', 1).trimmed();
        QTime time = clock.isEmpty() ? QTime(0, 0) : QTime::fromString(clock, u"hh:mm:ss"_s);
        if (!time.isValid()) time = QTime::fromString(clock, u"hh:mm"_s);
        if (!time.isValid()) return data::DbValue(trimmed);
        return data::DbValue(QDateTime(date, time));
    }
    return data::DbValue(trimmed);
}

// The table's name without the company suffix, upper case.
QString BaseName(const QString& table) {
    QString name = table.trimmed().toUpper();
    const QString company = data::Globals().company.companyCode.toUpper();
    if (name.startsWith(u"VRTN"_s) && name.size() > 7 && !company.isEmpty() &&
        name.endsWith(company) && name.size() == 7 + company.size())
        name.chop(company.size());
    return name;
}

bool ValidColumnName(const QString& name) {
    if (name.isEmpty() || !(name.at(0).isLetter())) return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'$')) return false;
    return true;
}

// The current row of a statement, for the field expressions of the mass change.
class StatementRow : public expr::ExpressionRow {
  public:
    explicit StatementRow(const data::Statement& statement) : m_statement(statement) {}
    std::optional<QString> field(const QString& name) const override {
        int index = m_statement.columnIndex(name);
        if (index < 0) index = m_statement.columnIndex(name.toUpper());
        if (index < 0) return std::nullopt;
        return m_statement.value(index).toString();
    }

  private:
    const data::Statement& m_statement;
};

// One row to write: the key values as read (or typed) and the new value.
struct Update {
    QList<data::DbValue> key;
    QString field;
    QString value;
};

QString KeyText(const QStringList& keyColumns, const QList<data::DbValue>& key) {
    QStringList parts;
    for (int i = 0; i < keyColumns.size() && i < key.size(); ++i)
        parts << keyColumns[i] + u'=' + key[i].toString();
    return parts.join(u", "_s);
}

ChangeResult Refused() {
    ChangeResult result;
    result.refused = true;
    result.message = u"Usuário não autorizado para alterar esta tabela"_s;
    return result;
}

ChangeResult Failed(const QString& message) {
    ChangeResult result;
    result.message = message;
    return result;
}

// Runs one statement over the table with `values` bound in order, in a
// transaction of its own: the rows it touched, or, when the database refuses
// it, `failure` followed by the database's reason and nothing changed.
ChangeResult RunOnce(const MaintenanceTable& table, const QString& sql,
                     const QList<data::DbValue>& values, const QString& failure) {
    ChangeResult result;
    try {
        data::Transaction transaction(*table.database);
        data::Statement statement(*table.database, transaction, sql);
        for (int i = 0; i < values.size(); ++i)
            statement.bind(i, values[i]);
        statement.execute();
        result.changed = statement.affectedRows();
        transaction.commit();
        result.ok = true;
    } catch (const data::DbError& error) {
        result.message = failure + error.message();
    }
    return result;
}

// The column metadata of the table: name -> whether it holds text.
QHash<QString, unsigned> ColumnKinds(const MaintenanceTable& table, QStringList* order = nullptr) {
    QHash<QString, unsigned> kinds;
    if (!table.valid()) return kinds;
    try {
        data::Transaction transaction(*table.database, data::TransactionMode::ReadSnapshot);
        data::Statement select(*table.database, transaction,
                               u"SELECT * FROM "_s + table.name + u" WHERE 1 = 0"_s);
        for (int i = 0; i < select.columnCount(); ++i) {
            const data::Statement::Column& column = select.column(i);
            kinds.insert(column.name, column.type);
            if (order) order->append(column.name);
        }
        transaction.commit();
    } catch (const data::DbError&) {
        kinds.clear();
        if (order) order->clear();
    }
    return kinds;
}

// Writes the updates in one transaction: one prepared statement per field,
// values bound as parameters. The first refusal rolls everything back.
ChangeResult WriteUpdates(const MaintenanceTable& table, const QStringList& keyColumns,
                          const QHash<QString, unsigned>& columnTypes,
                          const QList<Update>& updates) {
    ChangeResult result;
    QString where;
    for (int i = 0; i < keyColumns.size(); ++i)
        where += (i ? u" AND "_s : u" WHERE "_s) + keyColumns[i] + u" = :P_CHAVE"_s +
                 QString::number(i + 1);
    const Update* current = nullptr;
    try {
        data::Transaction transaction(*table.database);
        QHash<QString, std::shared_ptr<data::Statement>> statements;
        for (const Update& update : updates) {
            // A stop signal rolls back every row written so far.
            current = nullptr;
            if (platform::StopRequested()) throw data::DbError(StoppedBySignal());
            current = &update;
            std::shared_ptr<data::Statement>& statement = statements[update.field];
            if (!statement)
                statement =
                    std::make_shared<data::Statement>(*table.database, transaction,
                                                      u"UPDATE "_s + table.name + u" SET "_s +
                                                          update.field + u" = :P_NOVO"_s + where);
            statement->bind(0,
                            ColumnValue(columnTypes.value(update.field, TextType), update.value));
            for (int i = 0; i < update.key.size(); ++i)
                statement->bind(i + 1, update.key[i]);
            statement->execute();
            if (statement->affectedRows() != 1)
                throw data::DbError(u"a linha não foi encontrada"_s);
            ++result.changed;
        }
        statements.clear();
        current = nullptr;
        transaction.commit();
        result.ok = true;
    } catch (const data::DbError& error) {
        result.changed = 0;
        result.message =
            current
                ? u"Valor recusado na linha %1 (%2 = \"%3\"): %4. Nenhum "
                  u"registro foi alterado."_s.arg(KeyText(keyColumns, current->key), current->field,
                                                  current->value, error.message())
                : u"A gravação falhou: %1. Nenhum registro foi alterado."_s.arg(error.message());
    }
    return result;
}

// The rows of the walk, in order: the key columns first, then `selected`.
// `columns` tells every column of the table and whether it holds text. Calls
// `visit` on each row from the start row on; `visit` returns an error text to
// stop.
QString
WalkRows(const MaintenanceTable& table, const RowWalk& walk, const QStringList& keyColumns,
         const QHash<QString, unsigned>& columns, const QStringList& selected,
         const std::function<QString(const data::Statement&, QList<data::DbValue>&&)>& visit) {
    QStringList order;
    for (const QString& field : walk.orderBy.split(u',', Qt::SkipEmptyParts)) {
        const QString name = field.trimmed().toUpper();
        if (!columns.contains(name)) return u"Campo de índice desconhecido: "_s + name;
        if (!order.contains(name)) order << name;
    }
    for (const QString& key : keyColumns)
        if (!order.contains(key)) order << key;
    QStringList wanted = keyColumns;
    for (const QString& column : selected)
        if (!wanted.contains(column)) wanted << column;
    QString sql = u"SELECT "_s + wanted.join(u", "_s) + u" FROM "_s + table.name;
    if (!walk.filter.trimmed().isEmpty()) sql += u" WHERE ("_s + walk.filter + u')';
    // Sorted rather than walked through the index: a whole table reads in
    // about half the time, and a filter still uses the indexes it can.
    QStringList sortKeys;
    for (const QString& column : order)
        sortKeys << column +
                        (IsTextType(columns.value(column, TextType)) ? u" || ''"_s : u" + 0"_s);
    sql += u" ORDER BY "_s + sortKeys.join(u", "_s);
    try {
        data::Transaction transaction(*table.database, data::TransactionMode::ReadSnapshot);
        data::Statement select(*table.database, transaction, sql);
        select.open();
        bool started = walk.startKey.isEmpty();
        while (select.fetch()) {
            if (platform::StopRequested()) return StoppedBySignal() + u'.';
            QList<data::DbValue> key;
            for (int i = 0; i < keyColumns.size(); ++i)
                key << select.value(i);
            if (!started) {
                started = true;
                for (int i = 0; i < keyColumns.size(); ++i)
                    if (key[i].toString().trimmed() != walk.startKey.value(i).trimmed())
                        started = false;
                if (!started) continue;
            }
            if (QString error = visit(select, std::move(key)); !error.isEmpty()) return error;
        }
        transaction.commit();
    } catch (const data::DbError& error) {
        return u"Não foi possível ler as linhas da tabela: "_s + error.message();
    }
    return {};
}

// `number` as the renumbering writes it: with zeros before it up to `size`
// positions (the sign counted) when `size` is above 0; none when it does not
// fit, since cutting digits would write another number.
std::optional<QString> NumberText(qint64 number, int size) {
    const QString text = QString::number(number);
    if (size <= 0) return text;
    if (text.size() > size) return std::nullopt;
    if (number >= 0) return text.rightJustified(size, u'0');
    return u'-' + text.mid(1).rightJustified(size - 1, u'0');
}

// What every mass command checks first: the rule, the table, its key, the field.
struct Prepared {
    QStringList columns;
    QHash<QString, unsigned> columnTypes;
    QStringList key;
    QString field;
    QString error;
};

Prepared Prepare(const MaintenanceTable& table, const QString& field) {
    Prepared prepared;
    if (!table.valid()) {
        prepared.error = u"Deve ser informado o Arquivo"_s;
        return prepared;
    }
    prepared.columnTypes = ColumnKinds(table, &prepared.columns);
    prepared.key = TableKey(table);
    prepared.field = field.trimmed().toUpper();
    if (prepared.columns.isEmpty())
        prepared.error = u"Não foi possivel abrir o arquivo"_s;
    else if (prepared.field.isEmpty())
        prepared.error = u"Deve ser informado o campo para alterar"_s;
    else if (!prepared.columns.contains(prepared.field))
        prepared.error = u"O campo %1 não existe na tabela %2"_s.arg(prepared.field, table.name);
    else if (prepared.key.isEmpty())
        prepared.error = u"A tabela %1 não tem chave primária: as linhas não podem ser "
                         u"alteradas uma a uma"_s.arg(table.name);
    return prepared;
}

} // namespace

bool MayUseTable(const QString& table, TableCommand command) {
    const data::TRecUser& user = data::Globals().user;
    const QString name = BaseName(table);
    const bool top = user.level == u"9"_s;
    if (name == u"VRTNPAR"_s && !data::HasRightOnlyWithS(data::right::ParameterTable)) return false;
    // The users' and the diary's tables stay closed below level 9, even to
    // the generic query, which alone goes without right 11.
    const bool closedTable = name == u"VRTNSEN"_s || name == u"VRTNAGD"_s;
    if (!top && closedTable) return false;
    if (command == TableCommand::Search) return true;
    if (!top && !data::HasRightOnlyWithS(data::right::TableUse)) return false;
    if (command == TableCommand::Change && !top &&
        !data::HasRightOnlyWithS(data::right::TableChanges))
        return false;
    return true;
}

MaintenanceTable FindMaintenanceTable(const QString& text, data::Connection* database,
                                      QString* error) {
    const QString resolved = data::ResolveTableName(text.trimmed());
    if (resolved.isEmpty()) {
        if (error) *error = u"Deve ser informado o Arquivo"_s;
        return {};
    }
    data::Connection* chosen = database ? database : data::DatabaseFor(resolved);
    if (chosen) {
        for (const QString& name : data::ListTables({}, chosen))
            if (name.compare(resolved, Qt::CaseInsensitive) == 0) return {name, chosen};
    }
    if (error)
        *error = chosen
                     ? u"%1 não é uma tabela do banco de dados %2"_s.arg(resolved, chosen->path())
                     : u"%1 não é uma tabela dos bancos de dados"_s.arg(resolved);
    return {};
}

QStringList GridColumns(const QString& list) {
    QString text = list;
    text.replace(u',', u'#');
    QStringList columns;
    const QStringList fields = text.split(u'#');
    for (int i = 0; i < fields.size() && i < MaxGridColumns; ++i)
        if (const QString field = fields[i].trimmed(); !field.isEmpty()) columns << field;
    return columns;
}

QString ReadColumnList(const MaintenanceTable& table) {
    if (!table.valid()) return {};
    data::ParamRead(table.database, u"ARQ_"_s + table.name, 0);
    return data::ParamLines().line(ColumnListLine);
}

bool WriteColumnList(const MaintenanceTable& table, const QString& list) {
    if (!table.valid()) return false;
    // The key is written back whole: after a failed read that would wipe
    // its other lines, so nothing is written then.
    if (data::ParamReadChecked(table.database, u"ARQ_"_s + table.name, 0) ==
        data::ParamReadResult::Failed)
        return false;
    data::ParamLines().setLine(ColumnListLine, list);
    return data::ParamWrite(table.database, u"ARQ_"_s + table.name, 0);
}

QStringList TableColumns(const MaintenanceTable& table) {
    QStringList order;
    ColumnKinds(table, &order);
    return order;
}

QStringList TableKey(const MaintenanceTable& table) {
    if (!table.valid()) return {};
    QStringList key;
    for (const QString& column : data::ListPrimaryKey(table.database, table.name))
        key << column.trimmed().toUpper();
    return key;
}

QString WithoutQuotes(const QString& text) {
    QString result = text;
    result.replace(u'\'', u' ');
    result.replace(u'"', u' ');
    result.replace(u"  "_s, u" "_s);
    return result;
}

ChangeResult ApplyMassChange(const MaintenanceTable& table, const MassChange& change) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    const Prepared prepared = Prepare(table, change.field);
    if (!prepared.error.isEmpty()) return Failed(prepared.error);
    const bool evaluate = change.function == ChangeFunction::SetContent && change.expression;
    const expr::ParsedExpression parsed =
        expr::ParseExpression(change.content, expr::ExpressionKind::Field);
    // Only the columns the change reads: the field and those the expression names.
    QStringList selected{prepared.field};
    if (evaluate) {
        for (const expr::ExpressionToken& token : parsed.tokens) {
            const QString name = token.column.toUpper();
            if (!name.isEmpty() && prepared.columns.contains(name) && !selected.contains(name))
                selected << name;
        }
    }
    QList<Update> updates;
    const QString error = WalkRows(
        table, change.walk, prepared.key, prepared.columnTypes, selected,
        [&](const data::Statement& row, QList<data::DbValue>&& key) -> QString {
            // The field's own text, for the functions that rework it.
            const auto current = [&] { return row.value(prepared.field).toString(); };
            QString value;
            switch (change.function) {
            case ChangeFunction::SetContent:
                value = change.content;
                if (evaluate) {
                    const expr::ExpressionResult result = expr::Evaluate(parsed, StatementRow(row));
                    if (result.diagnostic)
                        return u"A expressão \"%1\" não pôde ser calculada na linha %2 (%3)."_s.arg(
                            change.content, KeyText(prepared.key, key), result.diagnostic->detail);
                    value = result.text;
                }
                break;
            case ChangeFunction::Upper:
                value = UpperAccents(current().toUpper());
                break;
            case ChangeFunction::NoQuotes:
                value = WithoutQuotes(current());
                break;
            case ChangeFunction::NoAccents:
                value = RemoveAccents(current());
                break;
            case ChangeFunction::NoSymbols:
                value = StripSymbols(current());
                break;
            }
            updates.append({std::move(key), prepared.field, value});
            return {};
        });
    if (!error.isEmpty()) return Failed(error + u" Nenhum registro foi alterado."_s);
    if (change.dryRun) {
        ChangeResult result;
        result.ok = true;
        result.changed = updates.size();
        return result;
    }
    const ChangeResult result = WriteUpdates(table, prepared.key, prepared.columnTypes, updates);
    if (result.ok) data::AuditLog(table.name, u"MPA - ALTERANDO CAMPO: "_s + prepared.field);
    return result;
}

ChangeResult ApplyRenumbering(const MaintenanceTable& table, const Renumbering& renumbering) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    Prepared prepared = Prepare(table, renumbering.field);
    if (prepared.error == u"Deve ser informado o campo para alterar"_s)
        prepared.error = u"Deve ser informado o campo do arquivo"_s;
    if (!prepared.error.isEmpty()) return Failed(prepared.error);
    if (renumbering.format == RenumberFormat::ZeroFill && renumbering.size <= 0)
        return Failed(u"Deve ser informado o Tamanho do Campo"_s);
    QList<Update> updates;
    qint64 n = renumbering.start;
    const QString error = WalkRows(
        table, renumbering.walk, prepared.key, prepared.columnTypes, {prepared.field},
        [&](const data::Statement& row, QList<data::DbValue>&& key) -> QString {
            const QString current = row.value(prepared.field).toString().trimmed();
            if (renumbering.format != RenumberFormat::Renumber) {
                // Formats 0, 2 and 3 work on the field's own number: a value
                // that is not a whole number would be written as another one.
                bool whole = false;
                const qint64 read = current.toLongLong(&whole);
                if (!whole)
                    return u"O campo %1 não é um número inteiro na linha %2 (\"%3\")."_s.arg(
                        prepared.field, KeyText(prepared.key, key), current);
                n = read;
                if (renumbering.format == RenumberFormat::AddStart &&
                    __builtin_add_overflow(read, renumbering.start, &n))
                    return u"O número da linha %1 somado ao inicial não cabe no campo %2."_s.arg(
                        KeyText(prepared.key, key), prepared.field);
            }
            const std::optional<QString> text = NumberText(n, renumbering.size);
            if (!text)
                return u"O número %1 da linha %2 não cabe em %3 posições."_s.arg(
                    QString::number(n), KeyText(prepared.key, key),
                    QString::number(renumbering.size));
            updates.append({std::move(key), prepared.field, *text});
            ++n;
            return {};
        });
    if (!error.isEmpty()) return Failed(error + u" Nenhum registro foi alterado."_s);
    if (renumbering.dryRun) {
        ChangeResult result;
        result.ok = true;
        result.changed = updates.size();
        return result;
    }
    const ChangeResult result = WriteUpdates(table, prepared.key, prepared.columnTypes, updates);
    if (result.ok) data::AuditLog(table.name, u"MPA - FORMATANDO CAMPO: "_s + prepared.field);
    return result;
}

ChangeResult SaveRowEdits(const MaintenanceTable& table, const QList<RowEdit>& edits) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    if (!table.valid()) return Failed(u"Deve ser informado o Arquivo"_s);
    QStringList columns;
    const QHash<QString, unsigned> kinds = ColumnKinds(table, &columns);
    const QStringList key = TableKey(table);
    if (key.isEmpty())
        return Failed(u"A tabela %1 não tem chave primária: as linhas não podem ser alteradas "
                      u"uma a uma"_s.arg(table.name));
    QList<Update> updates;
    for (const RowEdit& edit : edits) {
        const QString field = edit.field.trimmed().toUpper();
        if (!columns.contains(field))
            return Failed(u"O campo %1 não existe na tabela %2"_s.arg(field, table.name));
        if (edit.key.size() != key.size())
            return Failed(u"A linha editada não tem a chave da tabela %1"_s.arg(table.name));
        updates.append({edit.key, field, edit.value});
    }
    const ChangeResult result = WriteUpdates(table, key, kinds, updates);
    if (result.ok) data::AuditLog(table.name, u"MPA - MANUTENÇÃO DE TABELAS: "_s + table.name);
    return result;
}

ChangeResult InsertRow(const MaintenanceTable& table, const QStringList& fields,
                       const QStringList& values) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    if (!table.valid()) return Failed(u"O arquivo deve estar aberto"_s);
    const QHash<QString, unsigned> types = ColumnKinds(table);
    QStringList names, markers;
    QList<data::DbValue> bound;
    for (int i = 0; i < fields.size() && i < values.size(); ++i) {
        const QString field = fields[i].trimmed().toUpper();
        if (!types.contains(field))
            return Failed(u"O campo %1 não existe na tabela %2"_s.arg(field, table.name));
        if (values[i].isEmpty() || names.contains(field)) continue;
        names << field;
        markers << u":P_"_s + QString::number(names.size());
        bound << ColumnValue(types.value(field), values[i]);
    }
    if (names.isEmpty()) return Failed(u"Nenhum campo foi informado."_s);
    const ChangeResult result =
        RunOnce(table,
                u"INSERT INTO "_s + table.name + u" ("_s + names.join(u", "_s) + u") VALUES ("_s +
                    markers.join(u", "_s) + u')',
                bound, u"O registro não foi incluído: "_s);
    if (result.ok) data::AuditLog(table.name, u"MPA - MANUTENÇÃO DE TABELAS: "_s + table.name);
    return result;
}

ChangeResult DeleteRow(const MaintenanceTable& table, const QList<data::DbValue>& key) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    if (!table.valid()) return Failed(u"O arquivo deve estar aberto"_s);
    const QStringList keyColumns = TableKey(table);
    if (keyColumns.isEmpty() || key.size() != keyColumns.size())
        return Failed(
            u"A tabela %1 não tem chave primária: a linha não pode ser excluída"_s.arg(table.name));
    QString where;
    for (int i = 0; i < keyColumns.size(); ++i)
        where += (i ? u" AND "_s : u" WHERE "_s) + keyColumns[i] + u" = :P_CHAVE"_s +
                 QString::number(i + 1);
    const ChangeResult result = RunOnce(table, u"DELETE FROM "_s + table.name + where, key,
                                        u"Erro na exclusão dos registros: "_s);
    if (result.ok) data::AuditLog(table.name, u"MPA - MANUTENÇÃO DE TABELAS: "_s + table.name);
    return result;
}

ChangeResult EmptyTable(const MaintenanceTable& table) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    if (!table.valid()) return Failed(u"Deve ser informado o Arquivo"_s);
    const ChangeResult result =
        RunOnce(table, u"DELETE FROM "_s + table.name, {}, u"Erro na exclusão dos registros: "_s);
    if (result.ok) data::AuditLog(table.name, u"MPA - ZERANDO TABELA: "_s + table.name);
    return result;
}

ChangeResult DeleteFilteredRows(const MaintenanceTable& table, const QString& filter) {
    if (!MayUseTable(table.name, TableCommand::Change)) return Refused();
    if (filter.trimmed().isEmpty()) return Failed(u"Deve ser definido Filtros para a Exclusão"_s);
    if (!table.valid()) return Failed(u"O arquivo deve estar aberto"_s);
    const ChangeResult result =
        RunOnce(table, u"DELETE FROM "_s + table.name + u" WHERE ("_s + filter + u')', {},
                u"Erro na exclusão dos registros. "_s);
    if (!result.ok) return result;
    // The deletion's own line, as every deletion by condition writes it.
    data::AuditLog(table.name, u"EXCLUSAO: "_s + filter + u" - "_s);
    data::AuditLog(table.name, u"MPA - DELETANDO REGISTROS VISIVEIS: "_s + table.name);
    return result;
}

bool CreateTableIndex(const MaintenanceTable& table, const QString& fields) {
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Index)) return false;
    for (const QString& field : fields.split(u',', Qt::SkipEmptyParts))
        if (!ValidColumnName(field.trimmed())) return false;
    return data::CreateIndex(table.name, fields, table.database);
}

bool DropTableIndex(const MaintenanceTable& table, const QString& indexName) {
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Index)) return false;
    return data::DropIndex(table.name, indexName, table.database);
}

} // namespace livrax::tools
