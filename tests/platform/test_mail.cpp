// Sending e-mail over SMTP against a small server started by the test:
// what reaches the envelope and the headers, the attachments byte for byte,
// the log-in skipped or refused, and the faults that send nothing.

#include "platform/mail.h"
#include "support/smtp_server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::platform;
using livrax::test::MimePart;
using livrax::test::SmtpServer;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(livrax::platform::MailPriority)

namespace {

QByteArray EveryByte() {
    QByteArray bytes;
    for (int round = 0; round < 40; ++round)
        for (int b = 0; b < 256; ++b)
            bytes += char(b);
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
}

MailMessage SimpleMessage() {
    MailMessage message;
    message.fromName = u"Fiscal"_s;
    message.fromAddress = u"fiscal@empresa.com.br"_s;
    message.to = {u"contador@escritorio.com.br"_s};
    message.subject = u"Livros"_s;
    message.body = u"Segue."_s;
    return message;
}

// The headers of the message: everything before the first blank line.
QByteArray HeadOf(const QByteArray& data) {
    return data.left(data.indexOf("\r\n\r\n"));
}

} // namespace

class TestMail : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void messageReachesEnvelopeHeadersAndAttachments();
    void priorityAndReceiptHeaders_data();
    void priorityAndReceiptHeaders();
    void authenticateOffSkipsTheLogin();
    void refusedLoginSaysSoWithoutThePassword();
    void closedPortFailsQuickly();
    void faultsFoundBeforeConnectingSendNothing_data();
    void faultsFoundBeforeConnectingSendNothing();
    void lineBreaksCannotAddHeaders();
    void splitAddresses_data();
    void splitAddresses();
    void contentTypes_data();
    void contentTypes();

  private:
    MailAccount account() const {
        MailAccount a;
        a.host = m_server->host();
        a.userName = u"fiscal"_s;
        a.password = u"s3nh@-secreta"_s;
        return a;
    }

    std::unique_ptr<SmtpServer> m_server;
    QTemporaryDir m_dir;
};

void TestMail::init() {
    m_server = std::make_unique<SmtpServer>();
    QVERIFY(m_server->start());
}

void TestMail::messageReachesEnvelopeHeadersAndAttachments() {
    m_server->setCredentials(u"fiscal"_s, u"s3nh@-secreta"_s);
    const QByteArray image = EveryByte();
    const QByteArray pdf = "%PDF-1.4\n" + EveryByte().left(3000);
    const QByteArray other = QByteArray(70000, 'x') + EveryByte();
    MailMessage message;
    message.fromName = u"Departamento Fiscal"_s;
    message.fromAddress = u"fiscal@empresa.com.br"_s;
    message.to =
        SplitAddresses(u"contador@escritorio.com.br; João Silva <joao@escritorio.com.br>"_s);
    message.cc = SplitAddresses(u"gerente@empresa.com.br"_s);
    message.bcc = SplitAddresses(u"arquivo@empresa.com.br, auditoria@empresa.com.br"_s);
    message.subject = u"Relatório de março — apuração do ICMS com acentuação bem longa ção"_s;
    message.body = u"Prezado,\nsegue o livro.\n\nAtenção: página 3 corrigida.\n.\nFim"_s;
    message.priority = MailPriority::High;
    message.readReceipt = true;
    message.attachments = {WriteFile(m_dir, u"B_PRINT1.JPG"_s, image),
                           WriteFile(m_dir, u"livro.pdf"_s, pdf),
                           WriteFile(m_dir, u"dados.xyz"_s, other)};

    const MailResult result = SendMail(message, account());
    QVERIFY2(result.sent, qPrintable(result.message));
    QCOMPARE(result.message, QString());

    const QList<SmtpServer::Message> received = m_server->messages();
    QCOMPARE(received.size(), 1);
    const SmtpServer::Message& mail = received.first();
    QCOMPARE(mail.authenticatedAs, u"fiscal"_s);
    QCOMPARE(mail.from, u"fiscal@empresa.com.br"_s);
    QStringList recipients = mail.recipients;
    recipients.sort();
    QCOMPARE(recipients, QStringList({u"arquivo@empresa.com.br"_s, u"auditoria@empresa.com.br"_s,
                                      u"contador@escritorio.com.br"_s, u"gerente@empresa.com.br"_s,
                                      u"joao@escritorio.com.br"_s}));

    // The blind copies are in the envelope only.
    const QByteArray head = HeadOf(mail.data);
    QVERIFY(!test::HasMessageHeader(mail.data, u"Bcc"_s));
    QVERIFY(!head.contains("arquivo@"));
    QVERIFY(!head.contains("auditoria@"));
    QCOMPARE(test::MessageHeader(mail.data, u"Subject"_s), message.subject);
    // Encoded, so every header line stays ASCII.
    for (char c : head)
        QVERIFY(uchar(c) < 0x80);
    QCOMPARE(test::MessageHeader(mail.data, u"To"_s),
             u"contador@escritorio.com.br, João Silva <joao@escritorio.com.br>"_s);
    QCOMPARE(test::MessageHeader(mail.data, u"Cc"_s), u"gerente@empresa.com.br"_s);
    QCOMPARE(test::MessageHeader(mail.data, u"From"_s),
             u"Departamento Fiscal <fiscal@empresa.com.br>"_s);
    QVERIFY(test::MessageHeader(mail.data, u"X-Priority"_s).startsWith(u'1'));
    QCOMPARE(test::MessageHeader(mail.data, u"Disposition-Notification-To"_s),
             u"Departamento Fiscal <fiscal@empresa.com.br>"_s);

    const QList<MimePart> parts = test::MimeParts(mail.data);
    QCOMPARE(parts.size(), 4);
    QVERIFY(parts[0].header(u"content-type"_s).startsWith(u"text/plain"_s));
    QString body = message.body;
    QCOMPARE(QString::fromUtf8(parts[0].body), body.replace(u"\n"_s, u"\r\n"_s));
    const struct {
        QString type;
        QString name;
        QByteArray bytes;
    } expected[] = {{u"image/jpeg"_s, u"B_PRINT1.JPG"_s, image},
                    {u"application/pdf"_s, u"livro.pdf"_s, pdf},
                    {u"application/octet-stream"_s, u"dados.xyz"_s, other}};
    for (int i = 0; i < 3; ++i) {
        const MimePart& part = parts[i + 1];
        QCOMPARE(part.header(u"content-type"_s), expected[i].type);
        QVERIFY2(part.header(u"content-disposition"_s)
                     .contains(u"filename=\""_s + expected[i].name + u'"'),
                 qPrintable(part.header(u"content-disposition"_s)));
        QCOMPARE(part.body, expected[i].bytes);
    }
}

