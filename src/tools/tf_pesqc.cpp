#include "tools/tf_pesqc.h"

#include "common/conditions.h"
#include "common/fields.h"
#include "common/line_files.h"
#include "common/text.h"
#include "data/audit_log.h"
#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "data/returned_values.h"
#include "data/rights.h"
#include "data/routing.h"
#include "expr/macros.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "print/tf_printgrid.h"
#include "tools/pick_lists.h"
#include "tools/query_export.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

constexpr int IntegerColumnWidth = 48;
constexpr int DecimalColumnWidth = 70;

// The width a column gets in a grid that was never shown: as the query
// window shows numbers, and about seven pixels per character of text.
int DefaultColumnPixels(const QueryColumn& column) {
    switch (column.kind) {
    case ColumnKind::Integer:
        return IntegerColumnWidth;
    case ColumnKind::Decimal:
    case ColumnKind::Float:
        return DecimalColumnWidth;
    case ColumnKind::Date:
        return 60;
    case ColumnKind::Timestamp:
        return 110;
    case ColumnKind::Text:
        break;
    }
    return std::clamp(column.size * 7, 42, 280);
}

QLineEdit* NamedEdit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QComboBox* NamedCombo(QWidget* parent, const QString& name, bool editable = true) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QString ReadWindowsText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringDecoder decoder("windows-1252");
    return decoder.decode(file.readAll());
}

} // namespace

TF_PESQC::TF_PESQC(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_PESQC"_s);
    setWindowTitle(u"PESQC  - Pesquisa/Consulta"_s);
    buildControls();
}

TF_PESQC::~TF_PESQC() = default;

QPushButton* TF_PESQC::addButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void TF_PESQC::buildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_table = NamedEdit(this, u"E_ARQ"_s);
    m_table->setReadOnly(true);
    m_databasePath = NamedEdit(this, u"E_DIRARQ"_s);
    m_databasePath->setReadOnly(true);
    top->addWidget(new QLabel(u"Arquivo"_s, this));
    top->addWidget(m_table);
    top->addWidget(m_databasePath, 1);
    auto* regs = addButton(this, u"BU_REGS"_s, u"Regs:"_s);
    m_rowCount = new QLabel(this);
    m_rowCount->setObjectName(u"LA_REG"_s);
    m_selectedCount = new QLabel(this);
    m_selectedCount->setObjectName(u"LA_SEL"_s);
    top->addWidget(regs);
    top->addWidget(m_rowCount);
    top->addWidget(m_selectedCount);
    layout->addLayout(top);
    connect(regs, &QPushButton::clicked, this, &TF_PESQC::countRows);

    auto* tools = new QHBoxLayout;
    auto* print = addButton(this, u"BU_IMPRIMIR"_s, u"Imprimir"_s);
    auto* printScreen = addButton(this, u"BU_PRINTTELA"_s, u"Imprimir Tela"_s);
    auto* parameters = addButton(this, u"BU_PARAMETROS"_s, u"Parâmetros"_s);
    auto* open = addButton(this, u"BU_ABRIR"_s, u"Abrir"_s);
    auto* save = addButton(this, u"BU_SALVAR"_s, u"Salvar"_s);
    auto* exports = addButton(this, u"BU_EXPORTAR"_s, u"Exportar"_s);
    auto* menu = new QMenu(exports);
    menu->setObjectName(u"PM_EXPORTAR"_s);
    menu->addAction(u"Exportar para TXT"_s, this, &TF_PESQC::exportText)
        ->setObjectName(u"MI_TXT"_s);
    menu->addAction(u"Exportar para Excel"_s, this, &TF_PESQC::exportWorkbook)
        ->setObjectName(u"MI_EXCEL"_s);
    menu->addAction(u"Abrir arquivo do Excel"_s, this, &TF_PESQC::openWorkbook)
        ->setObjectName(u"MI_ABRIREXCEL"_s);
    exports->setMenu(menu);
    auto* help = addButton(this, u"BU_HELP"_s, u"Help"_s);
    auto* leave = addButton(this, u"BU_SAIR"_s, u"Sair"_s);
    for (QPushButton* button : {print, printScreen, parameters, open, save, exports, help, leave})
        tools->addWidget(button);
    tools->addStretch();
    layout->addLayout(tools);
    connect(print, &QPushButton::clicked, this, &TF_PESQC::printGrid);
    connect(printScreen, &QPushButton::clicked, this, [this] { print::PrintScreen(this); });
    connect(open, &QPushButton::clicked, this, &TF_PESQC::openConfiguration);
    connect(save, &QPushButton::clicked, this, &TF_PESQC::saveConfiguration);
    connect(help, &QPushButton::clicked, this,
            [this] { platform::OpenWindow(u"HELP"_s, this, {u"PESQC"_s}); });
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PAGINAS"_s);
    m_pages->addTab(buildSelectionPage(), u"Seleção"_s);
    m_pages->addTab(buildOptionsPage(), u"Opções"_s);
    m_pages->addTab(buildSqlPage(), u"SQL"_s);
    layout->addWidget(m_pages);
    connect(parameters, &QPushButton::clicked, this,
            [this] { m_parameters->setVisible(!m_parameters->isVisible()); });

    m_grid = new QTableView(this);
    m_grid->setObjectName(u"GRID"_s);
    m_grid->setModel(&m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TF_PESQC::orderByColumn);
    connect(m_grid, &QTableView::doubleClicked, this, &TF_PESQC::returnRow);
    layout->addWidget(m_grid, 1);

    auto* build = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(build, &QShortcut::activated, this, &TF_PESQC::buildAndRun);
    resize(900, 600);
}

