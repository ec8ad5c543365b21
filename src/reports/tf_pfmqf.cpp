#include "reports/tf_pfmqf.h"

#include "common/fields.h"
#include "common/line_files.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "expr/designer_suggestions.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "reports/key_lines.h"
#include "reports/report_encoding.h"
#include "tools/pick_lists.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

// Keys that only move the focus or the cursor, or call a command (F12 closes
// the window), change nothing typed: they leave "Alterado" as it is, so
// walking through the pages and closing does not ask to save. A choice
// changed with the arrows in a list is marked by the list itself.
bool MovesOnly(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
        return true;
    default:
        return key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35;
    }
}

template <typename V> using Text = std::function<QString&(V&)>;

QString WidgetText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return {};
}

void SetWidgetText(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    }
}

template <typename V> ControlBinding<V> TextOf(QWidget* widget, Text<V> text) {
    return {[widget, text](V& v) { SetWidgetText(widget, text(v)); },
            [widget, text](V& v) { text(v) = WidgetText(widget); }};
}

// How a flag shows: checked only for its "on" character, or checked unless
// it holds the "off" one (a blank flag then shows checked).
enum class Checked { WhenOn, UnlessOff };

template <typename V>
ControlBinding<V> FlagOf(QCheckBox* box, Text<V> flags, int position, QChar on, QChar off,
                         Checked rule = Checked::WhenOn) {
    return {[=](V& v) {
                const QChar c = FlagAt(flags(v), position);
                box->setChecked(rule == Checked::WhenOn ? c == on : c != off);
            },
            [=](V& v) { flags(v) = WithFlag(flags(v), position, box->isChecked() ? on : off); }};
}

// A radio group whose button i stands for values[i]: the whole text
// (position 0) or one position of a flag string.
template <typename V>
ControlBinding<V> ChoiceOf(QButtonGroup* group, Text<V> text, int position, const QString& values,
                           int fallback) {
    return {[=](V& v) {
                const QString current =
                    position ? QString(FlagAt(text(v), position)) : text(v).trimmed().left(1);
                const int index = current.trimmed().isEmpty() ? -1 : values.indexOf(current);
                group->button(index < 0 ? fallback : index)->setChecked(true);
            },
            [=](V& v) {
                const QChar value = values.at(std::max(0, group->checkedId()));
                text(v) = position ? WithFlag(text(v), position, value) : QString(value);
            }};
}

// A combo of "d - caption" items standing for the digit d, the whole text
// (position 0) or one position of a flag string; an empty item stands for a
// blank.
template <typename V> ControlBinding<V> DigitComboOf(QComboBox* combo, Text<V> text, int position) {
    return {[=](V& v) {
                const QString current =
                    position ? QString(FlagAt(text(v), position)) : text(v).trimmed().left(1);
                int index = 0;
                for (int i = 0; i < combo->count() && !current.trimmed().isEmpty(); ++i)
                    if (combo->itemText(i).startsWith(current)) index = i;
                combo->setCurrentIndex(index);
            },
            [=](V& v) {
                const QString item = combo->currentText();
                const QChar digit = item.isEmpty() ? u' ' : item.at(0);
                text(v) = position ? WithFlag(text(v), position, digit)
                                   : (item.isEmpty() ? QString() : QString(digit));
            }};
}

QLineEdit* Edit(const QString& name, QWidget* parent, int maxLength = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0) edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* Combo(const QString& name, QWidget* parent, const QStringList& items = {}) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

QComboBox* FixedCombo(const QString& name, QWidget* parent, const QStringList& items) {
    QComboBox* combo = Combo(name, parent, items);
    combo->setEditable(false);
    return combo;
}

QCheckBox* Check(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent,
                    const QString& hint = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QLabel* Label(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

// A titled group of radio buttons, laid out in `columns` columns; button i
// has id i.
QButtonGroup* Radios(const QString& name, const QString& caption, const QStringList& items,
                     QWidget* parent, QLayout* into, int columns = 1) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* grid = new QGridLayout(box);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name + u"_GROUP"_s);
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(name + u'_' + QString::number(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    into->addWidget(box);
    return group;
}

// A row of captions and controls: a string becomes a label.
struct Cell {
    Cell(QWidget* w) : widget(w) {}
    Cell(const char16_t* text) : caption(QString::fromUtf16(text)) {}
    QWidget* widget = nullptr;
    QString caption;
};

QHBoxLayout* Row(QBoxLayout* into, std::initializer_list<Cell> cells, QWidget* parent) {
    auto* row = new QHBoxLayout;
    for (const Cell& cell : cells)
        row->addWidget(cell.widget ? cell.widget : new QLabel(cell.caption, parent));
    row->addStretch(1);
    into->addLayout(row);
    return row;
}

QGroupBox* Group(const QString& caption, QWidget* parent, QBoxLayout* into) {
    auto* box = new QGroupBox(caption, parent);
    box->setLayout(new QVBoxLayout);
    into->addWidget(box);
    return box;
}

QBoxLayout* BoxLayout(QWidget* box) {
    return static_cast<QBoxLayout*>(box->layout());
}

// A question with OK and Cancel; true for OK.
bool AskOkCancel(QWidget* parent, const QString& caption, const QString& message) {
    QMessageBox box(QMessageBox::Question, caption, message, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Cancel)->setText(u"Cancelar"_s);
    return box.exec() == QMessageBox::Ok;
}

// A font as the font dialog's text ("#name#size#style#") and back.
QString FontText(const ReportFont& font) {
    return u"#"_s + font.name + u'#' + font.size + u'#' + font.style + u'#';
}

ReportFont FontFromText(const QString& text) {
    const QStringList fields = SplitToList(text, 4);
    return {fields.value(1), fields.value(2), fields.value(3)};
}

// The name of a catalogue entry ("PDS - Pedidos"): its text up to the first
// blank.
QString FirstWord(const QString& text) {
    return text.trimmed().section(u' ', 0, 0);
}

const QString DeleteFieldQuestion = u"CONFIRMA EXCLUSÃO DO CAMPO ATUAL ?"_s;
const QString FullMessage =
    u"Não há lugar para outro campo: o campo 180 já está ocupado. Exclua um campo antes."_s;
const QString LastFieldMessage = u"Não há lugar para outro campo depois do campo 180."_s;

} // namespace

TF_PFMQF::TF_PFMQF(const ReportMenu& menu, int number, QWidget* parent)
    : FormWindow(u"TF_PFMQF"_s, u"F_PFMQF - Formata campos dos Relatórios"_s, parent), m_menu(menu),
      m_number(number), m_key(DefinitionKey(menu, number)) {
    buildMenu();

    auto* top = new QHBoxLayout;
    QPushButton* saveButton = Button(u"BU_SALVAR"_s, u"Salvar"_s, this);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save()) close();
    });
    QPushButton* leave = Button(u"BU_SAIR"_s, u"Sair"_s, this);
    connect(leave, &QPushButton::clicked, this, &QWidget::close);
    m_modified = Check(u"CB_ALTERADO"_s, u"Alterado"_s, this);
    m_modified->setEnabled(false);
    top->addWidget(saveButton);
    top->addWidget(leave);
    top->addWidget(m_modified);
    top->addStretch(1);
    mainLayout()->addLayout(top);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PC_PARAM"_s);
    m_pages->addTab(buildReportPage(), u"Relatório"_s);
    m_pages->addTab(buildFilterPage(), u"Filtros/Ordem"_s);
    m_fieldPage = buildFieldPage();
    m_pages->addTab(m_fieldPage, u"Campos"_s);
    m_groupPage = buildGroupPage();
    m_pages->addTab(m_groupPage, u"Agrupar / Organizar"_s);
    m_pages->addTab(buildHeaderPage(), u"Cabeçalho"_s);
    m_pages->addTab(buildDetailPage(), u"Detalhe/Total"_s);
    m_pages->addTab(buildSecondaryPage(), u"Arq.Secundário"_s);
    mainLayout()->addWidget(m_pages, 1);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int) {
        if (m_pages->currentWidget() == m_groupPage) {
            storeField();
            fillOrganiser();
        }
    });

    watchChangesWithoutKeys();
    resize(820, 600);
    installConventions();
    reload();
}

TF_PFMQF::~TF_PFMQF() = default;

