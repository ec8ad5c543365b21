#include "common/masks.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"

#include <QStringView>

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

// The number in section `index` of a "kind,a,b" picture, read as ToInt reads
// the section's text (only signs and digits kept, the first nine of them,
// 0 when they make no number), without splitting the picture: a report
// formats every value of a column by the same picture.
int PictureNumber(QStringView picture, int index) {
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype comma = picture.indexOf(u',', start);
        if (comma < 0) return 0;
        start = comma + 1;
    }
    const qsizetype end = picture.indexOf(u',', start);
    const QStringView section = picture.mid(start, end < 0 ? -1 : end - start);
    char16_t kept[9];
    qsizetype count = 0;
    for (const QChar c : section) {
        if (count == 9) break;
        if ((c >= u'0' && c <= u'9') || c == u'-') kept[count++] = c.unicode();
    }
    if (count == 0) return 0;
    bool ok = false;
    const int value = QStringView(kept, count).toInt(&ok);
    return ok ? value : 0;
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

    const int a = PictureNumber(picture, 1);
    const int b = PictureNumber(picture, 2);
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
