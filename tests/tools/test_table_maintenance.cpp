// The table maintenance's work on a real database: the access rule on the
// resolved table (typed as a code, in lower case, with the company suffix)
// for every command, the table looked for in the chosen database, a value
// refused by the database rolling back a whole mass change, the order and
// the values of the renumbering, function 2, the grid's column list.

#include "data/data_module.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "support/module_fixture.h"
#include "tools/table_maintenance.h"

#include <QTest>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

namespace {

// A rights string of "N" with the table maintenance's positions set.
QString Rights(QChar use, QChar changes, QChar parameters) {
    QString rights(30, u'N');
    rights[10] = use;
    rights[11] = changes;
    rights[14] = parameters;
    return rights;
}

} // namespace

class TestTableMaintenance : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void accessRule_data();
    void accessRule();
    void everyCommandObeysTheRule_data();
    void everyCommandObeysTheRule();
    void tableOfTheChosenDatabase();
    void refusedValueRollsEverythingBack();
    void renumbering_data();
    void renumbering();
    void renumberingTakesWholeNumbersOnly_data();
    void renumberingTakesWholeNumbersOnly();
    void massChangeFunctions_data();
    void massChangeFunctions();
    void valuesByColumnType_data();
    void valuesByColumnType();
    void insertRow();
    void auditLines_data();
    void auditLines();
    void gridColumns_data();
    void gridColumns();
    void columnListKeepsTheOtherLines();

  private:
    // Column `field` of the test rows by COD, read on the fixture's own
    // connection.
    QStringList Column(const QString& field);
    MaintenanceTable Table();

    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestTableMaintenance::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().exec(u"CREATE TABLE VRTNTMA (COD INTEGER NOT NULL PRIMARY KEY, "
                          u"NOME VARCHAR(20), NUMERO VARCHAR(10), "
                          u"VALOR NUMERIC(15,2) CHECK (VALOR < 1000))"_s);
    m_fixture->erp().load(u"INSERT INTO VRTNTMA VALUES (1, 'Porca', '5', 100);\n"
                          u"INSERT INTO VRTNTMA VALUES (2, 'Arruela', '3', 200);\n"
                          u"INSERT INTO VRTNTMA VALUES (3, 'Parafuso', '1', 300);\n"
                          u"INSERT INTO VRTNTMA VALUES (4, 'Bucha', '4', 400);\n"
                          u"INSERT INTO VRTNTMA VALUES (5, 'Mola', '2', 50);\n"_s);
    m_fixture->refreshTableLists();
    data::Globals().user.level = u"9"_s;
    data::Globals().user.rights = Rights(u'S', u'S', u'S');
}

void TestTableMaintenance::cleanup() {
    m_fixture.reset();
}

QStringList TestTableMaintenance::Column(const QString& field) {
    data::Connection& connection = m_fixture->erp().connection();
    data::Transaction transaction(connection);
    data::Statement select(connection, transaction,
                           u"SELECT "_s + field + u" FROM VRTNTMA ORDER BY COD"_s);
    select.open();
    QStringList values;
    while (select.fetch())
        values << select.value(0).toString();
    transaction.commit();
    return values;
}

MaintenanceTable TestTableMaintenance::Table() {
    QString error;
    const MaintenanceTable table = FindMaintenanceTable(u"TMA"_s, nullptr, &error);
    if (!table.valid()) qFatal("test table not found: %s", qPrintable(error));
    return table;
}

