#pragma once

#include <QString>
#include <QStringList>

namespace livrax::demo {

QString DemoUsage();

// Where "livrax demo" put the company it created.
struct CreatedDemo {
    QString erpPath;          // database 1, native separators; empty until the files are in place
    QString systemPath;       // database 5
    QString tempFolder;       // the demo user's temporary folder
    bool openProgram = false; // false with --no-gui
};

// "livrax demo" up to the company itself: reads the options, creates the
// demo company's databases and prints the summary of what they hold. Returns
// the process exit status. `created` is filled as soon as the databases are
// in place (even when the summary then cannot be read); logging the demo user
// in and opening the desktop program on it are the executable's part.
int RunDemoCommand(const QStringList& arguments, CreatedDemo* created = nullptr);

} // namespace livrax::demo
