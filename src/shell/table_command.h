#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace livrax::shell {

QString TableUsage();

// "livrax table change|renumber TABLE --field F ...": the mass change and
// the renumbering of the table maintenance, as the logged-in user and under
// the window's access rule, printing "Registros alterados: N". With
// --dry-run every value is worked out and nothing is written. Returns 0 when
// done, 1 when refused or failed, 2 for wrong arguments.
int RunTableCommand(const QStringList& arguments);

// The same, writing to the given streams; `connect` makes the databases
// ready once the arguments are good and returns why it could not (empty
// when ready).
int RunTableCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const std::function<QString()>& connect);

} // namespace livrax::shell