void TestMail::priorityAndReceiptHeaders_data() {
    QTest::addColumn<MailPriority>("priority");
    QTest::addColumn<bool>("receipt");
    QTest::addColumn<QString>("xPriority");
    QTest::addColumn<QString>("importance");
    QTest::newRow("high") << MailPriority::High << false << u"1"_s << u"high"_s;
    QTest::newRow("normal, receipt") << MailPriority::Normal << true << u"3"_s << u"normal"_s;
    QTest::newRow("low") << MailPriority::Low << false << u"5"_s << u"low"_s;
}

void TestMail::priorityAndReceiptHeaders() {
    QFETCH(MailPriority, priority);
    QFETCH(bool, receipt);
    QFETCH(QString, xPriority);
    QFETCH(QString, importance);
    MailMessage message = SimpleMessage();
    message.priority = priority;
    message.readReceipt = receipt;
    const MailResult result = SendMail(message, account());
    QVERIFY2(result.sent, qPrintable(result.message));
    const QByteArray data = m_server->messages().value(0).data;
    QCOMPARE(test::MessageHeader(data, u"X-Priority"_s).left(1), xPriority);
    QCOMPARE(test::MessageHeader(data, u"Importance"_s), importance);
    QCOMPARE(test::HasMessageHeader(data, u"Disposition-Notification-To"_s), receipt);
    if (receipt)
        QCOMPARE(test::MessageHeader(data, u"Disposition-Notification-To"_s),
                 u"Fiscal <fiscal@empresa.com.br>"_s);
}

void TestMail::authenticateOffSkipsTheLogin() {
    // The server would refuse these credentials: with the log-in off they
    // are never offered.
    m_server->setCredentials(u"outro"_s, u"outra"_s);
    MailAccount noLogin = account();
    noLogin.authenticate = false;
    const MailResult result = SendMail(SimpleMessage(), noLogin);
    QVERIFY2(result.sent, qPrintable(result.message));
    QCOMPARE(m_server->messages().size(), 1);
    QCOMPARE(m_server->messages().first().authenticatedAs, QString());
    for (const QString& command : m_server->commands())
        QVERIFY2(!command.startsWith(u"AUTH"_s, Qt::CaseInsensitive), qPrintable(command));
}

void TestMail::refusedLoginSaysSoWithoutThePassword() {
    m_server->setCredentials(u"fiscal"_s, u"a-verdadeira"_s);
    const MailResult result = SendMail(SimpleMessage(), account());
    QVERIFY(!result.sent);
    QVERIFY2(result.message.contains(u"recusou o usuário ou a senha"_s),
             qPrintable(result.message));
    QVERIFY(result.message.contains(u"não foi enviada"_s));
    QVERIFY(!result.message.contains(account().password));
    QVERIFY(m_server->messages().isEmpty());
}

