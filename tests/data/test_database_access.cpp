// The exact database wrapper: values keep every digit and character on the
// way in and out, parameters are found by name, and failures are reported.

#include "data/db_error.h"
#include "data/sql_parameters.h"
#include "data/statement.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(livrax::data::DbValue)
Q_DECLARE_METATYPE(livrax::data::ConnectFailure)

class TestDatabaseAccess : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void positionalSql_data();
    void positionalSql();
    void parseDecimal_data();
    void parseDecimal();
    void valuesRoundTripExactly_data();
    void valuesRoundTripExactly();
    void floatingColumnsBeyondTheRangeAreConversionErrors_data();
    void floatingColumnsBeyondTheRangeAreConversionErrors();
    void namedParametersBindEveryOccurrence();
    void columnsAreFoundByAliasAndField();
    void uncommittedWorkIsRolledBack();
    void errorsCarryTheServerMessage();
    void pathsInAnyLanguageCreateAndOpen();
    void attachFailuresNameTheirReason_data();
    void attachFailuresNameTheirReason();
    void databaseHeldByAnotherProgramIsInUse();
    void textLongerThanItsColumnIsRefused();
};

void TestDatabaseAccess::positionalSql_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("named") << u"SELECT * FROM T WHERE A = :P_A AND B = :pb"_s
                           << u"SELECT * FROM T WHERE A = ? AND B = ?"_s
                           << QStringList{u"P_A"_s, u"PB"_s};
    QTest::newRow("repeated") << u"UPDATE T SET A = :X WHERE B = :X"_s
                              << u"UPDATE T SET A = ? WHERE B = ?"_s << QStringList{u"X"_s, u"X"_s};
    QTest::newRow("colon in literal")
        << u"SELECT 'a:b', ':C' FROM T WHERE A = :A"_s << u"SELECT 'a:b', ':C' FROM T WHERE A = ?"_s
        << QStringList{u"A"_s};
    QTest::newRow("escaped quote")
        << u"SELECT 'it''s :X' FROM T WHERE A=:Y"_s << u"SELECT 'it''s :X' FROM T WHERE A=?"_s
        << QStringList{u"Y"_s};
    QTest::newRow("comments") << u"SELECT 1 -- :X\nFROM T /* :Y */ WHERE A = ?"_s
                              << u"SELECT 1 -- :X\nFROM T /* :Y */ WHERE A = ?"_s
                              << QStringList{QString()};
    QTest::newRow("quoted identifier")
        << u"SELECT \":X\" FROM T"_s << u"SELECT \":X\" FROM T"_s << QStringList{};
}

void TestDatabaseAccess::positionalSql() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QFETCH(QStringList, names);
    const PositionalSql result = ToPositionalSql(sql);
    QCOMPARE(result.sql, expected);
    QCOMPARE(result.names, names);
}

void TestDatabaseAccess::parseDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    QTest::newRow("comma") << u"379,90"_s << 2 << true << qint64(37990);
    QTest::newRow("point") << u"379.9"_s << 4 << true << qint64(3799000);
    QTest::newRow("thousands") << u"1.234.567,89"_s << 2 << true << qint64(123456789);
    QTest::newRow("negative") << u"-0,05"_s << 2 << true << qint64(-5);
    QTest::newRow("half to even down") << u"0,125"_s << 2 << true << qint64(12);
    QTest::newRow("half to even up") << u"0,135"_s << 2 << true << qint64(14);
    QTest::newRow("negative half") << u"-2,5"_s << 0 << true << qint64(-2);
    QTest::newRow("big") << u"9999999999999,99"_s << 2 << true << qint64(999999999999999);
    QTest::newRow("overflow") << u"99999999999999999999"_s << 0 << false << qint64(0);
    QTest::newRow("letters") << u"12a"_s << 2 << false << qint64(0);
    QTest::newRow("empty") << QString() << 2 << false << qint64(0);
    QTest::newRow("two points") << u"1.2.3"_s << 2 << false << qint64(0);
}

void TestDatabaseAccess::parseDecimal() {
    QFETCH(QString, text);
    QFETCH(int, scale);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    qint64 result = 0;
    QCOMPARE(ParseDecimal(text, scale, &result), ok);
    if (ok) QCOMPARE(result, value);
}

