// The report designer's work on a definition without its window: the
// defaults shown on loading, moving through the fields, inserting,
// duplicating and removing fields (field 180 never pushed off the end, the
// last field emptied after a removal, the unshown fields of a line going
// along with its field), the order by column, the recalculated
// columns, the editor's rules by type and the values a chosen column or
// expression gives a field.

#include "common/fields.h"
#include "reports/report_designer.h"

#include <QTest>

using namespace livrax;
using namespace livrax::reports;
using namespace Qt::StringLiterals;

namespace {

// A field with content, so that it counts as used.
ReportField Used(const QString& name, const QString& column = {}) {
    ReportField field;
    field.title = name;
    field.content = u"A."_s + name;
    field.type = u"1"_s;
    field.column = column;
    return field;
}

// A design whose first fields are `fields`.
ReportDesign DesignOf(const QList<ReportField>& fields) {
    ReportDefinition definition;
    definition.fields = fields;
    return ReportDesign(definition);
}

// The titles of fields 1..n, "-" for an empty one.
QString Titles(const ReportDesign& design, int n) {
    QStringList titles;
    for (int i = 1; i <= n; ++i)
        titles << (design.field(i).isEmpty() ? u"-"_s : design.field(i).title);
    return titles.join(u',');
}

// The columns of fields 1..n as numbers.
QString Columns(const ReportDesign& design, int n) {
    QStringList columns;
    for (int i = 1; i <= n; ++i)
        columns << QString::number(design.field(i).column.trimmed().toInt());
    return columns.join(u',');
}

// Fields written "line/type/size/alignment/location/content/column",
// separated by ";".
QList<ReportField> FieldsOf(const QString& text) {
    QList<ReportField> fields;
    for (const QString& entry : text.split(u';')) {
        const QStringList p = entry.split(u'/');
        ReportField field;
        field.line = p[0];
        field.type = p[1];
        field.size = p[2];
        field.alignment = p[3];
        field.printFlags = u"110000"_s + p[4];
        field.content = p[5];
        field.column = p[6];
        fields << field;
    }
    return fields;
}

} // namespace

class TestReportDesigner : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void defaultsOnLoading();
    void fieldsBehindGapsAreKept();
    void insertAndDuplicate();
    void unshownFieldsTravelWithTheirField_data();
    void unshownFieldsTravelWithTheirField();
    void fullDefinitionRefusesNewFields_data();
    void fullDefinitionRefusesNewFields();
    void removingEmptiesTheLastField();
    void lastStopsBeforeTheFirstFreeField_data();
    void lastStopsBeforeTheFirstFreeField();
    void organiserMoves();
    void sortByColumn_data();
    void sortByColumn();
    void recalculateColumns_data();
    void recalculateColumns();
    void rulesByType_data();
    void rulesByType();
    void chosenColumnsAndExpressions_data();
    void chosenColumnsAndExpressions();
    void paperForms();
    void importedTitle();
    void sqlSuggestionsQuoteLiteralsWithApostrophes();
};

void TestReportDesigner::defaultsOnLoading() {
    QStringList lines(190);
    lines[5] = u"#"_s;
    ReportDefinition d = DesignerDefinition(lines);
    QCOMPARE(d.parameters.font.size, u"8"_s);
    QCOMPARE(d.parameters.lineSpacing, u"  12"_s);
    QCOMPARE(d.parameters.topMargin, u"10"_s);
    QCOMPARE(d.parameters.leftMargin, u"10"_s);
    QCOMPARE(d.parameters.companyLine, u"CAE_EMPRESA"_s);
    QCOMPARE(d.parameters.addressLine, u"CAE_ENDERECO"_s);
    QCOMPARE(d.grouping.borders, u"000000000000"_s);
    QCOMPARE(d.sortFields, QString());
    QCOMPARE(d.fields.size(), DesignerFieldCount);

    // Values present are kept; only the margins are defaulted together.
    QStringList line1(40);
    line1[2] = u"10"_s;         // font size
    line1[6] = u"0"_s;          // line spacing
    line1[8] = u"3"_s;          // spacing after the titles
    line1[14] = u" 5"_s;        // top margin
    line1[18] = u"LINHA2"_s;    // header line 2
    line1[22] = u"    297,0"_s; // paper length
    lines[0] = line1.join(u'#') + u'#';
    d = DesignerDefinition(lines);
    QCOMPARE(d.parameters.font.size, u"10"_s);
    QCOMPARE(d.parameters.lineSpacing, u"  12"_s); // "0" reads as 12
    QCOMPARE(d.parameters.topMargin, u" 5"_s);
    QCOMPARE(d.parameters.bottomMargin, QString());
    QCOMPARE(d.parameters.companyLine, u"LINHA2"_s);
    QCOMPARE(d.parameters.paperLength, u"  297,0"_s);
    QCOMPARE(d.parameters.spacingAfterTitles, u"    3"_s);
}

