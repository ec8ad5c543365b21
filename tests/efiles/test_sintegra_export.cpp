// The SINTEGRA export without the window: the checks before an export in
// their order, the proposed file name, the file's lines in writer order
// from hand-made staged rows (so they hold whatever the staging of the
// database finds), and the saved settings over the company register.

#include "common/fields.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "efiles/sintegra_export.h"
#include "efiles/sintegra_grids.h"
#include "efiles/sintegra_settings.h"
#include "support/module_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

SintegraInformant Complete() {
    SintegraInformant i;
    i.cnpj = u"12.345.678/0001-95"_s;
    i.stateReg = u"123/4567890"_s;
    i.name = u"EMPRESA DEMO"_s;
    i.municipality = u"PORTO ALEGRE"_s;
    i.state = u"RS"_s;
    i.startDate = u"01/03/04"_s;
    i.endDate = u"31/03/04"_s;
    i.agreement = u"3 - Convênio 76/03"_s;
    i.natures = u"3 - Totalidade das operações do informante"_s;
    i.purpose = u"1 - Normal"_s;
    i.street = u"RUA DAS FLORES"_s;
    i.number = u"120"_s;
    i.district = u"CENTRO"_s;
    i.postalCode = u"90000-000"_s;
    i.contact = u"MARIA"_s;
    i.phone = u"(51) 3333-4444"_s;
    return i;
}

// The record types of the lines, in order.
QStringList Types(const QStringList& lines) {
    QStringList types;
    for (const QString& line : lines)
        types << line.left(2);
    return types;
}

QStringList StoredLines(int count) {
    data::ParamRead(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, count);
    return data::ParamLines().lines(count);
}

} // namespace

class TestSintegraExport : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { data::ParamLines().clear(); }
    void checksInOrder_data();
    void checksInOrder();
    void proposedName_data();
    void proposedName();
    void saveProposal_data();
    void saveProposal();
    void noRecordChosen();
    void writerOrder();
    void settingsOverCompanyRegister();
    void settingsKeepForeignFields();
    void stagedGridTexts();
};

void TestSintegraExport::checksInOrder_data() {
    QTest::addColumn<QStringList>("blank"); // informant fields emptied ("field=value" sets one)
    QTest::addColumn<QString>("message");   // empty: the export may go on
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("field");
    const QStringList all{u"contact"_s, u"phone"_s,      u"cnpj"_s,      u"stateReg"_s,
                          u"number"_s,  u"complement"_s, u"startDate"_s, u"endDate"_s};
    QTest::newRow("everything blank")
        << all << u"Obrigatório informar o Nome da Pessoa de Contato"_s << u"T-11"_s
        << u"E_CONTATO"_s;
    QTest::newRow("contact given")
        << all.mid(1) << u"Obrigatório informar o Telefone para Contato"_s << u"T-11"_s
        << u"E_TELEFONE"_s;
    QTest::newRow("phone given") << all.mid(2) << u"Obrigatório informar o CNPJ"_s << u"T-10"_s
                                 << u"E_CNPJ10"_s;
    QTest::newRow("cnpj given") << all.mid(3) << u"Obrigatório informar a Inscriçào Estadual"_s
                                << u"T-10"_s << u"E_INSCEST"_s;
    QTest::newRow("registration given")
        << all.mid(4) << u"Obrigatório informar o Número ou Complemento"_s << u"T-11"_s
        << u"E_NUMERO"_s;
    // "0" is blank, as IsBlank has it.
    QTest::newRow("number zero") << QStringList{u"number=0"_s, u"complement"_s}
                                 << u"Obrigatório informar o Número ou Complemento"_s << u"T-11"_s
                                 << u"E_NUMERO"_s;
    QTest::newRow("complement only")
        << QStringList{u"number"_s, u"complement=SALA 2"_s, u"startDate"_s}
        << u"Deve ser informada a Data Inicial e a Final"_s << u"T-10"_s << u"E_DTINICIAL"_s;
    QTest::newRow("final date blank")
        << QStringList{u"endDate=  /  /  "_s} << u"Deve ser informada a Data Inicial e a Final"_s
        << u"T-10"_s << u"E_DTINICIAL"_s;
    QTest::newRow("impossible date")
        << QStringList{u"startDate=30/02/04"_s} << u"Data inválida: 30/02/04"_s << u"T-10"_s
        << u"E_DTINICIAL"_s;
    QTest::newRow("complete") << QStringList{} << QString() << QString() << QString();
}

