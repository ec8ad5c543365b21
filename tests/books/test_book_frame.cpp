// What the fiscal books share: the period condition, the amounts, the
// lookups of natures and partners, the saved settings, the first page, and a
// header on every page each book prints.

#include "books/book_frame.h"
#include "books/invoice_book_settings.h"
#include "books/settlement_print.h"
#include "data/data_module.h"
#include "data/db_value.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "print/print_settings.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

#include <functional>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

class TestBookFrame : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void periodCondition_data();
    void periodCondition();
    void amountsFromStoredValues();
    void lookupsAreLoadedOnce();
    void settingsRoundTrip();
    void firstPage_data();
    void firstPage();
    void everyPageHasItsHeader_data();
    void everyPageHasItsHeader();
    void documentName_data();
    void documentName();
};

void TestBookFrame::periodCondition_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("shownFilter");
    QTest::newRow("period and filter")
        << u"01/01/26"_s << u"31/01/26"_s << u"DATA"_s << u"NATOPER = 5102#"_s
        << u"(FAT = 'F') AND DATA >= '01.01.2026' AND DATA <= '31.01.2026' AND  (NATOPER = 5102 ) "_s
        << u"NATOPER = 5102 "_s;
    QTest::newRow("blank start") << u"  /  /  "_s << u"31/01/26"_s << u"DTNOTA"_s << QString()
                                 << u"(FAT = 'F') AND DTNOTA <= '31.01.2026'"_s << QString();
    QTest::newRow("nothing") << QString() << QString() << u"DATA"_s << QString() << u"(FAT = 'F')"_s
                             << QString();
}

void TestBookFrame::periodCondition() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, field);
    QFETCH(QString, filter);
    QFETCH(QString, condition);
    QFETCH(QString, shownFilter);
    BookPeriod period{start, end, field, filter, u"1"_s};
    QCOMPARE(PeriodCondition(u"(FAT = 'F')"_s, period), condition);
    QCOMPARE(period.filter, shownFilter);
}

void TestBookFrame::amountsFromStoredValues() {
    // A stored value gives the amount its text gives: cut toward zero to two
    // decimals, whatever its kind.
    const data::DbValue values[] = {data::DbValue::decimal(100099, 4),
                                    data::DbValue::decimal(-100099, 4),
                                    data::DbValue::decimal(-5, 4),
                                    data::DbValue::decimal(42, 0),
                                    data::DbValue::decimal(12345, 2),
                                    data::DbValue::decimal(1234567, 6),
                                    data::DbValue::fromDouble(3.999),
                                    data::DbValue(u"7,129"_s),
                                    data::DbValue()};
    for (const data::DbValue& value : values)
        QCOMPARE(books::BookAmount(value), books::BookAmount(value.toString()));
    QCOMPARE(books::BookAmount(data::DbValue::decimal(-100099, 4)), qint64(-100000));
}

void TestBookFrame::lookupsAreLoadedOnce() {
    test::ModuleFixture fixture;
    fixture.erp().load(u"INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (5102, 'S');\n"
                       u"INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (5910, 'N');\n"
                       u"INSERT INTO VRTNNAT (NATOPER) VALUES (1102);\n"
                       u"INSERT INTO VRTNEMP (SIGLA, EMPRESA) VALUES ('CLI1', 'ALFA LTDA');\n"_s);
    BookLookups lookups;
    lookups.load();
    // Changes after the load are not seen: one query per run, not per invoice.
    fixture.erp().exec(u"UPDATE VRTNNAT SET ATUGIAICM = 'N' WHERE NATOPER = 5102"_s);
    QCOMPARE(lookups.natureExcluded(u"5910"_s), true);
    QCOMPARE(lookups.natureExcluded(u"5102"_s), false);
    QCOMPARE(lookups.natureExcluded(u"1102"_s), false);
    QCOMPARE(lookups.natureExcluded(u"9999"_s), false); // missing: printed
    QCOMPARE(lookups.partnerName(u"CLI1"_s), u"ALFA LTDA"_s);
    QCOMPARE(lookups.partnerName(u"XYZ"_s), u"XYZ"_s);
    QVERIFY(!data::DataModule().slot(data::Slot::T_CON9).transaction().isActive());
}

