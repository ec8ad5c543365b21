#include "support/smtp_server.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace livrax::test {

using namespace Qt::StringLiterals;

namespace {

// One line from the client without its CR LF; false when the client went
// away or said nothing for five seconds.
bool ReadLine(QTcpSocket& socket, QByteArray& line) {
    while (!socket.canReadLine()) {
        if (socket.state() != QAbstractSocket::ConnectedState) return false;
        if (!socket.waitForReadyRead(5000)) return false;
    }
    line = socket.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return true;
}

void Reply(QTcpSocket& socket, const QByteArray& text) {
    socket.write(text + "\r\n");
    socket.waitForBytesWritten(5000);
}

QString Between(const QByteArray& text, char open, char close) {
    const qsizetype start = text.indexOf(open);
    const qsizetype end = text.lastIndexOf(close);
    if (start < 0 || end <= start) return QString::fromUtf8(text).trimmed();
    return QString::fromUtf8(text.mid(start + 1, end - start - 1));
}

// Word n (from 0) of a command line.
QByteArray Word(const QByteArray& line, int n) {
    return line.split(' ').value(n);
}

} // namespace

SmtpServer::SmtpServer() = default;

SmtpServer::~SmtpServer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

void SmtpServer::setCredentials(const QString& user, const QString& password) {
    QMutexLocker locker(&m_lock);
    m_user = user;
    m_password = password;
    m_checkCredentials = true;
}

bool SmtpServer::start() {
    m_thread = std::thread([this] { serve(); });
    while (!m_listening && !m_failed)
        QThread::msleep(5);
    return m_listening;
}

QList<SmtpServer::Message> SmtpServer::messages() const {
    QMutexLocker locker(&m_lock);
    return m_messages;
}

QStringList SmtpServer::commands() const {
    QMutexLocker locker(&m_lock);
    return m_commands;
}

void SmtpServer::serve() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        m_failed = true;
        return;
    }
    m_port = server.serverPort();
    m_listening = true;
    while (!m_stop) {
        if (!server.waitForNewConnection(50)) continue;
        QTcpSocket* socket = server.nextPendingConnection();
        if (!socket) continue;
        converse(*socket);
        socket->close();
        delete socket;
    }
}

void SmtpServer::converse(QTcpSocket& socket) {
    const auto record = [this](const QByteArray& line) {
        QMutexLocker locker(&m_lock);
        // The credentials of an AUTH line are not kept.
        m_commands << QString::fromUtf8(line).section(u' ', 0, 1);
    };
    const auto checkLogin = [this](const QString& user, const QString& password) {
        QMutexLocker locker(&m_lock);
        return !m_checkCredentials || (user == m_user && password == m_password);
    };
    Reply(socket, "220 localhost ESMTP test");
    Message message;
    QString user;
    QByteArray line;
    while (!m_stop && ReadLine(socket, line)) {
        record(line);
        const QByteArray verb = Word(line, 0).toUpper();
        if (verb == "EHLO") {
            Reply(socket, "250-localhost");
            Reply(socket, "250-AUTH PLAIN LOGIN");
            Reply(socket, "250 SIZE 20000000");
        } else if (verb == "HELO") {
            Reply(socket, "250 localhost");
        } else if (verb == "AUTH") {
            const QByteArray mechanism = Word(line, 1).toUpper();
            QString name, password;
            if (mechanism == "PLAIN") {
                QByteArray response = Word(line, 2);
                if (response.isEmpty()) {
                    Reply(socket, "334 ");
                    if (!ReadLine(socket, response)) return;
                }
                const QByteArrayList fields = QByteArray::fromBase64(response).split('\0');
                name = QString::fromUtf8(fields.value(1));
                password = QString::fromUtf8(fields.value(2));
            } else if (mechanism == "LOGIN") {
                QByteArray answer = Word(line, 2);
                if (answer.isEmpty()) {
                    Reply(socket, "334 VXNlcm5hbWU6");
                    if (!ReadLine(socket, answer)) return;
                }
                name = QString::fromUtf8(QByteArray::fromBase64(answer));
                Reply(socket, "334 UGFzc3dvcmQ6");
                if (!ReadLine(socket, answer)) return;
                password = QString::fromUtf8(QByteArray::fromBase64(answer));
            } else {
                Reply(socket, "504 mechanism not supported");
                continue;
            }
            if (checkLogin(name, password)) {
                user = name;
                Reply(socket, "235 authenticated");
            } else {
                Reply(socket, "535 authentication failed");
            }
        } else if (verb == "MAIL") {
            message = Message();
            message.from = Between(line, '<', '>');
            Reply(socket, "250 ok");
        } else if (verb == "RCPT") {
            message.recipients << Between(line, '<', '>');
            Reply(socket, "250 ok");
        } else if (verb == "DATA") {
            Reply(socket, "354 end with <CRLF>.<CRLF>");
            QByteArray data;
            while (ReadLine(socket, line) && line != ".")
                data += (line.startsWith("..") ? line.mid(1) : line) + "\r\n";
            message.data = data;
            message.authenticatedAs = user;
            {
                QMutexLocker locker(&m_lock);
                m_messages << message;
            }
            Reply(socket, "250 queued");
        } else if (verb == "RSET" || verb == "NOOP") {
            Reply(socket, "250 ok");
        } else if (verb == "QUIT") {
            Reply(socket, "221 bye");
            return;
        } else {
            Reply(socket, "502 command not implemented");
        }
    }
}