void TestDatabaseAccess::valuesRoundTripExactly_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<DbValue>("in");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("scaled");
    QTest::newRow("amount 700000.00") << u"NUMERIC(15,2)"_s << DbValue::decimal(70000000, 2)
                                      << u"700000,00"_s << qint64(7000000000);
    QTest::newRow("amount 379.90")
        << u"NUMERIC(15,2)"_s << DbValue(u"379,90"_s) << u"379,90"_s << qint64(3799000);
    QTest::newRow("negative amount")
        << u"NUMERIC(15,2)"_s << DbValue::scaled(-12345600) << u"-1234,56"_s << qint64(-12345600);
    QTest::newRow("largest amount") << u"NUMERIC(15,2)"_s << DbValue::decimal(999999999999999, 2)
                                    << u"9999999999999,99"_s << qint64(99999999999999900);
    QTest::newRow("quantity") << u"NUMERIC(15,4)"_s << DbValue::scaled(12345) << u"1,2345"_s
                              << qint64(12345);
    QTest::newRow("amount rounded to column")
        << u"NUMERIC(15,2)"_s << DbValue::scaled(12345) << u"1,23"_s << qint64(12300);
    QTest::newRow("integer") << u"INTEGER"_s << DbValue(42) << u"42"_s << qint64(420000);
    QTest::newRow("accents") << u"VARCHAR(20)"_s << DbValue(u"AÇÃO São Paulo €"_s)
                             << u"AÇÃO São Paulo €"_s << qint64(0);
    QTest::newRow("char keeps padding")
        << u"CHAR(4)"_s << DbValue(u"AB"_s) << u"AB  "_s << qint64(0);
    QTest::newRow("text blob") << u"BLOB SUB_TYPE TEXT"_s
                               << DbValue(QString(40000, u'é') + u"fim"_s)
                               << QString(40000, u'é') + u"fim"_s << qint64(0);
    QTest::newRow("date") << u"DATE"_s << DbValue(QDate(2026, 2, 28)) << u"28/02/26"_s << qint64(0);
    QTest::newRow("date as text") << u"DATE"_s << DbValue(u"31.12.1999"_s) << u"31/12/99"_s
                                  << qint64(0);
    QTest::newRow("null") << u"NUMERIC(15,2)"_s << DbValue() << QString() << qint64(0);
}

void TestDatabaseAccess::valuesRoundTripExactly() {
    QFETCH(QString, type);
    QFETCH(DbValue, in);
    QFETCH(QString, text);
    QFETCH(qint64, scaled);
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (V "_s + type + u")"_s);
    Transaction transaction(db.connection());
    Statement insert(db.connection(), transaction, u"INSERT INTO T (V) VALUES (:V)"_s);
    insert.bind(u"V"_s, in);
    insert.execute();
    QCOMPARE(insert.affectedRows(), qint64(1));
    Statement select(db.connection(), transaction, u"SELECT V FROM T"_s);
    QVERIFY(select.hasCursor());
    select.open();
    QVERIFY(select.fetch());
    const DbValue out = select.value(0);
    QCOMPARE(out.isNull(), in.isNull());
    QCOMPARE(out.toString(), text);
    QCOMPARE(out.toScaled(), scaled);
    QVERIFY(!select.fetch());
}

void TestDatabaseAccess::floatingColumnsBeyondTheRangeAreConversionErrors_data() {
    QTest::addColumn<double>("stored");
    QTest::addColumn<qint64>("scaled");
    QTest::addColumn<qint64>("whole");
    QTest::newRow("amount") << 1234.5 << qint64(12345000) << qint64(1234);
    QTest::newRow("negative") << -2.75 << qint64(-27500) << qint64(-2);
    // 9.2e14 in ten-thousandths still fits 64 bits; 9.3e14 does not.
    QTest::newRow("largest amount") << 9.2e14 << qint64(9200000000000000000) << qint64(9.2e14);
    QTest::newRow("amount overflows") << 9.3e14 << qint64(0) << qint64(930000000000000);
    QTest::newRow("negative amount overflows") << -9.3e14 << qint64(0) << qint64(-930000000000000);
    // -2^63 is the smallest whole number; 2^63 is one past the largest.
    QTest::newRow("smallest whole")
        << -9223372036854775808.0 << qint64(0) << std::numeric_limits<qint64>::min();
    QTest::newRow("whole overflows") << 9223372036854775808.0 << qint64(0) << qint64(0);
    QTest::newRow("far beyond") << -1e300 << qint64(0) << qint64(0);
}

