#include "books/tf_lx52.h"

#include "common/dates.h"
#include "common/text.h"
#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

// A radio group box named `objectName`, its buttons `objectName` + "_" + index.
QButtonGroup* NewRadioGroup(QWidget* parent, QVBoxLayout* layout, const QString& objectName,
                            const QString& caption, const QStringList& items) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(objectName);
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(objectName + u"_"_s + QString::number(i));
        group->addButton(radio, i);
        column->addWidget(radio);
    }
    group->button(0)->setChecked(true);
    layout->addWidget(box);
    return group;
}

} // namespace

TF_LX52::TF_LX52(QWidget* parent) : FormWindow(u"TF_LX52"_s, u"LX52 - GIA MODELO B"_s, parent) {
    // The settings are written after each run; closing neither writes them
    // nor commits.
    setCommitOnClose(false);
    QVBoxLayout* layout = mainLayout();
    auto* form = new QFormLayout;
    m_year = new QLineEdit(u"00"_s, this);
    m_year->setObjectName(u"E_ANO"_s);
    m_year->setMaxLength(2);
    m_year->setValidator(new QRegularExpressionValidator(QRegularExpression(u"\\d{0,2}"_s), this));
    m_year->setMaximumWidth(40);
    m_start = print::NewDateEdit(u"E_DATAI"_s, this);
    m_end = print::NewDateEdit(u"E_DATAF"_s, this);
    m_page = new QLineEdit(this);
    m_page->setObjectName(u"E_PAGINA"_s);
    m_page->setMaximumWidth(60);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(u"E_FILTRO"_s);
    form->addRow(u"ANO"_s, m_year);
    form->addRow(u"Dt. Inicial"_s, m_start);
    form->addRow(u"Dt. Final"_s, m_end);
    form->addRow(u"Página"_s, m_page);
    form->addRow(addFilterLink(u"LA_FILTROS"_s, m_filter, u"PDE"_s, u"EXE"_s), m_filter);
    layout->addLayout(form);

    auto* groups = new QHBoxLayout;
    auto* sideColumn = new QVBoxLayout;
    auto* groupingColumn = new QVBoxLayout;
    m_side = NewRadioGroup(this, sideColumn, u"RG_ENTSAI"_s, u"Entradas/Saídas"_s,
                           {u"Entradas"_s, u"Saías"_s});
    m_grouping = NewRadioGroup(this, groupingColumn, u"RG_AGRUPA"_s, u"Estado/Natureza"_s,
                               {u"0 - Analítico"_s, u"1 - Por Natureza"_s, u"2 - Por Estado"_s});
    groups->addLayout(sideColumn);
    groups->addLayout(groupingColumn);
    layout->addLayout(groups);

    addRunButtons({print::Destination::Printer, print::Destination::Preview},
                  [this](print::Destination destination) { runBook(destination); });
    // A year typed gives the whole year as the period.
    connect(m_year, &QLineEdit::textEdited, this, [this](const QString& year) {
        if (year.size() != 2) return;
        m_start->setText(u"01/01/"_s + year);
        m_end->setText(u"31/12/"_s + year);
    });
    connect(m_start, &QLineEdit::editingFinished, this, [this] {
        const QString end = LastDayOfMonthShort(m_start->displayText());
        if (!end.isEmpty()) m_end->setText(end);
    });
    installConventions();
}

TF_LX52::~TF_LX52() {
    // The date with the focus reports that it was left when the window hides
    // afterwards: that must not reach this part of the window, gone by then.
    m_start->disconnect(this);
}

LX52Options TF_LX52::inputs() const {
    LX52Options options;
    options.year = m_year->text();
    // The date fields are read with their mask's blanks, as they are stored.
    options.period.startDate = m_start->displayText();
    options.period.endDate = m_end->displayText();
    options.period.filter = m_filter->text();
    options.period.firstPage = m_page->text();
    options.side = LX52Side(m_side->checkedId());
    options.grouping = LX52Grouping(m_grouping->checkedId());
    return options;
}

void TF_LX52::setInputs(const LX52Options& options) {
    m_year->setText(options.year);
    m_start->setText(options.period.startDate);
    m_end->setText(options.period.endDate);
    m_filter->setText(options.period.filter);
    m_page->setText(options.period.firstPage);
    m_side->button(int(options.side))->setChecked(true);
    m_grouping->button(int(options.grouping))->setChecked(true);
}

void TF_LX52::loadSettings() {
    setInputs(LoadLX52Settings());
}

bool TF_LX52::saveSettings() {
    return true; // written after each run
}

void TF_LX52::runBook(print::Destination destination) {
    LX52Options options = inputs();
    // Both dates go into the query: each must be a real date.
    for (const QString& date : {options.period.startDate, options.period.endDate}) {
        if (IsBlank(date) || !IsValidShortDate(date)) {
            platform::ShowError(this, u"Data inválida: "_s + date);
            return;
        }
    }
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX52(run, options); },
        BookDocumentName(u"LX52"_s, options.period.startDate, options.period.endDate));
    m_filter->setText(options.period.filter); // as it was run: "#" made blanks
    if (!SaveLX52Settings(inputs())) platform::ShowError(this, print::SaveFailedMessage());
}

} // namespace livrax::books
