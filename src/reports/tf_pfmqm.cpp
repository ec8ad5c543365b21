#include "reports/tf_pfmqm.h"

#include "common/dates.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/rights.h"
#include "data/routing.h"
#include "expr/macros.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/window_registry.h"
#include "print/print_job.h"
#include "reports/key_lines.h"
#include "reports/report_files.h"
#include "reports/report_manager.h"
#include "reports/report_run.h"
#include "reports/report_selection.h"
#include "reports/tf_pdocs.h"
#include "reports/tf_pr.h"
#include "tools/pick_lists.h"
#include "tools/tf_pesqc.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

constexpr int FirstBox = 11;
constexpr int ListColumns = 4;
constexpr int InitialRows = 20;
// FMQ_OPERACAO in the registry values.
constexpr std::size_t OperationValue = 9;

void SetOperation(const QString& letter) {
    data::Globals().registry.fmq[OperationValue] = letter;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, const QString& hint = {}) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

int ChoiceIndex(const QGroupBox* group) {
    const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
    for (qsizetype i = 0; i < buttons.size(); ++i)
        if (buttons.at(i)->isChecked()) return int(i);
    return 2;
}

void SetChoice(QGroupBox* group, const QString& value) {
    // A value that sorts below "1" (blank, "0") is "TODOS".
    const int index = value.trimmed() < u"1"_s ? 2 : std::clamp(value.toInt() - 1, 0, 2);
    group->findChildren<QRadioButton*>().at(index)->setChecked(true);
}

// A masked date edit left blank gives its separators alone ("//" or
// "  /  /  "); that is no date.
QString DateText(const QLineEdit* edit) {
    const QString text = edit->text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) ? text
                                                                                      : QString();
}

} // namespace

