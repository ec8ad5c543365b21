#pragma once

#include <QStringList>

// "livrax demo" as the executable runs it: the demo library creates the demo
// company, then its user is logged in on the new databases, as the suite's
// log-in would, and the desktop program opens on it (unless --no-gui).
// Returns the process exit status.
int RunDemoProgram(const QStringList& arguments);
