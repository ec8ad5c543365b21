#pragma once

#include "books/lx64.h"
#include "print/form_window.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace livrax::books {

// The window of the sales without tax-substitution retention ("F_LX64 -
// Produtos vendidos sem retençao da Subst. Tributária"): the period, "Campo"
// (always DTNOTA), "Filtros" (the dialog offers the columns as the query
// names them, "P50." and "PDS."), "Num. Página", "Tam. Fonte",
// "Série <> de ", "Tipo", "Estado", "Montar Arquivo", "Todas as Notas",
// the progress text, "Imprimir", "Visão", "VRTNP50" (the query window on the
// table) and "Sair". The settings are read when the window is shown and
// written when it closes. A build that fails leaves "Montar Arquivo"
// checked.
class TF_LX64 : public print::FormWindow {
    Q_OBJECT

  public:
    explicit TF_LX64(QWidget* parent = nullptr);
    ~TF_LX64() override;

    LX64Options inputs() const;
    void setInputs(const LX64Options& options);

  protected:
    void loadSettings() override;
    bool saveSettings() override;

  private:
    void runBook(print::Destination destination);
    void leaveStartDate();
    void openMatchTable();

    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QLineEdit* m_field = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_page = nullptr;
    QLineEdit* m_fontSize = nullptr;
    QLineEdit* m_series = nullptr;
    QButtonGroup* m_type = nullptr;
    QButtonGroup* m_state = nullptr;
    QCheckBox* m_build = nullptr;
    QCheckBox* m_allInvoices = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace livrax::books