void TestReportDesigner::fieldsBehindGapsAreKept() {
    QStringList lines(190);
    lines[10] = u"A#A.A#1#"_s;
    lines[25] = u"B#A.B#1#"_s; // field 16, behind 14 empty lines
    const ReportDefinition d = DesignerDefinition(lines);
    QCOMPARE(d.fields.at(15).content, u"A.B"_s);
    const QStringList written = DefinitionToLines(d, lines);
    QVERIFY(written.at(25).startsWith(u"B#A.B#1#"_s));
}

void TestReportDesigner::insertAndDuplicate() {
    ReportDesign design = DesignOf({Used(u"A"_s), Used(u"B"_s), Used(u"C"_s), Used(u"D"_s)});
    design.setCurrent(3);
    QVERIFY(design.insertAfterCurrent());
    QCOMPARE(design.current(), 4);
    QCOMPARE(Titles(design, 6), u"A,B,C,-,D,-"_s);

    design.setCurrent(2);
    QVERIFY(design.duplicateCurrent());
    QCOMPARE(design.current(), 3);
    QCOMPARE(Titles(design, 7), u"A,B,B,C,-,D,-"_s);
}

void TestReportDesigner::unshownFieldsTravelWithTheirField_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected"); // field 25 of lines 11..14, "-" empty
    QTest::newRow("organiser down") << u"down"_s << u"B25,A25,C25,-"_s;
    QTest::newRow("delete") << u"delete"_s << u"B25,C25,-,-"_s;
    QTest::newRow("insert") << u"insert"_s << u"A25,-,B25,C25"_s;
    QTest::newRow("duplicate") << u"duplicate"_s << u"A25,A25,B25,C25"_s;
    QTest::newRow("order by column") << u"sort"_s << u"B25,C25,A25,-"_s;
}

void TestReportDesigner::unshownFieldsTravelWithTheirField() {
    QFETCH(QString, action);
    QFETCH(QString, expected);
    // Fields A, B, C at columns 30, 10, 20, each with its own field 25.
    QStringList stored(190);
    const QString names[] = {u"A"_s, u"B"_s, u"C"_s};
    const QString columns[] = {u"30"_s, u"10"_s, u"20"_s};
    for (int i = 0; i < 3; ++i) {
        QStringList fields(40);
        fields[0] = names[i];
        fields[1] = u"A."_s + names[i];
        fields[2] = u"1"_s;
        fields[4] = columns[i];
        fields[24] = names[i] + u"25"_s;
        stored[10 + i] = fields.join(u'#');
    }
    ReportDesign design(stored);
    design.setCurrent(1);
    if (action == u"down"_s) QVERIFY(design.moveDown());
    if (action == u"delete"_s) design.removeCurrent();
    if (action == u"insert"_s) QVERIFY(design.insertAfterCurrent());
    if (action == u"duplicate"_s) QVERIFY(design.duplicateCurrent());
    if (action == u"sort"_s) design.sortByColumn();

    const QStringList written = design.lines(stored);
    QStringList got;
    for (int line = 11; line <= 14; ++line) {
        const QString value = SplitToList(written.value(line - 1)).value(24);
        got << (value.isEmpty() ? u"-"_s : value);
    }
    QCOMPARE(got.join(u','), expected);
}

void TestReportDesigner::fullDefinitionRefusesNewFields_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("lastUsed");
    QTest::newRow("field 180 used, current 1") << 1 << true;
    QTest::newRow("field 180 used, current 179") << 179 << true;
    QTest::newRow("field 180 empty but current") << 180 << false;
}

void TestReportDesigner::fullDefinitionRefusesNewFields() {
    QFETCH(int, current);
    QFETCH(bool, lastUsed);
    ReportDesign design = DesignOf({Used(u"A"_s), Used(u"B"_s)});
    if (lastUsed) design.field(180) = Used(u"LAST"_s);
    design.setCurrent(current);
    const ReportDefinition before = design.definition();
    QVERIFY(!design.canInsert());
    QVERIFY(!design.insertAfterCurrent());
    QVERIFY(!design.duplicateCurrent());
    QCOMPARE(design.definition(), before);
    QCOMPARE(design.current(), current);
}

