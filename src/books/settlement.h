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
#include <optional>

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

// The amounts of the settlement (boxes, totals, grid cells) are qint64
// ten-thousandths holding whole cents: two decimals, the rest cut, as the
// boxes have always shown them. They become text only in the window, in the
// month record and on the printed page.

// A typed or stored amount text: "1.234,56", "12.5", "-3,5"; what is not a
// number is zero; decimals beyond two are cut.
qint64 ParseAmount(const QString& text);
// An amount as the boxes, the grid cells and the month record hold it:
// 13 characters, right-aligned, decimal comma, no thousands separator.
QString FormatAmount(qint64 amount);
// FormatAmount(ParseAmount(text)).
QString NormaliseAmount(const QString& text);

// One row of a nature grid: NatOper, Historico, and the amounts V.Contábil,
// Base de Calc., Imposto Deb., Isentas and Outras. A cell left empty (a
// stored line without it, or cleared in the window) has no amount.
struct NatureRow {
    QString nature, history;
    std::array<std::optional<qint64>, 5> amounts;

    bool isTotal() const;
    friend bool operator==(const NatureRow&, const NatureRow&) = default;
};
// One nature grid: the rows under the titles, the "TOTAL" row last when
// there is one.
struct NatureGrid {
    static const QStringList& Titles();
    QList<NatureRow> rows;
    // The rows before the TOTAL row.
    QList<NatureRow> detailRows() const;
};

struct Guide {
    QString number, date, value, agency; // texts as typed
};

// Everything the settlement window shows for one month.
struct MonthData {
    QMap<int, qint64> entries, exits;                       // boxes by number
    QMap<int, QString> entryDescriptions, exitDescriptions; // free boxes
    qint64 box29 = 0, box30 = 0;
    qint64 entriesTotal = 0, exitsTotal = 0;
    std::array<QString, 3> obs;
    std::array<Guide, 4> guides;
    NatureGrid entriesGrid, exitsGrid;
};

// Box 29 or 30 as the window shows it: the balance is in box 29 when it is
// a credit, else in box 30; the other box shows a zero amount ("0,00").
QString BalanceText(const MonthData& month, int box);

// The parameter-store key of the month of `startDate` ("PAR_LF_0503" for
// 01/03/05); empty when the date has no month.
QString MonthKey(const SettlementBook& book, const QString& startDate);

// Reads the month's record (a missing one is empty), then carries the
// previous month's credit and recomputes the summary; both records are read
// at one moment.
MonthData LoadMonth(const SettlementBook& book, const QString& startDate);
// Writes the month into its record; lines the window does not own keep what
// they held. The first 20 rows of each grid are kept where other programs
// read them (lines 40..59 and 60..79), the rest after them (lines 80 and 81).
// False when the record was not written: another station holds it past the
// lock timeout, the database failed, or the date has no month. The record
// then keeps what it held.
bool SaveMonth(const SettlementBook& book, const QString& startDate, const MonthData& month);
// Box 11 := box 29 of the previous month's record (zero when it has none).
void CarryCredit(const SettlementBook& book, const QString& startDate, MonthData& month);
// Cuts the boxes to whole cents, totals both sides and sets the balance:
// box 29 the credit to carry, or box 30 the debit to pay (the other is 0).
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
    // The database's reason for the failure; empty when it did not fail or
    // the filter was refused before anything ran (failedQuery says why).
    QString failureReason;
    QStringList columns; // the raw result, as the query returned it
    QList<QStringList> rows;
};
// Rebuilds the entries (or exits) grid and sets box 12 (or 22) to the tax
// total, then recomputes the summary. A failing query leaves the grid with
// its TOTAL row only.
RecalcResult RecalcEntries(const SettlementBook& book, RecalcInput& input, MonthData& month);
RecalcResult RecalcExits(const SettlementBook& book, RecalcInput& input, MonthData& month);

// "Recalc." of the window and of the command line: both sides recalculated
// per nature with the given filters (the ICMS book makes their "#" blanks)
// from one moment of the database, then the month saved into the record of
// `startDate`. When a query fails nothing is stored and `month` is left as
// it was: a month recalculated from a failed query would be stored with zero
// totals. When the save fails `month` is left as it was too.
struct MonthRecalc {
    RecalcResult entries, exits;
    // The month was written into its record.
    bool saved = false;
    // The statements that failed, entries first; the month was not saved
    // when there is one.
    QStringList failedQueries() const;
    // Each failure as the user reads it: the database's reason, then the
    // statement on a line of its own.
    QStringList failures() const;
    bool failed() const { return !failedQueries().isEmpty(); }
};
MonthRecalc RecalculateAndSave(const SettlementBook& book, const QString& startDate,
                               const QString& endDate, QString& entriesFilter, QString& exitsFilter,
                               MonthData& month);

// The window's saved inputs (key "PAR_LX56" / "PAR_LX57" where PDS is kept).
struct SettlementSettings {
    QString startDate, endDate, firstPage, entriesFilter, exitsFilter;
};
// A first page that is not one of 1..9999 (or none) reads as "2".
SettlementSettings LoadSettlementSettings(const SettlementBook& book);
// False when the settings were not written.
bool SaveSettlementSettings(const SettlementBook& book, const SettlementSettings& settings);

// Both TOTAL boxes are zero: the month was never calculated.
bool MonthIsEmpty(const MonthData& month);

} // namespace livrax::books