void TestTableMaintenance::accessRule_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("allowed");
    const int open = int(TableCommand::Open), search = int(TableCommand::Search),
              change = int(TableCommand::Change), index = int(TableCommand::Index);
    const QString noParameters = Rights(u'S', u'S', u'N');
    QTest::newRow("level 9, no right 15: code PAR")
        << "9" << noParameters << "PAR" << open << false;
    QTest::newRow("level 9, no right 15: lower case")
        << "9" << noParameters << "vrtnpar" << open << false;
    QTest::newRow("level 9, no right 15: company suffix")
        << "9" << noParameters << "VRTNPAR001" << open << false;
    QTest::newRow("level 9, no right 15: search")
        << "9" << noParameters << "par" << search << false;
    QTest::newRow("level 9, no right 15: change")
        << "9" << noParameters << "VRTNPAR" << change << false;
    QTest::newRow("level 9, no right 15: index") << "9" << noParameters << "Par" << index << false;
    QTest::newRow("level 9, right 15")
        << "9" << Rights(u'N', u'N', u'S') << "PAR" << change << true;
    QTest::newRow("level 9, other table")
        << "9" << Rights(u'N', u'N', u'N') << "PDE" << change << true;
    QTest::newRow("level 5, right 11: users table")
        << "5" << Rights(u'S', u'S', u'S') << "SEN" << open << false;
    QTest::newRow("level 5, right 11: users table, lower case")
        << "5" << Rights(u'S', u'S', u'S') << "vrtnsen" << open << false;
    QTest::newRow("level 5, right 11: diary table")
        << "5" << Rights(u'S', u'S', u'S') << "agd" << index << false;
    QTest::newRow("level 5, right 11: search in the users table")
        << "5" << Rights(u'S', u'S', u'S') << "SEN" << search << false;
    QTest::newRow("level 5, no right 11: search in the diary table")
        << "5" << Rights(u'N', u'S', u'S') << "vrtnagd" << search << false;
    QTest::newRow("level 9, no right 11: search in the users table")
        << "9" << Rights(u'N', u'N', u'S') << "SEN" << search << true;
    QTest::newRow("level 5, no right 11: open")
        << "5" << Rights(u'N', u'S', u'S') << "PDE" << open << false;
    QTest::newRow("level 5, no right 11: search")
        << "5" << Rights(u'N', u'S', u'S') << "PDE" << search << true;
    QTest::newRow("level 5, no right 12: open")
        << "5" << Rights(u'S', u'N', u'N') << "PDE" << open << true;
    QTest::newRow("level 5, no right 12: change")
        << "5" << Rights(u'S', u'N', u'N') << "PDE" << change << false;
    QTest::newRow("level 5, rights 11 and 12: change")
        << "5" << Rights(u'S', u'S', u'N') << "PDE" << change << true;
    QTest::newRow("rights string too short") << "5" << u"SS"_s << "PDE" << open << false;
}

void TestTableMaintenance::accessRule() {
    QFETCH(QString, level);
    QFETCH(QString, rights);
    QFETCH(QString, typed);
    QFETCH(int, command);
    QFETCH(bool, allowed);
    data::Globals().user.level = level;
    data::Globals().user.rights = rights;
    QCOMPARE(MayUseTable(data::ResolveTableName(typed), TableCommand(command)), allowed);
}

