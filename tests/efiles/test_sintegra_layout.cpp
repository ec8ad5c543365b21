// The SINTEGRA records checked against lines composed by hand: every expected
// line is put together from the positions of the published layout, field by
// field, independently of the writers' own tables.

#include "efiles/sintegra_layout.h"

#include "print/output_file.h"
#include "print/print_surface.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace livrax::efiles;

namespace {

// A line of 126 columns built from (position, text) pieces; every other
// column is a space. A piece that overlaps another or runs past column 126
// fails the test, so a miscounted expectation cannot pass unnoticed.
QString Expected(std::initializer_list<std::pair<int, QString>> pieces) {
    QString line(SintegraLineWidth, u' ');
    QList<bool> used(SintegraLineWidth, false);
    for (const auto& [position, text] : pieces) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype column = position - 1 + i;
            if (column >= SintegraLineWidth || used[column])
                qFatal("expected piece at %d overlaps or overflows", position);
            used[column] = true;
            line[column] = text[i];
        }
    }
    return line;
}

qint64 Money(qint64 cents) {
    return cents * 100; // ten-thousandths
}

SintegraInformant Informant() {
    SintegraInformant i;
    i.cnpj = u"11.222.333/0001-81"_s;
    i.stateReg = u"123.456.789.110"_s;
    i.name = u"COMÉRCIO DE PRODUTOS EXEMPLO DO BRASIL LTDA"_s; // 43 characters
    i.municipality = u"SÃO PAULO"_s;
    i.state = u"SP"_s;
    i.fax = u"1155551234"_s;
    i.startDate = u"01/03/04"_s;
    i.endDate = u"31/03/04"_s;
    i.agreement = u"1 - Convênio 57/95 alterado pelo 76/03"_s;
    i.natures = u"3 - Totalidade das operações"_s;
    i.purpose = u"1 - Normal"_s;
    i.street = u"RUA DAS FLORES"_s;
    i.number = u" 45 "_s;
    i.complement = u"SALA 2"_s;
    i.district = u"CENTRO"_s;
    i.postalCode = u"01234-567"_s;
    i.contact = u"MARIA SILVA"_s;
    i.phone = u"11-3333-4444"_s;
    return i;
}

} // namespace

class TestSintegraLayout : public QObject {
    Q_OBJECT

  private slots:
    void layoutTablesCoverTheLine();
    void digitsField_data();
    void digitsField();
    void amountFields_data();
    void amountFields();
    void scaledAmountFields_data();
    void scaledAmountFields();
    void stateRegistration_data();
    void stateRegistration();
    void stagedRowsExportLineByLine();
    void otherRecordsLineByLine();
    void record90_data();
    void record90();
    void formatRecordFillsEachFieldByItsKind();
    void overlongValuesKeepTheLineWidth();
    void savedFileIsWindows1252WithCrLf();
};

void TestSintegraLayout::layoutTablesCoverTheLine() {
    for (const RecordLayout* layout : AllLayouts()) {
        int next = 1;
        for (const FieldSpec& field : layout->fields) {
            QVERIFY2(field.position == next, qPrintable(QString::fromLatin1(layout->type) + u' ' +
                                                        QString::fromLatin1(field.name)));
            next += field.width;
        }
        QCOMPARE(next, SintegraLineWidth + 1);
        QCOMPARE(QString::fromLatin1(layout->type).size(), 2);
    }
}

void TestSintegraLayout::digitsField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("masked CNPJ") << u"12.345.678/0001-90"_s << 14 << u"12345678000190"_s;
    QTest::newRow("masked CPF") << u"123.456.789-01"_s << 14 << u"00012345678901"_s;
    QTest::newRow("postal code") << u"01234-567"_s << 8 << u"01234567"_s;
    QTest::newRow("backslash and comma") << u"12\\34,5"_s << 6 << u"012345"_s;
    QTest::newRow("letters and inner spaces stay") << u" AB 12 "_s << 8 << u"000AB 12"_s;
    QTest::newRow("longer keeps the right") << u"12.345.678/0001-90"_s << 8 << u"78000190"_s;
    QTest::newRow("empty") << QString() << 10 << u"0000000000"_s;
}

