#pragma once

// The listing of a grid: its rows printed in the grid's columns and widths,
// under the job's standard header, with the column titles at the top of
// every page.

#include "print/print_settings.h"

#include <QList>
#include <QString>

class QAbstractItemModel;

namespace livrax::print {

class PrintJob;

// One column of the grid: the field it shows, its width on the screen in
// pixels, and whether it holds numbers (printed right-aligned).
struct GridColumn {
    QString fieldName;
    int widthPixels = 0;
    bool numeric = false;
};

// The grid-printing window's choices.
struct GridPrintOptions {
    QString title;  // E_TITULO
    QString title3; // E_TITULO3
    Orientation orientation = Orientation::Portrait;
    int paperWidth = 0, paperLength = 0; // tenths of a millimetre, 0: the printer's
};

// The job's settings for the listing: orientation, paper, font size 8,
// page numbers from 1, the title and the third header line.
void ApplyGridPrintSettings(const GridPrintOptions& options, PrintSettings& settings);

// The text a number shown in the grid is printed as: "1.234,56" becomes
// "1234.56".
QString GridNumberText(const QString& shown);

// Prints the rows of `model` (fetching more as it goes) on `job`, which
// has not started: each column `round(width / screenCharWidth)` characters
// wide plus one of space, numbers ending on the column's last character,
// other texts starting at its first; the field names as titles on every
// page, ruled under; a rule after the last row. Nothing is drawn (the job
// not even started) when there are no columns or no rows.
void PrintGrid(PrintJob& job, const QList<GridColumn>& columns, QAbstractItemModel& model);

} // namespace livrax::print
