#include "books/book_window.h"

#include "common/dates.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "tools/pick_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace livrax::books {

using namespace Qt::StringLiterals;

BookWindow::BookWindow(const QString& objectName, const QString& caption, QWidget* parent,
                       const QString& tableCode)
    : FormWindow(objectName, caption, parent) {
    QVBoxLayout* layout = mainLayout();
    auto* form = new QFormLayout;
    m_start = print::NewDateEdit(u"E_DATAI"_s, this);
    m_end = print::NewDateEdit(u"E_DATAF"_s, this);
    m_field = new QComboBox(this);
    m_field->setObjectName(u"CB_CAMPO"_s);
    m_field->setEditable(true);
    // The DATE columns of the book's table, sorted; the window starts on the
    // column the command line takes by default too.
    m_field->setEditText(DefaultDateField());
    tools::FillDateFieldCombo(m_field, tableCode);
    form->addRow(u"Dt. Inicial"_s, m_start);
    form->addRow(u"Dt. Final"_s, m_end);
    form->addRow(u"Campo"_s, m_field);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"E_FILTRO"_s);
    form->addRow(addFilterLink(u"LA_FILTROS"_s, m_filter, tableCode), m_filter);
    m_page = new QLineEdit(this);
    m_page->setObjectName(u"E_PAGINA"_s);
    m_page->setMaximumWidth(60);
    form->addRow(u"Página"_s, m_page);
    layout->addLayout(form);

    m_options = new QFormLayout;
    layout->addLayout(m_options);

    addRunButtons({print::Destination::Preview, print::Destination::Printer},
                  [this](print::Destination destination) { runBook(destination); });
    connect(m_start, &QLineEdit::editingFinished, this, [this] { startDateLeft(); });

    installConventions();
}

BookWindow::~BookWindow() {
    // A window destroyed while shown hides afterwards, and the date it had
    // the focus on reports that it was left: that must not reach this part
    // of the window, which is gone by then.
    m_start->disconnect(this);
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
        if (!IsBlank(date) && !IsValidShortDate(date)) {
            platform::ShowError(this, u"Data inválida: "_s + date);
            return false;
        }
    }
    return true;
}

void BookWindow::runReport(print::Destination destination,
                           const std::function<void(print::PrintJob&)>& report,
                           BookPeriod& period) {
    FormWindow::runReport(destination, report,
                          BookDocumentName(objectName().mid(3), period.startDate, period.endDate));
    m_filter->setText(period.filter); // as it was run: "#" made blanks
}

QCheckBox* BookWindow::addOption(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->installEventFilter(this);
    m_options->addRow(box);
    return box;
}

QCheckBox* BookWindow::optionBox(const QString& name) const {
    auto* box = findChild<QCheckBox*>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(box, "BookWindow", "an option without its check box");
    return box;
}

void BookWindow::setOptionChecked(const QString& name, bool checked) {
    optionBox(name)->setChecked(checked);
}

bool BookWindow::optionChecked(const QString& name) const {
    return optionBox(name)->isChecked();
}

} // namespace livrax::books
