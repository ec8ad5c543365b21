#include "books/invoice_book_settings.h"

namespace livrax::books {

using namespace Qt::StringLiterals;

const LineBookSettings<LX53Options>& LX53Settings() {
    static const LineBookSettings<LX53Options> settings{
        .key = u"PAR_LX53"_s,
        .table = u"PDE"_s,
        .lines = 15,
        .options =
            {
                {.field = &LX53Options::printIpi,
                 .line = 7,
                 .objectName = u"CB_IPI"_s,
                 .caption = u"Imprimir IPI"_s,
                 .flag = u"no-ipi"_s,
                 .flagHelp = u"Sem as linhas de IPI."_s},
                {.field = &LX53Options::printIcm,
                 .line = 8,
                 .objectName = u"CB_ICM"_s,
                 .caption = u"Imprimir ICM"_s,
                 .flag = u"no-icm"_s,
                 .flagHelp = u"Sem alíquota, imposto, isentas e outras do ICMS."_s},
            },
        .textLines = {}};
    return settings;
}

const LineBookSettings<LX55Options>& LX55Settings() {
    static const LineBookSettings<LX55Options> settings{
        .key = u"PAR_LX55"_s,
        .table = u"PDS"_s,
        .lines = 20,
        .options =
            {
                {.field = &LX55Options::printIpi,
                 .line = 7,
                 .objectName = u"CB_IPI"_s,
                 .caption = u"Imprimir IPI"_s,
                 .flag = u"no-ipi"_s,
                 .flagHelp = u"Sem as linhas de IPI."_s},
                {.field = &LX55Options::printCompany,
                 .line = 8,
                 .objectName = u"CB_EMPRESA"_s,
                 .caption = u"Imprimir Empresa"_s,
                 .checkedByDefault = false,
                 .flag = u"company"_s,
                 .flagTurns = FlagTurns::On,
                 .flagHelp = u"Com o nome da empresa."_s},
                {.field = &LX55Options::printIcm,
                 .line = 9,
                 .objectName = u"CB_ICM"_s,
                 .caption = u"Imprimir ICM"_s,
                 .flag = u"no-icm"_s,
                 .flagHelp = u"Sem base, alíquota e imposto do ICMS."_s},
                {.field = &LX55Options::printSt,
                 .line = 10,
                 .objectName = u"CB_ST"_s,
                 .caption = u"Imprimir Subst.Tribut."_s,
                 .flag = u"no-st"_s,
                 .flagHelp = u"Sem o total da substituição tributária."_s},
            },
        .textLines = {}};
    return settings;
}

} // namespace livrax::books
