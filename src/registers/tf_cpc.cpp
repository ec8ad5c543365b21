#include "registers/tf_cpc.h"

#include "common/fields.h"
#include "common/text.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "print/screen_print.h"
#include "tools/record_mode.h"
#include "tools/tf_pesqc.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

const QString NotFound = u"___"_s;
const QString HistoryMarkers = u"[SIGLA] [EMPRESA] [PEDIDO] [NOTA] [OBS] [CCUSTO] [NUMERO]"_s;
const QString DuplicateHistoryMarkers =
    u"Substituição [SIGLA], [NUMERO], [HISTORICO], [CCUSTO], [NUMDOC]"_s;

// The fields whose caption shows what they name, and the fields a new
// record empties (the additional and receivables fields are kept).
const QStringList CaptionedColumns = {u"SIGLA"_s, u"NATOPER"_s,   u"CONTADEB"_s,
                                      u"HPDEB"_s, u"CONTACRED"_s, u"HPCRED"_s};
const QStringList NewRecordEmpties = {u"SIGLA"_s, u"NATOPER"_s, u"CONTADEB"_s,  u"CONTACRED"_s,
                                      u"HPDEB"_s, u"HPCRED"_s,  u"DEBHISTOR"_s, u"CREDHISTOR"_s};

// The lookup buttons of tab CADASTRO: field, caption, table, key.
struct Lookup {
    const char16_t* column;
    const char16_t* button;
    const char16_t* caption;
    const char16_t* table;
    const char16_t* key;
};
const Lookup Lookups[] = {
    {u"SIGLA", u"BU_SIGLA", u"Sigla/CCusto", u"EMP", u"SIGLA"},
    {u"NATOPER", u"BU_NATOPER", u"CFOP/Cod", u"NAT", u"NATOPER"},
    {u"CONTADEB", u"BU_CONTADEB", u"Conta Débito", u"CBP", u"CONTA"},
    {u"HPDEB", u"BU_HPDEB", u"HP Débito", u"CBH", u"NUMERO"},
    {u"CONTACRED", u"BU_CONTACRED", u"Conta Crédito", u"CBP", u"CONTA"},
    {u"HPCRED", u"BU_HPCRED", u"HP Débito", u"CBH", u"NUMERO"},
};

QString Captioned(const QString& column, const QString& text) {
    if (column == u"SIGLA"_s) return PartnerCaption(text);
    if (column == u"NATOPER"_s) return NatureCaption(text);
    if (column.startsWith(u"CONTA"_s)) return AccountCaption(text);
    return HistoryCaption(text);
}

} // namespace

const QStringList& FinancialOperations() {
    static const QStringList items = {u"200 - Recebimento"_s,
                                      u"210 - Receb. Venda a Vista"_s,
                                      u"211 - Receb. Venda a Prazo"_s,
                                      u"212 - Receb. Cartão de Crédito"_s,
                                      u"260 - Despesas Bancária"_s,
                                      u"270 - Abatimento"_s,
                                      u"280 - Receb. Parcial. 2 Dupl"_s,
                                      u"290 - Estorno de Recebimento"_s,
                                      u"------------------------------"_s,
                                      u"500 - Pagamamentos a Vista"_s,
                                      u"510 - Pagamentos a Prazo"_s,
                                      u"570 - Abatimento"_s,
                                      u"580 - Pagamento Parcia. 2 Dupll"_s,
                                      u"590 - Estorno de Pagamento"_s};
    return items;
}

TF_CPC::TF_CPC(QWidget* parent, const QString& initialSigla)
    : QDialog(parent), m_initialSigla(initialSigla) {
    setObjectName(u"F_CPC"_s);
    setWindowTitle(u"F_CPC - Cadastro de Contas por Cliente"_s);
    buildControls();
    m_tabs->setCurrentIndex(0);
    reload();
    showRecord(m_records.empty() ? -1 : 0);
    setEditing(false);
}

QLineEdit* TF_CPC::addField(const QString& column, int maxLength, bool upper, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(u"E_"_s + column);
    edit->setMaxLength(maxLength);
    edit->installEventFilter(this);
    if (upper) {
        connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
            const int cursor = edit->cursorPosition();
            edit->setText(text.toUpper());
            edit->setCursorPosition(cursor);
        });
    }
    m_fields[column] = edit;
    if (CaptionedColumns.contains(column)) {
        connect(edit, &QLineEdit::textChanged, this, [this, column] { updateCaption(column); });
    }
    return edit;
}

