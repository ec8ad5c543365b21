#include "tools/tf_hlpm.h"

#include "data/db_error.h"
#include "data/queries.h"
#include "data/returned_values.h"
#include "data/routing.h"
#include "platform/dialogs.h"
#include "platform/rtf.h"
#include "platform/text_format_bar.h"
#include "platform/text_ruler.h"
#include "platform/window_registry.h"
#include "tools/help_topics.h"
#include "tools/tf_pesqc.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>

#include <optional>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

constexpr int TextLength = 100;

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

// The generic query on a help table ("HLD" or "HLP") with the help's own
// saved settings; the first value of the row chosen, when it is a number.
std::optional<int> QueryHelpTable(QWidget* parent, const QString& table, const QString& returned,
                                  const QString& field, const QString& order, const QString& value,
                                  bool openAtStart) {
    data::ReturnedValues() = {};
    TF_PESQC window(parent);
    QuerySettings settings = window.settings();
    settings.table = data::ResolveTableName(table);
    settings.returnFields = returned;
    settings.field1 = field;
    settings.value1 = value;
    // A blank filter: the value saved last time does not replace `value`.
    settings.filter = u" "_s;
    window.setSettings(settings);
    window.setOpeningDefaults(order, QString(), QString());
    window.setConfiguration(u"HLP"_s, openAtStart);
    window.exec();
    if (!data::ReturnedValues().rowChosen) return std::nullopt;
    bool ok = false;
    const int number = data::ReturnedValues().values[0].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return number;
}

} // namespace

TF_HLPM::TF_HLPM(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_HLPM"_s);
    setWindowTitle(u"F_HLPM - Manutenção do Help do Sistema"_s);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* operations = menu->addMenu(u"Operações"_s);
    // Each command is its button on the page shown: a command the mode has
    // disabled does nothing ("Novo" while a topic is edited would wipe it).
    operations->addAction(u"Novo"_s, QKeySequence(Qt::Key_F1), this,
                          [this] { onPage(m_new, m_keyNew); });
    operations->addAction(u"Altera"_s, QKeySequence(Qt::Key_F2), this,
                          [this] { onPage(m_change, m_keyChange); });
    operations->addAction(u"Salva"_s, QKeySequence(Qt::Key_F3), this,
                          [this] { onPage(m_save, m_keySave); });
    operations->addAction(u"Consulta"_s, QKeySequence(Qt::Key_F6), this,
                          [this] { onPage(m_searchTopics, m_keySearch); });
    operations->addAction(u"TABULAR"_s, QKeySequence(Qt::CTRL | Qt::Key_Tab), this, [this] {
        m_pages->setCurrentIndex((m_pages->currentIndex() + 1) % m_pages->count());
    });
    layout->setMenuBar(menu);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PageControl1"_s);
    m_topicPage = buildTopicPage();
    m_keyPage = buildKeyPage();
    m_pages->addTab(m_topicPage, u"Cadastro"_s);
    m_pages->addTab(m_keyPage, u"Chaves"_s);
    m_pages->addTab(buildMaintenancePage(), u"Manutenção"_s);
    m_pages->addTab(buildMemoPage(), u"Memo"_s);
    layout->addWidget(m_pages);
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_pages->widget(index) == m_keyPage) listKeys();
    });

    setTopicEditing(false);
    setKeyEditing(false);
    resize(950, 650);
}

