#pragma once

// What the report manager does to the reports of a menu, apart from its
// window: the first free number, copying, moving and deleting a report's
// keys, the import of old-format definition files, and the currency of the
// day. Every change of several keys runs in one transaction: all or nothing.

#include <QDate>
#include <QString>
#include <QStringList>

namespace livrax::reports {

struct ReportMenu;

// Reports are numbered 001 to 998.
inline constexpr int LastReportNumber = 998;

// The first number from 1 on that holds no key of the menu (no "A", "V" or
// "C" key), so a report whose title is blank is never taken for a free
// place. 0 when every number up to 998 is taken or the keys cannot be read.
int FirstFreeNumber(const ReportMenu& menu);

// Whether report `number` has any key stored.
bool ReportExists(const ReportMenu& menu, int number);

// Copies the keys of report `from` ("A", "V", "C", those stored) to the
// number `to`, which must hold no key. False, with nothing written, when
// `from` has no definition, `to` is taken or the database refuses.
bool CopyReport(const ReportMenu& menu, int from, int to);

// Moves report `from` to the number `to` (1 to 998); a report at `to`
// takes the number `from`, so the two swap titles, selections and
// definitions. One transaction: a failure leaves both as they were. Number
// 999 and the other reports are never touched. False when a number is out
// of range, `from` equals `to` or the database refuses.
bool MoveReport(const ReportMenu& menu, int from, int to);

// Deletes every key of report `number`, writing `title` as the audit note.
bool DeleteReport(const ReportMenu& menu, int number, const QString& title);

// The old-format files of a report: `path` (NAME + ".FMQ", any case) and
// its companions beside it with "C" and "V" before the extension.
struct OldFormatFiles {
    QString definition, companion, selection;
};
OldFormatFiles OldFormatFilesOf(const QString& path);

enum class OldImportOutcome { Imported, Missing, Exists, NotWritten };

// Stores the old-format files of `path` as report `number` of the menu: the
// definition (its title the first 60 characters of line 1 field 1, "#"
// removed) and the companions that exist, in one transaction. A report
// already at that number is replaced only when `replace` is true. `title`
// returns the title read.
OldImportOutcome ImportOldFormatReport(const ReportMenu& menu, int number, const QString& path,
                                       bool replace, QString* title = nullptr);

// The currency of the day ("PAR_MOEDADIA": line 1 the title, line 2 the
// value) and its quotation of the day in VRTNMOE.
struct CurrencyOfDay {
    QString title, value;
};

// The stored currency of the day; empty when none is stored.
CurrencyOfDay ReadCurrencyOfDay();

// The value as typed: at most 20 characters, a number with "," or "." as
// the decimal point and at most four decimals, not negative. The value in
// ten-thousandths, or false.
bool ParseCurrencyValue(const QString& text, qint64* tenThousandths);

// What is wrong with a currency name: blank, longer than 20 characters
// (spaces around it not counted) or holding other characters than letters,
// digits and spaces. Empty when it is fit to store.
QString CurrencyTitleProblem(const QString& title);

// Checks the title (CurrencyTitleProblem) and the value
// (ParseCurrencyValue); then stores the currency of the day and sets its
// quotation of `today` (buying and selling rate the value, type "C", the
// user and the date of change), inserting the row when the day has none, in
// one transaction. Empty when done, else what was wrong or failed.
QString SaveCurrencyOfDay(const QString& title, const QString& value, const QString& user,
                          const QDate& today);

// Removes a trailing comparison (">=", "<=", "<>", ">", "<", "=") from a
// selection field, leaving the column name: "VALOR >=" gives "VALOR".
QString SelectionFieldName(const QString& field);

} // namespace livrax::reports
