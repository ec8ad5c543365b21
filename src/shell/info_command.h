#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

// "livrax info": runs the start-up chain without windows and shows what a
// user checking an installation needs: user, connections, company, folders.
// Non-zero when database 1 could not be opened.
int RunInfoCommand(const QStringList& arguments);

} // namespace livrax::shell