QWidget* TF_PESQC::buildSelectionPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"PG_SELECAO"_s);
    auto* grid = new QGridLayout(page);
    m_field1 = NamedCombo(page, u"CB_CAMPOS"_s);
    m_field2 = NamedCombo(page, u"OR_CAMPOS"_s);
    m_operator1 = NamedCombo(page, u"CB_SINAL1"_s, false);
    m_operator2 = NamedCombo(page, u"CB_SINAL2"_s, false);
    m_operator1->addItems(QueryOperators());
    m_operator2->addItems(QueryOperators());
    m_value1 = NamedEdit(page, u"E_CONTEUDO1"_s);
    m_value2 = NamedEdit(page, u"E_CONTEUDO2"_s);
    auto* choices1 = NamedCombo(page, u"C_CONTEUDO1"_s, false);
    auto* choices2 = NamedCombo(page, u"C_CONTEUDO2"_s, false);
    for (auto [choices, value] : {std::pair{choices1, m_value1}, std::pair{choices2, m_value2}}) {
        choices->addItem(QString());
        choices->addItems(QueryValueChoices());
        connect(choices, &QComboBox::textActivated, value, &QLineEdit::setText);
        value->installEventFilter(this);
    }
    m_joiner = NamedCombo(page, u"E_ORAND"_s);
    m_joiner->addItems({u"OR"_s, u"AND"_s});
    m_branch = NamedEdit(page, u"E_FILIAL"_s);
    m_dateField = NamedCombo(page, u"SEL_DTCOMBO"_s);
    m_startDate = NamedEdit(page, u"E_DTINICIAL"_s);
    m_endDate = NamedEdit(page, u"E_DTFINAL"_s);
    for (QLineEdit* date : {m_startDate, m_endDate})
        date->setInputMask(u"99/99/99;_"_s);
    m_filter = NamedEdit(page, u"E_FILTRO"_s);
    m_order = NamedEdit(page, u"E_ORDEM"_s);
    m_columns = NamedEdit(page, u"E_CAMPOS"_s);

    int row = 0;
    grid->addWidget(new QLabel(u"Campo"_s, page), row, 0);
    grid->addWidget(m_field1, row, 1);
    grid->addWidget(m_operator1, row, 2);
    grid->addWidget(m_value1, row, 3);
    grid->addWidget(choices1, row++, 4);
    grid->addWidget(m_joiner, row, 0);
    grid->addWidget(m_field2, row, 1);
    grid->addWidget(m_operator2, row, 2);
    grid->addWidget(m_value2, row, 3);
    grid->addWidget(choices2, row++, 4);
    grid->addWidget(new QLabel(u"Data"_s, page), row, 0);
    grid->addWidget(m_dateField, row, 1);
    grid->addWidget(m_startDate, row, 2);
    grid->addWidget(m_endDate, row, 3);
    grid->addWidget(m_branch, row++, 4);
    auto* filter = addButton(page, u"BU_FILTRO"_s, u"Filtro"_s);
    grid->addWidget(filter, row, 0);
    grid->addWidget(m_filter, row++, 1, 1, 4);
    grid->addWidget(new QLabel(u"Ordem"_s, page), row, 0);
    grid->addWidget(m_order, row++, 1, 1, 4);
    auto* columns = addButton(page, u"BU_CAMPOS"_s, u"Campos da Grid"_s);
    grid->addWidget(columns, row, 0);
    grid->addWidget(m_columns, row++, 1, 1, 4);
    auto* buttons = new QHBoxLayout;
    auto* build = addButton(page, u"BU_MONTAR"_s, u"Montar F6"_s);
    auto* clear = addButton(page, u"BU_LIMPAR"_s, u"Limpar"_s);
    buttons->addWidget(build);
    buttons->addWidget(clear);
    buttons->addStretch();
    grid->addLayout(buttons, row, 0, 1, 5);
    connect(build, &QPushButton::clicked, this, &TF_PESQC::buildAndRun);
    connect(clear, &QPushButton::clicked, this, &TF_PESQC::clearSelection);
    connect(filter, &QPushButton::clicked, this, &TF_PESQC::chooseFilter);
    connect(columns, &QPushButton::clicked, this,
            [this] { chooseColumns(m_columns, m_table->text()); });
    return page;
}

