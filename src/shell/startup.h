#pragma once

#include <QString>

#include <functional>

namespace livrax::shell {

// Shows a message to the user: a message box in the desktop program, a line
// on stderr on the command line.
using MessageSink = std::function<void(const QString&)>;

// The start-up chain: fixed locale, registry values, connections, table
// lists, company header, user settings and rights. A failure to open
// database 1 is shown through `show` ("Erro na conexão do servidor - PATH:
// " and the reason) and the chain goes on without it; a failure to open
// another database ends the chain with ConnectError. Either way the module's
// openErrors keep the message of each database that failed.
void RunStartup(const MessageSink& show);

// What the program does when its main window is first shown: the start-up
// chain, the company header once more, then the user's last company.
void StartProgram(const MessageSink& show);

void LoadRegistryGlobals();
// Writes the globals key before a sibling program is launched.
void SaveRegistryGlobals(const QString& program, const QString& param);
// Starts a sibling program of the suite: writes the globals key first, so the
// program receives the same user, databases and settings, then starts the
// first copy found beside the temporary folder, this program or the first
// database (platform::LaunchCandidates). Nothing happens when none exists.
void LaunchProgram(const QString& name, const QString& param);
void ConnectDatabases(const MessageSink& show);
void LoadTableLists();
void LoadUserSettings();
// Stores the user's settings ("PUSER_" + user in database 1); false when
// they could not be written.
bool SaveUserSettings();
void LoadUserRights(const QString& user);
// The company the user worked with last ("USUARIO_" + user, line 1).
void RestoreLastCompany();

// The log-off entry of the audit log.
void LogLogoff();

// The shut-down chain: log-off entry, the user's last company, commit and
// close everything. Never fails.
void RunShutdown();

} // namespace livrax::shell
