// Table routing across two databases, the shared query builders and the
// audit log, on the data module attached to real databases.

#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "support/module_fixture.h"

#include <QTest>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

class TestRouting : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { platform::Clock::reset(); }
    void resolvesNames_data();
    void resolvesNames();
    void choosesTheDatabase();
    void runSelectBuildsTheStatement_data();
    void runSelectBuildsTheStatement();
    void runSelectWalksRowsAndFailsQuietly();
    void statementsCommitOrFailQuietly();
    void countsAndMaxima();
    void auditLogNumbersAndCutsItsRows();
    void auditLogNumberSource_data();
    void auditLogNumberSource();
    void catalogueInsertsThenUpdates();
    void openTableShowsAWholeTable();
};

void TestRouting::resolvesNames_data() {
    QTest::addColumn<QString>("store"); // table lists of the two databases
    QTest::addColumn<QString>("erp");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    const QString plain = u"VRTNPAR,VRTNPDE,"_s;
    const QString perCompany = u"VRTNPAR,VRTNPDE,VRTNPDE001,"_s;
    QTest::newRow("company table in 5") << perCompany << plain << u"PDE"_s << u"VRTNPDE001"_s;
    QTest::newRow("plain table in 5") << plain << QString() << u"PDE"_s << u"VRTNPDE"_s;
    QTest::newRow("company table in 1")
        << u"VRTNPAR,"_s << perCompany << u"PDE"_s << u"VRTNPDE001"_s;
    QTest::newRow("5 wins over 1") << plain << perCompany << u"PDE"_s << u"VRTNPDE"_s;
    QTest::newRow("unknown code") << plain << plain << u"pde"_s << u"VRTNPDE"_s;
    QTest::newRow("unlisted lower case") << QString() << QString() << u"xyz"_s << u"VRTNXYZ"_s;
    QTest::newRow("full name unchanged") << perCompany << QString() << u"VRTNPDE"_s << u"VRTNPDE"_s;
    QTest::newRow("short VRTN name") << QString() << QString() << u"VRTNp"_s << u"VRTNP"_s;
    QTest::newRow("lower-case prefix") << QString() << QString() << u"vrtnp"_s << u"vrtnp"_s;
    QTest::newRow("code and text")
        << perCompany << QString() << u"PDE - NOTAS"_s << u"VRTNPDE001"_s;
    QTest::newRow("other name") << QString() << QString() << u"rdb$fields"_s << u"rdb$fields"_s;
    QTest::newRow("digit") << QString() << QString() << u"5"_s << u"5"_s;
}

void TestRouting::resolvesNames() {
    QFETCH(QString, store);
    QFETCH(QString, erp);
    QFETCH(QString, code);
    QFETCH(QString, name);
    ResetGlobals();
    Globals().company.companyCode = u"001"_s;
    Globals().tableLists[5] = store;
    Globals().tableLists[1] = erp;
    QCOMPARE(ResolveTableName(code), name);
}

void TestRouting::choosesTheDatabase() {
    test::ModuleFixture fixture;
    // The ERP tables are only in database 1; the program's own are in both,
    // and database 5 wins.
    QCOMPARE(DatabaseFor(u"PDE"_s), B_DIR(1));
    QCOMPARE(Globals().registry.dirDefault, fixture.erp().path());
    QCOMPARE(DatabaseFor(u"PAR"_s), B_DIR(5));
    QCOMPARE(Globals().registry.dirDefault, fixture.store().path());
    QCOMPARE(DatabaseFor(u"5"_s), B_DIR(5));
    QCOMPARE(DatabaseFor(u"1"_s), B_DIR(1));
    QCOMPARE(DatabaseFor(u"4"_s), nullptr);
    QCOMPARE(DatabaseFor(u"XYZ"_s), nullptr);
    QCOMPARE(Globals().registry.dirDefault, fixture.erp().path()); // unchanged by a miss

    // A per-company copy in database 5 takes the company's rows.
    fixture.store().exec(u"CREATE TABLE VRTNCPC001 (SEQ INTEGER, SIGLA VARCHAR(20))"_s);
    fixture.store().exec(u"INSERT INTO VRTNCPC001 VALUES (1, 'CLI00001')"_s);
    fixture.refreshTableLists();
    QCOMPARE(ResolveTableName(u"CPC"_s), u"VRTNCPC001"_s);
    QCOMPARE(DatabaseFor(u"CPC"_s), B_DIR(5));
    QVERIFY(RunSelect(Slot::T_CON1, u"CPC"_s, u"SIGLA"_s, QString()));
    QCOMPARE(DataModule().slot(Slot::T_CON1).value(u"SIGLA"_s).toString(), u"CLI00001"_s);
    QVERIFY(TableExists(u"VRTNCPC"_s, B_DIR(5))); // a prefix of the company table
    QVERIFY(!TableExists(u"PDE"_s, B_DIR(5)));

    // A closed connection is not taken from the cache.
    QCOMPARE(DatabaseFor(u"PDE"_s), B_DIR(1));
    B_DIR(1)->close();
    QCOMPARE(DatabaseFor(u"PDE"_s), B_DIR(1)); // still listed, so chosen again
}

