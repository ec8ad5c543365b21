// A book and a settlement read one moment of the database while another
// station commits through the same server: what it commits between two
// queries of a run is in the whole run or in none of it.

#include "books/lx53.h"
#include "books/settlement.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "platform/clock.h"
#include "support/firebird_server.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

// March: one entry and one exit of natures in the books.
const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1102, 'COMPRA', 'COMPRA PARA COMERCIALIZACAO', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (5102, 'VENDA', 'VENDA DE MERCADORIA', 'S');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (1, 100, '1', '05.03.2026', '05.03.2026', 1102, 'F', 1000, 1000, 180, 0, 1000, 100, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (11, 500, '1', '12.03.2026', '12.03.2026', 5102, 'F', 500, 500, 90, 0, 500, 50, 0, 0);
)"_s;

// What the other station commits in one transaction: an entry and an exit
// of the same March.
const QString EntryAndExit = uR"(
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (2, 101, '1', '20.03.2026', '20.03.2026', 1102, 'F', 100, 100, 18, 0, 100, 10, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (12, 501, '1', '21.03.2026', '21.03.2026', 5102, 'F', 250, 250, 45, 0, 250, 25, 0, 0);
)"_s;

// A new nature left out of the books and a March entry of it, committed
// together: the books never print that entry.
const QString ExcludedNatureAndEntry = uR"(
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1949, 'OUTRAS', 'OUTRAS ENTRADAS', 'N');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (3, 777, '1', '10.03.2026', '10.03.2026', 1949, 'F', 999, 999, 99, 0);
)"_s;

qint64 M(const QString& amount) {
    return ParseAmount(amount);
}

// Another station of the company: its own attachment through the server,
// committing one script when the run opens the first query whose text
// contains `marker`.
class Station {
  public:
    Station(const data::ConnectionOptions& options, const QString& marker, const QString& script)
        : m_marker(marker), m_script(script) {
        m_connection.open(options);
        data::SetQueryObserver([this](data::Slot, const QString& sql) {
            if (m_committed || !sql.contains(m_marker)) return;
            data::RunSqlScript(m_connection, m_script);
            m_committed = true;
        });
    }
    ~Station() { data::SetQueryObserver({}); }
    bool committed() const { return m_committed; }

  private:
    data::Connection m_connection;
    QString m_marker, m_script;
    bool m_committed = false;
};

} // namespace

namespace livrax::data {
// The script in one transaction of `connection`, committed.
void RunSqlScriptOn(Connection& connection, const QString& script);
} // namespace livrax::data

class TestOneMoment : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 4, 2), QTime(8, 0, 0))); }
    void cleanup();
    void settlementSidesReadOneMoment_data();
    void settlementSidesReadOneMoment();
    void bookReadsOneMoment();
    void momentThatCannotStartFailsTheRun();

  private:
    test::FirebirdServer m_server;
    std::unique_ptr<test::ServerModuleFixture> m_fixture;
};

void TestOneMoment::initTestCase() {
    // No server, no test: this fails, it does not skip.
    QVERIFY2(m_server.start(), qPrintable(m_server.errorText()));
}

void TestOneMoment::cleanup() {
    data::SetQueryObserver({});
    m_fixture.reset();
    platform::Clock::reset();
}

void TestOneMoment::settlementSidesReadOneMoment_data() {
    QTest::addColumn<bool>("ipi");
    QTest::addColumn<QString>("box12Before");
    QTest::addColumn<QString>("box22Before");
    QTest::addColumn<QString>("box12After");
    QTest::addColumn<QString>("box22After");
    QTest::newRow("LX56") << false << u"180,00"_s << u"90,00"_s << u"198,00"_s << u"135,00"_s;
    QTest::newRow("LX57") << true << u"100,00"_s << u"50,00"_s << u"110,00"_s << u"75,00"_s;
}

