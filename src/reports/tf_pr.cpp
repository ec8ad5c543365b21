#include "reports/tf_pr.h"

#include "data/routing.h"
#include "expr/macros.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/print_job.h"
#include "tools/query_model.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

QLineEdit* NewEdit(const QString& objectName, QWidget* parent, bool readOnly = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(readOnly);
    return edit;
}

} // namespace

TF_PR::TF_PR(const ReportMenu& menu, int number, QWidget* parent)
    : FormWindow(u"TF_PR"_s, u"Relatório "_s + ReportNumber(number), parent), m_menu(menu),
      m_number(number) {
    auto* fields = new QFormLayout;
    m_title = NewEdit(u"E_CAB_TITULO"_s, this);
    fields->addRow(u"Título"_s, m_title);
    auto* where = new QHBoxLayout;
    m_type = NewEdit(u"E_TIPO"_s, this, true);
    m_type->setMaximumWidth(40);
    m_table = NewEdit(u"E_ARQUIVO"_s, this, true);
    m_database = NewEdit(u"E_DIRETORIO"_s, this, true);
    where->addWidget(new QLabel(u"Tipo"_s, this));
    where->addWidget(m_type);
    where->addWidget(new QLabel(u"Arquivo"_s, this));
    where->addWidget(m_table);
    where->addWidget(new QLabel(u"Banco"_s, this));
    where->addWidget(m_database, 1);
    fields->addRow(where);
    m_filter = NewEdit(u"E_FILTRO"_s, this);
    fields->addRow(u"Filtro"_s, m_filter);
    mainLayout()->addLayout(fields);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PC_PAGINAS"_s);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(u"MEMO"_s);
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pages->addTab(m_memo, u"SQL"_s);
    m_model = new tools::QueryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"GRID"_s);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_pages->addTab(m_grid, u"Grid"_s);
    mainLayout()->addWidget(m_pages, 1);

    // The expression problems of the last run, one per line ("line.field: ...").
    m_diagnostics = new QListWidget(this);
    m_diagnostics->setObjectName(u"LB_AVISOS"_s);
    m_diagnostics->setMaximumHeight(80);
    mainLayout()->addWidget(m_diagnostics);

    auto* buttons = new QHBoxLayout;
    mainLayout()->addLayout(buttons);
    const auto runButton = [&](const QString& name, const QString& caption, const QString& letter) {
        QPushButton* button = addButton(name, caption);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, letter] { runTo(letter); });
        m_runButtons.insert(letter, button);
        return button;
    };
    m_print = runButton(u"BU_IMPRIMIR"_s, u"Imprimir"_s, u"P"_s);
    runButton(u"BU_VISAO"_s, u"Visão"_s, u"V"_s);
    runButton(u"BU_EXCEL"_s, u"Excel"_s, u"E"_s);
    runButton(u"BU_TXT"_s, u"TXT"_s, u"T"_s);
    runButton(u"BU_EMAIL"_s, u"E-mail"_s, u"K"_s);
    QPushButton* build = addButton(u"BU_MONTAR"_s, u"Montar"_s);
    buttons->addWidget(build);
    connect(build, &QPushButton::clicked, this, [this] { buildQuery(); });
    buttons->addStretch(1);
    QPushButton* leave = addButton(u"BU_SAIR"_s, u"Sair"_s);
    buttons->addWidget(leave);
    connect(leave, &QPushButton::clicked, this, &QWidget::close);
    m_reprint = addButton(u"BU_REPRINT"_s, u"RePrint"_s);
    m_reprint->hide();
    connect(m_reprint, &QPushButton::clicked, this, &TF_PR::reprint);

    resize(760, 560);
    installConventions();
}

TF_PR::~TF_PR() = default;

QPushButton* TF_PR::addButton(const QString& objectName, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

void TF_PR::loadSettings() {
    QString error;
    m_reportLoaded = LoadReport(m_menu, m_number, m_report, error);
    if (!m_reportLoaded) {
        platform::ShowError(this, u"Não foi possível abrir o relatório: "_s + error);
        return;
    }
    m_title->setText(m_report.definition.parameters.title);
    m_table->setText(m_report.selection.tableName);
    m_database->setText(m_report.selection.databaseName);
}

bool TF_PR::saveSettings() {
    // The window keeps no settings of its own; its query ends with it.
    m_model->close();
    return true;
}

bool TF_PR::buildQuery() {
    if (!m_reportLoaded) return false;
    m_model->close();
    SetRunCurrency(m_report.selection);
    const expr::MacroRun macros;
    m_built = BuildReport(m_report, macros);
    m_memo->setPlainText(m_built.lines.join(u'\n'));
    // The period replaces the one an earlier build added; the title the user
    // typed before it stays.
    QString title = m_title->text();
    if (!m_titlePeriod.isEmpty() && title.endsWith(m_titlePeriod)) title.chop(m_titlePeriod.size());
    m_titlePeriod = m_built.titlePeriod;
    m_title->setText(title + m_titlePeriod);
    if (!m_built.refusals.isEmpty()) {
        platform::ShowError(this,
                            m_built.refusals.join(u'\n') + u"\nO relatório não foi montado."_s);
        return false;
    }
    if (!m_built.ok()) return false;
    KeepStatementText(m_built);
    data::Connection* database = data::DatabaseFor(m_report.table);
    if (!database) {
        platform::ShowError(this,
                            u"Banco de dados da tabela %1 não encontrado."_s.arg(m_report.table));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    try {
        m_model->open(*database, m_built.sql());
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        // The window stays open: the statement can be read in MEMO and in
        // "P_FMQRR.TXT", and the report mended in the designer.
        platform::ShowError(this, u"A consulta não pôde ser executada: "_s + failure);
        return false;
    }
    return true;
}

void TF_PR::runTo(const QString& letter) {
    QPushButton* button = m_runButtons.value(letter);
    if (button) button->setEnabled(false);
    m_running = true;
    const auto finish = qScopeGuard([&] {
        m_running = false;
        if (button) button->setEnabled(true);
    });
    m_type->setText(letter);
    if (!m_model->isOpen() && !buildQuery()) return;
    const std::optional<print::Destination> destination = print::DestinationFromCode(letter);
    if (!destination) return;
    SetCurrentReport(m_menu, m_number);
    m_diagnostics->clear();
    ReportRun run(m_report, m_built);
    const QString title = m_title->text();
    print::FormWindow::runReport(
        *destination, [&run](print::PrintJob& job) { run.draw(job); }, title,
        [&](print::PrintSettings& settings) {
            run.applySettings(settings);
            settings.title = title;
        },
        [this] { m_reprint->click(); });
    m_diagnostics->addItems(run.diagnostics());
    if (m_printAfterRun) {
        m_printAfterRun = false;
        // After this run is over, so that the printer's run is not drawn
        // inside the preview's.
        QMetaObject::invokeMethod(m_print, &QPushButton::click, Qt::QueuedConnection);
    }
}

void TF_PR::reprint() {
    if (m_running)
        m_printAfterRun = true;
    else
        m_print->click();
}

} // namespace livrax::reports
