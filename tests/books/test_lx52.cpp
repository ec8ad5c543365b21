// The GIA Modelo B over a small hand-made month: two states, a nature left
// out of the books sorting last in the first state, a last state with only
// invoices left out of the books, a cancelled entry, a
// nature whose sums add up to 0, amounts with a third decimal; its lines in
// the three groupings worked out by hand.

#include "books/lx52.h"
#include "data/globals.h"
#include "platform/clock.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (1102, 'S');
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (2102, 'S');
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (2949, 'N');
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, SUBSTRVALOR, IPIBASE, IPIVALOR) VALUES (1, 'FOR1', 'MG', '05.01.2026', '01.12.2025', 1102, 'F', 100.009, 80, 9.6, 5, 2, 50, 5.009);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR) VALUES (2, 'FOR1', 'MG', '06.01.2026', '06.01.2026', 1102, 'C', 20, 20, 2.4);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMISENTAS) VALUES (3, 'FOR1', 'MG', '07.01.2026', '07.01.2026', 2102, 'F', 40, 0, 40);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (4, 'FOR1', 'MG', '08.01.2026', '08.01.2026', 2949, 'F', 300, 300);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (5, 'FOR1', 'MG', '01.02.2026', '01.02.2026', 1102, 'F', 900, 900);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR) VALUES (6, 'FOR2', 'RS', '10.01.2026', '10.01.2026', 1102, 'F', 10, 10, 1.2);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (7, 'FOR2', 'RS', '11.01.2026', '11.01.2026', 1910, 'F', 0, 10);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (8, 'FOR2', 'RS', '12.01.2026', '12.01.2026', 2102, 'F', 500, 0);
INSERT INTO VRTNPDE (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (9, 'FOR3', 'SP', '13.01.2026', '13.01.2026', 2949, 'F', 700, 700);
INSERT INTO VRTNPDS (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (11, 'CLI1', 'SP', '20.12.2025', '05.01.2026', 5102, 'F', 100, 100);
INSERT INTO VRTNPDS (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (12, 'CLI2', 'SP', '06.01.2026', '06.01.2026', 5102, 'C', 70, 70);
INSERT INTO VRTNPDS (PEDIDO, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (13, 'CLI2', 'SP', '05.01.2026', '05.03.2026', 5102, 'F', 1000, 1000);
)"_s;

const QString TitleLine =
    u"Nat. Operação Val Contabil Base Cálculo Imposto Isentas Outras Subs.Tribut. IPI Base "
    u"IPI Imposto"_s;

// The lines under the column titles of each page; the header lines of each
// page checked on the way.
QList<QStringList> BodyLines(LX52Options& options, QStringList* headers = nullptr) {
    const QList<QStringList> pages =
        test::TextPages([&options](print::PrintJob& job) { PrintLX52(job, options); });
    QList<QStringList> bodies;
    for (const QStringList& page : pages) {
        const qsizetype titles = page.indexOf(TitleLine);
        if (titles < 0) {
            qWarning("%s", qPrintable(page.join(u'\n')));
            return {};
        }
        if (headers) *headers << page.mid(0, titles).join(u'\n');
        bodies << page.mid(titles + 1);
    }
    return bodies;
}

LX52Options January(LX52Grouping grouping) {
    LX52Options options;
    options.period = {u"01/01/26"_s, u"31/01/26"_s, QString(), QString(), u"1"_s};
    options.grouping = grouping;
    return options;
}

} // namespace

class TestLX52 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5)));
        data::Globals().company.name = u"EMPRESA TESTE"_s;
    }
    void cleanup() { platform::Clock::reset(); }
    void groupings_data();
    void groupings();
    void exitsFilterStaysInside();
    void noRowsStillHasItsHeader();
    void wholeYear();
    void refusedDates_data();
    void refusedDates();
};

void TestLX52::groupings_data() {
    QTest::addColumn<int>("grouping");
    QTest::addColumn<QList<QStringList>>("expected"); // per page
    QTest::addColumn<QStringList>("states");          // "ESTADO: " of each page's header
    // MG: 1102 = 100,009 (cut to 100,00) + the cancelled 20,00; 2102 = 40,00
    // exempt; 2949 is left out of the books and closes nothing. RS: 1910 has
    // a base over a zero value: its eight sums add up to 0, yet it is not 0.
    // SP has only invoices left out: no state line, no page of its own, and
    // the grand total stays under RS's header.
    const QString mg1102 = u"1102 120,00 100,00 12,00 5,00 20,00 2,00 50,00 5,00"_s;
    const QString mg2102 = u"2102 40,00 0,00 0,00 40,00 40,00 0,00 0,00 0,00"_s;
    const QString totalMg = u"TOTAL MG 160,00 100,00 12,00 45,00 60,00 2,00 50,00 5,00"_s;
    const QString rs1102 = u"1102 10,00 10,00 1,20 0,00 0,00 0,00 0,00 0,00"_s;
    const QString rs1910 = u"1910 0,00 10,00 0,00 0,00 -10,00 0,00 0,00 0,00"_s;
    const QString rs2102 = u"2102 500,00 0,00 0,00 0,00 500,00 0,00 0,00 0,00"_s;
    const QString totalRs = u"TOTAL RS 510,00 20,00 1,20 0,00 490,00 0,00 0,00 0,00"_s;
    const QString total = u"TOTAL GERAL 670,00 120,00 13,20 45,00 550,00 2,00 50,00 5,00"_s;
    QTest::newRow("analytic") << int(LX52Grouping::Analytic)
                              << QList<QStringList>{{mg1102, mg2102, totalMg},
                                                    {rs1102, rs1910, rs2102, totalRs, total}}
                              << QStringList{u"ESTADO: MG"_s, u"ESTADO: RS"_s};
    // All states together; the nature left out sorts last of all.
    QTest::newRow("by nature")
        << int(LX52Grouping::ByNature)
        << QList<QStringList>{{u"1102 130,00 110,00 13,20 5,00 20,00 2,00 50,00 5,00"_s, rs1910,
                               u"2102 540,00 0,00 0,00 40,00 540,00 0,00 0,00 0,00"_s, total}}
        << QStringList{QString()};
    QTest::newRow("by state") << int(LX52Grouping::ByState)
                              << QList<QStringList>{{totalMg, totalRs, total}}
                              << QStringList{QString()};
}

