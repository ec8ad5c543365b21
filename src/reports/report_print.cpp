#include "reports/report_print.h"

#include "common/fields.h"
#include "common/masks.h"
#include "common/numbers.h"
#include "common/text.h"
#include "print/print_job.h"
#include "print/print_settings.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

int Number(const QString& text, int fallback = 0) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QChar At(const QString& flags, int position) {
    return position >= 1 && position <= flags.size() ? flags.at(position - 1) : QChar(u' ');
}

// The value of a column of the row, "A."/"S." qualified or bare.
QString ColumnText(const expr::ExpressionRow& row, const QString& name) {
    if (name.startsWith(u"S."_s)) return row.secondaryField(name.mid(2)).value_or(QString());
    return row.field(name.startsWith(u"A."_s) ? name.mid(2) : name).value_or(QString());
}

// The row as the field expressions see it, with the report's macros
// expanded by the run's MacroRun ([GBFUN0] the value being printed).
class MacroRow : public expr::ExpressionRow {
  public:
    MacroRow(const expr::ExpressionRow& row, expr::MacroRun& macros)
        : m_row(row), m_macros(macros) {}
    std::optional<QString> field(const QString& name) const override { return m_row.field(name); }
    std::optional<QString> secondaryField(const QString& name) const override {
        return m_row.secondaryField(name);
    }
    QString expandMacros(const QString& text) const override { return m_macros.expand(text); }
    QString macroValue(const QString& name) const override { return m_macros.value(name); }

  private:
    const expr::ExpressionRow& m_row;
    expr::MacroRun& m_macros;
};

// A sum written as a plain decimal number with a decimal comma, without the
// trailing zeros of its four decimals.
QString SumText(qint64 scaled) {
    QString text = ScaledToText(scaled);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u',')) text.chop(1);
    return text;
}

} // namespace

void ApplyReportSettings(const ReportDefinition& definition, const QString& titlePeriod,
                         print::PrintSettings& settings) {
    const ReportParameters& parameters = definition.parameters;
    settings.unitMode = 3;
    settings.title = parameters.title + titlePeriod;
    if (!IsBlank(parameters.font.name)) settings.jobFontName = parameters.font.name.trimmed();
    if (Number(parameters.font.size) > 0) settings.jobFontSize = Number(parameters.font.size);
    if (!IsBlank(parameters.font.style)) settings.jobFontStyle = parameters.font.style.trimmed();
    settings.standardHeader = At(parameters.flags, PrintHeader) != u'N';
    settings.topMargin = int(std::lround(Number(parameters.topMargin) / 2.0));
    settings.bottomMargin = int(std::lround(Number(parameters.bottomMargin) / 2.0));
    settings.rightMargin = int(std::lround(Number(parameters.rightMargin) / 3.0));
    settings.leftMargin = int(std::lround(Number(parameters.leftMargin) / 2.0));
    const auto expanded = [](const QString& text, QString& target) {
        if (!IsBlank(text)) target = expr::ExpandMacros(text);
    };
    expanded(parameters.companyLine, settings.companyName);
    expanded(parameters.addressLine, settings.companyLine2);
    expanded(parameters.taxNumberLine, settings.boxLeftText);
    expanded(parameters.taxNumberCentred, settings.boxTitle);
    settings.orientation = definition.printer.orientation.trimmed() == u"H"_s
                               ? print::Orientation::Landscape
                               : print::Orientation::Portrait;
    settings.headerStyle = print::HeaderStyle::Boxed;
    // Both header fonts start from the header font; the title's and the
    // company's own values replace it one by one where they are set.
    const ReportFonts& fonts = definition.fonts;
    const auto font = [&](const ReportFont& own, QString& name, int& size, QString& style) {
        const ReportFont& base = fonts.header;
        const QString n = !IsBlank(own.name) ? own.name : base.name;
        const int z = Number(own.size) > 0 ? Number(own.size) : Number(base.size);
        const QString st = !IsBlank(own.style) ? own.style : base.style;
        if (!IsBlank(n)) name = n.trimmed();
        if (z > 0) size = z;
        if (!IsBlank(st)) style = st.trimmed();
    };
    font(fonts.title, settings.titleFontName, settings.titleFontSize, settings.titleFontStyle);
    font(fonts.company, settings.headerFontName, settings.headerFontSize, settings.headerFontStyle);
}

