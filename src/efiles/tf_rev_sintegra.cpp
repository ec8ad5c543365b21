#include "efiles/tf_rev_sintegra.h"

#include "common/numbers.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace livrax::efiles {

namespace {

const QString SettingKey = u"REV_SINTEGRA"_s;
constexpr int SettingLines = 20;
constexpr int FileNameLine = 2;
// The partners' table: the setting is kept in its database.
const QString SettingTable = u"EMP"_s;
// The problems a message lists before it only counts the rest.
constexpr int ProblemsShown = 20;

const QStringList Captions = {
    u"Tp"_s,        u"CNPJ"_s,      u"Sigla"_s,   u"DtEmis"_s,    u"Nota"_s,   u"CFOP"_s,
    u"Val.Total"_s, u"Base Calc"_s, u"Val.ICM"_s, u"Isentas"_s,   u"Outras"_s, u"Aliq"_s,
    u"Sit"_s,       u"UF"_s,        u"Mod"_s,     u"Insc.Est."_s, u"Fre"_s,    u"E/S"_s};

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QStringList RowTexts(const ReversalRow& row) {
    return {row.type,
            row.cnpj,
            row.partner,
            row.date.isValid() ? row.date.toString(u"dd/MM/yyyy"_s) : QString(),
            row.number,
            row.cfop,
            FormatScaled(row.total, 13, 2),
            FormatScaled(row.base, 13, 2),
            FormatScaled(row.icms, 11, 2),
            FormatScaled(row.exempt, 13, 2),
            FormatScaled(row.other, 13, 2),
            FormatScaled(row.rate, 8, 2),
            row.situation,
            row.state,
            row.model,
            row.stateReg,
            row.freight,
            row.direction};
}

QString ProblemList(const std::vector<ReversalProblem>& problems) {
    QStringList lines;
    for (std::size_t i = 0; i < problems.size() && i < std::size_t(ProblemsShown); ++i)
        lines << ProblemText(problems[i]);
    if (problems.size() > std::size_t(ProblemsShown))
        lines << u"... e mais %1 problema(s)"_s.arg(problems.size() - ProblemsShown);
    return u"O arquivo tem problemas e não será importado:\n"_s + lines.join(u'\n');
}

// The hourglass while the import runs.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

TF_REV_SINTEGRA::TF_REV_SINTEGRA(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_REV_SINTEGRA"_s);
    setWindowTitle(u"F_REV_SINTEGRA - Le arquivos do SINTEGRA e importa para o NEXORW"_s);
    buildControls();
    data::ParamRead(data::DatabaseFor(SettingTable), SettingKey, SettingLines);
    m_fileName->setText(data::ParamLines().line(FileNameLine));
    m_tabs->setCurrentIndex(0);
}

void TF_REV_SINTEGRA::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_import = Button(u"BU_EXECUTAR"_s, u"&Importar"_s, this);
    m_import->setEnabled(false);
    auto* locateButton = Button(u"BU_LOCALIZAR"_s, u"Localizar arquivo"_s, this);
    auto* open = Button(u"BU_OPEN"_s, u"Abrir"_s, this);
    open->setToolTip(u"Abre o arquivo indicado"_s);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(u"E_ARQUIVO"_s);
    m_count = new QLabel(u"Reg: 0"_s, this);
    m_count->setObjectName(u"LA_REG"_s);
    auto* close = Button(u"BU_SAIR"_s, u"Sair"_s, this);
    top->addWidget(m_import);
    top->addWidget(locateButton);
    top->addWidget(open);
    top->addWidget(m_fileName, 1);
    top->addWidget(m_count);
    top->addWidget(close);
    layout->addLayout(top);

    m_tabs = new QTabWidget(this);
    auto* reading = new QWidget;
    auto* readingLayout = new QHBoxLayout(reading);
    m_grid = new QTableWidget(0, int(Captions.size()), reading);
    m_grid->setObjectName(u"GRID"_s);
    m_grid->setHorizontalHeaderLabels(Captions);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    readingLayout->addWidget(m_grid, 1);
    // The side panel's navigation and edit buttons do nothing here: the
    // rows are the file's and are imported as read.
    auto* side = new QVBoxLayout;
    for (const QString& caption : {u"Primeiro"_s, u"Anterior"_s, u"Próximo"_s, u"Último"_s,
                                   u"Incluir"_s, u"Excluir"_s, u"Alterar"_s}) {
        auto* idle = new QPushButton(caption, reading);
        idle->setEnabled(false);
        side->addWidget(idle);
    }
    side->addStretch();
    readingLayout->addLayout(side);
    m_tabs->addTab(reading, u"LEITURA"_s);

    auto* editing = new QWidget;
    auto* editingLayout = new QVBoxLayout(editing);
    m_editor = new QTextEdit(editing);
    m_editor->setObjectName(u"E_TEXTO"_s);
    m_editor->setLineWrapMode(QTextEdit::NoWrap);
    m_editor->setAcceptRichText(false);
    m_editor->setFont(QFont(u"Monospace"_s));
    editingLayout->addWidget(m_editor, 1);
    auto* caret = new QHBoxLayout;
    m_line = new QLabel(u"Linha: 1"_s, editing);
    m_line->setObjectName(u"LA_LINHA"_s);
    m_column = new QLabel(u"Coluna: 1"_s, editing);
    m_column->setObjectName(u"LA_COLUNA"_s);
    auto* save = Button(u"BU_SALVAR"_s, u"Salvar"_s, editing);
    save->setEnabled(false); // the file is read, never written, here
    caret->addWidget(m_line);
    caret->addWidget(m_column);
    caret->addStretch();
    caret->addWidget(save);
    editingLayout->addLayout(caret);
    m_tabs->addTab(editing, u"EDITOR"_s);
    layout->addWidget(m_tabs, 1);
    resize(1000, 560);

