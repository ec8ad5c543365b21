#include "efiles/state_registration.h"

#include <QSet>

#include <initializer_list>
#include <map>

using namespace Qt::StringLiterals;

namespace livrax::efiles {

namespace {

int Digit(const QString& digits, qsizetype i) {
    return digits.at(i).unicode() - u'0';
}

// Sum of the first weights.size() digits, each times its weight.
int WeightedSum(const QString& digits, std::initializer_list<int> weights) {
    int sum = 0;
    qsizetype i = 0;
    for (const int weight : weights)
        sum += Digit(digits, i++) * weight;
    return sum;
}

// The usual modulo-11 digit: a remainder below 2 gives 0, otherwise 11 minus
// the remainder.
int Mod11Digit(int sum) {
    const int remainder = sum % 11;
    return remainder < 2 ? 0 : 11 - remainder;
}

bool DigitIs(const QString& digits, qsizetype i, int expected) {
    return Digit(digits, i) == expected;
}

bool CheckAC(const QString& d) {
    if (!d.startsWith(u"01"_s)) return false;
    const int first = Mod11Digit(WeightedSum(d, {4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}));
    const int second = Mod11Digit(WeightedSum(d, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}));
    return DigitIs(d, 11, first) && DigitIs(d, 12, second);
}

bool CheckAL(const QString& d) {
    return d.startsWith(u"24"_s) &&
           DigitIs(d, 8, Mod11Digit(WeightedSum(d, {9, 8, 7, 6, 5, 4, 3, 2})));
}

// Bahia: 8 or 9 digits, the last two check digits, the second computed first.
// The first digit (8 digits) or the second (9 digits) chooses modulo 10 or 11.
bool CheckBA(const QString& d) {
    const qsizetype base = d.size() - 2;
    const QChar selector = d.size() == 8 ? d.at(0) : d.at(1);
    const bool mod10 = QStringView(u"0123458").contains(selector);
    const auto checkDigit = [&](qsizetype count) {
        int sum = 0;
        for (qsizetype i = 0; i < count; ++i)
            sum += Digit(d, i) * int(count + 1 - i);
        if (mod10) return sum % 10 == 0 ? 0 : 10 - sum % 10;
        return Mod11Digit(sum);
    };
    const int second = checkDigit(base);
    if (!DigitIs(d, base + 1, second)) return false;
    // The first check digit covers the base followed by the second one.
    QString withSecond = d.left(base) + QChar(u'0' + second);
    int sum = 0;
    for (qsizetype i = 0; i <= base; ++i)
        sum += Digit(withSecond, i) * int(base + 2 - i);
    const int first = mod10 ? (sum % 10 == 0 ? 0 : 10 - sum % 10) : Mod11Digit(sum);
    return DigitIs(d, base, first);
}

bool CheckGO(const QString& d) {
    const int prefix = d.left(2).toInt();
    if (prefix != 10 && prefix != 11 && (prefix < 20 || prefix > 29)) return false;
    return DigitIs(d, 8, Mod11Digit(WeightedSum(d, {9, 8, 7, 6, 5, 4, 3, 2})));
}

// Minas Gerais: municipality (3), number (6), order (2), two check digits.
bool CheckMG(const QString& d) {
    // First digit: a "0" after the municipality, weights 1 and 2 from the
    // left, the digits of the products summed, up to the next ten.
    const QString padded = d.left(3) + u'0' + d.mid(3, 8);
    int sum = 0;
    for (qsizetype i = 0; i < padded.size(); ++i) {
        const int product = Digit(padded, i) * (i % 2 == 0 ? 1 : 2);
        sum += product / 10 + product % 10;
    }
    const int first = (10 - sum % 10) % 10;
    if (!DigitIs(d, 11, first)) return false;
    // Second digit: the eleven digits and the first check digit, weights 2
    // to 11 from the right, repeating.
    sum = 0;
    int weight = 2;
    for (qsizetype i = 11; i >= 0; --i) {
        sum += Digit(d, i) * weight;
        weight = weight == 11 ? 2 : weight + 1;
    }
    return DigitIs(d, 12, Mod11Digit(sum));
}

bool CheckPR(const QString& d) {
    const int first = Mod11Digit(WeightedSum(d, {3, 2, 7, 6, 5, 4, 3, 2}));
    const int second = Mod11Digit(WeightedSum(d, {4, 3, 2, 7, 6, 5, 4, 3, 2}));
    return DigitIs(d, 8, first) && DigitIs(d, 9, second);
}

bool CheckRJ(const QString& d) {
    return DigitIs(d, 7, Mod11Digit(WeightedSum(d, {2, 7, 6, 5, 4, 3, 2})));
}

// Rondônia: 14 digits since 2000; the older 9-digit numbers (municipality,
// five digits of the company, check digit) are still read. A difference of
// 10 or 11 gives 0 or 1.
bool CheckRO(const QString& d) {
    int sum = 0;
    if (d.size() == 14) {
        sum = WeightedSum(d, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    } else {
        const QString company = d.mid(3, 5);
        sum = WeightedSum(company, {6, 5, 4, 3, 2});
    }
    int digit = 11 - sum % 11;
    if (digit >= 10) digit -= 10;
    return DigitIs(d, d.size() - 1, digit);
}

bool CheckRS(const QString& d) {
    return DigitIs(d, 9, Mod11Digit(WeightedSum(d, {2, 9, 8, 7, 6, 5, 4, 3, 2})));
}

bool CheckSC(const QString& d) {
    return DigitIs(d, 8, Mod11Digit(WeightedSum(d, {9, 8, 7, 6, 5, 4, 3, 2})));
}

// São Paulo: the rightmost digit of the remainder itself.
int SpDigit(int sum) {
    return sum % 11 % 10;
}

bool CheckSP(const QString& d) {
    const int first = SpDigit(WeightedSum(d, {1, 3, 4, 5, 6, 7, 8, 10}));
    const int second = SpDigit(WeightedSum(d, {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
    return DigitIs(d, 8, first) && DigitIs(d, 11, second);
}

// A São Paulo rural producer: "P", a "0", seven digits, the check digit of
// those eight, three more digits.
bool CheckSPRural(const QString& d) {
    return DigitIs(d, 8, SpDigit(WeightedSum(d, {1, 3, 4, 5, 6, 7, 8, 10})));
}

// One state's rule: the lengths it accepts and the test of the check digits
// (and fixed prefix) of a number of one of those lengths.
struct StateRule {
    QList<int> lengths;
    bool (*checkDigits)(const QString&);
};

const std::map<QString, StateRule>& Rules() {
    static const std::map<QString, StateRule> rules{
        {u"AC"_s, {{13}, CheckAC}}, {u"AL"_s, {{9}, CheckAL}},     {u"BA"_s, {{8, 9}, CheckBA}},
        {u"GO"_s, {{9}, CheckGO}},  {u"MG"_s, {{13}, CheckMG}},    {u"PR"_s, {{10}, CheckPR}},
        {u"RJ"_s, {{8}, CheckRJ}},  {u"RO"_s, {{9, 14}, CheckRO}}, {u"RS"_s, {{10}, CheckRS}},
        {u"SC"_s, {{9}, CheckSC}},  {u"SP"_s, {{12}, CheckSP}},
    };
    return rules;
}

QString LengthText(const QList<int>& lengths) {
    QStringList parts;
    for (const int n : lengths)
        parts.append(QString::number(n));
    return parts.join(u" ou "_s);
}

} // namespace

bool IsStateCode(const QString& state) {
    static const QSet<QString> states{
        u"AC"_s, u"AL"_s, u"AM"_s, u"AP"_s, u"BA"_s, u"CE"_s, u"DF"_s, u"ES"_s, u"GO"_s,
        u"MA"_s, u"MG"_s, u"MS"_s, u"MT"_s, u"PA"_s, u"PB"_s, u"PE"_s, u"PI"_s, u"PR"_s,
        u"RJ"_s, u"RN"_s, u"RO"_s, u"RR"_s, u"RS"_s, u"SC"_s, u"SE"_s, u"SP"_s, u"TO"_s,
    };
    return states.contains(state);
}

QStringList CheckedRegistrationStates() {
    QStringList states;
    for (const auto& [state, rule] : Rules())
        states.append(state);
    return states;
}

QString StateRegistrationProblem(const QString& state, const QString& text) {
    QString number = text.trimmed();
    if (number.isEmpty()) return u"inscrição estadual em branco (use ISENTO)"_s;
    if (number == u"ISENTO"_s) return {};
    const auto rule = Rules().find(state);
    if (rule == Rules().end()) return {};
    number.remove(u'.').remove(u'-').remove(u'/').remove(u' ');
    const bool rural = state == u"SP"_s && number.startsWith(u'P');
    if (rural) number.remove(0, 1);
    for (const QChar c : number)
        if (c < u'0' || c > u'9')
            return u"inscrição estadual \"%1\" com caracteres que não são dígitos"_s.arg(
                text.trimmed());
    const QList<int> lengths = rural ? QList<int>{12} : rule->second.lengths;
    if (!lengths.contains(int(number.size())))
        return u"inscrição estadual \"%1\" de %2 deve ter %3 dígitos"_s.arg(text.trimmed(), state,
                                                                            LengthText(lengths));
    const bool valid = rural ? CheckSPRural(number) : rule->second.checkDigits(number);
    if (!valid)
        return u"inscrição estadual \"%1\" com dígito verificador errado para %2"_s.arg(
            text.trimmed(), state);
    return {};
}

} // namespace livrax::efiles
