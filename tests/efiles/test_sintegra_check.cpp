// The SINTEGRA file check: a file written by this program's own writers
// passes, each rule broken on purpose in a copy of it is found on its line,
// any bytes are read, and state registrations follow the check-digit rules
// the states publish (their worked examples).

#include "common/cnpj.h"
#include "efiles/sintegra_check.h"
#include "efiles/sintegra_layout.h"
#include "efiles/state_registration.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using namespace Qt::StringLiterals;
using namespace livrax::efiles;

namespace {

qint64 Money(qint64 cents) {
    return cents * 100; // ten-thousandths
}

QString Cnpj(const QString& base) {
    return base + livrax::CnpjCheckDigits(base);
}

// The file every case starts from, as the writers compose it:
//  1 10   2 11   3-4 50 (a purchase from RS, a sale to a CPF with a negative
//  amount)   5 51   6 53   7-8 54   9 53   10 54   11 55   12 61   13 70
//  14 71   15-16 75   17-18 90 (nine totals, then "99" = 18 on the second).
QStringList ValidLines() {
    SintegraInformant i;
    i.cnpj = u"11.222.333/0001-81"_s;
    i.stateReg = u"110.042.490.114"_s; // the SP example
    i.name = u"COMÉRCIO EXEMPLO LTDA"_s;
    i.municipality = u"SÃO PAULO"_s;
    i.state = u"SP"_s;
    i.startDate = u"01/03/04"_s;
    i.endDate = u"31/03/04"_s;
    i.agreement = u"3"_s;
    i.natures = u"3"_s;
    i.purpose = u"1"_s;
    i.street = u"RUA DAS FLORES"_s;
    i.number = u"45"_s;
    i.postalCode = u"01234-567"_s;
    i.phone = u"1133334444"_s;
    SintegraChoice choice;
    choice.r50 = choice.r51 = choice.r53 = choice.r54 = choice.r55 = choice.r61 = choice.r70 =
        choice.r71 = choice.r75 = true;
    SintegraWriter writer(i, choice);

    const QString supplier = Cnpj(u"123456780001"_s);
    const QString substitute = Cnpj(u"987654320001"_s);
    Row50 purchase{
        supplier,  u"224/3658792"_s, u"05/03/04"_s, u"RS"_s,       u"01"_s,       u"1"_s,
        QString(), u"123"_s,         u"2102"_s,     Money(123450), Money(100000), Money(12000),
        0,         Money(23450),     Money(1200),   u"N"_s,        u"FORN"_s};
    Row50 sale{u"111.444.777-35"_s,
               u"ISENTO"_s,
               u"06/03/04"_s,
               u"SP"_s,
               u"01"_s,
               u"2"_s,
               QString(),
               u"9"_s,
               u"5102"_s,
               Money(1000),
               0,
               0,
               Money(2000),
               Money(-1000),
               0,
               u"S"_s,
               u"CLI"_s};
    Row51 ipi{supplier,  u"224/3658792"_s, u"05/03/04"_s, u"RS"_s, u"1"_s, QString(), u"123"_s,
              u"2102"_s, Money(123450),    Money(5000),   0,       0,      u"N"_s,    u"FORN"_s};
    Row53 first{substitute,  u"123.45678-50"_s, u"10/03/04"_s, u"PR"_s,    u"01"_s,
                u"1"_s,      QString(),         u"555"_s,      u"1403"_s,  Money(50000),
                Money(5000), Money(1000),       u"N"_s,        u"SUBST"_s, u"E"_s,
                u"P1"_s};
    Row53 second = first;
    second.date = u"12/03/04"_s;
    second.number = u"556"_s;
    second.order = u"P2"_s;
    const auto item = [](const char* sequence, const char* product) {
        Item54 it;
        it.sequence = QString::fromLatin1(sequence);
        it.product = QString::fromLatin1(product);
        it.productName = u"PRODUTO "_s + it.product;
        it.quantity = 10000;
        it.value = Money(10000);
        it.accounting = Money(10000);
        it.retained = Money(1000);
        return it;
    };
    const ItemSource items = [&](const Row53& row) {
        return row.order == u"P1"_s ? std::vector<Item54>{item("1", "ABC"), item("2", "XYZ")}
                                    : std::vector<Item54>{item("1", "ABC")};
    };
    SintegraGnre gnre{substitute,    u"110.042.490.114"_s,
                      u"15/03/04"_s, u"PR"_s,
                      u"SP"_s,       u"001"_s,
                      u"1234"_s,     u"77"_s,
                      Money(5000),   u"20/03/04"_s,
                      u"032004"_s,   u"PROTOCOLO 1"_s};
    Row61 day{u"61"_s,    u"20/03/04"_s, u"02"_s,    u"1"_s, QString(), u"1"_s,     u"50"_s,
              Money(900), Money(900),    Money(162), 0,      0,         Money(1800)};
    Row70 bill{Cnpj(u"445566770001"_s),
               u"251.040.852"_s,
               u"08/03/04"_s,
               u"SC"_s,
               u"8"_s,
               u"1"_s,
               QString(),
               u"44"_s,
               u"2353"_s,
               Money(3000),
               Money(3000),
               Money(360),
               0,
               0,
               u"1"_s,
               u"N"_s,
               u"TRANSP"_s};
    Row71 carried{u"11.222.333/0001-81"_s,
                  u"110.042.490.114"_s,
                  u"08/03/04"_s,
                  u"SP"_s,
                  u"8"_s,
                  u"1"_s,
                  QString(),
                  u"44"_s,
                  u"RJ"_s,
                  supplier,
                  u"99999993"_s,
                  u"07/03/04"_s,
                  u"01"_s,
                  u"1"_s,
                  u"321"_s,
                  Money(25000)};

    writer.Write10And11();
    writer.Write50({purchase, sale});
    writer.Write51({ipi});
    writer.Write53With54({first, second}, items);
    writer.Write55(gnre);
    writer.Write61({day});
    writer.Write70({bill});
    writer.Write71({carried});
    std::vector<Product75> products = writer.products75();
    for (Product75& p : products)
        p.unit = u"UN"_s;
    writer.Write75(products);
    writer.Write90();
    return writer.lines();
}

// The lines as the file holds them: Windows-1252, CR LF after every line.
QByteArray Bytes(const QStringList& lines, const char* ending = "\r\n") {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + ending;
    return bytes;
}

std::set<QString> Codes(const std::vector<CheckFinding>& findings, CheckSeverity severity) {
    std::set<QString> codes;
    for (const CheckFinding& f : findings)
        if (f.severity == severity) codes.insert(f.code);
    return codes;
}

QByteArray Listing(const std::vector<CheckFinding>& findings) {
    QStringList texts;
    for (const CheckFinding& f : findings)
        texts.append(FindingText(f) + u" ["_s + f.code + u"]"_s);
    return texts.join(u'\n').toUtf8();
}

bool Has(const std::vector<CheckFinding>& findings, int line, const QString& code) {
    return std::any_of(findings.begin(), findings.end(), [&](const CheckFinding& f) {
        return f.line == line && f.code == code && f.severity == CheckSeverity::Finding;
    });
}

} // namespace

