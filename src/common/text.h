#pragma once

// Replacement, character classes and accents: small pure text functions used
// throughout the program. A QString character stands for one byte of the
// Windows Latin-1 code page.

#include <QString>

namespace livrax {

// Replaces every occurrence of `find` (only the first with `firstOnly`),
// scanning left to right and never looking into inserted text, so a
// replacement that contains `find` does not loop. An empty `find` replaces
// nothing.
QString ReplaceText(const QString& text, const QString& find, const QString& replacement,
                    bool firstOnly = false);

// The symbols StripSymbols removes.
inline constexpr QStringView StrippedSymbols = u",.-_#*/\\:\"!?><'";

// Removes , . - _ # * / \ : " ! ? > < and the apostrophe, then trims: reduces
// CNPJ, state registrations, postal codes and phone numbers to their digits
// and letters.
QString StripSymbols(const QString& text);

// The characters of `text` that do not occur in `set`.
QString DropChars(const QString& text, const QString& set);

// True when the trimmed text is not empty and every one of its characters,
// inner spaces included, occurs in `set`.
bool OnlyChars(const QString& text, const QString& set);

// True when nothing but , . ; : space - _ # / \ and "0" makes up the text:
// "  /  /  ", "0,00" and "" are blank.
bool IsBlank(const QString& text);

// `a` when `flag` is true, else `b`.
QString Choose(bool flag, const QString& a, const QString& b);

// Lower-case accented letters (á à ã â ä é è ê ë í ì î ï ó ò õ ô ö ú ù û ü ç)
// made upper case; every other character is unchanged.
QString UpperAccents(const QString& text);

// The accented letters à â ê ô û ã õ á é í ó ú ç ü and their capitals made
// plain; other accented letters (è, ì, ò, ù, ä, ë, ï, ö ...) are unchanged.
QString RemoveAccents(const QString& text);

} // namespace livrax