void TestRouting::runSelectBuildsTheStatement_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sql");
    QTest::newRow("plain") << int(Slot::T_CON1) << u"EMPRESA"_s << u"FJ = 'J'"_s << u"EMPRESA"_s
                           << QString()
                           << u"SELECT EMPRESA FROM VRTNEMP A\nWHERE FJ = 'J'\nORDER BY EMPRESA"_s;
    QTest::newRow("value compared")
        << int(Slot::T_CON1) << u"*"_s << u"SIGLA"_s << QString() << u"D'AVILA"_s
        << u"SELECT * FROM VRTNEMP A\nWHERE SIGLA\n = 'D''AVILA'"_s;
    QTest::newRow("value after LIKE")
        << int(Slot::T_CON1) << u"*"_s << u"EMPRESA LIKE"_s << QString() << u"HOSP%"_s
        << u"SELECT * FROM VRTNEMP A\nWHERE EMPRESA LIKE\n'HOSP%'"_s;
    QTest::newRow("value as clause")
        << int(Slot::T_CON1) << u"*"_s << QString() << QString() << u"WHERE ESTADO = 'RS'"_s
        << u"SELECT * FROM VRTNEMP A\nWHERE ESTADO = 'RS'"_s;
    QTest::newRow("whole statement")
        << int(Slot::T_CON1) << u"select COUNT(*) FROM VRTNPDS"_s << u"X"_s << u"Y"_s << QString()
        << u"select COUNT(*) FROM VRTNPDS"_s;
    QTest::newRow("T_CADSQL all fields") << int(Slot::T_CADSQL) << QString() << QString()
                                         << QString() << QString() << u"SELECT * FROM VRTNEMP A"_s;
}

void TestRouting::runSelectBuildsTheStatement() {
    QFETCH(int, slot);
    QFETCH(QString, fields);
    QFETCH(QString, where);
    QFETCH(QString, orderBy);
    QFETCH(QString, value);
    QFETCH(QString, sql);
    test::ModuleFixture fixture;
    RunSelect(Slot(slot), u"EMP"_s, fields, where, orderBy, nullptr, value);
    QCOMPARE(DataModule().slot(Slot(slot)).sql(), sql);
    QVERIFY(DataModule().slot(Slot(slot)).isOpen());
}

void TestRouting::runSelectWalksRowsAndFailsQuietly() {
    test::ModuleFixture fixture;
    fixture.erp().load(u"INSERT INTO VRTNEMP (SIGLA, EMPRESA) VALUES ('A', 'ALFA');\n"
                       u"INSERT INTO VRTNEMP (SIGLA, EMPRESA) VALUES ('B', 'BETA');\n"_s);
    QVERIFY(RunSelect(Slot::T_CON3, u"EMP"_s, u"SIGLA, EMPRESA"_s, QString(), u"SIGLA"_s));
    DataSlot& slot = DataModule().slot(Slot::T_CON3);
    QStringList seen;
    for (; !slot.eof(); slot.next())
        seen << slot.value(u"EMPRESA"_s).toString();
    QCOMPARE(seen, (QStringList{u"ALFA"_s, u"BETA"_s}));
    QVERIFY(!RunSelect(Slot::T_CON3, u"EMP"_s, u"*"_s, u"SIGLA = 'Z'"_s));
    QVERIFY(!RunSelect(Slot::T_CON3, u"EMP"_s, u"NO_SUCH_COLUMN"_s, QString()));
    QVERIFY(!slot.transaction().isActive());                        // rolled back
    QVERIFY(!RunSelect(Slot::T_CON3, u"XYZ"_s, u"*"_s, QString())); // no database
    // The slot works again after a failure.
    QVERIFY(RunSelect(Slot::T_CON3, u"EMP"_s, u"*"_s, u"SIGLA = 'B'"_s));
    CloseSlot(Slot::T_CON3);
    QVERIFY(!slot.transaction().isActive());
}

