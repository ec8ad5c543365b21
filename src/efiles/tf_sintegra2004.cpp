#include "efiles/tf_sintegra2004.h"

#include "common/dates.h"
#include "common/error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/queries.h"
#include "efiles/sintegra_grids.h"
#include "platform/dialogs.h"
#include "platform/file_dialogs.h"
#include "platform/masked_edit.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "print/tf_edit.h"
#include "tools/selection.h"
#include "tools/tf_self.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <tuple>

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

struct RecordBox {
    int type;
    QString caption;
};

const QList<RecordBox>& RecordBoxes() {
    static const QList<RecordBox> boxes{
        {50, u"50/53 - NOTA FISCAL - ICMS/Substituição Tributária"_s},
        {51, u"51 - NOTA FISCAL - IPI"_s},
        {53, u"53 - SUBSTITUIÇÃO TRIBUTÁRIA"_s},
        {54, u"54 - PRODUTO"_s},
        {55, u"55 - GUIA NACIONAL DE RECOLHIMENTO DE TRIBUTOS ESTADUAIS"_s},
        {61, u"61 - BILHETE DE PASSAGEM / VENDA CONSUMIDOR"_s},
        {70, u"70 - NOTA FISCAL DE SERV.TRANSPORTE DE CARGA"_s},
        {71, u"71 - INFORMAÇÕES DA CARGA TRANSPORTADA (VRTNNFC)"_s},
        {75, u"75 - CÓDIGO DE PRODUTO OU DE SERVIÇO"_s},
    };
    return boxes;
}

QString BoxName(int type) {
    return u"CB_"_s + QString::number(type);
}

const QStringList& Models61() {
    static const QStringList models{
        u"24 - Autorização de Carregamento e Transporte, modelo 24"_s,
        u"14 - Bilhete de Passagem Aquaviário, modelo 14"_s,
        u"15 - Bilhete de Passagem e Nota de Bagagem, modelo 15"_s,
        u"16 - Bilhete de Passagem Ferroviário, modelo 16"_s,
        u"13 - Bilhete de Passagem Rodoviário, modelo 13"_s,
        u"10 - Conhecimento Aéreo, modelo 10"_s,
        u"11 - Conhecimento de Transporte Ferroviário de Cargas, modelo 11"_s,
        u"09 - Conhecimento de Transporte Aquaviário de Cargas, modelo 9"_s,
        u"08 - Conhecimento de Transporte Rodoviário de Cargas, modelo 8"_s,
        u"17 - Despacho de Transporte, modelo 17"_s,
        u"25 - Manifesto de Carga, modelo 25"_s,
        u"01 - Nota Fiscal, modelo 1"_s,
        u"06 - Nota Fiscal/Conta de Energia Elétrica, modelo 6"_s,
        u"03 - Nota Fiscal de Entrada, modelo 3"_s,
        u"21 - Nota Fiscal de Serviço de Comunicação, modelo 21"_s,
        u"04 - Nota Fiscal de Produtor, modelo 4"_s,
        u"22 - Nota Fiscal de Serviço de Telecomunicações, modelo 22"_s,
        u"07 - Nota Fiscal de Serviço de Transporte, modelo 7"_s,
        u"02 - Nota Fiscal de Venda a Consumidor, modelo 02"_s,
        u"20 - Ordem de Coleta de Carga, modelo 20"_s,
        u"18 - Resumo Movimento Diário, modelo 18"_s,
    };
    return models;
}

// The tab a writer's lines come from.
QString TabOfRecord(int type) {
    static const QList<int> tabs{10, 50, 51, 53, 55, 61, 70, 71, 75};
    return tabs.contains(type) ? u"T-"_s + QString::number(type) : QString();
}

// An amount typed with the decimal comma (thousands dots allowed) or a point.
qint64 TypedAmount(const QString& text) {
    QString value = text.trimmed();
    if (value.contains(u',')) value.remove(u'.');
    return ToScaled(value, 2);
}

} // namespace

