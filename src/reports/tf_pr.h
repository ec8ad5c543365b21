#pragma once

#include "print/form_window.h"
#include "reports/report_menu.h"
#include "reports/report_query.h"
#include "reports/report_run.h"

#include <QHash>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTabWidget;

namespace livrax::tools {
class QueryModel;
}

namespace livrax::reports {

// The report runner: one user-defined report of a menu, its title and
// table, the statement "Montar" builds with its rows in the "Grid" page, and
// the buttons that run it to the printer ("Imprimir"), the preview
// ("Visão"), a workbook ("Excel"), a text ("TXT") or e-mail ("E-mail"). The
// report is read when the window is first shown; the build and the drawing
// are the report run's (report_run.h), the same as the command line's.
class TF_PR : public print::FormWindow {
    Q_OBJECT

  public:
    TF_PR(const ReportMenu& menu, int number, QWidget* parent = nullptr);
    ~TF_PR() override;

    // "Montar": builds the statement, shows it in MEMO and opens its rows in
    // the grid. False, after telling the user, when a selection box holds a
    // value its field cannot take or the database refuses the statement; the
    // window stays open and the statement is kept in "P_FMQRR.TXT" all the
    // same.
    bool buildQuery();
    // A run button: the report to the destination of `letter` ("P", "V",
    // "E", "T", "K"), built first when nothing is built yet.
    void runTo(const QString& letter);

  protected:
    void loadSettings() override;
    bool saveSettings() override;

  private:
    QPushButton* addButton(const QString& objectName, const QString& caption);
    // The hidden "RePrint": the preview's "Imprimir" closes the preview and
    // presses "Imprimir" here once the run that showed it has returned.
    void reprint();

    ReportMenu m_menu;
    int m_number = 0;
    LoadedReport m_report;
    bool m_reportLoaded = false;
    BuiltQuery m_built;
    // What the last build added to the title, so that the next one replaces
    // it instead of adding it again.
    QString m_titlePeriod;
    bool m_running = false;
    bool m_printAfterRun = false;

    QLineEdit* m_title = nullptr;
    QLineEdit* m_type = nullptr;
    QLineEdit* m_table = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_filter = nullptr;
    QTabWidget* m_pages = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QTableView* m_grid = nullptr;
    tools::QueryModel* m_model = nullptr;
    QListWidget* m_diagnostics = nullptr;
    QHash<QString, QPushButton*> m_runButtons; // by destination letter
    QPushButton* m_print = nullptr;
    QPushButton* m_reprint = nullptr;
};

} // namespace livrax::reports
