// The EPP and CPC register windows offscreen over a small fixture: keys
// typed for a new record, typing and leaving amount fields, saves, the
// question on closing while editing, the company's own CPC table, records
// started from the one shown, duplicates and deletes.

#include "data/schema.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/clock.h"
#include "platform/window_registry.h"
#include "registers/tf_cae.h"
#include "registers/tf_cpc.h"
#include "registers/tf_epp.h"
#include "support/dialog_log.h"
#include "support/menu_item.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace livrax;
using namespace livrax::registers;
using namespace Qt::StringLiterals;

namespace {

QString Scalar(test::TestDatabase& database, const QString& sql) {
    data::Transaction transaction(database.connection());
    data::Statement select(database.connection(), transaction, sql);
    select.open();
    const QString value = select.fetch() ? select.value(0).toString().trimmed() : u"<none>"_s;
    select.close();
    transaction.commit();
    return value;
}

template <typename T> T* Control(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", qPrintable(name));
    return control;
}

// Runs `action` answering the modal windows it opens, in order: an input box
// gets the reply typed and OK ("<cancel>" cancels it), a question "Sim" or
// "Não", any other box is closed. Returns what was shown, "NAME: text".
QStringList Answering(const QStringList& replies, const std::function<void()>& action) {
    auto shown = std::make_shared<QStringList>();
    std::function<void(int)> step = [&step, shown, replies](int i) {
        test::OnNextModal([&step, shown, replies, i](QWidget* window) {
            if (!window) return;
            QString text;
            if (auto* box = qobject_cast<QMessageBox*>(window)) text = box->text();
            if (auto* input = qobject_cast<QInputDialog*>(window)) text = input->labelText();
            *shown << window->objectName() + u": "_s + text;
            const QString reply = replies.value(i);
            if (i + 1 < replies.size()) step(i + 1);
            if (auto* input = qobject_cast<QInputDialog*>(window)) {
                if (reply == u"<cancel>"_s) {
                    input->reject();
                } else {
                    input->setTextValue(reply);
                    input->accept();
                }
            } else if (auto* box = qobject_cast<QMessageBox*>(window);
                       box && box->button(QMessageBox::Yes)) {
                box->button(reply == u"Sim"_s ? QMessageBox::Yes : QMessageBox::No)->click();
            } else {
                window->close();
            }
        });
    };
    if (!replies.isEmpty()) step(0);
    action();
    return *shown;
}

} // namespace

class TestRegisterWindows : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
    test::TestDatabase& erp() { return m_fixture->erp(); }
    QString eppRows() { return Scalar(erp(), u"SELECT LIST(ANO || '/' || MES) FROM VRTNEPP"_s); }

  private Q_SLOTS:
    void init() {
        platform::Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        m_fixture = std::make_unique<test::ModuleFixture>();
        for (const QString& statement : data::CompanyTableStatements(u"CPC"_s, u"001"_s))
            erp().exec(statement);
        m_fixture->refreshTableLists();
        erp().load(u"INSERT INTO VRTNEPP (ANO,MES,FILIAL,DE1,ATE1,DESC1,DE2,ATE2,DESC2) VALUES "
                   u"('2004','05',0,0,10000,2.5,10000.01,20000,3.75);\n"
                   u"INSERT INTO VRTNEPP (ANO,MES,FILIAL,DE1,ATE1,DESC1) VALUES "
                   u"('2004','06',0,0,12000,2);\n"
                   u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA) VALUES "
                   u"('1.1.01.001','11101001',1234,2,'CAIXA','D','A');\n"
                   u"INSERT INTO VRTNEMP (SIGLA,EMPRESA) VALUES ('CLI01','CLIENTE UM LTDA');\n"
                   u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA,NATOPER,CONTADEB,DUPVALDEB,DUPJURCRE,"
                   u"NETLOG) VALUES (1,0,'CLI01','5102','1234','1.1.01.001','3.3.01','A');\n"
                   u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA,NATOPER,NETLOG) VALUES "
                   u"(2,0,'CLI02','5405','A');\n"
                   u"INSERT INTO VRTNCPC (SEQ,FILIAL,SIGLA) VALUES (9,0,'SEM EMPRESA');\n"_s);
    }
    void cleanup() {
        m_fixture.reset();
        platform::Clock::reset();
    }

    void registeredWindows();
    void eppBrowses();
    void eppNewKeys_data();
    void eppNewKeys();
    void eppTypingAndLeavingAmounts();
    void eppSaveOfAnExistingRecordUpdates();
    void eppRefusedAmountKeepsEditing();
    void eppClosingWhileEditingAsks();
    void cpcShowsTheCompanysTable();
    void cpcSaveNeedsSiglaOrNatoper_data();
    void cpcSaveNeedsSiglaOrNatoper();
    void cpcNewRecordKeepsReceivables();
    void cpcDuplicateAndDelete();
    void cpcHelpOpensItsTopic();
};

