// The SINTEGRA staging over a small hand-made March: the rows of every grid
// and the totals worked out by hand from the documents below.

#include "common/numbers.h"
#include "data/db_error.h"
#include "efiles/sintegra_staging.h"
#include "platform/clock.h"
#include "support/module_fixture.h"

#include <QTest>

using namespace livrax;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

// Entries: 100 (a company whose registration says "isento", amounts with a
// third decimal, IPI), 101 cancelled (no series, a supplier with an empty
// country, retained ICMS), 102 in April. Exits: 10, 11, 12 on 02/03 and 13
// on 03/03; 11 has no value and no ICMS and a customer without a state, 10
// has retained ICMS and two items, one of a product that is not registered.
const QString Fixture = uR"(
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO, PAIS) VALUES ('FOR1', 'FORNECEDOR UM', 'J', '12.345.678/0001-90', 'isento', 'SP', 'BRASIL');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO, PAIS) VALUES ('FOR2', 'FORNECEDOR DOIS', 'J', '98.765.432/0001-10', '123.456', 'RS', '');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO, PAIS) VALUES ('CLI1', 'CLIENTE UM', 'F', '123.456.789-01', '555', 'RS', 'Brasil');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO, PAIS) VALUES ('CLI2', 'CLIENTE DOIS', 'J', '11.222.333/0001-81', '0960001', '', 'BRASIL');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, VOLESPEC, LIQUIDO, FRETE, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIBASE, IPIVALOR, IPIISENTAS, SUBSTRBASE, SUBSTRVALOR) VALUES (1, 100, '1', 'FOR1', '05.03.2026', '04.03.2026', 1102, 'F', 'CTRC', 1000.129, 0, 800, 96, 50, 12, 900, 90, 10, 0, 0);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, VOLESPEC, LIQUIDO, FRETE, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIBASE, IPIVALOR, IPIISENTAS, SUBSTRBASE, SUBSTRVALOR) VALUES (2, 101, '', 'FOR2', '06.03.2026', '06.03.2026', 2102, 'C', '', 500, 15, 500, 60, 0, 12, 0, 0, 0, 500, 25);
INSERT INTO VRTNPDE (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIVALOR, SUBSTRVALOR) VALUES (3, 102, '1', 'FOR1', '01.04.2026', '01.04.2026', 1102, 'F', 70, 70, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, FRETE, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIVALOR, SUBSTRBASE, SUBSTRVALOR) VALUES (10, 10, '1', 'CLI1', '02.03.2026', '02.03.2026', 5102, 'F', 100, 5, 100, 17, 0, 17, 0, 120, 3.4);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIVALOR, SUBSTRVALOR) VALUES (11, 11, '1', 'CLI2', '02.03.2026', '02.03.2026', 5102, 'F', 0, 0, 0, 0, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIVALOR, SUBSTRVALOR) VALUES (12, 12, '1', 'CLI1', '02.03.2026', '02.03.2026', 5949, 'F', 50, 0, 0, 50, 0, 0, 0);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SERIE, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, ICMPERC, IPIVALOR, SUBSTRVALOR) VALUES (13, 13, '1', 'CLI1', '03.03.2026', '03.03.2026', 5102, 'F', 200, 200, 24, 0, 12, 0, 0);
INSERT INTO VRTNPRO (PRODUTO, NOME, ST, UNIDADE, ICMPERC, IPIPERC, REDICM, PRMAX) VALUES ('P1', 'PRODUTO UM', '010', 'UN', 17, 5, 0, 12.349);
INSERT INTO VRTNPIS (PEDIDO, SEQ, PRODUTO, QUANT, VALORA, VALDESC, DESCVALOR, CONTABIL, ICMPERC, ICMVALOR, SUBSTR, IPIVALOR) VALUES (10, 1, 'P1', 2.5, 60.009, 1, 0.5, 59, 17, 10.2, 2, 0);
INSERT INTO VRTNPIS (PEDIDO, SEQ, PRODUTO, QUANT, VALORA, VALDESC, DESCVALOR, CONTABIL, ICMPERC, ICMVALOR, SUBSTR, IPIVALOR) VALUES (10, 2, 'PX', 1, 40, 0, 0, 40, 17, 6.8, 1.4, 0);
INSERT INTO VRTNPIS (PEDIDO, SEQ, PRODUTO, QUANT, VALORA, CONTABIL) VALUES (13, 1, 'P1', 9, 200, 200);
)"_s;

