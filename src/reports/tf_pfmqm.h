#pragma once

#include "print/form_window.h"
#include "reports/report_menu.h"

#include <QList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace livrax::reports {

// The report manager of one menu: its reports listed by number, the
// selection the current report runs with (period, selection boxes,
// multiple choices, currency, [VARSQL]), and the commands that run, design,
// create, copy, delete, move, export and import reports. Position 7 of the
// user's rights shows the button panel (without it the window tells the
// user and closes), position 8 "Formatar" and the "Novo"/"Copia"/"Exclui"
// group; a menu whose key begins with "PDO_" shows them all.
class TF_PFMQM : public print::FormWindow {
    Q_OBJECT

  public:
    // `tableText` as the main menu gives it ("PDS", "CPC#": the table code
    // is its first "#" field); `key` the menu key, empty for "FMQ_" + code.
    TF_PFMQM(const QString& tableText, const QString& key, QWidget* parent = nullptr);

    const ReportMenu& menu() const { return m_menu; }
    int currentNumber() const { return m_number; }
    // Makes report `number` current (E_TSEQ), below 1 taken as 1.
    void setCurrentNumber(int number);

    // The list of the menu's reports, read again.
    void fillList();
    // The last selection of the current report into the "SELEÇÃO" page and
    // back. Nothing is saved for a number that holds no report.
    void loadSelection();
    bool saveSelection();

    // The commands.
    void runTo(const QString& letter); // "I" printer, "V" preview
    void openRunner();                 // "PR"
    void format();                     // "Formatar"
    void newReport();                  // "Novo  Relatório"
    void copyReport();                 // "Copia  Relatório"
    void deleteReport();               // "Exclui  Relatório"
    void query();                      // "Consultar"
    void moveReport(int step);         // -1 up, +1 down
    void configureSelection();         // TF_PDOCS
    void setCurrencyOfDay();           // "Moeda do Dia"
    void exportDefinitions();          // "Exportar Formatação (IB)"
    void importDefinitions();          // "Importar Formatação (IB)"
    void importOldFormat();            // the old-format definitions

  protected:
    void loadSettings() override;
    bool saveSettings() override;
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                           const QString& hint = {});
    QString titleOf(int number) const;
    bool hasReport(int number) const;
    void selectRow(int number);
    // The selected rows, first to last; the current one when none is.
    QList<int> selectedNumbers() const;
    // The folder file dialogs start in: the user's temporary folder when it
    // exists, else the home folder.
    QString startFolder() const;
    bool panelUsable(QPushButton* button) const;
    // The selection boxes and choices of the menu's configuration.
    void buildSelectionControls();
    // SEL_DTCOMBO: the DATE columns of the table, and of the current
    // report's secondary table when it has one.
    void fillDateFields();

    ReportMenu m_menu;
    QString m_givenKey;
    int m_number = 1;
    QString m_secondaryTable;
    QStringList m_dateFieldTables;
    bool m_refused = false;

    QWidget* m_panel = nullptr;
    QPushButton* m_runner = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_format = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_menuPage = nullptr;
    QWidget* m_selectionPage = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_sequence = nullptr;
    QTableWidget* m_list = nullptr;
    QLabel* m_databaseLabel = nullptr;
    QGroupBox* m_newGroup = nullptr;
    QLabel* m_lastUser = nullptr;
    QLabel* m_lastDate = nullptr;
    QLineEdit* m_initialDate = nullptr;
    QLineEdit* m_finalDate = nullptr;
    QComboBox* m_dateField = nullptr;
    QLineEdit* m_page = nullptr;
    QList<QLabel*> m_boxLabels;
    QList<QLineEdit*> m_boxEdits;
    QList<QGroupBox*> m_choices; // RG1..RG9, then RGCOND1
    QLineEdit* m_currencyTitle = nullptr;
    QLineEdit* m_currencyValue = nullptr;
    QLineEdit* m_varSql = nullptr;
    bool m_initialDateEdited = false;
};

// Opens the manager modally, as the main menu does ("REPORTS").
void OpenReportManager(QWidget* parent, const QString& tableText, const QString& key);

} // namespace livrax::reports