QWidget* TF_HLPM::buildTopicPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_CADASTRO"_s);
    auto* layout = new QVBoxLayout(page);
    auto* tools = new QHBoxLayout;
    m_new = Button(page, u"BU_NOVO"_s, u"Novo"_s, u"Novo tópico"_s);
    m_change = Button(page, u"BU_ALTERA"_s, u"Altera"_s, u"Altera o tópico"_s);
    m_save = Button(page, u"BU_SALVA"_s, u"Salva"_s, u"Salva o tópico"_s);
    m_cancel = Button(page, u"BU_CANCELA"_s, u"Cancela"_s, u"Cancela a alteração"_s);
    m_delete = Button(page, u"BU_EXCLUI"_s, u"Exclui"_s, u"Exclui o tópico e suas chaves"_s);
    QPushButton* searchKeys =
        Button(page, u"BU_PESQUISA_HLP"_s, u"Pesq. HLP"_s, u"Pesquisa no Cadastro HLP"_s);
    m_searchTopics = Button(page, u"BU_PESQUISA"_s, u"Pesquisa"_s, u"Pesquisa no Cadastro"_s);
    QPushButton* toTitle =
        Button(page, u"BU_TITULO"_s, u"Título"_s, u"Coloca a primeira linha do texto no Titulo"_s);
    for (QPushButton* button :
         {m_new, m_change, m_save, m_cancel, m_delete, searchKeys, m_searchTopics, toTitle})
        tools->addWidget(button);
    tools->addWidget(new QLabel(u"Pesquisa"_s, page));
    m_search = new QLineEdit(page);
    m_search->setObjectName(u"ED_PESQ"_s);
    tools->addWidget(m_search, 1);
    layout->addLayout(tools);
    connect(m_new, &QPushButton::clicked, this, &TF_HLPM::newTopic);
    connect(m_change, &QPushButton::clicked, this, &TF_HLPM::changeTopic);
    connect(m_save, &QPushButton::clicked, this, [this] { saveTopic(); });
    connect(m_cancel, &QPushButton::clicked, this, &TF_HLPM::cancelTopic);
    connect(m_delete, &QPushButton::clicked, this, &TF_HLPM::deleteTopic);
    connect(searchKeys, &QPushButton::clicked, this, &TF_HLPM::searchKeysTable);
    connect(m_searchTopics, &QPushButton::clicked, this, &TF_HLPM::searchTopicsTable);
    connect(toTitle, &QPushButton::clicked, this, &TF_HLPM::titleFromFirstLine);
    connect(m_search, &QLineEdit::textEdited, this, &TF_HLPM::searchTyped);

    auto* topic = new QHBoxLayout;
    m_number = new QLineEdit(u"0"_s, page);
    m_number->setObjectName(u"E_SEQ"_s);
    m_number->setReadOnly(true);
    m_number->setMaximumWidth(70);
    m_title = new QLineEdit(page);
    m_title->setObjectName(u"E_TITULO"_s);
    m_title->setMaxLength(TextLength);
    topic->addWidget(new QLabel(u"Seq"_s, page));
    topic->addWidget(m_number);
    topic->addWidget(new QLabel(u"Título"_s, page));
    topic->addWidget(m_title, 1);
    layout->addLayout(topic);
    connect(m_number, &QLineEdit::textChanged, this, [this] {
        if (!m_save->isEnabled()) loadTopic();
    });
    connect(m_title, &QLineEdit::textEdited, this, &TF_HLPM::markChanged);

    m_text = new QTextEdit(page);
    m_text->setObjectName(u"E_TEXTO"_s);
    m_text->setAcceptRichText(true);
    m_text->document()->setDefaultFont(QFont(u"Verdana"_s, 10));
    m_bar = new platform::TextFormatBar(m_text,
                                        platform::TextFormatBar::Extra::Bullets |
                                            platform::TextFormatBar::Extra::HelpColours,
                                        page);
    layout->addWidget(m_bar);
    m_ruler = new platform::TextRuler(m_text, page);
    layout->addWidget(m_ruler);
    layout->addWidget(m_text, 1);
    m_lineColumn = new QLabel(page);
    m_lineColumn->setObjectName(u"LA_LINHA_COLUNA"_s);
    layout->addWidget(m_lineColumn);
    connect(m_text, &QTextEdit::textChanged, this, &TF_HLPM::markChanged);
    connect(m_text, &QTextEdit::cursorPositionChanged, this, &TF_HLPM::showLineAndColumn);
    showLineAndColumn();
    return page;
}

