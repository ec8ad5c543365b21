#include "books/tf_lx64.h"

#include "books/book_frame.h"

#include "common/dates.h"
#include "common/text.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "print/screen_print.h"
#include "tools/query_build.h"
#include "tools/tf_pesqc.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* NewEdit(const QString& objectName, QWidget* parent, int width = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    if (width > 0) edit->setMaximumWidth(width);
    return edit;
}

// A radio group of `items`, the first checked.
QButtonGroup* NewChoice(const QString& objectName, const QString& caption, const QStringList& items,
                        QWidget* parent, QLayout* into) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(objectName);
    auto* rows = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int k = 0; k < items.size(); ++k) {
        auto* button = new QRadioButton(items.at(k), box);
        button->setObjectName(objectName + u'_' + QString::number(k));
        group->addButton(button, k);
        rows->addWidget(button);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box);
    return group;
}

} // namespace

TF_LX64::TF_LX64(QWidget* parent)
    : FormWindow(u"TF_LX64"_s, u"F_LX64 - Produtos vendidos sem retençao da Subst. Tributária"_s,
                 parent) {
    QMenu* files = fileMenu();
    QVBoxLayout* layout = mainLayout();
    auto* form = new QFormLayout;
    m_start = print::NewDateEdit(u"E_DTINICIAL"_s, this);
    m_end = print::NewDateEdit(u"E_DTFINAL"_s, this);
    m_field = NewEdit(u"SEL_DTCOMBO"_s, this);
    m_field->setText(u"DTNOTA"_s);
    m_field->setEnabled(false);
    m_filter = NewEdit(u"E_FILTROS"_s, this);
    m_page = NewEdit(u"E_PAGINA"_s, this, 60);
    m_page->setText(u"1"_s);
    m_fontSize = NewEdit(u"E_TAMFONTE"_s, this, 60);
    m_fontSize->setText(u"7"_s);
    m_series = NewEdit(u"E_SERIEDIF"_s, this, 60);
    form->addRow(u"Dt. Inicial"_s, m_start);
    form->addRow(u"Dt. Final"_s, m_end);
    form->addRow(u"Campo"_s, m_field);
    // The filter lands in the report's query over VRTNP50 (alias P50).
    QLabel* filterLink = addFilterLink(u"LA_FILTROS"_s, m_filter, u"P50"_s, u"EXE"_s, u"P50."_s);
    form->addRow(filterLink, m_filter);
    form->addRow(u"Num. Página"_s, m_page);
    form->addRow(u"Tam. Fonte"_s, m_fontSize);
    form->addRow(u"Série <> de "_s, m_series);
    layout->addLayout(form);

    auto* choices = new QHBoxLayout;
    m_type = NewChoice(u"RG_TIPO"_s, u"Tipo"_s, LX64TypeItems(), this, choices);
    m_state = NewChoice(u"RG_ESTADO"_s, u"Estado"_s, LX64StateItems(), this, choices);
    layout->addLayout(choices);
    m_build = new QCheckBox(u"Montar Arquivo"_s, this);
    m_build->setObjectName(u"CB_MONTARQ"_s);
    m_build->setChecked(true);
    m_allInvoices = new QCheckBox(u"Todas as Notas (com e sem ICM)"_s, this);
    m_allInvoices->setObjectName(u"CB_TODAS_NOTAS"_s);
    layout->addWidget(m_build);
    layout->addWidget(m_allInvoices);
    m_message = new QLabel(u"___"_s, this);
    m_message->setObjectName(u"LA_MSG"_s);
    layout->addWidget(m_message);

    addRunButtons({print::Destination::Printer, print::Destination::Preview},
                  [this](print::Destination destination) { runBook(destination); });
    auto* table = new QPushButton(u"VRTNP50"_s, this);
    table->setObjectName(u"BU_VRTNP50"_s);
    table->setToolTip(u"Pesquisa no Cadastro"_s);
    table->setAutoDefault(false);
    layout->addWidget(table);
    connect(table, &QPushButton::clicked, this, &TF_LX64::openMatchTable);
    auto* tableItem = new QAction(u"VRTNP50"_s, this);
    auto* printScreen = new QAction(u"Imprimir Tela"_s, this);
    const QList<QAction*> existing = files->actions();
    QAction* before = existing.isEmpty() ? nullptr : existing.last();
    files->insertAction(before, tableItem);
    files->insertAction(before, printScreen);
    connect(tableItem, &QAction::triggered, this, &TF_LX64::openMatchTable);
    connect(printScreen, &QAction::triggered, this, [this] { print::PrintScreen(this); });
    connect(m_start, &QLineEdit::editingFinished, this, &TF_LX64::leaveStartDate);
    installConventions();
}

