#include "common/fields.h"

#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestFields : public QObject {
    Q_OBJECT

  private slots:
    void textBeforeAfter_data();
    void textBeforeAfter();
    void keepChars();
    void padding_data();
    void padding();
    void spacesAndZeros();
    void toInt_data();
    void toInt();
    void formatDecimal_data();
    void formatDecimal();
    void formatDecimalInteger_data();
    void formatDecimalInteger();
    void quote_data();
    void quote();
    void splitFields_data();
    void splitFields();
    void splitFieldsLeavesFieldsBeyondCount();
    void splitFieldsStopsAtLastField();
    void twoFieldArraysAreIndependent();
    void splitToList_data();
    void splitToList();
    void fieldAt_data();
    void fieldAt();
    void setFieldAt_data();
    void setFieldAt();
    void joinFields_data();
    void joinFields();
    void joinedLineSplitsBack();
};

void TestFields::textBeforeAfter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("first separator") << "A#B#C"
                                     << "#"
                                     << "A"
                                     << "B#C";
    QTest::newRow("absent") << "ABC"
                            << "#"
                            << "ABC"
                            << "ABC";
    QTest::newRow("at start") << "#A"
                              << "#"
                              << ""
                              << "A";
    QTest::newRow("at end") << "A#"
                            << "#"
                            << "A"
                            << "";
    QTest::newRow("longer separator") << "A::B::C"
                                      << "::"
                                      << "A"
                                      << "B::C";
    QTest::newRow("empty separator") << "ABC"
                                     << ""
                                     << "ABC"
                                     << "ABC";
}

void TestFields::textBeforeAfter() {
    QFETCH(QString, text);
    QFETCH(QString, sep);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QCOMPARE(TextBefore(text, sep), before);
    QCOMPARE(TextAfter(text, sep), after);
}

void TestFields::keepChars() {
    QCOMPARE(KeepChars(u"a1-b2,c3"_s, u"0123456789"_s), u"123"_s);
    QCOMPARE(KeepChars(u"a1-b2,c3"_s, u",-"_s), u"-,"_s);
    QCOMPARE(KeepChars(u"abc"_s, QString()), QString());
}

void TestFields::padding_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");

    QTest::newRow("PadRight cut") << "PadRight"
                                  << "ABCDE" << 3 << "ABC";
    QTest::newRow("PadRight fill") << "PadRight"
                                   << "AB" << 5 << "AB   ";
    QTest::newRow("PadRight empty") << "PadRight"
                                    << "" << 2 << "  ";
    QTest::newRow("PadRight width 0") << "PadRight"
                                      << " AB " << 0 << " AB ";
    QTest::newRow("PadRight negative width") << "PadRight"
                                             << "AB" << -1 << "AB";
    QTest::newRow("PadLeft empty is 0") << "PadLeft"
                                        << "" << 3 << "  0";
    QTest::newRow("PadLeft fill") << "PadLeft"
                                  << "12" << 5 << "   12";
    QTest::newRow("PadLeft keeps rightmost") << "PadLeft"
                                             << "12345" << 3 << "345";
    QTest::newRow("PadLeft exact") << "PadLeft"
                                   << "123" << 3 << "123";
    QTest::newRow("PadLeft empty width 0") << "PadLeft"
                                           << "" << 0 << "0";
    QTest::newRow("PadLeft width 0") << "PadLeft"
                                     << "AB " << 0 << "AB ";
    QTest::newRow("ZeroPad empty") << "ZeroPad"
                                   << "" << 3 << "000";
    QTest::newRow("ZeroPad keeps rightmost") << "ZeroPad"
                                             << "12345" << 3 << "345";
    QTest::newRow("ZeroPad trims") << "ZeroPad"
                                   << " 7 " << 3 << "007";
    QTest::newRow("ZeroPad width 0 trims") << "ZeroPad"
                                           << " 7 " << 0 << "7";
}

void TestFields::padding() {
    QFETCH(QString, function);
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QString actual;
    if (function == "PadRight"_L1)
        actual = PadRight(value, width);
    else if (function == "PadLeft"_L1)
        actual = PadLeft(value, width);
    else
        actual = ZeroPad(value, width);
    QCOMPARE(actual, expected);
}

