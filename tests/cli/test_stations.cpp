// Several stations of a company on one server: the program run as separate
// processes against a test server of its own, as the workstations run it.
// A month record another station holds makes "livrax book --recalc" fail in
// a few seconds instead of waiting forever; log-offs written at the same
// time get distinct audit-log numbers.

#include "data/connection.h"
#include "data/schema.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "support/firebird_server.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1102, 'COMPRA', 'COMPRA PARA COMERCIALIZACAO', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (5102, 'VENDA', 'VENDA DE MERCADORIA', 'S');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (1, 100, '05.01.2026', '05.01.2026', 1102, 'F', 1000, 1000, 180, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (11, 500, '12.01.2026', '12.01.2026', 5102, 'F', 500, 500, 90, 0);
INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LF_2601', '010)ANTES');
)"_s;

// The first column of the rows of `sql`, as texts.
QStringList Column(data::Connection& connection, const QString& sql) {
    data::Transaction transaction(connection);
    data::Statement select(connection, transaction, sql);
    select.open();
    QStringList values;
    while (select.fetch())
        values.append(select.value(0).toString());
    return values;
}

} // namespace

class TestStations : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void heldMonthRecordFailsTheRecalculation();
    void simultaneousLogOffsGetDistinctNumbers();
    void wrongPasswordSaysWhy();

  private:
    // A livrax process of a station logged in on the server's databases,
    // with the server's password unless another is given.
    std::unique_ptr<QProcess> livrax(const QStringList& arguments, const QString& password = {});
    // Runs livrax to the end; its exit code, -1 when it did not finish.
    int run(const QStringList& arguments, QString* err = nullptr, const QString& password = {});

    test::FirebirdServer m_server;
    QTemporaryDir m_home;
};

void TestStations::initTestCase() {
    // No server, no test: this fails, it does not skip.
    QVERIFY2(m_server.start(), qPrintable(m_server.errorText()));
    QVERIFY(m_home.isValid());
    m_server.createDatabase(u"erp.fdb"_s);
    m_server.createDatabase(u"store.fdb"_s, test::TestDatabase::Tables::ProgramOnly);
    data::Connection erp;
    erp.open(m_server.options(u"erp.fdb"_s));
    data::RunSqlScript(erp, Fixture);
    // The company record every book's header needs.
    data::Connection store;
    store.open(m_server.options(u"store.fdb"_s));
    store.executeImmediate(
        u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('VRTNCAE', '001)EMPRESA DAS ESTACOES LTDA')"_s);
    QCOMPARE(run({u"login"_s, u"--user"_s, u"ANA"_s, u"--level"_s, u"9"_s, u"--db1"_s,
                  m_server.databasePath(u"erp.fdb"_s), u"--db5"_s,
                  m_server.databasePath(u"store.fdb"_s)}),
             0);
}

std::unique_ptr<QProcess> TestStations::livrax(const QStringList& arguments,
                                               const QString& password) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
    environment.insert(u"LIVRAX_DB_USER"_s, m_server.user());
    environment.insert(u"LIVRAX_DB_PASSWORD"_s,
                       password.isEmpty() ? m_server.password() : password);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(LIVRAX_EXECUTABLE), arguments);
    return process;
}

