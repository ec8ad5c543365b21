#include "tools/tf_mpa.h"

#include "common/fields.h"
#include "data/catalogue.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "data/returned_values.h"
#include "data/rights.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "tools/record_mode.h"
#include "tools/tf_pesqc.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::tools {

namespace {

const QString NotAuthorised = u"Usuário não autorizado para utilizar este programa"_s;
const QString Unsaved = u"Há alterações não gravadas na tabela. Descartar as alterações?"_s;

QButtonGroup* RadioGroup(QWidget* parent, QVBoxLayout* layout, const QString& name,
                         const QString& title, const QStringList& items, int checked) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto* inner = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(name + u'_' + QString::number(i));
        button->setChecked(i == checked);
        group->addButton(button, i);
        inner->addWidget(button);
    }
    layout->addWidget(box);
    return group;
}

// A question with its own title and "OK" and "Cancel" ("Cancel" the
// default, and the answer when the box is closed); true for OK. Named
// "QUESTION_BOX" as the program's other questions.
bool Confirm(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

// A cursor that shows the hourglass while it lives.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TF_MPA::TF_MPA(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_MPA"_s);
    setWindowTitle(u"MPA - Manutenção de Arquivos"_s);
    buildControls();
    applyRights();
}

TF_MPA::~TF_MPA() = default;

QPushButton* TF_MPA::addButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (parent->layout()) parent->layout()->addWidget(button);
    return button;
}

void TF_MPA::buildControls() {
    auto* layout = new QVBoxLayout(this);
    m_toolPanel = new QWidget(this);
    m_toolPanel->setObjectName(u"PA_BUTTON"_s);
    new QHBoxLayout(m_toolPanel);
    connect(addButton(m_toolPanel, u"BU_SAIR"_s, u"Sair"_s), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(addButton(m_toolPanel, u"BU_CANCELA"_s, u"Cancela a operação"_s), &QPushButton::clicked,
            this, &TF_MPA::cancelChanges);
    connect(addButton(m_toolPanel, u"BU_CLOSE"_s, u"Fechar"_s), &QPushButton::clicked, this,
            &TF_MPA::closeTable);
    connect(addButton(m_toolPanel, u"BU_PESQUISA"_s, u"Pesquisa"_s), &QPushButton::clicked, this,
            &TF_MPA::query);
    connect(addButton(m_toolPanel, u"BU_OPEN"_s, u"Abrir"_s), &QPushButton::clicked, this,
            &TF_MPA::openTable);
    connect(addButton(m_toolPanel, u"BU_FILTRO"_s, u"Filtro"_s), &QPushButton::clicked, this,
            &TF_MPA::chooseFilter);
    connect(addButton(m_toolPanel, u"BU_PARAM"_s, u"Parâmetros - Seleciona Campos"_s),
            &QPushButton::clicked, this, &TF_MPA::chooseColumns);
    connect(addButton(m_toolPanel, u"BU_PRINTT"_s, u"Imprime Tela"_s), &QPushButton::clicked, this,
            [this] { print::PrintScreen(this); });
    connect(addButton(m_toolPanel, u"BU_ALTERA"_s, u"Alterar"_s), &QPushButton::clicked, this,
            &TF_MPA::startChanges);
    QPushButton* save = addButton(m_toolPanel, u"BU_SALVA"_s, u"Salvar"_s);
    save->setEnabled(false);
    connect(save, &QPushButton::clicked, this, &TF_MPA::saveChanges);
    m_rowCount = new QLabel(u"Reg:"_s, m_toolPanel);
    m_rowCount->setObjectName(u"LA_REG"_s);
    m_toolPanel->layout()->addWidget(m_rowCount);
    m_selectedCount = new QLabel(u"Sel."_s, m_toolPanel);
    m_selectedCount->setObjectName(u"LA_SEL"_s);
    m_toolPanel->layout()->addWidget(m_selectedCount);
    layout->addWidget(m_toolPanel);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PageControl"_s);
    m_pages->addTab(buildRegisterPage(), u"Cadastro"_s);
    m_pages->addTab(buildIndexPage(), u"Índices"_s);
    m_pages->addTab(buildChangePage(), u"Change"_s);
    m_pages->addTab(buildFieldsPage(), u"Campos"_s);
    layout->addWidget(m_pages, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(u"Arq."_s, this));
    m_tableText = new QLineEdit(this);
    m_tableText->setObjectName(u"E_ARQ"_s);
    m_tableText->setMaxLength(10);
    bottom->addWidget(m_tableText);
    connect(m_tableText, &QLineEdit::textEdited, this, [this] {
        m_databaseName->clear();
        if (!m_chosenDatabase) refreshIndexes();
    });
    m_databaseName = new QLabel(this);
    m_databaseName->setObjectName(u"LA_DATABASENAME"_s);
    bottom->addWidget(m_databaseName, 1);
    const QString numbers[3] = {u"1"_s, u"2"_s, u"5"_s};
    for (int i = 0; i < 3; ++i) {
        QComboBox* list = new QComboBox(this);
        list->setObjectName(u"E_ARQ"_s + numbers[i]);
        list->setToolTip(u"Abre tabelas Dir"_s + numbers[i]);
        bottom->addWidget(list);
        list->installEventFilter(this);
        connect(list, &QComboBox::activated, this,
                [this, list, number = numbers[i]] { chooseFromDatabaseList(list, number); });
        m_lists[i] = list;
    }
    layout->addLayout(bottom);

    // The menus: a command acts only while its tool button is enabled and visible.
    auto* menus = new QMenuBar(this);
    menus->setObjectName(u"MainMenu"_s);
    layout->setMenuBar(menus);
    const auto item = [this](QMenu* menu, const QString& name, const QString& caption,
                             const QKeySequence& keys, const QString& buttonName, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, buttonName, slot] {
            if (usable(findChild<QPushButton*>(buttonName))) (this->*slot)();
        });
    };
    QMenu* file = menus->addMenu(u"&Arquivo"_s);
    item(file, u"MI_PRINTT"_s, u"Imprime Tela"_s, QKeySequence(u"Ctrl+P"_s), u"BU_PRINTT"_s,
         &TF_MPA::printScreen);
    item(file, u"MI_OPEN"_s, u"Abrir"_s, QKeySequence(u"Ctrl+Alt+O"_s), u"BU_OPEN"_s,
         &TF_MPA::openTable);
    item(file, u"MI_CLOSE"_s, u"Fechar"_s, QKeySequence(u"Ctrl+Alt+C"_s), u"BU_CLOSE"_s,
         &TF_MPA::closeTable);
    item(file, u"MI_FILTRO"_s, u"Filtro"_s, QKeySequence(u"Ctrl+Alt+F"_s), u"BU_FILTRO"_s,
         &TF_MPA::chooseFilter);
    item(file, u"MI_SAIR"_s, u"Sair"_s, QKeySequence(Qt::Key_F12), u"BU_SAIR"_s, &TF_MPA::reject);
    QMenu* operations = menus->addMenu(u"&Operações"_s);
    item(operations, u"MI_ALTERA"_s, u"Alterar"_s, QKeySequence(Qt::Key_F2), u"BU_ALTERA"_s,
         &TF_MPA::startChanges);
    item(operations, u"MI_SALVA"_s, u"Salvar"_s, QKeySequence(Qt::Key_F3), u"BU_SALVA"_s,
         &TF_MPA::saveChanges);
    item(operations, u"MI_PESQUISA"_s, u"Pesquisar"_s, QKeySequence(Qt::Key_F6), u"BU_PESQUISA"_s,
         &TF_MPA::query);
    QAction* leave = menus->addAction(u"&Sair"_s);
    leave->setObjectName(u"MI_SAIR2"_s);
    connect(leave, &QAction::triggered, this, &QDialog::reject);
}

