#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace livrax::shell {

// The commands of the main window, in one table: the menu tree and the tool
// bar name the command each item runs. A command is the name of a window in
// the window registry, or one of the window's own commands below; an empty
// command is an item that does nothing.
extern const QString ExitCommand;      // "SAIR"
extern const QString PasswordsCommand; // "SENHAS"

struct MenuEntry {
    QString caption;            // "-" for a separator
    QString command;            // window name, ExitCommand, PasswordsCommand or empty
    QStringList arguments = {}; // handed to the window (table code, parameter key)
    QString shortcut = {};
    QList<MenuEntry> children = {};
};

struct ToolButtonEntry {
    QString name; // objectName, e.g. "BU_LX53"
    QString caption;
    QString hint;
    QString command;
    // The button is disabled while its window is open, so that a second click
    // cannot open the same window twice.
    bool lockWhileOpen = false;
};

// The main menu, top level first.
const QList<MenuEntry>& MainMenu();

// The tool bar, left to right; the exit button (BU_SAIR) is anchored to the
// right edge.
const QList<ToolButtonEntry>& ToolBar();

// True when the main window repaints itself after the command's window
// closes.
bool RepaintsAfter(const QString& command);

} // namespace livrax::shell