TF_SINTEGRA2004::TF_SINTEGRA2004(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_SINTEGRA2004"_s);
    setWindowTitle(u"F_SINTEGRA - 2004"_s);

    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* files = menu->addMenu(u"Arquivos"_s);
    QAction* stageAction = files->addAction(u"Montar"_s);
    QAction* printScreen = files->addAction(u"Imprimir Tela"_s);
    QAction* leave = menu->addAction(u"Sair"_s);
    leave->setShortcut(QKeySequence(Qt::Key_F12));
    addAction(leave); // F12 wherever the focus is
    layout->setMenuBar(menu);

    auto* bar = new QHBoxLayout;
    const auto button = [this, bar](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        bar->addWidget(b);
        return b;
    };
    m_stageButton = button(u"BU_MONTAR"_s, u"Montar"_s);
    QPushButton* exportButton = button(u"BU_EXPORTAR"_s, u"Exportar"_s);
    QPushButton* editButton = button(u"BU_EDIT"_s, u"Editar"_s);
    QPushButton* exitButton = button(u"BU_SAIR"_s, u"Sair"_s);
    bar->addStretch();
    layout->addLayout(bar);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PC_SINTEGRA"_s);
    m_tabs->addTab(buildGeneral(), u"Geral"_s);
    m_tabs->addTab(buildT10(), u"T-10"_s);
    m_tabs->addTab(buildT11(), u"T-11"_s);
    m_tabs->addTab(buildInvoiceGrid(50), u"T-50"_s);
    m_tabs->addTab(buildInvoiceGrid(51), u"T-51"_s);
    m_tabs->addTab(buildInvoiceGrid(53), u"T-53"_s);
    m_tabs->addTab(buildNote(u"Os Itens dos produtos serão gerados diretamento no Registro de "
                             u"Saída"_s),
                   u"T-54"_s);
    m_tabs->addTab(buildT55(), u"T-55"_s);
    m_tabs->addTab(buildT61(), u"T-61"_s);
    m_tabs->addTab(buildT70(), u"T-70"_s);
    m_tabs->addTab(buildGridOnly(71), u"T-71"_s);
    m_tabs->addTab(buildGridOnly(75), u"T-75"_s);
    m_tabs->addTab(buildNote(u"Cupom fiscal: nenhum registro 60 é gerado."_s), u"T-60"_s);
    m_tabs->addTab(buildNote(u"NFP: nenhum registro 88 é gerado."_s), u"T-88"_s);
    layout->addWidget(m_tabs, 1);
    showStaging();

    connect(m_stageButton, &QPushButton::clicked, this, [this] { stage(); });
    connect(stageAction, &QAction::triggered, this, [this] { stage(); });
    connect(printScreen, &QAction::triggered, this, &TF_SINTEGRA2004::printScreen);
    connect(exportButton, &QPushButton::clicked, this, &TF_SINTEGRA2004::exportFile);
    connect(editButton, &QPushButton::clicked, this, &TF_SINTEGRA2004::editFile);
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(leave, &QAction::triggered, this, &QWidget::close);

    // What makes the grids out of date.
    for (const RecordBox& record : RecordBoxes())
        connect(box(BoxName(record.type)), &QCheckBox::toggled, this, [this] { markStale(); });
    for (const QString& name : {u"E_DTINICIAL"_s, u"E_55_11"_s, u"S_FILTRO_61"_s, u"E_MODELO_61"_s,
                                u"E_SERIE_61"_s, u"E_SUBSERIE_61"_s})
        connect(edit(name), &QLineEdit::textChanged, this, [this] { markStale(); });
    for (const QString& name : {u"E_DTINICIAL"_s, u"E_55_11"_s}) {
        QLineEdit* date = edit(name);
        connect(date, &QLineEdit::textChanged, this, [this, date] { m_dateChanged[date] = true; });
        connect(date, &QLineEdit::editingFinished, this, [this, date] { dateLeft(date); });
    }

    // Enter moves on to the next control.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    resize(900, 640);
}

TF_SINTEGRA2004::~TF_SINTEGRA2004() {
    // A field that had the focus reports being left while the window goes.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->disconnect(this);
}