QWidget* TF_MPA::buildRegisterPage() {
    auto* page = new QWidget;
    page->setObjectName(u"TS_CADASTRO"_s);
    auto* layout = new QVBoxLayout(page);
    m_grid = new QTableView(page);
    m_grid->setObjectName(u"DBGrid"_s);
    m_grid->setModel(&m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_grid, 1);
    // The navigator: rows of the grid, the current row deleted, an edit posted.
    auto* navigator = new QWidget(page);
    navigator->setObjectName(u"DBNavigator"_s);
    new QHBoxLayout(navigator);
    const auto move = [this](int to) {
        if (!m_model.isOpen() || m_model.rowCount() == 0) return;
        const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
        int target = to == 0 ? 0 : to == 3 ? m_model.rowCount() - 1 : row + (to == 1 ? -1 : 1);
        if (to == 3)
            while (m_model.canFetchMore()) {
                m_model.fetchMore();
                target = m_model.rowCount() - 1;
            }
        target = std::clamp(target, 0, m_model.rowCount() - 1);
        m_grid->setCurrentIndex(m_model.index(target, 0));
    };
    const QString moves[4][2] = {{u"NAV_FIRST"_s, u"|<"_s},
                                 {u"NAV_PRIOR"_s, u"<"_s},
                                 {u"NAV_NEXT"_s, u">"_s},
                                 {u"NAV_LAST"_s, u">|"_s}};
    for (int i = 0; i < 4; ++i)
        connect(addButton(navigator, moves[i][0], moves[i][1]), &QPushButton::clicked, this,
                [move, i] { move(i); });
    connect(addButton(navigator, u"NAV_INSERT"_s, u"+"_s), &QPushButton::clicked, this,
            &TF_MPA::insertRow);
    connect(addButton(navigator, u"NAV_DELETE"_s, u"-"_s), &QPushButton::clicked, this,
            &TF_MPA::deleteRow);
    connect(addButton(navigator, u"NAV_POST"_s, u"✓"_s), &QPushButton::clicked, this,
            &TF_MPA::postEditor);
    layout->addWidget(navigator);
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(u"Índice"_s, page));
    m_indexChoice = new QComboBox(page);
    m_indexChoice->setObjectName(u"Combo_indice1"_s);
    search->addWidget(m_indexChoice);
    m_searchIndex = new QLineEdit(page);
    m_searchIndex->setObjectName(u"COMBO_INDICE"_s);
    m_searchIndex->setReadOnly(true);
    search->addWidget(m_searchIndex);
    search->addWidget(new QLabel(u"Pesquisa"_s, page));
    m_searchValue = new QLineEdit(page);
    m_searchValue->setObjectName(u"ED_PESQXX"_s);
    search->addWidget(m_searchValue);
    layout->addLayout(search);
    connect(m_indexChoice, &QComboBox::activated, this, [this] {
        m_searchIndex->setText(m_indexChoice->currentText());
        closeTable();
        m_searchValue->setFocus();
    });
    connect(m_searchValue, &QLineEdit::editingFinished, this, [this] {
        if (!m_searchValue->text().isEmpty() || m_model.isOpen()) searchValue();
    });
    return page;
}