void TF_PFMQF::buildMenu() {
    auto* bar = findChild<QMenuBar*>();
    QMenu* file = fileMenu();
    file->setTitle(u"&Arquivo"_s);
    QAction* leave = file->actions().value(0);
    auto* import = new QAction(u"Importar Formatação Paradox"_s, file);
    connect(import, &QAction::triggered, this, &TF_PFMQF::importOldFormat);
    auto* print = new QAction(u"Imprimir Tela"_s, file);
    connect(print, &QAction::triggered, this, [this] { print::PrintScreen(this); });
    file->insertActions(leave, {import, print});
    auto* help = new QAction(u"Help"_s, bar);
    help->setObjectName(u"MENU_HELP"_s);
    connect(help, &QAction::triggered, this,
            [this] { platform::OpenWindow(u"HELP"_s, this, {u"PFMQF"_s}); });
    bar->insertAction(bar->actions().value(1), help);
}

QWidget* TF_PFMQF::buildReportPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto param = [](QString ReportParameters::*member) {
        return Text<D>([member](D& d) -> QString& { return d.parameters.*member; });
    };
    const Text<D> flags = [](D& d) -> QString& { return d.parameters.flags; };

    QLineEdit* title = Edit(u"ED_RELTIT"_s, page, 60);
    Row(layout, {u"TÍTULO", title}, page)->setStretchFactor(title, 1);
    b << TextOf<D>(title, param(&ReportParameters::title));
    m_directory = Edit(u"ED_DIR"_s, page);
    m_table = Edit(u"ED_ARQ"_s, page);
    m_directory->setReadOnly(true);
    m_table->setReadOnly(true);
    Row(layout, {u"DIRETÓRIO", m_directory, u"ARQUIVO", m_table}, page);
    b << TextOf<D>(m_directory, param(&ReportParameters::directory))
      << TextOf<D>(m_table, param(&ReportParameters::file));

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle);
    m_orientation =
        Radios(u"GRU_ORIENTACAO"_s, u"Orientação"_s, {u"Carta"_s, u"Paisagem"_s}, page, middle);
    b << ChoiceOf<D>(
        m_orientation, [](D& d) -> QString& { return d.printer.orientation; }, 0, u"VH"_s, 0);
    connect(m_orientation, &QButtonGroup::idClicked, this,
            [this](int id) { orientationChosen(id == 1); });
    QButtonGroup* kind = Radios(u"GRU_SA"_s, u"Sintet/Analit."_s,
                                {u"Sintético"_s, u"Analítico"_s, u"Resumido"_s}, page, middle);
    b << ChoiceOf<D>(kind, flags, Kind, u"SAR"_s, 1);
    m_paperForm = Radios(u"RG_FORM"_s, u"Formulario"_s,
                         {u"0 = A4 (210 x 297)"_s, u"1 = Carta (216 x 279)"_s,
                          u"2 = Legal (216 x 356)"_s, u"3 = Custom"_s, u"4 = Default"_s},
                         page, middle);
    b << ChoiceOf<D>(m_paperForm, param(&ReportParameters::paperForm), 0, u"01234"_s, 0);
    connect(m_paperForm, &QButtonGroup::idClicked, this, &TF_PFMQF::paperFormChosen);

    QGroupBox* passwords = Group(u"Liberação de Senhas"_s, page, layout);
    passwords->setObjectName(u"GRU_SENHAS"_s);
    QLineEdit* printLevel = Edit(u"ED_LS_RIMPRIMIR"_s, passwords, 1);
    Row(BoxLayout(passwords), {u"IMPRIMIR", printLevel}, passwords);
    b << TextOf<D>(printLevel, param(&ReportParameters::accessLevel));
    const QString level = data::Globals().user.level;
    passwords->setEnabled(level == u"9"_s || level == u"8"_s);

    QGroupBox* margins = Group(u"Margem"_s, page, layout);
    QLineEdit* top = Edit(u"ED_MARSUP"_s, margins);
    QLineEdit* bottom = Edit(u"ED_MARINF"_s, margins);
    QLineEdit* right = Edit(u"ED_MARDIR"_s, margins);
    QLineEdit* left = Edit(u"ED_MARESQ"_s, margins);
    Row(BoxLayout(margins),
        {u"Superior", top, u"Inferior", bottom, u"Direita", right, u"Esquerda", left}, margins);
    b << TextOf<D>(top, param(&ReportParameters::topMargin))
      << TextOf<D>(bottom, param(&ReportParameters::bottomMargin))
      << TextOf<D>(right, param(&ReportParameters::rightMargin))
      << TextOf<D>(left, param(&ReportParameters::leftMargin));

    QLineEdit* columns = Edit(u"ED_COLUNAS"_s, page);
    QCheckBox* openAtPage = Check(u"CB_PAGINA"_s, u"Abrir Pagina"_s, page);
    m_paperLength = Edit(u"E_COMPRIMENTO"_s, page);
    m_paperWidth = Edit(u"E_LARGURA"_s, page);
    Row(layout,
        {u"Nº  Colunas", columns, openAtPage, u"Tamanho do Papel: Compr.", m_paperLength,
         u"Largura", m_paperWidth},
        page);
    b << TextOf<D>(columns, param(&ReportParameters::columns))
      << FlagOf<D>(openAtPage, flags, OpenAtPage, u'S', u'N')
      << TextOf<D>(m_paperLength, param(&ReportParameters::paperLength))
      << TextOf<D>(m_paperWidth, param(&ReportParameters::paperWidth));

    QGroupBox* reportFont = Group(u"Fonte do Relatório"_s, page, layout);
    m_fontName = Label(u"LA_CABNAME"_s, reportFont);
    m_fontSize = Label(u"LA_CABSIZE"_s, reportFont);
    m_fontStyle = Label(u"LA_CABESTILO"_s, reportFont);
    QPushButton* reportFontChange = Button(u"BU_RELALTFON"_s, u"Alterar"_s, reportFont);
    QPushButton* standard = Button(u"BU_RPADRAO"_s, u"PADRÃO"_s, reportFont);
    Row(BoxLayout(reportFont), {m_fontName, m_fontSize, m_fontStyle, reportFontChange, standard},
        reportFont);
    connect(reportFontChange, &QPushButton::clicked, this,
            [this] { chooseFont(m_design.definition().parameters.font); });
    connect(standard, &QPushButton::clicked, this, [this] {
        ReportDefinition& d = m_design.definition();
        d.parameters.font.size = d.fonts.header.size = d.fonts.title.size = u"8"_s;
        m_fontName->clear();
        m_fontSize->clear();
        m_fontStyle->clear();
        markModified();
    });

    QGroupBox* titleFont = Group(u"Fonte do Título"_s, page, layout);
    QPushButton* titleChange = Button(u"BU_FONTIT"_s, u"Alterar"_s, titleFont);
    QPushButton* titleDrop = Button(u"BU_FONTIT_EXCL"_s, u"Excluir"_s, titleFont);
    Row(BoxLayout(titleFont), {titleChange, titleDrop}, titleFont);
    connect(titleChange, &QPushButton::clicked, this,
            [this] { chooseFont(m_design.definition().fonts.title); });
    connect(titleDrop, &QPushButton::clicked, this, [this] {
        m_design.definition().fonts.title.size = u"8"_s;
        markModified();
    });

    m_importName = Edit(u"E_FILENAME"_s, page);
    QPushButton* setup = Button(u"BU_PSETUP"_s, u"Setup"_s, page);
    connect(setup, &QPushButton::clicked, this, &TF_PFMQF::printerSetup);
    Row(layout, {m_importName, setup}, page);
    layout->addStretch(1);
    return page;
}

QWidget* TF_PFMQF::buildFilterPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto param = [](QString ReportParameters::*member) {
        return Text<D>([member](D& d) -> QString& { return d.parameters.*member; });
    };
    QLineEdit* permanent = Edit(u"ED_FILTROPERM"_s, page);
    QLineEdit* between = Edit(u"ED_FILTROCOND"_s, page);
    m_distinctField = Combo(u"CB_FILTRODUPLO"_s, page);
    QComboBox* sql = Combo(u"ED_FILTROSQL"_s, page, SqlFilterSuggestions());
    QLineEdit* varSql = Edit(u"ED_VARSQL"_s, page);
    m_order = Edit(u"ED_ORDEM"_s, page);
    m_filters = Edit(u"ED_FILTROS"_s, page);
    QPushButton* order = Button(u"BU_ORDEM"_s, u"Ordem"_s, page);
    QPushButton* filters = Button(u"BU_FILTROS"_s, u"Filtros"_s, page);
    const auto wide = [&](std::initializer_list<Cell> cells, QWidget* stretch) {
        Row(layout, cells, page)->setStretchFactor(stretch, 1);
    };
    wide({u"Permanente", permanent}, permanent);
    wide({u"Entre Campos", between}, between);
    wide({u"Eliminar Registros Duplos.  Selecionar o Campo.", m_distinctField}, m_distinctField);
    wide({u"Filtro SQL", sql}, sql);
    wide({u"Título VARSQL", varSql}, varSql);
    wide({order, m_order}, m_order);
    wide({filters, m_filters}, m_filters);
    layout->addStretch(1);
    b << TextOf<D>(permanent, param(&ReportParameters::permanentFilter))
      << TextOf<D>(between, param(&ReportParameters::betweenFieldsCondition))
      << TextOf<D>(m_distinctField, param(&ReportParameters::distinctField))
      << TextOf<D>(sql, param(&ReportParameters::sqlFilter))
      << TextOf<D>(varSql, param(&ReportParameters::varSqlTitle))
      << TextOf<D>(m_order, [](D& d) -> QString& { return d.sortFields; })
      << TextOf<D>(m_filters, [](D& d) -> QString& { return d.filterConditions; });
    connect(order, &QPushButton::clicked, this, [this] { chooseOrder(m_order, false); });
    connect(filters, &QPushButton::clicked, this, [this] { chooseFilter(m_filters, false); });
    return page;
}

