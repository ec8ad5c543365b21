#include "demo/demo_documents.h"

#include "common/cnpj.h"

namespace livrax::demo {

namespace {

int WeightedSum(const QString& digits, const QList<int>& weights) {
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i) sum += (digits[i].unicode() - u'0') * weights[i];
    return sum;
}

QString Digit(int value) { return QString(QChar(u'0' + value)); }

} // namespace

int Modulo11Digit(const QString& digits, const QList<int>& weights) {
    const int remainder = WeightedSum(digits, weights) % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

QString MakeCnpj(DemoRandom& random) {
    // Eight digits of the root, then branch 0001, as most small companies have.
    const QString base = random.digits(8) + QStringLiteral("0001");
    const QString digits = base + CnpjCheckDigits(base);
    return digits.left(2) + u'.' + digits.mid(2, 3) + u'.' + digits.mid(5, 3) + u'/' +
           digits.mid(8, 4) + u'-' + digits.mid(12, 2);
}

QString MakeStateRegistration(DemoRandom& random, const QString& state) {
    if (state == u"SP") {
        // Eight digits, a check digit, two digits, a check digit; each check
        // digit is the last digit of the weighted sum modulo 11.
        QString ie = random.digits(8);
        ie += Digit(WeightedSum(ie, {1, 3, 4, 5, 6, 7, 8, 10}) % 11 % 10);
        ie += random.digits(2);
        ie += Digit(WeightedSum(ie, {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2}) % 11 % 10);
        return ie;
    }
    if (state == u"RJ") {
        const QString base = random.digits(7);
        return base + Digit(Modulo11Digit(base, {2, 7, 6, 5, 4, 3, 2}));
    }
    if (state == u"PR") {
        QString ie = random.digits(8);
        const auto large = [](const QString& digits, const QList<int>& weights) {
            const int value = 11 - WeightedSum(digits, weights) % 11;
            return value >= 10 ? 0 : value;
        };
        ie += Digit(large(ie, {3, 2, 7, 6, 5, 4, 3, 2}));
        ie += Digit(large(ie, {4, 3, 2, 7, 6, 5, 4, 3, 2}));
        return ie;
    }
    if (state == u"RS") {
        // Three digits of the municipality (never 000), then six of the firm.
        const QString base = QString::number(random.between(1, 467)).rightJustified(3, u'0') +
                             random.digits(6);
        const int value = 11 - WeightedSum(base, {2, 9, 8, 7, 6, 5, 4, 3, 2}) % 11;
        return base + Digit(value >= 10 ? 0 : value);
    }
    // SC
    const QString base = random.digits(8);
    return base + Digit(Modulo11Digit(base, {9, 8, 7, 6, 5, 4, 3, 2}));
}

} // namespace livrax::demo
