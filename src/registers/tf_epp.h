#pragma once

#include "registers/epp_table.h"

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;

namespace livrax::registers {

// The window "CADASTRO  DE  TABELAS  EPP": one year and month of EPP
// brackets at a time, browsed in year and month order, inserted, changed and
// deleted as a record form (browsing or editing, see tools::SetRecordMode).
class TF_EPP : public QDialog {
    Q_OBJECT

  public:
    explicit TF_EPP(QWidget* parent = nullptr);

    bool editing() const { return m_editing; }
    // The key of the record shown ("_____" when none).
    QString shownYear() const;
    QString shownMonth() const;

  public Q_SLOTS:
    void newRecord();
    void editRecord();
    // Saves the brackets; on a refused amount or a failed save the user is
    // told and the window stays in editing with the fields as typed.
    void saveRecord();
    void cancelEdit();
    void deleteRecord();
    void first();
    void previous();
    void next();
    void last();
    void search();
    void printWindow();
    // Closing while editing asks whether to save first.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void reload();
    void showRecord(int index);
    void showKey(const QString& year, const QString& month);
    void setEditing(bool editing);
    void left(QLineEdit* edit);
    EppBracketTexts texts() const;
    void setTexts(const EppBracketTexts& texts);

    std::vector<EppRecord> m_records;
    int m_index = -1;
    bool m_editing = false;
    bool m_newRecord = false; // the key shown is not stored yet
    QLabel* m_year = nullptr;
    QLabel* m_month = nullptr;
    std::array<QLineEdit*, EppBracketCount> m_from{}, m_to{}, m_discount{};
};

} // namespace livrax::registers
