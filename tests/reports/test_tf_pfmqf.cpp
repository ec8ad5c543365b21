// The report designer's window on a real database: a change made in a
// control lands on the line and field the definition keeps it in, marks the
// window changed and survives "Salvar"; fields behind gaps survive a save;
// field 180 is never overwritten by a new or duplicated field; removing a
// field empties the last one; closing with changes asks, also after a change
// made without a key (paste, insert, undo) though not after the window
// filled its controls itself; a refused import
// keeps the definition; "Help" opens the help window on "PFMQF"; the font
// and printer set-up dialogs' choices land in their fields; the column list
// starts from the field's content; the page keys move through the fields;
// the print level is open to levels 8 and 9 only; the order and filter
// dialogs get the table and text they should and their result comes back.

#include "common/fields.h"
#include "common/line_files.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/window_registry.h"
#include "reports/key_lines.h"
#include "reports/report_menu.h"
#include "reports/report_windows.h"
#include "reports/tf_pfmqf.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::reports;
using namespace Qt::StringLiterals;

namespace {

// The stored definition the tests start from: a title, two fields (the
// first with a field 25 the editor does not show), and a field 10 behind a
// gap of seven empty lines.
QStringList FixtureLines() {
    QStringList lines(190);
    lines[0] = u"Vendas por cliente#Arial#8##"_s;
    lines[10] = u"Cliente#A.CLIENTE#1#1#6#20#"_s + QString(18, u'#') + u"K25#"_s;
    lines[11] = u"Valor#A.VALOR#1#1#130#12#"_s;
    lines[19] = u"Depois#A.DEPOIS#1#1#300#8#"_s;
    return lines;
}

ReportMenu Menu() {
    return MenuForTable(u"PDS"_s);
}

QString Key() {
    return DefinitionKey(Menu(), 1);
}

QStringList StoredLines() {
    QStringList lines;
    ReadKeyLines(Menu().database, Key(), lines);
    return lines;
}

void Store(const QStringList& lines, const QString& title = u"Vendas por cliente"_s) {
    QVERIFY(WriteKeyLines(Menu().database, Key(), lines, title));
}

template <typename T> T* Child(const QWidget& window, const QString& name) {
    auto* child = window.findChild<T*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

void Click(const QWidget& window, const QString& name) {
    Child<QAbstractButton>(window, name)->click();
}

// Answers the next OK/Cancel question.
void Answer(QMessageBox::StandardButton button, QString* text = nullptr) {
    test::OnModal(u"QUESTION_BOX"_s, [button, text](QWidget* box) {
        auto* question = qobject_cast<QMessageBox*>(box);
        if (!question) return;
        if (text) *text = question->text();
        question->button(button)->click();
    });
}

// Types a text into a line edit or an editable combo, replacing its text,
// as the user does (key presses).
void Type(QWidget* control, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(control)) edit = combo->lineEdit();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestTF_PFMQF : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void loadingShowsValuesAndDefaults_data();
    void loadingShowsValuesAndDefaults();
    void changesLandWhereTheDefinitionKeepsThem_data();
    void changesLandWhereTheDefinitionKeepsThem();
    void openedThroughTheRegistry();
    void field180IsNeverOverwritten_data();
    void field180IsNeverOverwritten();
    void deleteEmptiesTheLastLine();
    void saveWritesOverWhatItRead_data();
    void saveWritesOverWhatItRead();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void editsWithoutAKeyMarkTheWindow_data();
    void editsWithoutAKeyMarkTheWindow();
    void fillingTheControlsMarksNothing();
    void refusedImportKeepsTheDefinition();
    void helpOpensTheHelpWindow();
    void fontsLandInTheirFields_data();
    void fontsLandInTheirFields();
    void tableFieldListStartsFromTheContent();
    void printerSetupLandsInLine4();
    void pageKeysMoveOnTheFieldPageOnly();
    void printLevelOnlyForLevels8And9_data();
    void printLevelOnlyForLevels8And9();
    void orderAndFilterDialogs_data();
    void orderAndFilterDialogs();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestTF_PFMQF::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    data::Globals().user.name = u"ANA"_s;
    data::Globals().user.level.clear();
    Store(FixtureLines());
}

void TestTF_PFMQF::cleanup() {
    m_fixture.reset();
}

void TestTF_PFMQF::loadingShowsValuesAndDefaults_data() {
    QTest::addColumn<QString>("flags"); // line 1 field 8
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown"); // a text, or "checked"/"unchecked"

    const QString blank;
    const QString set = u"1111111RNNNSSSSSSS4SS"_s;
    const QString cleared = u"0000000ASSSNNNNNNN NN"_s;
    QTest::newRow("print header blank: checked") << blank << u"CB_IMPCAB"_s << u"checked"_s;
    QTest::newRow("print header N") << set << u"CB_IMPCAB"_s << u"unchecked"_s;
    QTest::newRow("subtotal border blank: checked") << blank << u"CB_BORDASUB"_s << u"checked"_s;
    QTest::newRow("subtotal border 0") << cleared << u"CB_BORDASUB"_s << u"unchecked"_s;
    QTest::newRow("wrap blank: unchecked") << blank << u"CB_WRAP"_s << u"unchecked"_s;
    QTest::newRow("wrap S") << set << u"CB_WRAP"_s << u"checked"_s;
    QTest::newRow("shaded titles 1") << set << u"CB_FUNTITCAMPO"_s << u"checked"_s;
    QTest::newRow("R is summarised") << set << u"GRU_SA_2"_s << u"checked"_s;
    QTest::newRow("blank is analytic") << blank << u"GRU_SA_1"_s << u"checked"_s;
    QTest::newRow("column factor 3 when blank") << cleared << u"E_COLFATOR"_s << u"3"_s;
    QTest::newRow("column factor") << set << u"E_COLFATOR"_s << u"4"_s;
    QTest::newRow("margins 10 when blank") << blank << u"ED_MARESQ"_s << u"10"_s;
    QTest::newRow("company line default") << blank << u"E_CABL2"_s << u"CAE_EMPRESA"_s;
    QTest::newRow("line spacing 12 when blank") << blank << u"E_TAMLINHA"_s << u"  12"_s;
    QTest::newRow("field line to width 4") << blank << u"DED_LINHA"_s << u"   1"_s;
    QTest::newRow("field print flags default") << blank << u"CB_LINHA"_s << u"checked"_s;
}

void TestTF_PFMQF::loadingShowsValuesAndDefaults() {
    QFETCH(QString, flags);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    QStringList lines = FixtureLines();
    lines[0] = u"Vendas por cliente#Arial#8#####"_s + flags + u'#';
    Store(lines);

    TF_PFMQF window(Menu(), 1);
    QWidget* widget = Child<QWidget>(window, control);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->isChecked() ? u"checked"_s : u"unchecked"_s, shown);
    else
        QCOMPARE(Child<QLineEdit>(window, control)->text(), shown);
    QVERIFY(!window.modified());
}

