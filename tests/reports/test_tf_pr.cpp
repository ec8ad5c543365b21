// The report runner window over the demo company's sample reports: opened
// through the window registry with the report's title and table; "Montar"
// showing the statement and a first batch of the rows; a text run whose
// total is the database's sum; a statement the database refuses, told to the
// user with the window left open and the statement kept; the expression
// problems of a run listed, a refused box naming itself with nothing run; the
// preview's "Imprimir" closing the preview and running to the printer.

#include "data/company_header.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "platform/window_registry.h"
#include "print/preview_window.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"
#include "reports/report_windows.h"
#include "reports/tf_pr.h"
#include "shell/startup.h"
#include "support/dialog_log.h"
#include "support/modal.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

// Leaves the text editor a text run ends in, answering "Não" when it asks
// whether to save the report's text.
void LeaveUnsaved(QWidget* editor) {
    test::OnModal(u"QUESTION_BOX"_s, [](QWidget* box) {
        if (auto* question = qobject_cast<QMessageBox*>(box))
            question->button(QMessageBox::No)->click();
    });
    editor->close();
}

template <typename T> T* Child(const QWidget& window, const QString& name) {
    auto* child = window.findChild<T*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

QString Text(const QWidget& window, const QString& name) {
    return Child<QLineEdit>(window, name)->text();
}

void Click(const QWidget& window, const QString& name) {
    Child<QPushButton>(window, name)->click();
}

// The single value a query on the ERP database gives, in ten-thousandths.
qint64 Scalar(const QString& sql) {
    data::Connection* erp = data::DatabaseFor(u"PDS"_s);
    data::Transaction transaction(*erp);
    data::Statement select(*erp, transaction, sql);
    select.open();
    return select.fetch() ? select.value(0).toScaled() : -1;
}

const QString DemoYear = u"DATA BETWEEN '2026-01-01' AND '2026-12-31'"_s;

} // namespace

class TestTF_PR : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensThroughTheRegistry();
    void managerListsTheReportsAndRunsTheChosenOne();
    void buildShowsStatementAndFirstRows();
    void textRunTotalsTheDatabaseSum();
    void refusedStatementKeepsTheWindowOpen();
    void diagnosticsAndRefusedBoxes();
    void previewPrintClosesItAndPrints();

  private:
    QTemporaryDir m_demo;
    QTemporaryDir m_temp;
};

void TestTF_PR::initTestCase() {
    demo::DemoOptions options;
    options.folder = m_demo.path();
    options.invoices = 400;
    demo::GenerateDemoCompany(options);
}

void TestTF_PR::init() {
    data::Globals().registry.dirs[1] = QDir(m_demo.path()).filePath(demo::DemoErpFileName());
    data::Globals().registry.dirs[5] = QDir(m_demo.path()).filePath(demo::DemoSystemFileName());
    shell::ConnectDatabases({});
    shell::LoadTableLists();
    data::LoadCompanyHeader();
    data::Globals().user.tempFolder = m_temp.path() + u'/';
}

void TestTF_PR::cleanup() {
    data::DataModule().closeAll();
    data::ResetGlobals();
}

void TestTF_PR::opensThroughTheRegistry() {
    reports::RegisterReportWindows();
    QString title, table;
    bool leftOpenByEsc = false;
    test::OnModal(
        u"TF_PR"_s,
        [&](QWidget* window) {
            if (!window) return;
            title = Text(*window, u"E_CAB_TITULO"_s);
            table = Text(*window, u"E_ARQUIVO"_s);
            QTest::keyClick(window, Qt::Key_Escape);
            leftOpenByEsc = window->isVisible();
            Click(*window, u"BU_SAIR"_s);
        },
        [](QWidget* window) { return !Text(*window, u"E_CAB_TITULO"_s).isEmpty(); });
    QVERIFY(platform::OpenWindow(u"PR"_s, nullptr, {u"PDS"_s, u"PAR_LFPDS"_s, u"2"_s}));
    platform::UnregisterWindow(u"PR"_s);
    QCOMPARE(title, u"Vendas por dia"_s);
    QCOMPARE(table, u"VRTNPDS"_s);
    QVERIFY(leftOpenByEsc);
    // A report that does not exist is told on opening; nothing is built.
    test::DialogLog log;
    reports::TF_PR missing(reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s), 99);
    missing.show();
    QVERIFY(QTest::qWaitForWindowExposed(&missing));
    Click(missing, u"BU_MONTAR"_s);
    QCOMPARE(log.names(), QStringList({u"TF_PR"_s, u"ERROR_BOX"_s}));
    QVERIFY2(log.shown().last().text.contains(u"099"_s), qPrintable(log.shown().last().text));
    QVERIFY(Child<QPlainTextEdit>(missing, u"MEMO"_s)->toPlainText().isEmpty());
    missing.close();
}

