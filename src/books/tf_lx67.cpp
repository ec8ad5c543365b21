#include "books/tf_lx67.h"

#include "common/dates.h"
#include "common/text.h"
#include "data/returned_values.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

QLabel* NewLink(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* link = new QLabel(u"<b>"_s + caption + u"</b>"_s, parent);
    link->setObjectName(objectName);
    link->setCursor(Qt::PointingHandCursor);
    return link;
}

} // namespace

TF_LX67::TF_LX67(QWidget* parent)
    : FormWindow(u"TF_LX67"_s, u"F_LX67 - Produtos Controlados"_s, parent) {
    auto* form = new QFormLayout;
    m_start = print::NewDateEdit(u"SEL_DTINICIAL"_s, this);
    m_end = print::NewDateEdit(u"SEL_DTFINAL"_s, this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"E_FILTRO"_s);
    m_order = new QLineEdit(this);
    m_order->setObjectName(u"E_ORDEM"_s);
    m_filterLink = NewLink(u"LA_FILTRO"_s, u"Filtros"_s, this);
    m_orderLink = NewLink(u"LA_ORDEM"_s, u"Ordem"_s, this);
    m_filterLink->installEventFilter(this);
    m_orderLink->installEventFilter(this);
    m_swap = new QCheckBox(u"Troca os títulos (Nome do medicamento pelo Genérico)"_s, this);
    m_swap->setObjectName(u"CB_TROCATITULO"_s);
    form->addRow(u"DATA INICIAL"_s, m_start);
    form->addRow(u"DATA FINAL"_s, m_end);
    form->addRow(m_filterLink, m_filter);
    form->addRow(m_orderLink, m_order);
    form->addRow(m_swap);
    mainLayout()->addLayout(form);
    addRunButtons({print::Destination::Printer, print::Destination::Preview},
                  [this](print::Destination destination) { runBook(destination); });
    installConventions();
}

TF_LX67::~TF_LX67() = default;

LX67Options TF_LX67::inputs() const {
    LX67Options options;
    options.startDate = m_start->displayText();
    options.endDate = m_end->displayText();
    options.filter = m_filter->text();
    options.order = m_order->text();
    options.swapTitles = m_swap->isChecked();
    return options;
}

void TF_LX67::setInputs(const LX67Options& options) {
    m_start->setText(options.startDate);
    m_end->setText(options.endDate);
    m_filter->setText(options.filter);
    m_order->setText(options.order);
    m_swap->setChecked(options.swapTitles);
}

void TF_LX67::loadSettings() {
    m_company = LoadLX67Company();
    setInputs(LoadLX67Settings());
}

bool TF_LX67::saveSettings() {
    return SaveLX67Settings(inputs());
}

bool TF_LX67::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the start sets the end to the last day of its month, empty for
    // a start that is no date (a blank or half-typed one, which the mask
    // never reports as finished, included).
    if (watched == m_start && event->type() == QEvent::FocusOut)
        m_end->setText(LastDayOfMonthShort(m_start->displayText()));
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == m_filterLink || watched == m_orderLink)) {
        if (watched == m_filterLink)
            chooseFilter();
        else
            chooseOrder();
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

void TF_LX67::chooseFilter() {
    data::ResetReturnedValues();
    // The filter lands in a query that joins the products and the partners,
    // which have SIGLA and PRODUTO too: the dialog names the items' columns
    // as the query does.
    platform::OpenWindow(u"SELF"_s, this, {u"SQL"_s, u"PIS"_s, m_filter->text(), u"PIS."_s});
    if (!data::ReturnedValues().rowChosen) return;
    m_filter->setText(LX67FilterText(data::ReturnedValues().values[0]));
}

void TF_LX67::chooseOrder() {
    data::ResetReturnedValues();
    QString current = m_order->text();
    current.replace(u',', u'#');
    platform::OpenWindow(u"SELC"_s, this, {u"ARQUIVO#"_s, u"PIS"_s, current});
    if (!data::ReturnedValues().rowChosen) return;
    m_order->setText(LX67OrderText(data::ReturnedValues().values[0]));
}

void TF_LX67::runBook(print::Destination destination) {
    const LX67Options options = inputs();
    for (const QString& date : {options.startDate, options.endDate})
        if (!IsBlank(date) && !IsValidDate(date)) {
            platform::ShowError(this, u"Data inválida: "_s + date);
            return;
        }
    const LX67Company company = m_company;
    // A filter or order the database refuses is told in its words and
    // nothing is shown nor printed: no false "nothing sold".
    try {
        runReport(
            destination,
            [&options, &company](print::PrintJob& run) { PrintLX67(run, options, company); },
            BookDocumentName(u"LX67"_s, options.startDate, options.endDate));
    } catch (const BookError& error) {
        platform::ShowError(this, error.message());
    }
}

} // namespace livrax::books
