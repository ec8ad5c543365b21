// The report manager window on a test database whose sales menu holds
// reports: the rights that hide its button panel (the window then refuses
// the user) and "Formatar" with its group; "Formatar", "Novo" and "Copia"
// opening the designer (a stub in the registry) with the table, the menu key
// and the number, a blank-titled report keeping its number; a report moved
// up; an import refused leaving the stored report as it was; a selection
// that cannot be written on closing keeping the window open; the selection
// configuration storing a field's type without its comparison; the date
// fields of a report with a secondary table; "Consultar"; the menu keys; the
// old-format import through the window.

#include "common/line_files.h"
#include "data/company_header.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "platform/window_registry.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"
#include "reports/report_windows.h"
#include "reports/tf_pdocs.h"
#include "reports/tf_pfmqm.h"
#include "shell/startup.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Child(const QWidget& window, const QString& name) {
    auto* child = window.findChild<T*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

void Click(const QWidget& window, const QString& name) {
    Child<QPushButton>(window, name)->click();
}

// Reports 001 "Vendas", 002 stored with a blank title, 004 "Notas".
void StoreMenu(test::TestDatabase& database) {
    database.load(u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES ('PAR_LFPDS001A', "
                  u"'001)Vendas#' || ASCII_CHAR(13) || ASCII_CHAR(10) || "
                  u"'011)Nota#A.NNOTA#1#1#0#8#', 'Vendas');\n"
                  u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES ('PAR_LFPDS001V', "
                  u"'001)01/01/26#31/01/26#DATA#', NULL);\n"
                  u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES ('PAR_LFPDS002A', "
                  u"'001)#', NULL);\n"
                  u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES ('PAR_LFPDS004A', "
                  u"'001)Notas#' || ASCII_CHAR(13) || ASCII_CHAR(10) || '010)PDE#', 'Notas');\n"_s);
}

QString Title(const QWidget& window, int number) {
    const QTableWidgetItem* item =
        Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->item(number - 1, 1);
    return item ? item->text() : QString();
}

// What the designer was opened with, through a stub in the registry.
class DesignerStub {
  public:
    DesignerStub() {
        platform::RegisterWindow(u"PFMQF"_s, [this](QWidget*, const QStringList& arguments) {
            opened.append(arguments);
        });
    }
    ~DesignerStub() { platform::UnregisterWindow(u"PFMQF"_s); }
    QList<QStringList> opened;
};

} // namespace

class TestTF_PFMQM : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();

    void rights_data();
    void rights();
    void formatOpensTheDesigner_data();
    void formatOpensTheDesigner();
    void newAndCopyTakeTheFirstNumberWithNoKey();
    void moveUpSwapsWithTheReportAbove();
    void refusedImportKeepsTheReport();
    void selectionLoadedAndSaved();
    void unwrittenSelectionKeepsTheWindowOpen();
    void previewWarnsOfAReversedPeriodAndRuns();
    void deleteAsksFirst();
    void exportWritesTheSelectedReports();
    void currencyOfTheDayPrompts();
    void selectionConfigurationStoresTheColumnType();
    void dateFieldsOfTheSecondaryTable();
    void queryOpensWithItsOwnSettings();
    void menuKeys_data();
    void menuKeys();
    void oldFormatImportThroughTheWindow();
    void demoReportDesignedThenPreviewed();
};

void TestTF_PFMQM::init() {
    data::ParamLines().clear();
}

void TestTF_PFMQM::rights_data() {
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("panel");
    QTest::addColumn<bool>("format");
    QTest::addColumn<bool>("refused");
    QTest::newRow("all") << u""_s << u"PAR_LFPDS"_s << true << true << false;
    QTest::newRow("no reports") << u"SSSSSSN"_s << u"PAR_LFPDS"_s << false << true << true;
    QTest::newRow("no design") << u"SSSSSSSN"_s << u"PAR_LFPDS"_s << true << false << false;
    QTest::newRow("PDO_ menu") << u"SSSSSSNN"_s << u"PDO_PDS"_s << true << true << false;
}

void TestTF_PFMQM::rights() {
    QFETCH(QString, rights);
    QFETCH(QString, key);
    QFETCH(bool, panel);
    QFETCH(bool, format);
    QFETCH(bool, refused);
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    data::Globals().user.rights = rights;
    test::DialogLog log;
    reports::TF_PFMQM window(u"PDS"_s, key);
    window.show();
    if (!refused) QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(!Child<QWidget>(window, u"PA_BUTTONPRINT"_s)->isHidden(), panel);
    QCOMPARE(!Child<QPushButton>(window, u"BU_FORMATAR"_s)->isHidden(), format);
    QCOMPARE(!Child<QGroupBox>(window, u"GRU_NOVO"_s)->isHidden(), format);
    if (refused) QTRY_VERIFY(!window.isVisible());
    bool told = false;
    for (const test::DialogLog::Shown& shown : log.shown())
        told = told || shown.text == u"Usuário não autorizado para utilizar este programa"_s;
    QCOMPARE(told, refused);
    window.close();
}

void TestTF_PFMQM::formatOpensTheDesigner_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("sales") << u"PDS"_s << u"PAR_LFPDS"_s << 4
                           << QStringList{u"PDS"_s, u"PAR_LFPDS"_s, u"004"_s};
    QTest::newRow("CPC register") << u"CPC#"_s << QString() << 1
                                  << QStringList{u"CPC"_s, QString(), u"001"_s};
}

void TestTF_PFMQM::formatOpensTheDesigner() {
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(int, row);
    QFETCH(QStringList, arguments);
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    DesignerStub designer;
    reports::TF_PFMQM window(table, key);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(row - 1, 0);
    QCOMPARE(Child<QLineEdit>(window, u"E_TSEQ"_s)->text(), reports::ReportNumber(row));
    Click(window, u"BU_FORMATAR"_s);
    QCOMPARE(designer.opened, QList<QStringList>{arguments});
    QVERIFY(Child<QPushButton>(window, u"BU_FORMATAR"_s)->isEnabled());
    window.close();
}

void TestTF_PFMQM::newAndCopyTakeTheFirstNumberWithNoKey() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    DesignerStub designer;
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(Title(window, 1), u"Vendas"_s);

    Click(window, u"BU_NOVOREL"_s);
    QCOMPARE(designer.opened, (QList<QStringList>{{u"PDS"_s, u"PAR_LFPDS"_s, u"003"_s}}));
    QCOMPARE(data::Globals().registry.fmq[9], u"P"_s);
    // The blank-titled report 002 is still there.
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS002A"_s, 1));

    // The designer stored nothing under 003, so a copy of 001 goes there.
    designer.opened.clear();
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(0, 0);
    Click(window, u"BU_COPIA_REL"_s);
    QCOMPARE(designer.opened, (QList<QStringList>{{u"PDS"_s, u"PAR_LFPDS"_s, u"003"_s}}));
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"Vendas#"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003V"_s, 1));
    QCOMPARE(Child<QLineEdit>(window, u"E_TSEQ"_s)->text(), u"003"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS002A"_s, 1));
    window.close();
}

void TestTF_PFMQM::moveUpSwapsWithTheReportAbove() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    fixture.erp().exec(u"INSERT INTO VRTNPAR (CHAVE, TEXTO, CAMPO) VALUES ('PAR_LFPDS999A', "
                       u"'001)Troca#', 'Troca')"_s);
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(3, 0);
    Click(window, u"BU_SEL_ACIMA"_s);
    QCOMPARE(Child<QLineEdit>(window, u"E_TSEQ"_s)->text(), u"003"_s);
    QCOMPARE(Title(window, 3), u"Notas"_s);
    QCOMPARE(Title(window, 4), QString());
    Click(window, u"BU_SEL_ACIMA"_s); // onto the blank-titled 002: they swap
    QCOMPARE(Title(window, 2), u"Notas"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"#"_s); // the blank-titled one, now 003
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS999A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"Troca#"_s);
    window.close();
}