TF_LX64::~TF_LX64() = default;

LX64Options TF_LX64::inputs() const {
    LX64Options options;
    options.startDate = m_start->displayText();
    options.endDate = m_end->displayText();
    options.dateField = m_field->text();
    options.filter = m_filter->text();
    options.firstPage = m_page->text();
    options.fontSize = m_fontSize->text();
    options.series = m_series->text();
    options.type = m_type->checkedId();
    options.state = m_state->checkedId();
    options.allInvoices = m_allInvoices->isChecked();
    options.build = m_build->isChecked();
    return options;
}

void TF_LX64::setInputs(const LX64Options& options) {
    m_start->setText(options.startDate);
    m_end->setText(options.endDate);
    m_field->setText(options.dateField.isEmpty() ? u"DTNOTA"_s : options.dateField);
    m_filter->setText(options.filter);
    m_page->setText(options.firstPage);
    m_fontSize->setText(options.fontSize);
    m_series->setText(options.series);
    m_type->button(std::clamp(options.type, 0, 2))->setChecked(true);
    m_state->button(std::clamp(options.state, 0, 2))->setChecked(true);
    m_allInvoices->setChecked(options.allInvoices);
    m_build->setChecked(options.build);
}

void TF_LX64::loadSettings() {
    LX64Options options = LoadLX64Settings().options;
    if (!options.build) options.build = LX64NeedsBuild(options.startDate);
    setInputs(options);
}

bool TF_LX64::saveSettings() {
    return SaveLX64Settings(inputs());
}

void TF_LX64::leaveStartDate() {
    if (m_field->text().trimmed().isEmpty()) m_field->setText(u"DTNOTA"_s);
    const QString start = m_start->displayText();
    if (IsBlank(start) || !IsValidShortDate(start)) return;
    const QDate first = ParseDate(u"01"_s + start.mid(2, 6));
    if (first.isValid()) m_end->setText(FormatShortDate(first.addMonths(1).addDays(-1)));
    if (!m_build->isChecked() && LX64NeedsBuild(start)) m_build->setChecked(true);
}

void TF_LX64::runBook(print::Destination destination) {
    LX64Options options = inputs();
    m_fontSize->setText(LX64FontSize(options.fontSize));
    options.fontSize = m_fontSize->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (options.build) {
        m_message->setText(u"Montando arquivo de Movimento"_s);
        try {
            BuildMatchTable([](qint64) { QApplication::processEvents(); });
        } catch (const BookError& error) {
            QApplication::restoreOverrideCursor();
            m_message->setText(u"___"_s);
            // The box stays checked: the next run builds again.
            platform::ShowError(this, error.message());
            return;
        }
        m_build->setChecked(false);
        options.build = false;
    }
    m_message->setText(u"Imprimindo"_s);
    QApplication::restoreOverrideCursor();
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX64(run, options); },
        BookDocumentName(u"LX64"_s, options.startDate, options.endDate));
    m_message->setText(u"___"_s);
}

void TF_LX64::openMatchTable() {
    tools::TF_PESQC query(this);
    query.setOpeningDefaults(u"NNOTA,PRODUTO"_s, QString(), u"PRODUTO"_s);
    tools::QuerySettings settings = query.settings();
    settings.table = data::ResolveTableName(u"P50"_s);
    settings.filter = u" "_s;
    settings.order = u"NNOTA,PRODUTO"_s;
    settings.dateField = u"DTNOTA"_s;
    settings.startDate = m_start->displayText();
    settings.endDate = m_end->displayText();
    query.setSettings(settings);
    if (auto* config = query.findChild<QLineEdit*>(u"E_CONFIG_AUT"_s)) config->setText(u"P50"_s);
    if (auto* open = query.findChild<QCheckBox*>(u"CB_ABRIR"_s)) open->setChecked(true);
    query.exec();
}

} // namespace livrax::books
