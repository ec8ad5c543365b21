// The reversal window offscreen: a file found with the open dialog fills the
// grid; "&Importar" writes the invoices, asks before importing a file again,
// and stays off for a file with problems; the file name is kept in the
// setting "REV_SINTEGRA" with its other lines.

#include "data/param_store.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "efiles/sintegra_layout.h"
#include "efiles/tf_rev_sintegra.h"
#include "platform/clock.h"
#include "shell/main_window.h"
#include "support/dialog_log.h"
#include "support/menu_item.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace livrax;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

// An entry of 1.000,50 from FOR1 and an exit of 200,00 to an unknown
// customer, between records 10, 11 and 90.
QString WriteFile(const QString& path) {
    SintegraInformant informant;
    informant.cnpj = u"99.888.777/0001-66"_s;
    informant.startDate = u"01/03/26"_s;
    informant.endDate = u"31/03/26"_s;
    SintegraChoice choice;
    choice.r50 = true;
    SintegraWriter writer(informant, choice);
    const auto row = [](const QString& cnpj, const QString& number, const QString& cfop,
                        qint64 cents) {
        Row50 r;
        r.cnpj = cnpj;
        r.date = u"10/03/26"_s;
        r.state = u"RS"_s;
        r.model = u"01"_s;
        r.number = number;
        r.cfop = cfop;
        r.total = r.base = cents * 100;
        r.icms = cents * 12;
        r.rate = 120000;
        r.cancelled = u"N"_s;
        return r;
    };
    writer.Write10And11();
    writer.Write50({row(u"12.345.678/0001-90"_s, u"500"_s, u"1102"_s, 100050),
                    row(u"55.555.555/0001-55"_s, u"7"_s, u"5102"_s, 20000)});
    writer.Write90();
    SaveSintegraFile(path, writer.lines());
    return path;
}

template <typename T> T* Control(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", qPrintable(name));
    return control;
}

int Invoices(test::ModuleFixture& fixture) {
    data::Connection& db = fixture.erp().connection();
    data::Transaction transaction(db);
    data::Statement count(db, transaction,
                          u"SELECT (SELECT COUNT(*) FROM VRTNPDE) + (SELECT COUNT(*) FROM "
                          u"VRTNPDS) FROM RDB$DATABASE"_s);
    count.open();
    const int n = count.fetch() ? int(count.value(0).toInt()) : -1;
    count.close();
    transaction.commit();
    return n;
}

QStringList GridRow(QTableWidget* grid, int row) {
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->item(row, c)->text().trimmed();
    return texts;
}

} // namespace

class TestTFRevSintegra : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        platform::Clock::setFixed(QDateTime(QDate(2026, 4, 10), QTime(9, 0)));
        data::ParamLines().clear();
    }
    void cleanup() { platform::Clock::reset(); }
    void locateLoadAndImport();
    void fileWithProblemsIsNotImported();
    void fileNameKeptWithTheOtherLines();
    void heldSettingIsReported();
    void editorShowsTheFileAndFollowsTheCaret();
    void menuItemOpensTheWindow();
};

