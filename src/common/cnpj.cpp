#include "common/cnpj.h"

#include "common/text.h"

namespace livrax {

namespace {

int DigitAt(QStringView s, qsizetype i) {
    if (i >= s.size()) return 0;
    const QChar c = s.at(i);
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0;
}

// One check digit over the digits of `s`, whose length fixes the weights:
// they run 2..9 repeatedly from the rightmost digit leftwards.
int CheckDigit(QStringView s) {
    int sum = 0;
    int weight = 2;
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        sum += DigitAt(s, i) * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int remainder = sum % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

} // namespace

QString CnpjCheckDigits(const QString& base) {
    // The base is read as exactly 12 positions: missing ones count as 0.
    QString digits = base.left(12).leftJustified(12, u'0');
    const int first = CheckDigit(digits);
    digits.append(QChar(u'0' + first));
    const int second = CheckDigit(digits);
    return QString(QChar(u'0' + first)) + QChar(u'0' + second);
}

bool IsValidCNPJ(const QString& text) {
    const QString digits = StripSymbols(text);
    if (digits.isEmpty()) return false;
    const QString base = digits.left(12);
    return digits == base + CnpjCheckDigits(base);
}

} // namespace livrax
