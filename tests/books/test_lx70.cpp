// The Livro de ISSQN over a small hand-made April (30 days): the day lists,
// the day amounts under each option, the RESUMO of each method, and the
// saved settings; every amount worked out by hand.

#include "books/lx70.h"
#include "books/lx70_settings.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

#include <limits>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

// Day 5: 1001, 1002, 1003 and 1007; day 20: 2000. 1001 has a four-decimal
// LIQUIDO and a three-decimal base, both cut to the cent. 2001 is
// cancelled, 3000 falls in May, 4000 has no DATA.
const QString Fixture = uR"(
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (1, 1001, '05.04.2026', '05.04.2026', 'F', 100.0059, 120, 80.009, 4, 1);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (2, 1002, '05.04.2026', '05.04.2026', 'F', 50, 50, 50, 2.5, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (3, 1003, '05.04.2026', '05.04.2026', 'F', 10, 10, 10, 0.5, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (4, 1007, '05.04.2026', '05.04.2026', 'F', 40, 44, 30, 1.5, 0.5);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (5, 2000, '20.04.2026', '20.04.2026', 'F', 200, 250, 150, 7.5, 2);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (6, 2001, '20.04.2026', '20.04.2026', 'C', 999, 999, 999, 99, 99);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (7, 3000, '05.05.2026', '05.05.2026', 'F', 500, 500, 500, 25, 5);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (8, 4000, NULL, '06.04.2026', 'F', 30, 30, 30, 1, 0);
)"_s;

LX70Options April() {
    LX70Options options;
    options.period = {u"01/04/26"_s, u"30/04/26"_s, u"DTNOTA"_s, u"NNOTA <> 4000"_s, u"1"_s};
    options.rate = 30000; // 3 %
    options.paymentDate = u"10/05/26"_s;
    return options;
}

QList<QStringList> Pages(LX70Options& options) {
    return test::TextPages([&options](print::PrintJob& job) { PrintLX70(job, options); });
}

// The first line of all pages that starts with `start`.
QString LineStarting(const QList<QStringList>& pages, const QString& start) {
    for (const QStringList& page : pages)
        for (const QString& line : page)
            if (line.startsWith(start)) return line;
    return QString();
}

} // namespace

class TestLX70 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 5, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void compress_data();
    void compress();
    void wrap_data();
    void wrap();
    void paymentDate_data();
    void paymentDate();
    void dayAmounts_data();
    void dayAmounts();
    void summary_data();
    void summary();
    void longDayListWrapsAndPagesKeepTheirHeader();
    void rowsWithoutADayAreReported();
    void refusedInputs_data();
    void refusedInputs();
    void amountsOutOfRangeAreRefused();
    void savedSettings();
};

void TestLX70::compress_data() {
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("written");
    QTest::newRow("runs") << u"12,13,14,20,22,23,"_s << u"12 a 14,20,22 a 23"_s;
    QTest::newRow("day 5") << u"1001,1002,1003,1007,"_s << u"1001 a 1003,1007"_s;
    QTest::newRow("one") << u"7,"_s << u"7"_s;
    QTest::newRow("none") << QString() << QString();
    // A repeated number counts once, alone or inside a run.
    QTest::newRow("repeated") << u"5,5,8,8,9,"_s << u"5,8 a 9"_s;
    QTest::newRow("not in order") << u"3,2,1,"_s << u"3,2,1"_s;
}

void TestLX70::compress() {
    QFETCH(QString, numbers);
    QFETCH(QString, written);
    QCOMPARE(CompressNumberList(numbers), written);
}

void TestLX70::wrap_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("fits") << u"1 a 3,5"_s << 69 << QStringList{u"1 a 3,5"_s};
    QTest::newRow("broken after a comma")
        << u"1 a 3,5,7"_s << 6 << QStringList{u"1 a 3,"_s, u"5,7"_s};
    QTest::newRow("exactly the width") << u"10,20"_s << 5 << QStringList{u"10,20"_s};
    QTest::newRow("a part wider than the column")
        << u"1,1234567"_s << 4 << QStringList{u"1,"_s, u"1234"_s, u"567"_s};
}