TF_PFMQM::TF_PFMQM(const QString& tableText, const QString& key, QWidget* parent)
    : FormWindow(u"TF_PFMQM"_s, u"F_PFMQM - Seleção de Relatórios"_s, parent), m_givenKey(key) {
    m_menu = MenuForTable(tableText.section(u'#', 0, 0).trimmed().toUpper(), key);

    // The button panel.
    m_panel = new QWidget(this);
    m_panel->setObjectName(u"PA_BUTTONPRINT"_s);
    auto* panel = new QHBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    m_runner = addButton(m_panel, u"BU_PR"_s, u"PR"_s);
    QPushButton* leave = addButton(m_panel, u"BU_SAIR"_s, u"Sair"_s, u"Sair"_s);
    m_print = addButton(m_panel, u"BU_IMPRIMIR"_s, u"Imprimir"_s);
    m_preview = addButton(m_panel, u"BU_VISAO"_s, u"Visão"_s);
    QPushButton* search =
        addButton(m_panel, u"BU_PESQUISA"_s, u"Consultar"_s, u"Pesquisa no Cadastro"_s);
    m_format =
        addButton(m_panel, u"BU_FORMATAR"_s, u"Formatar"_s, u"Formatar Campos do relatório"_s);
    for (QPushButton* button : {m_runner, leave, m_print, m_preview, search, m_format})
        panel->addWidget(button);
    panel->addStretch(1);
    mainLayout()->addWidget(m_panel);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PC_GERAL"_s);
    mainLayout()->addWidget(m_pages, 1);

    // "MENU".
    m_menuPage = new QWidget(m_pages);
    m_menuPage->setObjectName(u"TS_MENU"_s);
    auto* menuLayout = new QGridLayout(m_menuPage);
    menuLayout->addWidget(new QLabel(u"<b>Seleção de Relatórios</b>"_s, m_menuPage), 0, 0, 1, 3);
    m_fileLabel = new QLabel(m_menuPage);
    m_fileLabel->setObjectName(u"LA_TARQ"_s);
    menuLayout->addWidget(new QLabel(u"Arquivo:"_s, m_menuPage), 1, 0);
    menuLayout->addWidget(m_fileLabel, 1, 1);
    m_sequence = NewEdit(m_menuPage, u"E_TSEQ"_s);
    m_sequence->setReadOnly(true);
    m_sequence->setText(u"000"_s);
    m_sequence->setMaximumWidth(50);
    menuLayout->addWidget(m_sequence, 1, 2);
    m_titleLabel = new QLabel(m_menuPage);
    m_titleLabel->setObjectName(u"LA_TITULO"_s);
    menuLayout->addWidget(new QLabel(u"TÍTULO"_s, m_menuPage), 2, 0);
    menuLayout->addWidget(m_titleLabel, 2, 1, 1, 2);

    m_list = new QTableWidget(InitialRows, ListColumns, m_menuPage);
    m_list->setObjectName(u"LISTBOX_MENU"_s);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 50);
    m_list->setColumnWidth(1, 380);
    menuLayout->addWidget(m_list, 3, 0, 1, 3);

    auto* moves = new QVBoxLayout;
    QPushButton* up =
        addButton(m_menuPage, u"BU_SEL_ACIMA"_s, u"▲▲"_s, u"Desloca o item atual para cima"_s);
    QPushButton* down =
        addButton(m_menuPage, u"BU_SEL_ABAIXO"_s, u"▼▼"_s, u"Desloca o item atual para baixo"_s);
    QPushButton* stepUp =
        addButton(m_menuPage, u"BU_SOBE"_s, u"▲"_s, u"Posiciona a seleção uma posição acima"_s);
    QPushButton* stepDown =
        addButton(m_menuPage, u"BU_DESCE"_s, u"▼"_s, u"Posiciona a seleção uma posição abaixo"_s);
    for (QPushButton* button : {up, down, stepUp, stepDown})
        moves->addWidget(button);
    moves->addStretch(1);
    menuLayout->addLayout(moves, 3, 3);

    m_databaseLabel = new QLabel(m_menuPage);
    m_databaseLabel->setObjectName(u"LA_DATABASE"_s);
    menuLayout->addWidget(m_databaseLabel, 4, 0, 1, 3);

    m_newGroup = new QGroupBox(m_menuPage);
    m_newGroup->setObjectName(u"GRU_NOVO"_s);
    auto* newLayout = new QHBoxLayout(m_newGroup);
    QPushButton* create = addButton(m_newGroup, u"BU_NOVOREL"_s, u"Novo  Relatório"_s);
    QPushButton* copy = addButton(m_newGroup, u"BU_COPIA_REL"_s, u"Copia  Relatório"_s);
    QPushButton* remove = addButton(m_newGroup, u"BU_EXCLUI"_s, u"Exclui  Relatório"_s);
    for (QPushButton* button : {create, copy, remove})
        newLayout->addWidget(button);
    menuLayout->addWidget(m_newGroup, 5, 0, 1, 2);

    auto* last = new QGroupBox(u"Última Formatação"_s, m_menuPage);
    auto* lastLayout = new QVBoxLayout(last);
    m_lastUser = new QLabel(last);
    m_lastUser->setObjectName(u"LA_ULTF_USUARIO"_s);
    m_lastDate = new QLabel(last);
    m_lastDate->setObjectName(u"LA_ULTF_DATA"_s);
    lastLayout->addWidget(m_lastUser);
    lastLayout->addWidget(m_lastDate);
    menuLayout->addWidget(last, 5, 2, 1, 2);
    m_pages->addTab(m_menuPage, u"MENU"_s);

    // "SELEÇÃO".
    m_selectionPage = new QWidget(m_pages);
    m_selectionPage->setObjectName(u"TS_SELECAO"_s);
    auto* selection = new QGridLayout(m_selectionPage);
    m_initialDate = print::NewDateEdit(u"SEL_DTINICIAL"_s, m_selectionPage);
    m_finalDate = print::NewDateEdit(u"SEL_DTFINAL"_s, m_selectionPage);
    m_dateField = new QComboBox(m_selectionPage);
    m_dateField->setObjectName(u"SEL_DTCOMBO"_s);
    m_dateField->setEditable(true);
    m_page = NewEdit(m_selectionPage, u"SEL_PAGINA"_s);
    m_page->setMaxLength(4);
    m_page->setText(u"1"_s);
    selection->addWidget(new QLabel(u"DATA INICIAL"_s, m_selectionPage), 0, 0);
    selection->addWidget(m_initialDate, 0, 1);
    selection->addWidget(new QLabel(u"DATA FINAL"_s, m_selectionPage), 0, 2);
    selection->addWidget(m_finalDate, 0, 3);
    selection->addWidget(new QLabel(u"CAMPO"_s, m_selectionPage), 1, 0);
    selection->addWidget(m_dateField, 1, 1);
    selection->addWidget(new QLabel(u"Página"_s, m_selectionPage), 1, 2);
    selection->addWidget(m_page, 1, 3);
    for (int i = 0; i < SelectionBoxes; ++i) {
        auto* label = new QLabel(m_selectionPage);
        label->setObjectName(u"WWSELLABEL%1"_s.arg(FirstBox + i));
        auto* edit = NewEdit(m_selectionPage, u"WWSELCAMPO%1"_s.arg(FirstBox + i),
                             u"XXX or YYY     %XXX%"_s);
        label->hide();
        edit->hide();
        selection->addWidget(label, 2 + i, 0);
        selection->addWidget(edit, 2 + i, 1);
        m_boxLabels.append(label);
        m_boxEdits.append(edit);
    }
    for (int i = 0; i <= SelectionBoxes; ++i) {
        auto* group = new QGroupBox(m_selectionPage);
        group->setObjectName(i < SelectionBoxes ? u"RG%1"_s.arg(i + 1) : u"RGCOND1"_s);
        auto* groupLayout = new QHBoxLayout(group);
        for (int item = 0; item < 3; ++item) {
            auto* radio = new QRadioButton(item == 2 ? u"TODOS"_s : QString(), group);
            radio->setObjectName(group->objectName() + u'_' + QString::number(item));
            groupLayout->addWidget(radio);
        }
        group->findChildren<QRadioButton*>().at(2)->setChecked(true);
        group->hide();
        selection->addWidget(group, 2 + i, 2, 1, 2);
        m_choices.append(group);
    }
    auto* currency = new QGroupBox(u"Moeda"_s, m_selectionPage);
    auto* currencyLayout = new QFormLayout(currency);
    m_currencyTitle = NewEdit(currency, u"E_TITMOEDA"_s, u"Título da Moeda [GB_TITMOEDA]"_s);
    m_currencyValue = NewEdit(currency, u"E_VALMOEDA"_s, u"Valor da Moeda [GB_VALMOEDA]"_s);
    currencyLayout->addRow(u"Título"_s, m_currencyTitle);
    currencyLayout->addRow(u"Valor"_s, m_currencyValue);
    selection->addWidget(currency, 12, 0, 1, 2);
    auto* varSql = new QGroupBox(u"[VARSQL]"_s, m_selectionPage);
    auto* varSqlLayout = new QHBoxLayout(varSql);
    m_varSql = NewEdit(varSql, u"E_VARSQL"_s);
    varSqlLayout->addWidget(m_varSql);
    selection->addWidget(varSql, 12, 2, 1, 2);
    m_pages->addTab(m_selectionPage, u"SELEÇÃO"_s);

    // Menus.
    QMenu* file = fileMenu();
    QAction* before = file->actions().value(0);
    const auto fileAction = [&](const QString& caption, auto slot) {
        QAction* action = new QAction(caption, this);
        connect(action, &QAction::triggered, this, slot);
        file->insertAction(before, action);
        return action;
    };
    fileAction(u"Configura  Campos da Seleção/Senhas"_s, &TF_PFMQM::configureSelection);
    fileAction(u"Moeda do Dia"_s, &TF_PFMQM::setCurrencyOfDay);
    fileAction(u"Exportar para TXT"_s, &TF_PFMQM::openRunner);
    fileAction(u"Exportar Formatação (IB)"_s, &TF_PFMQM::exportDefinitions);
    fileAction(u"Importar Formatação (IB)"_s, &TF_PFMQM::importDefinitions);
    fileAction(u"Importar formatação NEXORW (paradox)"_s, &TF_PFMQM::importOldFormat);
    if (auto* bar = findChild<QMenuBar*>()) {
        QMenu* operations = new QMenu(u"&Operações"_s, bar);
        bar->insertMenu(bar->actions().value(1), operations);
        operations->addAction(u"Imprimir Tela"_s, QKeySequence(u"Ctrl+T"_s), this,
                              [this] { runTo(u"I"_s); });
        operations->addAction(u"Visão"_s, QKeySequence(u"Ctrl+P"_s), this,
                              [this] { runTo(u"V"_s); });
        operations->addAction(u"Novo"_s, QKeySequence(Qt::Key_F1), this, &TF_PFMQM::newReport);
        operations->addAction(u"Copiar"_s, QKeySequence(Qt::Key_F2), this, &TF_PFMQM::copyReport);
    }

    connect(leave, &QPushButton::clicked, this, &QWidget::close);
    connect(m_print, &QPushButton::clicked, this, [this] { runTo(u"I"_s); });
    connect(m_preview, &QPushButton::clicked, this, [this] { runTo(u"V"_s); });
    connect(m_runner, &QPushButton::clicked, this, &TF_PFMQM::openRunner);
    connect(search, &QPushButton::clicked, this, &TF_PFMQM::query);
    connect(m_format, &QPushButton::clicked, this, &TF_PFMQM::format);
    connect(create, &QPushButton::clicked, this, &TF_PFMQM::newReport);
    connect(copy, &QPushButton::clicked, this, &TF_PFMQM::copyReport);
    connect(remove, &QPushButton::clicked, this, &TF_PFMQM::deleteReport);
    connect(up, &QPushButton::clicked, this, [this] { moveReport(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveReport(+1); });
    connect(stepUp, &QPushButton::clicked, this, [this] {
        if (m_number <= 1) return;
        setCurrentNumber(m_number - 1);
        selectRow(m_number);
        m_pages->setCurrentWidget(m_menuPage);
    });
    connect(stepDown, &QPushButton::clicked, this, [this] {
        setCurrentNumber(m_number + 1);
        selectRow(m_number);
        m_pages->setCurrentWidget(m_menuPage);
    });
    connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) setCurrentNumber(row + 1);
    });
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row) {
        setCurrentNumber(row + 1);
        if (m_list->selectionModel()->selectedRows().size() == 1)
            m_pages->setCurrentWidget(m_selectionPage);
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_pages->widget(index) == m_selectionPage)
            loadSelection();
        else
            saveSelection();
    });
    connect(m_initialDate, &QLineEdit::textEdited, this, [this] { m_initialDateEdited = true; });
    connect(m_initialDate, &QLineEdit::editingFinished, this, [this] {
        if (!m_initialDateEdited) return;
        m_initialDateEdited = false;
        if (IsValidShortDate(m_initialDate->text()))
            m_finalDate->setText(LastDayOfMonthShort(m_initialDate->text()));
    });

    // Rights: position 7 the button panel, position 8 "Formatar" and the
    // group of new, copied and deleted reports. A "PDO_" menu shows them all.
    const bool all = m_menu.key.startsWith(u"PDO_"_s);
    m_panel->setVisible(all || data::HasRight(data::right::ReportPanel));
    m_format->setVisible(all || data::HasRight(data::right::ReportFormat));
    m_newGroup->setVisible(!m_format->isHidden());

    resize(720, 600);
    installConventions();
}