QWidget* TF_PESQC::buildOptionsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"PG_OPCOES"_s);
    auto* form = new QFormLayout(page);
    m_title = NamedEdit(page, u"E_TITULO"_s);
    m_title->setText(u"Relatório"_s);
    m_returnFields = NamedEdit(page, u"E_CAMPORETORNO"_s);
    m_secondTable = NamedCombo(page, u"E_REL_ARQUIVO"_s);
    m_mainJoinField = NamedCombo(page, u"E_REL_PRIN"_s);
    m_secondJoinField = NamedCombo(page, u"E_REL_SEC"_s);
    m_secondColumns = NamedEdit(page, u"E_CAMPOSREL"_s);
    form->addRow(u"Título"_s, m_title);
    form->addRow(u"Campos de retorno"_s, m_returnFields);
    form->addRow(u"Arquivo relacionado"_s, m_secondTable);
    auto* join = new QHBoxLayout;
    auto* mainJoin = addButton(page, u"BU_INDPRIN"_s, u"Ind.Prin."_s);
    auto* secondJoin = addButton(page, u"BU_INDSEC"_s, u"= Ind.Sec."_s);
    join->addWidget(mainJoin);
    join->addWidget(m_mainJoinField);
    join->addWidget(secondJoin);
    join->addWidget(m_secondJoinField);
    form->addRow(join);
    auto* secondColumns = addButton(page, u"BU_CAMPOSREL"_s, u"Campos do Arq. Relacionado"_s);
    form->addRow(secondColumns, m_secondColumns);
    auto* defineColumns = addButton(page, u"BU_DEFCAMPOS"_s, u"Definir Campos da Grid"_s);
    form->addRow(defineColumns);
    connect(mainJoin, &QPushButton::clicked, this,
            [this] { chooseJoinField(m_mainJoinField, m_table->text()); });
    connect(secondJoin, &QPushButton::clicked, this,
            [this] { chooseJoinField(m_secondJoinField, m_secondTable->currentText()); });
    connect(secondColumns, &QPushButton::clicked, this,
            [this] { chooseColumns(m_secondColumns, m_secondTable->currentText()); });
    connect(defineColumns, &QPushButton::clicked, this, [this] {
        const QString second = m_secondTable->currentText().trimmed();
        chooseColumns(m_columns,
                      m_table->text() + (second.isEmpty() ? QString() : u"#"_s + second));
    });

    m_parameters = new QWidget(page);
    m_parameters->setObjectName(u"PN_PARAMETROS"_s);
    auto* parameters = new QFormLayout(m_parameters);
    m_sql = NamedEdit(m_parameters, u"E_SQL"_s);
    m_manual = NamedEdit(m_parameters, u"E_MANUAL"_s);
    m_databaseNumber = NamedEdit(m_parameters, u"E_NUMDIR"_s);
    m_parFile = NamedEdit(m_parameters, u"E_SALVARAOSAIR"_s);
    m_configSuffix = NamedEdit(m_parameters, u"E_CONFIG_AUT"_s);
    m_openAtStart = new QCheckBox(u"Abrir ao iniciar"_s, m_parameters);
    m_openAtStart->setObjectName(u"CB_ABRIR"_s);
    m_openAtStart->setChecked(true);
    parameters->addRow(u"SQL"_s, m_sql);
    parameters->addRow(u"SQL salvo"_s, m_manual);
    parameters->addRow(u"Banco (1..5)"_s, m_databaseNumber);
    parameters->addRow(u"Arquivo .PAR"_s, m_parFile);
    parameters->addRow(u"Configuração"_s, m_configSuffix);
    parameters->addRow(m_openAtStart);
    m_parameters->hide();
    form->addRow(m_parameters);
    return page;
}