void TestRouting::statementsCommitOrFailQuietly() {
    test::ModuleFixture fixture;
    Globals().user.name = u"ANA"_s;
    QVERIFY(ExecStatement(u"EMP"_s, u"INSERT INTO VRTNEMP (SIGLA) VALUES ('X1')"_s));
    QVERIFY(!ExecStatement(u"EMP"_s, u"INSERT INTO VRTNEMP (SIGLA) VALUES ('X1')"_s)); // key
    QVERIFY(!ExecStatement(u"XYZ"_s, u"DELETE FROM VRTNXYZ"_s)); // no database
    QCOMPARE(CountRows(u"EMP"_s), qint64(1));
    QVERIFY(DeleteWhere(u"EMP"_s, u"SIGLA = 'X1'"_s, nullptr, u"teste"_s));
    QCOMPARE(CountRows(u"EMP"_s), qint64(0));
    QVERIFY(DeleteWhere(u"EMP"_s, u"SIGLA = 'Y'"_s, nullptr, u"NAO"_s));
    // Only the first deletion was logged, with its condition and note.
    QCOMPARE(CountRows(u"LOG"_s, QString(), B_DIR(1)), qint64(1));
    QVERIFY(RunSelect(Slot::T_CON1, u"VRTNLOG"_s, u"*"_s, QString(), QString(), B_DIR(1)));
    QCOMPARE(DataModule().slot(Slot::T_CON1).value(u"LOG_OBS"_s).toString(),
             u"EXCLUSAO: SIGLA = 'X1' - teste"_s);
    QCOMPARE(DataModule().slot(Slot::T_CON1).value(u"LOG_TABELA"_s).toString(), u"VRTNEMP"_s);
}

void TestRouting::countsAndMaxima() {
    test::ModuleFixture fixture;
    QCOMPARE(MaxOf(u"PDE"_s, u"NUMERO"_s), QString());
    QCOMPARE(MaxOf(u"PDE"_s, QString()), QString());
    fixture.erp().load(u"INSERT INTO VRTNPDE (PEDIDO, NUMERO, SERIE) VALUES (1, 5, '1');\n"
                       u"INSERT INTO VRTNPDE (PEDIDO, NUMERO, SERIE) VALUES (2, 9, '1');\n"
                       u"INSERT INTO VRTNPDE (PEDIDO, NUMERO, SERIE) VALUES (3, -2, '2');\n"_s);
    QCOMPARE(MaxOf(u"PDE"_s, u"NUMERO,SERIE"_s, u"WHERE NUMERO > 0"_s), u"9"_s);
    QCOMPARE(MaxOf(u"PDE"_s, u"NUMERO"_s, u"where NUMERO < 6"_s), u"5"_s);
    QCOMPARE(CountRows(u"PDE"_s, u"SERIE = '1'"_s), qint64(2));
    QCOMPARE(CountRows(u"PDE"_s, u"NO_SUCH = 1"_s), qint64(0));
}

void TestRouting::auditLogNumbersAndCutsItsRows() {
    test::ModuleFixture fixture;
    Globals().user.name = u"ANA"_s;
    platform::Clock::setFixed(QDateTime(QDate(2026, 3, 9), QTime(14, 5, 7)));
    QVERIFY(AuditLog(u"PDE"_s, QString(300, u'x')));
    QVERIFY(AuditLog(u"LOGOFF"_s, u"SAIDA"_s));
    QVERIFY(RunSelect(Slot::T_CON1, u"VRTNLOG"_s, u"*"_s, QString(), u"LOG_SEQ"_s, B_DIR(1)));
    DataSlot& slot = DataModule().slot(Slot::T_CON1);
    QCOMPARE(slot.value(u"LOG_SEQ"_s).toInt(), qint64(1));
    QCOMPARE(slot.value(u"LOG_OBS"_s).toString(), QString(200, u'x'));
    QCOMPARE(slot.value(u"LOG_USUARIO"_s).toString(), u"ANA"_s);
    QCOMPARE(slot.value(u"LOG_DATA"_s).toDate(), QDate(2026, 3, 9));
    QCOMPARE(slot.value(u"LOG_HORA"_s).toString(), u"14:05:07"_s);
    QCOMPARE(slot.value(u"LOG_BASE"_s).toString(), u"test.fdb"_s);
    QVERIFY(slot.next());
    QCOMPARE(slot.value(u"LOG_SEQ"_s).toInt(), qint64(2));
    QCOMPARE(slot.value(u"LOG_TABELA"_s).toString(), u"LOGOFF"_s);
    // Switched off: nothing is written, and that is not a failure.
    Globals().system.logSwitch = u"N"_s;
    QVERIFY(AuditLog(u"PDE"_s, u"nada"_s));
    QCOMPARE(CountRows(u"VRTNLOG"_s, QString(), B_DIR(1)), qint64(2));
}