void TestSintegraExport::checksInOrder() {
    QFETCH(QStringList, blank);
    QFETCH(QString, message);
    QFETCH(QString, tab);
    QFETCH(QString, field);
    SintegraInformant i = Complete();
    const QMap<QString, QString*> fields{
        {u"contact"_s, &i.contact},     {u"phone"_s, &i.phone},    {u"cnpj"_s, &i.cnpj},
        {u"stateReg"_s, &i.stateReg},   {u"number"_s, &i.number},  {u"complement"_s, &i.complement},
        {u"startDate"_s, &i.startDate}, {u"endDate"_s, &i.endDate}};
    for (const QString& item : blank)
        *fields.value(item.section(u'=', 0, 0)) = item.section(u'=', 1);
    const std::optional<SintegraRefusal> refused = CheckSintegraExport(i);
    QCOMPARE(refused ? refused->message : QString(), message);
    QCOMPARE(refused ? refused->tab : QString(), tab);
    QCOMPARE(refused ? refused->field : QString(), field);
    // Only the date check beeps.
    QCOMPARE(refused && refused->beep, message.startsWith(u"Deve ser informada"_s));
}

void TestSintegraExport::proposedName_data() {
    QTest::addColumn<QString>("outputFile");
    QTest::addColumn<QString>("endDate");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("saved"); // with the save dialog's default extension
    QTest::newRow("default") << u"C:\\GIA_.TXT"_s << u"31/03/04"_s << u"C:\\GIA_0304"_s
                             << u"C:\\GIA_0304.TXT"_s;
    QTest::newRow("unix folder") << u"/srv/fiscal/GIA_0204.TXT"_s << u"30/04/26"_s
                                 << u"/srv/fiscal/GIA_0426"_s << u"/srv/fiscal/GIA_0426.TXT"_s;
    QTest::newRow("either separator, the last one")
        << u"D:\\dados/sintegra\\velho.txt"_s << u"31/12/25"_s << u"D:\\dados/sintegra\\GIA_1225"_s
        << u"D:\\dados/sintegra\\GIA_1225.TXT"_s;
    QTest::newRow("a dotted folder") << u"/home/a.b/x"_s << u"31/01/26"_s << u"/home/a.b/GIA_0126"_s
                                     << u"/home/a.b/GIA_0126.TXT"_s;
    QTest::newRow("no folder") << u"GIA_.TXT"_s << u"31/01/26"_s << u"GIA_0126"_s
                               << u"GIA_0126.TXT"_s;
}

void TestSintegraExport::proposedName() {
    QFETCH(QString, outputFile);
    QFETCH(QString, endDate);
    QFETCH(QString, proposed);
    QFETCH(QString, saved);
    QCOMPARE(ProposedSintegraFileName(outputFile, endDate), proposed);
    QCOMPARE(WithDefaultExtension(proposed), saved);
    QCOMPARE(WithDefaultExtension(saved), saved);
}

void TestSintegraExport::saveProposal_data() {
    QTest::addColumn<QString>("outputFile"); // "%1": a folder that exists
    QTest::addColumn<bool>("kept");
    QTest::newRow("a folder that exists") << u"%1/GIA_.TXT"_s << true;
    QTest::newRow("another system's drive") << u"C:\\GIA_.TXT"_s << false;
    QTest::newRow("backslash folder") << u"%1\\GIA_.TXT"_s << false;
    QTest::newRow("a folder that is gone") << u"%1/apagada/GIA_.TXT"_s << false;
    QTest::newRow("no folder") << u"GIA_.TXT"_s << false;
    QTest::newRow("empty") << QString() << false;
}

// The save dialog offers "GIA_mmyy" in the stored folder when it exists
// here, else in the current folder.
void TestSintegraExport::saveProposal() {
    QFETCH(QString, outputFile);
    QFETCH(bool, kept);
    QTemporaryDir stored, current;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const QString proposal =
        SintegraSaveProposal(QString(outputFile).replace(u"%1"_s, stored.path()), u"31/03/04"_s);
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(proposal, (kept ? stored.path() : current.path()) + u"/GIA_0304"_s);
}

// No record box ticked: records 10, 11 and 90, whose total counts the three.
void TestSintegraExport::noRecordChosen() {
    test::ModuleFixture fixture;
    SintegraStaging staging;
    Row50 row;
    row.cnpj = u"11222333000181"_s;
    staging.rows50.push_back(row);
    const SintegraFile file =
        ComposeSintegraFile(Complete(), SintegraChoice{}, SintegraGnre{}, staging);
    QCOMPARE(Types(file.lines), (QStringList{u"10"_s, u"11"_s, u"90"_s}));
    for (const QString& line : file.lines)
        QCOMPARE(line.size(), SintegraLineWidth);
    QCOMPARE(file.lines[0].mid(107, 16), u"2004030120040331"_s); // the period
    QCOMPARE(file.lines[2].mid(30, 10), u"9900000003"_s);
    QCOMPARE(file.lines[2].right(1), u"1"_s);
    for (int type : CountedRecordTypes())
        QCOMPARE(file.counts.at(type), 0);
}