// Bills of lading of branch 1 in March: air 5 (a registration left blank),
// air 6 cancelled, air 7 of another branch, air 8 deleted; road 20. Air
// waybills: 12345678 without ICMS, 555 under master number 999, one of an
// unknown agency and one not marked for the file.
const QString FreightFixture = uR"(
INSERT INTO VRTNFCA (NCONHEC, FILIAL, DTEMIS, STATUS, TOTAL, BASECALC, VALICM, TFRETE, DESCGC, DESIE, DESESTADO, DESNOME, NATOPER) VALUES (5, 1, '10.03.2026', 'N', 300, 250, 30, 'P', '11.111.111/0001-11', '', 'RS', 'TOMADOR AR', 5352);
INSERT INTO VRTNFCA (NCONHEC, FILIAL, DTEMIS, STATUS, TOTAL, BASECALC, VALICM, TFRETE, DESCGC, DESIE, DESESTADO, DESNOME, NATOPER) VALUES (6, 1, '11.03.2026', 'C', 100, 100, 12, 'F', '22.222.222/0001-22', '77', 'SC', 'CANCELADO', 6352);
INSERT INTO VRTNFCA (NCONHEC, FILIAL, DTEMIS, STATUS, TOTAL, BASECALC, VALICM, TFRETE, DESCGC, DESIE, DESESTADO, DESNOME, NATOPER) VALUES (7, 2, '11.03.2026', 'N', 999, 999, 99, 'P', '33', '33', 'RS', 'OUTRA FILIAL', 5352);
INSERT INTO VRTNFCA (NCONHEC, FILIAL, DTEMIS, STATUS, TOTAL, BASECALC, VALICM, TFRETE, DESCGC, DESIE, DESESTADO, DESNOME, NATOPER) VALUES (8, 1, '11.03.2026', '*', 999, 999, 99, 'P', '44', '44', 'RS', 'EXCLUIDO', 5352);
INSERT INTO VRTNFCT (NCONHEC, FILIAL, DTEMIS, STATUS, VALTOTAL, BASECALC, VALICM, TFRETE, DESCNPJ, DESIE, DESESTADO, DESNOME, NATOPER) VALUES (20, 1, '12.03.2026', 'N', 80, 80, 9.6, 'F', '55.555.555/0001-55', '123', 'SP', 'TOMADOR ESTRADA', 6352);
INSERT INTO VRTNCEA (CODCEA, CGC, IE, ESTADO, NOME, ATE) VALUES ('AER01', '66.666.666/0001-66', '', 'RS', 'AGENCIA AEREA', 'A');
INSERT INTO VRTNAWB (NUMERO, CODCEA, FILIAL, DTMOV, VALOR, ICM, NAWB, SINTEGRA) VALUES ('12345678', 'AER01', 1, '13.03.2026', 40, 0, '', 'S');
INSERT INTO VRTNAWB (NUMERO, CODCEA, FILIAL, DTMOV, VALOR, ICM, NAWB, SINTEGRA) VALUES ('555', 'AER01', 1, '14.03.2026', 10, 1.2, '999', 'S');
INSERT INTO VRTNAWB (NUMERO, CODCEA, FILIAL, DTMOV, VALOR, ICM, NAWB, SINTEGRA) VALUES ('777', 'NOPE', 1, '14.03.2026', 10, 0, '', 'S');
INSERT INTO VRTNAWB (NUMERO, CODCEA, FILIAL, DTMOV, VALOR, ICM, NAWB, SINTEGRA) VALUES ('888', 'AER01', 1, '14.03.2026', 10, 0, '', 'N');
INSERT INTO VRTNNFC (CONTIPO, CONNUMERO, FILIAL, DESCGC, DESINSCEST, DESESTADO, EMICGC, EMIINSCEST, EMIESTADO, NOTDTEMIS, NOTNUMERO, NOTVALOR, NOTMODELO, NOTSERIE) VALUES ('FCA', 5, 1, '11.111.111/0001-11', '096/0123458', 'RS', '99.888.777/0001-66', '12.345', 'SP', '09.03.2026', 4321, 1234.56, '', '');
INSERT INTO VRTNNFC (CONTIPO, CONNUMERO, FILIAL, DESCGC, DESINSCEST, DESESTADO, EMICGC, EMIINSCEST, EMIESTADO, NOTDTEMIS, NOTNUMERO, NOTVALOR, NOTMODELO, NOTSERIE) VALUES ('FCA', 5, 1, '11.111.111/0001-11', '096/0123458', 'RS', '99.888.777/0001-66', '12.345', 'SP', '09.03.2026', 4322, 10, '04', '1');
INSERT INTO VRTNNFC (CONTIPO, CONNUMERO, FILIAL, DESCGC, DESINSCEST, DESESTADO, EMICGC, EMIINSCEST, EMIESTADO, NOTDTEMIS, NOTNUMERO, NOTVALOR, NOTMODELO, NOTSERIE) VALUES ('FCT', 20, 1, '55.555.555/0001-55', '123', 'SP', '99.888.777/0001-66', '12.345', 'SP', '11.03.2026', 77, 80, '01', '2');
)"_s;

