// The parameter store: the numbered TEXTO format both ways, and keys read
// into and written from the shared line array on a real database.

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/param_files.h"
#include "data/param_store.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "support/module_fixture.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

using ParsedLines = QList<ParamTextLine>;
Q_DECLARE_METATYPE(ParsedLines)

namespace {

// A column of a stored key, read on the test's own attachment so that the
// check does not go through the code under test. Null reads as "<null>", a
// missing row as "<none>".
QString Stored(test::TestDatabase& database, const QString& key, const QString& column) {
    Transaction transaction(database.connection());
    Statement select(database.connection(), transaction,
                     u"SELECT "_s + column + u" FROM VRTNPAR WHERE CHAVE = :P_CHAVE"_s);
    select.bind(u"P_CHAVE"_s, key);
    select.open();
    if (!select.fetch()) return u"<none>"_s;
    const DbValue value = select.value(0);
    return value.isNull() ? u"<null>"_s : value.toString();
}

// Lines n..m of ParamLines.
QStringList Lines(int first, int last) {
    QStringList lines;
    for (int n = first; n <= last; ++n)
        lines << ParamLines().line(n);
    return lines;
}

void FillLines(const QString& prefix) {
    for (int n = 1; n <= ParamLineArray::Size; ++n)
        ParamLines().setLine(n, prefix + QString::number(n));
}

} // namespace

class TestParamStore : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void parseText_data();
    void parseText();

    void sparseLinesRoundTrip();
    void readStopsAfterFirstLineAboveCount();
    void titleCutOnInsertAndWholeOnUpdate();
    void missingKeyLeavesLinesEmpty();
    void checkedReadTellsMissingFromFailed_data();
    void checkedReadTellsMissingFromFailed();
    void closedConnectionIsOpenedForTheReadAndClosedAgain();
    void unusableConnectionsReadNothingAndWriteNothing();
    void failedWriteLeavesTheStoreUsable();
    void lineFilesReadAndWriteTheSharedLines();
    void writeInCallersTransactionLastsOnlyIfCommitted();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestParamStore::init() {
    ParamLines().clear();
    m_fixture = std::make_unique<test::ModuleFixture>();
}

void TestParamStore::cleanup() {
    m_fixture.reset();
}

void TestParamStore::parseText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<ParsedLines>("expected");

    QTest::newRow("numbered, sparse")
        << u"001)A\r\n003)B\r\n"_s << 0 << ParsedLines{{1, u"A"_s}, {3, u"B"_s}};
    QTest::newRow("unnumbered old text")
        << u"A\r\nB"_s << 0 << ParsedLines{{1, u"A"_s}, {2, u"B"_s}};
    QTest::newRow("unnumbered follows numbered")
        << u"005)X\r\nY\r\n"_s << 0 << ParsedLines{{5, u"X"_s}, {6, u"Y"_s}};
    QTest::newRow("text keeps its own parentheses and spaces")
        << u"002)a) b#c \r\n"_s << 0 << ParsedLines{{2, u"a) b#c "_s}};
    QTest::newRow("line zero skipped, stop after number above count")
        << u"000)Z\r\n002)B\r\n999)W\r\n003)C\r\n"_s << 0 << ParsedLines{{2, u"B"_s}};
    QTest::newRow("count 2 takes line 3 then stops")
        << u"001)A\r\n002)B\r\n003)C\r\n004)D\r\n"_s << 2
        << ParsedLines{{1, u"A"_s}, {2, u"B"_s}, {3, u"C"_s}};
    QTest::newRow("lone CR keeps the next line whole")
        << u"001)A\r002)B"_s << 0 << ParsedLines{{1, u"A"_s}, {2, u"B"_s}};
    QTest::newRow("last line cut to 999 characters")
        << u"001)"_s + QString(1200, u'x') << 0 << ParsedLines{{1, QString(995, u'x')}};
    QTest::newRow("only the last line is cut") << u"001)"_s + QString(1200, u'x') + u"\r\n"_s << 0
                                               << ParsedLines{{1, QString(1200, u'x')}};
    QTest::newRow("empty") << QString() << 0 << ParsedLines{};
}

