// The company register: its window over a stored entry, what a save keeps
// and replaces, the checks on leaving a field, and a save the database
// refuses.

#include "data/company_header.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/transaction.h"
#include "registers/tf_cae.h"
#include "shell/main_window.h"
#include "support/dialog_log.h"
#include "support/menu_item.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace livrax;
using namespace livrax::registers;
using namespace Qt::StringLiterals;

namespace {

const QStringList StoredEntry = {
    u"MODELO LTDA#RUA A, 1#MODELO#"_s,
    u"PORTO ALEGRE#RS#90000-000#CENTRO#"_s,
    u"51#3333-4444#3333-5555#contato@modelo.com.br#"_s,
    u"11.222.333/0001-81#0960123458#12345#"_s,
    u"2#1#"_s,
    u"001#SU#S#"_s,
    u"1239"_s,
    u"AE-1#Distribuidora de Medicamentos#JOANA#GERENTE#5199#j@m.br#AF-2#LF-3#"_s,
    u"529.982.247-25#CARLOS#RUA B#5188#5177#c@m.br#RS#12345#"_s,
    u"4#Acesso Discado#PEDRO#p@m.br#"_s,
    u"LINHA 11"_s,
    QString(),
    u"LINHA 13"_s,
    QString(),
    QString(),
    QString(),
    QString(),
    QString(),
    QString(),
    u"LINHA 20"_s,
};

QStringList StoredLines() {
    data::ParamRead(data::ParamDatabase(), data::CompanyRegisterKey, 20);
    return data::ParamLines().lines(20);
}

template <typename T> T* Control(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", qPrintable(name));
    return control;
}

} // namespace

class TestCompanyRegister : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;

  private Q_SLOTS:
    void init() {
        m_fixture = std::make_unique<test::ModuleFixture>();
        for (int n = 1; n <= 20; ++n)
            data::ParamLines().setLine(n, StoredEntry.at(n - 1));
        QVERIFY(data::ParamWrite(data::ParamDatabase(), data::CompanyRegisterKey, 20,
                                 u"MODELO LTDA"_s));
        data::ParamLines().clear();
        data::LoadCompanyHeader();
    }
    void cleanup() { m_fixture.reset(); }

    void windowShowsTheStoredEntry();
    void saveReplacesTheWindowsLinesOnly_data();
    void saveReplacesTheWindowsLinesOnly();
    void typedHashStaysInItsField_data();
    void typedHashStaysInItsField();
    void closingWithoutSavingStoresNothing_data();
    void closingWithoutSavingStoresNothing();
    void menuItemOpensTheWindow();
    void leavingFieldsChecksAndShapes();
    void fieldRules_data();
    void fieldRules();
    void refusedSaveKeepsTheWindowOpen();
};

void TestCompanyRegister::windowShowsTheStoredEntry() {
    TF_CAE window;
    QCOMPARE(window.windowTitle(), u"F_CAE - Cadastro da Empresa"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_EMPRESA"_s)->text(), u"MODELO LTDA"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_CEP"_s)->text(), u"90000-000"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_CGC"_s)->text(), u"11.222.333/0001-81"_s);
    QCOMPARE(Control<QComboBox>(window, u"E_MED_QUALIF"_s)->currentText(),
             u"Distribuidora de Medicamentos"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_RED_CRF_NUM"_s)->text(), u"12345"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_SENHADIR"_s)->text(), u"1239"_s);
    QVERIFY(Control<QCheckBox>(window, u"CB_MULTFIL"_s)->isChecked());
    const CompanyRegister shown = window.values();
    QCOMPARE(shown.companyType, 2);
    QCOMPARE(shown.duplicateSeries, 1);
}

void TestCompanyRegister::saveReplacesTheWindowsLinesOnly_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("accessLevels");
    QTest::newRow("level 5 keeps the access levels") << u"5"_s << u"1239"_s;
    QTest::newRow("level 9 changes them") << u"9"_s << u"19"_s;
}

