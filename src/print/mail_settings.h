#pragma once

#include "platform/mail.h"

#include <QString>
#include <QStringList>

namespace livrax::print {

// The user's e-mail settings: the eight texts of the logged-in user, lines
// 10 to 17 of the key "PUSER_" + user.
struct MailSettings {
    QString senderName;       // line 10
    QString host;             // line 11, "name" or "name:port"
    QString userName;         // line 12
    QString password;         // line 13
    QString defaultRecipient; // line 14
    QString senderAddress;    // line 15
    QString defaultSubject;   // line 16
    QString defaultMessage;   // line 17: its lines, each followed by ";"
};

// At most this many lines of the default message are kept.
constexpr int DefaultMessageLineCount = 10;

// The settings as the start-up chain loaded them into the shared user.
MailSettings UserMailSettings();
// Reads the user's key again (another window may have saved it) into the
// shared user's texts and preference flags; false when the database could not
// be read or the key does not exist (the shared values are then kept).
bool ReloadUserMailSettings();
// Stores the eight texts under the user's key, leaving its other lines as
// they are, and sets the shared user's texts. False, with nothing changed,
// when the key could not be written.
bool SaveUserMailSettings(const MailSettings& settings);

// The first DefaultMessageLineCount non-empty lines of a stored default
// message.
QStringList DefaultMessageLines(const QString& stored);
// The stored text of the default message: the non-empty lines among the
// first DefaultMessageLineCount, each followed by ";". It replaces what was
// stored before.
QString StoredDefaultMessage(const QStringList& lines);

// The user's preferences for e-mail (flags 3 and 6 of the shared user).
bool ReadReceiptPreset();
bool AuthenticatePreset();

// The fields sending needs (host, sender name and address, user name,
// password) are all filled.
bool HasSendingSettings(const MailSettings& settings);
// "Devem ser preenchidos os campos Host/Username/Senha"
QString MissingSettingsMessage();

// Fills the sender name, host, user name and sender address still empty
// from the workstation's internet mail accounts (the first non-empty value
// of accounts 1 to 9). The other fields are left alone.
void FillFromWorkstationAccounts(MailSettings& settings);

// The account the settings describe.
platform::MailAccount AccountOf(const MailSettings& settings, bool authenticate);

} // namespace livrax::print
