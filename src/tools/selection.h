#pragma once

// The hand-over between a window and the filter and column dialogs, and the
// rules those dialogs apply, kept free of widgets so that they can be run and
// checked on their own.

#include <QList>
#include <QString>
#include <QStringList>

namespace livrax::tools {

// The process-wide texts a caller fills before showing TF_SELF or TF_SELC and
// reads afterwards.
struct SelHandOver {
    // SelMode: "#"-fields; field 1 the mode ("SQL", "EXE", "TABELA" for the
    // filter dialog, "ARQUIVO" or "TABELA" for the column dialog); with
    // "ARQUIVO", field 2 "1" asks for a single column.
    QString selMode;
    // SelSource: "#"-fields; the table(s), or with "TABELA" the names offered.
    QString selSource;
    // SelResult: in, the current filter lines or column list; out, the new one.
    QString selResult;
    // SelSizes: out of the column dialog, the sizes of the chosen columns.
    QString selSizes;
    // The filter of the table dataset GB_TAB that mode "EXE" reads and sets,
    // and whether filtering is on.
    QString tableFilter;
    bool tableFiltered = false;
};

// The one instance. Tests reset it in init().
SelHandOver& Selection();
void ResetSelection();

// Ends the reading transactions of the table dataset GB_TAB and the work
// table, as both dialogs do when they have read their lists and when they
// close.
void CommitSelectionTables();

// ---- filter dialog ------------------------------------------------------

// The operators of RG_OPER, in the order the dialog offers them.
enum class FilterOperator {
    Equal,
    Greater,
    Less,
    NotEqual,
    GreaterEqual,
    LessEqual,
    StartsWith,
    Contains
};

// The captions of RG_OPER, one per FilterOperator in order.
const QStringList& FilterOperatorCaptions();

// The pick list of ED_SEL: special values, user macros and example conditions.
const QStringList& FilterValueChoices();

// One condition line, or why it could not be written.
struct FilterLine {
    QString text;  // empty when nothing was built
    QString error; // a message for the user when the value was refused
};

// Builds the condition line for `field` (already carrying its prefix),
// `op` and the typed `value`; `typeLetter` is the field's type as FieldType
// gives it ("S" text, "D" date, "N"/"I" numbers, "M" blob, "U" unknown).
// An empty value builds nothing. The value reaches the line only quoted, as a
// date literal, as a plain number, as a single bracketed macro or as one of
// the fixed words NULL, IS NULL, IS NOT NULL, () and ''.
FilterLine BuildFilterLine(const QString& field, FilterOperator op, const QString& value,
                           const QString& typeLetter);

// True when BuildFilterLine needs the field's type for this operator and
// value (so that the caller asks the database only then).
bool FilterLineNeedsType(FilterOperator op, const QString& value);

// The lines joined with "#", with "(#" made "(" and "#)" made ")".
QString JoinFilterLines(const QStringList& lines);

// The non-empty "#"-fields of a filter result, one line each.
QStringList SplitFilterLines(const QString& result);

// A filter result as the table filter of mode "EXE": "#" made spaces.
QString FilterResultAsTableFilter(const QString& result);

// ---- column dialog ------------------------------------------------------

// One table of the column dialog and the prefix its columns get.
struct ColumnTable {
    QString prefix; // "A." .. "E." or empty
    QString table;  // as written, without its own prefix
};

// The tables of a SelSource of mode "ARQUIVO": at most five, empty fields
// skipped. With `letterPrefixes` the table at position 1..5 gets "A.".."E.";
// a table written with its own prefix ("B.VRTNPDE") keeps that prefix.
QList<ColumnTable> ColumnTables(const QString& source, bool letterPrefixes);

// One column of a table: its name and the size the column list offers
// (13 for floating-point and scaled numeric columns, 8 for DATE, the defined
// size otherwise).
struct ColumnInfo {
    QString name;
    int size = 0;
};

// The size of a column from its Firebird metadata (RDB$FIELD_TYPE,
// RDB$FIELD_SCALE, RDB$FIELD_LENGTH, RDB$CHARACTER_LENGTH).
int ColumnSize(int fieldType, int scale, int length, int characterLength);

// The item offered for a column: prefix + name + "," + size.
QString ColumnItem(const QString& prefix, const ColumnInfo& column);

// The columns of a table (code or name) in their defined order; empty when
// the table is not found or the database cannot be read.
QList<ColumnInfo> ListTableColumns(const QString& table);

// The chosen items a SelResult stands for: "," made "#", split, trimmed,
// empty ones dropped. An item naming an offered column (same text before the
// comma) is taken with the offered size, so that the sizes stay in step with
// the columns when the list is saved again.
QStringList ChosenColumns(const QString& result, const QStringList& offered = {});

// SelResult and SelSizes made from the chosen items, in order: each item's
// text up to its first comma goes to the result and the text after it
// (empty without a comma) to the sizes, each preceded by "#" when that text
// is not empty so far.
struct SavedColumns {
    QString result;
    QString sizes;
};
SavedColumns SaveColumns(const QStringList& items);

} // namespace livrax::tools
