#include "shell/mail_command.h"

#include "platform/mail.h"
#include "print/mail_settings.h"
#include "shell/command_start.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

QString MailUsage() {
    return u"mail --to ENDEREÇO [--cc ENDEREÇO] [--bcc ENDEREÇO] [--subject ASSUNTO] "
           u"[--body TEXTO] [--priority alta|normal|baixa] --attach ARQUIVO..."_s;
}

namespace {

int UsageError(QTextStream& err, const QString& message) {
    err << "livrax mail: " << message << "\n";
    return 2;
}

// Every value of a repeatable address option, each of which may list
// several addresses.
QStringList Addresses(const QCommandLineParser& parser, const QString& option) {
    QStringList addresses;
    for (const QString& value : parser.values(option))
        addresses << platform::SplitAddresses(value);
    return addresses;
}

} // namespace

int RunMailCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Envia um e-mail com arquivos anexados pelo servidor SMTP do usuário registrado (Host, "
        u"Username, Senha, Nome e From Address da página \"Parâmetros\" da janela de e-mail), "
        u"sem janelas. Cada opção de endereço pode ser repetida ou listar vários endereços "
        u"separados por \";\" ou \",\". Sem --subject ou --body, valem o assunto e a mensagem "
        u"padrão do usuário. Os anexos são conferidos antes da conexão: com algum faltando, "
        u"nada é enviado."_s);
    parser.addHelpOption();
    parser.addOption({u"to"_s, u"Destinatário."_s, u"ENDEREÇO"_s});
    parser.addOption({u"cc"_s, u"Cópia."_s, u"ENDEREÇO"_s});
    parser.addOption(
        {u"bcc"_s, u"Cópia oculta (só no envelope, não no cabeçalho)."_s, u"ENDEREÇO"_s});
    parser.addOption({u"subject"_s, u"Assunto."_s, u"ASSUNTO"_s});
    parser.addOption({u"body"_s, u"Texto da mensagem."_s, u"TEXTO"_s});
    parser.addOption({u"priority"_s, u"Prioridade: alta, normal (padrão) ou baixa."_s,
                      u"PRIORIDADE"_s, u"normal"_s});
    parser.addOption(
        {u"attach"_s, u"Arquivo anexado; repita a opção para vários."_s, u"ARQUIVO"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax mail"_s} + arguments))
        return UsageError(err, parser.errorText());
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return UsageError(err, u"argumento inesperado: \""_s +
                                   parser.positionalArguments().join(u' ') +
                                   u"\" (anexe arquivos com --attach)."_s);
    platform::MailMessage message;
    message.to = Addresses(parser, u"to"_s);
    message.cc = Addresses(parser, u"cc"_s);
    message.bcc = Addresses(parser, u"bcc"_s);
    message.attachments = parser.values(u"attach"_s);
    if (message.to.isEmpty()) return UsageError(err, u"informe o destinatário com --to."_s);
    if (message.attachments.isEmpty())
        return UsageError(err, u"informe ao menos um arquivo com --attach."_s);
    const QString priority = parser.value(u"priority"_s).toLower();
    if (priority == u"alta"_s)
        message.priority = platform::MailPriority::High;
    else if (priority == u"baixa"_s)
        message.priority = platform::MailPriority::Low;
    else if (priority != u"normal"_s)
        return UsageError(err, u"prioridade inválida: \""_s + parser.value(u"priority"_s) +
                                   u"\" (use alta, normal ou baixa)."_s);

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"mail"_s, err)) return finish(1);
    const print::MailSettings settings = print::UserMailSettings();
    if (!print::HasSendingSettings(settings)) {
        err << "livrax mail: " << print::MissingSettingsMessage()
            << " (Nome, Host, Username, Senha e From Address nas preferências de e-mail do "
               "usuário).\n";
        return finish(1);
    }
    message.fromName = settings.senderName.trimmed();
    message.fromAddress = settings.senderAddress.trimmed();
    message.subject =
        parser.isSet(u"subject"_s) ? parser.value(u"subject"_s) : settings.defaultSubject;
    message.body = parser.isSet(u"body"_s)
                       ? parser.value(u"body"_s)
                       : print::DefaultMessageLines(settings.defaultMessage).join(u'\n');
    message.readReceipt = print::ReadReceiptPreset();
    const platform::MailResult result =
        platform::SendMail(message, print::AccountOf(settings, print::AuthenticatePreset()));
    if (!result.sent) {
        err << "livrax mail: " << result.message << "\n";
        return finish(1);
    }
    QTextStream(stdout) << "E-mail enviado para " << (message.to + message.cc).join(u", ")
                        << (message.bcc.isEmpty() ? QString()
                                                  : u" e "_s + QString::number(message.bcc.size()) +
                                                        u" cópia(s) oculta(s)"_s)
                        << ", " << message.attachments.size() << " anexo(s).\n";
    return finish(0);
}

} // namespace livrax::shell
