#include "tools/query_export.h"

#include "common/dates.h"
#include "common/error.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "print/output_file.h"
#include "tools/query_model.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QStringEncoder>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultTextWidth = 15;

QString Cell(const QueryModel& model, int row, int column) {
    return model.rowTexts(row).at(column);
}

ExportResult Failed(const QString& reason) {
    return {ExportResult::Status::Failed, reason, 0};
}

} // namespace

int TextExportWidth(const QueryModel& model, int column) {
    const QueryColumn info = model.columns().value(column);
    switch (info.kind) {
    case ColumnKind::Date:
        return 8;
    case ColumnKind::Timestamp:
        return 17;
    case ColumnKind::Text:
        return info.size > 0 ? info.size : DefaultTextWidth;
    default:
        return DefaultTextWidth;
    }
}

QString ExportFileName(const QString& name, const QString& extension) {
    QString file = name.trimmed().toUpper();
    if (!file.endsWith(extension.toUpper())) file += extension.toUpper();
    return file;
}

ExportResult ExportText(QueryModel& model, const QString& fileName,
                        const std::function<bool()>& cancelled) {
    // The file is written in blocks of about this size, not line by line.
    constexpr qsizetype Block = 64 * 1024;
    try {
        print::OutputFile file(fileName);
        QIODevice* device = file.device();
        QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
        const int columns = model.columnCount();
        QList<int> widths;
        for (int c = 0; c < columns; ++c)
            widths << TextExportWidth(model, c);
        QString line;
        QByteArray block;
        block.reserve(Block + 1024);
        const auto writeLine = [&](const QStringList& texts) {
            line.clear();
            for (int c = 0; c < columns; ++c) {
                const QString& text = texts.at(c);
                const int width = widths.at(c);
                line += QStringView(text).left(width);
                if (text.size() < width) line += QString(width - text.size(), u' ');
            }
            line += u"\r\n"_s;
            block += encoder.encode(line);
            if (block.size() >= Block) {
                device->write(block);
                block.clear();
            }
        };
        QStringList names;
        for (const QueryColumn& column : model.columns())
            names << column.name;
        writeLine(names);
        int row = 0;
        for (;; ++row) {
            if (row >= model.rowCount()) {
                if (!model.canFetchMore()) break;
                model.fetchMore();
                if (row >= model.rowCount()) break;
            }
            if (cancelled && cancelled()) return {ExportResult::Status::Cancelled, {}, row};
            writeLine(model.rowTexts(row));
        }
        if (!model.fetchError().isEmpty()) return Failed(model.fetchError());
        device->write(block);
        file.commit();
        return {ExportResult::Status::Written, {}, row};
    } catch (const Error& error) {
        return Failed(error.message());
    }
}

ExportResult ExportWorkbook(QueryModel& model, const QString& fileName,
                            const QList<int>& pixelWidths, const std::function<bool()>& cancelled) {
    try {
        print::StagedFile staged(fileName);
        lxw_workbook* workbook = workbook_new(QFile::encodeName(staged.path()).constData());
        if (!workbook) return Failed(print::WriteFailure(fileName, u"workbook"_s));
        // The workbook is freed by workbook_close on every path.
        struct Closer {
            lxw_workbook* workbook;
            bool closed = false;
            lxw_error close() {
                closed = true;
                return workbook_close(workbook);
            }
            ~Closer() {
                if (!closed) lxw_workbook_free(workbook);
            }
        } closer{workbook};
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
        lxw_format* bold = workbook_add_format(workbook);
        format_set_bold(bold);
        lxw_format* dateFormat = workbook_add_format(workbook);
        format_set_num_format(dateFormat, "dd/mm/yyyy");
        const int columns = model.columnCount();
        for (int c = 0; c < columns; ++c) {
            const int width = pixelWidths.value(c);
            if (width > 0)
                worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width / 6.0, nullptr);
            worksheet_write_string(sheet, 0, lxw_col_t(c),
                                   model.columns().at(c).name.toUtf8().constData(), bold);
        }
        int row = 0;
        for (;; ++row) {
            if (row >= model.rowCount()) {
                if (!model.canFetchMore()) break;
                model.fetchMore();
                if (row >= model.rowCount()) break;
            }
            if (cancelled && cancelled()) return {ExportResult::Status::Cancelled, {}, row};
            const lxw_row_t sheetRow = lxw_row_t(row + 1);
            for (int c = 0; c < columns; ++c) {
                const QString text = Cell(model, row, c);
                if (text.isEmpty()) continue;
                const QueryColumn& info = model.columns().at(c);
                bool number = false;
                const double value = DotDecimal(text).toDouble(&number);
                if (info.numeric() && number) {
                    worksheet_write_number(sheet, sheetRow, lxw_col_t(c), value, nullptr);
                } else if (info.kind == ColumnKind::Date && ParseDate(text).isValid()) {
                    const QDate date = ParseDate(text);
                    lxw_datetime cell{date.year(), date.month(), date.day(), 0, 0, 0.0};
                    worksheet_write_datetime(sheet, sheetRow, lxw_col_t(c), &cell, dateFormat);
                } else {
                    worksheet_write_string(sheet, sheetRow, lxw_col_t(c), text.toUtf8().constData(),
                                           nullptr);
                }
            }
        }
        if (!model.fetchError().isEmpty()) return Failed(model.fetchError());
        const lxw_error error = closer.close();
        if (error != LXW_NO_ERROR)
            return Failed(print::WriteFailure(fileName, QString::fromUtf8(lxw_strerror(error))));
        staged.commit();
        return {ExportResult::Status::Written, {}, row};
    } catch (const Error& error) {
        return Failed(error.message());
    }
}

} // namespace livrax::tools