void TestTF_PFMQF::changesLandWhereTheDefinitionKeepsThem_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action"); // "type", "click" or "choose" (a combo's item)
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("field");    // 0: the whole line
    QTest::addColumn<int>("position"); // 0: the whole field, else one flag position
    QTest::addColumn<QString>("stored");

    QTest::newRow("title loses its #")
        << u"ED_RELTIT"_s << u"type"_s << u"Vendas #2"_s << 1 << 1 << 0 << u"Vendas 2"_s;
    QTest::newRow("empty line spacing stored as 12")
        << u"E_TAMLINHA"_s << u"type"_s << QString() << 1 << 7 << 0 << u"12"_s;
    QTest::newRow("SQL filter") << u"ED_FILTROSQL"_s << u"type"_s << u"VALOR > 0"_s << 1 << 30 << 0
                                << u"VALOR > 0"_s;
    QTest::newRow("order upper case")
        << u"ED_ORDEM"_s << u"type"_s << u"a.data"_s << 6 << 0 << 0 << u"A.DATA"_s;
    QTest::newRow("header line 3")
        << u"E_CABL3"_s << u"type"_s << u"Rua A"_s << 1 << 20 << 0 << u"Rua A"_s;
    QTest::newRow("column factor")
        << u"E_COLFATOR"_s << u"type"_s << u"5"_s << 1 << 8 << 19 << u"5"_s;
    QTest::newRow("wrap") << u"CB_WRAP"_s << u"click"_s << QString() << 1 << 8 << 17 << u"S"_s;
    QTest::newRow("print header, checked when blank")
        << u"CB_IMPCAB"_s << u"click"_s << QString() << 1 << 8 << 9 << u"N"_s;
    QTest::newRow("subtotal border, checked when blank")
        << u"CB_BORDASUB"_s << u"click"_s << QString() << 1 << 8 << 7 << u"0"_s;
    QTest::newRow("synthetic") << u"GRU_SA_0"_s << u"click"_s << QString() << 1 << 8 << 8 << u"S"_s;
    QTest::newRow("legal paper form")
        << u"RG_FORM_2"_s << u"click"_s << QString() << 1 << 29 << 0 << u"2"_s;
    QTest::newRow("legal paper length")
        << u"RG_FORM_2"_s << u"click"_s << QString() << 1 << 23 << 0 << u"  356,0"_s;
    QTest::newRow("landscape") << u"GRU_ORIENTACAO_1"_s << u"click"_s << QString() << 4 << 3 << 0
                               << u"H"_s;
    QTest::newRow("group border right")
        << u"CB_AGRUPAR_DIREITA"_s << u"click"_s << QString() << 8 << 5 << 3 << u"1"_s;
    QTest::newRow("join kind") << u"RG_JOIN_2"_s << u"click"_s << QString() << 10 << 6 << 0
                               << u"2"_s;
    QTest::newRow("join on branch")
        << u"CB_FILIAL_SEC"_s << u"click"_s << QString() << 10 << 7 << 0 << u"S"_s;
    QTest::newRow("field picture # as &")
        << u"DED_PICTURE"_s << u"type"_s << u"#0.00"_s << 11 << 15 << 0 << u"&0.00"_s;
    QTest::newRow("field total") << u"CB_TOTAL"_s << u"click"_s << QString() << 11 << 19 << 4
                                 << u"1"_s;
    QTest::newRow("field location title")
        << u"RG_LOCALIZ_2"_s << u"click"_s << QString() << 11 << 19 << 7 << u"2"_s;
    QTest::newRow("field type text")
        << u"DRG_TIPO_2"_s << u"click"_s << QString() << 11 << 3 << 0 << u"2"_s;
    QTest::newRow("field alignment right")
        << u"CB_ALINHAR"_s << u"choose"_s << u"1"_s << 11 << 20 << 0 << u"1"_s;
    QTest::newRow("organiser moves field 1 down")
        << u"BU_ORG_DESCE"_s << u"click"_s << QString() << 11 << 1 << 0 << u"Valor"_s;
    QTest::newRow("a moved field takes its field 25 along")
        << u"BU_ORG_DESCE"_s << u"click"_s << QString() << 12 << 25 << 0 << u"K25"_s;
    QTest::newRow("recalculated column of field 2")
        << u"BU_RECALCULAR"_s << u"click"_s << QString() << 12 << 5 << 0 << u" 129"_s;
    QTest::newRow("footer with date, time and user")
        << u"BU_DT_HR_USUARIO"_s << u"click"_s << QString() << 1 << 32 << 0
        << u"Data: [DATE] - Hora: [TIME] - Usuário: [GB_SEN_USER]"_s;
    QTest::newRow("field keeps in GBFUN3")
        << u"CB_GUARDAR"_s << u"choose"_s << u"3"_s << 11 << 8 << 2 << u"3"_s;
}

