#include "shell/topic_command.h"

#include "common/line_files.h"
#include "common/windows_1252.h"
#include "data/db_error.h"
#include "platform/rtf.h"
#include "print/output_file.h"
#include "print/print_surface.h"
#include "shell/command_start.h"
#include "shell/command_status.h"
#include "shell/startup.h"
#include "tools/help_topics.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace livrax::shell {

namespace {

// TITULO and CHAVE hold 100 characters.
constexpr int TextLength = 100;

const QString Prefix = u"livrax topic: "_s;

QString SearchUsage() {
    return u"topic search PALAVRA"_s;
}

QString ExportUsage() {
    return u"topic export SEQ --out ARQUIVO.rtf|ARQUIVO.txt"_s;
}

QString ImportUsage() {
    return u"topic import ARQUIVO.rtf --title TÍTULO [--key CHAVE]..."_s;
}

int Usage(QTextStream& err, const QString& usage, const QString& problem) {
    return UsageError(err, Prefix, usage, problem);
}

int Refuse(QTextStream& out, QTextStream& err, const QString& message) {
    return Refused(out, err, Prefix, message);
}

// Parses one subcommand's options; false after the message (or the help
// text, with `status` 0).
bool Parse(QCommandLineParser& parser, const QString& name, const QString& description,
           const QStringList& arguments, QTextStream& out, QTextStream& err, int& status) {
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    if (!parser.parse(QStringList{u"livrax topic "_s + name} + arguments)) {
        err << Prefix << parser.errorText() << "\n";
        status = ExitUsage;
        return false;
    }
    if (parser.isSet(u"help"_s)) {
        out << parser.helpText();
        out.flush();
        status = ExitDone;
        return false;
    }
    return true;
}

int RunSearch(const QStringList& arguments, QTextStream& out, QTextStream& err,
              const std::function<QString()>& connect) {
    QCommandLineParser parser;
    parser.addPositionalArgument(u"PALAVRA"_s, u"O texto procurado nas chaves e nos títulos."_s);
    int status = ExitDone;
    if (!Parse(parser, u"search"_s,
               u"Lista as chaves de help que contêm a palavra e depois os títulos dos tópicos que "
               u"a contêm (maiúsculas e minúsculas distintas), com o número do tópico de cada "
               u"linha."_s,
               arguments, out, err, status))
        return status;
    if (parser.positionalArguments().size() != 1 || parser.positionalArguments()[0].isEmpty())
        return Usage(err, SearchUsage(), u"informe uma palavra a procurar"_s);
    const QString word = parser.positionalArguments()[0];
    if (const QString failure = connect(); !failure.isEmpty()) return Refuse(out, err, failure);
    const QList<tools::HelpMatch> matches = tools::SearchHelp(word);
    if (matches.isEmpty())
        return Refuse(out, err, u"nenhuma chave ou título contém \"%1\""_s.arg(word));
    for (const tools::HelpMatch& match : matches)
        out << QString::number(match.topic).rightJustified(6) << "  "
            << (match.isKey ? "chave " : "título") << "  " << match.text << "\n";
    out.flush();
    return ExitDone;
}

int RunExport(const QStringList& arguments, QTextStream& out, QTextStream& err,
              const std::function<QString()>& connect) {
    QCommandLineParser parser;
    parser.addPositionalArgument(u"SEQ"_s, u"O número do tópico."_s);
    parser.addOption({u"out"_s,
                      u"O arquivo gravado: .rtf o texto formatado como está guardado, .txt o "
                      u"texto simples (Windows-1252, CR LF)."_s,
                      u"ARQUIVO"_s});
    int status = ExitDone;
    if (!Parse(parser, u"export"_s,
               u"Grava um tópico de help num arquivo, inteiro ou nada: com qualquer falha o "
               u"arquivo anterior fica como estava."_s,
               arguments, out, err, status))
        return status;
    bool isNumber = false;
    const int number = parser.positionalArguments().value(0).toInt(&isNumber);
    if (parser.positionalArguments().size() != 1 || !isNumber || number <= 0)
        return Usage(err, ExportUsage(), u"informe o número do tópico (SEQ)"_s);
    const QString file = parser.value(u"out"_s);
    if (file.isEmpty()) return Usage(err, ExportUsage(), u"falta o arquivo (--out)"_s);
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != u"rtf"_s && suffix != u"txt"_s)
        return Usage(err, ExportUsage(), u"o arquivo deve terminar em .rtf ou .txt"_s);

    if (const QString failure = connect(); !failure.isEmpty()) return Refuse(out, err, failure);
    const std::optional<tools::HelpTopic> topic = tools::LoadTopic(number);
    if (!topic) return Refuse(out, err, u"não há tópico %1; nada foi gravado"_s.arg(number));
    QByteArray bytes;
    if (suffix == u"txt"_s) {
        bytes = EncodeWindowsLines(InWindows1252(tools::TopicPlainText(topic->text)).split(u'\n'));
    } else if (platform::IsRtf(topic->text)) {
        bytes = topic->text;
    } else {
        QTextDocument document;
        document.setPlainText(tools::TopicPlainText(topic->text));
        bytes = platform::DocumentToRtf(document);
    }
    try {
        print::OutputFile output(file);
        output.device()->write(bytes);
        output.commit();
    } catch (const print::PrintError& error) {
        return Refuse(out, err, error.message());
    }
    out << "Tópico " << number << " \"" << topic->title << "\" gravado em " << file << "\n";
    out.flush();
    return ExitDone;
}

