#include "platform/mail_client.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace livrax::platform {

using namespace Qt::StringLiterals;

QStringList MailClientArguments(const MailMessage& message) {
    QStringList arguments{u"--utf8"_s};
    for (const QString& address : message.cc)
        arguments << u"--cc"_s << address;
    for (const QString& address : message.bcc)
        arguments << u"--bcc"_s << address;
    if (!message.subject.isEmpty()) arguments << u"--subject"_s << message.subject;
    if (!message.body.isEmpty()) arguments << u"--body"_s << message.body;
    for (const QString& path : message.attachments)
        arguments << u"--attach"_s << QFileInfo(path).absoluteFilePath();
    arguments << message.to;
    return arguments;
}

QString OpenInMailClient(const MailMessage& message) {
    const QString program = QStandardPaths::findExecutable(u"xdg-email"_s);
    if (program.isEmpty())
        return u"O programa de e-mail da estação não está disponível: o comando xdg-email não foi "
               u"encontrado (pacote xdg-utils). Use \"Enviar Direto\" ou instale o xdg-utils."_s;
    for (const QString& path : message.attachments)
        if (!QFileInfo(path).isFile()) return u"Anexo não encontrado: "_s + path;
    if (!QProcess::startDetached(program, MailClientArguments(message)))
        return u"Não foi possível iniciar o programa de e-mail da estação ("_s + program + u")."_s;
    return {};
}

} // namespace livrax::platform
