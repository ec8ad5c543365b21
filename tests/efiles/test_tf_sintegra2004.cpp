// The SINTEGRA window: opening on the company register, "Montar" going out
// of date and back, the final date following the initial one, the checks of
// "Exportar" with their tabs and fields, a file of records 10, 11 and 90
// when no record box is ticked, a cancelled save that writes nothing, the
// settings kept on closing, the filter links and the main menu's command.
// Nothing here depends on the documents the staging finds.

#include "data/company_header.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "efiles/sintegra_check.h"
#include "efiles/tf_sintegra2004.h"
#include "platform/window_registry.h"
#include "shell/startup.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "tools/selection.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Child(QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
}

QLineEdit* Edit(QWidget& window, const QString& name) {
    return Child<QLineEdit>(window, name);
}

void Leave(QLineEdit* edit) {
    Q_EMIT edit->editingFinished();
}

void WriteCompanyRegister() {
    data::ParamLines().clear();
    data::ParamLines().setLine(1, u"EMPRESA DEMO LTDA#AV. BRASIL#"_s);
    data::ParamLines().setLine(2, u"CANOAS#RS#92000000#CENTRO#"_s);
    data::ParamLines().setLine(3, u"#5130000000#"_s);
    data::ParamLines().setLine(4, u"12345678000195#0961234567#"_s);
    data::ParamWrite(data::ParamDatabase(), u"VRTNCAE"_s, 20);
    data::ParamLines().clear();
}

// The informant data the checks ask for, and a period of March 2004.
void FillInformant(QWidget& window) {
    Edit(window, u"E_CONTATO"_s)->setText(u"MARIA"_s);
    Edit(window, u"E_NUMERO"_s)->setText(u"500"_s);
    Edit(window, u"E_DTINICIAL"_s)->setText(u"01/03/04"_s);
    Edit(window, u"E_DTFINAL"_s)->setText(u"31/03/04"_s);
}

QString CurrentTab(QWidget& window) {
    auto* tabs = Child<QTabWidget>(window, u"PC_SINTEGRA"_s);
    return tabs->tabText(tabs->currentIndex());
}

bool StageEnabled(QWidget& window) {
    return Child<QPushButton>(window, u"BU_MONTAR"_s)->isEnabled();
}

} // namespace

class TestTF_SINTEGRA2004 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { data::ParamLines().clear(); }
    void opensOnTheCompanyRegister();
    void stagingGoesOutOfDate();
    void leavingTheInitialDate_data();
    void leavingTheInitialDate();
    void freightFilterFollowsItsBox();
    void exportChecksInOrder();
    void noRecordBoxTicked();
    void demoMonthPassesTheCheck();
    void cancelledSaveWritesNothing();
    void settingsKeptOnClosing();
    void heldSettingsRecord();
    void filterLinks_data();
    void filterLinks();
    void openedByTheMainMenu();
};

