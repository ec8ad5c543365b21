// The main window offscreen: its menu and tool bar, command dispatch,
// "Senhas", the error box, and exit through F12 with the shut-down chain.

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/transaction.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "shell/desktop.h"
#include "shell/login.h"
#include "shell/main_window.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace livrax;
using namespace Qt::StringLiterals;
using test::OnNextModal;

namespace {

// Lists a menu as indented lines: captions, "-" for separators and the
// short-cut after a tab.
void DescribeMenu(const QList<QAction*>& actions, int depth, QStringList& lines) {
    for (QAction* action : actions) {
        QString line = QString(depth * 2, u' ') + (action->isSeparator() ? u"-"_s : action->text());
        if (!action->shortcut().isEmpty()) line += u'\t' + action->shortcut().toString();
        lines << line;
        if (action->menu()) DescribeMenu(action->menu()->actions(), depth + 1, lines);
    }
}

QString StoredLine(int line) {
    data::ParamRead(data::ParamDatabase(), u"PAR_LIVRAXB"_s, 0);
    return data::ParamLines().line(line);
}

} // namespace

namespace {

// The user ANA, level 9, on `erp` and `store` (with its company record).
void LogIn(test::TestDatabase& erp, test::TestDatabase& store) {
    store.exec(u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('VRTNCAE', "
               u"'001)EMPRESA DE TESTE LTDA\r\n006)2\r\n')"_s);
    shell::Login login;
    login.user = u"ANA"_s;
    login.level = u"9"_s;
    login.dirs[1] = erp.path();
    login.dirs[5] = store.path();
    QVERIFY(shell::WriteLogin(login));
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void cleanup() {
        data::DataModule().closeAll();
        data::ResetGlobals();
        platform::UnregisterWindow(u"LX53"_s);
    }
    void menuAndToolBarFollowTheCommandTable();
    void passwordLevels_data();
    void passwordLevels();
    void passwordLevelsOnAHeldRecord();
    void toolBarButtonIsLockedWhileItsWindowIsOpen();
    void focusedToolBarButtonIsDrawnRaised();
    void itemsWithoutWindowsDoNothing();
    void unhandledErrorsReachTheErrorBox();
    void f12ClosesAndShutsDown();
    void standardDialogsSpeakPortuguese();
    void closingTheMainWindowEndsTheProgram();
};

void TestMainWindow::menuAndToolBarFollowTheCommandTable() {
    shell::TF_LIVRAXB window;
    QCOMPARE(window.windowTitle(), u"LIVRAX - LIVROS FISCAIS - Versão 25/05/2007"_s);
    QStringList lines;
    DescribeMenu(window.menuBar()->actions(), 0, lines);
    const QStringList expected = {u"Arquivo"_s,
                                  u"  Senhas"_s,
                                  u"  -"_s,
                                  u"  Sair\tF12"_s,
                                  u"Especiais"_s,
                                  u"  LX40 - Inventário Retroativo"_s,
                                  u"  LX53 - Registro de Entrada"_s,
                                  u"  LX55 - Registro de Saida"_s,
                                  u"  LX67 - Produtos Controlados"_s,
                                  u"  LX68 - Produtos Controlados - Res.RDC 234"_s,
                                  u"  LX62 - Planilha de apuração de Crédito Fiscal - Isentos"_s,
                                  u"  LX64 - Sem Retenção de Subs.Tribut"_s,
                                  u"  LX52 - GIA Modelo B"_s,
                                  u"  LX56 - Registro de Apuração do ICMS"_s,
                                  u"  LX56S - Registro de Apuração do Subst.Tribut"_s,
                                  u"  LX57 - Registro de Apuração do IPI"_s,
                                  u"  LX70 - Livro de ISSQN"_s,
                                  u"Relatórios"_s,
                                  u"  PRO - Produtos"_s,
                                  u"  -"_s,
                                  u"  PDE - Notas de Entrada"_s,
                                  u"  PDS - Notas de Saida"_s,
                                  u"  -"_s,
                                  u"  PIE - Itens de Entrada"_s,
                                  u"  PIS - Itens de Saída"_s,
                                  u"Exportar"_s,
                                  u"  Vendas p/Contabilidade - L 01"_s,
                                  u"  Vendas p/Contabilidade - L 02"_s,
                                  u"  Duplicatas (DUM) p/Contabilidade - 04"_s,
                                  u"  Livros Fiscais"_s,
                                  u"  SINTEGRA - Gias RS/SP "_s,
                                  u"  SINTEGRA - 2004"_s,
                                  u"  Proceda (VENDA001) - PDSE01"_s,
                                  u"  Gia SC - Apuração do ICM"_s,
                                  u"  DIEF - SC"_s,
                                  u"  DataHouse"_s,
                                  u"  DIME_SC"_s,
                                  u"Importar"_s,
                                  u"  Reverter SINTEGRA"_s,
                                  u"Cadastro"_s,
                                  u"  CAE - Cadastro da Empresa"_s,
                                  u"  EPP"_s,
                                  u"    Cadastro"_s,
                                  u"    Manutenção"_s,
                                  u"  CPC - Contas por Cliente"_s,
                                  u"    Cadastro"_s,
                                  u"    Relatório"_s,
                                  u"    Manutenção"_s,
                                  u"Sobre"_s,
                                  u"Sair"_s};
    QCOMPARE(lines, expected);

    // Tool bar, left to right, with the exit button last (right edge).
    QStringList buttons;
    const QWidget* panel = window.findChild<QWidget*>(u"PA_BUTTON"_s);
    QVERIFY(panel);
    QList<QToolButton*> found = panel->findChildren<QToolButton*>();
    std::sort(found.begin(), found.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    window.resize(900, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    std::sort(found.begin(), found.end(),
              [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    for (QToolButton* button : found)
        buttons << button->objectName() + u'|' + button->text() + u'|' + button->toolTip();
    QCOMPARE(buttons,
             (QStringList{u"BU_LX53|R.Entrada|"_s, u"BU_LX55|Reg.Saída|"_s, u"BU_LX56|Apur. ICM|"_s,
                          u"BU_LX57|Apur. IPI|"_s, u"BU_CPC|Cad. CPC|"_s, u"BU_EPP|Cad. EPP|"_s,
                          u"BU_SAIR||SAIR"_s}));
    QToolButton* exit = found.last();
    QCOMPARE_GT(exit->geometry().right(), panel->width() - 40); // anchored right
    QVERIFY(!window.findChild<QLabel*>(u"Image1"_s)->pixmap().isNull());
    window.close();
}

void TestMainWindow::passwordLevels_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("stored");
    QTest::newRow("level 9 stores") << u"9"_s << u"5789"_s << true << u"5789"_s;
    QTest::newRow("empty list stores empty line") << u"9"_s << QString() << true << QString();
    QTest::newRow("cancel keeps") << u"9"_s << u"1"_s << false << u"123"_s;
    QTest::newRow("level 8 does nothing") << u"8"_s << u"1"_s << true << u"123"_s;
}

void TestMainWindow::passwordLevels() {
    QFETCH(QString, level);
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, stored);
    test::ModuleFixture fixture;
    fixture.store().exec(
        u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LIVRAXB', '001)123\r\n002)outra\r\n')"_s);
    data::Globals().user.level = level;
    shell::TF_LIVRAXB window;
    const bool asks = level == u"9"_s;
    // Below level 9 no dialog may appear; one that did would be closed at once.
    test::DialogLog dialogs(asks ? test::DialogLog::Boxes::Leave : test::DialogLog::Boxes::Close);
    bool asked = false;
    if (asks) {
        OnNextModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                if (!dialog) return;
                asked = true;
                QCOMPARE(dialog->windowTitle(), u"LIBERAÇÃO DE SENHAS"_s);
                QCOMPARE(dialog->labelText(), u"Níveis para acesso ao programa"_s);
                dialog->setTextValue(typed);
                accept ? dialog->accept() : dialog->reject();
            },
            2000);
    }
    window.runCommand(shell::PasswordsCommand);
    QCOMPARE(asked, asks);
    QCOMPARE(dialogs.names(), asks ? QStringList{u"TF_INPUT"_s} : QStringList());
    QCOMPARE(StoredLine(1), stored);
    QCOMPARE(StoredLine(2), u"outra"_s);
    if (accept && level == u"9"_s) QCOMPARE(window.passwordLevels(), typed);
}

// Another station holds the record: the levels typed are not taken, the
// user is told, and the record keeps what it held.
void TestMainWindow::passwordLevelsOnAHeldRecord() {
    test::ModuleFixture fixture;
    fixture.store().exec(
        u"INSERT INTO VRTNPAR (CHAVE, TEXTO) VALUES ('PAR_LIVRAXB', '001)123\r\n002)outra\r\n')"_s);
    data::Globals().user.level = u"9"_s;
    shell::TF_LIVRAXB window;
    const QString levels = window.passwordLevels();
    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(fixture.store().options());
    data::Transaction holding(station);
    holding.executeImmediate(u"UPDATE VRTNPAR SET TEXTO = '001)999' WHERE CHAVE = 'PAR_LIVRAXB'"_s);
    test::DialogLog dialogs(test::DialogLog::Boxes::Leave);
    QString error;
    OnNextModal(
        [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
                test::CloseNextModal(&error); // the error box that follows
                dialog->setTextValue(u"5789"_s);
                dialog->accept();
            }
        },
        2000);
    window.runCommand(shell::PasswordsCommand);
    data::SetLockTimeoutSeconds(timeout);
    holding.rollback();
    QCOMPARE(dialogs.names(), (QStringList{u"TF_INPUT"_s, u"ERROR_BOX"_s}));
    QVERIFY2(error.contains(u"não foram gravados"_s), qPrintable(error));
    QCOMPARE(window.passwordLevels(), levels);
    QCOMPARE(StoredLine(1), u"123"_s);
}

