// The table maintenance window TF_MPA offscreen on a real database: a user
// without right 11 is turned away, the parameter table typed in lower case
// stays closed without right 15, the grid reads rows only as they are shown,
// a stored column list shows exactly its columns, a grid edit is saved by
// the row's key, closing with unsaved edits asks; the database lists, the
// query on the picked database, the filter dialog (chosen and cancelled),
// the navigator's insert and delete.

#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/query_helpers.h"
#include "data/returned_values.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/window_registry.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "tools/tf_mpa.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

namespace {

constexpr int Rows = 500;

template <typename T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("control %s not found", qPrintable(name));
    return child;
}

// Answers the next question box with Yes (or OK) or No (or Cancel); its
// title left in `title` when given.
void AnswerNextQuestion(bool yes, QString* title = nullptr) {
    test::OnModal(u"QUESTION_BOX"_s, [yes, title](QWidget* widget) {
        QVERIFY(widget);
        auto* box = static_cast<QMessageBox*>(widget);
        if (title) *title = box->windowTitle();
        QAbstractButton* button = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
        if (!button) button = box->button(yes ? QMessageBox::Ok : QMessageBox::Cancel);
        QVERIFY(button);
        button->click();
    });
}

// Focus moved into `widget` by the user (Tab), as entering a control.
void Enter(QWidget* widget) {
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &focus);
}

} // namespace

class TestTableMaintenanceWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void userWithoutRightIsTurnedAway();
    void parameterTableStaysClosed_data();
    void parameterTableStaysClosed();
    void gridReadsRowsAsShown();
    void tableOfTheChosenDatabase();
    void queryGetsTheChosenDatabase();
    void searchIndexFollowsTheTable();
    void filterChosenThenCancelled();
    void storedColumnList();
    void editSavedByKey();
    void closingWithEditsAsks();
    void navigatorDeletesAndInsertsRows();
    void rowsFoundByTheirKeyValues();
    void massChangeFromTheWindow();
    void startNumberMustBeANumber();
    void unsavedEditsAskBeforeAChange_data();
    void unsavedEditsAskBeforeAChange();
    void changesHiddenWithoutRight12();
    void cancelledEmptyingKeepsRows();

  private:
    QString NameOf(int cod);
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestTableMaintenanceWindow::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().exec(u"CREATE TABLE VRTNTMW (COD INTEGER NOT NULL PRIMARY KEY, "
                          u"NOME VARCHAR(20), VALOR NUMERIC(15,2))"_s);
    m_fixture->erp().exec(u"EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= "_s +
                          QString::number(Rows) +
                          u") DO BEGIN INSERT INTO VRTNTMW VALUES (:I, 'Item ' || :I, :I); "
                          u"I = I + 1; END END"_s);
    m_fixture->refreshTableLists();
    data::Globals().user.level = u"9"_s;
    data::Globals().user.rights = QString(30, u'S');
    data::ParamLines().clear();
}

void TestTableMaintenanceWindow::cleanup() {
    m_fixture.reset();
}

QString TestTableMaintenanceWindow::NameOf(int cod) {
    data::Connection& connection = m_fixture->erp().connection();
    data::Transaction transaction(connection);
    data::Statement select(connection, transaction,
                           u"SELECT NOME FROM VRTNTMW WHERE COD = "_s + QString::number(cod));
    select.open();
    const QString name = select.fetch() ? select.value(0).toString() : QString();
    select.close();
    transaction.commit();
    return name;
}

void TestTableMaintenanceWindow::userWithoutRightIsTurnedAway() {
    data::Globals().user.level = u"5"_s;
    data::Globals().user.rights = QString(30, u'N');
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    // Boxes from here on (the window itself is not one of them).
    test::DialogLog log;
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(log.shown().size(), 1);
    QCOMPARE(log.shown().first().text, u"Usuário não autorizado para utilizar este programa"_s);
    QVERIFY(!window.model().isOpen());
}