QWidget* TF_MPA::buildIndexPage() {
    auto* page = new QWidget;
    page->setObjectName(u"TS_INDICES"_s);
    auto* layout = new QVBoxLayout(page);
    auto* create = new QHBoxLayout;
    create->addWidget(new QLabel(u"CRIAR novo Indice"_s, page));
    m_newIndex = new QComboBox(page);
    m_newIndex->setObjectName(u"Combo_novoind"_s);
    m_newIndex->setEditable(true);
    create->addWidget(m_newIndex, 1);
    auto* include = new QPushButton(u"Incluir"_s, page);
    include->setObjectName(u"BU_INCLUIR"_s);
    include->setEnabled(false);
    create->addWidget(include);
    layout->addLayout(create);
    connect(m_newIndex, &QComboBox::editTextChanged, include,
            [include] { include->setEnabled(true); });
    connect(include, &QPushButton::clicked, this, &TF_MPA::createIndex);

    auto* drop = new QHBoxLayout;
    drop->addWidget(new QLabel(u"DELETAR um índice"_s, page));
    m_dropIndex = new QComboBox(page);
    m_dropIndex->setObjectName(u"Combo_DELIND"_s);
    drop->addWidget(m_dropIndex, 1);
    auto* remove = new QPushButton(u"Deletar"_s, page);
    remove->setObjectName(u"BU_DELIND"_s);
    remove->setEnabled(false);
    drop->addWidget(remove);
    layout->addLayout(drop);
    connect(m_dropIndex, &QComboBox::activated, remove, [remove] { remove->setEnabled(true); });
    connect(remove, &QPushButton::clicked, this, &TF_MPA::dropIndex);

    auto* lists = new QHBoxLayout;
    auto* primary = new QVBoxLayout;
    primary->addWidget(new QLabel(u"Indice Primário"_s, page));
    m_primaryKey = new QListWidget(page);
    m_primaryKey->setObjectName(u"LB_IND_PRIMARIO"_s);
    primary->addWidget(m_primaryKey);
    lists->addLayout(primary);
    auto* current = new QVBoxLayout;
    auto* refresh = new QPushButton(u"Índices Atuais"_s, page);
    refresh->setObjectName(u"BU_INDICES"_s);
    connect(refresh, &QPushButton::clicked, this, &TF_MPA::refreshIndexes);
    current->addWidget(refresh);
    m_indexList = new QListWidget(page);
    m_indexList->setObjectName(u"LB_INDICE"_s);
    current->addWidget(m_indexList);
    lists->addLayout(current);
    layout->addLayout(lists);

    auto* actions = new QHBoxLayout;
    auto* zero = new QPushButton(u"ZERAR todo o Arquivo"_s, page);
    zero->setObjectName(u"BU_ZERAR"_s);
    connect(zero, &QPushButton::clicked, this, &TF_MPA::emptyTable);
    actions->addWidget(zero);
    auto* visible = new QPushButton(u"Deletar Reg. Visiveis"_s, page);
    visible->setObjectName(u"BU_DELVIS"_s);
    connect(visible, &QPushButton::clicked, this, &TF_MPA::deleteVisible);
    actions->addWidget(visible);
    auto* netlog = new QPushButton(u"Limpar campo NetLog"_s, page);
    netlog->setObjectName(u"BU_NETLOG"_s);
    actions->addWidget(netlog);
    layout->addLayout(actions);

    auto* filter = new QHBoxLayout;
    m_filterText = new QLineEdit(page);
    m_filterText->setObjectName(u"E_ARQFILTRO"_s);
    filter->addWidget(m_filterText, 1);
    auto* choose = new QPushButton(u"FILTRO"_s, page);
    choose->setObjectName(u"BU_FILTRO2"_s);
    connect(choose, &QPushButton::clicked, this, &TF_MPA::chooseFilter);
    filter->addWidget(choose);
    layout->addLayout(filter);
    connect(m_filterText, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_filter = text;
        m_changeFilter->setText(text);
    });
    return page;
}

