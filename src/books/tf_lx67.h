#pragma once

#include "books/lx67.h"
#include "print/form_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace livrax::books {

// The controlled-medicines window ("F_LX67 - Produtos Controlados"): "DATA
// INICIAL" (leaving it sets "DATA FINAL" to its month's last day), "DATA
// FINAL", "Filtros" (the filter dialog on the items, its columns named
// "PIS."; the result joined and its "*" made LIKE), "Ordem" (the column
// dialog on the items), "Troca os títulos", and "Imprimir", "Visão",
// "Sair". The company's licences are read when the window is shown, with
// the settings; the settings are written when it closes.
class TF_LX67 : public print::FormWindow {
    Q_OBJECT

  public:
    explicit TF_LX67(QWidget* parent = nullptr);
    ~TF_LX67() override;

    LX67Options inputs() const;
    void setInputs(const LX67Options& options);
    const LX67Company& company() const { return m_company; }

  protected:
    void loadSettings() override;
    bool saveSettings() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void runBook(print::Destination destination);
    void chooseFilter();
    void chooseOrder();

    LX67Company m_company;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_order = nullptr;
    QLabel* m_filterLink = nullptr;
    QLabel* m_orderLink = nullptr;
    QCheckBox* m_swap = nullptr;
};

} // namespace livrax::books