ReportLayout::ReportLayout(const ReportDefinition& definition, print::PrintJob& job,
                           const expr::LookupSource* lookups)
    : m_definition(definition), m_job(job), m_lookups(lookups) {
    const QString factor = At(definition.parameters.flags, ColumnFactor) == u'0' ? u"0"_s : u"3"_s;
    const QChar kind = At(definition.parameters.flags, Kind);
    m_analytic = kind != u'S' && kind != u'R';
    // Text grids and workbooks keep a long value on its own line.
    const print::Destination destination = job.settings.destination;
    m_wrap = At(definition.parameters.flags, WrapLongValues) == u'S' &&
             destination != print::Destination::TextGrid &&
             destination != print::Destination::Spreadsheet;
    m_groupField = definition.grouping.field.trimmed();
    if (m_groupField.startsWith(u"A."_s)) m_groupField = m_groupField.mid(2);
    for (qsizetype i = 0; i < definition.fields.size(); ++i) {
        const ReportField& stored = definition.fields.at(i);
        if (Number(stored.type) == 0) continue;
        Field field;
        field.number = int(i) + 1;
        field.stored = &stored;
        field.line = std::max(1, Number(stored.line, 1));
        const int column = Number(stored.column);
        field.column = factor == u"0"_s ? column : int(std::lround(column / 6.0));
        field.size = Number(stored.size);
        field.printFlags =
            stored.printFlags.trimmed().isEmpty() ? u"1100000000000"_s : stored.printFlags;
        const QString content = stored.content.trimmed();
        if (content.toUpper().startsWith(u"IF("_s)) {
            field.content = expr::ParseExpression(content, expr::ExpressionKind::Line);
            field.hasContent = true;
        } else if (Number(stored.type) == 1) {
            field.content = expr::ParseExpression(content, expr::ExpressionKind::Field);
            field.hasContent = true;
        }
        if (!stored.function.trimmed().isEmpty()) {
            field.function = expr::ParseExpression(stored.function, expr::ExpressionKind::Line);
            field.hasFunction = true;
        }
        field.counts =
            content.toUpper() == u"COUNT"_s || stored.subtotal.trimmed().toUpper() == u"COUNT"_s;
        field.type = Number(stored.type);
        field.picture = stored.picture.trimmed().isEmpty() ? QString() : stored.picture;
        const QString alignment = stored.alignment.trimmed();
        field.right = alignment == u"1"_s;
        field.alignCode = field.right ? u"1"_s : alignment == u"2"_s ? u"2"_s : QString();
        field.summed = At(field.printFlags, 3) == u'1' || At(field.printFlags, 4) == u'1';
        field.keySecondary = content.startsWith(u"S."_s);
        field.keyColumn =
            field.keySecondary || content.startsWith(u"A."_s) ? content.mid(2) : content;
        field.otherTable = stored.otherTable.trimmed();
        field.otherKey = stored.otherKey.trimmed();
        if (At(field.printFlags, 4) == u'1') m_hasTotal = true;
        m_highestLine = std::max(m_highestLine, field.line);
        m_fields << field;
    }
}

bool ReportLayout::flag(int position, QChar value) const {
    return At(m_definition.parameters.flags, position) == value;
}

void ReportLayout::note(const Field& field, const expr::Diagnostic& diagnostic) {
    const QString text = u"%1.%2: %3"_s.arg(field.line).arg(field.number).arg(diagnostic.detail);
    if (!m_diagnostics.contains(text)) m_diagnostics << text;
}

expr::ExpressionResult ReportLayout::lookup(const QString& table, const QString& keyField,
                                            const QString& keyValue, const QString& filter,
                                            const QString& expression) {
    if (!m_lookups) return {};
    const QString key = QStringList{table, keyField, keyValue, filter, expression}.join(u'\x1f');
    const auto cached = m_lookupCache.constFind(key);
    if (cached != m_lookupCache.constEnd()) return *cached;
    const expr::ExpressionResult result =
        expr::LookupValue(*m_lookups, table, keyField, keyValue, filter, expression);
    m_lookupCache.insert(key, result);
    return result;
}

// Title and record blocks step whole lines; subtotal and total lines tenths.
QString ReportLayout::rowFor(int line, bool tenths) const {
    if (line <= 1) return {};
    return u"+"_s + QString::number(tenths ? line : (line - 1) * 10);
}

QString ReportLayout::shaped(const Field& field, const QString& value) const {
    QString text = field.picture.isEmpty() ? value : FormatByPicture(value, field.picture);
    if (field.size > 0) text = field.right ? PadLeft(text, field.size) : PadRight(text, field.size);
    if (At(field.printFlags, 6) == u'1') text = field.stored->title + text;
    return text;
}

void ReportLayout::useFont(const ReportFont& font) {
    if (!IsBlank(font.name)) m_job.next.fontName = font.name.trimmed();
    if (Number(font.size) > 0) m_job.next.fontSize = Number(font.size);
    if (!IsBlank(font.style)) m_job.next.fontStyle = font.style.trimmed();
}

