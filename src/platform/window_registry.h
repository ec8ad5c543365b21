#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace livrax::platform {

// Opens one window of the program: creates it, shows it modally over
// `parent`, and frees it when it closes. `arguments` carries what the command
// hands over (a table code, a parameter key).
using WindowLauncher = std::function<void(QWidget* parent, const QStringList& arguments)>;

// The registry of window launchers by name ("LX53", "CAE", "REPORTS",
// "MAINTENANCE"...). The shell fills it at start-up, each window's module
// registering its own, so a window can open another one of a higher or
// sibling subsystem without including it.
void RegisterWindow(const QString& name, WindowLauncher launcher);
void UnregisterWindow(const QString& name);
bool IsWindowRegistered(const QString& name);

// Opens the named window; false (and nothing happens) when no window of that
// name has been built yet.
bool OpenWindow(const QString& name, QWidget* parent, const QStringList& arguments = {});

} // namespace livrax::platform
