#include "books/lx50.h"

#include "books/book_frame.h"
#include "common/numbers.h"
#include "data/catalogue.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/db_value.h"
#include "data/globals.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/stop_signals.h"

#include <QHash>
#include <QVector>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

// How often the build reports its progress.
constexpr qint64 ProgressEvery = 501;

// A product code as the database compares it: trailing blanks do not count.
QString CodeKey(const QString& code) {
    qsizetype end = code.size();
    while (end > 0 && code.at(end - 1) == u' ')
        --end;
    return code.left(end);
}

qint64 Scaled4(const data::DbValue& value) {
    if (value.isNull()) return 0;
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4)
        return value.toScaled();
    return ToScaled(value.toString(), 4);
}

// One entry item: a lot of its product.
struct Lot {
    qint64 quant = 0;
    data::DbValue nnota, serie, data, pedido, seq;
};

// The entries of one product, in order, and where its exits stand.
struct ProductLots {
    QVector<Lot> lots;
    qint64 initial = 0;     // SALDOINIC
    bool started = false;   // an exit of the product was met
    qint64 balance = 0;     // running stock
    qsizetype current = -1; // the lot being consumed; -1 when none
};

QString SideSql(const QString& alias, const QString& table, const QString& dateColumn,
                const QString& side) {
    const QString date = alias == u"PIE"_s ? u"PIE.DATA AS DTNOTA"_s : u"PIS.DTNOTA"_s;
    return u"SELECT "_s + alias + u".PRODUTO, "_s + date + u", "_s + alias + u".PEDIDO, "_s +
           alias + u".SEQ, "_s + alias + u".NNOTA, "_s + alias + u".SERIE, "_s + alias +
           u".NATOPER, "_s + alias + u".FAT, "_s + alias + u".ATUPRO, "_s + alias + u".QUANT,'"_s +
           side + u"' AS ES, "_s + alias + u".SIGLA, PRO.SALDOINIC FROM "_s + table + u" "_s +
           alias + u" LEFT OUTER JOIN "_s + data::ResolveTableName(u"PRO"_s) + u" PRO ON "_s +
           alias + u".PRODUTO = PRO.PRODUTO WHERE "_s + alias + u".FAT = 'F' AND "_s + alias +
           u".NATOPER > 100 ORDER BY "_s + alias + u".PRODUTO, "_s + alias + u"."_s + dateColumn +
           u", "_s + alias + u".PEDIDO, "_s + alias + u".SEQ"_s;
}

data::Connection& DatabaseOf(const QString& code) {
    data::Connection* database = data::DatabaseFor(code);
    if (!database || !database->isConnected())
        throw BookError(u"Banco de dados da tabela "_s + data::ResolveTableName(code) +
                        u" não encontrado."_s);
    return *database;
}

// Every entry, grouped by product code (trailing blanks ignored).
QHash<QString, ProductLots> ReadLots() {
    QHash<QString, ProductLots> products;
    data::Transaction read(DatabaseOf(u"PIE"_s), data::TransactionMode::ReadSnapshot);
    data::Statement entries(DatabaseOf(u"PIE"_s), read,
                            SideSql(u"PIE"_s, data::ResolveTableName(u"PIE"_s), u"DATA"_s, u"E"_s));
    entries.open();
    while (entries.fetch()) {
        ProductLots& product = products[CodeKey(entries.value(0).toString())];
        product.initial = Scaled4(entries.value(12));
        Lot lot;
        lot.quant = Scaled4(entries.value(9));
        lot.pedido = entries.value(2);
        lot.seq = entries.value(3);
        lot.nnota = entries.value(4);
        lot.serie = entries.value(5);
        lot.data = entries.value(1);
        product.lots.append(lot);
    }
    read.commit();
    return products;
}

void CreateMatchTable(data::Connection& database) {
    try {
        data::Transaction create(database);
        data::Statement statement(database, create, MatchTableCreateSql());
        statement.execute();
        create.commit();
    } catch (const data::DbError& error) {
        throw BookError(u"Erro na criação da tabela VRTNP50: "_s + error.message());
    }
    data::CatalogUpdate(u"P50"_s, u"LX64 - Prod.vendidos s/retenção Substrib"_s);
    // The table lists name it from now on.
    for (int n = 1; n < 6; ++n)
        if (data::B_DIR(n) == &database && !data::ListTables(u"VRTNP50"_s, &database).isEmpty()) {
            QString& list = data::Globals().tableLists[std::size_t(n)];
            if (!list.contains(u"VRTNP50,"_s)) list += u"VRTNP50,"_s;
        }
}

} // namespace

QString MatchTableCreateSql() {
    return u"CREATE TABLE VRTNP50 (LX50_SEQ INTEGER NOT NULL, PRODUTO VARCHAR(020), DTNOTA DATE, "
           u"PEDIDO INTEGER, SEQ INTEGER, NNOTA INTEGER, SERIE CHAR(002), NATOPER INTEGER, "
           u"SIGLA VARCHAR(020), QUANT NUMERIC(18,4), SALDO NUMERIC(18,4), NNOTAe INTEGER, "
           u"SERIEe CHAR(002), DATAe DATE, PEDIDOe INTEGER, SEQe INTEGER, "
           u"Primary Key (LX50_SEQ))"_s;
}

