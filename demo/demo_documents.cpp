#include "demo/demo_documents.h"

#include "common/cnpj.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace livrax::demo {

namespace {

int WeightedSum(const QString& digits, const QList<int>& weights) {
    int sum = 0;
    for (int i = 0; i < weights.size(); ++i)
        sum += (digits[i].unicode() - u'0') * weights[i];
    return sum;
}

QString Digit(int value) {
    return QString(QChar(u'0' + value));
}

} // namespace

int Modulo11Digit(const QString& digits, const QList<int>& weights) {
    const int remainder = WeightedSum(digits, weights) % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

QString MakeCnpj(DemoRandom& random) {
    // Eight digits of the root, then branch 0001, as most small companies have.
    const QString base = random.digits(8) + u"0001"_s;
    const QString digits = base + CnpjCheckDigits(base);
    return digits.left(2) + u'.' + digits.mid(2, 3) + u'.' + digits.mid(5, 3) + u'/' +
           digits.mid(8, 4) + u'-' + digits.mid(12, 2);
}

QString CompleteStateRegistration(const QString& state, const QString& base) {
    if (state == u"SP") {
        // Eight digits, a check digit, two digits, a check digit; each check
        // digit is the last digit of the weighted sum modulo 11.
        QString ie = base.left(8);
        ie += Digit(WeightedSum(ie, {1, 3, 4, 5, 6, 7, 8, 10}) % 11 % 10);
        ie += base.mid(8, 2);
        ie += Digit(WeightedSum(ie, {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2}) % 11 % 10);
        return ie;
    }
    // The other states: 11 minus the remainder, where a result of 10 or 11
    // gives 0.
    const auto large = [](const QString& digits, const QList<int>& weights) {
        const int value = 11 - WeightedSum(digits, weights) % 11;
        return value >= 10 ? 0 : value;
    };
    if (state == u"RJ") return base + Digit(Modulo11Digit(base, {2, 7, 6, 5, 4, 3, 2}));
    if (state == u"PR") {
        QString ie = base + Digit(large(base, {3, 2, 7, 6, 5, 4, 3, 2}));
        return ie + Digit(large(ie, {4, 3, 2, 7, 6, 5, 4, 3, 2}));
    }
    if (state == u"RS") return base + Digit(large(base, {2, 9, 8, 7, 6, 5, 4, 3, 2}));
    return base + Digit(Modulo11Digit(base, {9, 8, 7, 6, 5, 4, 3, 2})); // SC
}

QString MakeStateRegistration(DemoRandom& random, const QString& state) {
    static const QHash<QString, int> baseLengths = {
        {u"SP"_s, 10}, {u"RJ"_s, 7}, {u"PR"_s, 8}, {u"SC"_s, 8}};
    if (state == u"RS") {
        // Three digits of the municipality (never 000), then six of the firm.
        return CompleteStateRegistration(
            state,
            QString::number(random.between(1, 467)).rightJustified(3, u'0') + random.digits(6));
    }
    return CompleteStateRegistration(state, random.digits(baseLengths.value(state, 8)));
}

} // namespace livrax::demo