QString Money(qint64 value) {
    return FormatScaled(value, 0, 2);
}

QString Totals(const StagedTotals& t) {
    return Money(t.accounting) + u' ' + Money(t.base) + u' ' + Money(t.tax);
}

QStringList Lines(const std::vector<Row50>& rows) {
    QStringList lines;
    for (const Row50& r : rows)
        lines << QStringList{r.cnpj,         r.stateReg,    r.date,        r.state,
                             r.model,        r.series,      r.number,      r.cfop,
                             Money(r.total), Money(r.base), Money(r.icms), Money(r.exempt),
                             Money(r.other), Money(r.rate), r.cancelled,   r.partner}
                     .join(u'|');
    return lines;
}

QStringList Lines(const std::vector<Row51>& rows) {
    QStringList lines;
    for (const Row51& r : rows)
        lines << QStringList{r.cnpj,       r.stateReg,      r.date,         r.state,
                             r.series,     r.number,        r.cfop,         Money(r.total),
                             Money(r.ipi), Money(r.exempt), Money(r.other), r.cancelled}
                     .join(u'|');
    return lines;
}

QStringList Lines(const std::vector<Row53>& rows) {
    QStringList lines;
    for (const Row53& r : rows)
        lines << QStringList{r.cnpj,         r.stateReg,        r.date,
                             r.state,        r.model,           r.series,
                             r.subSeries,    r.number,          r.cfop,
                             Money(r.total), Money(r.retained), Money(r.expenses),
                             r.cancelled,    r.direction,       r.order}
                     .join(u'|');
    return lines;
}

QStringList Lines(const std::vector<Row61>& rows) {
    QStringList lines;
    for (const Row61& r : rows)
        lines << QStringList{r.type,        r.date,        r.model,         r.series,
                             r.subSeries,   r.firstNumber, r.lastNumber,    Money(r.total),
                             Money(r.base), Money(r.icms), Money(r.exempt), Money(r.other),
                             Money(r.rate)}
                     .join(u'|');
    return lines;
}

QStringList Lines(const std::vector<Row70>& rows) {
    QStringList lines;
    for (const Row70& r : rows)
        lines << QStringList{r.cnpj,          r.stateReg,     r.date,        r.state,
                             r.model,         r.series,       r.subSeries,   r.number,
                             r.cfop,          Money(r.total), Money(r.base), Money(r.icms),
                             Money(r.exempt), Money(r.other), r.freight,     r.status,
                             r.company}
                     .join(u'|');
    return lines;
}

QStringList Lines(const std::vector<Row71>& rows) {
    QStringList lines;
    for (const Row71& r : rows)
        lines << QStringList{r.takerCnpj,    r.takerStateReg, r.date,           r.state,
                             r.model,        r.series,        r.subSeries,      r.billNumber,
                             r.senderState,  r.senderCnpj,    r.senderStateReg, r.invoiceDate,
                             r.invoiceModel, r.invoiceSeries, r.invoiceNumber,  Money(r.value)}
                     .join(u'|');
    return lines;
}

SintegraStagingOptions March() {
    SintegraStagingOptions options;
    options.startDate = u"01/03/26"_s;
    options.endDate = u"31/03/26"_s;
    options.choice.r50 = options.choice.r51 = options.choice.r53 = options.choice.r61 = true;
    options.choice.r70 = options.choice.r71 = true;
    options.model61 = u"02"_s;
    options.series61 = u"D"_s;
    options.subSeries61 = u"1"_s;
    options.informantState = u"SC"_s;
    return options;
}

} // namespace

class TestSintegraStaging : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 4, 2), QTime(10, 0))); }
    void cleanup() { platform::Clock::reset(); }
    void documents();
    void entrySeries_data();
    void entrySeries();
    void periodWithoutPurchases();
    void record61DaySummaries();
    void freightTables();
    void freightFromPurchases();
    void waybillNumber_data();
    void waybillNumber();
    void failedQueriesAreListed_data();
    void failedQueriesAreListed();
    void itemsAndProducts();
    void companyCopyOfATable();
    void missingTables_data();
    void missingTables();
    void productsInAnotherDatabase();
};

