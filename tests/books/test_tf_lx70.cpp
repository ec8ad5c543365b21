// The Livro de ISSQN window: opened from the window registry, its inputs
// saved on closing and shown again, "Dt. Recolhimento" moved by
// "Dt. Inicial", "Campo" limited to the exits table's DATE columns, and
// "Retido" showing the withheld tax of the invoices.

#include "books/lx70_settings.h"
#include "books/tf_lx53.h"
#include "books/tf_lx70.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Child(QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qFatal("no %s", qPrintable(name));
    return child;
}

} // namespace

class TestTF_LX70 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void openedFromTheRegistry();
    void settingsRoundTrip();
    void startDateMovesPaymentDate();
    void withheldButton();
    void refusesAFieldThatIsNotADate();
    void filterAndPreview();
};

void TestTF_LX70::openedFromTheRegistry() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    QString seen;
    test::CloseNextModal(&seen);
    QVERIFY(platform::OpenWindow(u"LX70"_s, nullptr, {}));
    QCOMPARE(seen, u"TF_LX70"_s);
}

void TestTF_LX70::settingsRoundTrip() {
    test::ModuleFixture fixture;
    {
        books::TF_LX70 book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        QCOMPARE(book.windowTitle(), u"F_LX70 - Livro de ISSQN"_s);
        QCOMPARE(Child<QComboBox>(book, u"CB_CALCULO"_s)->currentIndex(), 0);
        QCOMPARE(Child<QLineEdit>(book, u"E_RETIDOCALC"_s)->text(), u"0"_s);
        Child<QLineEdit>(book, u"E_DATAI"_s)->setText(u"01/04/26"_s);
        Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"30/04/26"_s);
        Child<QLineEdit>(book, u"E_ALIQUOTA"_s)->setText(u"2,5"_s);
        Child<QComboBox>(book, u"CB_CALCULO"_s)->setCurrentIndex(1);
        Child<QComboBox>(book, u"CB_VALOR"_s)->setCurrentIndex(1);
        Child<QLineEdit>(book, u"E_PROFISSIONAIS"_s)->setText(u"4"_s);
        auto* iss = Child<QLineEdit>(book, u"E_VALORISS"_s);
        iss->setText(u"12,5"_s);
        Q_EMIT iss->editingFinished();
        QCOMPARE(iss->text().trimmed(), u"12,50"_s);
        Child<QCheckBox>(book, u"CB_ZERAR"_s)->setChecked(true);
        Child<QLineEdit>(book, u"E_OBS"_s)->setText(u"obs"_s);
        book.close();
    }
    books::TF_LX70 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const books::LX70Options read = again.bookInputs();
    QCOMPARE(read.period.startDate, u"01/04/26"_s);
    QCOMPARE(read.period.endDate, u"30/04/26"_s);
    QCOMPARE(read.rate, qint64(25000));
    QCOMPARE(read.method, books::LX70Method::Register);
    QVERIFY(read.gross);
    QCOMPARE(read.professionals, 4);
    // 12,50 comes back as 12,50, not as 12.
    QCOMPARE(read.issValue, qint64(125000));
    QCOMPARE(Child<QLineEdit>(again, u"E_VALORISS"_s)->text().trimmed(), u"12,50"_s);
    QVERIFY(read.zeroDeductions && !read.copyNetToBase && !read.productsFirst);
    QCOMPARE(read.note, u"obs"_s);
    again.close();
}

void TestTF_LX70::startDateMovesPaymentDate() {
    test::ModuleFixture fixture;
    books::TF_LX70 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    auto* payment = Child<QLineEdit>(book, u"E_DTRECOLHIMENTO"_s);
    payment->setText(u"31/01/26"_s);
    auto* start = Child<QLineEdit>(book, u"E_DATAI"_s);
    start->setText(u"01/03/26"_s);
    Q_EMIT start->editingFinished();
    QCOMPARE(Child<QLineEdit>(book, u"E_DATAF"_s)->displayText(), u"31/03/26"_s);
    QCOMPARE(payment->displayText(), u"30/04/26"_s);
    book.close();
}

void TestTF_LX70::withheldButton() {
    test::ModuleFixture fixture;
    fixture.erp().load(uR"(
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (1, 10, '05.04.2026', 'F', 100, 100, 100, 5, 1.25);
INSERT INTO VRTNPDS (PEDIDO, NNOTA, DTNOTA, FAT, LIQUIDO, VALOR, ISQNBASE, ISQNVALOR, ISQNRET) VALUES (2, 11, '06.04.2026', 'F', 100, 100, 100, 5, 2);
)"_s);
    books::TF_LX70 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    Child<QLineEdit>(book, u"E_DATAI"_s)->setText(u"01/04/26"_s);
    Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"30/04/26"_s);
    Child<QComboBox>(book, u"CB_CAMPO"_s)->setCurrentText(u"DTNOTA"_s);
    Child<QComboBox>(book, u"CB_CALCULO"_s)->setCurrentIndex(2);
    Child<QPushButton>(book, u"BU_RETIDO"_s)->click();
    QCOMPARE(Child<QLineEdit>(book, u"E_RETIDOCALC"_s)->text().trimmed(), u"3,25"_s);
    // The table comes back to the caller, not through a global.
    const std::optional<books::LX70DayTable> table = book.withheld();
    QVERIFY(table);
    QCOMPARE(table->days[4].numbers, u"10,"_s);
    QCOMPARE(table->days[5].numbers, u"11,"_s);
    book.close();
}

void TestTF_LX70::refusesAFieldThatIsNotADate() {
    test::ModuleFixture fixture;
    books::TF_LX70 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    auto* field = Child<QComboBox>(book, u"CB_CAMPO"_s);
    // The list offers the DATE columns of the exits table.
    QVERIFY(field->findText(u"DTNOTA"_s) >= 0);
    Child<QLineEdit>(book, u"E_DATAI"_s)->setText(u"01/04/26"_s);
    Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"30/04/26"_s);
    field->setCurrentText(u"NNOTA"_s);
    QString seen;
    test::CloseNextModal(&seen);
    Child<QPushButton>(book, u"BU_RETIDO"_s)->click();
    QVERIFY2(seen.contains(u"NNOTA"_s), qPrintable(seen));
    book.close();
}

// "Filtros" builds a filter on the exits table; "Visão" opens the preview.
void TestTF_LX70::filterAndPreview() {
    test::ModuleFixture fixture;
    books::TF_LX70 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QStringList handed;
    platform::RegisterWindow(u"SELF"_s,
                             [&](QWidget*, const QStringList& arguments) { handed = arguments; });
    Child<QLineEdit>(book, u"E_FILTRO"_s)->setText(u"SERIE = '1'"_s);
    QTest::mouseClick(Child<QLabel>(book, u"LA_FILTROS"_s), Qt::LeftButton);
    QCOMPARE(handed, (QStringList{u"SQL"_s, u"PDS"_s, u"SERIE = '1'"_s}));
    platform::UnregisterWindow(u"SELF"_s);
    Child<QLineEdit>(book, u"E_DATAI"_s)->setText(u"01/04/26"_s);
    Child<QLineEdit>(book, u"E_DATAF"_s)->setText(u"30/04/26"_s);
    QString seen;
    test::CloseNextModal(&seen);
    Child<QPushButton>(book, u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"TF_PRINT"_s);
    book.close();
}

QTEST_MAIN(TestTF_LX70)
#include "test_tf_lx70.moc"