void TestMail::closedPortFailsQuickly() {
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    MailAccount closed = account();
    closed.host = u"127.0.0.1:"_s + QString::number(port);
    QElapsedTimer timer;
    timer.start();
    const MailResult result = SendMail(SimpleMessage(), closed);
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(!result.sent);
    QVERIFY2(
        result.message.startsWith(u"Não foi possível conectar ao servidor de e-mail 127.0.0.1:"_s +
                                  QString::number(port)),
        qPrintable(result.message));
}

void TestMail::faultsFoundBeforeConnectingSendNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing attachment") << u"attachment"_s << u"Anexo não encontrado: "_s;
    QTest::newRow("folder as attachment") << u"folder"_s << u"Anexo não encontrado: "_s;
    QTest::newRow("no recipient") << u"recipient"_s << u"Preencher destinatário da mensagem!"_s;
    QTest::newRow("no sender") << u"sender"_s << u"Informe o endereço do remetente"_s;
    QTest::newRow("bad address") << u"address"_s << u"Endereço de e-mail inválido: \"joao\""_s;
    QTest::newRow("no host") << u"host"_s << u"Informe o servidor de e-mail (Host)."_s;
}

void TestMail::faultsFoundBeforeConnectingSendNothing() {
    QFETCH(QString, fault);
    QFETCH(QString, expected);
    MailMessage message = SimpleMessage();
    MailAccount target = account();
    message.attachments = {WriteFile(m_dir, u"existe.txt"_s, "texto")};
    if (fault == u"attachment"_s) message.attachments << m_dir.filePath(u"sumiu.JPG"_s);
    if (fault == u"folder"_s) message.attachments << m_dir.path();
    if (fault == u"recipient"_s) message.to.clear();
    if (fault == u"sender"_s) message.fromAddress.clear();
    if (fault == u"address"_s) message.cc = {u"joao"_s};
    if (fault == u"host"_s) target.host = u"  "_s;
    const MailResult result = SendMail(message, target);
    QVERIFY(!result.sent);
    QVERIFY2(result.message.startsWith(expected), qPrintable(result.message));
    QVERIFY(result.message.endsWith(u"A mensagem não foi enviada."_s));
    // Not even a connection.
    QVERIFY(m_server->commands().isEmpty());
}

void TestMail::lineBreaksCannotAddHeaders() {
    MailMessage message = SimpleMessage();
    message.subject = u"Livros\r\nBcc: intruso@fora.com"_s;
    message.fromName = u"Fiscal\nX-Injected: sim"_s;
    const MailResult result = SendMail(message, account());
    QVERIFY2(result.sent, qPrintable(result.message));
    const QByteArray data = m_server->messages().value(0).data;
    QVERIFY(!test::HasMessageHeader(data, u"Bcc"_s));
    QVERIFY(!test::HasMessageHeader(data, u"X-Injected"_s));
    QCOMPARE(test::MessageHeader(data, u"Subject"_s), u"Livros Bcc: intruso@fora.com"_s);
    QCOMPARE(m_server->messages().value(0).recipients,
             QStringList{u"contador@escritorio.com.br"_s});

    MailMessage injected = SimpleMessage();
    injected.to = {u"a@b.com\r\nRCPT TO:<c@d.com>"_s};
    QVERIFY(!SendMail(injected, account()).sent);
    QCOMPARE(m_server->messages().size(), 1);
}

void TestMail::splitAddresses_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("blank") << u"  ;  , "_s << QStringList();
    QTest::newRow("one") << u" a@b.com "_s << QStringList{u"a@b.com"_s};
    QTest::newRow("semicolons") << u"a@b.com;c@d.com;"_s << QStringList{u"a@b.com"_s, u"c@d.com"_s};
    QTest::newRow("commas and names")
        << u"Ana <a@b.com>, c@d.com"_s << QStringList{u"Ana <a@b.com>"_s, u"c@d.com"_s};
}

void TestMail::splitAddresses() {
    QFETCH(QString, field);
    QFETCH(QStringList, addresses);
    QCOMPARE(SplitAddresses(field), addresses);
}

void TestMail::contentTypes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("type");
    QTest::newRow("page image, upper case") << u"/tmp/B_PRINT1.JPG"_s << u"image/jpeg"_s;
    QTest::newRow("pdf") << u"livro.pdf"_s << u"application/pdf"_s;
    QTest::newRow("text") << u"NovoArquivo.txt"_s << u"text/plain"_s;
    QTest::newRow("workbook")
        << u"LIVRAX.xlsx"_s
        << u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"_s;
    QTest::newRow("unknown") << u"arquivo.fmb"_s << u"application/octet-stream"_s;
    QTest::newRow("no extension") << u"LEIAME"_s << u"application/octet-stream"_s;
}

void TestMail::contentTypes() {
    QFETCH(QString, file);
    QFETCH(QString, type);
    QCOMPARE(ContentTypeFor(file), type);
}

QTEST_GUILESS_MAIN(TestMail)
#include "test_mail.moc"