QPushButton* TF_PFMQM::addButton(QWidget* parent, const QString& name, const QString& caption,
                                 const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

void TF_PFMQM::loadSettings() {
    data::RegistryValues& registry = data::Globals().registry;
    registry.fmqPrinted = false;
    m_databaseLabel->setText(m_menu.database ? m_menu.database->path() : QString());
    buildSelectionControls();
    fillList();
    setCurrentNumber(1);
    selectRow(m_number);
    m_pages->setCurrentWidget(m_menuPage);
    loadSelection();
}

void TF_PFMQM::buildSelectionControls() {
    MenuSelectionConfig config;
    ReadMenuSelection(m_menu.database, MenuSelectionKey(m_menu), config);
    for (int i = 0; i < SelectionBoxes; ++i) {
        const SingleSelection& single = config.singles[std::size_t(i)];
        const bool shown = !single.field.trimmed().isEmpty();
        m_boxLabels[i]->setText(single.title);
        m_boxLabels[i]->setVisible(shown);
        m_boxEdits[i]->clear();
        m_boxEdits[i]->setInputMask(single.type == u"D"_s ? u"99/99/99;_"_s : QString());
        m_boxEdits[i]->setVisible(shown);
        const ChoiceSelection& choice = config.multiples[std::size_t(i)];
        QList<QRadioButton*> radios = m_choices[i]->findChildren<QRadioButton*>();
        radios[0]->setText(choice.firstTitle);
        radios[1]->setText(choice.secondTitle);
        m_choices[i]->setVisible(!choice.firstTitle.trimmed().isEmpty());
    }
    QList<QRadioButton*> between = m_choices.last()->findChildren<QRadioButton*>();
    between[0]->setText(config.betweenFields.firstTitle);
    between[1]->setText(config.betweenFields.secondTitle);
    m_choices.last()->setVisible(!config.betweenFields.firstTitle.trimmed().isEmpty());
}

bool TF_PFMQM::saveSettings() {
    // A number without a report has no selection to keep. A selection that
    // could not be written is not lost silently: false keeps the window
    // open and tells the user, as a refused save does in the other windows.
    return !hasReport(m_number) || saveSelection();
}

void TF_PFMQM::showEvent(QShowEvent* event) {
    FormWindow::showEvent(event);
    if (m_panel->isHidden() && !m_refused) {
        m_refused = true;
        QTimer::singleShot(0, this, [this] {
            platform::ShowMessage(this, u"Usuário não autorizado para utilizar este programa"_s);
            close();
        });
    }
}

void TF_PFMQM::fillList() {
    const QList<ReportEntry> entries = ListReports(m_menu);
    int rows = InitialRows;
    for (const ReportEntry& entry : entries)
        rows = qMax(rows, entry.number.toInt() + 21);
    m_list->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 2; ++column) {
            QTableWidgetItem* item = m_list->item(row, column);
            if (!item) m_list->setItem(row, column, item = new QTableWidgetItem);
            item->setText(column == 0 ? ReportNumber(row + 1) : QString());
            // A row emptied by a delete or a move holds no report any more.
            item->setData(Qt::UserRole, QVariant());
        }
    }
    for (const ReportEntry& entry : entries) {
        const int number = entry.number.toInt();
        if (number >= 1 && number <= rows) m_list->item(number - 1, 1)->setText(entry.title);
        if (number >= 1 && number <= rows) m_list->item(number - 1, 1)->setData(Qt::UserRole, true);
    }
    m_titleLabel->setText(titleOf(m_number));
}