void TestDatabaseAccess::floatingColumnsBeyondTheRangeAreConversionErrors() {
    QFETCH(double, stored);
    QFETCH(qint64, scaled);
    QFETCH(qint64, whole);
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (V DOUBLE PRECISION)"_s);
    Transaction transaction(db.connection());
    Statement insert(db.connection(), transaction, u"INSERT INTO T (V) VALUES (:V)"_s);
    insert.bind(u"V"_s, DbValue::fromDouble(stored));
    insert.execute();
    Statement select(db.connection(), transaction, u"SELECT V FROM T"_s);
    select.open();
    QVERIFY(select.fetch());
    const DbValue value = select.value(0);
    QCOMPARE(value.kind(), DbValue::Kind::Double);
    QCOMPARE(value.toScaled(), scaled);
    QCOMPARE(value.toInt(), whole);
}

void TestDatabaseAccess::namedParametersBindEveryOccurrence() {
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (A INTEGER, B INTEGER)"_s);
    db.load(u"INSERT INTO T VALUES (1, 1);\nINSERT INTO T VALUES (1, 2);\n"
            u"INSERT INTO T VALUES (2, 2);\n"_s);
    Transaction transaction(db.connection());
    Statement select(db.connection(), transaction,
                     u"SELECT COUNT(*) FROM T WHERE A = :P_N AND B = :P_N"_s);
    QCOMPARE(select.parameterNames(), (QStringList{u"P_N"_s, u"P_N"_s}));
    int counts[2] = {};
    for (int n : {1, 2}) {
        select.bind(u"p_n"_s, n);
        select.open();
        QVERIFY(select.fetch());
        counts[n - 1] = int(select.value(0).toInt());
    }
    QCOMPARE(counts[0], 1);
    QCOMPARE(counts[1], 1);
    QVERIFY_THROWS_EXCEPTION(DbError, select.bind(u"P_OTHER"_s, 1));
}

void TestDatabaseAccess::columnsAreFoundByAliasAndField() {
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (NOME VARCHAR(10), VALOR NUMERIC(15,2))"_s);
    db.load(u"INSERT INTO T VALUES ('X', 1.5);\n"_s);
    Transaction transaction(db.connection());
    Statement select(db.connection(), transaction, u"SELECT A.NOME, A.VALOR AS TOTAL FROM T A"_s);
    select.open();
    QVERIFY(select.fetch());
    QCOMPARE(select.columnIndex(u"nome"_s), 0);
    QCOMPARE(select.columnIndex(u"TOTAL"_s), 1);
    QCOMPARE(select.columnIndex(u"VALOR"_s), 1);
    QCOMPARE(select.columnIndex(u"NADA"_s), -1);
    QCOMPARE(select.value(u"TOTAL"_s).toScaled(), qint64(15000));
    QVERIFY_THROWS_EXCEPTION(DbError, select.value(u"NADA"_s));
    // Names asked row after row are remembered by their text's address; a
    // name built anew each time (which may land where a freed one was) must
    // still find its own column.
    Statement twin(db.connection(), transaction,
                   u"SELECT A.VALOR AS VVVV, A.NOME AS NNNN FROM T A"_s);
    for (int i = 0; i < 200; ++i) {
        const bool first = i % 2 == 0;
        const QString name = QString::fromLatin1(first ? "VVVV" : "NNNN");
        QCOMPARE(twin.columnIndex(name), first ? 0 : 1);
    }
}

void TestDatabaseAccess::uncommittedWorkIsRolledBack() {
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (A INTEGER)"_s);
    {
        Transaction transaction(db.connection());
        transaction.executeImmediate(u"INSERT INTO T VALUES (1)"_s);
    }
    {
        Transaction transaction(db.connection());
        transaction.executeImmediate(u"INSERT INTO T VALUES (2)"_s);
        transaction.commit();
        QVERIFY(!transaction.isActive());
    }
    Transaction transaction(db.connection());
    Statement select(db.connection(), transaction, u"SELECT LIST(A) FROM T"_s);
    select.open();
    QVERIFY(select.fetch());
    QCOMPARE(select.value(0).toString(), u"2"_s);
}

void TestDatabaseAccess::errorsCarryTheServerMessage() {
    test::TestDatabase db;
    Transaction transaction(db.connection());
    try {
        Statement bad(db.connection(), transaction, u"SELECT * FROM NO_SUCH_TABLE"_s);
        QFAIL("a statement on a missing table was prepared");
    } catch (const DbError& error) {
        QVERIFY2(error.message().contains(u"NO_SUCH_TABLE"_s), qPrintable(error.message()));
    }
    Connection closed;
    ConnectionOptions missing;
    missing.path = u"/nonexistent/folder/x.fdb"_s;
    QVERIFY_THROWS_EXCEPTION(DbError, closed.open(missing));
    QVERIFY(!closed.isConnected());
}

