#pragma once

// Look-ups of report columns against the program's databases, and the
// database that holds a table.

#include "expr/expression_row.h"

namespace livrax::expr {

// Reads the look-up row on the shared slot T_CONX and keeps a copy of its
// columns, so the slot is free again when the value is evaluated. The filter
// is put in parentheses: it can only narrow the rows of the key.
class DatabaseLookup : public LookupSource {
  public:
    QStringList primaryKey(const QString& table) const override;
    std::unique_ptr<ExpressionRow> selectFirst(const QString& table, const QString& fields,
                                               const QString& keyField, const QString& keyValue,
                                               const QString& filter) const override;
};

// The number of the database whose table list holds `table` (the exact name):
// with n = 0 the first of 5, 4, 3, 2, 1 that holds it; with n = 1..5, n when
// that database's list holds it. 0 when none does.
int TableDatabaseNumber(const QString& table, int n);

} // namespace livrax::expr