void TestTF_PFMQM::refusedImportKeepsTheReport() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    // The folder the dialog would start in does not exist.
    data::Globals().registry.dirTemp = u"/nao/existe/"_s;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"par_lfpds001a.fmb"_s);
    QStringList lines = {u"Importado#"_s};
    QVERIFY(WriteLinesFile(path, lines));
    lines = {u"c"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"par_lfpds001c.fmb"_s), lines));
    lines = {u"v"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"par_lfpds001v.fmb"_s), lines));

    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString startedIn;
    const auto import = [&](bool replace, QString* question, QString* told) {
        test::OnModal(u"OPEN_DIALOG"_s, [&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            if (!files) return;
            startedIn = files->directory().absolutePath();
            test::OnModal(u"QUESTION_BOX"_s, [&](QWidget* box) {
                auto* asked = qobject_cast<QMessageBox*>(box);
                if (!asked) return;
                *question = asked->text();
                if (replace) test::CloseNextModal(told);
                asked->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            files->selectFile(path);
            if (auto* name = files->findChild<QLineEdit*>(u"fileNameEdit"_s)) name->setText(path);
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        });
        window.importDefinitions();
    };
    QString question, told;
    import(false, &question, &told);
    QVERIFY2(question.contains(u"PAR_LFPDS001"_s), qPrintable(question));
    QVERIFY2(QFileInfo(startedIn).isDir(), qPrintable(startedIn));
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS001A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"Vendas#"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"01/01/26#31/01/26#DATA#"_s);
    QCOMPARE(Title(window, 1), u"Vendas"_s);

    import(true, &question, &told);
    QVERIFY2(told.contains(u"importado"_s), qPrintable(told));
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS001A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"Importado#"_s);
    QCOMPARE(Title(window, 1), u"Importado"_s);
    window.close();
}

