#pragma once

#include "books/settlement_window.h"

namespace livrax::books {

// The Registro de Apuração do IPI window.
class TF_LX57 : public SettlementWindow {
  public:
    explicit TF_LX57(QWidget* parent = nullptr) : SettlementWindow(IpiSettlement(), parent) {}
};

} // namespace livrax::books
