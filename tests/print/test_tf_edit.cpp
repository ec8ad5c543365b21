// The text editor offscreen: how it saves (DOS text or rich text, the ".TXT"
// rule, the question over an existing file, a failed write), how it opens
// and remembers files, how it closes, mails and prints, and a report sent to
// the text destination ending in it.

#include "data/globals.h"
#include "platform/registry.h"
#include "platform/rtf.h"
#include "platform/window_registry.h"
#include "print/print_job.h"
#include "print/report_runner.h"
#include "print/tf_edit.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/run_tool.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <sys/resource.h>

#include <csignal>
#include <memory>

using namespace livrax;
using namespace livrax::print;
using livrax::platform::IsRtf;
using livrax::platform::RtfToDocument;
using namespace Qt::StringLiterals;
using livrax::test::OnModal;

namespace {

template <typename T> T* Child(const QWidget& window, const QString& name) {
    T* child = window.findChild<T*>(name);
    if (!child) qWarning("no control %s", qPrintable(name));
    return child;
}

void Click(const QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
}

bool Checked(const QWidget& window, const QString& name) {
    return Child<QCheckBox>(window, name)->isChecked();
}

bool Enabled(const QWidget& window, const QString& name) {
    return Child<QAbstractButton>(window, name)->isEnabled();
}

QString FileField(const QWidget& window) {
    return Child<QLineEdit>(window, u"E_ARQUIVO"_s)->text();
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A box the code under test shows next: its title and text kept, then the
// button `answer` pressed.
struct SeenBox {
    QString title, text;
    bool seen = false;
};
std::shared_ptr<SeenBox> AnswerBox(const QString& name, QMessageBox::StandardButton answer) {
    auto seen = std::make_shared<SeenBox>();
    OnModal(name, [seen, answer](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        seen->seen = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        box->button(answer)->click();
    });
    return seen;
}

// The next file dialog named `name` gets `path` typed and accepted (or is
// cancelled when `path` is empty); `seen` receives where it started and its
// filters.
struct SeenDialog {
    QString folder, file, filter;
    QStringList filters;
    bool seen = false;
};
std::shared_ptr<SeenDialog> AnswerFileDialog(const QString& name, const QString& path) {
    auto seen = std::make_shared<SeenDialog>();
    OnModal(name, [seen, path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        seen->seen = true;
        seen->folder = dialog->directory().absolutePath();
        seen->file = dialog->selectedFiles().value(0);
        seen->filters = dialog->nameFilters();
        seen->filter = dialog->selectedNameFilter();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Chosen, and typed into the name field as the user does
        // (selectFile leaves a focused field alone).
        dialog->selectFile(path);
        auto* typed = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        QVERIFY(typed);
        typed->setText(QFileInfo(path).fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    });
    return seen;
}

// The text typed by the user at the end of the editor's text.
void Type(TF_EDIT& editor, const QString& text) {
    editor.text()->moveCursor(QTextCursor::End);
    editor.text()->insertPlainText(text);
}

} // namespace

class TestTF_EDIT : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString path(const QString& name) const { return m_folder->filePath(name); }

  private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        data::Globals().registry.dirTemp = m_folder->path() + u'/';
        platform::WriteProgramSetting(u"EDIT"_s, u"ARQUIVO"_s, QString());
    }
    void cleanup() {
        platform::UnregisterWindow(u"EMAIL"_s);
        data::ResetGlobals();
        m_folder.reset();
    }

    void saveAs_data();
    void saveAs();
    void failedWriteKeepsTheOldFileAndTheText();
    void open_data();
    void open();
    void openingOffersToSaveChanges();
    void showingReadsTheNamedFile();
    void showingTakesTheRememberedName();
    void closing_data();
    void closing();
    void mail_data();
    void mail();
    void newTextClearsEverything();
    void openedByNameThroughTheRegistry();
    void printsTheTextUnderTheFileName();
    void textDestinationEndsInTheEditor();
};