void TestTF_PFMQF::changesLandWhereTheDefinitionKeepsThem() {
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QString, value);
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(int, position);
    QFETCH(QString, stored);

    TF_PFMQF window(Menu(), 1);
    window.show();
    QVERIFY(!window.modified());
    QWidget* widget = Child<QWidget>(window, control);
    if (action == u"type"_s) {
        Type(widget, value);
    } else if (action == u"click"_s) {
        // On the indicator: a button may be wider than its caption.
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
    } else {
        auto* combo = qobject_cast<QComboBox*>(widget);
        QVERIFY(combo);
        combo->setCurrentIndex(value.toInt());
        emit combo->activated(value.toInt());
    }
    QVERIFY2(window.modified(), "the change did not mark the window changed");
    Click(window, u"BU_SALVAR"_s);
    QVERIFY(!window.isVisible());

    const QStringList lines = StoredLines();
    QString got =
        field == 0 ? lines.value(line - 1) : SplitToList(lines.value(line - 1)).value(field - 1);
    if (position > 0) got = got.mid(position - 1, 1);
    QCOMPARE(got, stored);
    // The rest stays: the field behind the gap, the user who saved.
    QVERIFY(lines.value(19).startsWith(u"Depois#A.DEPOIS#1#"_s));
    QCOMPARE(SplitToList(lines.value(0)).value(32), u"ANA"_s);
}

