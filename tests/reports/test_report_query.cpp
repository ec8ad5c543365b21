// The statement of a user-defined report: what the selection boxes, the
// [VARSQL] value, the period and the stored conditions become, and that every
// statement built prepares on a real database.

#include "data/db_error.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "expr/macros.h"
#include "reports/report_query.h"
#include "support/module_fixture.h"

#include <QTest>

#include <functional>

using namespace livrax;
using namespace livrax::reports;
using namespace Qt::StringLiterals;

namespace {

// Sets up the definition, selection and configuration of one case.
struct Setup {
    ReportDefinition definition;
    LastSelection selection;
    MenuSelectionConfig config;
};
using Arrange = std::function<void(Setup&)>;

const QStringList Columns = {u"PEDIDO"_s, u"FILIAL"_s, u"NNOTA"_s,
                             u"SIGLA"_s,  u"DTNOTA"_s, u"VALOR"_s};

void Box(Setup& s, int index, const QString& title, const QString& field, const QString& type,
         const QString& value) {
    s.config.singles.at(std::size_t(index)) = {title, field, type};
    s.selection.values.at(std::size_t(index)) = value;
}

} // namespace

Q_DECLARE_METATYPE(Arrange)

class TestReportQuery : public QObject {
    Q_OBJECT

  private slots:
    void buildsSafeStatements_data();
    void buildsSafeStatements();
    void secondBuildKeepsTitle();
    void currencyOfTheDay_data();
    void currencyOfTheDay();
};

void TestReportQuery::buildsSafeStatements_data() {
    QTest::addColumn<Arrange>("arrange");
    // The lines after "SELECT ..." and "FROM VRTNPDS A", joined by " | ".
    QTest::addColumn<QString>("expected");
    // A part of the refusal when the values are refused.
    QTest::addColumn<QString>("refusal");

    QTest::newRow("text with an apostrophe")
        << Arrange([](Setup& s) { Box(s, 0, u"Cliente"_s, u"SIGLA"_s, u"S"_s, u"o'brien"_s); })
        << u"WHERE (A.SIGLA = 'O''BRIEN')"_s << QString();
    QTest::newRow("LIKE with an apostrophe")
        << Arrange([](Setup& s) { Box(s, 0, u"Cliente"_s, u"SIGLA"_s, u"S"_s, u"O'B*"_s); })
        << u"WHERE (A.SIGLA LIKE 'O''B%')"_s << QString();
    QTest::newRow("numbers as alternatives")
        << Arrange([](Setup& s) { Box(s, 1, u"Nota"_s, u"NNOTA"_s, u"N"_s, u"1 or 2"_s); })
        << u"WHERE (A.NNOTA = 1 OR A.NNOTA = 2)"_s << QString();
    QTest::newRow("operator in the field name")
        << Arrange([](Setup& s) { Box(s, 1, u"Valor"_s, u"VALOR>="_s, u"N"_s, u"10,5"_s); })
        << u"WHERE (A.VALOR>= 10.5)"_s << QString();
    QTest::newRow("statement in a numeric box")
        << Arrange([](Setup& s) { Box(s, 1, u"Nota"_s, u"NNOTA"_s, u"N"_s, u"1; DELETE"_s); })
        << QString() << u"\"Nota\""_s;
    QTest::newRow("date box") << Arrange([](Setup& s) {
        Box(s, 2, u"Emissão"_s, u"DTNOTA"_s, u"D"_s, u"05/01/07"_s);
    }) << u"WHERE (A.DTNOTA = '05.01.2007')"_s
                              << QString();
    QTest::newRow("date box with no date")
        << Arrange([](Setup& s) { Box(s, 2, u"Emissão"_s, u"DTNOTA"_s, u"D"_s, u"31/02/07"_s); })
        << QString() << u"\"Emissão\""_s;
    QTest::newRow("[VARSQL] inside quotes") << Arrange([](Setup& s) {
        s.definition.parameters.sqlFilter = u"A.SIGLA = '[VARSQL]'"_s;
        s.selection.varSql = u"D'AVILA"_s;
    }) << u"WHERE (A.SIGLA = 'D''AVILA')"_s << QString();
    QTest::newRow("[VARSQL] bare and not a number") << Arrange([](Setup& s) {
        s.definition.parameters.sqlFilter = u"A.NNOTA = [VARSQL]"_s;
        s.selection.varSql = u"5 OR 1=1"_s;
    }) << u"WHERE (A.NNOTA = '5 OR 1=1')"_s << QString();
    QTest::newRow("[VARSQL] bare date") << Arrange([](Setup& s) {
        s.definition.parameters.sqlFilter = u"A.DTNOTA = [VARSQL]"_s;
        s.selection.varSql = u"05/01/07"_s;
    }) << u"WHERE (A.DTNOTA = '05.01.2007')"_s
                                        << QString();
    QTest::newRow("[VARSQL] filter without a value")
        << Arrange([](Setup& s) { s.definition.parameters.sqlFilter = u"A.NNOTA = [VARSQL]"_s; })
        << QString() << QString();
    QTest::newRow("filter without [VARSQL] always applies")
        << Arrange([](Setup& s) { s.definition.parameters.sqlFilter = u"A.VALOR > 0"_s; })
        << u"WHERE (A.VALOR > 0)"_s << QString();
    QTest::newRow("period") << Arrange([](Setup& s) {
        s.selection.dateField = u"A.DTNOTA"_s;
        s.selection.initialDate = u"01/01/07"_s;
        s.selection.finalDate = u"31/01/07"_s;
    }) << u"WHERE (A.DTNOTA >= '01.01.2007') AND (A.DTNOTA <= '31.01.2007')"_s
                            << QString();
    QTest::newRow("choice with DATE, text box keeps its DATE") << Arrange([](Setup& s) {
        s.config.multiples.at(0) = {u"Vencidas"_s, u"DTNOTA < DATE"_s, u"Em dia"_s,
                                    u"DTNOTA >= DATE"_s};
        s.selection.choices.at(0) = u"1"_s;
        Box(s, 0, u"Cliente"_s, u"SIGLA"_s, u"S"_s, u"DATE"_s);
    }) << u"WHERE (A.SIGLA = 'DATE') AND A.DTNOTA < '15.03.2007'"_s
                                                               << QString();
    QTest::newRow("stored conditions, permanent filter, order")
        << Arrange([](Setup& s) {
               s.definition.parameters.permanentFilter = u"A.FILIAL = 1"_s;
               s.definition.filterConditions = u"A.VALOR>0 A.SIGLA<>'SAO PAULO' OR A.NNOTA>1"_s;
               s.definition.grouping.field = u"A.SIGLA"_s;
               s.definition.sortFields = u"NNOTA#PEDIDO"_s;
           })
        << u"WHERE (A.FILIAL = 1) AND (A.VALOR>0 AND A.SIGLA<>'SAO PAULO' OR A.NNOTA>1) | "
           u"ORDER BY A.SIGLA,A.NNOTA,A.PEDIDO"_s
        << QString();
}

