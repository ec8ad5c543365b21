// The SINTEGRA reversal: a file written by the program's own record writers
// read back and imported with the totals it was written from; hand-made
// lines of both record-50 layouts; the line ends and lengths of other
// programs' files; malformed files refused line by line; an import the
// database refuses half-way leaving nothing.

#include "data/statement.h"
#include "data/transaction.h"
#include "efiles/sintegra_layout.h"
#include "efiles/sintegra_reversal.h"
#include "platform/clock.h"
#include "support/module_fixture.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

// Partners: a company, a person kept by CPF, a customer.
const QString Partners = uR"(
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO) VALUES ('FOR1', 'FORNECEDOR UM', 'J', '12.345.678/0001-90', '123456', 'RS');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO) VALUES ('PESSOA', 'PRODUTOR', 'F', '123.456.789-01', 'ISENTO', 'RS');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, FJ, CGC, INSCEST, ESTADO) VALUES ('CLI1', 'CLIENTE UM', 'J', '11.222.333/0001-81', '0960001', 'SC');
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO) VALUES (40, 1, 'CLI1', '01.02.2026', '01.02.2026', 5102, 'F', 10);
)"_s;

constexpr qint64 Unit = 10000; // one real in ten-thousandths

Row50 Document(const QString& cnpj, const QString& stateReg, const QString& date,
               const QString& number, const QString& cfop, qint64 total, qint64 base, qint64 icms,
               qint64 rate, const QString& cancelled = u"N"_s) {
    Row50 row;
    row.cnpj = cnpj;
    row.stateReg = stateReg;
    row.date = date;
    row.state = u"RS"_s;
    row.model = u"01"_s;
    row.series = u"1"_s;
    row.number = number;
    row.cfop = cfop;
    row.total = total;
    row.base = base;
    row.icms = icms;
    row.rate = rate;
    row.exempt = total - base;
    row.cancelled = cancelled;
    return row;
}

// Three entries (from a registered company, an unregistered exempt one and a
// person registered by CPF) and three exits (one cancelled, one to an
// unregistered customer).
std::vector<Row50> ExportedDocuments() {
    return {
        Document(u"12.345.678/0001-90"_s, u"123456"_s, u"04/03/26"_s, u"100"_s, u"1102"_s,
                 100012 * 100, 800 * Unit, 96 * Unit, 12 * Unit),
        Document(u"98.765.432/0001-10"_s, u""_s, u"05/03/26"_s, u"101"_s, u"2102"_s, 500 * Unit,
                 500 * Unit, 60 * Unit, 12 * Unit),
        Document(u"123.456.789-01"_s, u"ISENTO"_s, u"06/03/26"_s, u"102"_s, u"3102"_s, 70 * Unit, 0,
                 0, 0),
        Document(u"11.222.333/0001-81"_s, u"0960001"_s, u"02/03/26"_s, u"10"_s, u"5102"_s,
                 100 * Unit, 100 * Unit, 17 * Unit, 17 * Unit),
        Document(u"11.222.333/0001-81"_s, u"0960001"_s, u"03/03/26"_s, u"11"_s, u"6102"_s,
                 200 * Unit, 200 * Unit, 24 * Unit, 12 * Unit, u"S"_s),
        Document(u"55.555.555/0001-55"_s, u"123"_s, u"03/03/26"_s, u"12"_s, u"5949"_s, 5033 * 100,
                 0, 0, 0),
    };
}

SintegraInformant Informant() {
    SintegraInformant informant;
    informant.cnpj = u"99.888.777/0001-66"_s;
    informant.stateReg = u"224/3658792"_s;
    informant.name = u"EMPRESA DEMONSTRAÇÃO"_s;
    informant.state = u"RS"_s;
    informant.startDate = u"01/03/26"_s;
    informant.endDate = u"31/03/26"_s;
    informant.agreement = informant.natures = u"3"_s;
    informant.purpose = u"1"_s;
    return informant;
}

