#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

class QTcpSocket;

namespace livrax::test {

// A small SMTP server on 127.0.0.1 for the tests, on a thread of its own so
// that a client blocking in the same process (libcurl) is answered. It speaks
// EHLO/HELO, AUTH PLAIN and AUTH LOGIN, MAIL, RCPT, DATA, RSET, NOOP and
// QUIT, offers no STARTTLS, and records what each client said.
class SmtpServer {
  public:
    struct Message {
        QString from;            // the envelope sender, without "<>"
        QStringList recipients;  // the envelope recipients, without "<>"
        QByteArray data;         // the message as sent, dots unstuffed
        QString authenticatedAs; // the user logged in; empty when none
    };

    SmtpServer();
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    // Only this user and password may log in (535 for any other); without a
    // call, any log-in is accepted.
    void setCredentials(const QString& user, const QString& password);

    // Starts listening on a free port; false when it could not.
    bool start();
    quint16 port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1:") + QString::number(m_port); }

    // What the clients sent so far: the accepted messages, and every command
    // line (AUTH lines as their first two words only).
    QList<Message> messages() const;
    QStringList commands() const;

  private:
    void serve();
    void converse(QTcpSocket& socket);

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_listening{false};
    std::atomic<bool> m_failed{false};
    quint16 m_port = 0;
    mutable QMutex m_lock;
    QString m_user, m_password;
    bool m_checkCredentials = false;
    QList<Message> m_messages;
    QStringList m_commands;
};

// Decodes the parts of a MIME message: each part's headers (names in lower
// case) and its body decoded from base64 or quoted-printable.
struct MimePart {
    QString header(const QString& name) const;
    QList<QPair<QString, QString>> headers;
    QByteArray body;
};
QList<MimePart> MimeParts(const QByteArray& message);
// The value of a top-level header of the message (unfolded), decoding
// encoded words; empty when missing.
QString MessageHeader(const QByteArray& message, const QString& name);
// Whether the top-level headers hold `name`.
bool HasMessageHeader(const QByteArray& message, const QString& name);

} // namespace livrax::test