QWidget* TF_PFMQF::buildFieldPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_fieldBindings;
    using F = ReportField;
    const auto member = [](QString ReportField::*m) {
        return Text<F>([m](F& f) -> QString& { return f.*m; });
    };
    const Text<F> printFlags = [](F& f) -> QString& { return f.printFlags; };

    auto* navigation = new QHBoxLayout;
    layout->addLayout(navigation);
    const struct {
        const char16_t* name;
        const char16_t* caption;
        const char16_t* hint;
        std::function<void()> action;
    } buttons[] = {
        {u"BU_PRIMEIRO", u"|<", u"VAI PARA O PRIMEIRO REGISTRO",
         [this] { move(&ReportDesign::first); }},
        {u"BU_ANTERIOR", u"<", u"RETORNA 1 REGISTRO", [this] { move(&ReportDesign::back); }},
        {u"BU_PROXIMO", u">", u"AVANÇA UM REGISTRO", [this] { move(&ReportDesign::forward); }},
        {u"BU_ULTIMO", u">|", u"VAI PARA O ULTIMO REGISTRO", [this] { move(&ReportDesign::last); }},
        {u"BU_NOVO", u"Novo", u"NOVO CAMPO", [this] { newField(); }},
        {u"BU_EXCLUI", u"Exclui", u"EXCLUI O REGISTRO ATUAL", [this] { deleteField(); }},
        {u"BU_SALVAREG", u"Salva", u"SALVA O REGISTRO ATUAL", [this] { storeField(); }},
        {u"BU_DUPLICA", u"Duplica", u"DUPLICA O CAMPO ATUAL", [this] { duplicateField(); }},
    };
    for (const auto& entry : buttons) {
        QPushButton* button =
            Button(QString::fromUtf16(entry.name), QString::fromUtf16(entry.caption), page,
                   QString::fromUtf16(entry.hint));
        connect(button, &QPushButton::clicked, this, entry.action);
        navigation->addWidget(button);
    }
    m_lineNumber = Label(u"DLA_NCAMPO"_s, page);
    navigation->addWidget(m_lineNumber);
    m_currentNumber = Edit(u"E_OREG"_s, page);
    m_currentNumber->setVisible(false);
    navigation->addStretch(1);

    m_title = Edit(u"DED_TITULO"_s, page);
    m_title->setToolTip(u"TITULO DO CAMPO PARA O CABEÇALHO"_s);
    Row(layout, {u"TÍTULO", m_title}, page)->setStretchFactor(m_title, 1);
    m_content = Edit(u"DED_CAMPO"_s, page);
    m_content->setToolTip(u"CAMPO OU EXPRESSÃO PARA IMPRESSÃO - A.campo"_s);
    Row(layout, {u"CAMPO", m_content}, page)->setStretchFactor(m_content, 1);
    b << TextOf<F>(m_title, member(&F::title)) << TextOf<F>(m_content, member(&F::content));

    m_tableField = Combo(u"CB_CAMPOARQ"_s, page);
    m_secondaryField = Combo(u"CB_CAMPO_SECc"_s, page);
    m_secondaryField->setToolTip(
        u"Campos com nomes iguais, o campo do arq. SECUNDÁRIOS deve ser XXXX1"_s);
    m_expression = Combo(u"CB_EXPRESSAO"_s, page);
    m_expression->setToolTip(u"EXPRESSÃO/FUNÇÃO PARA O CAMPO"_s);
    expr::FillFormulaSuggestions(*m_expression);
    Row(layout,
        {u"Campos", m_tableField, u"Secundário", m_secondaryField, u"Expressão", m_expression},
        page);
    connect(m_tableField, &QComboBox::activated, this,
            [this](int index) { chooseTableField(m_tableField->itemText(index), true); });
    // A name typed and left: the field takes it, its title stays.
    connect(m_tableField->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString name = m_tableField->currentText().trimmed();
        if (name.compare(m_content->text().trimmed(), Qt::CaseInsensitive) != 0)
            chooseTableField(name, false);
    });
    m_tableField->installEventFilter(this);
    m_tableField->lineEdit()->installEventFilter(this);
    connect(m_secondaryField, &QComboBox::activated, this,
            [this](int) { chooseSecondaryField(m_secondaryField->currentText()); });
    connect(m_expression, &QComboBox::activated, this,
            [this](int) { chooseExpression(m_expression->currentText()); });

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle);
    m_type = Radios(u"DRG_TIPO"_s, u"Tipo de Campo"_s,
                    {u"0 - Inativo"_s, u"1 - Campo "_s, u"2 - Texto"_s, u"3 - Campo Público"_s,
                     u"4 - De outro Arq."_s, u"5 - Separa"_s, u"6 - Shape"_s, u"7 - "_s,
                     u"8 - Linha"_s, u"9 - Tabela Geral"_s},
                    page, middle, 2);
    b << ChoiceOf<F>(m_type, member(&F::type), 0, u"0123456789"_s, 0);
    connect(m_type, &QButtonGroup::idClicked, this, [this](int) { applyTypeRules(); });

    auto* right = new QVBoxLayout;
    middle->addLayout(right);
    QGroupBox* placing = Group(u"Posicionamento"_s, page, right);
    QLineEdit* line = Edit(u"DED_LINHA"_s, placing);
    QLineEdit* column = Edit(u"DED_COLUNA"_s, placing);
    QLineEdit* size = Edit(u"DED_TAMANHO"_s, placing);
    Row(BoxLayout(placing), {u"LINHA", line, u"COLUNA", column, u"TAMANHO", size}, placing);
    b << TextOf<F>(line, member(&F::line)) << TextOf<F>(column, member(&F::column))
      << TextOf<F>(size, member(&F::size));
    connect(line, &QLineEdit::editingFinished, this, [line] {
        line->setText(line->text().trimmed().isEmpty() ? u"1"_s
                                                       : FormatDecimal(line->text(), 4, 0));
    });

    QStringList slotItems{QString()};
    for (int i = 1; i <= 9; ++i)
        slotItems << u"%1 - GBFUN%1"_s.arg(i);
    slotItems << u"0 - GBFUN0"_s;
    QComboBox* keep = FixedCombo(u"CB_GUARDAR"_s, page, slotItems);
    QComboBox* align =
        FixedCombo(u"CB_ALINHAR"_s, page, {u"0 - Esquerda"_s, u"1 - Direita"_s, u"2 - Centrado"_s});
    QComboBox* picture =
        Combo(u"DED_PICTURE"_s, page, {QString(), u"#"_s, u"#0"_s, u"#0.00"_s, u"[EXTENSO]"_s});
    Row(right, {u"GUARDAR", keep, u"AJUSTE", align, u"PICTURE", picture}, page);
    b << DigitComboOf<F>(keep, member(&F::flags), 2)
      << DigitComboOf<F>(align, member(&F::alignment), 0)
      << TextOf<F>(picture, member(&F::picture));

    QComboBox* function = Combo(u"E_FUNCAO"_s, page, FunctionSuggestions());
    function->setCurrentIndex(-1);
    Row(right, {u"FUNÇÃO", function}, page)->setStretchFactor(function, 1);
    b << TextOf<F>(function, member(&F::function));

    QComboBox* subtotal = Combo(u"CB_EXPSUB"_s, page);
    QComboBox* total = Combo(u"CB_EXPTOT"_s, page);
    expr::FillFormulaSuggestions(*subtotal);
    expr::FillFormulaSuggestions(*total);
    Row(right, {u"EXP.SUB.TOT", subtotal, u"EXP. TOTAL", total}, page);
    b << TextOf<F>(subtotal, member(&F::subtotal)) << TextOf<F>(total, member(&F::total));

    QGroupBox* print = Group(u"IMPRIMIR"_s, page, right);
    auto* printRow = new QHBoxLayout;
    BoxLayout(print)->addLayout(printRow);
    const struct {
        const char16_t* name;
        const char16_t* caption;
        int position;
    } printChecks[] = {{u"CB_CABEC", u"CABEÇALHO", 1},
                       {u"CB_LINHA", u"DETALHE/LINHA", 2},
                       {u"CB_SUBTOTAL", u"SUBTOTAL", 3},
                       {u"CB_TOTAL", u"TOTAL", 4},
                       {u"CB_TITESQ", u"Tit. à Esq. do Campo", 6}};
    for (const auto& entry : printChecks) {
        QCheckBox* box =
            Check(QString::fromUtf16(entry.name), QString::fromUtf16(entry.caption), print);
        printRow->addWidget(box);
        b << FlagOf<F>(box, printFlags, entry.position, u'1', u'0');
    }
    QCheckBox* branch = Check(u"CB_FILIAL"_s, u"Filial ="_s, print);
    branch->setToolTip(u"Somente campos da mesma FILIAL"_s);
    printRow->addWidget(branch);
    b << FlagOf<F>(branch, printFlags, 8, u'S', u' ');
    QButtonGroup* where =
        Radios(u"RG_LOCALIZ"_s, u"Localização"_s,
               {u"0 - Detalhe"_s, u"1 - Cabeçalho"_s, u"2 - Título"_s, u"3 - Agrupamento"_s}, print,
               BoxLayout(print), 4);
    b << ChoiceOf<F>(where, printFlags, 7, u"0123"_s, 0);

    QGroupBox* elements = Group(u"ELEM.DO ARRAY"_s, page, right);
    QLineEdit* first = Edit(u"DED_EARRAYI"_s, elements);
    QLineEdit* last = Edit(u"DED_EARRAYF"_s, elements);
    Row(BoxLayout(elements), {u"INICIAL", first, u"FINAL", last}, elements);
    b << TextOf<F>(first, member(&F::firstElement)) << TextOf<F>(last, member(&F::lastElement));
    for (QLineEdit* element : {first, last})
        connect(element, &QLineEdit::editingFinished, this,
                [element] { element->setText(FormatDecimal(element->text(), 5, 0)); });

    QGroupBox* font = Group(u"Fontes"_s, page, right);
    m_fieldFont = Label(u"LA_FONCAMPO"_s, font);
    QPushButton* fontChange = Button(u"BU_FONCAMPO"_s, u"Alterar"_s, font);
    QPushButton* fontDrop = Button(u"BU_FONCAMPOEXCL"_s, u"Excluir"_s, font);
    Row(BoxLayout(font), {m_fieldFont, fontChange, fontDrop}, font);
    connect(fontChange, &QPushButton::clicked, this, [this] {
        storeField();
        chooseFont(m_design.currentField().font);
        showField();
    });
    connect(fontDrop, &QPushButton::clicked, this, [this] {
        if (!AskOkCancel(this, u"Cancela"_s, u"CONFIRMA EXCLUSÃO DA FONTE ATUAL ?"_s)) return;
        storeField();
        m_design.currentField().font.size = u"8"_s;
        showField();
        markModified();
    });

    // "Campo de outro Arquivo" and, for shapes, the shape group in its place.
    auto* other = new QGroupBox(u"Campo de outro Arquivo"_s, page);
    other->setObjectName(u"GRU_OUTROARQ"_s);
    m_otherGroup = other;
    auto* otherLayout = new QVBoxLayout(other);
    m_otherLabel = Label(u"LA_OUTROARQ"_s, other);
    m_otherTable = Combo(u"CB_OUTROARQ"_s, other);
    m_otherKey = Combo(u"CB_ARQCHAVE"_s, other);
    m_otherKeyList = Combo(u"CB_ARQCHAVE1"_s, other);
    m_otherField = Combo(u"CB_OUTROCAMPO"_s, other);
    Row(otherLayout, {m_otherLabel, u"ARQUIVO", m_otherTable}, other);
    Row(otherLayout, {u"CHAVE", m_otherKey, m_otherKeyList, u"Campo Retorno", m_otherField}, other);
    layout->addWidget(other);
    b << ControlBinding<F>{[this](F& f) { m_otherTable->setCurrentText(f.otherTable); },
                           [this](F& f) { f.otherTable = FirstWord(m_otherTable->currentText()); }}
      << TextOf<F>(m_otherKey, member(&F::otherKey))
      << TextOf<F>(m_otherField, member(&F::otherField));
    connect(m_otherTable, &QComboBox::activated, this, [this](int) {
        m_otherTable->setCurrentText(FirstWord(m_otherTable->currentText()));
        fillOtherTableLists();
    });
    // A table typed and left keeps its name only, and its lists follow it.
    connect(m_otherTable->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        m_otherTable->setCurrentText(FirstWord(m_otherTable->currentText()));
        fillOtherTableLists();
    });
    connect(m_otherKeyList, &QComboBox::activated, this,
            [this](int) { m_otherKey->setCurrentText(m_otherKeyList->currentText()); });

    auto* shape = new QGroupBox(u"Shape"_s, page);
    shape->setObjectName(u"GRU_SHAPE"_s);
    m_shapeGroup = shape;
    auto* shapeLayout = new QVBoxLayout(shape);
    QLineEdit* width = Edit(u"E_WIDTH"_s, shape);
    QLineEdit* height = Edit(u"E_HEIGHT"_s, shape);
    QComboBox* form = Combo(u"E_FORMATO"_s, shape,
                            {u"qrsRectangle"_s, u"qrsCircle"_s, u"qrsHorLine"_s,
                             u"qrsRightAndLeft"_s, u"qrsTopAndBottom"_s, u"qrsVertLine"_s});
    QLineEdit* pen = Edit(u"E_PEN"_s, shape);
    Row(shapeLayout, {u"Largura", width, u"Altura", height, u"Formato", form, u"Pen", pen}, shape);
    layout->addWidget(shape);
    b << TextOf<F>(width, member(&F::shapeWidth)) << TextOf<F>(height, member(&F::shapeHeight))
      << TextOf<F>(form, member(&F::shapeForm)) << TextOf<F>(pen, member(&F::shapePen));
    layout->addStretch(1);
    return page;
}