QWidget* TF_PESQC::buildSqlPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"PG_SQL"_s);
    auto* layout = new QVBoxLayout(page);
    m_memo = new QPlainTextEdit(page);
    m_memo->setObjectName(u"MEMO_SEL"_s);
    layout->addWidget(m_memo);
    auto* buttons = new QHBoxLayout;
    auto* query = addButton(page, u"BU_EXECQUERY"_s, u"Executa a Query"_s);
    auto* statement = addButton(page, u"BU_EXECSQL"_s, u"Executa o SQL"_s);
    auto* read = addButton(page, u"BU_LESQL"_s, u"Le os comandos do SQL"_s);
    auto* load = addButton(page, u"BU_ABRESQL"_s, u"Abre arquivos SQL"_s);
    auto* store = addButton(page, u"BU_SALVASQL"_s, u"Salva arquivos SQL"_s);
    auto* commit = addButton(page, u"BU_COMMIT"_s, u"Commit"_s);
    for (QPushButton* button : {query, statement, read, load, store, commit})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(query, &QPushButton::clicked, this, &TF_PESQC::runSqlQuery);
    connect(statement, &QPushButton::clicked, this, &TF_PESQC::runSqlStatement);
    connect(read, &QPushButton::clicked, this, [this] { m_memo->setPlainText(m_lastStatement); });
    connect(load, &QPushButton::clicked, this, [this] {
        const auto path = platform::ChooseFileToOpen(this, u"Abre arquivos SQL"_s, tempFolder(),
                                                     u"SQL (*.PAR *.SQL *.TXT);;Todos (*)"_s);
        if (path) m_memo->setPlainText(ReadWindowsText(*path));
    });
    connect(store, &QPushButton::clicked, this, [this] {
        const auto path = platform::AskSaveFileName(this, u"Salva arquivos SQL"_s, tempFolder(),
                                                    u"SQL (*.PAR)"_s, u"PAR"_s);
        if (!path) return;
        const QString failure = WriteWindowsLinesFile(*path, m_memo->toPlainText().split(u'\n'));
        if (!failure.isEmpty()) platform::ShowError(this, failure);
    });
    connect(commit, &QPushButton::clicked, this, [this] {
        runSqlQuery();
        data::CommitAll();
    });
    return page;
}

QuerySettings TF_PESQC::settings() const {
    QuerySettings s;
    s.table = m_table->text();
    s.title = m_title->text();
    s.returnFields = m_returnFields->text();
    s.columns = m_columns->text();
    s.secondColumns = m_secondColumns->text();
    s.field1 = m_field1->currentText();
    s.field2 = m_field2->currentText();
    s.operator1 = m_operator1->currentText();
    s.operator2 = m_operator2->currentText();
    s.value1 = m_value1->text();
    s.value2 = m_value2->text();
    s.joiner = m_joiner->currentText();
    s.branch = m_branch->text();
    s.dateField = m_dateField->currentText();
    s.startDate = m_startDate->text();
    s.endDate = m_endDate->text();
    s.filter = m_filter->text();
    s.order = m_order->text();
    s.secondTable = m_secondTable->currentText();
    s.mainJoinField = m_mainJoinField->currentText();
    s.secondJoinField = m_secondJoinField->currentText();
    s.sql = m_sql->text();
    s.manual = m_manual->text();
    s.databaseNumber = m_databaseNumber->text();
    return s;
}

void TF_PESQC::setSettings(const QuerySettings& s) {
    m_table->setText(s.table);
    m_title->setText(s.title);
    m_returnFields->setText(s.returnFields);
    m_columns->setText(s.columns);
    m_secondColumns->setText(s.secondColumns);
    m_field1->setCurrentText(s.field1);
    m_field2->setCurrentText(s.field2);
    m_operator1->setCurrentIndex(std::max(0, int(QueryOperators().indexOf(s.operator1))));
    m_operator2->setCurrentIndex(std::max(0, int(QueryOperators().indexOf(s.operator2))));
    m_value1->setText(s.value1);
    m_value2->setText(s.value2);
    m_joiner->setCurrentText(s.joiner);
    m_branch->setText(s.branch);
    m_dateField->setCurrentText(s.dateField);
    m_startDate->setText(s.startDate);
    m_endDate->setText(s.endDate);
    m_filter->setText(s.filter);
    m_order->setText(s.order);
    m_secondTable->setCurrentText(s.secondTable);
    m_mainJoinField->setCurrentText(s.mainJoinField);
    m_secondJoinField->setCurrentText(s.secondJoinField);
    m_sql->setText(s.sql);
    m_manual->setText(s.manual);
    m_databaseNumber->setText(s.databaseNumber);
}

void TF_PESQC::setOpeningDefaults(const QString& order, const QString& columns,
                                  const QString& field) {
    m_defaults.order = order;
    m_defaults.columns = columns;
    m_defaults.field1 = field;
}