void TestTableMaintenanceWindow::parameterTableStaysClosed_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("lower case") << "vrtnpar";
    QTest::newRow("code") << "PAR";
    QTest::newRow("leading blank") << " VRTNPAR";
}

void TestTableMaintenanceWindow::parameterTableStaysClosed() {
    QFETCH(QString, typed);
    // Level 9 without right 15.
    data::Globals().user.rights = QString(30, u'N');
    TF_MPA window;
    window.setTable(typed);
    window.show();
    // Boxes from here on (the window itself is not one of them).
    test::DialogLog log;
    QTest::qWait(50);
    QVERIFY(!window.model().isOpen());
    // Refused without a word; "Abrir" clicked again does nothing either.
    Child<QPushButton>(&window, u"BU_OPEN"_s)->click();
    QVERIFY(!window.model().isOpen());
    QCOMPARE(log.names(), QStringList());
    window.reject();
}

void TestTableMaintenanceWindow::gridReadsRowsAsShown() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    // Boxes from here on (the window itself is not one of them).
    test::DialogLog log;
    QTRY_VERIFY(window.model().isOpen());
    QCOMPARE(window.table().name, u"VRTNTMW"_s);
    // One batch read, not the whole table.
    QVERIFY(window.model().rowCount() < Rows);
    QCOMPARE(window.model().rowCount(), QueryModel::DefaultBatchSize);
    QVERIFY(window.model().canFetchMore());
    QCOMPARE(Child<QLabel>(&window, u"LA_REG"_s)->text(), u"Reg: 500"_s);
    // Scrolling to the end reads the rest.
    Child<QTableView>(&window, u"DBGrid"_s)->scrollToBottom();
    QTRY_VERIFY(window.model().rowCount() > QueryModel::DefaultBatchSize);
    QCOMPARE(log.names(), QStringList());
    window.reject();
}

void TestTableMaintenanceWindow::tableOfTheChosenDatabase() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    // A table of database 5 picked from its list, then a table of database 1
    // typed. Entering the list closes the open table and reads the tables.
    auto* list = Child<QComboBox>(&window, u"E_ARQ5"_s);
    Enter(list);
    QVERIFY(!window.model().isOpen());
    const int index = list->findText(u"VRTNPAR"_s);
    QVERIFY(index > 0);
    QCOMPARE(list->findText(u"VRTNTMW"_s), -1);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
    auto* text = Child<QLineEdit>(&window, u"E_ARQ"_s);
    QCOMPARE(text->text(), u"VRTNPAR"_s);
    text->setText(u"TMW"_s);
    test::DialogLog log;
    Child<QPushButton>(&window, u"BU_OPEN"_s)->click();
    QVERIFY(!window.model().isOpen());
    QCOMPARE(log.shown().size(), 1);
    QVERIFY2(log.shown().first().text.contains(u"VRTNTMW não é uma tabela do banco de dados"_s),
             qPrintable(log.shown().first().text));
    window.reject();
}

void TestTableMaintenanceWindow::queryGetsTheChosenDatabase() {
    TF_MPA window;
    window.show();
    auto* list = Child<QComboBox>(&window, u"E_ARQ5"_s);
    Enter(list);
    const int index = list->findText(u"VRTNPAR"_s);
    QVERIFY(index > 0);
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
    // "Pesquisa" opens the query on the picked table in database 5.
    QString table, number;
    test::OnModal(u"TF_PESQC"_s, [&](QWidget* query) {
        QVERIFY(query);
        table = Child<QLineEdit>(query, u"E_ARQ"_s)->text();
        number = Child<QLineEdit>(query, u"E_NUMDIR"_s)->text();
        static_cast<QDialog*>(query)->reject();
    });
    Child<QPushButton>(&window, u"BU_PESQUISA"_s)->click();
    QCOMPARE(table, u"VRTNPAR"_s);
    QCOMPARE(number, u"5"_s);
    window.reject();
}