void TestFields::spacesAndZeros() {
    QCOMPARE(Spaces(3), u"   "_s);
    QCOMPARE(Zeros(4), u"0000"_s);
    QCOMPARE(Spaces(0), QString());
    QCOMPARE(Zeros(-2), QString());
    QCOMPARE(ZeroPad(qint64(7), 3), u"007"_s);
    QCOMPARE(ZeroPad(qint64(12345), 3), u"345"_s);
}

void TestFields::toInt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("ok");

    QTest::newRow("plain") << "42" << 42 << true;
    QTest::newRow("spaces") << " 12 " << 12 << true;
    QTest::newRow("negative") << "-15" << -15 << true;
    QTest::newRow("symbols dropped") << "R$ 1.234" << 1234 << true;
    QTest::newRow("no digits") << "abc" << 0 << true;
    QTest::newRow("empty") << "" << 0 << true;
    QTest::newRow("cut to 9 characters") << "1234567890123" << 123456789 << true;
    QTest::newRow("cut with sign") << "-12345678901" << -12345678 << true;
    QTest::newRow("inner minus") << "1-2" << 0 << false;
    QTest::newRow("trailing minus") << "12-" << 0 << false;
    QTest::newRow("lone minus") << "-" << 0 << false;
    QTest::newRow("double minus") << "--1" << 0 << false;
}

void TestFields::toInt() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(bool, ok);
    bool converted = !ok;
    QCOMPARE(ToInt(text, &converted), expected);
    QCOMPARE(converted, ok);
    QCOMPARE(ToInt(text), expected);
}

void TestFields::formatDecimal_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("thousands dot dropped") << "1.234,567" << 10 << 2 << "   1234,56";
    QTest::newRow("decimal point accepted") << "1234.5" << 0 << 2 << "1234,50";
    QTest::newRow("trailing minus is positive") << "12-" << 0 << 0 << "12";
    QTest::newRow("inner minus is positive") << "-1-2" << 0 << 0 << "12";
    QTest::newRow("empty") << "" << 5 << 2 << " 0,00";
    QTest::newRow("overflow drops leading digits") << "1234567" << 5 << 2 << "67,00";
    QTest::newRow("cut, not rounded") << "2.999" << 0 << 2 << "2,99";
    QTest::newRow("negative cut") << "-12,345" << 0 << 2 << "-12,34";
    QTest::newRow("empty integer part stays empty") << ",5" << 0 << 2 << ",50";
    QTest::newRow("fraction dropped") << "12,9" << 0 << 0 << "12";
    QTest::newRow("negative decimals") << "12,9" << 4 << -1 << "  12";
    QTest::newRow("currency symbol") << "R$ 1.234,56" << 0 << 2 << "1234,56";
    QTest::newRow("spaces trimmed") << "  7  " << 6 << 1 << "   7,0";
    QTest::newRow("no digits, no decimals") << "abc" << 3 << 0 << "  0";
    QTest::newRow("no digits, decimals") << "abc" << 5 << 2 << "  ,00";
    QTest::newRow("many decimals") << "1,5" << 0 << 18 << "1,500000000000000000";
}

void TestFields::formatDecimal() {
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(FormatDecimal(value, width, decimals), expected);
}

void TestFields::formatDecimalInteger_data() {
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("overflow") << qint64(1234567) << 5 << 2 << "67,00";
    QTest::newRow("negative") << qint64(-42) << 0 << 2 << "-42,00";
    QTest::newRow("zero") << qint64(0) << 4 << 0 << "   0";
}

void TestFields::formatDecimalInteger() {
    QFETCH(qint64, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(FormatDecimal(value, width, decimals), expected);
}

void TestFields::quote_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLen");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "abc" << 0 << "'abc'";
    QTest::newRow("apostrophe doubled") << "O'Brien" << 0 << "'O''Brien'";
    QTest::newRow("injection stays inside") << "x' OR '1'='1" << 0 << "'x'' OR ''1''=''1'";
    QTest::newRow("cut") << "abcdef" << 3 << "'abc'";
    QTest::newRow("cut before doubling") << "a'bc" << 2 << "'a'''";
    QTest::newRow("empty") << "" << 0 << "''";
}

