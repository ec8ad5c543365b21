#include "shell/sintegra_command.h"

#include "shell/command_start.h"
#include "shell/sintegra_check_command.h"
#include "shell/sintegra_import_command.h"

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

// The GNRE of record 55 is typed in the window and never saved: without a
// window the record would go out blank, so it is left to the window.
const QString GnreOnlyInTheWindow =
    u"o registro 55 (GNRE) é gravado só pela janela SINTEGRA - 2004, onde se informam os "
    u"dados da guia"_s;

// The record types of "--records 50,54,75"; false (with the bad item) when
// one is not a type the window offers.
bool ParseRecords(const QString& text, efiles::SintegraChoice& choice, QString& bad) {
    choice = {};
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QString type = item.trimmed();
        bool number = false;
        bool* box = choice.box(type.toInt(&number));
        if (!number || !box) {
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
    return u"sintegra [--from dd/mm/aa] [--to dd/mm/aa] [--records 50,51,53,54,61,70,71,75] "
           u"[--contact NOME] [--phone FONE] [--number N] [--complement TEXTO] [--out ARQUIVO]"
           u" | "_s +
           SintegraCheckUsage() + u" | "_s + SintegraImportUsage();
}

int RunSintegraCommand(const QStringList& arguments) {
    if (arguments.value(0) == u"check"_s) return RunSintegraCheckCommand(arguments.mid(1));
    if (arguments.value(0) == u"import"_s) return RunSintegraImportCommand(arguments.mid(1));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Monta o período e grava o arquivo SINTEGRA sem janelas, como o \"Exportar\" da janela "
        u"SINTEGRA - 2004. Os dados do informante vêm do cadastro da empresa e dos parâmetros "
        u"salvos da janela (PAR_SINTEGRA), que não são alterados.\n"
        u"\"livrax sintegra check ARQUIVO\" confere um arquivo SINTEGRA (veja "
        u"\"livrax sintegra check --help\").\n"
        u"\"livrax sintegra import ARQUIVO\" importa as notas (registros 50) de um arquivo "
        u"SINTEGRA "
        u"(veja \"livrax sintegra import --help\")."_s);
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
                << "\" (use 50, 51, 53, 54, 61, 70, 71 ou 75).\n";
            return 2;
        }
        if (records.r55) {
            err << Name << GnreOnlyInTheWindow << ".\n";
            return 2;
        }
    }

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"sintegra"_s, err)) return finish(1);

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
    if (settings.choice.r55) {
        err << Name << "registro 55 não gravado: " << GnreOnlyInTheWindow << ".\n";
        settings.choice.r55 = false;
    }

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
