#pragma once

#include "books/settlement_window.h"

namespace livrax::books {

// The Registro de Apuração do ICMS window.
class TF_LX56 : public SettlementWindow {
  public:
    explicit TF_LX56(QWidget* parent = nullptr) : SettlementWindow(IcmsSettlement(), parent) {}
};

} // namespace livrax::books
