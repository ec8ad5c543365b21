#pragma once

// What an expression reads while it is evaluated: the columns of the current
// row (a query row of the report runner, a table row of the maintenance window,
// or a table of values in the tests) and the bracketed macros. Look-ups that
// need the database go through LookupSource, so the evaluator itself never
// touches a connection.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace livrax::expr {

class ExpressionRow {
  public:
    virtual ~ExpressionRow() = default;

    // The text of column `name` of the main table (also what an unqualified
    // name or "A.name" reads); nullopt when the row has no such column.
    virtual std::optional<QString> field(const QString& name) const = 0;
    // Column `name` of the secondary table ("S.name"); none by default.
    virtual std::optional<QString> secondaryField(const QString& name) const {
        Q_UNUSED(name);
        return std::nullopt;
    }

    // The text with its bracketed macros replaced by their values. The report
    // runner's rows answer with the macro expander; plain rows expand nothing.
    virtual QString expandMacros(const QString& text) const { return text; }
    // The value of one macro named with or without brackets (a bare GBFUN1, a
    // [DATE]); any other text comes back with its macros expanded.
    virtual QString macroValue(const QString& name) const { return expandMacros(name); }
};

// The database side of a look-up.
class LookupSource {
  public:
    virtual ~LookupSource() = default;

    // The primary-key fields of the table, in key order; empty when unknown.
    virtual QStringList primaryKey(const QString& table) const = 0;
    // The first row of "SELECT fields FROM table A WHERE keyField = 'keyValue'"
    // narrowed by `filter` when it is not blank; nullptr when there is no such
    // row or the database failed.
    virtual std::unique_ptr<ExpressionRow> selectFirst(const QString& table, const QString& fields,
                                                       const QString& keyField,
                                                       const QString& keyValue,
                                                       const QString& filter) const = 0;
};

} // namespace livrax::expr