// The station commits an entry and an exit right after the entries were
// read and before the exits are: the month saved has neither of them (a mix
// would credit the old entries against the new exits), the next
// recalculation both.
void TestOneMoment::settlementSidesReadOneMoment() {
    QFETCH(bool, ipi);
    QFETCH(QString, box12Before);
    QFETCH(QString, box22Before);
    QFETCH(QString, box12After);
    QFETCH(QString, box22After);
    m_fixture = std::make_unique<test::ServerModuleFixture>(m_server);
    data::RunSqlScript(*data::B_DIR(1), Fixture);
    const SettlementBook& book = ipi ? IpiSettlement() : IcmsSettlement();
    const QString start = u"01/03/26"_s, end = u"31/03/26"_s;
    QString entriesFilter, exitsFilter;

    MonthData month = LoadMonth(book, start);
    {
        Station station(m_fixture->erp(), u"FROM VRTNPDE"_s, EntryAndExit);
        const MonthRecalc recalc =
            RecalculateAndSave(book, start, end, entriesFilter, exitsFilter, month);
        QVERIFY(station.committed());
        QVERIFY(!recalc.failed());
        QVERIFY(recalc.saved);
    }
    QCOMPARE(month.entries[12], M(box12Before));
    QCOMPARE(month.exits[22], M(box22Before));
    const MonthData stored = LoadMonth(book, start);
    QCOMPARE(stored.entries[12], M(box12Before));
    QCOMPARE(stored.exits[22], M(box22Before));
    // The balance of what was read: credit, both sides from before.
    QCOMPARE(stored.box29, M(box12Before) - M(box22Before));

    QVERIFY(RecalculateAndSave(book, start, end, entriesFilter, exitsFilter, month).saved);
    QCOMPARE(month.entries[12], M(box12After));
    QCOMPARE(month.exits[22], M(box22After));
}

// The station commits a nature left out of the books with an entry of it
// while the book reads its natures: the book, which read the natures
// before, must not print that entry as if its nature were in the books.
void TestOneMoment::bookReadsOneMoment() {
    m_fixture = std::make_unique<test::ServerModuleFixture>(m_server);
    data::RunSqlScript(*data::B_DIR(1), Fixture);
    const auto run = [] {
        LX53Options options;
        options.period = {u"01/03/26"_s, u"31/03/26"_s, u"DATA"_s, QString(), u"1"_s};
        return test::TextPageLines([&options](print::PrintJob& job) { PrintLX53(job, options); });
    };
    const QStringList before = run();
    QCOMPARE(before.filter(u"05 100 1 05/03/26 1000,00"_s).size(), 1);
    QStringList during;
    {
        Station station(m_fixture->erp(), u"FROM VRTNNAT"_s, ExcludedNatureAndEntry);
        during = run();
        QVERIFY(station.committed());
    }
    QCOMPARE(during.filter(u" 777 "_s), QStringList());
    QCOMPARE(during, before);
    // Once both are committed, the entry is left out as its nature says.
    QCOMPARE(run(), before);
}

// The server ends the run's attachment (an administrator, a shut-down)
// before its moment begins: the run's queries fail saying that the moment
// could not start, with the server's reason, instead of reading outside it.
void TestOneMoment::momentThatCannotStartFailsTheRun() {
    m_fixture = std::make_unique<test::ServerModuleFixture>(m_server);
    data::RunSqlScript(*data::B_DIR(1), Fixture);
    data::Connection administrator;
    administrator.open(m_fixture->erp());
    administrator.executeImmediate(
        u"DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"_s);
    QVERIFY(data::B_DIR(1)->isConnected());

    const data::ReadMoment moment;
    QString message;
    try {
        data::OpenQuery(data::Slot::T_CON1, u"PDE"_s, u"SELECT * FROM VRTNPDE"_s);
    } catch (const data::DbError& error) {
        message = error.message();
    }
    const QString failed = u"A leitura em um só momento não pôde começar: "_s;
    QVERIFY2(message.startsWith(failed), qPrintable(message));
    QVERIFY2(message.size() > failed.size() + 5, qPrintable(message)); // the server's reason
}

QTEST_MAIN(TestOneMoment)
#include "test_one_moment.moc"
