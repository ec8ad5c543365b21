#include "registers/tf_epp.h"

#include "data/db_error.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "print/screen_print.h"
#include "registers/register_amounts.h"
#include "tools/record_mode.h"
#include "tools/tf_pesqc.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

const QString NoKey = u"_____"_s;

enum class FieldKind { From, To, Discount };

FieldKind KindOf(const QString& name) {
    if (name.startsWith(u"E_DESC"_s)) return FieldKind::Discount;
    if (name.startsWith(u"E_ATE"_s)) return FieldKind::To;
    return FieldKind::From;
}

} // namespace

TF_EPP::TF_EPP(QWidget* parent) : QDialog(parent) {
    setObjectName(u"F_EPP"_s);
    setWindowTitle(u"CADASTRO  DE  TABELAS  EPP"_s);
    buildControls();
    reload();
    showRecord(m_records.empty() ? -1 : 0);
    setEditing(false);
}

void TF_EPP::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(u"&Arquivo"_s);
    connect(file->addAction(u"Sair"_s), &QAction::triggered, this, &TF_EPP::reject);
    QMenu* operations = menu->addMenu(u"&Operações"_s);
    const auto item = [&](const QString& caption, const QKeySequence& keys, auto slot) {
        QAction* action = operations->addAction(caption);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
    };
    item(u"Imprimir"_s, QKeySequence(Qt::CTRL | Qt::Key_P), &TF_EPP::printWindow);
    item(u"Novo"_s, QKeySequence(Qt::Key_F1), &TF_EPP::newRecord);
    item(u"Alterar"_s, QKeySequence(Qt::Key_F2), &TF_EPP::editRecord);
    item(u"Salvar"_s, QKeySequence(Qt::Key_F3), &TF_EPP::saveRecord);
    QAction* leave = menu->addAction(u"&Sair"_s);
    leave->setShortcut(QKeySequence(Qt::Key_F12));
    connect(leave, &QAction::triggered, this, &TF_EPP::reject);
    layout->setMenuBar(menu);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(u"Ano:"_s, this));
    m_year = new QLabel(NoKey, this);
    m_year->setObjectName(u"LA_ANO"_s);
    top->addWidget(m_year);
    top->addWidget(new QLabel(u"Mês:"_s, this));
    m_month = new QLabel(NoKey, this);
    m_month->setObjectName(u"LA_MES"_s);
    top->addWidget(m_month);
    const struct {
        const char16_t* name;
        const char16_t* caption;
        const char16_t* hint;
        void (TF_EPP::*slot)();
    } buttons[] = {
        {u"BU_NOVO", u"Novo", u"Novo registro", &TF_EPP::newRecord},
        {u"BU_ALTERA", u"Altera", u"Altera o registro atual", &TF_EPP::editRecord},
        {u"BU_SALVA", u"Salva", u"Salva o registro atual", &TF_EPP::saveRecord},
        {u"BU_PESQUISA", u"Pesquisa", u"Pesquisa no Cadastro", &TF_EPP::search},
        {u"BU_PRIMEIRO", u"|<", u"Primeiro", &TF_EPP::first},
        {u"BU_RETORNA", u"<", u"Anterior", &TF_EPP::previous},
        {u"BU_AVANCA", u">", u"Próximo", &TF_EPP::next},
        {u"BU_ULTIMO", u">|", u"Último", &TF_EPP::last},
        {u"BU_CANCELA", u"Cancela", u"Cancela a Alteração", &TF_EPP::cancelEdit},
        {u"BU_EXCLUI", u"Exclui", u"Exclui o registro atual", &TF_EPP::deleteRecord},
        {u"BU_IMPTELA", u"Imprime", u"Imprime Tela", &TF_EPP::printWindow},
        {u"BU_SAIR", u"Sair", u"Sair", &TF_EPP::reject},
    };
    for (const auto& entry : buttons) {
        auto* button = new QPushButton(QString::fromUtf16(entry.caption), this);
        button->setObjectName(QString::fromUtf16(entry.name));
        button->setToolTip(QString::fromUtf16(entry.hint));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, entry.slot);
        top->addWidget(button);
    }
    layout->addLayout(top);

    auto* panels = new QHBoxLayout;
    for (int half = 0; half < 2; ++half) {
        auto* panel = new QWidget(this);
        panel->setObjectName(half == 0 ? u"PA_CADASTRO"_s : u"PA_CADASTRO1"_s);
        auto* grid = new QGridLayout(panel);
        grid->addWidget(new QLabel(u"DE"_s, panel), 0, 1);
        grid->addWidget(new QLabel(u"ATÉ"_s, panel), 0, 2);
        grid->addWidget(new QLabel(u"DESCONTO"_s, panel), 0, 3);
        for (int row = 1; row <= 15; ++row) {
            const int n = half * 15 + row;
            const std::size_t i = std::size_t(n - 1);
            grid->addWidget(new QLabel(u"%1 - "_s.arg(n, 2, 10, QChar(u'0')), panel), row, 0);
            const auto field = [&](const QString& prefix, int column, int maxLength) {
                auto* edit = new QLineEdit(panel);
                edit->setObjectName(prefix + QString::number(n));
                edit->setMaxLength(maxLength);
                edit->installEventFilter(this);
                grid->addWidget(edit, row, column);
                return edit;
            };
            m_from[i] = field(u"E_DE"_s, 1, 17);
            m_to[i] = field(u"E_ATE"_s, 2, 17);
            m_discount[i] = field(u"E_DESC"_s, 3, 7);
        }
        panels->addWidget(panel);
    }
    layout->addLayout(panels);
}