// --- reading the messages back ---

namespace {

QString DecodeWords(const QString& text) {
    static const QRegularExpression word(u"=\\?([^?]+)\\?([BbQq])\\?([^?]*)\\?="_s);
    static const QRegularExpression between(u"\\?=\\s+=\\?"_s);
    QString joined = text;
    joined.replace(between, u"?==?"_s);
    QString result;
    qsizetype last = 0;
    auto it = word.globalMatch(joined);
    while (it.hasNext()) {
        const auto match = it.next();
        result += joined.mid(last, match.capturedStart() - last);
        const QByteArray encoded = match.captured(3).toLatin1();
        QByteArray bytes;
        if (match.captured(2).toUpper() == u"B"_s) {
            bytes = QByteArray::fromBase64(encoded);
        } else {
            QByteArray q = encoded;
            q.replace('_', ' ');
            bytes = QByteArray::fromPercentEncoding(q, '=');
        }
        result += QString::fromUtf8(bytes);
        last = match.capturedEnd();
    }
    return result + joined.mid(last);
}

// Headers (unfolded, names in lower case) and the body after the blank line.
QList<QPair<QString, QString>> ParseHeaders(const QByteArray& text, QByteArray* body) {
    const qsizetype end = text.indexOf("\r\n\r\n");
    const QByteArray head = end < 0 ? text : text.left(end);
    if (body) *body = end < 0 ? QByteArray() : text.mid(end + 4);
    QList<QPair<QString, QString>> headers;
    for (const QByteArray& raw : head.split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r')) line.chop(1);
        if ((line.startsWith(' ') || line.startsWith('\t')) && !headers.isEmpty()) {
            headers.last().second += u' ' + QString::fromUtf8(line.trimmed());
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        headers.append({QString::fromUtf8(line.left(colon)).trimmed().toLower(),
                        QString::fromUtf8(line.mid(colon + 1)).trimmed()});
    }
    return headers;
}

QByteArray DecodeQuotedPrintable(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '=') {
            out += c;
            continue;
        }
        if (text.mid(i + 1, 2) == "\r\n") {
            i += 2; // soft line break
            continue;
        }
        if (text.mid(i + 1, 1) == "\n") {
            i += 1;
            continue;
        }
        out += char(text.mid(i + 1, 2).toInt(nullptr, 16));
        i += 2;
    }
    return out;
}

} // namespace

QString MimePart::header(const QString& name) const {
    for (const auto& [key, value] : headers)
        if (key == name.toLower()) return value;
    return {};
}

QList<MimePart> MimeParts(const QByteArray& message) {
    QByteArray body;
    const auto headers = ParseHeaders(message, &body);
    QString type;
    for (const auto& [key, value] : headers)
        if (key == u"content-type"_s) type = value;
    static const QRegularExpression boundaryPattern(u"boundary=\"?([^\";]+)\"?"_s);
    const auto match = boundaryPattern.match(type);
    QList<MimePart> parts;
    if (!match.hasMatch()) return parts;
    const QByteArray boundary = "--" + match.captured(1).toLatin1();
    const QByteArrayList pieces = body.split('\n');
    QByteArray current;
    bool inside = false;
    const auto finish = [&] {
        if (!inside) return;
        MimePart part;
        QByteArray raw;
        part.headers = ParseHeaders(current, &raw);
        if (raw.endsWith("\r\n")) raw.chop(2);
        const QString encoding = part.header(u"content-transfer-encoding"_s).toLower();
        if (encoding == u"base64"_s)
            part.body = QByteArray::fromBase64(raw);
        else if (encoding == u"quoted-printable"_s)
            part.body = DecodeQuotedPrintable(raw);
        else
            part.body = raw;
        parts << part;
    };
    for (const QByteArray& piece : pieces) {
        const QByteArray line = piece.endsWith('\r') ? piece.chopped(1) : piece;
        if (line.startsWith(boundary)) {
            finish();
            current.clear();
            inside = !line.startsWith(boundary + "--");
            continue;
        }
        if (inside) current += line + "\r\n";
    }
    return parts;
}

QString MessageHeader(const QByteArray& message, const QString& name) {
    for (const auto& [key, value] : ParseHeaders(message, nullptr))
        if (key == name.toLower()) return DecodeWords(value);
    return {};
}

bool HasMessageHeader(const QByteArray& message, const QString& name) {
    for (const auto& [key, value] : ParseHeaders(message, nullptr))
        if (key == name.toLower()) return true;
    return false;
}

} // namespace livrax::test
