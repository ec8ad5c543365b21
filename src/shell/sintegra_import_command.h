#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace livrax::shell {

QString SintegraImportUsage();

// "livrax sintegra import": reads a SINTEGRA file and imports its record-50
// documents as invoices, as the reversal window does. It prints what it
// imports (documents and totals of entries and exits); with --dry-run it
// only prints that. A file with problems is refused with each problem and
// its line, and nothing is written. When documents of the file already exist
// it says how many and imports them again only with --again. `arguments` are
// what follows "sintegra import". Returns 0 when done, 1 when refused or
// failed, 2 for wrong arguments or a file that cannot be read.
int RunSintegraImportCommand(const QStringList& arguments);

// The same, writing to the given streams; `connect` makes the databases
// ready once the arguments and the file are good and returns why it could
// not (empty when ready).
int RunSintegraImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                             const std::function<QString()>& connect);

} // namespace livrax::shell
