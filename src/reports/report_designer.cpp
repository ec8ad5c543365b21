#include "reports/report_designer.h"

#include "common/fields.h"
#include "reports/report_encoding.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

// Field 1 is on line 11, index 10 of the lines.
constexpr int FirstFieldLineIndex = 10;

// A line holding "#" alone is an empty line written by an older program.
QStringList WithoutLoneSeparators(QStringList lines) {
    for (QString& line : lines)
        if (line.trimmed() == u"#"_s) line.clear();
    return lines;
}

bool IsBlankOrZero(const QString& value) {
    return value.trimmed().isEmpty() || ToInt(value) == 0;
}

// A field the column passes place: a type "1" to "9" and some content.
bool IsPlaced(const ReportField& field) {
    const QString type = field.type.trimmed();
    return type.size() == 1 && type >= u"1"_s && type <= u"9"_s &&
           !field.content.trimmed().isEmpty();
}

int BlockLine(const ReportField& field) {
    return IsBlankOrZero(field.line) ? 1 : ToInt(field.line);
}

} // namespace

ReportDefinition DesignerDefinition(const QStringList& lines) {
    ReportDefinition definition = DefinitionFromLines(lines);
    definition.fields = AllReportFields(lines);

    ReportParameters& p = definition.parameters;
    if (p.font.size.trimmed().isEmpty()) p.font.size = u"8"_s;
    if (IsBlankOrZero(p.lineSpacing)) p.lineSpacing = u"12"_s;
    p.lineSpacing = FormatDecimal(p.lineSpacing, 4, 0);
    if (p.topMargin.trimmed().isEmpty())
        p.topMargin = p.bottomMargin = p.rightMargin = p.leftMargin = u"10"_s;
    if (p.companyLine.trimmed().isEmpty()) p.companyLine = u"CAE_EMPRESA"_s;
    if (p.addressLine.trimmed().isEmpty()) p.addressLine = u"CAE_ENDERECO"_s;
    for (QString* spacing : {&p.spacingAfterTitles, &p.spacingAfterSubtotal, &p.spacingAfterTotal})
        *spacing = FormatDecimal(*spacing, 5, 0);
    p.paperLength = FormatDecimal(p.paperLength, 7, 1);
    p.paperWidth = FormatDecimal(p.paperWidth, 7, 1);
    for (QString* number : {&p.columns, &p.spaceAfterLine, &p.totalLineHeight})
        *number = FormatDecimal(*number, 3, 0);

    if (definition.grouping.borders.trimmed().isEmpty())
        definition.grouping.borders = u"000000000000"_s;
    for (QString* text : {&definition.sortFields, &definition.filterConditions})
        if (text->trimmed() == u"#"_s) text->clear();
    return definition;
}

ReportField ShownField(const ReportField& field) {
    if (field.isEmpty()) return field;
    ReportField shown = field;
    shown.line = FormatDecimal(field.line, 4, 0);
    shown.column = FormatDecimal(field.column, 4, 0);
    if (!field.size.trimmed().isEmpty()) shown.size = QString::number(ToInt(field.size));
    if (shown.printFlags.trimmed().isEmpty()) shown.printFlags = u"110000000000"_s;
    shown.firstElement = FormatDecimal(field.firstElement, 5, 0);
    shown.lastElement = FormatDecimal(field.lastElement, 5, 0);
    if (ToInt(shown.shapeHeight) == 0) shown.shapeHeight = u"65"_s;
    return shown;
}

bool IsFreeField(const ReportField& field) {
    const QString type = field.type.trimmed();
    return (type.isEmpty() || type == u"0"_s) && field.content.trimmed().isEmpty();
}

ReportDesign::ReportDesign(const ReportDefinition& definition) : m_definition(definition) {
    m_definition.fields.resize(DesignerFieldCount);
    m_fieldLines.resize(DesignerFieldCount);
}

