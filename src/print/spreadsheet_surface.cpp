#include "print/spreadsheet_surface.h"

#include "common/dates.h"
#include "print/output_file.h"
#include "print/print_job.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <xlsxwriter.h>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

bool IsNumberChars(const QString& text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (!c.isDigit() && c != u',' && c != u'.' && c != u'-') return false;
    return true;
}

// "-" once in front, digits with at most one ".", at least one digit.
bool IsPlainNumber(const QString& text, int* digits) {
    int count = 0;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit())
            ++count;
        else if (c == u'.' && !point)
            point = true;
        else if (!(c == u'-' && i == 0))
            return false;
    }
    *digits = count;
    return count > 0;
}

} // namespace

QString PrepareSpreadsheetText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!IsNumberChars(trimmed)) return text;
    QString prepared = trimmed;
    if (prepared.contains(u',') && prepared.contains(u'.')) prepared.remove(u'.');
    prepared.replace(u',', u'.');
    return prepared;
}

SpreadsheetValue SpreadsheetCellValue(const QString& text) {
    SpreadsheetValue value;
    value.text = text;
    const QString trimmed = text.trimmed();
    if (trimmed.size() == 8 && trimmed[2] == u'/' && trimmed[5] == u'/') {
        const QDate date = ParseDate(trimmed);
        if (date.isValid() && date.year() >= 1900) {
            value.kind = SpreadsheetValue::Kind::Date;
            value.date = date;
        }
        return value;
    }
    if (!IsNumberChars(trimmed)) return value;
    const QString prepared = PrepareSpreadsheetText(trimmed);
    int digits = 0;
    if (!IsPlainNumber(prepared, &digits) || digits > 15) return value;
    const QString unsigned_ = prepared.startsWith(u'-') ? prepared.mid(1) : prepared;
    if (unsigned_.size() > 1 && unsigned_[0] == u'0' && unsigned_[1].isDigit()) return value;
    bool ok = false;
    const double number = prepared.toDouble(&ok);
    if (!ok) return value;
    value.kind = SpreadsheetValue::Kind::Number;
    value.number = number;
    return value;
}

SpreadsheetSurface::SpreadsheetSurface() = default;

SpreadsheetSurface::~SpreadsheetSurface() {
    // A job that never ended leaves no workbook behind.
    if (m_workbook) lxw_workbook_free(m_workbook);
}

void SpreadsheetSurface::open(PrintJob& job) {
    m_job = &job;
    const PrintSettings& settings = job.settings;
    if (settings.outputFile.isEmpty()) {
        QDir().mkpath(settings.tempFolder);
        m_fileName = settings.tempFolder + u"LIVRAX.xlsx"_s;
    } else {
        m_fileName = settings.outputFile;
    }
    // The workbook is only written at the end: creating the staged file now
    // finds out whether it can be.
    m_staged = std::make_unique<StagedFile>(m_fileName);
    m_workbook = workbook_new(QFile::encodeName(m_staged->path()).constData());
    if (m_workbook) m_sheet = workbook_add_worksheet(m_workbook, nullptr);
    if (!m_sheet) throw PrintError(u"Não foi possível criar o arquivo "_s + m_fileName);
    for (int column = 1; column < int(settings.spreadsheetColumnWidths.size()); ++column) {
        const int width = settings.spreadsheetColumnWidths[column];
        if (width > 0)
            worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    }
}

int SpreadsheetSurface::textWidth(const QString&, const FontSpec&) {
    return 0; // a cell has no position to align in
}

lxw_format* SpreadsheetSurface::formatFor(const FontSpec& font, bool date) {
    const bool bold = font.style.contains(u'B');
    const QString key = font.name + u'|' + QString::number(font.size) + u'|' +
                        (bold ? u'B' : u'-') + (date ? u'D' : u'-');
    const auto found = m_formats.find(key);
    if (found != m_formats.end()) return found->second;
    lxw_format* format = workbook_add_format(m_workbook);
    if (!font.name.isEmpty()) format_set_font_name(format, font.name.toUtf8().constData());
    if (font.size > 0) format_set_font_size(format, font.size);
    if (bold) format_set_bold(format);
    if (date) format_set_num_format(format, "dd/mm/yy");
    m_formats.emplace(key, format);
    return format;
}

void SpreadsheetSurface::drawText(int x, int y, const QString& text, const FontSpec& font,
                                  bool inRange) {
    (void)x;
    (void)y;
    (void)inRange;
    if (!m_sheet || text.trimmed().isEmpty()) return;
    const int row = m_row;
    const int column = m_column;
    if (row < 0 || column < 0) return; // no such cell: skipped
    const SpreadsheetValue value = SpreadsheetCellValue(text);
    lxw_format* format = formatFor(font, value.kind == SpreadsheetValue::Kind::Date);
    // A cell that cannot be stored (beyond the sheet, a text too long) is
    // skipped; the rest of the report goes on.
    switch (value.kind) {
    case SpreadsheetValue::Kind::Number:
        worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value.number, format);
        break;
    case SpreadsheetValue::Kind::Date: {
        lxw_datetime date{value.date.year(), value.date.month(), value.date.day(), 0, 0, 0.0};
        worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(column), &date, format);
        break;
    }
    case SpreadsheetValue::Kind::Text:
        worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column),
                               value.text.toUtf8().constData(), format);
        break;
    }
}

void SpreadsheetSurface::finish() {
    if (!m_workbook) return;
    lxw_workbook* workbook = std::exchange(m_workbook, nullptr);
    m_sheet = nullptr;
    m_formats.clear();
    const lxw_error error = workbook_close(workbook); // writes and frees it
    const std::unique_ptr<StagedFile> staged = std::move(m_staged);
    if (error != LXW_NO_ERROR)
        throw PrintError(WriteFailure(m_fileName, QString::fromUtf8(lxw_strerror(error))));
    staged->commit();
    if (m_job->settings.interactive) QDesktopServices::openUrl(QUrl::fromLocalFile(m_fileName));
}

} // namespace livrax::print
