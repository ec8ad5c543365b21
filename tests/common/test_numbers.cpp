#include "common/fields.h"
#include "common/numbers.h"

#include "platform/clock.h"

#include <QTest>

#include <limits>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestNumbers : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void formatMoney_data();
    void formatMoney();
    void formatMoneyInteger();
    void sqlNumber_data();
    void sqlNumber();
    void toScaled_data();
    void toScaled();
    void scaledToText_data();
    void scaledToText();
    void scaledTextFeedsFormatters();
    void formatScaledMatchesTextPath();
    void dotDecimal_data();
    void dotDecimal();
    void toSqlValue_data();
    void toSqlValue();
    void mulDivRounded_data();
    void mulDivRounded();
};

void TestNumbers::init() {
    platform::Clock::setFixed(QDateTime(QDate(2007, 6, 15), QTime(10, 0)));
}

void TestNumbers::cleanup() {
    platform::Clock::reset();
}

void TestNumbers::formatMoney_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("millions, padded") << "1234567.891" << 15 << 2 << "   1.234.567,89";
    QTest::newRow("overflow drops leftmost") << "1234567,89" << 10 << 2 << "234.567,89";
    QTest::newRow("no thousands, padded") << "123" << 8 << 2 << "  123,00";
    QTest::newRow("negative, padded") << "-1234" << 11 << 2 << "  -1.234,00";
    QTest::newRow("negative, unpadded") << "-1234" << 0 << 2 << "-1.234,00";
    QTest::newRow("millions, unpadded") << "1234567" << 0 << 2 << "1.234.567,00";
    QTest::newRow("padding between digits and spaces") << "12" << 6 << 0 << "    12";
    QTest::newRow("zero") << "0" << 0 << 2 << "0,00";
    QTest::newRow("no decimals") << "1000" << 0 << 0 << "1.000";
    QTest::newRow("three digits, no dot") << "999" << 0 << 0 << "999";
    // Digits in multiples of three with no padding in front: no dot may
    // land before the first digit or before the sign.
    QTest::newRow("three digits, unpadded") << "123" << 0 << 2 << "123,00";
    QTest::newRow("six digits, unpadded") << "123456" << 0 << 0 << "123.456";
    QTest::newRow("six digits, negative") << "-123456" << 0 << 2 << "-123.456,00";
    QTest::newRow("five digits, negative") << "-12345" << 0 << 2 << "-12.345,00";
    QTest::newRow("exact width") << "123456" << 7 << 0 << "123.456";
}

void TestNumbers::formatMoney() {
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(FormatMoney(value, width, decimals), expected);
}

void TestNumbers::formatMoneyInteger() {
    QCOMPARE(FormatMoney(qint64(-1234), 0, 2), u"-1.234,00"_s);
    QCOMPARE(FormatMoney(qint64(123), 8, 2), u"  123,00"_s);
}

void TestNumbers::sqlNumber_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("thousands and comma") << "1.234,5" << 0 << 2 << "1234.50";
    QTest::newRow("trimmed") << "12" << 8 << 2 << "12.00";
    QTest::newRow("negative cut") << "-12,345" << 0 << 2 << "-12.34";
    QTest::newRow("fraction only") << ",5" << 0 << 2 << ".50";
    QTest::newRow("no digits") << "abc" << 0 << 0 << "0";
    QTest::newRow("no decimals") << "1.234,5" << 0 << 0 << "1234";
}

void TestNumbers::sqlNumber() {
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(SqlNumber(value, width, decimals), expected);
}

void TestNumbers::toScaled_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("four decimals") << "12,3456" << 4 << qint64(123456);
    QTest::newRow("not a number") << "abc" << 2 << qint64(0);
    QTest::newRow("lone minus") << "-" << 0 << qint64(0);
    QTest::newRow("thousands") << "1.234,56" << 2 << qint64(12345600);
    QTest::newRow("cut to decimals first") << "2,999" << 2 << qint64(29900);
    QTest::newRow("negative") << "-0,5" << 2 << qint64(-5000);
    QTest::newRow("fraction only") << ",5" << 2 << qint64(5000);
    QTest::newRow("trailing minus is positive") << "12-" << 0 << qint64(120000);
    QTest::newRow("no decimals") << "12,99" << 0 << qint64(120000);
    QTest::newRow("fifth decimal up") << "12,34567" << 5 << qint64(123457);
    QTest::newRow("fifth decimal down") << "12,34564" << 5 << qint64(123456);
    QTest::newRow("tie to even, stays") << "1,23445" << 5 << qint64(12344);
    QTest::newRow("tie to even, up") << "1,23455" << 5 << qint64(12346);
    QTest::newRow("tie at zero") << "0,00005" << 5 << qint64(0);
    QTest::newRow("above tie") << "0,000051" << 6 << qint64(1);
    QTest::newRow("below tie") << "0,000049" << 6 << qint64(0);
    QTest::newRow("negative tie, up") << "-0,00015" << 5 << qint64(-2);
    QTest::newRow("negative tie, stays") << "-0,00025" << 5 << qint64(-2);
    QTest::newRow("tie after cut") << "0,000050009" << 6 << qint64(0);
    QTest::newRow("width 15 drops leading digits")
        << "1234567890123456" << 0 << qint64(2345678901234560000);
    QTest::newRow("largest that fits") << "922337203685477" << 0 << qint64(9223372036854770000);
    QTest::newRow("beyond 64 bits") << "922337203685478" << 0 << qint64(0);
}