void TestParamStore::parseText() {
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(ParsedLines, expected);
    const ParsedLines lines = ParseParamText(text, count);
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].number, expected[i].number);
        QCOMPARE(lines[i].text, expected[i].text);
    }
}

void TestParamStore::sparseLinesRoundTrip() {
    ParamLines().setLine(1, u"A"_s);
    ParamLines().setLine(2, u"  #  "_s);
    ParamLines().setLine(3, u"B#2007#"_s);
    ParamLines().setLine(4, u"beyond the count"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_LX53"_s, 3));
    QCOMPARE(Stored(m_fixture->store(), u"PAR_LX53"_s, u"TEXTO"_s), u"001)A\r\n003)B#2007#\r\n"_s);
    QCOMPARE(Stored(m_fixture->store(), u"PAR_LX53"_s, u"CAMPO"_s), u"<null>"_s);
    // The "#" line is cleared in the array as well.
    QCOMPARE(ParamLines().line(2), QString());

    FillLines(u"old"_s);
    QVERIFY(ParamRead(ParamDatabase(), u"PAR_LX53"_s, 3));
    QCOMPARE(Lines(1, 4), (QStringList{u"A"_s, QString(), u"B#2007#"_s, u"old4"_s}));

    // A read followed by a write of the same count stores the lines back
    // unchanged, whatever the lines above the count hold.
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_LX53"_s, 3));
    QCOMPARE(Stored(m_fixture->store(), u"PAR_LX53"_s, u"TEXTO"_s), u"001)A\r\n003)B#2007#\r\n"_s);
}

void TestParamStore::readStopsAfterFirstLineAboveCount() {
    QStringList stored;
    for (int n = 1; n <= 20; ++n)
        stored << u"L"_s + QString::number(n);
    for (int n = 1; n <= 20; ++n)
        ParamLines().setLine(n, stored[n - 1]);
    QVERIFY(ParamWrite(ParamDatabase(), u"PUSER_ANA"_s, 20));

    FillLines(u"old"_s);
    QVERIFY(ParamRead(ParamDatabase(), u"PUSER_ANA"_s, 10));
    QCOMPARE(Lines(1, 11), stored.mid(0, 11));
    QCOMPARE(ParamLines().line(12), u"old12"_s);
    QCOMPARE(ParamLines().line(20), u"old20"_s);

    // Count 0 reads every stored line and clears the rest.
    QVERIFY(ParamRead(ParamDatabase(), u"PUSER_ANA"_s, 0));
    QCOMPARE(Lines(1, 20), stored);
    QCOMPARE(ParamLines().line(21), QString());
    QCOMPARE(ParamLines().line(190), QString());
}

void TestParamStore::titleCutOnInsertAndWholeOnUpdate() {
    const QString title = QString(60, u'T') + u"0123456789"_s;
    ParamLines().setLine(1, u"first"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"VRTNCAE"_s, 20, title));
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"CAMPO"_s), title.left(60));

    ParamLines().setLine(1, u"second"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"VRTNCAE"_s, 20, title));
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"CAMPO"_s), title);
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"TEXTO"_s), u"001)second\r\n"_s);

    // No title keeps the stored one.
    ParamLines().setLine(1, u"third"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"VRTNCAE"_s, 20));
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"CAMPO"_s), title);

    // A title longer than the column must not cost the lines.
    const QString longTitle = QString(100, u'L') + u"overflow"_s;
    ParamLines().setLine(1, u"fourth"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"VRTNCAE"_s, 20, longTitle));
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"CAMPO"_s), longTitle.left(100));
    QCOMPARE(Stored(m_fixture->store(), u"VRTNCAE"_s, u"TEXTO"_s), u"001)fourth\r\n"_s);
}