void TestBookFrame::settingsRoundTrip() {
    test::ModuleFixture fixture;
    // The exits book: "Imprimir Empresa" is checked only when saved so; the
    // others unless saved unchecked.
    const LineBookSettings<LX55Options>& settings = LX55Settings();
    const LX55Options fresh = LoadBookSettings(settings);
    QCOMPARE(fresh.period.firstPage, u"1"_s);
    QCOMPARE(fresh.period.startDate, QString());
    QCOMPARE(fresh.printIpi, true);
    QCOMPARE(fresh.printCompany, false);
    QCOMPARE(fresh.printIcm, true);
    QCOMPARE(fresh.printSt, true);

    fixture.erp().exec(u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LX55', "
                       u"'003)a#b#c#X#Y#\r\n006)0\r\n015)outra\r\n')"_s);
    QCOMPARE(LoadBookSettings(settings).period.firstPage, u"1"_s); // "0" shows as 1
    LX55Options options;
    options.period = {u"01/01/26"_s, u"31/01/26"_s, u"DTNOTA"_s, u"NATOPER = 5102 "_s, u"3"_s};
    options.printIpi = false;
    options.printCompany = true;
    options.printIcm = true;
    options.printSt = false;
    SaveBookSettings(settings, options);

    data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LX55"_s, 20);
    QCOMPARE(data::ParamLines().line(3), u"01/01/26#31/01/26#DTNOTA#X#Y#"_s);
    QCOMPARE(data::ParamLines().line(7), u"N"_s);      // "Imprimir IPI"
    QCOMPARE(data::ParamLines().line(8), u"S"_s);      // "Imprimir Empresa"
    QCOMPARE(data::ParamLines().line(9), u"S"_s);      // "Imprimir ICM"
    QCOMPARE(data::ParamLines().line(10), u"N"_s);     // "Imprimir Subst.Tribut."
    QCOMPARE(data::ParamLines().line(15), u"outra"_s); // not the book's: kept
    const LX55Options loaded = LoadBookSettings(settings);
    QCOMPARE(loaded.period.startDate, u"01/01/26"_s);
    QCOMPARE(loaded.period.endDate, u"31/01/26"_s);
    QCOMPARE(loaded.period.dateField, u"DTNOTA"_s);
    QCOMPARE(loaded.period.filter, u"NATOPER = 5102 "_s);
    QCOMPARE(loaded.period.firstPage, u"3"_s);
    QCOMPARE(loaded.printIpi, false);
    QCOMPARE(loaded.printCompany, true);
    QCOMPARE(loaded.printIcm, true);
    QCOMPARE(loaded.printSt, false);
}

void TestBookFrame::firstPage_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("shown");
    QTest::newRow("valid") << u"3"_s << 3 << u"3"_s;
    QTest::newRow("blanks around") << u" 7 "_s << 7 << u" 7 "_s;
    QTest::newRow("last number") << u"9999"_s << 9999 << u"9999"_s;
    QTest::newRow("zero") << u"0"_s << 0 << u"1"_s;
    QTest::newRow("negative") << u"-5"_s << 0 << u"1"_s;
    QTest::newRow("not a number") << u"abc"_s << 0 << u"1"_s;
    QTest::newRow("past the last number") << u"10000"_s << 0 << u"1"_s;
    QTest::newRow("empty") << QString() << 0 << u"1"_s;
}

// One rule for a saved, a typed and a command-line first page.
void TestBookFrame::firstPage() {
    QFETCH(QString, typed);
    QFETCH(int, number);
    QFETCH(QString, shown);
    QCOMPARE(FirstPageNumber(typed, 0), number);
    QCOMPARE(FirstPageText(typed, 1), shown);
    QCOMPARE(FirstPageNumber(typed, 2), number == 0 ? 2 : number);
}

namespace {

// Invoices 1..n of January, one line each, every fifth with an IPI line and
// every third with tax substitution, in the table of `book`.
QString ManyInvoices(const QString& table, int nature, int n) {
    QString sql = u"INSERT INTO VRTNNAT (NATOPER, ATUGIAICM) VALUES (%1, 'S');\n"_s.arg(nature);
    for (int i = 1; i <= n; ++i)
        sql += u"INSERT INTO %1 (PEDIDO, NNOTA, SERIE, ESPECIE, SIGLA, ESTADO, DATA, DTNOTA, "
               u"NATOPER, FAT, LIQUIDO, ICMBASE, ICMPERC, ICMVALOR, ICMISENTAS, ICMOUTRAS, "
               u"SUBSTRBASE, SUBSTRVALOR, IPIBASE, IPIVALOR) VALUES (%2, %2, '1', 'NF', 'X', 'SP', "
               u"'10.01.2026', '10.01.2026', %3, 'F', 100, 100, 12, 12, 0, 0, %4, %5, %6, %7);\n"_s
                   .arg(table)
                   .arg(i)
                   .arg(nature)
                   .arg(i % 3 == 0 ? 50 : 0)
                   .arg(i % 3 == 0 ? 5 : 0)
                   .arg(i % 5 == 0 ? 100 : 0)
                   .arg(i % 5 == 0 ? 10 : 0);
    return sql;
}

// A settlement month whose entries grid has n natures under one TOTAL.
MonthData ManyNatures(int n) {
    MonthData month;
    qint64 total = 0;
    for (int i = 0; i < n; ++i) {
        NatureRow row{QString::number(1101 + i), u"NATUREZA "_s + QString::number(i), {}};
        row.amounts = {1000000, 1000000, 120000, 0, 0};
        total += 1000000;
        month.entriesGrid.rows << row;
    }
    month.entriesGrid.rows << NatureRow{u"TOTAL"_s, QString(), {total, total, 0, 0, 0}};
    month.exitsGrid.rows << NatureRow{u"5102"_s, u"VENDA"_s, {500000, 500000, 60000, 0, 0}}
                         << NatureRow{u"TOTAL"_s, QString(), {500000, 500000, 60000, 0, 0}};
    RecomputeSummary(month);
    return month;
}

} // namespace