void TestTableMaintenanceWindow::searchIndexFollowsTheTable() {
    // The orders are searched by order number; a table without that field,
    // opened next, by an index of its own.
    m_fixture->erp().exec(u"CREATE INDEX TMW_NOME ON VRTNTMW (NOME)"_s);
    m_fixture->refreshTableLists();
    TF_MPA window;
    window.setTable(u"PDE"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    auto* index = Child<QLineEdit>(&window, u"COMBO_INDICE"_s);
    QCOMPARE(index->text(), u"PEDIDO"_s);
    Child<QPushButton>(&window, u"BU_CLOSE"_s)->click();
    Child<QLineEdit>(&window, u"E_ARQ"_s)->setText(u"TMW"_s);
    Child<QPushButton>(&window, u"BU_OPEN"_s)->click();
    QVERIFY(window.model().isOpen());
    QVERIFY2(index->text() == u"NOME"_s || index->text() == u"COD"_s, qPrintable(index->text()));
    window.reject();
}

void TestTableMaintenanceWindow::filterChosenThenCancelled() {
    // The filter dialog, standing in: it gets the current filter and hands
    // back `answer` ("#" for blanks), or nothing when cancelled.
    QString answer, handed;
    platform::RegisterWindow(u"SELF"_s, [&](QWidget*, const QStringList& arguments) {
        handed = arguments.value(2);
        data::ResetReturnedValues();
        data::ReturnedValues().rowChosen = !answer.isEmpty();
        data::ReturnedValues().values[0] = answer;
    });
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    answer = u"COD#<#3"_s;
    Child<QPushButton>(&window, u"BU_FILTRO"_s)->click();
    QVERIFY(window.model().isOpen());
    QCOMPARE(window.model().rowCount(), 2);
    QCOMPARE(Child<QLineEdit>(&window, u"E_ARQFILTRO"_s)->text(), u"COD < 3"_s);
    QCOMPARE(Child<QLabel>(&window, u"LA_SEL"_s)->text(), u"Sel. 2"_s);
    // Cancelled: the same filter, the table open again.
    answer.clear();
    Child<QPushButton>(&window, u"BU_FILTRO"_s)->click();
    QCOMPARE(handed, u"COD < 3"_s);
    QVERIFY(window.model().isOpen());
    QCOMPARE(window.model().rowCount(), 2);
    window.reject();
    platform::UnregisterWindow(u"SELF"_s);
}

void TestTableMaintenanceWindow::storedColumnList() {
    data::ParamLines().setLine(21, u"NOME,VALOR"_s);
    QVERIFY(data::ParamWrite(&m_fixture->erp().connection(), u"ARQ_VRTNTMW"_s, 0));
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    QCOMPARE(window.model().shownColumns(), 2);
    auto* grid = Child<QTableView>(&window, u"DBGrid"_s);
    QCOMPARE(window.model().headerData(0, Qt::Horizontal).toString(), u"NOME"_s);
    QCOMPARE(window.model().headerData(1, Qt::Horizontal).toString(), u"VALOR"_s);
    // The key is read for saving, not shown.
    QCOMPARE(window.model().columnCount(), 3);
    QVERIFY(grid->isColumnHidden(2));
    QVERIFY(!grid->isColumnHidden(1));
    window.reject();
}

void TestTableMaintenanceWindow::editSavedByKey() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    // Boxes from here on (the window itself is not one of them).
    test::DialogLog log;
    QTRY_VERIFY(window.model().isOpen());
    TableGridModel& model = window.model();
    // Not editable until "Alterar".
    QVERIFY(!model.setData(model.index(2, 1), u"Sem alterar"_s));
    Child<QPushButton>(&window, u"BU_ALTERA"_s)->click();
    QVERIFY(model.setData(model.index(2, 1), u"Terceiro"_s));
    QCOMPARE(NameOf(3), u"Item 3"_s);
    Child<QPushButton>(&window, u"BU_SALVA"_s)->click();
    QCOMPARE(NameOf(3), u"Terceiro"_s);
    QCOMPARE(NameOf(4), u"Item 4"_s);
    QVERIFY(!model.hasEdits());
    QCOMPARE(log.names(), QStringList());
    window.reject();
    QVERIFY(!window.isVisible());
}