// Every box ticked over staged rows made by hand: the writers run in file
// order, each announced before it writes, and the counts follow the lines.
void TestSintegraExport::writerOrder() {
    test::ModuleFixture fixture;
    SintegraStaging staging;
    Row50 section;
    section.cnpj = u"*** ENTRADAS ***"_s;
    Row50 entry;
    entry.cnpj = u"11222333000181"_s;
    entry.date = u"02/03/04"_s;
    entry.number = u"10"_s;
    entry.cfop = u"1102"_s;
    entry.total = 1000000;
    entry.cancelled = u"N"_s;
    staging.rows50 = {section, entry};
    Row51 ipi;
    ipi.cnpj = u"11222333000181"_s;
    ipi.date = u"02/03/04"_s;
    ipi.cancelled = u"N"_s;
    staging.rows51 = {ipi};
    Row61 detail;
    detail.type = u"**"_s;
    detail.date = u"03/03/04"_s;
    Row61 day = detail;
    day.type = u"61"_s;
    staging.rows61 = {detail, day};
    Row70 bill;
    bill.cnpj = u"11222333000181"_s;
    bill.date = u"04/03/04"_s;
    bill.status = u"N"_s;
    staging.rows70 = {bill};
    Row71 carried;
    carried.takerCnpj = u"11222333000181"_s;
    carried.date = u"04/03/04"_s;
    staging.rows71 = {carried};
    SintegraChoice all;
    all.r50 = all.r51 = all.r53 = all.r54 = all.r55 = all.r61 = all.r70 = all.r71 = all.r75 = true;
    QList<int> started;
    const SintegraFile file = ComposeSintegraFile(Complete(), all, SintegraGnre{}, staging,
                                                  [&started](int type) { started << type; });
    QCOMPARE(started, (QList<int>{10, 50, 51, 53, 55, 61, 70, 71, 75, 90}));
    QCOMPARE(Types(file.lines), (QStringList{u"10"_s, u"11"_s, u"50"_s, u"51"_s, u"55"_s, u"61"_s,
                                             u"70"_s, u"71"_s, u"90"_s}));
    QCOMPARE(file.counts.at(50), 1);
    QCOMPARE(file.counts.at(61), 1);
    QCOMPARE(file.counts.at(53), 0);
}