void TestTF_SINTEGRA2004::opensOnTheCompanyRegister() {
    test::ModuleFixture fixture;
    WriteCompanyRegister();
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"F_SINTEGRA - 2004"_s);
    QCOMPARE(CurrentTab(window), u"Geral"_s);
    QCOMPARE(Edit(window, u"E_CNPJ10"_s)->text(), u"12345678000195"_s);
    QCOMPARE(Edit(window, u"E_INSCEST"_s)->text(), u"0961234567"_s);
    QCOMPARE(Edit(window, u"E_NOMECONTRIB"_s)->text(), u"EMPRESA DEMO LTDA"_s);
    QCOMPARE(Edit(window, u"E_LOGRADOURO"_s)->text(), u"AV. BRASIL"_s);
    QCOMPARE(Edit(window, u"E_MUNICIPIO"_s)->text(), u"CANOAS"_s);
    QCOMPARE(Edit(window, u"E_UF"_s)->text(), u"RS"_s);
    QCOMPARE(Edit(window, u"E_CEP"_s)->text(), u"92000000"_s);
    QCOMPARE(Edit(window, u"E_BAIRRO"_s)->text(), u"CENTRO"_s);
    QCOMPARE(Edit(window, u"E_TELEFONE"_s)->text(), u"5130000000"_s);
    QCOMPARE(Edit(window, u"E_ARQSAIDA"_s)->text(), u"C:\\GIA_.TXT"_s);
    QVERIFY(Edit(window, u"E_ARQSAIDA"_s)->isReadOnly());
    QCOMPARE(Edit(window, u"E_SERIE_50"_s)->text(), u"00"_s);
    QCOMPARE(Child<QComboBox>(window, u"E_CONVENIO"_s)->currentText(), u"3 - Convênio 76/03"_s);
    QCOMPARE(Child<QComboBox>(window, u"E_ARQMAG"_s)->currentText(), u"1 - Normal"_s);
    QCOMPARE(Child<QComboBox>(window, u"E_TFRETE"_s)->currentText(), u"2"_s);
    // No saved settings: no record box ticked; 60 and 88 never offered.
    for (const QString& type :
         {u"50"_s, u"51"_s, u"53"_s, u"54"_s, u"55"_s, u"61"_s, u"70"_s, u"71"_s, u"75"_s}) {
        QVERIFY(!Child<QCheckBox>(window, u"CB_"_s + type)->isChecked());
        QCOMPARE(Child<QLabel>(window, u"LA_TOT"_s + type)->text(), u"0"_s);
    }
    QVERIFY(!Child<QCheckBox>(window, u"CB_60"_s)->isEnabled());
    QVERIFY(!Child<QCheckBox>(window, u"CB_88"_s)->isEnabled());
    for (const QString& name : {u"CB_MONTAR_AEREO"_s, u"CB_MONTAR_TERRESTRE"_s, u"CB_MONTAR_AWB"_s})
        QVERIFY(Child<QCheckBox>(window, name)->isChecked());
    const QList<std::pair<QString, int>> lengths{
        {u"E_CNPJ10"_s, 20},     {u"E_NOMECONTRIB"_s, 35}, {u"E_UF"_s, 2},
        {u"E_LOGRADOURO"_s, 34}, {u"E_NUMERO"_s, 5},       {u"E_CONTATO"_s, 28},
        {u"E_TELEFONE"_s, 12},   {u"E_55_12"_s, 6},        {u"E_SERIE_61"_s, 3}};
    for (const auto& [name, length] : lengths)
        QCOMPARE(Edit(window, name)->maxLength(), length);
    // The grids are for inspection only.
    auto* grid = Child<QTableView>(window, u"GRID_50"_s);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), u"50"_s);
    QCOMPARE(grid->model()->headerData(11, Qt::Horizontal).toString(), u"Val.Total"_s);

    // Enter goes on to the next control.
    Child<QTabWidget>(window, u"PC_SINTEGRA"_s)->setCurrentIndex(1);
    QLineEdit* cnpj = Edit(window, u"E_CNPJ10"_s);
    cnpj->setFocus();
    QTest::keyClick(cnpj, Qt::Key_Return);
    QCOMPARE(window.focusWidget(), Edit(window, u"E_INSCEST"_s));
    window.close();
}

