#pragma once

#include "efiles/datahouse_export.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace livrax::efiles {

// The DataHouse export window ("F_DH_PDS - Exportação Clientes/Vendas"):
// the period and the folder, "Montar" to see the selected invoices in tab
// "Grid", "Exportar" to write the files, the messages and the error count in
// tab "Erros". The settings are read when it is first shown and written by
// "Sair" only; any way of closing it commits the shared datasets.
class TF_DH_PDS : public QDialog {
    Q_OBJECT

  public:
    explicit TF_DH_PDS(QWidget* parent = nullptr);

    // The export's inputs as the controls hold them.
    DataHouseOptions options() const;
    void setOptions(const DataHouseOptions& options);

    // Leaves the window, by any way; commits the shared datasets.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildExportTab();
    QWidget* buildGridTab();
    QWidget* buildParametersTab();
    QWidget* buildErrorsTab();

    void loadSettings();
    void startDateEdited();
    void folderChanged();
    void chooseFolder();
    // False when the selection could not be made (the user was told).
    bool assemble();
    void exportFiles();
    void openEditor();
    void printScreen();
    void leave();
    void showSales(const std::vector<DataHouseSale>& sales);
    void moveTo(int row);

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_assemble = nullptr;
    QPushButton* m_export = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QCheckBox* m_customers = nullptr;
    QCheckBox* m_sales = nullptr;
    QLineEdit* m_folder = nullptr;
    QLineEdit* m_outputFile = nullptr;
    QLabel* m_salesCount = nullptr;
    QLabel* m_customerCount = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_rows = nullptr;
    QLineEdit* m_filter = nullptr;
    QCheckBox* m_icms = nullptr;
    QLabel* m_errors = nullptr;
    QListWidget* m_messages = nullptr;
    bool m_loaded = false;
};

// Makes the window reachable from the main window's commands ("DH_PDS").
void RegisterEfilesWindows();

} // namespace livrax::efiles