void TestTF_PFMQF::openedThroughTheRegistry() {
    RegisterReportWindows();
    QString title, line, lineNumber;
    test::OnModal(u"TF_PFMQF"_s, [&](QWidget* window) {
        if (!window) return;
        title = Child<QLineEdit>(*window, u"ED_RELTIT"_s)->text();
        lineNumber = Child<QLabel>(*window, u"DLA_NCAMPO"_s)->text();
        line = Child<QLineEdit>(*window, u"DED_TITULO"_s)->text();
        Click(*window, u"BU_SAIR"_s);
    });
    QVERIFY(platform::OpenWindow(u"PFMQF"_s, nullptr, {u"PDS"_s, QString(), u"001"_s}));
    QCOMPARE(title, u"Vendas por cliente"_s);
    QCOMPARE(lineNumber, u"11"_s);
    QCOMPARE(line, u"Cliente"_s);
    platform::UnregisterWindow(u"PFMQF"_s);
}

void TestTF_PFMQF::field180IsNeverOverwritten_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("NOVO CAMPO") << u"BU_NOVO"_s;
    QTest::newRow("DUPLICA") << u"BU_DUPLICA"_s;
}

void TestTF_PFMQF::field180IsNeverOverwritten() {
    QFETCH(QString, button);
    QStringList lines = FixtureLines();
    lines[189] = u"Ultimo#A.ULTIMO#1#1#400#5#"_s;
    Store(lines);

    TF_PFMQF window(Menu(), 1);
    window.show();
    test::DialogLog log;
    Click(window, button);
    QCOMPARE(log.names(), QStringList{u"MESSAGE_BOX"_s});
    QVERIFY(log.shown().constFirst().text.contains(u"180"_s));
    QVERIFY(window.save());

    const QStringList stored = StoredLines();
    QVERIFY(stored.value(189).startsWith(u"Ultimo#A.ULTIMO#1#"_s));
    QVERIFY(stored.value(10).startsWith(u"Cliente#A.CLIENTE#1#"_s));
    QVERIFY(stored.value(11).startsWith(u"Valor#A.VALOR#1#"_s));
}

// "Salvar" writes the window's fields over the stored lines it reads first:
// when that read fails nothing is written (the lines the window does not
// edit would be lost); a key that is not stored is written new.
void TestTF_PFMQF::saveWritesOverWhatItRead_data() {
    QTest::addColumn<bool>("readFails");
    QTest::newRow("the stored key cannot be read") << true;
    QTest::newRow("the key is not stored") << false;
}

void TestTF_PFMQF::saveWritesOverWhatItRead() {
    QFETCH(bool, readFails);
    TF_PFMQF window(Menu(), 1);
    window.show();
    Type(Child<QLineEdit>(window, u"ED_RELTIT"_s), u"Novo titulo"_s);
    const QStringList before = StoredLines();
    const QString read = u"SELECT * FROM VRTNPAR WHERE CHAVE = '%1'"_s.arg(Key());
    if (readFails)
        data::SetQueryObserver([read](data::Slot, const QString& sql) {
            if (sql == read) throw data::DbError(u"leitura recusada"_s);
        });
    else
        m_fixture->erp().exec(u"DELETE FROM VRTNPAR WHERE CHAVE = '%1'"_s.arg(Key()));
    const auto observer = qScopeGuard([] { data::SetQueryObserver({}); });
    test::DialogLog log;
    QCOMPARE(window.save(), !readFails);
    QCOMPARE(log.names(), readFails ? QStringList{u"ERROR_BOX"_s} : QStringList());
    data::SetQueryObserver({});

    const QStringList stored = StoredLines();
    if (readFails) {
        QCOMPARE(stored, before);
        QVERIFY(window.modified());
    } else {
        QVERIFY(stored.value(0).startsWith(u"Novo titulo#"_s));
        QVERIFY(stored.value(10).startsWith(u"Cliente#A.CLIENTE#1#"_s));
        QVERIFY(!window.modified());
    }
}

