#include "reports/report_definition.h"

#include "common/fields.h"
#include "reports/key_lines.h"
#include "reports/report_encoding.h"

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

// Fields per line, as the lines are split and joined.
constexpr int ParameterFields = 40;
constexpr int FontFields = 30;
constexpr int PrinterFields = 15;
constexpr int GroupingFields = 20;
constexpr int SecondaryFields = 9;
constexpr int FieldFields = 40;

constexpr int FirstFieldLine = 11;
constexpr int LastLine = 190;
// The field list ends where this many consecutive field lines are empty.
constexpr int EmptyLinesEndingFields = 4;

using Encode = QString (*)(const QString&);

QString Width3(const QString& value) {
    return StoredNumber(value, 3);
}
QString Width4(const QString& value) {
    return StoredNumber(value, 4);
}
QString Width5(const QString& value) {
    return StoredNumber(value, 5);
}
QString Width7d1(const QString& value) {
    return StoredNumber(value, 7, 1);
}
QString Flags20(const QString& value) {
    return StoredFlags(value, 20);
}
QString Flags30(const QString& value) {
    return StoredFlags(value, 30);
}

// A text member of a line's value, its field number and its stored form.
template <typename Value> struct TextField {
    int number;
    QString Value::*member;
    Encode encode;
};

template <typename Value, std::size_t N>
void ReadTexts(const LineFields& line, Value& value, const TextField<Value> (&fields)[N]) {
    for (const TextField<Value>& field : fields)
        value.*field.member = line.at(field.number);
}

template <typename Value, std::size_t N>
void WriteTexts(LineFields& line, const Value& value, const TextField<Value> (&fields)[N]) {
    for (const TextField<Value>& field : fields)
        line.set(field.number, field.encode(value.*field.member));
}

ReportFont ReadFont(const LineFields& line, int first) {
    return {line.at(first), line.at(first + 1), line.at(first + 2)};
}

void WriteFont(LineFields& line, int first, const ReportFont& font) {
    line.set(first, StoredText(font.name));
    line.set(first + 1, StoredText(font.size));
    line.set(first + 2, StoredFontStyle(font.style));
}

const TextField<ReportParameters> ParameterTexts[] = {
    {1, &ReportParameters::title, StoredTitle},
    {5, &ReportParameters::directory, StoredText},
    {6, &ReportParameters::file, StoredText},
    {7, &ReportParameters::lineSpacing,
     [](const QString& v) { return ToInt(v) == 0 ? u"12"_s : StoredText(v); }},
    {8, &ReportParameters::flags, Flags30},
    {9, &ReportParameters::spacingAfterTitles, Width5},
    {10, &ReportParameters::spacingAfterSubtotal, Width5},
    {11, &ReportParameters::spacingAfterTotal, Width5},
    {12, &ReportParameters::accessLevel, StoredText},
    {13, &ReportParameters::betweenFieldsCondition, StoredCondition},
    {14, &ReportParameters::permanentFilter, StoredCondition},
    {15, &ReportParameters::topMargin, Width5},
    {16, &ReportParameters::bottomMargin, Width5},
    {17, &ReportParameters::rightMargin, Width5},
    {18, &ReportParameters::leftMargin, Width5},
    {19, &ReportParameters::companyLine, StoredText},
    {20, &ReportParameters::addressLine, StoredText},
    {21, &ReportParameters::taxNumberLine, StoredText},
    {22, &ReportParameters::taxNumberCentred, StoredText},
    {23, &ReportParameters::paperLength, Width7d1},
    {24, &ReportParameters::paperWidth, Width7d1},
    {25, &ReportParameters::distinctField, StoredText},
    {26, &ReportParameters::columns, Width3},
    {27, &ReportParameters::spaceAfterLine, Width3},
    {28, &ReportParameters::totalLineHeight, Width3},
    {29, &ReportParameters::paperForm, StoredText},
    {30, &ReportParameters::sqlFilter, StoredCondition},
    {31, &ReportParameters::varSqlTitle, StoredText},
    {32, &ReportParameters::footer, StoredText},
    {33, &ReportParameters::savedBy, StoredText},
    {34, &ReportParameters::savedOn, StoredText},
};