void TestFields::quote() {
    QFETCH(QString, text);
    QFETCH(int, maxLen);
    QFETCH(QString, expected);
    QCOMPARE(Quote(text, maxLen), expected);
}

void TestFields::splitFields_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("terminated") << "A#B#C#" << 3 << "C" << QStringList{"A", "B", "C"};
    QTest::newRow("empty inner field") << "A##C" << 3 << "C" << QStringList{"A", "", "C"};
    QTest::newRow("leading hash") << "#A" << 2 << "A" << QStringList{"", "A"};
    QTest::newRow("not trimmed") << " A #B" << 2 << "B" << QStringList{" A ", "B"};
    QTest::newRow("count 0 splits all") << "A#B" << 0 << "" << QStringList{"A", "B", ""};
    QTest::newRow("stops after count") << "A#B#C" << 2 << "B" << QStringList{"A", "B"};
    QTest::newRow("blank line") << "   " << 3 << "" << QStringList{"", "", ""};
    QTest::newRow("count beyond array") << "A#B" << 191 << "" << QStringList{"A", "B"};
}

void TestFields::splitFields() {
    QFETCH(QString, line);
    QFETCH(int, count);
    QFETCH(QString, result);
    QFETCH(QStringList, fields);
    SplitFields(u"X#X#X#X#X"_s, 0); // leftovers that the split must clear
    QCOMPARE(SplitFields(line, count), result);
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(FieldArrayA().field(i + 1), fields.at(i));
}

void TestFields::splitFieldsLeavesFieldsBeyondCount() {
    SplitFields(u"X#Y#Z#W"_s, 0);
    QCOMPARE(SplitFields(u"A#B#C"_s, 2), u"B"_s);
    QCOMPARE(FieldArrayA().field(1), u"A"_s);
    QCOMPARE(FieldArrayA().field(3), u"Z"_s);
    QCOMPARE(FieldArrayA().field(4), u"W"_s);
    QCOMPARE(FieldArrayA().fields(3), (QStringList{"A", "B", "Z"}));
}

void TestFields::splitFieldsStopsAtLastField() {
    QStringList values;
    for (int i = 1; i <= 200; ++i)
        values.append(QString::number(i));
    const QString line = values.join(QLatin1Char('#'));

    FieldArray array;
    QCOMPARE(array.split(line, 0), QString());
    QCOMPARE(array.field(1), u"1"_s);
    QCOMPARE(array.field(190), u"190"_s);
    QCOMPARE(array.field(191), QString());
    QCOMPARE(array.field(0), QString());
    QCOMPARE(array.fields().size(), 190);
    QCOMPARE(array.split(line, 190), u"190"_s);
}

void TestFields::twoFieldArraysAreIndependent() {
    FieldArrayA().split(u"A#B"_s, 2);
    FieldArrayB().split(u"X#Y"_s, 2);
    QCOMPARE(FieldArrayA().field(2), u"B"_s);
    QCOMPARE(FieldArrayB().field(2), u"Y"_s);
    SplitFields(u"P#Q"_s, 2);
    QCOMPARE(FieldArrayA().field(1), u"P"_s);
    QCOMPARE(FieldArrayB().field(1), u"X"_s);
}

void TestFields::splitToList_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("max");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("terminated") << "A#B#C#" << 0 << QStringList{"A", "B", "C"};
    QTest::newRow("final field closed at end") << "A#B#C" << 0 << QStringList{"A", "B", "C"};
    QTest::newRow("empty inner field") << "A##C#" << 0 << QStringList{"A", "", "C"};
    QTest::newRow("leading hash") << "#A" << 0 << QStringList{"", "A"};
    QTest::newRow("single") << "A" << 0 << QStringList{"A"};
    QTest::newRow("limited") << "A#B#C#" << 2 << QStringList{"A", "B"};
    QTest::newRow("limit above count") << "A#B#C" << 5 << QStringList{"A", "B", "C"};
    QTest::newRow("empty") << "" << 0 << QStringList{};
    QTest::newRow("blank") << "   " << 0 << QStringList{};
}