void TestSintegraStaging::documents() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    const SintegraStaging staged = StageSintegra(March());
    QCOMPARE(staged.failures, QStringList());
    // Entries by date, exits by number. 100: the third decimal cut, "isento"
    // made ISENTO; 101 cancelled with its amounts, its empty series made
    // "00", its supplier without a country made "EX"; 11 cancelled for
    // having neither value nor ICMS, its empty state the informant's; the
    // person's registration ISENTO, "Brasil" read as Brazil.
    QCOMPARE(
        Lines(staged.rows50),
        (QStringList{
            u"*** ENTRADAS ***||||||||0,00|0,00|0,00|0,00|0,00|0,00||"_s,
            u"12.345.678/0001-90|ISENTO|05/03/26|SP|01|1|100|1102|1000,12|800,00|96,00|50,00|150,12|12,00|N|FOR1"_s,
            u"98.765.432/0001-10|123.456|06/03/26|EX|01|00|101|2102|500,00|500,00|60,00|0,00|0,00|12,00|S|FOR2"_s,
            u"*** SAÍDAS ***||||||||0,00|0,00|0,00|0,00|0,00|0,00||"_s,
            u"123.456.789-01|ISENTO|02/03/26|RS|01|1|10|5102|100,00|100,00|17,00|0,00|0,00|17,00|N|CLI1"_s,
            u"11.222.333/0001-81|0960001|02/03/26|SC|01|1|11|5102|0,00|0,00|0,00|0,00|0,00|0,00|S|CLI2"_s,
            u"123.456.789-01|ISENTO|02/03/26|RS|01|1|12|5949|50,00|0,00|0,00|50,00|0,00|0,00|N|CLI1"_s,
            u"123.456.789-01|ISENTO|03/03/26|RS|01|1|13|5102|200,00|200,00|24,00|0,00|0,00|12,00|N|CLI1"_s}));
    // Cancelled rows add nothing.
    QCOMPARE(Totals(staged.entries50), u"1000,12 800,00 96,00"_s);
    QCOMPARE(Totals(staged.exits50), u"350,00 300,00 41,00"_s);

    // Record 51: only documents with IPI; outras = 1000,12 - 900 - 10.
    QCOMPARE(Lines(staged.rows51),
             (QStringList{
                 u"*** ENTRADAS ***|||||||0,00|0,00|0,00|0,00|"_s,
                 u"12.345.678/0001-90|ISENTO|05/03/26|SP|1|100|1102|1000,12|90,00|10,00|90,12|N"_s,
                 u"*** SAÍDAS ***|||||||0,00|0,00|0,00|0,00|"_s}));
    QCOMPARE(Totals(staged.entries51), u"1000,12 900,00 90,00"_s);
    QCOMPARE(Totals(staged.exits51), u"0,00 0,00 0,00"_s);

    // Record 53: only documents with retained ICMS; the cancelled entry
    // keeps its series empty (E_SERIE_50 is for record 50 only).
    QCOMPARE(
        Lines(staged.rows53),
        (QStringList{
            u"*** ENTRADAS ***|||||||||0,00|0,00|0,00|||"_s,
            u"98.765.432/0001-10|123.456|06/03/26|EX|01||  |101|2102|500,00|25,00|15,00|S|E|2"_s,
            u"*** SAÍDAS ***|||||||||0,00|0,00|0,00|||"_s,
            u"123.456.789-01|ISENTO|02/03/26|RS|01|1|  |10|5102|100,00|3,40|5,00|N|S|10"_s}));
    QCOMPARE(Totals(staged.entries53), u"0,00 0,00 0,00"_s);
    QCOMPARE(Totals(staged.exits53), u"100,00 120,00 3,40"_s);
    QCOMPARE(staged.entryHint, u"(VRTNPDE.FAT = 'F' OR VRTNPDE.FAT = 'C') AND (VRTNPDE.DATA >= "
                               "'01.03.2026' AND VRTNPDE.DATA  <= '31.03.2026')"_s);
}

void TestSintegraStaging::entrySeries_data() {
    QTest::addColumn<bool>("blankSeries");
    QTest::addColumn<QString>("series50");
    QTest::addColumn<QString>("zeroIcms");
    QTest::addColumn<QStringList>("expected"); // 100 and 101 in record 50, 101 in 53
    QTest::newRow("series kept") << false << u"00"_s << u"N"_s
                                 << QStringList{u"1"_s, u"00"_s, QString()};
    QTest::newRow("blank series, E_SERIE_50 fills record 50")
        << true << u"00"_s << u"N"_s << QStringList{u"00"_s, u"00"_s, u" "_s};
    QTest::newRow("blank series, E_SERIE_50 empty")
        << true << QString() << u"N"_s << QStringList{u" "_s, u" "_s, u" "_s};
    // Zeroed ICMS on entries: 100 keeps its value and stays a document.
    QTest::newRow("entry ICMS zeroed")
        << false << u"00"_s << u"S"_s << QStringList{u"1"_s, u"00"_s, QString()};
}