void TF_CPC::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(u"Arquivo"_s);
    connect(file->addAction(u"Imprimir Tela"_s), &QAction::triggered, this, &TF_CPC::printWindow);
    connect(file->addAction(u"Sair"_s), &QAction::triggered, this, &TF_CPC::reject);
    QMenu* operations = menu->addMenu(u"Operações"_s);
    const auto item = [&](QMenu* owner, const QString& caption, const QKeySequence& keys,
                          auto slot) {
        QAction* action = owner->addAction(caption);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item(operations, u"Novo"_s, QKeySequence(Qt::Key_F1), &TF_CPC::newRecord);
    item(operations, u"Alterar"_s, QKeySequence(Qt::Key_F2), &TF_CPC::editRecord);
    item(operations, u"Salvar"_s, QKeySequence(Qt::Key_F3), &TF_CPC::saveRecord);
    item(operations, u"Duplica o registro Atual"_s, QKeySequence(Qt::Key_F10),
         &TF_CPC::duplicateRecord);
    QMenu* queries = menu->addMenu(u"Consulta"_s);
    item(queries, u"CPC - Cad.Contas p/Cliente"_s, QKeySequence(Qt::Key_F6), &TF_CPC::search);
    const auto query = [&](const QString& caption, const QString& code) {
        connect(queries->addAction(caption), &QAction::triggered, this,
                [this, code] { tools::OpenQueryWindow(this, code); });
    };
    query(u"Plano de Contas"_s, u"CBP"_s);
    query(u"Historico Padrão"_s, u"CBH"_s);
    query(u"Nat.Operação"_s, u"NAT"_s);
    connect(menu->addAction(u"Help"_s), &QAction::triggered, this,
            [this] { platform::OpenWindow(u"HELP"_s, this, {u"FCPC"_s}); });
    // F12 leaves, as in the other register and book windows.
    QAction* leave = menu->addAction(u"Sair"_s);
    leave->setShortcut(QKeySequence(Qt::Key_F12));
    connect(leave, &QAction::triggered, this, &TF_CPC::reject);
    layout->setMenuBar(menu);

    auto* top = new QHBoxLayout;
    const struct {
        const char16_t* name;
        const char16_t* caption;
        void (TF_CPC::*slot)();
    } buttons[] = {
        {u"BU_NOVO", u"Novo", &TF_CPC::newRecord},
        {u"BU_ALTERA", u"Altera", &TF_CPC::editRecord},
        {u"BU_SALVA", u"Salva", nullptr},
        {u"BU_PESQUISA", u"Pesquisa", &TF_CPC::search},
        {u"BU_PRIMEIRO", u"|<", &TF_CPC::first},
        {u"BU_RETORNA", u"<", &TF_CPC::previous},
        {u"BU_AVANCA", u">", &TF_CPC::next},
        {u"BU_ULTIMO", u">|", &TF_CPC::last},
        {u"BU_CANCELA", u"Cancela", &TF_CPC::cancelEdit},
        {u"BU_IMPTELA", u"Imprime", &TF_CPC::printWindow},
        {u"BU_EXCLUI", u"Exclui", &TF_CPC::deleteRecord},
        {u"BU_SAIR", u"Sair", &TF_CPC::reject},
    };
    for (const auto& entry : buttons) {
        auto* button = new QPushButton(QString::fromUtf16(entry.caption), this);
        button->setObjectName(QString::fromUtf16(entry.name));
        button->setAutoDefault(false);
        if (entry.slot)
            connect(button, &QPushButton::clicked, this, entry.slot);
        else
            connect(button, &QPushButton::clicked, this, [this] { saveRecord(); });
        top->addWidget(button);
    }
    top->addWidget(new QLabel(u"SEQ:"_s, this));
    m_seqLabel = new QLabel(this);
    m_seqLabel->setObjectName(u"LA_SEQ"_s);
    top->addWidget(m_seqLabel);
    m_filialField = new QLineEdit(this);
    m_filialField->setObjectName(u"E_FILIAL"_s);
    m_filialField->setVisible(false);
    m_initialField = new QLineEdit(m_initialSigla, this);
    m_initialField->setObjectName(u"E_SIGLA_INIC"_s);
    m_initialField->setVisible(false);
    layout->addLayout(top);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(u"PageControl1"_s);
    layout->addWidget(m_tabs);

    // Tab CADASTRO.
    auto* register_ = new QWidget(m_tabs);
    register_->setObjectName(u"PA_CADASTRO"_s);
    auto* grid = new QGridLayout(register_);
    int row = 0;
    for (const Lookup& lookup : Lookups) {
        const QString column = QString::fromUtf16(lookup.column);
        auto* button = new QPushButton(QString::fromUtf16(lookup.caption), register_);
        button->setObjectName(QString::fromUtf16(lookup.button));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, column] { lookUp(column); });
        const bool code = column == u"SIGLA"_s || column == u"NATOPER"_s;
        const int length = column == u"SIGLA"_s                                   ? 20
                           : column == u"NATOPER"_s || column.startsWith(u"HP"_s) ? 4
                                                                                  : 20;
        QLineEdit* edit = addField(column, length, code, register_);
        auto* caption = new QLabel(NotFound, register_);
        caption->setObjectName(u"LA_"_s + column);
        m_captions[column] = caption;
        grid->addWidget(button, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(caption, row, 2);
        ++row;
        if (column == u"SIGLA"_s) {
            m_costCentres = new QComboBox(register_);
            m_costCentres->setObjectName(u"E_CCUSTO"_s);
            m_costCentres->addItems(CostCentres());
            m_costCentres->setCurrentIndex(-1);
            connect(m_costCentres, &QComboBox::activated, this, [this](int index) {
                m_fields[u"SIGLA"_s]->setText(m_costCentres->itemText(index));
            });
            grid->addWidget(m_costCentres, row++, 1);
        } else if (column == u"NATOPER"_s) {
            edit->setToolTip(u"CFOP ou Operação Financeiroa"_s);
            m_operations = new QComboBox(register_);
            m_operations->setObjectName(u"E_NATOPER1"_s);
            m_operations->setToolTip(u"Operações Financeiras"_s);
            m_operations->addItems(FinancialOperations());
            m_operations->setCurrentIndex(-1);
            connect(m_operations, &QComboBox::activated, this, [this](int index) {
                const QString chosen = m_operations->itemText(index);
                if (chosen.startsWith(u'-')) return;
                m_fields[u"NATOPER"_s]->setText(chosen.left(4).trimmed());
                m_captions[u"NATOPER"_s]->setText(chosen);
            });
            grid->addWidget(m_operations, row++, 1);
        } else if (column == u"HPDEB"_s || column == u"HPCRED"_s) {
            const QString history = column == u"HPDEB"_s ? u"DEBHISTOR"_s : u"CREDHISTOR"_s;
            grid->addWidget(
                new QLabel(column == u"HPDEB"_s ? u"Histórico Débito"_s : u"Histórico Crédito"_s,
                           register_),
                row, 0);
            QLineEdit* text = addField(history, 40, false, register_);
            text->setToolTip(HistoryMarkers);
            grid->addWidget(text, row++, 1, 1, 2);
        }
    }
    for (const auto& [column, caption] : {std::pair{u"ADICDEB"_s, u"Campo ADICIONAL Débito"_s},
                                          std::pair{u"ADICRED"_s, u"Campo ADICIONAL Crédito"_s}}) {
        grid->addWidget(new QLabel(caption, register_), row, 0);
        grid->addWidget(addField(column, 20, false, register_), row++, 1);
    }
    m_tabs->addTab(register_, u"CADASTRO"_s);

    // Tab Duplicatas REC/PAG: the row labels open the plan of accounts for
    // the account field last entered.
    auto* duplicates = new QWidget(m_tabs);
    auto* columns = new QHBoxLayout(duplicates);
    auto* labels = new QWidget(duplicates);
    auto* labelColumn = new QVBoxLayout(labels);
    auto* fields = new QWidget(duplicates);
    fields->setObjectName(u"PA_CADASTRO1"_s);
    auto* fieldGrid = new QGridLayout(fields);
    const auto clickable = [&](const QString& name, const QString& caption) {
        auto* label = new QLabel(caption, labels);
        label->setObjectName(name);
        label->installEventFilter(this);
        labelColumn->addWidget(label);
    };
    clickable(u"LA_DUPCONTAS"_s, u"CONTA DÉBITO / CONTA CRÉDITO"_s);
    fieldGrid->addWidget(new QLabel(u"CONTA DÉBITO"_s, fields), 0, 0);
    fieldGrid->addWidget(new QLabel(u"CONTA CRÉDITO"_s, fields), 0, 1);
    const struct {
        const char16_t* stem;
        const char16_t* caption;
    } rows[] = {{u"DUPVAL", u"VALOR BRUTO"},
                {u"DUPLIQ", u"VALOR LIQUIDO"},
                {u"DUPJUR", u"(+) JUROS"},
                {u"DUPDES", u"(-) DESCONTOS"},
                {u"DUPDEP", u"(+) DESP.BANC."}};
    int line = 1;
    for (const auto& entry : rows) {
        const QString stem = QString::fromUtf16(entry.stem);
        clickable(u"LA_"_s + stem, QString::fromUtf16(entry.caption));
        for (const QString& side : {u"DEB"_s, u"CRE"_s}) {
            QLineEdit* edit = addField(stem + side, 20, false, fields);
            if (stem == u"DUPLIQ"_s)
                edit->setToolTip(u"[SIGLA]  Busca do campo CBSIGLA do Plano de Contas"_s);
            fieldGrid->addWidget(edit, line, side == u"DEB"_s ? 0 : 1);
        }
        ++line;
    }
    clickable(u"LA_DUPHIS"_s, u"Histórico Débito / Histórico Crédito"_s);
    for (const QString& side : {u"DEB"_s, u"CRE"_s}) {
        QLineEdit* edit = addField(u"DUPHIS"_s + side, 40, false, fields);
        edit->setToolTip(DuplicateHistoryMarkers);
        fieldGrid->addWidget(edit, line, side == u"DEB"_s ? 0 : 1);
    }
    columns->addWidget(labels);
    columns->addWidget(fields, 1);
    m_tabs->addTab(duplicates, u"Duplicatas REC/PAG"_s);
}

