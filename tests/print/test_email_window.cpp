// The e-mail window offscreen on a real database and a test SMTP server:
// the user's settings shown and saved, sending directly and its failures,
// the searches through the generic query, and the desktop's mail client.

#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/returned_values.h"
#include "platform/window_registry.h"
#include "print/tf_email.h"
#include "support/dialog_log.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "support/smtp_server.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::print;
using livrax::test::DialogLog;
using namespace Qt::StringLiterals;

namespace {

QLineEdit* Edit(const QWidget& window, const QString& name) {
    auto* edit = window.findChild<QLineEdit*>(name);
    if (!edit) qWarning("no field %s", qPrintable(name));
    return edit;
}

QPlainTextEdit* Memo(const QWidget& window, const QString& name) {
    return window.findChild<QPlainTextEdit*>(name);
}

void Click(const QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button, qPrintable(name));
    button->click();
}

// The user ANA with a complete account on `host`.
void SetAccount(const QString& host) {
    data::TRecUser& user = data::Globals().user;
    user.name = u"ANA"_s;
    user.flags = u"SSNS3SN"_s;
    user.texts = {u"Ana Fiscal"_s,
                  host,
                  u"ana"_s,
                  u"segredo"_s,
                  u"contador@escritorio.com.br"_s,
                  u"ana@empresa.com.br"_s,
                  u"Livros do mês"_s,
                  u"Bom dia;Segue o livro;"_s};
}

// Puts a stand-in of the desktop's "xdg-email" first on PATH: it writes its
// arguments, one a line, to the file returned.
QString InstallRecordingClient(const QTemporaryDir& dir) {
    const QString record = dir.filePath(u"args.txt"_s);
    QFile client(dir.filePath(u"xdg-email"_s));
    if (!client.open(QIODevice::WriteOnly)) return {};
    const QByteArray path = record.toLocal8Bit();
    client.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >\"" + path +
                 ".part\"\nmv \"" + path + ".part\" \"" + path + "\"\n");
    client.close();
    client.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir.path().toLocal8Bit() + ":/usr/bin:/bin");
    return record;
}

QString StoredLine(int line) {
    data::ParamRead(data::B_DIR(1), u"PUSER_ANA"_s, 20);
    return data::ParamLines().line(line);
}

} // namespace

class TestEmailWindow : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void openingShowsTheSettings_data();
    void openingShowsTheSettings();
    void saveReplacesTheStoredMessage();
    void failedSaveSaysSoAndKeepsTheSettings();
    void recipientIsTypedInLowerCase();
    void attachAddsTheChosenFile();
    void sendDirectly();
    void failedSendingKeepsTheWindow_data();
    void failedSendingKeepsTheWindow();
    void missingSettingsOpenThePreferences();
    void recipientAndSubjectAreRequired_data();
    void recipientAndSubjectAreRequired();
    void searches_data();
    void searches();
    void mailClientGetsTheMessage();
    void mailClientMissingSaysSo();

  private:
    std::unique_ptr<test::ModuleFixture> m_module;
    std::unique_ptr<test::SmtpServer> m_server;
    QTemporaryDir m_dir;
    QByteArray m_path;
};

void TestEmailWindow::init() {
    m_module = std::make_unique<test::ModuleFixture>();
    m_server = std::make_unique<test::SmtpServer>();
    QVERIFY(m_server->start());
    m_server->setCredentials(u"ana"_s, u"segredo"_s);
    SetAccount(m_server->host());
    data::ResetReturnedValues();
    m_path = qgetenv("PATH");
}

void TestEmailWindow::cleanup() {
    qputenv("PATH", m_path);
    platform::UnregisterWindow(u"USUARIO"_s);
    platform::UnregisterWindow(u"PESQC"_s);
    m_server.reset();
    m_module.reset();
}

void TestEmailWindow::openingShowsTheSettings_data() {
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("storedMessage");
    QTest::addColumn<bool>("receipt");
    QTest::addColumn<QString>("shownMessage");
    QTest::newRow("receipt asked")
        << u"SSSS3SN"_s << u"Bom dia;;Segue;"_s << true << u"Bom dia\nSegue"_s;
    QTest::newRow("receipt not asked") << u"SSNS3SN"_s << QString() << false << QString();
    QTest::newRow("short flags") << u"SS"_s << u"1;2;3;4;5;6;7;8;9;10;11;12;"_s << false
                                 << u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10"_s;
}