QString TF_EPP::shownYear() const {
    return m_year->text();
}
QString TF_EPP::shownMonth() const {
    return m_month->text();
}

void TF_EPP::reload() {
    try {
        m_records = LoadEppRecords();
    } catch (const data::DbError& error) {
        m_records.clear();
        platform::ShowError(this, error.message());
    }
    if (m_index >= int(m_records.size())) m_index = int(m_records.size()) - 1;
}

void TF_EPP::showRecord(int index) {
    m_index = index;
    EppBracketTexts shown;
    if (index >= 0 && index < int(m_records.size())) {
        const EppRecord& record = m_records[std::size_t(index)];
        m_year->setText(record.year);
        m_month->setText(record.month);
        for (std::size_t i = 0; i < EppBracketCount; ++i) {
            shown.from[i] = AmountText(record.brackets[i].from);
            shown.to[i] = AmountText(record.brackets[i].to);
            shown.discount[i] = AmountText(record.brackets[i].discount);
        }
    } else {
        m_year->setText(NoKey);
        m_month->setText(NoKey);
    }
    setTexts(shown);
    findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(!m_editing && m_index >= 0);
}

void TF_EPP::showKey(const QString& year, const QString& month) {
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].year == year && m_records[i].month == month) {
            showRecord(int(i));
            return;
        }
    }
    showRecord(m_records.empty() ? -1 : std::max(0, std::min(m_index, int(m_records.size()) - 1)));
}

void TF_EPP::setEditing(bool editing) {
    m_editing = editing;
    m_newRecord = false;
    tools::SetRecordMode(this, editing ? u"BU_ALTERA"_s : u"BU_SALVA"_s);
    findChild<QPushButton*>(u"BU_CANCELA"_s)->setEnabled(editing);
    findChild<QPushButton*>(u"BU_IMPTELA"_s)->setEnabled(!editing);
    // Nothing to change while the table is empty.
    if (!editing) findChild<QPushButton*>(u"BU_ALTERA"_s)->setEnabled(m_index >= 0);
}

EppBracketTexts TF_EPP::texts() const {
    EppBracketTexts texts;
    for (std::size_t i = 0; i < EppBracketCount; ++i) {
        texts.from[i] = m_from[i]->text();
        texts.to[i] = m_to[i]->text();
        texts.discount[i] = m_discount[i]->text();
    }
    return texts;
}

void TF_EPP::setTexts(const EppBracketTexts& texts) {
    for (std::size_t i = 0; i < EppBracketCount; ++i) {
        m_from[i]->setText(texts.from[i]);
        m_to[i]->setText(texts.to[i]);
        m_discount[i]->setText(texts.discount[i]);
    }
}