void TestTF_PFMQF::deleteEmptiesTheLastLine() {
    QStringList lines = FixtureLines();
    lines[189] = u"Ultimo#A.ULTIMO#1#1#400#5#"_s;
    Store(lines);

    TF_PFMQF window(Menu(), 1);
    window.show();
    QString question;
    Answer(QMessageBox::Ok, &question);
    Click(window, u"BU_EXCLUI"_s);
    QCOMPARE(question, u"CONFIRMA EXCLUSÃO DO CAMPO ATUAL ?"_s);
    QCOMPARE(Child<QLineEdit>(window, u"DED_TITULO"_s)->text(), u"Valor"_s);
    QVERIFY(window.modified());
    QVERIFY(window.save());

    const QStringList stored = StoredLines();
    QVERIFY(stored.value(10).startsWith(u"Valor#A.VALOR#1#"_s));
    QVERIFY(stored.value(18).startsWith(u"Depois#A.DEPOIS#1#"_s));
    QVERIFY(stored.value(188).startsWith(u"Ultimo#A.ULTIMO#1#"_s));
    QCOMPARE(stored.value(189), QString());
}

void TestTF_PFMQF::closingWithChangesAsks_data() {
    QTest::addColumn<bool>("agree");
    QTest::newRow("OK saves") << true;
    QTest::newRow("Cancel leaves unsaved") << false;
}

void TestTF_PFMQF::closingWithChangesAsks() {
    QFETCH(bool, agree);
    TF_PFMQF window(Menu(), 1);
    window.show();
    // A mouse change alone: no key is pressed.
    QTest::mouseClick(Child<QCheckBox>(window, u"CB_WRAP"_s), Qt::LeftButton);
    QVERIFY(window.modified());
    QString question;
    Answer(agree ? QMessageBox::Ok : QMessageBox::Cancel, &question);
    window.close();
    QCOMPARE(question, u"O Registro não foi salvo.   Salvar agora ?"_s);
    QVERIFY(!window.isVisible());
    const QString wrap = SplitToList(StoredLines().value(0)).value(7).mid(16, 1);
    QCOMPARE(wrap == u"S"_s, agree);
}

// A change that comes with no key press and no click: the context menu's
// paste and undo, an inserted text (as a drop gives).
void TestTF_PFMQF::editsWithoutAKeyMarkTheWindow_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("how");
    QTest::newRow("paste into the report title") << u"ED_RELTIT"_s << u"paste"_s;
    QTest::newRow("paste into an editable list") << u"CB_OUTROARQ"_s << u"paste"_s;
    QTest::newRow("text inserted into the field title") << u"DED_TITULO"_s << u"insert"_s;
    QTest::newRow("undo after the mark was cleared") << u"E_TAMLINHA"_s << u"undo"_s;
}

void TestTF_PFMQF::editsWithoutAKeyMarkTheWindow() {
    QFETCH(QString, control);
    QFETCH(QString, how);
    TF_PFMQF window(Menu(), 1);
    window.show();
    QVERIFY(!window.modified());
    QWidget* widget = Child<QWidget>(window, control);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
    QVERIFY(edit);
    const QString before = edit->text();
    if (how == u"paste"_s) {
        QApplication::clipboard()->setText(u"COLADO"_s);
        edit->paste();
    } else if (how == u"insert"_s) {
        edit->insert(u"INSERIDO"_s);
    } else {
        edit->insert(u"9"_s);
        Child<QCheckBox>(window, u"CB_ALTERADO"_s)->setChecked(false);
        edit->undo();
        QCOMPARE(edit->text(), before);
    }
    if (how != u"undo"_s) QVERIFY(edit->text() != before);
    QVERIFY2(window.modified(), "the change did not mark the window changed");
    QString question;
    Answer(QMessageBox::Cancel, &question);
    window.close();
    QCOMPARE(question, u"O Registro não foi salvo.   Salvar agora ?"_s);
}

