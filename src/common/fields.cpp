#include "common/fields.h"

#include <QVarLengthArray>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

const QChar Hash = u'#';

// The longest field FieldAt returns.
constexpr int MaxFieldRead = 999;

} // namespace

QString TextBefore(const QString& text, const QString& sep) {
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? text : text.left(at);
}

QString TextAfter(const QString& text, const QString& sep) {
    const qsizetype at = sep.isEmpty() ? -1 : text.indexOf(sep);
    return at < 0 ? text : text.mid(at + sep.size());
}

QString KeepChars(const QString& text, const QString& set) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (set.contains(c)) result.append(c);
    }
    return result;
}

QString PadRight(const QString& value, int width) {
    if (width <= 0) return value;
    return value.leftJustified(width, u' ', true);
}

QString PadLeft(const QString& value, int width) {
    const QString v = value.isEmpty() ? u"0"_s : value;
    if (width <= 0) return v;
    if (v.size() > width) return v.right(width);
    return v.rightJustified(width, u' ');
}

QString ZeroPad(const QString& value, int width) {
    const QString v = value.trimmed();
    if (width <= 0) return v;
    if (v.size() > width) return v.right(width);
    return v.rightJustified(width, u'0');
}

QString ZeroPad(qint64 value, int width) {
    return ZeroPad(QString::number(value), width);
}

QString Spaces(int n) {
    return n > 0 ? QString(n, u' ') : QString();
}

QString Zeros(int n) {
    return n > 0 ? QString(n, u'0') : QString();
}

int ToInt(const QString& text, bool* ok) {
    QString s = KeepChars(text.trimmed(), u"-0123456789"_s);
    if (s.isEmpty()) s = u"0"_s;
    s.truncate(9);
    bool converted = false;
    // Nine characters always fit in an int; what can fail is a sign that is
    // not in front ("1-2") or stands alone ("-").
    const int value = s.toInt(&converted);
    if (ok) *ok = converted;
    return converted ? value : 0;
}

QString FormatDecimal(const QString& value, int width, int decimals) {
    // One pass over the value into a buffer (the characters kept, the
    // separators read, the sign), then the integer part and the decimals cut
    // or filled with zeros, padded on the left as PadLeft does: a report
    // formats thousands of values, and each step on its own text allocated.
    QVarLengthArray<char16_t, 64> kept;
    bool comma = false;
    bool dot = false;
    bool blank = true;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (!c.isSpace()) blank = false;
        if ((u >= u'0' && u <= u'9') || u == u'-' || u == u',' || u == u'.') {
            kept.append(u);
            comma = comma || u == u',';
            dot = dot || u == u'.';
        }
    }
    if (blank) kept = {u'0'};
    // With both separators "." groups thousands; alone it is the decimal point.
    qsizetype n = 0;
    bool innerSign = false;
    for (char16_t u : kept) {
        if (u == u'.') {
            if (comma && dot) continue;
            u = u',';
        }
        if (u == u'-' && n > 0) innerSign = true;
        kept[n++] = u;
    }
    kept.resize(n);
    // A trailing or inner sign makes the number positive.
    if (innerSign) kept.removeIf([](char16_t u) { return u == u'-'; });

    QVarLengthArray<char16_t, 64> digits;
    qsizetype at = 0;
    while (at < kept.size() && kept[at] != u',')
        digits.append(kept[at++]);
    if (decimals > 0) {
        // Decimals are cut, never rounded; a short fraction is filled with zeros.
        digits.append(u',');
        ++at; // past the comma
        for (int i = 0; i < decimals; ++i, ++at)
            digits.append(at < kept.size() ? kept[at] : u'0');
    }
    if (digits.isEmpty()) digits.append(u'0');
    const qsizetype size = digits.size();
    if (width <= 0 || size >= width) {
        const qsizetype from = width > 0 ? size - width : 0;
        return QString(reinterpret_cast<const QChar*>(digits.data() + from), size - from);
    }
    QString text(width, u' ');
    std::copy(digits.begin(), digits.end(),
              reinterpret_cast<char16_t*>(text.data()) + (width - size));
    return text;
}

