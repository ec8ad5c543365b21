#include "books/book_window.h"

#include "common/text.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/report_runner.h"
#include "tools/pick_lists.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* DateEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    // Typed as dd/mm/yy; a blank field reads "  /  /  ".
    edit->setInputMask(u"99/99/99; "_s);
    edit->setMaximumWidth(90);
    return edit;
}

} // namespace

BookWindow::BookWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);

    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(u"Arquivo"_s);
    QAction* leave = file->addAction(u"Sair"_s);
    leave->setShortcut(QKeySequence(Qt::Key_F12));
    connect(leave, &QAction::triggered, this, &QWidget::close);
    connect(menu->addAction(u"Sair"_s), &QAction::triggered, this, &QWidget::close);
    layout->setMenuBar(menu);

    auto* form = new QFormLayout;
    m_start = DateEdit(u"E_DATAI"_s, this);
    m_end = DateEdit(u"E_DATAF"_s, this);
    m_field = new QComboBox(this);
    m_field->setObjectName(u"CB_CAMPO"_s);
    m_field->setEditable(true);
    // The DATE columns of the entries table, sorted; the window starts on DTNOTA.
    m_field->setEditText(u"DTNOTA"_s);
    tools::FillDateFieldCombo(m_field, u"PDE"_s);
    form->addRow(u"Dt. Inicial"_s, m_start);
    form->addRow(u"Dt. Final"_s, m_end);
    form->addRow(u"Campo"_s, m_field);

    auto* filterLink = new QLabel(u"<b>Filtros</b>"_s, this);
    filterLink->setObjectName(u"LA_FILTROS"_s);
    filterLink->setCursor(Qt::PointingHandCursor);
    filterLink->installEventFilter(this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"E_FILTRO"_s);
    form->addRow(filterLink, m_filter);
    m_page = new QLineEdit(this);
    m_page->setObjectName(u"E_PAGINA"_s);
    m_page->setMaximumWidth(60);
    form->addRow(u"Página"_s, m_page);
    layout->addLayout(form);

    m_options = new QFormLayout;
    layout->addLayout(m_options);

    auto* buttons = new QHBoxLayout;
    auto* preview = new QPushButton(u"Visão"_s, this);
    preview->setObjectName(u"BU_VISAO"_s);
    auto* print = new QPushButton(u"Imprimir"_s, this);
    print->setObjectName(u"BU_IMPRIMIR"_s);
    auto* exit = new QPushButton(u"Sair"_s, this);
    exit->setObjectName(u"BU_SAIR"_s);
    exit->setToolTip(u"Sair do Programa"_s);
    for (QPushButton* button : {preview, print, exit}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(preview, &QPushButton::clicked, this, [this] { runBook(u"V"_s); });
    connect(print, &QPushButton::clicked, this, [this] { runBook(u"P"_s); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_start, &QLineEdit::editingFinished, this, [this] { startDateLeft(); });

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

BookPeriod BookWindow::period() const {
    // The date fields are read with their mask's blanks, as they are stored.
    return {m_start->displayText(), m_end->displayText(), m_field->currentText().trimmed(),
            m_filter->text(), m_page->text()};
}

void BookWindow::setPeriod(const BookPeriod& period) {
    m_start->setText(period.startDate);
    m_end->setText(period.endDate);
    if (!period.dateField.isEmpty()) m_field->setCurrentText(period.dateField);
    m_filter->setText(period.filter);
    m_page->setText(period.firstPage);
}

bool BookWindow::datesValid() {
    for (const QString& date : {m_start->displayText(), m_end->displayText()}) {
        if (!IsBlank(date) && !bookDateValid(date)) {
            platform::ShowError(this, u"Data inválida: "_s + date);
            return false;
        }
    }
    return true;
}

void BookWindow::runReport(const QString& destination,
                           const std::function<void(print::PrintJob&)>& report,
                           BookPeriod& period) {
    print::PrintJob job;
    job.destination = destination;
    job.interactive = true;
    print::RunReport(job, report, this);
    m_filter->setText(period.filter); // as it was run: "#" made blanks
}

QCheckBox* BookWindow::addOption(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->installEventFilter(this);
    m_options->addRow(box);
    return box;
}

void BookWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded) return;
    m_loaded = true;
    loadSettings();
}

void BookWindow::closeEvent(QCloseEvent* event) {
    if (!m_saved) {
        m_saved = true;
        saveSettings();
        data::CommitAll();
    }
    QDialog::closeEvent(event);
}

bool BookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched->objectName() == u"LA_FILTROS"_s) {
        openFilterDialog();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool multiLine =
            qobject_cast<QPlainTextEdit*>(watched) || qobject_cast<QTextEdit*>(watched);
        if (enter && !multiLine && !qobject_cast<QPushButton*>(watched)) {
            // Enter moves on to the next control, as in every book window.
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BookWindow::openFilterDialog() {
    // The filter dialog gets the current filter and hands the new one back
    // in the first returned value when the user applies it.
    data::ResetReturnedValues();
    if (!platform::OpenWindow(u"SELF"_s, this, {u"SQL"_s, u"PDE"_s, m_filter->text()})) return;
    if (data::ReturnedValues().rowChosen) m_filter->setText(data::ReturnedValues().values[0]);
}

} // namespace livrax::books
