#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace livrax::shell {

QString SintegraCheckUsage();

// "livrax sintegra check": checks a SINTEGRA file (this program's or
// another's) and prints every problem with its line number, then a summary;
// with --json, one JSON object per finding and nothing else. `arguments` are
// what follows "sintegra check". Returns 0 when nothing was found (notes do
// not count), 1 when something was, 2 when the arguments are wrong or the
// file cannot be read.
int RunSintegraCheckCommand(const QStringList& arguments);
// The same, writing to the given streams.
int RunSintegraCheckCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace livrax::shell
