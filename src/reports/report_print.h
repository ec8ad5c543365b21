#pragma once

// The layout of a user-defined report on a print job: the title block, one
// record block per row, a group line where the group value changes, the
// group's subtotal line and the total line. One pass over the rows; the
// expressions are parsed once per run; subtotals and totals are 64-bit
// ten-thousandths for every field.

#include "expr/expression.h"
#include "expr/macros.h"
#include "reports/report_definition.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace livrax::print {
class PrintJob;
struct PrintSettings;
} // namespace livrax::print

namespace livrax::reports {

// The job settings a report's definition asks for: title (with the period of
// its statement), job font, header on or off, margins (lines and characters
// from the designer's units), header texts with their macros expanded,
// orientation and the header fonts. Blank stored values keep the settings'.
void ApplyReportSettings(const ReportDefinition& definition, const QString& titlePeriod,
                         print::PrintSettings& settings);

// Gives the next row, nullptr after the last.
using NextRow = std::function<const expr::ExpressionRow*()>;

class ReportLayout {
  public:
    // The job is started and ended by the caller (its settings: title, fonts,
    // destination); the layout draws between them.
    // `lookups` answers the look-up fields (type 4) and the group's
    // complement; each key is asked once per run.
    ReportLayout(const ReportDefinition& definition, print::PrintJob& job,
                 const expr::LookupSource* lookups = nullptr);

    // Draws the whole report from the rows. The diagnostics of the
    // expressions ("line.field: ...") are kept in diagnostics().
    void print(const NextRow& next);

    const QStringList& diagnostics() const { return m_diagnostics; }

  private:
    struct Field {
        int number = 0; // field n of the definition
        const ReportField* stored = nullptr;
        expr::ParsedExpression content; // types 1 and "IF(" contents
        bool hasContent = false;
        expr::ParsedExpression function;
        bool hasFunction = false;
        int line = 1;
        int column = 0; // characters
        int size = 0;
        QString printFlags;
        qint64 subtotal = 0, total = 0;
        bool counts = false; // "COUNT": +1 per record
        // Read once from the stored texts, for every row.
        int type = 0;
        QString picture;     // trimmed; empty: none
        bool right = false;  // alignment "1"
        QString alignCode;   // "1", "2" or empty
        bool summed = false; // a subtotal or a total
        // Type 4: the key column ("A."/"S." qualified or bare), its table,
        // key field and expression, and the values found for each key text.
        QString keyColumn, otherTable, otherKey; // keyColumn without "A."/"S."
        bool keySecondary = false;
        QHash<QString, expr::ExpressionResult> found;
    };

    QString rowFor(int line, bool tenths) const;
    void titleBlock();
    void groupLine(const QString& value);
    void recordBlock(const expr::ExpressionRow& row);
    void sumLine(bool total);
    QString shaped(const Field& field, const QString& value) const;
    void printField(const Field& field, const QString& row, const QString& text,
                    const ReportFont* font = nullptr);
    void useFont(const ReportFont& font);
    bool flag(int position, QChar value) const;
    void note(const Field& field, const expr::Diagnostic& diagnostic);
    expr::ExpressionResult lookup(const QString& table, const QString& keyField,
                                  const QString& keyValue, const QString& filter,
                                  const QString& expression);

    const ReportDefinition& m_definition;
    print::PrintJob& m_job;
    QList<Field> m_fields;
    QString m_groupField;
    int m_highestLine = 1;
    bool m_analytic = true;
    bool m_hasTotal = false;
    bool m_wrap = false;
    int m_groupY = -1; // position of the last group line
    QStringList m_diagnostics;
    const expr::LookupSource* m_lookups;
    QHash<QString, expr::ExpressionResult> m_lookupCache;
    // One macro run for the whole report: one "today", one company reload.
    mutable expr::MacroRun m_macros;
};

} // namespace livrax::reports
