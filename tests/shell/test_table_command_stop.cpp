// "livrax table" after a stop signal (SIGTERM, as `kill` sends it): the
// change and the renumbering end with exit 1 and "interrompido", and no row
// is changed. The signal is taken for the whole program, so this test has a
// program of its own, with the signals installed before any thread starts.

#include "data/globals.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/stop_signals.h"
#include "shell/table_command.h"
#include "support/captured_command.h"
#include "support/module_fixture.h"

#include <QApplication>
#include <QTest>

#include <csignal>
#include <memory>
#include <unistd.h>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestTableCommandStop : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void stopLeavesEveryRow_data();
    void stopLeavesEveryRow();

  private:
    QStringList Rows();
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestTableCommandStop::initTestCase() {
    ::kill(::getpid(), SIGTERM);
    QTRY_VERIFY(platform::StopRequested());
}

void TestTableCommandStop::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().exec(u"CREATE TABLE VRTNTMS (COD INTEGER NOT NULL PRIMARY KEY, "
                          u"NOME VARCHAR(20), NUMERO VARCHAR(10))"_s);
    m_fixture->erp().load(u"INSERT INTO VRTNTMS VALUES (1, 'Porca', '5');\n"
                          u"INSERT INTO VRTNTMS VALUES (2, 'Arruela', '3');\n"
                          u"INSERT INTO VRTNTMS VALUES (3, 'Mola', '1');\n"_s);
    m_fixture->refreshTableLists();
    data::Globals().user.level = u"9"_s;
    data::Globals().user.rights = QString(30, u'S');
}

void TestTableCommandStop::cleanup() {
    m_fixture.reset();
}

QStringList TestTableCommandStop::Rows() {
    data::Connection& connection = m_fixture->erp().connection();
    data::Transaction transaction(connection);
    data::Statement select(
        connection, transaction,
        u"SELECT COD || ':' || NOME || ':' || NUMERO FROM VRTNTMS ORDER BY COD"_s);
    select.open();
    QStringList rows;
    while (select.fetch())
        rows << select.value(0).toString();
    select.close();
    transaction.commit();
    return rows;
}

void TestTableCommandStop::stopLeavesEveryRow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("change to a value")
        << QStringList{u"change"_s, u"TMS"_s, u"--field"_s, u"NOME"_s, u"--value"_s, u"X"_s};
    QTest::newRow("change by an expression") << QStringList{
        u"change"_s, u"TMS"_s, u"--field"_s, u"NUMERO"_s, u"--expression"_s, u"COD * 10"_s};
    QTest::newRow("renumbering") << QStringList{u"renumber"_s, u"TMS"_s,     u"--field"_s,
                                                u"NUMERO"_s,   u"--start"_s, u"100"_s};
}

void TestTableCommandStop::stopLeavesEveryRow() {
    QFETCH(QStringList, arguments);
    const QStringList before = Rows();
    const test::CapturedRun run = test::RunCaptured(&shell::RunTableCommand, arguments);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(u"interrompido pelo sinal SIGTERM"_s), qPrintable(run.err));
    QVERIFY2(!run.out.contains(u"Registros alterados"_s), qPrintable(run.out));
    QCOMPARE(Rows(), before);
}

int main(int argc, char** argv) {
    // Before any thread: the signal is then taken by the watcher alone.
    platform::InstallStopSignals();
    QApplication application(argc, argv);
    TestTableCommandStop test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_table_command_stop.moc"
