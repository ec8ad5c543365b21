// The program's clock: a fixed moment always wins over the date the real
// clock keeps between calls.

#include "platform/clock.h"

#include <QTest>

using namespace livrax;

class TestClock : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() { platform::Clock::reset(); }
    void todayIsTheLocalDate();
    void fixedMomentWinsOverTheKeptDate();
};

void TestClock::todayIsTheLocalDate() {
    const QDate before = QDate::currentDate();
    const QDate today = platform::Clock::today();
    const QDate after = QDate::currentDate();
    // Midnight may fall between the calls.
    QVERIFY2(today == before || today == after, qPrintable(today.toString()));
}

void TestClock::fixedMomentWinsOverTheKeptDate() {
    const QDate real = platform::Clock::today(); // kept for this second
    platform::Clock::setFixed(QDateTime(QDate(2007, 6, 15), QTime(10, 0)));
    QCOMPARE(platform::Clock::today(), QDate(2007, 6, 15));
    platform::Clock::setFixed(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    QCOMPARE(platform::Clock::today(), QDate(2024, 1, 1));
    platform::Clock::reset();
    QVERIFY(platform::Clock::today() >= real);
    QVERIFY(platform::Clock::today() <= QDate::currentDate());
}

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