void TestSintegraStaging::entrySeries() {
    QFETCH(bool, blankSeries);
    QFETCH(QString, series50);
    QFETCH(QString, zeroIcms);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    SintegraStagingOptions options = March();
    options.blankEntrySeries = blankSeries;
    options.entrySeries50 = series50;
    options.zeroEntryIcms = zeroIcms == u"S"_s;
    const SintegraStaging staged = StageSintegra(options);
    QCOMPARE(staged.rows50.size(), std::size_t(8));
    QCOMPARE(
        (QStringList{staged.rows50[1].series, staged.rows50[2].series, staged.rows53[1].series}),
        expected);
    // Exits keep their series.
    QCOMPARE(staged.rows50[4].series, u"1"_s);
    const bool zeroed = options.zeroEntryIcms;
    QCOMPARE(Money(staged.rows50[1].icms), zeroed ? u"0,00"_s : u"96,00"_s);
    QCOMPARE(staged.rows50[1].cancelled, u"N"_s);
    QCOMPARE(Totals(staged.entries50),
             zeroed ? u"1000,12 800,00 0,00"_s : u"1000,12 800,00 96,00"_s);
}

void TestSintegraStaging::periodWithoutPurchases() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.erp().exec(u"DELETE FROM VRTNPDE"_s);
    SintegraStagingOptions options = March();
    const SintegraStaging staged = StageSintegra(options);
    QCOMPARE(staged.failures, QStringList());
    QCOMPARE(staged.rows50.size(), std::size_t(6));
    QCOMPARE(staged.rows50[0].cnpj, u"*** ENTRADAS ***"_s);
    QCOMPARE(staged.rows50[1].cnpj, u"*** SAÍDAS ***"_s);
    QCOMPARE(staged.rows50[2].number, u"10"_s);
    QCOMPARE((QStringList{staged.rows51[0].cnpj, staged.rows51[1].cnpj}),
             (QStringList{u"*** ENTRADAS ***"_s, u"*** SAÍDAS ***"_s}));
    QCOMPARE(staged.rows53.size(), std::size_t(3));
    QCOMPARE(staged.rows53[1].cnpj, u"*** SAÍDAS ***"_s);
    QCOMPARE(Totals(staged.entries50), u"0,00 0,00 0,00"_s);
    QCOMPARE(Totals(staged.exits50), u"350,00 300,00 41,00"_s);
}

void TestSintegraStaging::record61DaySummaries() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    SintegraStagingOptions options = March();
    options.zeroExitIcms = true;
    const SintegraStaging staged = StageSintegra(options);
    // Every sale a detail row, cancelled 11 included; a summary after each
    // day's last sale with the day's first and last numbers and the rate of
    // its last sale. ICMS zeroed by CB_ZERAICM.
    QCOMPARE(Lines(staged.rows61),
             (QStringList{u"*** SAÍDAS ***|||||||0,00|0,00|0,00|0,00|0,00|0,00"_s,
                          u"**|02/03/26|02|D|1|10|10|100,00|100,00|0,00|0,00|0,00|17,00"_s,
                          u"**|02/03/26|02|D|1|11|11|0,00|0,00|0,00|0,00|0,00|0,00"_s,
                          u"**|02/03/26|02|D|1|12|12|50,00|0,00|0,00|50,00|0,00|0,00"_s,
                          u"61|02/03/26|02|D|1|10|12|150,00|100,00|0,00|50,00|0,00|0,00"_s,
                          u"**|03/03/26|02|D|1|13|13|200,00|200,00|0,00|0,00|0,00|12,00"_s,
                          u"61|03/03/26|02|D|1|13|13|200,00|200,00|0,00|0,00|0,00|12,00"_s}));
    QCOMPARE(Money(staged.exits61), u"350,00"_s);
    // Record 61 not ticked: the section row only.
    options.choice.r61 = false;
    QCOMPARE(StageSintegra(options).rows61.size(), std::size_t(1));
}