class TestSintegraCheck : public QObject {
    Q_OBJECT

  private slots:
    void ownFileHasNoFinding();
    void brokenRules_data();
    void brokenRules();
    void otherProgramsRecords();
    void anyBytes_data();
    void anyBytes();
    void stateRegistrations_data();
    void stateRegistrations();
    void findingAsJson();
};

void TestSintegraCheck::ownFileHasNoFinding() {
    // Saved the way the export saves it, and read back as bytes.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"sintegra.txt"_s);
    const QStringList lines = ValidLines();
    QCOMPARE(lines.size(), 18);
    SaveSintegraFile(path, lines);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::vector<CheckFinding> findings = CheckSintegraFile(file.readAll());

    QVERIFY2(!HasFindings(findings), Listing(findings).constData());
    // Only the known differences of this program's files, and the negative
    // amount of the sale, are noted.
    const std::set<QString> notes{u"items-follow-53"_s, u"items-of-53-only"_s, u"negative-amount"_s,
                                  u"record53-total"_s};
    QCOMPARE(Codes(findings, CheckSeverity::Note), notes);
    const auto negative = std::find_if(findings.begin(), findings.end(), [](const auto& f) {
        return f.code == u"negative-amount"_s;
    });
    QCOMPARE(negative->line, 4);
    QVERIFY(negative->message.contains(u"00000000-1000"_s));
}