void TestTF_PR::managerListsTheReportsAndRunsTheChosenOne() {
    reports::RegisterReportWindows();
    QStringList listed;
    QString opened;
    test::OnModal(
        u"TF_PFMQM"_s,
        [&](QWidget* manager) {
            if (!manager) return;
            auto* list = Child<QTableWidget>(*manager, u"LISTBOX_MENU"_s);
            listed = {list->item(0, 1)->text(), list->item(1, 1)->text(), list->item(2, 1)->text()};
            list->setCurrentCell(1, 0);
            test::OnModal(
                u"TF_PR"_s,
                [&](QWidget* window) {
                    if (!window) return;
                    opened = Text(*window, u"E_CAB_TITULO"_s);
                    Click(*window, u"BU_SAIR"_s);
                },
                [](QWidget* window) { return !Text(*window, u"E_CAB_TITULO"_s).isEmpty(); });
            Click(*manager, u"BU_PR"_s);
            Click(*manager, u"BU_SAIR"_s);
        },
        [](QWidget* manager) {
            return !Child<QTableWidget>(*manager, u"LISTBOX_MENU"_s)->item(0, 1)->text().isEmpty();
        });
    QVERIFY(platform::OpenWindow(u"REPORTS"_s, nullptr, {u"PDS"_s, u"PAR_LFPDS"_s}));
    platform::UnregisterWindow(u"REPORTS"_s);
    platform::UnregisterWindow(u"PR"_s);
    QCOMPARE(listed, QStringList({u"Vendas por cliente"_s, u"Vendas por dia"_s, QString()}));
    QCOMPARE(opened, u"Vendas por dia"_s);
}

