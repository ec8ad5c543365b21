#include "common/masks.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

// A value whose digits are all zero (or that has none) is zero: the number
// formatters read every digit of it.
bool IsZeroValue(const QString& value) {
    return KeepChars(value, u"123456789"_s).isEmpty();
}

QString LayIntoMask(const QString& value, const QString& mask) {
    const QString source = StripSymbols(value) + Spaces(15);
    QString result;
    result.reserve(mask.size());
    qsizetype next = 0;
    for (const QChar m : mask) {
        if (m == u'X' || m == u'9') {
            // Beyond the source (a mask longer than the value plus its
            // fifteen spaces) the mask is filled as from a space.
            const QChar c = next < source.size() ? source.at(next) : u' ';
            ++next;
            if (m == u'9')
                result.append(c >= u'0' && c <= u'9' ? c : u'0');
            else
                result.append(c);
        } else {
            result.append(m);
        }
    }
    return result;
}

} // namespace

QString ApplyMask(const QString& text, const QString& mask) {
    if (mask.isEmpty()) return text;
    const int width = int(mask.size());
    QString v = PadRight(StripSymbols(text), width);
    for (int i = 0; i < width; ++i) {
        if (mask.at(i) != u'X' && i < v.size()) v.insert(i, mask.at(i));
    }
    return PadRight(v, width);
}

QString FormatByPicture(const QString& value, const QString& picture) {
    if (picture.isEmpty() || value.trimmed().isEmpty()) return value;
    const QChar kind = picture.at(0);

    if (kind == u'&') {
        const QString rest = picture.mid(1);
        const qsizetype dot = rest.indexOf(u'.');
        const int decimals = dot < 0 ? 0 : int(rest.size() - dot - 1);
        return FormatDecimal(value, 13, decimals).trimmed();
    }
    if (kind == u'M') {
        const QString mask =
            picture.size() > 1 && picture.at(1) == u',' ? picture.mid(2) : picture.mid(1);
        return LayIntoMask(value, mask);
    }

    const QStringList parts = picture.split(u',');
    const int a = ToInt(parts.value(1));
    const int b = ToInt(parts.value(2));
    switch (kind.unicode()) {
    case u'N':
        return FormatDecimal(value, a, b);
    case u'P':
        return FormatMoney(value, a, b);
    case u'T':
        return FormatDecimal(value, a, b).trimmed();
    case u'B':
        return IsZeroValue(value) ? Spaces(a) : FormatDecimal(value, a, b);
    case u'Z':
        return ZeroPad(IsZeroValue(value) ? QString() : FormatDecimal(value, a, b), a);
    case u'C':
        return b > 0 ? value.mid(qMax(a, 1) - 1, b) : QString();
    default:
        return value;
    }
}

} // namespace livrax