int TestStations::run(const QStringList& arguments, QString* err, const QString& password) {
    const std::unique_ptr<QProcess> process = livrax(arguments, password);
    if (!process->waitForFinished(60000)) {
        process->kill();
        process->waitForFinished(5000);
        return -1;
    }
    if (err) *err = QString::fromUtf8(process->readAllStandardError());
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

// Another station wrote the month's record and has not committed: the
// recalculation gives up after the lock timeout, exits with 1 saying the
// month was not saved, writes no file, and the record keeps the station's
// text.
void TestStations::heldMonthRecordFailsTheRecalculation() {
    data::Connection station;
    station.open(m_server.options(u"erp.fdb"_s));
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET TEXTO = '010)OUTRA ESTACAO' WHERE CHAVE = 'PAR_LF_2601'"_s);

    const QString out = m_home.filePath(u"lx56.txt"_s);
    QElapsedTimer clock;
    clock.start();
    QString err;
    const int status =
        run({u"book"_s, u"LX56"_s, u"--month"_s, u"01/26"_s, u"--recalc"_s, u"--out"_s, out}, &err);
    const qint64 waited = clock.elapsed();
    QCOMPARE(status, 1);
    QVERIFY2(err.contains(u"não foi gravado"_s), qPrintable(err));
    QVERIFY2(waited < 30000, qPrintable(QString::number(waited))); // a lock timeout, not forever
    QVERIFY(!QFileInfo::exists(out));
    holding.commit();
    QCOMPARE(Column(station, u"SELECT TEXTO FROM VRTNPAR WHERE CHAVE = 'PAR_LF_2601'"_s),
             QStringList{u"010)OUTRA ESTACAO"_s});

    // Free again: the same command saves and prints the month.
    QCOMPARE(run({u"book"_s, u"LX56"_s, u"--month"_s, u"01/26"_s, u"--recalc"_s, u"--out"_s, out}),
             0);
    QVERIFY(QFileInfo::exists(out));
    QVERIFY(Column(station, u"SELECT TEXTO FROM VRTNPAR WHERE CHAVE = 'PAR_LF_2601'"_s)
                .value(0)
                .contains(u"180,00"_s));
}

// Stations logging off at the same time each write a row of the audit log:
// no two rows get the same number.
void TestStations::simultaneousLogOffsGetDistinctNumbers() {
    constexpr int Stations = 12;
    data::Connection erp;
    erp.open(m_server.options(u"erp.fdb"_s));
    const QString logOffs = u"SELECT LOG_SEQ FROM VRTNLOG WHERE LOG_TABELA = 'LOGOFF'"_s;
    const qsizetype before = Column(erp, logOffs).size(); // the runs of other tests
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < Stations; ++i)
        runs.push_back(livrax({u"info"_s}));
    for (const auto& process : runs) {
        QVERIFY(process->waitForFinished(90000));
        QCOMPARE(process->exitCode(), 0);
    }
    const QStringList numbers = Column(erp, logOffs);
    QCOMPARE(numbers.size(), before + Stations);
    QCOMPARE(QSet<QString>(numbers.cbegin(), numbers.cend()).size(), numbers.size());
}

// A wrong password is told apart from every other failure to attach: the
// connection names the refusal, and the program says it to the user instead
// of a bare engine code.
void TestStations::wrongPasswordSaysWhy() {
    const QString wrong = m_server.password() + u"-errada"_s;
    data::ConnectionOptions options = m_server.options(u"erp.fdb"_s);
    options.password = wrong;
    data::Connection connection;
    data::ConnectFailure failure = data::ConnectFailure::Other;
    QString message;
    try {
        connection.open(options);
    } catch (const data::ConnectError& error) {
        failure = error.failure();
        message = error.message();
    }
    QVERIFY(!connection.isConnected());
    QCOMPARE(failure, data::ConnectFailure::Login);
    const QString refused = data::ConnectFailureText(data::ConnectFailure::Login);
    QVERIFY2(message.contains(refused), qPrintable(message));

    const QString out = m_home.filePath(u"senha.txt"_s);
    QString err;
    const int status = run({u"book"_s, u"LX53"_s, u"--from"_s, u"01/01/26"_s, u"--to"_s,
                            u"31/01/26"_s, u"--out"_s, out},
                           &err, wrong);
    QVERIFY2(status != 0 && status != -1, qPrintable(QString::number(status)));
    QVERIFY2(err.contains(refused), qPrintable(err));
    QVERIFY(!QFileInfo::exists(out));
}

QTEST_MAIN(TestStations)
#include "test_stations.moc"
