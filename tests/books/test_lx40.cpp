// The Inventário Retroativo over a small hand-made register and its items up
// to 31/01/26: a product with an initial balance of 10, entries 5 and exits
// 12 (two exits on the base date itself, entered out of order, whose last
// one gives the average cost), items that never count (moving no stock,
// cancelled, after the base date, an exit issued after it), a product missing
// from the register, products without movement with and without an initial
// balance, balances of zero and below, and values that fall on half a cent.
// Every line below was worked out by hand from the rules.

#include "books/lx40.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/queries.h"
#include "platform/clock.h"
#include "print/text_page_surface.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, CLASFISC, UNIDADE, SALDOINIC, CUSTOMED, ENTVALOR, PRVENDA, PRMAX, PRMIN, PRCOMPRA, PRCUSTO) VALUES ('A1', 'ALFA', '1111', 'UN', 10, 2, 3, 5, 6, 1, 2.5, 2.2);
INSERT INTO VRTNPRO (PRODUTO, NOME, CLASFISC, UNIDADE, SALDOINIC, CUSTOMED, ENTVALOR, PRVENDA, PRMAX, PRMIN, PRCOMPRA, PRCUSTO) VALUES ('C3', 'CHARLIE', '3333', 'KG', 7, 1.5, 1.6, 3, 4, 2, 1.4, 1.3);
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('D4', 'DELTA', 0, 9);
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('E5', 'ECO', 0, 0.05);
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('F6', 'FOX', 1, 0.05);
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('G7', 'GOLF', 2, 1);
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('H8', 'HOTEL', 0, 1);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (1, 1, '10.01.2026', 'F', 'S', 'A1', 2, 1.5, 2.1);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (3, 1, '31.01.2026', 'F', 'S', 'A1', 3, 1.6667, 2.5);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (4, 1, '01.02.2026', 'F', 'S', 'A1', 100, 1, 9);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (5, 1, '10.01.2026', 'F', 'N', 'A1', 100, 1, 9);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (5, 2, '10.01.2026', 'F', 'X', 'A1', 100, 1, 9);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (5, 3, '10.01.2026', 'F', '*', 'A1', 100, 1, 9);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (6, 1, '10.01.2026', 'C', 'S', 'A1', 100, 1, 9);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (7, 1, '12.01.2026', 'F', 'S', 'B2', 1.5, 2, 1);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (8, 1, '12.01.2026', 'F', 'S', 'E5', 0.5, 0.25, 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (8, 2, '12.01.2026', 'F', 'S', 'F6', 0.5, 0.15);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (12, 1, '15.01.2026', '15.01.2026', 'F', 'S', 'A1', 4, 2, 2.2);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (13, 1, '20.01.2026', '01.02.2026', 'F', 'S', 'A1', 100, 1, 9);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (21, 1, '31.01.2026', '31.01.2026', 'F', 'S', 'A1', 5, 2.5, 2.9);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR, CUSTOMED) VALUES (20, 1, '31.01.2026', '31.01.2026', 'F', 'S', 'A1', 3, 2.5, 2.75);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (22, 1, '20.01.2026', '20.01.2026', 'F', 'S', 'G7', 2, 1);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (23, 1, '20.01.2026', '20.01.2026', 'F', 'S', 'H8', 1, 1);
)"_s;

// The column titles' last line of each layout: the lines below it are the
// book's body.
const QHash<QString, QString> TitleLines{
    // The price's title ends where "Saldo x Valor" begins.
    {u"00"_s, u"Produto Descrição Class.Fiscal Saldo Custo MédioSaldo x Valor Unidade"_s},
    {u"01"_s, u"Produto Descrição Class.Fiscal Unidade QUANT VALOR QUANT VALOR QUANT VALOR "
              u"ACERTOS"_s},
    {u"05"_s, u"Produto Descrição Entradas Saidas Acertos Saldo"_s},
};

LX40Options BaseOptions() {
    LX40Options options;
    options.baseDate = u"31/01/26"_s;
    return options;
}