void TestLX70::wrap() {
    QFETCH(QString, list);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    QCOMPARE(WrapNumberList(list, width), lines);
}

void TestLX70::paymentDate_data() {
    QTest::addColumn<QString>("payment");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("moved");
    QTest::newRow("blank: the 10th of the next month")
        << u"  /  /  "_s << u"01/04/26"_s << u"10/05/26"_s;
    QTest::newRow("keeps its day") << u"15/01/20"_s << u"01/04/26"_s << u"15/05/26"_s;
    // Day 31 into a 30-day month: the month's end.
    QTest::newRow("31 into April") << u"31/01/26"_s << u"01/03/26"_s << u"30/04/26"_s;
    QTest::newRow("31 into February") << u"31/12/25"_s << u"15/01/24"_s << u"29/02/24"_s;
    QTest::newRow("December to January") << u"10/01/26"_s << u"01/12/26"_s << u"10/01/27"_s;
    QTest::newRow("no start date") << u"05/05/26"_s << u"  /  /  "_s << u"05/05/26"_s;
}

void TestLX70::paymentDate() {
    QFETCH(QString, payment);
    QFETCH(QString, start);
    QFETCH(QString, moved);
    QCOMPARE(LX70PaymentDate(payment, start), moved);
}

// The printed day lines under each option. Day 5: LIQUIDO 100,00 (100,0059
// cut) + 50 + 10 + 40 = 200,00; bases 80,00 (80,009 cut) + 50 + 10 + 30 =
// 170,00: deductions exactly 30,00 and the net exactly 170,00.
void TestLX70::dayAmounts_data() {
    QTest::addColumn<bool>("gross");
    QTest::addColumn<bool>("copyNetToBase");
    QTest::addColumn<bool>("zeroDeductions");
    QTest::addColumn<int>("method");
    QTest::addColumn<bool>("productsFirst");
    QTest::addColumn<qint64>("subcontracted");
    // Net, deductions and total (total first with "Produtos x Base").
    QTest::addColumn<QString>("day5");
    QTest::addColumn<QString>("day20");
    QTest::addColumn<QString>("total");
    QTest::newRow("Líquido") << false << false << false << 0 << false << qint64(0)
                             << u"170,00 | 30,00 | 200,00"_s << u"150,00 | 50,00 | 200,00"_s
                             << u"320,00 | 80,00 | 400,00"_s;
    // VALOR: 120 + 50 + 10 + 44 = 224 on day 5, 250 on day 20.
    QTest::newRow("Bruto") << true << false << false << 0 << false << qint64(0)
                           << u"170,00 | 54,00 | 224,00"_s << u"150,00 | 100,00 | 250,00"_s
                           << u"320,00 | 154,00 | 474,00"_s;
    QTest::newRow("Copiar") << false << true << false << 0 << false << qint64(0)
                            << u"200,00 | 0,00 | 200,00"_s << u"200,00 | 0,00 | 200,00"_s
                            << u"400,00 | 0,00 | 400,00"_s;
    // The subcontracted amount still counts as a deduction.
    QTest::newRow("Zerar") << false << false << true << 0 << false << qint64(250000)
                           << u"200,00 | 0,00 | 200,00"_s << u"200,00 | 0,00 | 200,00"_s
                           << u"375,00 | 25,00 | 400,00"_s;
    // ISQNBASE and ISQNVALOR: 170,00 and 8,50 on day 5.
    QTest::newRow("Calculado") << false << false << false << 2 << false << qint64(0)
                               << u"161,50 | 8,50 | 170,00"_s << u"142,50 | 7,50 | 150,00"_s
                               << u"304,00 | 16,00 | 320,00"_s;
    QTest::newRow("Produtos x Base")
        << false << false << false << 0 << true << qint64(0) << u"200,00 | 30,00 | 170,00"_s
        << u"200,00 | 50,00 | 150,00"_s << u"400,00 | 80,00 | 320,00"_s;
}