void TestParamStore::missingKeyLeavesLinesEmpty() {
    FillLines(u"old"_s);
    QVERIFY(!ParamRead(ParamDatabase(), u"PAR_NAOEXISTE"_s, 5));
    QCOMPARE(Lines(1, 6),
             (QStringList{QString(), QString(), QString(), QString(), QString(), u"old6"_s}));

    // A key is found only by its exact text; an apostrophe is quoted.
    ParamLines().setLine(1, u"x"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_D'AGUA"_s, 1));
    QVERIFY(!ParamRead(ParamDatabase(), u"PAR_D'"_s, 1));
    QVERIFY(ParamRead(ParamDatabase(), u"PAR_D'AGUA"_s, 1));
    QCOMPARE(ParamLines().line(1), u"x"_s);
}

void TestParamStore::checkedReadTellsMissingFromFailed_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("how"); // "" a plain read
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("line1");
    QTest::newRow("stored") << u"PAR_GUARDADA"_s << QString() << int(ParamReadResult::Found)
                            << u"x"_s;
    QTest::newRow("not stored") << u"PAR_NAOEXISTE"_s << QString() << int(ParamReadResult::Missing)
                                << QString();
    QTest::newRow("the query fails")
        << u"PAR_GUARDADA"_s << u"query fails"_s << int(ParamReadResult::Failed) << QString();
    QTest::newRow("no connection")
        << u"PAR_GUARDADA"_s << u"no connection"_s << int(ParamReadResult::Failed) << QString();
}