void TestSintegraCheck::brokenRules_data() {
    // op: "put" writes text at a column of a line; "cut" keeps the first
    // `column` characters; "drop" removes `column` lines from the line on;
    // "move" moves the line to index `column` (1-based); "lf" ends it with LF.
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("foundAt");
    QTest::addColumn<QString>("code");

    QTest::newRow("short line") << u"cut"_s << 4 << 125 << QString() << 4 << u"line-length"_s;
    QTest::newRow("long line") << u"put"_s << 4 << 127 << u"X"_s << 4 << u"line-length"_s;
    QTest::newRow("LF ending") << u"lf"_s << 5 << 0 << QString() << 5 << u"line-ending"_s;
    QTest::newRow("tab inside") << u"put"_s << 3 << 60 << u"\t"_s << 3 << u"control-character"_s;
    QTest::newRow("unknown type") << u"put"_s << 12 << 1 << u"62"_s << 12 << u"unknown-type"_s;
    QTest::newRow("51 before 50") << u"move"_s << 5 << 3 << QString() << 4 << u"order"_s;
    QTest::newRow("61 after 90") << u"move"_s << 12 << 18 << QString() << 18 << u"order"_s;
    QTest::newRow("second record 10") << u"move"_s << 1 << 2 << QString() << 2 << u"order"_s;
    QTest::newRow("no record 90") << u"drop"_s << 17 << 2 << QString() << 0 << u"missing-record"_s;
    QTest::newRow("agreement code") << u"put"_s << 1 << 124 << u"9"_s << 1 << u"record10-code"_s;
    QTest::newRow("purpose code") << u"put"_s << 1 << 126 << u"4"_s << 1 << u"record10-code"_s;
    QTest::newRow("period inverted") << u"put"_s << 1 << 108 << u"20040401"_s << 1 << u"period"_s;
    QTest::newRow("no such date") << u"put"_s << 1 << 116 << u"20040231"_s << 1 << u"date-field"_s;
    QTest::newRow("informant CNPJ") << u"put"_s << 1 << 16 << u"2"_s << 1 << u"cnpj"_s;
    QTest::newRow("informant CNPJ zeros")
        << u"put"_s << 1 << 3 << u"00000000000000"_s << 1 << u"cnpj"_s;
    QTest::newRow("informant SP registration")
        << u"put"_s << 1 << 28 << u"5"_s << 1 << u"state-registration"_s;
    QTest::newRow("supplier CNPJ") << u"put"_s << 3 << 16 << u"4"_s << 3 << u"cnpj"_s;
    QTest::newRow("consumer CPF") << u"put"_s << 4 << 16 << u"4"_s << 4 << u"cnpj"_s;
    QTest::newRow("RS registration")
        << u"put"_s << 3 << 26 << u"3"_s << 3 << u"state-registration"_s;
    QTest::newRow("PR registration")
        << u"put"_s << 6 << 26 << u"1"_s << 6 << u"state-registration"_s;
    QTest::newRow("SC registration")
        << u"put"_s << 13 << 25 << u"3"_s << 13 << u"state-registration"_s;
    QTest::newRow("RJ registration of the sender")
        << u"put"_s << 14 << 75 << u"4"_s << 14 << u"state-registration"_s;
    QTest::newRow("blank registration")
        << u"put"_s << 5 << 17 << u"              "_s << 5 << u"state-registration"_s;
    QTest::newRow("no such state") << u"put"_s << 3 << 39 << u"XX"_s << 3 << u"state"_s;
    QTest::newRow("date after the period")
        << u"put"_s << 3 << 31 << u"20040401"_s << 3 << u"date-outside-period"_s;
    QTest::newRow("date before the period")
        << u"put"_s << 13 << 31 << u"20040229"_s << 13 << u"date-outside-period"_s;
    QTest::newRow("letter in an amount")
        << u"put"_s << 3 << 60 << u"A"_s << 3 << u"numeric-field"_s;
    QTest::newRow("issuer") << u"put"_s << 3 << 56 << u"Q"_s << 3 << u"issuer"_s;
    QTest::newRow("situation") << u"put"_s << 3 << 126 << u"Z"_s << 3 << u"situation"_s;
    QTest::newRow("item of no document")
        << u"put"_s << 7 << 22 << u"999999"_s << 7 << u"item-document"_s;
    QTest::newRow("item number 000") << u"put"_s << 7 << 35 << u"000"_s << 7 << u"item-number"_s;
    QTest::newRow("item number repeated")
        << u"put"_s << 8 << 35 << u"001"_s << 8 << u"item-number"_s;
    QTest::newRow("item without product")
        << u"put"_s << 7 << 38 << u"              "_s << 7 << u"item-product"_s;
    QTest::newRow("product without 75")
        << u"drop"_s << 16 << 1 << QString() << 8 << u"product-75"_s;
    QTest::newRow("75 valid from after the start")
        << u"put"_s << 15 << 3 << u"20040302"_s << 7 << u"product-75-validity"_s;
    QTest::newRow("90 CNPJ") << u"put"_s << 17 << 16 << u"2"_s << 17 << u"totals-cnpj"_s;
    QTest::newRow("90 registration")
        << u"put"_s << 18 << 17 << u"9"_s << 18 << u"totals-registration"_s;
    QTest::newRow("90 count of 51")
        << u"put"_s << 17 << 41 << u"5100000002"_s << 17 << u"totals-count"_s;
    QTest::newRow("90 without 75")
        << u"put"_s << 17 << 111 << u"          "_s << 17 << u"totals-missing-type"_s;
    QTest::newRow("90 lines in position 126")
        << u"put"_s << 18 << 126 << u"1"_s << 18 << u"totals-line-count"_s;
    QTest::newRow("99 not the line count")
        << u"put"_s << 18 << 31 << u"9900000019"_s << 18 << u"totals-99"_s;
    QTest::newRow("text after the totals")
        << u"put"_s << 18 << 100 << u"X"_s << 18 << u"totals-slot"_s;
}

