#pragma once

#include "tools/help_topics.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPrinter;
class QTableWidget;
class QTextEdit;

namespace livrax::tools {

// The help viewer "F_HLP - Help do Sistema": a search word lists the keys
// and titles holding it (keys first), one topic shown as rich text. In a
// text, a word coloured red jumps to the next line holding that word and a
// colon (a heading of the same text); a word coloured blue searches the
// other topics. The topic can be printed, mailed and saved as a rich-text
// file; "Manutenção" opens the help editor on it.
class TF_HLP : public QDialog {
    Q_OBJECT

  public:
    explicit TF_HLP(QWidget* parent = nullptr);
    ~TF_HLP() override;

    // ED_PESQ, the text searched for.
    void setSearchText(const QString& text);
    QString searchText() const;
    // E_CONSULTA_SEQ: the topic shown ("0" none). Setting it shows the topic.
    QString topicNumber() const;
    void setTopicNumber(const QString& number);
    QTextEdit* text() const { return m_memo; }
    // The recent words (ED_PESQ1), the last one searched first.
    QStringList recentWords() const;

    // "Localiza o campo pesquisado" (also Enter in the search text): the
    // matches of the search text in the list and the first one's topic
    // shown. Without matches nothing changes. An empty text lists every
    // topic unless a list is shown.
    void locate();
    // "Lista todos os campos de pesquisa": every topic's title.
    void listAll();
    // "Procurar no Texto": the next line after the caret's that holds the
    // text of E_PESQTEXTO (any letter case) comes to the top, the match
    // selected and set in italics; the caret goes to the start of the text
    // when no later line holds it.
    void findInText();
    // A red or blue word selected in the text: its link followed (once the
    // mouse button is let go, when the mouse selects it).
    void followSelection();
    // BU_ENCOLHE and BU_EXPANDE: the list narrower (hidden at the end) or
    // wider (shown again).
    void narrowList();
    void widenList();
    // "Imprimir Tópico": the print dialog, then the topic printed.
    void printTopic();
    void printOn(QPrinter& printer);
    // "Enviar o texto por E-mail": the e-mail window with the topic's text.
    void sendByEmail();
    // "Salvar Como": the topic saved as a rich-text file.
    void saveAs();
    // "Manutenção": the help editor on the topic shown; the topic is read
    // again when the editor closes.
    void openMaintenance();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void buildControls();
    void showMatches(const QList<HelpMatch>& matches);
    void showTopic();
    void chooseRow(int row);
    void rememberWord(const QString& word);

    QLineEdit* m_search = nullptr;
    QComboBox* m_recent = nullptr;
    QTableWidget* m_list = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_topic = nullptr;
    QTextEdit* m_memo = nullptr;
    QLineEdit* m_findText = nullptr;
    int m_listWidth = 0;
    bool m_listShown = false; // the list holds the result of a search
    bool m_shown = false;
    // Set while the window itself moves the selection (loading a topic,
    // "Procurar no Texto"): no link is followed then.
    bool m_selecting = false;
    // A mouse button is down on the text: its selection is still growing.
    bool m_mouseSelecting = false;
    // The word of the last search.
    QString m_searched;
};

// Opens the help viewer modally with `word` searched for.
void OpenHelp(QWidget* parent, const QString& word);

// Registers "HELP": arguments[0] the word searched for.
void RegisterHelpWindows();

} // namespace livrax::tools
