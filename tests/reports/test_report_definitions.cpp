// Report definitions: the stored form of the definition, last-selection and
// menu-selection keys, the menu listing, the FMQ_ values and the .FMB
// definition files, on real databases.

#include "common/fields.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/param_text.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "reports/report_definition.h"
#include "reports/report_files.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"
#include "support/module_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::data;
using namespace livrax::reports;
using namespace Qt::StringLiterals;

using LineMap = QMap<int, QString>;
// Gives the text of one value of a definition to set or to read back.
using DefinitionText = std::function<QString&(ReportDefinition&)>;
// Reads a stored key into its value, changes it and writes it back.
using KeyWriter = std::function<bool(Connection*, const QString& key)>;
Q_DECLARE_METATYPE(DefinitionText)
Q_DECLARE_METATYPE(KeyWriter)
Q_DECLARE_METATYPE(ImportOutcome)

namespace {

const QString Menu = u"PAR_LFPDS"_s;

// The column of a stored key, read on the test's own attachment. A missing
// row reads as "<none>".
QString Stored(test::TestDatabase& database, const QString& key, const QString& column) {
    Transaction transaction(database.connection());
    Statement select(database.connection(), transaction,
                     u"SELECT "_s + column + u" FROM VRTNPAR WHERE CHAVE = :P_CHAVE"_s);
    select.bind(u"P_CHAVE"_s, key);
    select.open();
    if (!select.fetch()) return u"<none>"_s;
    return select.value(0).toString();
}

// The stored lines of a key by number; none when the key is missing.
LineMap StoredLines(test::TestDatabase& database, const QString& key) {
    LineMap lines;
    const QString text = Stored(database, key, u"TEXTO"_s);
    if (text == u"<none>"_s) return lines;
    for (const ParamTextLine& line : ParseParamText(text, 0))
        lines.insert(line.number, line.text);
    return lines;
}

// Stores lines under a key through the parameter store itself.
void Store(const QString& key, const LineMap& lines, const QString& title = {}) {
    ParamLines().clear();
    for (auto it = lines.begin(); it != lines.end(); ++it)
        ParamLines().setLine(it.key(), it.value());
    QVERIFY(ParamWrite(ParamDatabase(), key, 0, title));
}

QStringList ToList(const LineMap& lines) {
    QStringList list(ParamLineCount);
    for (auto it = lines.begin(); it != lines.end(); ++it)
        list[it.key() - 1] = it.value();
    return list;
}

// A stored line from its fields by number, each ended by "#" up to the last
// one given.
QString Fields(const QMap<int, QString>& fields) {
    QString line;
    for (int n = 1; n <= fields.lastKey(); ++n)
        line += fields.value(n) + u'#';
    return line;
}

// Field n of a stored line.
QString Field(const QString& line, int n) {
    return SplitToList(line).value(n - 1);
}

ReportMenu StoreMenu() {
    return {u"PDS"_s, Menu, ParamDatabase()};
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestReportDefinitions : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void encodingRules_data();
    void encodingRules();
    void writersKeepWhatTheyDoNotSet_data();
    void writersKeepWhatTheyDoNotSet();
    void fieldListEndsAtFourEmptyLines();
    void listingTakesOnlyTheMenusReports();
    void currentReportValues();
    void filesRoundTrip();
    void importRefusals_data();
    void importRefusals();
    void importStoresAllThreeOrNone();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestReportDefinitions::init() {
    ParamLines().clear();
    ResetGlobals();
    m_fixture = std::make_unique<test::ModuleFixture>();
}

void TestReportDefinitions::cleanup() {
    m_fixture.reset();
}

void TestReportDefinitions::encodingRules_data() {
    QTest::addColumn<DefinitionText>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");

    const auto firstField = [](auto member) {
        return DefinitionText([member](ReportDefinition& d) -> QString& {
            // A field with content: an entry without any is a gap.
            if (d.fields.isEmpty()) {
                d.fields.append(ReportField());
                d.fields[0].content = u"A.X"_s;
            }
            return d.fields[0].*member;
        });
    };
    const auto parameter = [](auto member) {
        return DefinitionText(
            [member](ReportDefinition& d) -> QString& { return d.parameters.*member; });
    };

    const QString longTitle = QString(58, u'T') + u"XYZ"_s;
    QTest::newRow("title loses its #")
        << parameter(&ReportParameters::title) << u"Vendas #1 por cliente"_s << 1 << 1
        << u"Vendas 1 por cliente"_s << u"Vendas 1 por cliente"_s;
    QTest::newRow("title at most 60") << parameter(&ReportParameters::title) << longTitle << 1 << 1
                                      << longTitle.left(60) << longTitle.left(60);
    QTest::newRow("permanent filter # as blank")
        << parameter(&ReportParameters::permanentFilter) << u"A.UF='SP'#AND A.VALOR>0"_s << 1 << 14
        << u"A.UF='SP' AND A.VALOR>0"_s << u"A.UF='SP' AND A.VALOR>0"_s;
    QTest::newRow("SQL filter keeps [VARSQL], # as blank")
        << parameter(&ReportParameters::sqlFilter) << u"A.CFOP=[VARSQL]#"_s << 1 << 30
        << u"A.CFOP=[VARSQL] "_s << u"A.CFOP=[VARSQL] "_s;
    QTest::newRow("report flags padded to 30")
        << parameter(&ReportParameters::flags) << u"1010000ASNNN"_s << 1 << 8
        << u"1010000ASNNN                  "_s << u"1010000ASNNN                  "_s;
    QTest::newRow("margin to width 5") << parameter(&ReportParameters::topMargin) << u"15"_s << 1
                                       << 15 << u"   15"_s << u"   15"_s;
    QTest::newRow("paper length (7,1)") << parameter(&ReportParameters::paperLength) << u"297"_s
                                        << 1 << 23 << u"  297,0"_s << u"  297,0"_s;
    QTest::newRow("blank number stays blank")
        << parameter(&ReportParameters::columns) << QString() << 1 << 26 << QString() << QString();
    QTest::newRow("line spacing 0 is 12")
        << parameter(&ReportParameters::lineSpacing) << u"0"_s << 1 << 7 << u"12"_s << u"12"_s;
    QTest::newRow("font style kept")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.fonts.title.style; })
        << u"fsBold,fsItalic"_s << 2 << 7 << u"fsBold,fsItalic"_s << u"fsBold,fsItalic"_s;
    QTest::newRow("other font style stored empty")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.fonts.total.style; })
        << u"fsBold,fsunderline"_s << 2 << 19 << QString() << QString();
    QTest::newRow("orientation V when blank")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.printer.orientation; })
        << QString() << 4 << 3 << u"V"_s << u"V"_s;
    QTest::newRow("copies 1 when blank")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.printer.copies; })
        << QString() << 4 << 7 << u"1"_s << u"1"_s;
    QTest::newRow("sort fields upper case")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.sortFields; })
        << u"a.data#a.nome"_s << 6 << 0 << u"A.DATA#A.NOME"_s << u"A.DATA#A.NOME"_s;
    QTest::newRow("group title from the group field")
        << DefinitionText([](ReportDefinition& d) -> QString& {
               d.grouping.field = u"A.CLIENTE"_s;
               return d.grouping.title;
           })
        << QString() << 8 << 7 << u"CLIENTE:"_s << u"CLIENTE:"_s;
    QTest::newRow("secondary sort # as ,")
        << DefinitionText([](ReportDefinition& d) -> QString& { return d.secondary.sortFields; })
        << u"B.DATA#B.NUMERO"_s << 10 << 4 << u"B.DATA,B.NUMERO"_s << u"B.DATA,B.NUMERO"_s;
    QTest::newRow("picture # stored as &")
        << firstField(&ReportField::picture) << u"#0.00"_s << 11 << 15 << u"&0.00"_s << u"#0.00"_s;
    QTest::newRow("field line 1 when blank")
        << firstField(&ReportField::line) << QString() << 11 << 4 << u"1"_s << u"1"_s;
    QTest::newRow("field column to width 4")
        << firstField(&ReportField::column) << u"120"_s << 11 << 5 << u" 120"_s << u" 120"_s;
    QTest::newRow("print flags default")
        << firstField(&ReportField::printFlags) << QString() << 11 << 19
        << u"110000000000        "_s << u"110000000000        "_s;
    QTest::newRow("field flags padded to 20")
        << firstField(&ReportField::flags) << u" 3"_s << 11 << 8 << u" 3                  "_s
        << u" 3                  "_s;
    QTest::newRow("alignment first character")
        << firstField(&ReportField::alignment) << u"1 direita"_s << 11 << 20 << u"1"_s << u"1"_s;
    QTest::newRow("shape height 65 when blank")
        << firstField(&ReportField::shapeHeight) << QString() << 11 << 27 << u"65"_s << u"65"_s;
    // A "#" in any other text would move every field after it.
    QTest::newRow("field title # as blank")
        << firstField(&ReportField::title) << u"N#"_s << 11 << 1 << u"N "_s << u"N "_s;
}