void TestSintegraStaging::freightTables() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.erp().load(FreightFixture);
    SintegraStagingOptions options = March();
    QStringList progress;
    const SintegraStaging staged =
        StageSintegra(options, [&](const QString& number) { progress << number; });
    QCOMPARE(staged.failures, QStringList());
    // Other branches' and deleted bills are left out; the cancelled one is
    // listed with zero amounts; waybills of an unknown agency or not marked
    // for the file are left out.
    QCOMPARE(
        Lines(staged.rows70),
        (QStringList{
            u"*** AÉREO ***|||||||||0,00|0,00|0,00|0,00|0,00|||"_s,
            u"11.111.111/0001-11|ISENTO|10/03/26|RS|10|U|  |000005|5352|300,00|250,00|30,00|50,00|0,00|1|N|TOMADOR AR"_s,
            u"22.222.222/0001-22|77|11/03/26|SC|10|U|  |000006|6352|0,00|0,00|0,00|0,00|0,00|2|S|CANCELADO"_s,
            u"*** TERRESTRE ***|||||||||0,00|0,00|0,00|0,00|0,00|||"_s,
            u"55.555.555/0001-55|123|12/03/26|SP|08|U|  |000020|6352|80,00|80,00|9,60|0,00|0,00|2|N|TOMADOR ESTRADA"_s,
            u"*** A W B ***|||||||||0,00|0,00|0,00|0,00|0,00|||"_s,
            u"66.666.666/0001-66|ISENTO|13/03/26|RS|10|U|  |234567|1351|40,00|0,00|0,00|40,00|0,00|1|N|AGENCIA AEREA"_s,
            u"66.666.666/0001-66|ISENTO|14/03/26|RS|10|U|  |000999|1351|10,00|10,00|1,20|0,00|0,00|1|N|AGENCIA AEREA"_s}));
    QCOMPARE(Totals(staged.air), u"300,00 250,00 30,00"_s);
    QCOMPARE(Totals(staged.road), u"80,00 80,00 9,60"_s);
    QCOMPARE(progress, (QStringList{u"5"_s, u"6"_s, u"20"_s}));

    // Record 71: one row per carried invoice, symbols stripped from the
    // CNPJ and registrations, blank model and series filled.
    QCOMPARE(
        Lines(staged.rows71),
        (QStringList{
            u"*** NFC AEREO|||||||||||||||0,00"_s,
            u"11111111000111|0960123458|10/03/26|RS|10|U||000005|SP|99888777000166|12345|09/03/26|01|000|004321|1234,56"_s,
            u"11111111000111|0960123458|10/03/26|RS|10|U||000005|SP|99888777000166|12345|09/03/26|04|1|004322|10,00"_s,
            u"*** NFC TERR|||||||||||||||0,00"_s,
            u"55555555000155|123|12/03/26|SP|08|U||000020|SP|99888777000166|12345|11/03/26|01|2|000077|80,00"_s}));

    // Air only, no waybills: the road and waybill parts are not staged.
    options.road = false;
    options.waybills = false;
    const SintegraStaging air = StageSintegra(options);
    QCOMPARE(air.rows70.size(), std::size_t(3));
    QCOMPARE(air.rows71.size(), std::size_t(3));
    QCOMPARE(Totals(air.road), u"0,00 0,00 0,00"_s);
}

void TestSintegraStaging::freightFromPurchases() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    SintegraStagingOptions options = March();
    options.freightFromEntries = true;
    options.freightPayer = u"1 - CIF"_s;
    const SintegraStaging staged = StageSintegra(options);
    // Issued purchases only (101 is cancelled), their kind as the model, the
    // registration as stored.
    QCOMPARE(
        Lines(staged.rows70),
        (QStringList{
            u"*** PDE ***|||||||||0,00|0,00|0,00|0,00|0,00|||"_s,
            u"12.345.678/0001-90|isento|05/03/26|SP|CT|U|  |000100|1102|1000,12|800,00|96,00|200,12|0,00|1|N|FORNECEDOR UM"_s}));
    QCOMPARE(Totals(staged.air), u"1000,12 800,00 96,00"_s);
    QCOMPARE(staged.entryFreightHint,
             u"(VRTNPDE.FAT = 'F') AND VRTNPDE.DATA >= '01.03.2026' AND VRTNPDE.DATA <= "
             "'31.03.2026'"_s);
}

void TestSintegraStaging::waybillNumber_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("expected");
    QTest::newRow("eight characters") << u"12345678"_s << QString() << u"234567"_s;
    QTest::newRow("seven characters") << u" 1234567 "_s << QString() << u"123456"_s;
    QTest::newRow("six characters") << u"123456"_s << QString() << u"123456"_s;
    QTest::newRow("master number") << u"12345678"_s << u"999"_s << u"999"_s;
}

void TestSintegraStaging::waybillNumber() {
    QFETCH(QString, number);
    QFETCH(QString, master);
    QFETCH(QString, expected);
    QCOMPARE(WaybillNumber(number, master), expected);
}

void TestSintegraStaging::failedQueriesAreListed_data() {
    QTest::addColumn<QString>("entryFilter");
    QTest::addColumn<QString>("exitFilter");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("rows50");
    // The entries' query fails; the exits are staged below them as usual.
    QTest::newRow("not valid SQL")
        << u"NO_SUCH_COLUMN = 1"_s << QString()
        << u"Entradas (registros 50, 51 e 53): a consulta falhou: "_s << 6;
    QTest::newRow("widens the query")
        << QString() << u"1=1) OR (1=1"_s
        << u"Saídas (registros 50, 51 e 53): filtro recusado (só pode restringir a consulta): "
           "parêntese fechado sem ter sido aberto"_s
        << 4;
    QTest::newRow("narrows the query")
        << u"VRTNPDE.NNOTA = 100"_s << u"VRTNEMP.SIGLA = 'CLI1'"_s << QString() << 6;
}