void TestLX70::dayAmounts() {
    QFETCH(bool, gross);
    QFETCH(bool, copyNetToBase);
    QFETCH(bool, zeroDeductions);
    QFETCH(int, method);
    QFETCH(bool, productsFirst);
    QFETCH(qint64, subcontracted);
    QFETCH(QString, day5);
    QFETCH(QString, day20);
    QFETCH(QString, total);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX70Options options = April();
    options.gross = gross;
    options.copyNetToBase = copyNetToBase;
    options.zeroDeductions = zeroDeductions;
    options.method = LX70Method(method);
    options.productsFirst = productsFirst;
    options.subcontracted = subcontracted;
    const QList<QStringList> pages = Pages(options);
    const QStringList first = pages.value(0);
    QVERIFY2(first.value(0).endsWith(u"Folha: 1"_s), qPrintable(first.join(u'\n')));
    // The cancelled invoice, the one of May and the one filtered out are in
    // no day.
    QCOMPARE(LineStarting(pages, u"| 5 |"_s), u"| 5 | 1001 a 1003,1007 | "_s + day5 + u" | |"_s);
    QCOMPARE(LineStarting(pages, u"| 20 |"_s), u"| 20 | 2000 | "_s + day20 + u" | |"_s);
    // April has 30 days; the book still has a day 31, empty.
    QCOMPARE(LineStarting(pages, u"| 31 |"_s), u"| 31 | | 0,00 | 0,00 | 0,00 | |"_s);
    QCOMPARE(LineStarting(pages, u"| | (-) Subempreitadas"_s),
             u"| | (-) Subempreitadas | | "_s + FormatScaled(subcontracted, 0, 2) + u" | | |"_s);
    QCOMPARE(LineStarting(pages, u"| | TOTAL DO PERÍODO"_s),
             u"| | TOTAL DO PERÍODO | "_s + total + u" | |"_s);
}

void TestLX70::summary_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<qint64>("subcontracted");
    QTest::addColumn<qint64>("withheld"); // typed
    QTest::addColumn<qint64>("rate");
    QTest::addColumn<QString>("lineA");
    QTest::addColumn<QString>("lineB");
    QTest::addColumn<QString>("lineC");
    const QString a = u"A) Soma mensal do liq. Tributável "_s;
    const QString b = u"B) Estimativa Mensal Imposto retido: ___________"_s;
    const QString c = u"C) Total Recolhido do mês em: 10/05/26 Total do Imposto:__________ "_s;
    // 318,00 × 2,55 % = 8,109: rounded once to the cent.
    QTest::newRow("na impressão, nada retido")
        << 0 << qint64(20000) << qint64(0) << qint64(25500)
        << a + u"318,00 Imposto: ________________ 8,11"_s << b << c + u"8,11"_s;
    QTest::newRow("na impressão, retido")
        << 0 << qint64(20000) << qint64(11100) << qint64(25500)
        << a + u"318,00 Imposto: ________________ 8,11"_s << b + u" 1,11"_s << c + u"7,00"_s;
    // The invoices' ISQNVALOR: 4 + 2,5 + 0,5 + 1,5 + 7,5.
    QTest::newRow("do cadastro, nada retido")
        << 1 << qint64(0) << qint64(0) << qint64(30000)
        << a + u"320,00 Imposto: ________________ 16,00"_s << b << c + u"16,00"_s;
    QTest::newRow("do cadastro, retido além do imposto")
        << 1 << qint64(0) << qint64(200000) << qint64(30000)
        << a + u"320,00 Imposto: ________________ 16,00"_s << b + u" 20,00"_s << c + u"-4,00"_s;
    // The tax is the deductions (ISQNVALOR + subcontracted); the withheld tax
    // summed from ISQNRET (1 + 0,5 + 2) joins the typed one.
    QTest::newRow("calculado") << 2 << qint64(20000) << qint64(0) << qint64(30000)
                               << a + u"302,00 Imposto: ________________ 18,00"_s << b + u" 3,50"_s
                               << c + u"14,50"_s;
    QTest::newRow("calculado, retido informado")
        << 2 << qint64(0) << qint64(10000) << qint64(30000)
        << a + u"304,00 Imposto: ________________ 16,00"_s << b + u" 4,50"_s << c + u"11,50"_s;
}

