#include "common/text.h"

#include "common/fields.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

// Same-position translation of the characters of `from` into those of `to`.
QString Translate(const QString& text, QStringView from, QStringView to) {
    QString result = text;
    for (QChar& c : result) {
        const qsizetype at = from.indexOf(c);
        if (at >= 0) c = to.at(at);
    }
    return result;
}

} // namespace

QString ReplaceText(const QString& text, const QString& find, const QString& replacement,
                    bool firstOnly) {
    if (find.isEmpty()) return text;
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(find, from);
        if (at < 0) break;
        result.append(QStringView(text).mid(from, at - from));
        result.append(replacement);
        from = at + find.size();
        if (firstOnly) break;
    }
    result.append(QStringView(text).mid(from));
    return result;
}

QString StripSymbols(const QString& text) {
    return DropChars(text, StrippedSymbols.toString()).trimmed();
}

QString DropChars(const QString& text, const QString& set) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!set.contains(c)) result.append(c);
    }
    return result;
}

bool OnlyChars(const QString& text, const QString& set) {
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && trimmed == KeepChars(trimmed, set);
}

bool IsBlank(const QString& text) {
    // Every character is one of the blank ones or white space (what
    // trimming would remove once the others are dropped).
    constexpr QStringView blank = u",.;: -_#/\\0";
    return std::all_of(text.begin(), text.end(),
                       [&](QChar c) { return blank.contains(c) || c.isSpace(); });
}

QString Choose(bool flag, const QString& a, const QString& b) {
    return flag ? a : b;
}

QString UpperAccents(const QString& text) {
    return Translate(text, u"áàãâäéèêëíìîïóòõôöúùûüç", u"ÁÀÃÂÄÉÈÊËÍÌÎÏÓÒÕÔÖÚÙÛÜÇ");
}

QString RemoveAccents(const QString& text) {
    return Translate(text, u"àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜ", u"aaeouaoaeioucuAAEOUAOAEIOUCU");
}

} // namespace livrax