QWidget* TF_HLPM::buildKeyPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_CHAVES"_s);
    auto* layout = new QVBoxLayout(page);
    auto* tools = new QHBoxLayout;
    m_keyNew = Button(page, u"BU_NOVO_CHAVE"_s, u"Novo"_s, u"Nova chave"_s);
    m_keyChange = Button(page, u"BU_ALTERA_CHAVE"_s, u"Altera"_s, u"Altera a chave"_s);
    m_keySave = Button(page, u"BU_SALVA_CHAVE"_s, u"Salva"_s, u"Salva a chave"_s);
    m_keyCancel = Button(page, u"BU_CANCELA_CHAVE"_s, u"Cancela"_s, u"Cancela a alteração"_s);
    m_keyDelete = Button(page, u"BU_EXCLUI_CHAVE"_s, u"Exclui"_s, u"Exclui a chave"_s);
    m_keySearch = Button(page, u"BU_PESQUISA_CHAVE"_s, u"Pesquisa"_s, u"Pesquisa as chaves"_s);
    QPushButton* refresh =
        Button(page, u"BU_ATUALIZA_CHAVE"_s, u"Atualiza"_s, u"Lista as chaves de novo"_s);
    for (QPushButton* button :
         {m_keyNew, m_keyChange, m_keySave, m_keyCancel, m_keyDelete, m_keySearch, refresh})
        tools->addWidget(button);
    tools->addStretch(1);
    layout->addLayout(tools);
    connect(m_keyNew, &QPushButton::clicked, this, &TF_HLPM::newKey);
    connect(m_keyChange, &QPushButton::clicked, this, &TF_HLPM::changeKey);
    connect(m_keySave, &QPushButton::clicked, this, [this] { saveKey(); });
    connect(m_keyCancel, &QPushButton::clicked, this, &TF_HLPM::cancelKey);
    connect(m_keyDelete, &QPushButton::clicked, this, &TF_HLPM::deleteKey);
    connect(m_keySearch, &QPushButton::clicked, this, &TF_HLPM::searchKey);
    connect(refresh, &QPushButton::clicked, this, &TF_HLPM::listKeys);

    auto* key = new QHBoxLayout;
    m_keyNumber = new QLabel(u"0"_s, page);
    m_keyNumber->setObjectName(u"LA_SEQ_CHAVE"_s);
    m_key = new QLineEdit(page);
    m_key->setObjectName(u"E_CHAVE"_s);
    m_key->setMaxLength(TextLength);
    key->addWidget(new QLabel(u"Chave"_s, page));
    key->addWidget(m_key, 1);
    key->addWidget(m_keyNumber);
    layout->addLayout(key);

    m_keys = new QTableWidget(0, 3, page);
    m_keys->setObjectName(u"GRID_CHAVES"_s);
    m_keys->setHorizontalHeaderLabels({u"Chave"_s, u"Seq"_s, u"SeqHld"_s});
    m_keys->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_keys->setSelectionMode(QAbstractItemView::SingleSelection);
    m_keys->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_keys->verticalHeader()->hide();
    m_keys->setColumnWidth(0, 400);
    connect(m_keys, &QTableWidget::currentCellChanged, this,
            [this](int row) { chooseKeyRow(row); });
    layout->addWidget(m_keys, 1);
    return page;
}

QWidget* TF_HLPM::buildMaintenancePage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_MANUTENCAO"_s);
    auto* layout = new QHBoxLayout(page);
    const auto maintenance = [this, page, layout](const QString& name, const QString& table) {
        QPushButton* button = Button(page, name, u"Manutenção "_s + table);
        connect(button, &QPushButton::clicked, this, [this, table] {
            if (!platform::OpenWindow(u"MAINTENANCE"_s, this, {table}))
                platform::ShowMessage(this, u"Manutenção de tabelas ainda não disponível."_s);
        });
        layout->addWidget(button);
    };
    maintenance(u"BU_MANUT_HLD"_s, u"HLD"_s);
    maintenance(u"BU_MANUT_HLP"_s, u"HLP"_s);
    m_modified = new QCheckBox(u"Alterado"_s, page);
    m_modified->setObjectName(u"CB_ALT"_s);
    layout->addWidget(m_modified);
    layout->addStretch(1);
    return page;
}

