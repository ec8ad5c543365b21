#include "print/tf_email.h"

#include "data/returned_values.h"
#include "platform/dialogs.h"
#include "platform/mail_client.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSysInfo>
#include <QTabWidget>
#include <QVBoxLayout>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxPageAttachments = 50;

QLineEdit* Edit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (!hint.isEmpty()) button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

// The lines of a multi-line text.
QStringList LinesOf(const QPlainTextEdit* text) {
    return text->toPlainText().split(u'\n');
}

void ShowConfirmation(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Information, u"Confirmação"_s, message, QMessageBox::Ok, parent);
    box.setObjectName(u"MESSAGE_BOX"_s);
    box.exec();
}

} // namespace

QStringList PageAttachments(const QString& pageFiles) {
    QStringList paths;
    for (const QString& path : pageFiles.split(u';').mid(0, MaxPageAttachments))
        if (!path.trimmed().isEmpty()) paths << path;
    return paths;
}

TF_EMAIL::TF_EMAIL(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_EMAIL"_s);
    setWindowTitle(u"E-MAIL"_s);
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(u"Nova Mensagem"_s, this);
    m_title->setObjectName(u"LA_TITULO"_s);
    QFont big = m_title->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_title->setFont(big);
    layout->addWidget(m_title);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PageControl1"_s);
    auto* messagePage = new QWidget;
    messagePage->setObjectName(u"TS_MENSAGEM"_s);
    buildMessagePage(messagePage);
    m_pages->addTab(messagePage, u"Mensagem"_s);
    auto* settingsPage = new QWidget;
    settingsPage->setObjectName(u"TS_PARAMETROS"_s);
    buildSettingsPage(settingsPage);
    m_pages->addTab(settingsPage, u"Parâmetros"_s);
    layout->addWidget(m_pages, 1);

    const auto shortcut = [this](Qt::Key key, void (TF_EMAIL::*action)()) {
        auto* s = new QShortcut(QKeySequence(key), this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(Qt::Key_F6, &TF_EMAIL::searchRecipient);
    shortcut(Qt::Key_F7, &TF_EMAIL::searchCopy);
    shortcut(Qt::Key_F8, &TF_EMAIL::searchBlindCopy);
    auto* leave = new QShortcut(QKeySequence(Qt::Key_F12), this);
    leave->setContext(Qt::WindowShortcut);
    connect(leave, &QShortcut::activated, this, &QDialog::reject);

    MailSettings settings = UserMailSettings();
    FillFromWorkstationAccounts(settings);
    showSettings(settings);
    m_to->setText(settings.defaultRecipient.toLower());
    m_receipt->setChecked(ReadReceiptPreset());
    resize(720, 600);
}

void TF_EMAIL::buildMessagePage(QWidget* page) {
    auto* grid = new QGridLayout(page);
    int row = 0;
    const auto addressRow = [&](QLineEdit*& field, const QString& name, const QString& caption,
                                const QString& hint, void (TF_EMAIL::*search)()) {
        QPushButton* button = Button(page, u"BU_"_s + name.mid(2), caption, hint);
        connect(button, &QPushButton::clicked, this, search);
        grid->addWidget(button, row, 0);
        field = Edit(page, name);
        grid->addWidget(field, row, 1, 1, 3);
        ++row;
    };
    addressRow(m_to, u"E_PARA"_s, u"Para:   F6"_s, u"Pesquisa no Cadastro por E-mail"_s,
               &TF_EMAIL::searchRecipient);
    // Addresses are typed in lower case.
    connect(m_to, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString lower = text.toLower();
        if (lower == text) return;
        const int cursor = m_to->cursorPosition();
        m_to->setText(lower);
        m_to->setCursorPosition(cursor);
    });
    QPushButton* company =
        Button(page, u"BU_EMPRESA"_s, u"Empresa"_s, u"Pesquisa no Cadastro por Empresa"_s);
    connect(company, &QPushButton::clicked, this, &TF_EMAIL::searchCompany);
    grid->addWidget(company, 0, 4);
    addressRow(m_cc, u"E_CC"_s, u"C.C.:    F7"_s, u"Pesquisa no Cadastro"_s, &TF_EMAIL::searchCopy);
    addressRow(m_bcc, u"E_CCO"_s, u"C.C.O.: F8"_s, u"Pesquisa no Cadastro"_s,
               &TF_EMAIL::searchBlindCopy);

    auto* subjectLabel = new QLabel(u"Assunto:"_s, page);
    subjectLabel->setObjectName(u"LA_ASSUNTO"_s);
    grid->addWidget(subjectLabel, row, 0);
    m_subject = Edit(page, u"E_ASSUNTO"_s);
    grid->addWidget(m_subject, row, 1, 1, 3);
    ++row;

    auto* priorityLabel = new QLabel(u"Prioridade:"_s, page);
    priorityLabel->setObjectName(u"LA_PRIORIDADE"_s);
    grid->addWidget(priorityLabel, row, 0);
    m_priority = new QComboBox(page);
    m_priority->setObjectName(u"CBXPRIORIDADE"_s);
    m_priority->addItems({u"Prioridade Alta"_s, u"Prioridade Normal"_s, u"Prioridade Baixa"_s});
    m_priority->setCurrentIndex(1);
    grid->addWidget(m_priority, row, 1);
    m_receipt = new QCheckBox(u"Solicitar confirmação de leitura"_s, page);
    m_receipt->setObjectName(u"CBXCONFIRMALEITURA"_s);
    grid->addWidget(m_receipt, row, 2, 1, 2);
    ++row;

    auto* attachmentsLabel = new QLabel(u"Anexos:"_s, page);
    attachmentsLabel->setObjectName(u"LA_ANEXOS"_s);
    grid->addWidget(attachmentsLabel, row, 0);
    m_attachments = new QListWidget(page);
    m_attachments->setObjectName(u"E_ANEXOS"_s);
    m_attachments->setMaximumHeight(90);
    grid->addWidget(m_attachments, row, 1, 1, 3);
    QPushButton* attachButton = Button(page, u"BU_ANEXAR"_s, u"Anexar"_s);
    connect(attachButton, &QPushButton::clicked, this, &TF_EMAIL::attach);
    grid->addWidget(attachButton, row, 4);
    ++row;

    auto* textLabel = new QLabel(u"Mensagem:"_s, page);
    textLabel->setObjectName(u"LA_MENSAGEM"_s);
    grid->addWidget(textLabel, row, 0, Qt::AlignTop);
    m_text = new QPlainTextEdit(page);
    m_text->setObjectName(u"E_MENSAGEM"_s);
    grid->addWidget(m_text, row, 1, 1, 4);
    grid->setRowStretch(row, 1);
    ++row;

    auto* buttons = new QHBoxLayout;
    m_send = Button(page, u"BU_ENVIAR"_s, u"Enviar Direto"_s);
    connect(m_send, &QPushButton::clicked, this, &TF_EMAIL::sendDirect);
    QPushButton* client = Button(page, u"BU_OUTLOOK"_s, u"Enviar Outlook"_s);
    connect(client, &QPushButton::clicked, this, &TF_EMAIL::sendThroughMailClient);
    buttons->addStretch(1);
    buttons->addWidget(m_send);
    buttons->addWidget(client);
    grid->addLayout(buttons, row, 0, 1, 5);
}

void TF_EMAIL::buildSettingsPage(QWidget* page) {
    auto* form = new QFormLayout(page);
    m_senderName = Edit(page, u"E_NOME"_s);
    form->addRow(u"Nome:"_s, m_senderName);
    m_host = Edit(page, u"E_HOST"_s);
    form->addRow(u"Host:"_s, m_host);
    m_userName = Edit(page, u"E_USERNAME"_s);
    form->addRow(u"Username:"_s, m_userName);
    m_password = Edit(page, u"E_PASSWORD"_s);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(u"Senha:"_s, m_password);
    m_senderAddress = Edit(page, u"E_ADDRESS"_s);
    form->addRow(u"From Address:"_s, m_senderAddress);
    QLineEdit* localHost = Edit(page, u"E_LOCALHOST"_s);
    localHost->setText(QSysInfo::machineHostName());
    localHost->setReadOnly(true);
    form->addRow(u"Local Host:"_s, localHost);
    m_defaultSubject = Edit(page, u"E_ASSUNTO_PADRAO"_s);
    form->addRow(u"Assunto Padrão:"_s, m_defaultSubject);
    m_defaultMessage = new QPlainTextEdit(page);
    m_defaultMessage->setObjectName(u"E_MENSAGEM_PADRAO"_s);
    form->addRow(u"Mensagem Padrão:"_s, m_defaultMessage);
    QPushButton* save = Button(page, u"BU_SALVAR"_s, u"Salvar"_s);
    connect(save, &QPushButton::clicked, this, &TF_EMAIL::saveSettings);
    form->addRow(QString(), save);
}

void TF_EMAIL::showSettings(const MailSettings& settings) {
    m_senderName->setText(settings.senderName);
    m_host->setText(settings.host);
    m_userName->setText(settings.userName);
    m_password->setText(settings.password);
    m_senderAddress->setText(settings.senderAddress);
    m_defaultSubject->setText(settings.defaultSubject);
    m_defaultMessage->setPlainText(DefaultMessageLines(settings.defaultMessage).join(u'\n'));
    // The recipient field is the default recipient's only when the window
    // opens: what the user typed there stays.
    m_defaultRecipient = settings.defaultRecipient;
}

MailSettings TF_EMAIL::fieldSettings() const {
    MailSettings settings;
    settings.senderName = m_senderName->text();
    settings.host = m_host->text();
    settings.userName = m_userName->text();
    settings.password = m_password->text();
    settings.defaultRecipient = m_defaultRecipient;
    settings.senderAddress = m_senderAddress->text();
    settings.defaultSubject = m_defaultSubject->text();
    settings.defaultMessage = StoredDefaultMessage(LinesOf(m_defaultMessage));
    return settings;
}

void TF_EMAIL::setMessageText(const QString& text) {
    m_text->setPlainText(text);
}

void TF_EMAIL::setRecipient(const QString& address) {
    m_to->setText(address.toLower());
}

void TF_EMAIL::addAttachment(const QString& path) {
    m_attachments->addItem(path);
}

QStringList TF_EMAIL::attachments() const {
    QStringList paths;
    for (int i = 0; i < m_attachments->count(); ++i)
        paths << m_attachments->item(i)->text();
    return paths;
}

platform::MailMessage TF_EMAIL::message() const {
    platform::MailMessage message;
    message.fromName = m_senderName->text().trimmed();
    message.fromAddress = m_senderAddress->text().trimmed();
    message.to = platform::SplitAddresses(m_to->text());
    message.cc = platform::SplitAddresses(m_cc->text());
    message.bcc = platform::SplitAddresses(m_bcc->text());
    message.subject = m_subject->text();
    message.body = m_text->toPlainText();
    static constexpr platform::MailPriority priorities[] = {
        platform::MailPriority::High, platform::MailPriority::Normal, platform::MailPriority::Low};
    message.priority = priorities[std::clamp(m_priority->currentIndex(), 0, 2)];
    message.readReceipt = m_receipt->isChecked();
    message.attachments = attachments();
    return message;
}

void TF_EMAIL::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    const MailSettings settings = fieldSettings();
    if (m_text->toPlainText().isEmpty())
        m_text->setPlainText(DefaultMessageLines(settings.defaultMessage).join(u'\n'));
    if (m_subject->text().isEmpty()) m_subject->setText(settings.defaultSubject);
    if (m_to->text().trimmed().isEmpty())
        m_to->setFocus();
    else
        m_subject->setFocus();
}