// The lines of records 10, 11, 50, 53 (when given) and 90, as the export
// writes them.
QStringList ExportLines(const std::vector<Row50>& documents, const std::vector<Row53>& st = {}) {
    SintegraChoice choice;
    choice.r50 = true;
    choice.r53 = !st.empty();
    SintegraWriter writer(Informant(), choice);
    writer.Write10And11();
    writer.Write50(documents);
    writer.Write53With54(st, [](const Row53&) { return std::vector<Item54>{}; });
    writer.Write90();
    return writer.lines();
}

QByteArray Bytes(const QStringList& lines, const QByteArray& end = "\r\n") {
    QStringEncoder encoder("windows-1252");
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray(encoder(line)) + end;
    return bytes;
}

// A hand-made record 50 of the current layout (documents from 2003 on).
QString Current50(const QString& date, const QString& number, const QString& cfop,
                  const QString& base, const QString& icms, const QString& rate,
                  const QString& situation = u"N"_s) {
    return u"50"_s + u"12345678000190"_s + u"123456        "_s + date + u"SP"_s + u"01"_s +
           u"1  "_s + number + cfop + u"T"_s + u"0000000010000"_s + base + icms +
           u"0000000000000"_s + u"0000000000000"_s + rate + situation;
}

// The same document in the Convênio 31/99 layout: series in 43-45,
// sub-series 46-47, number 48-53, three-digit CFOP 54-56.
QString Old50(const QString& date, const QString& number, const QString& cfop) {
    return u"50"_s + u"12345678000190"_s + u"123456        "_s + date + u"SP"_s + u"01"_s +
           u"1  "_s + u"  "_s + number + cfop + u"0000000010000"_s + u"0000000010000"_s +
           u"0000000001700"_s + u"0000000000000"_s + u"0000000000000"_s + u"1700"_s + u"N"_s;
}

struct Sums {
    int count = 0;
    qint64 total = 0, base = 0, icms = 0, exempt = 0, other = 0;
};

Sums Expected(const std::vector<Row50>& rows, bool entries) {
    Sums sums;
    for (const Row50& row : rows) {
        const bool entry = QStringLiteral("123").contains(row.cfop.at(0));
        if (entry != entries) continue;
        ++sums.count;
        sums.total += row.total;
        sums.base += row.base;
        sums.icms += row.icms;
        sums.exempt += row.exempt;
        sums.other += row.other;
    }
    return sums;
}

// The invoices the import wrote today into a table (the fixture's own rows
// have no inclusion date).
Sums Imported(test::ModuleFixture& fixture, const QString& table) {
    data::Connection& db = fixture.erp().connection();
    data::Transaction transaction(db);
    data::Statement select(db, transaction,
                           u"SELECT COUNT(*), SUM(LIQUIDO), SUM(ICMBASE), SUM(ICMVALOR), "
                           u"SUM(ICMISENTAS), SUM(ICMOUTRAS) FROM "_s +
                               table + u" WHERE DTINCL IS NOT NULL"_s);
    select.open();
    Sums sums;
    if (select.fetch())
        sums = {int(select.value(0).toInt()), select.value(1).toScaled(),
                select.value(2).toScaled(),   select.value(3).toScaled(),
                select.value(4).toScaled(),   select.value(5).toScaled()};
    select.close();
    transaction.commit();
    return sums;
}

// "PEDIDO|NNOTA|SIGLA|NATOPER|FAT|DTNOTA|ICMPERC" of the imported rows.
QStringList ImportedRows(test::ModuleFixture& fixture, const QString& table) {
    data::Connection& db = fixture.erp().connection();
    data::Transaction transaction(db);
    data::Statement select(db, transaction,
                           u"SELECT PEDIDO, NNOTA, SIGLA, NATOPER, FAT, DTNOTA, ICMPERC FROM "_s +
                               table + u" WHERE DTINCL IS NOT NULL ORDER BY PEDIDO"_s);
    select.open();
    QStringList rows;
    while (select.fetch()) {
        QStringList values;
        for (int i = 0; i < 7; ++i)
            values << select.value(i).toString();
        rows << values.join(u'|');
    }
    transaction.commit();
    return rows;
}

void CompareSums(const Sums& actual, const Sums& expected) {
    QCOMPARE(actual.count, expected.count);
    QCOMPARE(actual.total, expected.total);
    QCOMPARE(actual.base, expected.base);
    QCOMPARE(actual.icms, expected.icms);
    QCOMPARE(actual.exempt, expected.exempt);
    QCOMPARE(actual.other, expected.other);
}

