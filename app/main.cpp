// The livrax executable: the desktop program when started without
// arguments, and the command-line jobs (log-in, demo company, information,
// and later books and tax files) when started with a subcommand.

#include "data/connection.h"
#include "demo/demo_command.h"
#include "demo_program.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/stop_signals.h"
#include "shell/book_command.h"
#include "shell/datahouse_command.h"
#include "shell/desktop.h"
#include "shell/info_command.h"
#include "shell/login.h"
#include "shell/mail_command.h"
#include "shell/report_command.h"
#include "shell/sintegra_command.h"
#include "shell/table_command.h"
#include "shell/topic_command.h"

#include "livrax_version.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Command {
    QString name;
    QString usage;
    QString summary;
    std::function<int(const QStringList&)> run;
};

// The program's arguments as main received them.
char** programArguments = nullptr;

// Runs a command. Its --help begins "Uso: <program> [opções]", the program
// being the first of the arguments Qt keeps: that one becomes "livrax
// <command>", so the usage names the command instead of the path of the
// executable.
int RunCommand(const Command& command, const QStringList& args) {
    static QByteArray shownName;
    shownName = "livrax " + command.name.toLocal8Bit();
    programArguments[0] = shownName.data();
    return command.run(args);
}

// "livrax 0.1", and the commit when built from git: the first line is what
// the manual page shows as the version.
QString VersionText() {
    QString text = u"livrax "_s + QLatin1StringView(LIVRAX_VERSION);
    const QLatin1StringView commit(LIVRAX_COMMIT);
    if (!commit.isEmpty()) text += u" (commit "_s + commit + u')';
    return text;
}

int PrintVersion() {
    QTextStream(stdout) << VersionText() << "\n";
    return 0;
}

void PrintCommandList(const QList<Command>& commands, QTextStream& out) {
    out << "LIVRAX - livros fiscais\n\n"
        << "Uso: livrax               abre o programa de janelas\n"
        << "     livrax <comando> [opções]\n\nComandos:\n";
    for (const Command& command : commands) {
        out << "  " << command.usage << "\n      " << command.summary << "\n";
    }
    out << "\n\"livrax <comando> --help\" mostra as opções de cada comando; \"livrax --version\" "
           "a versão.\n";
}

// "livrax help" lists the commands, "livrax help COMMAND" shows the options
// of one (its own --help), "livrax help --all" the list and then every
// command's options: the text the manual page is made of.
int RunHelp(const QList<Command>& commands, const QStringList& args) {
    QTextStream out(stdout);
    if (args.isEmpty()) {
        PrintCommandList(commands, out);
        return 0;
    }
    if (args.size() == 1 && args.first() == u"--all"_s) {
        PrintCommandList(commands, out);
        for (const Command& command : commands) {
            if (command.name == u"help"_s || command.name == u"version"_s) continue;
            out << "\nlivrax " << command.name << ":\n" << Qt::flush;
            if (RunCommand(command, {u"--help"_s}) != 0) return 1;
        }
        return 0;
    }
    if (args.size() == 1) {
        for (const Command& command : commands) {
            if (command.name == args.first() && command.name != u"help"_s)
                return RunCommand(command, {u"--help"_s});
        }
    }
    QTextStream(stderr) << "livrax help: comando desconhecido: \"" << args.join(u' ') << "\"\n"
                        << "Use \"livrax help\" para ver os comandos.\n";
    return 2;
}

// Windows are needed to run the desktop program, and by "demo" unless it is
// told not to open the program.
bool WantsWindows(int argc, char** argv) {
    if (argc < 2) return true;
    if (qstrcmp(argv[1], "demo") != 0) return false;
    for (int i = 2; i < argc; ++i) {
        if (qstrcmp(argv[i], "--no-gui") == 0 || qstrcmp(argv[i], "--help") == 0 ||
            qstrcmp(argv[i], "-h") == 0)
            return false;
    }
    return true;
}

} // namespace

// Drawing pages (books to PDF or text) needs fonts, so those jobs run with a
// graphical application even without a display, drawing offscreen.
bool DrawsPages(int argc, char** argv) {
    // The help texts are rich text, laid out in a document with fonts.
    return argc >= 2 && (qstrcmp(argv[1], "book") == 0 || qstrcmp(argv[1], "report") == 0 ||
                         qstrcmp(argv[1], "topic") == 0);
}

