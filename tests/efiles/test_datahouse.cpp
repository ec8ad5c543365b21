// The DataHouse export over a small hand-made month: every expected line is
// put together from the positions of the published layout, piece by piece,
// independently of the export's own tables; the customers lacking CNPJ or
// postal code; runs that fail leave no file; the saved settings.

#include "data/globals.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "efiles/datahouse_export.h"
#include "efiles/datahouse_settings.h"
#include "support/module_fixture.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNCID (CODIGO, CIDADE) VALUES (11, 'SAO PAULO');
INSERT INTO VRTNCID (CODIGO, CIDADE) VALUES (13, 'SAO JOSE DOS C');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, TELEFONE) VALUES ('C1', 'CLIENTE UM LTDA', 'J', '11.222.333/0001-81', '123.456', 'RUA A, 1', 'CENTRO', 'SAO PAULO', 'SP', '01234-567', '(11) 5555-0001');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, TELEFONE) VALUES ('C2', 'CLIENTE DOIS', 'F', NULL, 'ISENTO', 'RUA B', 'VILA', 'CAMPINAS', 'SP', '13000-000', '19 3333');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ENDERECO, BAIRRO, CIDADE, ESTADO, CEP, TELEFONE) VALUES ('C3', 'CLIENTE TRES', 'J', '22.333.444/0001-55', NULL, 'RUA C', 'BAIRRO', 'SAO JOSE DOS CAMPOS', 'RJ', '   -   ', NULL);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO, ENCARGOS, ICMPERC, ICMBASE, ICMVALOR, ICMISENTAS, ICMOUTRAS, IPIBASE, IPIVALOR, IPIISENTAS, IPIOUTRAS) VALUES (1, 101, 'C1', '02.03.2026', 5102, 'V', 'F', 1234.5678, 10, 18, 1000, 180, 34.567, 200, 500, 50, 1, 2);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO) VALUES (2, 102, 'C1', '03.03.2026', 5405, 'P', 'F', 50);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO) VALUES (3, 103, 'C2', '15.03.2026', 5102, 'V', 'F', 75.5);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO) VALUES (4, 104, 'C1', '20.03.2026', 5102, 'V', 'F', -10);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO, ICMPERC, ICMBASE) VALUES (5, 105, 'C3', '31.03.2026', 6102, 'V', 'F', 98765432109.87, 123.45, 98765432109.87);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO) VALUES (6, 106, 'C1', '10.03.2026', 5102, 'V', 'C', 700);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, NATOPER, VP, FAT, LIQUIDO) VALUES (7, 107, 'C1', '01.04.2026', 5102, 'V', 'F', 900);
)"_s;

// A line of `width` columns built from pieces: (position, text) left-aligned
// at the position; every other column is a space. A piece that overlaps
// another or runs past the line fails the test, so a miscounted expectation
// cannot pass unnoticed.
class Line {
  public:
    explicit Line(int width) : m_line(width, u' '), m_used(width, false) {}
    Line& at(int position, const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype column = position - 1 + i;
            if (column >= m_line.size() || m_used[column])
                qFatal("expected piece at %d overlaps or overflows", position);
            m_used[column] = true;
            m_line[column] = text[i];
        }
        return *this;
    }
    // The text right-aligned in the field of `width` columns at `position`.
    Line& right(int position, int width, const QString& text) {
        if (text.size() > width) qFatal("expected amount at %d is wider than its field", position);
        return at(position + width - int(text.size()), text);
    }
    QString text() const { return m_line; }

  private:
    QString m_line;
    QList<bool> m_used;
};

// The amounts of a sales line, as they are written.
struct SaleAmounts {
    QString net, rate = u"0,00"_s, icmsBase = u"0,00"_s, icmsTax = u"0,00"_s,
                 icmsExempt = u"0,00"_s, icmsOther = u"0,00"_s, charges = u"0,00"_s,
                 ipiBase = u"0,00"_s, ipiTax = u"0,00"_s, ipiExempt = u"0,00"_s,
                 ipiOther = u"0,00"_s;
};

