#include "platform/mail.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace livrax::platform {

using namespace Qt::StringLiterals;

namespace {

// --- header texts ---

bool IsPlainAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    return true;
}

// A header text may not break the header: line breaks become spaces.
QString OneLine(const QString& text) {
    QString line = text;
    line.replace(u"\r\n"_s, u" "_s);
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// Text outside ASCII as encoded words of UTF-8 in base64, each at most 75
// characters long (45 bytes of text) and never splitting a character.
QByteArray EncodedWords(const QString& text) {
    if (IsPlainAscii(text)) return text.toUtf8();
    const QByteArray utf8 = text.toUtf8();
    QByteArrayList words;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = std::min(start + 45, utf8.size());
        // Back to the first byte of a character (continuation bytes are
        // 10xxxxxx).
        while (end < utf8.size() && end > start && (uchar(utf8.at(end)) & 0xC0) == 0x80)
            --end;
        words << "=?UTF-8?B?" + utf8.mid(start, end - start).toBase64() + "?=";
        start = end;
    }
    return words.join(' ');
}

// A display name: as it is when it is made of plain words, quoted when it
// holds the characters that separate addresses, encoded when it is not
// ASCII.
QByteArray DisplayName(const QString& name) {
    const QString plain = OneLine(name).trimmed();
    if (!IsPlainAscii(plain)) return EncodedWords(plain);
    static const QRegularExpression atoms(u"^[A-Za-z0-9!#$%&'*+\\-/=?^_`{|}~ ]*$"_s);
    if (atoms.match(plain).hasMatch()) return plain.toUtf8();
    QString quoted = plain;
    quoted.replace(u"\\"_s, u"\\\\"_s);
    quoted.replace(u"\""_s, u"\\\""_s);
    return '"' + quoted.toUtf8() + '"';
}

QString NamePart(const QString& entry) {
    const qsizetype open = entry.indexOf(u'<');
    if (open < 0) return {};
    QString name = entry.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2);
    return name;
}

// "Name <address>", or the address alone when there is no name.
QByteArray Mailbox(const QString& name, const QString& address) {
    const QByteArray bare = AddressPart(address).toUtf8();
    if (name.trimmed().isEmpty()) return bare;
    return DisplayName(name) + " <" + bare + '>';
}

QByteArray MailboxList(const QStringList& entries) {
    QByteArrayList boxes;
    for (const QString& entry : entries)
        boxes << Mailbox(NamePart(entry), entry);
    return boxes.join(", ");
}

QByteArray PriorityHeader(MailPriority priority) {
    switch (priority) {
    case MailPriority::High:
        return "X-Priority: 1 (Highest)";
    case MailPriority::Low:
        return "X-Priority: 5 (Lowest)";
    case MailPriority::Normal:
        break;
    }
    return "X-Priority: 3 (Normal)";
}

QByteArray ImportanceHeader(MailPriority priority) {
    switch (priority) {
    case MailPriority::High:
        return "Importance: high";
    case MailPriority::Low:
        return "Importance: low";
    case MailPriority::Normal:
        break;
    }
    return "Importance: normal";
}

// --- the server ---

struct Server {
    QString name;
    int port = 25;
    bool implicitTls = false;
};

// "host", "host:port", or a URL "smtp://host:port" / "smtps://host:port".
Server ServerOf(const QString& hostText) {
    Server server;
    QString text = hostText.trimmed();
    if (text.startsWith(u"smtps://"_s, Qt::CaseInsensitive)) {
        server.implicitTls = true;
        server.port = 465;
        text = text.mid(8);
    } else if (text.startsWith(u"smtp://"_s, Qt::CaseInsensitive)) {
        text = text.mid(7);
    }
    if (text.endsWith(u'/')) text.chop(1);
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const int port = text.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536) {
            server.port = port;
            text = text.left(colon);
        }
    }
    server.name = text;
    if (server.port == 465) server.implicitTls = true;
    return server;
}

QString ServerText(const Server& server) {
    return server.name + u':' + QString::number(server.port);
}

// --- libcurl resources ---

void InitialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// A string list for libcurl that keeps its own copies.
class StringList {
  public:
    bool append(const QByteArray& text) {
        curl_slist* grown = curl_slist_append(m_list.get(), text.constData());
        if (!grown) return false;
        m_list.release();
        m_list.reset(grown);
        return true;
    }
    curl_slist* get() const { return m_list.get(); }

