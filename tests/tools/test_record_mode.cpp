// The browse/edit controller of the register windows: for every action, which
// of the named controls a panel window and a tool-bar window leave usable.

#include "tools/record_mode.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

namespace {

const QStringList Buttons = {u"BU_OPEN"_s,   u"BU_CLOSE"_s,  u"BU_NOVO"_s,     u"BU_ALTERA"_s,
                             u"BU_SALVA"_s,  u"BU_EXCLUI"_s, u"BU_PRIMEIRO"_s, u"BU_RETORNA"_s,
                             u"BU_AVANCA"_s, u"BU_ULTIMO"_s, u"BU_PESQUISA"_s, u"BU_SAIR"_s};
const QString StartLabel = u"INICIO"_s;

// A window with every named control, all enabled; the tool-bar kind holds
// its buttons as actions. `withSearchAndLabel` false leaves out ED_PESQ and
// LA_IAE.
struct RecordWindow {
    QWidget window;
    QWidget* unnamedButton = nullptr;

    RecordWindow(RecordButtons kind, bool withSearchAndLabel) {
        auto* layout = new QVBoxLayout(&window);
        auto* bar = new QToolBar(&window);
        layout->addWidget(bar);
        for (const QString& name : Buttons) {
            if (kind == RecordButtons::ToolBar) {
                QAction* action = bar->addAction(name);
                action->setObjectName(name);
            } else {
                auto* button = new QPushButton(name, &window);
                button->setObjectName(name);
                layout->addWidget(button);
            }
        }
        auto* cancel = new QPushButton(u"Cancela"_s, &window);
        cancel->setObjectName(u"BU_CANCELA"_s);
        unnamedButton = cancel;
        for (const QString& name : {u"PA_CADASTRO"_s, u"PA_CADASTRO1"_s}) {
            auto* panel = new QWidget(&window);
            panel->setObjectName(name);
            layout->addWidget(panel);
        }
        if (withSearchAndLabel) {
            auto* search = new QLineEdit(&window);
            search->setObjectName(u"ED_PESQ"_s);
            auto* label = new QLabel(StartLabel, &window);
            label->setObjectName(u"LA_IAE"_s);
        }
    }

    bool enabled(const QString& name) const {
        if (auto* action = window.findChild<QAction*>(name)) return action->isEnabled();
        return window.findChild<QWidget*>(name)->isEnabled();
    }
    QStringList enabledButtons() const {
        QStringList names;
        for (const QString& name : Buttons)
            if (enabled(name)) names << name;
        return names;
    }
    QString label() const {
        auto* label = window.findChild<QLabel*>(u"LA_IAE"_s);
        return label ? label->text() : QString();
    }
};

const QStringList Browsing = {u"BU_CLOSE"_s,    u"BU_NOVO"_s,     u"BU_ALTERA"_s,
                              u"BU_PRIMEIRO"_s, u"BU_RETORNA"_s,  u"BU_AVANCA"_s,
                              u"BU_ULTIMO"_s,   u"BU_PESQUISA"_s, u"BU_SAIR"_s};
const QStringList Editing = {u"BU_SALVA"_s, u"BU_EXCLUI"_s};
const QStringList Closed = {u"BU_OPEN"_s, u"BU_SAIR"_s};

} // namespace

class TestRecordMode : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void actions_data();
    void actions();
    void unknownActionChangesNothing();
    void windowWithoutSearchOrLabel();
    void closeAfterEditingKeepsSaveOff();
};