CpcRecord TF_CPC::values() const {
    CpcRecord record;
    record.seq = m_seq;
    record.filial = m_filial;
    for (const QString& column : CpcTextColumns())
        record.texts[column] = m_fields.at(column)->text();
    return record;
}

void TF_CPC::reload() {
    try {
        m_records = LoadCpcRecords();
    } catch (const data::DbError& error) {
        m_records.clear();
        platform::ShowError(this, error.message());
    }
}

void TF_CPC::fill(const CpcRecord& record) {
    for (const QString& column : CpcTextColumns())
        m_fields[column]->setText(record.text(column));
    m_seq = record.seq;
    m_filial = record.filial;
    m_seqLabel->setText(QString::number(record.seq));
    m_filialField->setText(QString::number(record.filial));
}

void TF_CPC::showRecord(int index) {
    m_index = index;
    fill(index >= 0 && index < int(m_records.size()) ? m_records[std::size_t(index)] : CpcRecord{});
    m_seqLabel->setVisible(true);
}

void TF_CPC::showSeq(qint64 seq, qint64 filial) {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].seq == seq && m_records[i].filial == filial) {
            showRecord(int(i));
            return;
        }
    }
    showRecord(m_records.empty() ? -1 : std::clamp(m_index, 0, int(m_records.size()) - 1));
}