void TestTF_PFMQM::selectionLoadedAndSaved() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    data::Globals().user.name = u"ANA"_s;
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* pages = Child<QTabWidget>(window, u"PC_GERAL"_s);
    QCOMPARE(Child<QLineEdit>(window, u"SEL_DTINICIAL"_s)->text(), u"01/01/26"_s);
    QCOMPARE(Child<QLineEdit>(window, u"SEL_DTFINAL"_s)->text(), u"31/01/26"_s);
    QCOMPARE(Child<QComboBox>(window, u"SEL_DTCOMBO"_s)->currentText(), u"DATA"_s);
    QCOMPARE(Child<QLineEdit>(window, u"SEL_PAGINA"_s)->text(), u"1"_s);
    pages->setCurrentIndex(1);
    Child<QLineEdit>(window, u"E_VARSQL"_s)->setText(u"  SP "_s);
    Child<QLineEdit>(window, u"E_TITMOEDA"_s)->setText(u"DOLAR"_s);
    // A typed initial date, once left, ends the period on its month's last day.
    auto* initial = Child<QLineEdit>(window, u"SEL_DTINICIAL"_s);
    initial->setFocus();
    initial->setCursorPosition(0);
    QTest::keyClicks(initial, u"150226"_s);
    QTest::keyClick(initial, Qt::Key_Return);
    QCOMPARE(Child<QLineEdit>(window, u"SEL_DTFINAL"_s)->text(), u"28/02/26"_s);
    pages->setCurrentIndex(0); // leaving the page saves
    reports::LastSelection saved;
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, saved));
    QCOMPARE(saved.varSql, u"SP"_s);
    QCOMPARE(saved.currencyTitle, u"DOLAR"_s);
    QCOMPARE(saved.initialDate, u"15/02/26"_s);
    QCOMPARE(saved.finalDate, u"28/02/26"_s);
    QCOMPARE(saved.dateField, u"DATA"_s);
    QCOMPARE(saved.user, u"ANA"_s);
    QCOMPARE(saved.tableName, u"VRTNPDS"_s);

    // Moving to report 004 (no selection stored) on the list shows its own
    // selection, so a run stores nothing of 001 under it.
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(3, 0);
    QCOMPARE(Child<QLineEdit>(window, u"E_VARSQL"_s)->text(), QString());
    QVERIFY(window.saveSelection());
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS004V"_s, saved));
    QCOMPARE(saved.initialDate, QString());
    QCOMPARE(saved.varSql, QString());

    // A number without a report gets no selection key: it stays free.
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(2, 0);
    pages->setCurrentIndex(1);
    pages->setCurrentIndex(0);
    QVERIFY(!data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003V"_s, 1));
    window.close();
}

