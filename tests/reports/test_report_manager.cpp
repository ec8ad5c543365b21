// The report manager's work on the keys of a menu, without windows: the
// first free number (a report with a blank title keeps its number), copying,
// moving in one transaction (a failure leaves everything as it was, 999 is
// never touched), the old-format import, the currency of the day (its value
// a checked number, bound as a parameter) and the field name of a selection
// box without its comparison.

#include "common/line_files.h"
#include "data/connection.h"
#include "data/db_value.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "reports/report_manager.h"
#include "reports/report_menu.h"
#include "support/module_fixture.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

using Keys = QMap<QString, QString>; // key -> text and title

// Stores each key with text "text of KEY" and its title.
void Store(test::TestDatabase& database, const Keys& keys) {
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        data::Transaction transaction(database.connection());
        data::Statement insert(database.connection(), transaction,
                               u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES "
                               u"(:P_CHAVE, :P_TEXTO, :P_CAMPO)"_s);
        insert.bind(u"P_CHAVE"_s, it.key());
        insert.bind(u"P_TEXTO"_s, u"001)text of "_s + it.key() + u'#');
        insert.bind(u"P_CAMPO"_s, it.value());
        insert.execute();
        transaction.commit();
    }
}

// Every stored key with its title and the key its text was stored under.
Keys Stored(test::TestDatabase& database) {
    Keys keys;
    data::Transaction transaction(database.connection());
    data::Statement select(database.connection(), transaction,
                           u"SELECT CHAVE, TEXTO, CAMPO FROM VRTNPAR"_s);
    select.open();
    while (select.fetch()) {
        QString origin = select.value(1).toString();
        origin = origin.mid(origin.indexOf(u"text of "_s) + 8).section(u'#', 0, 0);
        keys.insert(select.value(0).toString(), select.value(2).toString() + u" <- "_s + origin);
    }
    return keys;
}

reports::ReportMenu Menu() {
    return reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s);
}

// One report's keys under the menu.
Keys Report(int number, const QString& title, const QString& letters = u"AVC"_s) {
    Keys keys;
    for (const QChar letter : letters)
        keys.insert(u"PAR_LFPDS"_s + reports::ReportNumber(number) + letter,
                    letter == u'A' ? title : QString());
    return keys;
}

Keys Joined(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts)
        all.insert(part);
    return all;
}

// `before` with the keys stored under report `from` now under `to` and the
// other way round, as Stored() shows them.
Keys Swapped(const Keys& before, int from, int to) {
    Keys after;
    const QString a = u"PAR_LFPDS"_s + reports::ReportNumber(from);
    const QString b = u"PAR_LFPDS"_s + reports::ReportNumber(to);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QString key = it.key();
        if (key.startsWith(a) && key.size() == a.size() + 1)
            key = b + key.right(1);
        else if (key.startsWith(b) && key.size() == b.size() + 1)
            key = a + key.right(1);
        after.insert(key, it.value());
    }
    return after;
}

Keys AsStored(const Keys& keys) {
    Keys shown;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        shown.insert(it.key(), it.value() + u" <- "_s + it.key());
    return shown;
}

Keys Moved(const Keys& before, int from, int to) {
    return Swapped(AsStored(before), from, to);
}

} // namespace

class TestReportManager : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();

    void firstFreeNumber_data();
    void firstFreeNumber();
    void copyWritesTheKeysUnderAFreeNumber();
    void moves_data();
    void moves();
    void refusedMoveChangesNothing();
    void oldFormatImport();
    void currencyValue_data();
    void currencyValue();
    void currencyOfTheDay();
    void selectionFieldName_data();
    void selectionFieldName();
};

void TestReportManager::init() {
    data::ParamLines().clear();
}

void TestReportManager::firstFreeNumber_data() {
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty menu") << Keys() << 1;
    QTest::newRow("gap at 3") << Joined({Report(1, u"A"_s), Report(2, u"B"_s), Report(4, u"D"_s)})
                              << 3;
    QTest::newRow("blank title kept")
        << Joined({Report(1, u"A"_s), Report(2, QString()), Report(3, u"C"_s)}) << 4;
    QTest::newRow("only a selection left")
        << Joined({Report(1, u"A"_s), Report(2, {}, u"V"_s)}) << 3;
    // Keys of other menus: a longer menu key, a menu whose "_" is another
    // character.
    QTest::newRow("other menus") << Joined(
                                        {Report(1, u"A"_s), Keys{{u"PAR_LFPDS1002A"_s, u"X"_s},
                                                                 {u"PARXLFPDS002A"_s, u"Y"_s},
                                                                 {u"PAR_LFPDS0000"_s, QString()}}})
                                 << 2;
}