void ReportLayout::printField(const Field& field, const QString& row, const QString& text,
                              const ReportFont* font) {
    if (font) useFont(*font);
    m_job.setSpreadsheetColumn(field.number);
    // A row below the block's first line moves the job's position; every
    // field of a block is placed from that first line, so it is restored.
    const int blockTop = m_job.currentY();
    m_job.printText(row.isEmpty() ? print::Arg() : print::Arg(row), print::Arg(field.column), text,
                    {}, {}, field.alignCode);
    m_job.setCurrentY(blockTop);
}

void ReportLayout::titleBlock() {
    if (flag(PrintFieldTitles, u'N')) return;
    if (flag(ShadedTitles, u'1')) {
        m_job.next.shade = u"1"_s;
        m_job.drawBox(print::Arg(u"-2"_s), print::Arg(0),
                      print::Arg(u"+"_s + QString::number(m_highestLine * 10 + 2)), u"R"_s);
    }
    for (const Field& field : m_fields) {
        if (At(field.printFlags, 1) != u'1') continue;
        QString title = field.stored->title;
        if (field.right) title = PadLeft(title, field.size);
        printField(field, rowFor(field.line, false), title, &m_definition.fonts.fieldTitles);
    }
    for (int i = 0; i < m_highestLine + 2; ++i)
        m_job.newLine();
}

void ReportLayout::groupLine(const QString& value) {
    const QString title = m_definition.grouping.title.trimmed();
    const bool bordered = m_analytic && At(m_definition.grouping.borders, 1) == u'1';
    if (bordered) {
        m_job.next.penWidth = 1;
        m_job.next.shade = At(m_definition.grouping.flags, 1) == u'1' ? u"1"_s : u"0"_s;
        m_job.drawBox(print::Arg(u"-2"_s), print::Arg(0), print::Arg(u"+13"_s), u"R"_s);
    }
    m_groupY = m_job.currentY();
    m_job.setSpreadsheetColumn(1);
    useFont(m_definition.grouping.font);
    m_job.printText(print::Arg(), print::Arg(4), title.isEmpty() ? value : title + u" "_s + value);
    const ReportGrouping& grouping = m_definition.grouping;
    if (!grouping.complementTable.trimmed().isEmpty()) {
        const expr::ExpressionResult complement =
            lookup(grouping.complementTable.trimmed(), {}, value, {}, grouping.complementField);
        const int column = int(std::lround(Number(grouping.complementColumn) / 6.0));
        m_job.setSpreadsheetColumn(2);
        useFont(m_definition.grouping.font);
        m_job.printText(print::Arg(), print::Arg(column == 0 ? 22 : column), complement.text);
    }
    if (m_analytic) m_job.newLine();
    if (bordered) m_job.newLine();
}

