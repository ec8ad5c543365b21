// The Registro de Entradas window: its defaults, leaving "Dt. Inicial", a
// refused date, and a run shown in the preview; the option boxes of both
// invoice books as their tables declare them.

#include "books/invoice_book_settings.h"
#include "books/tf_lx53.h"
#include "books/tf_lx55.h"
#include "data/param_store.h"
#include "data/returned_values.h"
#include "data/routing.h"
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

using test::CloseNextModal;

namespace {

// The window shows a box per option of the table, with its caption and its
// default; each box changed is saved on the option's line and read back into
// the option's field.
template <typename Window, typename Options>
void CheckOptionBoxes(const books::LineBookSettings<Options>& settings) {
    {
        Window book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        for (const books::BookOption<Options>& option : settings.options) {
            auto* box = book.template findChild<QCheckBox*>(option.objectName);
            QVERIFY2(box, qPrintable(option.objectName));
            QCOMPARE(box->text(), option.caption);
            QCOMPARE(box->isChecked(), option.checkedByDefault);
            box->setChecked(!option.checkedByDefault);
        }
        book.close();
    }
    data::ParamRead(data::DatabaseFor(settings.table), settings.key, settings.lines);
    for (const books::BookOption<Options>& option : settings.options)
        QCOMPARE(data::ParamLines().line(option.line), option.checkedByDefault ? u"N"_s : u"S"_s);
    const Options saved = books::LoadBookSettings(settings);
    for (const books::BookOption<Options>& option : settings.options)
        QCOMPARE(saved.*option.field, !option.checkedByDefault);
}

} // namespace

class TestTF_LX53 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void window();
    void exitsWindow();
    void optionBoxes();
};

void TestTF_LX53::optionBoxes() {
    test::ModuleFixture fixture;
    CheckOptionBoxes<books::TF_LX53>(books::LX53Settings());
    if (QTest::currentTestFailed()) return;
    CheckOptionBoxes<books::TF_LX55>(books::LX55Settings());
}

void TestTF_LX53::exitsWindow() {
    test::ModuleFixture fixture;
    books::TF_LX55 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QCOMPARE(book.windowTitle(), u"F_LX55 - REGISTRO DE SAÍDA"_s);
    // A new installation: every box checked but the company's.
    QVERIFY(book.findChild<QCheckBox*>(u"CB_IPI"_s)->isChecked());
    QVERIFY(!book.findChild<QCheckBox*>(u"CB_EMPRESA"_s)->isChecked());
    QVERIFY(book.findChild<QCheckBox*>(u"CB_ICM"_s)->isChecked());
    QVERIFY(book.findChild<QCheckBox*>(u"CB_ST"_s)->isChecked());
    auto* start = book.findChild<QLineEdit*>(u"E_DATAI"_s);
    auto* end = book.findChild<QLineEdit*>(u"E_DATAF"_s);
    auto* field = book.findChild<QComboBox*>(u"CB_CAMPO"_s);
    field->setCurrentText(QString());
    start->setText(u"15/02/04"_s);
    Q_EMIT start->editingFinished();
    QCOMPARE(end->displayText(), u"29/02/04"_s);
    QCOMPARE(field->currentText(), u"DTNOTA"_s);
    // The exits book takes the month of a day that does not exist.
    start->setText(u"31/02/04"_s);
    Q_EMIT start->editingFinished();
    QCOMPARE(end->displayText(), u"29/02/04"_s);
    end->setText(u"01/01/04"_s);
    start->clear(); // a blank start leaves the end date alone
    Q_EMIT start->editingFinished();
    QCOMPARE(end->displayText(), u"01/01/04"_s);
    book.findChild<QCheckBox*>(u"CB_EMPRESA"_s)->setChecked(true);
    book.close();
    books::TF_LX55 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QVERIFY(again.findChild<QCheckBox*>(u"CB_EMPRESA"_s)->isChecked());
    again.close();
}

void TestTF_LX53::window() {
    test::ModuleFixture fixture;
    books::TF_LX53 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QCOMPARE(book.windowTitle(), u"F_LX53 - REGISTRO DE ENTRADA"_s);
    QVERIFY(book.findChild<QCheckBox*>(u"CB_IPI"_s)->isChecked());
    QVERIFY(book.findChild<QCheckBox*>(u"CB_ICM"_s)->isChecked());

    auto* start = book.findChild<QLineEdit*>(u"E_DATAI"_s);
    auto* end = book.findChild<QLineEdit*>(u"E_DATAF"_s);
    auto* field = book.findChild<QComboBox*>(u"CB_CAMPO"_s);
    field->setCurrentText(QString());
    start->setText(u"15/02/04"_s);
    Q_EMIT start->editingFinished();
    QCOMPARE(end->displayText(), u"29/02/04"_s);
    QCOMPARE(field->currentText(), u"DATA"_s);
    // The entries book gives no end for a start that is not a date.
    start->setText(u"31/02/04"_s);
    Q_EMIT start->editingFinished();
    QCOMPARE(end->displayText(), u"  /  /  "_s);
    start->setText(u"15/02/04"_s);

    // An impossible date is refused before any query runs.
    end->setText(u"31/02/04"_s);
    QString seen;
    CloseNextModal(&seen);
    book.findChild<QPushButton*>(u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"Data inválida: 31/02/04"_s);

    // A valid period opens the preview with the book.
    end->setText(u"29/02/04"_s);
    seen.clear();
    CloseNextModal(&seen);
    book.findChild<QPushButton*>(u"BU_VISAO"_s)->click();
    QCOMPARE(seen, u"TF_PRINT"_s);

    // "Filtros" hands the current filter to the filter window and takes back
    // what the user applied (and nothing when the user cancels).
    QStringList handed;
    bool apply = true;
    platform::RegisterWindow(u"SELF"_s, [&](QWidget*, const QStringList& arguments) {
        handed = arguments;
        data::ReturnedValues().values[0] = u"(NATOPER = 1102)"_s;
        data::ReturnedValues().rowChosen = apply;
    });
    auto* filter = book.findChild<QLineEdit*>(u"E_FILTRO"_s);
    filter->setText(u"SERIE = '1'"_s);
    auto* link = book.findChild<QLabel*>(u"LA_FILTROS"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(handed, (QStringList{u"SQL"_s, u"PDE"_s, u"SERIE = '1'"_s}));
    QCOMPARE(filter->text(), u"(NATOPER = 1102)"_s);
    apply = false;
    filter->setText(u"X"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(filter->text(), u"X"_s);
    platform::UnregisterWindow(u"SELF"_s);
    book.close();
}

QTEST_MAIN(TestTF_LX53)
#include "test_tf_lx53.moc"
