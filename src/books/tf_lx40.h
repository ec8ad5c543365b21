#pragma once

#include "books/lx40.h"
#include "print/form_window.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

namespace livrax::tools {
class QueryModel;
}

namespace livrax::books {

// The Inventário Retroativo window ("F_LX40 - INVENTÁRIO RETROATIVO"):
// "DATA BASE", "Dados do Relatório" (CB_OPCOES), "Campo Valor" (CB_VALOR,
// enabled only for the layout "00"), "Livro", "Página", "TITULO", the two
// item filters with their links (the dialog offers the columns as the query
// names them, "PIE." and "PIS."), the three option boxes, the grid of the
// item rows of the last run with its navigator, the menu "Arquivos" >
// "Imprimir Tela", and "Imprimir", "Visão", "Sair". The settings are read
// when the window is shown and written when it closes.
class TF_LX40 : public print::FormWindow {
    Q_OBJECT

  public:
    explicit TF_LX40(QWidget* parent = nullptr);
    ~TF_LX40() override;

    LX40Options inputs() const;
    void setInputs(const LX40Options& options);

  protected:
    void loadSettings() override;
    bool saveSettings() override;

  private:
    void runBook(print::Destination destination);
    // The grid shows the item rows the run counted; a query the database
    // refuses leaves it empty.
    void showItems(const LX40Options& options);
    void moveInGrid(int step);

    QLineEdit* m_date = nullptr;
    QComboBox* m_layout = nullptr;
    QComboBox* m_value = nullptr;
    QLineEdit* m_book = nullptr;
    QLineEdit* m_page = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_entryFilter = nullptr;
    QLineEdit* m_exitFilter = nullptr;
    QCheckBox* m_positive = nullptr;
    QCheckBox* m_registerCost = nullptr;
    QCheckBox* m_summary = nullptr;
    tools::QueryModel* m_items = nullptr;
    QTableView* m_grid = nullptr;
};

} // namespace livrax::books