  private:
    std::unique_ptr<curl_slist, CurlDeleter> m_list;
};

QString FailureText(CURLcode code, const Server& server, const MailAccount& account,
                    const QString& detail) {
    QString text;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        text = u"Servidor de e-mail não encontrado: \""_s + server.name + u"\"."_s;
        break;
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        text = u"Não foi possível conectar ao servidor de e-mail "_s + ServerText(server) +
               u". Confira o Host e a rede."_s;
        break;
    case CURLE_LOGIN_DENIED:
        text = u"O servidor de e-mail recusou o usuário ou a senha (usuário \""_s +
               account.userName + u"\")."_s;
        break;
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        text = u"Falha na conexão segura (TLS) com o servidor de e-mail "_s + ServerText(server) +
               u"."_s;
        break;
    case CURLE_READ_ERROR:
        text = u"Não foi possível ler um dos anexos."_s;
        break;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        text = u"O servidor de e-mail "_s + ServerText(server) + u" não aceitou a mensagem."_s;
        break;
    default:
        text =
            u"Falha no envio do e-mail: "_s + QString::fromUtf8(curl_easy_strerror(code)) + u"."_s;
        break;
    }
    QString shown = detail.trimmed();
    if (!account.password.isEmpty()) shown.replace(account.password, u"****"_s);
    if (!shown.isEmpty()) text += u" ("_s + shown + u")"_s;
    return text + u"\nA mensagem não foi enviada."_s;
}

} // namespace

QStringList SplitAddresses(const QString& field) {
    static const QRegularExpression separators(u"[;,]"_s);
    QStringList addresses;
    for (const QString& part : field.split(separators)) {
        const QString address = part.trimmed();
        if (!address.isEmpty()) addresses << address;
    }
    return addresses;
}

QString AddressPart(const QString& address) {
    const qsizetype open = address.indexOf(u'<');
    const qsizetype close = address.lastIndexOf(u'>');
    if (open >= 0 && close > open) return address.mid(open + 1, close - open - 1).trimmed();
    return address.trimmed();
}