// A save replaces lines 1-6 and 8-10 by the window's values, line 7 only
// for a level-9 user, keeps lines 11-20 as stored and writes nothing beyond
// line 20, even when ParamLines holds a longer entry read by another window
// since; the save itself reloads the header from what was stored.
void TestCompanyRegister::saveReplacesTheWindowsLinesOnly() {
    QFETCH(QString, level);
    QFETCH(QString, accessLevels);
    data::Globals().user.level = level;
    TF_CAE window;
    QCOMPARE(Control<QLineEdit>(window, u"E_SENHADIR"_s)->isReadOnly(), level != u"9"_s);
    Control<QLineEdit>(window, u"E_CIDADE"_s)->setFocus();
    QTest::keyClicks(Control<QLineEdit>(window, u"E_CIDADE"_s), u" sul"_s);
    Control<QLineEdit>(window, u"E_SENHADIR"_s)->setText(u"19"_s);
    Control<QLineEdit>(window, u"E_EMPRESA"_s)->setText(u"NOVA MODELO LTDA"_s);
    Control<QCheckBox>(window, u"CB_MULTFIL"_s)->setChecked(false);
    Control<QComboBox>(window, u"E_INF_INTERNET"_s)->setCurrentIndex(3);
    Control<QLineEdit>(window, u"E_RES_NOME"_s)->clear();
    for (int n = 11; n <= 25; ++n)
        data::ParamLines().setLine(n, u"OUTRA CHAVE"_s);
    window.save();
    QCOMPARE(window.result(), int(QDialog::Accepted));

    QStringList expected = StoredEntry;
    expected[0] = u"NOVA MODELO LTDA#RUA A, 1#MODELO#"_s;
    expected[1] = u"PORTO ALEGRE SUL#RS#90000-000#CENTRO#"_s;
    expected[5] = u"001#SU#N#"_s;
    expected[6] = accessLevels;
    expected[8] = u"529.982.247-25##RUA B#5188#5177#c@m.br#RS#12345#"_s;
    expected[9] = u"4#Acesso Permanente IP Fixo#PEDRO#p@m.br#"_s;
    QCOMPARE(StoredLines(), expected);
    data::ParamRead(data::ParamDatabase(), data::CompanyRegisterKey, 30);
    QCOMPARE(data::ParamLines().line(25), QString());
    QCOMPARE(data::Globals().company.name, u"NOVA MODELO LTDA"_s);
    QCOMPARE(data::Globals().company.city, u"PORTO ALEGRE SUL"_s);
    QCOMPARE(data::Globals().company.multiBranch, u"N"_s);
}

void TestCompanyRegister::typedHashStaysInItsField_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("stored");
    QTest::newRow("middle field of line 1")
        << u"E_ENDERECO"_s << u"RUA A #1"_s << 1 << u"MODELO LTDA#RUA A  1#MODELO#"_s;
    QTest::newRow("first field of line 3")
        << u"E_PREFIXO"_s << u"#51"_s << 3 << u" 51#3333-4444#3333-5555#contato@modelo.com.br#"_s;
    QTest::newRow("last field of line 10")
        << u"E_INF_EMAIL"_s << u"p@m.br##"_s << 10 << u"4#Acesso Discado#PEDRO#p@m.br  #"_s;
}

// A "#" typed into a field is stored as a space: the fields after it stay
// where they were and the window shows them in place again.
void TestCompanyRegister::typedHashStaysInItsField() {
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(int, line);
    QFETCH(QString, stored);
    {
        TF_CAE window;
        Control<QLineEdit>(window, control)->setText(typed);
        window.save();
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
    const QStringList lines = StoredLines();
    QCOMPARE(lines.at(line - 1), stored);
    for (int n = 1; n <= 20; ++n)
        if (n != line) QCOMPARE(lines.at(n - 1), StoredEntry.at(n - 1));
    TF_CAE reopened;
    QCOMPARE(Control<QLineEdit>(reopened, control)->text(), QString(typed).replace(u'#', u' '));
}

void TestCompanyRegister::closingWithoutSavingStoresNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancelar") << false;
    QTest::newRow("Esc") << true;
}

// "Cancelar" and Esc close the window with nothing stored and the header
// as it was.
void TestCompanyRegister::closingWithoutSavingStoresNothing() {
    QFETCH(bool, escape);
    data::Globals().user.level = u"9"_s;
    TF_CAE window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    Control<QLineEdit>(window, u"E_EMPRESA"_s)->setText(u"NOVA MODELO LTDA"_s);
    Control<QLineEdit>(window, u"E_CIDADE"_s)->setText(u"CANOAS"_s);
    Control<QLineEdit>(window, u"E_SENHADIR"_s)->setText(u"9"_s);
    auto* city = Control<QLineEdit>(window, u"E_CIDADE"_s);
    city->setFocus();
    QTRY_VERIFY(city->hasFocus());
    if (escape) {
        QTest::keyClick(city, Qt::Key_Escape);
    } else {
        QPushButton* cancel = nullptr;
        for (QPushButton* button : window.findChildren<QPushButton*>())
            if (button->text() == u"Cancelar"_s) cancel = button;
        QVERIFY(cancel);
        cancel->click();
    }
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(StoredLines(), StoredEntry);
    QCOMPARE(data::Globals().company.name, u"MODELO LTDA"_s);
    QCOMPARE(data::Globals().company.city, u"PORTO ALEGRE"_s);
}