void TestDatabaseAccess::pathsInAnyLanguageCreateAndOpen() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"relatório de ações"_s);
    QVERIFY(QDir().mkpath(folder));
    ConnectionOptions options;
    options.path = folder + u"/órgão.fdb"_s;
    options.forcedWrites = false;
    {
        Connection created;
        created.create(options);
        created.executeImmediate(u"CREATE TABLE T (A VARCHAR(10))"_s);
        created.executeImmediate(u"INSERT INTO T VALUES ('São')"_s);
    }
    // The file carries the name asked for, not a transliteration of it.
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{u"órgão.fdb"_s});
    Connection opened;
    opened.open(options);
    Transaction transaction(opened);
    Statement select(opened, transaction, u"SELECT A FROM T"_s);
    select.open();
    QVERIFY(select.fetch());
    QCOMPARE(select.value(0).toString(), u"São"_s);
}

void TestDatabaseAccess::attachFailuresNameTheirReason_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<ConnectFailure>("failure");
    QTest::newRow("no file") << u"nada.fdb"_s << QByteArray() << ConnectFailure::NoFile;
    QTest::newRow("no folder") << u"não há/erp.fdb"_s << QByteArray() << ConnectFailure::NoFile;
    QByteArray garbage(256 * 1024, '\0');
    for (qsizetype i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919 + i / 13) % 251);
    QTest::newRow("garbage") << u"lixo.fdb"_s << garbage << ConnectFailure::NotDatabase;
    // Shorter than a database's first page.
    QTest::newRow("text") << u"leia-me.fdb"_s << QByteArray("não é um banco\n")
                          << ConnectFailure::NotDatabase;
    QTest::newRow("empty") << u"vazio.fdb"_s << QByteArray("") << ConnectFailure::NotDatabase;
}

void TestDatabaseAccess::attachFailuresNameTheirReason() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(ConnectFailure, failure);
    QTemporaryDir dir;
    ConnectionOptions options;
    options.path = dir.filePath(name);
    if (!content.isNull()) {
        QFile file(options.path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    Connection connection;
    try {
        connection.open(options);
        QFAIL("opened");
    } catch (const ConnectError& error) {
        QCOMPARE(error.failure(), failure);
        // The reason in words, then the engine's own message, which names
        // the file as given.
        const QString expected =
            u"Erro ao abrir "_s + options.path + u": "_s + ConnectFailureText(failure) + u" ("_s;
        QVERIFY2(error.message().startsWith(expected), qPrintable(error.message()));
        QVERIFY2(error.engineMessage().contains(options.path), qPrintable(error.engineMessage()));
    }
    QVERIFY(!connection.isConnected());
}

void TestDatabaseAccess::databaseHeldByAnotherProgramIsInUse() {
    test::TestDatabase db;
    db.connection().close();
    QProcess holder;
    holder.start(QStringLiteral(LIVRAX_HOLD_DATABASE), {db.path()});
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readAllStandardOutput(), QByteArray("aberto\n"));
    Connection connection;
    try {
        connection.open(db.options());
        QFAIL("opened a database another program holds");
    } catch (const ConnectError& error) {
        QCOMPARE(error.failure(), ConnectFailure::InUse);
        QVERIFY2(error.message().startsWith(u"Erro ao abrir "_s + db.path() +
                                            u": o arquivo está em uso por outro programa ("_s),
                 qPrintable(error.message()));
    }
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(30000));
    QCOMPARE(holder.exitCode(), 0);
    connection.open(db.options()); // free again
    QVERIFY(connection.isConnected());
}

void TestDatabaseAccess::textLongerThanItsColumnIsRefused() {
    test::TestDatabase db;
    db.exec(u"CREATE TABLE T (C VARCHAR(3))"_s);
    Transaction transaction(db.connection());
    Statement insert(db.connection(), transaction, u"INSERT INTO T VALUES (:C)"_s);
    insert.bind(u"C"_s, DbValue(u"ABCD"_s));
    QVERIFY_THROWS_EXCEPTION(DbError, insert.execute());
}

QTEST_GUILESS_MAIN(TestDatabaseAccess)
#include "test_database_access.moc"
