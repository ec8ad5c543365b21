#pragma once

#include <QString>
#include <QStringList>

namespace livrax::demo {

QString DemoUsage();

// "livrax demo": creates the demo company's databases and prints the
// summary of what it holds. Returns the process exit status.
int RunDemoCommand(const QStringList& arguments);

} // namespace livrax::demo
