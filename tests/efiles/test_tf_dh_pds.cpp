// The DataHouse window offscreen: its controls by name and caption, the
// settings it loads and saves ("Sair" only), the period typed, and exports
// that report their errors and then none.

#include "data/globals.h"
#include "efiles/tf_dh_pds.h"
#include "platform/window_registry.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNEMP (SIGLA, EMPRESA, CGC, CIDADE, CEP) VALUES ('C1', 'CLIENTE UM', '11.222.333/0001-81', 'SAO PAULO', '01234-567');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, CGC, CIDADE, CEP) VALUES ('C2', 'CLIENTE DOIS', NULL, 'CAMPINAS', '13000-000');
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, VP, FAT, LIQUIDO) VALUES (1, 101, 'C1', '02.03.2026', 'V', 'F', 100);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, SIGLA, DTNOTA, VP, FAT, LIQUIDO) VALUES (2, 102, 'C2', '03.03.2026', 'V', 'F', 200);
)"_s;

template <typename T> T* Child(QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
}

// Types a date into a masked date field as a user does.
void TypeDate(QLineEdit* edit, const QString& digits) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, digits);
}

QStringList ShownTexts(test::DialogLog& log) {
    QStringList texts;
    for (const test::DialogLog::Shown& shown : log.shown())
        texts << shown.text;
    return texts;
}

} // namespace

class TestTF_DH_PDS : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void controls();
    void settingsSavedBySairOnly();
    void exportsReportErrorsThenNone();
    void assembleWantsBothDates();
    void menuCommandOpensTheWindow();
    void proposesTheFolderBesideTheDatabase();
    void editorShowsTheChosenFile();
};

void TestTF_DH_PDS::controls() {
    test::ModuleFixture fixture;
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"F_DH_PDS - Exportação Clientes/Vendas"_s);
    const std::pair<const char16_t*, const char16_t*> buttons[] = {
        {u"BU_MONTAR", u"Montar"},
        {u"BU_EXPORTAR", u"Exportar"},
        {u"SpeedButton1", u"Editor"},
        {u"BU_SAIR", u"Sair"},
        {u"BU_IMPRIME", u"Imprime Tela"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(Child<QPushButton>(window, QString::fromUtf16(name))->text(),
                 QString::fromUtf16(caption));
    QCOMPARE(Child<QPushButton>(window, u"BU_SAIR"_s)->toolTip(), u"Sair do Programa"_s);
    const std::pair<const char16_t*, const char16_t*> boxes[] = {
        {u"CB_CLIENTES", u"DH_PDS_C - Exportar Clientes"},
        {u"CB_VENDAS", u"DH_PDS_V  - Exportar Vendas"},
        {u"CB_VALICM", u"Gravar Valor ICM"}};
    // All ticked on a new installation.
    for (const auto& [name, caption] : boxes) {
        auto* box = Child<QCheckBox>(window, QString::fromUtf16(name));
        QCOMPARE(box->text(), QString::fromUtf16(caption));
        QVERIFY(box->isChecked());
    }
    for (const QString& name :
         {u"E_DTINICIAL"_s, u"E_DTFINAL"_s, u"E_DIRETORIO"_s, u"E_ARQSAIDA"_s, u"E_FILTROPDS"_s})
        Child<QLineEdit>(window, name);
    QVERIFY(Child<QLineEdit>(window, u"E_ARQSAIDA"_s)->isReadOnly());
    QCOMPARE(Child<QLabel>(window, u"LA_ERROS"_s)->text(), u"000"_s);
    for (const QString& name : {u"LA_SEL_DIR"_s, u"LA_EXP_PDS"_s, u"LA_EXP_EMP"_s, u"LA_REG"_s})
        Child<QLabel>(window, name);
    auto* tabs = window.findChild<QTabWidget*>();
    QVERIFY(tabs);
    QCOMPARE(tabs->currentIndex(), 0);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{u"Exportar"_s, u"Grid"_s, u"Parâmetros"_s, u"Erros"_s}));
    auto* menu = window.findChild<QMenuBar*>();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), u"Arquivo"_s);
    QStringList items;
    for (const QAction* action : menu->actions().first()->menu()->actions())
        items << action->text();
    QCOMPARE(items, QStringList{u"Imprimir Tela"_s});
    window.close();
}