void TestReportQuery::buildsSafeStatements() {
    QFETCH(Arrange, arrange);
    QFETCH(QString, expected);
    QFETCH(QString, refusal);
    test::ModuleFixture fixture;
    Setup setup;
    arrange(setup);
    const expr::MacroRun macros;
    QueryInputs inputs;
    inputs.definition = &setup.definition;
    inputs.selection = &setup.selection;
    inputs.config = &setup.config;
    inputs.mainTable = u"VRTNPDS"_s;
    inputs.mainColumns = Columns;
    inputs.today = QDate(2007, 3, 15);
    inputs.macros = &macros;
    const BuiltQuery built = BuildReportQuery(inputs);
    if (!refusal.isEmpty()) {
        QCOMPARE(built.ok(), false);
        QCOMPARE(built.refusals.size(), 1);
        QVERIFY2(built.refusals.at(0).contains(refusal), qPrintable(built.refusals.at(0)));
        return;
    }
    QCOMPARE(built.refusals, QStringList());
    QCOMPARE(built.lines.value(0), u"SELECT A.PEDIDO,A.FILIAL,A.NNOTA,A.SIGLA,A.DTNOTA,A.VALOR"_s);
    QCOMPARE(built.lines.value(1), u"FROM VRTNPDS A"_s);
    QCOMPARE(built.lines.mid(2).join(u" | "_s), expected);
    try {
        data::Transaction transaction(fixture.erp().connection());
        data::Statement statement(fixture.erp().connection(), transaction, built.sql());
    } catch (const data::DbError& error) {
        QFAIL(qPrintable(u"not prepared: "_s + QString::fromUtf8(error.what())));
    }
}

void TestReportQuery::secondBuildKeepsTitle() {
    Setup setup;
    setup.selection.dateField = u"DTNOTA"_s;
    setup.selection.initialDate = u"01/01/07"_s;
    setup.selection.finalDate = u"01/01/07"_s;
    const expr::MacroRun macros;
    QueryInputs inputs{
        &setup.definition,  &setup.selection, &setup.config, u"VRTNPDS"_s, Columns, {}, {},
        QDate(2007, 3, 15), &macros};
    QCOMPARE(BuildReportQuery(inputs).titlePeriod, u"   Data: 01/01/07"_s);
    setup.selection.finalDate = u"31/01/07"_s;
    QCOMPARE(BuildReportQuery(inputs).titlePeriod, u"   de 01/01/07   até 31/01/07"_s);
}

void TestReportQuery::currencyOfTheDay_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");
    QTest::newRow("decimal comma") << u"5,25"_s << QString() << u"5.25"_s;
    QTest::newRow("letters") << u"5,2x"_s << QString() << u"1"_s;
    QTest::newRow("blank") << u""_s << QString() << u"1"_s;
    QTest::newRow("typed replaces stored") << u"5,25"_s << u"6,1"_s << u"6.1"_s;
    QTest::newRow("typed statement") << u"5,25"_s << u"1); DROP"_s << u"1"_s;
}

void TestReportQuery::currencyOfTheDay() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    LastSelection selection;
    selection.currencyValue = typed;
    QCOMPARE(CurrencyOfTheDay({u"Dólar"_s, stored}, selection), (Currency{u"Dólar"_s, value}));
}

QTEST_GUILESS_MAIN(TestReportQuery)
#include "test_report_query.moc"
