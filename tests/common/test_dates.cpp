#include "common/dates.h"

#include "platform/clock.h"

#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

// Every test runs with the clock in 2007, so two-digit years fall between
// 1917 and 2016.
class TestDates : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void twoDigitYearWindow_data();
    void twoDigitYearWindow();
    void twoDigitYearFollowsClock();
    void parseDate_data();
    void parseDate();
    void isValidDate_data();
    void isValidDate();
    void sqlDate_data();
    void sqlDate();
    void dateMDY_data();
    void dateMDY();
    void dateFields_data();
    void dateFields();
    void addMonths_data();
    void addMonths();
    void lastDayOfMonth_data();
    void lastDayOfMonth();
    void formatShortDate();
};

void TestDates::init() {
    platform::Clock::setFixed(QDateTime(QDate(2007, 6, 15), QTime(10, 0)));
}

void TestDates::cleanup() {
    platform::Clock::reset();
}

void TestDates::twoDigitYearWindow_data() {
    QTest::addColumn<int>("currentYear");
    QTest::addColumn<int>("twoDigitYear");
    QTest::addColumn<int>("expected");

    QTest::newRow("2007: 95") << 2007 << 95 << 1995;
    QTest::newRow("2007: 17, first year of the window") << 2007 << 17 << 1917;
    QTest::newRow("2007: 16, last year of the window") << 2007 << 16 << 2016;
    QTest::newRow("2007: 00") << 2007 << 0 << 2000;
    QTest::newRow("2007: 99") << 2007 << 99 << 1999;
    QTest::newRow("2024: 34") << 2024 << 34 << 1934;
    QTest::newRow("2024: 33") << 2024 << 33 << 2033;
    QTest::newRow("2090: 00, window starts on a century") << 2090 << 0 << 2000;
    QTest::newRow("2090: 99") << 2090 << 99 << 2099;
}

void TestDates::twoDigitYearWindow() {
    QFETCH(int, currentYear);
    QFETCH(int, twoDigitYear);
    QFETCH(int, expected);
    QCOMPARE(ExpandTwoDigitYear(twoDigitYear, currentYear), expected);
}

void TestDates::twoDigitYearFollowsClock() {
    QCOMPARE(ExpandTwoDigitYear(16), 2016);
    QCOMPARE(ParseDate(u"01/01/17"_s), QDate(1917, 1, 1));
    platform::Clock::setFixed(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    QCOMPARE(ExpandTwoDigitYear(16), 2016);
    QCOMPARE(ParseDate(u"01/01/17"_s), QDate(2017, 1, 1));
}

void TestDates::parseDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("95 is 1995") << "15/02/95" << QDate(1995, 2, 15);
    QTest::newRow("17 is 1917") << "01/01/17" << QDate(1917, 1, 1);
    QTest::newRow("16 is 2016") << "01/01/16" << QDate(2016, 1, 1);
    QTest::newRow("four-digit year") << "29-02-2008" << QDate(2008, 2, 29);
    QTest::newRow("dots") << "01.03.1995" << QDate(1995, 3, 1);
    QTest::newRow("one-digit day and month") << "1/2/07" << QDate(2007, 2, 1);
    QTest::newRow("spaces ignored") << " 15 /02/07 " << QDate(2007, 2, 15);
    QTest::newRow("three-digit year") << "15/02/207" << QDate();
    QTest::newRow("three-digit day") << "015/02/07" << QDate();
    QTest::newRow("no year") << "15/02" << QDate();
    QTest::newRow("letters") << "bad" << QDate();
    QTest::newRow("not a real day") << "31/04/07" << QDate();
}

void TestDates::parseDate() {
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(ParseDate(text), expected);
}

void TestDates::isValidDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("validShort");

    QTest::newRow("31 February") << "31/02/07" << false << false;
    QTest::newRow("dashes, four-digit leap year") << "29-02-2008" << true << false;
    QTest::newRow("blank mask") << "  /  /  " << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("short") << "15/02/07" << true << true;
    QTest::newRow("dots") << "15.02.07" << true << true;
    QTest::newRow("spaces around") << " 15/02/07 " << true << true;
    QTest::newRow("long") << "15/02/2007" << true << false;
    QTest::newRow("one-digit day and month") << "1/2/07" << true << false;
    QTest::newRow("eight characters, wrong places") << "1/2/2007" << true << false;
    QTest::newRow("29 February, not leap") << "29/02/07" << false << false;
    QTest::newRow("29 February, leap") << "29/02/08" << true << true;
    QTest::newRow("day 32") << "32/01/07" << false << false;
    QTest::newRow("day 0") << "00/01/07" << false << false;
    QTest::newRow("month 13") << "15/13/07" << false << false;
    QTest::newRow("letters in day") << "ab/01/07" << false << false;
    QTest::newRow("no month") << "15//07" << false << false;
    QTest::newRow("no year") << "15/02" << false << false;
    QTest::newRow("trailing letter") << "15/02/07x" << false << false;
    QTest::newRow("mask with a digit missing") << "15/02/ 7" << false << false;
    QTest::newRow("letters in month") << "15/ab/07" << false << false;
}

void TestDates::isValidDate() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(bool, validShort);
    QCOMPARE(IsValidDate(text), valid);
    QCOMPARE(IsValidShortDate(text), validShort);
}

