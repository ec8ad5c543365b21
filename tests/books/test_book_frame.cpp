// What the fiscal books share: the period condition, the amounts, the
// lookups of natures and partners, and the saved settings.

#include "books/book_frame.h"
#include "books/invoice_book_settings.h"
#include "data/data_module.h"
#include "data/db_value.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "support/module_fixture.h"

#include <QTest>

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

QTEST_GUILESS_MAIN(TestBookFrame)
#include "test_book_frame.moc"