void TestReportManager::firstFreeNumber() {
    QFETCH(Keys, keys);
    QFETCH(int, expected);
    test::ModuleFixture fixture;
    Store(fixture.erp(), keys);
    QCOMPARE(reports::FirstFreeNumber(Menu()), expected);
    QCOMPARE(Stored(fixture.erp()), AsStored(keys));
}

void TestReportManager::copyWritesTheKeysUnderAFreeNumber() {
    test::ModuleFixture fixture;
    const Keys before = Joined({Report(1, u"Vendas"_s), Report(2, QString(), u"A"_s)});
    Store(fixture.erp(), before);
    const int free = reports::FirstFreeNumber(Menu());
    QCOMPARE(free, 3);
    QVERIFY(reports::CopyReport(Menu(), 1, free));
    // A number that holds a key (here the blank-titled 002) is never a copy's.
    QVERIFY(!reports::CopyReport(Menu(), 1, 2));
    QVERIFY(!reports::CopyReport(Menu(), 5, 6)); // no definition to copy
    const Keys after = Stored(fixture.erp());
    Keys expected = AsStored(before);
    for (const QChar letter : u"AVC"_s)
        expected.insert(u"PAR_LFPDS003"_s + letter, u" <- PAR_LFPDS001"_s + letter);
    QCOMPARE(after, expected);
}

void TestReportManager::moves_data() {
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("moved");
    const Keys exchange = {{u"PAR_LFPDS999A"_s, u"Troca"_s}, {u"PAR_LFPDS999V"_s, QString()}};
    const Keys three =
        Joined({Report(1, u"Um"_s), Report(2, u"Dois"_s), Report(3, u"Tres"_s, u"AV"_s), exchange});
    QTest::newRow("up swaps with 002") << three << 3 << 2 << true;
    QTest::newRow("down swaps with 003") << three << 2 << 3 << true;
    QTest::newRow("down onto an empty number") << three << 3 << 4 << true;
    QTest::newRow("001 cannot go up") << three << 1 << 0 << false;
    const Keys last = Joined({Report(998, u"Ultimo"_s), exchange});
    QTest::newRow("998 cannot go onto 999") << last << 998 << 999 << false;
}

void TestReportManager::moves() {
    QFETCH(Keys, keys);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, moved);
    test::ModuleFixture fixture;
    Store(fixture.erp(), keys);
    QCOMPARE(reports::MoveReport(Menu(), from, to), moved);
    QCOMPARE(Stored(fixture.erp()), moved ? Moved(keys, from, to) : AsStored(keys));
}

void TestReportManager::refusedMoveChangesNothing() {
    test::ModuleFixture fixture;
    const Keys keys = Joined(
        {Report(2, u"Dois"_s), Report(3, u"Tres"_s), Keys{{u"PAR_LFPDS999C"_s, u"Troca"_s}}});
    Store(fixture.erp(), keys);
    // Another station holds the last key the move renames: the move fails
    // after renaming the others, and they all go back.
    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(fixture.erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(u"UPDATE VRTNPAR SET CAMPO = CAMPO WHERE CHAVE = 'PAR_LFPDS002C'"_s);
    const bool moved = reports::MoveReport(Menu(), 3, 2);
    data::SetLockTimeoutSeconds(timeout);
    holding.rollback();
    QVERIFY(!moved);
    QCOMPARE(Stored(fixture.erp()), AsStored(keys));
}

void TestReportManager::oldFormatImport() {
    test::ModuleFixture fixture;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"VR_PDS3.FMQ"_s);
    const QStringList definition = {u"Vendas#antigas#"_s, u"segunda"_s};
    QStringList lines = definition;
    QVERIFY(WriteLinesFile(path, lines));
    lines = {u"companheiro"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"VR_PDS3C.FMQ"_s), lines));
    // An old report at 003 with a selection the new files do not have.
    const Keys old = Report(3, u"Velho"_s, u"AV"_s);
    Store(fixture.erp(), old);

    QString title;
    QCOMPARE(reports::ImportOldFormatReport(Menu(), 3, path, false, &title),
             reports::OldImportOutcome::Exists);
    QCOMPARE(Stored(fixture.erp()), AsStored(old));
    QCOMPARE(reports::ImportOldFormatReport(Menu(), 3, path, true, &title),
             reports::OldImportOutcome::Imported);
    QCOMPARE(title, u"Vendas"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003A"_s, 2));
    QCOMPARE(data::ParamLines().lines(2), definition);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003C"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"companheiro"_s);
    QVERIFY(!data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003V"_s, 1));
    QCOMPARE(reports::ImportOldFormatReport(Menu(), 4, dir.filePath(u"VR_PDS4.FMQ"_s), false),
             reports::OldImportOutcome::Missing);
}

void TestReportManager::currencyValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint64>("value");
    QTest::newRow("comma") << u"5,1234"_s << true << qint64(51234);
    QTest::newRow("point") << u" 5.2 "_s << true << qint64(52000);
    QTest::newRow("integer") << u"12"_s << true << qint64(120000);
    QTest::newRow("20 characters") << u"00000000000000001.50"_s << true << qint64(15000);
    QTest::newRow("eleven digits") << u"99999999999"_s << true << qint64(999999999990000);
    QTest::newRow("twelve digits") << u"100000000000"_s << false << qint64(0);
    QTest::newRow("21 characters") << u"000000000000000001.50"_s << false << qint64(0);
    QTest::newRow("blank") << u""_s << false << qint64(0);
    QTest::newRow("letters") << u"dez"_s << false << qint64(0);
    QTest::newRow("statement") << u"1; DELETE FROM VRTNMOE"_s << false << qint64(0);
    QTest::newRow("negative") << u"-1"_s << false << qint64(0);
    QTest::newRow("five decimals") << u"1.23456"_s << false << qint64(0);
    QTest::newRow("thousands") << u"1.000,50"_s << false << qint64(0);
}

