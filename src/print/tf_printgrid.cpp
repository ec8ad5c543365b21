#include "print/tf_printgrid.h"

#include "common/error.h"
#include "common/fields.h"
#include "platform/dialogs.h"
#include "print/print_job.h"
#include "print/report_runner.h"

#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace livrax::print {

using namespace Qt::StringLiterals;

TF_PRINTGRID::TF_PRINTGRID(const QList<GridColumn>& columns, QAbstractItemModel& model,
                           const QString& title, QWidget* parent)
    : QDialog(parent), m_columns(columns), m_model(model), m_base(CompanyPrintSettings()) {
    m_base.interactive = true;
    setObjectName(u"TF_PRINTGRID"_s);
    setWindowTitle(u"Impressão da Grid"_s);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_title = new QLineEdit(title, this);
    m_title->setObjectName(u"E_TITULO"_s);
    form->addRow(u"Título"_s, m_title);
    m_title3 = new QLineEdit(this);
    m_title3->setObjectName(u"E_TITULO3"_s);
    form->addRow(u"Título 3"_s, m_title3);
    layout->addLayout(form);

    auto* orientation = new QGroupBox(u"Orientação"_s, this);
    orientation->setObjectName(u"RG_ORIENTACAO"_s);
    auto* orientationLayout = new QHBoxLayout(orientation);
    m_orientation = new QButtonGroup(this);
    const QStringList items{u"0 = Carta"_s, u"1 = Paisagem"_s};
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), orientation);
        m_orientation->addButton(button, i);
        orientationLayout->addWidget(button);
    }
    m_orientation->button(0)->setChecked(true);
    layout->addWidget(orientation);

    auto* paper = new QFormLayout;
    const auto combo = [this](const QString& name, const QStringList& values) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->addItems(values);
        box->setCurrentText(u"0"_s);
        return box;
    };
    m_width = combo(u"E_LARGPAG"_s, {u"0"_s, u"2100"_s, u"2160"_s});
    m_length = combo(u"E_ALTPAG"_s, {u"0"_s, u"2970"_s, u"2790"_s, u"3560"_s});
    paper->addRow(u"Largura"_s, m_width);
    paper->addRow(u"Altura"_s, m_length);
    paper->addRow(new QLabel(u"em   mm   x   10"_s, this));
    layout->addLayout(paper);

    auto* buttons = new QHBoxLayout;
    m_print = addButton(u"BU_IMPRIMIR"_s, u"Imprimir"_s);
    auto* preview = addButton(u"BU_VISAO"_s, u"Visão"_s);
    auto* sheet = addButton(u"BU_EXCEL"_s, u"Excel"_s, u"Exportar para Excel"_s);
    auto* text = addButton(u"BU_TXT"_s, u"TXT"_s, u"Exportar para TXT"_s);
    auto* reprint = addButton(u"BU_REPRINT"_s, u"RePrint"_s);
    reprint->hide();
    auto* leave = addButton(u"BU_SAIR"_s, u"Sair"_s);
    for (QPushButton* button : {m_print, preview, sheet, text, leave})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(m_print, &QPushButton::clicked, this, [this] {
        run(Destination::Printer);
        accept();
    });
    connect(preview, &QPushButton::clicked, this, [this] { run(Destination::Preview); });
    connect(sheet, &QPushButton::clicked, this, [this] { run(Destination::Spreadsheet); });
    connect(text, &QPushButton::clicked, this, [this] { run(Destination::TextGrid); });
    // The preview's "Imprimir Relatório": the preview is closed first, then
    // the listing goes to the printer.
    connect(reprint, &QPushButton::clicked, m_print, &QPushButton::click);
    connect(leave, &QPushButton::clicked, this, &QDialog::accept);
}

QPushButton* TF_PRINTGRID::addButton(const QString& name, const QString& caption,
                                     const QString& hint) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

GridPrintOptions TF_PRINTGRID::options() const {
    GridPrintOptions options;
    options.title = m_title->text();
    options.title3 = m_title3->text();
    options.orientation =
        m_orientation->checkedId() == 1 ? Orientation::Landscape : Orientation::Portrait;
    options.paperWidth = ToInt(m_width->currentText());
    options.paperLength = ToInt(m_length->currentText());
    return options;
}

void TF_PRINTGRID::run(Destination destination) {
    m_destination = DestinationCode(destination);
    if (m_columns.isEmpty()) return;
    if (m_model.rowCount() == 0 && !m_model.canFetchMore({})) return;
    PrintJob job(m_base);
    job.settings.destination = destination;
    job.settings.documentName = m_title->text();
    ApplyGridPrintSettings(options(), job.settings);
    const QList<GridColumn> columns = m_columns;
    QAbstractItemModel& model = m_model;
    try {
        RunReport(
            job, [&](PrintJob& printing) { PrintGrid(printing, columns, model); }, this,
            [this] { findChild<QPushButton*>(u"BU_REPRINT"_s)->click(); });
    } catch (const Error& error) {
        platform::ShowError(this, error.message());
    }
}

} // namespace livrax::print
