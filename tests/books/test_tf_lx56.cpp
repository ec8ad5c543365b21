// The settlement windows: a month loaded from the saved settings, leaving the
// start date on an empty month recalculates and stores it, typed boxes
// re-balance, the month arrow carries the credit, closing saves, a failed
// "Recalc." stores nothing; the IPI window's differences.

#include "books/settlement.h"
#include "books/tf_lx53.h"
#include "books/tf_lx55.h"
#include "books/tf_lx56.h"
#include "books/tf_lx57.h"
#include "data/data_module.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "data/transaction.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (1102, 'COMPRA', 'COMPRA PARA COMERCIALIZACAO', 'S');
INSERT INTO VRTNNAT (NATOPER, RESUMIDA, DESCRICAO, ATUGIAICM) VALUES (5102, 'VENDA', 'VENDA DE MERCADORIA', 'S');
INSERT INTO VRTNPDE (PEDIDO, NNOTA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR) VALUES (1, 100, '05.01.2026', '05.01.2026', 1102, 'F', 1000, 1000, 180, 0, 1000, 100);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DATA, DTNOTA, NATOPER, FAT, LIQUIDO, ICMBASE, ICMVALOR, ICMISENTAS, IPIBASE, IPIVALOR) VALUES (11, 500, '12.01.2026', '12.01.2026', 5102, 'F', 500, 500, 90, 0, 500, 50);
)"_s;

QString A(const QString& amount) {
    return amount.rightJustified(13, u' ');
}

template <typename T> T* Child(QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no control %s", qPrintable(name));
    return child;
}

void Leave(QLineEdit* edit) {
    Q_EMIT edit->editingFinished();
}

// Every line of a stored record, or nothing when there is none.
QStringList StoredRecord(const QString& key, const QString& table = u"PDS"_s) {
    if (!data::ParamRead(data::DatabaseFor(table), key, 190)) return {};
    QStringList lines;
    for (int n = 1; n <= 190; ++n)
        lines.append(data::ParamLines().line(n));
    return lines;
}

} // namespace

class TestTF_LX56 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void icmsWindow();
    void closingKeepsMonthsApart_data();
    void closingKeepsMonthsApart();
    void ipiWindow();
    void failedRecalcNotSaved_data();
    void failedRecalcNotSaved();
    void heldMonthRecord();
    void openedByTheMainWindowsCommands();
    void escapeSavesNothing_data();
    void escapeSavesNothing();
};

