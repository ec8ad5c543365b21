// The query window TF_PESQC on a real database: the rights that hide its
// controls, a row returned to the opener, a typed value refused for a
// number field, ordering by a column title, a failing statement and the SQL
// page's audit log.

#include "common/line_files.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/query_helpers.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/window_registry.h"
#include "print/tf_printgrid.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "tools/tf_pesqc.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("control %s not found", qPrintable(name));
    return child;
}

// The error boxes the log saw (the windows themselves are in it too).
QList<test::DialogLog::Shown> Errors(test::DialogLog& log) {
    QList<test::DialogLog::Shown> errors;
    for (const test::DialogLog::Shown& shown : log.shown())
        if (shown.name == u"ERROR_BOX"_s) errors << shown;
    return errors;
}

// Runs `handle` once on the dialog named `name` as soon as it is shown,
// from the dialog's own event loop.
template <typename Dialog> class OnShown : public QObject {
  public:
    OnShown(const QString& name, std::function<void(Dialog*)> handle)
        : m_name(name), m_handle(std::move(handle)) {
        qApp->installEventFilter(this);
    }
    ~OnShown() override { qApp->removeEventFilter(this); }
    bool seen() const { return m_seen; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Show && watched->objectName() == m_name) {
            if (auto* dialog = qobject_cast<Dialog*>(watched)) {
                m_seen = true;
                QTimer::singleShot(0, dialog, [this, dialog] { m_handle(dialog); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QString m_name;
    std::function<void(Dialog*)> m_handle;
    bool m_seen = false;
};

QString Cell(TF_PESQC& window, int row, int column) {
    return window.model().index(row, column).data().toString();
}

} // namespace

class TestQueryWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void rightsHideControls_data();
    void rightsHideControls();
    void rowReturnedToTheOpener();
    void rowReturnedThroughTheRegistry();
    void numberFieldRefusesWords();
    void orderByColumnTitle();
    void failingStatementShowsTheReason();
    void sqlPageWritesTheAuditLog();
    void settingsKeptForTheNextOpening();
    void printGridThroughTheRegistry();
    void exportAsksBeforeReplacing();
    void parFileOpenedAtStart();
    void helpOpensItsTopic();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestQueryWindow::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->erp().exec(
        u"CREATE TABLE VRTNTQA (CODIGO INTEGER, NOME VARCHAR(20), PRECO NUMERIC(15,2))"_s);
    m_fixture->erp().load(u"INSERT INTO VRTNTQA VALUES (1, 'Porca', 0.40);\n"
                          u"INSERT INTO VRTNTQA VALUES (2, 'Parafuso', 3.50);\n"
                          u"INSERT INTO VRTNTQA VALUES (3, 'Arruela', 0.15);\n"_s);
    m_fixture->refreshTableLists();
    data::ResetReturnedValues();
}

void TestQueryWindow::cleanup() {
    platform::UnregisterWindow(u"PESQC"_s);
    m_fixture.reset();
}

void TestQueryWindow::rightsHideControls_data() {
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("shown");

    const auto denying = [](int position) {
        QString rights(30, u'S');
        rights[position - 1] = u'N';
        return rights;
    };
    QTest::newRow("short string keeps the grid") << QString() << u"GRID"_s << true;
    QTest::newRow("short string hides SQL") << QString() << u"PG_SQL"_s << false;
    QTest::newRow("short string keeps export") << u"SSS"_s << u"BU_EXPORTAR"_s << true;
    QTest::newRow("21 grid") << denying(21) << u"GRID"_s << false;
    QTest::newRow("22 selection") << denying(22) << u"PG_SELECAO"_s << false;
    QTest::newRow("22 leaves print") << denying(22) << u"BU_IMPRIMIR"_s << true;
    QTest::newRow("23 print") << denying(23) << u"BU_IMPRIMIR"_s << false;
    QTest::newRow("24 parameters") << denying(24) << u"BU_PARAMETROS"_s << false;
    QTest::newRow("25 open") << denying(25) << u"BU_ABRIR"_s << false;
    QTest::newRow("26 save") << denying(26) << u"BU_SALVAR"_s << false;
    QTest::newRow("26 leaves open") << denying(26) << u"BU_ABRIR"_s << true;
    QTest::newRow("27 export") << denying(27) << u"BU_EXPORTAR"_s << false;
    QTest::newRow("28 S shows SQL") << denying(27) << u"PG_SQL"_s << true;
    QTest::newRow("28 N hides SQL") << denying(28) << u"PG_SQL"_s << false;
    QTest::newRow("28 blank hides SQL") << QString(27, u'S') + u" "_s << u"PG_SQL"_s << false;
}

void TestQueryWindow::rightsHideControls() {
    QFETCH(QString, rights);
    QFETCH(QString, control);
    QFETCH(bool, shown);
    data::Globals().user.rights = rights;
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    window.setSettings(s);
    window.show();
    QVERIFY(window.model().isOpen());
    auto* pages = Child<QTabWidget>(&window, u"PAGINAS"_s);
    QWidget* widget = Child<QWidget>(&window, control);
    bool actual = false;
    if (control.startsWith(u"PG_"_s)) {
        const int page = pages->indexOf(widget);
        actual = pages->isTabVisible(page) && widget->isEnabled();
    } else if (control == u"BU_EXPORTAR"_s) {
        actual = widget->isEnabled();
    } else {
        actual = widget->isVisibleTo(&window);
    }
    QCOMPARE(actual, shown);
    window.reject();
}

void TestQueryWindow::rowReturnedToTheOpener() {
    test::OnModal(
        u"TF_PESQC"_s,
        [](QWidget* widget) {
            QVERIFY(widget);
            auto& window = *static_cast<TF_PESQC*>(widget);
            // The opener's value narrowed the rows to one.
            QCOMPARE(window.model().rowCount(), 1);
            auto* grid = Child<QTableView>(widget, u"GRID"_s);
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Return);
        },
        [](QWidget* widget) { return static_cast<TF_PESQC*>(widget)->model().isOpen(); });
    const bool chosen =
        OpenQueryWindow(nullptr, u"TQA"_s, u"PRECO; CODIGO"_s, u"parafuso"_s, {}, u"NOME"_s);
    QVERIFY(chosen);
    const data::ReturnedValueList& returned = data::ReturnedValues();
    QCOMPARE(returned.values[0], u"3,50"_s);
    QCOMPARE(returned.values[1], u"2"_s);
    QCOMPARE(returned.values[2], QString());
}

void TestQueryWindow::rowReturnedThroughTheRegistry() {
    RegisterQueryWindows();
    test::OnModal(
        u"TF_PESQC"_s,
        [](QWidget* widget) {
            QVERIFY(widget);
            auto& window = *static_cast<TF_PESQC*>(widget);
            QCOMPARE(window.model().rowCount(), 3);
            // Ordered by the opener's order: Arruela, Parafuso, Porca.
            auto* grid = Child<QTableView>(widget, u"GRID"_s);
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_PageDown);
            QTest::keyClick(grid, Qt::Key_Enter);
        },
        [](QWidget* widget) { return static_cast<TF_PESQC*>(widget)->model().isOpen(); });
    QVERIFY(platform::OpenWindow(u"PESQC"_s, nullptr,
                                 {u"TQA"_s, {}, {}, u"A.NOME"_s, u"NOME"_s, u"CODIGO,NOME"_s}));
    // Without return fields, the first columns of the row.
    const data::ReturnedValueList& returned = data::ReturnedValues();
    QVERIFY(returned.rowChosen);
    QCOMPARE(returned.values[0], u"2"_s);
    QCOMPARE(returned.values[1], u"Parafuso"_s);
    QCOMPARE(returned.values[2], QString());
}

