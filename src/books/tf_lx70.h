#pragma once

#include "books/book_window.h"
#include "books/lx70.h"

class QComboBox;
class QLineEdit;

namespace livrax::books {

// The Livro de ISSQN window ("F_LX70 - Livro de ISSQN"): the period of the
// exits table, the rate and deductions, "Cálculo", "Valor", the RESUMO
// inputs, and "Retido", which reads the day table and shows the withheld tax
// summed from the invoices.
class TF_LX70 : public BookWindow {
    Q_OBJECT

  public:
    explicit TF_LX70(QWidget* parent = nullptr);

    // The book's inputs as the controls hold them.
    LX70Options bookInputs() const;
    // "Retido": the day table of the inputs; nothing (after telling the
    // user) when it cannot be read.
    std::optional<LX70DayTable> withheld();

  protected:
    void loadSettings() override;
    bool saveSettings() override;
    void runBook(print::Destination destination) override;
    void startDateLeft() override;

  private:
    void setBookInputs(const LX70Options& options);
    void showTable(const LX70DayTable& table);

    QLineEdit* m_rate = nullptr;
    QLineEdit* m_subcontracted = nullptr;
    QComboBox* m_method = nullptr;
    QComboBox* m_value = nullptr;
    QLineEdit* m_professionals = nullptr;
    QLineEdit* m_issValue = nullptr;
    QLineEdit* m_paymentDate = nullptr;
    QLineEdit* m_withheld = nullptr;
    QLineEdit* m_note = nullptr;
    QLineEdit* m_withheldCalc = nullptr;
};

} // namespace livrax::books