void TestEmailWindow::openingShowsTheSettings() {
    QFETCH(QString, flags);
    QFETCH(QString, storedMessage);
    QFETCH(bool, receipt);
    QFETCH(QString, shownMessage);
    data::Globals().user.flags = flags;
    data::Globals().user.texts[7] = storedMessage;
    TF_EMAIL window;
    QCOMPARE(window.windowTitle(), u"E-MAIL"_s);
    QCOMPARE(Edit(window, u"E_NOME"_s)->text(), u"Ana Fiscal"_s);
    QCOMPARE(Edit(window, u"E_HOST"_s)->text(), m_server->host());
    QCOMPARE(Edit(window, u"E_USERNAME"_s)->text(), u"ana"_s);
    QCOMPARE(Edit(window, u"E_PASSWORD"_s)->text(), u"segredo"_s);
    QCOMPARE(Edit(window, u"E_PASSWORD"_s)->echoMode(), QLineEdit::Password);
    QCOMPARE(Edit(window, u"E_ADDRESS"_s)->text(), u"ana@empresa.com.br"_s);
    QCOMPARE(Edit(window, u"E_PARA"_s)->text(), u"contador@escritorio.com.br"_s);
    QCOMPARE(Memo(window, u"E_MENSAGEM_PADRAO"_s)->toPlainText(), shownMessage);
    QCOMPARE(window.findChild<QCheckBox*>(u"CBXCONFIRMALEITURA"_s)->isChecked(), receipt);
    QCOMPARE(window.attachments(), QStringList());
    // Shown: the empty subject and message take the defaults.
    window.show();
    QCOMPARE(Edit(window, u"E_ASSUNTO"_s)->text(), u"Livros do mês"_s);
    QCOMPARE(Memo(window, u"E_MENSAGEM"_s)->toPlainText(), shownMessage);
    window.close();
}

// "Salvar" stores the lines shown as the default message: saved twice, the
// stored text is the same, not the old text with the lines added again.
void TestEmailWindow::saveReplacesTheStoredMessage() {
    data::ParamLines().clear();
    data::ParamLines().setLine(1, u"NNSN2NS"_s);
    data::ParamLines().setLine(2, u"/tmp/pasta/"_s);
    data::ParamLines().setLine(14, u"padrao@escritorio.com.br"_s);
    data::ParamLines().setLine(17, u"Antiga;"_s);
    QVERIFY(data::ParamWrite(data::B_DIR(1), u"PUSER_ANA"_s, 20));

    TF_EMAIL window;
    Edit(window, u"E_HOST"_s)->setText(u"smtp.empresa.com.br:587"_s);
    Edit(window, u"E_PASSWORD"_s)->setText(u"nova senha"_s);
    Edit(window, u"E_ASSUNTO_PADRAO"_s)->setText(u"Relatório"_s);
    Memo(window, u"E_MENSAGEM_PADRAO"_s)->setPlainText(u"Prezados,\n\n  \nsegue anexo."_s);
    DialogLog log;
    Click(window, u"BU_SALVAR"_s);
    Click(window, u"BU_SALVAR"_s);
    QCOMPARE(log.names(), QStringList());

    QCOMPARE(StoredLine(17), u"Prezados,;segue anexo.;"_s);
    QCOMPARE(StoredLine(11), u"smtp.empresa.com.br:587"_s);
    QCOMPARE(StoredLine(13), u"nova senha"_s);
    QCOMPARE(StoredLine(16), u"Relatório"_s);
    // What the window does not own stays as stored.
    QCOMPARE(StoredLine(1), u"NNSN2NS"_s);
    QCOMPARE(StoredLine(2), u"/tmp/pasta/"_s);
    QCOMPARE(StoredLine(14), u"padrao@escritorio.com.br"_s);
    QCOMPARE(data::Globals().user.texts[7], u"Prezados,;segue anexo.;"_s);
    // The message page takes the defaults; a new window shows them.
    QCOMPARE(Edit(window, u"E_ASSUNTO"_s)->text(), u"Relatório"_s);
    QCOMPARE(Memo(window, u"E_MENSAGEM"_s)->toPlainText(), u"Prezados,\nsegue anexo."_s);
    TF_EMAIL again;
    QCOMPARE(Memo(again, u"E_MENSAGEM_PADRAO"_s)->toPlainText(), u"Prezados,\nsegue anexo."_s);
    QCOMPARE(Edit(again, u"E_HOST"_s)->text(), u"smtp.empresa.com.br:587"_s);
}

