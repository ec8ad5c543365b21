#include "shell/book_command.h"

#include "books/book_frame.h"
#include "shell/book_commands.h"
#include "shell/command_start.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

const QList<BookCommand>& BookCommands() {
    static const QList<BookCommand> commands{
        InvoiceBookCommand(), SettlementBookCommand(), LX52BookCommand(), LX70BookCommand(),
        LX40BookCommand(),    LX64BookCommand(),       LX67BookCommand()};
    return commands;
}

const BookCommand* CommandFor(const QString& code) {
    for (const BookCommand& command : BookCommands())
        if (command.codes.contains(code)) return &command;
    return nullptr;
}

QString BookCodes() {
    QStringList codes;
    for (const BookCommand& command : BookCommands())
        codes << command.codes;
    return codes.mid(0, codes.size() - 1).join(u", "_s) + u" ou "_s + codes.last();
}

// Every book's options, each name once, in the order of the families.
void AddBookOptions(QCommandLineParser& parser) {
    QSet<QString> added;
    for (const BookCommand& command : BookCommands())
        for (const QCommandLineOption& option : command.options)
            if (!added.contains(option.names().first())) {
                added.insert(option.names().first());
                parser.addOption(option);
            }
}

// The options given that book `code` does not take, as "--name".
QStringList OptionsNotFor(const QCommandLineParser& parser, const BookCommand& book,
                          const QString& code) {
    QStringList unused;
    QSet<QString> seen;
    for (const BookCommand& command : BookCommands()) {
        for (const QCommandLineOption& option : command.options) {
            const QString name = option.names().first();
            if (seen.contains(name) || !parser.isSet(name)) continue;
            seen.insert(name);
            bool takes = false;
            for (const QCommandLineOption& own : book.options)
                if (own.names().first() == name) takes = !book.takes || book.takes(code, name);
            if (!takes) unused << u"--"_s + name;
        }
    }
    return unused;
}

} // namespace

QString BookUsage() {
    QStringList lines;
    for (const BookCommand& command : BookCommands())
        lines << command.usage;
    return lines.join(u"\n  "_s);
}

int RunBookCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Imprime um livro fiscal sem janelas, como o usuário registrado, em PDF (.pdf) ou "
        u"texto (.txt). As opções não informadas vêm dos parâmetros salvos do livro."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"livro"_s, u"Código do livro: "_s + BookCodes() + u"."_s);
    parser.addOption(
        {u"first-page"_s,
         u"Número da primeira página, de 1 a "_s + QString::number(books::MaxPageNumber) + u"."_s,
         u"N"_s});
    AddBookOptions(parser);
    parser.addOption({u"out"_s, u"Arquivo de saída (.pdf ou .txt)."_s, u"ARQUIVO"_s});
    QTextStream err(stderr);
    if (!parser.parse(QStringList{u"livrax book"_s} + arguments)) {
        err << "livrax book: " << parser.errorText() << "\n";
        return 2;
    }
    if (parser.isSet(u"help"_s)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString code = positional.value(0).toUpper();
    const BookCommand* book = CommandFor(code);
    if (positional.size() != 1 || !book) {
        err << "livrax book: informe o livro: " << BookCodes() << ".\n";
        return 2;
    }
    if (const QStringList unused = OptionsNotFor(parser, *book, code); !unused.isEmpty()) {
        err << "livrax book: " << code << " não usa " << unused.join(u", "_s) << ".\n";
        return 2;
    }
    const QString out = parser.value(u"out"_s);
    const QString suffix = QFileInfo(out).suffix().toLower();
    const bool writesFile = !book->writesFile || book->writesFile(code);
    if (writesFile && (out.isEmpty() || (suffix != u"pdf"_s && suffix != u"txt"_s))) {
        err << "livrax book: informe --out com um arquivo .pdf ou .txt.\n";
        return 2;
    }
    if (book->check && !book->check(parser, code, err)) return 2;
    if (parser.isSet(u"first-page"_s) &&
        books::FirstPageNumber(parser.value(u"first-page"_s), 0) == 0) {
        err << "livrax book: --first-page deve ser um número inteiro de 1 a "
            << books::MaxPageNumber << ": \"" << parser.value(u"first-page"_s) << "\".\n";
        return 2;
    }

    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!StartForCommand(u"book"_s, err)) return finish(1);
    return finish(book->run(parser, code, out, err));
}

} // namespace livrax::shell
