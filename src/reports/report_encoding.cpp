#include "reports/report_encoding.h"

#include "common/fields.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {
constexpr int TitleWidth = 60;
} // namespace

QString StoredTitle(const QString& title) {
    QString stored = title;
    stored.remove(u'#');
    return stored.left(TitleWidth);
}

QString StoredCondition(const QString& condition) {
    QString stored = condition;
    return stored.replace(u'#', u' ');
}

QString StoredText(const QString& text) {
    return StoredCondition(text);
}

QString StoredPicture(const QString& picture) {
    QString stored = picture;
    return stored.replace(u'#', u'&');
}

QString ShownPicture(const QString& stored) {
    QString shown = stored;
    return shown.replace(u'&', u'#');
}

QString StoredFontStyle(const QString& style) {
    static const QStringList styles = {u"fsBold"_s, u"fsItalic"_s, u"fsBold,fsItalic"_s,
                                       u"fsunderline"_s, u"fsstrikeout"_s};
    return styles.contains(style) ? style : QString();
}

QString StoredFlags(const QString& flags, int width) {
    return PadRight(flags, width);
}

QChar FlagAt(const QString& flags, int position) {
    return position >= 1 && position <= flags.size() ? flags.at(position - 1) : QChar(u' ');
}

QString WithFlag(const QString& flags, int position, QChar value) {
    if (position < 1) return flags;
    QString result = flags;
    if (result.size() < position) result = PadRight(result, position);
    result[position - 1] = value;
    return result;
}

QString StoredNumber(const QString& number, int width, int decimals) {
    if (number.trimmed().isEmpty()) return QString();
    return FormatDecimal(number, width, decimals);
}

QString OrDefault(const QString& value, const QString& fallback) {
    return value.trimmed().isEmpty() ? fallback : value;
}

} // namespace livrax::reports