void TestReportDefinitions::encodingRules() {
    QFETCH(DefinitionText, text);
    QFETCH(QString, typed);
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    ReportDefinition definition;
    text(definition) = typed;
    const QStringList lines = DefinitionToLines(definition, {});
    QCOMPARE(field == 0 ? lines.value(line - 1) : Field(lines.value(line - 1), field), stored);
    ReportDefinition read = DefinitionFromLines(lines);
    QCOMPARE(text(read), shown);
}

void TestReportDefinitions::writersKeepWhatTheyDoNotSet_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<LineMap>("before");
    QTest::addColumn<KeyWriter>("writer");
    QTest::addColumn<LineMap>("after");

    // Field 1 is the title, 36 is unused; line 3 is unused; field line 11
    // has unused fields 7, 16 and 25 ("kept as read").
    QTest::newRow("definition") << Menu + u"001A"_s
                                << LineMap{{1, Fields({{1, u"Antigo"_s},
                                                       {2, u"Arial"_s},
                                                       {3, u"10"_s},
                                                       {5, u"C:\\REL"_s},
                                                       {36, u"x36"_s}})},
                                           {3, u"linha tres"_s},
                                           {11, Fields({{1, u"Nota"_s},
                                                        {2, u"A.NOTA"_s},
                                                        {3, u"1"_s},
                                                        {4, u"   1"_s},
                                                        {5, u"   6"_s},
                                                        {6, u"8"_s},
                                                        {7, u"f7"_s},
                                                        {15, u"&&&"_s},
                                                        {16, u"f16"_s},
                                                        {25, u"f25"_s}})}}
                                << KeyWriter([](Connection* db, const QString& key) {
                                       ReportDefinition d;
                                       if (!ReadReportDefinition(db, key, d)) return false;
                                       if (d.parameters.directory != u"C:\\REL"_s ||
                                           d.fields.value(0).picture != u"###"_s)
                                           return false;
                                       d.parameters.title = u"Notas de saída"_s;
                                       d.fields[0].size = u"10"_s;
                                       return WriteReportDefinition(db, key, d);
                                   })
                                << LineMap{{1, Fields({{1, u"Notas de saída"_s},
                                                       {2, u"Arial"_s},
                                                       {3, u"10"_s},
                                                       {5, u"C:\\REL"_s},
                                                       {7, u"12"_s},
                                                       {8, QString(30, u' ')},
                                                       {36, u"x36"_s}})},
                                           {3, u"linha tres"_s},
                                           {4, Fields({{3, u"V"_s}, {7, u"1"_s}})},
                                           {10, Fields({{7, u"N"_s}})},
                                           {11, Fields({{1, u"Nota"_s},
                                                        {2, u"A.NOTA"_s},
                                                        {3, u"1"_s},
                                                        {4, u"   1"_s},
                                                        {5, u"   6"_s},
                                                        {6, u"10"_s},
                                                        {7, u"f7"_s},
                                                        {8, QString(20, u' ')},
                                                        {15, u"&&&"_s},
                                                        {16, u"f16"_s},
                                                        {19, u"110000000000        "_s},
                                                        {25, u"f25"_s},
                                                        {27, u"65"_s}})}};
    // Field 4 and the fields after 8 of line 1 are not the writer's, nor
    // field 5 of line 3 and fields 1 to 10 of line 9.
    QTest::newRow("last selection")
        << Menu + u"001V"_s
        << LineMap{{1, Fields({{1, u"01/01/07"_s},
                               {2, u"31/01/07"_s},
                               {3, u"A.DATA"_s},
                               {4, u"quatro"_s},
                               {5, u"   1"_s},
                               {6, u"R$"_s},
                               {7, u"1"_s},
                               {8, u"oito"_s},
                               {9, u"nove"_s}})},
                   {3, Fields({{1, u"ANA"_s},
                               {2, u"05/02/07"_s},
                               {3, u"01/01/07"_s},
                               {4, u"31/01/07"_s},
                               {5, u"cinco"_s}})},
                   {5, u"linha cinco"_s},
                   {9, Fields({{1, u"um"_s}, {11, u"SP"_s}})}}
        << KeyWriter([](Connection* db, const QString& key) {
               LastSelection s;
               if (!ReadLastSelection(db, key, s)) return false;
               if (s.values[0] != u"SP"_s || s.firstPage != u"   1"_s) return false;
               s.finalDate = u"28/02/07"_s;
               s.values[1] = u"RJ   "_s;
               s.choices[8] = u"3"_s;
               s.varSql = u"  5102 "_s;
               return WriteLastSelection(db, key, s);
           })
        << LineMap{{1, Fields({{1, u"01/01/07"_s},
                               {2, u"28/02/07"_s},
                               {3, u"A.DATA"_s},
                               {4, u"quatro"_s},
                               {5, u"   1"_s},
                               {6, u"R$"_s},
                               {7, u"1"_s},
                               {9, u"nove"_s}})},
                   {3, Fields({{1, u"ANA"_s},
                               {2, u"05/02/07"_s},
                               {3, u"01/01/07"_s},
                               {4, u"28/02/07"_s},
                               {5, u"cinco"_s}})},
                   {5, u"linha cinco"_s},
                   {9, Fields({{1, u"um"_s}, {11, u"SP"_s}, {12, u"RJ"_s}, {29, u"3"_s}})},
                   {11, u"5102"_s}};
    // Line 1 is rewritten as read; field 4 of a selection line is written
    // empty, field 5 is not the writer's.
    QTest::newRow("menu selection configuration")
        << Menu + u"0000"_s
        << LineMap{{1, u"Configuração#antiga#"_s},
                   {11, u"Cliente#A.CLIENTE#I#lixo#cinco#"_s},
                   {31, u"Entradas#A.TIPO='E'#Saídas#A.TIPO='S'#"_s}}
        << KeyWriter([](Connection* db, const QString& key) {
               MenuSelectionConfig c;
               if (!ReadMenuSelection(db, key, c)) return false;
               if (c.betweenFields.secondTitle != u"Saídas"_s) return false;
               c.singles[0].field = u"A.CLIENTE>="_s;
               c.multiples[0] = {u"À vista"_s, u"A.PRAZO=0"_s, u"A prazo"_s, u"A.PRAZO>0#"_s};
               return WriteMenuSelection(db, key, c);
           })
        << LineMap{{1, u"Configuração#antiga#"_s},
                   {11, u"Cliente#A.CLIENTE>=#I##cinco#"_s},
                   {21, u"À vista#A.PRAZO=0#A prazo#A.PRAZO>0 #"_s},
                   {31, u"Entradas#A.TIPO='E'#Saídas#A.TIPO='S'#"_s}};
}

