// The grid model of a SELECT: rows read in batches as the grid asks for them,
// column names as headers, values as text; a statement the database refuses
// leaves the model empty and usable.

#include "data/db_error.h"
#include "support/test_database.h"
#include "tools/query_model.h"

#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestQueryModel : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void rowsComeInBatches();
    void refusedStatementLeavesItEmpty();
};

void TestQueryModel::rowsComeInBatches() {
    test::TestDatabase database(test::TestDatabase::Tables::ProgramOnly);
    database.exec(
        u"CREATE TABLE TQ (ID INTEGER, VALOR NUMERIC(15,2), DIA DATE, NOME VARCHAR(10))"_s);
    // 450 rows: the value is the number in hundredths, the name only on odd rows.
    database.exec(u"EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 450) DO BEGIN "
                  u"INSERT INTO TQ VALUES (:I, :I / 100.00, DATE '2026-03-01', "
                  u"IIF(MOD(:I, 2) = 1, 'N' || :I, NULL)); I = I + 1; END END"_s);
    tools::QueryModel model;
    model.open(database.connection(),
               u"SELECT ID, VALOR, DIA, NOME AS APELIDO FROM TQ ORDER BY ID"_s);
    QVERIFY(model.isOpen());
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), u"APELIDO"_s);
    // The first batch only; two more fetches bring the rest.
    QCOMPARE(model.rowCount(), 200);
    QVERIFY(model.canFetchMore());
    model.fetchMore();
    QCOMPARE(model.rowCount(), 400);
    QVERIFY(model.canFetchMore());
    model.fetchMore();
    QCOMPARE(model.rowCount(), 450);
    QVERIFY(!model.canFetchMore());
    model.fetchMore();
    QCOMPARE(model.rowCount(), 450);
    // Rows continue where the batch before ended.
    const auto text = [&](int row, int column) {
        return model.index(row, column).data().toString();
    };
    QCOMPARE(text(200, 0), u"201"_s);
    QCOMPARE(text(200, 1), u"2,01"_s);
    QCOMPARE(text(200, 2), u"01/03/26"_s);
    QCOMPARE(text(200, 3), u"N201"_s);
    QCOMPARE(text(449, 3), QString()); // NULL
    QVERIFY(model.fetchError().isEmpty());
    model.close();
    QVERIFY(!model.isOpen());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
}

void TestQueryModel::refusedStatementLeavesItEmpty() {
    test::TestDatabase database(test::TestDatabase::Tables::ProgramOnly);
    database.exec(u"CREATE TABLE TQ (ID INTEGER)"_s);
    database.exec(u"INSERT INTO TQ VALUES (7)"_s);
    tools::QueryModel model;
    model.open(database.connection(), u"SELECT ID FROM TQ"_s);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY_THROWS_EXCEPTION(data::DbError,
                             model.open(database.connection(), u"SELECT NADA FROM TQ"_s));
    QVERIFY(!model.isOpen());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    model.setBatchSize(1);
    model.open(database.connection(), u"SELECT ID FROM TQ"_s);
    QCOMPARE(model.index(0, 0).data().toString(), u"7"_s);
}

QTEST_MAIN(TestQueryModel)
#include "test_query_model.moc"