void TestSintegraStaging::failedQueriesAreListed() {
    QFETCH(QString, entryFilter);
    QFETCH(QString, exitFilter);
    QFETCH(QString, reason);
    QFETCH(int, rows50);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    SintegraStagingOptions options = March();
    options.entryFilter = entryFilter;
    options.exitFilter = exitFilter;
    const SintegraStaging staged = StageSintegra(options);
    if (reason.isEmpty()) {
        QCOMPARE(staged.failures, QStringList());
    } else {
        QCOMPARE(staged.failures.size(), 1);
        QVERIFY2(staged.failures[0].startsWith(reason), qPrintable(staged.failures[0]));
    }
    QCOMPARE(staged.rows50.size(), std::size_t(rows50));
    // The other steps go on: record 61 has its four sales and two days.
    QCOMPARE(staged.rows61.size(), std::size_t(7));
}

void TestSintegraStaging::itemsAndProducts() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    const SintegraStaging staged = StageSintegra(March());
    const Row53& document = staged.rows53.at(3);
    QCOMPARE(document.order, u"10"_s);
    const ItemSource items = DatabaseItems();
    const std::vector<Item54> read = items(document);
    QCOMPARE(read.size(), std::size_t(2));
    QCOMPARE(
        (QStringList{read[0].sequence, read[0].product, read[0].productName, read[0].taxSituation,
                     ScaledToText(read[0].quantity), Money(read[0].value), Money(read[0].discount),
                     Money(read[0].discountValue), Money(read[0].accounting), Money(read[0].icms),
                     Money(read[0].retained), Money(read[0].icmsRate)}),
        (QStringList{u"1"_s, u"P1"_s, u"PRODUTO UM"_s, u"010"_s, u"2,5000"_s, u"60,00"_s, u"1,00"_s,
                     u"0,50"_s, u"59,00"_s, u"10,20"_s, u"2,00"_s, u"17,00"_s}));
    // An item whose product is not registered: name and situation empty.
    QCOMPARE((QStringList{read[1].product, read[1].productName, read[1].taxSituation}),
             (QStringList{u"PX"_s, QString(), QString()}));
    // The entry 101 has no items.
    QCOMPARE(items(staged.rows53.at(1)).size(), std::size_t(0));

    // Through the writers: the 54 lines follow their 53 line, and the
    // gathered products are completed for record 75.
    SintegraChoice choice;
    choice.r53 = choice.r54 = choice.r75 = true;
    SintegraWriter writer({}, choice);
    writer.Write53With54(staged.rows53, items);
    QCOMPARE(writer.count(54), 2);
    const std::vector<Product75> products = ReadProducts75(writer.products75());
    QCOMPARE(products.size(), std::size_t(2));
    QCOMPARE((QStringList{products[0].code, products[0].description, products[0].unit,
                          Money(products[0].ipiRate), Money(products[0].icmsRate),
                          Money(products[0].maxPrice)}),
             (QStringList{u"P1"_s, u"PRODUTO UM"_s, u"UN"_s, u"5,00"_s, u"17,00"_s, u"12,34"_s}));
    // Not registered: its values stay zero.
    QCOMPARE((QStringList{products[1].code, products[1].unit, Money(products[1].icmsRate)}),
             (QStringList{u"PX"_s, QString(), u"0,00"_s}));
}

