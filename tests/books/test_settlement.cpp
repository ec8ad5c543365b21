// The ICMS and IPI settlement books over two hand-made months: the nature
// grids and boxes worked out by hand, the balance, the credit carried from
// one month to the next, the month record, and the printed parts.

#include "books/lx53.h"
#include "books/lx55.h"
#include "books/settlement.h"
#include "books/settlement_print.h"
#include "common/numbers.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "data/transaction.h"
#include "platform/clock.h"
#include "print/text_page_surface.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

// January: entries 1102 (two invoices, one with 10,009-style decimals),
// 1403, 2102, an excluded 1949 and a cancelled invoice; exits 5102 and 6102.
// February: one entry and one large exit, so the month ends in debit.
// March: two entries with sub-cent amounts and one with an exempt amount;
// an exit whose base is above its accounting value, one of a nature with tax
// but no accounting value, one with tax substitution, and a cancelled export.
// April: an export.
const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1102, 'COMPRA', 'COMPRA PARA COMERCIALIZACAO', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1403, 'COMPRA ST', 'COMPRA COM ST', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (2102, 'COMPRA FORA', 'COMPRA DE OUTRO ESTADO', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1949, 'OUTRAS', 'OUTRAS ENTRADAS', 'N');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (5102, 'VENDA', 'VENDA DE MERCADORIA', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (6102, 'VENDA FORA', 'VENDA PARA OUTRO ESTADO', 'S');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (1, 100, '1', '05.01.2026', '04.01.2026', 1102, 'F', 100, 80, 9.6, 5, 50, 5, 0, 7);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (2, 101, '1', '06.01.2026', '06.01.2026', 1102, 'F', 200.009, 200, 24, 0, 100, 10, 0, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (3, 102, '1', '07.01.2026', '07.01.2026', 1403, 'F', 50, 0, 0, 50);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (4, 103, '1', '08.01.2026', '08.01.2026', 2102, 'F', 300, 300, 36, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (5, 104, '1', '09.01.2026', '09.01.2026', 1949, 'F', 999, 999, 99, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (6, 105, '1', '10.01.2026', '10.01.2026', 1102, 'C', 500, 500, 60, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (7, 106, '1', '03.02.2026', '03.02.2026', 1102, 'F', 100, 100, 12, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (11, 500, '1', '12.01.2026', '12.01.2026', 5102, 'F', 400, 400, 48, 0, 400, 40, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (12, 501, '1', '13.01.2026', '13.01.2026', 6102, 'F', 100, 100, 12, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (13, 502, '1', '14.02.2026', '14.02.2026', 5102, 'F', 1000, 1000, 180, 0);
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (5405, 'VENDA ST', 'VENDA COM ST', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (7102, 'EXPORTACAO', 'EXPORTACAO DE MERCADORIA', 'S');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (31, 700, '1', '03.03.2026', '03.03.2026', 1102, 'F', 100.005, 100.005, 12.005, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (32, 701, '1', '04.03.2026', '04.03.2026', 1102, 'F', 100.005, 100.005, 12.005, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (33, 702, '1', '05.03.2026', '05.03.2026', 1403, 'F', 100, 0, 0, 40);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR) VALUES (21, 600, '1', 'SP', '10.03.2026', '10.03.2026', 5102, 'F', 50, 80, 9.6, 0, 50, 5);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS) VALUES (22, 601, '1', 'RS', '11.03.2026', '11.03.2026', 5405, 'F', 0, 0, 13.6, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR) VALUES (23, 602, '1', 'EX', '12.03.2026', '12.03.2026', 7102, 'C', 700, 0, 0, 0, 700, 70);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, SUBSTRBASE, SUBSTRVALOR) VALUES (25, 604, '1', 'RS', '13.03.2026', '13.03.2026', 5405, 'F', 100, 60, 7.2, 0, 40, 4);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, ESTADO, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR) VALUES (24, 603, '1', 'EX', '02.04.2026', '02.04.2026', 7102, 'F', 1000, 0, 0, 0, 1000, 100);
)"_s;

const QString Jan = u"01/01/26"_s;
const QString Feb = u"01/02/26"_s;
const QString Mar = u"01/03/26"_s;

// An amount as the boxes and the record show it.
QString A(const QString& amount) {
    return amount.rightJustified(13, u' ');
}

// An amount of the model (ten-thousandths) written as "1234,56".
qint64 M(const QString& amount) {
    return ToScaled(amount, 2);
}

NatureRow Row(const QString& nature, const QString& history, const QStringList& amounts) {
    NatureRow row{nature, history, {}};
    for (int i = 0; i < 5; ++i)
        row.amounts[i] = M(amounts.value(i));
    return row;
}

// Recalculates both sides of a month per nature, as "Recalc." does.
MonthData Recalculated(const SettlementBook& book, const QString& start, const QString& end) {
    MonthData month = LoadMonth(book, start);
    RecalcInput entries{start, end, QString(), false};
    RecalcEntries(book, entries, month);
    RecalcInput exits{start, end, QString(), false};
    RecalcExits(book, exits, month);
    return month;
}

// The lines of one printed page, blanks collapsed, empty lines left out.
QStringList PrintedPage(const SettlementBook& book, const MonthData& month, int page) {
    return test::TextPageLines(
        [&](print::PrintJob& job) {
            PrintSettlement(job, book, month, {Jan, u"31/01/26"_s, QString(), QString(), u"2"_s});
        },
        page);
}

} // namespace

class TestSettlement : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void normaliseAmount_data();
    void normaliseAmount();
    void recalcPerNature();
    void recalcPerInvoice();
    void gridsMatchTheInvoiceBooks();
    void creditCarriedIntoNextMonthThenDebit();
    void equalCreditsAndDebits();
    void monthRecordRoundTrip();
    void storedRecordText();
    void failingFilterLeavesTotalRowOnly();
    void recalculateAndSaveKeepsMonthOnFailure();
    void heldMonthRecordIsNotOverwritten_data();
    void heldMonthRecordIsNotOverwritten();
    void ipiColumnsAndFilter();
    void printedParts();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestSettlement::init() {
    platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5)));
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().load(Fixture);
}

void TestSettlement::cleanup() {
    m_fixture.reset();
    platform::Clock::reset();
}

void TestSettlement::normaliseAmount_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("thousands and comma") << u"1.234,56"_s << u"1234,56"_s;
    QTest::newRow("decimal point") << u"12.5"_s << u"12,50"_s;
    QTest::newRow("blank") << u"   "_s << u"0,00"_s;
    QTest::newRow("not a number") << u"abc"_s << u"0,00"_s;
    QTest::newRow("decimals cut") << u"10,009"_s << u"10,00"_s;
    QTest::newRow("negative") << u"-3,5"_s << u"-3,50"_s;
}

void TestSettlement::normaliseAmount() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(NormaliseAmount(typed), A(expected));
}