void TestTF_DH_PDS::settingsSavedBySairOnly() {
    test::ModuleFixture fixture;
    QTemporaryDir folder;
    {
        efiles::TF_DH_PDS window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A complete start date makes the end date the last day of its month.
        TypeDate(Child<QLineEdit>(window, u"E_DTINICIAL"_s), u"100226"_s);
        QCOMPARE(Child<QLineEdit>(window, u"E_DTFINAL"_s)->text(), u"28/02/26"_s);
        QVERIFY(Child<QPushButton>(window, u"BU_MONTAR"_s)->isEnabled());
        Child<QLineEdit>(window, u"E_DIRETORIO"_s)->setText(folder.path());
        QCOMPARE(Child<QLineEdit>(window, u"E_ARQSAIDA"_s)->text(),
                 QDir::toNativeSeparators(folder.filePath(u"DH_PDS_V.TXT"_s)));
        Child<QLineEdit>(window, u"E_FILTROPDS"_s)->setText(u"PDS.VP = 'V'"_s);
        Child<QCheckBox>(window, u"CB_VALICM"_s)->setChecked(false);
        QTest::mouseClick(Child<QPushButton>(window, u"BU_SAIR"_s), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }
    {
        efiles::TF_DH_PDS window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(Child<QLineEdit>(window, u"E_DTINICIAL"_s)->text(), u"10/02/26"_s);
        QCOMPARE(Child<QLineEdit>(window, u"E_DTFINAL"_s)->text(), u"28/02/26"_s);
        QCOMPARE(Child<QLineEdit>(window, u"E_DIRETORIO"_s)->text(), folder.path());
        QCOMPARE(Child<QLineEdit>(window, u"E_FILTROPDS"_s)->text(), u"PDS.VP = 'V'"_s);
        QVERIFY(!Child<QCheckBox>(window, u"CB_VALICM"_s)->isChecked());
        // Closed by other means than "Sair": nothing is saved.
        Child<QLineEdit>(window, u"E_FILTROPDS"_s)->setText(u"PDS.VP = 'P'"_s);
        window.close();
    }
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(Child<QLineEdit>(window, u"E_FILTROPDS"_s)->text(), u"PDS.VP = 'V'"_s);
    window.close();
}

void TestTF_DH_PDS::exportsReportErrorsThenNone() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QTemporaryDir folder;
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TypeDate(Child<QLineEdit>(window, u"E_DTINICIAL"_s), u"010326"_s);
    Child<QLineEdit>(window, u"E_DIRETORIO"_s)->setText(folder.path());
    auto* tabs = window.findChild<QTabWidget*>();
    {
        test::DialogLog log;
        QTest::mouseClick(Child<QPushButton>(window, u"BU_EXPORTAR"_s), Qt::LeftButton);
        QCOMPARE(ShownTexts(log), QStringList{u"Esta exportação contem ERROS"_s});
    }
    QCOMPARE(tabs->currentIndex(), 3);
    QCOMPARE(Child<QLabel>(window, u"LA_ERROS"_s)->text(), u"001"_s);
    QCOMPARE(Child<QLabel>(window, u"LA_EXP_PDS"_s)->text(), u"2"_s);
    QCOMPARE(Child<QLabel>(window, u"LA_EXP_EMP"_s)->text(), u"2"_s);
    QCOMPARE(Child<QLabel>(window, u"LA_REG"_s)->text(), u"2"_s);
    // "Montar" ran first and is done until the period changes.
    QVERIFY(!Child<QPushButton>(window, u"BU_MONTAR"_s)->isEnabled());
    QVERIFY(QFile::exists(folder.filePath(u"DH_PDS_V.TXT"_s)));
    // The selection in tab "Grid", walked by its navigator.
    auto* grid = Child<QTableWidget>(window, u"DBGrid1"_s);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(1, 1)->text(), u"102"_s);
    QTest::mouseClick(Child<QToolButton>(window, u"NAV_LAST"_s), Qt::LeftButton);
    QCOMPARE(grid->currentRow(), 1);
    QTest::mouseClick(Child<QToolButton>(window, u"NAV_NEXT"_s), Qt::LeftButton);
    QCOMPARE(grid->currentRow(), 1);
    QTest::mouseClick(Child<QToolButton>(window, u"NAV_PRIOR"_s), Qt::LeftButton);
    QCOMPARE(grid->currentRow(), 0);

    // Only the customer with everything: no errors, whatever the last
    // export said.
    Child<QLineEdit>(window, u"E_FILTROPDS"_s)->setText(u"PDS.SIGLA = 'C1'"_s);
    {
        test::DialogLog log;
        QTest::mouseClick(Child<QPushButton>(window, u"BU_EXPORTAR"_s), Qt::LeftButton);
        QCOMPARE(ShownTexts(log), QStringList{u"Exportação Concluida"_s});
    }
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(Child<QLabel>(window, u"LA_ERROS"_s)->text(), u"000"_s);
    QCOMPARE(Child<QLabel>(window, u"LA_EXP_PDS"_s)->text(), u"1"_s);
    // The list keeps the lines of both exports.
    auto* list = Child<QListWidget>(window, u"LB_ERROS"_s);
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    QCOMPARE(lines, (QStringList{u"Arquivo vendas - DH_PDS_V.TXT"_s, u"*** Erros: 0"_s,
                                 u"Arquivo Clientes - DH_PDS_C.TXT"_s,
                                 u"Falta CGC DO CLIENTE: CLIENTE DOIS"_s, u"*** Erros: 1"_s,
                                 u"Arquivo vendas - DH_PDS_V.TXT"_s, u"*** Erros: 0"_s,
                                 u"Arquivo Clientes - DH_PDS_C.TXT"_s, u"*** Erros: 0"_s}));
    window.close();
}

