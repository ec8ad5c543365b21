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

    // The items offered (the list on the left, "LB_ENT") and those chosen
    // (the list on the right, "LB_SAI").
    QStringList offered() const;
    QStringList chosen() const;
    bool singleChoice() const { return m_single; }

  public Q_SLOTS:
    // "Adiciona o campo" and a double click: the current offered item, with
    // the prefix, to the chosen ones; with a single choice it also saves.
    void addCurrent();
    // "Salvar": hands the chosen columns and their sizes over.
    void save();

  protected:
    void done(int result) override;

  private:
    QPushButton* addButton(const QString& name, const QString& caption);
    void listColumns();
    void moveChosen(int step);

    QString m_mode;
    bool m_single = false;
    QListWidget* m_offered = nullptr;
    QListWidget* m_chosen = nullptr;
    QCheckBox* m_letterPrefixes = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLabel* m_tableLabel = nullptr;
};

} // namespace livrax::tools