void TestTableMaintenance::everyCommandObeysTheRule_data() {
    QTest::addColumn<QString>("command");
    for (const char* name : {"change", "renumber", "edit", "insert", "delete row", "zero", "delete",
                             "create index", "drop index"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestTableMaintenance::everyCommandObeysTheRule() {
    QFETCH(QString, command);
    // The parameter store's table, typed in lower case, to a level-9 user
    // without right 15: every command refuses and the table keeps its rows.
    m_fixture->store().exec(u"CREATE INDEX PAR_TEXTOIDX ON VRTNPAR (CAMPO)"_s);
    data::Globals().user.rights = Rights(u'S', u'S', u'N');
    m_fixture->store().exec(u"INSERT INTO VRTNPAR (CHAVE, CAMPO, TEXTO) VALUES ('K', '1', 'x')"_s);
    // The index commands name the table as the engine does, so that only the
    // rule can stop them.
    const MaintenanceTable table{command.contains(u"index"_s) ? u"VRTNPAR"_s : u"vrtnpar"_s,
                                 &m_fixture->store().connection()};
    bool refused = false;
    if (command == u"change"_s) {
        MassChange change;
        change.field = u"TEXTO"_s;
        change.content = u"y"_s;
        refused = ApplyMassChange(table, change).refused;
    } else if (command == u"renumber"_s) {
        Renumbering renumbering;
        renumbering.field = u"CAMPO"_s;
        refused = ApplyRenumbering(table, renumbering).refused;
    } else if (command == u"edit"_s) {
        refused = SaveRowEdits(table, {{{u"K"_s}, u"TEXTO"_s, u"y"_s}}).refused;
    } else if (command == u"insert"_s) {
        refused = InsertRow(table, {u"CHAVE"_s, u"CAMPO"_s}, {u"K2"_s, u"1"_s}).refused;
    } else if (command == u"delete row"_s) {
        refused = DeleteRow(table, {u"K"_s}).refused;
    } else if (command == u"zero"_s) {
        refused = EmptyTable(table).refused;
    } else if (command == u"delete"_s) {
        refused = DeleteFilteredRows(table, u"1 = 1"_s).refused;
    } else if (command == u"create index"_s) {
        refused = !CreateTableIndex(table, u"CAMPO,CHAVE"_s);
    } else {
        refused = !DropTableIndex(table, u"PAR_TEXTOIDX"_s);
    }
    QVERIFY(refused);
    data::Connection& store = m_fixture->store().connection();
    data::Transaction transaction(store);
    data::Statement select(store, transaction, u"SELECT TEXTO FROM VRTNPAR WHERE CHAVE = 'K'"_s);
    select.open();
    QVERIFY(select.fetch());
    QCOMPARE(select.value(0).toString(), u"x"_s);
    select.close();
    QVERIFY(data::ListIndexes(&store, u"VRTNPAR"_s).contains(u"PAR_TEXTOIDX"_s));
    QCOMPARE(data::ListIndexes(&store, u"VRTNPAR"_s).size(), 1);
}

void TestTableMaintenance::tableOfTheChosenDatabase() {
    QString error;
    // The test table lives in database 1 only.
    QVERIFY(FindMaintenanceTable(u"tma"_s, &m_fixture->erp().connection(), &error).valid());
    QCOMPARE(FindMaintenanceTable(u"tma"_s, &m_fixture->erp().connection()).name, u"VRTNTMA"_s);
    QVERIFY(!FindMaintenanceTable(u"TMA"_s, &m_fixture->store().connection(), &error).valid());
    QVERIFY2(error.contains(u"VRTNTMA não é uma tabela do banco de dados"_s), qPrintable(error));
    QVERIFY(
        !FindMaintenanceTable(u"VRTNTMA;DROP"_s, &m_fixture->erp().connection(), &error).valid());
}

void TestTableMaintenance::refusedValueRollsEverythingBack() {
    MassChange change;
    change.field = u"VALOR"_s;
    change.content = u"VALOR * 3"_s;
    change.expression = true;
    // Rows 1, 2 and 5 take the new value; row 3 (900) too; row 4 (1200)
    // breaks the table's CHECK.
    const ChangeResult result = ApplyMassChange(Table(), change);
    QVERIFY(!result.ok);
    QCOMPARE(result.changed, 0);
    QVERIFY2(result.message.contains(u"COD=4"_s), qPrintable(result.message));
    QVERIFY2(result.message.contains(u"Nenhum registro foi alterado"_s),
             qPrintable(result.message));
    QCOMPARE(Column(u"VALOR"_s),
             (QStringList{u"100,00"_s, u"200,00"_s, u"300,00"_s, u"400,00"_s, u"50,00"_s}));

    // Without the row at fault the same change is written, every row once.
    change.walk.filter = u"COD <> 4"_s;
    const ChangeResult done = ApplyMassChange(Table(), change);
    QVERIFY2(done.ok, qPrintable(done.message));
    QCOMPARE(done.changed, 4);
    QCOMPARE(Column(u"VALOR"_s),
             (QStringList{u"300,00"_s, u"600,00"_s, u"900,00"_s, u"400,00"_s, u"150,00"_s}));
}

void TestTableMaintenance::renumbering_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<QStringList>("startKey");
    QTest::addColumn<QStringList>("expected"); // NUMERO by COD
    // Names in order: Arruela 2, Bucha 4, Mola 5, Parafuso 3, Porca 1.
    QTest::newRow("renumber by name, six digits")
        << 1 << qint64(1) << 6 << "NOME" << QStringList()
        << QStringList{u"000005"_s, u"000001"_s, u"000004"_s, u"000002"_s, u"000003"_s};
    QTest::newRow("renumber by key from the third row")
        << 1 << qint64(10) << 0 << "" << QStringList{u"3"_s}
        << QStringList{u"5"_s, u"3"_s, u"10"_s, u"11"_s, u"12"_s};
    QTest::newRow("add the start number")
        << 2 << qint64(100) << 0 << "NOME" << QStringList()
        << QStringList{u"105"_s, u"103"_s, u"101"_s, u"104"_s, u"102"_s};
    // Walking the field's own order while changing it: each row once.
    QTest::newRow("add in the field's own order")
        << 2 << qint64(1) << 0 << "NUMERO" << QStringList()
        << QStringList{u"6"_s, u"4"_s, u"2"_s, u"5"_s, u"3"_s};
    QTest::newRow("zeros before the number")
        << 3 << qint64(0) << 3 << "" << QStringList()
        << QStringList{u"005"_s, u"003"_s, u"001"_s, u"004"_s, u"002"_s};
    QTest::newRow("keep the number, padded")
        << 0 << qint64(0) << 2 << "NOME" << QStringList()
        << QStringList{u"05"_s, u"03"_s, u"01"_s, u"04"_s, u"02"_s};
}

void TestTableMaintenance::renumbering() {
    QFETCH(int, format);
    QFETCH(qint64, start);
    QFETCH(int, size);
    QFETCH(QString, orderBy);
    QFETCH(QStringList, startKey);
    QFETCH(QStringList, expected);
    Renumbering renumbering;
    renumbering.field = u"numero"_s;
    renumbering.format = RenumberFormat(format);
    renumbering.start = start;
    renumbering.size = size;
    renumbering.walk.orderBy = orderBy;
    renumbering.walk.startKey = startKey;
    renumbering.dryRun = true;
    const QStringList before = Column(u"NUMERO"_s);
    const ChangeResult dry = ApplyRenumbering(Table(), renumbering);
    QVERIFY2(dry.ok, qPrintable(dry.message));
    QCOMPARE(Column(u"NUMERO"_s), before);
    renumbering.dryRun = false;
    const ChangeResult result = ApplyRenumbering(Table(), renumbering);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.changed, dry.changed);
    QCOMPARE(Column(u"NUMERO"_s), expected);
}

void TestTableMaintenance::renumberingTakesWholeNumbersOnly_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("numbers");  // NUMERO by COD, set first
    QTest::addColumn<QStringList>("expected"); // NUMERO by COD after; empty: refused
    QTest::addColumn<QString>("fault");        // the row the refusal names
    const QStringList plain{u"5"_s, u"3"_s, u"1"_s, u"4"_s, u"2"_s};
    QTest::newRow("keep ten digits")
        << 0 << qint64(0) << 0 << QStringList{u"1234567890"_s, u"3"_s, u"-7"_s, u"4"_s, u"2"_s}
        << QStringList{u"1234567890"_s, u"3"_s, u"-7"_s, u"4"_s, u"2"_s} << QString();
    QTest::newRow("add to ten digits")
        << 2 << qint64(1) << 0 << QStringList{u"1234567890"_s, u"3"_s, u"1"_s, u"4"_s, u"2"_s}
        << QStringList{u"1234567891"_s, u"4"_s, u"2"_s, u"5"_s, u"3"_s} << QString();
    QTest::newRow("negative padded after its sign")
        << 0 << qint64(0) << 3 << QStringList{u"-5"_s, u"3"_s, u"1"_s, u"4"_s, u"2"_s}
        << QStringList{u"-05"_s, u"003"_s, u"001"_s, u"004"_s, u"002"_s} << QString();
    QTest::newRow("keep a decimal comma")
        << 0 << qint64(0) << 0 << QStringList{u"5"_s, u"3"_s, u"12,50"_s, u"4"_s, u"2"_s}
        << QStringList() << u"COD=3"_s;
    QTest::newRow("add to letters")
        << 2 << qint64(10) << 0 << QStringList{u"5"_s, u"AB"_s, u"1"_s, u"4"_s, u"2"_s}
        << QStringList() << u"COD=2"_s;
    QTest::newRow("add to an empty value")
        << 2 << qint64(10) << 0 << QStringList{u"5"_s, u"3"_s, u"1"_s, u""_s, u"2"_s}
        << QStringList() << u"COD=4"_s;
    QTest::newRow("zeros before a number longer than the size")
        << 3 << qint64(0) << 4 << QStringList{u"5"_s, u"3"_s, u"1"_s, u"4"_s, u"12345"_s}
        << QStringList() << u"COD=5"_s;
    QTest::newRow("zeros before letters")
        << 3 << qint64(0) << 4 << QStringList{u"5"_s, u"3"_s, u"1A"_s, u"4"_s, u"2"_s}
        << QStringList() << u"COD=3"_s;
    QTest::newRow("renumbering past the size")
        << 1 << qint64(9999) << 4 << plain << QStringList() << u"COD=2"_s;
}