// Closing saves the selection; when another station holds its key the
// save fails, the user is told and the window stays open, and the next
// close writes it.
void TestTF_PFMQM::unwrittenSelectionKeepsTheWindowOpen() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QLineEdit>(window, u"E_VARSQL"_s)->setText(u"SP"_s);
    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    const auto restore = qScopeGuard([timeout] { data::SetLockTimeoutSeconds(timeout); });
    data::Connection station;
    station.open(fixture.erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(u"UPDATE VRTNPAR SET CAMPO = CAMPO WHERE CHAVE = 'PAR_LFPDS001V'"_s);
    {
        test::DialogLog log;
        window.close();
        QCOMPARE(log.names(), QStringList{u"ERROR_BOX"_s});
        QVERIFY(log.shown().constFirst().text.startsWith(u"Não foi possível gravar"_s));
        QVERIFY(window.isVisible());
    }
    holding.rollback();
    window.close();
    QVERIFY(!window.isVisible());
    reports::LastSelection saved;
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, saved));
    QCOMPARE(saved.varSql, u"SP"_s);
}

void TestTF_PFMQM::previewWarnsOfAReversedPeriodAndRuns() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QTabWidget>(window, u"PC_GERAL"_s)->setCurrentIndex(1);
    Child<QLineEdit>(window, u"SEL_DTINICIAL"_s)->setText(u"31/01/26"_s);
    Child<QLineEdit>(window, u"SEL_DTFINAL"_s)->setText(u"01/01/26"_s);
    test::DialogLog log;
    Click(window, u"BU_VISAO"_s);
    QCOMPARE(log.names(), QStringList({u"MESSAGE_BOX"_s, u"TF_PRINT"_s}));
    QCOMPARE(log.shown().first().text, u"Data Inicial maior que data Final"_s);
    QCOMPARE(data::Globals().registry.fmq[9], u"V"_s);
    QCOMPARE(data::Globals().registry.fmq[5], u"PAR_LFPDS001A"_s);
    reports::LastSelection saved;
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, saved));
    QCOMPARE(saved.initialDate, u"31/01/26"_s);
    window.close();
}

void TestTF_PFMQM::deleteAsksFirst() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(3, 0);
    for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        QString asked;
        test::OnModal(u"DELETE_QUESTION"_s, [&](QWidget* box) {
            auto* question = qobject_cast<QMessageBox*>(box);
            if (!question) return;
            asked = question->text();
            question->button(answer)->click();
        });
        Click(window, u"BU_EXCLUI"_s);
        QCOMPARE(asked, u"CONFIRMA EXCLUSÃO DO RELATÓRIO SELECIONADO ?"_s);
        const bool kept = answer == QMessageBox::Cancel;
        QCOMPARE(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS004A"_s, 1), kept);
        QCOMPARE(Title(window, 4), kept ? u"Notas"_s : QString());
        QCOMPARE(Child<QLineEdit>(window, u"E_TSEQ"_s)->text(), kept ? u"004"_s : u"001"_s);
    }
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS001A"_s, 1));
    // The emptied number is free: passing through its selection stores nothing.
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(3, 0);
    auto* pages = Child<QTabWidget>(window, u"PC_GERAL"_s);
    pages->setCurrentIndex(1);
    pages->setCurrentIndex(0);
    QVERIFY(!data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS004V"_s, 1));
    window.close();
}