void TestReportDefinitions::writersKeepWhatTheyDoNotSet() {
    QFETCH(QString, key);
    QFETCH(LineMap, before);
    QFETCH(KeyWriter, writer);
    QFETCH(LineMap, after);

    Store(key, before);
    QVERIFY(writer(ParamDatabase(), key));
    QCOMPARE(StoredLines(m_fixture->store(), key), after);
}

void TestReportDefinitions::fieldListEndsAtFourEmptyLines() {
    const QString key = Menu + u"002A"_s;
    Store(key,
          {{1, u"Lista"_s},
           {11, u"Um#A.UM#1#"_s},
           {12, u"Dois#A.DOIS#1#"_s},
           {14, u"Quatro#A.QUATRO#1#"_s},
           {19, u"Nove#A.NOVE#1#"_s}},
          u"Lista"_s);
    ReportDefinition definition;
    QVERIFY(ReadReportDefinition(ParamDatabase(), key, definition));
    QStringList titles;
    for (const ReportField& field : std::as_const(definition.fields))
        titles << field.title;
    // Line 13 is a gap; lines 15 to 18 end the list, so line 19 is not read.
    QCOMPARE(titles, (QStringList{u"Um"_s, u"Dois"_s, QString(), u"Quatro"_s}));

    // The gap is written back empty, and the stored title follows the
    // definition's.
    definition.parameters.title = u"Lista#2"_s;
    QVERIFY(WriteReportDefinition(ParamDatabase(), key, definition));
    const LineMap stored = StoredLines(m_fixture->store(), key);
    QVERIFY(!stored.contains(13));
    QCOMPARE(Field(stored.value(14), 1), u"Quatro"_s);
    QCOMPARE(Stored(m_fixture->store(), key, u"CAMPO"_s), u"Lista2"_s);

    // No field lines: an empty body.
    QVERIFY(DefinitionFromLines(ToList({{1, u"Vazio"_s}})).fields.isEmpty());
}

