// The Inventário Retroativo window: opened from the registry, a new
// installation's controls, "Campo Valor" following the layout, the filter
// links naming the item tables as the query does, the settings written on
// closing and read back by the next window, and the grid filled with the
// item rows of a run.

#include "books/tf_lx40.h"
#include "books/tf_lx53.h"
#include "data/param_store.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

using test::CloseNextModal;

namespace {

QString SavedLine(int line) {
    data::ParamRead(data::DatabaseFor(u"PDE"_s), u"PAR_LX40"_s, 190);
    return data::ParamLines().line(line);
}

template <typename Widget> Widget* Child(QWidget& window, const QString& name) {
    auto* child = window.findChild<Widget*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

} // namespace

class TestTF_LX40 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void opensFromTheRegistry();
    void newInstallation();
    void settingsRoundTrip();
    void filterLinks();
    void gridAfterRun();
};

void TestTF_LX40::opensFromTheRegistry() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    QString seen;
    test::OnModal(u"TF_LX40"_s, [&](QWidget* window) {
        seen = window ? window->windowTitle() : QString();
        if (window) window->close();
    });
    QVERIFY(platform::OpenWindow(u"LX40"_s, nullptr, {}));
    QCOMPARE(seen, u"F_LX40 - INVENTÁRIO RETROATIVO"_s);
}

void TestTF_LX40::newInstallation() {
    test::ModuleFixture fixture;
    books::TF_LX40 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QCOMPARE(Child<QLineEdit>(book, u"E_DATAF"_s)->displayText(), u"03/02/26"_s); // today
    QCOMPARE(Child<QLineEdit>(book, u"E_PAG"_s)->text(), u"1"_s);
    QCOMPARE(Child<QLineEdit>(book, u"E_TITULO"_s)->text(), u"LX40 - INVENTÁRIO"_s);
    auto* layout = Child<QComboBox>(book, u"CB_OPCOES"_s);
    auto* value = Child<QComboBox>(book, u"CB_VALOR"_s);
    QCOMPARE(layout->currentText(), u"00 - Class.Fiscal/Unid/Saldo/Valor/Saldo x Valor"_s);
    QCOMPARE(value->currentText(), u"0 - Custo Médio"_s);
    QCOMPARE(value->count(), 10);
    QVERIFY(Child<QCheckBox>(book, u"CB_SALDOPOS"_s)->isChecked());
    QVERIFY(!Child<QCheckBox>(book, u"CB_CUSTOMED"_s)->isChecked());
    QVERIFY(!Child<QCheckBox>(book, u"CB_RESUMO"_s)->isChecked());
    // "Campo Valor" values the layout "00" only.
    QVERIFY(value->isEnabled());
    layout->setCurrentIndex(1);
    QVERIFY(!value->isEnabled());
    layout->setCurrentIndex(0);
    QVERIFY(value->isEnabled());
    // "Arquivos" > "Imprimir Tela", then "Sair".
    QMenu* files = book.findChild<QMenuBar*>()->actions().value(0)->menu();
    QCOMPARE(files->title(), u"Arquivos"_s);
    QStringList items;
    for (const QAction* action : files->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{u"Imprimir Tela"_s, u"Sair"_s}));
    book.close();
}

void TestTF_LX40::settingsRoundTrip() {
    test::ModuleFixture fixture;
    {
        books::TF_LX40 book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"31/12/25"_s);
        Child<QComboBox>(book, u"CB_OPCOES"_s)->setCurrentIndex(4);
        Child<QComboBox>(book, u"CB_VALOR"_s)->setCurrentIndex(8);
        Child<QLineEdit>(book, u"E_LIVRO"_s)->setText(u"3"_s);
        Child<QLineEdit>(book, u"E_PAG"_s)->setText(u"12"_s);
        Child<QLineEdit>(book, u"E_TITULO"_s)->setText(u"BALANÇO"_s);
        Child<QLineEdit>(book, u"E_FILTROE"_s)->setText(u"PIE.NATOPER = 1102"_s);
        Child<QLineEdit>(book, u"E_FILTROS"_s)->setText(u"PIS.NATOPER = 5102"_s);
        Child<QCheckBox>(book, u"CB_SALDOPOS"_s)->setChecked(false);
        Child<QCheckBox>(book, u"CB_CUSTOMED"_s)->setChecked(true);
        Child<QCheckBox>(book, u"CB_RESUMO"_s)->setChecked(true);
        book.close();
    }
    const QStringList saved{SavedLine(2),  SavedLine(3),  SavedLine(4),  SavedLine(5),
                            SavedLine(6),  SavedLine(8),  SavedLine(10), SavedLine(11),
                            SavedLine(20), SavedLine(21), SavedLine(22)};
    QCOMPARE(saved,
             (QStringList{u"BALANÇO"_s, u"3"_s, u"12"_s, u"05 - Entradas/Saídas/Acertos/Saldos"_s,
                          u"8 - Pr. Compra"_s, u"31/12/25"_s, u"PIE.NATOPER = 1102"_s,
                          u"PIS.NATOPER = 5102"_s, u"N"_s, u"S"_s, u"S"_s}));
    books::TF_LX40 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const books::LX40Options read = again.inputs();
    QCOMPARE(read.baseDate, u"31/12/25"_s);
    QCOMPARE(read.layout, u"05"_s);
    QCOMPARE(read.valueField, 8);
    QCOMPARE(read.bookNumber, u"3"_s);
    QCOMPARE(read.firstPage, u"12"_s);
    QCOMPARE(read.title, u"BALANÇO"_s);
    QCOMPARE(read.entryFilter, u"PIE.NATOPER = 1102"_s);
    QCOMPARE(read.exitFilter, u"PIS.NATOPER = 5102"_s);
    QVERIFY(!read.positiveOnly);
    QVERIFY(read.registerCost);
    QVERIFY(read.summary);
    QVERIFY(!Child<QComboBox>(again, u"CB_VALOR"_s)->isEnabled());
    again.close();
}

