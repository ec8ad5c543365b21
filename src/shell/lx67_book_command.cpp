// "livrax book LX67": the monthly list of controlled medicines.

#include "shell/book_commands.h"

#include "books/lx67.h"
#include "common/conditions.h"
#include "print/print_job.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

bool CheckLX67(const QCommandLineParser& parser, QTextStream& err) {
    if (parser.isSet(u"first-page"_s)) {
        err << "livrax book: LX67 não tem página inicial (as folhas começam em 1).\n";
        return false;
    }
    if (parser.isSet(u"swap-titles"_s) && parser.isSet(u"keep-titles"_s)) {
        err << "livrax book: use --swap-titles ou --keep-titles, não os dois.\n";
        return false;
    }
    for (const QString& name : {u"filter"_s, u"order"_s}) {
        if (!parser.isSet(name)) continue;
        QString text = parser.value(name);
        const QString problem = FilterProblem(text.replace(u'#', u' '));
        if (!problem.isEmpty()) {
            err << "livrax book: --" << name
                << " recusado (só pode restringir os itens da relação): " << problem << ".\n";
            return false;
        }
    }
    return true;
}

int PrintMedicines(const QCommandLineParser& parser, const QString& out, QTextStream& err) {
    // The saved settings are the defaults; the run does not change them.
    books::LX67Options options = books::LoadLX67Settings();
    books::BookPeriod period;
    period.startDate = options.startDate;
    period.endDate = options.endDate;
    period.filter = options.filter;
    if (!ReadPeriodOptions(parser, period, err)) return 2;
    options.startDate = period.startDate;
    options.endDate = period.endDate;
    options.filter = period.filter;
    if (parser.isSet(u"order"_s)) options.order = parser.value(u"order"_s);
    if (parser.isSet(u"swap-titles"_s)) options.swapTitles = true;
    if (parser.isSet(u"keep-titles"_s)) options.swapTitles = false;
    const books::LX67Company company = books::LoadLX67Company();
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { books::PrintLX67(job, options, company); }, err)) return 1;
    return FinishFileJob(job, u"LX67"_s, out, err);
}

} // namespace

BookCommand LX67BookCommand() {
    BookCommand command;
    command.codes = {u"LX67"_s};
    command.usage = u"book LX67 [--from dd/mm/aa] [--to dd/mm/aa] [--filter SQL] [--order SQL] "
                    u"[--swap-titles|--keep-titles] --out ARQUIVO.pdf|.txt"_s;
    command.options = PeriodOptions();
    command.options << QCommandLineOption(
                           u"order"_s,
                           u"LX67: ordem das linhas (\"Ordem\"; colunas PIS.xxx, PRO.xxx, "
                           u"EMP.xxx)."_s,
                           u"SQL"_s)
                    << QCommandLineOption(u"swap-titles"_s,
                                          u"LX67: troca os títulos (\"Troca os títulos (Nome do "
                                          u"medicamento pelo Genérico)\")."_s)
                    << QCommandLineOption(u"keep-titles"_s, u"LX67: títulos sem troca."_s);
    // The list's period is always on the item's DATA.
    command.takes = [](const QString&, const QString& name) { return name != u"field"_s; };
    command.check = [](const QCommandLineParser& parser, const QString&, QTextStream& err) {
        return CheckLX67(parser, err);
    };
    command.run = [](const QCommandLineParser& parser, const QString&, const QString& out,
                     QTextStream& err) { return PrintMedicines(parser, out, err); };
    return command;
}

} // namespace livrax::shell
