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

    m_fields = new QListWidget(this);
    m_fields->setObjectName(u"LB_ENT"_s);

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

    m_value = new QComboBox(this);
    m_value->setObjectName(u"ED_SEL"_s);
    m_value->setEditable(true);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    m_value->addItems(FilterValueChoices());
    m_value->setCurrentIndex(-1);
    m_value->setEditText(QString());
    // The keys typed reach the combo box (it holds the focus for its line
    // edit and hands them on without filters), so Enter is caught on both.
    m_value->installEventFilter(this);
    m_value->lineEdit()->installEventFilter(this);

    m_lines = new QListWidget(this);
    m_lines->setObjectName(u"LB_SAI"_s);

    m_prefix = new QLineEdit(this);
    m_prefix->setObjectName(u"P_PREFIXO"_s);
    m_prefix->hide();
    m_databaseLabel = new QLabel(this);
    m_databaseLabel->setObjectName(u"LA_DIR"_s);
    m_tableLabel = new QLabel(this);
    m_tableLabel->setObjectName(u"LA_ARQ"_s);

    QPushButton* andButton = addButton(u"BU_AND"_s, u"AND"_s);
    QPushButton* orButton = addButton(u"BU_OR"_s, u"OR"_s);
    QPushButton* openButton = addButton(u"BU_ABRE"_s, u"("_s);
    QPushButton* closeButton = addButton(u"BU_FECHA"_s, u")"_s);
    QPushButton* build = addButton(u"BU_MONTAR"_s, u"Montar - F3"_s);
    build->setShortcut(Qt::Key_F3);
    QPushButton* remove = addButton(u"BU_EXCLUIR"_s, u"Excluir Linha"_s);
    QPushButton* clear = addButton(u"BU_LIMPAR"_s, u"LIMPAR"_s);
    QPushButton* cancelButton = addButton(u"BU_CANCELAR"_s, u"Cancelar"_s);
    QPushButton* applyButton = addButton(u"BU_APLICAR"_s, u"Aplicar - F12"_s);
    applyButton->setShortcut(Qt::Key_F12);
    QPushButton* up = addButton(u"BU_SOBE"_s, u"↑"_s);
    QPushButton* down = addButton(u"BU_DESCE"_s, u"↓"_s);
    QPushButton* sort = addButton(u"BU_ORDEM"_s, u"Ordem Alfabética"_s);

    connect(andButton, &QPushButton::clicked, this, [this] { addLine(u"AND"_s); });
    connect(orButton, &QPushButton::clicked, this, [this] { addLine(u"OR"_s); });
    connect(openButton, &QPushButton::clicked, this, [this] { addLine(u"("_s); });
    connect(closeButton, &QPushButton::clicked, this, [this] { addLine(u")"_s); });
    connect(build, &QPushButton::clicked, this, [this] { buildLine(); });
    connect(remove, &QPushButton::clicked, this, [this] { removeLine(); });
    connect(clear, &QPushButton::clicked, m_lines, &QListWidget::clear);
    connect(cancelButton, &QPushButton::clicked, this, &TF_SELF::cancel);
    connect(applyButton, &QPushButton::clicked, this, &TF_SELF::apply);
    connect(up, &QPushButton::clicked, this, [this] { lineToValue(); });
    connect(down, &QPushButton::clicked, this, [this] { valueToLine(); });
    connect(sort, &QPushButton::clicked, this, [this] { m_fields->sortItems(); });

    auto* left = new QVBoxLayout;
    left->addWidget(m_databaseLabel);
    left->addWidget(m_tableLabel);
    left->addWidget(m_fields);
    left->addWidget(sort);
    auto* middle = new QVBoxLayout;
    middle->addWidget(operators);
    middle->addWidget(m_value);
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
    right->addWidget(m_lines);
    auto* actions = new QHBoxLayout;
    for (QPushButton* button : {remove, clear, cancelButton, applyButton})
        actions->addWidget(button);
    right->addLayout(actions);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(middle);
    layout->addLayout(right, 1);
    layout->addWidget(m_prefix);

    // Opening: the fields offered, then the lines already chosen.
    SelHandOver& selection = Selection();
    m_mode = FieldAt(selection.selMode, 1).trimmed().toUpper();
    if (m_mode == u"TABELA"_s) {
        for (const QString& name : selection.selSource.split(u'#'))
            if (!name.trimmed().isEmpty()) m_fields->addItem(name.trimmed().toUpper());
    } else {
        m_table = FieldAt(selection.selSource, 1).trimmed();
        if (!m_table.isEmpty()) openTable();
    }
    if (m_mode == u"EXE"_s && selection.selResult.isEmpty())
        selection.selResult = selection.tableFilter;
    m_lines->addItems(SplitFilterLines(selection.selResult));
    if (m_fields->count() > 0) m_fields->setCurrentRow(0);
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
    m_tableLabel->setText(name);
    if (!OpenTable(name, Slot::GB_TAB)) return;
    DataSlot& slot = DataModule().slot(Slot::GB_TAB);
    m_tableOpen = true;
    if (slot.database()) m_databaseLabel->setText(slot.database()->path());
    for (int i = 0; i < slot.fieldCount(); ++i)
        m_fields->addItem(slot.fieldName(i).trimmed().toUpper());
}

QString TF_SELF::fieldType(const QString& field) const {
    if (!m_tableOpen) return u"U"_s;
    return data::FieldType(data::ResolveTableName(m_table.toUpper()), field);
}

void TF_SELF::setFieldPrefix(const QString& prefix) {
    m_prefix->setText(prefix);
}

QStringList TF_SELF::lines() const {
    QStringList result;
    for (int i = 0; i < m_lines->count(); ++i)
        result << m_lines->item(i)->text();
    return result;
}

void TF_SELF::addLine(const QString& line) {
    m_lines->addItem(line);
}

bool TF_SELF::buildLine() {
    const QString value = m_value->currentText();
    if (value.isEmpty()) return true;
    const QListWidgetItem* current = m_fields->currentItem();
    if (!current) {
        platform::ShowError(this, u"Selecione o campo do filtro."_s);
        return false;
    }
    const auto op = FilterOperator(m_operators->checkedId());
    const QString field = current->text();
    const QString type = FilterLineNeedsType(op, value) ? fieldType(field) : QString();
    const FilterLine line = BuildFilterLine(m_prefix->text() + field, op, value, type);
    if (!line.error.isEmpty()) {
        platform::ShowError(this, line.error);
        return false;
    }
    addLine(line.text);
    m_value->setEditText(QString());
    return true;
}

void TF_SELF::lineToValue() {
    const int row = m_lines->currentRow();
    if (row < 0) return;
    m_value->setEditText(m_lines->item(row)->text());
    delete m_lines->takeItem(row);
}

void TF_SELF::valueToLine() {
    const QString text = m_value->currentText();
    if (text.trimmed().isEmpty()) return;
    addLine(text);
    m_value->setEditText(QString());
}

void TF_SELF::removeLine() {
    const int row = m_lines->currentRow();
    if (row >= 0) delete m_lines->takeItem(row);
}

void TF_SELF::apply() {
    if (!m_value->currentText().isEmpty() && !buildLine()) return;
    SelHandOver& selection = Selection();
    selection.selResult = JoinFilterLines(lines());
    if (m_mode == u"EXE"_s) {
        selection.tableFilter = FilterResultAsTableFilter(selection.selResult);
        selection.tableFiltered = !selection.tableFilter.isEmpty();
    }
    accept();
}

void TF_SELF::cancel() {
    reject();
}

bool TF_SELF::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_value || watched == m_value->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            buildLine();
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