void ReportLayout::recordBlock(const expr::ExpressionRow& plainRow) {
    const MacroRow row(plainRow, m_macros);
    int wrapLines = 0;
    for (Field& field : m_fields) {
        const int type = field.type;
        QString value;
        if (type == 4) {
            if (field.stored->content.trimmed().isEmpty()) continue;
            const QString key = (field.keySecondary ? row.secondaryField(field.keyColumn)
                                                    : row.field(field.keyColumn))
                                    .value_or(QString());
            const QString filter = At(field.printFlags, 8) == u'S'
                                       ? u"FILIAL = "_s + Quote(ColumnText(row, u"FILIAL"_s))
                                       : QString();
            // The field's own values by key text in front of the run's
            // cache, so a row costs one hash of its key.
            const QString fieldKey = filter.isEmpty() ? key : key + u'\x1f' + filter;
            auto known = field.found.constFind(fieldKey);
            if (known == field.found.constEnd())
                known = field.found.insert(fieldKey, lookup(field.otherTable, field.otherKey, key,
                                                            filter, field.stored->otherField));
            const expr::ExpressionResult& result = *known;
            if (result.diagnostic) note(field, *result.diagnostic);
            value = result.text;
        } else if (field.hasContent) {
            const expr::ExpressionResult result = expr::Evaluate(field.content, row);
            if (result.diagnostic) note(field, *result.diagnostic);
            value = result.text;
        } else if (type == 2) {
            value = field.stored->content;
        } else {
            // Types without a value of their own print nothing here rather
            // than repeat the previous field's value.
            continue;
        }
        expr::SetMacroFunction(u"0"_s, value);
        if (field.hasFunction) {
            const expr::ExpressionResult result = expr::Evaluate(field.function, row);
            if (result.diagnostic) note(field, *result.diagnostic);
            value = result.text;
            if (value.isEmpty()) continue;
        }
        if (field.summed) {
            const qint64 amount = field.counts ? 10000 : ToScaled(value, 4);
            if (At(field.printFlags, 3) == u'1') field.subtotal += amount;
            if (At(field.printFlags, 4) == u'1') field.total += amount;
        }
        const QChar slot = At(field.stored->flags, 2);
        if (slot.isDigit()) expr::SetMacroFunction(QString(slot), value);
        // Only detail fields print on the record's own line; fields placed
        // on the group or subtotal lines are left out of it.
        const QChar location = At(field.printFlags, 7);
        const bool detail = location == u'0' || location == u' ';
        // A group-line field goes on the group line while the records of
        // its group are on the page below it (not in a text grid).
        if (location == u'3' && m_analytic && m_groupY >= 0 && m_job.currentY() >= m_groupY &&
            m_job.settings.destination != print::Destination::TextGrid) {
            const int y = m_job.currentY();
            m_job.setCurrentY(m_groupY);
            printField(field, {}, shaped(field, value));
            m_job.setCurrentY(y);
            continue;
        }
        if (!m_analytic || !detail || At(field.printFlags, 2) != u'1') continue;
        if (!m_wrap || field.size <= 0 || value.size() <= field.size) {
            printField(field, rowFor(field.line, false), shaped(field, value));
            continue;
        }
        // A long value goes on in pieces of the field's size on the
        // following lines of the block: at most ten, up to a blank piece.
        printField(field, rowFor(field.line, false), shaped(field, value.left(field.size)));
        for (int piece = 1; piece <= 10; ++piece) {
            const QString text = value.mid(qsizetype(piece) * field.size, field.size);
            if (text.trimmed().isEmpty()) break;
            // Placed by a row offset from the field's own line: exactly
            // `piece` lines below it.
            m_job.next.rowOffset = piece * 10;
            printField(field, rowFor(field.line, false), text);
            wrapLines = std::max(wrapLines, piece);
        }
    }
    if (!m_analytic) return;
    for (int i = 0; i < m_highestLine + wrapLines; ++i)
        m_job.newLine();
    if (!m_job.headerPending() && (flag(RuleBetweenRecords, u'1') || flag(RuleAboveDetail, u'S')))
        m_job.drawRule();
    if (flag(LineEndBorders, u'1')) {
        m_job.drawRowSeparator({}, print::Arg(0));
        m_job.drawRowSeparator();
    }
}

void ReportLayout::sumLine(bool total) {
    const bool subtotalBorder = flag(SubtotalBorder, u'1');
    if (total) {
        m_job.halfLine();
        m_job.next.shade = flag(ShadedTotal, u'1') ? u"1"_s : u"0"_s;
        m_job.drawBox(print::Arg(u"-2"_s), print::Arg(0), print::Arg(u"+13"_s), u"R"_s);
    } else if (m_analytic && subtotalBorder) {
        if (flag(ShadedSubtotal, u'1')) {
            m_job.next.shade = u"1"_s;
            m_job.drawBox(print::Arg(u"-2"_s), print::Arg(0), print::Arg(u"+13"_s), u"R"_s);
        } else {
            m_job.drawRule();
        }
    }
    for (Field& field : m_fields) {
        if (At(field.printFlags, total ? 4 : 3) != u'1') continue;
        const qint64 sum = total ? field.total : field.subtotal;
        const QString text = field.type == 2 ? field.stored->content : SumText(sum);
        printField(field, rowFor(field.line, true), shaped(field, text),
                   &m_definition.fonts.fieldTitles);
        if (!total) field.subtotal = 0;
    }
    m_job.newLine();
    if (!total && m_analytic) m_job.newLine();
    if (!total && !m_analytic && subtotalBorder) {
        m_job.drawRule();
        m_job.newLine();
    }
}

void ReportLayout::print(const NextRow& next) {
    // The caller has just drawn the page header: the first title block
    // follows it, and the job asks for another only on the next page.
    m_job.headerPrinted();
    titleBlock();
    const bool grouped = !m_groupField.isEmpty();
    QString previous;
    bool first = true;
    const expr::ExpressionRow* row = next();
    // The group value of the current row, read once: after a row is printed
    // the next row's value decides the subtotal and is kept for its turn.
    QString group = grouped && row ? ColumnText(*row, m_groupField) : QString();
    while (row) {
        if (m_job.cancelled()) return;
        if (m_job.headerPending()) {
            m_job.headerPrinted();
            titleBlock();
        }
        if (grouped && (first || group != previous)) {
            groupLine(group);
            previous = group;
        }
        first = false;
        recordBlock(*row);
        row = next();
        if (grouped && row) {
            group = ColumnText(*row, m_groupField);
            if (group != previous) {
                sumLine(false);
                if (At(m_definition.grouping.flags, 2) == u'1') m_job.newPage();
            }
        }
    }
    if (!m_groupField.isEmpty()) sumLine(false);
    if (m_hasTotal) sumLine(true);
}

} // namespace livrax::reports