QWidget* TF_PFMQF::buildGroupPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto grouping = [](QString ReportGrouping::*m) {
        return Text<D>([m](D& d) -> QString& { return d.grouping.*m; });
    };
    m_groupField = Combo(u"CB_AGRUPAR"_s, page);
    m_groupField->setToolTip(u"MESxx"_s);
    QLineEdit* title = Edit(u"E_GRUPOTITULO"_s, page);
    Row(layout, {u"CAMPO P/ AGRUPAR", m_groupField, u"TÍTULO", title}, page);
    b << TextOf<D>(m_groupField, grouping(&ReportGrouping::field))
      << TextOf<D>(title, grouping(&ReportGrouping::title));

    QPushButton* fontChange = Button(u"BU_CAMALTFON"_s, u"Alterar"_s, page);
    QPushButton* fontDrop = Button(u"BU_CAMEXCFON"_s, u"Excluir"_s, page);
    QCheckBox* shaded = Check(u"CB_FUNAGRUPAR"_s, u"Sombra de Fundo"_s, page);
    QCheckBox* newPage = Check(u"CB_QUEBRAPAG"_s, u"Quebra de Página"_s, page);
    Row(layout, {u"Fontes", fontChange, fontDrop, shaded, newPage}, page);
    connect(fontChange, &QPushButton::clicked, this,
            [this] { chooseFont(m_design.definition().grouping.font); });
    connect(fontDrop, &QPushButton::clicked, this, [this] {
        m_design.definition().grouping.font = {QString(), u"8"_s, QString()};
        markModified();
    });
    const Text<D> groupFlags = grouping(&ReportGrouping::flags);
    const Text<D> borders = grouping(&ReportGrouping::borders);
    b << FlagOf<D>(shaded, groupFlags, 1, u'1', u'0')
      << FlagOf<D>(newPage, groupFlags, 2, u'1', u'0');
    auto* borderRow = Row(layout, {u"Bordas"}, page);
    const char16_t* borderNames[] = {u"CB_AGRUPAR_SUPERIOR", u"CB_AGRUPAR_INFERIOR",
                                     u"CB_AGRUPAR_DIREITA", u"CB_AGRUPAR_ESQUERDA"};
    const char16_t* borderCaptions[] = {u"Superior", u"Inferior", u"Direita", u"Esquerda"};
    for (int i = 0; i < 4; ++i) {
        QCheckBox* box =
            Check(QString::fromUtf16(borderNames[i]), QString::fromUtf16(borderCaptions[i]), page);
        borderRow->insertWidget(i + 1, box);
        b << FlagOf<D>(box, borders, i + 1, u'1', u'0');
    }

    QGroupBox* complement = Group(u"Complemento"_s, page, layout);
    QComboBox* table = Combo(u"CB_8_ARQ"_s, complement);
    QComboBox* field = Combo(u"CB_8_CAMPO"_s, complement);
    QComboBox* column = Combo(u"CB_8_COLCOMPLEM"_s, complement);
    QComboBox* constant = Combo(u"CB_8_11_CONSTANTE"_s, complement);
    Row(BoxLayout(complement),
        {u"ARQUIVO", table, u"CAMPO", field, u"COLUNA", column, u"Constante anterior ao campo",
         constant},
        complement);
    m_complement = {table, field, column, constant};
    b << ControlBinding<D>{[table](D& d) { table->setCurrentText(d.grouping.complementTable); },
                           [table](D& d) {
                               d.grouping.complementTable = FirstWord(table->currentText()).left(3);
                           }}
      << TextOf<D>(field, grouping(&ReportGrouping::complementField))
      << TextOf<D>(column, grouping(&ReportGrouping::complementColumn))
      << TextOf<D>(constant, grouping(&ReportGrouping::complementConstant));
    connect(table, &QComboBox::activated, this, [this, table, field](int) {
        table->setCurrentText(FirstWord(table->currentText()).left(3));
        tools::FillFieldCombo(field, table->currentText());
    });

    m_organiser = new QTableWidget(DesignerFieldCount, 5, page);
    m_organiser->setObjectName(u"LIST_ORG"_s);
    m_organiser->setHorizontalHeaderLabels({u"Título"_s, u"Nome"_s, u"Tip"_s, u"Lin"_s, u"Col"_s});
    m_organiser->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_organiser->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_organiser->setSelectionMode(QAbstractItemView::SingleSelection);
    m_organiser->verticalHeader()->setDefaultSectionSize(m_organiser->fontMetrics().height() + 4);
    auto* organiserRow = new QHBoxLayout;
    layout->addLayout(organiserRow, 1);
    organiserRow->addWidget(m_organiser, 1);
    auto* organiserButtons = new QVBoxLayout;
    organiserRow->addLayout(organiserButtons);
    QPushButton* up = Button(u"BU_ORG_SOBE"_s, u"▲"_s, page);
    QPushButton* down = Button(u"BU_ORG_DESCE"_s, u"▼"_s, page);
    QPushButton* clear =
        Button(u"BU_LIMPA"_s, u"LIMPA"_s, page, u"APAGA TODOS OS CAMPOS SELECIONADOS"_s);
    QPushButton* sort = Button(u"BU_CLASSIFICAR"_s, u"Classificar por Coluna"_s, page);
    QPushButton* recalculate = Button(u"BU_RECALCULAR"_s, u"Recalcular Colunas"_s, page);
    for (QPushButton* button : {up, down, clear, sort, recalculate})
        organiserButtons->addWidget(button);
    organiserButtons->addStretch(1);
    connect(up, &QPushButton::clicked, this, [this] { organiserMoved(true); });
    connect(down, &QPushButton::clicked, this, [this] { organiserMoved(false); });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_groupField->setCurrentText(QString());
        for (QWidget* control : m_complement)
            SetWidgetText(control, QString());
        markModified();
    });
    connect(sort, &QPushButton::clicked, this, [this] {
        storeField();
        m_design.sortByColumn();
        fillOrganiser();
        showField();
        markModified();
    });
    connect(recalculate, &QPushButton::clicked, this, [this] {
        storeField();
        m_design.recalculateColumns();
        fillOrganiser();
        showField();
        markModified();
    });
    // A row selected with the mouse or the keys becomes the current field.
    connect(m_organiser, &QTableWidget::currentCellChanged, this, [this](int row, int) {
        if (row < 0 || row + 1 == m_design.current()) return;
        storeField();
        m_design.setCurrent(row + 1);
        showField();
    });
    connect(m_organiser, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        m_design.setCurrent(row + 1);
        showField();
        m_pages->setCurrentWidget(m_fieldPage);
    });
    return page;
}