void TestBookFrame::everyPageHasItsHeader_data() {
    QTest::addColumn<QString>("book");
    QTest::addColumn<QString>("firstPage");
    QTest::addColumn<int>("firstNumber");
    // The totals (and the IPI and substitution lines under them) land on
    // every line of a page in turn, first of all at the top of a new one.
    QTest::newRow("LX53 totals") << u"LX53"_s << u"1"_s << 1;
    QTest::newRow("LX55 totals and (ST) line") << u"LX55"_s << u"0"_s << 1;
    // A part running over a page, or ending with it, then the next part.
    QTest::newRow("LX56 parts") << u"LX56"_s << u"0"_s << 2;
}

// Every page of the text output starts with the book's header and its page
// number, the numbers following one another, however the lines fall: the
// book is printed over ever more invoices (natures) until its totals have
// fallen on every line of the page break.
void TestBookFrame::everyPageHasItsHeader() {
    QFETCH(QString, book);
    QFETCH(QString, firstPage);
    QFETCH(int, firstNumber);
    platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5)));
    test::ModuleFixture fixture;
    if (book == u"LX53"_s) fixture.erp().load(ManyInvoices(u"VRTNPDE"_s, 1102, 160));
    if (book == u"LX55"_s) fixture.erp().load(ManyInvoices(u"VRTNPDS"_s, 5102, 160));
    const std::function<QList<QStringList>(int)> run = [&](int n) {
        const BookPeriod period{u"01/01/26"_s, u"31/01/26"_s, u"DTNOTA"_s,
                                u"NNOTA <= "_s + QString::number(n), firstPage};
        return test::TextPages([&](print::PrintJob& job) {
            if (book == u"LX53"_s) {
                LX53Options options;
                options.period = period;
                PrintLX53(job, options);
            } else if (book == u"LX55"_s) {
                LX55Options options;
                options.period = period;
                PrintLX55(job, options);
            } else {
                PrintSettlement(job, IcmsSettlement(), ManyNatures(n), period);
            }
        });
    };
    int lastPages = 0, breaksSeen = 0;
    for (int n = 1; n <= 160 && breaksSeen < 12; ++n) {
        const QList<QStringList> pages = run(n);
        if (lastPages > 0 && pages.size() > lastPages)
            breaksSeen = 1;
        else if (breaksSeen > 0)
            ++breaksSeen;
        lastPages = int(pages.size());
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const QStringList& lines = pages[p];
            const QString where = book + u" over "_s + QString::number(n) + u", page "_s +
                                  QString::number(p + 1) + u":\n"_s + lines.join(u'\n');
            QVERIFY2(lines.value(0).startsWith(book), qPrintable(where));
            QVERIFY2(lines.value(0).endsWith(u"Folha: "_s + QString::number(firstNumber + p)),
                     qPrintable(where));
            QVERIFY2(lines.value(1).startsWith(u"Empresa:"_s), qPrintable(where));
            // Not a header alone: something follows the column titles.
            QVERIFY2(!lines.last().endsWith(u"Outras"_s) && !lines.last().endsWith(u"Obs"_s),
                     qPrintable(where));
        }
        if (book != u"LX56"_s) {
            const QStringList& last = pages.value(pages.size() - 1);
            QVERIFY(last.join(u'\n').contains(u"TOTAL DO PERÍODO"_s) ||
                    (pages.size() > 1 && last.last().startsWith(u"(ST)"_s)));
        } else {
            QVERIFY(pages.last().value(0).contains(u"R E S U M O"_s));
        }
    }
    QVERIFY2(breaksSeen >= 12, "the book never ran over a page");
    platform::Clock::reset();
}

void TestBookFrame::documentName_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("file");
    QTest::newRow("period") << u"01/01/26"_s << u"31/01/26"_s << u"LX53 01-01-26 a 31-01-26.pdf"_s;
    QTest::newRow("no end") << u"01/01/26"_s << u"  /  /  "_s << u"LX53 01-01-26.pdf"_s;
    QTest::newRow("no start") << u"  /  /  "_s << u"31/01/26"_s << u"LX53 até 31-01-26.pdf"_s;
    QTest::newRow("no period") << u"  /  /  "_s << u"  /  /  "_s << u"LX53.pdf"_s;
}

// The PDF of a book is offered under the book's code and period, never a
// name with a folder separator in it.
void TestBookFrame::documentName() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, file);
    print::PrintSettings settings;
    settings.title = u"REGISTRO/ENTRADAS"_s;
    settings.documentName = books::BookDocumentName(u"LX53"_s, start, end);
    QCOMPARE(print::PdfDocumentName(settings), file);
    settings.documentName.clear();
    QCOMPARE(print::PdfDocumentName(settings), u"REGISTRO-ENTRADAS.pdf"_s);
}

QTEST_MAIN(TestBookFrame)
#include "test_book_frame.moc"
