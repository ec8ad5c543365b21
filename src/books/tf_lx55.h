#pragma once

#include "books/book_settings.h"
#include "books/book_window.h"

namespace livrax::books {

// The Registro de Saídas window ("F_LX55 - REGISTRO DE SAÍDA").
class TF_LX55 : public BookWindow {
    Q_OBJECT

  public:
    explicit TF_LX55(QWidget* parent = nullptr);

    static const LineBookSettings& Settings();

  protected:
    void loadSettings() override;
    void saveSettings() override;
    void runBook(print::Destination destination) override;
    void startDateLeft() override;

  private:
    QCheckBox* m_ipi = nullptr;
    QCheckBox* m_company = nullptr;
    QCheckBox* m_icm = nullptr;
    QCheckBox* m_st = nullptr;
};

} // namespace livrax::books
