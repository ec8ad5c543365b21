// The user's rights string and preference flags: which positions allow,
// which need "S", and what a short or blank text means.

#include "data/globals.h"
#include "data/rights.h"
#include "data/user_flags.h"

#include <QTest>

using namespace livrax::data;
using namespace Qt::StringLiterals;

class TestUserRights : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { ResetGlobals(); }
    void cleanup() { ResetGlobals(); }

    void rights_data();
    void rights();
    void flags_data();
    void flags();
    void savedFlagsReadBack_data();
    void savedFlagsReadBack();
    void screenPrintMode_data();
    void screenPrintMode();
};

void TestUserRights::rights_data() {
    QTest::addColumn<QString>("rights");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<bool>("allowedOnlyWithS");
    // Positions 21..28 of the generic query on a string of 28 characters.
    const QString query = u"SSSSSSSSSSSSSSSSSSSSNSXNS SN"_s;
    QTest::newRow("N denies") << query << 21 << false << false;
    QTest::newRow("S allows both") << query << 22 << true << true;
    QTest::newRow("another letter allows, not the S-only") << query << 23 << true << false;
    QTest::newRow("a space allows, not the S-only") << query << 26 << true << false;
    QTest::newRow("last position, N") << query << 28 << false << false;
    QTest::newRow("lower-case n is not N") << u"n"_s << 1 << true << false;
    // A string shorter than the position: allowed, except the S-only ones
    // (21..27 shown, "SQL" page hidden).
    QTest::newRow("short string, 21") << u"SSSS"_s << 21 << true << false;
    QTest::newRow("short string, 27") << QString(27, u'S') << 27 << true << true;
    QTest::newRow("short string, 28") << QString(27, u'S') << 28 << true << false;
    QTest::newRow("empty string") << QString() << 4 << true << false;
    QTest::newRow("first position") << u"NS"_s << 1 << false << false;
    QTest::newRow("no position 0") << u"N"_s << 0 << true << false;
}

void TestUserRights::rights() {
    QFETCH(QString, rights);
    QFETCH(int, position);
    QFETCH(bool, allowed);
    QFETCH(bool, allowedOnlyWithS);
    Globals().user.rights = rights;
    QCOMPARE(HasRight(position), allowed);
    QCOMPARE(HasRightOnlyWithS(position), allowedOnlyWithS);
}

void TestUserRights::flags_data() {
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QList<bool>>("on"); // flags 1, 2, 3, 4, 6, 7
    QTest::newRow("blank: the not-N ones on")
        << u"    3"_s << QList<bool>{true, true, false, false, true, false};
    QTest::newRow("empty text: the same")
        << QString() << QList<bool>{true, true, false, false, true, false};
    QTest::newRow("all S") << u"SSSS3SS"_s << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("all N") << u"NNNN3NN"_s << QList<bool>{false, false, false, false, false, false};
    QTest::newRow("other letters: only the not-N ones")
        << u"XXXX3XX"_s << QList<bool>{true, true, false, false, true, false};
}

void TestUserRights::flags() {
    QFETCH(QString, flags);
    QFETCH(QList<bool>, on);
    const QList<UserFlag> checkBoxes = {UserFlag::Messages,     UserFlag::Agenda,
                                        UserFlag::ReadReceipt,  UserFlag::ColouredRows,
                                        UserFlag::Authenticate, UserFlag::PrintDialogInPreview};
    Globals().user.flags = flags;
    for (int i = 0; i < checkBoxes.size(); ++i) {
        QCOMPARE(FlagOn(flags, checkBoxes.at(i)), on.at(i));
        QCOMPARE(UserFlagOn(checkBoxes.at(i)), on.at(i));
    }
}

void TestUserRights::savedFlagsReadBack_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("after");
    QTest::newRow("short text padded, N written")
        << u"S"_s << false << u"NNNN NN"_s.leftJustified(20);
    QTest::newRow("S written, the rest kept")
        << u"NNNN2NN   ZZ"_s << true << u"SSSS2SS   ZZ"_s.leftJustified(20);
}

void TestUserRights::savedFlagsReadBack() {
    QFETCH(QString, before);
    QFETCH(bool, on);
    QFETCH(QString, after);
    QString flags = before;
    for (UserFlag flag :
         {UserFlag::Messages, UserFlag::Agenda, UserFlag::ReadReceipt, UserFlag::ColouredRows,
          UserFlag::Authenticate, UserFlag::PrintDialogInPreview}) {
        flags = FlagsWith(flags, flag, on);
        QCOMPARE(FlagOn(flags, flag), on);
    }
    QCOMPARE(flags, after);
}

void TestUserRights::screenPrintMode_data() {
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("mode");
    QTest::newRow("0") << u"SSSS0"_s << 0;
    QTest::newRow("2") << u"    2"_s << 2;
    QTest::newRow("blank: 3") << u"SSSS "_s << 3;
    QTest::newRow("short: 3") << u"SS"_s << 3;
    QTest::newRow("not a mode: 3") << u"SSSS7"_s << 3;
}

void TestUserRights::screenPrintMode() {
    QFETCH(QString, flags);
    QFETCH(int, mode);
    Globals().user.flags = flags;
    QCOMPARE(ScreenPrintMode(flags), mode);
    QCOMPARE(UserScreenPrintMode(), mode);
    // Written back, the digit is the only change.
    const QString written = FlagsWithScreenPrintMode(flags, 1);
    QCOMPARE(ScreenPrintMode(written), 1);
    QCOMPARE(written.size(), 20);
    QCOMPARE(written.left(4), flags.leftJustified(20).left(4));
}

QTEST_APPLESS_MAIN(TestUserRights)
#include "test_user_rights.moc"