QWidget* TF_PFMQF::buildHeaderPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto param = [](QString ReportParameters::*member) {
        return Text<D>([member](D& d) -> QString& { return d.parameters.*member; });
    };
    const Text<D> flags = [](D& d) -> QString& { return d.parameters.flags; };

    m_macros = Combo(u"CB_GLOBAL"_s, page);
    expr::FillMacroSuggestions(*m_macros);
    Row(layout, {u"Macros", m_macros}, page);
    const struct {
        const char16_t* edit;
        const char16_t* caption;
        const char16_t* button;
        QString ReportParameters::*member;
    } lines[] = {
        {u"E_CABL2", u"Empresa  Linha 2", u"BU_TL2", &ReportParameters::companyLine},
        {u"E_CABL3", u"Endereço Linha 3", u"BU_TL3", &ReportParameters::addressLine},
        {u"E_CABL4", u"CGC         Linha 4", u"BU_TL4", &ReportParameters::taxNumberLine},
        {u"E_CABL5", u"Texto       Linha 4 C", u"BU_TL5", &ReportParameters::taxNumberCentred},
        {u"E_RODAPE", u"Texto       Rodapé", u"BU_RODAPE", &ReportParameters::footer},
    };
    for (const auto& entry : lines) {
        QLineEdit* edit = Edit(QString::fromUtf16(entry.edit), page);
        QPushButton* put = Button(QString::fromUtf16(entry.button), u"<"_s, page);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QString::fromUtf16(entry.caption), page));
        row->addWidget(edit, 1);
        row->addWidget(put);
        layout->addLayout(row);
        b << TextOf<D>(edit, param(entry.member));
        connect(put, &QPushButton::clicked, this, [this, edit] {
            edit->setText(m_macros->currentText());
            markModified();
        });
        if (entry.member == &ReportParameters::footer) m_footer = edit;
    }
    QPushButton* stamp = Button(u"BU_DT_HR_USUARIO"_s, u"Data/Hora/Usuário"_s, page,
                                u"Coloca Data - Hora - Usuário"_s);
    Row(layout, {stamp}, page);

    QPushButton* headerFont = Button(u"BU_FONCAB"_s, u"Alterar"_s, page);
    QPushButton* headerDrop = Button(u"BU_FONCAB_EXCL"_s, u"Excluir"_s, page);
    QPushButton* companyFont = Button(u"BU_FONOMENP"_s, u"Alterar"_s, page);
    QPushButton* companyDrop = Button(u"BU_FONOMEMP_EXCL"_s, u"Excluir"_s, page);
    Row(layout,
        {u"Fonte todo Cabeçalho", headerFont, headerDrop, u"Fonte  Empresa Linha 2", companyFont,
         companyDrop},
        page);
    const auto fontButtons = [this](QPushButton* change, QPushButton* drop,
                                    ReportFont ReportFonts::*font) {
        connect(change, &QPushButton::clicked, this,
                [this, font] { chooseFont(m_design.definition().fonts.*font); });
        connect(drop, &QPushButton::clicked, this, [this, font] {
            (m_design.definition().fonts.*font).size = u"8"_s;
            markModified();
        });
    };
    fontButtons(headerFont, headerDrop, &ReportFonts::header);
    fontButtons(companyFont, companyDrop, &ReportFonts::company);

    QCheckBox* border = Check(u"CB_BORDACAB"_s, u"Bordas"_s, page);
    QCheckBox* printHeader = Check(u"CB_IMPCAB"_s, u"Imprimir Cabeçalho"_s, page);
    QCheckBox* printTitles = Check(u"CB_IMPTIT"_s, u"Imprimir Títulos"_s, page);
    QCheckBox* footerBorder = Check(u"CB_IMPBORDAPE"_s, u"Imprimir Borda no Rodapé"_s, page);
    m_dateInHeader = Check(u"CB_DATACAB"_s, u"Imprimir Data no Cabeçalho"_s, page);
    m_timeInHeader = Check(u"CB_HORACAB"_s, u"Imprimir Hora no Cabeçalho"_s, page);
    Row(layout, {border, printHeader, printTitles, footerBorder}, page);
    Row(layout, {m_dateInHeader, m_timeInHeader}, page);
    b << FlagOf<D>(border, flags, HeaderBorders, u'1', u'0')
      << FlagOf<D>(printHeader, flags, PrintHeader, u'S', u'N', Checked::UnlessOff)
      << FlagOf<D>(printTitles, flags, PrintFieldTitles, u'S', u'N', Checked::UnlessOff)
      << FlagOf<D>(footerBorder, flags, FooterBorder, u'S', u'N', Checked::UnlessOff)
      << FlagOf<D>(m_dateInHeader, flags, DateInHeader, u'S', u'N')
      << FlagOf<D>(m_timeInHeader, flags, TimeInHeader, u'S', u'N');
    connect(stamp, &QPushButton::clicked, this, [this] {
        m_footer->setText(u"Data: [DATE] - Hora: [TIME] - Usuário: [GB_SEN_USER]"_s);
        m_dateInHeader->setChecked(false);
        m_timeInHeader->setChecked(false);
        markModified();
    });
    layout->addStretch(1);
    return page;
}

