// The help viewer and editor offscreen on a real database: the search that
// lists keys before titles, red and blue links followed, "Procurar no
// Texto", printing, the editor's modes, saves that fail and keep the text,
// keys refused for a topic not saved, the question on closing and the key
// search that shows the key's own topic.

#include "data/returned_values.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/rtf.h"
#include "platform/text_ruler.h"
#include "platform/window_registry.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "support/run_tool.h"
#include "tools/help_topics.h"
#include "tools/tf_hlp.h"
#include "tools/tf_hlpm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

namespace {

// Topic 1 links to its own heading "Filtro:" in red and to topic 3 through
// the key "FCPC" in blue.
const QString Fixture = uR"(
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (1, 'Janela PESQC',
 '{\rtf1\ansi{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}
\pard Ajuda da consulta\par
Veja {\cf1 Filtro} e o cadastro {\cf2 FCPC}.\par
Texto qualquer\par
Filtro: como filtrar\par
fim}');
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (2, 'Consulta geral', '{\rtf1 dois}');
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (3, 'Contas por cliente', '{\rtf1 tres}');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (1, 3, 'PESQC - filtros');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (2, 2, 'PESQC');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (3, 3, 'Consulta de contas');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (4, 3, 'FCPC');
)"_s;

template <typename T> T* Control(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", qPrintable(name));
    return control;
}

QString Scalar(test::TestDatabase& database, const QString& sql) {
    data::Transaction transaction(database.connection());
    data::Statement select(database.connection(), transaction, sql);
    select.open();
    const QString value = select.fetch() ? select.value(0).toString().trimmed() : u"<none>"_s;
    select.close();
    transaction.commit();
    return value;
}

QStringList ListTexts(QTableWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row)
        texts << list->item(row, 0)->text() + u"/"_s + list->item(row, 1)->text();
    return texts;
}

// Selects `word` in the text as the user's double click would.
void SelectWord(QTextEdit* text, const QString& word) {
    QTextCursor found = text->document()->find(word);
    QVERIFY(!found.isNull());
    text->setTextCursor(found);
}

void Show(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

// Shown and active, for what needs the keyboard focus.
void Activate(QWidget& window) {
    Show(window);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// The names and texts of the boxes the log saw.
QStringList Boxes(test::DialogLog& log) {
    QStringList boxes;
    for (const test::DialogLog::Shown& shown : log.shown())
        if (shown.name.endsWith(u"_BOX"_s)) boxes << shown.name + u": "_s + shown.text;
    return boxes;
}

void RefuseSaves(test::TestDatabase& database) {
    database.exec(u"CREATE EXCEPTION E_RECUSA 'gravacao recusada'"_s);
    database.exec(u"CREATE TRIGGER T_RECUSA FOR VRTNHLD BEFORE INSERT OR UPDATE AS "
                  u"BEGIN EXCEPTION E_RECUSA; END"_s);
}

} // namespace

class TestHelpWindows : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void viewerListsKeysBeforeTitles();
    void viewerWithoutMatchesListsEveryTopic();
    void redLinkJumpsToItsHeading();
    void blueLinkSearchesOtherTopics();
    void linkFollowedWhenTheMouseLetsGo();
    void findInTextOnTheOnlyMatchingLine();
    void listNarrowedAndWidened();
    void topicPrinted();
    void topicSavedAsRichText();
    void topicSentByEmail();
    void enterSearchesAndMaintenanceOpensTheTopic();
    void editorModes();
    void newTopicAndKeySaved();
    void failedSaveKeepsTheText();
    void noKeyForAnUnsavedTopic();
    void menuCommandsFollowTheMode();
    void queriesOfTheEditor_data();
    void queriesOfTheEditor();
    void anotherTopicReadWhileEditingAsks();
    void keyBeingEditedStaysItself();
    void maintenanceOfBothTables();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void keySearchShowsTheKeysTopic();
    void lineAndColumnShown();
    void linkColouredInTheEditorIsFollowedInTheViewer();
    void rulerAndBulletsChangeTheParagraph();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestHelpWindows::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->store().load(Fixture);
    data::ResetReturnedValues();
}