void TestTF_PFMQM::exportWritesTheSelectedReports() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    QTemporaryDir dir;
    data::Globals().user.tempFolder = dir.path() + u'/';
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = Child<QTableWidget>(window, u"LISTBOX_MENU"_s);
    list->clearSelection();
    list->setRangeSelected(QTableWidgetSelectionRange(1, 0, 3, 3), true);
    QString offered, done;
    test::OnModal(u"SAVE_FILE"_s, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        offered = dialog->selectedFiles().value(0);
        test::CloseNextModal(&done);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    window.exportDefinitions();
    QCOMPARE(offered, dir.filePath(u"PAR_LFPDS002A.FMB"_s));
    QCOMPARE(done, u"Exportação concluída no diretório - "_s + dir.path());
    QStringList written = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(written,
             QStringList({u"PAR_LFPDS002A.FMB"_s, u"PAR_LFPDS002C.FMB"_s, u"PAR_LFPDS002V.FMB"_s,
                          u"PAR_LFPDS004A.FMB"_s, u"PAR_LFPDS004C.FMB"_s, u"PAR_LFPDS004V.FMB"_s}));
    window.close();
}

void TestTF_PFMQM::currencyOfTheDayPrompts() {
    test::ModuleFixture fixture;
    data::Globals().user.name = u"ANA"_s;
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Answers the two prompts (name, then value) with `title` and `value`.
    const auto answer = [](const QString& title, const QString& value, int* valueLength) {
        test::OnModal(u"TF_INPUT"_s, [=](QWidget* first) {
            if (!first) return;
            test::OnModal(
                u"TF_INPUT"_s,
                [=](QWidget* second) {
                    if (!second) return;
                    *valueLength = Child<QLineEdit>(*second, u"E_EDIT"_s)->maxLength();
                    Child<QLineEdit>(*second, u"E_EDIT"_s)->setText(value);
                    Click(*second, u"BU_OK"_s);
                },
                [](QWidget* modal) {
                    return Child<QLabel>(*modal, u"LA_LABEL"_s)->text().contains(u"VALOR"_s);
                });
            Child<QLineEdit>(*first, u"E_EDIT"_s)->setText(title);
            Click(*first, u"BU_OK"_s);
        });
    };
    const auto quotations = [&fixture] {
        data::Transaction transaction(fixture.erp().connection());
        data::Statement select(fixture.erp().connection(), transaction,
                               u"SELECT MOEDA, COMPRA, USUARIO FROM VRTNMOE"_s);
        select.open();
        QStringList rows;
        while (select.fetch())
            rows << select.value(0).toString() + u'|' + select.value(1).toString() + u'|' +
                        select.value(2).toString();
        return rows;
    };
    int valueLength = 0;
    answer(u"EURO"_s, u"6,25"_s, &valueLength);
    window.setCurrencyOfDay();
    QCOMPARE(valueLength, 20);
    QCOMPARE(quotations(), QStringList({u"EURO|6,2500|ANA"_s}));
    // A value the prompt lets through but that is no amount is refused.
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    QString refused;
    answer(u"EURO"_s, u"6,25,1"_s, &valueLength);
    test::OnModal(
        u"ERROR_BOX"_s,
        [&refused](QWidget* box) {
            if (auto* error = qobject_cast<QMessageBox*>(box)) {
                refused = error->text();
                error->accept();
            }
        },
        {}, 10000);
    window.setCurrencyOfDay();
    QVERIFY2(refused.contains(u"6,25,1"_s), qPrintable(refused));
    QCOMPARE(quotations(), QStringList({u"EURO|6,2500|ANA"_s}));
    window.close();
}

