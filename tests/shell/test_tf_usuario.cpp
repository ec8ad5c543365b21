// The user's preferences window on a real database: what it shows for a new
// user, what "Salvar" stores and what it leaves alone, the temporary folder
// it creates, and a password that never reaches a log.

#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/environment.h"
#include "platform/window_registry.h"
#include "shell/tf_usuario.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace livrax;
using namespace livrax::data;
using namespace Qt::StringLiterals;

namespace {

const QString Key = u"PUSER_ANA"_s;
const QStringList CheckBoxes = {u"S_MENSAGEM"_s, u"S_AGENDA"_s,     u"S_CONFIRMAR"_s,
                                u"S_LINHAS"_s,   u"S_AUTENTICAR"_s, u"S_PRINTVISAO"_s};

template <typename T> T* Control(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (!control) qFatal("no control %s", qPrintable(name));
    return control;
}

// The stored lines 1..20 of the user's settings.
QStringList StoredLines() {
    ParamRead(B_DIR(1), Key, 20);
    return ParamLines().lines(20);
}

void Store(const QStringList& lines) {
    ParamLines().clear();
    for (int n = 1; n <= lines.size(); ++n)
        ParamLines().setLine(n, lines.at(n - 1));
    QVERIFY(ParamWrite(B_DIR(1), Key, 20));
}

int CheckedMode(QWidget& window) {
    const auto items = Control<QGroupBox>(window, u"RG_PRINTTELA"_s)->findChildren<QRadioButton*>();
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i)->isChecked()) return i;
    return -1;
}

void ChooseMode(QWidget& window, int mode) {
    Control<QGroupBox>(window, u"RG_PRINTTELA"_s)->findChildren<QRadioButton*>().at(mode)->click();
}

// Everything written to the process's stderr while `action` runs.
QByteArray StderrOf(const std::function<void()>& action) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"stderr.txt"_s);
    std::fflush(stderr);
    const int saved = dup(2);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
    dup2(fileno(file), 2);
    action();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::fclose(file);
    QFile captured(path);
    if (!captured.open(QIODevice::ReadOnly)) return {};
    return captured.readAll();
}

QStringList QtMessages;
void CollectMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    QtMessages << message;
}

} // namespace

class TestTF_USUARIO : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_folder;

  private Q_SLOTS:
    void init() {
        m_fixture = std::make_unique<test::ModuleFixture>();
        m_folder = std::make_unique<QTemporaryDir>();
        Globals().user.name = u"ANA"_s;
        ParamLines().clear();
    }
    void cleanup() {
        m_fixture.reset();
        platform::UnregisterWindow(u"USUARIO"_s);
    }

    void newUserSeesTheDefaults();
    void allBoxesUncheckedAreStoredAsN();
    void mailFieldsRoundTrip();
    void cancelStoresNothing();
    void temporaryFolderIsCreated_data();
    void temporaryFolderIsCreated();
    void failedSaveKeepsTheWindowAndTheSettings();
    void passwordNeverLogged();
    void fillFromMailAccountsFindsNone();
    void openedThroughTheRegistry();
};

void TestTF_USUARIO::newUserSeesTheDefaults() {
    shell::TF_USUARIO window;
    QCOMPARE(window.windowTitle(), u"F_USUARIO - Preferências do Usuário"_s);
    auto* pages = Control<QTabWidget>(window, u"PC_USUARIO"_s);
    QCOMPARE(pages->tabText(0), u"Gerais"_s);
    QCOMPARE(pages->tabText(1), u"E-mail"_s);
    QStringList items;
    for (QRadioButton* item :
         Control<QGroupBox>(window, u"RG_PRINTTELA"_s)->findChildren<QRadioButton*>())
        items << item->text();
    QCOMPARE(items,
             (QStringList{u"0 - Print0"_s, u"1 - Print4"_s, u"2 - Print7"_s, u"3 - Print Form"_s}));
    QCOMPARE(CheckedMode(window), 3);
    QCOMPARE(Control<QLineEdit>(window, u"E_VORTANETEMP"_s)->text(), platform::DefaultTempFolder());
    QCOMPARE(Control<QLineEdit>(window, u"E_PASSWORD"_s)->echoMode(), QLineEdit::Password);
    // Blank flags: on unless "N" for 1, 2 and 6; off unless "S" for 3, 4, 7.
    const QList<bool> expected = {true, true, false, false, true, false};
    for (int i = 0; i < CheckBoxes.size(); ++i)
        QCOMPARE(Control<QCheckBox>(window, CheckBoxes.at(i))->isChecked(), expected.at(i));
}