// The program proper: the application object, then a command or the desktop.
int RunProgram(int argc, char** argv) {
    // SIGINT and SIGTERM end the running job as a failure and leave through
    // the normal shut-down.
    livrax::platform::InstallStopSignals();
    programArguments = argv;
    // A display is needed for windows; without one the jobs still run.
    std::unique_ptr<QCoreApplication> app;
    if (WantsWindows(argc, argv) && livrax::platform::HasDisplay()) {
        app = std::make_unique<livrax::shell::LivraxApplication>(argc, argv);
    } else if (DrawsPages(argc, argv)) {
        if (!livrax::platform::HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"livrax"_s);
    QCoreApplication::setOrganizationName(u"livrax"_s);
    QCoreApplication::setApplicationVersion(QLatin1StringView(LIVRAX_VERSION));
    // The messages of Qt's own dialogs and of the command-line parser in
    // Portuguese (Debian: qt6-translations-l10n); without them, English.
    livrax::platform::InstallStandardTranslations();

    QList<Command> commands;
    commands.append({u"help"_s, u"help [COMANDO | --all]"_s,
                     u"Lista os comandos; com um comando, mostra as opções dele; com --all, as "
                     u"de todos."_s,
                     [&commands](const QStringList& args) { return RunHelp(commands, args); }});
    commands.append({u"version"_s, u"version"_s,
                     u"Mostra a versão do programa e o commit de que foi compilado."_s,
                     [](const QStringList&) { return PrintVersion(); }});
    commands.append({u"demo"_s, livrax::demo::DemoUsage(),
                     u"Cria a empresa de demonstração (bancos *.fdb) e abre o programa nela."_s,
                     [](const QStringList& args) { return RunDemoProgram(args); }});
    commands.append({u"login"_s, livrax::shell::LoginUsage(),
                     u"Registra o usuário e os bancos de dados (entrada do sistema)."_s,
                     [](const QStringList& args) { return livrax::shell::RunLoginCommand(args); }});
    commands.append({u"book"_s, livrax::shell::BookUsage(),
                     u"Imprime um livro fiscal em PDF ou texto, sem janelas."_s,
                     [](const QStringList& args) { return livrax::shell::RunBookCommand(args); }});
    commands.append(
        {u"report"_s, livrax::shell::ReportUsage(),
         u"Executa, lista e verifica os relatórios do usuário e define a moeda do dia, sem "
         u"janelas."_s,
         [](const QStringList& args) { return livrax::shell::RunReportCommand(args); }});
    commands.append(
        {u"datahouse"_s, livrax::shell::DataHouseUsage(),
         u"Exporta vendas e clientes do período para o DataHouse (DH_PDS_V.TXT e DH_PDS_C.TXT), "
         u"sem janelas."_s,
         [](const QStringList& args) { return livrax::shell::RunDataHouseCommand(args); }});
    commands.append(
        {u"sintegra"_s, livrax::shell::SintegraUsage(),
         u"Monta o período e grava o arquivo SINTEGRA, sem janelas."_s,
         [](const QStringList& args) { return livrax::shell::RunSintegraCommand(args); }});
    commands.append({u"mail"_s, livrax::shell::MailUsage(),
                     u"Envia arquivos por e-mail pelo servidor SMTP do usuário, sem janelas."_s,
                     [](const QStringList& args) { return livrax::shell::RunMailCommand(args); }});
    commands.append({u"table"_s, livrax::shell::TableUsage(),
                     u"Altera ou renumera um campo em muitas linhas de uma tabela (Manutenção de "
                     u"Arquivos), sem janelas."_s,
                     [](const QStringList& args) { return livrax::shell::RunTableCommand(args); }});
    commands.append(
        {u"topic"_s, livrax::shell::TopicUsage(),
         u"Procura, exporta e importa os textos de help (tópicos e chaves), sem janelas."_s,
         [](const QStringList& args) { return livrax::shell::RunTopicCommand(args); }});
    commands.append({u"info"_s, u"info"_s,
                     u"Inicia como o usuário registrado e mostra usuário, bancos e empresa."_s,
                     [](const QStringList& args) { return livrax::shell::RunInfoCommand(args); }});

    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        if (!qobject_cast<QApplication*>(app.get())) {
            err << "livrax: não há tela disponível para o programa de janelas (DISPLAY não "
                   "definido).\nUse \"livrax help\" para ver os comandos de linha.\n";
            return 1;
        }
        return livrax::shell::RunDesktopProgram();
    }
    const QString name = args.first();
    for (const Command& command : commands) {
        if (command.name != name) continue;
        return RunCommand(command, args.mid(1));
    }
    if (name == u"--help"_s || name == u"-h"_s) return RunHelp(commands, args.mid(1));
    if (name == u"--version"_s || name == u"-V"_s) return PrintVersion();
    err << "livrax: comando desconhecido: \"" << name << "\"\n"
        << "Use \"livrax help\" para ver os comandos.\n";
    return 2;
}

int main(int argc, char** argv) {
    const int status = RunProgram(argc, argv);
    // The engine's threads end here, while the program is still in control,
    // and not concurrently with the exit handlers of the process.
    livrax::data::ShutdownDatabaseEngine();
    return status;
}
