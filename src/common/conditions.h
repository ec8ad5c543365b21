#pragma once

// SQL conditions assembled from the "#"-separated lines the filter dialog
// produces, and the "*" wildcard that users type in place of LIKE's "%".

#include <QString>

namespace livrax {

// The "#"-fields of a line joined into one condition: each further field is
// preceded by " AND ", or by a single space when it or the field written
// before it is "AND" or "OR". Empty fields are skipped.
// "(A = 1#OR#B = 2)" gives "(A = 1 OR B = 2)"; "A = 1#B = 2" gives
// "A = 1 AND B = 2".
QString JoinConditions(const QString& line);

// NOME = 'AB*' becomes NOME LIKE 'AB%': when the word holding the first "*"
// follows "= " (a bare "=", not part of "<=", ">=" or "!="), that "=" becomes
// LIKE and that "*" becomes "%". A condition holding '*' (a quoted lone
// star) and every other condition are returned unchanged.
QString StarToLike(const QString& condition);

// Why a filter typed by the user cannot be added to a query, or empty when
// it can. A filter is placed in parentheses after the query's own conditions
// and may only narrow the rows they select: its parentheses must balance
// without ever closing one it did not open, its quotes must close, and it
// may hold no comment ("--", "/*") and no ";", which could end or hide the
// rest of the statement. Quoted text is not looked into.
QString FilterProblem(const QString& filter);

} // namespace livrax