void TestLX70::summary() {
    QFETCH(int, method);
    QFETCH(qint64, subcontracted);
    QFETCH(qint64, withheld);
    QFETCH(qint64, rate);
    QFETCH(QString, lineA);
    QFETCH(QString, lineB);
    QFETCH(QString, lineC);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX70Options options = April();
    options.method = LX70Method(method);
    options.subcontracted = subcontracted;
    options.withheld = withheld;
    options.rate = rate;
    options.professionals = 2;
    options.issValue = 125000;
    options.note = u"SEM MOVIMENTO EXTRA"_s;
    const QList<QStringList> pages = Pages(options);
    QCOMPARE(LineStarting(pages, u"A) "_s), lineA);
    QCOMPARE(LineStarting(pages, u"B) "_s), lineB);
    QCOMPARE(LineStarting(pages, u"C) "_s), lineC);
    // Line E whole (nothing cut at the right edge), and the note.
    QString all;
    for (const QStringList& page : pages)
        all += page.join(u' ') + u' ';
    QVERIFY2(all.contains(u"E) Cálculo pelo número de profissionais. Num.Profissionais: 2 "
                          u"Valor ISSQN: 12,50 Imposto retido:_____________"_s),
             qPrintable(all.mid(all.indexOf(u"E) "_s))));
    QVERIFY(all.contains(u"Obs: SEM MOVIMENTO EXTRA"_s));
}

void TestLX70::longDayListWrapsAndPagesKeepTheirHeader() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    // Thirty invoices on day 12, none consecutive: 149 characters of list.
    QString rows;
    for (int i = 0; i < 30; ++i)
        rows += u"INSERT INTO VRTNPDS (PEDIDO, NNOTA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE) "
                u"VALUES (%1, %2, '12.04.2026', 'F', 1, 1, 1);\n"_s.arg(100 + i)
                    .arg(5000 + 2 * i);
    fixture.erp().load(rows);
    LX70Options options = April();
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    PrintLX70(job, options);
    const auto* surface = static_cast<print::TextPageSurface*>(job.surface());
    const QList<QStringList> raw = surface->pages();
    QStringList list; // the day-12 lines as printed
    for (const QStringList& page : raw)
        for (const QString& line : page)
            if (line.contains(u"5000,"_s) || (!list.isEmpty() && list.size() < 3)) list << line;
    QCOMPARE(list.size(), 3);
    QString numbers;
    for (const QString& line : list) {
        // Each piece from column 8, ending before the rule at 77.
        QVERIFY2(line.mid(7, 1).trimmed().isEmpty() && line.mid(77, 1) == u"|"_s, qPrintable(line));
        numbers += line.mid(8, 69).trimmed();
    }
    QStringList expected;
    for (int i = 0; i < 30; ++i)
        expected << QString::number(5000 + 2 * i);
    QCOMPARE(numbers, expected.join(u','));
    // The amounts stand on the day's first line only.
    QVERIFY2(list[0].simplified().endsWith(u"| 30,00 | 0,00 | 30,00 | |"_s), qPrintable(list[0]));
    QVERIFY(!list[1].contains(u"0,00"_s) && !list[2].contains(u"0,00"_s));
    // Every page carries the header with its number.
    QVERIFY(raw.size() >= 2);
    const QList<QStringList> pages = Pages(options);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QVERIFY(pages[i].value(0).startsWith(u"LX70"_s));
        QVERIFY2(pages[i].value(0).endsWith(u"Folha: "_s + QString::number(i + 1)),
                 qPrintable(pages[i].value(0)));
    }
}

void TestLX70::rowsWithoutADayAreReported() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    // An open period over DATA: 4000 has none.
    LX70Options options;
    options.period = {u"  /  /  "_s, u"  /  /  "_s, u"DATA"_s, QString(), u"1"_s};
    const LX70DayTable table = LX70Withheld(options);
    QCOMPARE(table.undated, QStringList{u"4000"_s});
    qint64 total = 0;
    for (const LX70Day& day : table.days)
        total += day.total;
    // 200 + 200 + 500 (May's day 5): the undated 30,00 is in no total.
    QCOMPARE(total, qint64(9000000));
    const QList<QStringList> pages = Pages(options);
    QCOMPARE(LineStarting(pages, u"| | Notas sem data"_s),
             u"| | Notas sem data em DATA, fora dos dias e dos totais: 4000 | | | | |"_s);
}