void TestReportDefinitions::listingTakesOnlyTheMenusReports() {
    const ReportMenu menu{u"PDS"_s, u"FMQ_PDS"_s, ParamDatabase()};
    Store(u"FMQ_PDS001A"_s, {{1, u"Um"_s}}, u"Um"_s);
    Store(u"FMQ_PDS003A"_s, {{1, u"Tres"_s}}, u"Tres"_s);
    Store(u"FMQ_PDS003V"_s, {{1, u"01/01/07"_s}});
    Store(u"FMQ_PDS0000"_s, {{11, u"Cliente#A.CLIENTE#S#"_s}});
    Store(u"FMQ_PDS000A"_s, {{1, u"Zero"_s}}, u"Zero"_s);
    // "_" as a LIKE wildcard would take this key of another menu.
    Store(u"FMQXPDS002A"_s, {{1, u"Outro"_s}}, u"Outro"_s);
    Store(u"FMQ_PDSX004A"_s, {{1, u"Mais longo"_s}}, u"Mais longo"_s);

    QCOMPARE(
        ListReports(menu),
        (QList<ReportEntry>{{u"000"_s, u"Zero"_s}, {u"001"_s, u"Um"_s}, {u"003"_s, u"Tres"_s}}));
    ParamDatabase()->close();
    QCOMPARE(ListReports(menu), QList<ReportEntry>());
}