void TestSettlement::recalcPerNature() {
    const MonthData month = Recalculated(IcmsSettlement(), Jan, u"31/01/26"_s);
    // 1102 sums 100,00 and 200,009 (each invoice cut: 300,00); "Outras" is
    // contábil less base less exempt, so a row's columns add up to its
    // contábil; 1949 is left out.
    const QList<NatureRow> entries{
        Row(u"1102"_s, u"COMPRA"_s, {u"300,00"_s, u"280,00"_s, u"33,60"_s, u"5,00"_s, u"15,00"_s}),
        Row(u"1403"_s, u"COMPRA ST"_s, {u"50,00"_s, u"0,00"_s, u"0,00"_s, u"50,00"_s, u"0,00"_s}),
        Row(u"2102"_s, u"COMPRA FORA"_s,
            {u"300,00"_s, u"300,00"_s, u"36,00"_s, u"0,00"_s, u"0,00"_s}),
        Row(u"TOTAL"_s, QString(), {u"650,00"_s, u"580,00"_s, u"69,60"_s, u"55,00"_s, u"15,00"_s})};
    QCOMPARE(month.entriesGrid.rows, entries);
    QCOMPARE(
        month.exitsGrid.rows.last(),
        Row(u"TOTAL"_s, QString(), {u"500,00"_s, u"500,00"_s, u"60,00"_s, u"0,00"_s, u"0,00"_s}));
    QCOMPARE(month.entries[12], M(u"69,60"_s));
    QCOMPARE(month.exits[22], M(u"60,00"_s));
    QCOMPARE(month.entriesTotal, M(u"69,60"_s));
    QCOMPARE(month.exitsTotal, M(u"60,00"_s));
    QCOMPARE(month.box29, M(u"9,60"_s));
    QCOMPARE(month.box30, 0);
    QCOMPARE(BalanceText(month, 29), A(u"9,60"_s));
    QCOMPARE(BalanceText(month, 30), A(u"0,00"_s));
}