void TestSintegraLayout::digitsField() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(DigitsField(text, width), expected);
}

void TestSintegraLayout::amountFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one decimal") << u"1234,5"_s << 13 << 2 << u"0000000123450"_s;
    QTest::newRow("third decimal cut") << u"0,999"_s << 13 << 2 << u"0000000000099"_s;
    QTest::newRow("grid text") << u"     1.234,50"_s << 13 << 2 << u"0000000123450"_s;
    QTest::newRow("decimal point") << u"1234.56"_s << 13 << 2 << u"0000000123456"_s;
    QTest::newRow("empty") << QString() << 13 << 2 << u"0000000000000"_s;
    QTest::newRow("negative") << u"-10"_s << 13 << 2 << u"00000000-1000"_s;
    QTest::newRow("rate") << u"17,00"_s << 4 << 2 << u"1700"_s;
    QTest::newRow("quantity") << u"2,5"_s << 11 << 3 << u"00000002500"_s;
    QTest::newRow("quantity fourth decimal cut") << u"1,2349"_s << 11 << 3 << u"00000001234"_s;
}

void TestSintegraLayout::amountFields() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(decimals == 2 ? AmountField(text, width) : QuantityField(text, width), expected);
}

void TestSintegraLayout::scaledAmountFields_data() {
    QTest::addColumn<qint64>("tenThousandths");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1234,5") << qint64(12345000) << 13 << 2 << u"0000000123450"_s;
    QTest::newRow("0,999 cut") << qint64(9990) << 13 << 2 << u"0000000000099"_s;
    QTest::newRow("minus ten") << qint64(-100000) << 13 << 2 << u"00000000-1000"_s;
    QTest::newRow("minus 0,999 cut toward zero") << qint64(-9990) << 13 << 2 << u"0000000000-99"_s;
    QTest::newRow("zero") << qint64(0) << 4 << 2 << u"0000"_s;
    QTest::newRow("quantity 2,5") << qint64(25000) << 11 << 3 << u"00000002500"_s;
    QTest::newRow("quantity 0,0009 cut") << qint64(9) << 11 << 3 << u"00000000000"_s;
    QTest::newRow("too wide keeps the right")
        << qint64(123456789012345) << 12 << 2 << u"234567890123"_s;
}

void TestSintegraLayout::scaledAmountFields() {
    QFETCH(qint64, tenThousandths);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(decimals == 2 ? AmountField(tenThousandths, width)
                           : QuantityField(tenThousandths, width),
             expected);
    // The amount as the grids show it gives the same field.
    if (decimals == 2 && tenThousandths >= 0) {
        const QString shown = QString::number(tenThousandths / 10000) + u',' +
                              QString::number(tenThousandths % 10000).rightJustified(4, u'0');
        QCOMPARE(AmountField(shown, width), expected);
    }
}

void TestSintegraLayout::stateRegistration_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("masked") << u"123.456.789.110"_s << u"123456789110  "_s;
    QTest::newRow("ISENTO stays") << u"ISENTO"_s << u"ISENTO        "_s;
    QTest::newRow("symbols") << u" 06/2-123_45 "_s << u"06212345      "_s;
    QTest::newRow("longer keeps the left") << u"1234567890123456789"_s << u"12345678901234"_s;
}

void TestSintegraLayout::stateRegistration() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StateRegistrationField(text), expected);
}

