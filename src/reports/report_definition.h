#pragma once

// The definition of a user-defined report, kept under the key
// menu + NNN + "A": the report's parameters (line 1), its fonts (line 2), the
// printer set-up (line 4), sorting (line 6), filter conditions (line 7),
// grouping (line 8), the secondary table (line 10) and the report fields
// (lines 11 to 190, field n on line n + 10).
//
// Values are kept in the form the user sees (a picture with "#"); writing
// applies the stored form. A write reads the stored lines first and replaces
// only the fields described here, so unused fields and lines keep what they
// hold.

#include <QList>
#include <QString>

namespace livrax::data {
class Connection;
}

namespace livrax::reports {

struct ReportFont {
    QString name;
    QString size;  // points
    QString style; // "fsBold", "fsItalic", "fsBold,fsItalic", "fsunderline", "fsstrikeout", ""
    bool operator==(const ReportFont&) const = default;
};

// Line 1: the report parameters.
struct ReportParameters {
    QString title; // "#" removed, at most 60 characters
    ReportFont font;
    QString directory;
    QString file;
    QString lineSpacing;          // "12" when 0 or blank
    QString flags;                // 30 positions, see ReportFlag
    QString spacingAfterTitles;   // (5)
    QString spacingAfterSubtotal; // (5)
    QString spacingAfterTotal;    // (5)
    QString accessLevel;
    QString betweenFieldsCondition;                           // "#" as blank
    QString permanentFilter;                                  // SQL condition, "#" as blank
    QString topMargin, bottomMargin, rightMargin, leftMargin; // (5)
    QString companyLine;                                      // header line 2, macros allowed
    QString addressLine;                                      // header line 3
    QString taxNumberLine;                                    // header line 4
    QString taxNumberCentred;                                 // header line 4, centred text
    QString paperLength, paperWidth;                          // (7,1)
    QString distinctField;                                    // drops repeated records
    QString columns;                                          // (3)
    QString spaceAfterLine;                                   // pixels (3)
    QString totalLineHeight;                                  // pixels (3)
    QString paperForm; // 0 A4, 1 letter, 2 legal, 3 custom, 4 printer default
    QString sqlFilter; // may hold "[VARSQL]", "#" as blank
    QString varSqlTitle;
    QString footer;
    QString savedBy; // GB_SEN_USER of the last save
    QString savedOn; // dd/mm/yy
    bool operator==(const ReportParameters&) const = default;
};

// Positions of the report flags (ReportParameters::flags).
enum ReportFlag {
    RuleBetweenRecords = 1, // "1"/"0"
    ShadedTitles = 2,       // "1"/"0"
    ShadedSubtotal = 3,     // "1"/"0"
    ShadedTotal = 4,        // "1"/"0"
    LineEndBorders = 5,     // "1"/"0"
    HeaderBorders = 6,      // "1"/"0"
    SubtotalBorder = 7,     // "1"/"0"
    Kind = 8,               // "S" synthetic, "A" analytic, "R" summarised
    PrintHeader = 9,        // "S"/"N"
    PrintFieldTitles = 10,  // "S"/"N"
    FooterBorder = 11,      // "S"/"N"
    OpenAtPage = 12,        // "S"/"N"
    FieldBorderTop = 13,    // "S"/"N", then bottom, right, left at 14..16
    WrapLongValues = 17,    // "S"/"N"
    RuleAboveDetail = 18,   // "S"/"N"
    ColumnFactor = 19,      // digit, "3" by default
    DateInHeader = 20,      // "S"/"N"
    TimeInHeader = 21       // "S"/"N"
};

// Line 2: the fonts of the parts of the page.
struct ReportFonts {
    ReportFont header, title, company, fieldTitles, subtotal, total;
    bool operator==(const ReportFonts&) const = default;
};

// Line 4: the printer set-up.
struct PrinterSetup {
    QString printerIndex;
    QString orientation;           // "H" landscape, "V" portrait (default)
    QString pageWidth, pageHeight; // printer units
    QString copies;                // "1" when blank
    bool operator==(const PrinterSetup&) const = default;
};

// Line 8: grouping with subtotals.
struct ReportGrouping {
    QString field; // "A." + field name
    ReportFont font;
    QString borders;         // 4 characters "1"/"0": top, bottom, right, left
    QString flags;           // 2 characters "1"/"0": shaded group line, new page per group
    QString title;           // blank with a group field: the field name + ":"
    QString complementTable; // 3 letters
    QString complementField;
    QString complementColumn; // designer units
    QString complementConstant;
    bool operator==(const ReportGrouping&) const = default;
};

// Line 10: the secondary table joined to the main one.
struct SecondaryTable {
    QString table;
    QString mainKey;
    QString secondaryKey;
    QString sortFields;        // "#" as ","
    QString filter;            // "#" as blank
    QString joinKind;          // 0 in both tables, 1 primary table first, 2 secondary first
    bool joinOnBranch = false; // "S"/"N": join also on FILIAL
    bool operator==(const SecondaryTable&) const = default;
};

// One report field (lines 11..190).
struct ReportField {
    QString title;
    QString content; // "A.field", "S.field", an expression, "COUNT" or a constant text
    QString type;    // 0 inactive .. 9 general table
    QString line;    // within the record block (4); "1" when blank
    QString column;  // designer units, 6 per character (4)
    QString size;    // characters
    QString flags;   // 20 positions; position 2 the GBFUN slot digit
    ReportFont font;
    QString otherTable, otherKey, otherField; // type 4
    QString picture;                          // as shown, with "#"
    QString function;
    QString printFlags; // 20 positions, "110000000000" when blank
    QString alignment;  // "0" left, "1" right, "2" centred
    QString subtotal, total;
    QString firstElement, lastElement;                    // (5)
    QString shapeWidth, shapeHeight, shapeForm, shapePen; // type 6; height "65" when blank
    bool isEmpty() const { return *this == ReportField(); }
    bool operator==(const ReportField&) const = default;
};

struct ReportDefinition {
    ReportParameters parameters;
    ReportFonts fonts;
    PrinterSetup printer;
    QString sortFields;       // line 6, upper case
    QString filterConditions; // line 7
    ReportGrouping grouping;
    SecondaryTable secondary;
    // Field n is on line n + 10. The list read ends before the first four
    // consecutive empty field lines; empty entries inside it are gaps.
    QList<ReportField> fields;
    bool operator==(const ReportDefinition&) const = default;
};

// The definition from the stored lines (line 1 at index 0).
ReportDefinition DefinitionFromLines(const QStringList& lines);
// Every field line 11..190 (180 entries, gaps and the lines after four empty
// ones included), for an editor that must not lose a field behind a gap.
QList<ReportField> AllReportFields(const QStringList& lines);
// The stored lines with the definition's fields written over them.
QStringList DefinitionToLines(const ReportDefinition& definition, const QStringList& stored);

// Reads the definition key. False, with an empty definition, when it is
// missing or the database cannot be reached.
bool ReadReportDefinition(data::Connection* database, const QString& key,
                          ReportDefinition& definition);
// Writes the definition over the stored key, with the title as the key's
// title. False when nothing was written.
bool WriteReportDefinition(data::Connection* database, const QString& key,
                           const ReportDefinition& definition);

} // namespace livrax::reports