QStringList ProblemLines(const ReversalFile& file) {
    QStringList texts;
    for (const ReversalProblem& problem : file.problems)
        texts << ProblemText(problem);
    return texts;
}

} // namespace

class TestSintegraReversal : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 4, 10), QTime(9, 0))); }
    void cleanup() { platform::Clock::reset(); }
    void roundTripOfTheProgramsOwnFile();
    void recordFiftyOfBothLayouts_data();
    void recordFiftyOfBothLayouts();
    void oldLayoutTableCoversTheLine();
    void lineEndsAndLengthsOfOtherPrograms_data();
    void lineEndsAndLengthsOfOtherPrograms();
    void malformedFilesAreReported_data();
    void malformedFilesAreReported();
    void otherRecordsShownNotImported();
    void recordSeventyShownNotImported_data();
    void recordSeventyShownNotImported();
    void refusedRowLeavesNothing();
    void importingAgainIsCountedAndTakesNewKeys();
};

void TestSintegraReversal::roundTripOfTheProgramsOwnFile() {
    test::ModuleFixture fixture;
    fixture.erp().load(Partners);
    const std::vector<Row50> exported = ExportedDocuments();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"SINTEGRA.TXT"_s);
    SaveSintegraFile(path, ExportLines(exported));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));

    ReversalFile read = ReadSintegraReversal(file.readAll());
    QCOMPARE(ProblemLines(read), QStringList());
    QCOMPARE(int(read.rows.size()), 6); // records 10, 11 and 90 give no row
    QString error;
    QVERIFY2(MatchPartners(read.rows, &error), qPrintable(error));
    QStringList partners;
    for (const ReversalRow& row : read.rows)
        partners << row.partner;
    QCOMPARE(partners, (QStringList{u"FOR1"_s, u"ISENTO"_s, u"PESSOA"_s, u"CLI1"_s, u"CLI1"_s,
                                    u"SEM CADASTRO"_s}));
    QCOMPARE(CountExistingDocuments(read.rows, &error), std::optional<int>(0));

    const ReversalImport result = ImportReversal(read.rows);
    QVERIFY2(result.ok, qPrintable(result.message));
    CompareSums(Imported(fixture, u"VRTNPDE"_s), Expected(exported, true));
    CompareSums(Imported(fixture, u"VRTNPDS"_s), Expected(exported, false));
    // By hand: entries 1.000,12 + 500,00 + 70,00; exits 100,00 + 200,00 + 50,33.
    QCOMPARE(Imported(fixture, u"VRTNPDE"_s).total, 157012 * 100);
    QCOMPARE(Imported(fixture, u"VRTNPDS"_s).total, 35033 * 100);
    // New keys after the greatest of each table; the cancelled exit keeps
    // FAT "C" so the books show it as cancelled.
    QCOMPARE(ImportedRows(fixture, u"VRTNPDE"_s),
             (QStringList{u"1|100|FOR1|1102|F|04/03/26|12,0000"_s,
                          u"2|101|ISENTO|2102|F|05/03/26|12,0000"_s,
                          u"3|102|PESSOA|3102|F|06/03/26|0,0000"_s}));
    QCOMPARE(ImportedRows(fixture, u"VRTNPDS"_s),
             (QStringList{u"41|10|CLI1|5102|F|02/03/26|17,0000"_s,
                          u"42|11|CLI1|6102|C|03/03/26|12,0000"_s,
                          u"43|12|SEM CADASTRO|5949|F|03/03/26|0,0000"_s}));
    QCOMPARE(result.entryKeys, (std::vector<int>{1, 2, 3}));
    QCOMPARE(result.exitKeys, (std::vector<int>{41, 42, 43}));
}

