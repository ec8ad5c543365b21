#include "shell/main_window.h"

#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "platform/raised_focus.h"
#include "platform/window_registry.h"
#include "shell/logo.h"
#include "shell/startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

QFrame* Bevel(QWidget* parent) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

} // namespace

TF_LIVRAXB::TF_LIVRAXB(QWidget* parent) : QMainWindow(parent) {
    setObjectName(u"TF_LIVRAXB"_s);
    setWindowTitle(u"LIVRAX - LIVROS FISCAIS - Versão 25/05/2007"_s);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 8);
    auto* panel = new QFrame(central);
    panel->setObjectName(u"PA_BUTTON"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    buildToolBar(panel);
    layout->addWidget(panel);
    layout->addWidget(Bevel(central));
    layout->addStretch(1);

    auto* logo = new QLabel(central);
    logo->setObjectName(u"Image1"_s);
    logo->setPixmap(DrawLogo());
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo, 0, Qt::AlignHCenter);

    m_companyLabel = new QLabel(central);
    m_companyLabel->setObjectName(u"LA_EMPRESA1"_s);
    m_companyLabel->setAlignment(Qt::AlignCenter);
    QFont font = m_companyLabel->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    m_companyLabel->setFont(font);
    layout->addWidget(m_companyLabel);
    layout->addStretch(1);
    layout->addWidget(Bevel(central));
    setCentralWidget(central);

    buildMenu();
    resize(760, 460);
}

void TF_LIVRAXB::buildToolBar(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 4, 4, 4);
    for (const ToolButtonEntry& entry : ToolBar()) {
        auto* button = new QToolButton(panel);
        button->setObjectName(entry.name);
        platform::RaiseWhileFocused(button);
        button->setToolTip(entry.hint);
        if (entry.command == ExitCommand) {
            // The exit button shows only its glyph and sits at the right edge.
            button->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
            button->setIconSize(QSize(28, 28));
            row->addStretch(1);
        } else {
            button->setText(entry.caption);
            button->setMinimumSize(QSize(72, 36));
        }
        if (entry.lockWhileOpen) m_lockedButtons.insert(entry.command, button);
        const QString command = entry.command;
        connect(button, &QToolButton::clicked, this, [this, command] { runCommand(command); });
        row->addWidget(button);
    }
}

void TF_LIVRAXB::buildMenu() {
    menuBar()->setObjectName(u"MainMenu1"_s);
    for (const MenuEntry& entry : MainMenu()) {
        if (entry.children.isEmpty()) {
            // A top-level item that is a command of its own ("Sobre", "Sair").
            QAction* action = menuBar()->addAction(entry.caption);
            const MenuEntry item = entry;
            connect(action, &QAction::triggered, this,
                    [this, item] { runCommand(item.command, item.arguments); });
            continue;
        }
        addEntries(menuBar()->addMenu(entry.caption), entry.children);
    }
}

void TF_LIVRAXB::addEntries(QMenu* menu, const QList<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        if (entry.caption == u"-"_s) {
            menu->addSeparator();
        } else if (!entry.children.isEmpty()) {
            addEntries(menu->addMenu(entry.caption), entry.children);
        } else {
            QAction* action = menu->addAction(entry.caption);
            if (!entry.shortcut.isEmpty()) {
                action->setShortcut(QKeySequence(entry.shortcut));
                // F12 ends the program from anywhere in the main window.
                action->setShortcutContext(Qt::WindowShortcut);
                addAction(action);
            }
            const MenuEntry item = entry;
            connect(action, &QAction::triggered, this,
                    [this, item] { runCommand(item.command, item.arguments); });
        }
    }
}

void TF_LIVRAXB::runCommand(const QString& command, const QStringList& arguments) {
    if (command.isEmpty()) return; // an item with no action
    if (command == ExitCommand) return exitProgram();
    if (command == PasswordsCommand) return askPasswordLevels();
    if (!platform::IsWindowRegistered(command)) return; // not built yet

    QToolButton* button = m_lockedButtons.value(command);
    if (button && !button->isEnabled()) return; // its window is already open
    if (button) button->setEnabled(false);
    try {
        platform::OpenWindow(command, this, arguments);
    } catch (const std::exception& error) {
        platform::ShowError(this, QString::fromUtf8(error.what()));
    }
    if (button) button->setEnabled(true);
    if (RepaintsAfter(command)) {
        QApplication::processEvents();
        repaint();
    }
}

void TF_LIVRAXB::askPasswordLevels() {
    if (data::Globals().user.level != u"9"_s) return;
    const std::optional<QString> typed = platform::InputText(
        this, u"LIBERAÇÃO DE SENHAS"_s, u"Níveis para acesso ao programa"_s, m_passwordLevels);
    if (!typed) return;
    // Routed rather than ParamDatabase(): choosing database 5 this way also
    // sets GB_DIRDEFAULT to its path, which reports read as [GB_DIRDEFAULT].
    data::Connection* store = data::DatabaseFor(u"5"_s);
    data::ParamRead(store, u"PAR_LIVRAXB"_s, 0);
    data::ParamLines().setLine(1, *typed);
    if (!data::ParamWrite(store, u"PAR_LIVRAXB"_s, 0)) {
        platform::ShowError(this, u"Os níveis de acesso não foram gravados: o registro "
                                  u"PAR_LIVRAXB está em uso em outra estação ou o banco de "
                                  u"dados não respondeu."_s);
        return;
    }
    m_passwordLevels = *typed;
    QApplication::processEvents();
    repaint();
}

void TF_LIVRAXB::exitProgram() {
    if (QWidget* exit = findChild<QToolButton*>(u"BU_SAIR"_s)) exit->setEnabled(false);
    close();
}

void TF_LIVRAXB::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_started) return;
    m_started = true;
    // Centred on the screen it opens on.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    startProgram();
}

void TF_LIVRAXB::startProgram() {
    try {
        StartProgram([this](const QString& message) { platform::ShowError(this, message); });
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
    }
    m_companyLabel->setText(data::Globals().company.name);
}

void TF_LIVRAXB::closeEvent(QCloseEvent* event) {
    if (!m_shutDown) {
        m_shutDown = true;
        RunShutdown();
    }
    event->accept();
    Q_EMIT closed();
}

} // namespace livrax::shell
