#include "demo/demo_command.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "demo/demo_generator.h"
#include "demo/demo_reports.h"
#include "demo/demo_summary.h"
#include "platform/environment.h"
#include "platform/stop_signals.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace livrax::demo {

using namespace Qt::StringLiterals;

namespace {

QString DefaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(u"livrax/demo"_s);
}

// Reads a whole-number option; false (with a message) when it is not one or
// lies outside [low, high].
bool ReadNumber(const QCommandLineParser& parser, const QString& name, qint64 low, qint64 high,
                qint64* value) {
    if (!parser.isSet(name)) return true;
    bool ok = false;
    const qint64 number = parser.value(name).toLongLong(&ok);
    if (!ok || number < low || number > high) {
        QTextStream(stderr) << "livrax demo: --" << name << " deve ser um número entre " << low
                            << " e " << high << " (recebido \"" << parser.value(name) << "\").\n";
        return false;
    }
    *value = number;
    return true;
}

// Shows the share of invoices written, once per percent.
class ProgressLine {
  public:
    void operator()(qint64 done, qint64 total) {
        const int percent = total > 0 ? int(done * 100 / total) : 100;
        if (percent == m_lastPercent) return;
        m_lastPercent = percent;
        QTextStream(stderr) << "\rGravando notas fiscais: " << percent << "% (" << done << " de "
                            << total << ")" << (done == total ? "\n" : "") << Qt::flush;
    }

  private:
    int m_lastPercent = -1;
};

} // namespace

QString DemoUsage() {
    return u"demo [--dir PASTA] [--year AAAA] [--invoices N] [--seed S] [--force] [--no-gui]"_s;
}

int RunDemoCommand(const QStringList& arguments, CreatedDemo* created) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Cria a empresa de demonstração: bancos de dados novos, preenchidos com um ano de "
        u"notas de entrada e de saída. A mesma semente e o mesmo tamanho geram sempre os "
        u"mesmos dados."_s);
    parser.addHelpOption();
    parser.addOption(
        {u"dir"_s, u"Pasta dos bancos (padrão: "_s + DefaultFolder() + u")."_s, u"PASTA"_s});
    parser.addOption({u"year"_s, u"Ano das notas (padrão: 2026)."_s, u"AAAA"_s});
    parser.addOption(
        {u"invoices"_s, u"Número de notas, entradas e saídas (padrão: 2400)."_s, u"N"_s});
    parser.addOption({u"seed"_s, u"Semente dos dados (padrão: 1)."_s, u"S"_s});
    parser.addOption({u"force"_s, u"Substitui uma empresa de demonstração existente."_s});
    parser.addOption({u"no-gui"_s, u"Só cria os dados e mostra o resumo, sem abrir o programa."_s});
    if (!parser.parse(QStringList{u"livrax demo"_s} + arguments)) {
        QTextStream(stderr) << "livrax demo: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        QTextStream(stderr) << "livrax demo: argumento inesperado \""
                            << parser.positionalArguments().first() << "\"\n";
        return 2;
    }

    DemoOptions options;
    options.folder = parser.isSet(u"dir"_s) ? parser.value(u"dir"_s) : DefaultFolder();
    qint64 year = options.year, seed = 1;
    if (!ReadNumber(parser, u"year"_s, 1990, 2100, &year) ||
        !ReadNumber(parser, u"invoices"_s, 1, 10'000'000, &options.invoices) ||
        !ReadNumber(parser, u"seed"_s, 0, std::numeric_limits<qint64>::max(), &seed))
        return 2;
    options.year = int(year);
    options.seed = quint64(seed);

    QTextStream err(stderr);
    QDir target(options.folder);
    const bool force = parser.isSet(u"force"_s);
    if (target.exists() &&
        !target.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) &&
        !force) {
        err << "livrax demo: a pasta \"" << QDir::toNativeSeparators(target.absolutePath())
            << "\" já existe e não está vazia; nada foi alterado.\n"
            << "Use --force para substituir a empresa de demonstração dessa pasta, ou --dir "
               "para escolher outra pasta.\n";
        return 2;
    }
    if (!QDir().mkpath(target.absolutePath())) {
        err << "livrax demo: não foi possível criar a pasta \""
            << QDir::toNativeSeparators(target.absolutePath()) << "\".\n";
        return 1;
    }

    // The databases are built in a work folder and moved into place only when
    // complete, so a failed run leaves the previous demo (or nothing) behind.
    QDir work(target.filePath(u".livrax-demo-work"_s));
    work.removeRecursively();
    if (!QDir().mkpath(work.absolutePath())) {
        err << "livrax demo: não foi possível criar a pasta de trabalho.\n";
        return 1;
    }
    DemoOptions building = options;
    building.folder = work.absolutePath();
    building.tempFolder = QDir::toNativeSeparators(target.filePath(u"temp"_s)) + QDir::separator();
    try {
        GenerateDemoCompany(building, ProgressLine());
    } catch (const data::DbError& error) {
        if (platform::StopRequested())
            err << "\nlivrax demo: interrompido pelo sinal " << platform::StopSignalName()
                << "; nada foi criado.\n";
        else
            err << "\nlivrax demo: erro ao criar a empresa de demonstração: " << error.message()
                << "\n";
        work.removeRecursively();
        return 1;
    }
    // A signal after the last step still leaves the previous demo as it was.
    if (platform::StopRequested()) {
        err << "\nlivrax demo: interrompido pelo sinal " << platform::StopSignalName()
            << "; nada foi criado.\n";
        work.removeRecursively();
        return 1;
    }
    for (const QString& name : {DemoErpFileName(), DemoSystemFileName()}) {
        QFile::remove(target.filePath(name));
        if (!QFile::rename(work.filePath(name), target.filePath(name))) {
            err << "livrax demo: não foi possível mover " << name << " para a pasta.\n";
            return 1;
        }
    }
    work.removeRecursively();
    QDir().mkpath(target.filePath(u"temp"_s));

    if (created) {
        created->erpPath = QDir::toNativeSeparators(target.absoluteFilePath(DemoErpFileName()));
        created->systemPath =
            QDir::toNativeSeparators(target.absoluteFilePath(DemoSystemFileName()));
        created->tempFolder = building.tempFolder;
        created->openProgram = !parser.isSet(u"no-gui"_s);
    }

    QTextStream out(stdout);
    out << "Empresa de demonstração criada em " << QDir::toNativeSeparators(target.absolutePath())
        << "\n"
        << "  " << DemoErpFileName() << "      tabelas do ERP (banco 1)\n"
        << "  " << DemoSystemFileName() << "  parâmetros e cadastro da empresa (banco 5)\n\n";
    try {
        data::Connection erp;
        data::ConnectionOptions connection;
        connection.path = target.filePath(DemoErpFileName());
        erp.open(connection);
        out << FormatDemoSummary(ReadDemoSummary(erp, options.year)) << "\n"
            << FormatDemoReports(erp);
    } catch (const data::DbError& error) {
        err << "livrax demo: os bancos foram criados, mas o resumo não pôde ser lido: "
            << error.message() << "\n";
        return 1;
    }
    return 0;
}

} // namespace livrax::demo
