// The GIA Modelo B window: opened from the registry, "ANO" and "Dt. Inicial"
// filling the period, a refused date, the filter link in mode "EXE", and the
// settings written by a run and read back by the next window.

#include "books/tf_lx52.h"
#include "books/tf_lx53.h"
#include "data/param_store.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

using test::CloseNextModal;

namespace {

QString SavedLine(int line) {
    data::ParamRead(data::DatabaseFor(u"PDE"_s), u"PAR_LX52"_s, 190);
    return data::ParamLines().line(line);
}

} // namespace

class TestTF_LX52 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensFromTheRegistry();
    void settingsRoundTrip();
    void filterLink();
};

void TestTF_LX52::opensFromTheRegistry() {
    test::ModuleFixture fixture;
    books::RegisterBookWindows();
    QString seen;
    QWidget* shown = nullptr;
    test::OnModal(u"TF_LX52"_s, [&](QWidget* window) {
        shown = window;
        seen = window ? window->windowTitle() : QString();
        if (window) window->close();
    });
    QVERIFY(platform::OpenWindow(u"LX52"_s, nullptr, {}));
    QVERIFY(shown);
    QCOMPARE(seen, u"LX52 - GIA MODELO B"_s);
}

void TestTF_LX52::settingsRoundTrip() {
    test::ModuleFixture fixture;
    {
        books::TF_LX52 book;
        book.show();
        QVERIFY(QTest::qWaitForWindowExposed(&book));
        // A new installation.
        auto* year = book.findChild<QLineEdit*>(u"E_ANO"_s);
        auto* start = book.findChild<QLineEdit*>(u"E_DATAI"_s);
        auto* end = book.findChild<QLineEdit*>(u"E_DATAF"_s);
        auto* page = book.findChild<QLineEdit*>(u"E_PAGINA"_s);
        QCOMPARE(year->text(), u"00"_s);
        QCOMPARE(page->text(), u"1"_s);
        QVERIFY(book.findChild<QRadioButton*>(u"RG_ENTSAI_0"_s)->isChecked());
        QVERIFY(book.findChild<QRadioButton*>(u"RG_AGRUPA_0"_s)->isChecked());
        QCOMPARE(book.findChild<QRadioButton*>(u"RG_ENTSAI_1"_s)->text(), u"Saías"_s);

        // Leaving "Dt. Inicial" ends the period with its month.
        start->setText(u"15/02/04"_s);
        Q_EMIT start->editingFinished();
        QCOMPARE(end->displayText(), u"29/02/04"_s);
        // Typing a year makes the period that whole year.
        year->selectAll();
        QTest::keyClicks(year, u"05"_s);
        QCOMPARE(start->displayText(), u"01/01/05"_s);
        QCOMPARE(end->displayText(), u"31/12/05"_s);

        book.findChild<QRadioButton*>(u"RG_ENTSAI_1"_s)->click();
        book.findChild<QRadioButton*>(u"RG_AGRUPA_2"_s)->click();
        book.findChild<QLineEdit*>(u"E_FILTRO"_s)->setText(u"SIGLA = 'X'#"_s);
        page->setText(u"3"_s);

        // An impossible date is refused before anything runs or is saved.
        end->setText(u"31/02/05"_s);
        QString seen;
        CloseNextModal(&seen);
        book.findChild<QPushButton*>(u"BU_VISAO"_s)->click();
        QCOMPARE(seen, u"Data inválida: 31/02/05"_s);
        QCOMPARE(SavedLine(2), QString());

        // A run shows the preview, then writes the settings.
        end->setText(u"31/12/05"_s);
        seen.clear();
        CloseNextModal(&seen);
        book.findChild<QPushButton*>(u"BU_VISAO"_s)->click();
        QCOMPARE(seen, u"TF_PRINT"_s);
        QCOMPARE(book.findChild<QLineEdit*>(u"E_FILTRO"_s)->text(), u"SIGLA = 'X' "_s);
        const QStringList saved{SavedLine(2), SavedLine(3), SavedLine(4), SavedLine(5),
                                SavedLine(6), SavedLine(7), SavedLine(8)};
        QCOMPARE(saved, (QStringList{u"05"_s, u"SIGLA = 'X' "_s, u"3"_s, u"1"_s, u"2"_s,
                                     u"01/01/05"_s, u"31/12/05"_s}));
        // Closing writes nothing: the page typed now is not kept.
        page->setText(u"9"_s);
        book.close();
    }
    books::TF_LX52 again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    const books::LX52Options read = again.inputs();
    QCOMPARE(read.year, u"05"_s);
    QCOMPARE(read.period.startDate, u"01/01/05"_s);
    QCOMPARE(read.period.endDate, u"31/12/05"_s);
    QCOMPARE(read.period.filter, u"SIGLA = 'X' "_s);
    QCOMPARE(read.period.firstPage, u"3"_s);
    QCOMPARE(int(read.side), int(books::LX52Side::Exits));
    QCOMPARE(int(read.grouping), int(books::LX52Grouping::ByState));
    again.close();
}

void TestTF_LX52::filterLink() {
    test::ModuleFixture fixture;
    books::TF_LX52 book;
    book.show();
    QVERIFY(QTest::qWaitForWindowExposed(&book));
    QStringList handed;
    platform::RegisterWindow(u"SELF"_s, [&](QWidget*, const QStringList& arguments) {
        handed = arguments;
        data::ReturnedValues().values[0] = u"(NATOPER = 1102)"_s;
        data::ReturnedValues().rowChosen = true;
    });
    auto* filter = book.findChild<QLineEdit*>(u"E_FILTRO"_s);
    filter->setText(u"SERIE = '1'"_s);
    QTest::mouseClick(book.findChild<QLabel*>(u"LA_FILTROS"_s), Qt::LeftButton);
    platform::UnregisterWindow(u"SELF"_s);
    QCOMPARE(handed, (QStringList{u"EXE"_s, u"PDE"_s, u"SERIE = '1'"_s}));
    QCOMPARE(filter->text(), u"(NATOPER = 1102)"_s);
    book.close();
}

QTEST_MAIN(TestTF_LX52)
#include "test_tf_lx52.moc"