void TestQueryWindow::numberFieldRefusesWords() {
    test::DialogLog log;
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    window.setSettings(s);
    window.show();
    QCOMPARE(window.model().rowCount(), 3);
    Child<QComboBox>(&window, u"CB_CAMPOS"_s)->setCurrentText(u"CODIGO"_s);
    auto* value = Child<QLineEdit>(&window, u"E_CONTEUDO1"_s);
    value->setText(u"1 OR 1=1"_s);
    QTest::keyClick(value, Qt::Key_Return);
    // Refused with a message; the query runs again without the value.
    QCOMPARE(Errors(log).size(), 1);
    QVERIFY2(Errors(log).first().text.contains(u"Valor inválido"_s),
             qPrintable(Errors(log).first().text));
    QCOMPARE(value->text(), QString());
    QCOMPARE(window.model().rowCount(), 3);
    QVERIFY(!window.lastStatement().contains(u"1=1"_s));
    // A number is taken.
    value->setText(u"2"_s);
    QTest::keyClick(value, Qt::Key_Return);
    QCOMPARE(window.model().rowCount(), 1);
    QCOMPARE(Cell(window, 0, 1), u"Parafuso"_s);
    QCOMPARE(Errors(log).size(), 1);
    window.reject();
}

void TestQueryWindow::orderByColumnTitle() {
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    s.columns = u"CODIGO;NOME"_s;
    window.setSettings(s);
    window.show();
    auto* header = Child<QTableView>(&window, u"GRID"_s)->horizontalHeader();
    Q_EMIT header->sectionClicked(1);
    QCOMPARE(Child<QLineEdit>(&window, u"E_ORDEM"_s)->text(), u"A.NOME"_s);
    QCOMPARE(Cell(window, 0, 1), u"Arruela"_s);
    Q_EMIT header->sectionClicked(1);
    QCOMPARE(Child<QLineEdit>(&window, u"E_ORDEM"_s)->text(), u"A.NOME DESC"_s);
    QCOMPARE(Cell(window, 0, 1), u"Porca"_s);
    QVERIFY(window.lastStatement().endsWith(u" ORDER BY A.NOME DESC"_s));
    window.reject();
}