// "Cad. EPP", "Cad. CPC" and the "Cadastro" menu open the windows by these
// names; CPC takes the customer to show first.
void TestRegisterWindows::registeredWindows() {
    RegisterRegisterWindows();
    QString title;
    test::OnModal(u"F_EPP"_s, [&title](QWidget* window) {
        if (!window) return;
        title = window->windowTitle();
        window->close();
    });
    QVERIFY(platform::OpenWindow(u"EPP"_s, nullptr));
    QCOMPARE(title, u"CADASTRO  DE  TABELAS  EPP"_s);
    qint64 seq = 0;
    test::OnModal(u"F_CPC"_s, [&seq](QWidget* window) {
        if (!window) return;
        seq = static_cast<TF_CPC*>(window)->shownSeq();
        window->close();
    });
    QVERIFY(platform::OpenWindow(u"CPC"_s, nullptr, {u"CLI02"_s}));
    QCOMPARE(seq, qint64(2));
}

void TestRegisterWindows::eppBrowses() {
    TF_EPP window;
    QCOMPARE(window.shownYear() + u'/' + window.shownMonth(), u"2004/05"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_DE2"_s)->text(), u"10000.01"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_DESC2"_s)->text(), u"3.75"_s);
    QVERIFY(!Control<QPushButton>(window, u"BU_SALVA"_s)->isEnabled());
    QVERIFY(!Control<QWidget>(window, u"PA_CADASTRO1"_s)->isEnabled());
    window.last();
    QCOMPARE(window.shownMonth(), u"06"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_DE2"_s)->text(), u"0.00"_s);
    window.editRecord();
    QVERIFY(window.editing());
    QVERIFY(Control<QPushButton>(window, u"BU_SALVA"_s)->isEnabled());
    QVERIFY(!Control<QPushButton>(window, u"BU_AVANCA"_s)->isEnabled());
    QVERIFY(Control<QPushButton>(window, u"BU_CANCELA"_s)->isEnabled());
    window.cancelEdit();
    QVERIFY(!window.editing());
    QCOMPARE(window.shownMonth(), u"06"_s);
}

void TestRegisterWindows::eppNewKeys_data() {
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QStringList>("messages"); // boxes after the two inputs
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("key");
    QTest::newRow("existing key") << QStringList{u"2004"_s, u"5"_s, {}}
                                  << QStringList{u"CHAVE JÁ CADASTRADA."_s} << false
                                  << u"2004/05"_s;
    QTest::newRow("month 00") << QStringList{u"2004"_s, u"00"_s} << QStringList{} << true
                              << u"2004/00"_s;
    QTest::newRow("next year, no warning")
        << QStringList{u"2027"_s, u"1"_s} << QStringList{} << true << u"2027/01"_s;
    QTest::newRow("two years ahead warns and goes on")
        << QStringList{u"2028"_s, u"1"_s, {}} << QStringList{u"AVISO - VERIFIQUE O ANO."_s} << true
        << u"2028/01"_s;
    QTest::newRow("month 13") << QStringList{u"2004"_s, u"13"_s, {}}
                              << QStringList{u"MÊS INVÁLIDO."_s} << false << u"2004/05"_s;
    QTest::newRow("year with an apostrophe")
        << QStringList{u"2004'"_s, u"01"_s, {}} << QStringList{u"ANO INVÁLIDO."_s} << false
        << u"2004/05"_s;
    QTest::newRow("month cancelled")
        << QStringList{u"2005"_s, u"<cancel>"_s} << QStringList{} << false << u"2004/05"_s;
}