void TF_CPC::setEditing(bool editing) {
    m_editing = editing;
    tools::SetRecordMode(this, editing ? u"BU_ALTERA"_s : u"BU_SALVA"_s);
    findChild<QPushButton*>(u"BU_CANCELA"_s)->setEnabled(editing);
    if (!editing) findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(m_index >= 0);
    m_costCentres->setEnabled(editing);
    m_operations->setEnabled(editing);
}

void TF_CPC::updateCaption(const QString& column) {
    m_captions[column]->setText(Captioned(column, m_fields[column]->text()));
}

void TF_CPC::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QString sigla = m_initialField->text().trimmed();
    if (sigla.isEmpty() || m_editing) return;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].text(u"SIGLA"_s).trimmed() == sigla) {
            showRecord(int(i));
            break;
        }
    }
    m_initialField->clear();
}

void TF_CPC::newRecord() {
    if (m_editing) return;
    setEditing(true);
    m_seq = 0;
    m_filial = 0;
    m_seqLabel->setText(u"0"_s);
    m_seqLabel->setVisible(false);
    m_filialField->setText(u"0"_s);
    for (const QString& column : NewRecordEmpties)
        m_fields[column]->clear();
    m_tabs->setCurrentIndex(0);
    m_fields[u"SIGLA"_s]->setFocus();
}

void TF_CPC::editRecord() {
    if (m_editing || m_index < 0) return;
    showRecord(m_index);
    setEditing(true);
    m_tabs->setCurrentIndex(0);
    m_fields[u"SIGLA"_s]->setFocus();
}

bool TF_CPC::saveRecord() {
    if (!m_editing) return false;
    const CpcRecord record = values();
    if (const QString problem = CpcSaveProblem(record); !problem.isEmpty()) {
        platform::ShowMessage(this, problem);
        m_tabs->setCurrentIndex(0);
        m_fields[u"SIGLA"_s]->setFocus();
        return false;
    }
    qint64 seq = 0;
    try {
        seq = SaveCpcRecord(record);
    } catch (const data::DbError& error) {
        platform::ShowError(this, u"O registro não foi gravado: %1"_s.arg(error.message()));
        return false;
    }
    reload();
    m_editing = false;
    showSeq(seq, record.seq == 0 ? 0 : record.filial);
    setEditing(false);
    return true;
}