void TestSintegraReversal::recordFiftyOfBothLayouts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("cfop");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<qint64>("rate");
    QTest::addColumn<bool>("cancelled");

    const QString base100 = u"0000000010000"_s;
    QTest::newRow("31/99 layout up to 2002")
        << Old50(u"20021231"_s, u"000123"_s, u"512"_s) << u"000123"_s << u"512"_s << u"S"_s
        << 17 * Unit << false;
    QTest::newRow("31/99 entry") << Old50(u"19990105"_s, u"000042"_s, u"112"_s) << u"000042"_s
                                 << u"112"_s << u"E"_s << 17 * Unit << false;
    QTest::newRow("current layout from 2003")
        << Current50(u"20030101"_s, u"004567"_s, u"1102"_s, base100, u"0000000001700"_s, u"1700"_s)
        << u"004567"_s << u"1102"_s << u"E"_s << 17 * Unit << false;
    QTest::newRow("imports 3102 as an entry")
        << Current50(u"20260301"_s, u"000001"_s, u"3102"_s, base100, u"0000000000000"_s, u"0000"_s)
        << u"000001"_s << u"3102"_s << u"E"_s << qint64(0) << false;
    QTest::newRow("cancelled exit") << Current50(u"20260301"_s, u"000002"_s, u"6102"_s, base100,
                                                 u"0000000001200"_s, u"1200"_s, u"S"_s)
                                    << u"000002"_s << u"6102"_s << u"S"_s << 12 * Unit << true;
    // The rate repair: 5, 7 and 2 that ICMS over base does not bear out.
    QTest::newRow("7 on 17% of tax becomes 17")
        << Current50(u"20260301"_s, u"000003"_s, u"5102"_s, base100, u"0000000001700"_s, u"0700"_s)
        << u"000003"_s << u"5102"_s << u"S"_s << 17 * Unit << false;
    QTest::newRow("5 becomes 25") << Current50(u"20260301"_s, u"000004"_s, u"5102"_s, base100,
                                               u"0000000002500"_s, u"0500"_s)
                                  << u"000004"_s << u"5102"_s << u"S"_s << 25 * Unit << false;
    QTest::newRow("2 becomes 12") << Current50(u"20260301"_s, u"000005"_s, u"5102"_s, base100,
                                               u"0000000001200"_s, u"0200"_s)
                                  << u"000005"_s << u"5102"_s << u"S"_s << 12 * Unit << false;
    QTest::newRow("7 borne out by a rounded tax stays")
        << Current50(u"20260301"_s, u"000006"_s, u"5102"_s, u"0000000009999"_s, u"0000000000700"_s,
                     u"0700"_s)
        << u"000006"_s << u"5102"_s << u"S"_s << 7 * Unit << false;
    QTest::newRow("4 is not repaired")
        << Current50(u"20260301"_s, u"000007"_s, u"5102"_s, base100, u"0000000001700"_s, u"0400"_s)
        << u"000007"_s << u"5102"_s << u"S"_s << 4 * Unit << false;
    QTest::newRow("no base and no tax: no rate")
        << Current50(u"20260301"_s, u"000008"_s, u"5102"_s, u"0000000000000"_s, u"0000000000000"_s,
                     u"1800"_s)
        << u"000008"_s << u"5102"_s << u"S"_s << qint64(0) << false;
}

void TestSintegraReversal::recordFiftyOfBothLayouts() {
    QFETCH(QString, line);
    QCOMPARE(line.size(), SintegraLineWidth);
    const ReversalFile read = ReadSintegraReversal(line.toLatin1() + "\r\n");
    QCOMPARE(ProblemLines(read), QStringList());
    QCOMPARE(int(read.rows.size()), 1);
    const ReversalRow& row = read.rows.front();
    QCOMPARE(row.cnpj, u"12.345.678/0001-90"_s);
    QCOMPARE(row.stateReg, u"123456        "_s);
    QCOMPARE(row.state, u"SP"_s);
    QTEST(row.number, "number");
    QTEST(row.cfop, "cfop");
    QTEST(row.direction, "direction");
    QTEST(row.rate, "rate");
    QTEST(row.isCancelled(), "cancelled");
    QCOMPARE(row.total, 100 * Unit);
}

void TestSintegraReversal::oldLayoutTableCoversTheLine() {
    int next = 1;
    for (const FieldSpec& field : Layout50Of1999().fields) {
        QCOMPARE(field.position, next);
        next += field.width;
    }
    QCOMPARE(next - 1, SintegraLineWidth);
}