void TestQueryWindow::failingStatementShowsTheReason() {
    test::DialogLog log;
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    window.setSettings(s);
    window.show();
    auto* sql = Child<QLineEdit>(&window, u"E_SQL"_s);
    sql->setText(u"SELECT NADA FROM VRTNTQA"_s);
    QVERIFY(!window.buildAndRun());
    QCOMPARE(Errors(log).size(), 1);
    QVERIFY2(Errors(log).first().text.contains(u"NADA"_s), qPrintable(Errors(log).first().text));
    QCOMPARE(sql->text(), QString());
    // The plain statement runs again on the next build.
    QVERIFY(window.buildAndRun());
    QCOMPARE(window.model().rowCount(), 3);
    window.reject();
}

void TestQueryWindow::sqlPageWritesTheAuditLog() {
    data::Globals().user.rights = QString(28, u'S');
    data::Globals().user.name = u"ANA"_s;
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    window.setSettings(s);
    window.show();
    auto* memo = Child<QPlainTextEdit>(&window, u"MEMO_SEL"_s);
    memo->setPlainText(u"SELECT NOME FROM VRTNTQA WHERE CODIGO = 3"_s);
    Child<QPushButton>(&window, u"BU_EXECQUERY"_s)->click();
    QCOMPARE(window.model().rowCount(), 1);
    QCOMPARE(Cell(window, 0, 0), u"Arruela"_s);
    memo->setPlainText(u"UPDATE VRTNTQA SET PRECO = 9 WHERE CODIGO = 3"_s);
    Child<QPushButton>(&window, u"BU_EXECSQL"_s)->click();
    QCOMPARE(data::CountRows(u"VRTNTQA"_s, u"PRECO = 9"_s), qint64(1));
    QCOMPARE(data::CountRows(u"VRTNLOG"_s,
                             u"LOG_OBS LIKE 'PESQC (SQL): %' AND "
                             u"LOG_TABELA = 'VRTNTQA' AND LOG_USUARIO = 'ANA'"_s,
                             data::B_DIR(1)),
             qint64(2));
    window.reject();
}

void TestQueryWindow::settingsKeptForTheNextOpening() {
    data::Globals().user.name = u"ANA"_s;
    {
        TF_PESQC window;
        QuerySettings s = window.settings();
        s.table = u"TQA"_s;
        window.setSettings(s);
        window.show();
        Child<QComboBox>(&window, u"CB_CAMPOS"_s)->setCurrentText(u"NOME"_s);
        Child<QLineEdit>(&window, u"E_CONTEUDO1"_s)->setText(u"ar"_s);
        Child<QLineEdit>(&window, u"E_ORDEM"_s)->setText(u"A.CODIGO DESC"_s);
        QVERIFY(window.buildAndRun());
        QCOMPARE(window.model().rowCount(), 2);
        QCOMPARE(Child<QLabel>(&window, u"LA_SEL"_s)->text(), u"2"_s);
        Child<QPushButton>(&window, u"BU_REGS"_s)->click();
        QCOMPARE(Child<QLabel>(&window, u"LA_REG"_s)->text(), u"3"_s);
        window.reject();
    }
    QVERIFY(data::ParamRead(data::DatabaseFor(u"VRTNTQA"_s), u"PESQC_ANA_VRTNTQA_"_s, 40));
    QCOMPARE(data::ParamLines().line(2), u"A.CODIGO DESC"_s);
    QCOMPARE(data::ParamLines().line(8), u"ar"_s);
    QVERIFY(data::ParamLines().line(20).startsWith(u"Select * FROM VRTNTQA A WHERE"_s));
    // The next opening takes them and runs the query with them.
    TF_PESQC again;
    QuerySettings s = again.settings();
    s.table = u"TQA"_s;
    again.setSettings(s);
    again.show();
    QCOMPARE(Child<QLineEdit>(&again, u"E_CONTEUDO1"_s)->text(), u"ar"_s);
    QCOMPARE(again.model().rowCount(), 2);
    QCOMPARE(Cell(again, 0, 1), u"Arruela"_s);
    QCOMPARE(Cell(again, 1, 1), u"Parafuso"_s);
    again.reject();
}