void TestTF_LX40::filterLinks() {
    test::ModuleFixture fixture;
    books::TF_LX40 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    const struct {
        QString link, edit, table, prefix;
    } links[] = {{u"LA_FILTROE"_s, u"E_FILTROE"_s, u"PIE"_s, u"PIE."_s},
                 {u"LA_FILTROS"_s, u"E_FILTROS"_s, u"PIS"_s, u"PIS."_s}};
    for (const auto& link : links) {
        QStringList handed;
        platform::RegisterWindow(u"SELF"_s, [&](QWidget*, const QStringList& arguments) {
            handed = arguments;
            data::ReturnedValues().values[0] = link.prefix + u"NATOPER = 1102"_s;
            data::ReturnedValues().rowChosen = true;
        });
        auto* filter = Child<QLineEdit>(book, link.edit);
        filter->setText(u"X"_s);
        QTest::mouseClick(Child<QLabel>(book, link.link), Qt::LeftButton);
        platform::UnregisterWindow(u"SELF"_s);
        QCOMPARE(handed, (QStringList{u"SQL"_s, link.table, u"X"_s, link.prefix}));
        QCOMPARE(filter->text(), link.prefix + u"NATOPER = 1102"_s);
    }
    book.close();
}

void TestTF_LX40::gridAfterRun() {
    test::ModuleFixture fixture;
    fixture.erp().load(uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, SALDOINIC) VALUES ('A1', 'ALFA', 10);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (1, 1, '10.01.2026', 'F', 'S', 'A1', 2, 1);
INSERT INTO VRTNPIE (PEDIDO, SEQ, DATA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (2, 1, '10.02.2026', 'F', 'S', 'A1', 2, 1);
INSERT INTO VRTNPIS (PEDIDO, SEQ, DATA, DTNOTA, FAT, ATUPRO, PRODUTO, QUANT, VALOR) VALUES (5, 1, '12.01.2026', '12.01.2026', 'F', 'S', 'A1', 1, 1);
)"_s);
    books::TF_LX40 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    auto* grid = Child<QTableView>(book, u"DBGrid1"_s);
    QCOMPARE(grid->model()->rowCount(), 0);
    Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"31/01/26"_s);
    QString seen;
    CloseNextModal(&seen);
    Child<QPushButton>(book, u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"TF_PRINT"_s);
    // The entry of February is after the base date.
    const QAbstractItemModel* items = grid->model();
    QCOMPARE(items->rowCount(), 2);
    QCOMPARE(items->headerData(0, Qt::Horizontal).toString(), u"PRODUTO"_s);
    QCOMPARE(items->headerData(2, Qt::Horizontal).toString(), u"ES"_s);
    QCOMPARE(items->index(0, 2).data().toString(), u"E"_s);
    QCOMPARE(items->index(1, 2).data().toString(), u"S"_s);
    QCOMPARE(items->index(1, 10).data().toString(), u"ALFA"_s);
    // The navigator moves along the rows.
    Child<QPushButton>(book, u"DBNavigator1_Last"_s)->click();
    QCOMPARE(grid->currentIndex().row(), 1);
    Child<QPushButton>(book, u"DBNavigator1_First"_s)->click();
    QCOMPARE(grid->currentIndex().row(), 0);

    // A date that is none is refused before anything runs; the grid keeps
    // what it showed.
    Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"31/02/26"_s);
    seen.clear();
    CloseNextModal(&seen);
    Child<QPushButton>(book, u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"Data inválida: 31/02/26"_s);
    QCOMPARE(items->rowCount(), 2);
    book.close();
}

QTEST_MAIN(TestTF_LX40)
#include "test_tf_lx40.moc"