void TestParamStore::checkedReadTellsMissingFromFailed() {
    QFETCH(QString, key);
    QFETCH(QString, how);
    QFETCH(int, result);
    QFETCH(QString, line1);
    ParamLines().setLine(1, u"x"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_GUARDADA"_s, 1));
    ParamLines().setLine(1, u"old"_s);
    const auto observer = qScopeGuard([] { SetQueryObserver({}); });
    if (how == u"query fails"_s)
        SetQueryObserver([](Slot, const QString& sql) {
            if (sql.contains(u"VRTNPAR"_s)) throw DbError(u"leitura recusada"_s);
        });
    Connection* connection = how == u"no connection"_s ? nullptr : ParamDatabase();
    QCOMPARE(int(ParamReadChecked(connection, key, 1)), result);
    QCOMPARE(ParamLines().line(1), line1);
    // The plain read gives false for both a missing key and a failed read.
    QCOMPARE(ParamRead(connection, key, 1), result == int(ParamReadResult::Found));
}

void TestParamStore::closedConnectionIsOpenedForTheReadAndClosedAgain() {
    ParamLines().setLine(1, u"JANEIRO#2007"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_LX40"_s, 1));
    ParamDatabase()->close();

    ParamLines().clear();
    QVERIFY(ParamRead(ParamDatabase(), u"PAR_LX40"_s, 1));
    QCOMPARE(ParamLines().line(1), u"JANEIRO#2007"_s);
    QVERIFY(!ParamDatabase()->isConnected());

    QVERIFY(!ParamRead(ParamDatabase(), u"PAR_MISSING"_s, 1));
    QVERIFY(!ParamDatabase()->isConnected());

    // An open connection stays open.
    ParamDatabase()->open();
    QVERIFY(ParamRead(ParamDatabase(), u"PAR_LX40"_s, 1));
    QVERIFY(ParamDatabase()->isConnected());
}

void TestParamStore::unusableConnectionsReadNothingAndWriteNothing() {
    FillLines(u"old"_s);
    QVERIFY(!ParamRead(nullptr, u"PAR_LX40"_s, 3));
    QCOMPARE(Lines(1, 4), (QStringList{QString(), QString(), QString(), u"old4"_s}));

    Connection nowhere; // neither a path nor a link
    QVERIFY(!ParamRead(&nowhere, u"PAR_LX40"_s, 0));
    QVERIFY(!nowhere.isConnected());

    ConnectionOptions missing;
    missing.path = m_fixture->store().path() + u".missing"_s;
    Connection broken;
    broken.setOptions(missing);
    QVERIFY(!ParamRead(&broken, u"PAR_LX40"_s, 0));
    QVERIFY(!broken.isConnected());

    // A write needs an open connection; a closed one stores nothing.
    ParamLines().setLine(1, u"A"_s);
    QVERIFY(!ParamWrite(nullptr, u"PAR_LX40"_s, 1));
    ParamDatabase()->close();
    QVERIFY(!ParamWrite(ParamDatabase(), u"PAR_LX40"_s, 1));
    QCOMPARE(Stored(m_fixture->store(), u"PAR_LX40"_s, u"TEXTO"_s), u"<none>"_s);
}

void TestParamStore::failedWriteLeavesTheStoreUsable() {
    ParamLines().setLine(1, u"kept"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_LX55"_s, 1));

    // A key longer than the column is refused by the database.
    const QString tooLong = u"PAR_"_s + QString(120, u'X');
    ParamLines().setLine(1, u"lost"_s);
    QVERIFY(!ParamWrite(ParamDatabase(), tooLong, 1));
    QCOMPARE(Stored(m_fixture->store(), u"PAR_LX55"_s, u"TEXTO"_s), u"001)kept\r\n"_s);

    // Both slots were rolled back: the next write and read work.
    ParamLines().setLine(1, u"next"_s);
    QVERIFY(ParamWrite(ParamDatabase(), u"PAR_LX55"_s, 1));
    QVERIFY(ParamRead(ParamDatabase(), u"PAR_LX55"_s, 1));
    QCOMPARE(ParamLines().line(1), u"next"_s);
}

void TestParamStore::lineFilesReadAndWriteTheSharedLines() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"CONSULTA.PAR"_s);
    ParamLines().setLine(1, u"A"_s);
    ParamLines().setLine(3, u"C"_s);
    QVERIFY(data::WriteLinesFile(path));
    QCOMPARE(Lines(1, 4), (QStringList{u"A"_s, u"#"_s, u"C"_s, QString()}));
    FillLines(u"old"_s);
    QVERIFY(data::ReadLinesFile(path));
    QCOMPARE(Lines(1, 4), (QStringList{u"A"_s, QString(), u"C"_s, QString()}));
    QCOMPARE(ParamLines().line(190), QString());
}

void TestParamStore::writeInCallersTransactionLastsOnlyIfCommitted() {
    Connection& store = *ParamDatabase();
    ParamLines().setLine(1, u"um"_s);
    {
        Transaction transaction(store);
        QVERIFY(ParamWrite(transaction, u"PAR_A"_s, 1, u"Título"_s));
        QVERIFY(ParamWrite(transaction, u"PAR_B"_s, 1));
        // Nothing is visible to others before the commit.
        QCOMPARE(Stored(m_fixture->store(), u"PAR_A"_s, u"TEXTO"_s), u"<none>"_s);
    } // rolled back
    QCOMPARE(Stored(m_fixture->store(), u"PAR_A"_s, u"TEXTO"_s), u"<none>"_s);
    QCOMPARE(Stored(m_fixture->store(), u"PAR_B"_s, u"TEXTO"_s), u"<none>"_s);

    Transaction transaction(store);
    QVERIFY(ParamWrite(transaction, u"PAR_A"_s, 1, u"Título"_s));
    ParamLines().setLine(1, u"dois"_s);
    QVERIFY(ParamWrite(transaction, u"PAR_A"_s, 1)); // the update keeps the title
    transaction.commit();
    QCOMPARE(Stored(m_fixture->store(), u"PAR_A"_s, u"TEXTO"_s), u"001)dois\r\n"_s);
    QCOMPARE(Stored(m_fixture->store(), u"PAR_A"_s, u"CAMPO"_s), u"Título"_s);

    // A transaction that cannot write is refused, not thrown at.
    QVERIFY(!ParamWrite(transaction, u"PAR_A"_s, 1)); // ended by the commit
    Transaction snapshot(store, TransactionMode::ReadSnapshot);
    QVERIFY(!ParamWrite(snapshot, u"PAR_A"_s, 1));
}

QTEST_GUILESS_MAIN(TestParamStore)
#include "test_param_store.moc"