QList<QStringList> Pages(const LX40Options& options) {
    return test::TextPages([&options](print::PrintJob& job) { PrintLX40(job, options); });
}

// The lines under the column titles of the first page, rules left out.
QStringList Body(const LX40Options& options) {
    const QStringList page = Pages(options).value(0);
    QString titles = TitleLines.value(options.layout);
    if (options.layout == u"00"_s)
        titles.replace(u"Custo Médio"_s, LX40ValueItems().value(options.valueField).mid(4));
    const qsizetype at = page.indexOf(titles);
    if (at < 0) {
        qWarning("%s", qPrintable(page.join(u'\n')));
        return {};
    }
    QStringList body;
    for (const QString& line : page.mid(at + 1))
        if (!line.startsWith(u"---"_s) && !line.startsWith(u"___"_s)) body << line;
    return body;
}

// The seven amounts of the summary, in its order.
QStringList SummaryAmounts(const QStringList& page) {
    QStringList amounts;
    for (const QString& line : page)
        if (line.startsWith(u"Saldo X "_s)) amounts << line.section(u' ', -1);
    return amounts;
}

} // namespace

class TestLX40 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void lines_data();
    void lines();
    void header();
    void summary_data();
    void summary();
    void summaryOnlyLayouts();
    void landscapeColumnsFit();
    void refused_data();
    void refused();
    void valueBeyondRange();
    void itemQueryOrder();
};