void TestTF_EDIT::saveAs_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("dosText");
    QTest::addColumn<QString>("existing"); // a file there before, "" none
    QTest::addColumn<bool>("overwrite");   // the answer to the question
    QTest::addColumn<QString>("written");  // "" when nothing is written

    QTest::newRow("dos text") << u"relatorio.txt"_s << true << QString() << false
                              << u"relatorio.txt"_s;
    QTest::newRow("no extension gets .TXT")
        << u"relatorio"_s << true << QString() << false << u"relatorio.TXT"_s;
    QTest::newRow("rich text") << u"carta.rtf"_s << false << QString() << false << u"carta.rtf"_s;
    QTest::newRow("rich text whatever the extension")
        << u"carta.txt"_s << false << QString() << false << u"carta.txt"_s;
    QTest::newRow("existing file, overwritten")
        << u"velho.txt"_s << true << u"velho.txt"_s << true << u"velho.txt"_s;
    QTest::newRow("existing file, kept")
        << u"velho.txt"_s << true << u"velho.txt"_s << false << QString();
    QTest::newRow("existing once .TXT is added, kept")
        << u"velho"_s << true << u"velho.TXT"_s << false << QString();
}

void TestTF_EDIT::saveAs() {
    QFETCH(QString, typed);
    QFETCH(bool, dosText);
    QFETCH(QString, existing);
    QFETCH(bool, overwrite);
    QFETCH(QString, written);
    if (!existing.isEmpty()) Write(path(existing), "antigo\r\n");

    TF_EDIT editor;
    editor.text()->setPlainText(u"Ação → fim\nlinha 2"_s);
    QTextCursor cursor(editor.text()->document());
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
    editor.setPlainSave(dosText);
    QVERIFY(Enabled(editor, u"BU_SALVA"_s));

    test::DialogLog log(test::DialogLog::Boxes::Leave);
    const auto dialog = AnswerFileDialog(u"SaveDialog1"_s, path(typed));
    std::shared_ptr<SeenBox> question;
    if (!existing.isEmpty())
        question = AnswerBox(u"QUESTION_BOX"_s, overwrite ? QMessageBox::Ok : QMessageBox::Cancel);
    Click(editor, u"BU_SALVACOMO"_s);
    QVERIFY(dialog->seen);
    // A name without folder starts in the temporary folder.
    QCOMPARE(dialog->folder, QDir(m_folder->path()).absolutePath());
    if (question) {
        QVERIFY(question->seen);
        QCOMPARE(question->title, u"Novo Arquivo"_s);
        QCOMPARE(question->text, u"O Nome de arquivo informado já existe.   Gravar em cima ?"_s);
    } else {
        QCOMPARE(log.names(), QStringList{u"SaveDialog1"_s});
    }

    if (written.isEmpty()) {
        QCOMPARE(Bytes(path(existing)), QByteArray("antigo\r\n"));
        QVERIFY(Enabled(editor, u"BU_SALVA"_s));
        QCOMPARE(Checked(editor, u"CB_PLANO"_s), dosText);
        return;
    }
    const QByteArray bytes = Bytes(path(written));
    if (dosText) {
        // Windows-1252, CR LF; "→" has no place in it.
        QCOMPARE(bytes, QByteArray("A\xe7\xe3o ? fim\r\nlinha 2\r\n"));
    } else {
        QVERIFY2(IsRtf(bytes), bytes.constData());
        QTextDocument read;
        RtfToDocument(bytes, read);
        QCOMPARE(read.toPlainText(), u"Ação → fim\nlinha 2"_s);
        QTextCursor at(&read);
        at.setPosition(2);
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
        at.setPosition(6);
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Normal));
    }
    QCOMPARE(FileField(editor), path(written));
    QVERIFY(!Enabled(editor, u"BU_SALVA"_s));
    QVERIFY(!Checked(editor, u"CB_PLANO"_s));
    QVERIFY(!Checked(editor, u"CB_ALT"_s));
    QCOMPARE(editor.windowTitle(),
             QFileInfo(written).fileName() + u" - VORTANE Informática - LIVRAX"_s);
}

