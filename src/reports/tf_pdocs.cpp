#include "reports/tf_pdocs.h"

#include "data/globals.h"
#include "data/metadata.h"
#include "platform/dialogs.h"
#include "print/screen_print.h"
#include "reports/report_manager.h"
#include "tools/pick_lists.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* NewEdit(const QString& name, const QString& hint, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

QPushButton* NewButton(const QString& name, const QString& caption, const QString& hint,
                       QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TF_PDOCS::TF_PDOCS(const ReportMenu& menu, QWidget* parent)
    : FormWindow(u"TF_PDOCS"_s, u"F_PDOCS - Configura Seleção de Campos"_s, parent), m_menu(menu) {
    m_fileName = new QLabel(MenuSelectionKey(menu), this);
    m_fileName->setObjectName(u"LA_FILENAME"_s);
    mainLayout()->addWidget(m_fileName);

    m_editing = new QWidget(this);
    m_editing->setObjectName(u"PA_EDICAO"_s);
    auto* editing = new QVBoxLayout(m_editing);
    editing->setContentsMargins(0, 0, 0, 0);
    mainLayout()->addWidget(m_editing);

    auto* single = new QGroupBox(u"SELEÇÃO - 1 CAMPO"_s, m_editing);
    auto* singleGrid = new QGridLayout(single);
    m_singleTitle = NewEdit(u"ED_SELTITULO1"_s, u"Título do Campo"_s, single);
    m_singleField = new QComboBox(single);
    m_singleField->setObjectName(u"ED_SELCAMPO1"_s);
    m_singleField->setEditable(true);
    m_singleField->setToolTip(u"Nome do Campo e opcionalmente os sinais  >=,<=,<>,>,<"_s);
    m_singleLine = new QLabel(single);
    m_singleLine->setObjectName(u"LA_SELCAMPO"_s);
    QPushButton* singleBack =
        NewButton(u"BU_SELRETORNA"_s, u"<"_s, u"RETORNA 1 REGISTRO"_s, single);
    QPushButton* singleNext = NewButton(u"BU_SELAVANCA"_s, u">"_s, u"AVANÇA UM REGISTRO"_s, single);
    singleGrid->addWidget(new QLabel(u"TÍTULO"_s, single), 0, 0);
    singleGrid->addWidget(m_singleTitle, 0, 1);
    singleGrid->addWidget(new QLabel(u"CAMPO"_s, single), 1, 0);
    singleGrid->addWidget(m_singleField, 1, 1);
    auto* singleSteps = new QHBoxLayout;
    singleSteps->addWidget(singleBack);
    singleSteps->addWidget(m_singleLine);
    singleSteps->addWidget(singleNext);
    singleGrid->addLayout(singleSteps, 2, 1);
    editing->addWidget(single);

    auto* multiple = new QGroupBox(u"SELEÇÃO MÚLTIPLOS"_s, m_editing);
    auto* multipleGrid = new QGridLayout(multiple);
    const QString multipleNames[4] = {u"ED_SELTITMULT1"_s, u"ED_SELTITFUN1"_s, u"ED_SELTITMULT2"_s,
                                      u"ED_SELTITFUN2"_s};
    const QString multipleCaptions[4] = {u"TÍTULO1"_s, u"FUNÇÃO1"_s, u"TÍTULO2"_s, u"FUNÇÃO2"_s};
    for (int i = 0; i < 4; ++i) {
        m_multipleEdits[i] = NewEdit(multipleNames[i], {}, multiple);
        multipleGrid->addWidget(new QLabel(multipleCaptions[i], multiple), i, 0);
        multipleGrid->addWidget(m_multipleEdits[i], i, 1);
    }
    m_multipleLine = new QLabel(multiple);
    m_multipleLine->setObjectName(u"LA_SELMULT"_s);
    QPushButton* multipleBack =
        NewButton(u"BU_MULTRETORNA"_s, u"<"_s, u"RETORNA UM REGISTRO"_s, multiple);
    QPushButton* multipleNext =
        NewButton(u"BU_MULTAVANCA"_s, u">"_s, u"AVANÇA UM REGISTRO"_s, multiple);
    auto* multipleSteps = new QHBoxLayout;
    multipleSteps->addWidget(multipleBack);
    multipleSteps->addWidget(m_multipleLine);
    multipleSteps->addWidget(multipleNext);
    multipleGrid->addLayout(multipleSteps, 4, 1);
    editing->addWidget(multiple);

    auto* between = new QGroupBox(u"CONDICIONAL ENTRE CAMPOS"_s, m_editing);
    auto* betweenGrid = new QGridLayout(between);
    const QString betweenNames[4] = {u"ED_CONTIT1"_s, u"ED_CONFUN1"_s, u"ED_CONTIT2"_s,
                                     u"ED_CONFUN2"_s};
    for (int i = 0; i < 4; ++i) {
        m_betweenEdits[i] = NewEdit(betweenNames[i], {}, between);
        betweenGrid->addWidget(new QLabel(multipleCaptions[i], between), i, 0);
        betweenGrid->addWidget(m_betweenEdits[i], i, 1);
    }
    editing->addWidget(between);

    m_apply = NewButton(u"BU_APLICAR"_s, u"APLICAR"_s, u"SALVA OS CAMPOS ATUALIZADOS"_s, this);
    mainLayout()->addWidget(m_apply);

    connect(singleBack, &QPushButton::clicked, this, [this] {
        storeSingle();
        showSingle(m_single - 1);
    });
    connect(singleNext, &QPushButton::clicked, this, [this] {
        storeSingle();
        showSingle(m_single + 1);
    });
    connect(multipleBack, &QPushButton::clicked, this, [this] {
        storeMultiple();
        showMultiple(m_multiple - 1);
    });
    connect(multipleNext, &QPushButton::clicked, this, [this] {
        storeMultiple();
        showMultiple(m_multiple + 1);
    });
    connect(m_apply, &QPushButton::clicked, this, [this] {
        if (apply()) close();
    });

    QAction* printScreen = new QAction(u"Imprimir Tela"_s, this);
    connect(printScreen, &QAction::triggered, this, [this] { print::PrintScreen(this); });
    fileMenu()->insertAction(fileMenu()->actions().value(0), printScreen);

    const QString level = data::Globals().user.level;
    const bool mayChange = level == u"9"_s || level == u"8"_s;
    m_editing->setEnabled(mayChange);
    m_apply->setEnabled(mayChange);
    installConventions();
}

void TF_PDOCS::loadSettings() {
    ReadMenuSelection(m_menu.database, MenuSelectionKey(m_menu), m_config);
    tools::FillFieldCombo(m_singleField, m_menu.tableCode);
    showSingle(0);
    showMultiple(0);
    const ChoiceSelection& between = m_config.betweenFields;
    const QString values[4] = {between.firstTitle, between.firstFunction, between.secondTitle,
                               between.secondFunction};
    for (int i = 0; i < 4; ++i)
        m_betweenEdits[i]->setText(values[i]);
}

void TF_PDOCS::showSingle(int index) {
    m_single = std::clamp(index, 0, SelectionBoxes - 1);
    const SingleSelection& single = m_config.singles[std::size_t(m_single)];
    m_singleTitle->setText(single.title);
    m_singleField->setCurrentText(single.field);
    m_singleLine->setText(QString::number(11 + m_single));
}

void TF_PDOCS::storeSingle() {
    SingleSelection& single = m_config.singles[std::size_t(m_single)];
    single.title = m_singleTitle->text();
    single.field = m_singleField->currentText().trimmed();
    // The type is the column's: a comparison typed after the name is not
    // part of it.
    const QString column = SelectionFieldName(single.field);
    single.type =
        column.isEmpty() ? QString() : data::FieldType(m_menu.tableCode, column, m_menu.database);
}

void TF_PDOCS::showMultiple(int index) {
    m_multiple = std::clamp(index, 0, SelectionBoxes - 1);
    const ChoiceSelection& choice = m_config.multiples[std::size_t(m_multiple)];
    const QString values[4] = {choice.firstTitle, choice.firstFunction, choice.secondTitle,
                               choice.secondFunction};
    for (int i = 0; i < 4; ++i)
        m_multipleEdits[i]->setText(values[i]);
    m_multipleLine->setText(QString::number(21 + m_multiple));
}

void TF_PDOCS::storeMultiple() {
    ChoiceSelection& choice = m_config.multiples[std::size_t(m_multiple)];
    choice = {m_multipleEdits[0]->text(), m_multipleEdits[1]->text(), m_multipleEdits[2]->text(),
              m_multipleEdits[3]->text()};
}

bool TF_PDOCS::apply() {
    if (!m_apply->isEnabled()) return false;
    storeSingle();
    storeMultiple();
    m_config.betweenFields = {m_betweenEdits[0]->text(), m_betweenEdits[1]->text(),
                              m_betweenEdits[2]->text(), m_betweenEdits[3]->text()};
    if (!WriteMenuSelection(m_menu.database, MenuSelectionKey(m_menu), m_config)) {
        platform::ShowError(this, u"A configuração da seleção não pôde ser gravada."_s);
        return false;
    }
    return true;
}

} // namespace livrax::reports