void TestRecordMode::actions_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("panels");
    QTest::addColumn<bool>("search");
    QTest::addColumn<QString>("label");
    const int panel = int(RecordButtons::Panel);
    const int toolBar = int(RecordButtons::ToolBar);
    QTest::newRow("panel novo") << panel << u"BU_NOVO"_s << Editing << true << false
                                << u"INCLUSÃO"_s;
    QTest::newRow("panel altera") << panel << u"BU_ALTERA"_s << Editing << true << false
                                  << u"ALTERAÇÃO"_s;
    QTest::newRow("panel salva") << panel << u"BU_SALVA"_s << Browsing << false << true
                                 << u"CONSULTA"_s;
    QTest::newRow("panel exclui") << panel << u"BU_EXCLUI"_s << Browsing << false << true
                                  << u"CONSULTA"_s;
    QTest::newRow("panel open") << panel << u"BU_OPEN"_s << Browsing << false << true
                                << u"CONSULTA"_s;
    QTest::newRow("panel close") << panel << u"BU_CLOSE"_s << Closed << false << false
                                 << StartLabel;
    // The tool-bar kind leaves panels, search field and label as they were.
    QTest::newRow("bar novo") << toolBar << u"BU_NOVO"_s << Editing << true << true << StartLabel;
    QTest::newRow("bar altera") << toolBar << u"BU_ALTERA"_s << Editing << true << true
                                << StartLabel;
    QTest::newRow("bar salva") << toolBar << u"BU_SALVA"_s << Browsing << true << true
                               << StartLabel;
    QTest::newRow("bar exclui") << toolBar << u"BU_EXCLUI"_s << Browsing << true << true
                                << StartLabel;
    QTest::newRow("bar open") << toolBar << u"BU_OPEN"_s << Browsing << true << true << StartLabel;
    QTest::newRow("bar close") << toolBar << u"BU_CLOSE"_s << Closed << true << true << StartLabel;
}

void TestRecordMode::actions() {
    QFETCH(int, kind);
    QFETCH(QString, action);
    QFETCH(QStringList, buttons);
    QFETCH(bool, panels);
    QFETCH(bool, search);
    QFETCH(QString, label);
    RecordWindow form(RecordButtons(kind), true);
    SetRecordMode(&form.window, action, RecordButtons(kind));
    QCOMPARE(form.enabledButtons(), buttons);
    QCOMPARE(form.enabled(u"PA_CADASTRO"_s), panels);
    QCOMPARE(form.enabled(u"PA_CADASTRO1"_s), panels);
    QCOMPARE(form.enabled(u"ED_PESQ"_s), search);
    QCOMPARE(form.label(), label);
    // A control the controller does not name (the cancel button) is left.
    QVERIFY(form.unnamedButton->isEnabled());
}

void TestRecordMode::unknownActionChangesNothing() {
    for (RecordButtons kind : {RecordButtons::Panel, RecordButtons::ToolBar}) {
        RecordWindow form(kind, true);
        SetRecordMode(&form.window, u"BU_NOVO"_s, kind);
        for (const QString& action : {u"BU_CANCELA"_s, u"bu_salva"_s, QString()}) {
            SetRecordMode(&form.window, action, kind);
            QCOMPARE(form.enabledButtons(), Editing);
            QVERIFY(form.enabled(u"PA_CADASTRO"_s));
        }
    }
}

void TestRecordMode::windowWithoutSearchOrLabel() {
    RecordWindow form(RecordButtons::Panel, false);
    for (const QString& action : {u"BU_NOVO"_s, u"BU_SALVA"_s, u"BU_CLOSE"_s}) {
        SetRecordMode(&form.window, action);
    }
    QCOMPARE(form.enabledButtons(), Closed);
    QVERIFY(!form.enabled(u"PA_CADASTRO"_s));
}

// Closing the table in the middle of an edit: Save and Delete go off with the
// rest in both kinds, so nothing can be written to a closed table.
void TestRecordMode::closeAfterEditingKeepsSaveOff() {
    for (RecordButtons kind : {RecordButtons::Panel, RecordButtons::ToolBar}) {
        RecordWindow form(kind, true);
        SetRecordMode(&form.window, u"BU_ALTERA"_s, kind);
        SetRecordMode(&form.window, u"BU_CLOSE"_s, kind);
        QVERIFY(!form.enabled(u"BU_SALVA"_s));
        QVERIFY(!form.enabled(u"BU_EXCLUI"_s));
        QCOMPARE(form.enabledButtons(), Closed);
    }
}

QTEST_MAIN(TestRecordMode)
#include "test_record_mode.moc"