void TestTF_EDIT::failedWriteKeepsTheOldFileAndTheText() {
    const QString name = path(u"relatorio.txt"_s);
    Write(name, "antigo\r\n");
    TF_EDIT editor;
    editor.setFileName(name);
    editor.setPlainSave(true);
    const QString text = QString(5000, u'x');
    editor.text()->setPlainText(text);
    Type(editor, u"!"_s);
    QVERIFY(Checked(editor, u"CB_ALT"_s));

    // A file-size limit makes the write fail as a full disk would.
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const auto error = AnswerBox(u"ERROR_BOX"_s, QMessageBox::Ok);
    Click(editor, u"BU_SALVA"_s);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    QVERIFY(error->seen);
    QVERIFY2(error->text.contains(name), qPrintable(error->text));
    QCOMPARE(Bytes(name), QByteArray("antigo\r\n"));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{u"relatorio.txt"_s});
    QCOMPARE(editor.text()->toPlainText(), text + u"!"_s);
    QVERIFY(Enabled(editor, u"BU_SALVA"_s));
    QVERIFY(Checked(editor, u"CB_ALT"_s));
    QVERIFY(Checked(editor, u"CB_PLANO"_s));
    // The next try, with room, writes it.
    Click(editor, u"BU_SALVA"_s);
    QCOMPARE(Bytes(name), (text + u"!\r\n"_s).toLatin1());
}

void TestTF_EDIT::open_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("dosText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("boldStart");

    QTest::newRow("dos text") << QByteArray("Linha \xc7\r\nDois\r\n") << true << u"Linha Ç\nDois"_s
                              << false;
    QTest::newRow("lines ended by LF alone")
        << QByteArray("um\ndois") << true << u"um\ndois"_s << false;
    QTest::newRow("rich text") << QByteArray("{\\rtf1\\ansi{\\b Negrito} a\\'e7\\'e3o\\par fim}")
                               << false << u"Negrito ação\nfim"_s << true;
}

void TestTF_EDIT::open() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, dosText);
    QFETCH(QString, text);
    QFETCH(bool, boldStart);
    const QString name = path(u"arquivo.dat"_s);
    Write(name, bytes);

    TF_EDIT editor;
    editor.setFileName(path(u"anterior.txt"_s));
    editor.setFixedPitch(true);
    const auto dialog = AnswerFileDialog(u"OpenDialog1"_s, name);
    Click(editor, u"BU_ABRIR"_s);
    QVERIFY(dialog->seen);
    // The dialog starts where the current file is, on its name.
    QCOMPARE(dialog->folder, QDir(m_folder->path()).absolutePath());
    QCOMPARE(dialog->file, path(u"anterior.txt"_s));
    QCOMPARE(dialog->filters, (QStringList{u"Arq. Txt (*.txt *.TXT)"_s, u"Todos arqs. (*)"_s,
                                           u"Rich Text (*.RTF *.rtf)"_s}));

    QCOMPARE(editor.text()->toPlainText(), text);
    QCOMPARE(FileField(editor), name);
    QCOMPARE(Checked(editor, u"CB_PLANO"_s), dosText);
    QVERIFY(!Enabled(editor, u"BU_SALVA"_s));
    QVERIFY(!Checked(editor, u"CB_ALT"_s));
    QTextCursor at(editor.text()->document());
    at.setPosition(1);
    QCOMPARE(at.charFormat().fontWeight() >= QFont::Bold, boldStart);
    // "Courrier New" shows the text in a fixed-pitch font.
    QVERIFY(QFontInfo(editor.text()->document()->defaultFont()).fixedPitch());
}

void TestTF_EDIT::openingOffersToSaveChanges() {
    // Changes to a named file are not lost silently when another is opened.
    const QString current = path(u"atual.txt"_s);
    const QString other = path(u"outro.txt"_s);
    Write(other, "outro\r\n");
    TF_EDIT editor;
    editor.setFileName(current);
    editor.setPlainSave(true);
    Type(editor, u"mudado"_s);
    const auto question = AnswerBox(u"QUESTION_BOX"_s, QMessageBox::Yes);
    const auto dialog = AnswerFileDialog(u"OpenDialog1"_s, other);
    Click(editor, u"BU_ABRIR"_s);
    QVERIFY(question->seen);
    QCOMPARE(question->title, u"Salvar Registro"_s);
    QCOMPARE(question->text, u"O registro atual ainda não foi Salvo.   Salvar agora ?"_s);
    QCOMPARE(Bytes(current), QByteArray("mudado\r\n"));
    QVERIFY(dialog->seen);
    QCOMPARE(editor.text()->toPlainText(), u"outro"_s);
}