void TestSintegraLayout::stagedRowsExportLineByLine() {
    SintegraChoice choice;
    choice.r50 = choice.r51 = choice.r53 = choice.r54 = choice.r75 = true;
    choice.r61 = true; // ticked but without rows: no slot in record 90
    SintegraWriter writer(Informant(), choice);

    // A purchase from another state, an exit to a consumer (CPF), a section
    // row, and a purchase from a supplier whose CNPJ ends like the informant's.
    Row50 purchase{u"12.345.678/0001-90"_s,
                   u""_s,
                   u"05/03/04"_s,
                   u"MG"_s,
                   u"01"_s,
                   u"1"_s,
                   QString(),
                   u"123"_s,
                   u"2102"_s,
                   Money(123450),
                   Money(100000),
                   Money(12000),
                   0,
                   Money(23450),
                   Money(1200),
                   u"N"_s,
                   u"FORN1"_s};
    Row50 sale{u"123.456.789-01"_s,
               u"ISENTO"_s,
               u"06/03/04"_s,
               u"SP"_s,
               u"01"_s,
               u"2"_s,
               QString(),
               u"9"_s,
               u"5102"_s,
               9990,
               0,
               0,
               9990,
               Money(-1000),
               0,
               u"S"_s,
               u"CLI1"_s};
    Row50 section;
    section.cnpj = u"*** SAÍDAS ***"_s;
    Row50 own{u"99.888.333/0001-81"_s,
              u"000.000"_s,
              u"07/03/04"_s,
              u"SP"_s,
              u"55"_s,
              u"1"_s,
              QString(),
              u"77"_s,
              u"1102"_s,
              Money(1000),
              0,
              0,
              0,
              Money(1000),
              0,
              u"N"_s,
              u"FIL"_s};
    Row50 otherSupplier = own;
    otherSupplier.cnpj = u"99.888.333/0002-62"_s; // same root, other establishment
    otherSupplier.stateReg = u"ISENTO"_s;

    Row51 ipi{u"12.345.678/0001-90"_s,
              u"062.123.456.789"_s,
              u"05/03/04"_s,
              u"MG"_s,
              u"1"_s,
              QString(),
              u"123"_s,
              u"2102"_s,
              Money(123450),
              Money(5000),
              0,
              Money(500),
              u"N"_s,
              u"FORN1"_s};
    Row53 substitution{u"12.345.678/0001-90"_s,
                       u"062.123.456.789"_s,
                       u"10/03/04"_s,
                       u"SP"_s,
                       u"01"_s,
                       u"1"_s,
                       QString(),
                       u"555"_s,
                       u"1403"_s,
                       Money(50000),
                       Money(5000),
                       Money(1000),
                       u"N"_s,
                       u"FORN1"_s,
                       u"E"_s,
                       u"P1"_s};

    Item54 first{u"1"_s, u"ABC123"_s,  u"PRODUTO ABC"_s, QString(), 25000,      Money(20000), 12390,
                 9990,   Money(19800), Money(1800),      0,         Money(500), Money(1800)};
    Item54 second{u"2"_s,       u"ABC123"_s, u"PRODUTO ABC"_s, u"060"_s, 10000, Money(30000), 0, 0,
                  Money(30000), 0,           Money(3000),      0,        0};
    QString askedFor;
    const ItemSource items = [&](const Row53& row) {
        askedFor = row.direction + row.order;
        return std::vector<Item54>{first, second};
    };

    writer.Write10And11();
    writer.Write50({purchase, sale, section, own, otherSupplier});
    writer.Write51({ipi});
    writer.Write53With54({substitution}, items);
    writer.Write61({});
    QCOMPARE(askedFor, u"EP1"_s);
    QCOMPARE(writer.products75().size(), size_t(1)); // the same product once
    Product75 product = writer.products75().front();
    product.unit = u"UN"_s;
    product.ipiRate = Money(1000);
    product.maxPrice = Money(1234);
    Product75 taxed{u"XYZ9"_s, u"OUTRO PRODUTO"_s, u"KG"_s, 0, Money(1200), Money(3333), 0};
    writer.Write75({product, taxed});
    writer.Write90();

    const QString cnpj = u"12345678000190"_s;
    const QStringList expected{
        Expected({{1, u"10"_s},
                  {3, u"11222333000181"_s},
                  {17, u"123456789110"_s},
                  {31, u"COMÉRCIO DE PRODUTOS EXEMPLO DO BRA"_s},
                  {66, u"SÃO PAULO"_s},
                  {96, u"SP"_s},
                  {98, u"1155551234"_s},
                  {108, u"20040301"_s},
                  {116, u"20040331"_s},
                  {124, u"1"_s},
                  {125, u"3"_s},
                  {126, u"1"_s}}),
        Expected({{1, u"11"_s},
                  {3, u"RUA DAS FLORES"_s},
                  {37, u"00045"_s},
                  {42, u"SALA 2"_s},
                  {64, u"CENTRO"_s},
                  {79, u"01234567"_s},
                  {87, u"MARIA SILVA"_s},
                  {115, u"001133334444"_s}}),
        Expected({{1, u"50"_s},
                  {3, cnpj},
                  {17, u"ISENTO"_s},
                  {31, u"20040305"_s},
                  {39, u"MG"_s},
                  {41, u"01"_s},
                  {43, u"1"_s},
                  {46, u"000123"_s},
                  {52, u"2102"_s},
                  {56, u"T"_s},
                  {57, u"0000000123450"_s},
                  {70, u"0000000100000"_s},
                  {83, u"0000000012000"_s},
                  {96, u"0000000000000"_s},
                  {109, u"0000000023450"_s},
                  {122, u"1200"_s},
                  {126, u"N"_s}}),
        Expected({{1, u"50"_s},
                  {3, u"00012345678901"_s},
                  {17, u"ISENTO"_s},
                  {31, u"20040306"_s},
                  {39, u"SP"_s},
                  {41, u"01"_s},
                  {43, u"2"_s},
                  {46, u"000009"_s},
                  {52, u"5102"_s},
                  {56, u"P"_s},
                  {57, u"0000000000099"_s},
                  {70, u"0000000000000"_s},
                  {83, u"0000000000000"_s},
                  {96, u"0000000000099"_s},
                  {109, u"00000000-1000"_s},
                  {122, u"0000"_s},
                  {126, u"S"_s}}),
        Expected({{1, u"50"_s},
                  {3, u"99888333000181"_s},
                  {17, u"ISENTO"_s},
                  {31, u"20040307"_s},
                  {39, u"SP"_s},
                  {41, u"55"_s},
                  {43, u"1"_s},
                  {46, u"000077"_s},
                  {52, u"1102"_s},
                  {56, u"P"_s},
                  {57, u"0000000001000"_s},
                  {70, u"0000000000000"_s},
                  {83, u"0000000000000"_s},
                  {96, u"0000000000000"_s},
                  {109, u"0000000001000"_s},
                  {122, u"0000"_s},
                  {126, u"N"_s}}),
        Expected({{1, u"50"_s},
                  {3, u"99888333000262"_s},
                  {17, u"ISENTO"_s},
                  {31, u"20040307"_s},
                  {39, u"SP"_s},
                  {41, u"55"_s},
                  {43, u"1"_s},
                  {46, u"000077"_s},
                  {52, u"1102"_s},
                  {56, u"T"_s},
                  {57, u"0000000001000"_s},
                  {70, u"0000000000000"_s},
                  {83, u"0000000000000"_s},
                  {96, u"0000000000000"_s},
                  {109, u"0000000001000"_s},
                  {122, u"0000"_s},
                  {126, u"N"_s}}),
        Expected({{1, u"51"_s},
                  {3, cnpj},
                  {17, u"062123456789"_s},
                  {31, u"20040305"_s},
                  {39, u"MG"_s},
                  {41, u"1"_s},
                  {44, u"000123"_s},
                  {50, u"2102"_s},
                  {54, u"0000000123450"_s},
                  {67, u"0000000005000"_s},
                  {80, u"0000000000000"_s},
                  {93, u"0000000000500"_s},
                  {126, u"N"_s}}),
        Expected({{1, u"53"_s},
                  {3, cnpj},
                  {17, u"062123456789"_s},
                  {31, u"20040310"_s},
                  {39, u"SP"_s},
                  {41, u"01"_s},
                  {43, u"1"_s},
                  {46, u"000555"_s},
                  {52, u"1403"_s},
                  {56, u"P"_s},
                  {57, u"0000000050000"_s},
                  {70, u"0000000005000"_s},
                  {83, u"0000000001000"_s},
                  {96, u"N"_s}}),
        // Discounts 1,239 and 0,999 are each cut to cents before the sum: 2,22.
        Expected({{1, u"54"_s},
                  {3, cnpj},
                  {17, u"01"_s},
                  {19, u"1"_s},
                  {22, u"000555"_s},
                  {28, u"1403"_s},
                  {32, u"000"_s},
                  {35, u"001"_s},
                  {38, u"ABC123"_s},
                  {52, u"00000002500"_s},
                  {63, u"000000020000"_s},
                  {75, u"000000000222"_s},
                  {87, u"000000019800"_s},
                  {99, u"000000000000"_s},
                  {111, u"000000000500"_s},
                  {123, u"1800"_s}}),
        Expected({{1, u"54"_s},
                  {3, cnpj},
                  {17, u"01"_s},
                  {19, u"1"_s},
                  {22, u"000555"_s},
                  {28, u"1403"_s},
                  {32, u"060"_s},
                  {35, u"002"_s},
                  {38, u"ABC123"_s},
                  {52, u"00000001000"_s},
                  {63, u"000000030000"_s},
                  {75, u"000000000000"_s},
                  {87, u"000000000000"_s},
                  {99, u"000000030000"_s},
                  {111, u"000000000000"_s},
                  {123, u"0000"_s}}),
        Expected({{1, u"75"_s},
                  {3, u"20040301"_s},
                  {11, u"20040331"_s},
                  {19, u"ABC123"_s},
                  {41, u"PRODUTO ABC"_s},
                  {94, u"UN"_s},
                  {100, u"01000"_s},
                  {105, u"1700"_s},
                  {109, u"00000"_s},
                  {114, u"0000000001234"_s}}),
        Expected({{1, u"75"_s},
                  {3, u"20040301"_s},
                  {11, u"20040331"_s},
                  {19, u"XYZ9"_s},
                  {41, u"OUTRO PRODUTO"_s},
                  {94, u"KG"_s},
                  {100, u"00000"_s},
                  {105, u"1200"_s},
                  {109, u"03333"_s},
                  {114, u"0000000000000"_s}}),
        // 10, 11, four 50, one 51, one 53, two 54, two 75 and this line: 13.
        Expected({{1, u"90"_s},
                  {3, u"11222333000181"_s},
                  {17, u"123456789110"_s},
                  {31, u"5000000004"_s},
                  {41, u"5100000001"_s},
                  {51, u"5300000001"_s},
                  {61, u"5400000002"_s},
                  {71, u"7500000002"_s},
                  {81, u"9900000013"_s},
                  {126, u"1"_s}}),
    };
    const QStringList& lines = writer.lines();
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i], expected[i]);
    QCOMPARE(writer.count(50), 4);
    QCOMPARE(writer.count(54), 2);
    QCOMPARE(writer.count(61), 0);
}

