#include "books/lx70_settings.h"

#include "common/fields.h"
#include "common/numbers.h"

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;

namespace {

// An amount line: written with `width` and two decimals, read cut to two.
BookTextLine<LX70Options> AmountLine(int line, qint64 LX70Options::*field, int width) {
    return {
        line, [field, width](const LX70Options& o) { return FormatScaled(o.*field, width, 2); },
        [field](LX70Options& o, const QString& text) { o.*field = ToScaled(text.trimmed(), 2); }};
}

BookTextLine<LX70Options> TextLine(int line, QString LX70Options::*field) {
    return {line, [field](const LX70Options& o) { return o.*field; },
            [field](LX70Options& o, const QString& text) { o.*field = text; }};
}

} // namespace

const LineBookSettings<LX70Options>& LX70Settings() {
    static const LineBookSettings<LX70Options> settings{
        .key = u"PAR_LX70"_s,
        .table = u"PDS"_s,
        .lines = 20,
        .options =
            {
                {.field = &LX70Options::zeroDeductions,
                 .line = 10,
                 .objectName = u"CB_ZERAR"_s,
                 .caption = u"Zerar Deduções"_s,
                 .checkedByDefault = false,
                 .flag = u"zero-deductions"_s,
                 .flagTurns = FlagTurns::On,
                 .flagHelp = u"LX70: deduções zeradas (\"Zerar Deduções\")."_s},
                {.field = &LX70Options::copyNetToBase,
                 .line = 12,
                 .objectName = u"CB_COPIAR"_s,
                 .caption = u"Copiar Valor Liquido p/ Base do ISQN"_s,
                 .checkedByDefault = false,
                 .flag = u"copy-net-to-base"_s,
                 .flagTurns = FlagTurns::On,
                 .flagHelp = u"LX70: a base do ISSQN de cada nota é o valor líquido."_s},
                {.field = &LX70Options::productsFirst,
                 .line = 13,
                 .objectName = u"CB_PRODUTOS"_s,
                 .caption = u"Produtos x Base"_s,
                 .checkedByDefault = false,
                 .flag = u"products-first"_s,
                 .flagTurns = FlagTurns::On,
                 .flagHelp = u"LX70: total na primeira coluna e líquido na última "
                             u"(\"Produtos x Base\")."_s},
            },
        .textLines = {
            AmountLine(7, &LX70Options::rate, 6),
            {8, [](const LX70Options& o) { return QString::number(int(o.method)); },
             [](LX70Options& o, const QString& text) {
                 const int index = ToInt(text);
                 o.method = index >= 0 && index <= 2 ? LX70Method(index) : LX70Method::OnPrint;
             }},
            {9, [](const LX70Options& o) { return o.gross ? u"1"_s : u"0"_s; },
             [](LX70Options& o, const QString& text) { o.gross = ToInt(text) == 1; }},
            {11,
             [](const LX70Options& o) {
                 return FormatDecimal(QString::number(o.professionals), 7, 0);
             },
             [](LX70Options& o, const QString& text) {
                 o.professionals = std::max(0, ToInt(text));
             }},
            // Two decimals: 12,50 comes back as 12,50 (a stored "12" reads 12,00).
            AmountLine(14, &LX70Options::issValue, 12),
            TextLine(15, &LX70Options::paymentDate),
            TextLine(16, &LX70Options::note),
        }};
    return settings;
}

} // namespace livrax::books