QLineEdit* TF_SINTEGRA2004::newEdit(const QString& name, int maxLength, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QLabel* TF_SINTEGRA2004::newTotal(const QString& name, QWidget* parent) {
    auto* total = new QLabel(u"0,00"_s, parent);
    total->setObjectName(name);
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    total->setMinimumWidth(90);
    return total;
}

QLabel* TF_SINTEGRA2004::newFilterLink(const QString& name, const QString& caption,
                                       const FilterLink& link, QWidget* parent) {
    auto* l = new QLabel(u"<u>"_s + caption + u"</u>"_s, parent);
    l->setObjectName(name);
    l->setCursor(Qt::PointingHandCursor);
    m_links.insert(l, link);
    return l;
}

QTableView* TF_SINTEGRA2004::newGrid(int type, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(u"GRID_"_s + QString::number(type));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* model = new StagedGridModel(view);
    view->setModel(model);
    m_grids.insert(type, model);
    return view;
}

QWidget* TF_SINTEGRA2004::buildGeneral() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(u"Nome do Arquivo:"_s, page), 0, 0);
    QLineEdit* file = newEdit(u"E_ARQSAIDA"_s, 0, page);
    file->setReadOnly(true);
    file->setText(DefaultSintegraFile());
    grid->addWidget(file, 0, 1, 1, 2);
    int row = 1;
    const auto addBox = [&](const QString& name, const QString& caption, const QString& count) {
        auto* b = new QCheckBox(caption, page);
        b->setObjectName(name);
        grid->addWidget(b, row, 1);
        if (!count.isEmpty()) {
            auto* total = new QLabel(u"0"_s, page);
            total->setObjectName(count);
            total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(total, row, 2);
        }
        ++row;
        return b;
    };
    for (const RecordBox& record : RecordBoxes()) {
        const QString type = QString::number(record.type);
        addBox(u"CB_"_s + type, record.caption, u"LA_TOT"_s + type);
        if (record.type == 55)
            addBox(u"CB_60"_s, u"60 - CUPOM FISCAL - PDV - BILHETE DE PASSAGEM "_s, QString())
                ->setEnabled(false);
    }
    addBox(u"CB_88"_s, u"88 - NFP"_s, QString())->setEnabled(false);
    QCheckBox* fromEntries = addBox(u"CB_70_PDE"_s, u"Ler notas do VRTNPDE"_s, QString());
    fromEntries->setToolTip(u"Ler as notas do arquivo VRTNPDE (Notas de Entrada)"_s);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* TF_SINTEGRA2004::buildT10() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow(u"CNPJ:"_s, newEdit(u"E_CNPJ10"_s, 20, page));
    form->addRow(u"Inscrição Estadual:"_s, newEdit(u"E_INSCEST"_s, 20, page));
    form->addRow(u"Nome do Contribuinte:"_s, newEdit(u"E_NOMECONTRIB"_s, 35, page));
    form->addRow(u"Município:"_s, newEdit(u"E_MUNICIPIO"_s, 30, page));
    form->addRow(u"UF:"_s, newEdit(u"E_UF"_s, 2, page));
    form->addRow(u"Fax:"_s, newEdit(u"E_FAX"_s, 10, page));
    for (const auto& [name, caption] : {std::pair{u"E_DTINICIAL"_s, u"Data Inicial:"_s},
                                        std::pair{u"E_DTFINAL"_s, u"Data Final:"_s}}) {
        auto* date = new platform::MaskedLineEdit(page);
        date->setObjectName(name);
        date->setInputMask(u"99/99/99;_"_s);
        date->setMaximumWidth(90);
        form->addRow(caption, date);
    }
    const auto combo = [page](const QString& name, const QStringList& items, int current) {
        auto* c = new QComboBox(page);
        c->setObjectName(name);
        c->addItems(items);
        c->setCurrentIndex(current);
        return c;
    };
    m_agreement =
        combo(u"E_CONVENIO"_s,
              {u"1 - Convênio 31/99"_s, u"2 - Convênio xx/02"_s, u"3 - Convênio 76/03"_s}, 2);
    form->addRow(u"Convênio:"_s, m_agreement);
    m_natures = combo(u"E_NATUREZA"_s,
                      {u"1 - Interestaduais - somente operações sujeitas as regime de "
                       u"substituição tributária"_s,
                       u"2 - Interestaduais - operações com ou sem substituição tributária"_s,
                       u"3 - Totalidade das operações do informante"_s},
                      2);
    form->addRow(u"Natureza das Operações:"_s, m_natures);
    m_purpose = combo(u"E_ARQMAG"_s,
                      {u"1 - Normal"_s,
                       u"2 - Retificação total de arquivo: substituição total informações "
                       u"prestadas pelo contribuinte ref. este período"_s,
                       u"3 - Retificação aditiva de arquivo: acréscimo de informação não "
                       u"incluída em arquivos já apresentados"_s,
                       u"5 - Desfazimento: arquivo de informação referente a "
                       u"operações/prestações não efetivas."_s},
                      0);
    form->addRow(u"Finalidade do Arquivo:"_s, m_purpose);
    for (const auto& [name, caption] :
         {std::pair{u"CB_NGSENTRADA"_s, u"Não gravar a série da NF. de Entrada"_s},
          std::pair{u"CB_NGSSAIDA"_s, u"Não gravar a série da NF. de Saída"_s}}) {
        auto* b = new QCheckBox(caption, page);
        b->setObjectName(name);
        form->addRow(b);
    }
    return page;
}

QWidget* TF_SINTEGRA2004::buildT11() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    form->addRow(u"Logradouro:"_s, newEdit(u"E_LOGRADOURO"_s, 34, page));
    form->addRow(u"Número:"_s, newEdit(u"E_NUMERO"_s, 5, page));
    form->addRow(u"Complemento:"_s, newEdit(u"E_COMPLEMENTO"_s, 22, page));
    form->addRow(u"Bairro:"_s, newEdit(u"E_BAIRRO"_s, 15, page));
    form->addRow(u"CEP:"_s, newEdit(u"E_CEP"_s, 8, page));
    form->addRow(u"Pessoa de Contato:"_s, newEdit(u"E_CONTATO"_s, 28, page));
    form->addRow(u"Telefone:"_s, newEdit(u"E_TELEFONE"_s, 12, page));
    return page;
}

QWidget* TF_SINTEGRA2004::buildInvoiceGrid(int type) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    if (type == 50) {
        auto* filters = new QGridLayout;
        QLineEdit* entries = newEdit(u"E_FILTROS"_s, 0, page);
        QLineEdit* exits = newEdit(u"S_FILTROS"_s, 0, page);
        filters->addWidget(newFilterLink(u"LA_FILTRO_3"_s, u"Filtro Entradas"_s,
                                         {u"SQL"_s, u"PDE"_s, u"VRTNPDE."_s, entries}, page),
                           0, 0);
        filters->addWidget(entries, 0, 1);
        filters->addWidget(newFilterLink(u"LA_FILTRO_S"_s, u"Filtro Saídas"_s,
                                         {u"SQL"_s, u"PDS"_s, u"VRTNPDS."_s, exits}, page),
                           1, 0);
        filters->addWidget(exits, 1, 1);
        layout->addLayout(filters);
        auto* options = new QHBoxLayout;
        options->addWidget(new QLabel(u"Gravar com a Série"_s, page));
        QLineEdit* series = newEdit(u"E_SERIE_50"_s, 2, page);
        series->setText(u"00"_s);
        series->setMaximumWidth(40);
        options->addWidget(series);
        for (const auto& [name, caption] :
             {std::pair{u"CB_ZERAICM"_s, u"Zerar ICM - Saídas"_s},
              std::pair{u"CB_ZERAICMPDE"_s, u"Zerar ICM - Entrada"_s}}) {
            auto* b = new QCheckBox(caption, page);
            b->setObjectName(name);
            options->addWidget(b);
        }
        options->addStretch();
        layout->addLayout(options);
    }
    layout->addWidget(newGrid(type, page), 1);
    const QString suffix = type == 50 ? QString() : u"_"_s + QString::number(type);
    auto* totals = new QGridLayout;
    totals->addWidget(new QLabel(u"Contábil"_s, page), 0, 1);
    totals->addWidget(new QLabel(u"Base"_s, page), 0, 2);
    totals->addWidget(new QLabel(u"Imposto"_s, page), 0, 3);
    int row = 1;
    for (const auto& [side, caption] :
         {std::pair{u"E"_s, u"Entradas"_s}, std::pair{u"S"_s, u"Saídas"_s}}) {
        totals->addWidget(new QLabel(caption, page), row, 0);
        int column = 1;
        for (const QString& part : {u"CONTABIL"_s, u"BASE"_s, u"IMPOSTO"_s})
            totals->addWidget(newTotal(u"LA_"_s + side + u"_"_s + part + suffix, page), row,
                              column++);
        ++row;
    }
    layout->addLayout(totals);
    return page;
}

