#include "shell/tf_usuario.h"

#include "data/globals.h"
#include "data/queries.h"
#include "data/user_flags.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/window_registry.h"
#include "shell/startup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace livrax::shell {

namespace {

using data::UserFlag;

// The e-mail texts of the user record (lines 10 to 17 of "PUSER_" + user)
// this window edits; the others (lines 14, 16 and 17) are kept as they are.
constexpr std::size_t SenderNameText = 0; // line 10
constexpr std::size_t HostText = 1;       // line 11
constexpr std::size_t AccountUserText = 2;
constexpr std::size_t PasswordText = 3;
constexpr std::size_t AddressText = 5; // line 15

QCheckBox* NewCheckBox(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    return box;
}

} // namespace

TF_USUARIO::TF_USUARIO(QWidget* parent) : QDialog(parent) {
    setObjectName(u"F_USUARIO"_s);
    setWindowTitle(u"F_USUARIO - Preferências do Usuário"_s);
    auto* layout = new QVBoxLayout(this);

    auto* menu = new QMenuBar(this);
    QAction* saveItem = menu->addAction(u"Salvar"_s);
    saveItem->setObjectName(u"MN_SALVAR"_s);
    connect(saveItem, &QAction::triggered, this, &TF_USUARIO::save);
    layout->setMenuBar(menu);

    auto* buttons = new QHBoxLayout;
    auto* saveButton = new QPushButton(u"Salvar"_s, this);
    saveButton->setObjectName(u"BU_SALVAR"_s);
    saveButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &TF_USUARIO::save);
    auto* cancelButton = new QPushButton(u"Cancelar"_s, this);
    cancelButton->setObjectName(u"BU_CANCELAR"_s);
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* pages = new QTabWidget(this);
    pages->setObjectName(u"PC_USUARIO"_s);
    auto* general = new QWidget(pages);
    general->setObjectName(u"TS_GERAIS"_s);
    buildGeneralPage(general);
    pages->addTab(general, u"Gerais"_s);
    auto* mail = new QWidget(pages);
    mail->setObjectName(u"TS_EMAIL"_s);
    buildMailPage(mail);
    pages->addTab(mail, u"E-mail"_s);
    layout->addWidget(pages);

    LoadUserSettings();
    fill();
}

void TF_USUARIO::buildGeneralPage(QWidget* page) {
    auto* form = new QVBoxLayout(page);
    m_messages = NewCheckBox(u"S_MENSAGEM"_s, u"Ativar sistema de Mensagem"_s, page);
    m_agenda =
        NewCheckBox(u"S_AGENDA"_s, u"Ativar Verificação da Agenda ao entrar no Sistema"_s, page);
    m_colouredRows =
        NewCheckBox(u"S_LINHAS"_s, u"Colocar linhas coloridas na Grade (Pesqc)"_s, page);
    m_printDialogInPreview =
        NewCheckBox(u"S_PRINTVISAO"_s, u"Abrir Setup da impressora na Visão da Impressão"_s, page);
    for (QCheckBox* box : {m_messages, m_agenda, m_colouredRows, m_printDialogInPreview})
        form->addWidget(box);

    auto* printGroup = new QGroupBox(u"Imprimir Tela"_s, page);
    printGroup->setObjectName(u"RG_PRINTTELA"_s);
    auto* printColumn = new QVBoxLayout(printGroup);
    m_screenPrint = new QButtonGroup(printGroup);
    const QStringList items = {u"0 - Print0"_s, u"1 - Print4"_s, u"2 - Print7"_s,
                               u"3 - Print Form"_s};
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items.at(i), printGroup);
        m_screenPrint->addButton(item, i);
        printColumn->addWidget(item);
    }
    form->addWidget(printGroup);

    // The default named is the one this platform uses ("C:\VORTANETEMP\" on
    // Windows).
    auto* folderLabel = new QLabel(
        u"Pasta de arquivos TEMPORÁRIOS - Default: "_s + platform::DefaultTempFolder(), page);
    folderLabel->setObjectName(u"LA_VORTANETEMP"_s);
    form->addWidget(folderLabel);
    m_tempFolder = new QLineEdit(page);
    m_tempFolder->setObjectName(u"E_VORTANETEMP"_s);
    folderLabel->setBuddy(m_tempFolder);
    form->addWidget(m_tempFolder);
    form->addStretch(1);
}

QLineEdit* TF_USUARIO::addEdit(const QString& objectName, QWidget* page) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(objectName);
    return edit;
}