void TestTF_DH_PDS::assembleWantsBothDates() {
    test::ModuleFixture fixture;
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::DialogLog log;
    QTest::mouseClick(Child<QPushButton>(window, u"BU_MONTAR"_s), Qt::LeftButton);
    QCOMPARE(ShownTexts(log), QStringList{u"Deve ser informada a Data Inicial e a Final"_s});
    // The selection was not made: "Montar" stays to be done.
    QVERIFY(Child<QPushButton>(window, u"BU_MONTAR"_s)->isEnabled());
    window.close();
}

void TestTF_DH_PDS::menuCommandOpensTheWindow() {
    test::ModuleFixture fixture;
    efiles::RegisterEfilesWindows();
    test::DialogLog log;
    QVERIFY(platform::OpenWindow(u"DH_PDS"_s, nullptr));
    QCOMPARE(log.names(), QStringList{u"TF_DH_PDS"_s});
    platform::UnregisterWindow(u"DH_PDS"_s);
}

void TestTF_DH_PDS::proposesTheFolderBesideTheDatabase() {
    test::ModuleFixture fixture;
    QTemporaryDir folder;
    data::Globals().registry.dirs[1] = folder.filePath(u"livrax1.fdb"_s);
    {
        // Only a folder that exists is proposed.
        efiles::TF_DH_PDS window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(Child<QLineEdit>(window, u"E_DIRETORIO"_s)->text(), QString());
        window.close();
    }
    QVERIFY(QDir(folder.path()).mkdir(u"EXPORTAR"_s));
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(Child<QLineEdit>(window, u"E_DIRETORIO"_s)->text(), folder.filePath(u"EXPORTAR"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_ARQSAIDA"_s)->text(),
             QDir::toNativeSeparators(folder.filePath(u"EXPORTAR/DH_PDS_V.TXT"_s)));
    window.close();
}

void TestTF_DH_PDS::editorShowsTheChosenFile() {
    test::ModuleFixture fixture;
    QTemporaryDir folder;
    {
        QFile file(folder.filePath(u"DH_PDS_V.TXT"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("LINHA UM \xc7\r\nLINHA DOIS\r\n"); // Windows-1252
    }
    efiles::TF_DH_PDS window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QLineEdit>(window, u"E_DIRETORIO"_s)->setText(folder.path());
    QString dialogFolder, shown;
    bool saveEnabled = true;
    test::OnModal(u"OpenDialog1"_s, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        dialogFolder = dialog->directory().absolutePath();
        test::OnModal(u"TF_EDIT"_s, [&](QWidget* editor) {
            if (!editor) return;
            shown = editor->findChild<QTextEdit*>(u"MEMO1"_s)->toPlainText();
            saveEnabled = editor->findChild<QAbstractButton*>(u"BU_SALVA"_s)->isEnabled();
            editor->close();
        });
        static_cast<QDialog*>(dialog)->accept(); // the sales file it starts on
    });
    QTest::mouseClick(Child<QPushButton>(window, u"SpeedButton1"_s), Qt::LeftButton);
    QCOMPARE(dialogFolder, QDir(folder.path()).absolutePath());
    QCOMPARE(shown, u"LINHA UM Ç\nLINHA DOIS"_s);
    QVERIFY(!saveEnabled);
    window.close();
}

QTEST_MAIN(TestTF_DH_PDS)
#include "test_tf_dh_pds.moc"