QWidget* TF_SINTEGRA2004::buildNote(const QString& text) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(text, page));
    layout->addStretch();
    return page;
}

QWidget* TF_SINTEGRA2004::buildT55() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    const auto add = [&](const QString& n, int max, const QString& caption, bool date = false) {
        QLineEdit* e;
        if (date) {
            auto* masked = new platform::MaskedLineEdit(page);
            masked->setInputMask(u"99/99/99;_"_s);
            masked->setMaximumWidth(90);
            e = masked;
            e->setObjectName(u"E_55_"_s + n);
        } else {
            e = newEdit(u"E_55_"_s + n, max, page);
        }
        form->addRow(caption, e);
    };
    add(u"02"_s, 14, u"02 - CNPJ do contribuinte Substituto Tributário"_s);
    add(u"03"_s, 14, u"03 - Inscrição Estadual na UF favorecida"_s);
    add(u"04"_s, 0, u"04 - Data do Pagamento"_s, true);
    add(u"05"_s, 2, u"05 - UF do contribuinte Substituto"_s);
    add(u"06"_s, 2, u"06 - UF favorecida"_s);
    add(u"07"_s, 3, u"07 - Banco"_s);
    add(u"08"_s, 4, u"08 - Agência"_s);
    add(u"09"_s, 20, u"09 - Número da GNRE"_s);
    add(u"10"_s, 13, u"10 - Valor da GNRE"_s);
    add(u"11"_s, 0, u"11 - Data de Vencimento"_s, true);
    add(u"12"_s, 6, u"12 - Mes e Ano de Referência (MMAAAA)"_s);
    add(u"13"_s, 30, u"13 - Número do Convênio ou Protocolo"_s);
    return page;
}

QWidget* TF_SINTEGRA2004::buildT61() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    QLineEdit* filter = newEdit(u"S_FILTRO_61"_s, 0, page);
    top->addWidget(newFilterLink(u"Label44"_s, u"Filtro Saídas"_s,
                                 {u"SQL"_s, u"PDS"_s, u"VRTNPDS."_s, filter}, page));
    top->addWidget(filter, 1);
    layout->addLayout(top);
    auto* fields = new QHBoxLayout;
    for (const auto& [name, caption, max] :
         {std::tuple{u"E_MODELO_61"_s, u"Gravar modêlo "_s, 2},
          std::tuple{u"E_SERIE_61"_s, u"Gravar Série"_s, 3},
          std::tuple{u"E_SUBSERIE_61"_s, u"Gravar Sub Série"_s, 2}}) {
        fields->addWidget(new QLabel(caption, page));
        QLineEdit* e = newEdit(name, max, page);
        e->setMaximumWidth(50);
        fields->addWidget(e);
    }
    auto* models = new QComboBox(page);
    models->setObjectName(u"CB_MODELO_61"_s);
    models->addItems(Models61());
    models->setCurrentIndex(-1);
    fields->addWidget(models, 1);
    layout->addLayout(fields);
    connect(models, &QComboBox::currentIndexChanged, this, [this, models](int index) {
        if (index >= 0) edit(u"E_MODELO_61"_s)->setText(models->itemText(index).left(2));
    });
    layout->addWidget(newGrid(61, page), 1);
    auto* totals = new QHBoxLayout;
    totals->addStretch();
    totals->addWidget(new QLabel(u"Saídas"_s, page));
    totals->addWidget(newTotal(u"LA_S_CONTABIL_61"_s, page));
    layout->addLayout(totals);
    return page;
}