void TestTF_PFMQM::selectionConfigurationStoresTheColumnType() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    data::Globals().user.level = u"9"_s;
    const reports::ReportMenu menu = reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s);
    reports::TF_PDOCS window(menu);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QLineEdit>(window, u"ED_SELTITULO1"_s)->setText(u"Data a partir de"_s);
    Child<QComboBox>(window, u"ED_SELCAMPO1"_s)->setCurrentText(u"DATA >="_s);
    Click(window, u"BU_SELAVANCA"_s);
    Child<QLineEdit>(window, u"ED_SELTITULO1"_s)->setText(u"Nota"_s);
    Child<QComboBox>(window, u"ED_SELCAMPO1"_s)->setCurrentText(u"NNOTA"_s);
    Click(window, u"BU_APLICAR"_s);
    QVERIFY(!window.isVisible());
    reports::MenuSelectionConfig config;
    QVERIFY(reports::ReadMenuSelection(menu.database, reports::MenuSelectionKey(menu), config));
    QCOMPARE(config.singles[0],
             (reports::SingleSelection{u"Data a partir de"_s, u"DATA >="_s, u"D"_s}));
    QCOMPARE(config.singles[1].type, u"I"_s);

    // Below level 8 the window only shows the configuration.
    data::Globals().user.level = u"5"_s;
    reports::TF_PDOCS readOnly(menu);
    readOnly.show();
    QVERIFY(QTest::qWaitForWindowExposed(&readOnly));
    QCOMPARE(Child<QLineEdit>(readOnly, u"ED_SELTITULO1"_s)->text(), u"Data a partir de"_s);
    QVERIFY(!Child<QPushButton>(readOnly, u"BU_APLICAR"_s)->isEnabled());
    QVERIFY(!Child<QLineEdit>(readOnly, u"ED_SELTITULO1"_s)->isEnabled());
    readOnly.close();

    // From the manager: the box configured shows at once, with its title.
    data::Globals().user.level = u"9"_s;
    data::Globals().user.rights = u"SSSSSSSS"_s;
    reports::TF_PFMQM manager(u"PDS"_s, u"PAR_LFPDS"_s);
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    QVERIFY(Child<QLabel>(manager, u"WWSELLABEL13"_s)->isHidden());
    test::OnModal(u"TF_PDOCS"_s, [](QWidget* configuration) {
        if (!configuration) return;
        Click(*configuration, u"BU_SELAVANCA"_s);
        Click(*configuration, u"BU_SELAVANCA"_s);
        Child<QLineEdit>(*configuration, u"ED_SELTITULO1"_s)->setText(u"Série"_s);
        Child<QComboBox>(*configuration, u"ED_SELCAMPO1"_s)->setCurrentText(u"SERIE"_s);
        Click(*configuration, u"BU_APLICAR"_s);
    });
    manager.configureSelection();
    QVERIFY(!Child<QLabel>(manager, u"WWSELLABEL13"_s)->isHidden());
    QCOMPARE(Child<QLabel>(manager, u"WWSELLABEL13"_s)->text(), u"Série"_s);
    QVERIFY(!Child<QLineEdit>(manager, u"WWSELCAMPO13"_s)->isHidden());
    // The date box "DATA >=" left blank selects nothing.
    QVERIFY(!Child<QLineEdit>(manager, u"WWSELCAMPO11"_s)->inputMask().isEmpty());
    QVERIFY(manager.saveSelection());
    reports::LastSelection saved;
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, saved));
    QCOMPARE(saved.values[0], QString());
    manager.close();
}

void TestTF_PFMQM::dateFieldsOfTheSecondaryTable() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* combo = Child<QComboBox>(window, u"SEL_DTCOMBO"_s);
    const auto items = [combo] {
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names << combo->itemText(i);
        return names;
    };
    // Report 001 reads the sales table alone; 004 joins PDE as "S.".
    QVERIFY2(items().contains(u"DATA"_s), qPrintable(items().join(u',')));
    Child<QTableWidget>(window, u"LISTBOX_MENU"_s)->setCurrentCell(3, 0);
    QVERIFY2(items().contains(u"A.DATA"_s), qPrintable(items().join(u',')));
    QVERIFY2(!items().filter(QRegularExpression(u"^S\\."_s)).isEmpty(),
             qPrintable(items().join(u',')));
    QVERIFY(!items().contains(u"DATA"_s));
    window.close();
}