void TestNumbers::toScaled() {
    QFETCH(QString, value);
    QFETCH(int, decimals);
    QFETCH(qint64, expected);
    QCOMPARE(ToScaled(value, decimals), expected);
}

void TestNumbers::scaledToText_data() {
    QTest::addColumn<qint64>("scaled");
    QTest::addColumn<QString>("expected");

    QTest::newRow("positive") << qint64(123456) << "12,3456";
    QTest::newRow("small negative") << qint64(-5) << "-0,0005";
    QTest::newRow("zero") << qint64(0) << "0,0000";
    QTest::newRow("one") << qint64(10000) << "1,0000";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "922337203685477,5807";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "-922337203685477,5808";
}

void TestNumbers::scaledToText() {
    QFETCH(qint64, scaled);
    QFETCH(QString, expected);
    QCOMPARE(ScaledToText(scaled), expected);
}

void TestNumbers::scaledTextFeedsFormatters() {
    const qint64 amounts[] = {0, 1, -1, 123456789, -98765432100, 37990000};
    for (const qint64 amount : amounts)
        QCOMPARE(ToScaled(ScaledToText(amount), 4), amount);
    QCOMPARE(FormatMoney(ScaledToText(123456789), 0, 2), u"12.345,67"_s);
    QCOMPARE(FormatDecimal(ScaledToText(-5), 8, 4), u" -0,0005"_s);
    QCOMPARE(ToScaled(qint64(42), 2), qint64(420000));
}

void TestNumbers::formatScaledMatchesTextPath() {
    // The direct formatter must give exactly what formatting the amount's
    // text gives, for cut decimals, padding, cutting and signs.
    const qint64 amounts[] = {0,
                              1,
                              -1,
                              99,
                              -50,
                              100099,
                              -100099,
                              37990000,
                              123456789,
                              -987654321,
                              1000000000000,
                              std::numeric_limits<qint64>::max(),
                              std::numeric_limits<qint64>::min()};
    for (const qint64 amount : amounts)
        for (const int width : {0, 4, 12, 15, 25})
            for (const int decimals : {0, 1, 2, 4, 6})
                QCOMPARE(FormatScaled(amount, width, decimals),
                         FormatDecimal(ScaledToText(amount), width, decimals));
    QCOMPARE(FormatScaled(100099, 12, 2), u"       10,00"_s);
}

void TestNumbers::dotDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dot");
    QTest::addColumn<QString>("dotZero");

    QTest::newRow("thousands and comma") << "1.234,56"
                                         << "1234.56"
                                         << "1234.56";
    QTest::newRow("trimmed") << " 12,5 "
                             << "12.5"
                             << "12.5";
    QTest::newRow("dot alone kept") << "1.234"
                                    << "1.234"
                                    << "1.234";
    QTest::newRow("not only number characters") << "R$ 1.234,56"
                                                << "R$ 1.234.56"
                                                << "R$ 1234.56";
    QTest::newRow("empty") << ""
                           << ""
                           << "0";
    QTest::newRow("blank") << "   "
                           << ""
                           << "0";
}

void TestNumbers::dotDecimal() {
    QFETCH(QString, text);
    QFETCH(QString, dot);
    QFETCH(QString, dotZero);
    QCOMPARE(DotDecimal(text), dot);
    QCOMPARE(DotDecimalZero(text), dotZero);
}

void TestNumbers::toSqlValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("number") << "1.234,56"
                            << "1234.56";
    QTest::newRow("short date") << "15/02/07"
                                << "02-15-2007";
    QTest::newRow("windowed year") << "01/03/95"
                                   << "03-01-1995";
    QTest::newRow("long date kept") << "15/02/2007"
                                    << "15/02/2007";
    QTest::newRow("text kept") << "ABC"
                               << "ABC";
}

void TestNumbers::toSqlValue() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ToSqlValue(text), expected);
}

void TestNumbers::mulDivRounded_data() {
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("divisor");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("expected");
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    // Quantity 2,5000 × price 1,0100 (four decimals each) in cents: 2,525 → 2,52.
    QTest::newRow("half to even, down") << 25000LL << 10100LL << 1000000LL << true << 252LL;
    QTest::newRow("half to even, up") << 25000LL << 10300LL << 1000000LL << true << 258LL;
    QTest::newRow("above half") << 25001LL << 10100LL << 1000000LL << true << 253LL;
    QTest::newRow("negative tie") << -25000LL << 10100LL << 1000000LL << true << -252LL;
    QTest::newRow("negative divisor") << 25000LL << 10300LL << -1000000LL << true << -258LL;
    // Base 100,00 × rate 12,5 % in cents: 12,50 exactly.
    QTest::newRow("rate") << 10000LL << 125LL << 1000LL << true << 1250LL;
    // The 128-bit intermediate: the product leaves 64 bits, the result does not.
    QTest::newRow("wide product") << max << 4LL << 8LL << true << max / 2 + 1;
    QTest::newRow("overflow") << max << 2LL << 1LL << false << 0LL;
    QTest::newRow("division by zero") << 1LL << 1LL << 0LL << false << 0LL;
}

void TestNumbers::mulDivRounded() {
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, divisor);
    QFETCH(bool, ok);
    QFETCH(qint64, expected);
    const std::optional<qint64> result = MulDivRounded(a, b, divisor);
    QCOMPARE(result.has_value(), ok);
    if (ok) QCOMPARE(*result, expected);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
