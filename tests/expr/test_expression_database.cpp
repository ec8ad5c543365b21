// Expressions over real rows: the current row of a query slot, look-ups in a
// table of the ERP database, and the database that holds a table.

#include "data/data_module.h"
#include "data/queries.h"
#include "expr/database_lookup.h"
#include "expr/expression.h"
#include "expr/slot_row.h"
#include "support/module_fixture.h"

#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::expr;
using namespace Qt::StringLiterals;

namespace {

int DiagnosticCode(const ExpressionResult& r) {
    return r.diagnostic ? int(r.diagnostic->kind) : -1;
}

} // namespace

class TestExpressionDatabase : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void queryRows();
    void lookupValue_data();
    void lookupValue();
    void tableDatabaseNumber_data();
    void tableDatabaseNumber();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestExpressionDatabase::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().load(u"INSERT INTO VRTNNAT (NATOPER, DESCRICAO, RESUMIDA, ATUGIAICM)\n"
                          u"VALUES (1102, 'COMPRA PARA COMERCIALIZACAO', 'COMPRA', 'S');\n"
                          u"INSERT INTO VRTNNAT (NATOPER, DESCRICAO, RESUMIDA, ATUGIAICM)\n"
                          u"VALUES (5102, 'VENDA DE MERCADORIA', 'VENDA', 'N');\n"_s);
}

void TestExpressionDatabase::cleanup() {
    m_fixture.reset();
}

void TestExpressionDatabase::queryRows() {
    // Parsed once, evaluated on each row the slot walks.
    const ParsedExpression thousandths = ParseExpression(u"NATOPER/1000"_s, ExpressionKind::Field);
    const ParsedExpression prefix =
        ParseExpression(u"COPY(DESCRICAO,1,5)"_s, ExpressionKind::Field);
    const ParsedExpression wrong = ParseExpression(u"NATOPER+NATOPR"_s, ExpressionKind::Field);
    const ParsedExpression text = ParseExpression(u"A.RESUMIDA+1"_s, ExpressionKind::Field);

    QVERIFY(data::RunSelect(data::Slot::T_CON1, u"NAT"_s, u"*"_s, QString(), u"NATOPER"_s));
    data::DataSlot& slot = data::DataModule().slot(data::Slot::T_CON1);
    const SlotRow row(slot);
    QStringList walked;
    do {
        walked << Evaluate(thousandths, row).text + u' ' + Evaluate(prefix, row).text;
        QCOMPARE(DiagnosticCode(Evaluate(wrong, row)), int(Diagnostic::Kind::UnknownField));
        QCOMPARE(DiagnosticCode(Evaluate(text, row)), int(Diagnostic::Kind::NotANumber));
    } while (slot.next());
    QCOMPARE(walked, (QStringList{u"1,102 COMPR"_s, u"5,102 VENDA"_s}));
    QCOMPARE(SlotRow(slot).secondaryField(u"NATOPER"_s), std::nullopt);
    data::CloseSlot(data::Slot::T_CON1);
}

void TestExpressionDatabase::lookupValue_data() {
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QString>("keyValue");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("diagnostic");

    const int none = -1;
    const int failed = int(Diagnostic::Kind::LookupFailed);
    QTest::newRow("by key") << u"NATOPER"_s << u"5102"_s << u""_s << u"RESUMIDA"_s << u"VENDA"_s
                            << none;
    QTest::newRow("by alias") << u"NATOPER"_s << u"5102"_s << u""_s << u"A.RESUMIDA"_s << u"VENDA"_s
                              << none;
    QTest::newRow("by primary key")
        << u""_s << u"1102"_s << u""_s << u"RESUMIDA"_s << u"COMPRA"_s << none;
    QTest::newRow("filter narrows")
        << u""_s << u"1102"_s << u"ATUGIAICM = 'N'"_s << u"RESUMIDA"_s << u""_s << failed;
    // Without its parentheses the OR would reach the other nature's row.
    QTest::newRow("filter cannot widen")
        << u""_s << u"9999"_s << u"ATUGIAICM = 'N' OR 1 = 1"_s << u"RESUMIDA"_s << u""_s << failed;
    QTest::newRow("choice") << u""_s << u"5102"_s << u""_s
                            << u"IIF(ATUGIAICM = N,RESUMIDA,DESCRICAO)"_s << u"VENDA"_s << none;
    QTest::newRow("choice differs")
        << u""_s << u"1102"_s << u""_s << u"IIF(ATUGIAICM = N,RESUMIDA,DESCRICAO)"_s
        << u"COMPRA PARA COMERCIALIZACAO"_s << none;
    QTest::newRow("no row") << u""_s << u"9999"_s << u""_s << u"RESUMIDA"_s << u""_s << failed;
    QTest::newRow("bad column") << u""_s << u"5102"_s << u""_s << u"RESUMO"_s << u""_s << failed;
}

void TestExpressionDatabase::lookupValue() {
    QFETCH(QString, keyField);
    QFETCH(QString, keyValue);
    QFETCH(QString, filter);
    QFETCH(QString, expr);
    QFETCH(QString, expected);
    QFETCH(int, diagnostic);
    const ExpressionResult r =
        LookupValue(DatabaseLookup(), u"NAT"_s, keyField, keyValue, filter, expr);
    QCOMPARE(r.text, expected);
    QCOMPARE(DiagnosticCode(r), diagnostic);
}

void TestExpressionDatabase::tableDatabaseNumber_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expected");
    QTest::newRow("erp table") << u"VRTNNAT"_s << 0 << 1;
    QTest::newRow("program table prefers 5") << u"VRTNPAR"_s << 0 << 5;
    QTest::newRow("asked in 1") << u"VRTNPAR"_s << 1 << 1;
    QTest::newRow("not in 5") << u"VRTNNAT"_s << 5 << 0;
    QTest::newRow("exact name") << u"VRTNNA"_s << 0 << 0;
    QTest::newRow("no such database") << u"VRTNNAT"_s << 6 << 0;
}

void TestExpressionDatabase::tableDatabaseNumber() {
    QFETCH(QString, table);
    QFETCH(int, n);
    QFETCH(int, expected);
    QCOMPARE(TableDatabaseNumber(table, n), expected);
}

QTEST_MAIN(TestExpressionDatabase)
#include "test_expression_database.moc"