QWidget* TF_PFMQF::buildDetailPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto param = [](QString ReportParameters::*member) {
        return Text<D>([member](D& d) -> QString& { return d.parameters.*member; });
    };
    const Text<D> flags = [](D& d) -> QString& { return d.parameters.flags; };

    QLineEdit* factor = Edit(u"E_COLFATOR"_s, page, 1);
    QLineEdit* spacing = Edit(u"E_TAMLINHA"_s, page);
    QLineEdit* after = Edit(u"E_ESPACOAPOS"_s, page);
    QLineEdit* height = Edit(u"E_TAMTOTLIN"_s, page);
    Row(layout,
        {u"Colfator", factor, u"Espaço entre Linhas", spacing, u"Espaço após a Linha (Pix)", after,
         u"Altura total da Linha (Pix)", height},
        page);
    b << ControlBinding<D>{[factor](D& d) {
                               const QChar c = FlagAt(d.parameters.flags, ColumnFactor);
                               factor->setText(c == u' ' ? u"3"_s : QString(c));
                           },
                           [factor](D& d) {
                               const QString c = factor->text().trimmed();
                               d.parameters.flags = WithFlag(d.parameters.flags, ColumnFactor,
                                                             c.isEmpty() ? u'3' : c.at(0));
                           }}
      << TextOf<D>(spacing, param(&ReportParameters::lineSpacing))
      << TextOf<D>(after, param(&ReportParameters::spaceAfterLine))
      << TextOf<D>(height, param(&ReportParameters::totalLineHeight));
    connect(spacing, &QLineEdit::editingFinished, this,
            [spacing] { spacing->setText(FormatDecimal(spacing->text(), 3, 0)); });

    QCheckBox* rule = Check(u"CB_SEPREG"_s, u"Separação entre Linhas"_s, page);
    QCheckBox* border = Check(u"CB_BORDAREG"_s, u"Bordas"_s, page);
    QCheckBox* above = Check(u"CB_LINHA_SUPERIOR"_s, u"Linha Borda Superior"_s, page);
    QCheckBox* wrap = Check(u"CB_WRAP"_s, u"Wrap - Quebra texto / outra linha"_s, page);
    Row(layout, {rule, border, above, wrap}, page);
    b << FlagOf<D>(rule, flags, RuleBetweenRecords, u'1', u'0')
      << FlagOf<D>(border, flags, LineEndBorders, u'1', u'0')
      << FlagOf<D>(above, flags, RuleAboveDetail, u'S', u'N')
      << FlagOf<D>(wrap, flags, WrapLongValues, u'S', u'N');

    // The three font groups of the detail: field titles, subtotal, total.
    const struct {
        const char16_t* caption;
        const char16_t* change;
        const char16_t* drop;
        ReportFont ReportFonts::*font;
        const char16_t* spacing;
        QString ReportParameters::*spacingMember;
        const char16_t* shade;
        const char16_t* shadeCaption;
        int shadeFlag;
    } groups[] = {
        {u"Detalhe - Fonte do Título dos Campos", u"BU_FONTITCAMPO", u"BU_FONTITCAMPO_EXCL",
         &ReportFonts::fieldTitles, u"E_ESPTITCAMPO", &ReportParameters::spacingAfterTitles,
         u"CB_FUNTITCAMPO", u"Sombra de Fundo", ShadedTitles},
        {u"Fonte da Linha do Subtotal", u"BU_FONSUBTOT", u"BU_FONSUBTOT_EXCL",
         &ReportFonts::subtotal, u"E_ESPSUBTOT", &ReportParameters::spacingAfterSubtotal,
         u"CB_FUNLINSUB", u"Sombra de Fundo ", ShadedSubtotal},
        {u"Fonte da Linha de Total", u"BU_FONTOTAL", u"BU_FONTOTAL_EXCL", &ReportFonts::total,
         u"E_ESPTOTAL", &ReportParameters::spacingAfterTotal, u"CB_FUNLINTOT", u"Sombra de Fundo ",
         ShadedTotal},
    };
    for (const auto& entry : groups) {
        QGroupBox* box = Group(QString::fromUtf16(entry.caption), page, layout);
        QPushButton* change = Button(QString::fromUtf16(entry.change), u"Alterar"_s, box);
        QPushButton* drop = Button(QString::fromUtf16(entry.drop), u"Excluir"_s, box);
        QLineEdit* space = Edit(QString::fromUtf16(entry.spacing), box);
        QCheckBox* shade =
            Check(QString::fromUtf16(entry.shade), QString::fromUtf16(entry.shadeCaption), box);
        QHBoxLayout* row =
            Row(BoxLayout(box), {change, drop, u"Espaço entre Linhas", space, shade}, box);
        b << TextOf<D>(space, param(entry.spacingMember))
          << FlagOf<D>(shade, flags, entry.shadeFlag, u'1', u'0');
        if (entry.font == &ReportFonts::subtotal) {
            QCheckBox* subtotalBorder = Check(u"CB_BORDASUB"_s, u"Borda"_s, box);
            row->insertWidget(5, subtotalBorder);
            b << FlagOf<D>(subtotalBorder, flags, SubtotalBorder, u'1', u'0', Checked::UnlessOff);
        }
        const auto font = entry.font;
        connect(change, &QPushButton::clicked, this,
                [this, font] { chooseFont(m_design.definition().fonts.*font); });
        connect(drop, &QPushButton::clicked, this, [this, font] {
            (m_design.definition().fonts.*font).size = u"8"_s;
            markModified();
        });
    }

    auto* borderRow = Row(layout, {u"Bordas Campos"}, page);
    const char16_t* names[] = {u"CB_DET_SUPERIOR", u"CB_DET_INFERIOR", u"CB_DET_DIREITA",
                               u"CB_DET_ESQUERDA"};
    const char16_t* captions[] = {u"Superior", u"Inferior", u"Direita", u"Esquerda"};
    for (int i = 0; i < 4; ++i) {
        QCheckBox* box = Check(QString::fromUtf16(names[i]), QString::fromUtf16(captions[i]), page);
        borderRow->insertWidget(i + 1, box);
        b << FlagOf<D>(box, flags, FieldBorderTop + i, u'S', u'N');
    }
    layout->addStretch(1);
    return page;
}