void TestMainWindow::toolBarButtonIsLockedWhileItsWindowIsOpen() {
    int opened = 0;
    bool lockedWhileOpen = false;
    platform::RegisterWindow(u"LX53"_s, [&](QWidget* parent, const QStringList&) {
        ++opened;
        QDialog dialog(parent);
        QTimer::singleShot(0, &dialog, [&] {
            auto* button = parent->findChild<QToolButton*>(u"BU_LX53"_s);
            lockedWhileOpen = !button->isEnabled();
            button->click(); // a second click while the window is open
            static_cast<shell::TF_LIVRAXB*>(parent)->runCommand(u"LX53"_s); // or the menu item
            dialog.accept();
        });
        dialog.exec();
    });
    shell::TF_LIVRAXB window;
    window.findChild<QToolButton*>(u"BU_LX53"_s)->click();
    QCOMPARE(opened, 1);
    QVERIFY(lockedWhileOpen);
    QVERIFY(window.findChild<QToolButton*>(u"BU_LX53"_s)->isEnabled());
    window.findChild<QToolButton*>(u"BU_LX53"_s)->click();
    QCOMPARE(opened, 2);
}

void TestMainWindow::focusedToolBarButtonIsDrawnRaised() {
    // Tab through the flat tool bar: the button with the focus is raised,
    // so the user sees where Enter lands; the one it left is flat again.
    shell::TF_LIVRAXB window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* first = window.findChild<QToolButton*>(u"BU_LX53"_s);
    first->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(first->hasFocus());
    QVERIFY(!first->autoRaise());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(!first->hasFocus());
    QVERIFY(first->autoRaise());
    auto* next = qobject_cast<QToolButton*>(QApplication::focusWidget());
    QVERIFY(next);
    QVERIFY(!next->autoRaise());
}

