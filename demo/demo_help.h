#pragma once

// The demo company's help texts: a few topics (HLD) and their search keys
// (HLP) for the windows that open the help, so that the viewer has something
// to find, follow and print.

namespace livrax::data {
class Connection;
}

namespace livrax::demo {

// Writes the topics and keys to `database` (the one that holds the
// program's own tables) in one transaction. Throws DbError.
void WriteDemoHelp(data::Connection& database);

} // namespace livrax::demo
