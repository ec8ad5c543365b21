#pragma once

// The generic query's exports: the rows of its grid as a fixed-width text
// file and as a workbook, each written whole or not at all.

#include <QList>
#include <QString>

#include <functional>

namespace livrax::tools {

class QueryModel;

// How an export ended. A cancelled or failed export leaves no file (and an
// older file of that name as it was).
struct ExportResult {
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Failed;
    QString error; // the system's reason when it failed
    int rows = 0;  // data rows written
};

// The width a column takes in the text file: a text column's defined size
// (15 when it has none), 8 for DATE columns, 17 for timestamps, 15 for
// numbers.
int TextExportWidth(const QueryModel& model, int column);

// Writes every row of the model (reading the rest of the statement) to
// `fileName` in Windows-1252: one line of the column names, then one line
// per row, each column padded or cut to its width with no separator, every
// line ended by CR LF. `cancelled` is asked between rows.
ExportResult ExportText(QueryModel& model, const QString& fileName,
                        const std::function<bool()>& cancelled = {});

// Writes every row of the model to the workbook `fileName` (.xlsx): row 1
// the column names in bold, each column `pixelWidths[i] / 6` characters
// wide; then one row per model row: numbers as numbers, dates as dates,
// everything else as text.
ExportResult ExportWorkbook(QueryModel& model, const QString& fileName,
                            const QList<int>& pixelWidths,
                            const std::function<bool()>& cancelled = {});

// The name an export file is given: upper case, ending in `extension`
// (".TXT", ".XLSX").
QString ExportFileName(const QString& name, const QString& extension);

} // namespace livrax::tools