void TF_PESQC::setConfiguration(const QString& suffix, bool openAtStart) {
    m_configSuffix->setText(suffix);
    m_openAtStart->setChecked(openAtStart);
}

QString TF_PESQC::tempFolder() const {
    QString folder = data::Globals().user.tempFolder;
    if (folder.isEmpty()) folder = QDir::tempPath() + u"/"_s;
    QDir().mkpath(folder);
    return folder;
}

data::Connection* TF_PESQC::queryDatabase() const {
    const QString number = m_databaseNumber->text().trimmed();
    if (!number.isEmpty()) return data::DatabaseFor(number);
    return data::DatabaseFor(m_table->text());
}

QString TF_PESQC::fieldTypeOf(const QString& field) const {
    const QString name = field.trimmed();
    if (name.isEmpty()) return u"U"_s;
    if (name.toUpper().startsWith(u"B."_s)) {
        const QString second = m_secondTable->currentText().trimmed();
        return data::FieldType(data::ResolveTableName(second), name.mid(2));
    }
    return data::FieldType(m_table->text(), name);
}

void TF_PESQC::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_opened) return;
    m_opened = true;
    opening();
}

void TF_PESQC::opening() {
    m_table->setText(data::ResolveTableName(m_table->text().trimmed()));
    const QString table = m_table->text();
    const data::TRecUser& user = data::Globals().user;
    m_storedLines.clear();
    if (data::ParamRead(data::DatabaseFor(table),
                        SavedSettingsKey(user.name, table, m_configSuffix->text()), 40))
        m_storedLines = data::ParamLines().lines(40);
    QuerySettings s = settings();
    ApplySavedSettings(m_storedLines, m_defaults, s);
    fillPickLists();
    setSettings(s);
    applyRights();
    if (m_columns->text().isEmpty()) {
        data::Connection* database = m_databaseNumber->text().trimmed().isEmpty()
                                         ? data::DatabaseFor(table)
                                         : data::DatabaseFor(m_databaseNumber->text().trimmed());
        if (data::ParamRead(database, u"ARQ_"_s + table.mid(4, 3), 20)) {
            const QString line11 = data::ParamLines().line(11);
            m_columns->setText(line11.isEmpty() ? data::ParamLines().line(3) : line11);
        }
    }
    if (!m_parFile->text().trimmed().isEmpty())
        openParFile(tempFolder() + ParFileName(m_parFile->text()));
    else if (m_openAtStart->isChecked() || !m_value1->text().isEmpty())
        buildAndRun();
    m_pages->setCurrentIndex(0);
    m_value1->setFocus();
    if (m_model.isOpen() && m_field1->currentText().isEmpty() && m_model.columnCount() > 0)
        m_field1->setCurrentText(m_model.columns().first().name);
}

void TF_PESQC::applyRights() {
    m_grid->setVisible(data::HasRight(data::right::QueryGrid));
    m_pages->widget(0)->setEnabled(data::HasRight(data::right::QuerySelection));
    m_pages->widget(1)->setEnabled(data::HasRight(data::right::QuerySelection));
    findChild<QPushButton*>(u"BU_IMPRIMIR"_s)->setVisible(data::HasRight(data::right::QueryPrint));
    findChild<QPushButton*>(u"BU_PARAMETROS"_s)
        ->setVisible(data::HasRight(data::right::QueryParameters));
    findChild<QPushButton*>(u"BU_ABRIR"_s)->setVisible(data::HasRight(data::right::QueryOpen));
    findChild<QPushButton*>(u"BU_SALVAR"_s)->setVisible(data::HasRight(data::right::QuerySave));
    findChild<QPushButton*>(u"BU_EXPORTAR"_s)->setEnabled(data::HasRight(data::right::QueryExport));
    m_pages->setTabVisible(2, data::HasRightOnlyWithS(data::right::QuerySql));
    m_pages->widget(2)->setEnabled(data::HasRightOnlyWithS(data::right::QuerySql));
}

void TF_PESQC::fillPickLists() {
    const QString table = m_table->text();
    if (table.isEmpty()) return;
    FillIndexCombo(m_field1, table);
    FillIndexCombo(m_field2, table);
    FillDateFieldCombo(m_dateField, table);
    const QString second = m_secondTable->currentText();
    m_secondTable->clear();
    m_secondTable->addItem(QString());
    m_secondTable->addItems(data::ListTables(u"VRTN%"_s, data::DatabaseFor(table)));
    m_secondTable->setCurrentText(second);
    FillFieldCombo(m_mainJoinField, table);
}

