#include "shell/datahouse_command.h"

#include "common/conditions.h"
#include "common/dates.h"
#include "common/text.h"
#include "efiles/datahouse_export.h"
#include "efiles/datahouse_settings.h"
#include "shell/command_start.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

QString DataHouseUsage() {
    return u"datahouse [--from dd/mm/aa] [--to dd/mm/aa] [--dir PASTA] [--filter SQL] "
           u"[--icms | --no-icms]"_s;
}

namespace {

// A usage error: the message on stderr, status 2.
int UsageError(QTextStream& err, const QString& message) {
    err << "livrax datahouse: " << message << "\n";
    return 2;
}

// The dates given must be dates, in order.
QString PeriodProblem(const efiles::DataHouseOptions& options) {
    if (IsBlank(options.startDate) || IsBlank(options.endDate))
        return u"informe o período com --from e --to (dd/mm/aa)."_s;
    for (const QString& date : {options.startDate, options.endDate})
        if (!IsValidShortDate(date)) return u"data inválida: \""_s + date + u"\" (use dd/mm/aa)."_s;
    if (ParseDate(options.startDate) > ParseDate(options.endDate))
        return u"período invertido: "_s + options.startDate + u" é depois de "_s + options.endDate +
               u"."_s;
    return {};
}

int Export(efiles::DataHouseOptions& options, QTextStream& err) {
    efiles::DataHouseResult result;
    try {
        result = efiles::ExportDataHouse(options);
    } catch (const efiles::DataHouseError& error) {
        err << "livrax datahouse: " << error.message() << "\n";
        return 1;
    }
    for (const QString& message : result.messages)
        err << message << "\n";
    for (const QString& failure : result.failures)
        err << "livrax datahouse: " << failure << "\n";
    if (!result.ok()) return 1;
    if (!efiles::SaveDataHouseSettings(options)) {
        err << "livrax datahouse: os arquivos foram gravados, mas os parâmetros (PAR_DH_PDS) não: "
               "o registro está em uso em outra estação ou o banco de dados não respondeu.\n";
        return 1;
    }
    QTextStream(stdout) << "DataHouse gravado em " << QDir::toNativeSeparators(result.folder)
                        << ": " << result.salesLines << " vendas (" << efiles::DataHouseSalesName()
                        << "), " << result.customerLines << " clientes ("
                        << efiles::DataHouseCustomersName() << "), " << result.errors
                        << " erros.\n";
    return 0;
}

} // namespace

int RunDataHouseCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Exporta as notas de saída emitidas no período e seus clientes para o sistema "
        u"DataHouse, sem janelas: DH_PDS_V.TXT (vendas) e DH_PDS_C.TXT (clientes) na pasta. "
        u"Os clientes sem CGC ou CEP são listados como erros. As opções não informadas vêm dos "
        u"parâmetros salvos, e os valores usados são salvos como a janela os salva."_s);
    parser.addHelpOption();
    parser.addOption({u"from"_s, u"Data de emissão inicial."_s, u"dd/mm/aa"_s});
    parser.addOption({u"to"_s, u"Data de emissão final."_s, u"dd/mm/aa"_s});
    parser.addOption({u"dir"_s,
                      u"Pasta dos arquivos (criada se não existir); sem ela, a salva ou a pasta "
                      u"EXPORTAR ao lado do banco de dados 1."_s,
                      u"PASTA"_s});
    parser.addOption({u"filter"_s, u"Condição SQL adicional sobre as notas."_s, u"SQL"_s});
    parser.addOption({u"icms"_s, u"Grava alíquota, base e valor do ICMS nas vendas."_s});
    parser.addOption({u"no-icms"_s, u"Grava zero na alíquota, base e valor do ICMS."_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax datahouse"_s} + arguments))
        return UsageError(err, parser.errorText());
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return UsageError(err, u"argumento inesperado: \""_s +
                                   parser.positionalArguments().join(u' ') + u"\"."_s);
    if (parser.isSet(u"icms"_s) && parser.isSet(u"no-icms"_s))
        return UsageError(err, u"use --icms ou --no-icms, não os dois."_s);
    if (parser.isSet(u"filter"_s)) {
        QString filter = parser.value(u"filter"_s);
        if (const QString problem = FilterProblem(filter.replace(u'#', u' ')); !problem.isEmpty())
            return UsageError(err, u"filtro recusado (só pode restringir as notas): "_s + problem +
                                       u"."_s);
    }

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"datahouse"_s, err)) return finish(1);

    efiles::DataHouseOptions options = efiles::LoadDataHouseSettings();
    if (parser.isSet(u"from"_s)) options.startDate = parser.value(u"from"_s);
    if (parser.isSet(u"to"_s)) options.endDate = parser.value(u"to"_s);
    if (parser.isSet(u"dir"_s)) options.folder = parser.value(u"dir"_s);
    if (parser.isSet(u"filter"_s)) options.filter = parser.value(u"filter"_s);
    if (parser.isSet(u"icms"_s)) options.writeIcms = true;
    if (parser.isSet(u"no-icms"_s)) options.writeIcms = false;
    if (const QString problem = PeriodProblem(options); !problem.isEmpty())
        return finish(UsageError(err, problem));
    return finish(Export(options, err));
}

} // namespace livrax::shell
