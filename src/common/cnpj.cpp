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

// The CPF check digit over all of `s`: weights from s.size() + 1 down to 2.
int CpfCheckDigit(QStringView s) {
    int sum = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        sum += DigitAt(s, i) * int(s.size() + 1 - i);
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

bool IsValidCPF(const QString& text) {
    const QString digits = StripSymbols(text);
    if (digits.size() != 11) return false;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9') return false;
    QString expected = digits.left(9);
    expected.append(QChar(u'0' + CpfCheckDigit(expected)));
    expected.append(QChar(u'0' + CpfCheckDigit(expected)));
    return digits == expected;
}

} // namespace livrax