void TestRouting::auditLogNumberSource_data() {
    QTest::addColumn<bool>("generator");
    QTest::addColumn<QList<qint64>>("numbers");
    // The generator numbers rows on its own, whatever the table holds (the
    // row 41 written by hand); a database made without it falls back to one
    // above the highest present.
    QTest::newRow("generator") << true << QList<qint64>{1, 2, 41};
    QTest::newRow("without generator") << false << QList<qint64>{41, 42, 43};
}

void TestRouting::auditLogNumberSource() {
    QFETCH(bool, generator);
    QFETCH(QList<qint64>, numbers);
    test::ModuleFixture fixture;
    if (!generator) fixture.erp().exec(u"DROP SEQUENCE VRTNLOG_SEQ"_s);
    fixture.erp().exec(u"INSERT INTO VRTNLOG (LOG_SEQ, LOG_OBS) VALUES (41, 'antes')"_s);
    QVERIFY(AuditLog(u"PDE"_s, u"um"_s));
    QVERIFY(AuditLog(u"PDE"_s, u"dois"_s));
    QList<qint64> stored;
    QVERIFY(RunSelect(Slot::T_CON1, u"VRTNLOG"_s, u"LOG_SEQ"_s, QString(), u"LOG_SEQ"_s, B_DIR(1)));
    for (DataSlot& slot = DataModule().slot(Slot::T_CON1); !slot.eof(); slot.next())
        stored.append(slot.value(0).toInt());
    CloseSlot(Slot::T_CON1);
    QCOMPARE(stored, numbers);
}

void TestRouting::catalogueInsertsThenUpdates() {
    test::ModuleFixture fixture;
    CatalogUpdate(u"PDE"_s, u"notas de entrada"_s, u"010"_s);
    CatalogUpdate(u"PDS"_s, u"notas de saída com uma descrição longa demais para caber"_s);
    CatalogUpdate(u"PDE"_s, u"entradas"_s);
    QVERIFY(RunSelect(Slot::T_CON1, u"ARQ"_s, u"*"_s, QString(), u"ANOME"_s));
    DataSlot& slot = DataModule().slot(Slot::T_CON1);
    QCOMPARE(slot.value(u"ANOME"_s).toString(), u"PDE"_s);
    QCOMPARE(slot.value(u"AARQUIVO"_s).toString(), u"VRTNPDE"_s);
    QCOMPARE(slot.value(u"ASEQ"_s).toString(), u"010"_s); // kept on update
    QCOMPARE(slot.value(u"ADESCRICAO"_s).toString(), u"ENTRADAS"_s);
    QVERIFY(slot.next());
    QCOMPARE(slot.value(u"ASEQ"_s).toString(), u"010"_s); // the highest when none given
    QCOMPARE(slot.value(u"ADESCRICAO"_s).toString(), u"NOTAS DE SAÍDA COM UMA DESCRIÇÃO LONGA D"_s);
}

void TestRouting::openTableShowsAWholeTable() {
    test::ModuleFixture fixture;
    fixture.erp().exec(u"INSERT INTO VRTNNAT (NATOPER, DESCRICAO) VALUES (5102, 'VENDA')"_s);
    QVERIFY(OpenTable(u"NAT"_s, Slot::T_TAB1));
    QCOMPARE(DataModule().slot(Slot::T_TAB1).value(u"DESCRICAO"_s).toString(), u"VENDA"_s);
    QVERIFY(OpenTable(u"NAT"_s, Slot::T_TAB1, B_DIR(1), u"NATOPER = 1"_s)); // already open
    QVERIFY(!OpenTable(u"NAT"_s, Slot::T_TAB2, B_DIR(5)));                  // not in that database
    QVERIFY(OpenTable(u"NAT"_s, Slot::T_TAB2, B_DIR(1), u"NATOPER = 1"_s));
    QVERIFY(DataModule().slot(Slot::T_TAB2).eof());
    CommitAll();
    QVERIFY(!DataModule().slot(Slot::T_TAB1).isOpen());
}

QTEST_GUILESS_MAIN(TestRouting)
#include "test_routing.moc"
