#pragma once

#include "registers/cpc_accounts.h"

#include <QDialog>

#include <map>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace livrax::registers {

// The window "F_CPC - Cadastro de Contas por Cliente": one entry of the
// accounts per customer and operation at a time, browsed in SIGLA and
// NATOPER order, inserted, changed, duplicated and deleted as a record form
// (see tools::SetRecordMode). `initialSigla` (E_SIGLA_INIC) moves the list
// to the first entry of that customer when the window is shown.
class TF_CPC : public QDialog {
    Q_OBJECT

  public:
    explicit TF_CPC(QWidget* parent = nullptr, const QString& initialSigla = {});

    bool editing() const { return m_editing; }
    // The record the fields hold.
    CpcRecord values() const;
    // The SEQ of the record shown (0 while a new one is typed).
    qint64 shownSeq() const { return m_seq; }

  public Q_SLOTS:
    void newRecord();
    void editRecord();
    // False when the record was refused or could not be stored; the window
    // then stays in editing.
    bool saveRecord();
    void cancelEdit();
    void deleteRecord();
    void duplicateRecord();
    void first();
    void previous();
    void next();
    void last();
    void search();
    void printWindow();
    // Closing while editing asks whether to save first.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    QLineEdit* addField(const QString& column, int maxLength, bool upper, QWidget* parent);
    void reload();
    void showRecord(int index);
    void showSeq(qint64 seq, qint64 filial);
    void fill(const CpcRecord& record);
    void setEditing(bool editing);
    void updateCaption(const QString& column);
    void lookUp(const QString& column);
    void lookUpDuplicateAccount();

    std::vector<CpcRecord> m_records;
    int m_index = -1;
    bool m_editing = false;
    qint64 m_seq = 0;
    qint64 m_filial = 0;
    QString m_initialSigla;
    std::map<QString, QLineEdit*> m_fields; // by column
    std::map<QString, QLabel*> m_captions;  // by column
    QLabel* m_seqLabel = nullptr;
    QLineEdit* m_filialField = nullptr;
    QLineEdit* m_initialField = nullptr;
    QTabWidget* m_tabs = nullptr;
    QComboBox* m_costCentres = nullptr;
    QComboBox* m_operations = nullptr;
    QLineEdit* m_lastDuplicateAccount = nullptr;
};

// The financial operations offered by E_NATOPER1, with their separator line.
const QStringList& FinancialOperations();

} // namespace livrax::registers