QWidget* TF_MPA::buildChangePage() {
    auto* page = new QWidget;
    page->setObjectName(u"TS_CHANGE"_s);
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_changeField = new QComboBox(page);
    m_changeField->setObjectName(u"CB_ALTERA"_s);
    form->addRow(u"Selecione o Campo do arquivo para alterar"_s, m_changeField);
    m_changeFieldName = new QLineEdit(page);
    m_changeFieldName->setObjectName(u"E_ALTERACH"_s);
    m_changeFieldName->setReadOnly(true);
    form->addRow(QString(), m_changeFieldName);
    m_content = new QComboBox(page);
    m_content->setObjectName(u"E_CONTEUDO"_s);
    m_content->setEditable(true);
    m_content->addItems({QString(), u"DTALT"_s, u"VALOR * 12"_s, u"COPY(DTALT,4,2)"_s, u"ABC"_s});
    form->addRow(u"Conteúdo do campo para gravar no arquivo"_s, m_content);
    m_contentIsField = new QCheckBox(u"Campo do Arquivo"_s, page);
    m_contentIsField->setObjectName(u"CB_CAMPOARQ"_s);
    form->addRow(QString(), m_contentIsField);
    m_changeIndex = new QComboBox(page);
    m_changeIndex->setObjectName(u"COMBO_IND_CHANGE"_s);
    m_changeIndex->setEditable(true);
    form->addRow(u"Índice"_s, m_changeIndex);
    auto* filterRow = new QHBoxLayout;
    m_changeFilter = new QLineEdit(page);
    m_changeFilter->setObjectName(u"E_FILTRO_CHANGE"_s);
    filterRow->addWidget(m_changeFilter, 1);
    auto* choose = new QPushButton(u"F i l t r o"_s, page);
    choose->setObjectName(u"BU_FILTRO3"_s);
    connect(choose, &QPushButton::clicked, this, &TF_MPA::chooseFilter);
    filterRow->addWidget(choose);
    form->addRow(u"Filtro"_s, filterRow);
    layout->addLayout(form);

    auto* groups = new QHBoxLayout;
    auto* changeBox = new QGroupBox(u"Alterar Campos"_s, page);
    auto* changeLayout = new QVBoxLayout(changeBox);
    m_applyTo = RadioGroup(changeBox, changeLayout, u"RG_APLICAR"_s, u"Aplicar"_s,
                           {u"Em todo o arquivo"_s, u"A partir do registro selecionado"_s}, 0);
    m_function = RadioGroup(
        changeBox, changeLayout, u"RG_FUNCAO"_s, u"Função"_s,
        {u"0 - Alterar o conteúdo do Campo."_s, u"1 - Alterar o campo para letras Maiusculas."_s,
         u"2 - Eliminar Aspas simples e duplas ( ' \" )."_s,
         u"3 - Eliminar todos os Acentos das letras."_s, u"4 - Elimina Caracteres especiais"_s},
        0);
    auto* change = new QPushButton(u"Aplicar"_s, changeBox);
    change->setObjectName(u"BU_CHANGE"_s);
    change->setEnabled(false);
    changeLayout->addWidget(change);
    connect(change, &QPushButton::clicked, this, &TF_MPA::applyChange);
    groups->addWidget(changeBox);

    auto* formatBox = new QGroupBox(u"Formatar Campos"_s, page);
    auto* formatLayout = new QVBoxLayout(formatBox);
    m_format = RadioGroup(formatBox, formatLayout, u"RG_FORMAT"_s, u"Formato"_s,
                          {u"0 - Manter o Número Atual"_s, u"1 - Renumerar o Campo"_s,
                           u"2 - Adicionar o Número inicial ao Atual"_s,
                           u"3 - Colocar Zeros antes do número"_s},
                          -1);
    auto* numbers = new QFormLayout;
    m_startNumber = new QLineEdit(formatBox);
    m_startNumber->setObjectName(u"E_NUMERO_INICIAL"_s);
    numbers->addRow(u"Numero inicial"_s, m_startNumber);
    m_fieldSize = new QLineEdit(formatBox);
    m_fieldSize->setObjectName(u"E_TAM_CAMPO"_s);
    numbers->addRow(u"Tamanho Campo"_s, m_fieldSize);
    formatLayout->addLayout(numbers);
    auto* format = new QPushButton(u"Aplicar"_s, formatBox);
    format->setObjectName(u"BU_APLIC_FORMAT"_s);
    formatLayout->addWidget(format);
    connect(format, &QPushButton::clicked, this, &TF_MPA::applyFormat);
    groups->addWidget(formatBox);
    layout->addLayout(groups);

    connect(m_changeField, &QComboBox::activated, this, [this, change] {
        m_changeFieldName->setText(m_changeField->currentText());
        change->setEnabled(!m_changeField->currentText().isEmpty());
    });
    return page;
}

QWidget* TF_MPA::buildFieldsPage() {
    auto* page = new QWidget;
    page->setObjectName(u"TS_CAMPOS"_s);
    auto* layout = new QVBoxLayout(page);
    m_fieldList = new QComboBox(page);
    m_fieldList->setObjectName(u"CB_CAMPOS"_s);
    layout->addWidget(m_fieldList);
    m_memo = new QPlainTextEdit(page);
    m_memo->setObjectName(u"E_MEMO"_s);
    layout->addWidget(m_memo, 1);
    const auto showField = [this] {
        const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
        const int column = m_fieldList->currentIndex();
        m_memo->setPlainText(row < m_model.rowCount() && column >= 0
                                 ? m_model.index(row, column).data().toString()
                                 : QString());
    };
    connect(m_fieldList, &QComboBox::activated, this, showField);
    connect(m_pages, &QTabWidget::currentChanged, this, [this, page, showField](int index) {
        if (m_pages->widget(index) == page) showField();
    });
    return page;
}

void TF_MPA::printScreen() {
    print::PrintScreen(this);
}