void TestSintegraLayout::otherRecordsLineByLine() {
    SintegraChoice choice;
    choice.r55 = choice.r61 = choice.r70 = choice.r71 = true;
    SintegraWriter writer(Informant(), choice);
    SintegraGnre gnre{u"12.345.678/0001-90"_s,
                      u"062.123.456.789"_s,
                      u"15/03/04"_s,
                      u"SP"_s,
                      u"RJ"_s,
                      u"1"_s,
                      u"123"_s,
                      u"98765"_s,
                      Money(12345),
                      u"20/03/04"_s,
                      u"032004"_s,
                      u"PROTOCOLO 41/08"_s};
    Row61 day{u"61"_s,      u"02/03/04"_s, u"02"_s,       u"D"_s,        u"1"_s,
              u"100"_s,     u"180"_s,      Money(150000), Money(100000), Money(18000),
              Money(20000), Money(30000),  Money(1800)};
    Row61 detail = day;
    detail.type = u"**"_s;
    Row70 bill{u"33.444.555/0001-66"_s,
               u"ISENTO"_s,
               u"03/03/04"_s,
               u"SP"_s,
               u"8"_s,
               u"U"_s,
               u"1"_s,
               u"4567"_s,
               u"1352"_s,
               Money(50000),
               Money(50000),
               Money(6000),
               0,
               0,
               u"1"_s,
               u"N"_s,
               u"TRANSP"_s};
    Row70 titles = bill;
    titles.cnpj = u"*** TERRESTRE ***"_s;
    Row71 carried{u"12.345.678/0001-90"_s,
                  u"062.123.456.789"_s,
                  u"03/03/04"_s,
                  u"SP"_s,
                  u"8"_s,
                  u"U"_s,
                  u"1"_s,
                  u"4567"_s,
                  u"MG"_s,
                  u"98.765.432/0001-10"_s,
                  u"0620012345"_s,
                  u"01/03/04"_s,
                  u"01"_s,
                  u"1"_s,
                  u"321"_s,
                  Money(250000)};
    Row71 empty;
    empty.billNumber = u"1"_s;

    writer.Write55(gnre);
    writer.Write61({day, detail});
    writer.Write70({titles, bill});
    writer.Write71({carried, empty});

    const QString cnpj = u"12345678000190"_s;
    const QStringList expected{
        Expected({{1, u"55"_s},
                  {3, cnpj},
                  {17, u"062123456789"_s},
                  {31, u"20040315"_s},
                  {39, u"SP"_s},
                  {41, u"RJ"_s},
                  {43, u"001"_s},
                  {46, u"0123"_s},
                  {50, u"00000000000000098765"_s},
                  {70, u"0000000012345"_s},
                  {83, u"20040320"_s},
                  {91, u"032004"_s},
                  {97, u"PROTOCOLO 41/08"_s}}),
        Expected({{1, u"61"_s},
                  {31, u"20040302"_s},
                  {39, u"02"_s},
                  {41, u"D"_s},
                  {44, u"1"_s},
                  {46, u"000100"_s},
                  {52, u"000180"_s},
                  {58, u"0000000150000"_s},
                  {71, u"0000000100000"_s},
                  {84, u"000000018000"_s},
                  {96, u"0000000020000"_s},
                  {109, u"0000000030000"_s},
                  {122, u"1800"_s}}),
        Expected({{1, u"70"_s},
                  {3, u"33444555000166"_s},
                  {17, u"ISENTO"_s},
                  {31, u"20040303"_s},
                  {39, u"SP"_s},
                  {41, u"08"_s},
                  {43, u"U"_s},
                  {44, u"1"_s},
                  {46, u"004567"_s},
                  {52, u"1352"_s},
                  {56, u"0000000050000"_s},
                  {69, u"00000000050000"_s},
                  {83, u"00000000006000"_s},
                  {97, u"00000000000000"_s},
                  {111, u"00000000000000"_s},
                  {125, u"1"_s},
                  {126, u"N"_s}}),
        Expected({{1, u"71"_s},
                  {3, cnpj},
                  {17, u"062123456789"_s},
                  {31, u"20040303"_s},
                  {39, u"SP"_s},
                  {41, u"08"_s},
                  {43, u"U"_s},
                  {44, u"1"_s},
                  {46, u"004567"_s},
                  {52, u"MG"_s},
                  {54, u"98.765.432/000"_s},
                  {68, u"0620012345"_s},
                  {82, u"20040301"_s},
                  {90, u"01"_s},
                  {92, u"1"_s},
                  {95, u"000321"_s},
                  {101, u"00000000250000"_s}}),
    };
    QCOMPARE(writer.lines(), expected);
    QCOMPARE(writer.count(55), 1);
    QCOMPARE(writer.count(61), 1);
    QCOMPARE(writer.count(70), 1);
    QCOMPARE(writer.count(71), 1);
}