void TestTF_USUARIO::allBoxesUncheckedAreStoredAsN() {
    Store({u"SSSS1SSABCDEFGHIJKLM"_s, m_folder->path()});
    {
        shell::TF_USUARIO window;
        QCOMPARE(CheckedMode(window), 1);
        for (const QString& name : CheckBoxes) {
            auto* box = Control<QCheckBox>(window, name);
            QVERIFY2(box->isChecked(), qPrintable(name));
            box->setChecked(false);
        }
        ChooseMode(window, 2);
        // The menu's "Salvar" does what the button does.
        Control<QAction>(window, u"MN_SALVAR"_s)->trigger();
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
    QCOMPARE(StoredLines().at(0), u"NNNN2NNABCDEFGHIJKLM"_s);
    QCOMPARE(Globals().user.flags, u"NNNN2NNABCDEFGHIJKLM"_s);

    shell::TF_USUARIO again;
    for (const QString& name : CheckBoxes)
        QVERIFY2(!Control<QCheckBox>(again, name)->isChecked(), qPrintable(name));
    QCOMPARE(CheckedMode(again), 2);
}

void TestTF_USUARIO::mailFieldsRoundTrip() {
    QStringList lines = {u"    3"_s, m_folder->path()};
    while (lines.size() < 9)
        lines << QString();
    lines << u"Ana Lima"_s << u"smtp.antigo"_s << u"ana"_s << u"velha"_s << u"linha 14"_s
          << u"ana@antigo"_s << u"linha 16"_s << u"linha 17"_s << u"linha 18"_s;
    Store(lines);
    shell::TF_USUARIO window;
    const QStringList fields = {u"E_NOME"_s, u"E_HOST"_s, u"E_USERNAME"_s, u"E_PASSWORD"_s,
                                u"E_ADDRESS"_s};
    const QStringList shown = {u"Ana Lima"_s, u"smtp.antigo"_s, u"ana"_s, u"velha"_s,
                               u"ana@antigo"_s};
    const QStringList typed = {u"Ana L."_s, u"smtp.novo"_s, u"ana.l"_s, u"nova"_s, u"ana@novo"_s};
    for (int i = 0; i < fields.size(); ++i) {
        auto* edit = Control<QLineEdit>(window, fields.at(i));
        QCOMPARE(edit->text(), shown.at(i));
        edit->setText(typed.at(i));
    }
    Control<QPushButton>(window, u"BU_SALVAR"_s)->click();

    const QStringList stored = StoredLines();
    QCOMPARE(stored.mid(9, 4), typed.mid(0, 4)); // lines 10 to 13
    QCOMPARE(stored.at(13), u"linha 14"_s);      // untouched
    QCOMPARE(stored.at(14), typed.at(4));        // line 15
    QCOMPARE(stored.at(15), u"linha 16"_s);      // untouched
    QCOMPARE(stored.at(16), u"linha 17"_s);      // untouched
    QCOMPARE(stored.mid(17), QStringList(3));    // lines 18 to 20 cleared
    QCOMPARE(Globals().user.texts[1], u"smtp.novo"_s);
}

void TestTF_USUARIO::cancelStoresNothing() {
    Store({u"SSSS0SS"_s, m_folder->path()});
    const QStringList before = StoredLines();
    shell::TF_USUARIO window;
    Control<QCheckBox>(window, u"S_MENSAGEM"_s)->setChecked(false);
    Control<QLineEdit>(window, u"E_HOST"_s)->setText(u"outro"_s);
    Control<QPushButton>(window, u"BU_CANCELAR"_s)->click();
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(StoredLines(), before);
    QCOMPARE(Globals().user.flags.left(7), u"SSSS0SS"_s);
}

void TestTF_USUARIO::temporaryFolderIsCreated_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("creatable");
    QTest::newRow("new nested folder") << u"nova/pasta"_s << true;
    QTest::newRow("under a file") << u"arquivo.txt/pasta"_s << false;
}

