#pragma once

#include "books/book_window.h"

namespace livrax::books {

// The Registro de Saídas window ("F_LX55 - REGISTRO DE SAÍDA").
class TF_LX55 : public BookWindow {
    Q_OBJECT

  public:
    explicit TF_LX55(QWidget* parent = nullptr);

  protected:
    void loadSettings() override;
    bool saveSettings() override;
    void runBook(print::Destination destination) override;
    void startDateLeft() override;
};

} // namespace livrax::books