bool TF_PESQC::openStatement(const QString& sql, QString* error) {
    data::Connection* database = queryDatabase();
    if (!database) {
        *error = u"Nenhum banco de dados contém a tabela "_s + m_table->text();
        return false;
    }
    try {
        m_model.open(*database, sql);
    } catch (const data::DbError& failure) {
        *error = failure.message();
        return false;
    }
    m_lastStatement = sql;
    m_databasePath->setText(database->path());
    afterOpen();
    return true;
}

void TF_PESQC::afterOpen() {
    const QList<QueryColumn>& columns = m_model.columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).kind == ColumnKind::Integer)
            m_grid->setColumnWidth(i, IntegerColumnWidth);
        else if (columns.at(i).kind == ColumnKind::Decimal)
            m_grid->setColumnWidth(i, DecimalColumnWidth);
    }
    if (m_model.rowCount() > 0) m_grid->selectRow(0);
}

bool TF_PESQC::buildAndRun() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        QuerySettings s = settings();
        s.fieldType1 = fieldTypeOf(ConditionField(s.field1));
        s.fieldType2 = fieldTypeOf(SecondConditionField(s));
        if (!IsBlank(s.filter)) s.filter = expr::ExpandMacros(s.filter);
        const QueryStatement statement = BuildQuery(s);
        QString error = statement.error;
        if (error.isEmpty()) {
            if (openStatement(statement.sql, &error)) {
                if (s.sql.trimmed().isEmpty() && s.secondTable.trimmed().isEmpty() &&
                    !statement.conditions.isEmpty())
                    m_selectedCount->setText(QString::number(
                        data::CountRows(s.table, statement.conditions, queryDatabase())));
                return true;
            }
        }
        platform::ShowError(this, u"Erro na consulta: "_s + error);
        // The statement is built again from the plain controls, and without
        // the first value when one was given.
        m_columns->clear();
        m_manual->clear();
        m_sql->clear();
        if (m_value1->text().isEmpty()) break;
        m_value1->clear();
    }
    return false;
}

void TF_PESQC::clearSelection() {
    m_value1->clear();
    m_value2->clear();
    m_columns->clear();
    m_operator1->setCurrentIndex(0);
    m_operator2->setCurrentIndex(0);
    m_startDate->clear();
    m_endDate->clear();
    m_dateField->setCurrentText(QString());
    m_order->clear();
    if (m_filter->isEnabled() && m_filter->isVisible()) m_filter->clear();
    buildAndRun();
}

void TF_PESQC::returnRow() {
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
    if (row < 0 || row >= m_model.rowCount()) return;
    data::ReturnedValueList& returned = data::ReturnedValues();
    returned = {};
    QString fields = m_returnFields->text();
    fields.replace(u';', u',');
    fields.remove(u' ');
    const QStringList names = fields.split(u',', Qt::SkipEmptyParts).mid(0, 10);
    const QList<QueryColumn>& columns = m_model.columns();
    if (!names.isEmpty()) {
        for (int i = 0; i < names.size(); ++i) {
            QString name = names.at(i).toUpper();
            if (name.startsWith(u"A."_s) || name.startsWith(u"B."_s)) name = name.mid(2);
            for (int c = 0; c < columns.size(); ++c)
                if (columns.at(c).name.toUpper() == name) {
                    returned.values[std::size_t(i)] = m_model.index(row, c).data().toString();
                    break;
                }
            returned.rowChosen = returned.rowChosen || !returned.values[std::size_t(i)].isEmpty();
        }
    } else {
        for (int c = 0; c < std::min(int(columns.size()), data::ReturnedValueList::Size); ++c)
            returned.values[std::size_t(c)] = m_model.index(row, c).data().toString();
        returned.rowChosen = true;
    }
    accept();
}

void TF_PESQC::orderByColumn(int column) {
    if (column < 0 || column >= m_model.columnCount()) return;
    QStringList names;
    for (const QueryColumn& info : m_model.columns())
        names << info.name;
    m_order->setText(OrderForColumn(names.at(column), m_order->text(), settings(), names));
    buildAndRun();
}

void TF_PESQC::countRows() {
    const QString branch = m_branch->text().trimmed();
    const QString where = branch.isEmpty() ? QString() : u"FILIAL = "_s + Quote(branch);
    m_rowCount->setText(QString::number(data::CountRows(m_table->text(), where, queryDatabase())));
}

void TF_PESQC::chooseFilter() {
    data::ReturnedValues() = {};
    platform::OpenWindow(u"SELF"_s, this, {u"SQL"_s, m_table->text(), m_filter->text()});
    if (!data::ReturnedValues().rowChosen) return;
    m_filter->setText(StarToLike(JoinConditions(data::ReturnedValues().values[0])));
}