const TextField<PrinterSetup> PrinterTexts[] = {
    {1, &PrinterSetup::printerIndex, StoredText},
    {3, &PrinterSetup::orientation,
     [](const QString& v) { return OrDefault(StoredText(v), u"V"_s); }},
    {4, &PrinterSetup::pageWidth, StoredText},
    {5, &PrinterSetup::pageHeight, StoredText},
    {7, &PrinterSetup::copies, [](const QString& v) { return OrDefault(StoredText(v), u"1"_s); }},
};

const TextField<ReportGrouping> GroupingTexts[] = {
    {1, &ReportGrouping::field, StoredText},
    {5, &ReportGrouping::borders, StoredText},
    {6, &ReportGrouping::flags, StoredText},
    {7, &ReportGrouping::title, StoredText},
    {8, &ReportGrouping::complementTable, StoredText},
    {9, &ReportGrouping::complementField, StoredText},
    {10, &ReportGrouping::complementColumn, StoredText},
    {11, &ReportGrouping::complementConstant, StoredText},
};

const TextField<SecondaryTable> SecondaryTexts[] = {
    {1, &SecondaryTable::table, StoredText},
    {2, &SecondaryTable::mainKey, StoredText},
    {3, &SecondaryTable::secondaryKey, StoredText},
    {4, &SecondaryTable::sortFields,
     [](const QString& v) { return QString(v).replace(u'#', u','); }},
    {5, &SecondaryTable::filter, StoredCondition},
    {6, &SecondaryTable::joinKind, StoredText},
};

// The texts of a report field; the picture and the font are handled apart.
const TextField<ReportField> FieldTexts[] = {
    {1, &ReportField::title, StoredText},
    {2, &ReportField::content, StoredText},
    {3, &ReportField::type, StoredText},
    {4, &ReportField::line, [](const QString& v) { return OrDefault(Width4(v), u"1"_s); }},
    {5, &ReportField::column, Width4},
    {6, &ReportField::size, StoredText},
    {8, &ReportField::flags, Flags20},
    {12, &ReportField::otherTable, StoredText},
    {13, &ReportField::otherKey, StoredText},
    {14, &ReportField::otherField, StoredText},
    {18, &ReportField::function, StoredText},
    {19, &ReportField::printFlags,
     [](const QString& v) { return Flags20(OrDefault(v, u"110000000000"_s)); }},
    {20, &ReportField::alignment, [](const QString& v) { return StoredText(v.left(1)); }},
    {21, &ReportField::subtotal, StoredText},
    {22, &ReportField::total, StoredText},
    {23, &ReportField::firstElement, Width5},
    {24, &ReportField::lastElement, Width5},
    {26, &ReportField::shapeWidth, StoredText},
    {27, &ReportField::shapeHeight,
     [](const QString& v) { return OrDefault(StoredText(v), u"65"_s); }},
    {28, &ReportField::shapeForm, StoredText},
    {29, &ReportField::shapePen, StoredText},
};
constexpr int FieldFontFirst = 9;
constexpr int FieldPicture = 15;

// The fonts of line 2, in field order from field 2.
ReportFont ReportFonts::*const FontOrder[] = {&ReportFonts::header,   &ReportFonts::title,
                                              &ReportFonts::company,  &ReportFonts::fieldTitles,
                                              &ReportFonts::subtotal, &ReportFonts::total};

ReportField FieldFromLine(const QString& text) {
    const LineFields line(text, FieldFields);
    ReportField field;
    ReadTexts(line, field, FieldTexts);
    field.font = ReadFont(line, FieldFontFirst);
    field.picture = ShownPicture(line.at(FieldPicture));
    return field;
}

QString FieldToLine(const ReportField& field, const QString& stored) {
    LineFields line(stored, FieldFields);
    if (field.isEmpty()) {
        // A gap in the list: no defaults, or the line would stop being empty.
        for (const TextField<ReportField>& text : FieldTexts)
            line.set(text.number, QString());
        WriteFont(line, FieldFontFirst, ReportFont());
        line.set(FieldPicture, QString());
    } else {
        WriteTexts(line, field, FieldTexts);
        WriteFont(line, FieldFontFirst, field.font);
        line.set(FieldPicture, StoredPicture(field.picture));
    }
    return line.joined();
}

} // namespace

