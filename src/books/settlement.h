#pragma once

// The monthly settlement books (Registro de Apuração do ICMS, LX56, and do
// IPI, LX57): the month's boxes, guides and nature grids, kept per month in
// the parameter store, recalculated from the invoices, balanced, and carried
// from one month to the next. One frame serves both books; a
// `SettlementBook` says which.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

namespace livrax::books {

struct SettlementBook {
    QString code;           // "LX56"
    QString caption;        // window caption
    QString settingsKey;    // saved settings, "PAR_LX56"
    QString monthKeyPrefix; // month records, "PAR_LF_" + yymm
    QString taxName;        // "ICMS" in the part titles
    // The IPI book: its own columns and conditions, every grid row printed,
    // no thousands separators, both dates required.
    bool ipi = false;
};

const SettlementBook& IcmsSettlement();
const SettlementBook& IpiSettlement();

// The boxes of each side and the free ones that carry a description.
const QList<int>& EntryBoxes(); // 11..21, 27, 28, 37, 38
const QList<int>& ExitBoxes();  // 19..28, 37, 38
const QList<int>& FreeBoxes();  // 27, 28, 37, 38
// The caption of a box as the window and the summary page show it; the free
// boxes are "27 -" etc.
QString BoxCaption(bool exits, int box);

// An amount text as the boxes hold it: cut to two decimals, 13 characters,
// right-aligned, decimal comma. What is not a number becomes zero.
QString NormaliseAmount(const QString& text);

// One nature grid: seven cells per row (NatOper, Historico, V.Contábil, Base
// de Calc., Imposto Deb., Isentas, Outras); the rows under the titles, the
// "TOTAL" row last when there is one.
using NatureRow = std::array<QString, 7>;
struct NatureGrid {
    static const QStringList& Titles();
    QList<NatureRow> rows;
    // The rows before the TOTAL row.
    QList<NatureRow> detailRows() const;
};

struct Guide {
    QString number, date, value, agency;
};

// Everything the settlement window shows for one month.
struct MonthData {
    QMap<int, QString> entries, exits;                      // boxes by number
    QMap<int, QString> entryDescriptions, exitDescriptions; // free boxes
    QString box29, box30;
    QString entriesTotal, exitsTotal;
    std::array<QString, 3> obs;
    std::array<Guide, 4> guides;
    NatureGrid entriesGrid, exitsGrid;
};

// The parameter-store key of the month of `startDate` ("PAR_LF_0503" for
// 01/03/05); empty when the date has no month.
QString MonthKey(const SettlementBook& book, const QString& startDate);

// Reads the month's record (a missing one is empty), then carries the
// previous month's credit and recomputes the summary.
MonthData LoadMonth(const SettlementBook& book, const QString& startDate);
// Writes the month into its record; lines the window does not own keep what
// they held; only the first 20 rows of each grid are kept.
void SaveMonth(const SettlementBook& book, const QString& startDate, const MonthData& month);
// Box 11 := box 29 of the previous month's record ("0,00" when it has none).
void CarryCredit(const SettlementBook& book, const QString& startDate, MonthData& month);
// Normalises the boxes, totals both sides and sets the balance: box 29 the
// credit to carry, or box 30 the debit to pay.
void RecomputeSummary(MonthData& month);

// A recalculation of one side from the invoices.
struct RecalcInput {
    QString startDate, endDate;
    QString filter;        // LX56: "#" becomes blank, here too (the window shows it)
    bool analytic = false; // one row per invoice instead of one per nature
};
struct RecalcResult {
    QString condition;   // the WHERE condition that ran
    QString failedQuery; // the statement, when it failed
    QStringList columns; // the raw result, as the query returned it
    QList<QStringList> rows;
};
// Rebuilds the entries (or exits) grid and sets box 12 (or 22) to the tax
// total, then recomputes the summary. A failing query leaves the grid with
// its TOTAL row only.
RecalcResult RecalcEntries(const SettlementBook& book, RecalcInput& input, MonthData& month);
RecalcResult RecalcExits(const SettlementBook& book, RecalcInput& input, MonthData& month);

// "Recalc.": both sides recalculated per nature with the given filters.
struct MonthRecalc {
    RecalcResult entries, exits;
};
MonthRecalc RecalculateMonth(const SettlementBook& book, const QString& startDate,
                             const QString& endDate, QString& entriesFilter, QString& exitsFilter,
                             MonthData& month);

// The window's saved inputs (key "PAR_LX56" / "PAR_LX57" where PDS is kept).
struct SettlementSettings {
    QString startDate, endDate, firstPage, entriesFilter, exitsFilter;
};
// A first page below 1 (or none) reads as "2".
SettlementSettings LoadSettlementSettings(const SettlementBook& book);
void SaveSettlementSettings(const SettlementBook& book, const SettlementSettings& settings);

// Both TOTAL boxes are zero: the month was never calculated.
bool MonthIsEmpty(const MonthData& month);

} // namespace livrax::books
