#pragma once

// The text primitives everything else rests on: fixed-width fields, integers
// typed by users, the decimal-comma number formatter, SQL string literals and
// the in-line record format of fields separated by "#".
//
// A QString character stands for one byte of the Windows Latin-1 code page, so
// every width is a character count. None of these functions shows a message.

#include <QString>
#include <QStringList>

#include <array>

namespace livrax {

// Characters before the first `sep`; the whole text when `sep` is absent or empty.
QString TextBefore(const QString& text, const QString& sep);
// Characters after the first `sep`; the whole text when `sep` is absent or empty.
QString TextAfter(const QString& text, const QString& sep);
// The characters of `text` that occur in `set`, in order.
QString KeepChars(const QString& text, const QString& set);

// Padding. A width of 0 (or less) means the value's own length.
// Left-aligned: spaces appended up to `width`, then cut to exactly `width`.
QString PadRight(const QString& value, int width);
// Right-aligned: empty becomes "0"; spaces prepended; when longer, the
// rightmost `width` characters are kept.
QString PadLeft(const QString& value, int width);
// Trimmed, "0" prepended up to `width`; when longer, the rightmost `width`
// characters are kept.
QString ZeroPad(const QString& value, int width);
QString ZeroPad(qint64 value, int width);
QString Spaces(int n);
QString Zeros(int n);

// Integer typed by a user: trimmed, reduced to "-0123456789", empty read as
// "0", cut to 9 characters. A sign inside the digits or a lone "-" is a
// conversion error: the result is 0 and *ok (when given) is false.
int ToInt(const QString& text, bool* ok = nullptr);

// The core number formatter: the value's digits with a decimal comma,
// `decimals` decimals cut (never rounded), right-aligned in `width` with the
// leftmost characters dropped on overflow (width 0: no padding).
QString FormatDecimal(const QString& value, int width, int decimals);
QString FormatDecimal(qint64 value, int width, int decimals);

// SQL string literal: the text (cut to `maxLen` characters when maxLen >= 1)
// in apostrophes, each inner apostrophe doubled.
QString Quote(const QString& text, int maxLen = 0);

// A split line of "#"-separated fields, kept between calls: callers split a
// line once and then read its fields by number. Fields that lie beyond the
// `count` requested are neither cleared nor overwritten, so they keep what a
// previous split left in them.
class FieldArray {
  public:
    static constexpr int Size = 190;

    // Clears fields 1..count (all when count is 0) and fills them from `line`:
    // every "#" starts the next field; scanning stops once more than `count`
    // fields have started. A blank line leaves the cleared fields empty.
    // Returns field `count` (empty when count is 0).
    QString split(const QString& line, int count);
    // Field i, 1-based; empty outside 1..Size.
    QString field(int i) const;
    // Fields 1..count (all Size fields when count is 0), for JoinFields.
    QStringList fields(int count = 0) const;

  private:
    std::array<QString, Size> m_fields;
};

// The two process-wide field arrays: a caller may hold one line split in each.
// The program is single-threaded; these are not meant for use across threads.
FieldArray& FieldArrayA();
FieldArray& FieldArrayB();

// Splits `line` into the first process-wide array (FieldArrayA) and returns
// field `count`.
QString SplitFields(const QString& line, int count);

// The same split as a new list: every "#" closes a field and trailing text
// after the last "#" is a final field; `max` > 0 limits the number of fields.
QStringList SplitToList(const QString& line, int max = 0);

// Field n (1-based) of a line: the text after the (n-1)-th "#" up to the next
// "#", at most 999 characters. A leading "#" of the line is skipped.
QString FieldAt(const QString& line, int n);

// The line with field n replaced by `value`; "#" characters are appended first
// when the line has fewer than n fields. An empty line stays empty.
QString SetFieldAt(const QString& line, int n, const QString& value);

// The first `count` values (all when 0) as one line: each non-empty value is
// followed by "#", an empty value (or one that is only "#") that has a
// non-empty value after it is written as "#", trailing empty values are
// dropped. ("A", "", "C") gives "A##C#".
QString JoinFields(const QStringList& values, int count = 0);

} // namespace livrax