void TestTF_PFMQM::queryOpensWithItsOwnSettings() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    data::Globals().user.name = u"ANA"_s;
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString table, suffix;
    bool openAtStart = true;
    test::OnModal(u"TF_PESQC"_s, [&](QWidget* query) {
        if (!query) return;
        table = Child<QLineEdit>(*query, u"E_ARQ"_s)->text();
        suffix = Child<QLineEdit>(*query, u"E_CONFIG_AUT"_s)->text();
        openAtStart = Child<QCheckBox>(*query, u"CB_ABRIR"_s)->isChecked();
        qobject_cast<QDialog*>(query)->done(0);
    });
    Click(window, u"BU_PESQUISA"_s);
    QCOMPARE(table, u"VRTNPDS"_s);
    QCOMPARE(suffix, u"FMQ"_s);
    QVERIFY(!openAtStart);
    reports::LastSelection saved; // the selection was saved first
    QVERIFY(reports::ReadLastSelection(&fixture.erp().connection(), u"PAR_LFPDS001V"_s, saved));
    QCOMPARE(saved.user, u"ANA"_s);
    window.close();
}

void TestTF_PFMQM::menuKeys_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QStringList>("designed"); // what the designer opened with
    QTest::addColumn<QString>("shown");        // the modal window shown
    QTest::newRow("Novo") << u"Novo"_s << QKeySequence(Qt::Key_F1)
                          << QStringList{u"PDS"_s, u"PAR_LFPDS"_s, u"003"_s} << QString();
    QTest::newRow("Copiar") << u"Copiar"_s << QKeySequence(Qt::Key_F2)
                            << QStringList{u"PDS"_s, u"PAR_LFPDS"_s, u"003"_s} << QString();
    QTest::newRow("Visão") << u"Visão"_s << QKeySequence(u"Ctrl+P"_s) << QStringList()
                           << u"TF_PRINT"_s;
}

void TestTF_PFMQM::menuKeys() {
    QFETCH(QString, caption);
    QFETCH(QKeySequence, keys);
    QFETCH(QStringList, designed);
    QFETCH(QString, shown);
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    DesignerStub designer;
    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QAction* action = nullptr;
    for (QAction* candidate : window.findChildren<QAction*>())
        if (candidate->text() == caption) action = candidate;
    QVERIFY(action);
    QCOMPARE(action->shortcut(), keys);
    test::DialogLog log;
    QTest::keySequence(&window, keys);
    QCOMPARE(designer.opened.value(0), designed);
    QCOMPARE(log.names().contains(shown), !shown.isEmpty());
    if (caption == u"Copiar"_s) { // 001 copied to 003
        QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003A"_s, 1));
        QCOMPARE(data::ParamLines().line(1), u"Vendas#"_s);
    }
    window.close();
}