void TestHelpWindows::cleanup() {
    m_fixture.reset();
}

void TestHelpWindows::viewerListsKeysBeforeTitles() {
    TF_HLP window;
    window.setSearchText(u"PESQC"_s);
    Activate(window);
    QCOMPARE(ListTexts(Control<QTableWidget>(window, u"GRID_PESQ"_s)),
             (QStringList{u"PESQC/2"_s, u"PESQC - filtros/3"_s, u"Janela PESQC/1"_s}));
    QCOMPARE(window.topicNumber(), u"2"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_CON_TITULO"_s)->text(), u"Consulta geral"_s);
    QCOMPARE(window.text()->toPlainText(), u"dois"_s);
    QCOMPARE(window.recentWords().value(0), u"PESQC"_s);
    // Choosing a row shows its topic.
    Control<QTableWidget>(window, u"GRID_PESQ"_s)->setCurrentCell(2, 0);
    QCOMPARE(window.topicNumber(), u"1"_s);
    QVERIFY(window.text()->toPlainText().startsWith(u"Ajuda da consulta"_s));
    // Leaving the search text, its word searched already, keeps that topic.
    auto* search = Control<QLineEdit>(window, u"ED_PESQ"_s);
    search->setFocus();
    QTRY_VERIFY(search->hasFocus());
    window.text()->setFocus();
    QTRY_VERIFY(window.text()->hasFocus());
    QCOMPARE(window.topicNumber(), u"1"_s);
    // A word changed is searched on leaving.
    search->setFocus();
    QTRY_VERIFY(search->hasFocus());
    QTest::keyClicks(search, u" - filtros"_s);
    window.text()->setFocus();
    QTRY_VERIFY(window.text()->hasFocus());
    QCOMPARE(window.topicNumber(), u"3"_s);
}

void TestHelpWindows::viewerWithoutMatchesListsEveryTopic() {
    TF_HLP window;
    window.setSearchText(u"XYZ"_s);
    Show(window);
    QCOMPARE(ListTexts(Control<QTableWidget>(window, u"GRID_PESQ"_s)),
             (QStringList{u"Consulta geral/2"_s, u"Contas por cliente/3"_s, u"Janela PESQC/1"_s}));
    QCOMPARE(window.topicNumber(), u"0"_s);
    QVERIFY(!window.recentWords().contains(u"XYZ"_s));
    // A click on the first row, current but not shown yet, shows its topic.
    auto* list = Control<QTableWidget>(window, u"GRID_PESQ"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0, 0)).center());
    QCOMPARE(window.topicNumber(), u"2"_s);
    QCOMPARE(window.text()->toPlainText(), u"dois"_s);
    // A later search without matches leaves the topic shown.
    window.setTopicNumber(u"3"_s);
    window.setSearchText(u"nada disso"_s);
    window.locate();
    QCOMPARE(window.topicNumber(), u"3"_s);
    QCOMPARE(Control<QTableWidget>(window, u"GRID_PESQ"_s)->rowCount(), 3);
}

void TestHelpWindows::redLinkJumpsToItsHeading() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Activate(window);
    QCOMPARE(window.topicNumber(), u"1"_s);
    window.text()->setFocus();
    QTRY_VERIFY(window.text()->hasFocus());
    SelectWord(window.text(), u"Filtro"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_PESQTEXTO"_s)->text(), u"Filtro:"_s);
    const QTextCursor at = window.text()->textCursor();
    QCOMPARE(at.block().text(), u"Filtro: como filtrar"_s);
    QCOMPARE(at.selectedText(), u"Filtro:"_s);
    QVERIFY(at.charFormat().fontItalic());
    QCOMPARE(window.topicNumber(), u"1"_s);
}

void TestHelpWindows::blueLinkSearchesOtherTopics() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Show(window);
    SelectWord(window.text(), u"FCPC"_s);
    QCOMPARE(window.searchText(), u"FCPC"_s);
    QCOMPARE(window.topicNumber(), u"3"_s);
    QCOMPARE(window.text()->toPlainText(), u"tres"_s);
    QCOMPARE(window.recentWords().mid(0, 2), (QStringList{u"FCPC"_s, u"Janela"_s}));
    // A black word is no link.
    window.setTopicNumber(u"1"_s);
    SelectWord(window.text(), u"qualquer"_s);
    QCOMPARE(window.topicNumber(), u"1"_s);
}