void TestTableMaintenanceWindow::closingWithEditsAsks() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    Child<QPushButton>(&window, u"BU_ALTERA"_s)->click();
    TableGridModel& model = window.model();
    QVERIFY(model.setData(model.index(0, 1), u"Primeiro"_s));
    // "Não": the window stays with the edit.
    AnswerNextQuestion(false);
    window.reject();
    QVERIFY(window.isVisible());
    QVERIFY(model.hasEdits());
    // "Sim": closed, the edit dropped.
    AnswerNextQuestion(true);
    window.reject();
    QVERIFY(!window.isVisible());
    QCOMPARE(NameOf(1), u"Item 1"_s);
}

void TestTableMaintenanceWindow::navigatorDeletesAndInsertsRows() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    Child<QPushButton>(&window, u"NAV_NEXT"_s)->click();
    Child<QPushButton>(&window, u"NAV_NEXT"_s)->click();
    AnswerNextQuestion(false);
    Child<QPushButton>(&window, u"NAV_DELETE"_s)->click();
    QCOMPARE(NameOf(3), u"Item 3"_s);
    AnswerNextQuestion(true);
    Child<QPushButton>(&window, u"NAV_DELETE"_s)->click();
    QCOMPARE(NameOf(3), QString());
    QCOMPARE(NameOf(2), u"Item 2"_s);
    QCOMPARE(NameOf(4), u"Item 4"_s);
    QCOMPARE(Child<QLabel>(&window, u"LA_REG"_s)->text(), u"Reg: 499"_s);
    // "Last" reads every row.
    Child<QPushButton>(&window, u"NAV_LAST"_s)->click();
    QCOMPARE(window.model().rowCount(), Rows - 1);
    // The insert takes a row by its fields.
    test::OnModal(u"TF_MPA_INSERT"_s, [](QWidget* form) {
        QVERIFY(form);
        Child<QLineEdit>(form, u"COD"_s)->setText(u"3"_s);
        Child<QLineEdit>(form, u"NOME"_s)->setText(u"Novo 3"_s);
        static_cast<QDialog*>(form)->accept();
    });
    Child<QPushButton>(&window, u"NAV_INSERT"_s)->click();
    QCOMPARE(NameOf(3), u"Novo 3"_s);
    QCOMPARE(Child<QLabel>(&window, u"LA_REG"_s)->text(), u"Reg: 500"_s);
    window.reject();
}

void TestTableMaintenanceWindow::rowsFoundByTheirKeyValues() {
    // Two keys the grid shows alike ("05/03/40"): the edit and the delete
    // must reach the row read, not the one its text names.
    m_fixture->erp().exec(u"CREATE TABLE VRTNTMD (DIA DATE NOT NULL PRIMARY KEY, "
                          u"NOME VARCHAR(20))"_s);
    m_fixture->erp().load(u"INSERT INTO VRTNTMD VALUES ('1940-03-05', 'Antigo');\n"
                          u"INSERT INTO VRTNTMD VALUES ('2040-03-05', 'Futuro');\n"_s);
    m_fixture->refreshTableLists();
    const auto names = [this] {
        data::Connection& connection = m_fixture->erp().connection();
        data::Transaction transaction(connection);
        data::Statement select(connection, transaction,
                               u"SELECT EXTRACT(YEAR FROM DIA) || ':' || NOME FROM VRTNTMD "
                               u"ORDER BY DIA"_s);
        select.open();
        QStringList rows;
        while (select.fetch())
            rows << select.value(0).toString();
        select.close();
        transaction.commit();
        return rows;
    };
    TF_MPA window;
    window.setTable(u"TMD"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    TableGridModel& model = window.model();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).data().toString(), model.index(1, 0).data().toString());
    Child<QPushButton>(&window, u"BU_ALTERA"_s)->click();
    QVERIFY(model.setData(model.index(1, 1), u"Mudado"_s));
    Child<QPushButton>(&window, u"BU_SALVA"_s)->click();
    QCOMPARE(names(), (QStringList{u"1940:Antigo"_s, u"2040:Mudado"_s}));
    Child<QPushButton>(&window, u"NAV_NEXT"_s)->click();
    AnswerNextQuestion(true);
    Child<QPushButton>(&window, u"NAV_DELETE"_s)->click();
    QCOMPARE(names(), QStringList{u"1940:Antigo"_s});
    window.reject();
}

