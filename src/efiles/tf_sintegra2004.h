#pragma once

#include "efiles/sintegra_export.h"
#include "efiles/sintegra_settings.h"
#include "efiles/sintegra_staging.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace livrax::efiles {

class StagedGridModel;

// The SINTEGRA window ("F_SINTEGRA - 2004"): the informant data and record
// choices on its tabs, "Montar" staging the period's documents into
// read-only grids, "Exportar" checking the informant data and saving the
// file the user names, "Editar" showing the exported file. The settings are
// read when it is first shown and written when it closes.
class TF_SINTEGRA2004 : public QDialog {
    Q_OBJECT

  public:
    explicit TF_SINTEGRA2004(QWidget* parent = nullptr);
    ~TF_SINTEGRA2004() override;

    // What the controls hold, as the settings keep it.
    SintegraSettings settings() const;
    SintegraGnre gnre() const;
    // The last staging shown in the grids.
    const SintegraStaging& staging() const { return m_staging; }
    // The lines of the last export (empty before one).
    const QStringList& exportedLines() const { return m_lines; }

  public Q_SLOTS:
    // "Montar": false when the period was refused or the database failed.
    bool stage();
    // "Exportar".
    void exportFile();
    // "Editar".
    void editFile();
    // "Arquivos" > "Imprimir Tela": the window's image on a printer.
    void printScreen();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc closes nothing: the window is left through "Sair" and F12, which
    // save the settings.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Enter: the focus to the control after `current`.
    void focusAfter(QWidget* current);
    struct FilterLink {
        QString mode, table, prefix;
        QLineEdit* target = nullptr;
        bool trimmed = false;
    };

    QWidget* buildGeneral();
    QWidget* buildT10();
    QWidget* buildT11();
    QWidget* buildInvoiceGrid(int type);
    QWidget* buildNote(const QString& text);
    QWidget* buildT55();
    QWidget* buildT61();
    QWidget* buildT70();
    QWidget* buildGridOnly(int type);
    QTableView* newGrid(int type, QWidget* parent);
    QLabel* newFilterLink(const QString& name, const QString& caption, const FilterLink& link,
                          QWidget* parent);
    QLineEdit* newEdit(const QString& name, int maxLength, QWidget* parent);
    QLabel* newTotal(const QString& name, QWidget* parent);

    void openFilter(const FilterLink& link);
    void showSettings(const SintegraSettings& s);
    void showStaging();
    void showCounts(const std::map<int, int>& counts);
    void showTab(const QString& caption);
    void refuse(const SintegraRefusal& refusal);
    void markStale();
    // Leaving the initial date (or the GNRE due date) after a change: the
    // final date becomes the last day of the initial date's month.
    void dateLeft(QLineEdit* edit);
    QString dateText(const QString& name) const;
    QLineEdit* edit(const QString& name) const;
    QCheckBox* box(const QString& name) const;
    QLabel* label(const QString& name) const;
    // False when the window must stay open: the save failed (the user was told).
    bool saveOnce();

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_stageButton = nullptr;
    QComboBox* m_agreement = nullptr;
    QComboBox* m_natures = nullptr;
    QComboBox* m_purpose = nullptr;
    QComboBox* m_freightPayer = nullptr;
    QHash<int, StagedGridModel*> m_grids;
    QHash<QObject*, FilterLink> m_links;
    QHash<QLineEdit*, bool> m_dateChanged;
    SintegraStaging m_staging;
    std::vector<Product75> m_products75;
    QStringList m_lines;
    bool m_loaded = false;
    bool m_saved = false;
    bool m_leaveUnsaved = false;
};

// Makes the SINTEGRA window reachable from the main window ("SINTEGRA2004").
void RegisterSintegraWindows();

} // namespace livrax::efiles