void TestTableMaintenance::renumberingTakesWholeNumbersOnly() {
    QFETCH(int, format);
    QFETCH(qint64, start);
    QFETCH(int, size);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, expected);
    QFETCH(QString, fault);
    for (int i = 0; i < numbers.size(); ++i)
        m_fixture->erp().exec(u"UPDATE VRTNTMA SET NUMERO = '%1' WHERE COD = %2"_s.arg(
            numbers[i], QString::number(i + 1)));
    Renumbering renumbering;
    renumbering.field = u"NUMERO"_s;
    renumbering.format = RenumberFormat(format);
    renumbering.start = start;
    renumbering.size = size;
    const ChangeResult result = ApplyRenumbering(Table(), renumbering);
    if (expected.isEmpty()) {
        QVERIFY(!result.ok);
        QCOMPARE(result.changed, 0);
        QVERIFY2(result.message.contains(fault), qPrintable(result.message));
        QVERIFY2(result.message.contains(u"Nenhum registro foi alterado"_s),
                 qPrintable(result.message));
        QCOMPARE(Column(u"NUMERO"_s), numbers);
    } else {
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(Column(u"NUMERO"_s), expected);
    }
}

void TestTableMaintenance::massChangeFunctions_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("function");
    QTest::addColumn<QString>("after");
    QTest::newRow("2: apostrophe") << "A'B" << 2 << "A B";
    QTest::newRow("2: blank and double quote") << "A \"B" << 2 << "A B";
    QTest::newRow("1: upper case with accents") << "ação" << 1 << "AÇÃO";
    QTest::newRow("3: accents removed") << "Ação" << 3 << "Acao";
    QTest::newRow("4: symbols removed") << "12.345-6" << 4 << "123456";
}

