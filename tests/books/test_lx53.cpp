// The Registro de Entradas over a small hand-made month, its lines and totals
// worked out by hand.

#include "books/lx53.h"
#include "data/globals.h"
#include "platform/clock.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (1102, 'S');
INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (1949, 'N');
INSERT INTO VRTNEMP (SIGLA, EMPRESA) VALUES ('FOR1', 'FORNECEDOR UM LTDA');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, ICMOUTRAS, IPIBASE) VALUES (1, 100, '1', 'NF', 'FOR1', 'SP', '05.01.2026', '04.01.2026', 1102, 'F', 100, 80, 12, 9.6, 5, 99, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, IPIBASE, IPIPERC, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (2, 101, '2', 'NF', 'XYZ', 'RS', '10.01.2026', '10.01.2026', 2102, 'F', 10.009, 0, 0, 0, 0, 50, 10, 5, 0, 5.009);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMISENTAS, IPIBASE) VALUES (3, 102, '1', 'FOR1', '11.01.2026', '11.01.2026', 1102, 'C', 700, 0, 0, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMISENTAS, IPIBASE) VALUES (4, 103, '1', 'FOR1', '12.01.2026', '12.01.2026', 1949, 'F', 300, 0, 0, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMISENTAS, IPIBASE) VALUES (5, 104, '1', 'FOR1', '01.02.2026', '01.02.2026', 1102, 'F', 900, 0, 0, 0);
)"_s;

// The book's first page as text lines.
QStringList RunBook(LX53Options& options) {
    return test::TextPageLines([&options](print::PrintJob& job) { PrintLX53(job, options); });
}

} // namespace

class TestLX53 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void linesAndTotals_data();
    void linesAndTotals();
    void emptyPeriodPrintsTheHeader();
    void failedRunsLeaveTheOldFile_data();
    void failedRunsLeaveTheOldFile();
};

void TestLX53::linesAndTotals_data() {
    QTest::addColumn<bool>("printIcm");
    QTest::addColumn<QStringList>("expected");
    // The text page has a cell per character: the nature (4 characters from
    // column 67) touches "ICMS" at column 71, as the layout has them.
    QTest::newRow("all columns")
        << true
        << QStringList{
               // outras = 100,00 - 80,00 - 5,00, whatever the stored ICMOUTRAS says
               u"05 NF 100 1 04/01/26 FORNECEDOR UM L SP 100,00 1102ICMS 80,00 12,00 9,60 5,00 15,00"_s,
               // 10,009 is cut to 10,00; the unknown partner prints its code; the
               // nature missing from the table is printed
               u"10 NF 101 2 10/01/26 XYZ RS 10,00 2102ICMS 0,00 0,00 0,00 0,00 10,00"_s,
               u"IPI 50,00 10,00 5,00 0,00 5,00"_s,
               u"TOTAL DO PERÍODO 110,00 ICMS 80,00 9,60 5,00 25,00"_s,
               u"IPI 50,00 5,00 0,00 5,00"_s};
    QTest::newRow("without ICM")
        << false
        << QStringList{u"05 NF 100 1 04/01/26 FORNECEDOR UM L SP 100,00 1102ICMS 80,00"_s,
                       u"10 NF 101 2 10/01/26 XYZ RS 10,00 2102ICMS 0,00"_s,
                       u"IPI 50,00 10,00 5,00 0,00 5,00"_s, u"TOTAL DO PERÍODO 110,00 ICMS 80,00"_s,
                       u"IPI 50,00 5,00 0,00 5,00"_s};
}

