#include "common/amount_words.h"

#include "common/fields.h"
#include "common/text.h"

using namespace Qt::StringLiterals;

namespace livrax {

namespace {

// Words for the digits 1..9 of each position, and for 11..19.
const char16_t* const HundredWords[] = {u"CENTO",        u"DUZENTOS",   u"TREZENTOS",
                                        u"QUATROCENTOS", u"QUINHENTOS", u"SEISCENTOS",
                                        u"SETECENTOS",   u"OITOCENTOS", u"NOVECENTOS"};
const char16_t* const TeenWords[] = {u"ONZE",      u"DOZE",      u"TREZE",   u"QUATORZE", u"QUINZE",
                                     u"DEZESSEIS", u"DEZESSETE", u"DEZOITO", u"DEZENOVE"};
const char16_t* const TenWords[] = {u"DEZ",      u"VINTE",   u"TRINTA",  u"QUARENTA", u"CINQUENTA",
                                    u"SESSENTA", u"SETENTA", u"OITENTA", u"NOVENTA"};
const char16_t* const UnitWords[] = {u"UM",   u"DOIS", u"TRES", u"QUATRO", u"CINCO",
                                     u"SEIS", u"SETE", u"OITO", u"NOVE"};

// Scale words (singular, plural) from the units group up to the trillions.
struct Scale {
    const char16_t* singular;
    const char16_t* plural;
};
const Scale Scales[] = {{u" ", u" "},
                        {u"MIL,", u"MIL,"},
                        {u"MILHÃO,", u"MILHÕES,"},
                        {u"BILHÃO,", u"BILHÕES,"},
                        {u"TRILHÃO,", u"TRILHÕES,"}};

int DigitValue(QChar c) {
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0;
}

int GroupValue(QStringView digits) {
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + DigitValue(c);
    return value;
}

} // namespace

QString HundredsInWords(const QString& group) {
    if (IsBlank(group)) return QString();
    const QString g = ZeroPad(group, 3);
    const int h = DigitValue(g.at(0));
    const int t = DigitValue(g.at(1));
    const int u = DigitValue(g.at(2));

    QString r;
    if (h == 1 && t == 0 && u == 0) {
        r = u"CEM"_s;
    } else {
        if (h > 0) {
            r = QString::fromUtf16(HundredWords[h - 1]) + (t + u > 0 ? u" E "_s : u" "_s);
        }
        if (t == 1 && u > 0) {
            r += u' ' + QString::fromUtf16(TeenWords[u - 1]);
        } else {
            if (t > 0) {
                r += u' ' + QString::fromUtf16(TenWords[t - 1]) + (u > 0 ? u" E "_s : u" "_s);
            }
            r += u > 0 ? QString::fromUtf16(UnitWords[u - 1]) : u" "_s;
        }
    }
    return r + u' ';
}

QString AmountInWords(const QString& value) {
    const QString t = FormatDecimal(value, 18, 2);
    if (IsBlank(t)) return QString();
    // Only a positive amount that fits the five groups is written. The sign
    // and the size are judged on the whole number: cut to 18 characters, a
    // larger amount would lose its leading digits (and its sign) and be
    // written as a different amount. Leading zeros are no part of the size:
    // cutting them off changes nothing.
    const QString whole = FormatDecimal(value, 0, 2); // digits, comma, two decimals
    if (whole.startsWith(u'-')) return QString();
    qsizetype firstDigit = 0;
    while (firstDigit < whole.size() - 4 && whole.at(firstDigit) == u'0')
        ++firstDigit;
    if (whole.size() - firstDigit > 18) return QString();
    const QString trimmed = t.trimmed();
    // Characters 1-15 are five groups of three digits (trillions first),
    // 16 the comma, 17-18 the cents.
    const QString s = ZeroPad(trimmed, 18);
    const QStringView digits(s);

    const int cents = GroupValue(digits.mid(16, 2));
    const QString centsText =
        cents >= 1 ? HundredsInWords(s.mid(16, 2)) + (cents == 1 ? u"CENTAVO"_s : u"CENTAVOS"_s)
                   : QString();

    // Groups from units (index 0) up to trillions (index 4).
    int groups[5];
    for (int i = 0; i < 5; ++i)
        groups[i] = GroupValue(digits.mid(12 - 3 * i, 3));

    QString text = u" "_s;
    if (groups[0] != 0 || groups[1] != 0 || groups[2] != 0) {
        text = (groups[0] == 1 ? u"REAL"_s : u"REAIS"_s) + (cents >= 1 ? u" E "_s : u" "_s);
    }
    text += centsText;

    for (int i = 0; i < 5; ++i) {
        if (groups[i] == 0) continue;
        const Scale& scale = Scales[i];
        text = HundredsInWords(s.mid(12 - 3 * i, 3)) +
               QString::fromUtf16(groups[i] == 1 ? scale.singular : scale.plural) + u' ' + text;
    }

    // One pass: each pair of spaces becomes one (a run of three leaves two).
    text.replace(u"  "_s, u" "_s);
    if (text.startsWith(u"UM "_s)) text.prepend(u'H');
    return text;
}

QString AmountInWords(qint64 value) {
    return AmountInWords(QString::number(value));
}

} // namespace livrax
