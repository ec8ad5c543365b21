#include "registers/register_amounts.h"

namespace livrax::registers {

using namespace Qt::StringLiterals;

std::optional<qint64> ParseAmount(const QString& text, int integerDigits) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return 0;
    qint64 whole = 0;
    int wholeDigits = 0;
    qint64 cents = 0;
    int decimals = 0;
    bool separator = false;
    for (const QChar c : trimmed) {
        if (c == u',' || c == u'.') {
            if (separator) return std::nullopt;
            separator = true;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (!separator) {
            // Leading zeros take no place in the column.
            if (wholeDigits > 0 || digit != 0) ++wholeDigits;
            if (wholeDigits > integerDigits) return std::nullopt;
            whole = whole * 10 + digit;
        } else if (decimals < 2) {
            cents = cents * 10 + digit;
            ++decimals;
        }
    }
    if (trimmed == u","_s || trimmed == u"."_s) return std::nullopt;
    while (decimals < 2) {
        cents *= 10;
        ++decimals;
    }
    return whole * 100 + cents;
}

QString AmountText(qint64 hundredths) {
    const QString sign = hundredths < 0 ? u"-"_s : QString();
    const qint64 magnitude = hundredths < 0 ? -hundredths : hundredths;
    return sign + QString::number(magnitude / 100) + u'.' +
           QString::number(magnitude % 100).rightJustified(2, u'0');
}

QString AmountProblem(const QString& field, const QString& text) {
    return u"Valor inválido no campo %1: %2"_s.arg(field, text.trimmed());
}

} // namespace livrax::registers
