#pragma once

#include "registers/company_register.h"

#include <QDialog>

class QCheckBox;
class QButtonGroup;
class QLineEdit;
class QComboBox;
class QTabWidget;

namespace livrax::registers {

// The company register window "F_CAE - Cadastro da Empresa": the register's
// fields on five tabs, "Salvar" (and the menu "Sair") saving and closing,
// "Cancelar" (and Esc) closing without saving. Leaving the CNPJ or the
// technical responsible's CPF checks its digits; leaving the postal code
// shapes it. Only a level-9 user may change the access levels.
class TF_CAE : public QDialog {
    Q_OBJECT

  public:
    explicit TF_CAE(QWidget* parent = nullptr);

    // The register as the controls hold it.
    CompanyRegister values() const;
    // Saves and closes; when the register cannot be stored the user is told
    // and the window stays open.
    void save();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void fill(const CompanyRegister& record);
    void left(QLineEdit* edit);

    QTabWidget* m_tabs = nullptr;
    std::map<QString, QWidget*> m_controls; // QLineEdit or QComboBox, by name
    QButtonGroup* m_companyType = nullptr;
    QButtonGroup* m_duplicateSeries = nullptr;
    QCheckBox* m_multiBranch = nullptr;
};

// Registers the windows "CAE", "EPP" and "CPC".
void RegisterRegisterWindows();

} // namespace livrax::registers