void TF_MPA::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // Page Down and Page Up move to the next and the prior row; Enter moves
    // to the next control, except in the memo and in the grid.
    if ((key == Qt::Key_PageDown || key == Qt::Key_PageUp) && m_model.isOpen() &&
        !m_grid->hasFocus()) {
        const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
        const int next = std::clamp(row + (key == Qt::Key_PageDown ? 1 : -1), 0,
                                    std::max(0, m_model.rowCount() - 1));
        m_grid->setCurrentIndex(m_model.index(next, 0));
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_memo->hasFocus() &&
        !m_grid->hasFocus()) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TF_MPA::applyRights() {
    const data::TRecUser& user = data::Globals().user;
    if (user.level == u"9"_s) return;
    m_toolPanel->setVisible(data::HasRightOnlyWithS(data::right::TableUse));
    if (!data::HasRightOnlyWithS(data::right::TableChanges)) {
        for (const QString& name : {u"BU_ALTERA"_s, u"BU_SALVA"_s, u"BU_DELVIS"_s, u"BU_ZERAR"_s,
                                    u"NAV_INSERT"_s, u"NAV_DELETE"_s})
            findChild<QPushButton*>(name)->setVisible(false);
        m_pages->setTabVisible(2, false);
    }
}

void TF_MPA::postEditor() {
    // A cell being typed in is posted, as the navigator's post does.
    QWidget* editor = QApplication::focusWidget();
    if (!editor || editor->parentWidget() != m_grid->viewport()) return;
    Q_EMIT m_grid->itemDelegate()->commitData(editor);
    Q_EMIT m_grid->itemDelegate()->closeEditor(editor);
}

bool TF_MPA::usable(QPushButton* button) const {
    return button && button->isEnabled() && !button->isHidden();
}

void TF_MPA::setTable(const QString& text, data::Connection* database) {
    m_tableText->setText(text);
    m_chosenDatabase = database;
}

void TF_MPA::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    if (m_toolPanel->isHidden()) {
        QTimer::singleShot(0, this, [this] {
            platform::ShowMessage(this, NotAuthorised);
            reject();
        });
        return;
    }
    if (!m_tableText->text().isEmpty()) QTimer::singleShot(0, this, &TF_MPA::openTable);
}

bool TF_MPA::eventFilter(QObject* watched, QEvent* event) {
    // Focus coming back with the window or from the list's own popup is no entering.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const QString numbers[3] = {u"1"_s, u"2"_s, u"5"_s};
        for (int i = 0; i < 3; ++i)
            if (watched == m_lists[i] && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::PopupFocusReason) {
                closeTable();
                fillDatabaseList(m_lists[i], numbers[i]);
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_MPA::fillDatabaseList(QComboBox* list, const QString& number) {
    list->clear();
    list->addItem(QString());
    data::Connection* database = data::DatabaseFor(number);
    if (database && database->isConnected()) list->addItems(data::ListTables({}, database));
}

void TF_MPA::chooseFromDatabaseList(QComboBox* list, const QString& number) {
    if (list->currentText().isEmpty()) return;
    closeTable();
    m_tableText->setText(list->currentText());
    m_chosenDatabase = data::DatabaseFor(number);
    m_databaseNumber = number;
    m_pages->setCurrentIndex(0);
    m_searchValue->setFocus();
}

QString TF_MPA::typedTable() const {
    return data::ResolveTableName(m_tableText->text().trimmed());
}

MaintenanceTable TF_MPA::resolveTable(bool quiet) {
    QString error;
    MaintenanceTable table = FindMaintenanceTable(m_tableText->text(), m_chosenDatabase, &error);
    if (!table.valid() && !quiet)
        platform::ShowMessage(this, u"Não foi possivel abrir o arquivo\n"_s + error);
    return table;
}

bool TF_MPA::openRows(const QString& filter) {
    // Reading the rows again drops the grid's edits: only when the user says so.
    if (m_model.hasEdits() && !platform::AskYesNo(this, Unsaved)) return false;
    try {
        m_model.openTable(m_table, GridColumns(m_columnList), filter, m_searchIndex->text());
    } catch (const data::DbError& error) {
        platform::ShowMessage(this, u"Não foi possivel abrir o arquivo\n"_s + error.message());
        return false;
    }
    for (int column = 0; column < m_model.columnCount(); ++column)
        m_grid->setColumnHidden(column, column >= m_model.shownColumns());
    return true;
}

void TF_MPA::openTable() {
    if (m_tableText->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser informado o Arquivo"_s);
        m_tableText->setFocus();
        return;
    }
    if (!MayUseTable(typedTable(), TableCommand::Open)) return;
    if (!usable(findChild<QPushButton*>(u"BU_OPEN"_s))) return;
    const MaintenanceTable table = resolveTable(false);
    // The rule again on the table as the database names it.
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Open)) return;
    m_table = table;
    m_chosenDatabase = table.database;
    refreshIndexes();
    m_columnList = ReadColumnList(m_table);
    // The order tables are searched by order number, the trade bills by number.
    const QString base = m_table.name.left(7).toUpper();
    const QString defaultIndex =
        QStringList{u"VRTNPIS"_s, u"VRTNPIE"_s, u"VRTNPDE"_s, u"VRTNPDS"_s}.contains(base)
            ? u"PEDIDO"_s
        : base == u"VRTNDUP"_s ? u"NUMERO"_s
                               : QString();
    if (!defaultIndex.isEmpty() && TableColumns(m_table).contains(defaultIndex)) {
        m_indexChoice->setCurrentText(defaultIndex);
        m_searchIndex->setText(defaultIndex);
    }
    if (!openRows(m_filter)) return;
    m_databaseName->setText(m_table.database->path());
    m_filterText->setText(m_filter);
    m_changeFilter->setText(m_filter);
    const QStringList columns = TableColumns(m_table);
    m_changeField->clear();
    m_changeField->addItems(columns);
    m_changeField->setCurrentIndex(-1);
    m_fieldList->clear();
    for (int column = 0; column < m_model.shownColumns(); ++column)
        m_fieldList->addItem(m_model.columns().at(column).name);
    countRows();
    findChild<QPushButton*>(u"BU_OPEN"_s)->setEnabled(false);
    findChild<QPushButton*>(u"BU_CLOSE"_s)->setEnabled(true);
    findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(true);
}