void TestSintegraCheck::brokenRules() {
    QFETCH(QString, op);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, foundAt);
    QFETCH(QString, code);

    QStringList lines = ValidLines();
    QByteArray bytes;
    const qsizetype at = line - 1;
    if (op == u"put"_s) {
        QString& target = lines[at];
        target = target.leftJustified(column - 1 + text.size(), u' ');
        target.replace(column - 1, text.size(), text);
    } else if (op == u"cut"_s) {
        lines[at].truncate(column);
    } else if (op == u"drop"_s) {
        lines.remove(at, column);
    } else if (op == u"move"_s) {
        lines.move(at, column - 1);
    }
    if (op == u"lf"_s) {
        bytes = Bytes(lines.mid(0, at)) + Bytes({lines[at]}, "\n") + Bytes(lines.mid(at + 1));
    } else {
        bytes = Bytes(lines);
    }

    const std::vector<CheckFinding> findings = CheckSintegraFile(bytes);
    QVERIFY2(Has(findings, foundAt, code), Listing(findings).constData());
}

void TestSintegraCheck::otherProgramsRecords() {
    // Records of the published layout that this program does not write: a
    // 60M (fiscal printer), a 61R (monthly summary per product, whose
    // columns are not those of record 61) and a 74 (inventory).
    QStringList lines = ValidLines().mid(0, 16);
    const auto record = [](const QString& start) { return start.leftJustified(126, u'X'); };
    lines.insert(11, record(u"60M20040331ECF0001"_s));
    lines.insert(13, record(u"61R032004ABC"_s));
    lines.insert(16, record(u"7420040331ABC"_s));
    lines += Record90Lines(u"11.222.333/0001-81"_s, u"110.042.490.114"_s,
                           {{50, 2},
                            {51, 1},
                            {53, 2},
                            {54, 3},
                            {55, 1},
                            {60, 1},
                            {61, 2},
                            {70, 1},
                            {71, 1},
                            {74, 1},
                            {75, 2}});
    QCOMPARE(lines.size(), 21);
    std::vector<CheckFinding> findings = CheckSintegraFile(Bytes(lines));
    QVERIFY2(!HasFindings(findings), Listing(findings).constData());

    // They are still checked for length.
    lines[11].chop(1);
    findings = CheckSintegraFile(Bytes(lines));
    QCOMPARE(Codes(findings, CheckSeverity::Finding), std::set<QString>{u"line-length"_s});
    QVERIFY(Has(findings, 12, u"line-length"_s));
}

void TestSintegraCheck::anyBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("codes"); // every finding code expected, no other

    const QByteArray valid = Bytes(ValidLines());
    QByteArray everyByte;
    for (int i = 0; i < 1000; ++i)
        everyByte += char(i % 256);

    QTest::newRow("empty") << QByteArray() << QStringList{u"empty-file"_s};
    QTest::newRow("LF endings") << Bytes(ValidLines(), "\n") << QStringList{u"line-ending"_s};
    QTest::newRow("no CR LF after the last line")
        << valid.chopped(2) << QStringList{u"line-ending"_s};
    QTest::newRow("CR endings only") << Bytes(ValidLines(), "\r")
                                     << QStringList{u"line-ending"_s, u"line-length"_s,
                                                    u"control-character"_s, u"missing-record"_s};
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n")
                                 << QStringList{u"line-length"_s, u"unknown-type"_s,
                                                u"missing-record"_s};
    QTest::newRow("every byte value")
        << everyByte
        << QStringList{u"line-ending"_s, u"line-length"_s, u"control-character"_s,
                       u"unknown-type"_s, u"missing-record"_s};
    QTest::newRow("a number where the type goes")
        << QByteArray("1\r\n-5\r\n")
        << QStringList{u"line-length"_s, u"unknown-type"_s, u"missing-record"_s};
}

