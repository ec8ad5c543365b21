// The generic query's statement, settings lines, .PAR files and ordering,
// worked out by hand from the window's rules.

#include "common/line_files.h"
#include "tools/query_build.h"

#include <QTemporaryDir>

#include <QTest>

Q_DECLARE_METATYPE(livrax::tools::QuerySettings)

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

class TestQueryBuild : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void statement_data();
    void statement();
    void typedValueNeverBecomesSql_data();
    void typedValueNeverBecomesSql();
    void filterMayOnlyNarrow();
    void orderByClickedColumn();
    void parFileRoundTrip();
    void savedSettingsLines();
    void savedSettingsFillOnlyEmptyControls();
};

namespace {

QuerySettings Products() {
    QuerySettings s;
    s.table = u"VRTNPRO"_s;
    return s;
}

} // namespace

void TestQueryBuild::statement_data() {
    QTest::addColumn<QuerySettings>("settings");
    QTest::addColumn<QString>("sql");

    QuerySettings s = Products();
    s.field1 = u"NOME"_s;
    s.fieldType1 = u"S"_s;
    s.value1 = u"parafuso"_s;
    QTest::newRow("text contains")
        << s << u"Select * FROM VRTNPRO A WHERE (( (UPPER(A.NOME) LIKE '%PARAFUSO%') ) )"_s;

    s = Products();
    s.field1 = u"A.CODIGO"_s;
    s.fieldType1 = u"I"_s;
    s.value1 = u"10"_s;
    QTest::newRow("integer contains is equal")
        << s << u"Select * FROM VRTNPRO A WHERE (( A.CODIGO = 10 ) )"_s;

    s = Products();
    s.field1 = u"NOME"_s;
    s.fieldType1 = u"S"_s;
    s.value1 = u"parafuso"_s;
    s.field2 = u"CODIGO"_s;
    s.fieldType2 = u"I"_s;
    s.operator2 = u">"_s;
    s.value2 = u"5"_s;
    s.joiner = u" and "_s;
    QTest::newRow("two conditions with AND")
        << s
        << u"Select * FROM VRTNPRO A WHERE (( (UPPER(A.NOME) LIKE '%PARAFUSO%') AND "
           u"A.CODIGO > 5 ) )"_s;
    s.joiner = QString();
    QTest::newRow("two conditions, empty joiner is OR")
        << s
        << u"Select * FROM VRTNPRO A WHERE (( (UPPER(A.NOME) LIKE '%PARAFUSO%') OR  "
           u"A.CODIGO > 5 ) )"_s;

    s = Products();
    s.dateField = u"DATA"_s;
    s.startDate = u"  /  /  "_s;
    s.endDate = u"31/01/26"_s;
    QTest::newRow("only the end date")
        << s << u"Select * FROM VRTNPRO A WHERE (DATA <= '31.01.2026')"_s;

    s = Products();
    s.columns = u"CODIGO;NOME"_s;
    s.returnFields = u"PRECO"_s;
    QTest::newRow("column list and return field")
        << s << u"Select A.CODIGO,A.NOME,A.PRECO FROM VRTNPRO A"_s;

    s = Products();
    s.columns = u"FIRST 10 codigo, SUBSTRING(NOME FROM 1 FOR 3)"_s;
    s.returnFields = u"A.CODIGO;PRECO"_s;
    QTest::newRow("FIRST and expressions keep their spaces")
        << s << u"Select FIRST 10 A.codigo,SUBSTRING(NOME FROM 1 FOR 3),A.PRECO FROM VRTNPRO A"_s;

    s = Products();
    s.secondTable = u"VRTNGRU.DB"_s;
    s.secondColumns = u"DESCRICAO"_s;
    s.mainJoinField = u"GRUPO"_s;
    s.secondJoinField = u"CODIGO"_s;
    s.order = u"A.NOME"_s;
    QTest::newRow("second table joined")
        << s
        << u"Select A.*, B.DESCRICAO FROM VRTNPRO A, VRTNGRU B WHERE ((A.GRUPO = B.CODIGO)) "
           u"ORDER BY A.NOME"_s;

    s = Products();
    s.field2 = u"NOME"_s;
    s.fieldType2 = u"S"_s;
    s.operator2 = u"Inicia"_s;
    s.value2 = u"par"_s;
    s.branch = u"01"_s;
    QTest::newRow("second condition alone, with branch")
        << s
        << u"Select * FROM VRTNPRO A WHERE (( (UPPER(A.NOME) LIKE 'PAR%') AND FILIAL = '01' ) )"_s;

    s = Products();
    s.field1 = u"NOME"_s;
    s.fieldType1 = u"S"_s;
    s.value1 = u"a"_s;
    s.value2 = u"b"_s; // the second condition takes the first field
    s.operator2 = u"NConteúdo"_s;
    s.branch = u"01"_s;
    QTest::newRow("OR under a branch is bracketed")
        << s
        << u"Select * FROM VRTNPRO A WHERE (( ((UPPER(A.NOME) LIKE '%A%') OR  (UPPER(A.NOME) "
           u"NOT LIKE '%B%')) AND FILIAL = '01' ) )"_s;

    s = Products();
    s.sql = u"SELECT 1 FROM RDB$DATABASE"_s;
    s.value1 = u"ignored"_s;
    QTest::newRow("a typed statement runs unchanged") << s << u"SELECT 1 FROM RDB$DATABASE"_s;
}

