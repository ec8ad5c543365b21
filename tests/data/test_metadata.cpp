// Metadata and index helpers on a real database: column types, date columns,
// keys and indexes, index creation and removal, and the row check.

#include "data/data_module.h"
#include "data/indexes.h"
#include "data/metadata.h"
#include "data/query_helpers.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "support/module_fixture.h"

#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

namespace {

// The first column of every row of `sql`, trimmed, read on the test's own
// attachment.
QStringList Query(test::TestDatabase& database, const QString& sql) {
    Transaction transaction(database.connection());
    Statement select(database.connection(), transaction, sql);
    select.open();
    QStringList values;
    while (select.fetch())
        values << select.value(0).toString().trimmed();
    return values;
}

// The columns of an index in key order, and the table it belongs to.
QStringList IndexColumns(test::TestDatabase& database, const QString& index) {
    return Query(database,
                 u"SELECT RDB$FIELD_NAME FROM RDB$INDEX_SEGMENTS WHERE RDB$INDEX_NAME = '"_s +
                     index + u"' ORDER BY RDB$FIELD_POSITION"_s);
}
QStringList IndexTable(test::TestDatabase& database, const QString& index) {
    return Query(database, u"SELECT RDB$RELATION_NAME FROM RDB$INDICES WHERE RDB$INDEX_NAME = '"_s +
                               index + u"'"_s);
}

} // namespace

class TestMetadata : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void fieldTypes_data();
    void fieldTypes();
    void describeFieldKeepsRowsForAFieldList();
    void dateFields();
    void primaryKeys();
    void indexedFieldsAndIndexes();
    void createIndex();
    void dropIndex();
    void rowsWhere_data();
    void rowsWhere();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestMetadata::init() {
    ResetReturnedValues();
    m_fixture = std::make_unique<test::ModuleFixture>();
}

void TestMetadata::cleanup() {
    m_fixture.reset();
}

void TestMetadata::fieldTypes_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<int>("length");

    QTest::newRow("DATE with prefix") << u"PDE"_s << u"A.DATA"_s << u"D"_s << u"DATE"_s << 8;
    QTest::newRow("lower case name") << u"PDE"_s << u"dtnota"_s << u"D"_s << u"DATE"_s << 8;
    QTest::newRow("TIMESTAMP") << u"TST"_s << u"TS"_s << u"S"_s << u"TIMESTAMP"_s << 8;
    QTest::newRow("NUMERIC is INT64") << u"TST"_s << u"B.VALOR"_s << u"N"_s << u"INT64"_s << 12;
    QTest::newRow("INTEGER is LONG") << u"TST"_s << u"QTD"_s << u"I"_s << u"LONG"_s << 8;
    QTest::newRow("SMALLINT") << u"TST"_s << u"PEQ"_s << u"S"_s << u"SHORT"_s << 2;
    QTest::newRow("DOUBLE") << u"TST"_s << u"TAXA"_s << u"S"_s << u"DOUBLE"_s << 8;
    QTest::newRow("VARCHAR") << u"TST"_s << u"NOME"_s << u"S"_s << u"VARCHAR"_s << 40;
    QTest::newRow("CHAR") << u"TST"_s << u"UF"_s << u"S"_s << u"TEXT"_s << 2;
    QTest::newRow("BLOB") << u"TST"_s << u"OBS"_s << u"M"_s << u"BLOB"_s << 8;
    QTest::newRow("by physical name") << u"VRTNTST"_s << u"NOME"_s << u"S"_s << u"VARCHAR"_s << 40;
    QTest::newRow("missing column") << u"PDE"_s << u"A.NAOEXISTE"_s << u"U"_s << QString() << 0;
    QTest::newRow("quote in name") << u"PDE"_s << u"DA'TA"_s << u"U"_s << QString() << 0;
    QTest::newRow("no such table") << u"XYZ"_s << u"DATA"_s << u"U"_s << QString() << 0;
}

void TestMetadata::fieldTypes() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, letter);
    QFETCH(QString, typeName);
    QFETCH(int, length);
    m_fixture->erp().exec(u"CREATE TABLE VRTNTST (TS TIMESTAMP, VALOR NUMERIC(15,2), QTD INTEGER, "
                          "PEQ SMALLINT, TAXA DOUBLE PRECISION, NOME VARCHAR(40), UF CHAR(2), "
                          "OBS BLOB SUB_TYPE TEXT)"_s);
    m_fixture->refreshTableLists();

    QCOMPARE(FieldType(table, field), letter);
    QVERIFY(!DataModule().slot(Slot::T_CONX).isOpen());

    const std::optional<FieldDescription> description = DescribeField(table, field, u"*"_s);
    QCOMPARE(description.has_value(), letter != u"U"_s);
    if (!description) return;
    QCOMPARE(description->table, ResolveTableName(table));
    QCOMPARE(description->field, field.section(u'.', -1).toUpper());
    QCOMPARE(description->typeName, typeName);
    QCOMPARE(description->typeLetter, letter);
    QCOMPARE(description->length, length);
}