void TestLX40::lines_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("valueField");
    QTest::addColumn<bool>("positiveOnly");
    QTest::addColumn<bool>("registerCost");
    QTest::addColumn<QString>("exitFilter");
    QTest::addColumn<QStringList>("expected");
    // A1: 10 + (2 + 3) - (4 + 5 + 3) = 3, valued at 2,90, the cost of the
    // last exit (PEDIDO 21) of the base date. B2 is not in the register: no
    // name, no initial balance, the cost of its item. C3 has no movement: its
    // initial balance at the register's cost. E5 and F6 fall on half a cent:
    // 0,5 x 0,05 = 0,025 -> 0,02 and 1,5 x 0,05 = 0,075 -> 0,08 (half to
    // even). G7 ends at 0 and H8 at -1; D4 has nothing to show.
    const QString a1 = u"A1 ALFA 1111 3,00 2,90 8,70 UN"_s;
    const QString b2 = u"B2 1,50 1,00 1,50"_s;
    const QString c3 = u"C3 CHARLIE 3333 7,00 1,50 10,50 KG"_s;
    const QString e5 = u"E5 ECO 0,50 0,05 0,02"_s;
    const QString f6 = u"F6 FOX 1,50 0,05 0,08"_s;
    QTest::newRow("00 positive") << u"00"_s << 0 << true << false << QString()
                                 << QStringList{a1, b2, c3,
                                                e5, f6, u"*** TOTAL GERAL *** 13,50 20,80"_s};
    QTest::newRow("00 all balances") << u"00"_s << 0 << false << false << QString()
                                     << QStringList{a1,
                                                    b2,
                                                    c3,
                                                    e5,
                                                    f6,
                                                    u"G7 GOLF 0,00 1,00 0,00"_s,
                                                    u"H8 HOTEL -1,00 1,00 -1,00"_s,
                                                    u"*** TOTAL GERAL *** 12,50 19,80"_s};
    // The register's cost: A1 at 2,00; B2, not in the register, at 0.
    QTest::newRow("00 register cost")
        << u"00"_s << 0 << true << true << QString()
        << QStringList{u"A1 ALFA 1111 3,00 2,00 6,00 UN"_s, u"B2 1,50 0,00 0,00"_s, c3, e5, f6,
                       u"*** TOTAL GERAL *** 13,50 16,60"_s};
    QTest::newRow("00 sale price") << u"00"_s << 2 << true << false << QString()
                                   << QStringList{u"A1 ALFA 1111 3,00 5,00 15,00 UN"_s,
                                                  u"B2 1,50 0,00 0,00"_s,
                                                  u"C3 CHARLIE 3333 7,00 3,00 21,00 KG"_s,
                                                  u"E5 ECO 0,50 0,00 0,00"_s,
                                                  u"F6 FOX 1,50 0,00 0,00"_s,
                                                  u"*** TOTAL GERAL *** 13,50 36,00"_s};
    // Without the exit of PEDIDO 21, A1 ends at 8 and its last item row is
    // PEDIDO 20 at 2,75.
    QTest::newRow("00 exit filter")
        << u"00"_s << 0 << true << false << u"PIS.PEDIDO <> 21"_s
        << QStringList{u"A1 ALFA 1111 8,00 2,75 22,00 UN"_s, b2, c3, e5, f6,
                       u"*** TOTAL GERAL *** 18,50 34,10"_s};
    // Entries and exits with QUANT x VALOR of each item: A1 2 x 1,5 + 3 x
    // 1,6667 (5,0001 -> 5,00) and 4 x 2 + 5 x 2,5 + 3 x 2,5; E5 0,5 x 0,25 =
    // 0,125 -> 0,12 and F6 0,5 x 0,15 = 0,075 -> 0,08.
    const QStringList entriesExits{u"A1 ALFA 1111 UN 5,00 8,00 12,00 28,00 -7,00 -20,00 10,00"_s,
                                   u"B2 1,50 3,00 0,00 0,00 1,50 3,00 0,00"_s,
                                   u"C3 CHARLIE 3333 KG 0,00 0,00 0,00 0,00 0,00 0,00 7,00"_s,
                                   u"E5 ECO 0,50 0,12 0,00 0,00 0,50 0,12 0,00"_s,
                                   u"F6 FOX 0,50 0,08 0,00 0,00 0,50 0,08 1,00"_s};
    QTest::newRow("01 positive")
        << u"01"_s << 0 << true << false << QString()
        << entriesExits + QStringList{u"*** TOTAL GERAL *** 7,50 11,20 12,00 28,00 -4,50 -16,80"_s};
    QTest::newRow("01 all balances")
        << u"01"_s << 0 << false << false << QString()
        << entriesExits + QStringList{u"G7 GOLF 0,00 0,00 2,00 2,00 -2,00 -2,00 2,00"_s,
                                      u"H8 HOTEL 0,00 0,00 1,00 1,00 -1,00 -1,00 0,00"_s,
                                      u"*** TOTAL GERAL *** 7,50 11,20 15,00 31,00 -7,50 -19,80"_s};
    // "05" keeps a balance of 0 and leaves out only negative ones, the last
    // product (H8) too.
    const QStringList adjustments{
        u"A1 ALFA 5,00 12,00 10,00 3,00"_s,  u"B2 1,50 0,00 0,00 1,50"_s,
        u"C3 CHARLIE 0,00 0,00 7,00 7,00"_s, u"E5 ECO 0,50 0,00 0,00 0,50"_s,
        u"F6 FOX 0,50 0,00 1,00 1,50"_s,     u"G7 GOLF 0,00 2,00 2,00 0,00"_s};
    QTest::newRow("05 positive") << u"05"_s << 0 << true << false << QString() << adjustments;
    QTest::newRow("05 all balances")
        << u"05"_s << 0 << false << false << QString()
        << adjustments + QStringList{u"H8 HOTEL 0,00 1,00 0,00 -1,00"_s};
}

void TestLX40::lines() {
    QFETCH(QString, layout);
    QFETCH(int, valueField);
    QFETCH(bool, positiveOnly);
    QFETCH(bool, registerCost);
    QFETCH(QString, exitFilter);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX40Options options = BaseOptions();
    options.layout = layout;
    options.valueField = valueField;
    options.positiveOnly = positiveOnly;
    options.registerCost = registerCost;
    options.exitFilter = exitFilter;
    QCOMPARE(Body(options), expected);
}