void TestSintegraCheck::anyBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, codes);
    const std::vector<CheckFinding> findings = CheckSintegraFile(bytes);
    const std::set<QString> expected(codes.begin(), codes.end());
    QCOMPARE(Codes(findings, CheckSeverity::Finding), expected);
}

void TestSintegraCheck::stateRegistrations_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    // The worked examples of the states' published check-digit rules; each
    // is also tried with its last digit changed.
    const std::pair<const char*, const char*> examples[] = {
        {"AC", "01.004.823/001-12"}, {"AL", "24.000.004-8"},     {"BA", "123456-63"},
        {"BA", "612345-57"},         {"BA", "1234567-48"},       {"BA", "1623456-51"},
        {"GO", "10.987.654-7"},      {"MG", "062.307.904/0081"}, {"PR", "123.45678-50"},
        {"RJ", "99.999.99-3"},       {"RO", "101.62521-3"},      {"RO", "0000000062521-3"},
        {"RS", "224/3658792"},       {"SC", "251.040.852"},      {"SP", "110.042.490.114"},
    };
    for (const auto& [state, number] : examples) {
        const QString text = QString::fromLatin1(number);
        QTest::addRow("%s %s", state, number) << QString::fromLatin1(state) << text << true;
        QString changed = text;
        const qsizetype last = changed.size() - 1;
        changed[last] = QChar(u'0' + (changed[last].digitValue() + 1) % 10);
        QTest::addRow("%s %s changed", state, number)
            << QString::fromLatin1(state) << changed << false;
    }
    // A rural producer's check digit stands before the last three digits.
    QTest::newRow("SP P-01100424.3/002") << u"SP"_s << u"P-01100424.3/002"_s << true;
    QTest::newRow("SP P-01100424.4/002") << u"SP"_s << u"P-01100424.4/002"_s << false;
    QTest::newRow("SP first check digit changed") << u"SP"_s << u"110.042.491.114"_s << false;
    QTest::newRow("PR first check digit changed") << u"PR"_s << u"123.45678-60"_s << false;
    QTest::newRow("MG first check digit changed") << u"MG"_s << u"062.307.904/0091"_s << false;
    QTest::newRow("ISENTO") << u"RS"_s << u"ISENTO"_s << true;
    QTest::newRow("blank") << u"RS"_s << u"   "_s << false;
    QTest::newRow("too short") << u"RS"_s << u"22436587"_s << false;
    QTest::newRow("letters") << u"SC"_s << u"25104085A"_s << false;
    QTest::newRow("AC without 01") << u"AC"_s << u"02.004.823/001-12"_s << false;
    QTest::newRow("P outside SP") << u"PR"_s << u"P-01100424.3/002"_s << false;
    QTest::newRow("state not checked") << u"AM"_s << u"12345"_s << true;
}

void TestSintegraCheck::stateRegistrations() {
    QFETCH(QString, state);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const QString problem = StateRegistrationProblem(state, text);
    QVERIFY2(problem.isEmpty() == valid, qPrintable(problem));
    QVERIFY(CheckedRegistrationStates().contains(u"RS"_s));
}

void TestSintegraCheck::findingAsJson() {
    const CheckFinding finding{7, CheckSeverity::Finding, u"item-number"_s,
                               u"número do item \"000\" inválido"_s};
    const QString json = FindingJson(finding);
    QVERIFY(!json.contains(u'\n'));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.keys(), (QStringList{u"code"_s, u"line"_s, u"message"_s, u"severity"_s}));
    QCOMPARE(object.value(u"line"_s).toInt(), 7);
    QCOMPARE(object.value(u"severity"_s).toString(), u"finding"_s);
    QCOMPARE(object.value(u"code"_s).toString(), u"item-number"_s);
    QCOMPARE(object.value(u"message"_s).toString(), finding.message);
    const CheckFinding note{0, CheckSeverity::Note, u"x"_s, u"y"_s};
    QCOMPARE(QJsonDocument::fromJson(FindingJson(note).toUtf8())
                 .object()
                 .value(u"severity"_s)
                 .toString(),
             u"note"_s);
    QCOMPARE(FindingText(finding), u"linha 7: número do item \"000\" inválido"_s);
    QCOMPARE(FindingText(note), u"arquivo: observação: y"_s);
}

QTEST_APPLESS_MAIN(TestSintegraCheck)
#include "test_sintegra_check.moc"
