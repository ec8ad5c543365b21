#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace livrax::shell {

QString TopicUsage();

// "livrax topic": the help texts between installations, as the logged-in
// user, without windows. `arguments` begin with the subcommand.
//   search WORD: the keys holding WORD, then the titles, with their topics.
//   export SEQ --out F.rtf|F.txt: the topic's rich text as it is stored
//     (.rtf) or as plain Windows-1252 text (.txt), written whole or not at
//     all.
//   import F.rtf --title T [--key K]...: a new topic with the file's rich
//     text, and its keys, stored together.
// Returns 0 when done, 1 when refused or failed (nothing found, nothing
// written or stored), 2 for wrong arguments.
int RunTopicCommand(const QStringList& arguments);

// The same, writing to the given streams; `connect` makes the databases
// ready once the arguments are good and returns why it could not (empty when
// ready).
int RunTopicCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const std::function<QString()>& connect);

} // namespace livrax::shell
