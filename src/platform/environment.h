#pragma once

#include <QString>

namespace livrax::platform {

// True when windows can be shown: always on Windows and macOS; elsewhere
// when a display server is named (DISPLAY, WAYLAND_DISPLAY) or a platform
// plugin is chosen explicitly (QT_QPA_PLATFORM, e.g. offscreen).
bool HasDisplay();

// The name the operating system knows the current user by.
QString OsUserName();
// The name of the account running the program, at most 255 characters.
QString WindowsUserName();

// The temporary folder used when the user's settings name none, ending with a
// folder separator: "C:\VORTANETEMP\" on Windows, a VORTANETEMP folder in the
// system's temporary folder elsewhere.
QString DefaultTempFolder();

// True when `folder` ends with a folder separator ("\" or "/").
bool EndsWithSeparator(const QString& folder);
// The separator to append to a folder: "\" on Windows, "/" elsewhere, unless
// the folder already uses backslashes.
QString FolderSeparatorFor(const QString& folder);

} // namespace livrax::platform
