// The window of the sales without tax-substitution retention: opened from the
// registry, a new installation's controls, "Montar Arquivo" following its
// rules (first window of the day, a table that is empty or ends before the
// period, unchecked after a build, still checked after a failed one), the
// font size mended by a run, and the settings read back.

#include "books/tf_lx53.h"
#include "books/tf_lx64.h"
#include "data/param_store.h"
#include "data/query_helpers.h"
#include "data/routing.h"
#include "platform/clock.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

using test::CloseNextModal;

namespace {

template <typename Widget> Widget* Child(QWidget& window, const QString& name) {
    auto* child = window.findChild<Widget*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

const QString Sales = uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, SUBSTRIB, SALDOINIC) VALUES ('A', 'ALFA', 'S', 0);
INSERT INTO VRTNPIE (PEDIDO, SEQ, NNOTA, DATA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT) VALUES (1, 1, 501, '05.01.2026', 102, 'F', 'S', 'A', 10);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, DTNOTA, NATOPER, FAT, ATUPRO, PRODUTO, QUANT) VALUES (11, 1, 901, '10.01.2026', 512, 'F', 'S', 'A', 4);
)"_s;

} // namespace

class TestTF_LX64 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 2, 3), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void opensFromTheRegistry();
    void newInstallation();
    void runBuildsOnceAndKeepsSettings();
    void failedBuildStaysChecked();
};

void TestTF_LX64::opensFromTheRegistry() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    QString seen;
    test::OnModal(u"TF_LX64"_s, [&](QWidget* window) {
        seen = window ? window->windowTitle() : QString();
        if (window) window->close();
    });
    QVERIFY(platform::OpenWindow(u"LX64"_s, nullptr, {}));
    QCOMPARE(seen, u"F_LX64 - Produtos vendidos sem retençao da Subst. Tributária"_s);
}

void TestTF_LX64::newInstallation() {
    test::ModuleFixture fixture;
    books::TF_LX64 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QCOMPARE(Child<QLineEdit>(book, u"E_DTINICIAL"_s)->displayText(), u"01/02/26"_s);
    QCOMPARE(Child<QLineEdit>(book, u"E_PAGINA"_s)->text(), u"1"_s);
    QCOMPARE(Child<QLineEdit>(book, u"E_TAMFONTE"_s)->text(), u"7"_s);
    auto* field = Child<QLineEdit>(book, u"SEL_DTCOMBO"_s);
    QCOMPARE(field->text(), u"DTNOTA"_s);
    QVERIFY(!field->isEnabled());
    QVERIFY(Child<QCheckBox>(book, u"CB_MONTARQ"_s)->isChecked());
    QVERIFY(!Child<QCheckBox>(book, u"CB_TODAS_NOTAS"_s)->isChecked());
    QVERIFY(Child<QRadioButton>(book, u"RG_TIPO_0"_s)->isChecked());
    QVERIFY(Child<QRadioButton>(book, u"RG_ESTADO_0"_s)->isChecked());
    // Leaving the start date ends the period on the last day of its month.
    auto* start = Child<QLineEdit>(book, u"E_DTINICIAL"_s);
    start->setText(u"10/02/24"_s);
    emit start->editingFinished();
    QCOMPARE(Child<QLineEdit>(book, u"E_DTFINAL"_s)->displayText(), u"29/02/24"_s);
    book.close();
}

void TestTF_LX64::runBuildsOnceAndKeepsSettings() {
    test::ModuleFixture fixture;
    fixture.erp().load(Sales);
    {
        books::TF_LX64 book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        Child<QLineEdit>(book, u"E_DTINICIAL"_s)->setText(u"01/01/26"_s);
        Child<QLineEdit>(book, u"E_DTFINAL"_s)->setText(u"31/01/26"_s);
        Child<QLineEdit>(book, u"E_TAMFONTE"_s)->setText(u"3"_s);
        Child<QLineEdit>(book, u"E_SERIEDIF"_s)->setText(u"U"_s);
        Child<QRadioButton>(book, u"RG_ESTADO_2"_s)->setChecked(true);
        QString seen;
        CloseNextModal(&seen);
        Child<QPushButton>(book, u"BU_VISAO"_s)->click();
        QCOMPARE(seen, u"TF_PRINT"_s);
        QVERIFY(!Child<QCheckBox>(book, u"CB_MONTARQ"_s)->isChecked());
        QCOMPARE(Child<QLineEdit>(book, u"E_TAMFONTE"_s)->text(), u"7"_s);
        book.close();
    }
    QVERIFY(data::CountRows(u"P50"_s) > 0);
    // The same day, a period the table covers: no build asked for.
    books::TF_LX64 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const books::LX64Options read = again.inputs();
    QCOMPARE(read.startDate, u"01/01/26"_s);
    QCOMPARE(read.endDate, u"31/01/26"_s);
    QCOMPARE(read.series, u"U"_s);
    QCOMPARE(read.state, 2);
    QCOMPARE(read.fontSize, u"7"_s);
    QVERIFY(!read.build);
    // A start after the last exit in the table asks for one.
    auto* start = Child<QLineEdit>(again, u"E_DTINICIAL"_s);
    start->setText(u"01/02/26"_s);
    emit start->editingFinished();
    QVERIFY(Child<QCheckBox>(again, u"CB_MONTARQ"_s)->isChecked());
    again.close();
}

void TestTF_LX64::failedBuildStaysChecked() {
    test::ModuleFixture fixture;
    fixture.erp().load(Sales);
    fixture.erp().exec(u"ALTER TABLE VRTNP50 ADD CONSTRAINT P50_TEST CHECK (PRODUTO <> 'A')"_s);
    books::TF_LX64 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QString seen;
    CloseNextModal(&seen);
    Child<QPushButton>(book, u"BU_VISAO"_s)->click();
    QVERIFY2(seen.startsWith(u"A montagem do arquivo VRTNP50 falhou"_s), qPrintable(seen));
    QVERIFY(Child<QCheckBox>(book, u"CB_MONTARQ"_s)->isChecked());
    book.close();
}

QTEST_MAIN(TestTF_LX64)
#include "test_tf_lx64.moc"