void TestMetadata::describeFieldKeepsRowsForAFieldList() {
    const std::optional<FieldDescription> first = DescribeField(u"PIE"_s, u"*"_s, u"*"_s);
    QVERIFY(first);
    QCOMPARE(first->field, u"ATUPRO"_s);
    DataSlot& slot = DataModule().slot(Slot::T_CONX);
    QStringList fields;
    while (!slot.eof()) {
        fields << slot.value(u"CAMPO"_s).toString().trimmed();
        slot.next();
    }
    QCOMPARE(fields.size(), 23);
    QCOMPARE(fields.first(), u"ATUPRO"_s);
    QCOMPARE(fields.last(), u"VALORA"_s);

    // A type filter names the type as the engine does.
    QVERIFY(!DescribeField(u"PIE"_s, u"*"_s, u"VARCHAR"_s));
    QCOMPARE(DescribeField(u"PIE"_s, u"*"_s, u"VARYING"_s)->field, u"PRODUTO"_s);
}

void TestMetadata::dateFields() {
    QCOMPARE(ListDateFields(u"PDE"_s),
             (QStringList{u"DATA"_s, u"DTALT"_s, u"DTINCL"_s, u"DTNOTA"_s}));
    QVERIFY(!DataModule().slot(Slot::T_CONX).isOpen());
    QCOMPARE(ListDateFields(u"VRTNLOG"_s, B_DIR(5)), QStringList{u"LOG_DATA"_s});
    QCOMPARE(ListDateFields(u"PAR"_s), QStringList());
    QCOMPARE(ListDateFields(u"XYZ"_s), QStringList());
}

void TestMetadata::primaryKeys() {
    QCOMPARE(ListPrimaryKey(nullptr, u"PIE"_s), (QStringList{u"PEDIDO"_s, u"SEQ"_s}));
    QCOMPARE(ReturnedValues().values[0], u"PEDIDO,SEQ"_s);
    QCOMPARE(ListPrimaryKey(B_DIR(1), u"VRTNPIE"_s), (QStringList{u"PEDIDO"_s, u"SEQ"_s}));
    QCOMPARE(ListPrimaryKey(B_DIR(5), u"PAR"_s), QStringList{u"CHAVE"_s});
    QCOMPARE(ReturnedValues().values[0], u"CHAVE"_s);

    // Without a key the returned value is emptied too.
    QCOMPARE(ListPrimaryKey(B_DIR(5), u"LOG"_s), QStringList());
    QCOMPARE(ReturnedValues().values[0], QString());

    // Every table's key in the database: index by index, columns in key order.
    const QStringList all = ListPrimaryKey(B_DIR(5));
    QCOMPARE(all.size(), 4);
    QVERIFY(all.contains(u"CHAVE"_s));
    QVERIFY(all.contains(u"ANOME"_s));
    QCOMPARE(ListPrimaryKey(nullptr), QStringList());
}

void TestMetadata::indexedFieldsAndIndexes() {
    QCOMPARE(
        ListIndexedFields(nullptr, u"PDE"_s),
        (QStringList{u"PEDIDO"_s, u"DATA"_s, u"DTNOTA"_s, u"NNOTA"_s, u"NATOPER"_s, u"SIGLA"_s}));
    QCOMPARE(ListIndexedFields(nullptr, u"PIE"_s),
             (QStringList{u"PEDIDO"_s, u"SEQ"_s, u"PRODUTO"_s, u"DATA"_s, u"DATA"_s}));
    QCOMPARE(ListIndexes(nullptr, u"PIE"_s),
             (QStringList{u"IX_PIE_PRODUTO_DATA"_s, u"IX_PIE_DATA"_s}));
    QVERIFY(DataModule().slot(Slot::T_CONZ).sql().isEmpty());
    QCOMPARE(ListIndexes(B_DIR(5), u"VRTNPAR"_s), QStringList());

    Connection nowhere;
    QCOMPARE(ListIndexedFields(&nowhere, u"PDE"_s), QStringList());
    QCOMPARE(ListIndexedFields(nullptr, u"XYZ"_s), QStringList());
}