// The window filling its own controls (loading, moving between fields and
// pages, the column list taking the field's content) is no change.
void TestTF_PFMQF::fillingTheControlsMarksNothing() {
    TF_PFMQF window(Menu(), 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.modified());
    auto* pages = Child<QTabWidget>(window, u"PC_PARAM"_s);
    auto* title = Child<QLineEdit>(window, u"DED_TITULO"_s);
    pages->setCurrentIndex(2);
    QTest::keyClick(title, Qt::Key_PageDown);
    QCOMPARE(title->text(), u"Valor"_s);
    QTest::keyClick(title, Qt::Key_PageUp);
    QCOMPARE(title->text(), u"Cliente"_s);
    auto* column = Child<QComboBox>(window, u"CB_CAMPOARQ"_s);
    column->setFocus();
    QTRY_VERIFY(column->hasFocus());
    for (int page = 0; page < pages->count(); ++page)
        pages->setCurrentIndex(page);
    QVERIFY(!window.modified());
}

void TestTF_PFMQF::refusedImportKeepsTheDefinition() {
    QTemporaryDir folder;
    QStringList file(190);
    file[0] = u"Importado#Arial#8##"_s;
    file[10] = u"Nome#A.NOME#1#1#6#30#"_s;
    const QString path = folder.filePath(u"VENDAS.FMQ"_s);
    QVERIFY(WriteLinesFile(path, file));

    TF_PFMQF window(Menu(), 1);
    test::OnModal(u"QUESTION_BOX"_s, [](QWidget* box) {
        if (auto* question = qobject_cast<QMessageBox*>(box))
            question->button(QMessageBox::No)->click();
    });
    QVERIFY(!window.importFile(path));
    QVERIFY(StoredLines().value(10).startsWith(u"Cliente#A.CLIENTE#"_s));
    QCOMPARE(Child<QLineEdit>(window, u"ED_RELTIT"_s)->text(), u"Vendas por cliente"_s);

    test::OnModal(u"QUESTION_BOX"_s, [](QWidget* box) {
        if (auto* question = qobject_cast<QMessageBox*>(box))
            question->button(QMessageBox::Yes)->click();
    });
    QVERIFY(window.importFile(path));
    QVERIFY(StoredLines().value(10).startsWith(u"Nome#A.NOME#"_s));
    QCOMPARE(Child<QLineEdit>(window, u"ED_RELTIT"_s)->text(), u"Importado"_s);
    QCOMPARE(Child<QLineEdit>(window, u"DED_TITULO"_s)->text(), u"Nome"_s);
}

void TestTF_PFMQF::helpOpensTheHelpWindow() {
    QStringList received;
    platform::RegisterWindow(u"HELP"_s,
                             [&](QWidget*, const QStringList& arguments) { received = arguments; });
    TF_PFMQF window(Menu(), 1);
    QAction* help = window.findChild<QAction*>(u"MENU_HELP"_s);
    QVERIFY(help);
    help->trigger();
    platform::UnregisterWindow(u"HELP"_s);
    QCOMPARE(received, QStringList{u"PFMQF"_s});
}

void TestTF_PFMQF::fontsLandInTheirFields_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("field"); // the font's name; size and style follow
    QTest::newRow("report font") << u"BU_RELALTFON"_s << 1 << 2;
    QTest::newRow("whole header") << u"BU_FONCAB"_s << 2 << 2;
    QTest::newRow("report title") << u"BU_FONTIT"_s << 2 << 5;
    QTest::newRow("company line") << u"BU_FONOMENP"_s << 2 << 8;
    QTest::newRow("field titles") << u"BU_FONTITCAMPO"_s << 2 << 11;
    QTest::newRow("subtotal line") << u"BU_FONSUBTOT"_s << 2 << 14;
    QTest::newRow("total line") << u"BU_FONTOTAL"_s << 2 << 17;
    QTest::newRow("group line") << u"BU_CAMALTFON"_s << 8 << 2;
    QTest::newRow("current field") << u"BU_FONCAMPO"_s << 11 << 9;
}

