#pragma once

#include "print/grid_print.h"
#include "print/print_settings.h"

#include <QDialog>

class QAbstractItemModel;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace livrax::print {

// The grid-printing window TF_PRINTGRID: prints the rows of a grid as a
// listing to the preview ("Visão"), the printer ("Imprimir", which then
// closes the window), a workbook or a text grid. The grid's model and
// columns are the caller's and must outlive the window.
class TF_PRINTGRID : public QDialog {
    Q_OBJECT

  public:
    TF_PRINTGRID(const QList<GridColumn>& columns, QAbstractItemModel& model, const QString& title,
                 QWidget* parent = nullptr);

    // The settings every listing starts from (by default the company's, run
    // interactively); tests send the listing to a file without windows.
    void setBaseSettings(const PrintSettings& settings) { m_base = settings; }
    // The window's choices as they stand.
    GridPrintOptions options() const;
    // The destination of the last listing, as its letter.
    const QString& destinationCode() const { return m_destination; }
    int columnCount() const { return int(m_columns.size()); }

  public Q_SLOTS:
    // Runs the listing to `destination`; nothing happens when the grid has
    // no columns or no rows.
    void run(print::Destination destination);

  private:
    QPushButton* addButton(const QString& name, const QString& caption, const QString& hint = {});

    QList<GridColumn> m_columns;
    QAbstractItemModel& m_model;
    PrintSettings m_base;
    QString m_destination;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_title3 = nullptr;
    QButtonGroup* m_orientation = nullptr;
    QComboBox* m_width = nullptr;
    QComboBox* m_length = nullptr;
    QPushButton* m_print = nullptr;
};

} // namespace livrax::print
