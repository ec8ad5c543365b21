#include "books/tf_lx40.h"

#include "common/dates.h"
#include "common/text.h"
#include "data/db_error.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "print/screen_print.h"
#include "tools/query_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

QComboBox* NewList(const QString& objectName, const QStringList& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->addItems(items);
    return list;
}

QCheckBox* NewBox(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    return box;
}

} // namespace

TF_LX40::TF_LX40(QWidget* parent)
    : FormWindow(u"TF_LX40"_s, u"F_LX40 - INVENTÁRIO RETROATIVO"_s, parent) {
    // Closing writes the settings; the shared datasets are not committed.
    setCommitOnClose(false);
    QMenu* files = fileMenu();
    files->setTitle(u"Arquivos"_s);
    auto* printScreen = new QAction(u"Imprimir Tela"_s, this);
    files->insertAction(files->actions().value(0), printScreen);
    connect(printScreen, &QAction::triggered, this, [this] { print::PrintScreen(this); });

    QVBoxLayout* layout = mainLayout();
    auto* form = new QFormLayout;
    m_date = print::NewDateEdit(u"E_DATAF"_s, this);
    m_layout = NewList(u"CB_OPCOES"_s, LX40LayoutItems(), this);
    m_value = NewList(u"CB_VALOR"_s, LX40ValueItems(), this);
    m_book = new QLineEdit(this);
    m_book->setObjectName(u"E_LIVRO"_s);
    m_page = new QLineEdit(u"1"_s, this);
    m_page->setObjectName(u"E_PAG"_s);
    m_page->setMaximumWidth(60);
    m_title = new QLineEdit(u"LX40 - INVENTÁRIO"_s, this);
    m_title->setObjectName(u"E_TITULO"_s);
    m_entryFilter = new QLineEdit(this);
    m_entryFilter->setObjectName(u"E_FILTROE"_s);
    m_exitFilter = new QLineEdit(this);
    m_exitFilter->setObjectName(u"E_FILTROS"_s);
    form->addRow(u"DATA BASE"_s, m_date);
    form->addRow(u"Dados do Relatório"_s, m_layout);
    form->addRow(u"Campo Valor"_s, m_value);
    form->addRow(u"Livro"_s, m_book);
    form->addRow(u"Página"_s, m_page);
    form->addRow(u"TITULO"_s, m_title);
    // The item filters land in a query that joins the product register:
    // the dialog names their columns as the query does.
    QLabel* entryLink =
        addFilterLink(u"LA_FILTROE"_s, m_entryFilter, u"PIE"_s, u"SQL"_s, u"PIE."_s);
    entryLink->setText(u"<b>Filtro Itens Entrada</b>"_s);
    QLabel* exitLink = addFilterLink(u"LA_FILTROS"_s, m_exitFilter, u"PIS"_s, u"SQL"_s, u"PIS."_s);
    exitLink->setText(u"<b>Filtro Itens Saída</b>"_s);
    form->addRow(entryLink, m_entryFilter);
    form->addRow(exitLink, m_exitFilter);
    layout->addLayout(form);

    m_positive = NewBox(u"CB_SALDOPOS"_s, u"Imprimir somente Saldo Positivo"_s, this);
    m_positive->setChecked(true);
    m_registerCost = NewBox(u"CB_CUSTOMED"_s, u"C/Medio do Produto"_s, this);
    m_summary = NewBox(u"CB_RESUMO"_s, u"Imprimir Resumo"_s, this);
    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : {m_positive, m_registerCost, m_summary})
        boxes->addWidget(box);
    layout->addLayout(boxes);

    m_items = new tools::QueryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->setModel(m_items);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    layout->addWidget(m_grid, 1);
    auto* navigator = new QHBoxLayout;
    const struct {
        const char16_t* name;
        const char16_t* caption;
        int step;
    } moves[] = {{u"DBNavigator1_First", u"|◀", -2},
                 {u"DBNavigator1_Prior", u"◀", -1},
                 {u"DBNavigator1_Next", u"▶", 1},
                 {u"DBNavigator1_Last", u"▶|", 2}};
    for (const auto& move : moves) {
        auto* button = new QPushButton(QString::fromUtf16(move.caption), this);
        button->setObjectName(QString::fromUtf16(move.name));
        button->setAutoDefault(false);
        navigator->addWidget(button);
        const int step = move.step;
        connect(button, &QPushButton::clicked, this, [this, step] { moveInGrid(step); });
    }
    navigator->addStretch();
    layout->addLayout(navigator);

    addRunButtons({print::Destination::Printer, print::Destination::Preview},
                  [this](print::Destination destination) { runBook(destination); });
    // "Campo Valor" values the layout "00" only.
    connect(m_layout, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { m_value->setEnabled(text.startsWith(u"00"_s)); });
    installConventions();
}

TF_LX40::~TF_LX40() = default;

LX40Options TF_LX40::inputs() const {
    LX40Options options;
    // The date is read with its mask's blanks, as it is stored.
    options.baseDate = m_date->displayText();
    options.layout = m_layout->currentText().left(2);
    options.valueField = m_value->currentText().left(1).toInt();
    options.bookNumber = m_book->text();
    options.firstPage = m_page->text();
    options.title = m_title->text();
    options.entryFilter = m_entryFilter->text();
    options.exitFilter = m_exitFilter->text();
    options.positiveOnly = m_positive->isChecked();
    options.registerCost = m_registerCost->isChecked();
    options.summary = m_summary->isChecked();
    return options;
}

void TF_LX40::setInputs(const LX40Options& options) {
    m_date->setText(options.baseDate);
    m_layout->setCurrentText(LX40ItemFor(LX40LayoutItems(), options.layout));
    m_value->setCurrentText(LX40ItemFor(LX40ValueItems(), QString::number(options.valueField)));
    m_value->setEnabled(options.layout == u"00"_s);
    m_book->setText(options.bookNumber);
    m_page->setText(options.firstPage);
    m_title->setText(options.title);
    m_entryFilter->setText(options.entryFilter);
    m_exitFilter->setText(options.exitFilter);
    m_positive->setChecked(options.positiveOnly);
    m_registerCost->setChecked(options.registerCost);
    m_summary->setChecked(options.summary);
}

void TF_LX40::loadSettings() {
    setInputs(LoadLX40Settings());
}

bool TF_LX40::saveSettings() {
    return SaveLX40Settings(inputs());
}

void TF_LX40::runBook(print::Destination destination) {
    const LX40Options options = inputs();
    if (IsBlank(options.baseDate) || !IsValidShortDate(options.baseDate)) {
        platform::ShowError(this, u"Data inválida: "_s + options.baseDate);
        return;
    }
    m_items->close();
    runReport(
        destination, [&options](print::PrintJob& run) { PrintLX40(run, options); },
        BookDocumentName(u"LX40"_s, options.baseDate, QString()));
    showItems(options);
}

void TF_LX40::showItems(const LX40Options& options) {
    data::Connection* database = data::DatabaseFor(u"PDS"_s);
    if (!database) return;
    try {
        m_items->open(*database, LX40ItemQuery(options));
    } catch (const std::exception&) {
        m_items->close(); // the run has said why
    }
}

void TF_LX40::moveInGrid(int step) {
    if (step == 2)
        while (m_items->canFetchMore())
            m_items->fetchMore();
    const int rows = m_items->rowCount();
    if (rows == 0) return;
    const int current = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    const int row = step == -2 ? 0 : step == 2 ? rows - 1 : std::clamp(current + step, 0, rows - 1);
    m_grid->setCurrentIndex(m_items->index(row, 0));
}

} // namespace livrax::books