void TestTF_SINTEGRA2004::stagingGoesOutOfDate() {
    test::ModuleFixture fixture;
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(StageEnabled(window));
    // A period is needed first.
    QString seen;
    test::CloseNextModal(&seen);
    Child<QPushButton>(window, u"BU_MONTAR"_s)->click();
    QCOMPARE(seen, u"A Data Inicial e Final devem estar Preenchidas"_s);
    QCOMPARE(CurrentTab(window), u"T-10"_s);
    QVERIFY(StageEnabled(window));

    FillInformant(window);
    Child<QPushButton>(window, u"BU_MONTAR"_s)->click();
    QVERIFY(!StageEnabled(window));

    const QList<std::pair<QString, std::function<void()>>> changes{
        {u"a record box ticked"_s, [&] { Child<QCheckBox>(window, u"CB_51"_s)->setChecked(true); }},
        {u"a record box unticked"_s,
         [&] { Child<QCheckBox>(window, u"CB_51"_s)->setChecked(false); }},
        {u"the initial date"_s, [&] { Edit(window, u"E_DTINICIAL"_s)->setText(u"02/03/04"_s); }},
        {u"the GNRE due date"_s, [&] { Edit(window, u"E_55_11"_s)->setText(u"10/04/04"_s); }},
        {u"the record-61 filter"_s, [&] { Edit(window, u"S_FILTRO_61"_s)->setText(u"1=1"_s); }},
        {u"the record-61 model"_s,
         [&] { Child<QComboBox>(window, u"CB_MODELO_61"_s)->setCurrentIndex(18); }},
        {u"the record-61 series"_s, [&] { Edit(window, u"E_SERIE_61"_s)->setText(u"D"_s); }},
        {u"the record-61 sub-series"_s, [&] { Edit(window, u"E_SUBSERIE_61"_s)->setText(u"1"_s); }},
    };
    for (const auto& [what, change] : changes) {
        change();
        QVERIFY2(StageEnabled(window), qPrintable(what));
        Child<QPushButton>(window, u"BU_MONTAR"_s)->click();
        QVERIFY2(!StageEnabled(window), qPrintable(what));
    }
    // Choosing a model copies its code.
    QCOMPARE(Edit(window, u"E_MODELO_61"_s)->text(), u"02"_s);
    // What the staging does not read leaves it up to date.
    Edit(window, u"E_CONTATO"_s)->setText(u"JOAO"_s);
    Child<QCheckBox>(window, u"CB_ZERAICM"_s)->setChecked(true);
    Edit(window, u"E_DTFINAL"_s)->setText(u"30/03/04"_s);
    QVERIFY(!StageEnabled(window));
    window.close();
}

void TestTF_SINTEGRA2004::leavingTheInitialDate_data() {
    QTest::addColumn<QString>("left"); // the field left after the change
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finalDate");
    QTest::newRow("leap February") << u"E_DTINICIAL"_s << u"15/02/24"_s << u"29/02/24"_s;
    QTest::newRow("January") << u"E_DTINICIAL"_s << u"01/01/26"_s << u"31/01/26"_s;
    QTest::newRow("not a date") << u"E_DTINICIAL"_s << u"31/02/26"_s << u"10/10/10"_s;
    // The GNRE due date, left after a change, sets the final date from the
    // initial date's month.
    QTest::newRow("GNRE due date") << u"E_55_11"_s << u"05/07/26"_s << u"30/04/26"_s;
}

void TestTF_SINTEGRA2004::leavingTheInitialDate() {
    QFETCH(QString, left);
    QFETCH(QString, typed);
    QFETCH(QString, finalDate);
    test::ModuleFixture fixture;
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLineEdit* start = Edit(window, u"E_DTINICIAL"_s);
    QLineEdit* end = Edit(window, u"E_DTFINAL"_s);
    start->setText(u"10/04/26"_s);
    Leave(start);
    QCOMPARE(end->displayText(), u"30/04/26"_s);
    end->setText(u"10/10/10"_s);
    // Left again without a change: the final date stays.
    Leave(start);
    QCOMPARE(end->displayText(), u"10/10/10"_s);
    if (left == u"E_DTINICIAL"_s) {
        start->setText(typed);
        Leave(start);
    } else {
        Edit(window, left)->setText(typed);
        Leave(Edit(window, left));
    }
    QCOMPARE(end->displayText(), finalDate);
    window.close();
}

void TestTF_SINTEGRA2004::freightFilterFollowsItsBox() {
    test::ModuleFixture fixture;
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* box = Child<QCheckBox>(window, u"CB_70_PDE"_s);
    QLineEdit* filter = Edit(window, u"E_FILTRO_PDE"_s);
    QVERIFY(!filter->isEnabled());
    QVERIFY(!Child<QLabel>(window, u"LA_FILTROPDE"_s)->isEnabled());
    box->setChecked(true);
    QVERIFY(filter->isEnabled());
    QVERIFY(Child<QLabel>(window, u"Label43"_s)->isEnabled());
    box->setChecked(false);
    QVERIFY(!filter->isEnabled());
    window.close();
}