void TestTableMaintenanceWindow::massChangeFromTheWindow() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    test::DialogLog log;
    auto* field = Child<QComboBox>(&window, u"CB_ALTERA"_s);
    field->setCurrentText(u"NOME"_s);
    Q_EMIT field->activated(field->currentIndex());
    Child<QRadioButton>(&window, u"RG_FUNCAO_1"_s)->setChecked(true);
    Child<QLineEdit>(&window, u"E_FILTRO_CHANGE"_s)->setText(u"COD <= 3"_s);
    Child<QPushButton>(&window, u"BU_CHANGE"_s)->click();
    QCOMPARE(log.shown().size(), 1);
    QCOMPARE(log.shown().first().text, u"Registros alterados: 3"_s);
    QCOMPARE(NameOf(3), u"ITEM 3"_s);
    QCOMPARE(NameOf(4), u"Item 4"_s);
    window.reject();
}

void TestTableMaintenanceWindow::startNumberMustBeANumber() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    test::DialogLog log;
    auto* field = Child<QComboBox>(&window, u"CB_ALTERA"_s);
    field->setCurrentText(u"NOME"_s);
    Q_EMIT field->activated(field->currentIndex());
    Child<QLineEdit>(&window, u"E_FILTRO_CHANGE"_s)->setText(u"COD <= 3"_s);
    Child<QRadioButton>(&window, u"RG_FORMAT_1"_s)->setChecked(true);
    // A letter O for a zero.
    Child<QLineEdit>(&window, u"E_NUMERO_INICIAL"_s)->setText(u"1O"_s);
    Child<QPushButton>(&window, u"BU_APLIC_FORMAT"_s)->click();
    QCOMPARE(log.shown().size(), 1);
    QCOMPARE(log.shown().first().text, u"O Número Inicial deve ser um número inteiro"_s);
    QCOMPARE(NameOf(1), u"Item 1"_s);
    window.reject();
}

void TestTableMaintenanceWindow::unsavedEditsAskBeforeAChange_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("first"); // NOME of COD 1 afterwards
    QTest::newRow("mass change, no") << u"BU_CHANGE"_s << false << u"Item 1"_s;
    QTest::newRow("mass change, yes") << u"BU_CHANGE"_s << true << u"ITEM 1"_s;
    QTest::newRow("renumbering, no") << u"BU_APLIC_FORMAT"_s << false << u"Item 1"_s;
    QTest::newRow("renumbering, yes") << u"BU_APLIC_FORMAT"_s << true << u"7"_s;
}