void TestSintegraReversal::lineEndsAndLengthsOfOtherPrograms_data() {
    QTest::addColumn<QByteArray>("bytes");
    Row53 st;
    st.cnpj = u"11.222.333/0001-81"_s;
    st.date = u"02/03/26"_s;
    st.state = u"SC"_s;
    st.model = u"01"_s;
    st.number = u"10"_s;
    st.cfop = u"5403"_s;
    st.total = 100 * Unit;
    st.retained = 3 * Unit;
    st.cancelled = u"N"_s;
    const std::vector<Row50> documents = ExportedDocuments();
    const QStringList lines = ExportLines(documents, {st});
    QStringList trimmed = lines;
    for (QString& line : trimmed)
        while (line.endsWith(u' '))
            line.chop(1);
    QVERIFY(trimmed.join(QString()).size() < lines.join(QString()).size()); // 53 lost 30 spaces
    QStringList padded = lines;
    padded[2] += u"    "_s;

    QTest::newRow("CR LF") << Bytes(lines);
    QTest::newRow("LF only") << Bytes(lines, "\n");
    QByteArray unended = Bytes(lines);
    unended.chop(2);
    QTest::newRow("last line without its end") << unended;
    QTest::newRow("trailing spaces trimmed") << Bytes(trimmed, "\n");
    QTest::newRow("spaces after the record") << Bytes(padded);
    QTest::newRow("blank lines between") << Bytes(lines).replace("\r\n5", "\r\n\r\n5");
}

void TestSintegraReversal::lineEndsAndLengthsOfOtherPrograms() {
    QFETCH(QByteArray, bytes);
    const ReversalFile read = ReadSintegraReversal(bytes);
    QCOMPARE(ProblemLines(read), QStringList());
    QStringList types;
    qint64 total = 0;
    for (const ReversalRow& row : read.rows) {
        types << row.type;
        total += row.total;
    }
    QCOMPARE(types, (QStringList{u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"53"_s}));
    QCOMPARE(total, (157012 + 35033) * 100);
    QCOMPARE(read.rows.back().cnpj, u"11.222.333/0001-81"_s);
}

void TestSintegraReversal::malformedFilesAreReported_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<int>("rows");

    const QStringList lines = ExportLines(ExportedDocuments());
    // lines: 1 = 10, 2 = 11, 3..8 = 50, 9 = 90
    QStringList missing = lines;
    missing[3].remove(60, 1); // a digit lost inside the total: every field after it shifts
    QStringList longer = lines;
    longer[4].insert(46, u'0');
    QStringList letters = lines;
    letters[5].replace(70, 3, u"1,5"_s);
    QStringList badDate = lines;
    badDate[6].replace(30, 8, u"20261341"_s);
    QStringList cutShort = lines;
    cutShort[7] = cutShort[7].left(100);
    QStringList unknown = lines;
    unknown.insert(3, u"ZZ garbage"_s);

    QTest::newRow("a character missing")
        << Bytes(missing) << QStringList{u"linha 4: linha com 125 caracteres; o registro tem 126"_s}
        << 5;
    QTest::newRow("a character too many")
        << Bytes(longer) << QStringList{u"linha 5: linha com 127 caracteres; o registro tem 126"_s}
        << 5;
    QTest::newRow("letters in an amount")
        << Bytes(letters)
        << QStringList{u"linha 6: Base Calc (posições 70-82) \"01,5000010000\" não é um valor"_s}
        << 5;
    QTest::newRow("no date") << Bytes(badDate)
                             << QStringList{u"linha 7: DtEmis (posições 31-38) \"20261341\" "
                                            u"não é uma data (aaaammdd)"_s}
                             << 5;
    QTest::newRow("line cut short")
        << Bytes(cutShort)
        << QStringList{u"linha 8: linha com 100 caracteres; o registro tem 126"_s} << 5;
    QTest::newRow("unknown record")
        << Bytes(unknown) << QStringList{u"linha 4: tipo de registro desconhecido: \"ZZ\""_s} << 6;
    QTest::newRow("control characters")
        << Bytes(lines).replace("\r\n5", "\r\n\x01")
        << QStringList{u"linha 3: caractere de controle (código 1) na coluna 1"_s,
                       u"linha 4: caractere de controle (código 1) na coluna 1"_s,
                       u"linha 5: caractere de controle (código 1) na coluna 1"_s,
                       u"linha 6: caractere de controle (código 1) na coluna 1"_s,
                       u"linha 7: caractere de controle (código 1) na coluna 1"_s,
                       u"linha 8: caractere de controle (código 1) na coluna 1"_s}
        << 0;
    QTest::newRow("binary garbage")
        << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
        << QStringList{u"linha 1: tipo de registro desconhecido: \"\u2030P\""_s,
                       u"linha 2: caractere de controle (código 26) na coluna 1"_s,
                       u"linha 3: caractere de controle (código 0) na coluna 1"_s}
        << 0;
    QTest::newRow("empty file") << QByteArray() << QStringList{u"arquivo: arquivo vazio"_s} << 0;
}

