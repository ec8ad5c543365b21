#pragma once

#include "platform/mail.h"
#include "print/mail_settings.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace livrax::print {

// The e-mail window: a message with its recipients, copies, subject,
// priority, read receipt, attachments and text, sent directly over SMTP
// ("Enviar Direto") or handed to the workstation's mail client ("Enviar
// Outlook"); and the page "Parâmetros" with the user's mail settings.
class TF_EMAIL : public QDialog {
    Q_OBJECT

  public:
    // The attachment list starts empty; the fields take the user's
    // settings (the empty ones from the workstation's mail accounts); the
    // read-receipt box follows the user's option.
    explicit TF_EMAIL(QWidget* parent = nullptr);

    void setRecipient(const QString& address);
    // The message's text; set before the window is shown, it replaces the
    // user's default message.
    void setMessageText(const QString& text);
    void addAttachment(const QString& path);
    QStringList attachments() const;
    // The message as the fields of the page "Mensagem" hold it.
    platform::MailMessage message() const;

    // The user's commands, also reachable through the controls.
    void sendDirect();
    void sendThroughMailClient();
    void attach();
    void saveSettings();
    // F6, F7, F8 and the company search: the generic query on the
    // partners' register; the chosen row's EMAIL replaces the field.
    void searchRecipient();
    void searchCopy();
    void searchBlindCopy();
    void searchCompany();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildMessagePage(QWidget* page);
    void buildSettingsPage(QWidget* page);
    void showSettings(const MailSettings& settings);
    MailSettings fieldSettings() const;
    // The recipient and subject a message needs; false after the message
    // and with the focus on the field.
    bool checkRecipientAndSubject();
    bool search(QLineEdit* field, const QString& searchColumn, bool emailOnly);
    void setSending(bool sending);

    bool m_shown = false;
    QLabel* m_title = nullptr;
    QTabWidget* m_pages = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_cc = nullptr;
    QLineEdit* m_bcc = nullptr;
    QLineEdit* m_subject = nullptr;
    QComboBox* m_priority = nullptr;
    QCheckBox* m_receipt = nullptr;
    QListWidget* m_attachments = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_send = nullptr;
    QLineEdit* m_senderName = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_userName = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_senderAddress = nullptr;
    QLineEdit* m_defaultSubject = nullptr;
    QPlainTextEdit* m_defaultMessage = nullptr;
    // The default recipient, shown in the recipient field only.
    QString m_defaultRecipient;
};

// The attachments of a preview: the page files separated by ";", at most
// 50, empty entries left out.
QStringList PageAttachments(const QString& pageFiles);

// Registers "EMAIL": arguments[0] the recipient (empty: the user's default
// recipient), the others the files attached.
void RegisterEmailWindow();

} // namespace livrax::print