void TestRegisterWindows::eppNewKeys() {
    QFETCH(QStringList, replies);
    QFETCH(QStringList, messages);
    QFETCH(bool, editing);
    QFETCH(QString, key);
    TF_EPP window;
    const QStringList shown = Answering(replies, [&] { window.newRecord(); });
    QCOMPARE(shown.value(0), u"TF_INPUT: PRÓXIMO ANO PARA INCLUSÃO"_s);
    QCOMPARE(shown.value(1), u"TF_INPUT: PRÓXIMO MÊS PARA INCLUSÃO"_s);
    QStringList texts;
    for (const QString& box : shown.mid(2))
        texts << box.section(u": "_s, 1);
    QCOMPARE(texts, messages);
    QCOMPARE(window.editing(), editing);
    QCOMPARE(window.shownYear() + u'/' + window.shownMonth(), key);
    if (editing) {
        QCOMPARE(Control<QLineEdit>(window, u"E_ATE1"_s)->text(), QString());
        Control<QLineEdit>(window, u"E_ATE1"_s)->setText(u"500"_s);
        window.saveRecord();
        QVERIFY(!window.editing());
        QVERIFY(eppRows().contains(key));
        QCOMPARE(window.shownYear() + u'/' + window.shownMonth(), key);
    } else {
        // Deleting a new record before it is saved discards it, asking nothing.
        Answering({u"2026"_s, u"01"_s}, [&] { window.newRecord(); });
        QVERIFY(window.editing());
        test::DialogLog dialogs;
        window.deleteRecord();
        QCOMPARE(dialogs.names(), QStringList{});
        QVERIFY(!window.editing());
    }
    // No refused or warned key left a row behind.
    QCOMPARE(eppRows().split(u',').size(), editing ? 3 : 2);
}