void TestEmailWindow::failedSaveSaysSoAndKeepsTheSettings() {
    TF_EMAIL window;
    Edit(window, u"E_PASSWORD"_s)->setText(u"nova"_s);
    data::B_DIR(1)->close();
    DialogLog log;
    Click(window, u"BU_SALVAR"_s);
    QCOMPARE(log.names(), QStringList{u"ERROR_BOX"_s});
    QVERIFY(
        log.shown().first().text.startsWith(u"As configurações de e-mail não foram gravadas"_s));
    QCOMPARE(data::Globals().user.texts[3], u"segredo"_s);
    QCOMPARE(Edit(window, u"E_PASSWORD"_s)->text(), u"nova"_s);
}

void TestEmailWindow::recipientIsTypedInLowerCase() {
    TF_EMAIL window;
    window.show();
    QLineEdit* to = Edit(window, u"E_PARA"_s);
    to->clear();
    QTest::keyClicks(to, u"Ana.Souza@Escritorio.COM.br"_s);
    QCOMPARE(to->text(), u"ana.souza@escritorio.com.br"_s);
    window.close();
}

void TestEmailWindow::attachAddsTheChosenFile() {
    const QString path = m_dir.filePath(u"relatório.pdf"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    TF_EMAIL window;
    window.show();
    window.addAttachment(u"/tmp/B_PRINT1.JPG"_s);
    test::OnModal(u"OPEN_DIALOG"_s, [&path](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files) return;
        files->selectFile(path);
        QMetaObject::invokeMethod(files, "accept");
    });
    Click(window, u"BU_ANEXAR"_s);
    QCOMPARE(window.attachments(), QStringList({u"/tmp/B_PRINT1.JPG"_s, path}));
    // Given up: nothing added.
    test::OnModal(u"OPEN_DIALOG"_s, [](QWidget* dialog) {
        if (dialog) QMetaObject::invokeMethod(dialog, "reject");
    });
    Click(window, u"BU_ANEXAR"_s);
    QCOMPARE(window.attachments().size(), 2);
    window.close();
}

void TestEmailWindow::sendDirectly() {
    const QString attachment = m_dir.filePath(u"B_PRINT1.JPG"_s);
    QFile file(attachment);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xff\xd8\xff\xe0 imagem");
    file.close();

    TF_EMAIL window;
    window.show();
    Edit(window, u"E_CC"_s)->setText(u"gerente@empresa.com.br"_s);
    Edit(window, u"E_CCO"_s)->setText(u"arquivo@empresa.com.br; copia@empresa.com.br"_s);
    window.findChild<QComboBox*>(u"CBXPRIORIDADE"_s)->setCurrentIndex(2);
    window.addAttachment(attachment);
    DialogLog log;
    Click(window, u"BU_ENVIAR"_s);
    QCOMPARE(log.names(), QStringList{u"MESSAGE_BOX"_s});
    QCOMPARE(log.shown().first().text, u"Email enviado com sucesso!"_s);

    const QList<test::SmtpServer::Message> received = m_server->messages();
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.first().authenticatedAs, u"ana"_s);
    QCOMPARE(received.first().recipients,
             QStringList({u"contador@escritorio.com.br"_s, u"gerente@empresa.com.br"_s,
                          u"arquivo@empresa.com.br"_s, u"copia@empresa.com.br"_s}));
    const QByteArray& data = received.first().data;
    QCOMPARE(test::MessageHeader(data, u"Subject"_s), u"Livros do mês"_s);
    QVERIFY(test::MessageHeader(data, u"X-Priority"_s).startsWith(u'5'));
    QVERIFY(!test::HasMessageHeader(data, u"Disposition-Notification-To"_s));
    const QList<test::MimePart> parts = test::MimeParts(data);
    QCOMPARE(parts.size(), 2);
    QCOMPARE(QString::fromUtf8(parts[0].body), u"Bom dia\r\nSegue o livro"_s);
    QCOMPARE(parts[1].body, QByteArray("\xff\xd8\xff\xe0 imagem"));
    QCOMPARE(window.findChild<QLabel*>(u"LA_TITULO"_s)->text(), QString());
    QCOMPARE(window.findChild<QPushButton*>(u"BU_ENVIAR"_s)->text(), u"Enviar Direto"_s);
    window.close();
}

void TestEmailWindow::failedSendingKeepsTheWindow_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused login") << u"login"_s << u"O servidor de e-mail recusou"_s;
    QTest::newRow("unreachable") << u"port"_s << u"Não foi possível conectar"_s;
    QTest::newRow("missing attachment") << u"attachment"_s << u"Anexo não encontrado: "_s;
}

