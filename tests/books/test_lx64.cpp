// The list of products sold without tax-substitution retention over a small
// hand-made month: the match table is built from the fixture, then every
// printed line and total below was worked out by hand.

#include "books/book_frame.h"
#include "books/lx64.h"
#include "common/dates.h"
#include "data/globals.h"
#include "platform/clock.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

// Entry headers: ICMS 10% (501, 502, 505), 12% (503), 7% (504), and one of a
// nature beginning with "19" (506). Exit headers in SP, except 905 in RJ.
// A: credit 10,00 against a debit of 9,99 (55,50 at 18%).
// B: credit and debit both 10,00.
// C: one exit of 5 taken from two entries (2 + 3): its item discount of 10
//    is shared 4 + 6; its header gives a 10% discount and 5% charges.
// D: matched to the "19" entry. E: its exit item bears ICMS 18%.
// F: no entry. G: not subject to tax substitution.
const QString Fixture = uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('A', 'ALFA', 'UN', 'S', 'O', 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('B', 'BRAVO', 'CX', 'S', 'N', 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('C', 'CHARLIE', 'UN', 'S', 'N', 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('D', 'DELTA', 'UN', 'S', 'N', 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('E', 'ECO', 'UN', 'S', 'O', 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('F', 'FOX', 'UN', 'S', 'N', 5);
INSERT INTO VRTNPRO (PRODUTO, NOME, UNIDADE, SUBSTRIB, TIPOPRO, SALDOINIC) VALUES ('G', 'GOLF', 'UN', 'N', 'N', 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (1, 501, 102, 100, 10);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (2, 502, 102, 100, 10);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (3, 503, 102, 20, 2.4);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (4, 504, 102, 30, 2.1);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (5, 505, 102, 10, 1);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, NATOPER, ICMBASE, ICMVALOR) VALUES (6, 506, 1910, 10, 1);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (1, 1, 501, '1', '05.01.2026', 102, 'F', 'S', 'A', 10, 10, 0, 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (2, 1, 502, '1', '05.01.2026', 102, 'F', 'S', 'B', 10, 11, 5, 5);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (3, 1, 503, '1', '05.01.2026', 102, 'F', 'S', 'C', 2, 10, 0, 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (4, 1, 504, '1', '06.01.2026', 102, 'F', 'S', 'C', 3, 10, 0, 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (5, 1, 505, '1', '05.01.2026', 102, 'F', 'S', 'E', 1, 10, 0, 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, VALDESC) VALUES (6, 1, 506, '1', '05.01.2026', 1910, 'F', 'S', 'D', 1, 10, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (11, 901, '1', 'SP', 0, 0, 0, 18);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (12, 902, '2', 'SP', 0, 0, 0, 10);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (13, 903, '1', 'SP', 100, 10, 5, 12);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (14, 904, '1', 'SP', 0, 0, 0, 18);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (15, 905, '1', 'RJ', 0, 0, 0, 18);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (16, 906, '1', 'SP', 0, 0, 0, 18);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, VALOR, DESCVALOR, ENCARGOS, ICMPERC) VALUES (17, 907, '1', 'SP', 0, 0, 0, 18);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (11, 1, 901, '1', '10.01.2026', 512, 'F', 'S', 'A', 10, 5.55, 0, 0, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (12, 1, 902, '2', '11.01.2026', 512, 'F', 'S', 'B', 10, 10, 0, 0, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (13, 1, 903, '1', '12.01.2026', 512, 'F', 'S', 'C', 5, 20, 10, 0, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (14, 1, 904, '1', '12.01.2026', 512, 'F', 'S', 'D', 1, 20, 0, 0, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (15, 1, 905, '1', '13.01.2026', 512, 'F', 'S', 'E', 1, 20, 0, 18, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (16, 1, 906, '1', '13.01.2026', 512, 'F', 'S', 'F', 1, 20, 0, 0, 'CLI');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT, VALOR, DESCVALOR, ICMPERC, SIGLA) VALUES (17, 1, 907, '1', '13.01.2026', 512, 'F', 'S', 'G', 1, 20, 0, 0, 'CLI');
)"_s;

const QString LineA = u"10 ALFA UN 10,00 901 55,50 18 9,99 501 05/01/26 10,00 *"_s;
// B's entry: 10 x 11 - 5 - 5 = 100, so the credit of 10 is 10,00.
const QString LineB = u"11 BRAVO CX 10,00 902 100,00 10 10,00 502 05/01/26 10,00"_s;
// 2 x 20 - 4 = 36; less 3,60, plus 1,80 = 34,20; at 12% 4,104; credit
// 20 x 2,4 / 20 = 2,40. Then 3 x 20 - 6 = 54; 51,30; 6,156; 2,10.
const QString LineC1 = u"12 CHARLIE UN 2,00 903 34,20 12 4,10 503 05/01/26 2,40"_s;
const QString LineC2 = u"12 CHARLIE UN 3,00 903 51,30 12 6,15 504 06/01/26 2,10"_s;
// E: 20 at 18% = 3,60 against 1,00.
const QString LineE = u"13 ECO UN 1,00 905 20,00 18 3,60 505 05/01/26 1,00"_s;

LX64Options MonthOptions() {
    LX64Options options;
    options.startDate = u"01/01/26"_s;
    options.endDate = u"31/01/26"_s;
    options.build = true;
    return options;
}

// The lines under the column titles, the rule lines left out.
QStringList Body(const LX64Options& options) {
    const QStringList page =
        test::TextPageLines([&options](print::PrintJob& job) { PrintLX64(job, options); });
    const qsizetype at = page.indexOf(u"Quant Número Total % a Débito Número Data a Crédito"_s);
    if (at < 0) {
        qWarning("%s", qPrintable(page.join(u'\n')));
        return {};
    }
    QStringList body;
    for (const QString& line : page.mid(at + 1))
        if (!line.startsWith(u"---"_s) && !line.startsWith(u"___"_s)) body << line;
    return body;
}

} // namespace

class TestLX64 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5)));
        m_fixture = std::make_unique<test::ModuleFixture>();
        m_fixture->erp().load(Fixture);
        data::Globals().company.state = u"SP"_s;
    }
    void cleanup() {
        m_fixture.reset();
        platform::Clock::reset();
    }
    void lines_data();
    void lines();
    void condition_data();
    void condition();
    void refusedFilter();
    void fontSize_data();
    void fontSize();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestLX64::lines_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("allInvoices");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("default") << 0 << 0 << false << QString()
                             << QStringList{LineA, LineB, LineC1, LineC2,
                                            u"TOTAL DE IMPOSTO DO MÊS 241,00 30,25 24,50"_s};
    QTest::newRow("Todas as Notas")
        << 0 << 0 << true << QString()
        << QStringList{LineA,  LineB, LineC1,
                       LineC2, LineE, u"TOTAL DE IMPOSTO DO MÊS 261,00 33,85 25,50"_s};
    QTest::newRow("oncological") << 1 << 0 << true << QString()
                                 << QStringList{LineA, LineE,
                                                u"TOTAL DE IMPOSTO DO MÊS 75,50 13,59 11,00"_s};
    QTest::newRow("not oncological, outside the state")
        << 2 << 2 << true << QString() << QStringList{u"TOTAL DE IMPOSTO DO MÊS 0,00 0,00 0,00"_s};
    QTest::newRow("in the state") << 1 << 1 << true << QString()
                                  << QStringList{LineA,
                                                 u"TOTAL DE IMPOSTO DO MÊS 55,50 9,99 10,00"_s};
    QTest::newRow("series 2 left out")
        << 0 << 0 << false << u"2"_s
        << QStringList{LineA, LineC1, LineC2, u"TOTAL DE IMPOSTO DO MÊS 141,00 20,25 14,50"_s};
}

void TestLX64::lines() {
    QFETCH(int, type);
    QFETCH(int, state);
    QFETCH(bool, allInvoices);
    QFETCH(QString, series);
    QFETCH(QStringList, expected);
    LX64Options options = MonthOptions();
    options.type = type;
    options.state = state;
    options.allInvoices = allInvoices;
    options.series = series;
    QCOMPARE(Body(options), expected);
}

void TestLX64::condition_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("expected");
    QTest::newRow("series alone") << QString() << QString() << QString() << u"x"_s
                                  << u"P50.SERIE <> 'x'"_s;
    QTest::newRow("nothing") << u"  /  /  "_s << QString() << QString() << QString() << QString();
    QTest::newRow("filter parenthesised")
        << u"01/01/26"_s << QString() << u"PDS.ESTADO = 'SP' OR PDS.ESTADO = 'RJ'"_s << QString()
        << u"(PDS.ESTADO = 'SP' OR PDS.ESTADO = 'RJ') AND P50.DTNOTA >= "_s +
               SqlDate(u"01/01/26"_s);
    QTest::newRow("quote in the series")
        << QString() << QString() << QString() << u"'"_s << u"P50.SERIE <> ''''"_s;
}

void TestLX64::condition() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, filter);
    QFETCH(QString, series);
    QFETCH(QString, expected);
    LX64Options options;
    options.startDate = start;
    options.endDate = end;
    options.filter = filter;
    options.series = series;
    QCOMPARE(LX64Condition(options), expected);
}

void TestLX64::refusedFilter() {
    LX64Options options = MonthOptions();
    options.filter = u"1=1) OR (1=1"_s;
    QVERIFY_THROWS_EXCEPTION(BookError, LX64Condition(options));
    // A filter the database refuses prints nothing.
    options.filter = u"P50.NOSUCHCOLUMN = 1"_s;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    QVERIFY_THROWS_EXCEPTION(BookError, PrintLX64(job, options));
}

void TestLX64::fontSize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("printed");
    QTest::newRow("3") << u"3"_s << u"7"_s;
    QTest::newRow("blank") << QString() << u"7"_s;
    QTest::newRow("4") << u"4"_s << u"4"_s;
    QTest::newRow("9") << u"9"_s << u"9"_s;
}

void TestLX64::fontSize() {
    QFETCH(QString, typed);
    QFETCH(QString, printed);
    QCOMPARE(LX64FontSize(typed), printed);
}

QTEST_MAIN(TestLX64)
#include "test_lx64.moc"