void TestSintegraReversal::malformedFilesAreReported() {
    QFETCH(QByteArray, bytes);
    const ReversalFile read = ReadSintegraReversal(bytes);
    QTEST(ProblemLines(read), "problems");
    QTEST(int(read.rows.size()), "rows");
}

void TestSintegraReversal::otherRecordsShownNotImported() {
    test::ModuleFixture fixture;
    fixture.erp().load(Partners);
    SintegraChoice choice;
    choice.r50 = choice.r51 = choice.r53 = choice.r54 = choice.r75 = true;
    SintegraWriter writer(Informant(), choice);
    const std::vector<Row50> documents = ExportedDocuments();
    Row51 ipi;
    ipi.cnpj = u"12.345.678/0001-90"_s;
    ipi.date = u"04/03/26"_s;
    ipi.state = u"RS"_s;
    ipi.number = u"100"_s;
    ipi.cfop = u"1102"_s;
    ipi.total = 1000 * Unit;
    ipi.ipi = 90 * Unit;
    ipi.cancelled = u"N"_s;
    Row53 st;
    st.cnpj = u"11.222.333/0001-81"_s;
    st.date = u"02/03/26"_s;
    st.state = u"SC"_s;
    st.model = u"01"_s;
    st.number = u"10"_s;
    st.cfop = u"5403"_s;
    st.total = 100 * Unit;
    st.retained = 3 * Unit;
    st.cancelled = u"N"_s;
    Item54 item;
    item.sequence = u"1"_s;
    item.product = u"P1"_s;
    item.productName = u"PRODUTO UM"_s;
    item.quantity = 2 * Unit;
    item.value = 100 * Unit;
    item.accounting = 100 * Unit;
    item.icms = 17 * Unit;
    item.icmsRate = 17 * Unit;
    writer.Write10And11();
    writer.Write50(documents);
    writer.Write51({ipi});
    writer.Write53With54({st}, [&item](const Row53&) { return std::vector<Item54>{item}; });
    writer.Write75(writer.products75());
    writer.Write90();

    ReversalFile read = ReadSintegraReversal(Bytes(writer.lines()));
    QCOMPARE(ProblemLines(read), QStringList());
    QStringList types;
    for (const ReversalRow& row : read.rows)
        types << row.type;
    QCOMPARE(types, (QStringList{u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"50"_s, u"51"_s,
                                 u"53"_s, u"54"_s, u"75"_s}));
    QString error;
    QVERIFY(MatchPartners(read.rows, &error));
    const ReversalImport result = ImportReversal(read.rows);
    QVERIFY2(result.ok, qPrintable(result.message));
    CompareSums(Imported(fixture, u"VRTNPDE"_s), Expected(documents, true));
    CompareSums(Imported(fixture, u"VRTNPDS"_s), Expected(documents, false));
}

void TestSintegraReversal::recordSeventyShownNotImported_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("cfop");
    QTest::newRow("current layout") << u"20260305"_s << u"1352"_s;
    QTest::newRow("three-digit CFOP up to 2002") << u"20020305"_s << u"135"_s;
}