void TestSintegraStaging::companyCopyOfATable() {
    // A database that keeps the purchase invoices once per company: the
    // company's copy is read under the table's plain name, so the user's
    // filter names it as usual.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.erp().exec(
        u"CREATE TABLE VRTNPDE001 (PEDIDO INTEGER, FILIAL INTEGER, NNOTA INTEGER, SERIE "
        "VARCHAR(2), SIGLA VARCHAR(20), DATA DATE, DTNOTA DATE, FAT CHAR(1), LIQUIDO "
        "NUMERIC(15,4), VOLESPEC VARCHAR(20), NATOPER INTEGER, FRETE NUMERIC(15,4), ICMBASE "
        "NUMERIC(15,4), ICMVALOR NUMERIC(15,4), ICMISENTAS NUMERIC(15,4), ICMPERC NUMERIC(7,4), "
        "IPIBASE NUMERIC(15,4), IPIVALOR NUMERIC(15,4), IPIISENTAS NUMERIC(15,4), SUBSTRBASE "
        "NUMERIC(15,4), SUBSTRVALOR NUMERIC(15,4))"_s);
    fixture.erp().load(
        u"INSERT INTO VRTNPDE001 (PEDIDO, NNOTA, SERIE, SIGLA, DATA, FAT, LIQUIDO, NATOPER, "
        "ICMBASE, ICMVALOR, IPIVALOR, SUBSTRVALOR) VALUES (7, 900, '3', 'FOR1', '07.03.2026', "
        "'F', 10, 1102, 0, 0, 0, 0);\n"
        "INSERT INTO VRTNPDE001 (PEDIDO, NNOTA, SERIE, SIGLA, DATA, FAT, LIQUIDO, NATOPER, "
        "ICMBASE, ICMVALOR, IPIVALOR, SUBSTRVALOR) VALUES (8, 901, '3', 'FOR1', '08.03.2026', "
        "'F', 20, 1102, 0, 0, 0, 0);\n"_s);
    fixture.refreshTableLists();
    SintegraStagingOptions options = March();
    options.entryFilter = u"VRTNPDE.NNOTA = 900"_s;
    options.choice.r70 = false;
    const SintegraStaging staged = StageSintegra(options);
    QCOMPARE(staged.failures, QStringList());
    QCOMPARE(staged.rows50.at(1).number, u"900"_s);
    QCOMPARE(staged.rows50.at(2).cnpj, u"*** SAÍDAS ***"_s);
    QCOMPARE(Totals(staged.entries50), u"10,00 0,00 0,00"_s);
}

void TestSintegraStaging::missingTables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("rows70"); // their first columns
    QTest::addColumn<QStringList>("rows71");
    // Without the air bills of lading no freight is staged in record 70, and
    // record 71 has its road part only; without the carried invoices record
    // 71 is empty. Neither is a failure.
    QTest::newRow("VRTNFCA") << u"VRTNFCA"_s << QStringList()
                             << QStringList{u"*** NFC TERR"_s, u"55555555000155"_s};
    QTest::newRow("VRTNNFC") << u"VRTNNFC"_s
                             << QStringList{u"*** AÉREO ***"_s,      u"11.111.111/0001-11"_s,
                                            u"22.222.222/0001-22"_s, u"*** TERRESTRE ***"_s,
                                            u"55.555.555/0001-55"_s, u"*** A W B ***"_s,
                                            u"66.666.666/0001-66"_s, u"66.666.666/0001-66"_s}
                             << QStringList();
}

void TestSintegraStaging::missingTables() {
    QFETCH(QString, table);
    QFETCH(QStringList, rows70);
    QFETCH(QStringList, rows71);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.erp().load(FreightFixture);
    fixture.erp().exec(u"DROP TABLE "_s + table);
    fixture.refreshTableLists();
    const SintegraStaging staged = StageSintegra(March());
    QCOMPARE(staged.failures, QStringList());
    QStringList first70, first71;
    for (const Row70& r : staged.rows70)
        first70 << r.cnpj;
    for (const Row71& r : staged.rows71)
        first71 << r.takerCnpj;
    QCOMPARE(first70, rows70);
    QCOMPARE(first71, rows71);
}

void TestSintegraStaging::productsInAnotherDatabase() {
    // The products kept in database 5, apart from the items: they cannot be
    // joined, and are read one by one, each once.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.store().exec(u"CREATE TABLE VRTNPRO (PRODUTO VARCHAR(20) NOT NULL, NOME VARCHAR(60), "
                         "ST VARCHAR(3), UNIDADE VARCHAR(6), ICMPERC NUMERIC(5,2), IPIPERC "
                         "NUMERIC(5,2), REDICM NUMERIC(5,2), PRMAX NUMERIC(15,4))"_s);
    fixture.store().exec(u"INSERT INTO VRTNPRO (PRODUTO, NOME, ST, UNIDADE, ICMPERC) VALUES "
                         "('P1', 'PRODUTO DO BANCO 5', '020', 'CX', 12)"_s);
    fixture.refreshTableLists();
    const SintegraStaging staged = StageSintegra(March());
    const ItemSource items = DatabaseItems();
    std::vector<Item54> read = items(staged.rows53.at(3));
    QCOMPARE(read.size(), std::size_t(2));
    QCOMPARE((QStringList{read[0].product, read[0].productName, read[0].taxSituation,
                          read[1].product, read[1].productName}),
             (QStringList{u"P1"_s, u"PRODUTO DO BANCO 5"_s, u"020"_s, u"PX"_s, QString()}));
    Product75 gathered;
    gathered.code = u"P1"_s;
    const std::vector<Product75> products = ReadProducts75({gathered});
    QCOMPARE((QStringList{products[0].unit, Money(products[0].icmsRate)}),
             (QStringList{u"CX"_s, u"12,00"_s}));
}

QTEST_GUILESS_MAIN(TestSintegraStaging)
#include "test_sintegra_staging.moc"