void TestReportDefinitions::currentReportValues() {
    ConnectionOptions options;
    options.path = u"C:\\\\VORTA\\\\PDS.GDB"_s;
    Connection database;
    database.setOptions(options);
    SetCurrentReport({u"PDS"_s, Menu, &database}, 7);

    QMap<QString, QString> values;
    for (int i = 0; i < FmqValueNames().size(); ++i)
        values.insert(FmqValueNames()[i], Globals().registry.fmq[std::size_t(i)]);
    QCOMPARE(values.value(u"FMQ_SIGLARQ"_s), u"PDS"_s);
    QCOMPARE(values.value(u"FMQ_DIR"_s), u"C:\\VORTA\\PDS.GDB"_s);
    QCOMPARE(values.value(u"FMQ_FILENAME"_s), Menu);
    QCOMPARE(values.value(u"FMQ_FILENAMEA"_s), u"PAR_LFPDS007A"_s);
    QCOMPARE(values.value(u"FMQ_FILENAMEV"_s), u"PAR_LFPDS007V"_s);
    QCOMPARE(values.value(u"FMQ_FILENAMEC"_s), u"PAR_LFPDS007C"_s);
    QCOMPARE(values.value(u"FMQ_FILENAME0"_s), u"PAR_LFPDS0000"_s);
    QCOMPARE(Globals().registry.fmqMenuItem, 7);
}

