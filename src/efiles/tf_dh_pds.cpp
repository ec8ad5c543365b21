#include "efiles/tf_dh_pds.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/queries.h"
#include "efiles/datahouse_settings.h"
#include "platform/dialogs.h"
#include "platform/masked_edit.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "print/tf_edit.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

enum Tab { ExportTab, GridTab, ParametersTab, ErrorsTab };

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* DateEdit(const QString& objectName, QWidget* parent) {
    auto* edit = new platform::MaskedLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setInputMask(u"99/99/99;_"_s);
    edit->setMaximumWidth(90);
    return edit;
}

QLabel* Label(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

// A date field's text with the mask's blanks as spaces: "  /  /  " when empty.
QString DateText(const QLineEdit* edit) {
    return edit->displayText().replace(u'_', u' ');
}

const QStringList GridTitles{u"Pedido"_s,    u"Nota"_s,    u"Sigla"_s,   u"Data"_s,
                             u"Natureza"_s,  u"VP"_s,      u"Líquido"_s, u"Base ICM"_s,
                             u"Valor ICM"_s, u"Empresa"_s, u"CGC"_s,     u"CEP"_s};

QStringList GridRow(const DataHouseSale& sale) {
    const auto money = [](qint64 value) { return FormatMoney(value, 0, 2); };
    return {QString::number(sale.order),
            sale.invoice,
            sale.customer,
            FormatShortDate(sale.date),
            sale.nature,
            sale.vp,
            money(sale.net),
            money(sale.icmsBase),
            money(sale.icmsTax),
            sale.name,
            sale.cnpj,
            sale.postalCode};
}

} // namespace

TF_DH_PDS::TF_DH_PDS(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_DH_PDS"_s);
    setWindowTitle(u"F_DH_PDS - Exportação Clientes/Vendas"_s);
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(u"Arquivo"_s);
    connect(file->addAction(u"Imprimir Tela"_s), &QAction::triggered, this,
            &TF_DH_PDS::printScreen);
    layout->setMenuBar(menu);

    auto* buttons = new QHBoxLayout;
    m_assemble = Button(u"BU_MONTAR"_s, u"Montar"_s, this);
    m_export = Button(u"BU_EXPORTAR"_s, u"Exportar"_s, this);
    auto* editor = Button(u"SpeedButton1"_s, u"Editor"_s, this);
    auto* exit = Button(u"BU_SAIR"_s, u"Sair"_s, this);
    exit->setToolTip(u"Sair do Programa"_s);
    for (QPushButton* button : {m_assemble, m_export, editor, exit})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PageControl1"_s);
    m_tabs->addTab(buildExportTab(), u"Exportar"_s);
    m_tabs->addTab(buildGridTab(), u"Grid"_s);
    m_tabs->addTab(buildParametersTab(), u"Parâmetros"_s);
    m_tabs->addTab(buildErrorsTab(), u"Erros"_s);
    layout->addWidget(m_tabs);

    connect(m_assemble, &QPushButton::clicked, this, [this] { assemble(); });
    connect(m_export, &QPushButton::clicked, this, &TF_DH_PDS::exportFiles);
    connect(editor, &QPushButton::clicked, this, &TF_DH_PDS::openEditor);
    connect(exit, &QPushButton::clicked, this, &TF_DH_PDS::leave);
    connect(m_start, &QLineEdit::textEdited, this, &TF_DH_PDS::startDateEdited);
    connect(m_folder, &QLineEdit::textChanged, this, &TF_DH_PDS::folderChanged);
}

QWidget* TF_DH_PDS::buildExportTab() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_EXPORTAR"_s);
    auto* layout = new QVBoxLayout(page);

    auto* period = new QGroupBox(u"Data Emissão"_s, page);
    auto* periodForm = new QFormLayout(period);
    m_start = DateEdit(u"E_DTINICIAL"_s, period);
    m_end = DateEdit(u"E_DTFINAL"_s, period);
    periodForm->addRow(u"Inicial"_s, m_start);
    periodForm->addRow(u"Final"_s, m_end);
    layout->addWidget(period);

    m_customers = new QCheckBox(u"DH_PDS_C - Exportar Clientes"_s, page);
    m_customers->setObjectName(u"CB_CLIENTES"_s);
    m_customers->setChecked(true);
    m_sales = new QCheckBox(u"DH_PDS_V  - Exportar Vendas"_s, page);
    m_sales->setObjectName(u"CB_VENDAS"_s);
    m_sales->setChecked(true);
    layout->addWidget(m_customers);
    layout->addWidget(m_sales);

    auto* output = new QGroupBox(u"Arquivo de Saída"_s, page);
    auto* outputForm = new QFormLayout(output);
    auto* chooseFolder = Label(u"LA_SEL_DIR"_s, u"<a href=\"#\">Diretório</a>"_s, output);
    chooseFolder->setCursor(Qt::PointingHandCursor);
    m_folder = new QLineEdit(output);
    m_folder->setObjectName(u"E_DIRETORIO"_s);
    m_outputFile = new QLineEdit(output);
    m_outputFile->setObjectName(u"E_ARQSAIDA"_s);
    m_outputFile->setReadOnly(true);
    outputForm->addRow(chooseFolder, m_folder);
    outputForm->addRow(u"Arq. Saída"_s, m_outputFile);
    layout->addWidget(output);
    connect(chooseFolder, &QLabel::linkActivated, this, &TF_DH_PDS::chooseFolder);

    auto* counts = new QFormLayout;
    m_salesCount = Label(u"LA_EXP_PDS"_s, u"0"_s, page);
    m_customerCount = Label(u"LA_EXP_EMP"_s, u"0"_s, page);
    counts->addRow(u"Gravados Vendas"_s, m_salesCount);
    counts->addRow(u"Gravados Clientes"_s, m_customerCount);
    layout->addLayout(counts);
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(u"ProgressBar1"_s);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    layout->addStretch();
    return page;
}

