// The controlled-medicines window: opened from the registry by the main
// menu's code, leaving "DATA INICIAL" setting the month's last day, the
// links handing the dialogs the items' table (the filter's columns named
// "PIS.") and taking their results through the star rule, the company's
// licences read on show, and the settings written on closing and read back
// by the next window.

#include "books/tf_lx53.h"
#include "books/tf_lx67.h"
#include "data/param_store.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "platform/window_registry.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

QString SavedLine(int line) {
    data::ParamRead(data::DatabaseFor(u"PDS"_s), u"PAR_LX67"_s, 190);
    return data::ParamLines().line(line);
}

template <typename Widget> Widget* Child(QWidget& window, const QString& name) {
    auto* child = window.findChild<Widget*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

} // namespace

class TestTF_LX67 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2008, 4, 2), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void opensFromTheRegistry();
    void leavingTheStartSetsTheEnd();
    void settingsRoundTrip();
    void companyLicences();
    void links();
    void refusedFilter();
};

void TestTF_LX67::opensFromTheRegistry() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    QString seen;
    test::OnModal(u"TF_LX67"_s, [&](QWidget* window) {
        seen = window ? window->windowTitle() : QString();
        if (window) window->close();
    });
    QVERIFY(platform::OpenWindow(u"LX67"_s, nullptr, {}));
    QCOMPARE(seen, u"F_LX67 - Produtos Controlados"_s);
}

void TestTF_LX67::leavingTheStartSetsTheEnd() {
    test::ModuleFixture fixture;
    books::TF_LX67 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    auto* start = Child<QLineEdit>(book, u"SEL_DTINICIAL"_s);
    auto* end = Child<QLineEdit>(book, u"SEL_DTFINAL"_s);
    const struct {
        QString start, end;
    } cases[] = {{u"01/03/08"_s, u"31/03/08"_s},
                 {u"15/02/08"_s, u"29/02/08"_s},
                 {u"31/02/08"_s, QString()}, // no date: the end emptied
                 {QString(), QString()}};
    for (const auto& each : cases) {
        end->setText(u"01/01/01"_s);
        start->setFocus();
        start->setText(each.start);
        QTest::keyClick(start, Qt::Key_Return); // Enter moves on: the start is left
        QCOMPARE(end->text().remove(u'/').trimmed(), QString(each.end).remove(u'/'));
    }
    book.close();
}

void TestTF_LX67::settingsRoundTrip() {
    test::ModuleFixture fixture;
    {
        books::TF_LX67 book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        QVERIFY(!Child<QCheckBox>(book, u"CB_TROCATITULO"_s)->isChecked());
        Child<QLineEdit>(book, u"SEL_DTINICIAL"_s)->setText(u"01/03/08"_s);
        Child<QLineEdit>(book, u"SEL_DTFINAL"_s)->setText(u"31/03/08"_s);
        Child<QLineEdit>(book, u"E_FILTRO"_s)->setText(u"PIS.LOTE LIKE 'L12%'"_s);
        Child<QLineEdit>(book, u"E_ORDEM"_s)->setText(u"PIS.DATA, PIS.NNOTA"_s);
        Child<QCheckBox>(book, u"CB_TROCATITULO"_s)->setChecked(true);
        book.close();
    }
    QCOMPARE((QStringList{SavedLine(1), SavedLine(2), SavedLine(4), SavedLine(5), SavedLine(6)}),
             (QStringList{u"01/03/08"_s, u"31/03/08"_s, u"PIS.LOTE LIKE 'L12%'"_s,
                          u"PIS.DATA, PIS.NNOTA"_s, u"S"_s}));
    books::TF_LX67 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const books::LX67Options read = again.inputs();
    QCOMPARE(read.startDate, u"01/03/08"_s);
    QCOMPARE(read.endDate, u"31/03/08"_s);
    QCOMPARE(read.filter, u"PIS.LOTE LIKE 'L12%'"_s);
    QCOMPARE(read.order, u"PIS.DATA, PIS.NNOTA"_s);
    QVERIFY(read.swapTitles);
    // Unchecked is stored "N" and read back unchecked.
    Child<QCheckBox>(again, u"CB_TROCATITULO"_s)->setChecked(false);
    again.close();
    QCOMPARE(SavedLine(6), u"N"_s);
    books::TF_LX67 third;
    third.show();
    QVERIFY(QTest::qWaitForWindowExposed(&third));
    QVERIFY(!third.inputs().swapTitles);
    third.close();
}