void TF_MPA::closeTable() {
    if (m_tableText->text() == u"ARQ"_s) return;
    if (m_model.hasEdits() && !platform::AskYesNo(this, Unsaved)) return;
    m_model.setEditable(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model.clearEdits();
    m_model.close();
    findChild<QPushButton*>(u"BU_OPEN"_s)->setEnabled(true);
    findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(false);
    findChild<QPushButton*>(u"BU_SALVA"_s)->setEnabled(false);
}

void TF_MPA::countRows() {
    if (!m_table.valid()) return;
    m_rowCount->setText(u"Reg: "_s +
                        QString::number(data::CountRows(m_table.name, {}, m_table.database)));
    m_selectedCount->setText(u"Sel. "_s + (m_filter.trimmed().isEmpty()
                                               ? QString()
                                               : QString::number(data::CountRows(
                                                     m_table.name, m_filter, m_table.database))));
}

void TF_MPA::searchValue() {
    if (!MayUseTable(typedTable(), TableCommand::Open)) return;
    if (m_model.isOpen()) closeTable();
    if (m_model.isOpen()) return;
    const MaintenanceTable table = resolveTable(false);
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Open)) return;
    m_table = table;
    QString condition = m_filter;
    const QString field = m_searchIndex->text().section(u',', 0, 0).trimmed().toUpper();
    if (!m_searchValue->text().isEmpty() && !field.isEmpty() &&
        TableColumns(m_table).contains(field)) {
        const QString equal = field + u" = "_s + Quote(m_searchValue->text());
        condition =
            condition.trimmed().isEmpty() ? equal : u"("_s + condition + u") AND "_s + equal;
    }
    if (openRows(condition)) {
        findChild<QPushButton*>(u"BU_OPEN"_s)->setEnabled(false);
        findChild<QPushButton*>(u"BU_CLOSE"_s)->setEnabled(true);
        findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(true);
        m_grid->setCurrentIndex(m_model.index(0, 0));
    }
}

void TF_MPA::query() {
    const QString resolved = typedTable();
    if (resolved.isEmpty() || !MayUseTable(resolved, TableCommand::Search)) return;
    const QString index = m_searchIndex->text();
    // A single blank: the query opens without a stored filter.
    if (OpenQueryWindow(this, resolved, index, {}, index, index, {}, u" "_s, m_databaseNumber)) {
        m_searchValue->setText(data::ReturnedValues().values[0]);
        searchValue();
    }
}

void TF_MPA::setFilter(const QString& filter) {
    m_filter = filter;
    m_filterText->setText(filter);
    m_changeFilter->setText(filter);
}

void TF_MPA::chooseFilter() {
    const QString resolved = typedTable();
    closeTable();
    if (m_model.isOpen()) return;
    if (!platform::OpenWindow(u"SELF"_s, this, {u"SQL"_s, resolved.mid(4, 3), m_filter})) return;
    // Cancelled, the filter stays as it was and the table opens again with it.
    if (data::ReturnedValues().rowChosen)
        setFilter(QString(data::ReturnedValues().values[0]).replace(u'#', u' '));
    const MaintenanceTable table = resolveTable(true);
    if (table.valid()) m_table = table;
    countRows();
    openTable();
}

void TF_MPA::startChanges() {
    if (!m_model.isOpen() || !MayUseTable(m_table.name, TableCommand::Change)) return;
    SetRecordMode(this, u"BU_ALTERA"_s, RecordButtons::ToolBar);
    m_model.setEditable(true);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
}

