#pragma once

// What the report designer does to a definition apart from its window: the
// values as the designer shows them on loading, the current field and its
// moves, inserting, duplicating and removing fields, the organiser's swaps,
// the ordering by column and the recalculated columns, the field editor's
// rules by field type, the values a field takes from a chosen column or
// expression, the paper forms and the old-format import.

#include "reports/report_definition.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace livrax::reports {

// Fields 1..180 live on lines 11..190.
constexpr int DesignerFieldCount = 180;

// The definition of the stored lines with every field line kept (180
// entries) and the defaults the designer shows: font size "8", line spacing
// "12" (width 4), margins "10" when the top one is blank, header lines 2 and
// 3 "CAE_EMPRESA" and "CAE_ENDERECO", the numbers to their widths, group
// borders "000000000000", an order or filter of "#" alone empty.
ReportDefinition DesignerDefinition(const QStringList& lines);

// A field as its editor shows it: line and column to width 4, the size as a
// whole number, print flags
// "110000000000" when empty, array elements to width 5, shape height "65"
// when it reads as 0.
ReportField ShownField(const ReportField& field);

// The definition being designed and its current field (1..180). Each field
// keeps the stored text of its line, so that the fields of a line the editor
// does not show (7, 16, 17, 25, 30-40) travel with the field when fields are
// inserted, removed, moved or ordered, instead of staying on the line number.
class ReportDesign {
  public:
    ReportDesign() = default;
    // A design of the definition's fields on empty lines.
    explicit ReportDesign(const ReportDefinition& definition);
    // The design of the stored lines (line 1 at index 0): the definition as
    // DesignerDefinition shows it and the text of each field line.
    explicit ReportDesign(const QStringList& storedLines);

    ReportDefinition& definition() { return m_definition; }
    const ReportDefinition& definition() const { return m_definition; }
    // Field n, 1..180.
    ReportField& field(int n) { return m_definition.fields[n - 1]; }
    const ReportField& field(int n) const { return m_definition.fields[n - 1]; }
    int current() const { return m_current; }
    ReportField& currentField() { return field(m_current); }
    // Clamped to 1..180.
    void setCurrent(int n);

    void first() { setCurrent(1); }
    void back() { setCurrent(m_current - 1); }
    void forward() { setCurrent(m_current + 1); }
    // The field before the first free one (type blank or "0" and no
    // content); 1 when field 1 is free; no move when all 180 are used.
    void last();

    // Whether inserting is possible: false when field 180 holds anything
    // (inserting would push it off the end) or the current field is 180.
    bool canInsert() const;
    // A new empty field after the current one, the following ones moved down
    // by one; the new field becomes current. False, with nothing changed,
    // when !canInsert().
    bool insertAfterCurrent();
    // The same, the new field a copy of the current one.
    bool duplicateCurrent();
    // The current field removed, the following ones moved up by one and the
    // last field emptied; the current number stays.
    void removeCurrent();

    // The organiser's arrows: the current field swapped with the previous
    // (next) one, staying current. False when there is none.
    bool moveUp();
    bool moveDown();

    // Orders the fields by column: a field with a column above 0 before one
    // with a greater column, the fields with column 0 behind the placed ones
    // (field 1 keeps its place when its column is 0).
    void sortByColumn();
    // Places the detail fields one after another: those on block line 1 of
    // the detail from the column of field 1, 6 units per character of their
    // size (at least 4) plus 3, 24 more after a right-aligned one; those on
    // block line 2 from 0, by the report font size plus 7 per character (10
    // when the size is blank) plus 2. Field 1 becomes current.
    void recalculateColumns();

    // The lines to store: `stored` with each field written over its own
    // line's text, wherever the field has moved.
    QStringList lines(const QStringList& stored) const;

  private:
    ReportDefinition m_definition;
    // The stored text of field n's line at n - 1, moved with the field.
    QStringList m_fieldLines;
    int m_current = 1;
};

// Whether a field has no type ("0" or blank) and no content: where "last"
// stops.
bool IsFreeField(const ReportField& field);

// The field editor's state for a field type.
struct FieldEditorRules {
    bool contentEnabled = true;     // types 0-2 and 9
    bool otherGroupEnabled = false; // "Campo de outro Arquivo": types 4 and 9
    bool otherTableEnabled = true;  // its table choice: off for type 9
    QString otherGroupLabel;        // "CAMPOS", or "TABELAS" for type 9
    bool shapeShown = false;        // type 6, in place of the other-table group
    bool operator==(const FieldEditorRules&) const = default;
};
FieldEditorRules RulesForType(const QString& type);

// A column of the table chosen for the field: content the name in upper
// case (and title when `chosenInList`), type 1, left alignment, size from
// the column (at least 4); type letter "N" gets picture "#0.00" and right
// alignment, "I" no picture and right, "D" no picture and left; a line that
// reads as 0 becomes 1.
void ApplyTableField(ReportField& field, const QString& name, const QString& typeLetter, int size,
                     bool chosenInList);
// An expression chosen for the field: content the expression, type 1;
// "DATE" size 8; "COUNT" size 8, picture "#0" and right alignment.
void ApplyExpression(ReportField& field, const QString& expression);

// The paper sizes of a form ("0" A4, "1" letter, "2" legal): width and
// length in millimetres; "4" the printer's default (both 0). None for the
// custom form "3" and anything else.
struct PaperSize {
    QString width, length;
};
std::optional<PaperSize> PaperOfForm(const QString& form);

// An old-format definition file's lines made the report's: its title, line
// 1 field 1 without "#" cut to 60 characters.
QString ImportedTitle(const QStringList& lines);

// The SQL filter suggestions of the designer, literals in apostrophes (in
// dialect 3 double quotes name columns).
QStringList SqlFilterSuggestions();
// The function suggestions of the field editor.
QStringList FunctionSuggestions();

} // namespace livrax::reports