QWidget* TF_HLPM::buildMemoPage() {
    auto* page = new QWidget(this);
    page->setObjectName(u"TS_MEMO"_s);
    auto* layout = new QVBoxLayout(page);
    m_memo = new QPlainTextEdit(page);
    m_memo->setObjectName(u"MEMO1"_s);
    QPushButton* clear = Button(page, u"BU_LIMPA"_s, u"Limpa"_s);
    connect(clear, &QPushButton::clicked, m_memo, &QPlainTextEdit::clear);
    layout->addWidget(clear, 0, Qt::AlignLeft);
    layout->addWidget(m_memo, 1);
    return page;
}

int TF_HLPM::topicNumber() const {
    return m_number->text().trimmed().toInt();
}

void TF_HLPM::setTopicNumber(int number) {
    m_number->setText(QString::number(number));
}

bool TF_HLPM::topicEditing() const {
    return m_save->isEnabled();
}

bool TF_HLPM::keyEditing() const {
    return m_keySave->isEnabled();
}

bool TF_HLPM::topicHasChanges() const {
    return topicEditing() && m_modified->isChecked();
}

bool TF_HLPM::keyHasChanges() const {
    return keyEditing() && m_key->isModified() && !m_key->text().trimmed().isEmpty();
}

bool TF_HLPM::hasUnsavedChanges() const {
    return topicHasChanges() || keyHasChanges();
}

void TF_HLPM::showTopicNumber(int number) {
    const bool same = topicNumber() == number && !m_number->text().trimmed().isEmpty();
    setTopicNumber(number); // read at once when nothing is being edited
    if (same || topicEditing()) loadTopic();
}

void TF_HLPM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    setTopicEditing(false);
    m_pages->setCurrentWidget(m_topicPage);
    m_search->setFocus();
    m_modified->setChecked(false);
    if (topicNumber() != 0) loadTopic();
}

void TF_HLPM::setTopicEditing(bool on) {
    m_save->setEnabled(on);
    m_delete->setEnabled(on);
    m_cancel->setEnabled(on);
    m_new->setEnabled(!on);
    m_change->setEnabled(!on);
    m_searchTopics->setEnabled(!on);
    m_bar->setEnabled(on);
    m_ruler->setEnabled(on);
    m_title->setReadOnly(!on);
    m_text->setReadOnly(!on);
}

void TF_HLPM::setKeyEditing(bool on) {
    m_keySave->setEnabled(on);
    m_keyDelete->setEnabled(on);
    m_keyCancel->setEnabled(on);
    m_keyNew->setEnabled(!on);
    m_keyChange->setEnabled(!on);
    m_keySearch->setEnabled(!on);
    m_key->setReadOnly(!on);
}

void TF_HLPM::markChanged() {
    if (!m_loading) m_modified->setChecked(true);
}

