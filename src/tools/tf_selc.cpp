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

    LB_ENT = new QListWidget(this);
    LB_ENT->setObjectName(u"LB_ENT"_s);
    LB_SAI = new QListWidget(this);
    LB_SAI->setObjectName(u"LB_SAI"_s);
    CB_ABC = new QCheckBox(u"A. B. C."_s, this);
    CB_ABC->setObjectName(u"CB_ABC"_s);
    P_PREFIXO = new QLineEdit(this);
    P_PREFIXO->setObjectName(u"P_PREFIXO"_s);
    P_PREFIXO->hide();
    LA_ARQ = new QLabel(this);
    LA_ARQ->setObjectName(u"LA_ARQ"_s);

    QPushButton* sort = addButton(u"BU_ORDEM"_s, u"Ordem Alfabética"_s);
    QPushButton* add = addButton(u"BU_ADICIONA"_s, u"Adiciona o campo"_s);
    QPushButton* remove = addButton(u"BU_RETIRA"_s, u"Retira o campo"_s);
    QPushButton* addAll = addButton(u"BU_TODOS"_s, u"Adiciona todos os campos"_s);
    QPushButton* clear = addButton(u"BU_LIMPA"_s, u"Limpa os campos"_s);
    QPushButton* up = addButton(u"BU_SOBE"_s, u"Sobe 1 registro"_s);
    QPushButton* down = addButton(u"BU_DESCE"_s, u"Desce 1 registro"_s);
    QPushButton* save = addButton(u"BU_SALVAR"_s, u"Salvar"_s);
    QPushButton* cancel = addButton(u"BU_CANCELAR"_s, u"Cancelar"_s);

    connect(sort, &QPushButton::clicked, this, [this] { LB_ENT->sortItems(); });
    connect(add, &QPushButton::clicked, this, &TF_SELC::BU_ADICIONAClick);
    connect(LB_ENT, &QListWidget::itemDoubleClicked, this, &TF_SELC::BU_ADICIONAClick);
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = LB_SAI->currentRow();
        if (row >= 0) delete LB_SAI->takeItem(row);
    });
    connect(addAll, &QPushButton::clicked, this, [this] {
        LB_SAI->clear();
        LB_SAI->addItems(Items(LB_ENT));
    });
    connect(clear, &QPushButton::clicked, LB_SAI, &QListWidget::clear);
    connect(up, &QPushButton::clicked, this, [this] { moveChosen(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveChosen(1); });
    connect(save, &QPushButton::clicked, this, &TF_SELC::BU_SALVARClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(LA_ARQ);
    left->addWidget(LB_ENT);
    left->addWidget(CB_ABC);
    left->addWidget(sort);
    auto* middle = new QVBoxLayout;
    for (QPushButton* button : {add, remove, addAll, clear, up, down})
        middle->addWidget(button);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(LB_SAI);
    auto* actions = new QHBoxLayout;
    actions->addWidget(save);
    actions->addWidget(cancel);
    right->addLayout(actions);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(middle);
    layout->addLayout(right, 1);
    layout->addWidget(P_PREFIXO);

    const SelHandOver& selection = Selection();
    m_mode = FieldAt(selection.selMode, 1).trimmed().toUpper();
    if (m_mode == u"ARQUIVO"_s) {
        m_single = FieldAt(selection.selMode, 2).trimmed() == u"1"_s;
        listColumns();
        LB_SAI->addItems(ChosenColumns(selection.selResult, offered()));
        if (m_single) {
            for (QPushButton* button : {remove, clear, addAll, up, down})
                button->hide();
        }
        connect(CB_ABC, &QCheckBox::toggled, this, [this] { listColumns(); });
    } else if (m_mode == u"TABELA"_s) {
        LB_ENT->addItems(NonEmptyFields(selection.selSource));
        LB_SAI->addItems(NonEmptyFields(selection.selResult));
    }
    if (LB_ENT->count() > 0) LB_ENT->setCurrentRow(0);
}

QPushButton* TF_SELC::addButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void TF_SELC::listColumns() {
    LB_ENT->clear();
    for (const ColumnTable& table : ColumnTables(Selection().selSource, CB_ABC->isChecked())) {
        LA_ARQ->setText(data::ResolveTableName(table.table.toUpper()));
        for (const ColumnInfo& column : ListTableColumns(table.table))
            LB_ENT->addItem(ColumnItem(table.prefix, column));
    }
    if (LB_ENT->count() > 0) LB_ENT->setCurrentRow(0);
}

QStringList TF_SELC::offered() const {
    return Items(LB_ENT);
}
QStringList TF_SELC::chosen() const {
    return Items(LB_SAI);
}

void TF_SELC::BU_ADICIONAClick() {
    const QListWidgetItem* current = LB_ENT->currentItem();
    if (!current) return;
    if (m_single) LB_SAI->clear();
    LB_SAI->addItem(P_PREFIXO->text() + current->text());
    if (m_single) BU_SALVARClick();
}

void TF_SELC::moveChosen(int step) {
    const int row = LB_SAI->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= LB_SAI->count()) return;
    QListWidgetItem* item = LB_SAI->takeItem(row);
    LB_SAI->insertItem(target, item);
    LB_SAI->setCurrentRow(target);
}

void TF_SELC::BU_SALVARClick() {
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
