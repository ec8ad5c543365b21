#pragma once

#include <QString>
#include <QStringList>

namespace livrax::platform {

enum class MailPriority { High, Normal, Low };

// One e-mail as the user wrote it. Addresses are "name@host" or
// "Name <name@host>"; the blind copies go into the envelope only.
struct MailMessage {
    QString fromName;
    QString fromAddress;
    QStringList to;
    QStringList cc;
    QStringList bcc;
    QString subject;
    QString body;
    MailPriority priority = MailPriority::Normal;
    // Asks the reader's program for a read receipt, sent to fromAddress.
    bool readReceipt = false;
    // Paths of the files attached, one MIME part each.
    QStringList attachments;
};

// The SMTP account the message leaves through. `host` is "name" or
// "name:port"; without a port, 25. Port 465 speaks TLS from the start; any
// other upgrades to TLS when the server offers STARTTLS. With `authenticate`
// off (or no user name) no log-in is attempted.
struct MailAccount {
    QString host;
    QString userName;
    QString password;
    bool authenticate = true;
    // Seconds to wait for the server to answer the connection.
    int connectTimeoutSeconds = 15;
};

struct MailResult {
    bool sent = false;
    // What went wrong, in Portuguese, for the user; empty when sent. Never
    // holds the password.
    QString message;
};

// The addresses of one field: several may be typed, separated by ";" or
// ","; blanks around them and empty entries are dropped.
QStringList SplitAddresses(const QString& field);

// The bare address of "Name <name@host>" or "name@host".
QString AddressPart(const QString& address);

// The MIME type of a file by its extension; "application/octet-stream" for
// an unknown one.
QString ContentTypeFor(const QString& fileName);

// Checks what can be checked without the server: a sender, at least one
// recipient, addresses without line breaks, every attachment a readable
// file. The reason the message cannot go, empty when it can.
QString MailProblem(const MailMessage& message, const MailAccount& account);

// Sends the message over SMTP: connect, STARTTLS when offered, log in unless
// told not to, send, disconnect (also when sending fails). Nothing is sent
// when MailProblem finds a fault.
MailResult SendMail(const MailMessage& message, const MailAccount& account);

} // namespace livrax::platform