void TF_MPA::saveChanges() {
    postEditor();
    if (m_model.hasEdits()) {
        const ChangeResult result = SaveRowEdits(m_table, m_model.edits());
        if (result.refused) return;
        if (!result.ok) {
            platform::ShowError(this, result.message);
            return;
        }
        m_model.clearEdits();
    }
    SetRecordMode(this, u"BU_SALVA"_s, RecordButtons::ToolBar);
    m_model.setEditable(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    openRows(m_filter);
    countRows();
}

void TF_MPA::cancelChanges() {
    m_model.clearEdits();
    m_model.setEditable(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (m_model.isOpen()) openRows(m_filter);
    SetRecordMode(this, u"BU_SALVA"_s, RecordButtons::ToolBar);
}

void TF_MPA::chooseColumns() {
    if (!usable(findChild<QPushButton*>(u"BU_PARAM"_s)) ||
        !data::HasRightOnlyWithS(data::right::TableColumns))
        return;
    const MaintenanceTable table = resolveTable(false);
    if (!table.valid()) return;
    const QString current = ReadColumnList(table);
    if (!platform::OpenWindow(u"SELC"_s, this, {u"ARQUIVO#"_s, table.name, current})) return;
    if (!data::ReturnedValues().rowChosen) return;
    m_columnList = data::ReturnedValues().values[0];
    if (!WriteColumnList(table, m_columnList))
        platform::ShowError(this, u"As colunas não puderam ser gravadas."_s);
    m_table = table;
    openRows(m_filter);
}

RowWalk TF_MPA::currentWalk(const QString& orderBy) const {
    RowWalk walk;
    walk.filter = m_changeFilter->text();
    walk.orderBy = orderBy;
    if (m_applyTo->checkedId() == 1 && m_grid->currentIndex().isValid())
        walk.startKey = m_model.keyTextsOf(m_grid->currentIndex().row());
    return walk;
}

bool TF_MPA::dropEdits() {
    if (!m_model.hasEdits()) return true;
    if (!platform::AskYesNo(this, Unsaved)) return false;
    m_model.clearEdits();
    return true;
}

void TF_MPA::applyChange() {
    if (!dropEdits()) return;
    if (m_changeFieldName->text().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser informado o campo para alterar"_s);
        return;
    }
    const int function = m_function->checkedId();
    if (function == 0 && m_content->currentText().isEmpty() &&
        !Confirm(this, u"CONTINUAR"_s, u"O conteúdo do campo não foi informado "_s))
        return;
    const MaintenanceTable table = m_table.valid() ? m_table : resolveTable(false);
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Change)) return;
    MassChange change;
    change.field = m_changeFieldName->text();
    change.content = m_content->currentText();
    change.expression = m_contentIsField->isChecked();
    change.function = ChangeFunction(std::max(0, function));
    change.walk = currentWalk(m_changeIndex->currentText());
    if (!runChange(u"BU_CHANGE"_s, [&] { return ApplyMassChange(table, change); })) return;
    closeTable();
}

bool TF_MPA::runChange(const QString& buttonName, const std::function<ChangeResult()>& change) {
    auto* button = findChild<QPushButton*>(buttonName);
    button->setText(u"Executando"_s);
    ChangeResult result;
    {
        WaitCursor wait;
        result = change();
    }
    button->setText(u"Aplicar"_s);
    if (result.refused) return false;
    if (!result.ok) {
        platform::ShowError(this, result.message);
        return false;
    }
    platform::ShowMessage(this, u"Registros alterados: "_s + QString::number(result.changed));
    return true;
}

void TF_MPA::applyFormat() {
    if (!dropEdits()) return;
    if (m_changeFieldName->text().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser informado o campo do arquivo"_s);
        m_changeField->setFocus();
        return;
    }
    const int format = m_format->checkedId();
    if (format == 1 && m_startNumber->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser informado o campo Número Inicial"_s);
        return;
    }
    if (format < 0) {
        platform::ShowMessage(this, u"Deve estar marcada uma das Funções"_s);
        return;
    }
    if (format == 3 && m_fieldSize->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser informado o Tamanho do Campo"_s);
        return;
    }
    // The start number is taken whole or refused: digits kept out of a typed
    // text would renumber from another number.
    const QString startText = m_startNumber->text().trimmed();
    bool startIsNumber = startText.isEmpty();
    const qint64 start = startIsNumber ? 0 : startText.toLongLong(&startIsNumber);
    if (!startIsNumber) {
        platform::ShowMessage(this, u"O Número Inicial deve ser um número inteiro"_s);
        m_startNumber->setFocus();
        return;
    }
    const MaintenanceTable table = m_table.valid() ? m_table : resolveTable(false);
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Change)) return;
    Renumbering renumbering;
    renumbering.field = m_changeFieldName->text();
    renumbering.format = RenumberFormat(format);
    renumbering.start = start;
    renumbering.size = ToInt(m_fieldSize->text());
    renumbering.walk = currentWalk(m_changeIndex->currentText());
    if (!runChange(u"BU_APLIC_FORMAT"_s, [&] { return ApplyRenumbering(table, renumbering); }))
        return;
    m_pages->setCurrentIndex(0);
    if (m_model.isOpen()) openRows(m_filter);
}

void TF_MPA::insertRow() {
    if (!m_model.isOpen() || !MayUseTable(m_table.name, TableCommand::Change)) return;
    // One line per field of the table; the empty ones keep their defaults.
    QDialog form(this);
    form.setObjectName(u"TF_MPA_INSERT"_s);
    form.setWindowTitle(u"Incluir registro - "_s + m_table.name);
    auto* layout = new QFormLayout(&form);
    const QStringList fields = TableColumns(m_table);
    QList<QLineEdit*> edits;
    for (const QString& field : fields) {
        auto* edit = new QLineEdit(&form);
        edit->setObjectName(field);
        layout->addRow(field, edit);
        edits << edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &form);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    if (form.exec() != QDialog::Accepted) return;
    QStringList values;
    for (QLineEdit* edit : edits)
        values << edit->text();
    const ChangeResult result = InsertRow(m_table, fields, values);
    if (result.refused) return;
    if (!result.ok) {
        platform::ShowError(this, result.message);
        return;
    }
    openRows(m_filter);
    countRows();
}