void TestReportManager::currencyValue() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(qint64, value);
    qint64 parsed = 0;
    QCOMPARE(reports::ParseCurrencyValue(text, &parsed), accepted);
    if (accepted) QCOMPARE(parsed, value);
}

void TestReportManager::currencyOfTheDay() {
    test::ModuleFixture fixture;
    const QDate today(2026, 3, 10);
    const auto rows = [&fixture] {
        QStringList rows;
        data::Transaction transaction(fixture.erp().connection());
        data::Statement select(fixture.erp().connection(), transaction,
                               u"SELECT MOEDA, DATA, COMPRA, VENDA, TIPO, USUARIO, DTALT "
                               u"FROM VRTNMOE ORDER BY MOEDA, DATA"_s);
        select.open();
        while (select.fetch()) {
            QStringList values;
            for (int i = 0; i < 7; ++i)
                values << select.value(i).toString();
            rows << values.join(u'|');
        }
        return rows;
    };
    QCOMPARE(reports::SaveCurrencyOfDay(u"DOLAR"_s, u"5,10"_s, u"ANA"_s, today), QString());
    QCOMPARE(reports::SaveCurrencyOfDay(u"DOLAR"_s, u"5.2345"_s, u"BRUNO"_s, today), QString());
    const QStringList twice = rows();
    QCOMPARE(twice, QStringList({u"DOLAR|10/03/26|5,2345|5,2345|C|BRUNO|10/03/26"_s}));
    QCOMPARE(reports::ReadCurrencyOfDay().title, u"DOLAR"_s);
    QCOMPARE(reports::ReadCurrencyOfDay().value, u"5.2345"_s);

    // Refused before anything is written: the stored currency and the
    // quotation stay.
    const QString refusals[][2] = {{u"DOLAR"_s, u"5'; DELETE FROM VRTNMOE; --"_s},
                                   {u"DOLAR"_s, u"12345678901234567890,5"_s},
                                   {u"D'OLAR"_s, u"1"_s},
                                   {u" "_s, u"1"_s}};
    for (const auto& refusal : refusals) {
        QVERIFY(!reports::SaveCurrencyOfDay(refusal[0], refusal[1], u"ANA"_s, today).isEmpty());
        QCOMPARE(rows(), twice);
        QCOMPARE(reports::ReadCurrencyOfDay().value, u"5.2345"_s);
    }
}

void TestReportManager::selectionFieldName_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << u"VALOR"_s << u"VALOR"_s;
    QTest::newRow(">=") << u"VALOR >="_s << u"VALOR"_s;
    QTest::newRow("<= joined") << u"DATA<="_s << u"DATA"_s;
    QTest::newRow("<>") << u"A.SIGLA <>"_s << u"A.SIGLA"_s;
    QTest::newRow(">") << u"NNOTA>"_s << u"NNOTA"_s;
    QTest::newRow("<") << u"NNOTA <"_s << u"NNOTA"_s;
    QTest::newRow("=") << u"NNOTA ="_s << u"NNOTA"_s;
}

void TestReportManager::selectionFieldName() {
    QFETCH(QString, field);
    QFETCH(QString, name);
    QCOMPARE(reports::SelectionFieldName(field), name);
}

QTEST_GUILESS_MAIN(TestReportManager)
#include "test_report_manager.moc"