void TestSettlement::recalcPerInvoice() {
    MonthData month;
    RecalcInput input{Jan, u"31/01/26"_s, QString(), true};
    const RecalcResult result = RecalcEntries(IcmsSettlement(), input, month);
    QCOMPARE(month.entriesGrid.rows.size(), 5); // four invoices and TOTAL
    QCOMPARE(month.entriesGrid.rows[0],
             Row(u"1102"_s, u"100 04/01/26"_s,
                 {u"100,00"_s, u"80,00"_s, u"9,60"_s, u"5,00"_s, u"15,00"_s}));
    QCOMPARE(month.entriesGrid.rows[1].amounts[0], M(u"200,00"_s));
    QCOMPARE(month.entriesGrid.rows.last().amounts[2], M(u"69,60"_s));
    // The raw result keeps every row the query returned, the excluded one too.
    QCOMPARE(result.rows.size(), 5);
    QVERIFY(result.columns.contains(u"CONTABIL"_s));
    QVERIFY(result.failedQuery.isEmpty());

    // The exits per invoice, in invoice-number order, with the substitution
    // column in the raw result.
    RecalcInput exits{Jan, u"31/01/26"_s, QString(), true};
    const RecalcResult exitRows = RecalcExits(IcmsSettlement(), exits, month);
    QVERIFY(exitRows.columns.contains(u"SUBSTRVALOR"_s));
    QCOMPARE(month.exitsGrid.rows.size(), 3);
    QCOMPARE(month.exitsGrid.rows[0].history, u"500 12/01/26"_s);
    QCOMPARE(month.exitsGrid.rows[1].history, u"501 13/01/26"_s);
    QCOMPARE(month.exits[22], M(u"60,00"_s));
}

// March over the settlement and over the invoice books: each invoice's
// amounts cut to cents before they are summed (two entries of 100,005 with
// 12,005 of tax are 200,00 and 24,00, not 200,01 and 24,01), the exempt
// amount out of "Outras", the exits' base capped at the accounting value, the
// substitution tax out of the exits' "Outras" (it has a line of its own in the
// exits book), and a nature with tax but no accounting value alongside: the
// grids' TOTAL rows are the books' totals, to the cent.
void TestSettlement::gridsMatchTheInvoiceBooks() {
    const MonthData month = Recalculated(IcmsSettlement(), Mar, u"31/03/26"_s);
    const QList<NatureRow> entries{
        Row(u"1102"_s, u"COMPRA"_s, {u"200,00"_s, u"200,00"_s, u"24,00"_s, u"0,00"_s, u"0,00"_s}),
        Row(u"1403"_s, u"COMPRA ST"_s, {u"100,00"_s, u"0,00"_s, u"0,00"_s, u"40,00"_s, u"60,00"_s}),
        Row(u"TOTAL"_s, QString(), {u"300,00"_s, u"200,00"_s, u"24,00"_s, u"40,00"_s, u"60,00"_s})};
    QCOMPARE(month.entriesGrid.rows, entries);
    const QList<NatureRow> exits{
        Row(u"5102"_s, u"VENDA"_s, {u"50,00"_s, u"50,00"_s, u"9,60"_s, u"0,00"_s, u"0,00"_s}),
        Row(u"5405"_s, u"VENDA ST"_s, {u"100,00"_s, u"60,00"_s, u"20,80"_s, u"0,00"_s, u"36,00"_s}),
        Row(u"TOTAL"_s, QString(), {u"150,00"_s, u"110,00"_s, u"30,40"_s, u"0,00"_s, u"36,00"_s})};
    QCOMPARE(month.exitsGrid.rows, exits);
    QCOMPARE(month.entries[12], M(u"24,00"_s));
    QCOMPARE(month.exits[22], M(u"30,40"_s));

    const books::BookPeriod march{Mar, u"31/03/26"_s, u"DATA"_s, QString(), u"1"_s};
    LX53Options lx53;
    lx53.period = march;
    QVERIFY(test::TextPageLines([&](print::PrintJob& job) {
                PrintLX53(job, lx53);
            }).contains(u"TOTAL DO PERÍODO 300,00 ICMS 200,00 24,00 40,00 60,00"_s));
    LX55Options lx55;
    lx55.period = march;
    lx55.period.dateField = u"DTNOTA"_s;
    QVERIFY(test::TextPageLines([&](print::PrintJob& job) {
                PrintLX55(job, lx55);
            }).contains(u"TOTAL DO PERÍODO 150,00 ICMS 110,00 30,40 0,00 36,00"_s));

    // Per invoice the exit's base is capped too.
    MonthData perInvoice;
    RecalcInput input{Mar, u"31/03/26"_s, QString(), true};
    RecalcExits(IcmsSettlement(), input, perInvoice);
    QCOMPARE(perInvoice.exitsGrid.rows.last(), exits.last());
}

void TestSettlement::creditCarriedIntoNextMonthThenDebit() {
    const SettlementBook& book = IcmsSettlement();
    SaveMonth(book, Jan, Recalculated(book, Jan, u"31/01/26"_s));

    MonthData feb = LoadMonth(book, Feb);
    QCOMPARE(feb.entries[11], M(u"9,60"_s));
    // A value typed over box 11 gives way to the carried credit on reload.
    feb.entries[11] = M(u"5"_s);
    SaveMonth(book, Feb, feb);
    QCOMPARE(LoadMonth(book, Feb).entries[11], M(u"9,60"_s));

    feb = Recalculated(book, Feb, u"28/02/26"_s);
    // credits 9,60 + 12,00; debits 180,00
    QCOMPARE(feb.entriesTotal, M(u"21,60"_s));
    QCOMPARE(feb.box29, 0);
    QCOMPARE(BalanceText(feb, 29), A(u"0,00"_s));
    QCOMPARE(feb.box30, M(u"158,40"_s));
    QCOMPARE(BalanceText(feb, 30), A(u"158,40"_s));
    // No record for December: box 11 of January starts at zero.
    QCOMPARE(LoadMonth(book, Jan).entries[11], 0);
}