void TestLX70::refusedInputs_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a date column") << u"NNOTA"_s << QString() << u"Campo de data recusado"_s;
    QTest::newRow("SQL in the field")
        << u"DTNOTA; DELETE FROM VRTNPDS"_s << QString() << u"Campo de data recusado"_s;
    QTest::newRow("filter that widens") << u"DTNOTA"_s << u"1=1) OR (1=1"_s << u"Filtro recusado"_s;
    QTest::newRow("unknown column in the filter")
        << u"DTNOTA"_s << u"NO_SUCH = 1"_s << u"A consulta do livro falhou"_s;
}

void TestLX70::refusedInputs() {
    QFETCH(QString, field);
    QFETCH(QString, filter);
    QFETCH(QString, reason);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX70Options options = April();
    options.period.dateField = field;
    options.period.filter = filter;
    QString message;
    try {
        LX70Withheld(options);
    } catch (const BookError& error) {
        message = error.message();
    }
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void TestLX70::amountsOutOfRangeAreRefused() {
    LX70DayTable table;
    table.days[0].total = std::numeric_limits<qint64>::max();
    table.days[1].total = 1;
    LX70Options options;
    QVERIFY_THROWS_EXCEPTION(BookError, LX70Summarize(table, options));
    // A tax whose product leaves the range.
    table.days[1].total = 0;
    table.days[0].total = std::numeric_limits<qint64>::max() / 2;
    options.rate = 1000000LL * 10000 * 100;
    QVERIFY_THROWS_EXCEPTION(BookError, LX70Summarize(table, options));
}

void TestLX70::savedSettings() {
    test::ModuleFixture fixture;
    const LineBookSettings<LX70Options>& settings = LX70Settings();
    const LX70Options fresh = LoadBookSettings(settings);
    QCOMPARE(fresh.method, LX70Method::OnPrint);
    QVERIFY(!fresh.gross && !fresh.zeroDeductions && !fresh.copyNetToBase && !fresh.productsFirst);
    QCOMPARE(fresh.period.firstPage, u"1"_s);
    // A key written before: "Valor do ISSQN" as a whole number.
    data::ParamRead(data::DatabaseFor(u"PDS"_s), settings.key, settings.lines);
    data::ParamLines().setLine(14, u"     12"_s);
    data::ParamLines().setLine(8, u"2"_s);
    QVERIFY(data::ParamWrite(data::DatabaseFor(u"PDS"_s), settings.key, settings.lines));
    LX70Options options = LoadBookSettings(settings);
    QCOMPARE(options.issValue, qint64(120000));
    QCOMPARE(options.method, LX70Method::Calculated);

    options.period = April().period;
    options.issValue = 125000; // 12,50
    options.rate = 25500;
    options.gross = true;
    options.professionals = 3;
    options.paymentDate = u"30/04/26"_s;
    options.note = u"OBSERVAÇÃO"_s;
    options.productsFirst = true;
    QVERIFY(SaveBookSettings(settings, options));
    data::ParamRead(data::DatabaseFor(u"PDS"_s), settings.key, settings.lines);
    QCOMPARE(data::ParamLines().line(14).trimmed(), u"12,50"_s);
    QCOMPARE(data::ParamLines().line(7).trimmed(), u"2,55"_s);
    const LX70Options read = LoadBookSettings(settings);
    QCOMPARE(read.issValue, qint64(125000));
    QCOMPARE(read.rate, qint64(25500));
    QCOMPARE(read.method, LX70Method::Calculated);
    QVERIFY(read.gross);
    QCOMPARE(read.professionals, 3);
    QCOMPARE(read.paymentDate, u"30/04/26"_s);
    QCOMPARE(read.note, u"OBSERVAÇÃO"_s);
    QVERIFY(read.productsFirst);
    QVERIFY(!read.zeroDeductions);
    QCOMPARE(read.period.dateField, u"DTNOTA"_s);
    QCOMPARE(read.period.filter, u"NNOTA <> 4000"_s);
}

QTEST_MAIN(TestLX70)
#include "test_lx70.moc"