void TF_EPP::newRecord() {
    if (m_editing) return;
    const QString proposedYear = m_year->text() == NoKey ? QString() : m_year->text();
    const QString proposedMonth = m_month->text() == NoKey ? QString() : m_month->text();
    const std::optional<QString> year =
        platform::InputText(this, u"INCLUSÃO"_s, u"PRÓXIMO ANO PARA INCLUSÃO"_s, proposedYear);
    if (!year) return;
    const std::optional<QString> month =
        platform::InputText(this, u"INCLUSÃO"_s, u"PRÓXIMO MÊS PARA INCLUSÃO"_s, proposedMonth);
    if (!month) return;
    const EppNewKey key = CheckEppKey(*year, *month, platform::Clock::today().year());
    if (key.yearWarning) platform::ShowMessage(this, u"AVISO - VERIFIQUE O ANO."_s);
    if (!key.refusal.isEmpty()) {
        platform::ShowMessage(this, key.refusal);
        return;
    }
    try {
        if (EppKeyExists(key.year, key.month)) {
            platform::ShowMessage(this, u"CHAVE JÁ CADASTRADA."_s);
            showRecord(m_index);
            return;
        }
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    m_year->setText(key.year);
    m_month->setText(key.month);
    setTexts({});
    setEditing(true);
    m_newRecord = true;
    m_from[0]->setFocus();
}

void TF_EPP::editRecord() {
    if (m_editing || m_index < 0) return;
    const QString year = m_year->text();
    const QString month = m_month->text();
    reload();
    showKey(year, month);
    if (m_index < 0) return;
    setEditing(true);
    m_from[0]->setFocus();
}

void TF_EPP::saveRecord() {
    if (!m_editing) return;
    EppRecord record;
    record.year = m_year->text();
    record.month = m_month->text();
    if (const std::optional<QString> problem = ReadEppBrackets(texts(), record)) {
        platform::ShowMessage(this, *problem);
        return;
    }
    try {
        SaveEppRecord(record);
    } catch (const data::DbError& error) {
        platform::ShowError(this, u"O registro não foi gravado: %1"_s.arg(error.message()));
        return;
    }
    reload();
    setEditing(false);
    showKey(record.year, record.month);
    setEditing(false);
}

void TF_EPP::cancelEdit() {
    if (!m_editing) return;
    setEditing(false);
    showRecord(m_index);
    setEditing(false);
}

void TF_EPP::deleteRecord() {
    if (!m_editing) return;
    if (m_newRecord) { // nothing stored yet: the new record is discarded
        cancelEdit();
        return;
    }
    if (!platform::AskYesNo(this, u"CONFIRMA EXCLUSÃO?"_s)) return;
    if (!DeleteEppRecord(m_year->text(), m_month->text())) {
        platform::ShowError(this, u"Erro na exclusão do registro."_s);
        return;
    }
    data::CommitAll();
    reload();
    m_editing = false;
    showRecord(m_records.empty() ? -1 : std::max(0, std::min(m_index, int(m_records.size()) - 1)));
    tools::SetRecordMode(this, u"BU_EXCLUI"_s);
    setEditing(false);
}

void TF_EPP::first() {
    if (!m_editing && !m_records.empty()) showRecord(0);
}
void TF_EPP::previous() {
    if (!m_editing && m_index > 0) showRecord(m_index - 1);
}
void TF_EPP::next() {
    if (!m_editing && m_index + 1 < int(m_records.size())) showRecord(m_index + 1);
}
void TF_EPP::last() {
    if (!m_editing && !m_records.empty()) showRecord(int(m_records.size()) - 1);
}

void TF_EPP::search() {
    if (m_editing) return;
    const bool chosen = tools::OpenQueryWindow(this, EppTableName(), u"ANO,MES"_s);
    reload();
    if (chosen) {
        const auto& values = data::ReturnedValues().values;
        showKey(values[0].trimmed(), values[1].trimmed());
    } else {
        showRecord(m_index);
    }
}

void TF_EPP::printWindow() {
    if (!m_editing) print::PrintScreen(this);
}

void TF_EPP::reject() {
    if (m_editing) {
        // The brackets typed are not lost unasked.
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

void TF_EPP::left(QLineEdit* edit) {
    const FieldKind kind = KindOf(edit->objectName());
    const int digits = kind == FieldKind::Discount ? EppRateDigits : EppAmountDigits;
    if (const std::optional<qint64> amount = ParseAmount(edit->text(), digits))
        edit->setText(AmountText(*amount));
    if (kind == FieldKind::To) {
        EppBracketTexts chained = texts();
        ChainEppBrackets(chained);
        for (std::size_t i = 0; i < EppBracketCount; ++i)
            m_from[i]->setText(chained.from[i]);
    }
}

bool TF_EPP::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) left(edit);
    }
    if (edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).isPrint()) {
            // Amounts take the decimal comma, rates the decimal point.
            const QChar separator = KindOf(edit->objectName()) == FieldKind::Discount ? u'.' : u',';
            const QChar typed = text.at(0);
            if (typed == u'.' || typed == u',') {
                edit->insert(QString(separator));
                return true;
            }
            if (!typed.isDigit()) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace livrax::registers
