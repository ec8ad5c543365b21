#include "shell/report_currency_command.h"

#include "common/dates.h"
#include "data/globals.h"
#include "platform/clock.h"
#include "reports/report_manager.h"
#include "shell/command_start.h"
#include "shell/command_status.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

const QString Name = u"livrax report currency: "_s;

} // namespace

QString ReportCurrencyUsage() {
    return u"report currency --title MOEDA --value VALOR"_s;
}

int RunReportCurrencyCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Define a moeda do dia dos relatórios do usuário ([GB_TITMOEDA] e [GB_VALMOEDA]) e "
        u"grava a cotação de hoje da moeda (compra e venda), como o usuário registrado."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"currency"_s, u"A ação."_s);
    parser.addOption({u"title"_s,
                      u"Nome da moeda: letras, números e espaços, até 20 caracteres (gravado em "
                      u"maiúsculas)."_s,
                      u"MOEDA"_s});
    parser.addOption({u"value"_s,
                      u"Valor da moeda: um número com \",\" ou \".\" e até 4 decimais, até 20 "
                      u"caracteres."_s,
                      u"VALOR"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax report"_s} + arguments)) {
        err << Name << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.positionalArguments().size() != 1 || !parser.isSet(u"title"_s) ||
        !parser.isSet(u"value"_s)) {
        err << Name << "uso: livrax " << ReportCurrencyUsage() << "\n";
        return 2;
    }
    const QString title = parser.value(u"title"_s).trimmed().toUpper();
    const QString value = parser.value(u"value"_s);
    qint64 parsed = 0;
    if (!reports::ParseCurrencyValue(value, &parsed)) {
        err << Name << "valor inválido: \"" << value
            << "\" (um número com até 4 decimais, até 20 caracteres).\n";
        return 2;
    }
    if (title.isEmpty() || title.size() > 20) {
        err << Name << "informe --title com até 20 caracteres.\n";
        return 2;
    }
    // Refused here with the usage, as every other wrong argument, not once
    // the database is open.
    if (const QString problem = reports::CurrencyTitleProblem(title); !problem.isEmpty())
        return UsageError(err, Name, ReportCurrencyUsage(), problem);

    const int status = [&] {
        if (!StartForCommand(u"report"_s, err)) return 1;
        const QDate today = platform::Clock::today();
        const QString failure =
            reports::SaveCurrencyOfDay(title, value, data::Globals().user.name, today);
        if (!failure.isEmpty()) {
            err << Name << failure << "\n";
            return 1;
        }
        QTextStream(stdout) << "Moeda do dia: " << title << " = "
                            << QString(value).replace(u',', u'.').trimmed() << " em "
                            << FormatShortDate(today) << ".\n";
        return 0;
    }();
    RunShutdown();
    return status;
}

} // namespace livrax::shell
