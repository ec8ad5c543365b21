#include "common/dates.h"

#include "common/text.h"
#include "platform/clock.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

bool IsDigits(QStringView s) {
    for (const QChar c : s) {
        if (c < u'0' || c > u'9') return false;
    }
    return !s.isEmpty();
}

// "-" and "." read as the date separator "/".
QString WithSlashes(const QString& text) {
    QString s = text;
    s.replace(u'-', u'/');
    s.replace(u'.', u'/');
    return s;
}

// What the date checks look at: separators made "/", spaces removed.
QString NormalisedDate(const QString& text) {
    QString s = WithSlashes(text);
    s.remove(u' ');
    return s;
}

} // namespace

int ExpandTwoDigitYear(int twoDigitYear, int currentYear) {
    const int windowStart = currentYear - 90;
    int year = windowStart - windowStart % 100 + twoDigitYear;
    if (year < windowStart) year += 100;
    return year;
}

int ExpandTwoDigitYear(int twoDigitYear) {
    return ExpandTwoDigitYear(twoDigitYear, platform::Clock::today().year());
}

QDate ParseDate(const QString& text) {
    const QStringList parts = NormalisedDate(text).split(u'/');
    if (parts.size() != 3) return QDate();
    const QString& day = parts.at(0);
    const QString& month = parts.at(1);
    const QString& year = parts.at(2);
    if (!IsDigits(day) || day.size() > 2 || !IsDigits(month) || month.size() > 2 ||
        !IsDigits(year) || (year.size() != 2 && year.size() != 4))
        return QDate();
    const int y = year.size() == 2 ? ExpandTwoDigitYear(year.toInt()) : year.toInt();
    return QDate(y, month.toInt(), day.toInt());
}

QString FormatShortDate(const QDate& date) {
    if (!date.isValid()) return QString();
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    // Books format a date per line: the digits are placed directly rather
    // than through the locale's pattern parser (which this matches).
    if (year < 1 || year > 9999) return date.toString(u"dd/MM/yy"_s);
    year %= 100;
    const char16_t text[8] = {char16_t(u'0' + day / 10),   char16_t(u'0' + day % 10),   u'/',
                              char16_t(u'0' + month / 10), char16_t(u'0' + month % 10), u'/',
                              char16_t(u'0' + year / 10),  char16_t(u'0' + year % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 8);
}

bool IsValidDate(const QString& text) {
    const QString trimmed = WithSlashes(text).trimmed();
    if (trimmed.isEmpty() || trimmed == u"/  /"_s) return false;
    const QString s = NormalisedDate(text);
    const qsizetype first = s.indexOf(u'/');
    if (first < 0) return false;
    const qsizetype second = s.indexOf(u'/', first + 1);
    const QString day = s.left(first);
    const QString month = second < 0 ? s.mid(first + 1) : s.mid(first + 1, second - first - 1);
    if (!IsDigits(day) || !IsDigits(month)) return false;
    const int d = day.toInt();
    const int m = month.toInt();
    if (d < 1 || d > 31 || m < 1 || m > 12) return false;
    return ParseDate(s).isValid();
}

bool IsValidShortDate(const QString& text) {
    const QString s = NormalisedDate(text);
    return s.size() == 8 && s.at(2) == u'/' && s.at(5) == u'/' && IsValidDate(text);
}

QString SqlDate(const QString& text) {
    if (text.trimmed().isEmpty()) return QString();
    // A text that is not a date gives no literal rather than a wrong one.
    const QDate date = ParseDate(text);
    if (!date.isValid()) return QString();
    return u'\'' + date.toString(u"dd.MM.yyyy"_s) + u'\'';
}

QString DateMDY(const QString& text) {
    if (text.trimmed().size() <= 7) return QString();
    const QDate date = ParseDate(text);
    return date.isValid() ? date.toString(u"MM-dd-yyyy"_s) : QString();
}

QString DateYMD(const QString& text) {
    // The exact "dd/mm/yy" the grids and fields hold is read straight: a
    // file writes tens of thousands of them. The result is the general
    // rule's.
    const auto digit = [&text](int i) {
        const char16_t c = text.at(i).unicode();
        return c >= u'0' && c <= u'9' ? int(c - u'0') : -1;
    };
    if (text.size() == 8 && text.at(2) == u'/' && text.at(5) == u'/') {
        const int d1 = digit(0), d2 = digit(1), m1 = digit(3), m2 = digit(4), y1 = digit(6),
                  y2 = digit(7);
        if (d1 >= 0 && d2 >= 0 && m1 >= 0 && m2 >= 0 && y1 >= 0 && y2 >= 0) {
            const int year = ExpandTwoDigitYear(y1 * 10 + y2);
            if (!QDate::isValid(year, m1 * 10 + m2, d1 * 10 + d2)) return text;
            const char16_t ymd[8] = {char16_t(u'0' + year / 1000),
                                     char16_t(u'0' + year / 100 % 10),
                                     char16_t(u'0' + year / 10 % 10),
                                     char16_t(u'0' + year % 10),
                                     char16_t(u'0' + m1),
                                     char16_t(u'0' + m2),
                                     char16_t(u'0' + d1),
                                     char16_t(u'0' + d2)};
            return QString(reinterpret_cast<const QChar*>(ymd), 8);
        }
    }
    return IsValidDate(text) ? ParseDate(text).toString(u"yyyyMMdd"_s) : text;
}

QString DateDMY8(const QString& text) {
    return IsValidDate(text) ? ParseDate(text).toString(u"ddMMyyyy"_s) : text;
}

QString DateDMY10(const QString& text) {
    return IsValidDate(text) ? ParseDate(text).toString(u"dd/MM/yyyy"_s) : text;
}

QString AddMonths(const QString& text, int n) {
    if (IsBlank(text)) return text;
    QString s = text;
    if (s.size() > 5 && !s.contains(u'.') && !s.contains(u'-') && !s.contains(u'/')) {
        s.insert(2, u'/'); // ddmmyy becomes dd/mm/yy
        s.insert(5, u'/');
    }
    s = WithSlashes(s);
    const QDate date = ParseDate(s);
    return date.isValid() ? FormatShortDate(date.addMonths(n)) : s;
}

namespace {

QString LastDayOf(const QDate& date) {
    return FormatShortDate(QDate(date.year(), date.month(), date.daysInMonth()));
}

} // namespace

QString LastDayOfMonth(const QString& text) {
    return IsValidDate(text) ? LastDayOf(ParseDate(text)) : QString();
}

QString LastDayOfMonthShort(const QString& text) {
    return IsValidShortDate(text) ? LastDayOf(ParseDate(text)) : QString();
}

} // namespace livrax