void TestSintegraLayout::record90_data() {
    using Counts = std::vector<std::pair<int, int>>;
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<QStringList>("expected");
    auto line = [](std::initializer_list<std::pair<int, QString>> pairs, const QString& lines) {
        std::initializer_list<std::pair<int, QString>> fixed{
            {1, u"90"_s}, {3, u"11222333000181"_s}, {17, u"123456789110"_s}};
        QString composed = Expected(fixed);
        const QString tail = Expected(pairs);
        for (int i = 30; i < SintegraLineWidth - 1; ++i)
            composed[i] = tail[i];
        composed[SintegraLineWidth - 1] = lines.at(0);
        return composed;
    };
    QTest::newRow("the example: 12 of 50, 3 of 51")
        << Counts{{50, 12}, {51, 3}}
        << QStringList{
               line({{31, u"5000000012"_s}, {41, u"5100000003"_s}, {51, u"9900000018"_s}}, u"1"_s)};
    QTest::newRow("a type without lines has no slot")
        << Counts{{50, 0}, {51, 3}}
        << QStringList{line({{31, u"5100000003"_s}, {41, u"9900000006"_s}}, u"1"_s)};
    QTest::newRow("nothing but the totals")
        << Counts{} << QStringList{line({{31, u"9900000003"_s}}, u"1"_s)};
    QTest::newRow("eight types and 99 fill one line")
        << Counts{{50, 1}, {51, 1}, {53, 1}, {54, 1}, {55, 1}, {61, 1}, {70, 1}, {71, 1}}
        << QStringList{line({{31, u"5000000001"_s},
                             {41, u"5100000001"_s},
                             {51, u"5300000001"_s},
                             {61, u"5400000001"_s},
                             {71, u"5500000001"_s},
                             {81, u"6100000001"_s},
                             {91, u"7000000001"_s},
                             {101, u"7100000001"_s},
                             {111, u"9900000011"_s}},
                            u"1"_s)};
    // 2 + 28 + two type-90 lines = 32.
    QTest::newRow("nine types continue in a second line")
        << Counts{{50, 12}, {51, 3}, {53, 1}, {54, 4}, {55, 1}, {61, 2}, {70, 1}, {71, 1}, {75, 3}}
        << QStringList{line({{31, u"5000000012"_s},
                             {41, u"5100000003"_s},
                             {51, u"5300000001"_s},
                             {61, u"5400000004"_s},
                             {71, u"5500000001"_s},
                             {81, u"6100000002"_s},
                             {91, u"7000000001"_s},
                             {101, u"7100000001"_s},
                             {111, u"7500000003"_s}},
                            u"2"_s),
                       line({{31, u"9900000032"_s}}, u"2"_s)};
}