QString TF_PFMQM::titleOf(int number) const {
    const QTableWidgetItem* item = m_list->item(number - 1, 1);
    return item ? item->text() : QString();
}

bool TF_PFMQM::hasReport(int number) const {
    const QTableWidgetItem* item = m_list->item(number - 1, 1);
    return item && item->data(Qt::UserRole).toBool();
}

void TF_PFMQM::setCurrentNumber(int number) {
    number = qMax(1, number);
    const bool changed = number != m_number;
    // Typed selection values belong to the report they were typed for.
    if (changed && m_pages->currentWidget() == m_selectionPage) saveSelection();
    m_number = number;
    if (m_number > m_list->rowCount()) m_list->setRowCount(m_number + 21);
    m_sequence->setText(ReportNumber(m_number));
    m_titleLabel->setText(titleOf(m_number));
    m_fileLabel->setText(DefinitionKey(m_menu, m_number));
    SetCurrentReport(m_menu, m_number);
    QStringList lines;
    ReadKeyLines(m_menu.database, DefinitionKey(m_menu, m_number), lines);
    const LineFields first(lines.value(0), 34);
    m_lastUser->setText(first.at(33));
    m_lastDate->setText(first.at(34));
    m_secondaryTable = LineFields(lines.value(9), 1).at(1).trimmed();
    fillDateFields();
    // The selection page always shows the current report's selection, so a
    // run never stores one report's selection under another.
    if (changed) loadSelection();
}