QWidget* TF_SINTEGRA2004::buildT70() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* filters = new QGridLayout;
    QLineEdit* air = newEdit(u"E_FILTRO_AEREO"_s, 0, page);
    QLineEdit* road = newEdit(u"E_FILTRO_TERRESTRE"_s, 0, page);
    QLineEdit* entries = newEdit(u"E_FILTRO_PDE"_s, 0, page);
    const QString hint = u"Filtre para selecionar somente as CFOP's necessárias"_s;
    entries->setToolTip(hint);
    entries->setEnabled(false);
    filters->addWidget(
        newFilterLink(u"Label79"_s, u"Filtro Aéreo"_s, {u"EXE"_s, u"FCA"_s, {}, air}, page), 0, 0);
    filters->addWidget(air, 0, 1, 1, 2);
    filters->addWidget(
        newFilterLink(u"Label80"_s, u"Filtro Terrestre"_s, {u"EXE"_s, u"FCT"_s, {}, road}, page), 1,
        0);
    filters->addWidget(road, 1, 1, 1, 2);
    QLabel* pde = newFilterLink(u"LA_FILTROPDE"_s, u"Filtro PDE"_s,
                                {u"EXE"_s, u"PDE"_s, {}, entries, true}, page);
    QLabel* freight =
        newFilterLink(u"Label43"_s, u"Frete"_s, {u"EXE"_s, u"PDE"_s, {}, entries, true}, page);
    for (QLabel* link : {pde, freight}) {
        link->setToolTip(hint);
        link->setEnabled(false);
    }
    filters->addWidget(pde, 2, 0);
    filters->addWidget(freight, 2, 1);
    filters->addWidget(entries, 2, 2);
    filters->setColumnStretch(2, 1);
    layout->addLayout(filters);
    connect(box(u"CB_70_PDE"_s), &QCheckBox::toggled, this, [entries, pde, freight](bool on) {
        for (QWidget* w : {static_cast<QWidget*>(entries), static_cast<QWidget*>(pde),
                           static_cast<QWidget*>(freight)})
            w->setEnabled(on);
    });

    auto* options = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{u"CB_MONTAR_AEREO"_s, u"Montar Aéreo"_s},
                                        std::pair{u"CB_MONTAR_TERRESTRE"_s, u"Montar Terrestre"_s},
                                        std::pair{u"CB_MONTAR_AWB"_s, u"Montar AWB"_s}}) {
        auto* b = new QCheckBox(caption, page);
        b->setObjectName(name);
        b->setChecked(true);
        options->addWidget(b);
    }
    m_freightPayer = new QComboBox(page);
    m_freightPayer->setObjectName(u"E_TFRETE"_s);
    m_freightPayer->setEditable(true);
    m_freightPayer->addItems({u"1 = FOB"_s, u"2 = CIF"_s});
    m_freightPayer->setEditText(u"2"_s);
    options->addWidget(m_freightPayer);
    auto* progress = new QLabel(u"Nconhec"_s, page);
    progress->setObjectName(u"LA_NCONHEC"_s);
    options->addWidget(progress);
    options->addStretch();
    layout->addLayout(options);
    layout->addWidget(newGrid(70, page), 1);
    auto* totals = new QGridLayout;
    totals->addWidget(new QLabel(u"Contábil"_s, page), 0, 1);
    totals->addWidget(new QLabel(u"Base"_s, page), 0, 2);
    totals->addWidget(new QLabel(u"Imposto"_s, page), 0, 3);
    int row = 1;
    for (const auto& [suffix, caption] :
         {std::pair{u"AER"_s, u"Aéreo"_s}, std::pair{u"TER"_s, u"Terrestre"_s}}) {
        totals->addWidget(new QLabel(caption, page), row, 0);
        totals->addWidget(newTotal(u"LA_CONTAB_"_s + suffix, page), row, 1);
        totals->addWidget(newTotal(u"LA_BASE_"_s + suffix, page), row, 2);
        totals->addWidget(newTotal(u"LA_IMP_"_s + suffix, page), row, 3);
        ++row;
    }
    layout->addLayout(totals);
    return page;
}

QWidget* TF_SINTEGRA2004::buildGridOnly(int type) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    if (type == 75)
        layout->addWidget(new QLabel(u"Esta grade será atualizada somente na Exportação"_s, page));
    layout->addWidget(newGrid(type, page), 1);
    return page;
}

