#pragma once

#include "print/form_window.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace livrax::reports {

// The selection configuration of a menu (key M + "0000"), which all its
// reports share: the nine selection boxes (title and field, one at a time),
// the nine multiple selections (two titles and two SQL conditions each) and
// the condition between fields. Only access levels "9" and "8" may change it:
// for the others the editing controls and "APLICAR" are disabled.
class TF_PDOCS : public print::FormWindow {
    Q_OBJECT

  public:
    explicit TF_PDOCS(const ReportMenu& menu, QWidget* parent = nullptr);

    // "APLICAR": the shown lines stored, the configuration written and the
    // window closed. False, after telling the user, when it was not written.
    bool apply();

  protected:
    void loadSettings() override;
    bool saveSettings() override { return true; }

  private:
    void showSingle(int index);
    void storeSingle();
    void showMultiple(int index);
    void storeMultiple();

    ReportMenu m_menu;
    MenuSelectionConfig m_config;
    int m_single = 0;   // 0..8: lines 11..19
    int m_multiple = 0; // 0..8: lines 21..29

    QLabel* m_fileName = nullptr;
    QLineEdit* m_singleTitle = nullptr;
    QComboBox* m_singleField = nullptr;
    QLabel* m_singleLine = nullptr;
    QLineEdit* m_multipleEdits[4] = {};
    QLabel* m_multipleLine = nullptr;
    QLineEdit* m_betweenEdits[4] = {};
    QWidget* m_editing = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace livrax::reports
