#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace livrax::shell {

// The user's preferences "F_USUARIO - Preferências do Usuário": the
// preference flags, the screen-print mode and the temporary folder on
// "Gerais", the e-mail account on "E-mail". It shows the settings stored
// for the user ("PUSER_" + user); "Salvar" (button or menu) stores them,
// reads them back into the shared globals, makes sure the temporary folder
// exists and closes; "Cancelar" closes without storing. Closing commits the
// shared datasets.
class TF_USUARIO : public QDialog {
    Q_OBJECT

  public:
    explicit TF_USUARIO(QWidget* parent = nullptr);

    void save();
    // "Montar os campos": the account fields from the workstation's mail
    // accounts.
    void fillFromMailAccounts();

    void done(int result) override;

  private:
    void buildGeneralPage(QWidget* page);
    void buildMailPage(QWidget* page);
    void fill();
    QLineEdit* addEdit(const QString& objectName, QWidget* page);

    QCheckBox* m_messages = nullptr;
    QCheckBox* m_agenda = nullptr;
    QCheckBox* m_readReceipt = nullptr;
    QCheckBox* m_colouredRows = nullptr;
    QCheckBox* m_authenticate = nullptr;
    QCheckBox* m_printDialogInPreview = nullptr;
    QButtonGroup* m_screenPrint = nullptr;
    QLineEdit* m_tempFolder = nullptr;
    QLineEdit* m_senderName = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_accountUser = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_address = nullptr;
};

// Registers the window as "USUARIO" (modal; the e-mail window opens it).
void RegisterUserWindows();

} // namespace livrax::shell
