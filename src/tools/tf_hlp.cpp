#include "tools/tf_hlp.h"

#include "data/db_error.h"
#include "platform/dialogs.h"
#include "platform/registry.h"
#include "platform/rtf.h"
#include "platform/window_registry.h"
#include "print/editor_files.h"
#include "print/print_surface.h"
#include "print/tf_email.h"
#include "tools/tf_hlpm.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
// The recent words kept between openings of the viewer.
constexpr int RecentWordsKept = 20;
// The left margin of a printed topic: 1000 twips.
constexpr qreal PrintLeftMarginPoints = 1000 / 20.0;

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* Edit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// The colour of the first selected character; invalid when it has none.
QColor SelectionColour(const QTextCursor& selection) {
    QTextCursor at(selection.document());
    at.setPosition(selection.selectionStart() + 1);
    const QTextCharFormat format = at.charFormat();
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return {};
    return format.foreground().color();
}

QString TrimmedSelection(const QTextCursor& cursor) {
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u' ').replace(QChar::LineSeparator, u' ');
    return text.trimmed();
}

} // namespace

TF_HLP::TF_HLP(QWidget* parent) : QDialog(parent) {
    setObjectName(u"TF_HLP"_s);
    setWindowTitle(u"F_HLP - Help do Sistema"_s);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    buildControls();
    resize(900, 600);
}

void TF_HLP::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(u"Arquivo"_s);
    file->addAction(u"Imprimir Tópico"_s, this, &TF_HLP::printTopic);
    file->addAction(u"Enviar o texto por E-mail"_s, this, &TF_HLP::sendByEmail);
    file->addAction(u"Manutenção"_s, this, &TF_HLP::openMaintenance);
    file->addAction(u"Salvar Como"_s, this, &TF_HLP::saveAs);
    file->addAction(u"Sair"_s, QKeySequence(Qt::Key_F12), this, &TF_HLP::reject);
    menu->addAction(u"Sair"_s, this, &TF_HLP::reject);
    layout->setMenuBar(menu);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(u"Texto para Pesquisa"_s, this));
    m_search = Edit(this, u"ED_PESQ"_s);
    searchRow->addWidget(m_search, 1);
    m_recent = new QComboBox(this);
    m_recent->setObjectName(u"ED_PESQ1"_s);
    m_recent->setMinimumWidth(160);
    searchRow->addWidget(m_recent);
    QPushButton* all =
        Button(this, u"BU_MONTA_TUDO"_s, u"Todos"_s, u"Lista todos os campos de pesquisa"_s);
    QPushButton* locateButton =
        Button(this, u"BU_MONTA"_s, u"Localiza"_s, u"Localiza o campo pesquisado"_s);
    QPushButton* narrow = Button(this, u"BU_ENCOLHE"_s, u"<"_s, u"Diminui a lista"_s);
    QPushButton* widen = Button(this, u"BU_EXPANDE"_s, u">"_s, u"Aumenta a lista"_s);
    for (QPushButton* button : {all, locateButton, narrow, widen})
        searchRow->addWidget(button);
    layout->addLayout(searchRow);
    connect(all, &QPushButton::clicked, this, &TF_HLP::listAll);
    connect(locateButton, &QPushButton::clicked, this, &TF_HLP::locate);
    connect(narrow, &QPushButton::clicked, this, &TF_HLP::narrowList);
    connect(widen, &QPushButton::clicked, this, &TF_HLP::widenList);
    // Enter (which selects the text for the next word) and leaving the
    // field both search; leaving it with the word already searched does not
    // search again, which would put back the first topic in place of the
    // one chosen from the list.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        m_search->selectAll();
        locate();
    });
    connect(m_search, &QLineEdit::editingFinished, this, [this] {
        if (m_search->text() != m_searched) locate();
    });
    connect(m_recent, &QComboBox::activated, this, [this](int index) {
        setSearchText(m_recent->itemText(index));
        locate();
    });

    auto* topicRow = new QHBoxLayout;
    m_topic = Edit(this, u"E_CONSULTA_SEQ"_s);
    m_topic->setText(u"0"_s);
    m_topic->setMaximumWidth(70);
    m_title = Edit(this, u"E_CON_TITULO"_s);
    m_title->setReadOnly(true);
    topicRow->addWidget(m_topic);
    topicRow->addWidget(m_title, 1);
    m_findText = Edit(this, u"E_PESQTEXTO"_s);
    QPushButton* find = Button(this, u"BU_PROCURA"_s, u"Procurar no Texto"_s);
    // The button takes no focus: a click from the text searched for would
    // otherwise search twice (once leaving the text, once for the click).
    find->setFocusPolicy(Qt::NoFocus);
    topicRow->addWidget(m_findText);
    topicRow->addWidget(find);
    layout->addLayout(topicRow);
    connect(find, &QPushButton::clicked, this, &TF_HLP::findInText);
    // Leaving the text searches (Enter leaves it too, once).
    m_findText->installEventFilter(this);
    connect(m_topic, &QLineEdit::textChanged, this, [this] { showTopic(); });

    auto* body = new QHBoxLayout;
    m_list = new QTableWidget(0, 2, this);
    m_list->setObjectName(u"GRID_PESQ"_s);
    m_list->setHorizontalHeaderLabels({u"Chave"_s, u"Seq"_s});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 200);
    m_list->setFixedWidth(280);
    connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row) { chooseRow(row); });
    // A click on the row already current (the first one after "Lista todos",
    // whose topic is not shown) chooses it too.
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row) { chooseRow(row); });
    body->addWidget(m_list);
    m_memo = new QTextEdit(this);
    m_memo->setObjectName(u"E_MEMO"_s);
    m_memo->setReadOnly(true);
    m_memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    connect(m_memo, &QTextEdit::selectionChanged, this, &TF_HLP::followSelection);
    m_memo->viewport()->installEventFilter(this);
    body->addWidget(m_memo, 1);
    layout->addLayout(body, 1);

    QStringList recent = platform::ReadProgramSetting(u"HLP"_s, u"RECENTES"_s).split(u'\n');
    recent.removeAll(QString());
    m_recent->addItems(recent);
}