QWidget* TF_DH_PDS::buildGridTab() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_GRID"_s);
    auto* layout = new QVBoxLayout(page);
    m_grid = new QTableWidget(0, int(GridTitles.size()), page);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->setHorizontalHeaderLabels(GridTitles);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_grid);

    auto* navigator = new QHBoxLayout;
    struct Move {
        const char16_t* name;
        const char16_t* caption;
        int (*row)(int current, int last);
    };
    static constexpr Move moves[] = {
        {u"NAV_FIRST", u"|<", [](int, int) { return 0; }},
        {u"NAV_PRIOR", u"<", [](int current, int) { return current - 1; }},
        {u"NAV_NEXT", u">", [](int current, int) { return current + 1; }},
        {u"NAV_LAST", u">|", [](int, int last) { return last; }},
    };
    for (const Move& move : moves) {
        auto* button = new QToolButton(page);
        button->setObjectName(QString::fromUtf16(move.name));
        button->setText(QString::fromUtf16(move.caption));
        navigator->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, row = move.row] {
            moveTo(row(m_grid->currentRow(), m_grid->rowCount() - 1));
        });
    }
    navigator->addStretch();
    navigator->addWidget(new QLabel(u"Registros"_s, page));
    m_rows = Label(u"LA_REG"_s, u"0"_s, page);
    navigator->addWidget(m_rows);
    layout->addLayout(navigator);
    return page;
}

QWidget* TF_DH_PDS::buildParametersTab() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_PARAMETROS"_s);
    auto* layout = new QVBoxLayout(page);
    auto* filters = new QGroupBox(u"Filtros Itens de Saída"_s, page);
    auto* form = new QFormLayout(filters);
    m_filter = new QLineEdit(filters);
    m_filter->setObjectName(u"E_FILTROPDS"_s);
    form->addRow(u"Vendas"_s, m_filter);
    layout->addWidget(filters);
    m_icms = new QCheckBox(u"Gravar Valor ICM"_s, page);
    m_icms->setObjectName(u"CB_VALICM"_s);
    m_icms->setChecked(true);
    layout->addWidget(m_icms);
    layout->addStretch();
    return page;
}

QWidget* TF_DH_PDS::buildErrorsTab() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_ERROS"_s);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Total de Erros"_s, page));
    m_errors = Label(u"LA_ERROS"_s, u"000"_s, page);
    top->addWidget(m_errors);
    top->addStretch();
    auto* print = Button(u"BU_IMPRIME"_s, u"Imprime Tela"_s, page);
    top->addWidget(print);
    connect(print, &QPushButton::clicked, this, &TF_DH_PDS::printScreen);
    layout->addLayout(top);
    m_messages = new QListWidget(page);
    m_messages->setObjectName(u"LB_ERROS"_s);
    layout->addWidget(m_messages);
    return page;
}

DataHouseOptions TF_DH_PDS::options() const {
    DataHouseOptions options;
    options.startDate = DateText(m_start);
    options.endDate = DateText(m_end);
    options.filter = m_filter->text();
    options.folder = m_folder->text().trimmed();
    options.sales = m_sales->isChecked();
    options.customers = m_customers->isChecked();
    options.writeIcms = m_icms->isChecked();
    return options;
}

void TF_DH_PDS::setOptions(const DataHouseOptions& options) {
    m_start->setText(options.startDate);
    m_end->setText(options.endDate);
    m_filter->setText(options.filter);
    m_folder->setText(options.folder);
    m_sales->setChecked(options.sales);
    m_customers->setChecked(options.customers);
    m_icms->setChecked(options.writeIcms);
}

void TF_DH_PDS::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded) return;
    m_loaded = true;
    loadSettings();
}

void TF_DH_PDS::loadSettings() {
    m_tabs->setCurrentIndex(ExportTab);
    setOptions(LoadDataHouseSettings());
    if (m_folder->text().trimmed().isEmpty()) {
        const QString proposed = DefaultDataHouseFolder();
        if (!proposed.isEmpty() && QFileInfo(proposed).isDir()) m_folder->setText(proposed);
    }
    folderChanged();
}

void TF_DH_PDS::done(int result) {
    // However the window is left (Sair, its close button, Esc), the shared
    // datasets are committed.
    data::CommitAll();
    QDialog::done(result);
}