void TF_HLPM::loadTopic() {
    if (m_number->text().trimmed().isEmpty()) return;
    std::optional<HelpTopic> topic;
    try {
        topic = LoadTopic(topicNumber());
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    m_loading = true;
    m_title->setText(topic ? topic->title : QString());
    m_text->clear();
    if (topic) {
        if (platform::IsRtf(topic->text))
            platform::RtfToDocument(topic->text, *m_text->document());
        else
            m_text->setPlainText(TopicPlainText(topic->text));
    }
    m_text->moveCursor(QTextCursor::Start);
    m_modified->setChecked(false);
    m_loading = false;
}

void TF_HLPM::searchTyped(const QString& word) {
    if (topicEditing()) return;
    int topic = 0;
    try {
        topic = FirstTopicMatching(word);
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    if (topic > 0) showTopicNumber(topic);
}

void TF_HLPM::newTopic() {
    m_loading = true;
    m_number->setText(u"0"_s);
    setTopicEditing(true);
    m_title->clear();
    m_text->clear();
    m_modified->setChecked(false);
    m_loading = false;
    m_title->setFocus();
}

void TF_HLPM::changeTopic() {
    setTopicEditing(true);
}

bool TF_HLPM::saveTopic() {
    if (!topicEditing()) return false;
    int number = 0;
    try {
        number =
            SaveTopic(topicNumber(), m_title->text(), platform::DocumentToRtf(*m_text->document()));
    } catch (const data::DbError& error) {
        // Nothing was stored: the text stays, still being edited, for
        // another try.
        platform::ShowError(this, u"O tópico não foi salvo: "_s + error.message());
        return false;
    }
    m_loading = true;
    setTopicEditing(false);
    setTopicNumber(number);
    m_modified->setChecked(false);
    m_loading = false;
    return true;
}

void TF_HLPM::cancelTopic() {
    setTopicEditing(false);
    // What is shown is what is stored: the changes are dropped.
    m_loading = true;
    if (topicNumber() != 0) {
        loadTopic();
    } else {
        m_title->clear();
        m_text->clear();
    }
    m_modified->setChecked(false);
    m_loading = false;
}

bool TF_HLPM::confirmDeletion() {
    QMessageBox box(QMessageBox::Question, u"EXCLUSÃO DE REGISTRO"_s, u"CONFIRMA EXCLUSÃO?"_s,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Cancel)->setText(u"Cancelar"_s);
    return box.exec() == QMessageBox::Ok;
}

void TF_HLPM::deleteTopic() {
    if (!confirmDeletion()) return;
    const int number = topicNumber();
    if (number > 0) {
        try {
            DeleteTopic(number);
        } catch (const data::DbError& error) {
            platform::ShowError(this, u"O tópico não foi excluído: "_s + error.message());
            return;
        }
    }
    setTopicEditing(false);
    m_loading = true;
    m_number->setText(u"0"_s);
    m_title->clear();
    m_text->clear();
    m_modified->setChecked(false);
    m_loading = false;
}

void TF_HLPM::searchKeysTable() {
    const std::optional<int> topic =
        QueryHelpTable(this, u"HLP"_s, u"SEQHLD"_s, u"CHAVE"_s, u"CHAVE"_s, m_search->text(), true);
    if (!topic || !settleChanges()) return;
    showTopicNumber(*topic);
}

void TF_HLPM::searchTopicsTable() {
    const std::optional<int> topic =
        QueryHelpTable(this, u"HLD"_s, u"SEQ"_s, u"TITULO"_s, QString(), m_search->text(), true);
    if (!topic) return;
    showTopicNumber(*topic);
}

void TF_HLPM::titleFromFirstLine() {
    m_title->setText(m_text->document()->firstBlock().text().left(TextLength));
    markChanged();
}

void TF_HLPM::listKeys() {
    QList<HelpKey> keys;
    try {
        keys = KeysOfTopic(topicNumber());
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    {
        const QSignalBlocker block(m_keys);
        m_keys->setRowCount(int(keys.size()));
        for (int row = 0; row < keys.size(); ++row) {
            m_keys->setItem(row, 0, new QTableWidgetItem(keys[row].text));
            m_keys->setItem(row, 1, new QTableWidgetItem(QString::number(keys[row].number)));
            m_keys->setItem(row, 2, new QTableWidgetItem(QString::number(keys[row].topic)));
        }
    }
    // The key being edited stays in E_CHAVE, with its own number: another
    // key put there would take the text typed for this one.
    if (keyEditing()) return;
    if (keys.isEmpty()) {
        m_key->clear();
        m_keyNumber->setText(QString());
    } else {
        m_keys->setCurrentCell(0, 0);
        chooseKeyRow(0);
    }
}

void TF_HLPM::chooseKeyRow(int row) {
    if (keyEditing() || row < 0 || !m_keys->item(row, 1)) return;
    m_key->setText(m_keys->item(row, 0)->text());
    m_keyNumber->setText(m_keys->item(row, 1)->text());
}

void TF_HLPM::newKey() {
    // A blank key is nothing to save; one the database refuses stays.
    if (keyEditing() && !m_key->text().trimmed().isEmpty() && !saveKey()) return;
    m_keyNumber->setText(u"0"_s);
    m_key->clear();
    setKeyEditing(true);
    m_key->setFocus();
}

void TF_HLPM::changeKey() {
    if (!m_keyNumber->text().trimmed().isEmpty()) setKeyEditing(true);
}

bool TF_HLPM::saveKey() {
    if (m_number->text().trimmed().isEmpty() || m_key->text().trimmed().isEmpty()) return false;
    if (topicNumber() == 0) {
        // A key needs a topic that exists: the new topic is saved first.
        platform::ShowMessage(this, u"Salve o tópico antes de incluir as chaves."_s);
        return false;
    }
    int number = 0;
    try {
        number = SaveKey(topicNumber(), m_keyNumber->text().trimmed().toInt(), m_key->text());
    } catch (const data::DbError& error) {
        platform::ShowError(this, u"A chave não foi salva: "_s + error.message());
        return false;
    }
    if (number == 0) return false;
    setKeyEditing(false);
    listKeys();
    // The key just saved stays chosen.
    for (int row = 0; row < m_keys->rowCount(); ++row) {
        if (m_keys->item(row, 1)->text() == QString::number(number)) {
            m_keys->setCurrentCell(row, 0);
            chooseKeyRow(row);
        }
    }
    return true;
}

void TF_HLPM::cancelKey() {
    setKeyEditing(false);
    listKeys();
}

void TF_HLPM::deleteKey() {
    if (!confirmDeletion()) return;
    const int number = m_keyNumber->text().trimmed().toInt();
    if (number > 0) {
        try {
            DeleteKey(number);
        } catch (const data::DbError& error) {
            platform::ShowError(this, u"A chave não foi excluída: "_s + error.message());
            return;
        }
    }
    setKeyEditing(false);
    listKeys();
}

void TF_HLPM::searchKey() {
    const std::optional<int> found =
        QueryHelpTable(this, u"HLP"_s, u"SEQ"_s, u"CHAVE"_s, u"CHAVE"_s, QString(), false);
    if (!found) return;
    const int number = *found;
    std::optional<HelpKey> key;
    try {
        key = LoadKey(number);
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    if (!key) return;
    // The topic beside the key is the one the key points at.
    if (!topicEditing() && key->topic != topicNumber()) {
        setTopicNumber(key->topic);
        listKeys();
    }
    m_keyNumber->setText(QString::number(key->number));
    m_key->setText(key->text);
}

void TF_HLPM::showLineAndColumn() {
    const QTextCursor cursor = m_text->textCursor();
    m_lineColumn->setText(QString::asprintf("Line: %3d   Col: %3d", cursor.blockNumber() + 1,
                                            cursor.positionInBlock() + 1));
}

void TF_HLPM::onPage(QPushButton* topicButton, QPushButton* keyButton) {
    // click() does nothing on a disabled button.
    if (m_pages->currentWidget() == m_keyPage)
        keyButton->click();
    else if (m_pages->currentWidget() == m_topicPage)
        topicButton->click();
}

bool TF_HLPM::settleChanges() {
    if (!hasUnsavedChanges()) return true;
    QMessageBox box(QMessageBox::Question, u"O Registro atual não foi Salvo"_s,
                    u"SALVAR o registro atual?"_s,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setObjectName(u"QUESTION_BOX"_s);
    box.setDefaultButton(QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(u"Sim"_s);
    box.button(QMessageBox::No)->setText(u"Não"_s);
    box.button(QMessageBox::Cancel)->setText(u"Cancelar"_s);
    const int answer = box.exec();
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) {
        // A save that fails keeps the texts where they are.
        if (topicHasChanges() && !saveTopic()) return false;
        if (keyHasChanges() && !saveKey()) return false;
    } else if (keyHasChanges()) {
        cancelKey();
    }
    return true;
}

void TF_HLPM::reject() {
    if (!settleChanges()) return;
    data::CommitAll();
    QDialog::reject();
}

void TF_HLPM::closeEvent(QCloseEvent* event) {
    // Every way out (Esc, the window's close button) asks the same.
    event->ignore();
    reject();
}

} // namespace livrax::tools