ReportDefinition DefinitionFromLines(const QStringList& lines) {
    ReportDefinition definition;

    const LineFields parameters(lines.value(0), ParameterFields);
    ReadTexts(parameters, definition.parameters, ParameterTexts);
    definition.parameters.font = ReadFont(parameters, 2);

    const LineFields fonts(lines.value(1), FontFields);
    for (int i = 0; i < int(std::size(FontOrder)); ++i)
        definition.fonts.*FontOrder[i] = ReadFont(fonts, 2 + 3 * i);

    ReadTexts(LineFields(lines.value(3), PrinterFields), definition.printer, PrinterTexts);
    definition.sortFields = lines.value(5);
    definition.filterConditions = lines.value(6);

    const LineFields grouping(lines.value(7), GroupingFields);
    ReadTexts(grouping, definition.grouping, GroupingTexts);
    definition.grouping.font = ReadFont(grouping, 2);

    const LineFields secondary(lines.value(9), SecondaryFields);
    ReadTexts(secondary, definition.secondary, SecondaryTexts);
    definition.secondary.joinOnBranch = secondary.at(7) == u"S"_s;

    int empty = 0;
    for (int n = FirstFieldLine; n <= LastLine && empty < EmptyLinesEndingFields; ++n) {
        const QString text = lines.value(n - 1);
        if (text.trimmed().isEmpty()) {
            ++empty;
            continue;
        }
        // The gaps before this line belong to the list.
        for (; empty > 0; --empty)
            definition.fields.append(ReportField());
        definition.fields.append(FieldFromLine(text));
    }
    return definition;
}

QList<ReportField> AllReportFields(const QStringList& lines) {
    QList<ReportField> fields;
    for (int n = FirstFieldLine; n <= LastLine; ++n) {
        const QString text = lines.value(n - 1);
        fields.append(text.trimmed().isEmpty() ? ReportField() : FieldFromLine(text));
    }
    return fields;
}

QStringList DefinitionToLines(const ReportDefinition& definition, const QStringList& stored) {
    QStringList lines = stored;
    while (lines.size() < LastLine)
        lines.append(QString());

    LineFields parameters(lines[0], ParameterFields);
    WriteTexts(parameters, definition.parameters, ParameterTexts);
    WriteFont(parameters, 2, definition.parameters.font);
    lines[0] = parameters.joined();

    LineFields fonts(lines[1], FontFields);
    for (int i = 0; i < int(std::size(FontOrder)); ++i)
        WriteFont(fonts, 2 + 3 * i, definition.fonts.*FontOrder[i]);
    lines[1] = fonts.joined();

    LineFields printer(lines[3], PrinterFields);
    WriteTexts(printer, definition.printer, PrinterTexts);
    lines[3] = printer.joined();

    lines[5] = definition.sortFields.toUpper();
    lines[6] = definition.filterConditions;

    ReportGrouping grouping = definition.grouping;
    if (grouping.title.trimmed().isEmpty() && !grouping.field.trimmed().isEmpty())
        grouping.title = grouping.field.mid(grouping.field.indexOf(u'.') + 1) + u':';
    LineFields groupingLine(lines[7], GroupingFields);
    WriteTexts(groupingLine, grouping, GroupingTexts);
    WriteFont(groupingLine, 2, grouping.font);
    lines[7] = groupingLine.joined();

    LineFields secondary(lines[9], SecondaryFields);
    WriteTexts(secondary, definition.secondary, SecondaryTexts);
    secondary.set(7, definition.secondary.joinOnBranch ? u"S"_s : u"N"_s);
    lines[9] = secondary.joined();

    // The list owns every field line: lines past its end are removed fields.
    const int fieldLines = LastLine - FirstFieldLine + 1;
    for (int i = 0; i < fieldLines; ++i) {
        QString& line = lines[FirstFieldLine - 1 + i];
        line = i < definition.fields.size() ? FieldToLine(definition.fields[i], line) : QString();
    }
    return lines;
}

bool ReadReportDefinition(data::Connection* database, const QString& key,
                          ReportDefinition& definition) {
    QStringList lines;
    const bool found = ReadKeyLines(database, key, lines);
    definition = DefinitionFromLines(lines);
    return found;
}

bool WriteReportDefinition(data::Connection* database, const QString& key,
                           const ReportDefinition& definition) {
    QStringList stored;
    ReadKeyLines(database, key, stored);
    const QStringList lines = DefinitionToLines(definition, stored);
    return WriteKeyLines(database, key, lines, StoredTitle(definition.parameters.title));
}

} // namespace livrax::reports