void TestTF_PFMQM::oldFormatImportThroughTheWindow() {
    test::ModuleFixture fixture;
    StoreMenu(fixture.erp());
    QTemporaryDir dir;
    data::Globals().user.tempFolder = dir.path() + u'/';
    // Lower-case names: the path is used as chosen, not upper-cased.
    QStringList lines = {u"Antigo#"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"par_lfpds3.fmq"_s), lines));
    lines = {u"c"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"par_lfpds3c.fmq"_s), lines));
    lines = {u"Outro#"_s};
    QVERIFY(WriteLinesFile(dir.filePath(u"par_lfpds4.fmq"_s), lines));

    reports::TF_PFMQM window(u"PDS"_s, u"PAR_LFPDS"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* list = Child<QTableWidget>(window, u"LISTBOX_MENU"_s);
    list->clearSelection();
    list->setRangeSelected(QTableWidgetSelectionRange(2, 0, 3, 3), true);
    QString offered, question, told;
    test::OnModal(u"OPEN_DIALOG"_s, [&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) return;
        offered = files->selectedFiles().value(0);
        // Report 004 exists: the user keeps it.
        test::OnModal(u"QUESTION_BOX"_s, [&](QWidget* box) {
            auto* asked = qobject_cast<QMessageBox*>(box);
            if (!asked) return;
            question = asked->text();
            test::CloseNextModal(&told);
            asked->button(QMessageBox::No)->click();
        });
        const QString path = dir.filePath(u"par_lfpds3.fmq"_s);
        files->selectFile(path);
        if (auto* name = files->findChild<QLineEdit*>(u"fileNameEdit"_s)) name->setText(path);
        QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
    });
    window.importOldFormat();
    QVERIFY2(offered.endsWith(u"/PAR_LFPDS3.FMQ"_s), qPrintable(offered));
    QVERIFY2(question.contains(u"004"_s), qPrintable(question));
    QCOMPARE(told, u"Importação concluída"_s);
    QCOMPARE(Title(window, 3), u"Antigo"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS003C"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"c"_s);
    QCOMPARE(Title(window, 4), u"Notas"_s);
    QVERIFY(data::ParamRead(&fixture.erp().connection(), u"PAR_LFPDS004A"_s, 1));
    QCOMPARE(data::ParamLines().line(1), u"Notas#"_s);
    window.close();
}

// The whole chain on the demo company, through the window registry as the
// main menu opens it: the manager, "Formatar" opening the designer, "Salvar"
// there, and "Visão" running the saved report to the preview.
void TestTF_PFMQM::demoReportDesignedThenPreviewed() {
    QTemporaryDir demoFolder, temp;
    demo::DemoOptions options;
    options.folder = demoFolder.path();
    options.invoices = 60;
    demo::GenerateDemoCompany(options);
    const auto cleanup = qScopeGuard([] {
        data::DataModule().closeAll();
        data::ResetGlobals();
    });
    data::Globals().registry.dirs[1] = QDir(demoFolder.path()).filePath(demo::DemoErpFileName());
    data::Globals().registry.dirs[5] = QDir(demoFolder.path()).filePath(demo::DemoSystemFileName());
    shell::ConnectDatabases({});
    shell::LoadTableLists();
    data::LoadCompanyHeader();
    data::Globals().user.tempFolder = temp.path() + u'/';
    data::Globals().user.name = u"ANA"_s;
    reports::RegisterReportWindows();

    bool designed = false;
    QString lastUser, title;
    QStringList shown;
    test::OnModal(u"TF_PFMQM"_s, [&](QWidget* manager) {
        if (!manager) return;
        Child<QTableWidget>(*manager, u"LISTBOX_MENU"_s)->setCurrentCell(0, 0);
        title = Child<QLabel>(*manager, u"LA_TITULO"_s)->text();
        test::OnModal(u"TF_PFMQF"_s, [&](QWidget* designer) {
            if (!designer) return;
            designed = true;
            Click(*designer, u"BU_SALVAR"_s);
            designer->close();
        });
        Click(*manager, u"BU_FORMATAR"_s);
        lastUser = Child<QLabel>(*manager, u"LA_ULTF_USUARIO"_s)->text();
        test::DialogLog log;
        Click(*manager, u"BU_VISAO"_s);
        shown = log.names();
        manager->close();
    });
    QVERIFY(platform::OpenWindow(u"REPORTS"_s, nullptr, {u"PDS"_s, u"PAR_LFPDS"_s}));
    QVERIFY(!title.isEmpty());
    QVERIFY(designed);
    QCOMPARE(lastUser, u"ANA"_s);
    QCOMPARE(shown, QStringList{u"TF_PRINT"_s});
}

QTEST_MAIN(TestTF_PFMQM)
#include "test_tf_pfmqm.moc"
