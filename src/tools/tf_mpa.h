#pragma once

#include "tools/table_grid_model.h"
#include "tools/table_maintenance.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace livrax::data {
class Connection;
}

namespace livrax::tools {

// "MPA - Manutenção de Arquivos": the rows of any table of databases 1, 2
// and 5 in a grid, searched by an index, filtered and edited; one field
// changed or renumbered in many rows at once; the rows of a filter deleted,
// the table emptied, indexes created and dropped; the grid's columns chosen.
// Every command passes the access rule on the table it acts on
// (MayUseTable); the work itself is table_maintenance.h's.
class TF_MPA : public QDialog {
    Q_OBJECT

  public:
    explicit TF_MPA(QWidget* parent = nullptr);
    ~TF_MPA() override;

    // The table text and the database chosen by the opener (may be null).
    void setTable(const QString& text, data::Connection* database = nullptr);
    TableGridModel& model() { return m_model; }
    // The table the window works on since the last "Abrir".
    const MaintenanceTable& table() const { return m_table; }

  public Q_SLOTS:
    void openTable();      // "Abrir"
    void closeTable();     // "Fechar"
    void searchValue();    // leaving the search value
    void query();          // "Pesquisa"
    void chooseFilter();   // "Filtro"
    void startChanges();   // "Alterar"
    void saveChanges();    // "Salvar"
    void cancelChanges();  // "Cancela a operação"
    void chooseColumns();  // "Parâmetros - Seleciona Campos"
    void applyChange();    // "Aplicar" of "Alterar Campos"
    void applyFormat();    // "Aplicar" of "Formatar Campos"
    void insertRow();      // the navigator's insert
    void deleteRow();      // the navigator's delete
    void deleteVisible();  // "Deletar Reg. Visiveis"
    void emptyTable();     // "ZERAR todo o Arquivo"
    void refreshIndexes(); // "Índices Atuais"
    void createIndex();    // "Incluir"
    void dropIndex();      // "Deletar"
    void printScreen();    // "Imprime Tela"

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Entering one of the database lists closes the table and fills the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    QWidget* buildRegisterPage();
    QWidget* buildIndexPage();
    QWidget* buildChangePage();
    QWidget* buildFieldsPage();
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption);
    void applyRights();
    bool openRows(const QString& filter);
    void setFilter(const QString& filter);
    void countRows();
    void fillDatabaseList(QComboBox* list, const QString& number);
    void chooseFromDatabaseList(QComboBox* list, const QString& number);
    RowWalk currentWalk(const QString& orderBy) const;
    // Runs a change of many rows behind the "Aplicar" button `buttonName`
    // ("Executando" meanwhile) and says how it went; true when it was done.
    bool runChange(const QString& buttonName, const std::function<ChangeResult()>& change);
    // The grid's unsaved edits, which a mass change or a renumbering drops
    // when it reads the rows again: true when there are none or the user
    // agrees to drop them (they are dropped then); false leaves them.
    bool dropEdits();
    bool usable(QPushButton* button) const;
    void postEditor();
    // The table text resolved (ResolveTableName), and the table it names in
    // the chosen database.
    QString typedTable() const;
    MaintenanceTable resolveTable(bool quiet);

    TableGridModel m_model;
    MaintenanceTable m_table;
    data::Connection* m_chosenDatabase = nullptr;
    QString m_databaseNumber;
    QString m_columnList;
    QString m_filter;
    bool m_shown = false;

    QWidget* m_toolPanel = nullptr;
    QTabWidget* m_pages = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_tableText = nullptr;
    QLabel* m_databaseName = nullptr;
    QLabel* m_rowCount = nullptr;
    QLabel* m_selectedCount = nullptr;
    QComboBox* m_indexChoice = nullptr;
    QLineEdit* m_searchIndex = nullptr;
    QLineEdit* m_searchValue = nullptr;
    QComboBox* m_newIndex = nullptr;
    QComboBox* m_dropIndex = nullptr;
    QListWidget* m_primaryKey = nullptr;
    QListWidget* m_indexList = nullptr;
    QLineEdit* m_filterText = nullptr;
    QComboBox* m_changeField = nullptr;
    QLineEdit* m_changeFieldName = nullptr;
    QComboBox* m_content = nullptr;
    QCheckBox* m_contentIsField = nullptr;
    QComboBox* m_changeIndex = nullptr;
    QLineEdit* m_changeFilter = nullptr;
    QButtonGroup* m_applyTo = nullptr;
    QButtonGroup* m_function = nullptr;
    QButtonGroup* m_format = nullptr;
    QLineEdit* m_startNumber = nullptr;
    QLineEdit* m_fieldSize = nullptr;
    QComboBox* m_fieldList = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QComboBox* m_lists[3] = {nullptr, nullptr, nullptr};
};

// Opens the maintenance window on `code` (a table code or name) in
// `database` (the one that holds the table when null), modally, and commits
// the shared slots when it closes.
void OpenTableMaintenance(QWidget* parent, const QString& code,
                          data::Connection* database = nullptr);

// Registers the window as "MAINTENANCE" (arguments: the table code).
void RegisterMaintenanceWindow();

} // namespace livrax::tools
