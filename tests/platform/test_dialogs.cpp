// The input prompt, the system message and the font and printer settings
// texts, on offscreen windows.

#include "platform/dialogs.h"

#include "support/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace livrax::platform;

namespace {

QWidget* FindTopLevel(const QString& name) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

  private slots:
    void promptKeyFilters_data();
    void promptKeyFilters();
    void promptRefusesBlankOk();
    void promptCancelReturnsTheText();
    void systemMessageStaysUntilClosed();
    void systemMessageClosesItself();
    void fontSpecs();
    void printSettingsText();
};

void TestDialogs::promptKeyFilters_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("N: digits only") << QStringList{u"TIP=N"_s} << u"a1b2,3"_s << u"123"_s;
    QTest::newRow("CAR=SN: those keys only")
        << QStringList{u"CAR=SN"_s} << u"SANTOS N"_s << u"SNSN"_s;
    QTest::newRow("V: digits, comma and point")
        << QStringList{u"TIP=V"_s} << u"1a,5.x"_s << u"1,5."_s;
    QTest::newRow("U: upper case") << QStringList{u"TIP=U"_s} << u"ab1c"_s << u"AB1C"_s;
    QTest::newRow("UZ: capitals A-Z after upper case")
        << QStringList{u"TIP=UZ"_s} << u"a1b z"_s << u"ABZ"_s;
    QTest::newRow("A: letters, digits, space")
        << QStringList{u"TIP=A"_s} << u"a-1 b/"_s << u"a1 b"_s;
    QTest::newRow("LEN=3") << QStringList{u"LEN=3"_s} << u"abcdef"_s << u"abc"_s;
}

void TestDialogs::promptKeyFilters() {
    QFETCH(QStringList, options);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QString seen;
    livrax::test::OnModal(u"TF_INPUT"_s, [&](QWidget* window) {
        QVERIFY(window);
        auto* edit = window->findChild<QLineEdit*>(u"E_EDIT"_s);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Backspace);
        seen = edit->text();
        window->findChild<QPushButton*>(u"BU_OK"_s)->click();
    });
    QString value;
    QVERIFY(Prompt(value, options));
    // Backspace always goes through: the last accepted key is taken back.
    QCOMPARE(seen, expected.chopped(1));
    QCOMPARE(value, expected.chopped(1));
}

void TestDialogs::promptRefusesBlankOk() {
    QString message;
    bool stayedOpen = false;
    livrax::test::OnModal(u"TF_INPUT"_s, [&](QWidget* window) {
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), u"Quantidade"_s);
        auto* edit = window->findChild<QLineEdit*>(u"E_EDIT"_s);
        auto* ok = window->findChild<QPushButton*>(u"BU_OK"_s);
        edit->setText(u"   "_s);
        livrax::test::CloseNextModal(&message);
        ok->click();
        stayedOpen = window->isVisible();
        QTest::keyClicks(edit, u" 7x "_s); // N: the spaces and the letter are refused
        ok->click();
    });
    QString value = u"0"_s;
    QVERIFY(Prompt(value, {u"TIT=Quantidade"_s, u"TXT=Informe"_s, u"TIP=NBT"_s}));
    QCOMPARE(message, u"Campo não pode ser BRANCO - Deve ser informado"_s);
    QVERIFY(stayedOpen);
    QCOMPARE(value, u"7"_s);
}

void TestDialogs::promptCancelReturnsTheText() {
    livrax::test::OnModal(u"TF_INPUT"_s, [&](QWidget* window) {
        QVERIFY(window);
        QTest::keyClicks(window->findChild<QLineEdit*>(u"E_EDIT"_s), u"x"_s);
        window->findChild<QPushButton*>(u"BU_CANCELA"_s)->click();
    });
    QString value = u"ab"_s;
    QVERIFY(!Prompt(value, {}));
    QCOMPARE(value, u"abx"_s);
}

void TestDialogs::systemMessageStaysUntilClosed() {
    SystemMessage(u"A"_s, u"Montando registros#Aguarde"_s);
    QWidget* window = FindTopLevel(u"TF_MSG"_s);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), u"Mensagem do Sistema VORTANE"_s);
    auto* memo = window->findChild<QTextEdit*>();
    QCOMPARE(memo->toPlainText(), u"Montando registros\nAguarde"_s);
    QCOMPARE(window->height(), 2 * 16 + 79);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTest::qWait(2300);
    QVERIFY(FindTopLevel(u"TF_MSG"_s));
    SystemMessage(u"F"_s, QString());
    QVERIFY(!FindTopLevel(u"TF_MSG"_s));
    QVERIFY(!QApplication::overrideCursor());
}

void TestDialogs::systemMessageClosesItself() {
    SystemMessage(u"T"_s, u"Gravado"_s);
    QVERIFY(FindTopLevel(u"TF_MSG"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!FindTopLevel(u"TF_MSG"_s), 4000);
    QVERIFY(!QApplication::overrideCursor());
}

void TestDialogs::fontSpecs() {
    const QFont start = FontOfText(QString());
    QCOMPARE(start.family(), u"Arial"_s);
    QCOMPARE(start.pointSize(), 8);
    QCOMPARE(FontOfText(u"X#*#*#"_s).pointSize(), 8);
    QCOMPARE(FontOfText(u"X#Courier New#12#"_s).family(), u"Courier New"_s);

    QFont font(u"Courier New"_s, 10);
    font.setBold(true);
    font.setItalic(true);
    QCOMPARE(FontTextWith(u"T#Arial#8##"_s, font), u"T#Courier New#10#fsBold,fsItalic#"_s);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(true);
    QCOMPARE(FontTextWith(QString(), font), u"#Courier New#10#fsunderline#"_s);
    font.setUnderline(false);
    QCOMPARE(FontTextWith(u"T#Arial#8#fsBold#"_s, font), u"T#Courier New#10#"_s);
}

void TestDialogs::printSettingsText() {
    QCOMPARE(PrintSettingsWith(u"2#x#V#0#0#F6##A#B#C"_s, {1, true, 4960, 3508, 2}),
             u"1##H#4960#3508#F6#2#A#B#"_s);
    QCOMPARE(PrintSettingsWith(QString(), {}), u"0##V#0#0##1###"_s);
}

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
