// The start-up and shut-down chains on real databases and a private
// registry store: what each step loads, its defaults, and its failures.

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "shell/login.h"
#include "shell/startup.h"
#include "support/test_database.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

namespace {

// Stores a parameter-store key directly, as another program would have.
void StoreKey(test::TestDatabase& db, const QString& key, const QStringList& lines) {
    db.exec(u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ("_s + u'\'' + key + u"', '"_s +
            FormatParamText(lines).replace(u'\'', u"''"_s) + u"')"_s);
}

QString ReadLine(Connection* db, const QString& key, int line) {
    ParamRead(db, key, 20);
    return ParamLines().line(line);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<test::TestDatabase> m_erp, m_store;
    QStringList m_messages;

    shell::MessageSink sink() {
        return [this](const QString& message) { m_messages << message; };
    }
    void logIn(const QString& first, const QString& fifth) {
        shell::Login login;
        login.user = u"ANA"_s;
        login.level = u"7"_s;
        login.fullName = u"ANA LIMA"_s;
        login.rights1 = QString(60, u'R');
        login.dirs[1] = first;
        login.dirs[5] = fifth;
        login.tempFolder = u"/registro/temp/"_s;
        QVERIFY(shell::WriteLogin(login));
    }

  private Q_SLOTS:
    void init() {
        m_config = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
        m_erp = std::make_unique<test::TestDatabase>();
        m_store = std::make_unique<test::TestDatabase>(test::TestDatabase::Tables::ProgramOnly);
        m_messages.clear();
        DataModule().closeAll();
        ResetGlobals();
        ParamLines().clear();
    }
    void cleanup() {
        DataModule().closeAll();
        ResetGlobals();
    }

    void startsWithoutAnyRegistryKey();
    void loadsUserCompanyAndSettings();
    void lastCompanyWinsAndCodesArePadded_data();
    void lastCompanyWinsAndCodesArePadded();
    void missingFirstDatabaseIsReportedAndSkipsTheRest_data();
    void missingFirstDatabaseIsReportedAndSkipsTheRest();
    void missingOtherDatabaseEndsTheChain();
    void shutdownStoresLastCompanyAndLogsOff();
    void registryValuesRoundTrip();
    void loginThatCannotBeWrittenFails();
};

void TestStartup::startsWithoutAnyRegistryKey() {
    shell::StartProgram(sink());
    QCOMPARE(m_messages, QStringList());
    for (int n = 1; n <= 5; ++n)
        QVERIFY(!B_DIR(n)->isConnected());
    QCOMPARE(Globals().company.name, QString());
    QCOMPARE(Globals().user.tempFolder, platform::DefaultTempFolder());
    QCOMPARE(Globals().registry.dirTemp, platform::DefaultTempFolder());
    QCOMPARE(Globals().user.flags, u"    3               "_s);
    shell::RunShutdown();
}

void TestStartup::loadsUserCompanyAndSettings() {
    logIn(m_erp->path(), m_store->path());
    StoreKey(*m_store, u"VRTNCAE"_s,
             {u"EMPRESA TESTE LTDA#RUA A, 1#TESTE"_s, u"CANOAS#RS#92000-000#CENTRO"_s,
              u"51#3333-4444#3333-5555#a@b.com"_s, u"11.222.333/0001-81#1234567890#99"_s, u"1#1"_s,
              u"7#U#S"_s, u"789"_s});
    // A folder typed without its final separator is used with one.
    StoreKey(*m_erp, u"PUSER_ANA"_s, {u"SS"_s, u"/dados/temp"_s});
    StoreKey(*m_erp, u"SEN__ANA"_s,
             {QString(), QString(), QString(), QString(), QString(), QString(), QString(),
              QString(), u"12,5"_s, u"SSNN"_s});
    shell::StartProgram(sink());

    QVERIFY(B_DIR(1)->isConnected());
    QVERIFY(B_DIR(5)->isConnected());
    QVERIFY(Globals().tableLists[1].contains(u"VRTNPDE,"_s));
    QVERIFY(!Globals().tableLists[5].contains(u"VRTNPDE,"_s));
    const TRecCae& company = Globals().company;
    QCOMPARE(company.name, u"EMPRESA TESTE LTDA"_s);
    QCOMPARE(company.address, u"RUA A, 1"_s);
    QCOMPARE(company.tradeName, u"TESTE"_s);
    QCOMPARE(company.city, u"CANOAS"_s);
    QCOMPARE(company.state, u"RS"_s);
    QCOMPARE(company.postalCode, u"92000-000"_s);
    QCOMPARE(company.phone, u"3333-4444"_s);
    QCOMPARE(company.email, u"a@b.com"_s);
    QCOMPARE(company.cnpj, u"11.222.333/0001-81"_s);
    QCOMPARE(company.companyCode, u"007"_s);
    QCOMPARE(company.currentBranch, u"007"_s);
    QCOMPARE(company.multiBranch, u"S"_s);
    QCOMPARE(company.branchFilter, u" AND FILIAL = 007"_s);
    QCOMPARE(company.invoiceSeries, u"U"_s);
    QCOMPARE(company.duplicateSeries, 1);
    const TRecUser& user = Globals().user;
    QCOMPARE(user.name, u"ANA"_s);
    QCOMPARE(user.level, u"7"_s);
    QCOMPARE(user.fullName, u"ANA LIMA"_s);
    QCOMPARE(user.flags, u"SS  3               "_s);
    QCOMPARE(user.tempFolder, u"/dados/temp/"_s);
    QCOMPARE(Globals().registry.dirTemp, u"/dados/temp/"_s); // the registry's is replaced
    QCOMPARE(user.numberText, u"  12,50"_s.right(6));
    QCOMPARE(user.rightsLines[0], u"SSNN"_s.leftJustified(50));
    QCOMPARE(user.rightsLines[1], QString(50, u'R')); // blank: general rights 1
    QCOMPARE(m_messages, QStringList());
    shell::RunShutdown();
}

void TestStartup::lastCompanyWinsAndCodesArePadded_data() {
    QTest::addColumn<QString>("registerCode");
    QTest::addColumn<QString>("lastCompany");
    QTest::addColumn<QString>("code");
    QTest::newRow("register code padded") << u"7"_s << QString() << u"007"_s;
    QTest::newRow("no digits") << u"ABC"_s << QString() << u"000"_s;
    QTest::newRow("empty") << QString() << QString() << u"000"_s;
    QTest::newRow("last company wins") << u"1"_s << u"012"_s << u"012"_s;
    QTest::newRow("last company padded") << u"1"_s << u"5"_s << u"005"_s;
}

void TestStartup::lastCompanyWinsAndCodesArePadded() {
    QFETCH(QString, registerCode);
    QFETCH(QString, lastCompany);
    QFETCH(QString, code);
    logIn(m_erp->path(), m_store->path());
    StoreKey(*m_store, u"VRTNCAE"_s,
             {u"EMPRESA"_s, QString(), QString(), QString(), QString(), registerCode});
    if (!lastCompany.isEmpty()) StoreKey(*m_store, u"USUARIO_ANA"_s, {lastCompany});
    shell::StartProgram(sink());
    QCOMPARE(Globals().company.companyCode, code);
    shell::RunShutdown();
}

void TestStartup::missingFirstDatabaseIsReportedAndSkipsTheRest_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("reason");
    QTest::newRow("no file") << QByteArray() << u"o arquivo não existe ("_s;
    QTest::newRow("garbage") << QByteArray(64 * 1024, 'x')
                             << u"o arquivo não é um banco de dados ou está danificado ("_s;
}

void TestStartup::missingFirstDatabaseIsReportedAndSkipsTheRest() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = m_config->filePath(u"erp.fdb"_s);
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    logIn(path, m_store->path());
    StoreKey(*m_store, u"VRTNCAE"_s, {u"EMPRESA"_s});
    shell::StartProgram(sink());
    // The message names the database and says why, then gives the engine's
    // own words.
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(
        m_messages[0].startsWith(u"Erro na conexão do servidor - "_s + path + u": "_s + reason),
        qPrintable(m_messages[0]));
    QVERIFY2(m_messages[0].endsWith(u')'), qPrintable(m_messages[0]));
    QVERIFY(!B_DIR(1)->isConnected());
    QVERIFY(!B_DIR(5)->isConnected()); // not tried after database 1 failed
    QVERIFY(!DataModule().openErrors[1].isEmpty());
    QCOMPARE(Globals().company.name, QString());
    QCOMPARE(Globals().user.tempFolder, platform::DefaultTempFolder());
    shell::RunShutdown(); // nothing to write, and no failure
}