// Each check in turn, as the fields it asks for are filled: its message,
// its tab in front, the focus on its field; nothing is asked to be saved.
void TestTF_SINTEGRA2004::exportChecksInOrder() {
    test::ModuleFixture fixture;
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    for (const QString& name : {u"E_CONTATO"_s, u"E_TELEFONE"_s, u"E_CNPJ10"_s, u"E_INSCEST"_s,
                                u"E_NUMERO"_s, u"E_COMPLEMENTO"_s})
        Edit(window, name)->clear();
    struct Step {
        QString message, tab, field;
        std::function<void()> fill; // what the next step has
    };
    const QList<Step> steps{
        {u"Obrigatório informar o Nome da Pessoa de Contato"_s, u"T-11"_s, u"E_CONTATO"_s,
         [&] { Edit(window, u"E_CONTATO"_s)->setText(u"MARIA"_s); }},
        {u"Obrigatório informar o Telefone para Contato"_s, u"T-11"_s, u"E_TELEFONE"_s,
         [&] { Edit(window, u"E_TELEFONE"_s)->setText(u"5133334444"_s); }},
        {u"Obrigatório informar o CNPJ"_s, u"T-10"_s, u"E_CNPJ10"_s,
         [&] { Edit(window, u"E_CNPJ10"_s)->setText(u"12345678000195"_s); }},
        {u"Obrigatório informar a Inscriçào Estadual"_s, u"T-10"_s, u"E_INSCEST"_s,
         [&] { Edit(window, u"E_INSCEST"_s)->setText(u"0961234567"_s); }},
        {u"Obrigatório informar o Número ou Complemento"_s, u"T-11"_s, u"E_NUMERO"_s,
         [&] { Edit(window, u"E_COMPLEMENTO"_s)->setText(u"SALA 2"_s); }},
        {u"Deve ser informada a Data Inicial e a Final"_s, u"T-10"_s, u"E_DTINICIAL"_s,
         [&] { Edit(window, u"E_DTINICIAL"_s)->setText(u"01/03/04"_s); }},
        // The final date still blank.
        {u"Deve ser informada a Data Inicial e a Final"_s, u"T-10"_s, u"E_DTINICIAL"_s, [] {}},
    };
    for (const Step& step : steps) {
        Child<QTabWidget>(window, u"PC_SINTEGRA"_s)->setCurrentIndex(0);
        QString seen;
        test::CloseNextModal(&seen);
        Child<QPushButton>(window, u"BU_EXPORTAR"_s)->click();
        QCOMPARE(seen, step.message);
        QCOMPARE(CurrentTab(window), step.tab);
        QCOMPARE(window.focusWidget()->objectName(), step.field);
        QVERIFY(window.exportedLines().isEmpty());
        step.fill();
    }
    window.close();
}

