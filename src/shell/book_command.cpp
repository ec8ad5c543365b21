#include "shell/book_command.h"

#include "books/lx53.h"
#include "books/lx55.h"
#include "books/tf_lx53.h"
#include "books/tf_lx55.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "print/print_job.h"
#include "shell/startup.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace livrax::shell {

using namespace Qt::StringLiterals;

QString BookUsage() {
    return u"book LX53|LX55 [--from dd/mm/yy] [--to dd/mm/yy] [--field COLUNA] [--filter SQL] "
           u"[--first-page N] [--no-ipi] [--no-icm] [--company] [--no-st] --out ARQUIVO.pdf|.txt"_s;
}

int RunBookCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Imprime um livro fiscal sem janelas, como o usuário registrado, em PDF (.pdf) ou "
        u"texto (.txt). As opções não informadas vêm dos parâmetros salvos do livro."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"livro"_s, u"Código do livro: LX53 ou LX55."_s);
    parser.addOption({u"from"_s, u"Data inicial."_s, u"dd/mm/aa"_s});
    parser.addOption({u"to"_s, u"Data final."_s, u"dd/mm/aa"_s});
    parser.addOption({u"field"_s, u"Coluna de data do período."_s, u"COLUNA"_s});
    parser.addOption({u"filter"_s, u"Condição SQL adicional."_s, u"SQL"_s});
    parser.addOption({u"first-page"_s, u"Número da primeira página."_s, u"N"_s});
    parser.addOption({u"no-ipi"_s, u"Sem as linhas de IPI."_s});
    parser.addOption({u"no-icm"_s, u"Sem alíquota, imposto, isentas e outras do ICMS."_s});
    parser.addOption({u"company"_s, u"LX55: com o nome da empresa."_s});
    parser.addOption({u"no-st"_s, u"LX55: sem o total da substituição tributária."_s});
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
    const QString book = positional.value(0).toUpper();
    if (positional.size() != 1 || (book != u"LX53"_s && book != u"LX55"_s)) {
        err << "livrax book: informe o livro: LX53 ou LX55.\n";
        return 2;
    }
    const QString out = parser.value(u"out"_s);
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (out.isEmpty() || (suffix != u"pdf"_s && suffix != u"txt"_s)) {
        err << "livrax book: informe --out com um arquivo .pdf ou .txt.\n";
        return 2;
    }

    QString startupError;
    try {
        StartProgram([&startupError](const QString& message) { startupError = message; });
    } catch (const data::DbError& error) {
        startupError = error.message();
    }
    const auto finish = [](int status) {
        RunShutdown();
        return status;
    };
    if (!data::B_DIR(1)->isConnected()) {
        err << "livrax book: " << (startupError.isEmpty() ? u"banco de dados 1 não configurado"_s
                                                         : startupError)
            << "\n";
        return finish(1);
    }

    // The saved settings are the defaults; the run does not change them.
    const bool exits = book == u"LX55"_s;
    const books::LoadedBookSettings saved = books::LoadBookSettings(
        exits ? books::TF_LX55::Settings() : books::TF_LX53::Settings());
    books::BookPeriod period = saved.period;
    if (parser.isSet(u"from"_s)) period.startDate = parser.value(u"from"_s);
    if (parser.isSet(u"to"_s)) period.endDate = parser.value(u"to"_s);
    if (parser.isSet(u"field"_s)) period.dateField = parser.value(u"field"_s);
    if (parser.isSet(u"filter"_s)) period.filter = parser.value(u"filter"_s);
    if (parser.isSet(u"first-page"_s)) period.firstPage = parser.value(u"first-page"_s);
    if (period.dateField.isEmpty()) period.dateField = exits ? u"DTNOTA"_s : u"DATA"_s;
    for (const QString& date : {period.startDate, period.endDate}) {
        if (!IsBlank(date) && !books::bookDateValid(date)) {
            err << "livrax book: data inválida: \"" << date << "\" (use dd/mm/aa).\n";
            return finish(2);
        }
    }
    const bool printIpi = !parser.isSet(u"no-ipi"_s);
    const bool printIcm = !parser.isSet(u"no-icm"_s);
    books::LX53Options entries{period, saved.checks.value(0) && printIpi,
                               saved.checks.value(1) && printIcm, {}};
    books::LX55Options outs{period,
                            saved.checks.value(0) && printIpi,
                            saved.checks.value(1) || parser.isSet(u"company"_s),
                            saved.checks.value(2) && printIcm,
                            saved.checks.value(3) && !parser.isSet(u"no-st"_s),
                            {}};

    print::PrintJob job;
    job.destination = suffix == u"pdf"_s ? u"F"_s : u"G"_s;
    job.outputFile = out;
    job.onPage = [&err](print::PrintJob& running) {
        err << "\rPáginas: " << running.pageCount << Qt::flush;
    };
    try {
        if (exits)
            books::PrintLX55(job, outs);
        else
            books::PrintLX53(job, entries);
    } catch (const std::exception& error) {
        err << "\nlivrax book: " << QString::fromUtf8(error.what()) << "\n";
        return finish(1);
    }
    err << "\rPáginas: " << job.pageCount << "\n";
    const QString failed = exits ? outs.failedQuery : entries.failedQuery;
    if (!failed.isEmpty())
        err << "livrax book: aviso: a consulta falhou e o livro saiu sem notas: " << failed
            << "\n";
    QTextStream(stdout) << book << " gravado em " << out << " (" << job.pageCount
                        << " páginas).\n";
    return finish(0);
}

} // namespace livrax::shell