void TestTF_EDIT::showingReadsTheNamedFile() {
    const QString name = path(u"SINTEGRA.DAT"_s);
    Write(name, "10 registro\r\n90 fim\r\n");
    TF_EDIT editor;
    editor.setFileName(name);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.text()->toPlainText(), u"10 registro\n90 fim"_s);
    QVERIFY(Checked(editor, u"CB_PLANO"_s));
    QVERIFY(!Checked(editor, u"CB_ALT"_s));
    QVERIFY(!Enabled(editor, u"BU_SALVA"_s));
    QCOMPARE(editor.windowTitle(), u"SINTEGRA.DAT - VORTANE Informática - LIVRAX"_s);
    QCOMPARE(platform::ReadProgramSetting(u"EDIT"_s, u"ARQUIVO"_s), name);
    // The open dialog now offers the file's own kind, chosen.
    const auto dialog = AnswerFileDialog(u"OpenDialog1"_s, QString());
    Click(editor, u"BU_ABRIR"_s);
    QVERIFY(dialog->seen);
    QCOMPARE(dialog->filters.value(3), u"Arquivos (*.DAT)"_s);
    QCOMPARE(dialog->filter, u"Arquivos (*.DAT)"_s);
    editor.close();
    QVERIFY(!editor.isVisible());
}

void TestTF_EDIT::showingTakesTheRememberedName() {
    const QString remembered = path(u"lembrado.txt"_s);
    platform::WriteProgramSetting(u"EDIT"_s, u"ARQUIVO"_s, remembered);
    {
        TF_EDIT editor;
        editor.setFileName(u"___"_s);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        // Named, not read: it does not exist.
        QCOMPARE(FileField(editor), remembered);
        QVERIFY(editor.text()->document()->isEmpty());
        Child<QLineEdit>(editor, u"E_ARQUIVO"_s)->setText(path(u"novo.txt"_s));
        editor.close();
        QVERIFY(!editor.isVisible());
    }
    QCOMPARE(platform::ReadProgramSetting(u"EDIT"_s, u"ARQUIVO"_s), path(u"novo.txt"_s));
}

void TestTF_EDIT::closing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer"); // "" no question expected; "Sim", "Não"
    QTest::addColumn<bool>("stays");
    QTest::addColumn<bool>("written");
    QTest::newRow("empty and unnamed") << QString() << QString() << false << false;
    QTest::newRow("unsaved, saved on request") << u"texto"_s << u"Sim"_s << true << true;
    QTest::newRow("unsaved, left unsaved") << u"texto"_s << u"Não"_s << false << false;
}

void TestTF_EDIT::closing() {
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(bool, stays);
    QFETCH(bool, written);
    TF_EDIT editor;
    editor.setOpenOnShow(false);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const QString name = path(u"fechar.txt"_s);
    if (!text.isEmpty()) {
        Child<QLineEdit>(editor, u"E_ARQUIVO"_s)->setText(name);
        editor.setPlainSave(true);
        Type(editor, text);
    }
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    std::shared_ptr<SeenBox> question;
    if (!answer.isEmpty())
        question =
            AnswerBox(u"QUESTION_BOX"_s, answer == u"Sim"_s ? QMessageBox::Yes : QMessageBox::No);
    Click(editor, u"BU_SAIR"_s);
    if (answer.isEmpty()) {
        QCOMPARE(log.names(), QStringList());
    } else {
        QVERIFY(question->seen);
        QCOMPARE(question->title, u"O Registro atual não foi Salvo"_s);
        QCOMPARE(question->text, u"SALVAR o registro atual?"_s);
    }
    QCOMPARE(editor.isVisible(), stays);
    QCOMPARE(QFileInfo::exists(name), written);
    if (written) QCOMPARE(Bytes(name), QByteArray("texto\r\n"));
    if (!stays && !text.isEmpty())
        QCOMPARE(platform::ReadProgramSetting(u"EDIT"_s, u"ARQUIVO"_s), name);
    if (stays) {
        // Saved: the next "Sair" leaves without a question.
        Click(editor, u"BU_SAIR"_s);
        QVERIFY(!editor.isVisible());
    }
}

