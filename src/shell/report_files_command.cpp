#include "shell/report_files_command.h"

#include "data/routing.h"
#include "reports/report_files.h"
#include "reports/report_menu.h"
#include "shell/command_start.h"
#include "shell/command_status.h"
#include "shell/startup.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

namespace {

const QString Prefix = u"livrax report: "_s;

QString ExportUsage() {
    return u"report export TABELA NNN[-MMM] --dir PASTA [--menu CHAVE]"_s;
}

QString ImportUsage() {
    return u"report import ARQUIVO [--replace]"_s;
}

int Usage(QTextStream& err, const QString& usage, const QString& problem) {
    return UsageError(err, Prefix, usage, problem);
}

// Ends a run that cannot go on: the message on `err`, the status returned.
int Refuse(QTextStream& out, QTextStream& err, const QString& message) {
    return Refused(out, err, Prefix, message);
}

// "NNN" or "NNN-MMM", numbers of up to three digits, the first not above the
// last.
bool ParseRange(const QString& text, int& first, int& last) {
    static const QRegularExpression range(u"^(\\d{1,3})(?:-(\\d{1,3}))?$"_s);
    const QRegularExpressionMatch match = range.match(text);
    if (!match.hasMatch()) return false;
    first = match.captured(1).toInt();
    last = match.hasCaptured(2) ? match.captured(2).toInt() : first;
    return first <= last;
}

int RunExport(const QStringList& arguments, QTextStream& out, QTextStream& err,
              const std::function<QString()>& connect) {
    QStringList positional;
    QString folder, menuKey;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--dir"_s || argument == u"--menu"_s) {
            if (i + 1 >= arguments.size())
                return Usage(err, ExportUsage(), u"falta o valor de %1"_s.arg(argument));
            (argument == u"--dir"_s ? folder : menuKey) = arguments[++i];
        } else if (argument.startsWith(u'-')) {
            return Usage(err, ExportUsage(), u"opção desconhecida \"%1\""_s.arg(argument));
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2)
        return Usage(err, ExportUsage(), u"informe a tabela e os números dos relatórios"_s);
    const QString table = positional[0].toUpper();
    int first = 0, last = 0;
    if (!ParseRange(positional[1], first, last))
        return Usage(
            err, ExportUsage(),
            u"números de relatório inválidos \"%1\" (NNN ou NNN-MMM)"_s.arg(positional[1]));
    if (folder.isEmpty()) return Usage(err, ExportUsage(), u"falta a pasta (--dir)"_s);
    if (!QFileInfo(folder).isDir())
        return Usage(err, ExportUsage(), u"a pasta \"%1\" não existe"_s.arg(folder));

    if (const QString failure = connect(); !failure.isEmpty()) return Refuse(out, err, failure);
    const reports::ReportMenu menu =
        reports::MenuForTable(table, menuKey.isEmpty() ? u"PAR_LF"_s + table : menuKey);
    if (!menu.database)
        return Refuse(out, err, u"a tabela \"%1\" não está em nenhum banco de dados"_s.arg(table));

    const QString span = reports::ReportNumber(first) +
                         (last == first ? QString() : u" a "_s + reports::ReportNumber(last));
    int exported = 0;
    for (const reports::ReportEntry& entry : reports::ListReports(menu)) {
        bool isNumber = false;
        const int number = entry.number.toInt(&isNumber);
        if (!isNumber || number < first || number > last) continue;
        const QString report = reports::DefinitionKey(menu, number).chopped(1);
        if (!reports::ExportReportFiles(menu, number, folder))
            return Refuse(out, err,
                          u"o relatório %1 não pôde ser gravado em \"%2\""_s.arg(report, folder));
        out << "Relatório " << report << " \"" << entry.title << "\" exportado em " << folder
            << ": " << report << "A.FMB, " << report << "C.FMB, " << report << "V.FMB\n";
        ++exported;
    }
    if (exported == 0)
        return Refuse(out, err,
                      u"nenhum relatório %1 no menu %2; nada foi exportado"_s.arg(span, menu.key));
    out << exported << " relatório(s) exportado(s)\n";
    out.flush();
    return ExitDone;
}

int RunImport(const QStringList& arguments, QTextStream& out, QTextStream& err,
              const std::function<QString()>& connect) {
    bool replace = false;
    QString path;
    for (const QString& argument : arguments) {
        if (argument == u"--replace"_s) {
            replace = true;
        } else if (argument.startsWith(u'-')) {
            return Usage(err, ImportUsage(), u"opção desconhecida \"%1\""_s.arg(argument));
        } else if (!path.isEmpty()) {
            return Usage(err, ImportUsage(),
                         u"um arquivo só; recebeu também \"%1\""_s.arg(argument));
        } else {
            path = argument;
        }
    }
    if (path.isEmpty()) return Usage(err, ImportUsage(), u"falta o arquivo a importar"_s);

    // Without a database the files are only checked: the name and the three
    // files are refused before anyone logs in.
    const reports::ImportResult checked = reports::ImportReportFiles(nullptr, path, replace);
    if (checked.outcome == reports::ImportOutcome::BadName)
        return Refuse(out, err,
                      u"\"%1\" não é um arquivo de definição de relatório (menu + NNN + A.FMB, "
                      u"por exemplo PAR_LFPDS001A.FMB); nada foi importado"_s.arg(path));
    if (checked.outcome == reports::ImportOutcome::MissingCompanion)
        return Refuse(out, err,
                      u"faltam arquivos do relatório (ou não puderam ser lidos): %1; nada foi "
                      u"importado"_s.arg(checked.missing.join(u", "_s)));

    if (const QString failure = connect(); !failure.isEmpty()) return Refuse(out, err, failure);
    // The menu key ends with its table's code ("PAR_LFPDS", "FMQ_PDS"): the
    // report is stored in the database that holds that table.
    const QString report = checked.key.chopped(1);
    const QString table = report.chopped(3).right(3);
    data::Connection* database = data::DatabaseFor(table);
    if (!database)
        return Refuse(out, err,
                      u"a tabela \"%1\" do relatório %2 não está em nenhum banco de "
                      u"dados; nada foi importado"_s.arg(table, report));

    const reports::ImportResult imported = reports::ImportReportFiles(database, path, replace);
    switch (imported.outcome) {
    case reports::ImportOutcome::Imported:
        out << "Relatório " << report << " \"" << imported.title << "\" importado\n";
        out.flush();
        return ExitDone;
    case reports::ImportOutcome::Exists:
        return Refuse(out, err,
                      u"o relatório %1 já existe; use --replace para substituí-lo"_s.arg(report));
    default:
        return Refuse(out, err,
                      u"o banco de dados não gravou o relatório %1; nada foi "
                      u"importado"_s.arg(report));
    }
}

} // namespace

QString ReportFilesUsage() {
    return ExportUsage() + u" | "_s + ImportUsage();
}

int RunReportFilesCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                          const std::function<QString()>& connect) {
    const QString subcommand = arguments.value(0);
    if (subcommand == u"export"_s) return RunExport(arguments.mid(1), out, err, connect);
    if (subcommand == u"import"_s) return RunImport(arguments.mid(1), out, err, connect);
    return Usage(err, ReportFilesUsage(),
                 subcommand.isEmpty() ? u"falta o subcomando (export ou import)"_s
                                      : u"subcomando desconhecido \"%1\""_s.arg(subcommand));
}

int RunReportFilesCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool started = false;
    const int status = RunReportFilesCommand(arguments, out, err, [&started] {
        started = true;
        return StartForCommand();
    });
    if (started) RunShutdown();
    return status;
}

} // namespace livrax::shell