void TF_PESQC::chooseColumns(QLineEdit* target, const QString& source) {
    data::ReturnedValues() = {};
    QString current = target->text();
    current.replace(u',', u'#');
    platform::OpenWindow(u"SELC"_s, this, {u"ARQUIVO"_s, source, current});
    if (!data::ReturnedValues().rowChosen) return;
    QString chosen = data::ReturnedValues().values[0];
    target->setText(chosen.replace(u'#', u','));
    buildAndRun();
}

void TF_PESQC::chooseJoinField(QComboBox* target, const QString& table) {
    if (table.trimmed().isEmpty()) return;
    data::ReturnedValues() = {};
    platform::OpenWindow(u"SELC"_s, this, {u"ARQUIVO#1"_s, table, QString()});
    if (data::ReturnedValues().rowChosen)
        target->setCurrentText(TextBefore(data::ReturnedValues().values[0], u"#"_s));
}

QList<int> TF_PESQC::columnWidths() const {
    QList<int> widths;
    for (int c = 0; c < m_model.columnCount(); ++c)
        widths << m_grid->columnWidth(c);
    return widths;
}

QString TF_PESQC::askExportFile(const QString& filter, const QString& extension) {
    const auto chosen =
        platform::AskSaveFileName(this, u"Exportar"_s, tempFolder(), filter, extension.mid(1));
    if (!chosen) return {};
    const QFileInfo info(*chosen);
    const QString name = info.absolutePath() + u"/"_s + ExportFileName(info.fileName(), extension);
    if (QFileInfo::exists(name)) {
        QMessageBox box(QMessageBox::Question, u"Substituir ?"_s,
                        u"Arquivo Já Existe ("_s + name + u")"_s,
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setObjectName(u"REPLACE_BOX"_s);
        if (box.exec() != QMessageBox::Ok) return {};
    }
    return name;
}

namespace {

// The export's progress with its "Cancelar" button; asked between rows.
class ExportProgress {
  public:
    explicit ExportProgress(QWidget* parent)
        : m_dialog(u"Exportando..."_s, u"Cancelar"_s, 0, 0, parent) {
        m_dialog.setObjectName(u"EXPORT_PROGRESS"_s);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
    }
    std::function<bool()> cancelled() {
        return [this] {
            if (++m_rows % 200 == 0) QApplication::processEvents();
            return m_dialog.wasCanceled();
        };
    }

  private:
    QProgressDialog m_dialog;
    int m_rows = 0;
};

} // namespace

void TF_PESQC::exportText() {
    if (!m_model.isOpen()) return;
    const QString name = askExportFile(u"Texto (*.Txt)"_s, u".TXT"_s);
    if (name.isEmpty()) return;
    ExportProgress progress(this);
    const ExportResult result = ExportText(m_model, name, progress.cancelled());
    if (result.status == ExportResult::Status::Failed)
        platform::ShowError(this, result.error);
    else if (result.status == ExportResult::Status::Written)
        platform::ShowMessage(this, u"Exportação Concluída"_s);
}

void TF_PESQC::exportWorkbook() {
    if (!m_model.isOpen()) return;
    const QString name = askExportFile(u"Planilha (*.xlsx)"_s, u".XLSX"_s);
    if (name.isEmpty()) return;
    ExportProgress progress(this);
    const ExportResult result = ExportWorkbook(m_model, name, columnWidths(), progress.cancelled());
    if (result.status == ExportResult::Status::Failed)
        platform::ShowError(this, result.error);
    else if (result.status == ExportResult::Status::Written)
        platform::ShowMessage(this, u"Exportação Concluída"_s);
}

void TF_PESQC::openWorkbook() {
    const auto path = platform::ChooseFileToOpen(this, u"Abrir arquivo do Excel"_s, tempFolder(),
                                                 u"Planilhas (*.xlsx *.xls);;Todos (*)"_s);
    if (!path) return;
    if (!QFileInfo::exists(*path)) {
        platform::ShowMessage(this, u"Arquivo não localizado - "_s + *path);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(*path)))
        platform::ShowError(this, u"Não foi possível abrir o arquivo "_s + *path +
                                      u" com o aplicativo padrão da área de trabalho."_s);
}

void TF_PESQC::printGrid() {
    QList<print::GridColumn> columns;
    const QList<QueryColumn>& info = m_model.columns();
    for (int c = 0; c < info.size(); ++c)
        columns << print::GridColumn{info.at(c).name, m_grid->columnWidth(c), info.at(c).numeric()};
    print::TF_PRINTGRID window(columns, m_model, m_title->text(), this);
    window.exec();
}