qint64 BuildMatchTable(const MatchProgress& progress) {
    data::Connection& target = DatabaseOf(u"PDS"_s);
    if (!data::TableExists(u"VRTNP50"_s, &target)) CreateMatchTable(target);

    qint64 rows = 0;
    try {
        QHash<QString, ProductLots> products = ReadLots();

        data::Transaction write(target);
        // Deleting the old rows first locks them: a build another station
        // runs meanwhile waits and then fails instead of mixing its rows in.
        data::Statement(target, write, u"DELETE FROM VRTNP50"_s).execute();
        data::Statement insert(
            target, write,
            u"INSERT INTO VRTNP50(LX50_SEQ,PRODUTO,DTNOTA,PEDIDO,SEQ,NNOTA,SERIE,SIGLA,SALDO,QUANT"
            u", NNOTAe,SERIEe,DATAe,PEDIDOe,SEQe)"
            u"VALUES (:PLX50_SEQ, "
            u":PPRODUTO,:PDTNOTA,:PPEDIDO,:PSEQ,:PNNOTA,:PSERIE,:PSIGLA,:PSALDO,"
            u":PQUANT, :PNNOTAe,:PSERIEe,:PDATAe,:PPEDIDOe,:PSEQe)"_s);

        data::Connection& exitsDatabase = DatabaseOf(u"PIS"_s);
        data::Transaction read(exitsDatabase, data::TransactionMode::ReadSnapshot);
        data::Statement exits(
            exitsDatabase, read,
            SideSql(u"PIS"_s, data::ResolveTableName(u"PIS"_s), u"DTNOTA"_s, u"S"_s));
        exits.open();
        while (exits.fetch()) {
            if (platform::StopRequested()) throw data::DbError(StopSignalReason());
            if (exits.value(8).toString() == u"N"_s || exits.value(1).isNull()) continue;
            const QString code = exits.value(0).toString();
            const QString key = CodeKey(code);
            if (key.isEmpty()) continue;
            ProductLots& product = products[key];
            if (!product.started) {
                product.started = true;
                product.balance =
                    product.lots.isEmpty() ? Scaled4(exits.value(12)) : product.initial;
                if (!product.lots.isEmpty()) {
                    product.current = 0;
                    product.balance += product.lots.first().quant;
                }
            }
            insert.bind(u"PPRODUTO"_s, code);
            insert.bind(u"PDTNOTA"_s, exits.value(1));
            insert.bind(u"PPEDIDO"_s, exits.value(2));
            insert.bind(u"PSEQ"_s, exits.value(3));
            insert.bind(u"PNNOTA"_s, exits.value(4));
            insert.bind(u"PSERIE"_s, exits.value(5));
            insert.bind(u"PSIGLA"_s, exits.value(11));
            const auto write_piece = [&](qint64 quant, qint64 saldo, const Lot* lot) {
                if (quant == 0) return;
                ++rows;
                insert.bind(u"PLX50_SEQ"_s, rows);
                insert.bind(u"PQUANT"_s, data::DbValue::scaled(quant));
                insert.bind(u"PSALDO"_s, data::DbValue::scaled(saldo));
                insert.bind(u"PNNOTAe"_s, lot ? lot->nnota : data::DbValue());
                insert.bind(u"PSERIEe"_s, lot ? lot->serie : data::DbValue());
                insert.bind(u"PDATAe"_s, lot ? lot->data : data::DbValue());
                insert.bind(u"PPEDIDOe"_s, lot ? lot->pedido : data::DbValue());
                insert.bind(u"PSEQe"_s, lot ? lot->seq : data::DbValue());
                insert.execute();
                if (progress && rows % ProgressEvery == 0) progress(rows);
            };
            qint64 remaining = Scaled4(exits.value(9));
            while (true) {
                const Lot* lot = product.current >= 0 ? &product.lots.at(product.current) : nullptr;
                if (!lot || remaining <= 0 || remaining <= product.balance) {
                    write_piece(remaining, product.balance - remaining, lot);
                    product.balance -= remaining;
                    break;
                }
                // The lot runs out: what it still holds (nothing when the
                // stock is at or below zero) goes to this exit.
                if (product.balance > 0) {
                    write_piece(product.balance, 0, lot);
                    remaining -= product.balance;
                    product.balance = 0;
                }
                ++product.current;
                if (product.current >= product.lots.size()) {
                    product.current = -1;
                } else {
                    product.balance += product.lots.at(product.current).quant;
                }
            }
        }
        read.commit();
        write.commit();
    } catch (const data::DbError& error) {
        throw BookError(u"A montagem do arquivo VRTNP50 falhou e o arquivo anterior foi mantido "
                        u"(outra estação pode estar montando-o): "_s +
                        error.message());
    }
    if (progress) progress(rows);
    return rows;
}

} // namespace livrax::books
