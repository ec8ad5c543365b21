#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QToolButton;

namespace livrax::platform {
class TextFormatBar;
}

namespace livrax::tools {

// The help editor "F_HLPM - Manutenção do Help do Sistema": topics (number,
// title, rich text with the formatting bar, the ruler and "Line/Col") on the
// page "Cadastro", their search keys on the page "Chaves", the table
// maintenance of both tables and a scratch memo. Topic and key editing each
// have two modes: off, the texts read-only and "new"/"change"/search
// enabled; on, the texts writable and "save"/"delete" enabled. A failed save
// says so and keeps the text and the mode; closing with unsaved changes asks
// first.
class TF_HLPM : public QDialog {
    Q_OBJECT

  public:
    explicit TF_HLPM(QWidget* parent = nullptr);

    // E_SEQ: the topic shown ("0" a topic not saved yet); a topic other than
    // 0 is read when the window opens, and whenever the number changes while
    // nothing is being edited.
    int topicNumber() const;
    void setTopicNumber(int number);
    QTextEdit* text() const { return m_text; }
    bool topicEditing() const;
    bool keyEditing() const;
    // True when the topic being edited, or the key being edited, has changes
    // not saved.
    bool hasUnsavedChanges() const;

    // Page "Cadastro".
    void newTopic();
    void changeTopic();
    // False (after the error box) when the database refused: the title, the
    // text and the editing mode stay as they were.
    bool saveTopic();
    void cancelTopic();
    void deleteTopic();
    void searchKeysTable();
    void searchTopicsTable();
    void titleFromFirstLine();
    // Page "Chaves".
    void listKeys();
    void newKey();
    void changeKey();
    bool saveKey();
    void cancelKey();
    void deleteKey();
    // The generic query on the keys: the chosen key, and the topic it
    // points at (SEQHLD) beside it.
    void searchKey();

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* buildTopicPage();
    QWidget* buildKeyPage();
    QWidget* buildMaintenancePage();
    QWidget* buildMemoPage();
    void setTopicEditing(bool on);
    void setKeyEditing(bool on);
    void loadTopic();
    void searchTyped(const QString& word);
    void chooseKeyRow(int row);
    void showLineAndColumn();
    void markChanged();
    // Runs the command of the page shown ("Novo", "Altera", "Salva",
    // "Consulta") as its button would, when the mode enables it.
    void onPage(QPushButton* topicButton, QPushButton* keyButton);
    bool topicHasChanges() const;
    bool keyHasChanges() const;
    // Before the texts edited are left (closing, another topic read): with
    // changes not saved, asks "SALVAR o registro atual?"; "Sim" saves them,
    // "Não" drops them. False when the user cancels or a save fails.
    bool settleChanges();
    // The topic `number` put in E_SEQ and read, once.
    void showTopicNumber(int number);
    bool confirmDeletion();

    QTabWidget* m_pages = nullptr;
    QWidget* m_topicPage = nullptr;
    QWidget* m_keyPage = nullptr;
    // Page "Cadastro".
    QLineEdit* m_number = nullptr;
    QLineEdit* m_title = nullptr;
    QTextEdit* m_text = nullptr;
    QLineEdit* m_search = nullptr;
    platform::TextFormatBar* m_bar = nullptr;
    QWidget* m_ruler = nullptr;
    QLabel* m_lineColumn = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_searchTopics = nullptr;
    // Page "Chaves".
    QTableWidget* m_keys = nullptr;
    QLineEdit* m_key = nullptr;
    QLabel* m_keyNumber = nullptr;
    QPushButton* m_keyNew = nullptr;
    QPushButton* m_keyChange = nullptr;
    QPushButton* m_keySave = nullptr;
    QPushButton* m_keyCancel = nullptr;
    QPushButton* m_keyDelete = nullptr;
    QPushButton* m_keySearch = nullptr;
    // Page "Manutenção".
    QCheckBox* m_modified = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    bool m_loading = false;
    bool m_shown = false;
};

} // namespace livrax::tools