void TestTF_EDIT::mail_data() {
    QTest::addColumn<QString>("state");   // "changed", "empty and unnamed", "saved"
    QTest::addColumn<QString>("message"); // "" when the e-mail window opens
    QTest::newRow("unsaved changes") << u"changed"_s << u"O arquivo deve estar salvo"_s;
    QTest::newRow("no name") << u"empty and unnamed"_s
                             << u"O arquivo deve estar salvo e deve ter um nome"_s;
    QTest::newRow("saved file") << u"saved"_s << QString();
}

void TestTF_EDIT::mail() {
    QFETCH(QString, state);
    QFETCH(QString, message);
    platform::RegistryKey(platform::PublicKeyPath())
        .setValue(u"GB_EMAIL"_s, u"fiscal@empresa.com.br"_s);
    QStringList opened;
    bool openedCalled = false;
    platform::RegisterWindow(u"EMAIL"_s, [&](QWidget*, const QStringList& arguments) {
        openedCalled = true;
        opened = arguments;
    });
    const QString name = path(u"carta.txt"_s);
    TF_EDIT editor;
    editor.setOpenOnShow(false);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    Child<QLineEdit>(editor, u"E_ARQUIVO"_s)
        ->setText(state == u"empty and unnamed"_s ? QString() : name);
    editor.setPlainSave(true);
    if (state != u"empty and unnamed"_s) Type(editor, u"texto"_s);
    if (state == u"saved"_s) QVERIFY(editor.save());
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    std::shared_ptr<SeenBox> box;
    if (!message.isEmpty()) box = AnswerBox(u"MESSAGE_BOX"_s, QMessageBox::Ok);
    Click(editor, u"BU_EMAIL"_s);
    if (!box) {
        QVERIFY(openedCalled);
        QCOMPARE(opened, (QStringList{u"fiscal@empresa.com.br"_s, name}));
        QCOMPARE(log.names(), QStringList());
    } else {
        QVERIFY(box->seen);
        QCOMPARE(box->text, message);
        QVERIFY(!openedCalled);
    }
    platform::RegistryKey(platform::PublicKeyPath()).removeValue(u"GB_EMAIL"_s);
    test::DialogLog closing(test::DialogLog::Boxes::Close);
    editor.close();
}

void TestTF_EDIT::newTextClearsEverything() {
    const QString name = path(u"antigo.txt"_s);
    Write(name, "antigo\r\n");
    TF_EDIT editor;
    editor.setFileName(name);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QVERIFY(Checked(editor, u"CB_PLANO"_s));
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    Click(editor, u"BU_NOVO"_s);
    QCOMPARE(log.names(), QStringList()); // nothing unsaved to ask about
    QCOMPARE(FileField(editor), QString());
    QVERIFY(editor.text()->document()->isEmpty());
    QVERIFY(!Checked(editor, u"CB_PLANO"_s));
    QVERIFY(!Checked(editor, u"CB_ALT"_s));
    QVERIFY(!Enabled(editor, u"BU_SALVA"_s));
    QCOMPARE(editor.windowTitle(), u"Untitled - VORTANE Informática - LIVRAX"_s);
    // Empty and unnamed: it closes at once.
    Click(editor, u"BU_SAIR"_s);
    QVERIFY(!editor.isVisible());
    QCOMPARE(log.names(), QStringList());
}

void TestTF_EDIT::openedByNameThroughTheRegistry() {
    RegisterEditorWindow();
    const QString name = path(u"SINTEGRA.TXT"_s);
    Write(name, "10 informante\r\n");
    QString shown;
    bool fixedPitch = false, dosText = false;
    OnModal(u"TF_EDIT"_s, [&](QWidget* window) {
        if (!window) return;
        shown = Child<QTextEdit>(*window, u"MEMO1"_s)->toPlainText();
        fixedPitch = Checked(*window, u"CB_FONTE"_s);
        dosText = Checked(*window, u"CB_PLANO"_s);
        window->close();
    });
    QVERIFY(platform::OpenWindow(u"EDIT"_s, nullptr, {name, u"CB_FONTE"_s}));
    QCOMPARE(shown, u"10 informante"_s);
    QVERIFY(fixedPitch);
    QVERIFY(dosText); // a DOS text read checks "txt DOS"
    platform::UnregisterWindow(u"EDIT"_s);
}