void TestLX40::header() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    data::Globals().company.cnpj = u"12.345.678/0001-95"_s;
    data::Globals().company.stateRegistration = u"123.456.789.110"_s;
    LX40Options options = BaseOptions();
    options.title = u"INVENTARIO 2025"_s;
    options.bookNumber = u"12"_s;
    options.firstPage = u"7"_s;
    const QStringList page = Pages(options).value(0);
    const QString top = page.mid(0, 4).join(u'\n');
    QVERIFY2(top.contains(u"INVENTARIO 2025"_s), qPrintable(top));
    QVERIFY2(top.contains(u"Página: 00007"_s), qPrintable(top));
    QVERIFY2(top.contains(u"LIVRO: 12 DATA BASE: 31/01/26"_s), qPrintable(top));
    QVERIFY2(top.contains(u"CNPJ: 12.345.678/0001-95 Insc.Estadual: 123.456.789.110"_s),
             qPrintable(top));
    // Without a book number the base date stands alone.
    options.bookNumber = u"  "_s;
    const QString blank = Pages(options).value(0).mid(0, 4).join(u'\n');
    QVERIFY2(blank.contains(u"DATA BASE: 31/01/26"_s) && !blank.contains(u"LIVRO"_s),
             qPrintable(blank));
}

void TestLX40::summary_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("positiveOnly");
    QTest::addColumn<QStringList>("expected");
    // The balances of the printed products at the register's prices: A1 3,
    // C3 7, E5 0,5 and F6 1,5 at CUSTOMED 6,00 + 10,50 + 0,02 + 0,08; the other
    // prices of A1 and C3 only (E5 and F6 have none).
    const QStringList positive{u"16,60"_s, u"20,20"_s, u"36,00"_s, u"46,00"_s,
                               u"17,00"_s, u"17,30"_s, u"15,70"_s};
    QTest::newRow("00") << u"00"_s << true << positive;
    QTest::newRow("01") << u"01"_s << true << positive;
    // G7 (0) adds nothing; H8 (-1 at 1,00) is left out.
    QTest::newRow("05") << u"05"_s << true << positive;
    // H8 counts: -1,00 at CUSTOMED 1; its other prices are 0.
    QTest::newRow("05 all balances")
        << u"05"_s << false << QStringList{u"15,60"_s, u"20,20"_s, u"36,00"_s, u"46,00"_s,
                                           u"17,00"_s, u"17,30"_s, u"15,70"_s};
    QTest::newRow("03") << u"03"_s << true << positive;
}

void TestLX40::summary() {
    QFETCH(QString, layout);
    QFETCH(bool, positiveOnly);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX40Options options = BaseOptions();
    options.layout = layout;
    options.positiveOnly = positiveOnly;
    options.summary = true;
    const QList<QStringList> pages = Pages(options);
    // The summary has a page of its own, with the standard header.
    QCOMPARE(pages.size(), layout == u"03"_s ? 1 : 2);
    const QStringList& last = pages.last();
    QVERIFY2(last.contains(u"===================== RESUMO ======================"_s),
             qPrintable(last.join(u'\n')));
    QVERIFY(last.join(u'\n').contains(u"DATA BASE: 31/01/26"_s));
    QCOMPARE(SummaryAmounts(last), expected);
    QVERIFY(last.contains(u"Saldo X Custo Médio "_s + expected[0]));
    QVERIFY(last.contains(u"Saldo X Preço Custo "_s + expected[6]));
}

void TestLX40::summaryOnlyLayouts() {
    // "03" and "04" print no product: the header alone without the summary.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    for (const QString& layout : {u"03"_s, u"04"_s}) {
        LX40Options options = BaseOptions();
        options.layout = layout;
        const QList<QStringList> pages = Pages(options);
        QCOMPARE(pages.size(), 1);
        const QString page = pages[0].join(u'\n');
        QVERIFY2(page.contains(u"DATA BASE: 31/01/26"_s), qPrintable(page));
        QVERIFY2(!page.contains(u"A1"_s) && !page.contains(u"RESUMO"_s), qPrintable(page));
    }
}