void TestHelpWindows::linkFollowedWhenTheMouseLetsGo() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Show(window);
    QTextEdit* text = window.text();
    QTextCursor word = text->document()->find(u"FCPC"_s);
    QTextCursor start(text->document());
    start.setPosition(word.selectionStart());
    const QPoint at = text->cursorRect(start).center();
    QTest::mousePress(text->viewport(), Qt::LeftButton, {}, at);
    // The drag has reached "FC": nothing is searched while the button is down.
    QTextCursor partial(text->document());
    partial.setPosition(word.selectionStart());
    partial.setPosition(word.selectionStart() + 2, QTextCursor::KeepAnchor);
    text->setTextCursor(partial);
    QCOMPARE(window.searchText(), u"Janela"_s);
    QCOMPARE(window.topicNumber(), u"1"_s);
    QTest::mouseRelease(text->viewport(), Qt::LeftButton, {}, at);
    QTRY_COMPARE(window.searchText(), u"FC"_s);
    QCOMPARE(window.topicNumber(), u"3"_s);
}

void TestHelpWindows::findInTextOnTheOnlyMatchingLine() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    // Enter in the text searched for: the first line after the caret's.
    Activate(window);
    auto* find = Control<QLineEdit>(window, u"E_PESQTEXTO"_s);
    find->setFocus();
    QTRY_VERIFY(find->hasFocus());
    QTest::keyClicks(find, u"filtro"_s);
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(window.text()->textCursor().block().text(), u"Veja Filtro e o cadastro FCPC."_s);
    // A click on the button from the text searched for: one search too.
    window.text()->moveCursor(QTextCursor::Start);
    find->setFocus();
    QTRY_VERIFY(find->hasFocus());
    QTest::mouseClick(Control<QPushButton>(window, u"BU_PROCURA"_s), Qt::LeftButton);
    QCOMPARE(window.text()->textCursor().block().text(), u"Veja Filtro e o cadastro FCPC."_s);
    window.text()->moveCursor(QTextCursor::Start);
    find->setText(u"COMO FILTRAR"_s);
    window.findInText();
    QCOMPARE(window.text()->textCursor().block().text(), u"Filtro: como filtrar"_s);
    // Again, from that line: no later line holds it.
    window.findInText();
    QCOMPARE(window.text()->textCursor().position(), 0);
    QVERIFY(!window.text()->textCursor().hasSelection());
}

void TestHelpWindows::listNarrowedAndWidened() {
    TF_HLP window;
    Show(window);
    auto* list = Control<QTableWidget>(window, u"GRID_PESQ"_s);
    const int width = list->width();
    window.widenList();
    QCOMPARE(list->width(), 2 * width);
    window.narrowList();
    QCOMPARE(list->width(), width);
    window.narrowList();
    QVERIFY(list->isHidden());
    window.widenList();
    QVERIFY(!list->isHidden());
    QCOMPARE(list->width(), width);
}

void TestHelpWindows::topicPrinted() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Show(window);
    QTemporaryDir folder;
    const QString file = folder.filePath(u"topico.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    window.printOn(printer);
    const QString printed = test::RunTool(u"pdftotext"_s, {file, u"-"_s});
    // (The PDF may join "fi" into one glyph.)
    QVERIFY2(printed.contains(u"Ajuda da consulta"_s) && printed.contains(u"Texto qualquer"_s),
             qPrintable(printed));
    QCOMPARE(printer.docName(), u"Janela PESQC"_s);
    // The first word at the page's top, 1000 twips (50 points) from its
    // left edge.
    const QString boxes = test::RunTool(u"pdftotext"_s, {u"-bbox"_s, file, u"-"_s});
    const QRegularExpression first(
        uR"re(<word xMin="([0-9.]+)" yMin="([-0-9.]+)"[^>]*>Ajuda<)re"_s);
    const QRegularExpressionMatch at = first.match(boxes);
    QVERIFY2(at.hasMatch(), qPrintable(boxes));
    QVERIFY2(qAbs(at.captured(1).toDouble() - 50) < 2, qPrintable(at.captured(0)));
    QVERIFY2(at.captured(2).toDouble() < 10, qPrintable(at.captured(0)));
}

