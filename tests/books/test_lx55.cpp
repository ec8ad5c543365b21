// The Registro de Saídas over a small hand-made month: cancelled invoices,
// the numbering gap mark, the substitution observation and totals, worked
// out by hand.

#include "books/lx55.h"
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
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (5102, 'S');
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (5910, 'N');
INSERT INTO VRTNEMP (SIGLA, EMPRESA) VALUES ('CLI1', 'CLIENTE UM LTDA');
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRBASE, SUBSTRVALOR, IPIBASE) VALUES (1, 101, '1', 'NF', 'CLI1', 'RS', '05.01.2026', '05.01.2026', 5102, 'F', 100, 60, 17, 10.2, 10, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRBASE, SUBSTRVALOR, IPIBASE) VALUES (2, 102, '1', 'NF', 'CLI1', 'RS', '06.01.2026', '06.01.2026', 5102, 'C', 500, 500, 17, 85, 0, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRBASE, SUBSTRVALOR, IPIBASE, IPIPERC, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (3, 105, '1', 'NF', 'XYZ', 'SP', '07.01.2026', '07.01.2026', 5102, 'F', 50, 80, 12, 6, 0, 7, 70, 4, 40, 10, 4, 0, 14);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRVALOR, IPIBASE) VALUES (4, 106, '1', 'NF', 'CLI1', 'RS', '07.01.2026', '07.01.2026', 5910, 'F', 300, 0, 0, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRVALOR, IPIBASE) VALUES (5, 107, '1', 'NF', 'CLI1', 'RS', '08.01.2026', '08.01.2026', 5102, 'F', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRVALOR, IPIBASE) VALUES (6, 109, '1', 'NF', 'CLI1', 'RS', '09.01.2026', '09.01.2026', 5910, 'F', 300, 0, 0, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMOUTRAS, SUBSTRVALOR, IPIBASE) VALUES (7, 110, '1', 'NF', 'CLI1', 'RS', '09.01.2026', '09.01.2026', 5102, 'F', 0, 0, 0, 0, 0, 0, 0);
)"_s;

QStringList RunBook(LX55Options& options) {
    return test::TextPageLines([&options](print::PrintJob& job) { PrintLX55(job, options); });
}

} // namespace

class TestLX55 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void linesAndTotals_data();
    void linesAndTotals();
};

void TestLX55::linesAndTotals_data() {
    QTest::addColumn<bool>("printIcm");
    QTest::addColumn<bool>("printSt");
    QTest::addColumn<QStringList>("expected");
    // On the text page the date (8 characters from column 21) touches the
    // state at column 29, as the layout has them.
    QTest::newRow("all columns")
        << true << true
        << QStringList{// outras is ICMOUTRAS when stored, else contábil - base - isentas
                       u"05 NF 101 1 05/01/26RS 5102 100,00 ICMS 60,00 17,00 10,20 10,00 30,00"_s,
                       // cancelled: listed, no values, still counted for the numbering
                       u"06 NF 102 1 06/01/26RS 5102 *** CANCELADA ***"_s,
                       // 103 and 104 are missing: "*" before the number; the base above
                       // the accounting value is capped at it; substitution marked
                       u"07 NF *105 1 07/01/26SP 5102 50,00 ICMS 50,00 12,00 6,00 0,00 7,00 ST"_s,
                       u"IPI 40,00 10,00 4,00 0,00 14,00"_s,
                       // 106 is of a nature left out of the books: not printed, but
                       // its number is used, so 107 follows it; 107 has no amount
                       u"08 NF 107 1 08/01/26RS 5102 *** CANCELADA ***"_s,
                       // 108 is missing before 109, left out: the gap is marked on
                       // the next invoice printed
                       u"09 NF *110 1 09/01/26RS 5102 *** CANCELADA ***"_s,
                       // outras total 37,00 less the substitution tax 4,00
                       u"TOTAL DO PERÍODO 150,00 ICMS 110,00 16,20 10,00 33,00"_s,
                       u"IPI 40,00 4,00 0,00 14,00"_s, u"(ST) Subst.Tributária: 70,00 4,00"_s};
    QTest::newRow("without ICM and ST")
        << false << false
        << QStringList{u"05 NF 101 1 05/01/26RS 5102 100,00 ICMS 10,00 30,00"_s,
                       u"06 NF 102 1 06/01/26RS 5102 *** CANCELADA ***"_s,
                       u"07 NF *105 1 07/01/26SP 5102 50,00 ICMS 0,00 7,00 ST"_s,
                       u"IPI 40,00 10,00 4,00 0,00 14,00"_s,
                       u"08 NF 107 1 08/01/26RS 5102 *** CANCELADA ***"_s,
                       u"09 NF *110 1 09/01/26RS 5102 *** CANCELADA ***"_s,
                       u"TOTAL DO PERÍODO 150,00 ICMS 10,00 33,00"_s,
                       u"IPI 40,00 4,00 0,00 14,00"_s};
}

void TestLX55::linesAndTotals() {
    QFETCH(bool, printIcm);
    QFETCH(bool, printSt);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX55Options options;
    options.period = {u"01/01/26"_s, u"31/01/26"_s, u"DTNOTA"_s, QString(), u"1"_s};
    options.printIcm = printIcm;
    options.printSt = printSt;
    const QStringList lines = RunBook(options);
    QVERIFY(lines.value(0).startsWith(u"LX55"_s));
    QVERIFY(lines.value(0).contains(u"R E G I S T R O D E S A Í D A"_s));
    const qsizetype first = lines.indexOf(expected.first());
    QVERIFY2(first > 0, qPrintable(lines.join(u'\n')));
    QCOMPARE(lines.mid(first), expected);
}

QTEST_MAIN(TestLX55)
#include "test_lx55.moc"
