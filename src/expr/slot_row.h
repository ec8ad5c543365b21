#pragma once

// The current row of a query or table slot as an expression row: what the
// report runner and the table maintenance window evaluate their expressions
// against. Columns are read by name through the slot's name map, without a
// copy of the row.

#include "data/data_module.h"
#include "expr/expression_row.h"

namespace livrax::expr {

class SlotRow : public ExpressionRow {
  public:
    // `secondary` (optional) is the slot of the secondary table ("S.name").
    explicit SlotRow(const data::DataSlot& main, const data::DataSlot* secondary = nullptr)
        : m_main(main), m_secondary(secondary) {}

    std::optional<QString> field(const QString& name) const override;
    std::optional<QString> secondaryField(const QString& name) const override;

  private:
    const data::DataSlot& m_main;
    const data::DataSlot* m_secondary;
};

} // namespace livrax::expr
