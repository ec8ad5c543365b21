#include "tools/tf_self.h"

#include "common/fields.h"
#include "data/data_module.h"
#include "data/metadata.h"
#include "data/queries.h"
#include "data/routing.h"
#include "platform/dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace livrax::tools {

TF_SELF::TF_SELF(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_SELF"_s);
    setWindowTitle(u"F_SELF - Seleção de Campos para Filtros"_s);
    setModal(true);

    LB_ENT = new QListWidget(this);
    LB_ENT->setObjectName(u"LB_ENT"_s);

    auto* operators = new QGroupBox(u"Operador"_s, this);
    operators->setObjectName(u"RG_OPER"_s);
    auto* operatorLayout = new QVBoxLayout(operators);
    m_operators = new QButtonGroup(this);
    const QStringList& captions = FilterOperatorCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto* radio = new QRadioButton(captions.at(i), operators);
        radio->setObjectName(u"RG_OPER_"_s + QString::number(i));
        m_operators->addButton(radio, i);
        operatorLayout->addWidget(radio);
    }
    m_operators->button(0)->setChecked(true);

    ED_SEL = new QComboBox(this);
    ED_SEL->setObjectName(u"ED_SEL"_s);
    ED_SEL->setEditable(true);
    ED_SEL->setInsertPolicy(QComboBox::NoInsert);
    ED_SEL->addItems(FilterValueChoices());
    ED_SEL->setCurrentIndex(-1);
    ED_SEL->setEditText(QString());
    ED_SEL->lineEdit()->installEventFilter(this);

    LB_SAI = new QListWidget(this);
    LB_SAI->setObjectName(u"LB_SAI"_s);

    P_PREFIXO = new QLineEdit(this);
    P_PREFIXO->setObjectName(u"P_PREFIXO"_s);
    P_PREFIXO->hide();
    LA_DIR = new QLabel(this);
    LA_DIR->setObjectName(u"LA_DIR"_s);
    LA_ARQ = new QLabel(this);
    LA_ARQ->setObjectName(u"LA_ARQ"_s);

    QPushButton* andButton = addButton(u"BU_AND"_s, u"AND"_s);
    QPushButton* orButton = addButton(u"BU_OR"_s, u"OR"_s);
    QPushButton* openButton = addButton(u"BU_ABRE"_s, u"("_s);
    QPushButton* closeButton = addButton(u"BU_FECHA"_s, u")"_s);
    QPushButton* build = addButton(u"BU_MONTAR"_s, u"Montar - F3"_s);
    build->setShortcut(Qt::Key_F3);
    QPushButton* remove = addButton(u"BU_EXCLUIR"_s, u"Excluir Linha"_s);
    QPushButton* clear = addButton(u"BU_LIMPAR"_s, u"LIMPAR"_s);
    QPushButton* cancel = addButton(u"BU_CANCELAR"_s, u"Cancelar"_s);
    QPushButton* apply = addButton(u"BU_APLICAR"_s, u"Aplicar - F12"_s);
    apply->setShortcut(Qt::Key_F12);
    QPushButton* up = addButton(u"BU_SOBE"_s, u"↑"_s);
    QPushButton* down = addButton(u"BU_DESCE"_s, u"↓"_s);
    QPushButton* sort = addButton(u"BU_ORDEM"_s, u"Ordem Alfabética"_s);

    connect(andButton, &QPushButton::clicked, this, [this] { addLine(u"AND"_s); });
    connect(orButton, &QPushButton::clicked, this, [this] { addLine(u"OR"_s); });
    connect(openButton, &QPushButton::clicked, this, [this] { addLine(u"("_s); });
    connect(closeButton, &QPushButton::clicked, this, [this] { addLine(u")"_s); });
    connect(build, &QPushButton::clicked, this, [this] { BU_MONTARClick(); });
    connect(remove, &QPushButton::clicked, this, [this] { BU_EXCLUIRClick(); });
    connect(clear, &QPushButton::clicked, LB_SAI, &QListWidget::clear);
    connect(cancel, &QPushButton::clicked, this, &TF_SELF::BU_CANCELARClick);
    connect(apply, &QPushButton::clicked, this, &TF_SELF::BU_APLICARClick);
    connect(up, &QPushButton::clicked, this, [this] { BU_SOBEClick(); });
    connect(down, &QPushButton::clicked, this, [this] { BU_DESCEClick(); });
    connect(sort, &QPushButton::clicked, this, [this] { LB_ENT->sortItems(); });

    auto* left = new QVBoxLayout;
    left->addWidget(LA_DIR);
    left->addWidget(LA_ARQ);
    left->addWidget(LB_ENT);
    left->addWidget(sort);
    auto* middle = new QVBoxLayout;
    middle->addWidget(operators);
    middle->addWidget(ED_SEL);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(up);
    arrows->addWidget(down);
    middle->addLayout(arrows);
    middle->addWidget(build);
    auto* words = new QHBoxLayout;
    for (QPushButton* button : {andButton, orButton, openButton, closeButton})
        words->addWidget(button);
    middle->addLayout(words);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(LB_SAI);
    auto* actions = new QHBoxLayout;
    for (QPushButton* button : {remove, clear, cancel, apply})
        actions->addWidget(button);
    right->addLayout(actions);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addLayout(right, 1);
    layout->addWidget(P_PREFIXO);

    // Opening: the fields offered, then the lines already chosen.
    SelHandOver& selection = Selection();
    m_mode = FieldAt(selection.selMode, 1).trimmed().toUpper();
    if (m_mode == u"TABELA"_s) {
        for (const QString& name : selection.selSource.split(u'#'))
            if (!name.trimmed().isEmpty()) LB_ENT->addItem(name.trimmed().toUpper());
    } else {
        m_table = FieldAt(selection.selSource, 1).trimmed();
        if (!m_table.isEmpty()) openTable();
    }
    if (m_mode == u"EXE"_s && selection.selResult.isEmpty())
        selection.selResult = selection.tableFilter;
    LB_SAI->addItems(SplitFilterLines(selection.selResult));
    if (LB_ENT->count() > 0) LB_ENT->setCurrentRow(0);
    CommitSelectionTables();
}

