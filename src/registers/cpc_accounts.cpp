#include "registers/cpc_accounts.h"

#include "common/fields.h"
#include "common/text.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "registers/account_lookup.h"

#include <optional>

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

// How many times a SEQ other stations keep taking is moved on before the
// save gives up.
constexpr int SeqAttempts = 10;

data::Connection& CpcDatabase() {
    data::Connection* database = data::DatabaseFor(CpcTableName());
    if (!database || !database->isConnected())
        throw data::DbError(u"A tabela %1 não está em nenhum banco aberto."_s.arg(CpcTableName()));
    return *database;
}

qint64 NextSeq(data::Connection& database, data::Transaction& transaction) {
    data::Statement select(database, transaction, u"SELECT MAX(SEQ) FROM %1"_s.arg(CpcTableName()));
    select.open();
    const qint64 greatest = select.fetch() ? select.value(0).toInt() : 0;
    select.close();
    return greatest + 1;
}

bool SeqTaken(data::Connection& database, qint64 seq) {
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(
        database, transaction,
        u"SELECT COUNT(*) FROM %1 WHERE SEQ = :P_SEQ AND FILIAL = 0"_s.arg(CpcTableName()));
    select.bind(u"P_SEQ"_s, seq);
    select.open();
    const bool taken = select.fetch() && select.value(0).toInt() > 0;
    select.close();
    transaction.commit();
    return taken;
}

void WriteColumns(data::Connection& database, data::Transaction& transaction,
                  const CpcRecord& record, qint64 seq, qint64 filial) {
    QStringList sets;
    for (const QString& column : CpcTextColumns())
        sets << u"%1 = :P_%1"_s.arg(column);
    sets << u"NETLOG = :P_NETLOG"_s;
    data::Statement update(database, transaction,
                           u"UPDATE %1 SET %2 WHERE SEQ = :P_SEQ AND FILIAL = :P_FILIAL"_s.arg(
                               CpcTableName(), sets.join(u","_s)));
    for (const QString& column : CpcTextColumns())
        update.bind(u"P_"_s + column, record.text(column));
    update.bind(u"P_NETLOG"_s, u"A"_s);
    update.bind(u"P_SEQ"_s, seq);
    update.bind(u"P_FILIAL"_s, filial);
    update.execute();
    if (update.affectedRows() != 1)
        throw data::DbError(
            u"O registro SEQ %1 não existe mais em %2."_s.arg(seq).arg(CpcTableName()));
}

const QString NotFound = u"___"_s;

// The first column of the row whose key column equals `key`; "___" when
// none, when the key is not of the column's kind or the table cannot be read.
QString LookUp(const QString& code, const QString& column, const QString& keyColumn,
               const data::DbValue& key) {
    const QString table = data::ResolveTableName(code);
    data::Connection* database = data::DatabaseFor(table);
    if (!database || !database->isConnected()) return NotFound;
    try {
        data::Transaction transaction(*database, data::TransactionMode::ReadSnapshot);
        data::Statement select(
            *database, transaction,
            u"SELECT FIRST 1 %1 FROM %2 WHERE %3 = :P_KEY"_s.arg(column, table, keyColumn));
        select.bind(u"P_KEY"_s, key);
        select.open();
        const QString found = select.fetch() ? select.value(0).toString().trimmed() : QString();
        select.close();
        transaction.commit();
        return found.isEmpty() ? NotFound : found;
    } catch (const data::DbError&) {
        return NotFound;
    }
}

// A number key typed into a text field: digits only and within INTEGER.
std::optional<qint64> NumberKey(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 9) return std::nullopt;
    for (const QChar c : trimmed)
        if (c < u'0' || c > u'9') return std::nullopt;
    return trimmed.toLongLong();
}

} // namespace

QString PartnerCaption(const QString& sigla) {
    if (IsBlank(sigla)) return NotFound;
    return LookUp(u"EMP"_s, u"EMPRESA"_s, u"SIGLA"_s, sigla.trimmed());
}

QString NatureCaption(const QString& natoper) {
    const std::optional<qint64> number = NumberKey(natoper);
    return number ? LookUp(u"NAT"_s, u"DESCRICAO"_s, u"NATOPER"_s, *number) : NotFound;
}

QString AccountCaption(const QString& account) {
    if (IsBlank(account)) return NotFound;
    const QString found = FindAccount(account.trimmed(), u"A"_s);
    if (found.isEmpty() || found == u"*"_s) return NotFound;
    return LastAccountFound().nome.isEmpty() ? NotFound : LastAccountFound().nome;
}

QString HistoryCaption(const QString& number) {
    const std::optional<qint64> key = NumberKey(number);
    return key ? LookUp(u"CBH"_s, u"HISTORICO"_s, u"NUMERO"_s, *key) : NotFound;
}