void TestTF_PR::buildShowsStatementAndFirstRows() {
    reports::TF_PR window(reports::MenuForTable(u"PIS"_s, u"PAR_LFPIS"_s), 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::DialogLog log;
    Click(window, u"BU_MONTAR"_s);
    // A second build shows the same: the period is not added twice.
    Click(window, u"BU_MONTAR"_s);
    QCOMPARE(log.names(), QStringList());
    QCOMPARE(Text(window, u"E_CAB_TITULO"_s),
             u"Itens vendidos por produto   de 01/01/26   até 31/12/26"_s);
    const QStringList lines = Child<QPlainTextEdit>(window, u"MEMO"_s)->toPlainText().split(u'\n');
    QVERIFY2(lines.first().startsWith(u"SELECT A."_s), qPrintable(lines.first()));
    QVERIFY(lines.contains(u"FROM VRTNPIS A"_s));
    QCOMPARE(lines.last(), u"ORDER BY A.PRODUTO"_s);
    // The grid holds one batch until it is asked for more; all of them
    // together are the year's items.
    const qint64 items = Scalar(u"SELECT COUNT(*) FROM VRTNPIS WHERE "_s + DemoYear) / 10000;
    QVERIFY2(items > 200, qPrintable(QString::number(items)));
    QAbstractItemModel* rows = Child<QTableView>(window, u"GRID"_s)->model();
    QCOMPARE(rows->rowCount(), 200);
    QCOMPARE(rows->headerData(0, Qt::Horizontal).toString(),
             lines.first().section(u',', 0, 0).mid(9)); // "SELECT A.NAME"
    while (rows->canFetchMore({}))
        rows->fetchMore({});
    QCOMPARE(rows->rowCount(), int(items));
    window.close();
}

void TestTF_PR::textRunTotalsTheDatabaseSum() {
    reports::TF_PR window(reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s), 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    QString text;
    bool enabledWhileRunning = true;
    test::OnModal(u"TF_EDIT"_s, [&](QWidget* editor) {
        if (!editor) return;
        enabledWhileRunning = Child<QPushButton>(window, u"BU_TXT"_s)->isEnabled();
        text = Child<QTextEdit>(*editor, u"MEMO1"_s)->toPlainText();
        LeaveUnsaved(editor);
    });
    // Nothing built yet: the run builds first.
    Click(window, u"BU_TXT"_s);
    QVERIFY(!log.names().contains(u"ERROR_BOX"_s));
    QCOMPARE(Text(window, u"E_TIPO"_s), u"T"_s);
    QVERIFY(!enabledWhileRunning);
    QVERIFY(Child<QPushButton>(window, u"BU_TXT"_s)->isEnabled());
    QCOMPARE(Child<QListWidget>(window, u"LB_AVISOS"_s)->count(), 0);
    QVERIFY(!Child<QPlainTextEdit>(window, u"MEMO"_s)->toPlainText().isEmpty());
    // The total line is the last; its next-to-last value is the sales total.
    QStringList lines = text.split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    QVERIFY(!lines.isEmpty());
    const QStringList values = lines.last().split(u' ', Qt::SkipEmptyParts);
    QVERIFY2(values.size() >= 2, qPrintable(lines.last()));
    const qint64 sum = Scalar(u"SELECT SUM(LIQUIDO) FROM VRTNPDS WHERE "_s + DemoYear);
    QVERIFY(sum > 0);
    QCOMPARE(sum % 100, 0); // whole cents, as the picture prints them
    const QString expected =
        u"%1,%2"_s.arg(sum / 10000).arg((sum % 10000) / 100, 2, 10, QChar(u'0'));
    QCOMPARE(QString(values.at(values.size() - 2)).remove(u'.'), expected);
    window.close();
}

void TestTF_PR::refusedStatementKeepsTheWindowOpen() {
    // Sample report 001 with a permanent filter naming no column, as 003.
    const reports::ReportMenu menu = reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s);
    reports::ReportDefinition definition;
    QVERIFY(
        reports::ReadReportDefinition(menu.database, reports::DefinitionKey(menu, 1), definition));
    definition.parameters.permanentFilter = u"NAOEXISTE = 1"_s;
    QVERIFY(
        reports::WriteReportDefinition(menu.database, reports::DefinitionKey(menu, 3), definition));
    const QString kept = m_temp.filePath(u"P_FMQRR.TXT"_s);
    QFile::remove(kept);

    reports::TF_PR window(menu, 3);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::DialogLog log;
    Click(window, u"BU_MONTAR"_s);
    QCOMPARE(log.names(), QStringList({u"ERROR_BOX"_s}));
    QVERIFY2(log.shown().first().text.contains(u"NAOEXISTE"_s),
             qPrintable(log.shown().first().text));
    QVERIFY(window.isVisible());
    QCOMPARE(Child<QTableView>(window, u"GRID"_s)->model()->rowCount(), 0);
    QVERIFY(Child<QPlainTextEdit>(window, u"MEMO"_s)->toPlainText().contains(u"NAOEXISTE"_s));
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("(NAOEXISTE = 1)"));
    // A run builds again, is refused again and draws nothing.
    Click(window, u"BU_VISAO"_s);
    QCOMPARE(log.names(), QStringList({u"ERROR_BOX"_s, u"ERROR_BOX"_s}));
    QCOMPARE(Text(window, u"E_TIPO"_s), u"V"_s);
    QVERIFY(Child<QPushButton>(window, u"BU_VISAO"_s)->isEnabled());
    QVERIFY(window.isVisible());
    window.close();
    QVERIFY(!window.isVisible());
}

