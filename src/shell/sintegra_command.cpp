#include "shell/sintegra_command.h"

#include "common/dates.h"
#include "common/error.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/stop_cancel.h"
#include "efiles/sintegra_export.h"
#include "efiles/sintegra_settings.h"
#include "efiles/sintegra_staging.h"
#include "platform/stop_signals.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

const QString Name = u"livrax sintegra: "_s;

// The record types of "--records 50,54,75"; false (with the bad item) when
// one is not a type the window offers.
bool ParseRecords(const QString& text, efiles::SintegraChoice& choice, QString& bad) {
    choice = {};
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QString type = item.trimmed();
        bool* box = nullptr;
        if (type == u"50"_s)
            box = &choice.r50;
        else if (type == u"51"_s)
            box = &choice.r51;
        else if (type == u"53"_s)
            box = &choice.r53;
        else if (type == u"54"_s)
            box = &choice.r54;
        else if (type == u"55"_s)
            box = &choice.r55;
        else if (type == u"61"_s)
            box = &choice.r61;
        else if (type == u"70"_s)
            box = &choice.r70;
        else if (type == u"71"_s)
            box = &choice.r71;
        else if (type == u"75"_s)
            box = &choice.r75;
        if (!box) {
            bad = type;
            return false;
        }
        *box = true;
    }
    return true;
}

QString MessageOf(const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    return own ? own->message() : QString::fromUtf8(error.what());
}

} // namespace

QString SintegraUsage() {
    return u"sintegra [--from dd/mm/aa] [--to dd/mm/aa] [--records 50,51,53,54,55,61,70,71,75] "
           u"[--contact NOME] [--phone FONE] [--number N] [--complement TEXTO] [--out ARQUIVO]"_s;
}

int RunSintegraCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Monta o período e grava o arquivo SINTEGRA sem janelas, como o \"Exportar\" da janela "
        u"SINTEGRA - 2004. Os dados do informante vêm do cadastro da empresa e dos parâmetros "
        u"salvos da janela (PAR_SINTEGRA), que não são alterados."_s);
    parser.addHelpOption();
    parser.addOption({u"from"_s, u"Data inicial (padrão: a salva)."_s, u"dd/mm/aa"_s});
    parser.addOption({u"to"_s,
                      u"Data final (padrão: o último dia do mês de --from; sem --from, a salva)."_s,
                      u"dd/mm/aa"_s});
    parser.addOption({u"records"_s,
                      u"Tipos de registro, separados por vírgula (padrão: os marcados na "
                      u"janela). Os registros 10, 11 e 90 são sempre gravados."_s,
                      u"TIPOS"_s});
    parser.addOption({u"contact"_s, u"Pessoa de contato do registro 11."_s, u"NOME"_s});
    parser.addOption({u"phone"_s, u"Telefone de contato do registro 11."_s, u"FONE"_s});
    parser.addOption({u"number"_s, u"Número do endereço do registro 11."_s, u"N"_s});
    parser.addOption({u"complement"_s, u"Complemento do endereço do registro 11."_s, u"TEXTO"_s});
    parser.addOption(
        {u"out"_s, u"Arquivo de saída (padrão: GIA_mmaa.TXT na pasta atual)."_s, u"ARQUIVO"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax sintegra"_s} + arguments)) {
        err << Name << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << Name << "argumento inesperado \"" << parser.positionalArguments().first() << "\"\n";
        return 2;
    }
    for (const QString& option : {u"from"_s, u"to"_s}) {
        if (parser.isSet(option) && !IsValidShortDate(parser.value(option))) {
            err << Name << "data inválida: \"" << parser.value(option) << "\" (use dd/mm/aa).\n";
            return 2;
        }
    }
    efiles::SintegraChoice records;
    if (parser.isSet(u"records"_s)) {
        QString bad;
        if (!ParseRecords(parser.value(u"records"_s), records, bad)) {
            err << Name << "tipo de registro desconhecido: \"" << bad
                << "\" (use 50, 51, 53, 54, 55, 61, 70, 71 ou 75).\n";
            return 2;
        }
    }

    QString startupError;
    try {
        StartProgram([&startupError](const QString& message) { startupError = message; });
    } catch (const data::DbError& error) {
        startupError = error.message();
    }
    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!data::B_DIR(1)->isConnected() || !startupError.isEmpty()) {
        err << Name
            << (startupError.isEmpty() ? u"banco de dados 1 não configurado"_s : startupError)
            << "\n";
        return finish(1);
    }

    efiles::SintegraSettings settings = efiles::LoadSintegraSettings();
    efiles::SintegraInformant& informant = settings.informant;
    if (parser.isSet(u"from"_s)) {
        informant.startDate = parser.value(u"from"_s);
        if (!parser.isSet(u"to"_s)) informant.endDate = LastDayOfMonth(informant.startDate);
    }
    if (parser.isSet(u"to"_s)) informant.endDate = parser.value(u"to"_s);
    if (!IsBlank(informant.startDate) && !IsBlank(informant.endDate) &&
        IsValidShortDate(informant.startDate) && IsValidShortDate(informant.endDate) &&
        ParseDate(informant.startDate) > ParseDate(informant.endDate)) {
        err << Name << "período invertido: " << informant.startDate << " é depois de "
            << informant.endDate << ".\n";
        return finish(2);
    }
    if (parser.isSet(u"contact"_s)) informant.contact = parser.value(u"contact"_s);
    if (parser.isSet(u"phone"_s)) informant.phone = parser.value(u"phone"_s);
    if (parser.isSet(u"number"_s)) informant.number = parser.value(u"number"_s);
    if (parser.isSet(u"complement"_s)) informant.complement = parser.value(u"complement"_s);
    if (parser.isSet(u"records"_s)) settings.choice = records;

    if (const auto refused = efiles::CheckSintegraExport(informant)) {
        err << Name << refused->message << "\n";
        return finish(1);
    }

    // A stop signal cancels the staging's queries in the database too.
    const data::CancelOnStop cancelOnStop;
    efiles::SintegraFile file;
    try {
        const efiles::SintegraStaging staging =
            efiles::StageSintegra(efiles::StagingOptionsOf(settings));
        if (!staging.failures.isEmpty()) {
            for (const QString& failure : staging.failures)
                err << Name << "a consulta falhou: " << failure << "\n";
            err << Name << "nenhum arquivo foi gravado.\n";
            return finish(1);
        }
        file = efiles::ComposeSintegraFile(informant, settings.choice, efiles::SintegraGnre{},
                                           staging);
    } catch (const std::exception& error) {
        err << Name << MessageOf(error) << "\n";
        return finish(1);
    }
    if (platform::StopRequested()) {
        err << Name << "interrompido pelo sinal " << platform::StopSignalName()
            << "; nenhum arquivo foi gravado.\n";
        return finish(1);
    }

    const QString out = parser.isSet(u"out"_s)
                            ? parser.value(u"out"_s)
                            : QDir::current().filePath(efiles::WithDefaultExtension(
                                  efiles::ProposedSintegraFileName(QString(), informant.endDate)));
    try {
        efiles::SaveSintegraFile(out, file.lines);
    } catch (const std::exception& error) {
        err << Name << MessageOf(error) << "\n";
        return finish(1);
    }
    QTextStream(stdout) << "SINTEGRA " << informant.startDate << " a " << informant.endDate
                        << " gravado em " << out << " (" << file.lines.size() << " linhas).\n";
    return finish(0);
}

} // namespace livrax::shell