// A sales line from the layout: cnpj 1-18, state 19-20, nature 21-24,
// operation 25-26, state 27-28, "965" 29-34, number 35-40 and 41-46, "NF  "
// 47-50, "  1" 51-53, date 54-63, contributor 64, then the amounts and the
// constants of positions 65-467.
QString SalesLine(const QString& cnpj, const QString& state, const QString& nature,
                  const QString& operation, const QString& number, const QString& date,
                  const QString& contributor, const SaleAmounts& a) {
    Line line(DataHouseSalesWidth);
    line.at(1, cnpj).at(19, state).at(21, nature).at(25, operation).at(27, state);
    line.at(29, u"965"_s).at(35, number).at(41, number).at(47, u"NF"_s).at(53, u"1"_s);
    line.at(54, date).at(64, contributor);
    line.right(65, 14, a.net).right(79, 5, a.rate).at(84, u"N"_s).at(85, u"0000,0000"_s);
    line.right(94, 14, a.icmsBase).right(108, 14, a.icmsTax).right(122, 14, a.icmsExempt);
    line.right(136, 14, a.icmsOther).right(150, 14, a.charges);
    line.right(164, 6, u"0,00"_s).right(170, 14, u"0,00"_s).right(184, 14, u"0,00"_s);
    line.right(198, 14, a.ipiBase).right(212, 14, a.ipiTax).right(226, 14, a.ipiExempt);
    line.right(240, 14, a.ipiOther);
    line.right(254, 6, u"0,00"_s).right(260, 14, u"0,00"_s).right(274, 14, u"0,00"_s);
    line.at(288, u"0000"_s).at(332, u"0000"_s).at(336, u"000"_s).at(339, u"01"_s);
    line.at(341, u"0000000000000000000000000"_s).at(366, u"000"_s).at(369, u"00"_s);
    line.right(372, 14, u"0,00"_s);
    return line.text();
}

// A customers line from the layout.
QString CustomerLine(const QString& sigla, const QString& personType, const QString& cnpj,
                     const QString& name, const QString& address, const QString& district,
                     const QString& state, const QString& cityCode, const QString& city,
                     const QString& postalCode, const QString& phone, const QString& stateReg) {
    Line line(DataHouseCustomersWidth);
    line.at(1, u"000000"_s).at(7, sigla).at(27, personType).at(28, cnpj).at(46, name);
    line.at(96, address).at(146, district).at(176, state).at(178, cityCode).at(184, city);
    line.at(214, postalCode).at(222, phone).at(237, u"N"_s).at(238, stateReg);
    line.at(263, u"0000000000"_s).at(273, u"0000000000"_s);
    return line.text();
}

const QString C1Cnpj = u"11.222.333/0001-81"_s;

QString C1Line() {
    return CustomerLine(u"C1"_s, u"J"_s, C1Cnpj, u"CLIENTE UM LTDA"_s, u"RUA A, 1"_s, u"CENTRO"_s,
                        u"SP"_s, u"11"_s, u"SAO PAULO"_s, u"01234567"_s, u"(11) 5555-0001"_s,
                        u"123.456"_s);
}

// The March invoices of the fixture, by number.
QStringList MarchSales(bool writeIcms) {
    SaleAmounts first{.net = u"1234,56"_s, // 1234,5678 cut, not rounded
                      .icmsExempt = u"34,56"_s,
                      .icmsOther = u"200,00"_s,
                      .charges = u"10,00"_s,
                      .ipiBase = u"500,00"_s,
                      .ipiTax = u"50,00"_s,
                      .ipiExempt = u"1,00"_s,
                      .ipiOther = u"2,00"_s};
    SaleAmounts last{.net = u"98765432109,87"_s};
    if (writeIcms) {
        first.rate = u"18,00"_s;
        first.icmsBase = u"1000,00"_s;
        first.icmsTax = u"180,00"_s;
        // 123,45 does not fit the rate's five columns: its leftmost goes.
        last.rate = u"23,45"_s;
        last.icmsBase = u"98765432109,87"_s;
    }
    return {
        SalesLine(C1Cnpj, u"SP"_s, u"5102"_s, u"01"_s, u"101"_s, u"02/03/2026"_s, u"S"_s, first),
        // VP "P": operation 02
        SalesLine(C1Cnpj, u"SP"_s, u"5405"_s, u"02"_s, u"102"_s, u"03/03/2026"_s, u"S"_s,
                  {.net = u"50,00"_s}),
        // No CNPJ; "ISENTO" is no contributor
        SalesLine(QString(), u"SP"_s, u"5102"_s, u"01"_s, u"103"_s, u"15/03/2026"_s, u"N"_s,
                  {.net = u"75,50"_s}),
        SalesLine(C1Cnpj, u"SP"_s, u"5102"_s, u"01"_s, u"104"_s, u"20/03/2026"_s, u"S"_s,
                  {.net = u"-10,00"_s}),
        SalesLine(u"22.333.444/0001-55"_s, u"RJ"_s, u"6102"_s, u"01"_s, u"105"_s, u"31/03/2026"_s,
                  u"N"_s, last),
    };
}

