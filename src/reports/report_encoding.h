#pragma once

// How the values of a report definition are kept in the "#"-separated fields
// of its stored lines. "#" separates the fields, so a value that may hold one
// is changed on the way in; numbers are kept as typed, some right-aligned to
// a width.

#include <QString>

namespace livrax::reports {

// The report title: "#" removed, at most 60 characters.
QString StoredTitle(const QString& title);
// A filter or an SQL condition: each "#" becomes a blank.
QString StoredCondition(const QString& condition);
// Any other free text of a field: each "#" becomes a blank, so the value
// cannot spill into the fields after it.
QString StoredText(const QString& text);
// A picture keeps its "#" as "&"; ShownPicture turns them back.
QString StoredPicture(const QString& picture);
QString ShownPicture(const QString& stored);
// A font style: one of "fsBold", "fsItalic", "fsBold,fsItalic",
// "fsunderline", "fsstrikeout" or empty; any other text is stored empty.
QString StoredFontStyle(const QString& style);
// A flag string: blanks appended up to `width` (20 or 30), cut to it.
QString StoredFlags(const QString& flags, int width);
// Position `position` (from 1) of a flag string; a blank past its end.
QChar FlagAt(const QString& flags, int position);
// The flag string with position `position` set, padded with blanks to reach it.
QString WithFlag(const QString& flags, int position, QChar value);
// A number normalised to a width: its integer digits (or with `decimals`
// decimals after a comma) right-aligned in `width`.
QString StoredNumber(const QString& number, int width, int decimals = 0);
// `value` when it is not blank, else `fallback`.
QString OrDefault(const QString& value, const QString& fallback);

} // namespace livrax::reports
