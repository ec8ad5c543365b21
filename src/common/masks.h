#pragma once

// Edit masks ("XXXXX-XXX") and the field pictures of user-defined reports.

#include <QString>

namespace livrax {

// Lays the symbol-free text into a mask: every mask character other than "X"
// is inserted at its position; the result has the mask's length. With the
// mask "XXXXX-XXX", "93000000" gives "93000-000". An empty mask returns the
// text.
QString ApplyMask(const QString& text, const QString& mask);

// Formats a report field value by its picture. The picture's first character
// is the kind; kinds N, P, T, B, Z and C take "kind,a,b":
//   N  FormatDecimal(value, a, b)        P  FormatMoney(value, a, b)
//   T  FormatDecimal trimmed             B  as N, or a spaces for a zero value
//   Z  as N (empty for zero), ZeroPad to a
//   C  the b characters of the value from position a (1-based)
//   &  "&999.99": as many decimals as characters after the "."; the value by
//      FormatDecimal(value, 13, decimals) trimmed
//   M  "M,mask": the value without symbols laid into the mask: "X" takes the
//      next character, "9" the next as a digit (a non-digit gives "0"),
//      other mask characters are copied.
// An empty picture, a value that is empty or spaces, or an unknown kind
// returns the value unchanged.
QString FormatByPicture(const QString& value, const QString& picture);

} // namespace livrax