void TF_MPA::deleteRow() {
    if (!m_model.isOpen() || !m_grid->currentIndex().isValid() ||
        !MayUseTable(m_table.name, TableCommand::Change))
        return;
    if (!platform::AskYesNo(this, u"Excluir o registro?"_s)) return;
    const ChangeResult result = DeleteRow(m_table, m_model.keyOf(m_grid->currentIndex().row()));
    if (result.refused) return;
    if (!result.ok) {
        platform::ShowError(this, result.message);
        return;
    }
    openRows(m_filter);
    countRows();
}

void TF_MPA::deleteVisible() {
    if (!Confirm(this, u"DELETA TODOS OS REG. VISÍVEIS PELO FILTRO"_s, u"CONFIRMA EXCLUSÃO ???"_s))
        return;
    if (m_filterText->text().trimmed().isEmpty()) {
        platform::ShowMessage(this, u"Deve ser definido Filtros para a Exclusão"_s);
        return;
    }
    if (!m_model.isOpen() || !m_table.valid()) {
        platform::ShowMessage(this, u"O arquivo deve estar aberto"_s);
        return;
    }
    if (!MayUseTable(m_table.name, TableCommand::Change)) return;
    m_pages->setCurrentIndex(0);
    const ChangeResult result = DeleteFilteredRows(m_table, m_filterText->text());
    if (result.refused) return;
    if (!result.ok) {
        platform::ShowError(this, u"Erro na exclusão dos registros."_s);
        return;
    }
    platform::ShowMessage(this, u"Exclusão Concluída"_s);
    openRows(m_filter);
    countRows();
}

void TF_MPA::emptyTable() {
    const MaintenanceTable table = resolveTable(false);
    if (!table.valid() || !MayUseTable(table.name, TableCommand::Change)) return;
    if (!Confirm(this, u"DELETA TODOS OS REG. DO ARQUIVO"_s, u"CONFIRMA EXCLUSÃO GERAL"_s)) return;
    if (m_model.isOpen()) {
        m_model.clearEdits();
        m_model.close();
    }
    const ChangeResult result = EmptyTable(table);
    if (!result.ok && !result.refused) platform::ShowError(this, result.message);
    findChild<QPushButton*>(u"BU_OPEN"_s)->setEnabled(true);
    m_table = table;
    countRows();
}

void TF_MPA::refreshIndexes() {
    const MaintenanceTable table = resolveTable(true);
    m_indexList->clear();
    m_primaryKey->clear();
    const QString text = m_indexChoice->currentText();
    m_indexChoice->clear();
    m_dropIndex->clear();
    m_newIndex->clear();
    if (!table.valid()) return;
    QStringList fields;
    for (const QString& field : data::ListIndexedFields(table.database, table.name))
        if (!fields.contains(field.trimmed())) fields << field.trimmed();
    m_indexChoice->addItems(fields);
    m_indexList->addItems(fields);
    if (!text.isEmpty()) m_indexChoice->setCurrentText(text);
    // The search index follows the choice, or the first index of this table.
    m_searchIndex->setText(m_indexChoice->currentText());
    m_primaryKey->addItems(TableKey(table));
    m_dropIndex->addItems(data::ListIndexes(table.database, table.name));
    m_dropIndex->setCurrentIndex(-1);
    QStringList columns = TableColumns(table);
    columns.sort();
    m_newIndex->addItems(columns);
    m_newIndex->setCurrentText(QString());
    findChild<QPushButton*>(u"BU_INCLUIR"_s)->setEnabled(false);
    m_changeIndex->clear();
    m_changeIndex->addItem(QString());
    m_changeIndex->addItems(fields);
}

void TF_MPA::createIndex() {
    const MaintenanceTable table = resolveTable(false);
    if (!table.valid()) return;
    if (!CreateTableIndex(table, m_newIndex->currentText()))
        platform::ShowError(this, u"O índice não pôde ser criado."_s);
    refreshIndexes();
}

void TF_MPA::dropIndex() {
    const MaintenanceTable table = resolveTable(false);
    if (!table.valid()) return;
    if (!DropTableIndex(table, m_dropIndex->currentText()))
        platform::ShowError(this, u"O índice não pôde ser excluído."_s);
    findChild<QPushButton*>(u"BU_DELIND"_s)->setEnabled(false);
    refreshIndexes();
}

void TF_MPA::done(int result) {
    postEditor();
    if (m_model.hasEdits() && !platform::AskYesNo(this, Unsaved)) return;
    m_model.clearEdits();
    m_model.close();
    QDialog::done(result);
}

void OpenTableMaintenance(QWidget* parent, const QString& code, data::Connection* database) {
    TF_MPA window(parent);
    window.setTable(data::ResolveTableName(code), database);
    window.exec();
    data::CommitAll();
}

void RegisterMaintenanceWindow() {
    platform::RegisterWindow(u"MAINTENANCE"_s, [](QWidget* parent, const QStringList& arguments) {
        OpenTableMaintenance(parent, arguments.value(0));
    });
}

} // namespace livrax::tools