void TestMainWindow::itemsWithoutWindowsDoNothing() {
    test::ModuleFixture fixture;
    shell::TF_LIVRAXB window;
    // Every item but the ones that exit or ask: nothing opens, nothing fails
    // (an error would show the error box).
    test::DialogLog dialogs;
    QStringList triggered;
    std::function<void(const QList<QAction*>&)> trigger = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu()) {
                trigger(action->menu()->actions());
            } else if (!action->isSeparator() && action->text() != u"Sair"_s &&
                       action->text() != u"Senhas"_s) {
                action->trigger();
                triggered << action->text();
            }
        }
    };
    trigger(window.menuBar()->actions());
    QCOMPARE_GT(triggered.size(), 10);
    QCOMPARE(dialogs.names(), QStringList());
}

void TestMainWindow::unhandledErrorsReachTheErrorBox() {
    platform::RegisterWindow(u"LX53"_s, [](QWidget*, const QStringList&) {
        throw data::DbError(u"arquivo VRTNPDE bloqueado"_s);
    });
    shell::TF_LIVRAXB window;
    window.show();
    QString message;
    OnNextModal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            message = box->text();
            box->accept();
        }
    });
    window.findChild<QToolButton*>(u"BU_LX53"_s)->click();
    QCOMPARE(message, u"arquivo VRTNPDE bloqueado"_s);
    QVERIFY(window.isVisible());
    QVERIFY(window.findChild<QToolButton*>(u"BU_LX53"_s)->isEnabled());
    window.close();
}