void TestQueryBuild::statement() {
    QFETCH(QuerySettings, settings);
    QFETCH(QString, sql);
    const QueryStatement built = BuildQuery(settings);
    QCOMPARE(built.error, QString());
    QCOMPARE(built.sql, sql);
}

void TestQueryBuild::typedValueNeverBecomesSql_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("condition"); // empty: refused

    QTest::newRow("number") << u"N"_s << u"="_s << u"12"_s << u"A.F = 12"_s;
    QTest::newRow("Brazilian decimal") << u"N"_s << u">="_s << u"1.234,5"_s << u"A.F >= 1234.5"_s;
    QTest::newRow("negative") << u"I"_s << u"<"_s << u"-3"_s << u"A.F < -3"_s;
    QTest::newRow("IS NULL on a number") << u"I"_s << u"="_s << u"is null"_s << u"A.F IS NULL"_s;
    QTest::newRow("condition injected") << u"I"_s << u"Conteúdo"_s << u"10 OR 1=1"_s << QString();
    QTest::newRow("statement injected") << u"N"_s << u"="_s << u"1; DELETE FROM X"_s << QString();
    QTest::newRow("word") << u"I"_s << u"="_s << u"abc"_s << QString();
    QTest::newRow("number with NConteúdo") << u"I"_s << u"NConteúdo"_s << u"1"_s << QString();
    QTest::newRow("not a date") << u"D"_s << u"="_s << u"1 OR 1=1"_s << QString();
    QTest::newRow("date") << u"D"_s << u"Conteúdo"_s << u"05/02/26"_s << u"A.F = '05.02.2026'"_s;
    QTest::newRow("memo other operator quoted")
        << u"M"_s << u"="_s << u"x' OR '1'='1"_s << u"(A.F = 'x'' OR ''1''=''1')"_s;
    QTest::newRow("memo contains")
        << u"M"_s << u"Conteúdo"_s << u"a'b"_s << u"(A.F LIKE '%a''b%')"_s;
    QTest::newRow("text other operator")
        << u"U"_s << u"<>"_s << u"o'k"_s << u"(UPPER(A.F) <> 'O''K')"_s;
}

void TestQueryBuild::typedValueNeverBecomesSql() {
    QFETCH(QString, type);
    QFETCH(QString, op);
    QFETCH(QString, value);
    QFETCH(QString, condition);
    QuerySettings s = Products();
    s.field1 = u"F"_s;
    s.fieldType1 = type;
    s.operator1 = op;
    s.value1 = value;
    const QueryStatement built = BuildQuery(s);
    if (condition.isEmpty()) {
        QVERIFY2(!built.error.isEmpty(), qPrintable(built.sql));
        QCOMPARE(built.sql, QString());
    } else {
        QCOMPARE(built.error, QString());
        QCOMPARE(built.sql, u"Select * FROM VRTNPRO A WHERE (( "_s + condition + u" ) )"_s);
    }
}

void TestQueryBuild::filterMayOnlyNarrow() {
    QuerySettings s = Products();
    s.filter = u"A.ATIVO = 'S'"_s;
    QCOMPARE(BuildQuery(s).sql, u"Select * FROM VRTNPRO A WHERE (( A.ATIVO = 'S' ) )"_s);
    QCOMPARE(BuildQuery(s).conditions, u"( A.ATIVO = 'S' ) "_s);
    s.filter = u"1=1) OR (1=1"_s;
    QVERIFY(!BuildQuery(s).error.isEmpty());
    QCOMPARE(BuildQuery(s).sql, QString());
}

void TestQueryBuild::orderByClickedColumn() {
    QuerySettings s = Products();
    const QStringList result{u"CODIGO"_s, u"NOME"_s, u"CODIGO1"_s};
    QString order = OrderForColumn(u"NOME"_s, s.order, s, result);
    QCOMPARE(order, u"A.NOME"_s);
    order = OrderForColumn(u"NOME"_s, order, s, result);
    QCOMPARE(order, u"A.NOME DESC"_s);
    QCOMPARE(OrderForColumn(u"NOME"_s, order, s, result), u"A.NOME"_s);
    // A repeated name of the second table loses its "1"; listed with "B."
    // it orders by the second table's column.
    s.columns = u"CODIGO,B.CODIGO"_s;
    QCOMPARE(OrderForColumn(u"CODIGO1"_s, {}, s, result), u"B.CODIGO"_s);
    s.columns = u"CODIGO1"_s;
    QCOMPARE(OrderForColumn(u"CODIGO1"_s, {}, s, result), u"A.CODIGO1"_s);
}