QString ContentTypeFor(const QString& fileName) {
    static const QHash<QString, QString> types = {
        {u"jpg"_s, u"image/jpeg"_s},
        {u"jpeg"_s, u"image/jpeg"_s},
        {u"png"_s, u"image/png"_s},
        {u"gif"_s, u"image/gif"_s},
        {u"bmp"_s, u"image/bmp"_s},
        {u"pdf"_s, u"application/pdf"_s},
        {u"txt"_s, u"text/plain"_s},
        {u"csv"_s, u"text/csv"_s},
        {u"htm"_s, u"text/html"_s},
        {u"html"_s, u"text/html"_s},
        {u"xml"_s, u"application/xml"_s},
        {u"zip"_s, u"application/zip"_s},
        {u"xls"_s, u"application/vnd.ms-excel"_s},
        {u"xlsx"_s, u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"_s},
        {u"doc"_s, u"application/msword"_s},
        {u"docx"_s, u"application/vnd.openxmlformats-officedocument.wordprocessingml.document"_s},
        {u"odt"_s, u"application/vnd.oasis.opendocument.text"_s},
        {u"ods"_s, u"application/vnd.oasis.opendocument.spreadsheet"_s},
        {u"rtf"_s, u"application/rtf"_s},
    };
    return types.value(QFileInfo(fileName).suffix().toLower(), u"application/octet-stream"_s);
}

QString MailProblem(const MailMessage& message, const MailAccount& account) {
    if (ServerOf(account.host).name.isEmpty()) return u"Informe o servidor de e-mail (Host)."_s;
    static const QRegularExpression bareAddress(u"^[^\\s<>,;\"@]+@[^\\s<>,;\"@]+$"_s);
    const auto invalid = [](const QString& entry) {
        return u"Endereço de e-mail inválido: \""_s + entry + u"\"."_s;
    };
    if (!bareAddress.match(AddressPart(message.fromAddress)).hasMatch())
        return message.fromAddress.trimmed().isEmpty()
                   ? u"Informe o endereço do remetente (From Address)."_s
                   : invalid(message.fromAddress);
    if (message.to.isEmpty() && message.cc.isEmpty() && message.bcc.isEmpty())
        return u"Preencher destinatário da mensagem!"_s;
    for (const QStringList* field : {&message.to, &message.cc, &message.bcc})
        for (const QString& entry : *field)
            if (entry.contains(u'\r') || entry.contains(u'\n') ||
                !bareAddress.match(AddressPart(entry)).hasMatch())
                return invalid(entry);
    for (const QString& path : message.attachments) {
        const QFileInfo file(path);
        if (!file.isFile()) return u"Anexo não encontrado: "_s + path;
        if (!file.isReadable()) return u"Anexo sem permissão de leitura: "_s + path;
    }
    return {};
}

MailResult SendMail(const MailMessage& message, const MailAccount& account) {
    if (const QString problem = MailProblem(message, account); !problem.isEmpty())
        return {false, problem + u"\nA mensagem não foi enviada."_s};
    InitialiseCurl();
    // What the handle points to outlives it: declared before it, freed after
    // it (the handle says QUIT when it is cleaned up).
    char errorText[CURL_ERROR_SIZE] = {};
    StringList recipients;
    StringList headers;
    std::unique_ptr<curl_mime, CurlDeleter> mime;
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) return {false, u"Falha ao iniciar o envio de e-mail."_s};
    CURL* const c = curl.get();
    const Server server = ServerOf(account.host);

    // The path of the URL is the name the client gives itself in EHLO.
    const QByteArray url = (server.implicitTls ? "smtps://" : "smtp://") + server.name.toUtf8() +
                           ':' + QByteArray::number(server.port) + '/' +
                           QSysInfo::machineHostName().toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(std::max(1, account.connectTimeoutSeconds)));
    // A server that stops answering in the middle ends the try after a
    // minute instead of holding the window.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);

    const QByteArray user = account.userName.toUtf8();
    const QByteArray password = account.password.toUtf8();
    if (account.authenticate && !account.userName.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }

    const QByteArray from = '<' + AddressPart(message.fromAddress).toUtf8() + '>';
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    for (const QStringList* field : {&message.to, &message.cc, &message.bcc})
        for (const QString& entry : *field)
            recipients.append('<' + AddressPart(entry).toUtf8() + '>');
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());

    // The headers; the blind copies are left out of them.
    const QByteArray sender = Mailbox(message.fromName, message.fromAddress);
    headers.append("Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toUtf8());
    headers.append("From: " + sender);
    if (!message.to.isEmpty()) headers.append("To: " + MailboxList(message.to));
    if (!message.cc.isEmpty()) headers.append("Cc: " + MailboxList(message.cc));
    headers.append("Subject: " + EncodedWords(OneLine(message.subject)));
    headers.append("Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8() +
                   '@' + AddressPart(message.fromAddress).section(u'@', 1).toUtf8() + '>');
    headers.append(PriorityHeader(message.priority));
    headers.append(ImportanceHeader(message.priority));
    if (message.readReceipt) headers.append("Disposition-Notification-To: " + sender);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    mime.reset(curl_mime_init(c));
    QString body = message.body;
    body.replace(u"\r\n"_s, u"\n"_s);
    body.replace(u'\r', u'\n');
    const QByteArray bodyBytes = body.replace(u"\n"_s, u"\r\n"_s).toUtf8();
    curl_mimepart* text = curl_mime_addpart(mime.get());
    curl_mime_data(text, bodyBytes.constData(), size_t(bodyBytes.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    for (const QString& path : message.attachments) {
        curl_mimepart* part = curl_mime_addpart(mime.get());
        if (curl_mime_filedata(part, QFile::encodeName(path).constData()) != CURLE_OK)
            return {false, u"Anexo não encontrado: "_s + path + u"\nA mensagem não foi enviada."_s};
        curl_mime_filename(part, QFileInfo(path).fileName().toUtf8().constData());
        curl_mime_type(part, ContentTypeFor(path).toUtf8().constData());
        curl_mime_encoder(part, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    // Connects, sends and always closes the connection: the handle is freed
    // on the way out whatever happened.
    const CURLcode code = curl_easy_perform(c);
    if (code != CURLE_OK)
        return {false, FailureText(code, server, account, QString::fromUtf8(errorText))};
    return {true, {}};
}

} // namespace livrax::platform