void TestDates::sqlDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("short") << "15/02/07"
                           << "'15.02.2007'";
    QTest::newRow("windowed") << "01/03/95"
                              << "'01.03.1995'";
    QTest::newRow("long, dots") << "01.03.1995"
                                << "'01.03.1995'";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "   "
                           << "";
    QTest::newRow("not a date") << "31/02/07"
                                << "";
    QTest::newRow("quote in text") << "01/01/07' OR 1=1"
                                   << "";
}

void TestDates::sqlDate() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SqlDate(text), expected);
}

void TestDates::dateMDY_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("short") << "15/02/07"
                           << "02-15-2007";
    QTest::newRow("long, spaces") << " 15/02/2007 "
                                  << "02-15-2007";
    QTest::newRow("seven characters or fewer") << "1/2/07"
                                               << "";
    QTest::newRow("not a date") << "31/02/07"
                                << "";
}

void TestDates::dateMDY() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(DateMDY(text), expected);
}

void TestDates::dateFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ymd");
    QTest::addColumn<QString>("dmy8");
    QTest::addColumn<QString>("dmy10");

    QTest::newRow("short") << "15/02/07"
                           << "20070215"
                           << "15022007"
                           << "15/02/2007";
    QTest::newRow("windowed") << "05/11/95"
                              << "19951105"
                              << "05111995"
                              << "05/11/1995";
    QTest::newRow("dashes") << "29-02-2008"
                            << "20080229"
                            << "29022008"
                            << "29/02/2008";
    QTest::newRow("not a date") << "31/02/07"
                                << "31/02/07"
                                << "31/02/07"
                                << "31/02/07";
    QTest::newRow("leap day") << "29/02/08"
                              << "20080229"
                              << "29022008"
                              << "29/02/2008";
    QTest::newRow("day zero") << "00/02/08"
                              << "00/02/08"
                              << "00/02/08"
                              << "00/02/08";
    QTest::newRow("month 13") << "01/13/08"
                              << "01/13/08"
                              << "01/13/08"
                              << "01/13/08";
    QTest::newRow("blank") << "  /  /  "
                           << "  /  /  "
                           << "  /  /  "
                           << "  /  /  ";
}

void TestDates::dateFields() {
    QFETCH(QString, text);
    QFETCH(QString, ymd);
    QFETCH(QString, dmy8);
    QFETCH(QString, dmy10);
    QCOMPARE(DateYMD(text), ymd);
    QCOMPARE(DateDMY8(text), dmy8);
    QCOMPARE(DateDMY10(text), dmy10);
}

void TestDates::addMonths_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("months");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ddmmyy, end of month") << "310107" << 1 << "28/02/07";
    QTest::newRow("end of month") << "31/01/07" << 1 << "28/02/07";
    QTest::newRow("ddmmyyyy, leap year") << "31012008" << 1 << "29/02/08";
    QTest::newRow("across a year, back") << "15-02-07" << -2 << "15/12/06";
    QTest::newRow("twelve months") << "15.02.07" << 12 << "15/02/08";
    QTest::newRow("into February") << "30/11/07" << 3 << "29/02/08";
    QTest::newRow("zero months") << "5/3/2007" << 0 << "05/03/07";
    QTest::newRow("blank kept") << "  /  /  " << 1 << "  /  /  ";
    QTest::newRow("empty kept") << "" << 1 << "";
    QTest::newRow("not a date, separators") << "99-99-99" << 1 << "99/99/99";
    QTest::newRow("not a date, slashes inserted") << "999999" << 1 << "99/99/99";
    QTest::newRow("short text kept") << "abc" << 1 << "abc";
}

void TestDates::addMonths() {
    QFETCH(QString, text);
    QFETCH(int, months);
    QFETCH(QString, expected);
    QCOMPARE(AddMonths(text, months), expected);
}

void TestDates::lastDayOfMonth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("expectedShort");

    QTest::newRow("leap February") << "15/02/08"
                                   << "29/02/08"
                                   << "29/02/08";
    QTest::newRow("February") << "15/02/07"
                              << "28/02/07"
                              << "28/02/07";
    QTest::newRow("December") << "01/12/07"
                              << "31/12/07"
                              << "31/12/07";
    QTest::newRow("dashes") << "10-04-07"
                            << "30/04/07"
                            << "30/04/07";
    QTest::newRow("four-digit year") << "15/02/2008"
                                     << "29/02/08"
                                     << "";
    QTest::newRow("not a date") << "31/02/07"
                                << ""
                                << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("the last day itself") << "31/01/26"
                                         << "31/01/26"
                                         << "31/01/26";
    QTest::newRow("one-digit day and month") << "1/2/04"
                                             << "29/02/04"
                                             << "";
    QTest::newRow("blank mask") << "  /  /  "
                                << ""
                                << "";
    QTest::newRow("month 13") << "15/13/04"
                              << ""
                              << "";
    QTest::newRow("letters") << "aa/02/04"
                             << ""
                             << "";
}

void TestDates::lastDayOfMonth() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, expectedShort);
    QCOMPARE(LastDayOfMonth(text), expected);
    QCOMPARE(LastDayOfMonthShort(text), expectedShort);
}

void TestDates::formatShortDate() {
    QCOMPARE(FormatShortDate(QDate(2007, 3, 5)), u"05/03/07"_s);
    QCOMPARE(FormatShortDate(QDate(1995, 12, 31)), u"31/12/95"_s);
    QCOMPARE(FormatShortDate(QDate(2000, 1, 9)), u"09/01/00"_s);
    QCOMPARE(FormatShortDate(QDate()), QString());
}

QTEST_APPLESS_MAIN(TestDates)
#include "test_dates.moc"
