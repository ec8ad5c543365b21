#include "print/form_window.h"

#include "common/text.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "data/user_flags.h"
#include "platform/dialogs.h"
#include "platform/masked_edit.h"
#include "platform/window_registry.h"
#include "print/print_job.h"
#include "print/report_runner.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

const char* const FilterTarget = "livraxFilterEdit";
const char* const FilterTable = "livraxFilterTable";
const char* const FilterMode = "livraxFilterMode";
const char* const FilterPrefix = "livraxFilterPrefix";

} // namespace

QString SaveFailedMessage() {
    return u"Não foi possível gravar: o registro está em uso em outra estação ou o banco de "
           u"dados não respondeu."_s;
}

QLineEdit* NewDateEdit(const QString& objectName, QWidget* parent) {
    auto* edit = new platform::MaskedLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setInputMask(u"99/99/99; "_s);
    edit->setMaximumWidth(90);
    return edit;
}

FormWindow::FormWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    m_layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    m_fileMenu = menu->addMenu(u"Arquivo"_s);
    QAction* leave = m_fileMenu->addAction(u"Sair"_s);
    leave->setShortcut(QKeySequence(Qt::Key_F12));
    connect(leave, &QAction::triggered, this, &QWidget::close);
    connect(menu->addAction(u"Sair"_s), &QAction::triggered, this, &QWidget::close);
    m_layout->setMenuBar(menu);
}

void FormWindow::installConventions() {
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

QLabel* FormWindow::addFilterLink(const QString& objectName, QLineEdit* filter,
                                  const QString& tableCode, const QString& mode,
                                  const QString& fieldPrefix) {
    auto* link = new QLabel(u"<b>Filtros</b>"_s, this);
    link->setObjectName(objectName);
    link->setCursor(Qt::PointingHandCursor);
    link->setProperty(FilterTarget, QVariant::fromValue<QObject*>(filter));
    link->setProperty(FilterTable, tableCode);
    link->setProperty(FilterMode, mode);
    link->setProperty(FilterPrefix, fieldPrefix);
    link->installEventFilter(this);
    return link;
}

void FormWindow::runReport(Destination destination, const std::function<void(PrintJob&)>& report,
                           const QString& documentName,
                           const std::function<void(PrintSettings&)>& adjust,
                           const std::function<void()>& reprint) {
    PrintSettings settings = CompanyPrintSettings();
    settings.destination = destination;
    settings.documentName = documentName;
    settings.interactive = true;
    settings.printDialogInPreview = data::UserFlagOn(data::UserFlag::PrintDialogInPreview);
    if (adjust) adjust(settings);
    PrintJob job(settings);
    RunReport(job, report, this, reprint);
}

void FormWindow::addRunButtons(const QList<Destination>& order,
                               const std::function<void(Destination)>& run) {
    auto* buttons = new QHBoxLayout;
    for (const Destination destination : order) {
        const bool preview = destination == Destination::Preview;
        auto* button = new QPushButton(preview ? u"Visão"_s : u"Imprimir"_s, this);
        button->setObjectName(preview ? u"BU_VISAO"_s : u"BU_IMPRIMIR"_s);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [run, destination] { run(destination); });
    }
    auto* exit = new QPushButton(u"Sair"_s, this);
    exit->setObjectName(u"BU_SAIR"_s);
    exit->setToolTip(u"Sair do Programa"_s);
    exit->setAutoDefault(false);
    buttons->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    m_layout->addLayout(buttons);
}

void FormWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded) return;
    m_loaded = true;
    loadSettings();
}

bool FormWindow::saveOnce() {
    if (m_saved || !m_loaded) return true;
    if (!saveSettings() && !m_leaveUnsaved) {
        // What the window holds is not lost: it stays open, and the user
        // may try again or close once more to leave without it.
        m_leaveUnsaved = true;
        platform::ShowError(this, SaveFailedMessage() +
                                      u"\nA janela continua aberta; feche-a de novo para sair "
                                      u"sem gravar."_s);
        return false;
    }
    m_saved = true;
    if (m_commitOnClose) data::CommitAll();
    return true;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (!saveOnce()) {
        event->ignore();
        return;
    }
    // Not QDialog::closeEvent: it leaves through reject(), which Esc uses
    // too and which does nothing here.
    done(QDialog::Rejected);
    event->accept();
}

void FormWindow::reject() {
    // Esc does nothing: a form window is left through "Sair" or F12, which
    // save what it holds; a half-typed value must not be stored by a key
    // pressed to get rid of it.
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* filter = qobject_cast<QLineEdit*>(watched->property(FilterTarget).value<QObject*>());
        if (filter) {
            // The filter dialog gets the current filter and hands the new
            // one back in the first returned value when the user applies it.
            data::ResetReturnedValues();
            QStringList arguments{watched->property(FilterMode).toString(),
                                  watched->property(FilterTable).toString(), filter->text()};
            const QString prefix = watched->property(FilterPrefix).toString();
            if (!prefix.isEmpty()) arguments << prefix;
            if (platform::OpenWindow(u"SELF"_s, this, arguments) &&
                data::ReturnedValues().rowChosen)
                filter->setText(data::ReturnedValues().values[0]);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool multiLine =
            qobject_cast<QPlainTextEdit*>(watched) || qobject_cast<QTextEdit*>(watched);
        if (enter && !multiLine && !qobject_cast<QPushButton*>(watched)) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace livrax::print
