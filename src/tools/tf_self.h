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

    // The condition lines built so far (the list on the right, "LB_SAI").
    QStringList lines() const;
    // What the lines built put before the column ("PIE."): the prefix of the
    // table in the query the filter lands in (P_PREFIXO).
    void setFieldPrefix(const QString& prefix);

  public Q_SLOTS:
    // "Montar - F3" and Enter in the value box: the line for the current
    // field, operator and value. False when the value was refused.
    bool buildLine();
    // "Aplicar - F12": builds a value still typed, then hands the lines over.
    void apply();
    // "Cancelar".
    void cancel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    QPushButton* addButton(const QString& name, const QString& caption);
    void addLine(const QString& line);
    // "↑": the current line back into the value box, to be edited.
    void lineToValue();
    // "↓": the value box, as typed, as a new line.
    void valueToLine();
    // "Excluir Linha".
    void removeLine();
    void openTable();
    QString fieldType(const QString& field) const;

    QString m_mode;
    QString m_table;
    bool m_tableOpen = false;
    QListWidget* m_fields = nullptr;
    QButtonGroup* m_operators = nullptr;
    QComboBox* m_value = nullptr;
    QListWidget* m_lines = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLabel* m_databaseLabel = nullptr;
    QLabel* m_tableLabel = nullptr;
};

} // namespace livrax::tools
