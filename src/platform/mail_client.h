#pragma once

#include "platform/mail.h"

#include <QString>
#include <QStringList>

namespace livrax::platform {

// The arguments of the desktop's "xdg-email" for the message: subject,
// body, one "--cc"/"--bcc" per copy, one "--attach" per file, then the
// recipients. Empty fields add nothing.
QStringList MailClientArguments(const MailMessage& message);

// Hands the message to the workstation's mail client (xdg-email), which
// shows its own editing window; the user sends it from there. The reason it
// could not, empty when the client was started: xdg-email missing, an
// attachment missing, the program not started.
QString OpenInMailClient(const MailMessage& message);

} // namespace livrax::platform