void TestFields::splitToList() {
    QFETCH(QString, line);
    QFETCH(int, max);
    QFETCH(QStringList, expected);
    QCOMPARE(SplitToList(line, max), expected);
}

void TestFields::fieldAt_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first") << "A#B#C" << 1 << "A";
    QTest::newRow("middle") << "A#B#C" << 2 << "B";
    QTest::newRow("last, unterminated") << "A#B#C" << 3 << "C";
    QTest::newRow("last, terminated") << "A#B#C#" << 3 << "C";
    QTest::newRow("beyond") << "A#B#C" << 4 << "";
    QTest::newRow("empty inner") << "A##C" << 2 << "";
    QTest::newRow("leading hash skipped") << "#A#B" << 1 << "A";
    QTest::newRow("leading hash skipped, second") << "#A#B" << 2 << "B";
    QTest::newRow("zero") << "A#B" << 0 << "";
    QTest::newRow("at most 999 characters")
        << QString(1200, QLatin1Char('x')) + u"#B"_s << 1 << QString(999, QLatin1Char('x'));
}

void TestFields::fieldAt() {
    QFETCH(QString, line);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(FieldAt(line, n), expected);
}

void TestFields::setFieldAt_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("middle") << "A#B#C#" << 2 << "X"
                            << "A#X#C#";
    QTest::newRow("first") << "A#B#C#" << 1 << "X"
                           << "X#B#C#";
    QTest::newRow("last, unterminated") << "A#B#C" << 3 << "X"
                                        << "A#B#X";
    QTest::newRow("cleared") << "A#B#" << 1 << ""
                             << "#B#";
    QTest::newRow("grown, terminated") << "A#B#" << 4 << "X"
                                       << "A#B##X#";
    QTest::newRow("grown, unterminated") << "A#B" << 3 << "X"
                                         << "A#B#X#";
    QTest::newRow("grown from one field") << "A" << 3 << "X"
                                          << "A##X#";
    QTest::newRow("empty stays empty") << "" << 2 << "X"
                                       << "";
    QTest::newRow("zero leaves line") << "A#B#" << 0 << "X"
                                      << "A#B#";
}

void TestFields::setFieldAt() {
    QFETCH(QString, line);
    QFETCH(int, n);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(SetFieldAt(line, n, value), expected);
}

void TestFields::joinFields_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty in the middle") << QStringList{"A", "", "C"} << 0 << "A##C#";
    QTest::newRow("lone hash is empty") << QStringList{"A", "#", "", "D"} << 0 << "A###D#";
    QTest::newRow("trailing empties dropped") << QStringList{"A", "", ""} << 0 << "A#";
    QTest::newRow("leading empty") << QStringList{"", "B"} << 0 << "#B#";
    QTest::newRow("all empty") << QStringList{"", "#", ""} << 0 << "";
    QTest::newRow("count limits") << QStringList{"A", "B", "C"} << 2 << "A#B#";
    QTest::newRow("count above size") << QStringList{"A"} << 5 << "A#";
    QTest::newRow("spaces are a value") << QStringList{" ", "B"} << 0 << " #B#";
    QTest::newRow("no values") << QStringList{} << 0 << "";
}

void TestFields::joinFields() {
    QFETCH(QStringList, values);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(JoinFields(values, count), expected);
}

void TestFields::joinedLineSplitsBack() {
    const QString line = JoinFields({u"01/01/07"_s, QString(), u"DTNOTA"_s, QString()});
    QCOMPARE(line, u"01/01/07##DTNOTA#"_s);
    QCOMPARE(SplitToList(line), (QStringList{"01/01/07", "", "DTNOTA"}));
    SplitFields(line, 5);
    QCOMPARE(FieldArrayA().fields(5), (QStringList{"01/01/07", "", "DTNOTA", "", ""}));
}

QTEST_APPLESS_MAIN(TestFields)
#include "test_fields.moc"
