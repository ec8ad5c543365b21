#pragma once

// The bracketed names ([DATE], [CAE_EMPRESA], [GBFUN1] ...) that report
// layouts, titles, conditions and field expressions may hold, replaced by
// their current values: the shared globals (user, company, registry values),
// the clock, and the slots the report runner fills while it prints.

#include <QDateTime>
#include <QString>

namespace livrax::expr {

// GBFUN1..GBFUN9 for "1".."9" and GBFUN0 for "0" (the value of the field
// being printed) take the trimmed value; any other digit does nothing.
void SetMacroFunction(const QString& digit, const QString& value);
// The currency of the day: [GB_TITMOEDA] and [GB_VALMOEDA]. The value is the
// runner's, with a "." decimal point.
void SetCurrencyOfTheDay(const QString& title, const QString& value);
// Empties the process-wide slots (tests, in init()).
void ResetMacroSlots();

// One run of macro expansion (a report, a query): it fixes "today" and "now"
// at its start, so every page of a run shows the same moment, and reloads
// the company header at most once for the company names asked by MacroValue.
// Texts without a macro are returned as they are, without building any value.
class MacroRun {
  public:
    MacroRun();

    // Every known name replaced by its value for printing, in the fixed
    // order of the names: a value that holds a later name is expanded again
    // by that later step. Names are matched in their exact upper-case
    // spelling.
    QString expand(const QString& text) const;

    // The same names replaced in a SQL text, each value written as a SQL
    // literal (SubstituteInSql): text values quoted, the dates [DATE],
    // [DATA] and [DATAI] as 'dd.mm.yyyy', [DIA], [MES], [ANO], [ANO4] and
    // [GB_VALMOEDA] as numbers. Inserted values are never expanded again, so
    // a value cannot bring a name that would break its own quotes.
    QString expandForSql(const QString& sql) const;

    // The value of one name, with or without brackets: the text expanded;
    // when that begins with "CAE_" the company header is reloaded (once per
    // run); a bare name of the globals, the slots or the clock gives its
    // value, anything else the expanded text.
    QString value(const QString& name);

    // The bare names GB_SEN_REP, GB_SEN_USER, GB_SEN_NIVEL and GB_SISTEMA of a
    // report's stored conditions replaced by the user's representative code,
    // user name, access level and the system code, each as a SQL literal.
    QString expandUserNamesForSql(const QString& sql) const;

    // Today and now as the names write them, fixed for the run.
    struct Moment {
        QDate today;
        QString shortDate, monthFirst, longDate, time, day, month, year, year4;
    };
    // The run's today.
    QDate today() const { return m_moment.today; }

  private:
    Moment m_moment;
    bool m_companyReloaded = false;
};

// One-off runs of the above, at the clock's current moment.
QString ExpandMacros(const QString& text);
QString ExpandMacrosForSql(const QString& sql);
QString MacroValue(const QString& name);
QString ExpandUserNamesForSql(const QString& sql);

} // namespace livrax::expr