void TestStartup::missingOtherDatabaseEndsTheChain() {
    logIn(m_erp->path(), u"/nao/existe/sistema.fdb"_s);
    StoreKey(*m_erp, u"PUSER_ANA"_s, {u"SS"_s, u"/dados/temp"_s});
    try {
        shell::StartProgram(sink());
        QFAIL("the chain went on without database 5");
    } catch (const ConnectError& error) {
        QCOMPARE(error.failure(), ConnectFailure::NoFile);
        QCOMPARE(DataModule().openErrors[5], error.message());
    }
    QVERIFY(B_DIR(1)->isConnected());
    QCOMPARE(Globals().tableLists[1], QString()); // the chain stopped before the lists
    QCOMPARE(Globals().user.tempFolder, QString());
    shell::RunShutdown();
    QVERIFY(!B_DIR(1)->isConnected());
}

void TestStartup::shutdownStoresLastCompanyAndLogsOff() {
    logIn(m_erp->path(), m_store->path());
    StoreKey(*m_store, u"VRTNCAE"_s,
             {u"EMPRESA"_s, QString(), QString(), QString(), QString(), u"3"_s});
    StoreKey(*m_store, u"USUARIO_ANA"_s, {u"001"_s, u"outra linha"_s});
    shell::StartProgram(sink());
    QCOMPARE(Globals().company.companyCode, u"001"_s);
    Globals().company.companyCode = u"004"_s; // the user switched companies
    shell::RunShutdown();
    for (int n = 0; n <= 5; ++n)
        QVERIFY(!DataModule().connection(n).isConnected());

    Connection store;
    store.open(m_store->options());
    Connection erp;
    erp.open(m_erp->options());
    QCOMPARE(ReadLine(&store, u"USUARIO_ANA"_s, 1), u"004"_s);
    QCOMPARE(ReadLine(&store, u"USUARIO_ANA"_s, 2), u"outra linha"_s);
    Transaction transaction(erp);
    Statement log(erp, transaction, u"SELECT LOG_SEQ, LOG_TABELA, LOG_OBS FROM VRTNLOG"_s);
    log.open();
    QVERIFY(log.fetch());
    QCOMPARE(log.value(u"LOG_SEQ"_s).toInt(), qint64(1));
    QCOMPARE(log.value(u"LOG_TABELA"_s).toString(), u"LOGOFF"_s);
    QCOMPARE(log.value(u"LOG_OBS"_s).toString(), u"'ANA' - "_s + platform::OsUserName());
    QVERIFY(!log.fetch());
}