void TestTF_LX67::companyLicences() {
    test::ModuleFixture fixture;
    data::ParamLines().clear();
    data::ParamLines().setLine(1, u"DROGARIA MODELO#RUA DAS FLORES 10"_s);
    data::ParamLines().setLine(8, u" AE-77 #2#3#4#5#6#AF-1#LF-2"_s);
    data::ParamLines().setLine(9, u"1#2#3#4#5#6# SP #12345"_s);
    QVERIFY(data::ParamWrite(data::ParamDatabase(), u"VRTNCAE"_s, 20));
    books::TF_LX67 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    const books::LX67Company& company = book.company();
    QCOMPARE((QStringList{company.name, company.address, company.specialAuthorisation,
                          company.operatingAuthorisation, company.operatingLicence,
                          company.crfState, company.crfNumber}),
             (QStringList{u"DROGARIA MODELO"_s, u"RUA DAS FLORES 10"_s, u"AE-77"_s, u"AF-1"_s,
                          u"LF-2"_s, u"SP"_s, u"12345"_s}));
    book.close();
}

void TestTF_LX67::links() {
    test::ModuleFixture fixture;
    books::TF_LX67 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QStringList handed;
    platform::RegisterWindow(u"SELF"_s, [&](QWidget*, const QStringList& arguments) {
        handed = arguments;
        data::ReturnedValues().values[0] = u"PIS.LOTE = 'L12*'#PIS.SIGLA = 'CLI1'"_s;
        data::ReturnedValues().rowChosen = true;
    });
    auto* filter = Child<QLineEdit>(book, u"E_FILTRO"_s);
    filter->setText(u"X"_s);
    QTest::mouseClick(Child<QLabel>(book, u"LA_FILTRO"_s), Qt::LeftButton);
    platform::UnregisterWindow(u"SELF"_s);
    QCOMPARE(handed, (QStringList{u"SQL"_s, u"PIS"_s, u"X"_s, u"PIS."_s}));
    QCOMPARE(filter->text(), u"PIS.LOTE LIKE 'L12%' AND PIS.SIGLA = 'CLI1'"_s);

    platform::RegisterWindow(u"SELC"_s, [&](QWidget*, const QStringList& arguments) {
        handed = arguments;
        data::ReturnedValues().values[0] = u"DATA#PRO.PRODUTO"_s;
        data::ReturnedValues().rowChosen = true;
    });
    auto* order = Child<QLineEdit>(book, u"E_ORDEM"_s);
    order->setText(u"PIS.NNOTA, PIS.LOTE"_s);
    QTest::mouseClick(Child<QLabel>(book, u"LA_ORDEM"_s), Qt::LeftButton);
    platform::UnregisterWindow(u"SELC"_s);
    QCOMPARE(handed, (QStringList{u"ARQUIVO#"_s, u"PIS"_s, u"PIS.NNOTA# PIS.LOTE"_s}));
    QCOMPARE(order->text(), u"PIS.DATA, PRO.PRODUTO"_s);
    book.close();
}

void TestTF_LX67::refusedFilter() {
    // "Visão" with a filter the database refuses: its message, no pages.
    test::ModuleFixture fixture;
    books::TF_LX67 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    Child<QLineEdit>(book, u"SEL_DTINICIAL"_s)->setText(u"01/03/08"_s);
    Child<QLineEdit>(book, u"SEL_DTFINAL"_s)->setText(u"31/03/08"_s);
    Child<QLineEdit>(book, u"E_FILTRO"_s)->setText(u"PIS.NO_SUCH_COLUMN = 1"_s);
    test::DialogLog log;
    Child<QPushButton>(book, u"BU_VISAO"_s)->click();
    // The print window comes up to run the list and goes without a page;
    // the error is what the user is left with.
    QCOMPARE(log.names().value(log.names().size() - 1), u"ERROR_BOX"_s);
    QVERIFY2(log.shown().last().text.contains(u"NO_SUCH_COLUMN"_s),
             qPrintable(log.shown().last().text));
    QCOMPARE(log.names().count(u"ERROR_BOX"_s), 1);
    book.close();
}

QTEST_MAIN(TestTF_LX67)
#include "test_tf_lx67.moc"