void TestQueryBuild::parFileRoundTrip() {
    QuerySettings s;
    s.table = u"VRTNPRO"_s;
    s.title = u"Produtos ativos"_s;
    s.returnFields = u"CODIGO;NOME"_s;
    s.columns = u"CODIGO,NOME,PRECO"_s;
    s.secondColumns = u"DESCRICAO"_s;
    s.field1 = u"NOME"_s;
    s.field2 = u"CODIGO"_s;
    s.operator1 = u"Inicia"_s;
    s.operator2 = u">="_s;
    s.value1 = u"PAR"_s;
    s.value2 = u"10"_s;
    s.joiner = u"AND"_s;
    s.dateField = u"DATA"_s;
    s.startDate = u"01/01/26"_s;
    s.endDate = u"31/01/26"_s;
    s.filter = u"A.ATIVO = 'S'"_s;
    s.order = u"A.NOME DESC"_s;
    s.secondTable = u"VRTNGRU"_s;
    s.mainJoinField = u"GRUPO"_s;
    s.secondJoinField = u"CODIGO"_s;
    const QStringList lines = ParFileLines(s);
    QCOMPARE(lines.value(0), u"NOME"_s);
    QCOMPARE(lines.value(10), u"VRTNPRO"_s);
    QCOMPARE(lines.value(16), u"Produtos ativos"_s);
    QCOMPARE(lines.value(29), u"VRTNGRU"_s);
    QCOMPARE(lines.value(32), u"CODIGO"_s);

    QTemporaryDir dir;
    const QString path = dir.filePath(ParFileName(u"produtos"_s));
    QVERIFY(path.endsWith(u"PRODUTOS.PAR"_s));
    QStringList written = lines;
    QVERIFY(WriteLinesFile(path, written));
    QStringList read;
    QVERIFY(ReadLinesFile(path, read));
    QuerySettings back;
    ApplyParFileLines(read, back);
    QCOMPARE(ParFileLines(back), lines);
    QCOMPARE(back.order, s.order);
    QCOMPARE(back.operator1, s.operator1);
    // A long second-table path comes back as its table name.
    QStringList withPath = lines;
    withPath[29] = u"C:\\DADOS\\VRTNGRU.DB"_s.replace(u'\\', u'/');
    ApplyParFileLines(withPath, back);
    QCOMPARE(back.secondTable, u"VRTNGRU"_s);
}

void TestQueryBuild::savedSettingsLines() {
    QuerySettings s = Products();
    s.filter = u"F"_s;
    s.order = u"A.NOME"_s;
    s.columns = u"CODIGO"_s;
    s.value1 = u"V1"_s;
    s.manual = u"SELECT 1"_s;
    s.secondJoinField = u"SEC"_s;
    QStringList stored(40);
    stored[10] = u"old 11"_s;
    stored[34] = u"kept 35"_s;
    stored[39] = u"kept 40"_s;
    QStringList lines = SavedSettingsLines(s, u"Select *"_s, stored);
    QCOMPARE(lines.size(), 40);
    QCOMPARE(lines.value(0), u"F"_s);
    QCOMPARE(lines.value(1), u"A.NOME"_s);
    QCOMPARE(lines.value(7), u"V1"_s);
    QCOMPARE(lines.value(10), QString()); // written empty
    QCOMPARE(lines.value(11), u"SELECT 1"_s);
    QCOMPARE(lines.value(19), u"Select *"_s);
    QCOMPARE(lines.value(32), u"SEC"_s);
    QCOMPARE(lines.value(34), u"kept 35"_s);
    QCOMPARE(lines.value(39), u"kept 40"_s);
    // With a second table the ordering is not kept.
    s.secondTable = u"VRTNGRU"_s;
    lines = SavedSettingsLines(s, {}, stored);
    QCOMPARE(lines.value(1), QString());
}

void TestQueryBuild::savedSettingsFillOnlyEmptyControls() {
    QStringList saved(40);
    saved[1] = u"A.NOME"_s;
    saved[6] = u"NOME"_s;
    saved[7] = u"PARAF"_s;
    saved[11] = u"SELECT * FROM VRTNPRO"_s;
    saved[17] = u"DESCRICAO;GRUPO"_s;
    saved[29] = u"C:/DADOS/VRTNGRU.DB"_s;
    QuerySettings defaults;
    defaults.columns = u"CODIGO"_s;
    QuerySettings s;
    s.order = u"A.CODIGO"_s; // given by the opener
    ApplySavedSettings(saved, defaults, s);
    QCOMPARE(s.order, u"A.CODIGO"_s);
    QCOMPARE(s.columns, u"CODIGO"_s);
    QCOMPARE(s.field1, u"NOME"_s);
    QCOMPARE(s.value1, u"PARAF"_s);
    QCOMPARE(s.secondColumns, u"DESCRICAO,GRUPO"_s);
    QCOMPARE(s.secondTable, u"VRTNGRU"_s);
    QCOMPARE(s.sql, u"SELECT * FROM VRTNPRO"_s);
    // A filter from the opener keeps the saved value out.
    QuerySettings filtered;
    filtered.filter = u"A.ATIVO = 'S'"_s;
    ApplySavedSettings(saved, defaults, filtered);
    QCOMPARE(filtered.value1, QString());
}

QTEST_MAIN(TestQueryBuild)
#include "test_query_build.moc"