void TestStartup::registryValuesRoundTrip() {
    RegistryValues& registry = Globals().registry;
    registry.system = u"LIVRAX"_s;
    registry.fmq = {u"PDE"_s, u"/rel"_s, u"base"_s, u"VRTNPDE"_s, u"a.fmq"_s,
                    u"b"_s,   u"c"_s,    u"d"_s,    u"e"_s,       u"IMPRIMIR"_s};
    registry.fmqPrinted = true;
    registry.fmqMenuItem = 12;
    registry.campos = {u"A"_s, QString(), u"C"_s};
    registry.dirs[2] = u"servidor:/dados/erp2.fdb"_s;
    Globals().user.name = u"ANA"_s;
    Globals().user.password = u"  segredo  "_s;
    shell::SaveRegistryGlobals(u"LIVRAXR"_s, u"PDE"_s);

    const platform::RegistryKey key(platform::GlobalsKeyPath());
    QCOMPARE(key.value(u"PROGRAMA"_s).value_or(QString()), u"LIVRAXR"_s);
    QCOMPARE(key.value(u"PARAM"_s).value_or(QString()), u"PDE"_s);
    QCOMPARE(key.value(u"GB_SEN_SENHA"_s).value_or(QString()), u"segredo"_s);
    QCOMPARE(key.value(u"GBCAMPO"_s).value_or(QString()), u"A##C#"_s);
    QCOMPARE(key.value(u"FMQ_PRINTED"_s).value_or(QString()), u"S"_s);
    QCOMPARE(key.value(u"FMQ_CLOSE"_s).value_or(QString()), u"N"_s);

    ResetGlobals();
    shell::LoadRegistryGlobals();
    QCOMPARE(registry.system, u"LIVRAX"_s);
    QCOMPARE(registry.fmq[9], u"IMPRIMIR"_s);
    QCOMPARE(registry.fmqPrinted, true);
    QCOMPARE(registry.fmqMenuItem, 12);
    QCOMPARE(registry.campos[0], u"A"_s);
    QCOMPARE(registry.campos[1], QString());
    QCOMPARE(registry.campos[2], u"C"_s);
    QCOMPARE(registry.dirs[2], u"servidor:/dados/erp2.fdb"_s);
    QCOMPARE(Globals().user.name, u"ANA"_s);
    QCOMPARE(Globals().user.password, QString()); // never read back
}

void TestStartup::loginThatCannotBeWrittenFails() {
    // The settings folder lies under a regular file: no one, root included,
    // can create it.
    QFile blocker(m_config->filePath(u"arquivo"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", (blocker.fileName() + u"/config"_s).toLocal8Bit());
    shell::Login login;
    login.user = u"ANA"_s;
    login.level = u"7"_s;
    login.dirs[1] = m_erp->path();
    QString error;
    QVERIFY(!shell::WriteLogin(login, &error));
    QVERIFY2(error.startsWith(u"as configurações do usuário não puderam ser gravadas em "_s +
                              blocker.fileName() + u"/config/"_s),
             qPrintable(error));

    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    error.clear();
    QVERIFY(shell::WriteLogin(login, &error));
    QCOMPARE(error, QString());
    QCOMPARE(
        platform::RegistryKey(platform::GlobalsKeyPath()).value(u"GB_DIR1"_s).value_or(QString()),
        m_erp->path());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