void TestLX52::groupings() {
    QFETCH(int, grouping);
    QFETCH(QList<QStringList>, expected);
    QFETCH(QStringList, states);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX52Options options = January(LX52Grouping(grouping));
    QStringList headers;
    const QList<QStringList> bodies = BodyLines(options, &headers);
    QCOMPARE(bodies, expected);
    for (qsizetype page = 0; page < headers.size(); ++page) {
        const QString& header = headers[page];
        QVERIFY2(
            header.startsWith(u"LX52 G I A M O D E L O B Folha: "_s + QString::number(page + 1)),
            qPrintable(header));
        QVERIFY(header.contains(u"ENTRADAS Mes/Período: 01/01/26 A 31/01/26"_s));
        if (states[page].isEmpty())
            QVERIFY2(!header.contains(u"ESTADO:"_s), qPrintable(header));
        else
            QVERIFY2(header.contains(states[page]), qPrintable(header));
    }
}

void TestLX52::exitsFilterStaysInside() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX52Options options = January(LX52Grouping::ByState);
    options.side = LX52Side::Exits;
    // Without its parentheses the OR would bring the cancelled exit of CLI2
    // and its exit of March.
    options.period.filter = u"SIGLA = 'CLI1' OR SIGLA = 'CLI2'"_s;
    QStringList headers;
    QCOMPARE(BodyLines(options, &headers),
             (QList<QStringList>{{u"TOTAL SP 100,00 100,00 0,00 0,00 0,00 0,00 0,00 0,00"_s,
                                  u"TOTAL GERAL 100,00 100,00 0,00 0,00 0,00 0,00 0,00 0,00"_s}}));
    QVERIFY(headers.value(0).contains(u"SAÍDAS Mes/Período: 01/01/26 A 31/01/26"_s));
}

void TestLX52::noRowsStillHasItsHeader() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX52Options options = January(LX52Grouping::Analytic);
    options.period.startDate = u"01/04/26"_s;
    options.period.endDate = u"30/04/26"_s;
    QStringList headers;
    QCOMPARE(BodyLines(options, &headers),
             (QList<QStringList>{{u"TOTAL GERAL 0,00 0,00 0,00 0,00 0,00 0,00 0,00 0,00"_s}}));
    QVERIFY(headers.value(0).contains(u"Mes/Período: 01/04/26 A 30/04/26"_s));
}

void TestLX52::wholeYear() {
    // "ANO" 05 gives 01/01/05 to 31/12/05: an entry of that year and one of
    // the next.
    test::ModuleFixture fixture;
    fixture.erp().load(uR"(
INSERT INTO VRTNPDE (PEDIDO, ESTADO, DATA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (1, 'MG', '31.12.2005', 1102, 'F', 7.5, 7.5);
INSERT INTO VRTNPDE (PEDIDO, ESTADO, DATA, NATOPER, FAT, LIQUIDO, ICMBASE) VALUES (2, 'MG', '01.01.2006', 1102, 'F', 1, 1);
)"_s);
    LX52Options options;
    options.year = u"05"_s;
    options.period = {u"01/01/05"_s, u"31/12/05"_s, QString(), QString(), u"1"_s};
    options.grouping = LX52Grouping::ByState;
    QCOMPARE(BodyLines(options),
             (QList<QStringList>{{u"TOTAL MG 7,50 7,50 0,00 0,00 0,00 0,00 0,00 0,00"_s,
                                  u"TOTAL GERAL 7,50 7,50 0,00 0,00 0,00 0,00 0,00 0,00"_s}}));
}

void TestLX52::refusedDates_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::newRow("blank end") << u"01/01/26"_s << u"  /  /  "_s;
    QTest::newRow("blank start") << QString() << u"31/01/26"_s;
    QTest::newRow("no such day") << u"01/01/26"_s << u"31/02/26"_s;
}

void TestLX52::refusedDates() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    test::ModuleFixture fixture;
    LX52Options options = January(LX52Grouping::Analytic);
    options.period.startDate = start;
    options.period.endDate = end;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    QVERIFY_THROWS_EXCEPTION(BookError, PrintLX52(job, options));
    QCOMPARE(job.pageCount(), 0);
}

QTEST_MAIN(TestLX52)
#include "test_lx52.moc"