void TestTableMaintenance::massChangeFunctions() {
    QFETCH(QString, before);
    QFETCH(int, function);
    QFETCH(QString, after);
    data::Connection& connection = m_fixture->erp().connection();
    {
        data::Transaction transaction(connection);
        data::Statement update(connection, transaction,
                               u"UPDATE VRTNTMA SET NOME = :P_NOME WHERE COD = 2"_s);
        update.bind(u"P_NOME"_s, before);
        update.execute();
        transaction.commit();
    }
    MassChange change;
    change.field = u"NOME"_s;
    change.function = ChangeFunction(function);
    change.walk.filter = u"COD = 2"_s;
    const ChangeResult result = ApplyMassChange(Table(), change);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(result.changed, 1);
    QCOMPARE(Column(u"NOME"_s).value(1), after);
    QCOMPARE(Column(u"NOME"_s).value(0), u"Porca"_s);
}

void TestTableMaintenance::valuesByColumnType_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("expression");
    QTest::addColumn<QString>("after");
    // Row 1: VALOR 100, DATA 05/03/2026, MOMENTO 05/03/2026 08:30.
    QTest::newRow("number with decimals worked out") << "VALOR"
                                                     << "VALOR / 8" << true << "12,50";
    QTest::newRow("date copied day first") << "DTALT"
                                           << "DATA" << true << "05/03/26";
    QTest::newRow("date typed, day above 12") << "DTALT"
                                              << "25/12/2026" << false << "25/12/26";
    QTest::newRow("timestamp copied") << "MOMENTO"
                                      << "MOMENTO" << true << "05/03/26 08:30:00";
    QTest::newRow("date emptied") << "DTALT"
                                  << "" << false << "";
}