ReportDesign::ReportDesign(const QStringList& storedLines)
    : ReportDesign(DesignerDefinition(WithoutLoneSeparators(storedLines))) {
    const QStringList lines = WithoutLoneSeparators(storedLines);
    for (int i = 0; i < DesignerFieldCount; ++i)
        m_fieldLines[i] = lines.value(FirstFieldLineIndex + i);
}

QStringList ReportDesign::lines(const QStringList& stored) const {
    QStringList base = stored;
    while (base.size() < FirstFieldLineIndex + DesignerFieldCount)
        base.append(QString());
    for (int i = 0; i < DesignerFieldCount; ++i)
        base[FirstFieldLineIndex + i] = m_fieldLines[i];
    return DefinitionToLines(m_definition, base);
}

void ReportDesign::setCurrent(int n) {
    m_current = std::clamp(n, 1, DesignerFieldCount);
}

void ReportDesign::last() {
    for (int n = 1; n <= DesignerFieldCount; ++n) {
        if (IsFreeField(field(n))) {
            setCurrent(n == 1 ? 1 : n - 1);
            return;
        }
    }
}

bool ReportDesign::canInsert() const {
    return m_current < DesignerFieldCount && field(DesignerFieldCount).isEmpty();
}

bool ReportDesign::insertAfterCurrent() {
    if (!canInsert()) return false;
    QList<ReportField>& fields = m_definition.fields;
    fields.removeLast(); // empty, checked above
    fields.insert(m_current, ReportField());
    m_fieldLines.removeLast();
    m_fieldLines.insert(m_current, QString());
    forward();
    return true;
}

bool ReportDesign::duplicateCurrent() {
    const ReportField copy = currentField();
    const QString copiedLine = m_fieldLines[m_current - 1];
    if (!insertAfterCurrent()) return false;
    currentField() = copy;
    m_fieldLines[m_current - 1] = copiedLine;
    return true;
}

void ReportDesign::removeCurrent() {
    QList<ReportField>& fields = m_definition.fields;
    fields.removeAt(m_current - 1);
    fields.append(ReportField());
    m_fieldLines.removeAt(m_current - 1);
    m_fieldLines.append(QString());
}

bool ReportDesign::moveUp() {
    if (m_current <= 1) return false;
    m_definition.fields.swapItemsAt(m_current - 1, m_current - 2);
    m_fieldLines.swapItemsAt(m_current - 1, m_current - 2);
    back();
    return true;
}

bool ReportDesign::moveDown() {
    if (m_current >= DesignerFieldCount) return false;
    m_definition.fields.swapItemsAt(m_current - 1, m_current);
    m_fieldLines.swapItemsAt(m_current - 1, m_current);
    forward();
    return true;
}

void ReportDesign::sortByColumn() {
    QList<ReportField>& fields = m_definition.fields;
    QList<int> columns;
    for (const ReportField& f : fields)
        columns.append(ToInt(f.column));
    // Each swap starts the pass again from the first pair, as the order the
    // designer has always produced depends on it (field 1 with column 0
    // stays first).
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (int k = 0; k + 1 < fields.size(); ++k) {
            const int here = columns[k], next = columns[k + 1];
            if ((next > 0 && next < here) || (here == 0 && next > here && k > 0)) {
                fields.swapItemsAt(k, k + 1);
                m_fieldLines.swapItemsAt(k, k + 1);
                columns.swapItemsAt(k, k + 1);
                swapped = true;
                break;
            }
        }
    }
}

void ReportDesign::recalculateColumns() {
    first();
    qint64 p = ToInt(field(1).column);
    for (ReportField& f : m_definition.fields) {
        if (ToInt(QString(FlagAt(f.printFlags, 7))) != 0 || BlockLine(f) != 1 || !IsPlaced(f))
            continue;
        const int width = std::max(4, ToInt(f.size));
        f.column = FormatDecimal(p, 5, 0);
        p += 6 * width + 3;
        if (f.alignment.startsWith(u'1')) p += 24;
    }
    p = 0;
    const int fontSize = ToInt(m_definition.parameters.font.size);
    for (ReportField& f : m_definition.fields) {
        if (BlockLine(f) != 2 || !IsPlaced(f)) continue;
        const int width = IsBlankOrZero(f.size) ? 10 : ToInt(f.size);
        f.column = FormatDecimal(p, 5, 0);
        p += fontSize + 7 * width + 2;
    }
}