    connect(m_import, &QPushButton::clicked, this, &TF_REV_SINTEGRA::import);
    connect(locateButton, &QPushButton::clicked, this, &TF_REV_SINTEGRA::locate);
    connect(open, &QPushButton::clicked, this, &TF_REV_SINTEGRA::load);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_editor, &QTextEdit::cursorPositionChanged, this, &TF_REV_SINTEGRA::followCaret);
}

void TF_REV_SINTEGRA::followCaret() {
    const QTextCursor cursor = m_editor->textCursor();
    m_line->setText(u"Linha: %1"_s.arg(cursor.blockNumber() + 1));
    m_column->setText(u"Coluna: %1"_s.arg(cursor.positionInBlock() + 1));
}

void TF_REV_SINTEGRA::locate() {
    const std::optional<QString> chosen = platform::ChooseFileToOpen(
        this, u"Localizar arquivo"_s, m_fileName->text(),
        u"ArquivosTxt (*.txt *.TXT *.db *.DB VRTNCBP.DB*);;Todos Arquivos (*)"_s);
    if (!chosen) return;
    // The name is kept as the file system spells it: a name put in upper
    // case would not open on a file system that tells cases apart.
    m_fileName->setText(*chosen);
    load();
}

void TF_REV_SINTEGRA::load() {
    m_file = {};
    m_grid->setRowCount(0);
    m_count->setText(u"Reg: 0"_s);
    m_import->setEnabled(false);
    m_tabs->setCurrentIndex(0);
    const QString path = m_fileName->text().trimmed();
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;

    QByteArray bytes;
    if (QFileInfo(path).suffix().compare(u"txt"_s, Qt::CaseInsensitive) == 0) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            platform::ShowError(this,
                                u"Não foi possível ler \"%1\": %2"_s.arg(path, file.errorString()));
            return;
        }
        bytes = file.readAll();
        QStringDecoder decoder("windows-1252");
        m_editor->setPlainText(decoder(bytes));
        if (m_editor->document()->firstBlock().text().trimmed().isEmpty()) return;
    } else {
        // Not a text file: the editor's text is what is read.
        QStringEncoder encoder("windows-1252");
        bytes = encoder(m_editor->toPlainText());
    }

    m_file = ReadSintegraReversal(bytes);
    QString error;
    if (!MatchPartners(m_file.rows, &error)) {
        platform::ShowError(this, u"Os parceiros não puderam ser lidos: "_s + error);
        m_file = {};
        return;
    }
    showRows();
    if (!m_file.problems.empty()) {
        platform::ShowMessage(this, ProblemList(m_file.problems));
        return;
    }
    m_import->setEnabled(true);
}

void TF_REV_SINTEGRA::showRows() {
    m_grid->setRowCount(int(m_file.rows.size()));
    for (int r = 0; r < int(m_file.rows.size()); ++r) {
        const QStringList texts = RowTexts(m_file.rows[std::size_t(r)]);
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c >= 6 && c <= 11) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c, item);
        }
    }
    m_count->setText(u"Reg: %1"_s.arg(m_file.rows.size()));
}

void TF_REV_SINTEGRA::import() {
    if (!m_file.problems.empty()) return;
    const ReversalSummary summary = SummariseReversal(m_file.rows);
    const int documents = summary.entries + summary.exits;
    if (documents == 0) {
        platform::ShowMessage(this, u"O arquivo não tem documentos do registro 50."_s);
        return;
    }
    QString error;
    std::optional<int> existing;
    {
        WaitCursor wait;
        existing = CountExistingDocuments(m_file.rows, &error);
    }
    if (!existing) {
        platform::ShowError(this, u"As notas existentes não puderam ser lidas: "_s + error);
        return;
    }
    if (*existing > 0 &&
        !platform::AskYesNo(
            this, u"%1 de %2 documentos deste arquivo já existem no banco de "
                  u"dados (mesmo número, parceiro e data).\nImportar de novo?"_s.arg(*existing)
                      .arg(documents)))
        return;
    ReversalImport result;
    {
        WaitCursor wait;
        result = ImportReversal(m_file.rows);
    }
    if (!result.ok) {
        platform::ShowError(this, result.message);
        return;
    }
    platform::ShowMessage(this, u"Conversão concluída\n"_s + SummaryText(result.written));
}

void TF_REV_SINTEGRA::done(int result) {
    // The stored lines are read again so that the others survive.
    data::Connection* database = data::DatabaseFor(SettingTable);
    data::ParamRead(database, SettingKey, SettingLines);
    data::ParamLines().setLine(FileNameLine, m_fileName->text());
    // Only the last file name is at stake: the user is told, the window
    // still closes.
    if (!data::ParamWrite(database, SettingKey, SettingLines))
        platform::ShowError(this, u"O nome do último arquivo não pôde ser gravado (parâmetro "_s +
                                      SettingKey + u")."_s);
    data::CommitAll();
    QDialog::done(result);
}

void RegisterReversalWindows() {
    platform::RegisterWindow(u"REV_SINTEGRA"_s, [](QWidget* parent, const QStringList&) {
        TF_REV_SINTEGRA window(parent);
        window.exec();
    });
}

} // namespace livrax::efiles
