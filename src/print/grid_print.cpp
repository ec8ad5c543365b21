#include "print/grid_print.h"

#include "print/print_job.h"
#include "print/spreadsheet_surface.h"

#include <QAbstractItemModel>

#include <cmath>

namespace livrax::print {

namespace {

// The characters a column of `pixels` takes on the page.
int ColumnChars(int pixels, int screenCharWidth) {
    return int(std::lround(double(pixels) / double(std::max(1, screenCharWidth))));
}

// True when row `row` exists, reading more rows when the model has them.
bool HasRow(QAbstractItemModel& model, int row) {
    while (row >= model.rowCount() && model.canFetchMore({}))
        model.fetchMore({});
    return row < model.rowCount();
}

} // namespace

void ApplyGridPrintSettings(const GridPrintOptions& options, PrintSettings& settings) {
    settings.orientation = options.orientation;
    settings.paperLength = options.paperLength;
    settings.paperWidth = options.paperWidth;
    settings.jobFontSize = 8;
    settings.pageNumber = 0;
    settings.unitMode = 3;
    settings.title = options.title;
    settings.subtitle2 = options.title3;
    settings.standardHeader = true;
    settings.headerStyle = HeaderStyle::Simple;
}

QString GridNumberText(const QString& shown) {
    return PrepareSpreadsheetText(shown);
}

void PrintGrid(PrintJob& job, const QList<GridColumn>& columns, QAbstractItemModel& model) {
    if (columns.isEmpty() || !HasRow(model, 0)) return;
    job.startJob();
    if (job.cancelled()) return;
    job.pageHeader();
    const int charWidth = job.metrics().screenCharWidth;
    for (int row = 0; !job.cancelled() && HasRow(model, row); ++row) {
        if (job.headerPending()) {
            int x = 0;
            for (int i = 0; i < columns.size(); ++i) {
                job.setSpreadsheetColumn(i + 1);
                job.printText(x, columns.at(i).fieldName);
                x += ColumnChars(columns.at(i).widthPixels, charWidth) + 1;
            }
            job.newLine();
            job.drawRule();
            job.newLine();
            job.headerPrinted();
        }
        int x = 0;
        for (int i = 0; i < columns.size(); ++i) {
            const GridColumn& column = columns.at(i);
            job.setSpreadsheetColumn(i + 1);
            const int width = ColumnChars(column.widthPixels, charWidth);
            const QString text = model.index(row, i).data().toString();
            if (column.numeric) {
                x += width;
                job.printText(x, GridNumberText(text), Align::Right);
            } else {
                job.printText(x, text);
                x += width;
            }
            x += 1;
        }
        job.newLine();
    }
    job.drawRule();
    job.endJob();
}

} // namespace livrax::print
