#include "tools/tf_selc.h"

#include "common/fields.h"
#include "data/routing.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace livrax::tools {

namespace {

QStringList NonEmptyFields(const QString& line) {
    QStringList fields;
    for (const QString& field : line.split(u'#'))
        if (!field.trimmed().isEmpty()) fields << field.trimmed();
    return fields;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

TF_SELC::TF_SELC(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_SELC"_s);
    setWindowTitle(u"F_SELC - Seleção de Campos"_s);
    setModal(true);

    m_offered = new QListWidget(this);
    m_offered->setObjectName(u"LB_ENT"_s);
    m_chosen = new QListWidget(this);
    m_chosen->setObjectName(u"LB_SAI"_s);
    m_letterPrefixes = new QCheckBox(u"A. B. C."_s, this);
    m_letterPrefixes->setObjectName(u"CB_ABC"_s);
    m_prefix = new QLineEdit(this);
    m_prefix->setObjectName(u"P_PREFIXO"_s);
    m_prefix->hide();
    m_tableLabel = new QLabel(this);
    m_tableLabel->setObjectName(u"LA_ARQ"_s);

    QPushButton* sort = addButton(u"BU_ORDEM"_s, u"Ordem Alfabética"_s);
    QPushButton* add = addButton(u"BU_ADICIONA"_s, u"Adiciona o campo"_s);
    QPushButton* remove = addButton(u"BU_RETIRA"_s, u"Retira o campo"_s);
    QPushButton* addAll = addButton(u"BU_TODOS"_s, u"Adiciona todos os campos"_s);
    QPushButton* clear = addButton(u"BU_LIMPA"_s, u"Limpa os campos"_s);
    QPushButton* up = addButton(u"BU_SOBE"_s, u"Sobe 1 registro"_s);
    QPushButton* down = addButton(u"BU_DESCE"_s, u"Desce 1 registro"_s);
    QPushButton* saveButton = addButton(u"BU_SALVAR"_s, u"Salvar"_s);
    QPushButton* cancel = addButton(u"BU_CANCELAR"_s, u"Cancelar"_s);

    connect(sort, &QPushButton::clicked, this, [this] { m_offered->sortItems(); });
    connect(add, &QPushButton::clicked, this, &TF_SELC::addCurrent);
    connect(m_offered, &QListWidget::itemDoubleClicked, this, &TF_SELC::addCurrent);
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_chosen->currentRow();
        if (row >= 0) delete m_chosen->takeItem(row);
    });
    connect(addAll, &QPushButton::clicked, this, [this] {
        m_chosen->clear();
        m_chosen->addItems(Items(m_offered));
    });
    connect(clear, &QPushButton::clicked, m_chosen, &QListWidget::clear);
    connect(up, &QPushButton::clicked, this, [this] { moveChosen(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveChosen(1); });
    connect(saveButton, &QPushButton::clicked, this, &TF_SELC::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(m_tableLabel);
    left->addWidget(m_offered);
    left->addWidget(m_letterPrefixes);
    left->addWidget(sort);
    auto* middle = new QVBoxLayout;
    for (QPushButton* button : {add, remove, addAll, clear, up, down})
        middle->addWidget(button);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(m_chosen);
    auto* actions = new QHBoxLayout;
    actions->addWidget(saveButton);
    actions->addWidget(cancel);
    right->addLayout(actions);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(middle);
    layout->addLayout(right, 1);
    layout->addWidget(m_prefix);

    const SelHandOver& selection = Selection();
    m_mode = FieldAt(selection.selMode, 1).trimmed().toUpper();
    if (m_mode == u"ARQUIVO"_s) {
        m_single = FieldAt(selection.selMode, 2).trimmed() == u"1"_s;
        listColumns();
        m_chosen->addItems(ChosenColumns(selection.selResult, offered()));
        if (m_single) {
            for (QPushButton* button : {remove, clear, addAll, up, down})
                button->hide();
        }
        connect(m_letterPrefixes, &QCheckBox::toggled, this, [this] { listColumns(); });
    } else if (m_mode == u"TABELA"_s) {
        m_offered->addItems(NonEmptyFields(selection.selSource));
        m_chosen->addItems(NonEmptyFields(selection.selResult));
    }
    if (m_offered->count() > 0) m_offered->setCurrentRow(0);
}

QPushButton* TF_SELC::addButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void TF_SELC::listColumns() {
    m_offered->clear();
    for (const ColumnTable& table :
         ColumnTables(Selection().selSource, m_letterPrefixes->isChecked())) {
        m_tableLabel->setText(data::ResolveTableName(table.table.toUpper()));
        for (const ColumnInfo& column : ListTableColumns(table.table))
            m_offered->addItem(ColumnItem(table.prefix, column));
    }
    if (m_offered->count() > 0) m_offered->setCurrentRow(0);
}

QStringList TF_SELC::offered() const {
    return Items(m_offered);
}
QStringList TF_SELC::chosen() const {
    return Items(m_chosen);
}

void TF_SELC::addCurrent() {
    const QListWidgetItem* current = m_offered->currentItem();
    if (!current) return;
    if (m_single) m_chosen->clear();
    m_chosen->addItem(m_prefix->text() + current->text());
    if (m_single) save();
}

void TF_SELC::moveChosen(int step) {
    const int row = m_chosen->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_chosen->count()) return;
    QListWidgetItem* item = m_chosen->takeItem(row);
    m_chosen->insertItem(target, item);
    m_chosen->setCurrentRow(target);
}

void TF_SELC::save() {
    const SavedColumns saved = SaveColumns(chosen());
    Selection().selResult = saved.result;
    Selection().selSizes = saved.sizes;
    accept();
}

void TF_SELC::done(int result) {
    CommitSelectionTables();
    QDialog::done(result);
}

} // namespace livrax::tools
