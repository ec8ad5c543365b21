#include "expr/slot_row.h"

namespace livrax::expr {

namespace {

std::optional<QString> ColumnText(const data::DataSlot& slot, const QString& name) {
    if (!slot.hasField(name)) return std::nullopt;
    return slot.value(name).toString();
}

} // namespace

std::optional<QString> SlotRow::field(const QString& name) const {
    return ColumnText(m_main, name);
}

std::optional<QString> SlotRow::secondaryField(const QString& name) const {
    return m_secondary ? ColumnText(*m_secondary, name) : std::nullopt;
}

} // namespace livrax::expr