void TF_USUARIO::buildMailPage(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_senderName = addEdit(u"E_NOME"_s, page);
    m_host = addEdit(u"E_HOST"_s, page);
    m_accountUser = addEdit(u"E_USERNAME"_s, page);
    m_password = addEdit(u"E_PASSWORD"_s, page);
    m_password->setEchoMode(QLineEdit::Password);
    m_address = addEdit(u"E_ADDRESS"_s, page);
    form->addRow(u"Nome do remetente"_s, m_senderName);
    form->addRow(u"Servidor SMTP"_s, m_host);
    form->addRow(u"Usuário"_s, m_accountUser);
    form->addRow(u"Senha"_s, m_password);
    form->addRow(u"E-mail do remetente"_s, m_address);
    column->addLayout(form);
    m_authenticate = NewCheckBox(u"S_AUTENTICAR"_s, u"Autenticar"_s, page);
    m_readReceipt = NewCheckBox(u"S_CONFIRMAR"_s, u"Solicitar confirmação de Leitura"_s, page);
    column->addWidget(m_authenticate);
    column->addWidget(m_readReceipt);
    auto* fillButton = new QPushButton(u"Montar os campos"_s, page);
    fillButton->setObjectName(u"BU_MONTAR"_s);
    fillButton->setAutoDefault(false);
    connect(fillButton, &QPushButton::clicked, this, &TF_USUARIO::fillFromMailAccounts);
    column->addWidget(fillButton, 0, Qt::AlignLeft);
    column->addStretch(1);
}

void TF_USUARIO::fill() {
    const data::TRecUser& user = data::Globals().user;
    const QString& flags = user.flags;
    m_messages->setChecked(data::FlagOn(flags, UserFlag::Messages));
    m_agenda->setChecked(data::FlagOn(flags, UserFlag::Agenda));
    m_readReceipt->setChecked(data::FlagOn(flags, UserFlag::ReadReceipt));
    m_colouredRows->setChecked(data::FlagOn(flags, UserFlag::ColouredRows));
    m_authenticate->setChecked(data::FlagOn(flags, UserFlag::Authenticate));
    m_printDialogInPreview->setChecked(data::FlagOn(flags, UserFlag::PrintDialogInPreview));
    m_screenPrint->button(data::ScreenPrintMode(flags))->setChecked(true);
    m_tempFolder->setText(user.tempFolder);
    m_senderName->setText(user.texts[SenderNameText]);
    m_host->setText(user.texts[HostText]);
    m_accountUser->setText(user.texts[AccountUserText]);
    m_password->setText(user.texts[PasswordText]);
    m_address->setText(user.texts[AddressText]);
}

void TF_USUARIO::fillFromMailAccounts() {
    // Each field takes the first value found among the workstation's mail
    // accounts. This platform keeps no registry of mail accounts, so nothing
    // is found and the four fields are left empty.
    m_senderName->clear();
    m_host->clear();
    m_accountUser->clear();
    m_address->clear();
}

void TF_USUARIO::save() {
    data::TRecUser& user = data::Globals().user;
    const data::TRecUser before = user;
    QString flags = user.flags;
    flags = data::FlagsWith(flags, UserFlag::Messages, m_messages->isChecked());
    flags = data::FlagsWith(flags, UserFlag::Agenda, m_agenda->isChecked());
    flags = data::FlagsWith(flags, UserFlag::ReadReceipt, m_readReceipt->isChecked());
    flags = data::FlagsWith(flags, UserFlag::ColouredRows, m_colouredRows->isChecked());
    flags = data::FlagsWith(flags, UserFlag::Authenticate, m_authenticate->isChecked());
    flags =
        data::FlagsWith(flags, UserFlag::PrintDialogInPreview, m_printDialogInPreview->isChecked());
    flags = data::FlagsWithScreenPrintMode(flags, m_screenPrint->checkedId());
    user.flags = flags;
    user.tempFolder = m_tempFolder->text().trimmed();
    user.texts[SenderNameText] = m_senderName->text();
    user.texts[HostText] = m_host->text();
    user.texts[AccountUserText] = m_accountUser->text();
    user.texts[PasswordText] = m_password->text();
    user.texts[AddressText] = m_address->text();
    if (!SaveUserSettings()) {
        // Nothing was stored: the program goes on with the settings it had,
        // and the window keeps what the user typed for another try.
        user = before;
        platform::ShowError(this, u"As preferências não puderam ser gravadas no banco de dados. "
                                  u"Nada foi alterado."_s);
        return;
    }
    LoadUserSettings();

    const QString folder = user.tempFolder;
    if (!QDir(folder).exists()) QDir().mkpath(folder);
    if (!QDir(folder).exists())
        platform::ShowMessage(this, u"Erro na criação do diretório "_s + folder);
    accept();
}

void TF_USUARIO::done(int result) {
    data::CommitAll();
    QDialog::done(result);
}

void RegisterUserWindows() {
    // The argument, when given, is the caption of the page to show first
    // (the e-mail window opens the "E-mail" page).
    platform::RegisterWindow(u"USUARIO"_s, [](QWidget* parent, const QStringList& args) {
        TF_USUARIO window(parent);
        if (!args.isEmpty()) {
            auto* pages = window.findChild<QTabWidget*>(u"PC_USUARIO"_s);
            for (int i = 0; i < pages->count(); ++i) {
                if (pages->tabText(i) == args.first()) pages->setCurrentIndex(i);
            }
        }
        window.exec();
    });
}

} // namespace livrax::shell