bool TF_EMAIL::checkRecipientAndSubject() {
    if (m_to->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Preencher destinatário da mensagem!"_s);
        m_pages->setCurrentIndex(0);
        m_to->setFocus();
        return false;
    }
    if (m_subject->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Preencher campo ASSUNTO!"_s);
        m_pages->setCurrentIndex(0);
        m_subject->setFocus();
        return false;
    }
    return true;
}

void TF_EMAIL::setSending(bool sending) {
    m_title->setText(sending ? u"ENVIANDO"_s : QString());
    m_send->setText(sending ? u"ENVIANDO"_s : u"Enviar Direto"_s);
    m_send->setEnabled(!sending);
    if (sending)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TF_EMAIL::sendDirect() {
    if (!HasSendingSettings(fieldSettings())) {
        platform::ShowMessage(this, MissingSettingsMessage());
        // The user's preferences, on their e-mail page; without that window
        // the page "Parâmetros" here takes the settings.
        if (platform::OpenWindow(u"USUARIO"_s, this, {u"E-mail"_s})) {
            showSettings(UserMailSettings());
        } else {
            m_pages->setCurrentIndex(1);
            m_host->setFocus();
        }
        return;
    }
    if (!checkRecipientAndSubject()) return;
    setSending(true);
    QCoreApplication::processEvents();
    const platform::MailResult result =
        platform::SendMail(message(), AccountOf(fieldSettings(), AuthenticatePreset()));
    setSending(false);
    if (!result.sent) {
        // The window keeps everything, for another try.
        platform::ShowError(this, result.message);
        return;
    }
    ShowConfirmation(this, u"Email enviado com sucesso!"_s);
}

void TF_EMAIL::sendThroughMailClient() {
    if (!checkRecipientAndSubject()) return;
    const QString problem = platform::OpenInMailClient(message());
    if (!problem.isEmpty()) platform::ShowError(this, problem);
}

void TF_EMAIL::attach() {
    // Starts beside the last file attached.
    const QStringList attached = attachments();
    const std::optional<QString> path = platform::ChooseFileToOpen(
        this, u"Anexar"_s, attached.isEmpty() ? QString() : attached.last(), u"Todos (*)"_s);
    if (path && !path->isEmpty()) addAttachment(*path);
}

void TF_EMAIL::saveSettings() {
    // What other windows stored meanwhile is read first, so that only the
    // fields of this page change.
    ReloadUserMailSettings();
    MailSettings settings = UserMailSettings();
    settings.host = m_host->text();
    settings.senderName = m_senderName->text();
    settings.password = m_password->text();
    settings.userName = m_userName->text();
    settings.senderAddress = m_senderAddress->text();
    settings.defaultSubject = m_defaultSubject->text();
    // The lines shown replace the stored message.
    settings.defaultMessage = StoredDefaultMessage(LinesOf(m_defaultMessage));
    if (!SaveUserMailSettings(settings)) {
        platform::ShowError(this,
                            u"As configurações de e-mail não foram gravadas: o banco de dados "
                            u"não respondeu ou o registro está em uso em outra estação."_s);
        return;
    }
    m_defaultMessage->setPlainText(DefaultMessageLines(settings.defaultMessage).join(u'\n'));
    if (!settings.defaultSubject.isEmpty()) m_subject->setText(settings.defaultSubject);
    if (!settings.defaultMessage.isEmpty())
        m_text->setPlainText(DefaultMessageLines(settings.defaultMessage).join(u'\n'));
}

bool TF_EMAIL::search(QLineEdit* field, const QString& searchColumn, bool emailOnly) {
    data::ResetReturnedValues();
    // The generic query: table, returned field, value searched, order,
    // search column, columns, filter.
    const QStringList arguments{u"VRTNEMP"_s,
                                u"EMAIL"_s,
                                field->text(),
                                u"EMAIL,EMPRESA"_s,
                                searchColumn,
                                u"EMAIL,EMPRESA,TELEFONE"_s,
                                emailOnly ? u"EMAIL LIKE '%@%' "_s : QString()};
    if (!platform::OpenWindow(u"PESQC"_s, this, arguments)) return false;
    if (!data::ReturnedValues().rowChosen) return false;
    field->setText(data::ReturnedValues().values[0].trimmed());
    return true;
}

void TF_EMAIL::searchRecipient() {
    search(m_to, u"EMAIL"_s, true);
    m_subject->setFocus();
}

void TF_EMAIL::searchCopy() {
    search(m_cc, u"EMAIL"_s, true);
}

void TF_EMAIL::searchBlindCopy() {
    search(m_bcc, u"EMAIL"_s, true);
}

void TF_EMAIL::searchCompany() {
    search(m_to, u"EMPRESA"_s, false);
}

void RegisterEmailWindow() {
    platform::RegisterWindow(u"EMAIL"_s, [](QWidget* parent, const QStringList& arguments) {
        TF_EMAIL window(parent);
        if (!arguments.value(0).isEmpty()) window.setRecipient(arguments.value(0));
        for (const QString& path : arguments.mid(1))
            window.addAttachment(path);
        window.exec();
    });
}

} // namespace livrax::print
