// "livrax mail" as a separate process, on the demo company, against a test
// SMTP server of this process: the user's saved settings, the envelope and
// the attachments, and the exit status and message of each failure.

#include "data/connection.h"
#include "data/param_store.h"
#include "support/smtp_server.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

QByteArray Bytes(int size, int seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) % 256);
    return bytes;
}

} // namespace

class TestMailCommand : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase();
    void init();
    void sendsWithTheUsersSettings();
    void subjectAndTextDefaultToTheUsers();
    void failures_data();
    void failures();

  private:
    Run livrax(const QStringList& arguments);
    // Stores the demo user's e-mail settings (lines 10 to 17 of its key)
    // and preference flags in the demo's first database.
    void storeSettings(const QString& password, const QString& flags = u"SSNS3SN"_s);
    QString file(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_home;
    std::unique_ptr<test::SmtpServer> m_server;
};

Run TestMailCommand::livrax(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LIVRAX_EXECUTABLE), arguments);
    Run run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

void TestMailCommand::storeSettings(const QString& password, const QString& flags) {
    data::ConnectionOptions options;
    options.path = m_home.filePath(u"demo/livrax_erp.fdb"_s);
    data::Connection erp;
    erp.open(options);
    data::ParamLines().clear();
    data::ParamLines().setLine(1, flags);
    const QStringList texts{u"Demonstração Fiscal"_s,
                            m_server->host(),
                            u"demo"_s,
                            password,
                            u"padrao@escritorio.com.br"_s,
                            u"fiscal@demo.com.br"_s,
                            u"Livros fiscais"_s,
                            u"Prezados,;segue o livro.;"_s};
    for (int i = 0; i < texts.size(); ++i)
        data::ParamLines().setLine(10 + i, texts.at(i));
    QVERIFY(data::ParamWrite(&erp, u"PUSER_DEMO"_s, 20));
    erp.close();
}

QString TestMailCommand::file(const QString& name, const QByteArray& bytes) {
    const QString path = m_home.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return {};
    return path;
}

void TestMailCommand::initTestCase() {
    QVERIFY(m_home.isValid());
    const Run demo = livrax({u"demo"_s, u"--dir"_s, m_home.filePath(u"demo"_s), u"--invoices"_s,
                             u"10"_s, u"--no-gui"_s});
    QVERIFY2(demo.status == 0, qPrintable(demo.err));
}

void TestMailCommand::init() {
    m_server = std::make_unique<test::SmtpServer>();
    QVERIFY(m_server->start());
    m_server->setCredentials(u"demo"_s, u"s3nha"_s);
    storeSettings(u"s3nha"_s);
}

void TestMailCommand::sendsWithTheUsersSettings() {
    const QByteArray pdf = Bytes(5000, 3);
    const QByteArray text = "linha 1\r\nlinha 2\r\n";
    const Run run =
        livrax({u"mail"_s, u"--to"_s, u"contador@escritorio.com.br"_s, u"--cc"_s,
                u"gerente@demo.com.br;socio@demo.com.br"_s, u"--bcc"_s, u"arquivo@demo.com.br"_s,
                u"--subject"_s, u"Apuração de março"_s, u"--body"_s, u"Segue a apuração."_s,
                u"--priority"_s, u"alta"_s, u"--attach"_s, file(u"LX56.pdf"_s, pdf), u"--attach"_s,
                file(u"notas.txt"_s, text)});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(run.out, u"E-mail enviado para contador@escritorio.com.br, gerente@demo.com.br, "
                      u"socio@demo.com.br e 1 cópia(s) oculta(s), 2 anexo(s).\n"_s);
    const QList<test::SmtpServer::Message> received = m_server->messages();
    QCOMPARE(received.size(), 1);
    const test::SmtpServer::Message& mail = received.first();
    QCOMPARE(mail.authenticatedAs, u"demo"_s);
    QCOMPARE(mail.from, u"fiscal@demo.com.br"_s);
    QCOMPARE(mail.recipients,
             QStringList({u"contador@escritorio.com.br"_s, u"gerente@demo.com.br"_s,
                          u"socio@demo.com.br"_s, u"arquivo@demo.com.br"_s}));
    QVERIFY(!mail.data.left(mail.data.indexOf("\r\n\r\n")).contains("arquivo@"));
    QCOMPARE(test::MessageHeader(mail.data, u"Subject"_s), u"Apuração de março"_s);
    QCOMPARE(test::MessageHeader(mail.data, u"From"_s),
             u"Demonstração Fiscal <fiscal@demo.com.br>"_s);
    QVERIFY(test::MessageHeader(mail.data, u"X-Priority"_s).startsWith(u'1'));
    const QList<test::MimePart> parts = test::MimeParts(mail.data);
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0].body, QByteArray("Segue a apuração."));
    QCOMPARE(parts[1].header(u"content-type"_s), u"application/pdf"_s);
    QCOMPARE(parts[1].body, pdf);
    QCOMPARE(parts[2].header(u"content-type"_s), u"text/plain"_s);
    QCOMPARE(parts[2].body, text);
}