void TestTF_EDIT::printsTheTextUnderTheFileName() {
    TF_EDIT editor;
    editor.setFileName(path(u"impresso.txt"_s));
    editor.text()->setPlainText(u"Primeira linha impressa\nSegunda linha"_s);
    // Cancelled in the print dialog: nothing happens.
    test::DialogLog log(test::DialogLog::Boxes::Leave);
    bool dialogSeen = false;
    OnModal(u"PrintDialog1"_s, [&](QWidget* dialog) {
        if (!dialog) return;
        dialogSeen = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    Click(editor, u"BU_IMPRIMIR"_s);
    QVERIFY(dialogSeen);
    QCOMPARE(log.names(), QStringList{u"PrintDialog1"_s});

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = path(u"impresso.pdf"_s);
    printer.setOutputFileName(pdf);
    editor.printOn(printer);
    QVERIFY(test::RunTool(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"Primeira linha impressa"_s));
    QVERIFY(test::RunTool(u"pdfinfo"_s, {pdf}).contains(path(u"impresso.txt"_s)));
}

void TestTF_EDIT::textDestinationEndsInTheEditor() {
    PrintJob job(CompanyPrintSettings());
    job.settings.interactive = true;
    job.settings.destination = Destination::TextGrid;
    const QString name = path(u"NovoArquivo.txt"_s);
    job.settings.outputFile = name;
    const auto report = [](PrintJob& job) {
        job.startJob();
        job.pageHeader();
        job.printText(QString(), 2, u"Relatório em texto"_s);
        job.newLine();
        job.endJob();
    };
    QString shown, field, refusal;
    bool fixedPitch = false, dosText = false, saveEnabled = false;
    QByteArray firstSave, secondSave;
    OnModal(u"TF_EDIT"_s, [&](QWidget* window) {
        QVERIFY(window);
        auto* editor = static_cast<TF_EDIT*>(window);
        shown = editor->text()->toPlainText();
        field = FileField(*editor);
        fixedPitch = QFontInfo(editor->text()->document()->defaultFont()).fixedPitch();
        dosText = Checked(*editor, u"CB_PLANO"_s);
        saveEnabled = Enabled(*editor, u"BU_SALVA"_s);
        // Mailing right away is refused: the text is not saved.
        const auto box = AnswerBox(u"MESSAGE_BOX"_s, QMessageBox::Ok);
        Click(*editor, u"BU_EMAIL"_s);
        refusal = box->text;
        // Saved as DOS text, then changed and saved again: rich text.
        Click(*editor, u"BU_SALVA"_s);
        firstSave = Bytes(name);
        Type(*editor, u"\nnota"_s);
        Click(*editor, u"BU_SALVA"_s);
        secondSave = Bytes(name);
        Click(*editor, u"BU_SAIR"_s);
    });
    RunReport(job, report);
    QVERIFY(shown.contains(u"  Relatório em texto"_s));
    QCOMPARE(field, name);
    QVERIFY(fixedPitch);
    QVERIFY(dosText);
    QVERIFY(saveEnabled);
    QCOMPARE(refusal, u"O arquivo deve estar salvo"_s);
    QVERIFY2(firstSave.contains("  Relat\xf3rio em texto\r\n"), firstSave.constData());
    QVERIFY(!IsRtf(firstSave));
    QVERIFY2(IsRtf(secondSave), secondSave.constData());
    QTextDocument read;
    RtfToDocument(secondSave, read);
    QVERIFY(read.toPlainText().endsWith(u"\nnota"_s));
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!(widget->objectName() == u"TF_PRINT"_s && widget->isVisible()));
}

QTEST_MAIN(TestTF_EDIT)
#include "test_tf_edit.moc"