int RunImport(const QStringList& arguments, QTextStream& out, QTextStream& err,
              const std::function<QString()>& connect) {
    QCommandLineParser parser;
    parser.addPositionalArgument(u"ARQUIVO"_s, u"O arquivo RTF com o texto do tópico."_s);
    parser.addOption({u"title"_s, u"O título do tópico (até 100 caracteres)."_s, u"TÍTULO"_s});
    parser.addOption({u"key"_s,
                      u"Uma chave de pesquisa do tópico (até 100 caracteres); repita a opção "
                      u"para várias."_s,
                      u"CHAVE"_s});
    int status = ExitDone;
    if (!Parse(parser, u"import"_s,
               u"Inclui um tópico de help novo (o número seguinte ao maior) com o texto de um "
               u"arquivo RTF, e as suas chaves, tudo de uma vez: com qualquer recusa nada fica "
               u"gravado."_s,
               arguments, out, err, status))
        return status;
    if (parser.positionalArguments().size() != 1)
        return Usage(err, ImportUsage(), u"informe um arquivo RTF"_s);
    const QString file = parser.positionalArguments()[0];
    const QString title = parser.value(u"title"_s).trimmed();
    if (title.isEmpty()) return Usage(err, ImportUsage(), u"falta o título (--title)"_s);
    if (title.size() > TextLength)
        return Usage(err, ImportUsage(), u"o título tem mais de %1 caracteres"_s.arg(TextLength));
    QStringList keys;
    for (const QString& key : parser.values(u"key"_s)) {
        if (key.trimmed().isEmpty()) return Usage(err, ImportUsage(), u"chave vazia (--key)"_s);
        if (key.size() > TextLength)
            return Usage(err, ImportUsage(),
                         u"a chave \"%1\" tem mais de %2 caracteres"_s.arg(key).arg(TextLength));
        keys << key;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return Refuse(out, err,
                      u"não foi possível ler \"%1\": %2; nada foi importado"_s.arg(
                          file, input.errorString()));
    const QByteArray text = input.readAll();
    if (!platform::IsRtf(text))
        return Refuse(out, err,
                      u"\"%1\" não é um arquivo RTF (não começa com {\\rtf); nada foi "
                      u"importado"_s.arg(file));

    if (const QString failure = connect(); !failure.isEmpty()) return Refuse(out, err, failure);
    int number = 0;
    try {
        number = tools::AddTopic(title, text, keys);
    } catch (const data::DbError& error) {
        return Refuse(
            out, err,
            u"o banco de dados não gravou o tópico: %1; nada foi importado"_s.arg(error.message()));
    }
    out << "Tópico " << number << " \"" << title << "\" importado";
    if (!keys.isEmpty()) out << " com a(s) chave(s) " << keys.join(u", "_s);
    out << "\n";
    out.flush();
    return ExitDone;
}

} // namespace

QString TopicUsage() {
    return u"topic search PALAVRA | export SEQ --out ARQUIVO | import ARQUIVO.rtf --title "
           u"TÍTULO [--key CHAVE]"_s;
}

int RunTopicCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const std::function<QString()>& connect) {
    const QString subcommand = arguments.value(0);
    try {
        if (subcommand == u"search"_s) return RunSearch(arguments.mid(1), out, err, connect);
        if (subcommand == u"export"_s) return RunExport(arguments.mid(1), out, err, connect);
        if (subcommand == u"import"_s) return RunImport(arguments.mid(1), out, err, connect);
    } catch (const data::DbError& error) {
        return Refuse(out, err, error.message());
    }
    if (subcommand == u"--help"_s || subcommand == u"-h"_s) {
        out << "Uso: livrax topic <subcomando> [opções]\n\n"
            << "Os textos de help (tópicos e chaves de pesquisa), como o usuário registrado.\n\n"
            << "Subcomandos:\n"
            << "  " << SearchUsage() << "\n"
            << "      Lista as chaves e depois os títulos que contêm a palavra.\n"
            << "  " << ExportUsage() << "\n"
            << "      Grava o tópico em RTF (como está guardado) ou em texto simples.\n"
            << "  " << ImportUsage() << "\n"
            << "      Inclui um tópico novo com o texto do arquivo e as suas chaves.\n\n"
            << "\"livrax topic <subcomando> --help\" mostra as opções de cada um.\n";
        out.flush();
        return ExitDone;
    }
    return Usage(err, TopicUsage(),
                 subcommand.isEmpty() ? u"falta o subcomando (search, export ou import)"_s
                                      : u"subcomando desconhecido \"%1\""_s.arg(subcommand));
}

int RunTopicCommand(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool started = false;
    const int status = RunTopicCommand(arguments, out, err, [&started] {
        started = true;
        return StartForCommand();
    });
    if (started) RunShutdown();
    return status;
}

} // namespace livrax::shell
