#include "common/numbers.h"

#include "common/dates.h"
#include "common/fields.h"

#include <QVarLengthArray>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

constexpr qint64 Scale = 10000;
constexpr int ScaleDigits = 4;

bool IsDigits(QStringView s) {
    for (const QChar c : s) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// Reads an optionally signed decimal text with a decimal comma ("-12,345",
// ",5", "7") into ten-thousandths, rounding half to even beyond four
// decimals. Returns false for anything else or when the value does not fit.
bool ParseScaled(QStringView s, qint64* out) {
    const bool negative = s.startsWith(u'-');
    if (negative) s = s.mid(1);
    const qsizetype comma = s.indexOf(u',');
    const QStringView integerPart = comma < 0 ? s : s.left(comma);
    const QStringView fraction = comma < 0 ? QStringView() : s.mid(comma + 1);
    if (integerPart.isEmpty() && fraction.isEmpty()) return false;
    if (!IsDigits(integerPart) || !IsDigits(fraction)) return false;

    quint64 magnitude = 0;
    const auto push = [&magnitude](QChar digit) {
        if (magnitude > (std::numeric_limits<quint64>::max() - 9) / 10) return false;
        magnitude = magnitude * 10 + quint64(digit.unicode() - u'0');
        return true;
    };
    for (const QChar c : integerPart) {
        if (!push(c)) return false;
    }
    for (qsizetype i = 0; i < ScaleDigits; ++i) {
        if (!push(i < fraction.size() ? fraction.at(i) : u'0')) return false;
    }

    // Digits beyond the fourth decimal: round half to even.
    const QStringView rest =
        fraction.size() > ScaleDigits ? fraction.mid(ScaleDigits) : QStringView();
    if (!rest.isEmpty()) {
        const QChar first = rest.at(0);
        bool up = first > u'5';
        if (first == u'5') {
            bool exactHalf = true;
            for (const QChar c : rest.mid(1))
                exactHalf = exactHalf && c == u'0';
            up = !exactHalf || (magnitude % 2) == 1;
        }
        if (up) ++magnitude;
    }

    const quint64 limit = quint64(std::numeric_limits<qint64>::max());
    if (magnitude > limit) return false;
    const qint64 value = qint64(magnitude);
    *out = negative ? -value : value;
    return true;
}

} // namespace

QString FormatMoney(const QString& value, int width, int decimals) {
    QString s = FormatDecimal(value, width, decimals);
    const qsizetype comma = s.indexOf(u',');
    const qsizetype a = comma < 0 ? s.size() + 1 : comma + 1; // 1-based
    // A dot goes before every third character left of the comma. It is never
    // put in front of the whole text, where no cleanup below would remove it
    // (it would turn "123,00" into ".123,00" and "-123,00" into ".-123,00").
    for (qsizetype i = 0; i < a / 3; ++i) {
        const qsizetype c = a - 3 - 3 * i;
        if (c < 2) break;
        s.insert(c - 1, u'.');
    }
    // Dots that landed among the padding spaces or after the sign disappear.
    s.replace(u" ."_s, u" "_s);
    s.replace(u"-."_s, u"-"_s);
    s.replace(u". "_s, u" "_s);
    return width >= 1 ? PadLeft(s, width) : s;
}

QString FormatMoney(qint64 value, int width, int decimals) {
    return FormatMoney(QString::number(value), width, decimals);
}

QString SqlNumber(const QString& value, int width, int decimals) {
    QString s = FormatDecimal(value, width, decimals).trimmed();
    if (s.contains(u'.') && s.contains(u',')) s.remove(u'.');
    s.replace(u',', u'.');
    return s.isEmpty() ? u"0"_s : s;
}

QString SqlNumber(qint64 value, int width, int decimals) {
    return SqlNumber(QString::number(value), width, decimals);
}

qint64 ToScaled(const QString& value, int decimals) {
    qint64 result = 0;
    if (!ParseScaled(FormatDecimal(value, 15, decimals).trimmed(), &result)) return 0;
    return result;
}

qint64 ToScaled(qint64 value, int decimals) {
    return ToScaled(QString::number(value), decimals);
}

QString ScaledToText(qint64 tenThousandths) {
    // The magnitude is taken unsigned so that the most negative value works too.
    const quint64 magnitude =
        tenThousandths < 0 ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    QString s = QString::number(magnitude / Scale) + u',' +
                QString::number(magnitude % Scale).rightJustified(ScaleDigits, u'0');
    if (tenThousandths < 0) s.prepend(u'-');
    return s;
}

QString FormatScaled(qint64 tenThousandths, int width, int decimals) {
    // Digits are written backwards into a buffer large enough for the sign,
    // 19 integer digits, the comma and any decimals asked for.
    const quint64 magnitude =
        tenThousandths < 0 ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    const int kept = std::max(decimals, 0);
    QVarLengthArray<char16_t, 48> buffer(kept + 22);
    qsizetype at = buffer.size();
    if (kept > 0) {
        for (int i = kept; i > ScaleDigits; --i)
            buffer[--at] = u'0';
        quint64 fraction = magnitude % Scale;
        for (int i = ScaleDigits; i > kept; --i)
            fraction /= 10;
        for (int i = std::min(kept, ScaleDigits); i > 0; --i, fraction /= 10)
            buffer[--at] = char16_t(u'0' + fraction % 10);
        buffer[--at] = u',';
    }
    quint64 integer = magnitude / Scale;
    do {
        buffer[--at] = char16_t(u'0' + integer % 10);
        integer /= 10;
    } while (integer > 0);
    if (tenThousandths < 0) buffer[--at] = u'-';

    const qsizetype length = buffer.size() - at;
    if (width <= 0) return QString(reinterpret_cast<const QChar*>(buffer.data() + at), length);
    if (length >= width)
        return QString(reinterpret_cast<const QChar*>(buffer.data() + buffer.size() - width),
                       width);
    QString result(width, u' ');
    std::copy(buffer.data() + at, buffer.data() + buffer.size(),
              reinterpret_cast<char16_t*>(result.data()) + (width - length));
    return result;
}

QString DotDecimal(const QString& text) {
    QString s = text.trimmed();
    const bool numeric = s == KeepChars(s, u"0123456789,.-"_s);
    if (numeric && s.contains(u',') && s.contains(u'.')) s.remove(u'.');
    s.replace(u',', u'.');
    return s;
}

QString DotDecimalZero(const QString& text) {
    QString s = text.trimmed();
    if (s.isEmpty()) s = u"0"_s;
    if (s.contains(u',') && s.contains(u'.')) s.remove(u'.');
    s.replace(u',', u'.');
    return s.trimmed();
}

QString ToSqlValue(const QString& text) {
    const QString s = DotDecimal(text);
    if (s.size() == 8 && s.at(2) == u'/' && s.at(5) == u'/') return DateMDY(s);
    return s;
}

std::optional<qint64> MulDivRounded(qint64 a, qint64 b, qint64 divisor) {
    if (divisor == 0) return std::nullopt;
    using Wide = __int128;
    Wide product = Wide(a) * b;
    Wide d = divisor;
    if (d < 0) {
        product = -product;
        d = -d;
    }
    Wide quotient = product / d;
    const Wide remainder = product % d; // same sign as the product
    const Wide twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > d || (twice == d && quotient % 2 != 0)) quotient += product < 0 ? -1 : 1;
    if (quotient > std::numeric_limits<qint64>::max() ||
        quotient < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return qint64(quotient);
}

} // namespace livrax
