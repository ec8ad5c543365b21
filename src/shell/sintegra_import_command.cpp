#include "shell/sintegra_import_command.h"

#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "efiles/sintegra_reversal.h"
#include "shell/command_start.h"
#include "shell/command_status.h"
#include "shell/startup.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

QString SintegraImportUsage() {
    return u"sintegra import ARQUIVO [--dry-run] [--again]"_s;
}

namespace {

const QString Prefix = u"livrax sintegra import: "_s;

int Usage(QTextStream& err, const QString& problem) {
    return UsageError(err, Prefix, SintegraImportUsage(), problem);
}

} // namespace

int RunSintegraImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                             const std::function<QString()>& connect) {
    bool dryRun = false, again = false;
    QString path;
    for (const QString& argument : arguments) {
        if (argument == u"--help"_s || argument == u"-h"_s) {
            out << "Uso: livrax " << SintegraImportUsage() << "\n"
                << "Lê um arquivo SINTEGRA e importa os documentos do registro 50 como notas "
                   "fiscais: CFOP iniciado por 1, 2 ou 3 em VRTNPDE (entradas), os demais em "
                   "VRTNPDS (saídas).\n"
                   "  --dry-run  só mostra o que seria importado; nada é gravado\n"
                   "  --again    importa mesmo que documentos do arquivo já existam\n"
                   "Um arquivo com problemas é recusado (cada problema com o número da linha) "
                   "e nada é gravado.\n"
                   "Saída 0 importado, 1 recusado ou com falha, 2 argumentos errados ou arquivo "
                   "ilegível.\n";
            return ExitDone;
        }
        if (argument == u"--dry-run"_s) {
            dryRun = true;
        } else if (argument == u"--again"_s) {
            again = true;
        } else if (argument.startsWith(u'-')) {
            return Usage(err, u"opção desconhecida \"%1\""_s.arg(argument));
        } else if (!path.isEmpty()) {
            return Usage(err, u"um arquivo só; recebeu também \"%1\""_s.arg(argument));
        } else {
            path = argument;
        }
    }
    if (path.isEmpty()) return Usage(err, u"falta o arquivo a importar"_s);

    if (QFileInfo(path).isDir()) {
        err << Prefix << "\"" << path << "\" é uma pasta, não um arquivo\n";
        return ExitUsage;
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        err << Prefix << "não foi possível ler \"" << path << "\": " << file.errorString() << "\n";
        return ExitUsage;
    }

    efiles::ReversalFile read = efiles::ReadSintegraReversal(bytes);
    if (!read.problems.empty()) {
        for (const efiles::ReversalProblem& problem : read.problems)
            err << path << ": " << efiles::ProblemText(problem) << "\n";
        err << Prefix << "arquivo recusado (" << read.problems.size()
            << (read.problems.size() == 1 ? " problema" : " problemas")
            << "); nada foi importado\n";
        return ExitRefused;
    }
    const efiles::ReversalSummary summary = efiles::SummariseReversal(read.rows);
    const int documents = summary.entries + summary.exits;
    if (documents == 0) {
        err << Prefix << "o arquivo não tem documentos do registro 50; nada a importar\n";
        return ExitRefused;
    }

    if (const QString failure = connect(); !failure.isEmpty()) {
        err << Prefix << failure << "\n";
        return ExitRefused;
    }
    QString error;
    if (!efiles::MatchPartners(read.rows, &error)) {
        err << Prefix << "os parceiros não puderam ser lidos: " << error << "\n";
        return ExitRefused;
    }
    const std::optional<int> existing = efiles::CountExistingDocuments(read.rows, &error);
    if (!existing) {
        err << Prefix << "as notas existentes não puderam ser lidas: " << error << "\n";
        return ExitRefused;
    }

    out << path << ": " << efiles::SummaryText(summary) << "\n";
    const auto others = qsizetype(read.rows.size()) - documents;
    if (others > 0) out << others << " linha(s) de outros registros lida(s), não importada(s)\n";
    if (*existing > 0)
        out << *existing << " de " << documents
            << " documento(s) já existe(m) no banco de dados (mesmo número, parceiro e data)\n";
    if (dryRun) {
        out << "simulação: nada foi gravado\n";
        out.flush();
        return ExitDone;
    }
    if (*existing > 0 && !again) {
        out.flush();
        err << Prefix << "documentos já importados; use --again para importá-los de novo\n";
        return ExitRefused;
    }

    const efiles::ReversalImport imported = efiles::ImportReversal(read.rows);
    if (!imported.ok) {
        out.flush();
        err << Prefix << imported.message << "\n";
        return ExitRefused;
    }
    out << "Conversão concluída: " << imported.entryKeys.size() << " entrada(s) e "
        << imported.exitKeys.size() << " saída(s) gravadas\n";
    out.flush();
    return ExitDone;
}

int RunSintegraImportCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool started = false;
    const int status = RunSintegraImportCommand(arguments, out, err, [&started] {
        started = true;
        return StartForCommand();
    });
    if (started) RunShutdown();
    return status;
}

} // namespace livrax::shell