QWidget* TF_PFMQF::buildSecondaryPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto& b = m_definitionBindings;
    using D = ReportDefinition;
    const auto secondary = [](QString SecondaryTable::*m) {
        return Text<D>([m](D& d) -> QString& { return d.secondary.*m; });
    };
    m_secondaryTable = Combo(u"CB_ARQ_SEC"_s, page);
    Row(layout, {u"Nome do Arquivo", m_secondaryTable}, page);
    b << ControlBinding<D>{
        [this](D& d) { m_secondaryTable->setCurrentText(d.secondary.table); },
        [this](D& d) { d.secondary.table = m_secondaryTable->currentText().trimmed().left(3); }};
    connect(m_secondaryTable, &QComboBox::activated, this, [this](int) {
        m_secondaryTable->setCurrentText(m_secondaryTable->currentText().trimmed().left(3));
        fillSecondaryLists();
    });

    m_mainKey = Combo(u"CB_CAMPO_PRINC"_s, page);
    m_secondaryKey = Combo(u"CB_CAMPO_SEC"_s, page);
    Row(layout, {u"Campo Arq. Princ. A.", m_mainKey, u"=", u"Campo Arq. Sec. S.", m_secondaryKey},
        page);
    b << TextOf<D>(m_mainKey, secondary(&SecondaryTable::mainKey))
      << TextOf<D>(m_secondaryKey, secondary(&SecondaryTable::secondaryKey));

    m_secondaryOrder = Edit(u"E_ORDEM_SEC"_s, page);
    m_secondaryFilter = Edit(u"ED_FILTRO_SEC"_s, page);
    QPushButton* order = Button(u"LA_ORDEM_SEC"_s, u"ORDEM"_s, page);
    QPushButton* filter = Button(u"LA_FILTRO_SEC"_s, u"Filtro"_s, page);
    for (QPushButton* link : {order, filter})
        link->setFlat(true);
    Row(layout, {order, m_secondaryOrder}, page)->setStretchFactor(m_secondaryOrder, 1);
    Row(layout, {filter, m_secondaryFilter}, page)->setStretchFactor(m_secondaryFilter, 1);
    b << TextOf<D>(m_secondaryOrder, secondary(&SecondaryTable::sortFields))
      << TextOf<D>(m_secondaryFilter, secondary(&SecondaryTable::filter));
    connect(order, &QPushButton::clicked, this, [this] { chooseOrder(m_secondaryOrder, true); });
    connect(filter, &QPushButton::clicked, this, [this] { chooseFilter(m_secondaryFilter, true); });

    QButtonGroup* join = Radios(u"RG_JOIN"_s, u"Join"_s,
                                {u"0 - O campo deve ter em ambos os arquivos"_s,
                                 u"1 - Prioridade para o campo do arquivo Primário"_s,
                                 u"2 - Prioridade para o campo do arquivo Secundário"_s},
                                page, layout);
    b << ChoiceOf<D>(join, secondary(&SecondaryTable::joinKind), 0, u"012"_s, 0);
    QCheckBox* branch = Check(u"CB_FILIAL_SEC"_s, u"Somente de campos da mesma Filial"_s, page);
    layout->addWidget(branch);
    b << ControlBinding<D>{[branch](D& d) { branch->setChecked(d.secondary.joinOnBranch); },
                           [branch](D& d) { d.secondary.joinOnBranch = branch->isChecked(); }};
    layout->addStretch(1);
    return page;
}

void TF_PFMQF::watchChangesWithoutKeys() {
    // Changes made without a key press mark the definition changed as key
    // presses do: mouse choices, and a text pasted from the context menu,
    // dropped or undone in a line edit (the editable lists' texts too). The
    // signals below come from the user only, never from the window showing
    // values (setText does not emit textEdited).
    for (QCheckBox* box : findChildren<QCheckBox*>())
        if (box != m_modified) connect(box, &QCheckBox::clicked, this, &TF_PFMQF::markModified);
    for (QRadioButton* radio : findChildren<QRadioButton*>())
        connect(radio, &QRadioButton::clicked, this, &TF_PFMQF::markModified);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::activated, this, &TF_PFMQF::markModified);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textEdited, this, &TF_PFMQF::markModified);
}

void TF_PFMQF::markModified() {
    m_modified->setChecked(true);
}

bool TF_PFMQF::modified() const {
    return m_modified->isChecked();
}

void TF_PFMQF::reload() {
    QStringList lines;
    ReadKeyLines(m_menu.database, m_key, lines);
    m_design = ReportDesign(lines);
    ReportParameters& p = m_design.definition().parameters;
    p.directory = m_menu.database ? m_menu.database->path() : QString();
    p.file = data::ResolveTableName(m_menu.tableCode);

    m_showing = true;
    tools::FillFieldCombo(m_tableField, m_menu.tableCode);
    tools::FillFieldCombo(m_distinctField, m_menu.tableCode);
    tools::FillFieldCombo(m_mainKey, m_menu.tableCode);
    for (QComboBox* combo :
         {m_secondaryTable, m_otherTable, qobject_cast<QComboBox*>(m_complement.value(0))})
        if (combo && combo->count() < 2) tools::FillCatalogCombo(combo);
    m_showing = false;

    showDefinition();
    fillSecondaryLists();
    m_design.first();
    showField();
    m_modified->setChecked(false);
    // The pick lists read through the shared slots; nothing stays open.
    data::CommitAll();
}

void TF_PFMQF::showDefinition() {
    m_showing = true;
    for (auto& binding : m_definitionBindings)
        binding.load(m_design.definition());
    const QString form = m_design.definition().parameters.paperForm.trimmed();
    m_paperLength->setEnabled(form == u"3"_s);
    m_paperWidth->setEnabled(form == u"3"_s);
    showFontLabels();
    m_showing = false;
}

void TF_PFMQF::storeDefinition() {
    for (auto& binding : m_definitionBindings)
        binding.store(m_design.definition());
}

void TF_PFMQF::showFontLabels() {
    const ReportFont& font = m_design.definition().parameters.font;
    m_fontName->setText(font.name);
    m_fontSize->setText(font.size);
    m_fontStyle->setText(font.style);
    const ReportFont& fieldFont = m_design.currentField().font;
    m_fieldFont->setText(fieldFont.name + u' ' + fieldFont.size + u' ' + fieldFont.style);
}

void TF_PFMQF::showField() {
    m_showing = true;
    const int n = m_design.current();
    m_lineNumber->setText(QString::number(n + 10));
    m_currentNumber->setText(QString::number(n));
    ReportField shown = ShownField(m_design.currentField());
    for (auto& binding : m_fieldBindings)
        binding.load(shown);
    m_shownStored = shown;
    for (auto& binding : m_fieldBindings)
        binding.store(m_shownStored);
    m_expression->setCurrentText(QString());
    m_tableField->setCurrentText(QString());
    applyTypeRules();
    showFontLabels();
    m_showing = false;
}

void TF_PFMQF::storeField() {
    // A field whose controls still give what they gave when it was shown
    // keeps its stored text: browsing neither fills empty fields with the
    // controls' defaults nor rewrites its numbers.
    ReportField& field = m_design.currentField();
    ReportField stored = ShownField(field);
    for (auto& binding : m_fieldBindings)
        binding.store(stored);
    if (stored == m_shownStored) return;
    field = stored;
    m_shownStored = stored;
}

void TF_PFMQF::applyTypeRules() {
    const FieldEditorRules rules = RulesForType(QString::number(std::max(0, m_type->checkedId())));
    m_content->setEnabled(rules.contentEnabled);
    m_otherGroup->setVisible(!rules.shapeShown);
    m_otherGroup->setEnabled(rules.otherGroupEnabled);
    m_otherTable->setEnabled(rules.otherTableEnabled);
    m_otherLabel->setText(rules.otherGroupLabel);
    m_shapeGroup->setVisible(rules.shapeShown);
    if (rules.shapeShown && m_content->text().trimmed().isEmpty()) m_content->setText(u"Shape"_s);
    if (rules.otherGroupEnabled) fillOtherTableLists();
}

void TF_PFMQF::move(void (ReportDesign::*step)()) {
    storeField();
    (m_design.*step)();
    showField();
}

void TF_PFMQF::refuseNewField() {
    platform::ShowMessage(this, m_design.current() == DesignerFieldCount ? LastFieldMessage
                                                                         : FullMessage);
}

void TF_PFMQF::newField() {
    storeField();
    if (!m_design.insertAfterCurrent()) {
        refuseNewField();
        return;
    }
    showField();
    markModified();
}

void TF_PFMQF::duplicateField() {
    storeField();
    if (!m_design.duplicateCurrent()) {
        refuseNewField();
        return;
    }
    showField();
    markModified();
}

void TF_PFMQF::deleteField() {
    if (!AskOkCancel(this, u"Cancela"_s, DeleteFieldQuestion)) return;
    m_design.removeCurrent();
    showField();
    markModified();
}

void TF_PFMQF::chooseTableField(const QString& name, bool chosenInList) {
    if (m_showing || name.trimmed().isEmpty()) return;
    storeField();
    const std::optional<data::FieldDescription> description =
        data::DescribeField(m_menu.tableCode, name, u"*"_s, m_menu.database);
    ApplyTableField(m_design.currentField(), name,
                    description ? description->typeLetter : QString(),
                    description ? description->length : 0, chosenInList);
    showField();
    markModified();
}

void TF_PFMQF::chooseSecondaryField(const QString& name) {
    if (m_showing || name.trimmed().isEmpty()) return;
    m_content->setText(name);
    m_title->setText(name);
    m_type->button(1)->setChecked(true);
    applyTypeRules();
    m_tableField->setCurrentText(name);
}

void TF_PFMQF::chooseExpression(const QString& expression) {
    if (m_showing || expression.isEmpty()) return;
    storeField();
    ApplyExpression(m_design.currentField(), expression);
    showField();
    m_expression->setCurrentText(expression);
}