QLineEdit* TF_SINTEGRA2004::edit(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

QCheckBox* TF_SINTEGRA2004::box(const QString& name) const {
    return findChild<QCheckBox*>(name);
}

QLabel* TF_SINTEGRA2004::label(const QString& name) const {
    return findChild<QLabel*>(name);
}

QString TF_SINTEGRA2004::dateText(const QString& name) const {
    const QString text = edit(name)->displayText().replace(u'_', u' ');
    return IsBlank(text) ? QString() : text;
}

SintegraSettings TF_SINTEGRA2004::settings() const {
    SintegraSettings s;
    SintegraInformant& i = s.informant;
    i.cnpj = edit(u"E_CNPJ10"_s)->text();
    i.stateReg = edit(u"E_INSCEST"_s)->text();
    i.name = edit(u"E_NOMECONTRIB"_s)->text();
    i.municipality = edit(u"E_MUNICIPIO"_s)->text();
    i.state = edit(u"E_UF"_s)->text();
    i.fax = edit(u"E_FAX"_s)->text();
    i.startDate = dateText(u"E_DTINICIAL"_s);
    i.endDate = dateText(u"E_DTFINAL"_s);
    i.agreement = m_agreement->currentText();
    i.natures = m_natures->currentText();
    i.purpose = m_purpose->currentText();
    i.street = edit(u"E_LOGRADOURO"_s)->text();
    i.number = edit(u"E_NUMERO"_s)->text();
    i.complement = edit(u"E_COMPLEMENTO"_s)->text();
    i.district = edit(u"E_BAIRRO"_s)->text();
    i.postalCode = edit(u"E_CEP"_s)->text();
    i.contact = edit(u"E_CONTATO"_s)->text();
    i.phone = edit(u"E_TELEFONE"_s)->text();
    for (const RecordBox& record : RecordBoxes())
        *s.choice.box(record.type) = box(BoxName(record.type))->isChecked();
    s.record60 = box(u"CB_60"_s)->isChecked();
    s.record88 = box(u"CB_88"_s)->isChecked();
    s.outputFile = edit(u"E_ARQSAIDA"_s)->text();
    s.entryFilter = edit(u"E_FILTROS"_s)->text();
    s.exitFilter = edit(u"S_FILTROS"_s)->text();
    s.freightFromEntries = box(u"CB_70_PDE"_s)->isChecked();
    s.entryFreightFilter = edit(u"E_FILTRO_PDE"_s)->text().trimmed();
    s.freightPayer = m_freightPayer->currentText().left(1);
    s.blankEntrySeries = box(u"CB_NGSENTRADA"_s)->isChecked();
    s.blankExitSeries = box(u"CB_NGSSAIDA"_s)->isChecked();
    s.entrySeries50 = edit(u"E_SERIE_50"_s)->text();
    s.air = box(u"CB_MONTAR_AEREO"_s)->isChecked();
    s.road = box(u"CB_MONTAR_TERRESTRE"_s)->isChecked();
    s.waybills = box(u"CB_MONTAR_AWB"_s)->isChecked();
    s.zeroExitIcms = box(u"CB_ZERAICM"_s)->isChecked();
    s.zeroEntryIcms = box(u"CB_ZERAICMPDE"_s)->isChecked();
    s.exitFilter61 = edit(u"S_FILTRO_61"_s)->text();
    s.model61 = edit(u"E_MODELO_61"_s)->text();
    s.series61 = edit(u"E_SERIE_61"_s)->text();
    s.subSeries61 = edit(u"E_SUBSERIE_61"_s)->text();
    return s;
}

SintegraGnre TF_SINTEGRA2004::gnre() const {
    SintegraGnre g;
    g.cnpj = edit(u"E_55_02"_s)->text();
    g.stateReg = edit(u"E_55_03"_s)->text();
    g.date = dateText(u"E_55_04"_s);
    g.substituteState = edit(u"E_55_05"_s)->text();
    g.favouredState = edit(u"E_55_06"_s)->text();
    g.bank = edit(u"E_55_07"_s)->text();
    g.agency = edit(u"E_55_08"_s)->text();
    g.number = edit(u"E_55_09"_s)->text();
    g.amount = TypedAmount(edit(u"E_55_10"_s)->text());
    g.dueDate = dateText(u"E_55_11"_s);
    g.reference = edit(u"E_55_12"_s)->text();
    g.agreement = edit(u"E_55_13"_s)->text();
    return g;
}

void TF_SINTEGRA2004::showSettings(const SintegraSettings& s) {
    const SintegraInformant& i = s.informant;
    const std::pair<const char*, const QString*> texts[] = {
        {"E_CNPJ10", &i.cnpj},
        {"E_INSCEST", &i.stateReg},
        {"E_NOMECONTRIB", &i.name},
        {"E_MUNICIPIO", &i.municipality},
        {"E_UF", &i.state},
        {"E_FAX", &i.fax},
        {"E_DTINICIAL", &i.startDate},
        {"E_DTFINAL", &i.endDate},
        {"E_LOGRADOURO", &i.street},
        {"E_NUMERO", &i.number},
        {"E_COMPLEMENTO", &i.complement},
        {"E_BAIRRO", &i.district},
        {"E_CEP", &i.postalCode},
        {"E_CONTATO", &i.contact},
        {"E_TELEFONE", &i.phone},
        {"E_ARQSAIDA", &s.outputFile},
        {"E_FILTROS", &s.entryFilter},
        {"S_FILTROS", &s.exitFilter},
        {"E_FILTRO_PDE", &s.entryFreightFilter},
        {"E_SERIE_50", &s.entrySeries50},
        {"S_FILTRO_61", &s.exitFilter61},
        {"E_MODELO_61", &s.model61},
        {"E_SERIE_61", &s.series61},
        {"E_SUBSERIE_61", &s.subSeries61},
    };
    for (const auto& [name, value] : texts)
        edit(QString::fromLatin1(name))->setText(*value);
    // The convênio keeps its default; the other lists show the saved item.
    m_natures->setCurrentText(i.natures);
    m_purpose->setCurrentText(i.purpose);
    m_freightPayer->setEditText(s.freightPayer);
    SintegraChoice choice = s.choice;
    for (const RecordBox& record : RecordBoxes())
        box(BoxName(record.type))->setChecked(*choice.box(record.type));
    box(u"CB_60"_s)->setChecked(s.record60);
    box(u"CB_88"_s)->setChecked(s.record88);
    const std::pair<const char*, bool> checks[] = {
        {"CB_70_PDE", s.freightFromEntries}, {"CB_NGSENTRADA", s.blankEntrySeries},
        {"CB_NGSSAIDA", s.blankExitSeries},  {"CB_MONTAR_AEREO", s.air},
        {"CB_MONTAR_TERRESTRE", s.road},     {"CB_MONTAR_AWB", s.waybills},
        {"CB_ZERAICM", s.zeroExitIcms},      {"CB_ZERAICMPDE", s.zeroEntryIcms},
    };
    for (const auto& [name, checked] : checks)
        box(QString::fromLatin1(name))->setChecked(checked);
    // Filled by loading, not typed: leaving the dates changes nothing yet.
    m_dateChanged.clear();
}

void TF_SINTEGRA2004::showStaging() {
    const SintegraStaging& s = m_staging;
    m_grids[50]->setGrid(Grid50(s.rows50));
    m_grids[51]->setGrid(Grid51(s.rows51));
    m_grids[53]->setGrid(Grid53(s.rows53));
    m_grids[61]->setGrid(Grid61(s.rows61));
    m_grids[70]->setGrid(Grid70(s.rows70));
    m_grids[71]->setGrid(Grid71(s.rows71));
    m_grids[75]->setGrid(Grid75(m_products75));
    for (auto it = m_grids.cbegin(); it != m_grids.cend(); ++it) {
        auto* view = qobject_cast<QTableView*>(it.value()->parent());
        for (int column : it.value()->grid().hiddenColumns)
            view->setColumnHidden(column, true);
    }
    const auto showTotals = [this](const StagedTotals& totals, const QString& prefix,
                                   const QString& suffix) {
        label(prefix + u"CONTABIL"_s + suffix)->setText(AmountText(totals.accounting));
        label(prefix + u"BASE"_s + suffix)->setText(AmountText(totals.base));
        label(prefix + u"IMPOSTO"_s + suffix)->setText(AmountText(totals.tax));
    };
    showTotals(s.entries50, u"LA_E_"_s, QString());
    showTotals(s.exits50, u"LA_S_"_s, QString());
    showTotals(s.entries51, u"LA_E_"_s, u"_51"_s);
    showTotals(s.exits51, u"LA_S_"_s, u"_51"_s);
    showTotals(s.entries53, u"LA_E_"_s, u"_53"_s);
    showTotals(s.exits53, u"LA_S_"_s, u"_53"_s);
    label(u"LA_S_CONTABIL_61"_s)->setText(AmountText(s.exits61));
    for (const auto& [totals, suffix] :
         {std::pair{&s.air, u"AER"_s}, std::pair{&s.road, u"TER"_s}}) {
        label(u"LA_CONTAB_"_s + suffix)->setText(AmountText(totals->accounting));
        label(u"LA_BASE_"_s + suffix)->setText(AmountText(totals->base));
        label(u"LA_IMP_"_s + suffix)->setText(AmountText(totals->tax));
    }
}

void TF_SINTEGRA2004::showCounts(const std::map<int, int>& counts) {
    for (const auto& [type, count] : counts)
        if (QLabel* l = label(u"LA_TOT"_s + QString::number(type)))
            l->setText(QString::number(count));
}

void TF_SINTEGRA2004::showTab(const QString& caption) {
    for (int t = 0; t < m_tabs->count(); ++t)
        if (m_tabs->tabText(t) == caption) m_tabs->setCurrentIndex(t);
}

void TF_SINTEGRA2004::refuse(const SintegraRefusal& refusal) {
    if (refusal.beep) QApplication::beep();
    showTab(refusal.tab);
    if (QLineEdit* field = edit(refusal.field)) field->setFocus();
    platform::ShowMessage(this, refusal.message);
}

void TF_SINTEGRA2004::markStale() {
    m_stageButton->setEnabled(true);
}

void TF_SINTEGRA2004::dateLeft(QLineEdit* date) {
    if (!m_dateChanged.value(date)) return;
    m_dateChanged[date] = false;
    // Empty when the initial date is not a whole valid date: the final date
    // is then left as it is.
    const QString last = LastDayOfMonthShort(dateText(u"E_DTINICIAL"_s));
    if (!last.isEmpty()) edit(u"E_DTFINAL"_s)->setText(last);
}

bool TF_SINTEGRA2004::stage() {
    const SintegraSettings s = settings();
    if (const auto refused = CheckStagingPeriod(s.informant.startDate, s.informant.endDate)) {
        refuse(*refused);
        return false;
    }
    SintegraStagingOptions options = StagingOptionsOf(s);
    options.airFilter = edit(u"E_FILTRO_AEREO"_s)->text();
    options.roadFilter = edit(u"E_FILTRO_TERRESTRE"_s)->text();
    QLabel* progress = label(u"LA_NCONHEC"_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_staging = StageSintegra(options,
                                  [progress](const QString& number) { progress->setText(number); });
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        // The grids keep what they showed, and stay out of date.
        const auto* own = dynamic_cast<const Error*>(&error);
        platform::ShowError(this, u"A montagem falhou: "_s +
                                      (own ? own->message() : QString::fromUtf8(error.what())));
        return false;
    }
    QApplication::restoreOverrideCursor();
    // A new staging: the products of the last export no longer belong to it.
    m_products75.clear();
    showStaging();
    m_stageButton->setEnabled(false);
    if (!m_staging.failures.isEmpty())
        platform::ShowError(this, u"Arquivo montado, mas estas consultas falharam e as suas grades "
                                  u"ficaram vazias:\n"_s +
                                      m_staging.failures.join(u'\n'));
    else
        platform::SystemMessage(u"T"_s, u"Arquivo montado"_s);
    return true;
}

void TF_SINTEGRA2004::exportFile() {
    label(u"LA_TOT54"_s)->setText(u"0"_s);
    SintegraSettings s = settings();
    // Out of date grids are staged first, when the period allows it (the
    // checks below refuse a period that does not).
    // A staging run here whose queries failed has told the user which: the
    // file is not written from grids that miss documents.
    if (m_stageButton->isEnabled() &&
        !CheckStagingPeriod(s.informant.startDate, s.informant.endDate) &&
        (!stage() || !m_staging.failures.isEmpty()))
        return;
    if (const auto refused = CheckSintegraExport(s.informant)) {
        refuse(*refused);
        return;
    }
    m_lines.clear();
    SintegraFile file;
    try {
        file = ComposeSintegraFile(s.informant, s.choice, gnre(), m_staging, [this](int type) {
            const QString tab = TabOfRecord(type);
            if (!tab.isEmpty()) showTab(tab);
        });
    } catch (const std::exception& error) {
        const auto* own = dynamic_cast<const Error*>(&error);
        platform::ShowError(this, u"A exportação falhou: "_s +
                                      (own ? own->message() : QString::fromUtf8(error.what())));
        return;
    }
    m_lines = file.lines;
    showCounts(file.counts);
    m_products75 = file.products75;
    m_grids[75]->setGrid(Grid75(m_products75));

    const QString proposed =
        SintegraSaveProposal(edit(u"E_ARQSAIDA"_s)->text(), s.informant.endDate);
    edit(u"E_ARQSAIDA"_s)->setText(proposed);
    const std::optional<QString> chosen =
        platform::AskSaveFileName(this, u"Salvar arquivo SINTEGRA"_s, proposed,
                                  u"Arq. Txt (*.TXT *.txt);;Todos arqs. (*)"_s, u"TXT"_s);
    if (!chosen) return;
    edit(u"E_ARQSAIDA"_s)->setText(*chosen);
    try {
        SaveSintegraFile(*chosen, m_lines);
    } catch (const Error& error) {
        platform::ShowError(this, error.message());
        return;
    }
    platform::ShowMessage(this, u"Exportação Concluida"_s);
}

void TF_SINTEGRA2004::editFile() {
    // The editor reads the file when it is shown.
    print::TF_EDIT editor(this);
    editor.setFileName(edit(u"E_ARQSAIDA"_s)->text());
    editor.setFixedPitch(true);
    editor.setPlainSave(true);
    editor.exec();
    repaint();
}

void TF_SINTEGRA2004::printScreen() {
    print::PrintScreen(this);
}

void TF_SINTEGRA2004::openFilter(const FilterLink& link) {
    tools::SelHandOver& selection = tools::Selection();
    selection.selMode = link.mode;
    selection.selSource = link.table;
    selection.selResult = link.target->text();
    selection.selSizes.clear();
    {
        tools::TF_SELF dialog(this);
        if (!link.prefix.isEmpty())
            dialog.findChild<QLineEdit*>(u"P_PREFIXO"_s)->setText(link.prefix);
        dialog.exec();
    }
    QString result = selection.selResult;
    result.replace(u'#', u' ');
    link.target->setText(link.trimmed ? result.trimmed() : result);
}

void TF_SINTEGRA2004::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded) return;
    m_loaded = true;
    m_tabs->setCurrentIndex(0);
    showSettings(LoadSintegraSettings());
}

