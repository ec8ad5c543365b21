#pragma once

#include <QString>

namespace livrax::data {

class Connection;

// Turns a three-letter table code into its physical name: "VRTN" + code,
// with the company code appended when the database keeps that table once per
// company ("PDE" -> "VRTNPDE001"). Other names pass through unchanged.
QString ResolveTableName(const QString& code);

// The connection that holds a table (by code or name), or nullptr. The digits
// "1", "2", "3" and "5" name a database directly. Keeps GB_DIRDEFAULT on the
// path of the connection chosen.
Connection* DatabaseFor(const QString& code);

} // namespace livrax::data