// The company register fills the informant; the saved settings win where
// they hold a value, and only there.
void TestSintegraExport::settingsOverCompanyRegister() {
    test::ModuleFixture fixture;
    data::ParamLines().setLine(1, u"EMPRESA DEMO LTDA#AV. BRASIL, 500#DEMO#"_s);
    data::ParamLines().setLine(2, u"CANOAS#RS#92000-000#CENTRO#"_s);
    data::ParamLines().setLine(3, u"#(51) 3000-0000#"_s);
    data::ParamLines().setLine(4, u"12.345.678/0001-95#096/1234567#"_s);
    QVERIFY(data::ParamWrite(data::ParamDatabase(), u"VRTNCAE"_s, 20));

    const SintegraSettings fresh = LoadSintegraSettings();
    QCOMPARE(fresh.informant.name, u"EMPRESA DEMO LTDA"_s);
    QCOMPARE(fresh.informant.street, u"AV. BRASIL, 500"_s);
    QCOMPARE(fresh.informant.municipality, u"CANOAS"_s);
    QCOMPARE(fresh.informant.state, u"RS"_s);
    QCOMPARE(fresh.informant.postalCode, u"92000-000"_s);
    QCOMPARE(fresh.informant.district, u"CENTRO"_s);
    QCOMPARE(fresh.informant.phone, u"(51) 3000-0000"_s);
    QCOMPARE(fresh.informant.cnpj, u"12.345.678/0001-95"_s);
    QCOMPARE(fresh.informant.stateReg, u"096/1234567"_s);
    QCOMPARE(fresh.outputFile, u"C:\\GIA_.TXT"_s);
    QCOMPARE(fresh.entrySeries50, u"00"_s);
    QVERIFY(!fresh.choice.r50 && !fresh.choice.r75 && !fresh.freightFromEntries);
    QVERIFY(fresh.air && fresh.road && fresh.waybills);

    data::ParamLines().clear();
    QString flags(100, u' ');
    flags[49] = u'S';
    flags[74] = u'S';
    flags[60] = u'N';
    data::ParamLines().setLine(5, flags);
    data::ParamLines().setLine(6, u"S###"_s);
    // The name saved, the CNPJ not; road staging off, the exits' ICMS zeroed.
    QStringList line10(20);
    line10[2] = u"096/999"_s;
    line10[3] = u"OUTRO NOME"_s;
    line10[10] = u"2 - Interestaduais - operações com ou sem substituição tributária"_s;
    line10[16] = u"N"_s;
    line10[18] = u"S"_s;
    data::ParamLines().setLine(10, JoinFields(line10));
    QStringList line11(8);
    line11[4] = u"JOAO"_s; // the district
    data::ParamLines().setLine(11, JoinFields(line11));
    QVERIFY(data::ParamWrite(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, 20));
    const SintegraSettings saved = LoadSintegraSettings();
    QCOMPARE(saved.informant.cnpj, u"12.345.678/0001-95"_s);
    QCOMPARE(saved.informant.stateReg, u"096/999"_s);
    QCOMPARE(saved.informant.name, u"OUTRO NOME"_s);
    QCOMPARE(saved.informant.natures,
             u"2 - Interestaduais - operações com ou sem substituição tributária"_s);
    QCOMPARE(saved.informant.agreement, u"3 - Convênio 76/03"_s);
    QCOMPARE(saved.informant.district, u"JOAO"_s);
    QCOMPARE(saved.informant.street, u"AV. BRASIL, 500"_s);
    QVERIFY(saved.choice.r50 && saved.choice.r75);
    QVERIFY(!saved.choice.r51 && !saved.choice.r61);
    QVERIFY(saved.freightFromEntries);
    QCOMPARE(saved.entryFreightFilter, u"NATOPER=1352 OR NATOPER=2352"_s);
    QCOMPARE(saved.freightPayer, u"2"_s);
    QVERIFY(saved.air && !saved.road && saved.waybills);
    QVERIFY(saved.zeroExitIcms && !saved.zeroEntryIcms);
}