void TestReportDesigner::removingEmptiesTheLastField() {
    ReportDesign design = DesignOf({Used(u"A"_s), Used(u"B"_s)});
    design.field(180) = Used(u"LAST"_s);
    design.setCurrent(1);
    design.removeCurrent();
    QCOMPARE(design.current(), 1);
    QCOMPARE(design.field(1).title, u"B"_s);
    QCOMPARE(design.field(179).title, u"LAST"_s);
    QVERIFY(design.field(180).isEmpty());

    design.setCurrent(179);
    design.removeCurrent();
    QVERIFY(design.field(179).isEmpty());
    QVERIFY(design.field(180).isEmpty());
}

void TestReportDesigner::lastStopsBeforeTheFirstFreeField_data() {
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("three used") << 3 << 1 << 3;
    QTest::newRow("none used") << 0 << 5 << 1;
    QTest::newRow("all used: no move") << 180 << 7 << 7;
}

void TestReportDesigner::lastStopsBeforeTheFirstFreeField() {
    QFETCH(int, used);
    QFETCH(int, start);
    QFETCH(int, expected);
    QList<ReportField> fields;
    for (int i = 0; i < used; ++i)
        fields << Used(u"F"_s + QString::number(i));
    ReportDesign design = DesignOf(fields);
    if (used + 3 <= 180) design.field(used + 3) = Used(u"AFTER_GAP"_s);
    design.setCurrent(start);
    design.last();
    QCOMPARE(design.current(), expected);
}

void TestReportDesigner::organiserMoves() {
    ReportDesign design = DesignOf({Used(u"A"_s), Used(u"B"_s), Used(u"C"_s)});
    QVERIFY(!design.moveUp());
    QVERIFY(design.moveDown());
    QCOMPARE(design.current(), 2);
    QCOMPARE(Titles(design, 3), u"B,A,C"_s);
    QVERIFY(design.moveUp());
    QCOMPARE(Titles(design, 3), u"A,B,C"_s);
    design.setCurrent(180);
    QVERIFY(!design.moveDown());
}

void TestReportDesigner::sortByColumn_data() {
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("expected");
    QTest::newRow("30,0,10") << u"30,0,10"_s << u"10,30,0"_s;
    QTest::newRow("field 1 keeps its 0") << u"0,30,10"_s << u"0,10,30"_s;
    QTest::newRow("unplaced behind the placed") << u"20,10,0,5"_s << u"5,10,20,0"_s;
    QTest::newRow("0 after field 1") << u"0,0,5"_s << u"0,5,0"_s;
    QTest::newRow("already in order") << u"6,12,18"_s << u"6,12,18"_s;
}

void TestReportDesigner::sortByColumn() {
    QFETCH(QString, columns);
    QFETCH(QString, expected);
    QList<ReportField> fields;
    for (const QString& column : columns.split(u','))
        fields << Used(u"C"_s + column + u'_' + QString::number(fields.size()), column);
    ReportDesign design = DesignOf(fields);
    design.sortByColumn();
    QCOMPARE(Columns(design, int(fields.size())), expected);
    // The fields moved whole: each title still goes with its column.
    for (int i = 1; i <= fields.size(); ++i)
        QVERIFY(design.field(i).title.startsWith(u"C"_s + design.field(i).column + u'_'));
}

void TestReportDesigner::recalculateColumns_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sizes 10, 2 right, 5")
        << u"1/1/10/0/0/A.A/12;1/1/2/1/0/A.B/0;1/1/5/0/0/A.C/0"_s << u"12,75,126"_s;
    QTest::newRow("blank line counts as 1") << u"/1/4/0/0/A.A/0;0/1/4/0/0/A.B/0"_s << u"0,27"_s;
    QTest::newRow("header, inactive and empty fields keep their column")
        << u"1/1/4/0/0/A.A/6;1/1/4/0/1/A.H/99;1/0/4/0/0/A.I/88;1/1/4/0/0//77;1/1/4/0/0/A.B/0"_s
        << u"6,99,88,77,33"_s;
    QTest::newRow("block line 2 from 0, font 8")
        << u"1/1/4/0/0/A.A/0;2/1//0/0/A.B/50;2/1/3/0/0/A.C/50"_s << u"0,0,80"_s;
}

void TestReportDesigner::recalculateColumns() {
    QFETCH(QString, fields);
    QFETCH(QString, expected);
    const QList<ReportField> list = FieldsOf(fields);
    ReportDesign design = DesignOf(list);
    design.definition().parameters.font.size = u"8"_s;
    design.setCurrent(3);
    design.recalculateColumns();
    QCOMPARE(Columns(design, int(list.size())), expected);
    QCOMPARE(design.current(), 1);
}