// A file of the export as its lines, checked to be Windows-1252 lines each
// ended by CR LF.
QStringList ReadExportFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {u"<missing "_s + path + u">"_s};
    QByteArray bytes = file.readAll();
    if (!bytes.endsWith("\r\n")) return {u"<no CR LF at the end>"_s};
    bytes.chop(2);
    QStringDecoder decode("windows-1252");
    return QString(decode(bytes)).split(u"\r\n"_s);
}

DataHouseOptions March(const QString& folder) {
    DataHouseOptions options;
    options.startDate = u"01/03/26"_s;
    options.endDate = u"31/03/26"_s;
    options.folder = folder;
    return options;
}

} // namespace

class TestDataHouse : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void layoutsCoverTheLines();
    void filesOfAMonth_data();
    void filesOfAMonth();
    void customersWithEverythingExportWithoutErrors();
    void cityCodes_data();
    void cityCodes();
    void failedRunsWriteNothing_data();
    void failedRunsWriteNothing();
    void fileThatCannotBeWrittenFailsAlone();
    void folderBesideTheDatabaseByDefault();
    void folderThatCannotBeMade();
    void settingsRoundTrip();
};

void TestDataHouse::layoutsCoverTheLines() {
    const std::pair<std::span<const DataHouseField>, int> layouts[] = {
        {DataHouseSalesLayout(), DataHouseSalesWidth},
        {DataHouseCustomersLayout(), DataHouseCustomersWidth}};
    for (const auto& [layout, width] : layouts) {
        int next = 1;
        for (const DataHouseField& field : layout) {
            QVERIFY2(field.position == next, field.name);
            QVERIFY2(int(qstrlen(field.fixed)) <= field.width, field.name);
            next += field.width;
        }
        QCOMPARE(next, width + 1);
    }
}

void TestDataHouse::filesOfAMonth_data() {
    QTest::addColumn<bool>("writeIcms");
    QTest::newRow("with ICMS") << true;
    QTest::newRow("without ICMS") << false;
}

void TestDataHouse::filesOfAMonth() {
    QFETCH(bool, writeIcms);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    // The folder is made when it does not exist.
    DataHouseOptions options = March(folder.filePath(u"saida/dh"_s));
    options.writeIcms = writeIcms;
    const DataHouseResult result = ExportDataHouse(options);
    QVERIFY2(result.ok(), qPrintable(result.failures.join(u'\n')));

    // The cancelled invoice (FAT C) and April's are not selected; the lines
    // follow the invoice numbers.
    QCOMPARE(ReadExportFile(folder.filePath(u"saida/dh/DH_PDS_V.TXT"_s)), MarchSales(writeIcms));
    // One line per run of invoices of a customer: C1's first two invoices
    // give one line, C1 again after C2 another. C2 has no CNPJ and a city
    // with no code (965); C3's city matches its code on 14 characters and
    // its postal code is only a mask.
    const QStringList customers{
        C1Line(),
        CustomerLine(u"C2"_s, u"F"_s, QString(), u"CLIENTE DOIS"_s, u"RUA B"_s, u"VILA"_s, u"SP"_s,
                     u"965"_s, u"CAMPINAS"_s, u"13000000"_s, u"19 3333"_s, u"ISENTO"_s),
        C1Line(),
        CustomerLine(u"C3"_s, u"J"_s, u"22.333.444/0001-55"_s, u"CLIENTE TRES"_s, u"RUA C"_s,
                     u"BAIRRO"_s, u"RJ"_s, u"13"_s, u"SAO JOSE DOS C"_s, QString(), QString(),
                     QString()),
    };
    QCOMPARE(ReadExportFile(folder.filePath(u"saida/dh/DH_PDS_C.TXT"_s)), customers);

    QCOMPARE(result.salesLines, 5);
    QCOMPARE(result.customerLines, 4);
    QCOMPARE(result.errors, 2);
    QCOMPARE(
        result.messages,
        (QStringList{u"Arquivo vendas - DH_PDS_V.TXT"_s, u"*** Erros: 0"_s,
                     u"Arquivo Clientes - DH_PDS_C.TXT"_s, u"Falta CGC DO CLIENTE: CLIENTE DOIS"_s,
                     u"Falta CEP DO CLIENTE: CLIENTE TRES"_s, u"*** Erros: 2"_s}));
}