void TestMetadata::createIndex() {
    QVERIFY(CreateIndex(u"PDE"_s, u"NUMERO;SERIE"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_NUMERO_SERIE"_s),
             (QStringList{u"NUMERO"_s, u"SERIE"_s}));
    QCOMPARE(IndexTable(m_fixture->erp(), u"PDE_NUMERO_SERIE"_s), QStringList{u"VRTNPDE"_s});

    // Asked again, nothing changes.
    const QStringList before = ListIndexes(nullptr, u"PDE"_s);
    QVERIFY(!CreateIndex(u"PDE"_s, u"NUMERO;SERIE"_s));
    QCOMPARE(ListIndexes(nullptr, u"PDE"_s), before);

    // One field: named after it. A field that some index already covers is
    // left alone.
    QVERIFY(CreateIndex(u"PDE"_s, u"especie"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_ESPECIE"_s), QStringList{u"ESPECIE"_s});
    QVERIFY(!CreateIndex(u"PDE"_s, u"DATA"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_DATA"_s), QStringList());
    QVERIFY(!CreateIndex(u"PDE"_s, u"NUMERO"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_NUMERO"_s), QStringList());

    // Three fields and separators with spaces: the name takes the first two.
    QVERIFY(CreateIndex(u"VRTNPDE"_s, u" FILIAL , NUMERO; SERIE "_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_FILIAL_NUMERO"_s),
             (QStringList{u"FILIAL"_s, u"NUMERO"_s, u"SERIE"_s}));

    // Refused: no such table or column, and anything that is not a column name.
    QVERIFY(!CreateIndex(u"XYZ"_s, u"NUMERO"_s));
    QVERIFY(!CreateIndex(u"PDE"_s, u"NAOEXISTE"_s));
    QVERIFY(!CreateIndex(u"PDE"_s, QString()));
    const QStringList now = ListIndexes(nullptr, u"PDE"_s);
    QVERIFY(!CreateIndex(u"PDE"_s, u"NUMERO) WHERE 1=1"_s));
    QVERIFY(!CreateIndex(u"PDE"_s, u"SERIE;NUMERO)"_s));
    QCOMPARE(ListIndexes(nullptr, u"PDE"_s), now);
}

void TestMetadata::dropIndex() {
    QVERIFY(CreateIndex(u"PDE"_s, u"NUMERO;SERIE"_s));

    // The short name is tried with the table code in front.
    QVERIFY(DropIndex(u"PDE"_s, u"NUMERO_SERIE"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"PDE_NUMERO_SERIE"_s), QStringList());
    QVERIFY(!DropIndex(u"PDE"_s, u"PDE_NUMERO_SERIE"_s));

    QVERIFY(DropIndex(u"VRTNPDE"_s, u"ix_pde_sigla"_s));
    QVERIFY(!ListIndexes(nullptr, u"PDE"_s).contains(u"IX_PDE_SIGLA"_s));

    // Another table's index, the primary key's and typed text are left alone.
    QVERIFY(!DropIndex(u"PDE"_s, u"IX_PIE_DATA"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"IX_PIE_DATA"_s), QStringList{u"DATA"_s});
    const QStringList primary =
        Query(m_fixture->erp(),
              u"SELECT RDB$INDEX_NAME FROM RDB$RELATION_CONSTRAINTS WHERE "
              "RDB$RELATION_NAME = 'VRTNPDE' AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'"_s);
    QCOMPARE(primary.size(), 1);
    QVERIFY(!DropIndex(u"PDE"_s, primary.first()));
    QVERIFY(!DropIndex(u"PDE"_s, u"IX_PDE_DATA; DROP TABLE VRTNPIE"_s));
    QCOMPARE(IndexColumns(m_fixture->erp(), u"IX_PDE_DATA"_s), QStringList{u"DATA"_s});
}

void TestMetadata::rowsWhere_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<bool>("found");

    QTest::newRow("match") << u"PEDIDO = 1"_s << true;
    QTest::newRow("no match") << u"PEDIDO = 2"_s << false;
    QTest::newRow("empty") << u"  "_s << false;
    QTest::newRow("unknown column") << u"NAOEXISTE = 1"_s << false;
    QTest::newRow("trailing separator") << u"PEDIDO = 1;"_s << true;
    QTest::newRow("separator glued to a statement") << u"PEDIDO=1;DELETE FROM VRTNPDE"_s << false;
    QTest::newRow("separator before a statement") << u"PEDIDO = 1; DELETE FROM VRTNPDE"_s << false;
    QTest::newRow("two separators") << u"PEDIDO = 1;; DELETE FROM VRTNPDE"_s << false;
    QTest::newRow("separator inside a quoted value") << u"SIGLA='A;B C'"_s << true;
    QTest::newRow("quoted apostrophe then separator") << u"SIGLA<>'D''X' AND PEDIDO = 1;"_s << true;
}

void TestMetadata::rowsWhere() {
    QFETCH(QString, condition);
    QFETCH(bool, found);
    m_fixture->erp().load(u"INSERT INTO VRTNPDE (PEDIDO, SIGLA) VALUES (1, 'A;B C');"_s);

    QCOMPARE(RowsWhere(u"PDE"_s, condition), found);
    if (found) QCOMPARE(DataModule().slot(Slot::T_CADSQL).value(u"PEDIDO"_s).toInt(), 1);
    QCOMPARE(Query(m_fixture->erp(), u"SELECT COUNT(*) FROM VRTNPDE"_s), QStringList{u"1"_s});

    // The slot is usable again whatever happened.
    QVERIFY(RowsWhere(u"VRTNPDE"_s, u"SIGLA = 'A;B C'"_s, B_DIR(1)));
}

QTEST_GUILESS_MAIN(TestMetadata)
#include "test_metadata.moc"