QPushButton* TF_SELF::addButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Enter belongs to the value box; no button takes it.
    button->setAutoDefault(false);
    return button;
}

void TF_SELF::openTable() {
    using namespace livrax::data;
    const QString name = ResolveTableName(m_table.toUpper());
    LA_ARQ->setText(name);
    if (!OpenTable(name, Slot::GB_TAB)) return;
    DataSlot& slot = DataModule().slot(Slot::GB_TAB);
    m_tableOpen = true;
    if (slot.database()) LA_DIR->setText(slot.database()->path());
    for (int i = 0; i < slot.fieldCount(); ++i)
        LB_ENT->addItem(slot.fieldName(i).trimmed().toUpper());
}

QString TF_SELF::fieldType(const QString& field) const {
    if (!m_tableOpen) return u"U"_s;
    return data::FieldType(data::ResolveTableName(m_table.toUpper()), field);
}

QStringList TF_SELF::lines() const {
    QStringList result;
    for (int i = 0; i < LB_SAI->count(); ++i)
        result << LB_SAI->item(i)->text();
    return result;
}

void TF_SELF::addLine(const QString& line) {
    LB_SAI->addItem(line);
}

bool TF_SELF::BU_MONTARClick() {
    const QString value = ED_SEL->currentText();
    if (value.isEmpty()) return true;
    const QListWidgetItem* current = LB_ENT->currentItem();
    if (!current) {
        platform::ShowError(this, u"Selecione o campo do filtro."_s);
        return false;
    }
    const auto op = FilterOperator(m_operators->checkedId());
    const QString field = current->text();
    const QString type = FilterLineNeedsType(op, value) ? fieldType(field) : QString();
    const FilterLine line = BuildFilterLine(P_PREFIXO->text() + field, op, value, type);
    if (!line.error.isEmpty()) {
        platform::ShowError(this, line.error);
        return false;
    }
    addLine(line.text);
    ED_SEL->setEditText(QString());
    return true;
}

void TF_SELF::BU_SOBEClick() {
    const int row = LB_SAI->currentRow();
    if (row < 0) return;
    ED_SEL->setEditText(LB_SAI->item(row)->text());
    delete LB_SAI->takeItem(row);
}

void TF_SELF::BU_DESCEClick() {
    const QString text = ED_SEL->currentText();
    if (text.trimmed().isEmpty()) return;
    addLine(text);
    ED_SEL->setEditText(QString());
}

void TF_SELF::BU_EXCLUIRClick() {
    const int row = LB_SAI->currentRow();
    if (row >= 0) delete LB_SAI->takeItem(row);
}

void TF_SELF::BU_APLICARClick() {
    if (!ED_SEL->currentText().isEmpty() && !BU_MONTARClick()) return;
    SelHandOver& selection = Selection();
    selection.selResult = JoinFilterLines(lines());
    if (m_mode == u"EXE"_s) {
        selection.tableFilter = FilterResultAsTableFilter(selection.selResult);
        selection.tableFiltered = !selection.tableFilter.isEmpty();
    }
    accept();
}

void TF_SELF::BU_CANCELARClick() {
    reject();
}

bool TF_SELF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ED_SEL->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BU_MONTARClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_SELF::done(int result) {
    CommitSelectionTables();
    QDialog::done(result);
}

} // namespace livrax::tools
