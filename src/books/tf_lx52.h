#pragma once

#include "books/lx52.h"
#include "print/form_window.h"

class QButtonGroup;
class QLineEdit;

namespace livrax::books {

// The GIA Modelo B window ("LX52 - GIA MODELO B"): "ANO" (typing a year sets
// the whole year as the period), "Dt. Inicial" (leaving it sets "Dt. Final"
// to the end of its month), "Dt. Final", "Página", the "Filtros" link with
// its text, the radio groups "Entradas/Saídas" (RG_ENTSAI) and
// "Estado/Natureza" (RG_AGRUPA), and "Imprimir", "Visão", "Sair". The
// settings are written after every run, not when the window closes.
class TF_LX52 : public print::FormWindow {
    Q_OBJECT

  public:
    explicit TF_LX52(QWidget* parent = nullptr);
    ~TF_LX52() override;

    LX52Options inputs() const;
    void setInputs(const LX52Options& options);

  protected:
    void loadSettings() override;
    bool saveSettings() override;

  private:
    void runBook(print::Destination destination);

    QLineEdit* m_year = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QLineEdit* m_page = nullptr;
    QLineEdit* m_filter = nullptr;
    QButtonGroup* m_side = nullptr;
    QButtonGroup* m_grouping = nullptr;
};

} // namespace livrax::books