// A freight record 70: every amount has its own digits, so a field read one
// position off shows; "Fre" is position 125. It gives a grid row and the
// import writes nothing.
void TestSintegraReversal::recordSeventyShownNotImported() {
    QFETCH(QString, date);
    QFETCH(QString, cfop);
    const QString line = u"70"_s + u"12345678000190"_s + u"123456        "_s + date + u"RS"_s +
                         u"08"_s + u"1  "_s + u"000123"_s + u"1352"_s +
                         u"0000000012345"_s +  // total, 56-68
                         u"00000000010000"_s + // base, 69-82
                         u"00000000001200"_s + // ICMS, 83-96
                         u"00000000000300"_s + // exempt, 97-110
                         u"00000000000045"_s + // other, 111-124
                         u"2"_s + u"N"_s;
    QCOMPARE(line.size(), SintegraLineWidth);
    test::ModuleFixture fixture;
    fixture.erp().load(Partners);
    ReversalFile read = ReadSintegraReversal(line.toLatin1() + "\r\n");
    QCOMPARE(ProblemLines(read), QStringList());
    QCOMPARE(int(read.rows.size()), 1);
    const ReversalRow& row = read.rows.front();
    QCOMPARE(row.type, u"70"_s);
    QCOMPARE(row.state, u"RS"_s);
    QCOMPARE(row.model, u"08"_s);
    QCOMPARE(row.number.toInt(), 123);
    QCOMPARE(row.cfop, cfop);
    QCOMPARE(row.direction, u"E"_s);
    QCOMPARE(row.total, 12345 * Unit / 100);
    QCOMPARE(row.base, 100 * Unit);
    QCOMPARE(row.icms, 12 * Unit);
    QCOMPARE(row.exempt, 3 * Unit);
    QCOMPARE(row.other, 45 * Unit / 100);
    QCOMPARE(row.freight, u"2"_s);
    QCOMPARE(row.situation, u"N"_s);
    QCOMPARE(row.rate, qint64(0));
    QString error;
    QVERIFY(MatchPartners(read.rows, &error));
    const ReversalImport result = ImportReversal(read.rows);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(Imported(fixture, u"VRTNPDE"_s).count, 0);
    QCOMPARE(Imported(fixture, u"VRTNPDS"_s).count, 0);
}

void TestSintegraReversal::refusedRowLeavesNothing() {
    test::ModuleFixture fixture;
    fixture.erp().load(Partners);
    // The database refuses exit 11 (line 7 of the file), after entries and
    // an exit were already written in the same import.
    fixture.erp().exec(u"ALTER TABLE VRTNPDS ADD CONSTRAINT CK_REFUSED CHECK (NNOTA <> 11)"_s);
    ReversalFile read = ReadSintegraReversal(Bytes(ExportLines(ExportedDocuments())));
    QCOMPARE(ProblemLines(read), QStringList());
    QString error;
    QVERIFY(MatchPartners(read.rows, &error));

    const ReversalImport result = ImportReversal(read.rows);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedLine, 7);
    QVERIFY2(result.message.startsWith(u"linha 7: o banco de dados recusou o documento: "_s),
             qPrintable(result.message));
    QVERIFY2(result.message.endsWith(u"Nada foi importado."_s), qPrintable(result.message));
    QCOMPARE(Imported(fixture, u"VRTNPDE"_s).count, 0);
    QCOMPARE(Imported(fixture, u"VRTNPDS"_s).count, 0);
}

void TestSintegraReversal::importingAgainIsCountedAndTakesNewKeys() {
    test::ModuleFixture fixture;
    fixture.erp().load(Partners);
    ReversalFile read = ReadSintegraReversal(Bytes(ExportLines(ExportedDocuments())));
    QString error;
    QVERIFY(MatchPartners(read.rows, &error));
    QVERIFY(ImportReversal(read.rows).ok);
    QCOMPARE(CountExistingDocuments(read.rows, &error), std::optional<int>(6));

    const ReversalImport again = ImportReversal(read.rows);
    QVERIFY2(again.ok, qPrintable(again.message));
    QCOMPARE(again.entryKeys, (std::vector<int>{4, 5, 6}));
    QCOMPARE(again.exitKeys, (std::vector<int>{44, 45, 46}));
    QCOMPARE(Imported(fixture, u"VRTNPDE"_s).count, 6);
    QCOMPARE(Imported(fixture, u"VRTNPDS"_s).total, 2 * 35033 * 100);
}

QTEST_GUILESS_MAIN(TestSintegraReversal)
#include "test_sintegra_reversal.moc"