// The report's own menu ("FMQ_PDS") gets sample report 001 with a misspelt
// column in a fifth field: a run lists it. With a statement typed into a
// numeric box, the box is named and nothing runs.
void TestTF_PR::diagnosticsAndRefusedBoxes() {
    const reports::ReportMenu sample = reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s);
    const reports::ReportMenu own = reports::MenuForTable(u"PDS"_s);
    reports::ReportDefinition definition;
    QVERIFY(reports::ReadReportDefinition(sample.database, reports::DefinitionKey(sample, 1),
                                          definition));
    reports::ReportField misspelt = definition.fields.first();
    misspelt.title = u"Erro"_s;
    misspelt.content = u"A.LIQUIDOX"_s;
    misspelt.column = u"600"_s;
    definition.fields << misspelt;
    QVERIFY(
        reports::WriteReportDefinition(own.database, reports::DefinitionKey(own, 1), definition));
    reports::LastSelection selection;
    QVERIFY(
        reports::ReadLastSelection(sample.database, reports::SelectionKey(sample, 1), selection));
    QVERIFY(reports::WriteLastSelection(own.database, reports::SelectionKey(own, 1), selection));
    {
        reports::TF_PR window(own, 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        test::DialogLog log(test::DialogLog::Boxes::Leave);
        test::OnModal(u"TF_EDIT"_s, [](QWidget* editor) {
            if (editor) LeaveUnsaved(editor);
        });
        Click(window, u"BU_TXT"_s);
        QVERIFY(!log.names().contains(u"ERROR_BOX"_s));
        auto* notes = Child<QListWidget>(window, u"LB_AVISOS"_s);
        QCOMPARE(notes->count(), 1);
        QVERIFY2(notes->item(0)->text().startsWith(u"1.5: "_s), qPrintable(notes->item(0)->text()));
        window.close();
    }
    reports::MenuSelectionConfig config;
    config.singles[0] = {u"Nota"_s, u"NNOTA"_s, u"N"_s};
    QVERIFY(reports::WriteMenuSelection(own.database, reports::MenuSelectionKey(own), config));
    selection.values[0] = u"1; DELETE FROM VRTNPDS"_s;
    QVERIFY(reports::WriteLastSelection(own.database, reports::SelectionKey(own, 1), selection));
    reports::TF_PR window(own, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::DialogLog log;
    Click(window, u"BU_TXT"_s);
    QCOMPARE(log.names(), QStringList({u"ERROR_BOX"_s}));
    QVERIFY2(log.shown().first().text.contains(u"Valor inválido em \"Nota\""_s),
             qPrintable(log.shown().first().text));
    QCOMPARE(Child<QTableView>(window, u"GRID"_s)->model()->rowCount(), 0);
    QVERIFY(Child<QPushButton>(window, u"BU_TXT"_s)->isEnabled());
    window.close();
}

void TestTF_PR::previewPrintClosesItAndPrints() {
    reports::TF_PR window(reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s), 2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Click(window, u"BU_MONTAR"_s);
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    bool previewClosed = false;
    QString printDialog;
    test::OnModal(
        u"TF_PRINT"_s,
        [&](QWidget* preview) {
            if (!preview) return;
            // The print dialog of the run that follows is cancelled.
            test::OnModal(
                u""_s,
                [&](QWidget* dialog) {
                    if (!dialog) return;
                    printDialog = QString::fromLatin1(dialog->metaObject()->className());
                    dialog->close();
                },
                [](QWidget* dialog) { return dialog->inherits("QPrintDialog"); });
            Child<QAbstractButton>(*preview, u"BU_REPRINT"_s)->click();
            previewClosed = !preview->isVisible();
        },
        [](QWidget* preview) {
            // Once the pages are drawn: the button does nothing while they are.
            auto* shown = qobject_cast<print::TF_PRINT*>(preview);
            return shown && shown->isViewing();
        });
    Click(window, u"BU_VISAO"_s);
    QVERIFY(previewClosed);
    // "Imprimir" is pressed once the preview's run has returned.
    QTRY_COMPARE(Text(window, u"E_TIPO"_s), u"P"_s);
    QTRY_VERIFY2(!printDialog.isEmpty(), "no print dialog");
    QVERIFY(!log.names().contains(u"ERROR_BOX"_s));
    QVERIFY(Child<QPushButton>(window, u"BU_IMPRIMIR"_s)->isEnabled());
    window.close();
}

QTEST_MAIN(TestTF_PR)
#include "test_tf_pr.moc"