// The main menu's "CAE - Cadastro da Empresa" opens the register window
// over the stored entry.
void TestCompanyRegister::menuItemOpensTheWindow() {
    registers::RegisterRegisterWindows();
    shell::TF_LIVRAXB main;
    QAction* item = test::FindMenuItem(main.menuBar()->actions(), u"CAE - Cadastro da Empresa"_s);
    QVERIFY(item);
    QString opened;
    QString company;
    test::OnNextModal([&](QWidget* modal) {
        if (!modal) return;
        opened = modal->objectName();
        if (auto* name = modal->findChild<QLineEdit*>(u"E_EMPRESA"_s)) company = name->text();
        static_cast<QDialog*>(modal)->reject();
    });
    item->trigger();
    QCOMPARE(opened, u"F_CAE"_s);
    QCOMPARE(company, u"MODELO LTDA"_s);
}

// Leaving the CNPJ with wrong check digits says so and keeps the text;
// an empty mask says nothing; the postal code is shaped.
void TestCompanyRegister::leavingFieldsChecksAndShapes() {
    TF_CAE window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* cnpj = Control<QLineEdit>(window, u"E_CGC"_s);
    auto* next = Control<QLineEdit>(window, u"E_INSCEST"_s);
    const auto leave = [&](QLineEdit* edit, const QString& text) {
        QApplication::setActiveWindow(&window); // back from a message box
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(text);
        next->setFocus();
        QTRY_VERIFY(next->hasFocus());
    };
    {
        test::DialogLog dialogs;
        leave(cnpj, u"11.222.333/0001-82"_s);
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().text, u"CGC/CNPJ INVÁLIDO."_s);
        QCOMPARE(cnpj->text(), u"11.222.333/0001-82"_s);
    }
    {
        test::DialogLog dialogs;
        leave(cnpj, QString());
        leave(Control<QLineEdit>(window, u"E_CEP"_s), u"90000000"_s);
        QCOMPARE(dialogs.names(), QStringList());
        QCOMPARE(Control<QLineEdit>(window, u"E_CEP"_s)->text(), u"90000-000"_s);
    }
}

void TestCompanyRegister::fieldRules_data() {
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("cnpj valid") << u"cnpj"_s << u"11.222.333/0001-81"_s << QString();
    QTest::newRow("cnpj wrong digit")
        << u"cnpj"_s << u"11.222.333/0001-82"_s << u"CGC/CNPJ INVÁLIDO."_s;
    QTest::newRow("cnpj only the mask") << u"cnpj"_s << u"  .   .   /    -  "_s << QString();
    QTest::newRow("cpf valid") << u"cpf"_s << u"529.982.247-25"_s << QString();
    QTest::newRow("cpf wrong digit") << u"cpf"_s << u"529.982.247-26"_s << u"CGC/CNPJ INVÁLIDO."_s;
    QTest::newRow("cpf empty") << u"cpf"_s << QString() << QString();
    QTest::newRow("cep whole") << u"cep"_s << u"90000000"_s << u"90000-000"_s;
    QTest::newRow("cep short") << u"cep"_s << u"9000"_s << u"9000"_s;
    QTest::newRow("cep typed with dash") << u"cep"_s << u"90000-0"_s << u"90000-0"_s;
}

void TestCompanyRegister::fieldRules() {
    QFETCH(QString, rule);
    QFETCH(QString, text);
    QFETCH(QString, result);
    const QString got = rule == u"cnpj"_s  ? CnpjProblem(text)
                        : rule == u"cpf"_s ? CpfProblem(text)
                                           : ShapePostalCode(text);
    QCOMPARE(got, result);
}

// Another station holds the register's row: the save says it could not be
// stored, the window stays open, and the stored entry is the station's.
void TestCompanyRegister::refusedSaveKeepsTheWindowOpen() {
    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(m_fixture->store().options());
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET TEXTO = '001)OUTRA ESTACAO' WHERE CHAVE = 'VRTNCAE'"_s);
    TF_CAE window;
    Control<QLineEdit>(window, u"E_EMPRESA"_s)->setText(u"NOVA MODELO LTDA"_s);
    test::DialogLog dialogs;
    window.save();
    data::SetLockTimeoutSeconds(timeout);
    QCOMPARE(dialogs.names(), QStringList{u"ERROR_BOX"_s});
    QVERIFY(dialogs.shown().first().text.contains(u"não pôde ser gravado"_s));
    QCOMPARE(window.result(), 0);
    holding.commit();
    QCOMPARE(StoredLines().first(), u"OUTRA ESTACAO"_s);
}

QTEST_MAIN(TestCompanyRegister)
#include "test_company_register.moc"