void TestReportDefinitions::filesRoundTrip() {
    const LineMap definition{{1, u"Relação de preços#Arial#9#"_s},
                             {11, u"Preço#A.PRECO#1#   1#  60#12########&0,00#"_s}};
    Store(Menu + u"003A"_s, definition, u"Relação de preços"_s);
    Store(Menu + u"003C"_s, {{1, u"PAR_LFPDS"_s}});
    Store(Menu + u"003V"_s, {{1, u"01/01/07#31/01/07#"_s}});

    QTemporaryDir dir;
    QVERIFY(ExportReportFiles(StoreMenu(), 3, dir.path()));
    // Windows-1252, CR LF; the empty lines before the last one as "#".
    const QByteArray aFile = FileBytes(dir.filePath(u"PAR_LFPDS003A.FMB"_s));
    QVERIFY2(aFile.startsWith("Rela\xe7\xe3o de pre\xe7os#Arial#9#\r\n#\r\n"), aFile.constData());
    QVERIFY(aFile.endsWith("&0,00#\r\n"));
    QCOMPARE(FileBytes(dir.filePath(u"PAR_LFPDS003C.FMB"_s)), QByteArray("PAR_LFPDS\r\n"));
    QCOMPARE(FileBytes(dir.filePath(u"PAR_LFPDS003V.FMB"_s)), QByteArray("01/01/07#31/01/07#\r\n"));
    // A report without a definition exports nothing.
    QVERIFY(!ExportReportFiles(StoreMenu(), 4, dir.path()));
    QVERIFY(!QFile::exists(dir.filePath(u"PAR_LFPDS004C.FMB"_s)));

    // Back into another company's store, from a folder and names in lower
    // case: the paths keep their case, the keys are upper case.
    const QString folder = dir.filePath(u"Copias"_s);
    QVERIFY(QDir().mkpath(folder));
    for (const QString& letter : {u"a"_s, u"c"_s, u"v"_s})
        QVERIFY(QFile::copy(dir.filePath(u"PAR_LFPDS003"_s + letter.toUpper() + u".FMB"_s),
                            folder + u"/par_lfpds003"_s + letter + u".fmb"_s));
    m_fixture->store().exec(u"DELETE FROM VRTNPAR"_s);

    const ImportResult result =
        ImportReportFiles(ParamDatabase(), folder + u"/par_lfpds003a.fmb"_s, false);
    QCOMPARE(result.outcome, ImportOutcome::Imported);
    QCOMPARE(result.key, u"PAR_LFPDS003A"_s);
    QCOMPARE(StoredLines(m_fixture->store(), Menu + u"003A"_s), definition);
    QCOMPARE(Stored(m_fixture->store(), Menu + u"003A"_s, u"CAMPO"_s), u"Relação de preços"_s);
    QCOMPARE(StoredLines(m_fixture->store(), Menu + u"003C"_s), (LineMap{{1, u"PAR_LFPDS"_s}}));
    QCOMPARE(StoredLines(m_fixture->store(), Menu + u"003V"_s),
             (LineMap{{1, u"01/01/07#31/01/07#"_s}}));
    QCOMPARE(ListReports(StoreMenu()), (QList<ReportEntry>{{u"003"_s, u"Relação de preços"_s}}));
}

void TestReportDefinitions::importRefusals_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<ImportOutcome>("outcome");

    const QStringList all{u"PAR_LFPDS005A.FMB"_s, u"PAR_LFPDS005C.FMB"_s, u"PAR_LFPDS005V.FMB"_s};
    QTest::newRow("no number") << QStringList{u"PAR_LFPDSA.FMB"_s} << u"PAR_LFPDSA.FMB"_s << false
                               << false << ImportOutcome::BadName;
    QTest::newRow("not the definition file")
        << all << u"PAR_LFPDS005V.FMB"_s << false << false << ImportOutcome::BadName;
    QTest::newRow("other extension")
        << QStringList{u"PAR_LFPDS005A.TXT"_s} << u"PAR_LFPDS005A.TXT"_s << false << false
        << ImportOutcome::BadName;
    QTest::newRow("only a number")
        << QStringList{u"005A.FMB"_s} << u"005A.FMB"_s << false << false << ImportOutcome::BadName;
    QTest::newRow("definition file missing")
        << all.mid(1) << all[0] << false << false << ImportOutcome::MissingCompanion;
    QTest::newRow("C file missing") << QStringList{all[0], all[2]} << all[0] << false << false
                                    << ImportOutcome::MissingCompanion;
    QTest::newRow("V file missing")
        << all.mid(0, 2) << all[0] << false << false << ImportOutcome::MissingCompanion;
    QTest::newRow("report stored, no replace")
        << all << all[0] << true << false << ImportOutcome::Exists;
    QTest::newRow("report stored, replace")
        << all << all[0] << true << true << ImportOutcome::Imported;
}