void TestTF_LX56::icmsWindow() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    // Saved settings of January with a first page of "0"; a "Micro" company.
    data::ParamLines().clear();
    data::ParamLines().setLine(2, u"01/01/26"_s);
    data::ParamLines().setLine(3, u"31/01/26"_s);
    data::ParamLines().setLine(4, u"0"_s);
    data::ParamWrite(data::DatabaseFor(u"PDS"_s), u"PAR_LX56"_s, 190);
    data::ParamLines().clear();
    data::ParamLines().setLine(5, u"3#"_s);
    data::ParamWrite(data::ParamDatabase(), u"VRTNCAE"_s, 20);

    books::TF_LX56 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"F_LX56 - Registro de Apuração do ICMS"_s);
    auto* start = Child<QLineEdit>(window, u"E_DATAI"_s);
    QCOMPARE(start->displayText(), u"01/01/26"_s);
    // Enter (the next control) goes from "Dt. Inicial" to "Dt. Final".
    QCOMPARE(start->nextInFocusChain(), Child<QLineEdit>(window, u"E_DATAF"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_PAGINA"_s)->text(), u"2"_s);
    QVERIFY(window.findChildren<QRadioButton*>().at(3)->isChecked());
    QVERIFY(!Child<QCheckBox>(window, u"CB_LER"_s)->isChecked());
    QCOMPARE(Child<QLineEdit>(window, u"E_ENT12"_s)->text(), A(u"0,00"_s));

    // Typing the date again and leaving it: the month has no record and no
    // totals, so it is recalculated and stored.
    start->clear();
    start->setText(u"01/01/26"_s);
    QVERIFY(Child<QCheckBox>(window, u"CB_LER"_s)->isChecked());
    Leave(start);
    QCOMPARE(Child<QLineEdit>(window, u"E_DATAF"_s)->displayText(), u"31/01/26"_s);
    auto* entriesGrid = Child<QTableWidget>(window, u"SG_ENTRADA"_s);
    QCOMPARE(entriesGrid->rowCount(), 2);
    QCOMPARE(entriesGrid->item(0, 1)->text(), u"COMPRA"_s);
    QCOMPARE(entriesGrid->item(1, 0)->text(), u"TOTAL"_s);
    QCOMPARE(Child<QTableView>(window, u"DG_ENTRADA"_s)->model()->rowCount(), 1);
    // The raw result shows its amounts as the books do: two decimals, the
    // decimal comma, right-aligned.
    const QAbstractItemModel* raw = Child<QTableView>(window, u"DG_ENTRADA"_s)->model();
    QStringList cells;
    for (int c = 0; c < raw->columnCount(); ++c)
        cells << raw->index(0, c).data().toString();
    const int tax = int(cells.indexOf(u"180,00"_s));
    QVERIFY2(tax >= 0, qPrintable(cells.join(u" | "_s)));
    QCOMPARE(raw->index(0, tax).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    // "Historico" is the widest column of the nature grid.
    auto* tabs = Child<QTabWidget>(window, u"PC_PASTAS"_s);
    tabs->setCurrentWidget(entriesGrid->parentWidget());
    QApplication::processEvents();
    const QHeaderView* header = entriesGrid->horizontalHeader();
    for (int c = 0; c < entriesGrid->columnCount(); ++c)
        if (c != 1) QVERIFY(header->sectionSize(1) > header->sectionSize(c));
    tabs->setCurrentIndex(0);
    QCOMPARE(Child<QLineEdit>(window, u"E_ENT12"_s)->text(), A(u"180,00"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_SAI22"_s)->text(), A(u"90,00"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_29"_s)->text(), A(u"90,00"_s));
    QCOMPARE(Child<QTabWidget>(window, u"PC_PASTAS"_s)->currentIndex(), 0);
    QVERIFY(data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2601"_s, 190));

    // A typed box is normalised and the balance follows.
    auto* box13 = Child<QLineEdit>(window, u"E_ENT13"_s);
    box13->setText(u"1.000,5"_s);
    Leave(box13);
    QCOMPARE(box13->text(), A(u"1000,50"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_ENTTOTAL"_s)->text(), A(u"1180,50"_s));
    QCOMPARE(Child<QLineEdit>(window, u"E_29"_s)->text(), A(u"1090,50"_s));
    Child<QPushButton>(window, u"BU_SALVAR"_s)->click();

    // The next month opens with January's credit in box 11.
    Child<QPushButton>(window, u"BU_MESSEGUINTE"_s)->click();
    QCOMPARE(start->displayText(), u"01/02/26"_s);
    QCOMPARE(Child<QLineEdit>(window, u"E_DATAF"_s)->displayText(), u"28/02/26"_s);
    QCOMPARE(Child<QLineEdit>(window, u"E_ENT11"_s)->text(), A(u"1090,50"_s));

    // The preview shows the book.
    QString seen;
    test::CloseNextModal(&seen);
    Child<QPushButton>(window, u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"TF_PRINT"_s);

    window.close();
    data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LX56"_s, 190);
    QCOMPARE(data::ParamLines().line(2), u"01/02/26"_s);
    QVERIFY(data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2602"_s, 190));
}

void TestTF_LX56::closingKeepsMonthsApart_data() {
    QTest::addColumn<bool>("button");
    QTest::newRow("F12") << false;
    QTest::newRow("Sair") << true;
}

// A date typed but not left yet does not take the month on the tabs with
// it: closing (F12 or "Sair") saves the tabs into the month they came from.
void TestTF_LX56::closingKeepsMonthsApart() {
    QFETCH(bool, button);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    books::TF_LX56 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* start = Child<QLineEdit>(window, u"E_DATAI"_s);
    start->setText(u"01/01/26"_s);
    Leave(start); // January: recalculated and stored
    auto* box13 = Child<QLineEdit>(window, u"E_ENT13"_s);
    box13->setText(u"55"_s);
    // An impossible date is refused when left.
    start->setText(u"31/02/26"_s);
    QString seen;
    test::CloseNextModal(&seen);
    Leave(start);
    QCOMPARE(seen, u"Data inválida: 31/02/26"_s);

    start->setText(u"01/03/26"_s);
    if (button) {
        Child<QPushButton>(window, u"BU_SAIR"_s)->click();
    } else {
        for (QAction* action : window.findChildren<QAction*>())
            if (action->shortcut() == QKeySequence(Qt::Key_F12)) action->trigger();
    }
    QVERIFY(!window.isVisible());
    const auto box = [](const QString& key, int line, int field) {
        data::ParamRead(data::DatabaseFor(u"PDS"_s), key, 190);
        return data::ParamLines().line(line).split(u'#').value(field - 1);
    };
    QCOMPARE(box(u"PAR_LF_2601"_s, 10, 13), A(u"55,00"_s));
    QVERIFY(!data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LF_2603"_s, 190));
    // The settings keep the date as typed.
    data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LX56"_s, 190);
    QCOMPARE(data::ParamLines().line(2), u"01/03/26"_s);
}

void TestTF_LX56::ipiWindow() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    books::TF_LX57 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"F_LX57 - Registro de Apuração do IPI"_s);
    QVERIFY(!window.findChild<QTableView*>(u"DG_ENTRADA"_s)); // no raw-result tabs

    // Without an end date neither "Recalc." nor "Visão" runs.
    Child<QLineEdit>(window, u"E_DATAI"_s)->setText(u"01/01/26"_s);
    // Not reloading: focus moving back to the date must not fill the end date.
    Child<QCheckBox>(window, u"CB_LER"_s)->setChecked(false);
    for (const QString& button : {u"BU_RECALC"_s, u"BU_VISAO"_s}) {
        QString seen;
        test::CloseNextModal(&seen);
        Child<QPushButton>(window, button)->click();
        QCOMPARE(seen, u"Devem ser informadas as datas de Entrada e Saída"_s);
    }
    QVERIFY(!data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_IPI_2601"_s, 190));
    // Nor do the month arrows move without both dates.
    Child<QPushButton>(window, u"BU_MESSEGUINTE"_s)->click();
    QCOMPARE(Child<QLineEdit>(window, u"E_DATAI"_s)->displayText(), u"01/01/26"_s);

    // "Arquivo" hides the grid; "Recalc." shows it again and fills it.
    // The row of buttons above it stays where it was.
    auto* archive = Child<QCheckBox>(window, u"CB_ARQUIVOENT"_s);
    auto* grid = Child<QTableWidget>(window, u"SG_ENTRADA"_s);
    Child<QTabWidget>(window, u"PC_PASTAS"_s)->setCurrentWidget(grid->parentWidget());
    QApplication::processEvents();
    const QPoint buttonsAt = archive->pos();
    archive->setChecked(true);
    QVERIFY(grid->isHidden());
    QApplication::processEvents();
    QCOMPARE(archive->pos(), buttonsAt);
    Child<QLineEdit>(window, u"E_DATAF"_s)->setText(u"31/01/26"_s);
    Child<QPushButton>(window, u"BU_RECALC"_s)->click();
    QVERIFY(!grid->isHidden());
    QCOMPARE(grid->item(0, 1)->text(), u"COMPRA PARA COMERCIALIZACAO"_s);
    QCOMPARE(Child<QLineEdit>(window, u"E_ENT12"_s)->text(), A(u"100,00"_s));
    QVERIFY(data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_IPI_2601"_s, 190));
    window.close();
}

void TestTF_LX56::failedRecalcNotSaved_data() {
    QTest::addColumn<bool>("ipi");
    QTest::addColumn<QString>("key");
    QTest::newRow("LX56") << false << u"PAR_LF_2601"_s;
    QTest::newRow("LX57") << true << u"PAR_IPI_2601"_s;
}

// "Recalc." with a filter the database refuses: the user is told and the
// month's record keeps what it held, the box typed since included; once the
// filter is mended, "Recalc." stores the month again.
void TestTF_LX56::failedRecalcNotSaved() {
    QFETCH(bool, ipi);
    QFETCH(QString, key);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    books::SettlementWindow window(ipi ? books::IpiSettlement() : books::IcmsSettlement());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* start = Child<QLineEdit>(window, u"E_DATAI"_s);
    start->setText(u"01/01/26"_s);
    Leave(start); // an empty month: recalculated and stored
    const QStringList stored = StoredRecord(key);
    QVERIFY(!stored.isEmpty());
    const QString box12 = Child<QLineEdit>(window, u"E_ENT12"_s)->text();
    QCOMPARE(box12, A(ipi ? u"100,00"_s : u"180,00"_s));

    auto* box13 = Child<QLineEdit>(window, u"E_ENT13"_s);
    box13->setText(u"55"_s);
    Leave(box13);
    auto* filter = Child<QLineEdit>(window, u"E_FILTROENT"_s);
    filter->setText(u"NO_SUCH_COLUMN = 1"_s);
    QString seen;
    test::CloseNextModal(&seen);
    Child<QPushButton>(window, u"BU_RECALC"_s)->click();
    QVERIFY2(seen.startsWith(u"A consulta falhou; o mês não foi gravado."_s), qPrintable(seen));
    // The database's reason, then the statement it refused.
    const qsizetype reason = seen.indexOf(u"Column unknown"_s);
    QVERIFY2(reason > 0 && seen.indexOf(u"SELECT"_s) > reason, qPrintable(seen));
    QCOMPARE(StoredRecord(key), stored);
    // The tabs keep the month as it was before "Recalc.".
    QCOMPARE(Child<QLineEdit>(window, u"E_ENT12"_s)->text(), box12);
    QCOMPARE(box13->text(), A(u"55,00"_s));
    QCOMPARE(Child<QTableWidget>(window, u"SG_ENTRADA"_s)->item(0, 0)->text(), u"1102"_s);

    filter->clear();
    Child<QPushButton>(window, u"BU_RECALC"_s)->click();
    QCOMPARE(StoredRecord(key).value(10 - 1).split(u'#').value(13 - 1), A(u"55,00"_s));
    window.close();
}

// Another station holds the month's record: "Salvar" and "Recalc." tell the
// user the month was not saved, and the window stays open; closing tells it
// too and keeps the window open once. The record keeps the station's text.
void TestTF_LX56::heldMonthRecord() {
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    books::TF_LX56 window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* start = Child<QLineEdit>(window, u"E_DATAI"_s);
    start->setText(u"01/01/26"_s);
    Leave(start); // recalculated and stored
    QVERIFY(!StoredRecord(u"PAR_LF_2601"_s).isEmpty());

    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(fixture.erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET TEXTO = '010)OUTRA ESTACAO' WHERE CHAVE = 'PAR_LF_2601'"_s);

    for (const QString& button : {u"BU_SALVAR"_s, u"BU_RECALC"_s}) {
        QString seen;
        test::CloseNextModal(&seen);
        Child<QPushButton>(window, button)->click();
        QVERIFY2(seen.startsWith(u"O mês não foi gravado"_s), qPrintable(button + u": "_s + seen));
        QVERIFY(window.isVisible());
    }
    QString seen;
    test::CloseNextModal(&seen);
    window.close();
    QVERIFY2(seen.contains(u"feche-a de novo para sair sem gravar"_s), qPrintable(seen));
    QVERIFY(window.isVisible());
    data::SetLockTimeoutSeconds(timeout);

    holding.commit();
    QCOMPARE(StoredRecord(u"PAR_LF_2601"_s).value(10 - 1), u"OUTRA ESTACAO"_s);
    // The record is free again: closing saves the tabs and leaves.
    window.close();
    QVERIFY(!window.isVisible());
    QVERIFY(StoredRecord(u"PAR_LF_2601"_s).value(10 - 1).contains(u"180,00"_s));
}

void TestTF_LX56::openedByTheMainWindowsCommands() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    for (const QString& command : {u"LX56"_s, u"LX57"_s}) {
        QString seen;
        test::CloseNextModal(&seen);
        QVERIFY(platform::OpenWindow(command, nullptr, {}));
        QCOMPARE(seen, u"TF_"_s + command);
    }
}

void TestTF_LX56::escapeSavesNothing_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("table"); // where the settings are kept
    QTest::addColumn<QString>("month"); // the month record, if the book has one
    QTest::newRow("LX53") << u"LX53"_s << u"PDE"_s << QString();
    QTest::newRow("LX55") << u"LX55"_s << u"PDS"_s << QString();
    QTest::newRow("LX56") << u"LX56"_s << u"PDS"_s << u"PAR_LF_2601"_s;
    QTest::newRow("LX57") << u"LX57"_s << u"PDS"_s << u"PAR_IPI_2601"_s;
}

// Esc neither closes a book window nor stores anything: not the settings, not
// the month on the tabs. "Sair" (F12) still saves.
void TestTF_LX56::escapeSavesNothing() {
    QFETCH(QString, code);
    QFETCH(QString, table);
    QFETCH(QString, month);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    const auto open = [&code]() -> std::unique_ptr<QDialog> {
        if (code == u"LX53"_s) return std::make_unique<books::TF_LX53>();
        if (code == u"LX55"_s) return std::make_unique<books::TF_LX55>();
        if (code == u"LX56"_s) return std::make_unique<books::TF_LX56>();
        return std::make_unique<books::TF_LX57>();
    };
    const auto closeBySair = [](QDialog& window) {
        for (QAction* action : window.findChildren<QAction*>())
            if (action->shortcut() == QKeySequence(Qt::Key_F12)) action->trigger();
    };
    const QString key = u"PAR_"_s + code;
    {
        // January saved (and, for a settlement, recalculated and stored).
        std::unique_ptr<QDialog> first = open();
        first->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        auto* start = Child<QLineEdit>(*first, u"E_DATAI"_s);
        start->setText(u"01/01/26"_s);
        Leave(start);
        closeBySair(*first);
        QVERIFY(!first->isVisible());
    }
    const QStringList settings = StoredRecord(key, table);
    QVERIFY(!settings.isEmpty());
    const QStringList monthRecord = month.isEmpty() ? QStringList() : StoredRecord(month);
    QVERIFY(month.isEmpty() || !monthRecord.isEmpty());

    std::unique_ptr<QDialog> window = open();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    auto* start = Child<QLineEdit>(*window, u"E_DATAI"_s);
    start->setFocus();
    QTest::keyClicks(start, u"010226"_s);
    QCOMPARE(start->displayText(), u"01/02/26"_s);
    Child<QLineEdit>(*window, u"E_PAGINA"_s)->setText(u"7"_s);
    if (!month.isEmpty()) {
        auto* box13 = Child<QLineEdit>(*window, u"E_ENT13"_s);
        box13->setFocus();
        box13->setText(u"55"_s);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
    QCOMPARE(StoredRecord(key, table), settings);
    if (!month.isEmpty()) QCOMPARE(StoredRecord(month), monthRecord);

    closeBySair(*window);
    QVERIFY(!window->isVisible());
    QVERIFY(StoredRecord(key, table) != settings);
}

QTEST_MAIN(TestTF_LX56)
#include "test_tf_lx56.moc"