void TestTableMaintenance::valuesByColumnType() {
    QFETCH(QString, field);
    QFETCH(QString, content);
    QFETCH(bool, expression);
    QFETCH(QString, after);
    m_fixture->erp().exec(u"ALTER TABLE VRTNTMA ADD DATA DATE, ADD DTALT DATE, "
                          u"ADD MOMENTO TIMESTAMP"_s);
    m_fixture->erp().exec(u"UPDATE VRTNTMA SET DATA = '2026-03-05', DTALT = '2026-01-01', "
                          u"MOMENTO = '2026-03-05 08:30:00'"_s);
    MassChange change;
    change.field = field;
    change.content = content;
    change.expression = expression;
    change.walk.filter = u"COD = 1"_s;
    const ChangeResult result = ApplyMassChange(Table(), change);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(Column(field).value(0), after);
    // The row's key typed in the grid, the value as the grid shows it.
    QVERIFY(SaveRowEdits(Table(), {{{u"2"_s}, field, after}}).ok);
    QCOMPARE(Column(field).value(1), after);
}

void TestTableMaintenance::insertRow() {
    m_fixture->erp().exec(u"ALTER TABLE VRTNTMA ADD DATA DATE"_s);
    // Fields left empty keep their defaults (null here).
    const ChangeResult done = InsertRow(Table(), {u"cod"_s, u"NOME"_s, u"DATA"_s, u"VALOR"_s},
                                        {u"6"_s, u"Trava"_s, u"25/12/26"_s, QString()});
    QVERIFY2(done.ok, qPrintable(done.message));
    QCOMPARE(Column(u"NOME"_s).value(5), u"Trava"_s);
    QCOMPARE(Column(u"DATA"_s).value(5), u"25/12/26"_s);
    QCOMPARE(Column(u"VALOR"_s).value(5), QString());
    // A key already there, or a value the table's CHECK refuses: nothing added.
    const ChangeResult twice = InsertRow(Table(), {u"COD"_s, u"NOME"_s}, {u"6"_s, u"Outra"_s});
    QVERIFY(!twice.ok);
    QVERIFY(!twice.message.isEmpty());
    QVERIFY(!InsertRow(Table(), {u"COD"_s, u"VALOR"_s}, {u"7"_s, u"1000"_s}).ok);
    QCOMPARE(Column(u"COD"_s).size(), 6);
}

void TestTableMaintenance::auditLines_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("change") << "change" << QStringList{u"MPA - ALTERANDO CAMPO: NOME"_s};
    QTest::newRow("renumber") << "renumber" << QStringList{u"MPA - FORMATANDO CAMPO: NUMERO"_s};
    QTest::newRow("grid edit") << "edit" << QStringList{u"MPA - MANUTENÇÃO DE TABELAS: VRTNTMA"_s};
    QTest::newRow("delete visible")
        << "delete"
        << QStringList{u"EXCLUSAO: COD = 2 - "_s, u"MPA - DELETANDO REGISTROS VISIVEIS: VRTNTMA"_s};
    QTest::newRow("zero") << "zero" << QStringList{u"MPA - ZERANDO TABELA: VRTNTMA"_s};
    QTest::newRow("refused value") << "refused" << QStringList{};
}