void TestTF_USUARIO::temporaryFolderIsCreated() {
    QFETCH(QString, relative);
    QFETCH(bool, creatable);
    QFile file(m_folder->filePath(u"arquivo.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString typed = m_folder->filePath(relative);
    const QString folder = typed + u'/';

    test::DialogLog dialogs;
    shell::TF_USUARIO window;
    Control<QLineEdit>(window, u"E_VORTANETEMP"_s)->setText(typed);
    Control<QPushButton>(window, u"BU_SALVAR"_s)->click();

    QCOMPARE(QDir(folder).exists(), creatable);
    QList<test::DialogLog::Shown> expected;
    if (!creatable)
        expected.append({u"MESSAGE_BOX"_s, u"Erro na criação do diretório "_s + folder});
    const QList<test::DialogLog::Shown> shown = dialogs.shown();
    QCOMPARE(shown.size(), expected.size());
    for (int i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown.at(i).name, expected.at(i).name);
        QCOMPARE(shown.at(i).text, expected.at(i).text);
    }
    // Stored either way, with its final separator, and in force.
    QCOMPARE(StoredLines().at(1), folder);
    QCOMPARE(Globals().user.tempFolder, folder);
    QCOMPARE(Globals().registry.dirTemp, folder);
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestTF_USUARIO::failedSaveKeepsTheWindowAndTheSettings() {
    Store({u"SSSS0SS"_s, m_folder->path()});
    const TRecUser before = Globals().user;
    test::DialogLog dialogs;
    shell::TF_USUARIO window;
    window.setResult(-1); // neither accepted nor rejected yet
    Control<QCheckBox>(window, u"S_MENSAGEM"_s)->setChecked(false);
    Control<QLineEdit>(window, u"E_HOST"_s)->setText(u"outro"_s);
    B_DIR(1)->close(); // the database went away
    Control<QPushButton>(window, u"BU_SALVAR"_s)->click();
    QCOMPARE(dialogs.names(), QStringList{u"ERROR_BOX"_s});
    QCOMPARE(window.result(), -1); // the window stays
    QCOMPARE(Control<QLineEdit>(window, u"E_HOST"_s)->text(), u"outro"_s);
    QCOMPARE(Globals().user.flags.left(7), u"SSSS0SS"_s);
    QCOMPARE(Globals().user.texts[1], before.texts[1]);
    window.close();
}

void TestTF_USUARIO::passwordNeverLogged() {
    const QString password = u"Segredo-Da-Ana-42"_s;
    Store({u"    3"_s, m_folder->path()});
    test::DialogLog dialogs;
    QtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectMessage);
    const QByteArray err = StderrOf([&] {
        shell::TF_USUARIO window;
        Control<QLineEdit>(window, u"E_PASSWORD"_s)->setText(password);
        Control<QPushButton>(window, u"BU_SALVAR"_s)->click();
        // And once more on a save that fails, whose message is shown.
        shell::TF_USUARIO again;
        B_DIR(1)->close();
        Control<QLineEdit>(again, u"E_PASSWORD"_s)->setText(password + u'!');
        Control<QPushButton>(again, u"BU_SALVAR"_s)->click();
        again.close();
    });
    qInstallMessageHandler(previous);
    B_DIR(1)->open(m_fixture->erp().options());
    QCOMPARE(dialogs.names(), QStringList{u"ERROR_BOX"_s});
    // The first save went through: stored where the e-mail window reads it.
    QCOMPARE(StoredLines().at(12), password);
    QVERIFY2(!err.contains(password.toUtf8()), err.constData());
    for (const QString& message : std::as_const(QtMessages))
        QVERIFY2(!message.contains(password), qPrintable(message));
    for (const test::DialogLog::Shown& shown : dialogs.shown())
        QVERIFY(!shown.text.contains(password));
    Transaction transaction(*B_DIR(1));
    Statement log(*B_DIR(1), transaction,
                  u"SELECT COUNT(*) FROM VRTNLOG WHERE LOG_OBS CONTAINING 'Segredo'"_s);
    log.open();
    QVERIFY(log.fetch());
    QCOMPARE(log.value(0).toInt(), qint64(0));
}

void TestTF_USUARIO::fillFromMailAccountsFindsNone() {
    QStringList lines = {u"    3"_s, m_folder->path()};
    while (lines.size() < 9)
        lines << QString();
    lines << u"Ana"_s << u"smtp"_s << u"ana"_s << u"senha"_s << QString() << u"ana@x"_s;
    Store(lines);
    shell::TF_USUARIO window;
    Control<QPushButton>(window, u"BU_MONTAR"_s)->click();
    for (const QString& name : {u"E_NOME"_s, u"E_HOST"_s, u"E_USERNAME"_s, u"E_ADDRESS"_s})
        QCOMPARE(Control<QLineEdit>(window, name)->text(), QString());
    QCOMPARE(Control<QLineEdit>(window, u"E_PASSWORD"_s)->text(), u"senha"_s);
}

void TestTF_USUARIO::openedThroughTheRegistry() {
    shell::RegisterUserWindows();
    QString seen;
    test::CloseNextModal(&seen);
    QVERIFY(platform::OpenWindow(u"USUARIO"_s, nullptr));
    QCOMPARE(seen, u"F_USUARIO"_s);
    // The e-mail window asks for the page of the e-mail account.
    QString page;
    test::OnModal(u"F_USUARIO"_s, [&](QWidget* window) {
        auto* pages = window->findChild<QTabWidget*>(u"PC_USUARIO"_s);
        page = pages->tabText(pages->currentIndex());
        static_cast<QDialog*>(window)->reject();
    });
    QVERIFY(platform::OpenWindow(u"USUARIO"_s, nullptr, {u"E-mail"_s}));
    QCOMPARE(page, u"E-mail"_s);
}

QTEST_MAIN(TestTF_USUARIO)
#include "test_tf_usuario.moc"
