#include "shell/sintegra_check_command.h"

#include "efiles/sintegra_check.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::shell {

QString SintegraCheckUsage() {
    return u"sintegra check ARQUIVO [--json]"_s;
}

namespace {

constexpr int ExitClean = 0;
constexpr int ExitFindings = 1;
constexpr int ExitUsage = 2;

QString Plural(qsizetype n, const QString& one, const QString& many) {
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace

int RunSintegraCheckCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString prefix = u"livrax sintegra check: "_s;
    bool json = false;
    QString path;
    for (const QString& argument : arguments) {
        if (argument == u"--help"_s || argument == u"-h"_s) {
            out << "Uso: livrax " << SintegraCheckUsage() << "\n"
                << "Confere um arquivo SINTEGRA (deste ou de outro programa) e lista cada "
                   "problema com o número da linha.\n"
                   "  --json  um objeto JSON por linha: line, severity (finding ou note), code, "
                   "message\n"
                   "Saída 0 sem problemas (observações não contam), 1 com problemas, 2 com "
                   "argumentos errados ou arquivo ilegível.\n";
            return ExitClean;
        }
        if (argument == u"--json"_s) {
            json = true;
        } else if (argument.startsWith(u'-')) {
            err << prefix << "opção desconhecida \"" << argument << "\"\n"
                << "Uso: livrax " << SintegraCheckUsage() << "\n";
            return ExitUsage;
        } else if (!path.isEmpty()) {
            err << prefix << "um arquivo só; recebeu também \"" << argument << "\"\n";
            return ExitUsage;
        } else {
            path = argument;
        }
    }
    if (path.isEmpty()) {
        err << prefix << "falta o arquivo a conferir\n"
            << "Uso: livrax " << SintegraCheckUsage() << "\n";
        return ExitUsage;
    }

    QFile file(path);
    if (QFileInfo(path).isDir()) {
        err << prefix << "\"" << path << "\" é uma pasta, não um arquivo\n";
        return ExitUsage;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        err << prefix << "não foi possível ler \"" << path << "\": " << file.errorString() << "\n";
        return ExitUsage;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err << prefix << "não foi possível ler \"" << path << "\": " << file.errorString() << "\n";
        return ExitUsage;
    }

    const std::vector<efiles::CheckFinding> findings = efiles::CheckSintegraFile(bytes);
    for (const efiles::CheckFinding& finding : findings)
        out << (json ? efiles::FindingJson(finding) : efiles::FindingText(finding)) << "\n";
    const auto problems = std::count_if(findings.begin(), findings.end(), [](const auto& f) {
        return f.severity == efiles::CheckSeverity::Finding;
    });
    const auto notes = qsizetype(findings.size()) - problems;
    if (!json) {
        out << path << ": "
            << (problems == 0 ? u"nenhum problema"_s
                              : Plural(problems, u"problema"_s, u"problemas"_s))
            << ", " << Plural(notes, u"observação"_s, u"observações"_s) << "\n";
    }
    out.flush();
    return problems == 0 ? ExitClean : ExitFindings;
}

int RunSintegraCheckCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunSintegraCheckCommand(arguments, out, err);
}

} // namespace livrax::shell