void TestSintegraLayout::record90() {
    using Counts = std::vector<std::pair<int, int>>;
    QFETCH(Counts, counts);
    QFETCH(QStringList, expected);
    QCOMPARE(Record90Lines(u"11.222.333/0001-81"_s, u"123.456.789.110"_s, counts), expected);
}

void TestSintegraLayout::formatRecordFillsEachFieldByItsKind() {
    // Record 75's table: a date and a text that is no date, a padded code,
    // a Blank field given a value, an overlong unit, numbers to pad and to
    // cut, and the last two fields given no value at all.
    const QString line = FormatRecord(Layout75(), {u"75"_s, u"01/03/04"_s, u"31/02/04"_s,
                                                   u" CODE-1 "_s, u"IGNORED"_s, u"ÁGUA MINERAL"_s,
                                                   u"UNIDADES"_s, u" 12 "_s, u"123456"_s});
    QCOMPARE(line, Expected({{1, u"75"_s},
                             {3, u"20040301"_s},
                             {11, u"31/02/04"_s},
                             {19, u" CODE-1 "_s},
                             {41, u"ÁGUA MINERAL"_s},
                             {94, u"UNIDAD"_s},
                             {100, u"00012"_s},
                             {105, u"3456"_s},
                             {109, u"00000"_s},
                             {114, u"0000000000000"_s}}));
}