void TF_PFMQM::fillDateFields() {
    // With a secondary table the columns are named "A.X" and "S.X", as the
    // report's statement names them.
    const QStringList tables = m_secondaryTable.isEmpty() ? QStringList{m_menu.tableCode}
                                                          : QStringList{u"A."_s + m_menu.tableCode,
                                                                        u"S."_s + m_secondaryTable};
    if (tables == m_dateFieldTables) return;
    m_dateFieldTables = tables;
    tools::FillDateFieldCombo(m_dateField, tables.value(0), tables.value(1));
}

void TF_PFMQM::selectRow(int number) {
    const QSignalBlocker blocker(m_list);
    m_list->clearSelection();
    m_list->setCurrentCell(number - 1, 0);
    m_list->selectRow(number - 1);
}

QList<int> TF_PFMQM::selectedNumbers() const {
    QList<int> numbers;
    for (const QModelIndex& index : m_list->selectionModel()->selectedIndexes())
        if (!numbers.contains(index.row() + 1)) numbers.append(index.row() + 1);
    std::sort(numbers.begin(), numbers.end());
    if (numbers.isEmpty()) numbers.append(m_number);
    return numbers;
}

void TF_PFMQM::loadSelection() {
    LastSelection selection;
    ReadLastSelection(m_menu.database, SelectionKey(m_menu, m_number), selection);
    m_initialDate->setText(AddMonths(selection.initialDate, 0));
    m_finalDate->setText(AddMonths(selection.finalDate, 0));
    m_dateField->setCurrentText(selection.dateField);
    m_page->setText(selection.firstPage.trimmed().isEmpty() ? u"1"_s
                                                            : selection.firstPage.trimmed());
    m_currencyTitle->setText(selection.currencyTitle);
    m_currencyValue->setText(selection.currencyValue);
    for (int i = 0; i < SelectionBoxes; ++i) {
        QString value = selection.values[std::size_t(i)];
        if (value == m_boxEdits[i]->objectName()) value.clear();
        m_boxEdits[i]->setText(value);
        SetChoice(m_choices[i], selection.choices[std::size_t(i)]);
    }
    SetChoice(m_choices.last(), selection.betweenFieldsChoice);
    m_varSql->setText(selection.varSql.trimmed());
    m_initialDateEdited = false;
}