void TestTableMaintenance::auditLines() {
    QFETCH(QString, command);
    QFETCH(QStringList, lines);
    const MaintenanceTable table = Table();
    bool ok = false;
    if (command == u"change"_s) {
        MassChange change;
        change.field = u"nome"_s;
        change.content = u"X"_s;
        ok = ApplyMassChange(table, change).ok;
    } else if (command == u"renumber"_s) {
        Renumbering renumbering;
        renumbering.field = u"NUMERO"_s;
        renumbering.start = 1;
        ok = ApplyRenumbering(table, renumbering).ok;
    } else if (command == u"edit"_s) {
        ok = SaveRowEdits(table, {{{u"1"_s}, u"NOME"_s, u"Y"_s}}).ok;
    } else if (command == u"delete"_s) {
        ok = DeleteFilteredRows(table, u"COD = 2"_s).ok;
    } else if (command == u"zero"_s) {
        ok = EmptyTable(table).ok;
    } else {
        MassChange change;
        change.field = u"VALOR"_s;
        change.content = u"5000"_s;
        ok = !ApplyMassChange(table, change).ok;
    }
    QVERIFY(ok);
    // The log's rows for the table, oldest first.
    data::Connection& log = *data::B_DIR(1);
    data::Transaction transaction(log);
    data::Statement select(log, transaction,
                           u"SELECT LOG_OBS FROM VRTNLOG WHERE LOG_TABELA = 'VRTNTMA' "
                           u"ORDER BY LOG_SEQ"_s);
    select.open();
    QStringList written;
    while (select.fetch())
        written << select.value(0).toString();
    transaction.commit();
    QCOMPARE(written, lines);
}

void TestTableMaintenance::gridColumns_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("commas") << "NUMERO,SERIE,VALOR"
                            << QStringList{u"NUMERO"_s, u"SERIE"_s, u"VALOR"_s};
    QTest::newRow("empty shows every field") << "" << QStringList();
    QTest::newRow("hashes, commas and empty fields")
        << "A#,B##C," << QStringList{u"A"_s, u"B"_s, u"C"_s};
}

void TestTableMaintenance::gridColumns() {
    QFETCH(QString, list);
    QFETCH(QStringList, columns);
    QCOMPARE(GridColumns(list), columns);
}

void TestTableMaintenance::columnListKeepsTheOtherLines() {
    const MaintenanceTable table = Table();
    data::ParamLines().clear();
    data::ParamLines().setLine(5, u"outra linha"_s);
    QVERIFY(data::ParamWrite(table.database, u"ARQ_VRTNTMA"_s, 0));
    QVERIFY(WriteColumnList(table, u"COD,NOME"_s));
    data::ParamLines().clear();
    QCOMPARE(ReadColumnList(table), u"COD,NOME"_s);
    QCOMPARE(data::ParamLines().line(5), u"outra linha"_s);

    // A read that fails writes nothing: the key's other lines stay.
    const QString read = u"SELECT * FROM VRTNPAR WHERE CHAVE = 'ARQ_VRTNTMA'"_s;
    data::SetQueryObserver([read](data::Slot, const QString& sql) {
        if (sql == read) throw data::DbError(u"leitura recusada"_s);
    });
    const bool written = WriteColumnList(table, u"NOME"_s);
    data::SetQueryObserver({});
    QVERIFY(!written);
    data::ParamLines().clear();
    QCOMPARE(ReadColumnList(table), u"COD,NOME"_s);
    QCOMPARE(data::ParamLines().line(5), u"outra linha"_s);
}

QTEST_MAIN(TestTableMaintenance)
#include "test_table_maintenance.moc"