QString AccountSearchFilter(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return {};
    // The apostrophes of the text are doubled, so it cannot end the literal.
    const QString pattern = Quote(u"%"_s + text + u"%"_s);
    QStringList alternatives;
    for (const QString& column :
         {u"CONTA"_s, u"NOME"_s, u"CCUSTO"_s, u"ADIC"_s, u"CONTAF"_s, u"CBSIGLA"_s})
        alternatives << column + u" LIKE "_s + pattern;
    return alternatives.join(u" OR "_s);
}

QStringList CostCentres() {
    QStringList centres;
    const QString table = data::ResolveTableName(u"CUS"_s);
    data::Connection* database = data::DatabaseFor(table);
    if (!database || !database->isConnected()) return centres;
    try {
        data::Transaction transaction(*database, data::TransactionMode::ReadSnapshot);
        data::Statement select(*database, transaction,
                               u"SELECT CCUSTO FROM %1 WHERE CCUSTO <> '+++++'"_s.arg(table));
        select.open();
        while (select.fetch())
            centres << select.value(0).toString().trimmed();
        transaction.commit();
    } catch (const data::DbError&) {
    }
    centres.sort();
    return centres;
}

const QStringList& CpcTextColumns() {
    static const QStringList columns = {
        u"SIGLA"_s,     u"NATOPER"_s,   u"CONTADEB"_s,   u"CONTACRED"_s, u"HPDEB"_s,
        u"HPCRED"_s,    u"DEBHISTOR"_s, u"CREDHISTOR"_s, u"ADICDEB"_s,   u"ADICRED"_s,
        u"DUPVALDEB"_s, u"DUPVALCRE"_s, u"DUPJURDEB"_s,  u"DUPJURCRE"_s, u"DUPDESDEB"_s,
        u"DUPDESCRE"_s, u"DUPDEPDEB"_s, u"DUPDEPCRE"_s,  u"DUPLIQDEB"_s, u"DUPLIQCRE"_s,
        u"DUPHISDEB"_s, u"DUPHISCRE"_s};
    return columns;
}

QString CpcRecord::text(const QString& column) const {
    const auto found = texts.find(column);
    return found == texts.end() ? QString() : found->second;
}

QString CpcTableName() {
    return data::ResolveTableName(u"CPC"_s);
}

std::vector<CpcRecord> LoadCpcRecords() {
    data::Connection& database = CpcDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction,
                           u"SELECT * FROM %1 ORDER BY SIGLA,NATOPER,SEQ"_s.arg(CpcTableName()));
    select.open();
    std::vector<CpcRecord> records;
    while (select.fetch()) {
        CpcRecord record;
        record.seq = select.value(u"SEQ"_s).toInt();
        record.filial = select.value(u"FILIAL"_s).toInt();
        for (const QString& column : CpcTextColumns())
            record.texts[column] = select.value(column).toString().trimmed();
        records.push_back(record);
    }
    transaction.commit();
    return records;
}

QString CpcSaveProblem(const CpcRecord& record) {
    if (IsBlank(record.text(u"SIGLA"_s)) && IsBlank(record.text(u"NATOPER"_s)))
        return u"A Natureza de Operação ou Sigla deve ser informada."_s;
    return {};
}

qint64 SaveCpcRecord(const CpcRecord& record, const BeforeCpcInsert& beforeInsert) {
    data::Connection& database = CpcDatabase();
    if (record.seq != 0) {
        data::Transaction transaction(database);
        WriteColumns(database, transaction, record, record.seq, record.filial);
        transaction.commit();
        return record.seq;
    }
    for (int attempt = 1;; ++attempt) {
        data::Transaction transaction(database);
        const qint64 seq = NextSeq(database, transaction);
        if (beforeInsert) beforeInsert(seq);
        try {
            data::Statement insert(
                database, transaction,
                u"INSERT INTO %1 (SEQ,FILIAL) VALUES(:P_SEQ,:P_FILIAL)"_s.arg(CpcTableName()));
            insert.bind(u"P_SEQ"_s, seq);
            insert.bind(u"P_FILIAL"_s, qint64(0));
            insert.execute();
        } catch (const data::DbError&) {
            transaction.rollback();
            // Another station stored that SEQ first: take the next one.
            if (attempt < SeqAttempts && SeqTaken(database, seq)) continue;
            throw;
        }
        WriteColumns(database, transaction, record, seq, 0);
        transaction.commit();
        return seq;
    }
}

bool DeleteCpcRecord(qint64 seq, qint64 filial) {
    return data::DeleteWhere(CpcTableName(), u"SEQ = %1 AND FILIAL = %2"_s.arg(seq).arg(filial));
}

} // namespace livrax::registers