bool TF_PFMQM::saveSelection() {
    if (!hasReport(m_number)) return false;
    LastSelection selection;
    ReadLastSelection(m_menu.database, SelectionKey(m_menu, m_number), selection);
    selection.initialDate = DateText(m_initialDate);
    selection.finalDate = DateText(m_finalDate);
    selection.dateField = m_dateField->currentText();
    selection.firstPage = QString::number(qMax(1, m_page->text().trimmed().toInt()));
    selection.currencyTitle = m_currencyTitle->text();
    selection.currencyValue = m_currencyValue->text();
    for (int i = 0; i < SelectionBoxes; ++i) {
        // A date box left blank holds its separators alone: no value.
        QString value =
            m_boxEdits[i]->inputMask().isEmpty() ? m_boxEdits[i]->text() : DateText(m_boxEdits[i]);
        while (value.endsWith(u' '))
            value.chop(1);
        selection.values[std::size_t(i)] = value;
        selection.choices[std::size_t(i)] = QString::number(ChoiceIndex(m_choices[i]) + 1);
    }
    selection.betweenFieldsChoice = QString::number(ChoiceIndex(m_choices.last()) + 1);
    selection.varSql = m_varSql->text().trimmed();
    selection.databaseName = m_menu.database ? m_menu.database->path() : QString();
    selection.tableName = data::ResolveTableName(m_menu.tableCode);
    selection.user = data::Globals().user.name;
    selection.runDate = FormatShortDate(platform::Clock::today());
    SetCurrentReport(m_menu, m_number);
    return WriteLastSelection(m_menu.database, SelectionKey(m_menu, m_number), selection);
}

bool TF_PFMQM::panelUsable(QPushButton* button) const {
    return !m_panel->isHidden() && m_panel->isEnabled() && !button->isHidden() &&
           button->isEnabled();
}

void TF_PFMQM::runTo(const QString& letter) {
    QPushButton* button = letter == u"I"_s ? m_print : m_preview;
    if (!panelUsable(button)) return;
    button->setEnabled(false);
    const auto enable = qScopeGuard([button] { button->setEnabled(true); });
    SetOperation(letter);
    if (letter == u"V"_s) {
        const QDate from = ParseDate(m_initialDate->text());
        const QDate to = ParseDate(m_finalDate->text());
        if (from.isValid() && to.isValid() && !m_dateField->currentText().trimmed().isEmpty() &&
            to < from)
            platform::ShowMessage(this, u"Data Inicial maior que data Final"_s);
    }
    saveSelection();
    data::CommitAll();
    LoadedReport report;
    QString error;
    if (!LoadReport(m_menu, m_number, report, error)) {
        platform::ShowError(this, u"Não foi possível abrir o relatório: "_s + error);
        return;
    }
    SetRunCurrency(report.selection);
    const expr::MacroRun macros;
    const BuiltQuery built = BuildReport(report, macros);
    if (!built.refusals.isEmpty()) {
        platform::ShowError(this, built.refusals.join(u'\n') + u"\nO relatório não foi montado."_s);
        return;
    }
    if (!built.ok()) return;
    KeepStatementText(built);
    SetCurrentReport(m_menu, m_number);
    SetOperation(letter);
    ReportRun run(report, built);
    const print::Destination destination =
        letter == u"I"_s ? print::Destination::Printer : print::Destination::Preview;
    try {
        runReport(
            destination, [&run](print::PrintJob& job) { run.draw(job); },
            report.definition.parameters.title,
            [&](print::PrintSettings& settings) { run.applySettings(settings); });
    } catch (const std::exception& failure) {
        platform::ShowError(this, QString::fromUtf8(failure.what()));
        return;
    }
    if (letter == u"I"_s) {
        data::RegistryValues& registry = data::Globals().registry;
        registry.fmqPrinted = true;
        if (registry.fmqClose) {
            registry.fmqClose = false;
            QTimer::singleShot(0, this, &QWidget::close);
        }
    }
}

void TF_PFMQM::openRunner() {
    if (!panelUsable(m_runner)) return;
    SetOperation(u"T"_s);
    saveSelection();
    data::CommitAll();
    TF_PR runner(m_menu, m_number, this);
    runner.exec();
}

void TF_PFMQM::format() {
    if (m_format->isHidden() || !m_format->isEnabled()) return;
    m_format->setEnabled(false);
    const int number = m_number;
    saveSelection();
    if (!platform::OpenWindow(u"PFMQF"_s, this,
                              {m_menu.tableCode, m_givenKey, ReportNumber(number)}))
        platform::ShowMessage(this, u"O editor de relatórios não está disponível."_s);
    fillList();
    setCurrentNumber(number);
    loadSelection();
    selectRow(number);
    m_format->setEnabled(true);
}

void TF_PFMQM::newReport() {
    if (m_newGroup->isHidden() || !m_newGroup->isEnabled()) return;
    const int number = FirstFreeNumber(m_menu);
    if (number == 0) {
        platform::ShowError(this, u"Não há número livre para um novo relatório neste menu."_s);
        return;
    }
    setCurrentNumber(number);
    selectRow(number);
    data::Globals().registry.fmqMenuItem = number;
    SetOperation(u"P"_s);
    format();
}