FieldEditorRules RulesForType(const QString& type) {
    FieldEditorRules rules;
    rules.otherGroupLabel = u"CAMPOS"_s;
    const int kind = type.trimmed().isEmpty() ? 0 : ToInt(type);
    rules.contentEnabled = kind <= 2;
    if (kind == 4) rules.otherGroupEnabled = true;
    if (kind == 9) {
        rules.otherGroupEnabled = true;
        rules.otherTableEnabled = false;
        rules.otherGroupLabel = u"TABELAS"_s;
        rules.contentEnabled = true;
    }
    if (kind == 6) rules.shapeShown = true;
    return rules;
}

void ApplyTableField(ReportField& field, const QString& name, const QString& typeLetter, int size,
                     bool chosenInList) {
    field.content = name.toUpper();
    if (chosenInList) field.title = field.content;
    field.type = u"1"_s;
    field.alignment = u"0"_s;
    field.size = QString::number(std::max(4, size));
    if (typeLetter == u"N"_s) {
        field.picture = u"#0.00"_s;
        field.alignment = u"1"_s;
    } else if (typeLetter == u"I"_s) {
        field.picture.clear();
        field.alignment = u"1"_s;
    } else if (typeLetter == u"D"_s) {
        field.picture.clear();
    }
    if (ToInt(field.line) == 0) field.line = u"1"_s;
}

void ApplyExpression(ReportField& field, const QString& expression) {
    field.content = expression;
    field.type = u"1"_s;
    if (expression == u"DATE"_s) field.size = u"8"_s;
    if (expression == u"COUNT"_s) {
        field.size = u"8"_s;
        field.picture = u"#0"_s;
        field.alignment = u"1"_s;
    }
}

std::optional<PaperSize> PaperOfForm(const QString& form) {
    const QString f = form.trimmed();
    if (f == u"0"_s) return PaperSize{u"210"_s, u"297"_s};
    if (f == u"1"_s) return PaperSize{u"216"_s, u"279"_s};
    if (f == u"2"_s) return PaperSize{u"216"_s, u"356"_s};
    if (f == u"4"_s) return PaperSize{u"0"_s, u"0"_s};
    return std::nullopt;
}

QString ImportedTitle(const QStringList& lines) {
    return SplitToList(lines.value(0)).value(0).remove(u'#').left(60);
}

QStringList SqlFilterSuggestions() {
    return {QString(),
            u"EXTRACT(MONTH FROM DTNASC) = 02"_s,
            u"EXTRACT(MONTH FROM DTNASC) = '[VARSQL]'"_s,
            u"EXTRACT(YEAR FROM DTNASC) = 2003"_s,
            u"SIGLA NOT LIKE '%VORTANE%'"_s,
            u"VALOR IS NOT NULL"_s};
}

QStringList FunctionSuggestions() {
    return {u"IF GBFUN0 = 'P' THEN GBFUN1 := 'X' ELSE GBFUN1 := 'P'"_s,
            u"IIF(GBFUN0 = 'P','X','P'"_s,
            u"IMPSE(GBFUNx = 'X')"_s,
            u"VALOR POR EXTENSO"_s,
            u"GBF_ARPESCAMPO('EMP','',GBFUN0,RETORNO)"_s,
            u"GBF_TB01_TEST(SIS,GRUPO,GBFUN0,Pinicial,Tamanho)"_s,
            u"[DIA]"_s,
            u"[MES]"_s,
            u"[MESEXT]"_s,
            u"[ANO]"_s,
            u"[ANO4]"_s,
            u"ARIT [GBFUN1] * [GBFUN2]"_s};
}

} // namespace livrax::reports
