// The match table over small hand-made histories: every expected row was
// worked out by hand from the first-in, first-out rules.

#include "books/book_frame.h"
#include "books/lx50.h"
#include "data/catalogue.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "support/module_fixture.h"

#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

QString Entry(int pedido, const QString& product, const QString& quant, int nnota,
              const QString& date = u"05.01.2026"_s) {
    return u"INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, SERIE, DATA, NATOPER, FAT, ATUPRO, PRODUTO, "
           u"QUANT) VALUES (%1, 1, %2, 'E', '%3', 102, 'F', 'S', '%4', %5);\n"_s.arg(pedido)
               .arg(nnota)
               .arg(date, product, quant);
}

QString Exit(int pedido, const QString& product, const QString& quant,
             const QString& date = u"'10.01.2026'"_s, const QString& atupro = u"S"_s,
             int natoper = 512, const QString& fat = u"F"_s) {
    return u"INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SERIE, DTNOTA, NATOPER, FAT, ATUPRO, "
           u"PRODUTO, QUANT, SIGLA) VALUES (%1, 1, %1, '1', %2, %3, '%4', '%5', '%6', %7, 'CLI');\n"_s
               .arg(pedido)
               .arg(date)
               .arg(natoper)
               .arg(fat, atupro, product, quant);
}

QString Product(const QString& code, const QString& initial) {
    return u"INSERT INTO VRTNPRO (PRODUTO, NOME, SUBSTRIB, SALDOINIC) VALUES ('%1', 'N', 'S', %2);\n"_s
        .arg(code, initial);
}

// The rows of VRTNP50 in build order as "PRODUTO|QUANT|SALDO|NNOTAe".
QStringList MatchRows(test::ModuleFixture& fixture) {
    data::Transaction read(fixture.erp().connection());
    data::Statement rows(fixture.erp().connection(), read,
                         u"SELECT PRODUTO, QUANT, SALDO, NNOTAe, PEDIDO FROM VRTNP50 "
                         u"ORDER BY LX50_SEQ"_s);
    rows.open();
    QStringList result;
    while (rows.fetch())
        result << rows.value(0).toString().trimmed() + u'|' + rows.value(1).toString() + u'|' +
                      rows.value(2).toString() + u'|' + rows.value(3).toString();
    read.commit();
    return result;
}

} // namespace

class TestLX50 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void pieces_data();
    void pieces();
    void createsAndCatalogues();
    void failedBuildKeepsOldRows();
};

void TestLX50::pieces_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("expected");
    // SALDOINIC 10 and one entry of 5: the initial balance is carried by the
    // first entry's references; the third piece outruns the stock.
    QTest::newRow("initial balance and one entry")
        << Product(u"A"_s, u"10"_s) + Entry(1, u"A"_s, u"5"_s, 501) + Exit(11, u"A"_s, u"12"_s) +
               Exit(12, u"A"_s, u"20"_s, u"'11.01.2026'"_s)
        << QStringList{u"A|12,0000|3,0000|501"_s, u"A|3,0000|0,0000|501"_s,
                       u"A|17,0000|-17,0000|"_s};
    QTest::newRow("no entries at all")
        << Product(u"B"_s, u"0"_s) + Exit(11, u"B"_s, u"2"_s) +
               Exit(12, u"B"_s, u"3"_s, u"'11.01.2026'"_s)
        << QStringList{u"B|2,0000|-2,0000|"_s, u"B|3,0000|-5,0000|"_s};
    // A negative initial balance eats part of the first entry; nothing is
    // ever given out of a lot that holds nothing.
    QTest::newRow("negative initial balance")
        << Product(u"C"_s, u"-3"_s) + Entry(1, u"C"_s, u"5"_s, 501) +
               Entry(2, u"C"_s, u"4"_s, 502, u"06.01.2026"_s) + Exit(11, u"C"_s, u"4"_s)
        << QStringList{u"C|2,0000|0,0000|501"_s, u"C|2,0000|2,0000|502"_s};
    QTest::newRow("entry of zero and negative")
        << Product(u"D"_s, u"0"_s) + Entry(1, u"D"_s, u"0"_s, 501) +
               Entry(2, u"D"_s, u"-2"_s, 502, u"06.01.2026"_s) +
               Entry(3, u"D"_s, u"5"_s, 503, u"07.01.2026"_s) + Exit(11, u"D"_s, u"4"_s)
        << QStringList{u"D|3,0000|0,0000|503"_s, u"D|1,0000|-1,0000|"_s};
    // Items that take no part: moving no stock, no DTNOTA, nature 100 or
    // less, not invoiced, quantity 0, on either side.
    QTest::newRow("items passed over")
        << Product(u"E"_s, u"0"_s) + Entry(1, u"E"_s, u"5"_s, 501) +
               u"INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, DATA, NATOPER, FAT, ATUPRO, PRODUTO, "
               u"QUANT) VALUES (2, 1, 502, '01.01.2026', 100, 'F', 'S', 'E', 50);\n"
               u"INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, DATA, NATOPER, FAT, ATUPRO, PRODUTO, "
               u"QUANT) VALUES (3, 1, 503, '01.01.2026', 102, 'C', 'S', 'E', 50);\n"_s +
               Exit(11, u"E"_s, u"1"_s, u"'10.01.2026'"_s, u"N"_s) +
               Exit(12, u"E"_s, u"1"_s, u"NULL"_s) +
               Exit(13, u"E"_s, u"1"_s, u"'10.01.2026'"_s, u"S"_s, 100) +
               Exit(14, u"E"_s, u"1"_s, u"'10.01.2026'"_s, u"S"_s, 512, u"C"_s) +
               Exit(15, u"E"_s, u"0"_s) + Exit(16, u"E"_s, u"2"_s)
        << QStringList{u"E|2,0000|3,0000|501"_s};
    // Codes match as the database compares them: a trailing blank does not
    // count, and "Š" sorts wherever the collation puts it.
    QTest::newRow("accented code and trailing blank")
        << Product(u"Š1"_s, u"0"_s) + Product(u"T1"_s, u"0"_s) + Entry(1, u"Š1 "_s, u"5"_s, 501) +
               Entry(2, u"T1"_s, u"5"_s, 502) + Exit(11, u"Š1"_s, u"2"_s) +
               Exit(12, u"T1 "_s, u"1"_s)
        << QStringList{u"Š1|2,0000|3,0000|501"_s, u"T1|1,0000|4,0000|502"_s};
    // A return (negative exit) goes back to the stock.
    QTest::newRow("negative exit")
        << Product(u"F"_s, u"0"_s) + Entry(1, u"F"_s, u"1"_s, 501) + Exit(11, u"F"_s, u"-2"_s)
        << QStringList{u"F|-2,0000|3,0000|501"_s};
}