bool TF_SINTEGRA2004::saveOnce() {
    if (m_saved || !m_loaded) return true;
    if (!SaveSintegraSettings(settings()) && !m_leaveUnsaved) {
        // What the window holds is not lost: it stays open once.
        m_leaveUnsaved = true;
        platform::ShowError(this, u"As opções do SINTEGRA não foram gravadas: o registro está em "
                                  u"uso em outra estação ou o banco de dados não respondeu.\nA "
                                  u"janela continua aberta; feche-a de novo para sair sem "
                                  u"gravar."_s);
        return false;
    }
    m_saved = true;
    data::CommitAll();
    m_lines.clear();
    return true;
}

void TF_SINTEGRA2004::closeEvent(QCloseEvent* event) {
    if (!saveOnce()) {
        event->ignore();
        return;
    }
    done(QDialog::Rejected);
    event->accept();
}

void TF_SINTEGRA2004::reject() {}

void TF_SINTEGRA2004::focusAfter(QWidget* current) {
    // The next control of the focus chain that takes the focus by Tab and
    // can be reached now (a control of a tab in the back is passed over).
    for (QWidget* next = current->nextInFocusChain(); next && next != current;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled() &&
            isAncestorOf(next)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool TF_SINTEGRA2004::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && m_links.contains(watched)) {
        if (static_cast<QWidget*>(watched)->isEnabled()) openFilter(m_links.value(watched));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (enter && widget && !qobject_cast<QPushButton*>(watched) &&
            !qobject_cast<QTableView*>(watched)) {
            focusAfter(widget);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterSintegraWindows() {
    platform::RegisterWindow(u"SINTEGRA2004"_s, [](QWidget* parent, const QStringList&) {
        TF_SINTEGRA2004 window(parent);
        window.exec();
    });
}

} // namespace livrax::efiles
