#pragma once

#include "tools/selection.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace livrax::tools {

// The column dialog "F_SELC - Seleção de Campos": the user picks columns of
// up to five tables (mode "ARQUIVO") or names from a list (mode "TABELA").
// It reads SelMode, SelSource and SelResult when it is created and, on
// "Salvar", leaves the chosen columns in SelResult and their sizes in
// SelSizes.
class TF_SELC : public QDialog {
    Q_OBJECT

  public:
    explicit TF_SELC(QWidget* parent = nullptr);

    // The items of LB_ENT and LB_SAI.
    QStringList offered() const;
    QStringList chosen() const;
    bool singleChoice() const { return m_single; }

  public Q_SLOTS:
    void BU_ADICIONAClick();
    void BU_SALVARClick();

  protected:
    void done(int result) override;

  private:
    QPushButton* addButton(const QString& name, const QString& caption);
    void listColumns();
    void moveChosen(int step);

    QString m_mode;
    bool m_single = false;
    QListWidget* LB_ENT = nullptr;
    QListWidget* LB_SAI = nullptr;
    QCheckBox* CB_ABC = nullptr;
    QLineEdit* P_PREFIXO = nullptr;
    QLabel* LA_ARQ = nullptr;
};

} // namespace livrax::tools
