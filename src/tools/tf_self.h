#pragma once

#include "tools/selection.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace livrax::tools {

// The filter dialog "F_SELF - Seleção de Campos para Filtros": builds
// condition lines from a field, an operator and a value. It reads SelMode,
// SelSource and SelResult when it is created and, on "Aplicar", leaves the
// new lines in SelResult (and, in mode "EXE", in the table filter).
class TF_SELF : public QDialog {
    Q_OBJECT

  public:
    explicit TF_SELF(QWidget* parent = nullptr);

    // The condition lines of LB_SAI.
    QStringList lines() const;

  public Q_SLOTS:
    // "Montar - F3" and Enter in ED_SEL. False when a value was refused.
    bool BU_MONTARClick();
    void BU_APLICARClick();
    void BU_CANCELARClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    QPushButton* addButton(const QString& name, const QString& caption);
    void addLine(const QString& line);
    void BU_SOBEClick();
    void BU_DESCEClick();
    void BU_EXCLUIRClick();
    void openTable();
    QString fieldType(const QString& field) const;

    QString m_mode;
    QString m_table;
    bool m_tableOpen = false;
    QListWidget* LB_ENT = nullptr;
    QButtonGroup* m_operators = nullptr;
    QComboBox* ED_SEL = nullptr;
    QListWidget* LB_SAI = nullptr;
    QLineEdit* P_PREFIXO = nullptr;
    QLabel* LA_DIR = nullptr;
    QLabel* LA_ARQ = nullptr;
};

} // namespace livrax::tools