void TestMainWindow::f12ClosesAndShutsDown() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    test::TestDatabase erp;
    test::TestDatabase store(test::TestDatabase::Tables::ProgramOnly);
    LogIn(erp, store);

    shell::TF_LIVRAXB window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.findChild<QLabel*>(u"LA_EMPRESA1"_s)->text(), u"EMPRESA DE TESTE LTDA"_s);
    QVERIFY(data::B_DIR(1)->isConnected());
    data::Globals().company.companyCode = u"003"_s;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F12);
    QVERIFY(!window.isVisible());
    QVERIFY(!data::B_DIR(1)->isConnected());

    data::Connection check;
    check.open(store.options());
    data::ParamRead(&check, u"USUARIO_ANA"_s, 10);
    QCOMPARE(data::ParamLines().line(1), u"003"_s);
}

// The program loads Qt's Portuguese texts: the standard buttons, the file
// and print dialogs and the context menus read in Portuguese.
void TestMainWindow::standardDialogsSpeakPortuguese() {
    QVERIFY2(platform::InstallStandardTranslations(),
             "qtbase_pt_BR not found: install qt6-translations-l10n");
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"Cancelar"_s);
}

// F12 ends the message loop even when another top-level window is still on
// the screen: the process never stays behind the closed main window.
void TestMainWindow::closingTheMainWindowEndsTheProgram() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    test::TestDatabase erp;
    test::TestDatabase store(test::TestDatabase::Tables::ProgramOnly);
    LogIn(erp, store);

    QWidget leftOpen; // a window that keeps "last window closed" from coming
    leftOpen.show();
    shell::TF_LIVRAXB window;
    bool closedInTime = false;
    QTimer::singleShot(200, &window, [&] {
        window.activateWindow();
        QTest::keyClick(&window, Qt::Key_F12);
        closedInTime = !window.isVisible();
    });
    // A loop still running after 10 seconds is the fault.
    QTimer watchdog; // stopped with the test
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(10000);
    QCOMPARE(shell::RunMainWindow(window), 0);
    QVERIFY(closedInTime);
    QVERIFY(!leftOpen.isVisible()); // the program's end closes what was left
    QVERIFY(!data::B_DIR(1)->isConnected());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