void TF_PFMQF::fillOtherTableLists() {
    const QString table = FirstWord(m_otherTable->currentText());
    if (table.isEmpty() || table == m_otherListsTable) return;
    m_otherListsTable = table;
    const bool showing = m_showing;
    m_showing = true;
    tools::FillIndexCombo(m_otherKey, table);
    tools::FillFieldCombo(m_otherKeyList, table);
    tools::FillFieldCombo(m_otherField, table);
    m_showing = showing;
}

void TF_PFMQF::fillSecondaryLists() {
    const QString table = m_secondaryTable->currentText().trimmed().left(3);
    if (table == m_secondaryListsTable) return;
    m_secondaryListsTable = table;
    const bool showing = m_showing;
    m_showing = true;
    m_groupField->clear();
    if (table.isEmpty()) {
        // The pick list of the former secondary table's columns goes; the
        // stored key field stays shown.
        m_secondaryField->clear();
        tools::FillFieldCombo(m_groupField, m_menu.tableCode);
    } else {
        tools::FillFieldCombo(m_secondaryKey, table);
        tools::FillFieldCombo(m_secondaryField, table);
        tools::FillFieldCombo(m_groupField, u"A."_s + m_menu.tableCode, u"S."_s + table);
    }
    SetWidgetText(m_groupField, m_design.definition().grouping.field);
    m_showing = showing;
}

void TF_PFMQF::chooseFont(ReportFont& font) {
    const QString before = FontText(font);
    const QString after = platform::ChooseFont(before, this);
    if (after == before) return;
    font = FontFromText(after);
    font.style = StoredFontStyle(font.style);
    showFontLabels();
    markModified();
}

void TF_PFMQF::paperFormChosen(int form) {
    const std::optional<PaperSize> size = PaperOfForm(QString::number(form));
    if (size) {
        m_paperWidth->setText(FormatDecimal(size->width, 7, 1));
        m_paperLength->setText(FormatDecimal(size->length, 7, 1));
    }
    m_paperLength->setEnabled(form == 3);
    m_paperWidth->setEnabled(form == 3);
    if (form == 4 && m_orientation->checkedId() == 1) m_orientation->button(0)->setChecked(true);
}

void TF_PFMQF::orientationChosen(bool landscape) {
    if (landscape && m_paperForm->checkedId() == 4) {
        m_paperForm->button(0)->setChecked(true);
        paperFormChosen(0);
    }
}

void TF_PFMQF::printerSetup() {
    storeDefinition();
    const QStringList lines = DefinitionToLines(m_design.definition(), {});
    const QString before = lines.value(3);
    const QString after = platform::ChoosePrinterSetup(before, this);
    if (after == before) return;
    QStringList chosen(4);
    chosen[3] = after;
    m_design.definition().printer = DefinitionFromLines(chosen).printer;
    m_orientation->button(m_design.definition().printer.orientation == u"H"_s ? 1 : 0)
        ->setChecked(true);
    markModified();
}

void TF_PFMQF::chooseOrder(QLineEdit* target, bool secondary) {
    const QString secondaryTable = m_secondaryTable->currentText().trimmed().left(3);
    QString source = m_menu.tableCode;
    if (secondary)
        source = secondaryTable;
    else if (!secondaryTable.isEmpty())
        source = u"A."_s + m_menu.tableCode + u"#S."_s + secondaryTable;
    QString current = target->text();
    if (secondary && current.trimmed().isEmpty()) current = u"#"_s;
    data::ResetReturnedValues();
    if (!platform::OpenWindow(u"SELC"_s, this, {u"ARQUIVO"_s, source, current}) ||
        !data::ReturnedValues().rowChosen)
        return;
    const QString result = data::ReturnedValues().values[0];
    target->setText(result.trimmed() == u"#"_s ? QString() : result);
    markModified();
}

void TF_PFMQF::chooseFilter(QLineEdit* target, bool secondary) {
    const QString source =
        secondary ? m_secondaryTable->currentText().trimmed().left(3) : m_menu.tableCode;
    data::ResetReturnedValues();
    if (!platform::OpenWindow(u"SELF"_s, this, {u"SQL"_s, source, target->text().trimmed()}) ||
        !data::ReturnedValues().rowChosen)
        return;
    const QString result = data::ReturnedValues().values[0].trimmed();
    target->setText(result == u"#"_s ? QString() : result);
    markModified();
}

void TF_PFMQF::fillOrganiser() {
    const QSignalBlocker blocker(m_organiser);
    for (int n = 1; n <= DesignerFieldCount; ++n) {
        const ReportField& field = m_design.field(n);
        const QString cells[] = {field.title, field.content, field.type, field.line, field.column};
        for (int c = 0; c < 5; ++c) {
            auto* item = m_organiser->item(n - 1, c);
            if (!item) {
                item = new QTableWidgetItem;
                m_organiser->setItem(n - 1, c, item);
            }
            item->setText(cells[c]);
        }
    }
    m_organiser->selectRow(m_design.current() - 1);
}

void TF_PFMQF::organiserMoved(bool up) {
    storeField();
    if (!(up ? m_design.moveUp() : m_design.moveDown())) return;
    fillOrganiser();
    showField();
    markModified();
}

ReportDefinition TF_PFMQF::currentDefinition() {
    storeField();
    storeDefinition();
    return m_design.definition();
}

bool TF_PFMQF::save() {
    storeField();
    storeDefinition();
    ReportParameters& parameters = m_design.definition().parameters;
    if (ToInt(parameters.lineSpacing) == 0) parameters.lineSpacing = u"12"_s;
    parameters.savedBy = data::Globals().user.name;
    parameters.savedOn = QDate::currentDate().toString(u"dd/MM/yy"_s);
    // Written over the stored lines, each field over the text of its own
    // line, wherever it moved. When they cannot be read nothing is written:
    // the lines this window does not edit would be lost. A key not stored
    // yet is written new.
    QStringList stored;
    if (ReadKeyLinesChecked(m_menu.database, m_key, stored) == data::ParamReadResult::Failed) {
        platform::ShowError(this, u"Não foi possível ler a formatação gravada; nada foi gravado, "
                                  u"para não perder as linhas que esta janela não altera."_s);
        return false;
    }
    if (!WriteKeyLines(m_menu.database, m_key, m_design.lines(stored),
                       StoredTitle(parameters.title))) {
        platform::ShowError(this, print::SaveFailedMessage());
        return false;
    }
    m_modified->setChecked(false);
    return true;
}

bool TF_PFMQF::saveSettings() {
    if (!modified()) return true;
    if (!AskOkCancel(this, u"Salvar Registro"_s, u"O Registro não foi salvo.   Salvar agora ?"_s))
        return true;
    return save();
}

void TF_PFMQF::importOldFormat() {
    QString folder = u"/VORTANEW/EMPRESAS"_s;
    if (!QDir(folder).exists()) folder = QDir::currentPath();
    const QString name = m_importName->text().trimmed();
    const std::optional<QString> path = platform::ChooseFileToOpen(
        this, u"Importar Formatação Paradox"_s, QDir(folder).filePath(name + u".FMQ"_s),
        u"Formatação (%1*.FMQ);;Todos (*)"_s.arg(name));
    if (path) importFile(*path);
}

bool TF_PFMQF::importFile(const QString& path) {
    QStringList lines;
    if (!ReadLinesFile(path, lines)) return false;
    if (!platform::AskYesNo(this, u"A formatação atual do relatório será substituída pela do "
                                  u"arquivo. Continuar ?"_s))
        return false;
    if (!WriteKeyLines(m_menu.database, m_key, lines, ImportedTitle(lines))) {
        platform::ShowError(this, print::SaveFailedMessage());
        return false;
    }
    reload();
    return true;
}

bool TF_PFMQF::eventFilter(QObject* watched, QEvent* event) {
    // Entering the column list shows the field's content, the name to change.
    if (event->type() == QEvent::FocusIn &&
        (watched == m_tableField || watched == m_tableField->lineEdit()) && !m_showing)
        m_tableField->setCurrentText(m_content->text());
    if (event->type() == QEvent::KeyPress && isAncestorOf(qobject_cast<QWidget*>(watched))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_pages->currentWidget() == m_fieldPage &&
            (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp)) {
            move(key->key() == Qt::Key_PageDown ? &ReportDesign::forward : &ReportDesign::back);
            return true;
        }
        if (!MovesOnly(*key)) markModified();
    }
    return FormWindow::eventFilter(watched, event);
}

} // namespace livrax::reports
