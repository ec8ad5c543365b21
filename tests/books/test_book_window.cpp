// The window every period book shares: loading on show, saving on close
// (the period and the option boxes of the book's table), the two run
// buttons, Enter moving on and F12 closing.

#include "books/book_window.h"
#include "books/invoice_book_settings.h"
#include "support/module_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

// A book with the entries book's options, under a key of its own, that
// records its runs.
class SampleBook : public BookWindow {
  public:
    SampleBook() : BookWindow(u"TF_SAMPLE"_s, u"F_SAMPLE - TESTE"_s) { addOptions(settings); }
    QStringList runs;
    const LineBookSettings<LX53Options> settings = [] {
        LineBookSettings<LX53Options> sample = LX53Settings();
        sample.key = u"PAR_SAMPLE"_s;
        return sample;
    }();

  protected:
    void loadSettings() override { setInputs(settings, LoadBookSettings(settings)); }
    bool saveSettings() override { return SaveBookSettings(settings, inputs(settings)); }
    void runBook(print::Destination destination) override {
        runs << print::DestinationCode(destination);
    }
};

} // namespace

class TestBookWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void frameConventions();
    void typingAsSoonAsOpen();
};

void TestBookWindow::frameConventions() {
    test::ModuleFixture fixture;
    SampleBook book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    // A new installation: page 1, "Campo" on DTNOTA, among the date columns.
    auto* page = book.findChild<QLineEdit*>(u"E_PAGINA"_s);
    QCOMPARE(page->text(), u"1"_s);
    auto* field = book.findChild<QComboBox*>(u"CB_CAMPO"_s);
    QCOMPARE(field->currentText(), u"DTNOTA"_s);
    QVERIFY(field->findText(u"DATA"_s) >= 0);

    book.findChild<QPushButton*>(u"BU_VISAO"_s)->click();
    book.findChild<QPushButton*>(u"BU_IMPRIMIR"_s)->click();
    QCOMPARE(book.runs, (QStringList{u"V"_s, u"P"_s}));

    auto* start = book.findChild<QLineEdit*>(u"E_DATAI"_s);
    book.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&book));
    start->setFocus();
    start->setCursorPosition(0);
    QTest::keyClicks(start, u"010126"_s);
    QTest::keyClick(start, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), book.findChild<QLineEdit*>(u"E_DATAF"_s));
    page->setText(u"4"_s);
    // The boxes of the table, checked on a new installation.
    auto* icm = book.findChild<QCheckBox*>(u"CB_ICM"_s);
    QVERIFY(book.findChild<QCheckBox*>(u"CB_IPI"_s)->isChecked());
    QVERIFY(icm->isChecked());
    icm->setChecked(false);

    QTest::keyClick(&book, Qt::Key_F12);
    QVERIFY(!book.isVisible());
    const LX53Options saved = LoadBookSettings(book.settings);
    QCOMPARE(saved.period.startDate, u"01/01/26"_s);
    QCOMPARE(saved.period.endDate, u"  /  /  "_s);
    QCOMPARE(saved.period.firstPage, u"4"_s);
    QCOMPARE(saved.printIpi, true);
    QCOMPARE(saved.printIcm, false);
}

// The window opens on "Dt. Inicial" holding the saved period: a date typed at
// once replaces it, and so does one typed after a click past the end of a
// date field.
void TestBookWindow::typingAsSoonAsOpen() {
    test::ModuleFixture fixture;
    {
        SampleBook first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        first.setPeriod({u"01/03/26"_s, u"31/03/26"_s, u"DTNOTA"_s, QString(), u"1"_s});
        first.close();
    }
    SampleBook book;
    book.show();
    book.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&book));
    auto* start = book.findChild<QLineEdit*>(u"E_DATAI"_s);
    QCOMPARE(start->displayText(), u"01/03/26"_s);
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClicks(QApplication::focusWidget(), u"010426"_s);
    QCOMPARE(start->displayText(), u"01/04/26"_s);

    auto* end = book.findChild<QLineEdit*>(u"E_DATAF"_s);
    QTest::mouseClick(end, Qt::LeftButton, {}, QPoint(end->width() - 4, end->height() / 2));
    QCOMPARE(QApplication::focusWidget(), end);
    QTest::keyClicks(end, u"300426"_s);
    QCOMPARE(end->displayText(), u"30/04/26"_s);
    // Focus given by the program (not by Tab) takes the typing too.
    start->clearFocus();
    start->setFocus();
    QTest::keyClicks(start, u"020426"_s);
    QCOMPARE(start->displayText(), u"02/04/26"_s);
}

QTEST_MAIN(TestBookWindow)
#include "test_book_window.moc"