// No record box ticked: the file holds records 10, 11 and 90 (total 3),
// saved under the name chosen in the save dialog.
void TestTF_SINTEGRA2004::noRecordBoxTicked() {
    test::ModuleFixture fixture;
    WriteCompanyRegister();
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FillInformant(window);
    const QString chosen = dir.filePath(u"SINTEGRA_MARCO"_s);
    QString proposed, offered, done;
    test::OnModal(u"SAVE_FILE"_s, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        proposed = Edit(window, u"E_ARQSAIDA"_s)->text();
        offered = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        test::CloseNextModal(&done);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    // Out of date grids are staged before the export.
    QVERIFY(StageEnabled(window));
    Child<QPushButton>(window, u"BU_EXPORTAR"_s)->click();
    QVERIFY(!StageEnabled(window));
    // The stored "C:\\GIA_.TXT" names no folder here: the name is proposed in
    // the current folder, as the command line writes it.
    QCOMPARE(proposed, QDir(dir.path()).filePath(u"GIA_0304"_s));
    QCOMPARE(offered, QDir(dir.path()).filePath(u"GIA_0304.TXT"_s));
    QCOMPARE(done, u"Exportação Concluida"_s);
    // The dialog's default extension.
    const QString saved = chosen + u".TXT"_s;
    QCOMPARE(Edit(window, u"E_ARQSAIDA"_s)->text(), saved);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 4); // three lines ended by CR LF
    QVERIFY(lines[3].isEmpty());
    for (int n = 0; n < 3; ++n) {
        QCOMPARE(lines[n].size(), 127);
        QVERIFY(lines[n].endsWith('\r'));
    }
    QCOMPARE(lines[0].left(2), QByteArray("10"));
    QCOMPARE(lines[0].mid(107, 16), QByteArray("2004030120040331"));
    QCOMPARE(lines[1].left(2), QByteArray("11"));
    QCOMPARE(lines[1].mid(86, 5), QByteArray("MARIA"));
    QCOMPARE(lines[2].left(2), QByteArray("90"));
    QCOMPARE(lines[2].mid(30, 10), QByteArray("9900000003"));
    QCOMPARE(Child<QLabel>(window, u"LA_TOT50"_s)->text(), u"0"_s);

    // "Editar" shows the file.
    QString shown;
    bool fixedPitch = false, dosText = false;
    test::OnModal(u"TF_EDIT"_s, [&](QWidget* editor) {
        if (!editor) return;
        shown = Child<QTextEdit>(*editor, u"MEMO1"_s)->toPlainText();
        fixedPitch = Child<QCheckBox>(*editor, u"CB_FONTE"_s)->isChecked();
        dosText = Child<QCheckBox>(*editor, u"CB_PLANO"_s)->isChecked();
        editor->close();
    });
    Child<QPushButton>(window, u"BU_EDIT"_s)->click();
    QCOMPARE(shown.split(u'\n').size(), 3);
    QVERIFY(fixedPitch);
    QVERIFY(dosText);
    // "Imprimir Tela" in a mode that asks for the printer; cancelled,
    // nothing is printed.
    data::Globals().user.flags = u"    0"_s;
    QString printer;
    test::CloseNextModal(&printer);
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == u"Imprimir Tela"_s) action->trigger();
    QCOMPARE(printer, u"PRINT_SCREEN"_s);
    QVERIFY(shown.startsWith(QString::fromLatin1(lines[0].chopped(1))));
    window.close();
}