void TestLX50::pieces() {
    QFETCH(QString, script);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(script);
    qint64 reported = -1;
    const qint64 rows = BuildMatchTable([&reported](qint64 written) { reported = written; });
    QStringList actual = MatchRows(fixture);
    // Products are not ordered by the build: compare per product order only.
    QCOMPARE(rows, qint64(expected.size()));
    QCOMPARE(reported, rows);
    std::sort(actual.begin(), actual.end(), [](const QString& a, const QString& b) {
        return a.section(u'|', 0, 0) < b.section(u'|', 0, 0);
    });
    std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        return a.section(u'|', 0, 0) < b.section(u'|', 0, 0);
    });
    QCOMPARE(actual, expected);
}

void TestLX50::createsAndCatalogues() {
    test::ModuleFixture fixture;
    // A database that never had the table.
    fixture.erp().exec(u"DROP TABLE VRTNP50"_s);
    fixture.refreshTableLists();
    QVERIFY(!data::TableExists(u"VRTNP50"_s, &fixture.erp().connection()));
    fixture.erp().load(Product(u"A"_s, u"1"_s) + Exit(11, u"A"_s, u"1"_s));
    QCOMPARE(BuildMatchTable(), qint64(1));
    QVERIFY(data::TableExists(u"VRTNP50"_s, &fixture.erp().connection()));
    // A second build replaces the rows instead of adding to them.
    QCOMPARE(BuildMatchTable(), qint64(1));
    QCOMPARE(MatchRows(fixture).size(), 1);
    data::Connection& arq = *data::DatabaseFor(u"ARQ"_s);
    data::Transaction read(arq);
    data::Statement catalogue(arq, read,
                              u"SELECT AARQUIVO, ADESCRICAO FROM VRTNARQ WHERE ANOME = 'P50'"_s);
    catalogue.open();
    QVERIFY(catalogue.fetch());
    QCOMPARE(catalogue.value(0).toString().trimmed(), u"VRTNP50"_s);
    QCOMPARE(catalogue.value(1).toString().trimmed(),
             u"LX64 - PROD.VENDIDOS S/RETENÇÃO SUBSTRIB"_s);
}

void TestLX50::failedBuildKeepsOldRows() {
    test::ModuleFixture fixture;
    fixture.erp().load(Product(u"A"_s, u"10"_s) + Exit(11, u"A"_s, u"1"_s) +
                       Exit(12, u"A"_s, u"2"_s));
    BuildMatchTable();
    const QStringList before = MatchRows(fixture);
    QCOMPARE(before.size(), 2);
    // A row the table refuses, written after others of the new build.
    fixture.erp().exec(u"ALTER TABLE VRTNP50 ADD CONSTRAINT P50_TEST CHECK (PRODUTO <> 'Z')"_s);
    fixture.erp().load(Product(u"Z"_s, u"0"_s) + Exit(13, u"Z"_s, u"1"_s) +
                       Exit(14, u"A"_s, u"1"_s, u"'12.01.2026'"_s));
    QVERIFY_THROWS_EXCEPTION(BookError, BuildMatchTable());
    QCOMPARE(MatchRows(fixture), before);
}

QTEST_GUILESS_MAIN(TestLX50)
#include "test_lx50.moc"