void TestQueryWindow::parFileOpenedAtStart() {
    QTemporaryDir dir;
    data::Globals().user.tempFolder = dir.path() + u"/"_s;
    QuerySettings saved;
    saved.table = u"VRTNTQA"_s;
    saved.field1 = u"PRECO"_s;
    saved.operator1 = u"<"_s;
    saved.value1 = u"1"_s;
    saved.order = u"A.PRECO"_s;
    saved.title = u"Baratos"_s;
    QStringList lines = ParFileLines(saved);
    QVERIFY(WriteLinesFile(dir.filePath(u"BARATOS.PAR"_s), lines));
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    window.setSettings(s);
    Child<QLineEdit>(&window, u"E_SALVARAOSAIR"_s)->setText(u"baratos"_s);
    window.show();
    QCOMPARE(Child<QLineEdit>(&window, u"E_TITULO"_s)->text(), u"Baratos"_s);
    QCOMPARE(window.model().rowCount(), 2);
    QCOMPARE(Cell(window, 0, 0), u"3"_s);
    QCOMPARE(Cell(window, 1, 0), u"1"_s);
    window.reject();
}

void TestQueryWindow::printGridThroughTheRegistry() {
    RegisterQueryWindows();
    QString title;
    int columns = 0;
    test::OnModal(u"TF_PRINTGRID"_s, [&](QWidget* widget) {
        QVERIFY(widget);
        auto* window = static_cast<print::TF_PRINTGRID*>(widget);
        title = window->options().title;
        columns = window->columnCount();
        Child<QPushButton>(widget, u"BU_SAIR"_s)->click();
    });
    QVERIFY(platform::OpenWindow(u"PRINTGRID"_s, nullptr,
                                 {u"Produtos"_s, u"TQA"_s, u"SELECT CODIGO, NOME FROM VRTNTQA"_s}));
    QCOMPARE(title, u"Produtos"_s);
    QCOMPARE(columns, 2);
    platform::UnregisterWindow(u"PRINTGRID"_s);
}

void TestQueryWindow::exportAsksBeforeReplacing() {
    QTemporaryDir dir;
    data::Globals().user.tempFolder = dir.path() + u"/"_s;
    const QString existing = dir.filePath(u"LISTA.TXT"_s);
    {
        QFile old(existing);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    TF_PESQC window;
    QuerySettings s = window.settings();
    s.table = u"TQA"_s;
    s.columns = u"CODIGO"_s;
    s.order = u"A.CODIGO"_s;
    window.setSettings(s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The name typed in lower case, without extension; the user cancels the
    // replacement, then accepts it.
    for (const auto answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        QString question, done;
        OnShown<QMessageBox> replace(u"REPLACE_BOX"_s, [&](QMessageBox* box) {
            question = box->windowTitle() + u" "_s + box->text();
            box->button(answer)->click();
        });
        OnShown<QMessageBox> message(u"MESSAGE_BOX"_s, [&](QMessageBox* box) {
            done = box->text();
            box->accept();
        });
        OnShown<QFileDialog> save(u"SAVE_FILE"_s, [&](QFileDialog* dialog) {
            dialog->selectFile(dir.filePath(u"lista"_s));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        window.exportText();
        QVERIFY(replace.seen());
        QCOMPARE(question, u"Substituir ? Arquivo Já Existe ("_s + existing + u")"_s);
        QFile file(existing);
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (answer == QMessageBox::Cancel) {
            QCOMPARE(file.readAll(), QByteArray("old\r\n"));
            QCOMPARE(done, QString());
        } else {
            QCOMPARE(done, u"Exportação Concluída"_s);
            // An integer column is 15 characters wide.
            QCOMPARE(file.readAll(), QByteArray("CODIGO         \r\n"
                                                "1              \r\n"
                                                "2              \r\n"
                                                "3              \r\n"));
        }
    }
    window.reject();
}

// "Help" opens the help viewer searching for the window's code.
void TestQueryWindow::helpOpensItsTopic() {
    QStringList opened{u"<not opened>"_s};
    platform::RegisterWindow(
        u"HELP"_s, [&opened](QWidget*, const QStringList& arguments) { opened = arguments; });
    TF_PESQC window;
    Child<QPushButton>(&window, u"BU_HELP"_s)->click();
    platform::UnregisterWindow(u"HELP"_s);
    QCOMPARE(opened, QStringList{u"PESQC"_s});
}

QTEST_MAIN(TestQueryWindow)
#include "test_query_window.moc"
