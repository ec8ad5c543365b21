#pragma once

#include <QString>

class QTextStream;

namespace livrax::shell {

// Starts the program for a command without windows, as the registered user:
// the start-up chain, then the checks every such command needs (the first
// database attached, the company record read). False, with the reason on
// `err` after "livrax <command>: ", when the command must not run; the
// shut-down (RunShutdown) is due either way.
bool StartForCommand(const QString& command, QTextStream& err);
// The same start, giving the reason the command must not run (empty when it
// may).
QString StartForCommand();

} // namespace livrax::shell
