#pragma once

#include "tools/query_build.h"
#include "tools/query_model.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace livrax::data {
class Connection;
}

namespace livrax::tools {

// The generic query "PESQC  - Pesquisa/Consulta": the rows of a table in a
// grid, narrowed by two field conditions, a date range, a branch and a free
// filter, joined to a second table, ordered and limited to chosen columns;
// or a hand-written SQL text. The grid exports to text and workbook files
// and prints; Enter on a row returns its values to the opener.
class TF_PESQC : public QDialog {
    Q_OBJECT

  public:
    explicit TF_PESQC(QWidget* parent = nullptr);
    ~TF_PESQC() override;

    // The controls as one value, and back.
    QuerySettings settings() const;
    void setSettings(const QuerySettings& settings);
    // What the opener offers when no saved settings fill the controls
    // (E_ORDEM_INI, E_CAMPOS_INI, CB_CAMPOS_INI).
    void setOpeningDefaults(const QString& order, const QString& columns, const QString& field);
    // E_CONFIG_AUT, what keeps this opener's saved settings apart from the
    // others' on the same table, and CB_ABRIR, whether the rows are read as
    // the window opens.
    void setConfiguration(const QString& suffix, bool openAtStart);

    QueryModel& model() { return m_model; }
    // The statement of the last run.
    const QString& lastStatement() const { return m_lastStatement; }

  public Q_SLOTS:
    // "Montar F6": builds the statement and runs it; a failing run is
    // reported and tried once more without the first value. False when no
    // statement could be opened.
    bool buildAndRun();
    // "Limpar".
    void clearSelection();
    // Enter in the grid: the current row's values to the opener, then close.
    void returnRow();
    // A click on a column title.
    void orderByColumn(int column);
    void exportText();
    void exportWorkbook();
    void openWorkbook();
    void printGrid();
    void saveConfiguration();
    void openConfiguration();
    // The "SQL" page.
    void runSqlQuery();
    void runSqlStatement();

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    QWidget* buildSelectionPage();
    QWidget* buildOptionsPage();
    QWidget* buildSqlPage();
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption);
    void opening();
    void applyRights();
    void fillPickLists();
    QString fieldTypeOf(const QString& field) const;
    data::Connection* queryDatabase() const;
    // Opens `sql` in the grid; false (with the database's reason in `error`)
    // when it fails.
    bool openStatement(const QString& sql, QString* error);
    void afterOpen();
    void chooseColumns(QLineEdit* target, const QString& source);
    void chooseFilter();
    void chooseJoinField(QComboBox* target, const QString& table);
    void countRows();
    void openParFile(const QString& path);
    void saveSettingsOnClose();
    QString tempFolder() const;
    QString askExportFile(const QString& filter, const QString& extension);
    QList<int> columnWidths() const;

    QueryModel m_model;
    QString m_lastStatement;
    QStringList m_storedLines;
    QuerySettings m_defaults;
    bool m_opened = false;
    bool m_closing = false;

    QTabWidget* m_pages = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_table = nullptr;
    QLineEdit* m_databasePath = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_returnFields = nullptr;
    QLineEdit* m_columns = nullptr;
    QLineEdit* m_secondColumns = nullptr;
    QComboBox* m_field1 = nullptr;
    QComboBox* m_field2 = nullptr;
    QComboBox* m_operator1 = nullptr;
    QComboBox* m_operator2 = nullptr;
    QLineEdit* m_value1 = nullptr;
    QLineEdit* m_value2 = nullptr;
    QComboBox* m_joiner = nullptr;
    QLineEdit* m_branch = nullptr;
    QComboBox* m_dateField = nullptr;
    QLineEdit* m_startDate = nullptr;
    QLineEdit* m_endDate = nullptr;
    QLineEdit* m_filter = nullptr;
    QLineEdit* m_order = nullptr;
    QComboBox* m_secondTable = nullptr;
    QComboBox* m_mainJoinField = nullptr;
    QComboBox* m_secondJoinField = nullptr;
    QLineEdit* m_sql = nullptr;
    QLineEdit* m_manual = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QLineEdit* m_databaseNumber = nullptr;
    QLineEdit* m_parFile = nullptr;
    QLineEdit* m_configSuffix = nullptr;
    QCheckBox* m_openAtStart = nullptr;
    QLabel* m_rowCount = nullptr;
    QLabel* m_selectedCount = nullptr;
    QWidget* m_parameters = nullptr;
};

// Opens the query window on `table` (code or name) modally and returns
// whether a row was chosen; its values are then in data::ReturnedValues().
// `databaseNumber` ("1".."5", E_NUMDIR) names the database to query when the
// table is not looked for where its name routes it.
bool OpenQueryWindow(QWidget* parent, const QString& table, const QString& returnFields = {},
                     const QString& firstValue = {}, const QString& orderBy = {},
                     const QString& firstField = {}, const QString& columns = {},
                     const QString& filter = {}, const QString& databaseNumber = {});

// Registers "PESQC" (arguments: table, return fields, first value, order,
// first field, columns, filter, database number, as OpenQueryWindow takes
// them) and "PRINTGRID" (arguments: title, table, statement: the
// statement's rows in the grid-printing window).
void RegisterQueryWindows();

} // namespace livrax::tools