TF_HLP::~TF_HLP() {
    // Destroying the controls moves the focus out of the search texts, which
    // would search; by then this window's own members are gone, so neither
    // signal nor filter may reach it any more.
    m_search->disconnect(this);
    m_findText->removeEventFilter(this);
}

void TF_HLP::setSearchText(const QString& text) {
    m_search->setText(text);
}

QString TF_HLP::searchText() const {
    return m_search->text();
}

QString TF_HLP::topicNumber() const {
    return m_topic->text();
}

void TF_HLP::setTopicNumber(const QString& number) {
    if (m_topic->text() == number)
        showTopic();
    else
        m_topic->setText(number);
}

QStringList TF_HLP::recentWords() const {
    QStringList words;
    for (int i = 0; i < m_recent->count(); ++i)
        words << m_recent->itemText(i);
    return words;
}

void TF_HLP::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    m_listWidth = m_list->width();
    m_search->setFocus();
    if (!m_search->text().isEmpty()) locate();
    if (!m_listShown) listAll();
}

void TF_HLP::locate() {
    const QString word = m_search->text();
    m_searched = word;
    if (word.isEmpty() && m_listShown) return;
    QList<HelpMatch> matches;
    try {
        matches = SearchHelp(word);
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    if (matches.isEmpty()) return;
    showMatches(matches);
    if (!word.isEmpty()) rememberWord(word);
    setTopicNumber(QString::number(matches.constFirst().topic));
}

void TF_HLP::listAll() {
    m_list->setFixedWidth(m_listWidth > 0 ? m_listWidth : m_list->width());
    m_list->show();
    m_search->clear();
    m_searched.clear();
    try {
        showMatches(ListAllTopics());
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
    }
}

void TF_HLP::showMatches(const QList<HelpMatch>& matches) {
    const QSignalBlocker block(m_list);
    m_list->setRowCount(int(matches.size()));
    for (int row = 0; row < matches.size(); ++row) {
        m_list->setItem(row, 0, new QTableWidgetItem(matches[row].text));
        m_list->setItem(row, 1, new QTableWidgetItem(QString::number(matches[row].topic)));
    }
    if (!matches.isEmpty()) m_list->setCurrentCell(0, 0);
    m_listShown = true;
}

void TF_HLP::chooseRow(int row) {
    if (row < 0 || !m_list->item(row, 1)) return;
    setTopicNumber(m_list->item(row, 1)->text());
}

void TF_HLP::rememberWord(const QString& word) {
    const QStringList words = WithRecentWord(recentWords(), word);
    const QSignalBlocker block(m_recent);
    m_recent->clear();
    m_recent->addItems(words);
    m_recent->setCurrentIndex(0);
}

void TF_HLP::showTopic() {
    const QString number = m_topic->text().trimmed();
    if (number.isEmpty()) return;
    std::optional<HelpTopic> topic;
    try {
        topic = LoadTopic(number.toInt());
    } catch (const data::DbError& error) {
        platform::ShowError(this, error.message());
        return;
    }
    m_selecting = true;
    m_title->setText(topic ? topic->title : QString());
    m_memo->clear();
    m_memo->moveCursor(QTextCursor::Start);
    if (topic) {
        if (platform::IsRtf(topic->text))
            platform::RtfToDocument(topic->text, *m_memo->document());
        else
            m_memo->setPlainText(TopicPlainText(topic->text));
    }
    m_memo->moveCursor(QTextCursor::Start);
    m_selecting = false;
}

void TF_HLP::findInText() {
    const QString wanted = m_findText->text();
    QStringList lines;
    for (QTextBlock block = m_memo->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    const int caretLine = m_memo->textCursor().blockNumber();
    const std::optional<TextHit> hit = FindInLines(lines, caretLine, wanted);
    m_selecting = true;
    if (!hit) {
        m_memo->moveCursor(QTextCursor::Start);
        m_selecting = false;
        return;
    }
    const QTextBlock block = m_memo->document()->findBlockByNumber(hit->line);
    QTextCursor cursor(m_memo->document());
    cursor.setPosition(block.position() + hit->position);
    cursor.setPosition(block.position() + hit->position + int(wanted.size()),
                       QTextCursor::KeepAnchor);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.mergeCharFormat(italic);
    m_memo->setTextCursor(cursor);
    // The line found at the top of the text area.
    const qreal top = m_memo->document()->documentLayout()->blockBoundingRect(block).top();
    m_memo->verticalScrollBar()->setValue(int(top));
    m_selecting = false;
}

bool TF_HLP::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_findText && event->type() == QEvent::FocusOut) {
        // Not when another window or a menu takes the focus for a while.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !m_findText->text().isEmpty())
            findInText();
    }
    if (watched == m_memo->viewport()) {
        // While the mouse selects, the selection grows letter by letter:
        // its link is followed once the button is let go, after the text
        // has taken the release.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_mouseSelecting = true;
            break;
        case QEvent::MouseButtonRelease:
            QTimer::singleShot(0, this, [this] {
                m_mouseSelecting = false;
                followSelection();
            });
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_HLP::followSelection() {
    if (m_selecting || m_mouseSelecting) return;
    const QTextCursor cursor = m_memo->textCursor();
    if (!cursor.hasSelection()) return;
    const QString selected = TrimmedSelection(cursor);
    if (selected.isEmpty()) return;
    const QColor colour = SelectionColour(cursor);
    if (m_memo->hasFocus() && colour == Red) {
        m_findText->setText(selected + u":"_s);
        findInText();
    } else if (colour == Blue) {
        m_search->setText(selected);
        locate();
    }
}

void TF_HLP::narrowList() {
    if (m_list->isVisible() && m_list->width() > m_listWidth)
        m_list->setFixedWidth(m_list->width() - m_listWidth);
    else
        m_list->hide();
}

void TF_HLP::widenList() {
    if (m_list->isVisible()) {
        m_list->setFixedWidth(m_list->width() + m_listWidth);
    } else {
        m_list->setFixedWidth(m_listWidth);
        m_list->show();
    }
}

void TF_HLP::printTopic() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(u"PrintDialog1"_s);
    if (dialog.exec() != QDialog::Accepted) return;
    printOn(printer);
}

void TF_HLP::printOn(QPrinter& printer) {
    printer.setDocName(m_title->text());
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(PrintLeftMarginPoints, 0, 0, 0), QPageLayout::Point);
    // A copy of the text laid out for the printer in the page's printable
    // area, without margins of its own (printing an unpaged text would add
    // two centimetres on every side).
    const std::unique_ptr<QTextDocument> copy(m_memo->document()->clone());
    QTextFrameFormat frame = copy->rootFrame()->frameFormat();
    frame.setMargin(0);
    copy->rootFrame()->setFrameFormat(frame);
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setPageSize(QSizeF(printer.width(), printer.height()));
    copy->print(&printer);
    if (printer.printerState() == QPrinter::Error)
        platform::ShowError(this, u"Não foi possível imprimir o tópico."_s);
}