void TestSettlement::equalCreditsAndDebits() {
    MonthData month;
    month.entries[13] = ParseAmount(u"1.000,00"_s);
    month.exits[23] = ParseAmount(u"1000"_s);
    RecomputeSummary(month);
    QCOMPARE(month.box29, 0);
    QCOMPARE(month.box30, 0);
    QCOMPARE(BalanceText(month, 29), A(u"0,00"_s));
    QCOMPARE(BalanceText(month, 30), A(u"0,00"_s));
}

void TestSettlement::monthRecordRoundTrip() {
    const SettlementBook& book = IcmsSettlement();
    // A field of line 10 this window does not own survives the write.
    data::ParamLines().clear();
    data::ParamLines().setLine(10, u"kept#"_s);
    data::ParamWrite(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2601"_s, 190);

    MonthData month = LoadMonth(book, Jan);
    month.entries[13] = ParseAmount(u"1.234,5"_s);
    month.entryDescriptions[27] = u"ajuste de credito"_s;
    month.exits[37] = ParseAmount(u"7"_s);
    month.exitDescriptions[38] = u"estorno"_s;
    // A "#" typed in a text would split the stored line: it is kept as a blank.
    month.obs = {u"NF #12"_s, QString(), u"terceira"_s};
    month.entryDescriptions[28] = u"a#b"_s;
    month.guides[1] = {u"G-2"_s, u"10/02/26"_s, u"158,40"_s, u"SEFAZ"_s};
    // 25 natures of entries (the 23rd without amounts, its cells empty) and
    // 93 of exits.
    for (int i = 1; i <= 25; ++i)
        month.entriesGrid.rows.insert(
            i - 1, i == 23 ? NatureRow{u"1123"_s, u"VAZIA"_s, {}}
                           : Row(QString::number(1100 + i), u"N"_s,
                                 {u"1,00"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s, u"1,00"_s}));
    for (int i = 1; i <= 93; ++i)
        month.exitsGrid.rows.insert(i - 1,
                                    Row(QString::number(5100 + i), u"S "_s + QString::number(i),
                                        {u"10,00"_s, u"10,00"_s, u"1,70"_s, u"0,00"_s, u"0,00"_s}));
    QVERIFY(SaveMonth(book, Jan, month));

    data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2601"_s, 190);
    QVERIFY(data::ParamLines().line(10).startsWith(u"kept#"_s));
    // Lines 40..79 hold the first 20 rows of each grid as they always did.
    QCOMPARE(data::ParamLines().line(59),
             u"1120#N#         1,00#         0,00#         0,00#         0,00#         1,00#"_s);
    QCOMPARE(data::ParamLines().line(79),
             u"5120#S 20#        10,00#        10,00#         1,70#         0,00#         0,00#"_s);

    const MonthData loaded = LoadMonth(book, Jan);
    QCOMPARE(loaded.entries[13], M(u"1234,50"_s));
    QCOMPARE(loaded.entryDescriptions[27], u"ajuste de credito"_s);
    QCOMPARE(loaded.exits[37], M(u"7,00"_s));
    QCOMPARE(loaded.exitDescriptions[38], u"estorno"_s);
    QCOMPARE(loaded.obs[0], u"NF  12"_s);
    QCOMPARE(loaded.obs[1], QString());
    QCOMPARE(loaded.entryDescriptions[28], u"a b"_s);
    QCOMPARE(loaded.obs[2], u"terceira"_s);
    QCOMPARE(loaded.guides[1].agency, u"SEFAZ"_s);
    QCOMPARE(loaded.guides[1].value, u"158,40"_s);
    // Every row comes back, in order, under a TOTAL of them all.
    QCOMPARE(loaded.entriesGrid.rows,
             month.entriesGrid.rows.mid(0, 25) +
                 QList<NatureRow>{Row(u"TOTAL"_s, QString(),
                                      {u"24,00"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s, u"24,00"_s})});
    QCOMPARE(loaded.exitsGrid.detailRows(), month.exitsGrid.detailRows());
    QCOMPARE(
        loaded.exitsGrid.rows.last(),
        Row(u"TOTAL"_s, QString(), {u"930,00"_s, u"930,00"_s, u"158,10"_s, u"0,00"_s, u"0,00"_s}));
    // 1234,50 of credit less 7,00 of debit.
    QCOMPARE(loaded.box29, M(u"1227,50"_s));
}

// The month record as it is written, byte for byte: amounts of 13
// characters (the balance box without the balance as "0,00" too), the free
// boxes' descriptions in their fields, a grid row's empty cells left empty.
void TestSettlement::storedRecordText() {
    const auto stored = [](const QString& key) {
        data::ParamRead(data::DatabaseFor(u"PDS"_s), key, 190);
        QMap<int, QString> lines;
        for (int n = 1; n <= 190; ++n)
            if (!data::ParamLines().line(n).isEmpty()) lines.insert(n, data::ParamLines().line(n));
        return lines;
    };
    // n zero amounts, each with its separator.
    const auto zeros = [](int n) { return u"         0,00#"_s.repeated(n); };
    const SettlementBook& book = IcmsSettlement();
    // February without a January record: a debit, box 29 at zero.
    SaveMonth(book, Feb, Recalculated(book, Feb, u"28/02/26"_s));
    const QMap<int, QString> feb{
        {10, u"##########         0,00#        12,00#"_s + zeros(9) + u"#####"_s +
                 u"         0,00#         0,00#########         0,00#         0,00#"_s},
        {20, u"##################         0,00#         0,00#         0,00#       180,00#"_s +
                 zeros(6) + u"########         0,00#         0,00#"_s},
        {30, u"############################         0,00#       168,00#"_s},
        {40,
         u"1102#COMPRA#       100,00#       100,00#        12,00#         0,00#         0,00#"_s},
        {60,
         u"5102#VENDA#      1000,00#      1000,00#       180,00#         0,00#         0,00#"_s}};
    QCOMPARE(stored(u"PAR_LF_2602"_s), feb);

    MonthData month = Recalculated(book, Jan, u"31/01/26"_s);
    month.entries[13] = ParseAmount(u"1.234,5"_s);
    month.exitDescriptions[27] = u"ajuste"_s;
    month.guides[0] = {u"G-1"_s, u"10/02/26"_s, u"158,40"_s, u"SEFAZ"_s};
    month.obs[0] = u"pago"_s;
    month.exitsGrid.rows.insert(2, NatureRow{u"6949"_s, u"SEM VALOR"_s, {}});
    RecomputeSummary(month);
    SaveMonth(book, Jan, month);
    const QMap<int, QString> jan{
        {10, u"##########         0,00#        69,60#      1234,50#"_s + zeros(8) +
                 u"#####         0,00#         0,00#########         0,00#         0,00#"_s},
        {20, u"##################         0,00#         0,00#         0,00#        60,00#"_s +
                 zeros(6) + u"########         0,00#         0,00#"_s},
        {21, u"##########################ajuste#"_s},
        {30, u"############################      1244,10#         0,00#"_s},
        {31, u"pago#"_s},
        {32, u"G-1#"_s},
        {33, u"10/02/26#"_s},
        {34, u"158,40#"_s},
        {35, u"SEFAZ#"_s},
        {40,
         u"1102#COMPRA#       300,00#       280,00#        33,60#         5,00#        15,00#"_s},
        {41,
         u"1403#COMPRA ST#        50,00#         0,00#         0,00#        50,00#         0,00#"_s},
        {42,
         u"2102#COMPRA FORA#       300,00#       300,00#        36,00#         0,00#         0,00#"_s},
        {60,
         u"5102#VENDA#       400,00#       400,00#        48,00#         0,00#         0,00#"_s},
        {61,
         u"6102#VENDA FORA#       100,00#       100,00#        12,00#         0,00#         0,00#"_s},
        {62, u"6949#SEM VALOR#"_s}};
    QCOMPARE(stored(u"PAR_LF_2601"_s), jan);
    // Read back, the empty cells stay empty.
    QCOMPARE(LoadMonth(book, Jan).exitsGrid.rows[2], (NatureRow{u"6949"_s, u"SEM VALOR"_s, {}}));
}

void TestSettlement::failingFilterLeavesTotalRowOnly() {
    MonthData month = Recalculated(IcmsSettlement(), Jan, u"31/01/26"_s);
    RecalcInput input{Jan, u"31/01/26"_s, u"NO_SUCH_COLUMN = 1"_s, false};
    const RecalcResult result = RecalcEntries(IcmsSettlement(), input, month);
    QVERIFY(!result.failedQuery.isEmpty());
    QCOMPARE(month.entriesGrid.rows,
             QList<NatureRow>{Row(u"TOTAL"_s, QString(),
                                  {u"0,00"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s})});
    QCOMPARE(month.entries[12], 0);
}

// "Recalc." stores the month it recalculated; when a query fails it stores
// nothing and leaves the month as it was.
void TestSettlement::recalculateAndSaveKeepsMonthOnFailure() {
    const SettlementBook& book = IcmsSettlement();
    const auto record = [] {
        data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2601"_s, 190);
        return data::ParamLines().lines(190);
    };
    MonthData month = LoadMonth(book, Jan);
    QString entriesFilter = u"SERIE <> '#'"_s, exitsFilter;
    MonthRecalc recalc =
        RecalculateAndSave(book, Jan, u"31/01/26"_s, entriesFilter, exitsFilter, month);
    QVERIFY(!recalc.failed());
    QCOMPARE(entriesFilter, u"SERIE <> ' '"_s);
    QCOMPARE(month.entries[12], M(u"69,60"_s));
    QCOMPARE(LoadMonth(book, Jan).entriesGrid.rows, month.entriesGrid.rows);
    const QStringList stored = record();

    // A box typed since, then a filter the database refuses.
    month.entries[13] = M(u"5,00"_s);
    const MonthData edited = month;
    exitsFilter = u"NO_SUCH_COLUMN = 1"_s;
    recalc = RecalculateAndSave(book, Jan, u"31/01/26"_s, entriesFilter, exitsFilter, month);
    QCOMPARE(recalc.failedQueries(), QStringList{recalc.exits.failedQuery});
    QVERIFY(recalc.exits.failedQuery.contains(u"NO_SUCH_COLUMN"_s));
    // The database's reason goes with the statement.
    QVERIFY2(recalc.exits.failureReason.contains(u"Column unknown"_s),
             qPrintable(recalc.exits.failureReason));
    QVERIFY(recalc.entries.failureReason.isEmpty());
    QCOMPARE(recalc.failures(),
             QStringList{recalc.exits.failureReason + u"\n"_s + recalc.exits.failedQuery});
    QCOMPARE(month.entries, edited.entries);
    QCOMPARE(month.exits, edited.exits);
    QCOMPARE(month.entriesGrid.rows, edited.entriesGrid.rows);
    QCOMPARE(month.exitsGrid.rows, edited.exitsGrid.rows);
    QCOMPARE(record(), stored);
}

void TestSettlement::heldMonthRecordIsNotOverwritten_data() {
    QTest::addColumn<bool>("recalculate");
    QTest::newRow("SaveMonth") << false;
    QTest::newRow("RecalculateAndSave") << true;
}

// Another station holds the month's record (it wrote its text and has not
// committed): the save gives up within the lock timeout, says it failed,
// and once the station commits the record holds the station's text.
void TestSettlement::heldMonthRecordIsNotOverwritten() {
    QFETCH(bool, recalculate);
    const SettlementBook& book = IcmsSettlement();
    MonthData month = LoadMonth(book, Jan);
    QString entriesFilter, exitsFilter;
    QVERIFY(RecalculateAndSave(book, Jan, u"31/01/26"_s, entriesFilter, exitsFilter, month).saved);
    const MonthData saved = month;

    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(m_fixture->erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET TEXTO = '010)OUTRA ESTACAO' WHERE CHAVE = 'PAR_LF_2601'"_s);

    month.entries[13] = M(u"7,00"_s);
    QElapsedTimer clock;
    clock.start();
    bool written = true;
    if (recalculate) {
        const MonthRecalc recalc =
            RecalculateAndSave(book, Jan, u"31/01/26"_s, entriesFilter, exitsFilter, month);
        QVERIFY(!recalc.failed()); // the queries ran; the save did not
        written = recalc.saved;
        // The month is left as it was, the box typed since included.
        QCOMPARE(month.entries[12], saved.entries[12]);
        QCOMPARE(month.entries[13], M(u"7,00"_s));
    } else {
        written = SaveMonth(book, Jan, month);
    }
    const qint64 waited = clock.elapsed();
    data::SetLockTimeoutSeconds(timeout);
    QVERIFY(!written);
    QVERIFY2(waited < 4000, qPrintable(QString::number(waited)));

    holding.commit();
    QVERIFY(data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2601"_s, 190));
    QCOMPARE(data::ParamLines().line(10), u"OUTRA ESTACAO"_s);
    QCOMPARE(data::ParamLines().line(20), QString());
    // Free again: the save goes through.
    QVERIFY(SaveMonth(book, Jan, month));
    QCOMPARE(LoadMonth(book, Jan).entries[13], M(u"7,00"_s));
}

void TestSettlement::ipiColumnsAndFilter() {
    MonthData month;
    // The ICMS book makes "#" blanks (in the filter too); the IPI book sends
    // the filter as typed.
    RecalcInput icms{Jan, u"31/01/26"_s, u"SERIE <> '#'"_s, false};
    RecalcEntries(IcmsSettlement(), icms, month);
    QCOMPARE(icms.filter, u"SERIE <> ' '"_s);
    RecalcInput ipi{Jan, u"31/01/26"_s, u"SERIE <> '#'"_s, false};
    const RecalcResult result = RecalcEntries(IpiSettlement(), ipi, month);
    QCOMPARE(result.condition,
             u"FAT = 'F'  AND DATA >= '01.01.2026' AND DATA <= '31.01.2026' AND (SERIE <> '#')"_s);
    // "Outras" is the stored IPIOUTRAS (7,00), not contábil less base; the
    // history is the nature's full description.
    QCOMPARE(month.entriesGrid.rows[0],
             Row(u"1102"_s, u"COMPRA PARA COMERCIALIZACAO"_s,
                 {u"300,00"_s, u"150,00"_s, u"15,00"_s, u"0,00"_s, u"7,00"_s}));
    QCOMPARE(month.entriesGrid.rows.last().amounts[4], M(u"7,00"_s));
    QCOMPARE(month.entries[12], M(u"15,00"_s));

    // A filter with OR stays within the invoiced exits of the month: the
    // cancelled export of March and the export of April stay out.
    RecalcInput exits{Mar, u"31/03/26"_s, u"ESTADO = 'SP' OR ESTADO = 'EX'"_s, false};
    RecalcExits(IpiSettlement(), exits, month);
    QCOMPARE(month.exitsGrid.rows,
             (QList<NatureRow>{Row(u"5102"_s, u"VENDA DE MERCADORIA"_s,
                                   {u"50,00"_s, u"50,00"_s, u"5,00"_s, u"0,00"_s, u"0,00"_s}),
                               Row(u"TOTAL"_s, QString(),
                                   {u"50,00"_s, u"50,00"_s, u"5,00"_s, u"0,00"_s, u"0,00"_s})}));
    QCOMPARE(month.exits[22], M(u"5,00"_s));

    // A filter that would close the month's own conditions is not run: the
    // grid keeps only its zero TOTAL and the run reports why.
    RecalcInput escaping{Mar, u"31/03/26"_s, u"1=1) OR (1=1"_s, false};
    const RecalcResult refused = RecalcExits(IpiSettlement(), escaping, month);
    QVERIFY2(refused.failedQuery.startsWith(u"filtro recusado"_s), qPrintable(refused.failedQuery));
    QCOMPARE(month.exitsGrid.rows.size(), 1);
    QCOMPARE(month.exits[22], 0);
}

void TestSettlement::printedParts() {
    MonthData month = Recalculated(IcmsSettlement(), Jan, u"31/01/26"_s);
    month.entries[13] = M(u"1234567,89"_s);
    month.guides[0] = {u"123"_s, u"10/02/26"_s, u"9,60"_s, u"SEFAZ"_s};
    month.obs[0] = u"pago em dia"_s;
    RecomputeSummary(month);

    const QStringList entries = PrintedPage(IcmsSettlement(), month, 0);
    QVERIFY(entries.value(0).startsWith(u"LX56 REGISTRO DE APURAÇÃO - ICMS E N T R A D A S"_s));
    QVERIFY(entries.value(0).endsWith(u"Folha: 2"_s));
    const qsizetype first = entries.indexOf(u"1102 COMPRA 300,00 280,00 33,60 5,00 15,00"_s);
    QVERIFY2(first > 0, qPrintable(entries.join(u'\n')));
    QCOMPARE(entries.mid(first),
             (QStringList{u"1102 COMPRA 300,00 280,00 33,60 5,00 15,00"_s,
                          u"1403 COMPRA ST 50,00 0,00 0,00 50,00 0,00"_s,
                          u"SUBTOTAL 350,00 280,00 33,60 55,00 15,00"_s,
                          u"2102 COMPRA FORA 300,00 300,00 36,00 0,00 0,00"_s,
                          u"SUBTOTAL 300,00 300,00 36,00 0,00 0,00"_s,
                          u"TOTAL DO IMPOSTO DO PERÍODO 650,00 580,00 69,60 55,00 15,00"_s}));

    const QStringList summary = PrintedPage(IcmsSettlement(), month, 2);
    QVERIFY2(summary.value(0).contains(u"R E S U M O"_s), qPrintable(summary.join(u'\n')));
    QVERIFY(summary.contains(u"13 - Créditos Simbólicos 1.234.567,89"_s));
    QVERIFY(summary.contains(u"12 - Créditos por Entradas 69,60"_s));
    QVERIFY(summary.contains(u"22 - Débitos por Saídas 60,00"_s));
    QVERIFY(summary.contains(u"29 - Saldo Credor a transportar para o Período seguinte "
                             "1.234.577,49"_s));
    QVERIFY(summary.contains(u"30 - Saldo Devedor a Recolher 0,00"_s));
    QVERIFY(summary.contains(u"Número: 123"_s));
    QVERIFY(summary.contains(u"Org.Arrec. SEFAZ"_s));
    QVERIFY(summary.contains(u"OBS: pago em dia"_s));

    // No amount runs past the page's right edge: the value columns give way
    // when the page holds fewer columns than the layout's last one.
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    PrintSettlement(job, IcmsSettlement(), month,
                    {Jan, u"31/01/26"_s, QString(), QString(), u"1"_s});
    const print::PageMetrics& metrics = job.metrics();
    const int pageColumns = qRound(double(metrics.pageWidth) / metrics.charWidth) -
                            job.settings.leftMargin - job.settings.rightMargin;
    for (const QString& line : static_cast<print::TextPageSurface*>(job.surface())->pages()[0])
        QVERIFY2(line.size() <= pageColumns, qPrintable(line));

    // The IPI book prints every grid row, even one without a V.Contábil, as
    // the grid holds it; the ICMS book leaves such a row out and re-formats.
    month.entriesGrid.rows.insert(
        0, Row(u"1101"_s, u"GRANDE"_s,
               {u"1234567,89"_s, u"0,00"_s, u"0,00"_s, u"0,00"_s, u"1234567,89"_s}));
    month.entriesGrid.rows.insert(1, NatureRow{u"1101"_s, u"SEM VALOR"_s, {}});
    const QStringList icmsEntries = PrintedPage(IcmsSettlement(), month, 0);
    const QStringList ipiEntries = PrintedPage(IpiSettlement(), month, 0);
    QVERIFY(icmsEntries.contains(u"1101 GRANDE 1.234.567,89 0,00 0,00 0,00 1.234.567,89"_s));
    QVERIFY(!icmsEntries.join(u'\n').contains(u"SEM VALOR"_s));
    QVERIFY(ipiEntries.contains(u"1101 GRANDE 1234567,89 0,00 0,00 0,00 1234567,89"_s));
    QVERIFY(ipiEntries.contains(u"1101 SEM VALOR"_s));

    // A row with tax but no V.Contábil is printed, and so is a TOTAL of such
    // rows alone.
    MonthData taxOnly;
    taxOnly.exitsGrid.rows = {
        Row(u"5405"_s, u"VENDA ST"_s, {u"0,00"_s, u"0,00"_s, u"13,60"_s, u"0,00"_s, u"0,00"_s}),
        Row(u"TOTAL"_s, QString(), {u"0,00"_s, u"0,00"_s, u"13,60"_s, u"0,00"_s, u"0,00"_s})};
    const QStringList taxOnlyExits = PrintedPage(IcmsSettlement(), taxOnly, 1);
    QVERIFY2(taxOnlyExits.contains(u"5405 VENDA ST 0,00 0,00 13,60 0,00 0,00"_s),
             qPrintable(taxOnlyExits.join(u'\n')));
    QVERIFY(taxOnlyExits.contains(u"TOTAL DO IMPOSTO DO PERÍODO 0,00 0,00 13,60 0,00 0,00"_s));

    // Descriptions wider than their column go on below it, whole: two natures
    // that differ only at the end print apart.
    const QString common = u"VENDA DE MERCADORIA ADQUIRIDA OU RECEBIDA DE TERCEIROS EM OPERACAO "
                           u"COM MERCADORIA SUJEITA AO REGIME DE SUBSTITUICAO TRIBUTARIA, NA "
                           u"CONDICAO DE CONTRIBUINTE "_s;
    MonthData longNames;
    longNames.exitsGrid.rows = {Row(u"5403"_s, common + u"SUBSTITUTO"_s, {u"1,00"_s}),
                                Row(u"5405"_s, common + u"SUBSTITUIDO"_s, {u"2,00"_s}),
                                Row(u"TOTAL"_s, QString(), {u"3,00"_s})};
    const QStringList ipiExits = PrintedPage(IpiSettlement(), longNames, 1);
    const QString printed = ipiExits.join(u' ');
    QVERIFY2(printed.contains(u"5403 VENDA DE MERCADORIA"_s), qPrintable(ipiExits.join(u'\n')));
    for (const QString& ending :
         {u"CONTRIBUINTE SUBSTITUTO 5405"_s, u"CONTRIBUINTE SUBSTITUIDO SUBTOTAL"_s})
        QVERIFY2(printed.contains(ending), qPrintable(ipiExits.join(u'\n')));

    // The IPI book writes no thousands separators anywhere.
    const QStringList ipiSummary = PrintedPage(IpiSettlement(), month, 2);
    QVERIFY(ipiSummary.value(0).startsWith(u"LX57 REGISTRO DE APURAÇÃO - IPI R E S U M O"_s));
    QVERIFY(ipiSummary.contains(u"13 - Créditos Simbólicos 1234567,89"_s));
}

QTEST_MAIN(TestSettlement)
#include "test_settlement.moc"
