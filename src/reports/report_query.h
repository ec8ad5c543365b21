#pragma once

// The SQL statement of a user-defined report, built from its definition, the
// last selection and the menu's selection configuration ("Montar"). The
// builder reads no database and no window: the caller gives it the columns
// of the tables and the run's values, so the same text comes out for the
// window, the command line and the tests.
//
// Run-time values never reach the statement raw: text typed in a selection
// box is quoted (LIKE patterns too), a numeric box takes only numbers, a date
// box only dates, and the [VARSQL] value is written as a literal. A value
// that fails is refused before anything runs, naming its box.

#include "reports/report_definition.h"
#include "reports/report_selection.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace livrax::expr {
class MacroRun;
}

namespace livrax::reports {

struct QueryInputs {
    const ReportDefinition* definition = nullptr;
    const LastSelection* selection = nullptr;
    const MenuSelectionConfig* config = nullptr;
    QString mainTable;       // physical name of the main table
    QStringList mainColumns; // its column names, in table order
    QString secondaryTable;  // physical name, empty without a secondary table
    QStringList secondaryColumns;
    QDate today;
    // Expands the macros of the filter conditions and the user names; a run
    // fixes "today" once. Required.
    const expr::MacroRun* macros = nullptr;
};

struct BuiltQuery {
    // One text line per clause, as the window shows them.
    QStringList lines;
    // What the period adds to the report title ("   de 01/01/07   até ...").
    // Kept apart so that building again never repeats it.
    QString titlePeriod;
    // Values refused, one message per box; the statement is empty then.
    QStringList refusals;

    bool ok() const { return refusals.isEmpty() && !lines.isEmpty(); }
    QString sql() const { return lines.join(u'\n'); }
};

BuiltQuery BuildReportQuery(const QueryInputs& inputs);

// The currency of the day before each build: the stored title and value
// (key "PAR_MOEDADIA", lines 1 and 2), replaced by the selection's when they
// are not blank. A value with any character outside "0123456789,.-" becomes
// "1"; "," becomes "."; blank becomes "1".
struct Currency {
    QString title, value;
    bool operator==(const Currency&) const = default;
};
Currency CurrencyOfTheDay(const Currency& stored, const LastSelection& selection);

// The condition of one selection box (field, type letter from the table
// metadata, the typed value); empty and `refusal` set when the value cannot
// be written safely for the field's type.
QString SelectionCondition(const SingleSelection& box, const QString& value, QString* refusal);

// The [VARSQL] value in the SQL filter: inside quotes with apostrophes
// doubled; bare, a number, a date literal, or a quoted text.
QString ApplyVarSql(const QString& filter, const QString& value);

} // namespace livrax::reports