void TF_CPC::cancelEdit() {
    if (!m_editing) return;
    m_editing = false;
    showRecord(m_index);
    setEditing(false);
}

void TF_CPC::deleteRecord() {
    if (!m_editing) return;
    if (m_seq == 0) { // a new record not stored yet: discarded
        cancelEdit();
        return;
    }
    if (!platform::AskYesNo(this, u"CONFIRMA EXCLUSÃO?"_s)) return;
    if (!DeleteCpcRecord(m_seq, m_filial)) {
        platform::ShowError(this, u"Erro na exclusão do registro."_s);
        return;
    }
    data::CommitAll();
    reload();
    m_editing = false;
    // The record that followed the deleted one now holds its place.
    showRecord(m_records.empty() ? -1 : std::clamp(m_index, 0, int(m_records.size()) - 1));
    tools::SetRecordMode(this, u"BU_EXCLUI"_s);
    setEditing(false);
}

void TF_CPC::duplicateRecord() {
    if (m_editing && !saveRecord()) return;
    if (m_index < 0) return;
    CpcRecord copy = values();
    copy.seq = 0;
    copy.filial = 0;
    qint64 seq = 0;
    try {
        seq = SaveCpcRecord(copy);
    } catch (const data::DbError& error) {
        platform::ShowError(this, u"O registro não foi gravado: %1"_s.arg(error.message()));
        return;
    }
    reload();
    showSeq(seq, 0);
    setEditing(true);
}

void TF_CPC::first() {
    if (!m_editing && !m_records.empty()) showRecord(0);
}
void TF_CPC::previous() {
    if (!m_editing && m_index > 0) showRecord(m_index - 1);
}
void TF_CPC::next() {
    if (!m_editing && m_index + 1 < int(m_records.size())) showRecord(m_index + 1);
}
void TF_CPC::last() {
    if (!m_editing && !m_records.empty()) showRecord(int(m_records.size()) - 1);
}

void TF_CPC::search() {
    if (m_editing) return;
    const bool chosen = tools::OpenQueryWindow(this, CpcTableName(), u"SEQ,FILIAL"_s);
    reload();
    if (chosen) {
        const auto& values = data::ReturnedValues().values;
        showSeq(values[0].trimmed().toLongLong(), values[1].trimmed().toLongLong());
    } else {
        showRecord(std::min(m_index, int(m_records.size()) - 1));
    }
}

void TF_CPC::printWindow() {
    print::PrintScreen(this);
}

void TF_CPC::lookUp(const QString& column) {
    QLineEdit* field = m_fields[column];
    if (!field->isEnabled() || !m_editing) return;
    for (const Lookup& lookup : Lookups) {
        if (QString::fromUtf16(lookup.column) != column) continue;
        const QString key = QString::fromUtf16(lookup.key);
        if (tools::OpenQueryWindow(this, QString::fromUtf16(lookup.table), key, field->text(), key,
                                   key))
            field->setText(data::ReturnedValues().values[0].trimmed());
        return;
    }
}

void TF_CPC::lookUpDuplicateAccount() {
    if (!m_editing) {
        platform::ShowMessage(this, u"O cadastro deve estar em modo de alteração"_s);
        return;
    }
    QLineEdit* field = m_lastDuplicateAccount ? m_lastDuplicateAccount : m_fields[u"DUPVALDEB"_s];
    const QString filter = AccountSearchFilter(field->text());
    if (tools::OpenQueryWindow(this, u"CBP"_s, u"CONTA"_s, {}, u"CONTA"_s, {},
                               u"CONTA,RESUMIDA,NOME"_s, filter))
        field->setText(data::ReturnedValues().values[0].trimmed());
}

void TF_CPC::reject() {
    if (m_editing) {
        const bool save =
            platform::AskYesNo(this, u"O Registro atual não foi Salvo\nSALVAR o registro atual?"_s);
        if (save) {
            saveRecord();
            return;
        }
    }
    data::CommitAll();
    QDialog::reject();
}

void TF_CPC::keyPressEvent(QKeyEvent* event) {
    if (!m_editing && event->key() == Qt::Key_PageUp) {
        previous();
        return;
    }
    if (!m_editing && event->key() == Qt::Key_PageDown) {
        next();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TF_CPC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<QLabel*>(watched)) {
        lookUpDuplicateAccount();
        return true;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::FocusIn) {
        const QString name = edit->objectName();
        if (name.startsWith(u"E_DUP"_s) && !name.startsWith(u"E_DUPHIS"_s))
            m_lastDuplicateAccount = edit;
    }
    if (edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace livrax::registers