void TestDataHouse::customersWithEverythingExportWithoutErrors() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    DataHouseOptions options = March(folder.path());
    // "#" stands for a blank in the filter, and is shown so.
    options.filter = u"PDS.SIGLA#=#'C1'"_s;
    options.sales = false;
    const DataHouseResult result = ExportDataHouse(options);
    QCOMPARE(options.filter, u"PDS.SIGLA = 'C1'"_s);
    QCOMPARE(result.errors, 0);
    QCOMPARE(result.messages,
             (QStringList{u"Arquivo Clientes - DH_PDS_C.TXT"_s, u"*** Erros: 0"_s}));
    QCOMPARE(ReadExportFile(folder.filePath(u"DH_PDS_C.TXT"_s)), QStringList{C1Line()});
    QVERIFY(!QFile::exists(folder.filePath(u"DH_PDS_V.TXT"_s)));
}

void TestDataHouse::cityCodes_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("expected");
    QTest::newRow("found") << u"SAO PAULO"_s << u"11"_s;
    QTest::newRow("first 14 characters") << u"SAO JOSE DOS CAMPOS"_s << u"13"_s;
    QTest::newRow("trailing blanks do not count") << u"SAO PAULO   "_s << u"11"_s;
    QTest::newRow("code zero") << u"CAMPINAS"_s << u"965"_s;
    QTest::newRow("not listed") << u"SANTOS"_s << u"965"_s;
    QTest::newRow("no city") << QString() << u"965"_s;
}

void TestDataHouse::cityCodes() {
    QFETCH(QString, city);
    QFETCH(QString, expected);
    const CityCodes codes{
        {u"SAO PAULO"_s, u"11"_s}, {u"SAO JOSE DOS C"_s, u"13"_s}, {u"CAMPINAS"_s, u"0"_s}};
    QCOMPARE(DataHouseCityCode(codes, city), expected);
}

void TestDataHouse::failedRunsWriteNothing_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<bool>("dropCities");
    QTest::addColumn<QString>("reason");
    QTest::newRow("invoice query fails")
        << u"NO_SUCH_COLUMN = 1"_s << u"01/03/26"_s << false
        << u"A consulta das notas falhou; nada foi exportado: Dynamic SQL Error"_s;
    // The invoices were read; the customers' lookup fails: no sales file
    // either, both files show one run or none.
    QTest::newRow("city query fails")
        << QString() << u"01/03/26"_s << true << u"A consulta das cidades falhou"_s;
    QTest::newRow("filter reaching beyond the selection")
        << u"1=1) OR (1=1"_s << u"01/03/26"_s << false << u"Filtro recusado"_s;
    QTest::newRow("no start date")
        << QString() << u"  /  /  "_s << false << u"Deve ser informada a Data Inicial e a Final"_s;
    QTest::newRow("impossible date")
        << QString() << u"31/02/26"_s << false << u"Data inválida: 31/02/26"_s;
}

void TestDataHouse::failedRunsWriteNothing() {
    QFETCH(QString, filter);
    QFETCH(QString, startDate);
    QFETCH(bool, dropCities);
    QFETCH(QString, reason);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    if (dropCities) {
        fixture.erp().exec(u"DROP TABLE VRTNCID"_s);
        fixture.refreshTableLists();
    }
    QTemporaryDir folder;
    {
        QFile old(folder.filePath(u"DH_PDS_V.TXT"_s));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("OLD SALES");
    }
    DataHouseOptions options = March(folder.path());
    options.startDate = startDate;
    options.filter = filter;
    QString message;
    try {
        ExportDataHouse(options);
    } catch (const DataHouseError& error) {
        message = error.message();
    }
    QVERIFY2(message.startsWith(reason), qPrintable(message));
    QFile old(folder.filePath(u"DH_PDS_V.TXT"_s));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("OLD SALES"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"DH_PDS_V.TXT"_s});
}