void TestLX40::landscapeColumnsFit() {
    // "01" is laid out to column 195, wider than the landscape page holds in
    // the job's font: its columns give way, so that no line runs past the
    // page's right edge and the last one ("ACERTOS", A1's initial balance)
    // is whole.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX40Options options = BaseOptions();
    options.layout = u"01"_s;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    PrintLX40(job, options);
    QCOMPARE(job.orientation(), print::Orientation::Landscape);
    const print::PageMetrics& metrics = job.metrics();
    const int pageColumns = qRound(double(metrics.pageWidth) / metrics.charWidth) -
                            job.settings.leftMargin - job.settings.rightMargin;
    QVERIFY(pageColumns < 195);
    const QStringList page = static_cast<print::TextPageSurface*>(job.surface())->pages()[0];
    for (const QString& line : page)
        QVERIFY2(line.size() <= pageColumns, qPrintable(line));
    const QStringList body = Body(options);
    QVERIFY(!body.isEmpty());
    QVERIFY2(body.first().endsWith(u" 10,00"_s), qPrintable(body.first()));
}

void TestLX40::refused_data() {
    QTest::addColumn<QString>("baseDate");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("entryFilter");
    QTest::addColumn<QString>("exitFilter");
    QTest::newRow("blank date") << u"  /  /  "_s << u"00"_s << QString() << QString();
    QTest::newRow("no such day") << u"31/02/26"_s << u"00"_s << QString() << QString();
    QTest::newRow("unknown layout") << u"31/01/26"_s << u"02"_s << QString() << QString();
    // A filter may only narrow the items: it cannot close the book's own
    // parenthesis nor end the statement.
    QTest::newRow("entry filter escapes")
        << u"31/01/26"_s << u"00"_s << u"PIE.PEDIDO = 1) OR (1 = 1"_s << QString();
    QTest::newRow("exit filter comment")
        << u"31/01/26"_s << u"00"_s << QString() << u"PIS.PEDIDO = 1 --"_s;
    // A column of both the items and the register must be named.
    QTest::newRow("ambiguous column")
        << u"31/01/26"_s << u"00"_s << u"PRODUTO = 'A1'"_s << QString();
}

void TestLX40::refused() {
    QFETCH(QString, baseDate);
    QFETCH(QString, layout);
    QFETCH(QString, entryFilter);
    QFETCH(QString, exitFilter);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX40Options options = BaseOptions();
    options.baseDate = baseDate;
    options.layout = layout;
    options.entryFilter = entryFilter;
    options.exitFilter = exitFilter;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    QVERIFY_THROWS_EXCEPTION(BookError, PrintLX40(job, options));
    QCOMPARE(job.pageCount(), 0);
}

void TestLX40::valueBeyondRange() {
    // 99.999.999.999 units at 99.999.999.999,00 is beyond any amount: an
    // error, not a wrapped value.
    test::ModuleFixture fixture;
    fixture.erp().load(uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC, CUSTOMED) VALUES ('Z9', 'ZULU', 99999999999, 99999999999);
)"_s);
    LX40Options options = BaseOptions();
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    QVERIFY_THROWS_EXCEPTION(BookError, PrintLX40(job, options));
    QCOMPARE(job.pageCount(), 0);
}

void TestLX40::itemQueryOrder() {
    // The grid's rows: the counted items by product, date, entries first,
    // then document and item.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    const QString sql = LX40ItemQuery(BaseOptions());
    QVERIFY(data::RunSelect(data::Slot::T_CON2, u"PIS"_s, sql, QString()));
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON2);
    QStringList seen;
    for (; !row.eof(); row.next())
        seen << row.value(u"PRODUTO"_s).toString() + u' ' + row.value(u"ES"_s).toString() +
                    row.value(u"PEDIDO"_s).toString();
    data::CloseSlot(data::Slot::T_CON2);
    QCOMPARE(seen, (QStringList{u"A1 E1"_s, u"A1 S12"_s, u"A1 E3"_s, u"A1 S20"_s, u"A1 S21"_s,
                                u"B2 E7"_s, u"E5 E8"_s, u"F6 E8"_s, u"G7 S22"_s, u"H8 S23"_s}));
}

QTEST_MAIN(TestLX40)
#include "test_lx40.moc"
