#include "print/mail_settings.h"

#include "data/data_module.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "platform/registry.h"

#include <array>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

// The first and last lines of the user's key that hold the e-mail texts,
// and how many lines the key is read and written with.
constexpr int FirstMailLine = 10;
constexpr int UserKeyLines = 20;

QString UserKey() {
    return u"PUSER_"_s + data::Globals().user.name;
}

std::array<QString, 8> TextsOf(const MailSettings& s) {
    return {s.senderName,       s.host,          s.userName,       s.password,
            s.defaultRecipient, s.senderAddress, s.defaultSubject, s.defaultMessage};
}

// Whether flag `position` (from 1) of the shared user is `value`.
bool FlagIs(int position, QChar value) {
    const QString& flags = data::Globals().user.flags;
    return flags.size() >= position && flags.at(position - 1) == value;
}

} // namespace

MailSettings UserMailSettings() {
    const auto& t = data::Globals().user.texts;
    return {t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
}

bool ReloadUserMailSettings() {
    if (!data::ParamRead(data::B_DIR(1), UserKey(), UserKeyLines)) return false;
    data::TRecUser& user = data::Globals().user;
    QString flags = data::ParamLines().line(1).leftJustified(20, u' ');
    if (flags.at(4) == u' ') flags[4] = u'3';
    user.flags = flags;
    for (int i = 0; i < 8; ++i)
        user.texts[std::size_t(i)] = data::ParamLines().line(FirstMailLine + i);
    return true;
}

bool SaveUserMailSettings(const MailSettings& settings) {
    // The key as stored now, so that what another window saved in its other
    // lines is kept.
    data::ParamRead(data::B_DIR(1), UserKey(), UserKeyLines);
    const std::array<QString, 8> texts = TextsOf(settings);
    for (int i = 0; i < 8; ++i)
        data::ParamLines().setLine(FirstMailLine + i, texts[std::size_t(i)]);
    if (!data::ParamWrite(data::B_DIR(1), UserKey(), UserKeyLines)) return false;
    data::Globals().user.texts = texts;
    return true;
}

QStringList DefaultMessageLines(const QString& stored) {
    QStringList lines;
    for (const QString& line : stored.split(u';')) {
        if (line.trimmed().isEmpty()) continue;
        lines << line;
        if (lines.size() == DefaultMessageLineCount) break;
    }
    return lines;
}

QString StoredDefaultMessage(const QStringList& lines) {
    QString stored;
    for (const QString& line : lines.mid(0, DefaultMessageLineCount))
        if (!line.trimmed().isEmpty()) stored += line + u';';
    return stored;
}

bool ReadReceiptPreset() {
    return FlagIs(3, u'S');
}

bool AuthenticatePreset() {
    return !FlagIs(6, u'N');
}

bool HasSendingSettings(const MailSettings& s) {
    for (const QString* field :
         {&s.host, &s.senderName, &s.userName, &s.senderAddress, &s.password})
        if (field->trimmed().isEmpty()) return false;
    return true;
}

QString MissingSettingsMessage() {
    return u"Devem ser preenchidos os campos Host/Username/Senha"_s;
}

void FillFromWorkstationAccounts(MailSettings& settings) {
    const struct {
        QString* field;
        QString value;
    } wanted[] = {{&settings.senderName, u"SMTP Display Name"_s},
                  {&settings.host, u"SMTP Server"_s},
                  {&settings.userName, u"POP3 User Name"_s},
                  {&settings.senderAddress, u"SMTP Email Address"_s}};
    for (const auto& [field, value] : wanted) {
        if (!field->trimmed().isEmpty()) continue;
        for (int n = 1; n <= 9 && field->trimmed().isEmpty(); ++n)
            *field = platform::ReadRegistryText(
                0,
                u"SOFTWARE\\MICROSOFT\\INTERNET ACCOUNT MANAGER\\ACCOUNTS\\0000000"_s +
                    QString::number(n) + u'\\',
                value);
    }
}

platform::MailAccount AccountOf(const MailSettings& settings, bool authenticate) {
    platform::MailAccount account;
    account.host = settings.host.trimmed();
    account.userName = settings.userName.trimmed();
    account.password = settings.password;
    account.authenticate = authenticate;
    return account;
}

} // namespace livrax::print