void TestMailCommand::subjectAndTextDefaultToTheUsers() {
    // The user asks for read receipts and sends without logging in.
    storeSettings(u"s3nha"_s, u"SSSS3NN"_s);
    const Run run = livrax({u"mail"_s, u"--to"_s, u"contador@escritorio.com.br"_s, u"--attach"_s,
                            file(u"a.bin"_s, Bytes(10, 1))});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QByteArray data = m_server->messages().value(0).data;
    QCOMPARE(test::MessageHeader(data, u"Subject"_s), u"Livros fiscais"_s);
    QCOMPARE(test::MimeParts(data).value(0).body, QByteArray("Prezados,\r\nsegue o livro."));
    QCOMPARE(test::MessageHeader(data, u"Disposition-Notification-To"_s),
             u"Demonstração Fiscal <fiscal@demo.com.br>"_s);
    QCOMPARE(m_server->messages().value(0).authenticatedAs, QString());
    QVERIFY(m_server->commands().filter(u"AUTH"_s).isEmpty());
}

void TestMailCommand::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("password"); // the one stored for the user
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString attach = u"@anexo"_s; // replaced by a file that exists
    QTest::newRow("missing attachment")
        << QStringList{u"--to"_s, u"a@b.com.br"_s, u"--attach"_s,
                       attach,    u"--attach"_s,   u"/nao/existe/livro.pdf"_s}
        << u"s3nha"_s << 1 << u"livrax mail: Anexo não encontrado: /nao/existe/livro.pdf"_s;
    QTest::newRow("refused login")
        << QStringList{u"--to"_s, u"a@b.com.br"_s, u"--attach"_s, attach} << u"errada"_s << 1
        << u"livrax mail: O servidor de e-mail recusou o usuário ou a senha"_s;
    QTest::newRow("settings missing")
        << QStringList{u"--to"_s, u"a@b.com.br"_s, u"--attach"_s, attach} << QString() << 1
        << u"livrax mail: Devem ser preenchidos os campos Host/Username/Senha"_s;
    QTest::newRow("no recipient") << QStringList{u"--attach"_s, attach} << u"s3nha"_s << 2
                                  << u"livrax mail: informe o destinatário com --to."_s;
    QTest::newRow("no attachment") << QStringList{u"--to"_s, u"a@b.com.br"_s} << u"s3nha"_s << 2
                                   << u"livrax mail: informe ao menos um arquivo"_s;
    QTest::newRow("bad priority") << QStringList{u"--to"_s, u"a@b.com.br"_s, u"--attach"_s,
                                                 attach,    u"--priority"_s, u"urgente"_s}
                                  << u"s3nha"_s << 2
                                  << u"livrax mail: prioridade inválida: \"urgente\""_s;
    QTest::newRow("file without --attach")
        << QStringList{u"--to"_s, u"a@b.com.br"_s, attach} << u"s3nha"_s << 2
        << u"livrax mail: argumento inesperado"_s;
}

// Nothing reaches the server, the reason is on stderr, the password never.
void TestMailCommand::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QString, message);
    storeSettings(password);
    const QString attachment = file(u"anexo.txt"_s, "x");
    arguments.replaceInStrings(u"@anexo"_s, attachment);
    const Run run = livrax(QStringList{u"mail"_s} + arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!run.err.contains(u"s3nha"_s));
    QVERIFY(m_server->messages().isEmpty());
    if (message.contains(u"Anexo"_s) || status == 2) QVERIFY(m_server->commands().isEmpty());
}

QTEST_GUILESS_MAIN(TestMailCommand)
#include "test_mail_command.moc"