void TestReportDefinitions::importRefusals() {
    QFETCH(QStringList, files);
    QFETCH(QString, chosen);
    QFETCH(bool, stored);
    QFETCH(bool, replace);
    QFETCH(ImportOutcome, outcome);

    QTemporaryDir dir;
    for (const QString& name : std::as_const(files)) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("novo\r\n");
    }
    // An earlier report 005 with only its last selection stored.
    if (stored) Store(Menu + u"005V"_s, {{1, u"antigo"_s}});

    const ImportResult result = ImportReportFiles(ParamDatabase(), dir.filePath(chosen), replace);
    QCOMPARE(result.outcome, outcome);
    // A refusal for missing files names each file of report 005 not written.
    QStringList missing;
    if (outcome == ImportOutcome::MissingCompanion) {
        for (const QString& letter : {u"A"_s, u"C"_s, u"V"_s}) {
            const QString name = Menu + u"005"_s + letter + u".FMB"_s;
            if (!files.contains(name)) missing.append(dir.filePath(name));
        }
    }
    QCOMPARE(result.missing, missing);
    const bool imported = outcome == ImportOutcome::Imported;
    const LineMap fresh{{1, u"novo"_s}};
    const LineMap earlier = stored ? LineMap{{1, u"antigo"_s}} : LineMap();
    QCOMPARE(StoredLines(m_fixture->store(), Menu + u"005A"_s), imported ? fresh : LineMap());
    QCOMPARE(StoredLines(m_fixture->store(), Menu + u"005V"_s), imported ? fresh : earlier);
}

void TestReportDefinitions::importStoresAllThreeOrNone() {
    for (const QString& letter : {u"A"_s, u"C"_s, u"V"_s})
        Store(Menu + u"006"_s + letter, {{1, u"antigo "_s + letter}},
              letter == u"A"_s ? u"Antigo"_s : QString());
    QTemporaryDir dir;
    for (const QString& letter : {u"A"_s, u"C"_s, u"V"_s}) {
        QFile file(dir.filePath(Menu + u"006"_s + letter + u".FMB"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("novo " + letter.toLatin1() + "\r\n");
    }
    const QString chosen = dir.filePath(Menu + u"006A.FMB"_s);

    // Another station holds the "V" row: the third write fails after the
    // lock timeout, and the first two must not stay.
    const int timeout = LockTimeoutSeconds();
    SetLockTimeoutSeconds(1);
    {
        Transaction other(m_fixture->store().connection());
        other.executeImmediate(
            u"UPDATE VRTNPAR SET CAMPO = 'ocupado' WHERE CHAVE = 'PAR_LFPDS006V'"_s);
        QCOMPARE(ImportReportFiles(ParamDatabase(), chosen, true).outcome,
                 ImportOutcome::NotWritten);
    }
    SetLockTimeoutSeconds(timeout);
    for (const QString& letter : {u"A"_s, u"C"_s, u"V"_s})
        QCOMPARE(StoredLines(m_fixture->store(), Menu + u"006"_s + letter),
                 (LineMap{{1, u"antigo "_s + letter}}));
    QCOMPARE(Stored(m_fixture->store(), Menu + u"006A"_s, u"CAMPO"_s), u"Antigo"_s);

    // Once the row is free the same import stores all three.
    QCOMPARE(ImportReportFiles(ParamDatabase(), chosen, true).outcome, ImportOutcome::Imported);
    for (const QString& letter : {u"A"_s, u"C"_s, u"V"_s})
        QCOMPARE(StoredLines(m_fixture->store(), Menu + u"006"_s + letter),
                 (LineMap{{1, u"novo "_s + letter}}));
    QCOMPARE(Stored(m_fixture->store(), Menu + u"006A"_s, u"CAMPO"_s), u"novo A"_s);
}

QTEST_GUILESS_MAIN(TestReportDefinitions)
#include "test_report_definitions.moc"
