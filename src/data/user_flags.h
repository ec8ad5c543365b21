#pragma once

#include <QChar>
#include <QString>

namespace livrax::data {

// The user's preference flags (the 20 characters of line 1 of "PUSER_" +
// user): one character per preference, at these positions from 1.
enum class UserFlag {
    Messages = 1,             // "Ativar sistema de Mensagem": on unless "N"
    Agenda = 2,               // agenda check at log-in: on unless "N"
    ReadReceipt = 3,          // e-mail read receipt: on only with "S"
    ColouredRows = 4,         // coloured rows in the query grid: on only with "S"
    ScreenPrint = 5,          // screen-print mode, digit "0" to "3"
    Authenticate = 6,         // SMTP authentication: on unless "N"
    PrintDialogInPreview = 7, // print dialog before a preview: on only with "S"
};

// Whether the check-box preference `flag` is on in `flags`: Messages, Agenda
// and Authenticate are on unless their character is "N"; the others only
// when it is "S". A flags text too short to reach the position counts as a
// space there.
bool FlagOn(const QString& flags, UserFlag flag);
// The same for the logged-in user's flags.
bool UserFlagOn(UserFlag flag);

// `flags` padded with spaces to 20 characters and the check-box preference
// `flag` stored as "S" or "N".
QString FlagsWith(QString flags, UserFlag flag, bool on);

// The screen-print mode of `flags`, 0 to 3; 3 when the character is not one
// of those digits.
int ScreenPrintMode(const QString& flags);
// `flags` padded to 20 characters with the screen-print mode (0 to 3) stored.
QString FlagsWithScreenPrintMode(QString flags, int mode);
// The logged-in user's screen-print mode.
int UserScreenPrintMode();

} // namespace livrax::data