void TestTableMaintenanceWindow::unsavedEditsAskBeforeAChange() {
    QFETCH(QString, button);
    QFETCH(bool, yes);
    QFETCH(QString, first);
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    TableGridModel& model = window.model();
    Child<QPushButton>(&window, u"BU_ALTERA"_s)->click();
    QVERIFY(model.setData(model.index(1, 1), u"Segundo"_s));
    auto* field = Child<QComboBox>(&window, u"CB_ALTERA"_s);
    field->setCurrentText(u"NOME"_s);
    Q_EMIT field->activated(field->currentIndex());
    Child<QLineEdit>(&window, u"E_FILTRO_CHANGE"_s)->setText(u"COD <= 3"_s);
    Child<QRadioButton>(&window, u"RG_FUNCAO_1"_s)->setChecked(true);
    Child<QRadioButton>(&window, u"RG_FORMAT_1"_s)->setChecked(true);
    Child<QLineEdit>(&window, u"E_NUMERO_INICIAL"_s)->setText(u"7"_s);
    // The first box must be the question; on Yes the count of the rows
    // changed follows. Any other box first is closed (and so is the next
    // one), so that a window that does not ask fails here instead of waiting.
    QString asked, other;
    std::function<void(QWidget*)> answer = [&](QWidget* modal) {
        QVERIFY(modal);
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        if (box->objectName() != u"QUESTION_BOX"_s || !asked.isEmpty()) {
            other = box->text();
            if (asked.isEmpty())
                test::OnNextModal([](QWidget* next) {
                    if (next) next->close();
                });
            box->close();
            return;
        }
        asked = box->text();
        if (yes) test::CloseNextModal(&other);
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    };
    test::OnNextModal(answer);
    Child<QPushButton>(&window, button)->click();
    QTRY_VERIFY(!asked.isEmpty() || !other.isEmpty());
    QCOMPARE(asked, u"Há alterações não gravadas na tabela. Descartar as alterações?"_s);
    QCOMPARE(NameOf(1), first);
    QVERIFY(NameOf(2) != u"Segundo"_s);
    QCOMPARE(model.hasEdits(), !yes);
    if (yes) QTRY_VERIFY(other.startsWith(u"Registros alterados: 3"_s));
    model.clearEdits();
    window.reject();
}

void TestTableMaintenanceWindow::changesHiddenWithoutRight12() {
    data::Globals().user.level = u"5"_s;
    QString rights(30, u'S');
    rights[11] = u'N';
    data::Globals().user.rights = rights;
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    for (const QString& name : {u"BU_ALTERA"_s, u"BU_SALVA"_s, u"BU_DELVIS"_s, u"BU_ZERAR"_s,
                                u"NAV_INSERT"_s, u"NAV_DELETE"_s})
        QVERIFY2(Child<QPushButton>(&window, name)->isHidden(), qPrintable(name));
    QVERIFY(!Child<QTabWidget>(&window, u"PageControl"_s)->isTabVisible(2));
    // F2 acts only through a visible button.
    window.findChild<QAction*>(u"MI_ALTERA"_s)->trigger();
    QVERIFY(!window.model().editable());
    QVERIFY(!window.model().setData(window.model().index(0, 1), u"x"_s));
    window.reject();
}

void TestTableMaintenanceWindow::cancelledEmptyingKeepsRows() {
    TF_MPA window;
    window.setTable(u"TMW"_s);
    window.show();
    QTRY_VERIFY(window.model().isOpen());
    QString title;
    AnswerNextQuestion(false, &title);
    Child<QPushButton>(&window, u"BU_ZERAR"_s)->click();
    QCOMPARE(title, u"DELETA TODOS OS REG. DO ARQUIVO"_s);
    QCOMPARE(NameOf(Rows), u"Item 500"_s);
    const QString zeroed = u"LOG_OBS = 'MPA - ZERANDO TABELA: VRTNTMW'"_s;
    QCOMPARE(data::CountRows(u"VRTNLOG"_s, zeroed, data::B_DIR(1)), qint64(0));
    // Answered Yes, the table is emptied.
    AnswerNextQuestion(true);
    Child<QPushButton>(&window, u"BU_ZERAR"_s)->click();
    QCOMPARE(NameOf(1), QString());
    QCOMPARE(data::CountRows(u"VRTNLOG"_s, zeroed, data::B_DIR(1)), qint64(1));
    QCOMPARE(Child<QLabel>(&window, u"LA_REG"_s)->text(), u"Reg: 0"_s);
    window.reject();
}

QTEST_MAIN(TestTableMaintenanceWindow)
#include "test_table_maintenance_window.moc"