void TestEmailWindow::failedSendingKeepsTheWindow() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    if (fault == u"login"_s) data::Globals().user.texts[3] = u"errada"_s;
    if (fault == u"port"_s) {
        test::SmtpServer gone;
        QVERIFY(gone.start());
        data::Globals().user.texts[1] = gone.host();
    }
    TF_EMAIL window;
    window.show();
    Edit(window, u"E_CC"_s)->setText(u"gerente@empresa.com.br"_s);
    window.addAttachment(m_dir.filePath(fault == u"attachment"_s ? u"sumiu.pdf"_s : QString()));
    if (fault != u"attachment"_s) {
        QFile file(m_dir.filePath(u"anexo.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        window.findChild<QListWidget*>(u"E_ANEXOS"_s)->clear();
        window.addAttachment(file.fileName());
    }
    const QStringList attached = window.attachments();
    DialogLog log;
    Click(window, u"BU_ENVIAR"_s);
    QCOMPARE(log.names(), QStringList{u"ERROR_BOX"_s});
    const QString shown = log.shown().first().text;
    QVERIFY2(shown.startsWith(message), qPrintable(shown));
    QVERIFY(!shown.contains(u"errada"_s));
    QVERIFY(m_server->messages().isEmpty());
    // Everything is still there for another try.
    QCOMPARE(Edit(window, u"E_PARA"_s)->text(), u"contador@escritorio.com.br"_s);
    QCOMPARE(Edit(window, u"E_CC"_s)->text(), u"gerente@empresa.com.br"_s);
    QCOMPARE(Edit(window, u"E_ASSUNTO"_s)->text(), u"Livros do mês"_s);
    QCOMPARE(Memo(window, u"E_MENSAGEM"_s)->toPlainText(), u"Bom dia\nSegue o livro"_s);
    QCOMPARE(window.attachments(), attached);
    QVERIFY(window.isVisible());
    auto* send = window.findChild<QPushButton*>(u"BU_ENVIAR"_s);
    QCOMPARE(send->text(), u"Enviar Direto"_s);
    QVERIFY(send->isEnabled());
    window.close();
}

// A setting missing: the message, then the user's preferences on their
// e-mail page; the window takes what was saved there, keeps the recipient
// typed, and sends nothing.
void TestEmailWindow::missingSettingsOpenThePreferences() {
    data::Globals().user.texts[3].clear();
    QStringList opened;
    platform::RegisterWindow(u"USUARIO"_s, [&](QWidget*, const QStringList& arguments) {
        opened = arguments;
        data::Globals().user.texts[3] = u"salva"_s;
    });
    TF_EMAIL window;
    window.show();
    Edit(window, u"E_PARA"_s)->setText(u"outro@escritorio.com.br"_s);
    DialogLog log;
    Click(window, u"BU_ENVIAR"_s);
    QCOMPARE(log.names(), QStringList{u"MESSAGE_BOX"_s});
    QCOMPARE(log.shown().first().text, u"Devem ser preenchidos os campos Host/Username/Senha"_s);
    QCOMPARE(opened, QStringList{u"E-mail"_s});
    QCOMPARE(Edit(window, u"E_PASSWORD"_s)->text(), u"salva"_s);
    QCOMPARE(Edit(window, u"E_PARA"_s)->text(), u"outro@escritorio.com.br"_s);
    QVERIFY(m_server->commands().isEmpty());
    window.close();
}

void TestEmailWindow::recipientAndSubjectAreRequired_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("message");
    for (const QString& button : {u"BU_ENVIAR"_s, u"BU_OUTLOOK"_s}) {
        QTest::addRow("%s, recipient", qPrintable(button))
            << button << u"E_PARA"_s << u"Preencher destinatário da mensagem!"_s;
        QTest::addRow("%s, subject", qPrintable(button))
            << button << u"E_ASSUNTO"_s << u"Preencher campo ASSUNTO!"_s;
    }
}

void TestEmailWindow::recipientAndSubjectAreRequired() {
    QFETCH(QString, button);
    QFETCH(QString, empty);
    QFETCH(QString, message);
    QTemporaryDir clientDir;
    const QString record = InstallRecordingClient(clientDir);
    TF_EMAIL window;
    window.show();
    Edit(window, empty)->setText(u"   "_s);
    DialogLog log;
    Click(window, button);
    QCOMPARE(log.names(), QStringList{u"MESSAGE_BOX"_s});
    QCOMPARE(log.shown().first().text, message);
    QCOMPARE(window.focusWidget(), Edit(window, empty));
    QVERIFY(m_server->commands().isEmpty());
    QTest::qWait(200);
    QVERIFY(!QFile::exists(record));
    window.close();
}

