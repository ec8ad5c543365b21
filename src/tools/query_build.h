#pragma once

// The generic query's rules without widgets: its controls as one value, the
// SELECT statement they make, the settings kept per user and table, the
// .PAR files, and the ordering a click on a column title gives.

#include <QString>
#include <QStringList>

namespace livrax::tools {

// The operator captions of CB_SINAL1 and CB_SINAL2, "Conteúdo" first.
const QStringList& QueryOperators();
// The pick list of the value fields (C_CONTEUDO1, C_CONTEUDO2).
const QStringList& QueryValueChoices();

// The controls of the query window TF_PESQC, as text.
struct QuerySettings {
    QString table;                                  // E_ARQ, resolved
    QString title = QStringLiteral("Relatório");    // E_TITULO
    QString returnFields;                           // E_CAMPORETORNO
    QString columns;                                // E_CAMPOS
    QString secondColumns;                          // E_CAMPOSREL
    QString field1;                                 // CB_CAMPOS
    QString field2;                                 // OR_CAMPOS
    QString operator1 = QStringLiteral("Conteúdo"); // CB_SINAL1
    QString operator2 = QStringLiteral("Conteúdo"); // CB_SINAL2
    QString value1;                                 // E_CONTEUDO1
    QString value2;                                 // E_CONTEUDO2
    QString joiner = QStringLiteral("OR");          // E_ORAND
    QString branch;                                 // E_FILIAL
    QString dateField;                              // SEL_DTCOMBO
    QString startDate;                              // E_DTINICIAL
    QString endDate;                                // E_DTFINAL
    QString filter;                                 // E_FILTRO
    QString order;                                  // E_ORDEM
    QString secondTable;                            // E_REL_ARQUIVO
    QString mainJoinField;                          // E_REL_PRIN
    QString secondJoinField;                        // E_REL_SEC
    QString sql;                                    // E_SQL: replaces the built statement
    QString manual;                                 // E_MANUAL
    QString databaseNumber;                         // E_NUMDIR

    // The type letters of the two condition fields as the database gives
    // them ("N", "I", "D", "M", "S", "U"); the window asks for them before
    // building. Not stored anywhere.
    QString fieldType1 = QStringLiteral("U");
    QString fieldType2 = QStringLiteral("U");
};

// The condition fields as the statement names them: "A." before a name
// without ".", and the second one taking the first when it is empty but its
// value is not.
QString ConditionField(const QString& field);
QString SecondConditionField(const QuerySettings& settings);

// The statement of the settings, or why there is none.
struct QueryStatement {
    QString sql;
    // The WHERE text without "WHERE" (what the selected rows are counted
    // with); empty when there are no conditions.
    QString conditions;
    // A value that cannot be searched for (a number field given a word, a
    // date that is not one, an operator the field's type does not have) or
    // a free filter that would undo the statement's own conditions; the
    // statement is then empty.
    QString error;
};

// Builds the SELECT of the settings. A statement in `sql` is taken as it is.
// The free filter is used as given: callers expand its macros first.
// Typed values reach the statement only quoted, as date literals or, for
// number fields, as numbers that were checked to be numbers.
QueryStatement BuildQuery(const QuerySettings& settings);

// The column list of the statement: the items of `columns` (";" or ","
// separated) and the return fields not yet among them, each without a
// prefix getting "A.", a leading "FIRST n" kept in front; empty when there
// are none or the list is longer than 2500 characters.
QString QueryColumnList(const QString& columns, const QString& returnFields);

// A second-table name as the window keeps it: a text shorter than 3
// characters is dropped; a longer than 10 with a "." is reduced to its file
// name without folder or extension.
QString SecondTableName(const QString& text);

// ---- settings kept per user and table ---------------------------------

// The parameter-store key of the saved settings.
QString SavedSettingsKey(const QString& user, const QString& table, const QString& suffix);
// The 40 lines written when the window closes; lines 35..40 keep what
// `stored` (the lines read at opening) held.
QStringList SavedSettingsLines(const QuerySettings& settings, const QString& lastStatement,
                               const QStringList& stored);
// Fills the empty controls from the saved lines at opening. `defaults`
// holds the opener's E_ORDEM_INI, E_CAMPOS_INI and CB_CAMPOS_INI in its
// order, columns and field1.
void ApplySavedSettings(const QStringList& lines, const QuerySettings& defaults,
                        QuerySettings& settings);

// ---- .PAR files -------------------------------------------------------

// The lines of a .PAR file (line 1 first; other lines empty).
QStringList ParFileLines(const QuerySettings& settings);
// The controls read from a .PAR file; fields the file does not hold stay.
void ApplyParFileLines(const QStringList& lines, QuerySettings& settings);
// A name typed for a .PAR file: upper case, ending in ".PAR".
QString ParFileName(const QString& name);

// ---- ordering by a column title ---------------------------------------

// The E_ORDEM a click on the title of `column` gives: the column's name
// (less a trailing "1" when the shorter name is a column of the result and
// the name is in neither column list) with "B." when `columns` holds
// "B." + name, else "A."; followed by " DESC" when `currentOrder` already
// orders by that same column ascending.
QString OrderForColumn(const QString& column, const QString& currentOrder,
                       const QuerySettings& settings, const QStringList& resultColumns);

} // namespace livrax::tools