void TF_PFMQM::copyReport() {
    if (m_newGroup->isHidden() || !m_newGroup->isEnabled()) return;
    const int from = m_number;
    if (!hasReport(from)) {
        platform::ShowError(this, u"Não há relatório %1 para copiar."_s.arg(ReportNumber(from)));
        return;
    }
    const int to = FirstFreeNumber(m_menu);
    if (to == 0) {
        platform::ShowError(this, u"Não há número livre para a cópia neste menu."_s);
        return;
    }
    if (!CopyReport(m_menu, from, to)) {
        platform::ShowError(this, u"O relatório não pôde ser copiado."_s);
        return;
    }
    fillList();
    setCurrentNumber(to);
    selectRow(to);
    format();
}

void TF_PFMQM::deleteReport() {
    if (m_newGroup->isHidden() || !m_newGroup->isEnabled()) return;
    QMessageBox box(QMessageBox::Question, u"EXCLUSÃO DE REGISTRO"_s,
                    u"CONFIRMA EXCLUSÃO DO RELATÓRIO SELECIONADO ?"_s,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName(u"DELETE_QUESTION"_s);
    if (box.exec() != QMessageBox::Ok) return;
    if (!DeleteReport(m_menu, m_number, titleOf(m_number))) {
        platform::ShowError(this, u"Erro na exclusão do registro."_s);
        return;
    }
    fillList();
    setCurrentNumber(1);
    selectRow(1);
}

void TF_PFMQM::query() {
    saveSelection();
    // Its own saved settings ("FMQ"), and no run before the user asks.
    tools::TF_PESQC window(this);
    tools::QuerySettings settings = window.settings();
    settings.table = data::ResolveTableName(m_menu.tableCode);
    window.setSettings(settings);
    if (auto* suffix = window.findChild<QLineEdit*>(u"E_CONFIG_AUT"_s)) suffix->setText(u"FMQ"_s);
    if (auto* openAtStart = window.findChild<QCheckBox*>(u"CB_ABRIR"_s))
        openAtStart->setChecked(false);
    window.exec();
}

void TF_PFMQM::moveReport(int step) {
    const int from = m_number;
    const int to = from + step;
    if (to < 1 || to > LastReportNumber) return;
    saveSelection();
    if (!MoveReport(m_menu, from, to)) {
        platform::ShowError(this, u"O relatório não pôde ser movido; nada foi alterado."_s);
        return;
    }
    fillList();
    setCurrentNumber(to);
    selectRow(to);
    m_pages->setCurrentWidget(m_menuPage);
}

void TF_PFMQM::configureSelection() {
    if (!data::HasRightOnlyWithS(data::right::ReportFormat)) return;
    saveSelection();
    {
        TF_PDOCS window(m_menu, this);
        window.exec();
    }
    // The selection boxes and choices as now configured.
    buildSelectionControls();
    loadSelection();
}

void TF_PFMQM::setCurrencyOfDay() {
    const CurrencyOfDay stored = ReadCurrencyOfDay();
    QString title = stored.title;
    if (!platform::Prompt(
            title, {u"TXT=Moeda do Dia\nDigite o NOME da Moeda"_s, u"LEN=20"_s, u"TIP=AUB"_s},
            this))
        return;
    QString value = stored.value;
    if (!platform::Prompt(
            value, {u"TXT=Moeda do Dia\nDigite o VALOR da Moeda"_s, u"LEN=20"_s, u"TIP=VB"_s},
            this))
        return;
    const QString failure =
        SaveCurrencyOfDay(title, value, data::Globals().user.name, platform::Clock::today());
    if (!failure.isEmpty()) platform::ShowError(this, failure);
}

QString TF_PFMQM::startFolder() const {
    for (const QString& folder :
         {data::Globals().registry.dirTemp, data::Globals().user.tempFolder})
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return QDir(folder).absolutePath();
    return QDir::homePath();
}

void TF_PFMQM::exportDefinitions() {
    const QList<int> numbers = selectedNumbers();
    const std::optional<QString> chosen = platform::AskSaveFileName(
        this, u"Exportar Formatação"_s,
        QDir(startFolder()).filePath(DefinitionKey(m_menu, numbers.first()) + u".FMB"_s),
        u"Arquivos  A.FMB (*a.fmb *A.FMB);;Arquivos FMB (*.fmb *.FMB);;Todos arquivos (*)"_s,
        u"FMB"_s);
    if (!chosen) return;
    const QString folder = QFileInfo(*chosen).absolutePath();
    for (int number = numbers.first(); number <= numbers.last(); ++number) {
        if (!hasReport(number)) continue;
        setCurrentNumber(number);
        if (!ExportReportFiles(m_menu, number, folder)) {
            platform::ShowError(this, u"O relatório %1 não pôde ser gravado em %2."_s.arg(
                                          ReportNumber(number), folder));
            return;
        }
    }
    platform::ShowMessage(this, u"Exportação concluída no diretório - "_s + folder);
}

void TF_PFMQM::importDefinitions() {
    const std::optional<QString> chosen = platform::ChooseFileToOpen(
        this, u"Importar Formatação"_s, startFolder() + u'/',
        u"Arquivos A.FMB (%1*A.FMB %2*a.fmb);;Todos Arquivos (*)"_s.arg(
            m_fileLabel->text().left(10), m_fileLabel->text().left(10).toLower()));
    if (!chosen) return;
    ImportResult result = ImportReportFiles(m_menu.database, *chosen, false);
    if (result.outcome == ImportOutcome::Exists) {
        if (!platform::AskYesNo(this,
                                u"O relatório %1 já existe. Substituí-lo pelo do arquivo?"_s.arg(
                                    result.key.chopped(1))))
            return;
        result = ImportReportFiles(m_menu.database, *chosen, true);
    }
    switch (result.outcome) {
    case ImportOutcome::Imported:
        fillList();
        m_titleLabel->setText(result.title);
        platform::ShowMessage(this, u"Relatório %1 importado."_s.arg(result.key.chopped(1)));
        return;
    case ImportOutcome::BadName:
        platform::ShowError(this, u"O arquivo não é uma definição de relatório "
                                  u"(menu + NNN + A.FMB); nada foi importado."_s);
        return;
    case ImportOutcome::MissingCompanion:
        platform::ShowError(this, u"Faltam arquivos do relatório: %1; nada foi importado."_s.arg(
                                      result.missing.join(u", "_s)));
        return;
    default:
        platform::ShowError(this, u"O relatório não pôde ser gravado; nada foi importado."_s);
        return;
    }
}

void TF_PFMQM::importOldFormat() {
    const QList<int> numbers = selectedNumbers();
    QString prefix, extension;
    QStringList refused;
    for (int number = numbers.first(); number <= numbers.last(); ++number) {
        setCurrentNumber(number);
        const QString plain = QString::number(number);
        QString path;
        if (prefix.isEmpty()) {
            QString proposed = (m_menu.key + plain + u".FMQ"_s).toUpper();
            proposed.replace(u"FMQ_"_s, u"VR_"_s);
            const std::optional<QString> chosen = platform::ChooseFileToOpen(
                this, u"Importar formatação"_s, QDir(startFolder()).filePath(proposed),
                u"Formatações (%1*.FMQ %2*.fmq);;Todos Arquivos (*)"_s.arg(m_menu.key,
                                                                           m_menu.key.toLower()));
            if (!chosen) return;
            path = *chosen;
            const qsizetype at = path.lastIndexOf(plain + u".FMQ"_s, -1, Qt::CaseInsensitive);
            if (at < 0) {
                platform::ShowError(
                    this, u"O arquivo deve terminar em %1.FMQ; nada foi importado."_s.arg(plain));
                return;
            }
            prefix = path.left(at);
            extension = path.right(4);
        } else {
            path = prefix + plain + extension;
        }
        if (!QFileInfo(path).isFile()) continue;
        QString title;
        OldImportOutcome outcome = ImportOldFormatReport(m_menu, number, path, false, &title);
        if (outcome == OldImportOutcome::Exists) {
            if (platform::AskYesNo(this,
                                   u"O relatório %1 já existe. Substituí-lo por \"%2\"?"_s.arg(
                                       ReportNumber(number), title)))
                outcome = ImportOldFormatReport(m_menu, number, path, true, &title);
        }
        if (outcome == OldImportOutcome::NotWritten) refused.append(ReportNumber(number));
    }
    fillList();
    if (!refused.isEmpty())
        platform::ShowError(this, u"Não foram gravados os relatórios: "_s + refused.join(u", "_s));
    platform::ShowMessage(this, u"Importação concluída"_s);
}

void OpenReportManager(QWidget* parent, const QString& tableText, const QString& key) {
    QApplication::processEvents();
    const QString code = tableText.section(u'#', 0, 0).trimmed().toUpper();
    data::RegistryValues& registry = data::Globals().registry;
    registry.fmq[0] = code;
    registry.fmq[4] = key.isEmpty() ? u"FMQ_"_s + code : key;
    TF_PFMQM window(tableText, key, parent);
    window.exec();
    QApplication::processEvents();
}

} // namespace livrax::reports
