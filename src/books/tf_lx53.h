#pragma once

#include "books/book_window.h"

namespace livrax::books {

// The Registro de Entradas window ("F_LX53 - REGISTRO DE ENTRADA").
class TF_LX53 : public BookWindow {
    Q_OBJECT

  public:
    explicit TF_LX53(QWidget* parent = nullptr);

  protected:
    void loadSettings() override;
    bool saveSettings() override;
    void runBook(print::Destination destination) override;
    void startDateLeft() override;
};

// Makes the books' windows reachable from the main window's commands.
void RegisterBookWindows();

} // namespace livrax::books