QString FormatDecimal(qint64 value, int width, int decimals) {
    return FormatDecimal(QString::number(value), width, decimals);
}

QString Quote(const QString& text, int maxLen) {
    QString s = maxLen >= 1 ? text.left(maxLen) : text;
    s.replace(u'\'', u"''"_s);
    return u'\'' + s + u'\'';
}

QString FieldArray::split(const QString& line, int count) {
    // Fields 1..limit are cleared and refilled; count 0 (or less) means all.
    const int limit = count > 0 ? qMin(count, Size) : Size;
    for (int i = 0; i < limit; ++i)
        m_fields[i].clear();

    if (!line.trimmed().isEmpty()) {
        int current = 1;
        for (const QChar c : line) {
            if (c == Hash) {
                if (++current > limit) break;
            } else {
                m_fields[current - 1].append(c);
            }
        }
    }
    return count >= 1 && count <= Size ? m_fields[count - 1] : QString();
}

QString FieldArray::field(int i) const {
    return i >= 1 && i <= Size ? m_fields[i - 1] : QString();
}

QStringList FieldArray::fields(int count) const {
    const int n = count <= 0 || count > Size ? Size : count;
    QStringList result;
    result.reserve(n);
    for (int i = 0; i < n; ++i)
        result.append(m_fields[i]);
    return result;
}

FieldArray& FieldArrayA() {
    static FieldArray array;
    return array;
}

FieldArray& FieldArrayB() {
    static FieldArray array;
    return array;
}

QString SplitFields(const QString& line, int count) {
    return FieldArrayA().split(line, count);
}

QStringList SplitToList(const QString& line, int max) {
    QStringList result;
    if (line.trimmed().isEmpty()) return result;
    QString current;
    for (const QChar c : line) {
        if (c == Hash) {
            result.append(current);
            current.clear();
            if (max > 0 && result.size() >= max) return result;
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty()) result.append(current);
    return result;
}

QString FieldAt(const QString& line, int n) {
    if (n < 1) return QString();
    qsizetype start = line.startsWith(Hash) ? 1 : 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype hash = line.indexOf(Hash, start);
        if (hash < 0) return QString();
        start = hash + 1;
    }
    const qsizetype end = line.indexOf(Hash, start);
    const qsizetype length = (end < 0 ? line.size() : end) - start;
    return line.mid(start, qMin<qsizetype>(length, MaxFieldRead));
}

QString SetFieldAt(const QString& line, int n, const QString& value) {
    if (line.isEmpty() || n < 1) return line;
    QString s = line;
    // A line holds one field per "#", plus one for text after the last "#".
    // When field n is missing, "#" characters are appended until there are n
    // of them, so that every field up to n ends in "#".
    const qsizetype hashes = s.count(Hash);
    const qsizetype fields = hashes + (s.endsWith(Hash) ? 0 : 1);
    if (fields < n) s.append(QString(n - hashes, Hash));
    qsizetype start = 0;
    for (int i = 1; i < n; ++i)
        start = s.indexOf(Hash, start) + 1;
    qsizetype end = s.indexOf(Hash, start);
    if (end < 0) end = s.size();
    return s.replace(start, end - start, value);
}

QString JoinFields(const QStringList& values, int count) {
    const qsizetype n = count <= 0 ? values.size() : qMin<qsizetype>(count, values.size());
    QString result;
    qsizetype pendingEmpty = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QString& v = values.at(i);
        if (v.isEmpty() || v == u"#"_s) {
            ++pendingEmpty; // written only when a non-empty value follows
            continue;
        }
        result.append(QString(pendingEmpty, Hash));
        pendingEmpty = 0;
        result.append(v);
        result.append(Hash);
    }
    return result;
}

} // namespace livrax
