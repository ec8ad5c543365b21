#pragma once

// Dates typed and shown as dd/mm/yy in the program's fixed locale ("/"
// separator, two-digit years placed by a 90-year window), and their
// conversions into SQL literals and fixed-width file fields. All functions
// work on texts; "today" comes from platform::Clock.

#include <QDate>
#include <QString>

namespace livrax {

// Places a two-digit year (0..99) in the century of (currentYear - 90), plus
// 100 when it falls below that year: in 2007, 95 is 1995, 17 is 1917 and 16
// is 2016.
int ExpandTwoDigitYear(int twoDigitYear, int currentYear);
// The same with the current year of the program's clock.
int ExpandTwoDigitYear(int twoDigitYear);

// The date a typed text stands for: "-" and "." are read as "/", spaces are
// ignored, day and month have one or two digits and the year two (windowed)
// or four. An invalid QDate for anything else.
QDate ParseDate(const QString& text);

// "dd/MM/yy"; empty for an invalid date.
QString FormatShortDate(const QDate& date);

// True when the text is a real date (dd/mm/yy or dd/mm/yyyy, "-" and "."
// accepted as separators, spaces ignored). "  /  /  " and "31/02/07" are not.
bool IsValidDate(const QString& text);
// As IsValidDate, and the text without spaces is exactly dd/mm/yy.
bool IsValidShortDate(const QString& text);

// A Firebird date literal 'dd.mm.yyyy' (with the apostrophes); empty for an
// empty text and for a text that is not a date.
QString SqlDate(const QString& text);
// "mm-dd-yyyy" when the trimmed text is longer than 7 characters and a date;
// otherwise empty.
QString DateMDY(const QString& text);
// "yyyymmdd", "ddmmyyyy" and "dd/mm/yyyy" of a valid date; otherwise the
// text unchanged.
QString DateYMD(const QString& text);
QString DateDMY8(const QString& text);
QString DateDMY10(const QString& text);

// The date moved by n months as "dd/mm/yy", the day reduced to the end of a
// shorter month (31/01/07 plus one month is 28/02/07). "ddmmyy" and
// "ddmmyyyy" are read with the slashes inserted; "-" and "." are made "/". A
// blank text is returned unchanged, a text that is not a date with its
// separators normalised.
QString AddMonths(const QString& text, int n);

// The last day of the date's month as "dd/mm/yy" when IsValidDate (the Short
// form: IsValidShortDate); otherwise empty.
QString LastDayOfMonth(const QString& text);
QString LastDayOfMonthShort(const QString& text);

} // namespace livrax