void TestRegisterWindows::eppTypingAndLeavingAmounts() {
    TF_EPP window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.editRecord();
    QLineEdit* from = Control<QLineEdit>(window, u"E_DE1"_s);
    from->clear();
    from->setFocus();
    QTest::keyClicks(from, u"1234.5"_s);
    QCOMPARE(from->text(), u"1234,5"_s);
    QLineEdit* rate = Control<QLineEdit>(window, u"E_DESC1"_s);
    rate->clear();
    rate->setFocus(); // leaving DE1
    QCOMPARE(from->text(), u"1234.50"_s);
    QTest::keyClicks(rate, u"2,5x"_s);
    QCOMPARE(rate->text(), u"2.5"_s);
    // Leaving an ATÉ chains the next DE to it.
    QLineEdit* upper = Control<QLineEdit>(window, u"E_ATE1"_s);
    upper->setFocus();
    upper->setText(u"15000"_s);
    Control<QLineEdit>(window, u"E_DE3"_s)->setFocus();
    QCOMPARE(upper->text(), u"15000.00"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_DE2"_s)->text(), u"15000.01"_s);
}

// Saving a record that exists runs the update only: the row keeps its key
// and takes the new amounts exactly.
void TestRegisterWindows::eppSaveOfAnExistingRecordUpdates() {
    TF_EPP window;
    window.editRecord();
    Control<QLineEdit>(window, u"E_ATE30"_s)->setText(u"9999999999999,99"_s);
    Control<QLineEdit>(window, u"E_DESC30"_s)->setText(u"12.34"_s);
    window.saveRecord();
    QVERIFY(!window.editing());
    QCOMPARE(eppRows(), u"2004/05,2004/06"_s);
    QCOMPARE(Scalar(erp(), u"SELECT ATE30 FROM VRTNEPP WHERE MES = '05'"_s), u"9999999999999,99"_s);
    QCOMPARE(Scalar(erp(), u"SELECT DESC30 FROM VRTNEPP WHERE MES = '05'"_s), u"12,34"_s);
    QCOMPARE(Scalar(erp(), u"SELECT DESC2 FROM VRTNEPP WHERE MES = '05'"_s), u"3,75"_s);
}

void TestRegisterWindows::eppRefusedAmountKeepsEditing() {
    TF_EPP window;
    window.editRecord();
    Control<QLineEdit>(window, u"E_DE7"_s)->setText(u"12a"_s);
    const QStringList shown = Answering({{}}, [&] { window.saveRecord(); });
    QCOMPARE(shown, QStringList{u"MESSAGE_BOX: Valor inválido no campo DE 7: 12a"_s});
    QVERIFY(window.editing());
    QCOMPARE(Control<QLineEdit>(window, u"E_DE7"_s)->text(), u"12a"_s);
    QCOMPARE(Scalar(erp(), u"SELECT IIF(DE7 IS NULL, 'NULO', 'VALOR') FROM VRTNEPP WHERE MES = "
                           u"'05'"_s),
             u"NULO"_s);
}

void TestRegisterWindows::eppClosingWhileEditingAsks() {
    TF_EPP window;
    window.show();
    window.editRecord();
    Control<QLineEdit>(window, u"E_DESC1"_s)->setText(u"9"_s);
    // "Sim": saved, the window stays open.
    QStringList shown = Answering({u"Sim"_s}, [&] { window.reject(); });
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().contains(u"SALVAR o registro atual?"_s));
    QVERIFY(window.isVisible());
    QVERIFY(!window.editing());
    QCOMPARE(Scalar(erp(), u"SELECT DESC1 FROM VRTNEPP WHERE MES = '05'"_s), u"9,00"_s);
    // "Não": closed without saving.
    window.editRecord();
    Control<QLineEdit>(window, u"E_DESC1"_s)->setText(u"8"_s);
    shown = Answering({u"Não"_s}, [&] { window.reject(); });
    QCOMPARE(shown.size(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(Scalar(erp(), u"SELECT DESC1 FROM VRTNEPP WHERE MES = '05'"_s), u"9,00"_s);
}

void TestRegisterWindows::cpcShowsTheCompanysTable() {
    TF_CPC window;
    QCOMPARE(window.shownSeq(), qint64(1));
    QCOMPARE(Control<QLabel>(window, u"LA_SIGLA"_s)->text(), u"CLIENTE UM LTDA"_s);
    // The account typed as its abbreviated number is named.
    QCOMPARE(Control<QLabel>(window, u"LA_CONTADEB"_s)->text(), u"CAIXA"_s);
    QCOMPARE(Control<QLabel>(window, u"LA_CONTACRED"_s)->text(), u"___"_s);
    window.next();
    QCOMPARE(window.shownSeq(), qint64(2));
    QCOMPARE(Control<QLabel>(window, u"LA_SIGLA"_s)->text(), u"___"_s);
    window.next();
    QCOMPARE(window.shownSeq(), qint64(2)); // the shared table's row is not listed
    QTest::keyClick(&window, Qt::Key_PageUp);
    QCOMPARE(window.shownSeq(), qint64(1));
    QTest::keyClick(&window, Qt::Key_PageDown);
    QCOMPARE(window.shownSeq(), qint64(2));
    window.editRecord();
    QTest::keyClick(&window, Qt::Key_PageUp); // not while editing
    QCOMPARE(window.shownSeq(), qint64(2));
    window.cancelEdit();
    TF_CPC opened(nullptr, u"CLI02"_s);
    opened.show();
    QCOMPARE(opened.shownSeq(), qint64(2));
}

void TestRegisterWindows::cpcSaveNeedsSiglaOrNatoper_data() {
    QTest::addColumn<QString>("sigla");
    QTest::addColumn<QString>("natoper");
    QTest::addColumn<bool>("saved");
    QTest::newRow("sigla only") << u"CLI03"_s << u""_s << true;
    QTest::newRow("natoper only") << u""_s << u"210"_s << true;
    QTest::newRow("neither") << u"  "_s << u""_s << false;
}

void TestRegisterWindows::cpcSaveNeedsSiglaOrNatoper() {
    QFETCH(QString, sigla);
    QFETCH(QString, natoper);
    QFETCH(bool, saved);
    TF_CPC window;
    window.newRecord();
    Control<QLineEdit>(window, u"E_SIGLA"_s)->setText(sigla);
    Control<QLineEdit>(window, u"E_NATOPER"_s)->setText(natoper);
    bool result = false;
    const QStringList shown =
        Answering(saved ? QStringList{} : QStringList{{}}, [&] { result = window.saveRecord(); });
    QCOMPARE(result, saved);
    QCOMPARE(window.editing(), !saved);
    const QString rows = Scalar(erp(), u"SELECT COUNT(*) FROM VRTNCPC001"_s);
    if (saved) {
        QCOMPARE(rows, u"3"_s);
        QCOMPARE(window.shownSeq(), qint64(3));
        QCOMPARE(Scalar(erp(), u"SELECT NETLOG || FILIAL FROM VRTNCPC001 WHERE SEQ = 3"_s),
                 u"A0"_s);
    } else {
        QCOMPARE(rows, u"2"_s);
        QCOMPARE(shown, QStringList{u"MESSAGE_BOX: A Natureza de Operação ou Sigla deve ser "
                                    u"informada."_s});
    }
}

void TestRegisterWindows::cpcNewRecordKeepsReceivables() {
    TF_CPC window;
    window.newRecord();
    QCOMPARE(window.shownSeq(), qint64(0));
    QCOMPARE(Control<QLineEdit>(window, u"E_SIGLA"_s)->text(), QString());
    QCOMPARE(Control<QLineEdit>(window, u"E_CONTADEB"_s)->text(), QString());
    QCOMPARE(Control<QLineEdit>(window, u"E_DUPVALDEB"_s)->text(), u"1.1.01.001"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_DUPJURCRE"_s)->text(), u"3.3.01"_s);
    QVERIFY(!Control<QLabel>(window, u"LA_SEQ"_s)->isVisibleTo(&window));
}

void TestRegisterWindows::cpcDuplicateAndDelete() {
    erp().exec(u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA) VALUES (1,5,'FILIAL5')"_s);
    TF_CPC window;
    QCOMPARE(window.shownSeq(), qint64(1));
    window.duplicateRecord();
    QVERIFY(window.editing());
    QCOMPARE(window.shownSeq(), qint64(3));
    QCOMPARE(Scalar(erp(), u"SELECT SIGLA || NATOPER || CONTADEB || DUPVALDEB FROM VRTNCPC001 "
                           u"WHERE SEQ = 3"_s),
             u"CLI0151021234"
             u"1.1.01.001"_s);
    // Deleting the duplicate leaves the first record and the branch's row of
    // the same SEQ.
    const QStringList shown = Answering({u"Sim"_s}, [&] { window.deleteRecord(); });
    QCOMPARE(shown, QStringList{u"QUESTION_BOX: CONFIRMA EXCLUSÃO?"_s});
    QVERIFY(!window.editing());
    QCOMPARE(Scalar(erp(), u"SELECT LIST(SEQ || '/' || FILIAL) FROM (SELECT SEQ, FILIAL FROM "
                           u"VRTNCPC001 ORDER BY SEQ, FILIAL)"_s),
             u"1/0,1/5,2/0"_s);
    window.first();
    window.editRecord();
    Answering({u"Sim"_s}, [&] { window.deleteRecord(); });
    QCOMPARE(Scalar(erp(), u"SELECT LIST(SEQ || '/' || FILIAL) FROM (SELECT SEQ, FILIAL FROM "
                           u"VRTNCPC001 ORDER BY SEQ, FILIAL)"_s),
             u"1/5,2/0"_s);
}

// "Help" opens the help viewer searching for the window's code.
void TestRegisterWindows::cpcHelpOpensItsTopic() {
    QStringList opened{u"<not opened>"_s};
    platform::RegisterWindow(
        u"HELP"_s, [&opened](QWidget*, const QStringList& arguments) { opened = arguments; });
    TF_CPC window;
    QAction* help = test::FindMenuItem(window.findChild<QMenuBar*>()->actions(), u"Help"_s);
    QVERIFY(help);
    help->trigger();
    platform::UnregisterWindow(u"HELP"_s);
    QCOMPARE(opened, QStringList{u"FCPC"_s});
}

QTEST_MAIN(TestRegisterWindows)
#include "test_register_windows.moc"