// A month of the demo company with every record the window stages, exported
// from the window: "livrax sintegra check" finds nothing in the file.
void TestTF_SINTEGRA2004::demoMonthPassesTheCheck() {
    QTemporaryDir dir;
    demo::DemoOptions options;
    options.folder = dir.path();
    options.invoices = 300;
    demo::GenerateDemoCompany(options);
    data::Globals().registry.dirs[1] = dir.filePath(demo::DemoErpFileName());
    data::Globals().registry.dirs[5] = dir.filePath(demo::DemoSystemFileName());
    shell::ConnectDatabases({});
    shell::LoadTableLists();
    data::LoadCompanyHeader();
    {
        efiles::TF_SINTEGRA2004 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Edit(window, u"E_CONTATO"_s)->setText(u"MARIA"_s);
        Edit(window, u"E_NUMERO"_s)->setText(u"500"_s);
        Edit(window, u"E_DTINICIAL"_s)->setText(u"01/03/26"_s);
        Edit(window, u"E_DTFINAL"_s)->setText(u"31/03/26"_s);
        for (const QString& type :
             {u"50"_s, u"51"_s, u"53"_s, u"54"_s, u"61"_s, u"70"_s, u"71"_s, u"75"_s})
            Child<QCheckBox>(window, u"CB_"_s + type)->setChecked(true);
        const QString chosen = dir.filePath(u"MARCO.TXT"_s);
        QString done;
        test::OnModal(u"SAVE_FILE"_s, [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return;
            dialog->selectFile(chosen);
            test::CloseNextModal(&done);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        Child<QPushButton>(window, u"BU_EXPORTAR"_s)->click();
        QCOMPARE(done, u"Exportação Concluida"_s);
        QVERIFY(Child<QLabel>(window, u"LA_TOT54"_s)->text().toInt() > 0);
        window.close();
    }
    QFile file(dir.filePath(u"MARCO.TXT"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (const char* type : {"50", "53", "54", "61", "70", "75"})
        QVERIFY2(bytes.startsWith(type) || bytes.contains(QByteArray("\n") + type), type);
    const std::vector<efiles::CheckFinding> findings = efiles::CheckSintegraFile(bytes);
    QStringList found;
    for (const efiles::CheckFinding& finding : findings)
        if (finding.severity == efiles::CheckSeverity::Finding)
            found << efiles::FindingText(finding);
    QVERIFY2(!efiles::HasFindings(findings), qPrintable(found.join(u'\n')));
    data::DataModule().closeAll();
    data::ResetGlobals();
}

void TestTF_SINTEGRA2004::cancelledSaveWritesNothing() {
    test::ModuleFixture fixture;
    WriteCompanyRegister();
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FillInformant(window);
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    bool asked = false;
    test::OnModal(u"SAVE_FILE"_s, [&](QWidget* modal) {
        asked = modal != nullptr;
        if (modal) static_cast<QDialog*>(modal)->reject();
    });
    Child<QPushButton>(window, u"BU_EXPORTAR"_s)->click();
    QVERIFY(asked);
    QVERIFY(log.names().contains(u"SAVE_FILE"_s));
    for (const test::DialogLog::Shown& shown : log.shown())
        QVERIFY2(!shown.text.contains(u"Exportação"_s), qPrintable(shown.text));
    QCOMPARE(Edit(window, u"E_ARQSAIDA"_s)->text(), QDir(dir.path()).filePath(u"GIA_0304"_s));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    QCOMPARE(window.exportedLines().size(), 3);
    window.close();
}

void TestTF_SINTEGRA2004::settingsKeptOnClosing() {
    test::ModuleFixture fixture;
    WriteCompanyRegister();
    {
        efiles::TF_SINTEGRA2004 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        FillInformant(window);
        Child<QCheckBox>(window, u"CB_53"_s)->setChecked(true);
        Child<QCheckBox>(window, u"CB_70_PDE"_s)->setChecked(true);
        Child<QCheckBox>(window, u"CB_MONTAR_AWB"_s)->setChecked(false);
        Edit(window, u"E_SERIE_50"_s)->setText(u"1"_s);
        // Esc closes nothing.
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        // F12 leaves.
        QAction* leave = nullptr;
        for (QAction* action : window.findChildren<QAction*>())
            if (action->shortcut() == QKeySequence(Qt::Key_F12)) leave = action;
        QVERIFY(leave);
        leave->trigger();
        QVERIFY(!window.isVisible());
    }
    data::ParamRead(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, 20);
    QCOMPARE(data::ParamLines().line(5).mid(52, 1), u"S"_s);
    QCOMPARE(data::ParamLines().line(5).mid(49, 1), u"N"_s);
    QVERIFY(data::ParamLines().line(11).contains(u"#MARIA#"_s));

    efiles::TF_SINTEGRA2004 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(Edit(again, u"E_CONTATO"_s)->text(), u"MARIA"_s);
    QCOMPARE(Edit(again, u"E_DTINICIAL"_s)->displayText(), u"01/03/04"_s);
    QVERIFY(Child<QCheckBox>(again, u"CB_53"_s)->isChecked());
    QVERIFY(!Child<QCheckBox>(again, u"CB_50"_s)->isChecked());
    QVERIFY(!Child<QCheckBox>(again, u"CB_MONTAR_AWB"_s)->isChecked());
    QCOMPARE(Edit(again, u"E_SERIE_50"_s)->text(), u"1"_s);
    // A ticked CB_70_PDE starts with the freight natures.
    QCOMPARE(Edit(again, u"E_FILTRO_PDE"_s)->text(), u"NATOPER=1352 OR NATOPER=2352"_s);
    QVERIFY(Edit(again, u"E_FILTRO_PDE"_s)->isEnabled());
    again.close();
}

// Settings that cannot be written (another station holds the record): the
// user is told and the window stays open; closing again leaves without them.
void TestTF_SINTEGRA2004::heldSettingsRecord() {
    test::ModuleFixture fixture;
    data::ParamLines().setLine(2, u"VRTNPDE.NNOTA > 0"_s);
    QVERIFY(data::ParamWrite(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, 20));
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Edit(window, u"E_CONTATO"_s)->setText(u"MARIA"_s);

    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(fixture.erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET CAMPO = 'OUTRA ESTACAO' WHERE CHAVE = 'PAR_SINTEGRA'"_s);
    QString seen;
    test::CloseNextModal(&seen);
    window.close();
    QVERIFY2(seen.contains(u"feche-a de novo para sair sem gravar"_s), qPrintable(seen));
    QVERIFY(window.isVisible());
    window.close();
    QVERIFY(!window.isVisible());
    data::SetLockTimeoutSeconds(timeout);
    holding.commit();
    data::ParamRead(data::DatabaseFor(u"EMP"_s), u"PAR_SINTEGRA"_s, 20);
    QVERIFY(!data::ParamLines().line(11).contains(u"MARIA"_s));
    QCOMPARE(data::ParamLines().line(2), u"VRTNPDE.NNOTA > 0"_s);
}

void TestTF_SINTEGRA2004::filterLinks_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("result"); // of "A#B " when the dialog is cancelled
    QTest::newRow("entries") << u"LA_FILTRO_3"_s << u"E_FILTROS"_s << u"SQL"_s << u"PDE"_s
                             << u"VRTNPDE."_s << u"A B "_s;
    QTest::newRow("exits") << u"LA_FILTRO_S"_s << u"S_FILTROS"_s << u"SQL"_s << u"PDS"_s
                           << u"VRTNPDS."_s << u"A B "_s;
    QTest::newRow("exits 61") << u"Label44"_s << u"S_FILTRO_61"_s << u"SQL"_s << u"PDS"_s
                              << u"VRTNPDS."_s << u"A B "_s;
    QTest::newRow("air") << u"Label79"_s << u"E_FILTRO_AEREO"_s << u"EXE"_s << u"FCA"_s << QString()
                         << u"A B "_s;
    QTest::newRow("road") << u"Label80"_s << u"E_FILTRO_TERRESTRE"_s << u"EXE"_s << u"FCT"_s
                          << QString() << u"A B "_s;
    QTest::newRow("PDE freight, trimmed")
        << u"Label43"_s << u"E_FILTRO_PDE"_s << u"EXE"_s << u"PDE"_s << QString() << u"A B"_s;
}

void TestTF_SINTEGRA2004::filterLinks() {
    QFETCH(QString, link);
    QFETCH(QString, field);
    QFETCH(QString, mode);
    QFETCH(QString, table);
    QFETCH(QString, prefix);
    QFETCH(QString, result);
    test::ModuleFixture fixture;
    efiles::TF_SINTEGRA2004 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Child<QCheckBox>(window, u"CB_70_PDE"_s)->setChecked(true);
    Edit(window, field)->setText(u"A#B "_s);
    QString seenPrefix, seenMode, seenTable, seenResult;
    bool opened = false;
    test::OnModal(u"TF_SELF"_s, [&](QWidget* dialog) {
        opened = dialog != nullptr;
        if (!dialog) return;
        seenPrefix = Child<QLineEdit>(*dialog, u"P_PREFIXO"_s)->text();
        seenMode = tools::Selection().selMode;
        seenTable = tools::Selection().selSource;
        seenResult = tools::Selection().selResult;
        static_cast<QDialog*>(dialog)->reject();
    });
    QTest::mouseClick(Child<QLabel>(window, link), Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(seenPrefix, prefix);
    QCOMPARE(seenMode, mode);
    QCOMPARE(seenTable, table);
    QCOMPARE(seenResult, u"A#B "_s);
    QCOMPARE(Edit(window, field)->text(), result);
    window.close();
}

void TestTF_SINTEGRA2004::openedByTheMainMenu() {
    test::ModuleFixture fixture;
    efiles::RegisterSintegraWindows();
    QString seen;
    test::CloseNextModal(&seen);
    QVERIFY(platform::OpenWindow(u"SINTEGRA2004"_s, nullptr, {}));
    QCOMPARE(seen, u"TF_SINTEGRA2004"_s);
    platform::UnregisterWindow(u"SINTEGRA2004"_s);
}

QTEST_MAIN(TestTF_SINTEGRA2004)
#include "test_tf_sintegra2004.moc"