// Writing keeps every line and field the window does not own.
void TestSintegraExport::settingsKeepForeignFields() {
    test::ModuleFixture fixture;
    data::ParamLines().setLine(1, u"LINHA 1 DE OUTRO"_s);
    data::ParamLines().setLine(4, u"#C:\\VELHO.TXT#TERCEIRO#"_s);
    data::ParamLines().setLine(6, u"N#F#1#4#5#6#SETIMO#"_s);
    data::ParamLines().setLine(7, u"LINHA 7#"_s);
    QStringList line10(21);
    line10[0] = u"PRIMEIRO10"_s;
    line10[19] = u"VINTE"_s;
    line10[20] = u"VINTE E UM"_s;
    data::ParamLines().setLine(10, JoinFields(line10));
    data::ParamLines().setLine(11, u"PRIMEIRO11########NONO11#"_s);
    data::ParamLines().setLine(12, u"PRIMEIRO12#####SEXTO12#"_s);
    data::ParamLines().setLine(20, u"LINHA 20"_s);
    QVERIFY(data::ParamWrite(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, 20));

    SintegraSettings s = LoadSintegraSettings();
    SintegraInformant& i = s.informant;
    i.cnpj = u"12345678000195"_s;
    i.stateReg = u"0961234567"_s;
    i.name = u"DEMO"_s;
    i.municipality = u"CANOAS"_s;
    i.state = u"RS"_s;
    i.fax = u"5130000000"_s;
    i.startDate = u"01/03/26"_s;
    i.endDate = u"31/03/26"_s;
    i.street = u"RUA A"_s;
    i.number = u"10"_s;
    i.complement = u"SALA #2"_s; // a "#" of its own must not shift the fields after it
    i.district = u"CENTRO"_s;
    i.postalCode = u"92000000"_s;
    i.contact = u"MARIA"_s;
    i.phone = u"5133334444"_s;
    s.choice.r51 = s.choice.r70 = true;
    s.outputFile = u"C:\\GIA_0326.TXT"_s;
    s.entryFilter = u"VRTNPDE.NATOPER = 1102"_s;
    s.freightFromEntries = true;
    s.entryFreightFilter = u" NATOPER=1352 "_s;
    s.freightPayer = u"1 = FOB"_s;
    s.blankExitSeries = true;
    s.entrySeries50 = u"1"_s;
    s.waybills = false;
    s.zeroEntryIcms = true;
    s.exitFilter61 = u"VRTNPDS.SERIE = 'D'"_s;
    s.model61 = u"02"_s;
    s.series61 = u"D"_s;
    s.subSeries61 = u"1"_s;
    QVERIFY(SaveSintegraSettings(s));

    const QStringList stored = StoredLines(20);
    QCOMPARE(stored[0], u"LINHA 1 DE OUTRO"_s);
    QCOMPARE(stored[1], u"VRTNPDE.NATOPER = 1102"_s);
    QCOMPARE(stored[3], u"#C:\\GIA_0326.TXT#TERCEIRO#"_s);
    QString flags(100, u' ');
    for (int type : {50, 51, 53, 54, 55, 60, 61, 70, 71, 75, 88})
        flags[type - 1] = u'N';
    flags[50] = u'S';
    flags[69] = u'S';
    QCOMPARE(stored[4], flags);
    QCOMPARE(stored[5], u"S#NATOPER=1352#1####SETIMO#"_s);
    QCOMPARE(stored[6], u"LINHA 7#"_s);
    QCOMPARE(stored[9], u"PRIMEIRO10#12345678000195#0961234567#DEMO#CANOAS#RS#5130000000#"
                        u"01/03/26#31/03/26#3 - Convênio 76/03#3 - Totalidade das operações do "
                        u"informante#1 - Normal#N#S#1#S#S#N#N#S#VINTE E UM#"_s);
    QCOMPARE(stored[10], u"PRIMEIRO11#RUA A#10#SALA  2#CENTRO#92000000#MARIA#5133334444#NONO11#"_s);
    QCOMPARE(stored[11], u"PRIMEIRO12#VRTNPDS.SERIE = 'D'#02#D#1#SEXTO12#"_s);
    QCOMPARE(stored[19], u"LINHA 20"_s);

    // Read back, the window gets what it wrote.
    const SintegraSettings again = LoadSintegraSettings();
    QCOMPARE(again.informant.contact, u"MARIA"_s);
    QCOMPARE(again.informant.complement, u"SALA  2"_s);
    QCOMPARE(again.outputFile, u"C:\\GIA_0326.TXT"_s);
    QVERIFY(again.choice.r51 && again.choice.r70 && !again.choice.r50);
    QCOMPARE(again.entryFreightFilter, u"NATOPER=1352"_s);
    QCOMPARE(again.freightPayer, u"1"_s);
    QVERIFY(again.blankExitSeries && !again.blankEntrySeries && !again.waybills &&
            again.zeroEntryIcms);
    QCOMPARE(again.model61, u"02"_s);
}

// A staged grid as the window shows it: the row number, the record type or
// "**" before a section's title, amounts with two decimals (cut) and the
// decimal comma, right-aligned; nothing editable.
void TestSintegraExport::stagedGridTexts() {
    Row50 section;
    section.cnpj = u"*** SAÍDAS ***"_s;
    Row50 exit;
    exit.cnpj = u"11222333000181"_s;
    exit.total = 12345678; // 1234,5678
    exit.rate = 170000;
    exit.cancelled = u"N"_s;
    const std::vector<Row50> rows{section, exit};
    StagedGridModel model;
    model.setGrid(Grid50(rows));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 19);
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Seq"_s);
    QCOMPARE(model.headerData(18, Qt::Horizontal, Qt::DisplayRole).toString(), u"Sigla"_s);
    const auto cell = [&model](int row, int column) {
        return model.index(row, column).data().toString();
    };
    QCOMPARE(cell(0, 0), u"1"_s);
    QCOMPARE(cell(0, 1), u"**"_s);
    QCOMPARE(cell(0, 2), u"*** SAÍDAS ***"_s);
    QCOMPARE(cell(0, 11), QString());
    QCOMPARE(cell(1, 0), u"2"_s);
    QCOMPARE(cell(1, 1), u"50"_s);
    QCOMPARE(cell(1, 11), u"1234,56"_s);
    QCOMPARE(cell(1, 16), u"17,00"_s);
    QCOMPARE(cell(1, 17), u"N"_s);
    QCOMPARE(model.index(1, 11).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    QVERIFY(!(model.flags(model.index(1, 11)) & Qt::ItemIsEditable));
    // "SSe" is kept but hidden.
    QCOMPARE(model.grid().hiddenColumns, QList<int>{8});
}

QTEST_GUILESS_MAIN(TestSintegraExport)
#include "test_sintegra_export.moc"