void TestSintegraLayout::overlongValuesKeepTheLineWidth() {
    const QString longText = u"0123456789"_s.repeated(20);
    SintegraInformant informant = Informant();
    for (QString* field :
         {&informant.cnpj, &informant.stateReg, &informant.name, &informant.municipality,
          &informant.state, &informant.fax, &informant.startDate, &informant.endDate,
          &informant.street, &informant.number, &informant.complement, &informant.district,
          &informant.postalCode, &informant.contact, &informant.phone})
        *field = longText;
    SintegraChoice all{true, true, true, true, true, true, true, true, true};
    SintegraWriter writer(informant, all);
    const qint64 huge = 123456789012345678; // beyond every amount field
    Row50 r50{longText, longText, longText, longText, longText, longText,
              longText, longText, longText, huge,     huge,     huge,
              huge,     -huge,    huge,     longText, longText};
    Row51 r51{longText, longText, longText, longText, longText, longText, longText,
              longText, huge,     huge,     huge,     huge,     longText, longText};
    Row53 r53{longText, longText, longText, longText, longText, longText, longText, longText,
              longText, huge,     huge,     huge,     longText, longText, longText, longText};
    Item54 item{longText, longText, longText, longText, huge, huge, huge,
                huge,     huge,     1,        1,        huge, huge};
    Row61 r61{u"61"_s, longText, longText, longText, longText, longText, longText,
              huge,    huge,     huge,     huge,     huge,     huge};
    Row70 r70{longText, longText, longText, longText, longText, longText,
              longText, longText, longText, huge,     huge,     huge,
              huge,     huge,     longText, longText, longText};
    Row71 r71{longText, longText, longText, longText, longText, longText, longText, longText,
              longText, longText, longText, longText, longText, longText, longText, huge};
    SintegraGnre gnre{longText, longText, longText, longText, longText, longText,
                      longText, longText, -huge,    longText, longText, longText};
    writer.Write10And11();
    writer.Write50({r50});
    writer.Write51({r51});
    writer.Write53With54({r53}, [&](const Row53&) { return std::vector<Item54>{item}; });
    writer.Write55(gnre);
    writer.Write61({r61});
    writer.Write70({r70});
    writer.Write71({r71});
    writer.Write75({{longText, longText, longText, huge, huge, huge, huge}});
    writer.Write90();
    QCOMPARE(writer.lines().size(), 13); // 10, 11, 50..75 and two type-90 lines
    for (const QString& line : writer.lines())
        QCOMPARE(line.size(), SintegraLineWidth);
    // N fields keep their right part, X fields their left part.
    QCOMPARE(writer.lines().at(0).mid(30, 35), longText.left(35));
    QCOMPARE(writer.lines().at(2).mid(2, 14), longText.right(14));
    QCOMPARE(writer.lines().at(2).mid(56, 13), QString::number(huge / 100).right(13));
}

void TestSintegraLayout::savedFileIsWindows1252WithCrLf() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"SINTEGRA.TXT"_s);
    SintegraWriter writer(Informant(), SintegraChoice{});
    writer.Write10And11();
    writer.Write90();
    SaveSintegraFile(path, writer.lines());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 3 * (SintegraLineWidth + 2));
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(bytes.mid(n * (SintegraLineWidth + 2) - 2, 2), QByteArray("\r\n"));
    // "COMÉRCIO" and "SÃO" are one byte per letter.
    QCOMPARE(bytes.mid(30, 3), QByteArray("COM"));
    QCOMPARE(quint8(bytes.at(33)), quint8(0xC9));
    QCOMPARE(quint8(bytes.at(66)), quint8(0xC3));
    // A folder that does not exist fails without leaving a file.
    QVERIFY_THROWS_EXCEPTION(livrax::print::PrintError,
                             SaveSintegraFile(dir.filePath(u"none/X.TXT"_s), writer.lines()));
}

QTEST_GUILESS_MAIN(TestSintegraLayout)
#include "test_sintegra_layout.moc"