void TestDataHouse::fileThatCannotBeWrittenFailsAlone() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    // A folder in the way of the sales file: it cannot be created; the
    // customers file is still written.
    QVERIFY(QDir(folder.path()).mkdir(u"DH_PDS_V.TXT"_s));
    DataHouseOptions options = March(folder.path());
    const DataHouseResult result = ExportDataHouse(options);
    QVERIFY(!result.ok());
    QCOMPARE(result.failures.size(), 1);
    QVERIFY2(result.failures.first().startsWith(u"Erro na criação do arquivo de saída"_s),
             qPrintable(result.failures.first()));
    QCOMPARE(result.salesLines, 0);
    QCOMPARE(result.customerLines, 4);
    QCOMPARE(result.messages.first(), u"Arquivo Clientes - DH_PDS_C.TXT"_s);
}

void TestDataHouse::folderBesideTheDatabaseByDefault() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    data::Globals().registry.dirs[1] = folder.filePath(u"livrax1.fdb"_s);
    DataHouseOptions options = March(QString());
    const DataHouseResult result = ExportDataHouse(options);
    QVERIFY(result.ok());
    QCOMPARE(options.folder, folder.filePath(u"EXPORTAR"_s));
    QCOMPARE(result.folder, options.folder);
    QCOMPARE(ReadExportFile(folder.filePath(u"EXPORTAR/DH_PDS_V.TXT"_s)), MarchSales(true));
}

void TestDataHouse::folderThatCannotBeMade() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    QFile file(folder.filePath(u"arquivo"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // A folder inside a plain file cannot be made.
    DataHouseOptions options = March(folder.filePath(u"arquivo/saida"_s));
    QString message;
    try {
        ExportDataHouse(options);
    } catch (const DataHouseError& error) {
        message = error.message();
    }
    QCOMPARE(message, u"Diretório de destino não localizado"_s);
}

void TestDataHouse::settingsRoundTrip() {
    test::ModuleFixture fixture;
    // A new installation writes the ICMS amounts.
    QVERIFY(LoadDataHouseSettings().writeIcms);
    // A line the export does not use keeps its stored text.
    data::ParamLines().clear();
    data::ParamLines().setLine(1, u"OUTRA COISA"_s);
    QVERIFY(data::ParamWrite(data::DatabaseFor(u"PDS"_s), u"PAR_DH_PDS"_s, 20));

    DataHouseOptions saved;
    saved.startDate = u"01/03/26"_s;
    saved.endDate = u"31/03/26"_s;
    saved.filter = u"PDS.SIGLA = 'C1'"_s;
    saved.folder = u"/tmp/dh"_s;
    saved.writeIcms = false;
    data::ParamLines().clear();
    QVERIFY(SaveDataHouseSettings(saved));

    data::ParamLines().clear();
    QVERIFY(data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_DH_PDS"_s, 20));
    const data::ParamLineArray& lines = data::ParamLines();
    QCOMPARE(lines.line(1), u"OUTRA COISA"_s);
    QCOMPARE(lines.line(3), u"01/03/26"_s);
    QCOMPARE(lines.line(4), u"31/03/26"_s);
    QCOMPARE(lines.line(6), u"PDS.SIGLA = 'C1'"_s);
    QCOMPARE(lines.line(11), u"/tmp/dh"_s);
    QCOMPARE(lines.line(12), u"N"_s);

    const DataHouseOptions loaded = LoadDataHouseSettings();
    QCOMPARE(loaded.startDate, saved.startDate);
    QCOMPARE(loaded.endDate, saved.endDate);
    QCOMPARE(loaded.filter, saved.filter);
    QCOMPARE(loaded.folder, saved.folder);
    QCOMPARE(loaded.writeIcms, false);
}

QTEST_MAIN(TestDataHouse)
#include "test_datahouse.moc"
