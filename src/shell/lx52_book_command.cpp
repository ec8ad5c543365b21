// "livrax book LX52": the GIA Modelo B of a period.

#include "shell/book_commands.h"

#include "books/lx52.h"
#include "common/text.h"
#include "print/print_job.h"

#include <QRegularExpression>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

int PrintGia(const QCommandLineParser& parser, const QString& out, QTextStream& err) {
    // The saved settings are the defaults; the run does not change them.
    books::LX52Options options = books::LoadLX52Settings();
    if (parser.isSet(u"year"_s)) {
        options.year = parser.value(u"year"_s);
        options.period.startDate = u"01/01/"_s + options.year;
        options.period.endDate = u"31/12/"_s + options.year;
    }
    if (!ReadPeriodOptions(parser, options.period, err)) return 2;
    if (IsBlank(options.period.startDate) || IsBlank(options.period.endDate)) {
        err << "livrax book: LX52 precisa das duas datas do período: informe --year AA ou "
               "--from e --to (dd/mm/aa).\n";
        return 2;
    }
    options.side = parser.isSet(u"exits"_s) ? books::LX52Side::Exits : books::LX52Side::Entries;
    if (parser.isSet(u"group"_s))
        options.grouping = books::LX52Grouping(parser.value(u"group"_s).toInt());
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { books::PrintLX52(job, options); }, err)) return 1;
    return FinishFileJob(job, u"LX52"_s, out, err);
}

} // namespace

BookCommand LX52BookCommand() {
    BookCommand command;
    command.codes = {u"LX52"_s};
    command.usage = u"book LX52 [--year AA | --from dd/mm/aa --to dd/mm/aa] [--exits] "
                    u"[--group 0|1|2] [--filter SQL] [--first-page N] --out ARQUIVO.pdf|.txt"_s;
    command.options = PeriodOptions();
    command.options.append(
        {u"year"_s, u"LX52: o ano inteiro como período (01/01/AA a 31/12/AA)."_s, u"AA"_s});
    command.options.append({u"exits"_s, u"LX52: as saídas (sem a opção: as entradas)."_s});
    command.options.append({u"group"_s,
                            u"LX52: 0 analítico (estado e natureza), 1 por natureza, "
                            u"2 por estado."_s,
                            u"0|1|2"_s});
    // The period has no date column to choose: it is DATA or DTNOTA.
    command.takes = [](const QString&, const QString& name) { return name != u"field"_s; };
    command.check = [](const QCommandLineParser& parser, const QString&, QTextStream& err) {
        if (parser.isSet(u"year"_s)) {
            static const QRegularExpression twoDigits(u"^\\d{2}$"_s);
            if (!twoDigits.match(parser.value(u"year"_s)).hasMatch()) {
                err << "livrax book: --year deve ter dois dígitos: \"" << parser.value(u"year"_s)
                    << "\".\n";
                return false;
            }
            if (parser.isSet(u"from"_s) || parser.isSet(u"to"_s)) {
                err << "livrax book: informe --year ou --from e --to, não ambos.\n";
                return false;
            }
        }
        if (parser.isSet(u"group"_s)) {
            const QString group = parser.value(u"group"_s);
            if (group != u"0"_s && group != u"1"_s && group != u"2"_s) {
                err << "livrax book: --group deve ser 0, 1 ou 2: \"" << group << "\".\n";
                return false;
            }
        }
        return true;
    };
    command.run = [](const QCommandLineParser& parser, const QString&, const QString& out,
                     QTextStream& err) { return PrintGia(parser, out, err); };
    return command;
}

} // namespace livrax::shell