void TF_PESQC::saveConfiguration() {
    const QString folder = tempFolder();
    const auto chosen =
        platform::AskSaveFileName(this, u"Salvar configuração"_s, folder + m_parFile->text(),
                                  u"Parâmetros (*.Par)"_s, u"PAR"_s);
    if (!chosen) return;
    const QFileInfo info(*chosen);
    QStringList lines = ParFileLines(settings());
    WriteLinesFile(info.absolutePath() + u"/"_s + ParFileName(info.fileName()), lines);
}

void TF_PESQC::openConfiguration() {
    const auto chosen = platform::ChooseFileToOpen(this, u"Abrir configuração"_s, tempFolder(),
                                                   u"Parâmetros (*.Par *.PAR);;Todos (*)"_s);
    if (chosen) openParFile(*chosen);
}

void TF_PESQC::openParFile(const QString& path) {
    QStringList lines;
    if (!ReadLinesFile(path, lines)) return;
    QuerySettings s = settings();
    ApplyParFileLines(lines, s);
    s.table = data::ResolveTableName(s.table);
    setSettings(s);
    buildAndRun();
}

void TF_PESQC::runSqlQuery() {
    const QString text = m_memo->toPlainText();
    data::AuditLog(m_table->text(), u"PESQC (SQL): "_s + text);
    QString error;
    if (!openStatement(text, &error)) platform::ShowError(this, u"Erro na execução"_s);
}

void TF_PESQC::runSqlStatement() {
    const QString text = m_memo->toPlainText();
    data::AuditLog(m_table->text(), u"PESQC (SQL): "_s + text);
    if (!data::ExecStatement(m_table->text(), text, queryDatabase()))
        platform::ShowError(this, u"Erro na execução"_s);
}

bool TF_PESQC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == m_grid) {
            if (enter) {
                returnRow();
                return true;
            }
            if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
                const int row = m_grid->currentIndex().row() + (key == Qt::Key_PageDown ? 1 : -1);
                if (row >= 0 && row < m_model.rowCount()) m_grid->selectRow(row);
                return true;
            }
        } else if (enter && (watched == m_value1 || watched == m_value2)) {
            buildAndRun();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_PESQC::saveSettingsOnClose() {
    if (!m_secondTable->currentText().trimmed().isEmpty()) m_order->clear();
    const QString table = m_table->text();
    if (table.isEmpty()) return;
    const QStringList lines = SavedSettingsLines(settings(), m_lastStatement, m_storedLines);
    data::ParamLines().clear(40);
    for (int i = 0; i < lines.size(); ++i)
        data::ParamLines().setLine(i + 1, lines.at(i));
    data::ParamWrite(data::DatabaseFor(table),
                     SavedSettingsKey(data::Globals().user.name, table, m_configSuffix->text()),
                     40);
}

void TF_PESQC::done(int result) {
    if (!m_closing) {
        m_closing = true;
        saveSettingsOnClose();
        m_model.close();
    }
    QDialog::done(result);
}

bool OpenQueryWindow(QWidget* parent, const QString& table, const QString& returnFields,
                     const QString& firstValue, const QString& orderBy, const QString& firstField,
                     const QString& columns, const QString& filter, const QString& databaseNumber) {
    data::ReturnedValues() = {};
    TF_PESQC window(parent);
    QuerySettings s = window.settings();
    s.table = data::ResolveTableName(table);
    s.returnFields = returnFields;
    s.value1 = firstValue;
    s.order = orderBy;
    s.field1 = firstField;
    s.columns = columns;
    s.filter = filter;
    if (!databaseNumber.isEmpty()) s.databaseNumber = databaseNumber;
    window.setSettings(s);
    window.exec();
    return data::ReturnedValues().rowChosen;
}

void RegisterQueryWindows() {
    platform::RegisterWindow(u"PESQC"_s, [](QWidget* parent, const QStringList& a) {
        OpenQueryWindow(parent, a.value(0), a.value(1), a.value(2), a.value(3), a.value(4),
                        a.value(5), a.value(6), a.value(7));
    });
    platform::RegisterWindow(u"PRINTGRID"_s, [](QWidget* parent, const QStringList& a) {
        data::Connection* database = data::DatabaseFor(a.value(1));
        if (!database) return;
        QueryModel model;
        try {
            model.open(*database, a.value(2));
        } catch (const data::DbError& error) {
            platform::ShowError(parent, error.message());
            return;
        }
        QList<print::GridColumn> columns;
        for (const QueryColumn& info : model.columns())
            columns << print::GridColumn{info.name, DefaultColumnPixels(info), info.numeric()};
        print::TF_PRINTGRID window(columns, model, a.value(0), parent);
        window.exec();
    });
}

} // namespace livrax::tools