void TestLX53::linesAndTotals() {
    QFETCH(bool, printIcm);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    data::Globals().company.name = u"EMPRESA TESTE"_s;
    data::Globals().company.cnpj = u"11.222.333/0001-81"_s;
    LX53Options options;
    options.period = {u"01/01/26"_s, u"31/01/26"_s, u"DATA"_s, QString(), u"1"_s};
    options.printIcm = printIcm;
    const QStringList lines = RunBook(options);
    QVERIFY(lines.value(0).startsWith(u"LX53"_s));
    QVERIFY(lines.value(0).endsWith(u"Folha: 1"_s));
    QVERIFY(lines.join(u'\n').contains(u"Mes/Período: 01/01/26 A 31/01/26"_s));
    // The detail and total lines, in order: no cancelled, excluded or
    // out-of-period invoice among them.
    const qsizetype first = lines.indexOf(expected.first());
    QVERIFY2(first > 0, qPrintable(lines.join(u'\n')));
    QStringList body;
    for (qsizetype i = first; i < lines.size(); ++i)
        if (!lines[i].isEmpty()) body << lines[i];
    QCOMPARE(body, expected);
}

void TestLX53::emptyPeriodPrintsTheHeader() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX53Options options;
    // No invoice of the fixture falls in March.
    options.period = {u"01/03/26"_s, u"31/03/26"_s, u"DATA"_s, QString(), u"1"_s};
    const QStringList lines = RunBook(options);
    QVERIFY(lines.value(0).startsWith(u"LX53"_s));
    QVERIFY(lines.value(0).endsWith(u"Folha: 1"_s));
    // The column titles, then at once the zero totals: no detail line.
    qsizetype titles = lines.size() - 1;
    while (titles > 0 && !lines[titles].startsWith(u"A Nota Data Empresa"_s))
        --titles;
    QVERIFY2(titles > 0, qPrintable(lines.join(u'\n')));
    QCOMPARE(lines.mid(titles + 1),
             (QStringList{u"TOTAL DO PERÍODO 0,00 ICMS 0,00 0,00 0,00 0,00"_s}));
}

void TestLX53::failedRunsLeaveTheOldFile_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("reason");
    // The database's own reason reaches the user.
    QTest::newRow("unknown column") << u"DATA"_s << u"NO_SUCH_COLUMN = 1"_s
                                    << u"A consulta do livro falhou: Dynamic SQL Error"_s;
    // Filters that would reach beyond the book's own conditions.
    QTest::newRow("closes the book's parenthesis")
        << u"DATA"_s << u"1=1) OR (1=1"_s << u"parêntese fechado sem ter sido aberto"_s;
    QTest::newRow("comment") << u"DATA"_s << u"1=1 /* x */"_s << u"comentários"_s;
    QTest::newRow("statement end") << u"DATA"_s << u"1=1; DELETE FROM VRTNPDE"_s << u"\";\""_s;
    QTest::newRow("open quote") << u"DATA"_s << u"SIGLA = 'FOR1"_s << u"aspas"_s;
    // A quoted parenthesis or comment mark is text, and the filter runs:
    // the period has no such partner, so the book is empty but printed.
    QTest::newRow("quoted marks run") << u"DATA"_s << u"SIGLA <> ')--;/*'"_s << QString();
    // The date column must be a DATE column of the table.
    QTest::newRow("not a date column") << u"NNOTA"_s << QString() << u"Campo de data recusado"_s;
    QTest::newRow("not a column") << u"DATA >= DATA OR 1"_s << QString()
                                  << u"Campo de data recusado"_s;
}

void TestLX53::failedRunsLeaveTheOldFile() {
    QFETCH(QString, field);
    QFETCH(QString, filter);
    QFETCH(QString, reason);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    const QString out = folder.filePath(u"lx53.txt"_s);
    {
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("OLD BOOK");
    }
    LX53Options options;
    options.period = {u"01/01/26"_s, u"31/01/26"_s, field, filter, u"1"_s};
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    job.settings.outputFile = out;
    QString message;
    try {
        PrintLX53(job, options);
    } catch (const BookError& error) {
        message = error.message();
    }
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    if (reason.isEmpty()) {
        QCOMPARE(message, QString());
        QVERIFY(written.readAll().contains("TOTAL DO PER"));
    } else {
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(written.readAll(), QByteArray("OLD BOOK"));
    }
    // Nothing half-written is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"lx53.txt"_s});
}

QTEST_MAIN(TestLX53)
#include "test_lx53.moc"