void TF_HLP::sendByEmail() {
    print::TF_EMAIL window(this);
    window.setRecipient(QString());
    window.setMessageText(m_memo->toPlainText());
    window.exec();
}

void TF_HLP::saveAs() {
    QFileDialog dialog(this, u"Salvar Como"_s);
    dialog.setObjectName(u"SaveDialog1"_s);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(u"RTF"_s);
    dialog.setNameFilters({u"Rich Text (*.RTF *.rtf)"_s, u"Todos arqs. (*)"_s});
    if (!m_title->text().isEmpty()) dialog.selectFile(m_title->text());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    try {
        print::WriteEditorFile(dialog.selectedFiles().constFirst(), *m_memo->document(), false);
    } catch (const print::PrintError& error) {
        platform::ShowError(this, error.message());
    }
}

void TF_HLP::openMaintenance() {
    TF_HLPM editor(this);
    editor.setTopicNumber(m_topic->text().trimmed().toInt());
    editor.exec();
    showTopic();
}

void TF_HLP::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (enter && focus != m_memo && focus != m_search) {
        focusNextChild();
        return;
    }
    if (enter) return; // no default button to press
    QDialog::keyPressEvent(event);
}

void TF_HLP::done(int result) {
    platform::WriteProgramSetting(u"HLP"_s, u"RECENTES"_s,
                                  recentWords().mid(0, RecentWordsKept).join(u'\n'));
    QDialog::done(result);
}

void OpenHelp(QWidget* parent, const QString& word) {
    TF_HLP window(parent);
    window.setSearchText(word);
    window.exec();
}

void RegisterHelpWindows() {
    platform::RegisterWindow(u"HELP"_s, [](QWidget* parent, const QStringList& arguments) {
        OpenHelp(parent, arguments.value(0));
    });
}

} // namespace livrax::tools