void TF_DH_PDS::startDateEdited() {
    // A new period: the selection shown is out of date.
    m_assemble->setEnabled(true);
    const QString start = DateText(m_start);
    if (IsValidShortDate(start)) m_end->setText(LastDayOfMonthShort(start));
}

void TF_DH_PDS::folderChanged() {
    const QString folder = m_folder->text().trimmed();
    m_outputFile->setText(folder.isEmpty() ? QString()
                                           : QDir::toNativeSeparators(
                                                 DataHouseFilePath(folder, DataHouseSalesName())));
}

void TF_DH_PDS::chooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, u"Diretório"_s, m_folder->text());
    if (!folder.isEmpty()) m_folder->setText(QDir::toNativeSeparators(folder));
}

bool TF_DH_PDS::assemble() {
    if (IsBlank(DateText(m_start)) || IsBlank(DateText(m_end))) {
        platform::ShowMessage(this, u"Deve ser informada a Data Inicial e a Final"_s);
        m_tabs->setCurrentIndex(ExportTab);
        m_start->setFocus();
        return false;
    }
    m_salesCount->setText(u"0"_s);
    m_customerCount->setText(u"0"_s);
    if (m_sales->isChecked() || m_customers->isChecked()) {
        DataHouseOptions selection = options();
        try {
            showSales(SelectDataHouseSales(selection));
        } catch (const DataHouseError& error) {
            platform::ShowError(this, error.message());
            return false;
        }
        m_filter->setText(selection.filter); // as it was run: "#" made blanks
        m_tabs->setCurrentIndex(GridTab);
    }
    m_export->setEnabled(true);
    m_assemble->setEnabled(false);
    return true;
}

void TF_DH_PDS::showSales(const std::vector<DataHouseSale>& sales) {
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(sales.size()));
    for (int row = 0; row < int(sales.size()); ++row) {
        const QStringList cells = GridRow(sales[std::size_t(row)]);
        for (int column = 0; column < int(cells.size()); ++column)
            m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_rows->setText(QString::number(sales.size()));
    m_progress->setRange(0, std::max(1, int(sales.size())));
    m_progress->setValue(0);
    moveTo(0);
}

void TF_DH_PDS::moveTo(int row) {
    if (m_grid->rowCount() == 0) return;
    m_grid->setCurrentCell(std::clamp(row, 0, m_grid->rowCount() - 1), 0);
}

void TF_DH_PDS::exportFiles() {
    m_tabs->setCurrentIndex(ExportTab);
    if (m_assemble->isEnabled() && !assemble()) return;
    m_tabs->setCurrentIndex(ExportTab);
    m_errors->setText(u"000"_s);
    DataHouseOptions run = options();
    DataHouseResult result;
    try {
        result = ExportDataHouse(run);
    } catch (const DataHouseError& error) {
        m_folder->setText(run.folder);
        platform::ShowError(this, error.message());
        if (error.message() == u"Diretório de destino não localizado"_s) m_folder->setFocus();
        return;
    }
    m_folder->setText(run.folder);
    m_messages->addItems(result.messages);
    m_salesCount->setText(QString::number(result.salesLines));
    m_customerCount->setText(QString::number(result.customerLines));
    m_errors->setText(ZeroPad(result.errors, 3));
    m_progress->setValue(m_progress->maximum());
    if (!result.ok()) {
        // A file that could not be written is no finished export.
        platform::ShowError(this, result.failures.join(u'\n'));
        if (result.errors > 0) m_tabs->setCurrentIndex(ErrorsTab);
        return;
    }
    if (result.errors == 0) {
        platform::ShowMessage(this, u"Exportação Concluida"_s);
    } else {
        platform::ShowMessage(this, u"Esta exportação contem ERROS"_s);
        m_tabs->setCurrentIndex(ErrorsTab);
    }
}

void TF_DH_PDS::openEditor() {
    // The editor's open dialog starts on the sales file of the folder and is
    // run at once; the editor then shows what it chose.
    print::TF_EDIT editor(this);
    editor.setFixedPitch(true);
    editor.setOpenOnShow(false);
    editor.setOpenFilters({u"Arq. Txt (*.txt *.TXT)"_s, u"Todos arqs. (*)"_s});
    editor.setFileName(m_outputFile->text());
    editor.openFile();
    editor.exec();
}

void TF_DH_PDS::printScreen() {
    print::PrintScreen(this);
}

void TF_DH_PDS::leave() {
    if (!SaveDataHouseSettings(options())) {
        platform::ShowError(this, u"Não foi possível gravar os parâmetros: o registro está em uso "
                                  u"em outra estação ou o banco de dados não respondeu.\nA janela "
                                  u"continua aberta; feche-a pelo botão da janela para sair sem "
                                  u"gravar."_s);
        return;
    }
    close();
}

void RegisterEfilesWindows() {
    platform::RegisterWindow(u"DH_PDS"_s, [](QWidget* parent, const QStringList&) {
        TF_DH_PDS window(parent);
        window.exec();
    });
}

} // namespace livrax::efiles