void TestTF_PFMQF::fontsLandInTheirFields() {
    QFETCH(QString, button);
    QFETCH(int, line);
    QFETCH(int, field);
    // A family the dialog offers in bold.
    QString family;
    for (const QString& candidate : QFontDatabase::families())
        if (family.isEmpty() && QFontDatabase::styles(candidate).contains(u"Bold"_s))
            family = candidate;
    if (family.isEmpty()) QSKIP("no font family with a bold style on this machine");

    TF_PFMQF window(Menu(), 1);
    window.show();
    test::OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        if (!dialog) {
            if (modal) modal->close();
            return;
        }
        QFont font(family, 13);
        font.setBold(true);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    Click(window, button);
    QVERIFY(window.modified());
    QVERIFY(window.save());

    const QStringList fields = SplitToList(StoredLines().value(line - 1));
    QCOMPARE(fields.value(field - 1), family);
    QCOMPARE(fields.value(field), u"13"_s);
    QCOMPARE(fields.value(field + 1), u"fsBold"_s);
}

void TestTF_PFMQF::tableFieldListStartsFromTheContent() {
    TF_PFMQF window(Menu(), 1);
    window.show();
    auto* list = Child<QComboBox>(window, u"CB_CAMPOARQ"_s);
    QCOMPARE(list->currentText(), QString());
    QFocusEvent entering(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list, &entering);
    QCOMPARE(list->currentText(), u"A.CLIENTE"_s);

    // A name typed and left: content, type and size from it, the title kept.
    Type(list, u"novo_campo"_s);
    emit list->lineEdit()->editingFinished();
    QCOMPARE(Child<QLineEdit>(window, u"DED_CAMPO"_s)->text(), u"NOVO_CAMPO"_s);
    QCOMPARE(Child<QLineEdit>(window, u"DED_TITULO"_s)->text(), u"Cliente"_s);
    QCOMPARE(Child<QLineEdit>(window, u"DED_TAMANHO"_s)->text(), u"4"_s);
    QVERIFY(window.modified());
}

void TestTF_PFMQF::printerSetupLandsInLine4() {
    QStringList lines = FixtureLines();
    lines[3] = u"0##H##########"_s; // landscape, no page size yet
    Store(lines);

    TF_PFMQF window(Menu(), 1);
    window.show();
    QVERIFY(Child<QAbstractButton>(window, u"GRU_ORIENTACAO_1"_s)->isChecked());
    bool shown = false;
    test::OnModal(u"PRINTER_SETUP"_s, [&](QWidget* dialog) {
        shown = dialog;
        if (auto* setup = qobject_cast<QDialog*>(dialog)) setup->accept();
    });
    Click(window, u"BU_PSETUP"_s);
    QVERIFY(shown);
    QVERIFY(window.modified());
    QVERIFY(window.save());

    const QStringList printer = SplitToList(StoredLines().value(3));
    QCOMPARE(printer.value(2), u"H"_s);
    QVERIFY2(printer.value(3).toInt() > 0 && printer.value(4).toInt() > 0,
             qPrintable(StoredLines().value(3)));
    QCOMPARE(printer.value(6), u"1"_s);
    QVERIFY(Child<QAbstractButton>(window, u"GRU_ORIENTACAO_1"_s)->isChecked());
}

void TestTF_PFMQF::pageKeysMoveOnTheFieldPageOnly() {
    TF_PFMQF window(Menu(), 1);
    window.show();
    auto* pages = Child<QTabWidget>(window, u"PC_PARAM"_s);
    auto* number = Child<QLabel>(window, u"DLA_NCAMPO"_s);
    auto* title = Child<QLineEdit>(window, u"DED_TITULO"_s);
    pages->setCurrentIndex(2);
    QTest::keyClick(title, Qt::Key_PageDown);
    QCOMPARE(number->text(), u"12"_s);
    QCOMPARE(title->text(), u"Valor"_s);
    QTest::keyClick(title, Qt::Key_PageUp);
    QTest::keyClick(title, Qt::Key_PageUp); // not below field 1
    QCOMPARE(number->text(), u"11"_s);
    pages->setCurrentIndex(0);
    auto* reportTitle = Child<QLineEdit>(window, u"ED_RELTIT"_s);
    QTest::keyClick(reportTitle, Qt::Key_PageDown);
    QCOMPARE(number->text(), u"11"_s);
    // Moving around and the command keys change nothing; a typed letter does.
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Left, Qt::Key_End, Qt::Key_F12, Qt::Key_Shift})
        QTest::keyClick(reportTitle, key);
    QVERIFY(!window.modified());
    QTest::keyClick(reportTitle, Qt::Key_A);
    QVERIFY(window.modified());
}

