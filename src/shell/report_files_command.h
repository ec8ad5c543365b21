#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace livrax::shell {

QString ReportFilesUsage();

// "livrax report export|import": copies user-defined reports to and from
// their definition files. `arguments` begin with the subcommand.
//   export TABLE NNN[-MMM] --dir PASTA [--menu CHAVE]: writes each report of
//     the range that exists in the table's menu ("PAR_LF" + TABLE, the menu
//     of the main window, unless --menu gives another key) as its three
//     files M + NNN + "A"/"C"/"V" + ".FMB"; a range without reports fails.
//   import ARQUIVO [--replace]: stores the report of a definition file
//     (M + NNN + "A.FMB") and its two companions in the database of the
//     table the menu key ends with; a report already stored is replaced only
//     with --replace.
// Returns 0 when done, 1 when refused or failed, 2 for wrong arguments.
int RunReportFilesCommand(const QStringList& arguments);

// The same, writing to the given streams; `connect` makes the databases
// ready once the arguments are good and returns why it could not (empty when
// ready).
int RunReportFilesCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                          const std::function<QString()>& connect);

} // namespace livrax::shell
