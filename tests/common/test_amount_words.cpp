#include "common/amount_words.h"

#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

// The printed form keeps the exact spacing, double spaces included.
class TestAmountWords : public QObject {
    Q_OBJECT

  private slots:
    void amountInWords_data();
    void amountInWords();
    void amountInWordsInteger();
    void hundredsInWords_data();
    void hundredsInWords();
};

void TestAmountWords::amountInWords_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1234,56") << "1234,56"
                             << "HUM MIL, DUZENTOS E TRINTA E QUATRO  REAIS E CINQUENTA E SEIS "
                                "CENTAVOS";
    QTest::newRow("scaled text") << "1234,5600"
                                 << "HUM MIL, DUZENTOS E TRINTA E QUATRO  REAIS E CINQUENTA E "
                                    "SEIS CENTAVOS";
    QTest::newRow("1") << "1"
                       << "HUM  REAL ";
    QTest::newRow("100") << "100"
                         << "CEM  REAIS ";
    QTest::newRow("115") << "115"
                         << "CENTO E QUINZE  REAIS ";
    QTest::newRow("21,01") << "21,01"
                           << " VINTE E UM  REAIS E UM CENTAVO";
    QTest::newRow("0,50") << "0,50"
                          << " CINQUENTA  CENTAVOS";
    QTest::newRow("12,3") << "12,3"
                          << " DOZE  REAIS E TRINTA  CENTAVOS";
    QTest::newRow("2000000") << "2000000"
                             << "DOIS MILHÕES, REAIS ";
    QTest::newRow("1000000") << "1000000"
                             << "HUM MILHÃO, REAIS ";
    QTest::newRow("1001") << "1001"
                          << "HUM MIL, UM  REAL ";
    QTest::newRow("cut, not rounded") << "1,999"
                                      << "HUM  REAL E NOVENTA E NOVE CENTAVOS";
    QTest::newRow("thousands dots") << "2.500.000,00"
                                    << "DOIS MILHÕES, QUINHENTOS  MIL, REAIS ";
    QTest::newRow("0") << "0"
                       << "";
    QTest::newRow("0,00") << "0,00"
                          << "";
    QTest::newRow("0,001") << "0,001"
                           << "";
    QTest::newRow("negative") << "-5"
                              << "";
    QTest::newRow("negative cents") << "-0,50"
                                    << "";
    QTest::newRow("blank") << ""
                           << "";
    QTest::newRow("letters") << "abc"
                             << "";
    QTest::newRow("beyond trillions") << "1000000000000001"
                                      << "";
    QTest::newRow("leading zeros") << "0000000000000001"
                                   << "HUM  REAL ";
    QTest::newRow("leading zeros and cents") << "000000000000000012,50"
                                             << " DOZE  REAIS E CINQUENTA  CENTAVOS";
    QTest::newRow("leading zeros, five groups")
        << "000999999999999999,99"
        << "NOVECENTOS E NOVENTA E NOVE TRILHÕES, NOVECENTOS E NOVENTA E NOVE BILHÕES, "
           "NOVECENTOS E NOVENTA E NOVE MILHÕES, NOVECENTOS E NOVENTA E NOVE MIL, NOVECENTOS E "
           "NOVENTA E NOVE  REAIS E NOVENTA E NOVE CENTAVOS";
    QTest::newRow("leading zeros, beyond trillions") << "0001000000000000001"
                                                     << "";
    QTest::newRow("negative with leading zeros") << "-0000000000000001"
                                                 << "";
}

void TestAmountWords::amountInWords() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(AmountInWords(value), expected);
}

void TestAmountWords::amountInWordsInteger() {
    QCOMPARE(AmountInWords(qint64(100)), u"CEM  REAIS "_s);
    QCOMPARE(AmountInWords(qint64(0)), QString());
    QCOMPARE(AmountInWords(qint64(-1)), QString());
}

void TestAmountWords::hundredsInWords_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expected");

    QTest::newRow("100") << "100"
                         << "CEM ";
    QTest::newRow("115") << "115"
                         << "CENTO E  QUINZE ";
    QTest::newRow("101") << "101"
                         << "CENTO E UM ";
    QTest::newRow("200") << "200"
                         << "DUZENTOS   ";
    QTest::newRow("999") << "999"
                         << "NOVECENTOS E  NOVENTA E NOVE ";
    QTest::newRow("20") << "20"
                        << " VINTE   ";
    QTest::newRow("10") << "10"
                        << " DEZ   ";
    QTest::newRow("11") << "11"
                        << " ONZE ";
    QTest::newRow("7") << "7"
                       << "SETE ";
    QTest::newRow("blank") << ""
                           << "";
    QTest::newRow("zero") << "000"
                          << "";
}

void TestAmountWords::hundredsInWords() {
    QFETCH(QString, group);
    QFETCH(QString, expected);
    QCOMPARE(HundredsInWords(group), expected);
}

QTEST_APPLESS_MAIN(TestAmountWords)
#include "test_amount_words.moc"