void TestReportDesigner::rulesByType_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("content");
    QTest::addColumn<bool>("otherGroup");
    QTest::addColumn<bool>("otherTable");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("shape");
    QTest::newRow("blank") << QString() << true << false << true << u"CAMPOS"_s << false;
    QTest::newRow("2 text") << u"2"_s << true << false << true << u"CAMPOS"_s << false;
    QTest::newRow("3 public") << u"3"_s << false << false << true << u"CAMPOS"_s << false;
    QTest::newRow("4 other table") << u"4"_s << false << true << true << u"CAMPOS"_s << false;
    QTest::newRow("6 shape") << u"6"_s << false << false << true << u"CAMPOS"_s << true;
    QTest::newRow("9 general table") << u"9"_s << true << true << false << u"TABELAS"_s << false;
}

void TestReportDesigner::rulesByType() {
    QFETCH(QString, type);
    QFETCH(bool, content);
    QFETCH(bool, otherGroup);
    QFETCH(bool, otherTable);
    QFETCH(QString, label);
    QFETCH(bool, shape);
    const FieldEditorRules rules = RulesForType(type);
    QCOMPARE(rules.contentEnabled, content);
    QCOMPARE(rules.otherGroupEnabled, otherGroup);
    QCOMPARE(rules.otherTableEnabled, otherTable);
    QCOMPARE(rules.otherGroupLabel, label);
    QCOMPARE(rules.shapeShown, shape);
}

void TestReportDesigner::chosenColumnsAndExpressions_data() {
    QTest::addColumn<QString>("choice");   // "column:name:letter:size" or "expression:text"
    QTest::addColumn<QString>("expected"); // content|title|type|size|picture|alignment|line
    QTest::newRow("numeric column") << u"column:valor:N:12"_s << u"VALOR|VALOR|1|12|#0.00|1|1"_s;
    QTest::newRow("integer column") << u"column:qtd:I:8"_s << u"QTD|QTD|1|8||1|1"_s;
    QTest::newRow("date column, short size raised to 4")
        << u"column:dt:D:2"_s << u"DT|DT|1|4||0|1"_s;
    QTest::newRow("text column keeps the picture")
        << u"column:nome:S:40"_s << u"NOME|NOME|1|40|#|0|1"_s;
    QTest::newRow("COUNT") << u"expression:COUNT"_s << u"COUNT|OLD|1|8|#0|1|0"_s;
    QTest::newRow("DATE") << u"expression:DATE"_s << u"DATE|OLD|1|8|#|0|0"_s;
    QTest::newRow("other expression") << u"expression:[TIME]"_s << u"[TIME]|OLD|1|3|#|0|0"_s;
}

void TestReportDesigner::chosenColumnsAndExpressions() {
    QFETCH(QString, choice);
    QFETCH(QString, expected);
    ReportField field;
    field.title = u"OLD"_s;
    field.size = u"3"_s;
    field.picture = u"#"_s;
    field.alignment = u"0"_s;
    field.line = u"0"_s;
    const QStringList parts = choice.split(u':');
    if (parts[0] == u"column"_s)
        ApplyTableField(field, parts[1], parts[2], parts[3].toInt(), true);
    else
        ApplyExpression(field, parts[1]);
    const QString got = QStringList{field.content, field.title,     field.type, field.size,
                                    field.picture, field.alignment, field.line}
                            .join(u'|');
    QCOMPARE(got, expected);
}

void TestReportDesigner::paperForms() {
    QCOMPARE(PaperOfForm(u"0"_s)->width, u"210"_s);
    QCOMPARE(PaperOfForm(u"0"_s)->length, u"297"_s);
    QCOMPARE(PaperOfForm(u"2"_s)->length, u"356"_s);
    QCOMPARE(PaperOfForm(u"4"_s)->width, u"0"_s);
    QVERIFY(!PaperOfForm(u"3"_s));
}

void TestReportDesigner::importedTitle() {
    const QString longTitle = QString(58, u'T') + u"XYZ"_s;
    QCOMPARE(ImportedTitle({longTitle + u"#Arial#8#"_s}), longTitle.left(60));
    QCOMPARE(ImportedTitle({}), QString());
}

void TestReportDesigner::sqlSuggestionsQuoteLiteralsWithApostrophes() {
    const QStringList suggestions = SqlFilterSuggestions();
    QVERIFY(suggestions.contains(u"EXTRACT(MONTH FROM DTNASC) = '[VARSQL]'"_s));
    QVERIFY(suggestions.contains(u"SIGLA NOT LIKE '%VORTANE%'"_s));
    for (const QString& suggestion : suggestions)
        QVERIFY2(!suggestion.contains(u'"'), qPrintable(suggestion));
}

QTEST_GUILESS_MAIN(TestReportDesigner)
#include "test_report_designer.moc"