void TestTF_PFMQF::printLevelOnlyForLevels8And9_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("9") << u"9"_s << true;
    QTest::newRow("8") << u"8"_s << true;
    QTest::newRow("7") << u"7"_s << false;
    QTest::newRow("blank") << QString() << false;
}

void TestTF_PFMQF::printLevelOnlyForLevels8And9() {
    QFETCH(QString, level);
    QFETCH(bool, enabled);
    data::Globals().user.level = level;
    TF_PFMQF window(Menu(), 1);
    window.show();
    QCOMPARE(Child<QLineEdit>(window, u"ED_LS_RIMPRIMIR"_s)->isEnabled(), enabled);
}

void TestTF_PFMQF::orderAndFilterDialogs_data() {
    QTest::addColumn<QString>("secondary"); // line 10 field 1
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before"); // the target's text
    QTest::addColumn<QString>("result"); // what the dialog hands back
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("after");

    QTest::newRow("order of the main table")
        << QString() << u"BU_ORDEM"_s << u"A.DATA"_s << u"A.DATA#A.VALOR"_s << u"SELC"_s
        << QStringList{u"ARQUIVO"_s, u"PDS"_s, u"A.DATA"_s} << u"ED_ORDEM"_s << u"A.DATA#A.VALOR"_s;
    QTest::newRow("order over both tables")
        << u"PRO"_s << u"BU_ORDEM"_s << QString() << u"#"_s << u"SELC"_s
        << QStringList{u"ARQUIVO"_s, u"A.PDS#S.PRO"_s, QString()} << u"ED_ORDEM"_s << QString();
    QTest::newRow("order of the secondary table, blank handed as #")
        << u"PRO"_s << u"LA_ORDEM_SEC"_s << QString() << u"CODIGO"_s << u"SELC"_s
        << QStringList{u"ARQUIVO"_s, u"PRO"_s, u"#"_s} << u"E_ORDEM_SEC"_s << u"CODIGO"_s;
    QTest::newRow("filters trimmed")
        << QString() << u"BU_FILTROS"_s << u" VALOR > 0 "_s << u" VALOR > 1 "_s << u"SELF"_s
        << QStringList{u"SQL"_s, u"PDS"_s, u"VALOR > 0"_s} << u"ED_FILTROS"_s << u"VALOR > 1"_s;
    QTest::newRow("filter of the secondary table")
        << u"PRO"_s << u"LA_FILTRO_SEC"_s << QString() << u"#"_s << u"SELF"_s
        << QStringList{u"SQL"_s, u"PRO"_s, QString()} << u"ED_FILTRO_SEC"_s << QString();
}

void TestTF_PFMQF::orderAndFilterDialogs() {
    QFETCH(QString, secondary);
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, result);
    QFETCH(QString, window);
    QFETCH(QStringList, arguments);
    QFETCH(QString, target);
    QFETCH(QString, after);
    QStringList lines = FixtureLines();
    lines[9] = secondary + u'#';
    Store(lines);

    QStringList received;
    platform::RegisterWindow(window, [&](QWidget*, const QStringList& given) {
        received = given;
        data::ReturnedValues().values[0] = result;
        data::ReturnedValues().rowChosen = true;
    });
    TF_PFMQF designer(Menu(), 1);
    auto* edit = Child<QLineEdit>(designer, target);
    edit->setText(before);
    Click(designer, button);
    platform::UnregisterWindow(window);
    QCOMPARE(received, arguments);
    QCOMPARE(edit->text(), after);
    QVERIFY(designer.modified());
}

QTEST_MAIN(TestTF_PFMQF)
#include "test_tf_pfmqf.moc"
