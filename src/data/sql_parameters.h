#pragma once

#include <QString>
#include <QStringList>

namespace livrax::data {

// A statement text whose named parameters (":P_NAME") were replaced by the
// positional markers the database understands. `names` holds, for each
// position, the upper-case name without the colon (empty for a plain "?").
struct PositionalSql {
    QString sql;
    QStringList names;
};

// Finds the parameters outside string literals, quoted identifiers and
// comments, so that a colon inside 'a:b' or a comment is left alone.
PositionalSql ToPositionalSql(const QString& sql);

} // namespace livrax::data
