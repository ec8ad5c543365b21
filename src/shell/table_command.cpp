#include "shell/table_command.h"

#include "common/fields.h"
#include "data/routing.h"
#include "data/stop_cancel.h"
#include "platform/stop_signals.h"
#include "shell/command_start.h"
#include "shell/command_status.h"
#include "shell/startup.h"
#include "tools/table_maintenance.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

QString TableUsage() {
    return u"table change|renumber TABELA --field CAMPO [--value TEXTO | --expression EXPR | "
           u"--function 1..4 | --format 0..3 --start N --size N] [--filter SQL] "
           u"[--index CAMPOS] [--database 1|2|5] [--dry-run]"_s;
}

namespace {

const QString Prefix = u"livrax table: "_s;

int Usage(QTextStream& err, const QString& problem) {
    return UsageError(err, Prefix, TableUsage(), problem);
}

void Help(QTextStream& out) {
    out << "Uso: livrax " << TableUsage() << "\n"
        << "Altera um campo em muitas linhas de uma tabela, como a Manutenção de Arquivos "
           "(MPA), como o usuário registrado e com as mesmas permissões.\n"
           "  change            altera o campo em cada linha:\n"
           "    --value TEXTO       grava o texto (função 0)\n"
           "    --expression EXPR   grava o resultado da expressão sobre a linha "
           "(\"VALOR * 12\", \"COPY(DTALT,4,2)\")\n"
           "    --function N        1 maiúsculas, 2 sem aspas, 3 sem acentos, 4 sem "
           "caracteres especiais\n"
           "  renumber          numera o campo:\n"
           "    --format N          0 manter o número, 1 renumerar (padrão), 2 somar o número "
           "inicial, 3 zeros à esquerda\n"
           "    --start N           número inicial\n"
           "    --size N            tamanho do campo, completado com zeros à esquerda\n"
           "  --field CAMPO     o campo alterado\n"
           "  --filter SQL      só as linhas da condição\n"
           "  --index CAMPOS    ordem das linhas (campos separados por \",\"); sem ela, a chave "
           "primária\n"
           "  --database N      a tabela no banco 1, 2 ou 5; sem ele, o banco que a tem\n"
           "  --dry-run         calcula e conta as linhas; nada é gravado\n"
           "As linhas são lidas na ordem do índice e cada uma é alterada uma vez, numa só "
           "transação: um valor recusado desfaz tudo e a mensagem diz a linha.\n"
           "Saída 0 feito, 1 recusado ou com falha, 2 argumentos errados.\n";
}

} // namespace

int RunTableCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const std::function<QString()>& connect) {
    if (arguments.contains(u"--help"_s) || arguments.contains(u"-h"_s)) {
        Help(out);
        return ExitDone;
    }
    if (arguments.isEmpty()) return Usage(err, u"falta a operação (change ou renumber)"_s);
    const QString operation = arguments.first();
    if (operation != u"change"_s && operation != u"renumber"_s)
        return Usage(err, u"operação desconhecida \"%1\""_s.arg(operation));
    const bool change = operation == u"change"_s;

    QString table, field, value, expression, filter, index, database;
    int function = -1, format = 1, size = 0;
    qint64 start = 0;
    bool dryRun = false, hasValue = false, hasExpression = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto next = [&](QString* target) {
            if (i + 1 >= arguments.size()) return false;
            *target = arguments[++i];
            return true;
        };
        const auto number = [&](auto* target, int low, int high) {
            QString text;
            if (!next(&text)) return false;
            bool ok = false;
            const qint64 read = text.toLongLong(&ok);
            if (!ok || read < low || read > high) return false;
            *target = decltype(+*target)(read);
            return true;
        };
        bool ok = true;
        if (argument == u"--dry-run"_s) {
            dryRun = true;
        } else if (argument == u"--field"_s) {
            ok = next(&field);
        } else if (argument == u"--value"_s && change) {
            ok = next(&value);
            hasValue = true;
        } else if (argument == u"--expression"_s && change) {
            ok = next(&expression);
            hasExpression = true;
        } else if (argument == u"--function"_s && change) {
            ok = number(&function, 1, 4);
        } else if (argument == u"--format"_s && !change) {
            ok = number(&format, 0, 3);
        } else if (argument == u"--start"_s && !change) {
            ok = number(&start, -999999999, 999999999);
        } else if (argument == u"--size"_s && !change) {
            ok = number(&size, 1, 30);
        } else if (argument == u"--filter"_s) {
            ok = next(&filter);
        } else if (argument == u"--index"_s) {
            ok = next(&index);
        } else if (argument == u"--database"_s) {
            ok =
                next(&database) && (database == u"1"_s || database == u"2"_s || database == u"5"_s);
        } else if (argument.startsWith(u'-')) {
            return Usage(err, u"opção desconhecida \"%1\""_s.arg(argument));
        } else if (!table.isEmpty()) {
            return Usage(err, u"uma tabela só; recebeu também \"%1\""_s.arg(argument));
        } else {
            table = argument;
        }
        if (!ok) return Usage(err, u"valor inválido ou ausente para %1"_s.arg(argument));
    }
    if (table.isEmpty()) return Usage(err, u"falta a tabela"_s);
    if (field.isEmpty()) return Usage(err, u"falta --field"_s);
    if (change && int(hasValue) + int(hasExpression) + int(function > 0) != 1)
        return Usage(err, u"informe um de --value, --expression e --function"_s);
    if (!change && format == 3 && size <= 0) return Usage(err, u"--format 3 pede --size"_s);

    if (const QString failure = connect(); !failure.isEmpty()) {
        err << Prefix << failure << "\n";
        return ExitRefused;
    }
    const QString resolved = data::ResolveTableName(table);
    if (!tools::MayUseTable(resolved, tools::TableCommand::Change)) {
        err << Prefix << "usuário não autorizado para alterar a tabela " << resolved << "\n";
        return ExitRefused;
    }
    QString error;
    const tools::MaintenanceTable target = tools::FindMaintenanceTable(
        table, database.isEmpty() ? nullptr : data::DatabaseFor(database), &error);
    if (!target.valid()) {
        err << Prefix << error << "\n";
        return ExitRefused;
    }
    // A stop signal cancels the statement running in the database too; the
    // walks check for it row by row, and the transaction is rolled back.
    const data::CancelOnStop cancelOnStop;
    tools::RowWalk walk;
    walk.filter = filter;
    walk.orderBy = index;
    tools::ChangeResult result;
    if (change) {
        tools::MassChange mass;
        mass.field = field;
        mass.walk = walk;
        mass.dryRun = dryRun;
        if (function > 0) {
            mass.function = tools::ChangeFunction(function);
        } else {
            mass.content = hasExpression ? expression : value;
            mass.expression = hasExpression;
        }
        result = tools::ApplyMassChange(target, mass);
    } else {
        tools::Renumbering renumbering;
        renumbering.field = field;
        renumbering.format = tools::RenumberFormat(format);
        renumbering.start = start;
        renumbering.size = size;
        renumbering.walk = walk;
        renumbering.dryRun = dryRun;
        result = tools::ApplyRenumbering(target, renumbering);
    }
    if (!result.ok && platform::StopRequested()) {
        err << Prefix << "interrompido pelo sinal " << platform::StopSignalName()
            << "; nenhum registro foi alterado.\n";
        return ExitRefused;
    }
    if (!result.ok) {
        err << Prefix << result.message << "\n";
        return ExitRefused;
    }
    out << "Registros alterados: " << result.changed << "\n";
    if (dryRun) out << "simulação: nada foi gravado\n";
    out.flush();
    return ExitDone;
}

int RunTableCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool started = false;
    const int status = RunTableCommand(arguments, out, err, [&started] {
        started = true;
        return StartForCommand();
    });
    if (started) RunShutdown();
    return status;
}

} // namespace livrax::shell