void TestHelpWindows::topicSavedAsRichText() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Show(window);
    QTemporaryDir folder;
    // A name typed without extension gets ".RTF".
    test::OnModal(u"SaveDialog1"_s, [&folder](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        dialog->setDirectory(folder.path());
        dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"topico"_s);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window.saveAs();
    QFile file(folder.filePath(u"topico.RTF"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(platform::IsRtf(bytes));
    QTextDocument read;
    platform::RtfToDocument(bytes, read);
    QCOMPARE(read.toPlainText(), window.text()->toPlainText());
}

void TestHelpWindows::topicSentByEmail() {
    TF_HLP window;
    window.setSearchText(u"Janela"_s);
    Show(window);
    QString message, recipient = u"<no window>"_s;
    test::OnModal(u"TF_EMAIL"_s, [&message, &recipient](QWidget* mail) {
        if (!mail) return;
        message = mail->findChild<QPlainTextEdit*>(u"E_MENSAGEM"_s)->toPlainText();
        recipient = mail->findChild<QLineEdit*>(u"E_PARA"_s)->text();
        mail->close();
    });
    window.sendByEmail();
    QCOMPARE(recipient, QString());
    QCOMPARE(message, window.text()->toPlainText());
    QVERIFY(message.contains(u"Filtro: como filtrar"_s));
}

void TestHelpWindows::enterSearchesAndMaintenanceOpensTheTopic() {
    TF_HLP window;
    Show(window);
    auto* search = Control<QLineEdit>(window, u"ED_PESQ"_s);
    search->setText(u"FCPC"_s);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(window.topicNumber(), u"3"_s);
    QCOMPARE(search->selectedText(), u"FCPC"_s);
    int opened = -1;
    test::OnModal(u"TF_HLPM"_s, [&opened](QWidget* editor) {
        if (!editor) return;
        opened = static_cast<TF_HLPM*>(editor)->topicNumber();
        editor->close();
    });
    window.openMaintenance();
    QCOMPARE(opened, 3);
}

void TestHelpWindows::editorModes() {
    TF_HLPM window;
    window.setTopicNumber(2);
    Show(window);
    QCOMPARE(window.text()->toPlainText(), u"dois"_s);
    const auto enabled = [&window](const QString& name) {
        return Control<QWidget>(window, name)->isEnabled();
    };
    const QStringList off{u"BU_SALVA"_s, u"BU_EXCLUI"_s, u"PA_EDIT"_s};
    const QStringList on{u"BU_NOVO"_s, u"BU_ALTERA"_s, u"BU_PESQUISA"_s};
    for (const QString& name : off)
        QVERIFY2(!enabled(name), qPrintable(name));
    for (const QString& name : on)
        QVERIFY2(enabled(name), qPrintable(name));
    QVERIFY(window.text()->isReadOnly());
    QVERIFY(Control<QLineEdit>(window, u"E_TITULO"_s)->isReadOnly());
    window.changeTopic();
    for (const QString& name : off)
        QVERIFY2(enabled(name), qPrintable(name));
    for (const QString& name : on)
        QVERIFY2(!enabled(name), qPrintable(name));
    QVERIFY(!window.text()->isReadOnly());
    QVERIFY(!Control<QLineEdit>(window, u"E_TITULO"_s)->isReadOnly());
    // Cancel drops the changes.
    window.text()->insertPlainText(u"mudado "_s);
    window.cancelTopic();
    QCOMPARE(window.text()->toPlainText(), u"dois"_s);
    QVERIFY(!window.topicEditing());
}

void TestHelpWindows::newTopicAndKeySaved() {
    TF_HLPM window;
    Show(window);
    test::DialogLog log;
    window.newTopic();
    Control<QLineEdit>(window, u"E_TITULO"_s)->setText(u"Novo tópico"_s);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    window.text()->textCursor().insertText(u"Negrito"_s, bold);
    QVERIFY(window.saveTopic());
    QCOMPARE(window.topicNumber(), 4);
    QVERIFY(!window.topicEditing());
    const std::optional<HelpTopic> stored = LoadTopic(4);
    QVERIFY(stored);
    QCOMPARE(stored->title, u"Novo tópico"_s);
    QTextDocument read;
    platform::RtfToDocument(stored->text, read);
    QCOMPARE(read.toPlainText(), u"Negrito"_s);
    QTextCursor first(&read);
    first.setPosition(1);
    QCOMPARE(first.charFormat().fontWeight(), int(QFont::Bold));

    Control<QTabWidget>(window, u"PageControl1"_s)->setCurrentIndex(1);
    window.newKey();
    Control<QLineEdit>(window, u"E_CHAVE"_s)->setText(u"NOVA"_s);
    QVERIFY(window.saveKey());
    QCOMPARE(Control<QLabel>(window, u"LA_SEQ_CHAVE"_s)->text(), u"5"_s);
    QCOMPARE(KeysOfTopic(4), (QList<HelpKey>{{5, 4, u"NOVA"_s}}));
    QCOMPARE(Boxes(log), QStringList());
}

void TestHelpWindows::failedSaveKeepsTheText() {
    RefuseSaves(m_fixture->store());
    TF_HLPM window;
    Show(window);
    test::DialogLog log;
    window.newTopic();
    Control<QLineEdit>(window, u"E_TITULO"_s)->setText(u"Não gravado"_s);
    window.text()->insertPlainText(u"texto precioso"_s);
    QVERIFY(!window.saveTopic());
    const QStringList boxes = Boxes(log);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.constFirst().startsWith(u"ERROR_BOX: O tópico não foi salvo"_s),
             qPrintable(boxes.constFirst()));
    QVERIFY(window.topicEditing());
    QCOMPARE(window.topicNumber(), 0);
    QCOMPARE(Control<QLineEdit>(window, u"E_TITULO"_s)->text(), u"Não gravado"_s);
    QCOMPARE(window.text()->toPlainText(), u"texto precioso"_s);
    QCOMPARE(Scalar(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), u"3"_s);
}

void TestHelpWindows::noKeyForAnUnsavedTopic() {
    TF_HLPM window;
    Show(window);
    test::DialogLog log;
    window.newTopic();
    Control<QTabWidget>(window, u"PageControl1"_s)->setCurrentIndex(1);
    window.newKey();
    Control<QLineEdit>(window, u"E_CHAVE"_s)->setText(u"ORFA"_s);
    QVERIFY(!window.saveKey());
    QCOMPARE(Boxes(log).size(), 1);
    QCOMPARE(Scalar(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLP"_s), u"4"_s);
    QCOMPARE(Scalar(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLP WHERE SEQHLD = 0"_s),
             u"0"_s);
}

// The menu's commands are the buttons of the page shown: what the mode
// disables does nothing.
void TestHelpWindows::menuCommandsFollowTheMode() {
    TF_HLPM window;
    window.setTopicNumber(2);
    Show(window);
    const auto run = [&window](const QString& caption) {
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == caption) return action->trigger();
        QFAIL(qPrintable(u"no item "_s + caption));
    };
    window.changeTopic();
    window.text()->insertPlainText(u"mudança "_s);
    test::DialogLog log;
    run(u"Novo"_s);
    run(u"Consulta"_s);
    run(u"Altera"_s);
    QCOMPARE(log.names(), QStringList());
    QVERIFY(window.topicEditing());
    QCOMPARE(window.topicNumber(), 2);
    QCOMPARE(window.text()->toPlainText(), u"mudança dois"_s);
    run(u"Salva"_s);
    QVERIFY(!window.topicEditing());
    QCOMPARE(TopicPlainText(LoadTopic(2)->text), u"mudança dois"_s);
    run(u"Salva"_s);
    QCOMPARE(log.names(), QStringList());
    run(u"Altera"_s);
    QVERIFY(window.topicEditing());
}

void TestHelpWindows::queriesOfTheEditor_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("openAtStart");
    QTest::newRow("Pesquisa no Cadastro HLP") << u"BU_PESQUISA_HLP"_s << u"VRTNHLP"_s << u"SEQHLD"_s
                                              << u"CHAVE"_s << u"CHAVE"_s << u"PESQC"_s << true;
    QTest::newRow("Pesquisa no Cadastro") << u"BU_PESQUISA"_s << u"VRTNHLD"_s << u"SEQ"_s
                                          << u"TITULO"_s << QString() << u"PESQC"_s << true;
    QTest::newRow("the keys' search") << u"BU_PESQUISA_CHAVE"_s << u"VRTNHLP"_s << u"SEQ"_s
                                      << u"CHAVE"_s << u"CHAVE"_s << QString() << false;
}

// The generic query opens with the help's own saved settings ("HLP"), the
// field, order and value of each search, and reads its rows at once or not.
void TestHelpWindows::queriesOfTheEditor() {
    QFETCH(QString, button);
    QFETCH(QString, table);
    QFETCH(QString, returned);
    QFETCH(QString, field);
    QFETCH(QString, order);
    QFETCH(QString, value);
    QFETCH(bool, openAtStart);
    TF_HLPM window;
    Show(window);
    Control<QLineEdit>(window, u"ED_PESQ"_s)->setText(u"PESQC"_s);
    if (button == u"BU_PESQUISA_CHAVE"_s)
        Control<QTabWidget>(window, u"PageControl1"_s)->setCurrentIndex(1);
    QStringList seen;
    test::OnModal(u"TF_PESQC"_s, [&seen](QWidget* query) {
        if (!query) return;
        for (const char* name :
             {"E_ARQ", "E_CAMPORETORNO", "E_ORDEM", "E_CONTEUDO1", "E_CONFIG_AUT"})
            seen << query->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
        seen << query->findChild<QComboBox*>(u"CB_CAMPOS"_s)->currentText();
        seen << (query->findChild<QCheckBox*>(u"CB_ABRIR"_s)->isChecked() ? u"abre"_s
                                                                          : u"fechada"_s);
        data::ReturnedValues().values[0] = u"3"_s;
        data::ReturnedValues().rowChosen = true;
        query->close();
    });
    Control<QPushButton>(window, button)->click();
    QCOMPARE(seen, (QStringList{table, returned, order, value, u"HLP"_s, field,
                                openAtStart ? u"abre"_s : u"fechada"_s}));
    if (button == u"BU_PESQUISA_CHAVE"_s) {
        QCOMPARE(Control<QLineEdit>(window, u"E_CHAVE"_s)->text(), u"Consulta de contas"_s);
    } else {
        QCOMPARE(window.topicNumber(), 3);
        QCOMPARE(window.text()->toPlainText(), u"tres"_s);
    }
}

// "Pesquisa no Cadastro HLP" while a topic is being changed: the question
// first; cancelled, the text typed stays.
void TestHelpWindows::anotherTopicReadWhileEditingAsks() {
    TF_HLPM window;
    window.setTopicNumber(2);
    Show(window);
    window.changeTopic();
    window.text()->insertPlainText(u"mudança "_s);
    QString seen = u"<no box>"_s;
    test::OnModal(u"TF_PESQC"_s, [&seen](QWidget* query) {
        if (!query) return;
        data::ReturnedValues().values[0] = u"3"_s;
        data::ReturnedValues().rowChosen = true;
        test::OnModal(u"QUESTION_BOX"_s, [&seen](QWidget* box) {
            if (!box) return;
            seen = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
        });
        query->close();
    });
    Control<QPushButton>(window, u"BU_PESQUISA_HLP"_s)->click();
    QCOMPARE(seen, u"SALVAR o registro atual?"_s);
    QCOMPARE(window.topicNumber(), 2);
    QCOMPARE(window.text()->toPlainText(), u"mudança dois"_s);
    QVERIFY(window.topicEditing());
}

// While a key is being changed, neither showing the page again nor a click
// on another row puts another key (and its number) under the text typed.
void TestHelpWindows::keyBeingEditedStaysItself() {
    TF_HLPM window;
    window.setTopicNumber(3);
    Show(window);
    auto* pages = Control<QTabWidget>(window, u"PageControl1"_s);
    auto* keys = Control<QTableWidget>(window, u"GRID_CHAVES"_s);
    auto* key = Control<QLineEdit>(window, u"E_CHAVE"_s);
    pages->setCurrentIndex(1);
    keys->setCurrentCell(2, 0);
    QCOMPARE(key->text(), u"FCPC"_s);
    window.changeKey();
    key->end(false);
    QTest::keyClicks(key, u" cadastro"_s);
    pages->setCurrentIndex(0);
    pages->setCurrentIndex(1);
    keys->setCurrentCell(0, 0);
    QCOMPARE(key->text(), u"FCPC cadastro"_s);
    QCOMPARE(Control<QLabel>(window, u"LA_SEQ_CHAVE"_s)->text(), u"4"_s);
    QVERIFY(window.saveKey());
    QCOMPARE(KeysOfTopic(3), (QList<HelpKey>{{1, 3, u"PESQC - filtros"_s},
                                             {3, 3, u"Consulta de contas"_s},
                                             {4, 3, u"FCPC cadastro"_s}}));
}

void TestHelpWindows::maintenanceOfBothTables() {
    QStringList opened;
    platform::RegisterWindow(u"MAINTENANCE"_s, [&opened](QWidget*, const QStringList& arguments) {
        opened << arguments.join(u',');
    });
    TF_HLPM window;
    Show(window);
    Control<QPushButton>(window, u"BU_MANUT_HLD"_s)->click();
    Control<QPushButton>(window, u"BU_MANUT_HLP"_s)->click();
    platform::UnregisterWindow(u"MAINTENANCE"_s);
    QCOMPARE(opened, (QStringList{u"HLD"_s, u"HLP"_s}));
}

void TestHelpWindows::closingWithChangesAsks_data() {
    QTest::addColumn<bool>("key"); // a key typed, else the topic's text
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("stored");
    QTest::newRow("text, cancelled") << false << int(QMessageBox::Cancel) << false;
    QTest::newRow("text, not saved") << false << int(QMessageBox::No) << false;
    QTest::newRow("text, saved") << false << int(QMessageBox::Yes) << true;
    QTest::newRow("key, cancelled") << true << int(QMessageBox::Cancel) << false;
    QTest::newRow("key, not saved") << true << int(QMessageBox::No) << false;
    QTest::newRow("key, saved") << true << int(QMessageBox::Yes) << true;
}

void TestHelpWindows::closingWithChangesAsks() {
    QFETCH(bool, key);
    QFETCH(int, answer);
    QFETCH(bool, stored);
    TF_HLPM window;
    window.setTopicNumber(2);
    Show(window);
    if (key) {
        Control<QTabWidget>(window, u"PageControl1"_s)->setCurrentIndex(1);
        window.newKey();
        QTest::keyClicks(Control<QLineEdit>(window, u"E_CHAVE"_s), u"NOVA"_s);
    } else {
        window.changeTopic();
        window.text()->insertPlainText(u"mudança "_s);
    }
    QVERIFY(window.hasUnsavedChanges());
    QString seen;
    test::OnModal(u"QUESTION_BOX"_s, [&seen, answer](QWidget* box) {
        seen = box ? static_cast<QMessageBox*>(box)->text() : u"<no box>"_s;
        if (box)
            static_cast<QMessageBox*>(box)->button(QMessageBox::StandardButton(answer))->click();
    });
    window.reject();
    QCOMPARE(seen, u"SALVAR o registro atual?"_s);
    QCOMPARE(window.isVisible(), answer == QMessageBox::Cancel);
    if (key) {
        QCOMPARE(KeysOfTopic(2).size(), stored ? 2 : 1);
    } else {
        QCOMPARE(LoadTopic(2)->text == QByteArray("{\\rtf1 dois}"), !stored);
    }
}

void TestHelpWindows::keySearchShowsTheKeysTopic() {
    TF_HLPM window;
    window.setTopicNumber(1);
    Show(window);
    Control<QTabWidget>(window, u"PageControl1"_s)->setCurrentIndex(1);
    // The generic query returns key 4 ("FCPC", of topic 3).
    test::OnModal(u"TF_PESQC"_s, [](QWidget* query) {
        if (!query) return;
        data::ReturnedValues().values[0] = u"4"_s;
        data::ReturnedValues().rowChosen = true;
        query->close();
    });
    window.searchKey();
    QCOMPARE(Control<QLabel>(window, u"LA_SEQ_CHAVE"_s)->text(), u"4"_s);
    QCOMPARE(Control<QLineEdit>(window, u"E_CHAVE"_s)->text(), u"FCPC"_s);
    QCOMPARE(window.topicNumber(), 3);
    QCOMPARE(window.text()->toPlainText(), u"tres"_s);
}

void TestHelpWindows::lineAndColumnShown() {
    TF_HLPM window;
    window.setTopicNumber(1);
    Show(window);
    QTextCursor cursor = window.text()->textCursor();
    cursor.setPosition(window.text()->document()->findBlockByNumber(1).position() + 4);
    window.text()->setTextCursor(cursor);
    QCOMPARE(Control<QLabel>(window, u"LA_LINHA_COLUNA"_s)->text(), u"Line:   2   Col:   5"_s);
}

// A topic written in the editor with a word made blue by the formatting bar
// is found by its key in the viewer, and the blue word leads to the topic of
// that word.
void TestHelpWindows::linkColouredInTheEditorIsFollowedInTheViewer() {
    {
        TF_HLPM editor;
        Show(editor);
        editor.newTopic();
        Control<QLineEdit>(editor, u"E_TITULO"_s)->setText(u"Roteiro"_s);
        editor.text()->insertPlainText(u"Depois veja FCPC no cadastro."_s);
        SelectWord(editor.text(), u"FCPC"_s);
        Control<QToolButton>(editor, u"BU_AZUL"_s)->click();
        QVERIFY(editor.saveTopic());
        Control<QTabWidget>(editor, u"PageControl1"_s)->setCurrentIndex(1);
        editor.newKey();
        Control<QLineEdit>(editor, u"E_CHAVE"_s)->setText(u"ROTEIRO"_s);
        QVERIFY(editor.saveKey());
    }
    TF_HLP viewer;
    viewer.setSearchText(u"ROTEIRO"_s);
    Show(viewer);
    QCOMPARE(viewer.topicNumber(), u"4"_s);
    SelectWord(viewer.text(), u"FCPC"_s);
    QCOMPARE(viewer.topicNumber(), u"3"_s);
}

void TestHelpWindows::rulerAndBulletsChangeTheParagraph() {
    TF_HLPM editor;
    editor.setTopicNumber(1);
    Show(editor);
    editor.changeTopic();
    QTextCursor cursor(editor.text()->document()->findBlockByNumber(2));
    editor.text()->setTextCursor(cursor);
    auto* ruler = Control<platform::TextRuler>(editor, u"RULER"_s);
    // The left mark dragged 40 pixels to the right.
    const int from = ruler->markPosition(platform::TextRuler::Mark::Left);
    const int y = ruler->height() - 3;
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(ruler, QPoint(from + 40, y));
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(from + 40, y));
    QCOMPARE(editor.text()->document()->findBlockByNumber(2).blockFormat().leftMargin(), 40.0);
    QCOMPARE(editor.text()->document()->findBlockByNumber(1).blockFormat().leftMargin(), 0.0);
    Control<QToolButton>(editor, u"BU_MARCADORES"_s)->click();
    QVERIFY(editor.text()->document()->findBlockByNumber(2).textList());
    QVERIFY(editor.saveTopic());
    QTextDocument stored;
    platform::RtfToDocument(LoadTopic(1)->text, stored);
    const QTextBlock block = stored.findBlockByNumber(2);
    QCOMPARE(block.text(), u"Texto qualquer"_s);
    QCOMPARE(block.blockFormat().leftMargin(), 40.0);
    QVERIFY(block.textList());
    QVERIFY(!stored.findBlockByNumber(1).textList());
}

QTEST_MAIN(TestHelpWindows)
#include "test_help_windows.moc"
