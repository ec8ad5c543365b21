#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString MailUsage();

// "livrax mail": sends an e-mail with files attached through the logged-in
// user's SMTP settings (the e-mail window's "Parâmetros"), without any
// window. Subject and text not given are the user's defaults. Returns the
// exit status: 0 sent, 1 not sent (with the reason on stderr), 2 usage.
int RunMailCommand(const QStringList& arguments);

} // namespace livrax::shell