void TestEmailWindow::searches_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("searchColumn");
    QTest::addColumn<QString>("filter");
    const QString emails = u"EMAIL LIKE '%@%' "_s;
    QTest::newRow("F6") << u"BU_PARA"_s << int(Qt::Key_F6) << u"E_PARA"_s << u"EMAIL"_s << emails;
    QTest::newRow("F7") << u"BU_CC"_s << int(Qt::Key_F7) << u"E_CC"_s << u"EMAIL"_s << emails;
    QTest::newRow("F8") << u"BU_CCO"_s << int(Qt::Key_F8) << u"E_CCO"_s << u"EMAIL"_s << emails;
    QTest::newRow("company") << u"BU_EMPRESA"_s << 0 << u"E_PARA"_s << u"EMPRESA"_s << QString();
}

// The generic query opens on the partners with the field's text; the row
// chosen replaces the field, a search given up leaves it.
void TestEmailWindow::searches() {
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, field);
    QFETCH(QString, searchColumn);
    QFETCH(QString, filter);
    QStringList arguments;
    bool choose = false;
    platform::RegisterWindow(u"PESQC"_s, [&](QWidget*, const QStringList& given) {
        arguments = given;
        data::ReturnedValues().rowChosen = choose;
        data::ReturnedValues().values[0] = u"escolhido@cliente.com.br  "_s;
    });
    TF_EMAIL window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Edit(window, field)->setText(u"joao"_s);
    for (const bool chosen : {false, true}) {
        choose = chosen;
        arguments.clear();
        if (key)
            QTest::keyClick(&window, Qt::Key(key));
        else
            Click(window, button);
        QCOMPARE(arguments, QStringList({u"VRTNEMP"_s, u"EMAIL"_s, u"joao"_s, u"EMAIL,EMPRESA"_s,
                                         searchColumn, u"EMAIL,EMPRESA,TELEFONE"_s, filter}));
        QCOMPARE(Edit(window, field)->text(), chosen ? u"escolhido@cliente.com.br"_s : u"joao"_s);
    }
    // The same through the button as through the key.
    if (key) {
        Edit(window, field)->setText(u"joao"_s);
        arguments.clear();
        Click(window, button);
        QCOMPARE(arguments.value(2), u"joao"_s);
    }
    window.close();
}

// "Enviar Outlook": the desktop's mail client gets the subject, the body,
// one --cc per copy (none when the field is empty), the attachments and the
// recipients.
void TestEmailWindow::mailClientGetsTheMessage() {
    QTemporaryDir clientDir;
    const QString record = InstallRecordingClient(clientDir);
    const QString attachment = m_dir.filePath(u"livro.pdf"_s);
    QFile pdf(attachment);
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.close();

    TF_EMAIL window;
    window.show();
    Edit(window, u"E_CCO"_s)->setText(u"a@empresa.com.br;b@empresa.com.br"_s);
    window.addAttachment(attachment);
    DialogLog log;
    Click(window, u"BU_OUTLOOK"_s);
    QCOMPARE(log.names(), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile written(record);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QStringList arguments = QString::fromUtf8(written.readAll()).split(u'\n');
    QCOMPARE(arguments, QStringList({u"--utf8"_s, u"--bcc"_s, u"a@empresa.com.br"_s, u"--bcc"_s,
                                     u"b@empresa.com.br"_s, u"--subject"_s, u"Livros do mês"_s,
                                     u"--body"_s, u"Bom dia"_s, u"Segue o livro"_s, u"--attach"_s,
                                     attachment, u"contador@escritorio.com.br"_s, QString()}));
    window.close();
}

void TestEmailWindow::mailClientMissingSaysSo() {
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    TF_EMAIL window;
    window.show();
    DialogLog log;
    Click(window, u"BU_OUTLOOK"_s);
    QCOMPARE(log.names(), QStringList{u"ERROR_BOX"_s});
    QVERIFY2(log.shown().first().text.contains(u"xdg-email"_s),
             qPrintable(log.shown().first().text));
    window.close();
}

QTEST_MAIN(TestEmailWindow)
#include "test_email_window.moc"
