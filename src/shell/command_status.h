#pragma once

// How a command without windows ends: its exit status and the two ways it
// stops early, each with the command's own prefix ("livrax topic: ").

#include <QString>
#include <QTextStream>

namespace livrax::shell {

// The exit statuses the commands share: 0 done, 1 refused or failed (the
// reason on stderr), 2 wrong arguments (the usage on stderr).
constexpr int ExitDone = 0;
constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;

// "<prefix><problem>" and "Uso: livrax <usage>" on `err`; ExitUsage.
inline int UsageError(QTextStream& err, const QString& prefix, const QString& usage,
                      const QString& problem) {
    err << prefix << problem << "\n"
        << "Uso: livrax " << usage << "\n";
    return ExitUsage;
}

// Ends a run that cannot go on: what `out` holds is written first, then
// "<prefix><message>" on `err`; ExitRefused.
inline int Refused(QTextStream& out, QTextStream& err, const QString& prefix,
                   const QString& message) {
    out.flush();
    err << prefix << message << "\n";
    return ExitRefused;
}

} // namespace livrax::shell
