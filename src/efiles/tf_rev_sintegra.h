#pragma once

#include "efiles/sintegra_reversal.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTextEdit;

namespace livrax::efiles {

// The reversal window "F_REV_SINTEGRA": a SINTEGRA file loaded into the
// grid (tab "LEITURA") and the editor (tab "EDITOR"), its counterparts
// matched to partners, and its record-50 documents imported as invoices by
// "&Importar". A file with problems is listed and not imported. The last
// file name is kept in the setting "REV_SINTEGRA" (line 2).
class TF_REV_SINTEGRA : public QDialog {
    Q_OBJECT

  public:
    explicit TF_REV_SINTEGRA(QWidget* parent = nullptr);

    // "Localizar arquivo": picks a file and loads it.
    void locate();
    // The open button: loads the file named in E_ARQUIVO.
    void load();
    // "&Importar": imports the record-50 rows of the loaded file.
    void import();

    // What the last load read.
    const ReversalFile& loaded() const { return m_file; }

  protected:
    // Saves the file name when the window closes.
    void done(int result) override;

  private:
    void buildControls();
    void showRows();
    void followCaret();

    QLineEdit* m_fileName = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_count = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_grid = nullptr;
    QTextEdit* m_editor = nullptr;
    QLabel* m_line = nullptr;
    QLabel* m_column = nullptr;
    ReversalFile m_file;
};

// Registers "REV_SINTEGRA" in the window registry.
void RegisterReversalWindows();

} // namespace livrax::efiles