void TestTFRevSintegra::locateLoadAndImport() {
    test::ModuleFixture fixture;
    fixture.erp().exec(u"INSERT INTO VRTNEMP (SIGLA, CGC) VALUES ('FOR1', '12.345.678/0001-90')"_s);
    QTemporaryDir dir;
    const QString path = WriteFile(dir.filePath(u"Movimento.txt"_s));
    TF_REV_SINTEGRA window;
    window.show();
    QVERIFY(!Control<QPushButton>(window, u"BU_EXECUTAR"_s)->isEnabled());

    test::OnModal(u"OPEN_DIALOG"_s, [&path](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) return;
        files->selectFile(path);
        QMetaObject::invokeMethod(files, "accept");
    });
    Control<QPushButton>(window, u"BU_LOCALIZAR"_s)->click();
    QCOMPARE(Control<QLineEdit>(window, u"E_ARQUIVO"_s)->text(), path);
    QCOMPARE(Control<QLabel>(window, u"LA_REG"_s)->text(), u"Reg: 2"_s);
    auto* grid = Control<QTableWidget>(window, u"GRID"_s);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(GridRow(grid, 0),
             (QStringList{u"50"_s, u"12.345.678/0001-90"_s, u"FOR1"_s, u"10/03/2026"_s, u"000500"_s,
                          u"1102"_s, u"1000,50"_s, u"1000,50"_s, u"120,06"_s, u"0,00"_s, u"0,00"_s,
                          u"12,00"_s, u"N"_s, u"RS"_s, u"01"_s, u"ISENTO"_s, QString(), u"E"_s}));
    QCOMPARE(GridRow(grid, 1).mid(0, 6), (QStringList{u"50"_s, u"55.555.555/0001-55"_s, u"ISENTO"_s,
                                                      u"10/03/2026"_s, u"000007"_s, u"5102"_s}));
    QVERIFY(Control<QPushButton>(window, u"BU_EXECUTAR"_s)->isEnabled());

    {
        test::DialogLog dialogs;
        Control<QPushButton>(window, u"BU_EXECUTAR"_s)->click();
        QCOMPARE(dialogs.names(), QStringList{u"MESSAGE_BOX"_s});
        QCOMPARE(dialogs.shown().first().text,
                 u"Conversão concluída\nEntradas: 1 documento, total 1.000,50, ICMS 120,06; "
                 u"Saídas: 1 documento, total 200,00, ICMS 24,00"_s);
    }
    QCOMPARE(Invoices(fixture), 2);
    {
        // Asked again: closing the question answers "Não".
        test::DialogLog dialogs;
        Control<QPushButton>(window, u"BU_EXECUTAR"_s)->click();
        QCOMPARE(dialogs.names(), QStringList{u"QUESTION_BOX"_s});
        QVERIFY(dialogs.shown().first().text.startsWith(
            u"2 de 2 documentos deste arquivo já existem no banco de dados"_s));
    }
    QCOMPARE(Invoices(fixture), 2);
    // Answered "Sim": imported again.
    test::OnModal(u"QUESTION_BOX"_s, [](QWidget* box) {
        if (box) qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    QString done;
    test::OnModal(u"MESSAGE_BOX"_s, [&done](QWidget* box) {
        if (!box) return;
        done = qobject_cast<QMessageBox*>(box)->text();
        box->close();
    });
    Control<QPushButton>(window, u"BU_EXECUTAR"_s)->click();
    QVERIFY(done.startsWith(u"Conversão concluída\n"_s));
    QCOMPARE(Invoices(fixture), 4);
}

void TestTFRevSintegra::fileWithProblemsIsNotImported() {
    test::ModuleFixture fixture;
    QTemporaryDir dir;
    const QString path = WriteFile(dir.filePath(u"RUIM.TXT"_s));
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("50 curta\r\n");
    file.close();

    TF_REV_SINTEGRA window;
    window.show();
    Control<QLineEdit>(window, u"E_ARQUIVO"_s)->setText(path);
    test::DialogLog dialogs;
    Control<QPushButton>(window, u"BU_OPEN"_s)->click();
    QCOMPARE(dialogs.names(), QStringList{u"MESSAGE_BOX"_s});
    QCOMPARE(dialogs.shown().first().text,
             u"O arquivo tem problemas e não será importado:\n"
             u"linha 6: linha com 8 caracteres; o registro tem 126"_s);
    QCOMPARE(Control<QTableWidget>(window, u"GRID"_s)->rowCount(), 2);
    QVERIFY(!Control<QPushButton>(window, u"BU_EXECUTAR"_s)->isEnabled());
    window.import();
    QCOMPARE(Invoices(fixture), 0);
}

void TestTFRevSintegra::fileNameKeptWithTheOtherLines() {
    test::ModuleFixture fixture;
    data::Connection* database = data::DatabaseFor(u"EMP"_s);
    data::ParamLines().setLine(5, u"outra linha"_s);
    QVERIFY(data::ParamWrite(database, u"REV_SINTEGRA"_s, 20));
    {
        TF_REV_SINTEGRA window;
        QCOMPARE(Control<QLineEdit>(window, u"E_ARQUIVO"_s)->text(), QString());
        Control<QLineEdit>(window, u"E_ARQUIVO"_s)->setText(u"/dados/SINTEGRA.TXT"_s);
        Control<QPushButton>(window, u"BU_SAIR"_s)->click();
    }
    data::ParamLines().clear();
    QVERIFY(data::ParamRead(database, u"REV_SINTEGRA"_s, 20));
    QCOMPARE(data::ParamLines().line(2), u"/dados/SINTEGRA.TXT"_s);
    QCOMPARE(data::ParamLines().line(5), u"outra linha"_s);
    TF_REV_SINTEGRA again;
    QCOMPARE(Control<QLineEdit>(again, u"E_ARQUIVO"_s)->text(), u"/dados/SINTEGRA.TXT"_s);
}

// Another station holds the setting: closing says the file name was not
// stored, and the station's text stays.
void TestTFRevSintegra::heldSettingIsReported() {
    test::ModuleFixture fixture;
    data::Connection* database = data::DatabaseFor(u"EMP"_s);
    data::ParamLines().setLine(2, u"/antes.txt"_s);
    QVERIFY(data::ParamWrite(database, u"REV_SINTEGRA"_s, 20));
    const int timeout = data::LockTimeoutSeconds();
    data::SetLockTimeoutSeconds(1);
    data::Connection station;
    station.open(fixture.erp().options());
    data::Transaction holding(station);
    holding.executeImmediate(
        u"UPDATE VRTNPAR SET TEXTO = '002)/outra.txt' WHERE CHAVE = 'REV_SINTEGRA'"_s);
    test::DialogLog dialogs;
    {
        TF_REV_SINTEGRA window;
        Control<QLineEdit>(window, u"E_ARQUIVO"_s)->setText(u"/novo.txt"_s);
        Control<QPushButton>(window, u"BU_SAIR"_s)->click();
    }
    data::SetLockTimeoutSeconds(timeout);
    QCOMPARE(dialogs.names(), QStringList{u"ERROR_BOX"_s});
    QVERIFY(dialogs.shown().first().text.contains(u"REV_SINTEGRA"_s));
    holding.commit();
    data::ParamLines().clear();
    QVERIFY(data::ParamRead(database, u"REV_SINTEGRA"_s, 20));
    QCOMPARE(data::ParamLines().line(2), u"/outra.txt"_s);
}

// Tab "EDITOR": the opened file's text in E_TEXTO, one line per line and no
// wrapping; "Linha:" and "Coluna:" follow the caret.
void TestTFRevSintegra::editorShowsTheFileAndFollowsTheCaret() {
    test::ModuleFixture fixture;
    QTemporaryDir dir;
    const QString path = WriteFile(dir.filePath(u"Movimento.txt"_s));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split(u"\r\n"_s);
    TF_REV_SINTEGRA window;
    window.show();
    Control<QLineEdit>(window, u"E_ARQUIVO"_s)->setText(path);
    Control<QPushButton>(window, u"BU_OPEN"_s)->click();
    auto* editor = Control<QTextEdit>(window, u"E_TEXTO"_s);
    QCOMPARE(editor->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(editor->document()->blockCount(), int(lines.size()));
    for (int n = 0; n < 4; ++n)
        QCOMPARE(editor->document()->findBlockByNumber(n).text(), lines.at(n));
    QTextCursor caret(editor->document()->findBlockByNumber(2));
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 9);
    editor->setTextCursor(caret);
    QCOMPARE(Control<QLabel>(window, u"LA_LINHA"_s)->text(), u"Linha: 3"_s);
    QCOMPARE(Control<QLabel>(window, u"LA_COLUNA"_s)->text(), u"Coluna: 10"_s);
    editor->moveCursor(QTextCursor::Start);
    QCOMPARE(Control<QLabel>(window, u"LA_LINHA"_s)->text(), u"Linha: 1"_s);
    QCOMPARE(Control<QLabel>(window, u"LA_COLUNA"_s)->text(), u"Coluna: 1"_s);
}

// The main menu's "Importar" > "Reverter SINTEGRA" opens the reversal window.
void TestTFRevSintegra::menuItemOpensTheWindow() {
    test::ModuleFixture fixture;
    RegisterReversalWindows();
    shell::TF_LIVRAXB main;
    QAction* item = test::FindMenuItem(main.menuBar()->actions(), u"Reverter SINTEGRA"_s);
    QVERIFY(item);
    QString opened;
    test::CloseNextModal(&opened);
    item->trigger();
    QCOMPARE(opened, u"TF_REV_SINTEGRA"_s);
}

QTEST_MAIN(TestTFRevSintegra)
#include "test_tf_rev_sintegra.moc"
