#include "shell/book_commands.h"

#include "common/dates.h"
#include "common/text.h"
#include "print/print_job.h"

#include <QFileInfo>

#include <algorithm>

namespace livrax::shell {

using namespace Qt::StringLiterals;

QList<QCommandLineOption> PeriodOptions() {
    return {{u"from"_s, u"Data inicial."_s, u"dd/mm/aa"_s},
            {u"to"_s, u"Data final."_s, u"dd/mm/aa"_s},
            {u"field"_s, u"Coluna de data do período."_s, u"COLUNA"_s},
            {u"filter"_s, u"Condição SQL adicional."_s, u"SQL"_s}};
}

bool ReadPeriodOptions(const QCommandLineParser& parser, books::BookPeriod& period,
                       QTextStream& err) {
    if (parser.isSet(u"from"_s)) period.startDate = parser.value(u"from"_s);
    if (parser.isSet(u"to"_s)) period.endDate = parser.value(u"to"_s);
    if (parser.isSet(u"field"_s)) period.dateField = parser.value(u"field"_s);
    if (parser.isSet(u"filter"_s)) period.filter = parser.value(u"filter"_s);
    if (parser.isSet(u"first-page"_s)) period.firstPage = parser.value(u"first-page"_s);
    for (const QString& date : {period.startDate, period.endDate}) {
        if (!IsBlank(date) && !IsValidShortDate(date)) {
            err << "livrax book: data inválida: \"" << date << "\" (use dd/mm/aa).\n";
            return false;
        }
    }
    if (!IsBlank(period.startDate) && !IsBlank(period.endDate) &&
        ParseDate(period.startDate) > ParseDate(period.endDate)) {
        err << "livrax book: período invertido: " << period.startDate << " é depois de "
            << period.endDate << ".\n";
        return false;
    }
    return true;
}

void SetUpFileJob(print::PrintJob& job, const QString& out, QTextStream& err) {
    job.settings.destination = QFileInfo(out).suffix().toLower() == u"pdf"_s
                                   ? print::Destination::PdfFile
                                   : print::Destination::TextPages;
    job.settings.outputFile = out;
    // The range reaches one page further, so that the page after the last
    // number begins (and the job is abandoned) instead of the book ending
    // quietly at that number.
    job.settings.lastPage = books::MaxPageNumber + 1;
    job.onPage = [&err](print::PrintJob& running) {
        err << "\rPáginas: " << running.pageCount() << Qt::flush;
        if (running.pageNumber() >= books::MaxPageNumber) running.abandon();
    };
}

bool PrintedWithoutError(const std::function<void()>& print, QTextStream& err) {
    try {
        print();
    } catch (const std::exception& error) {
        err << "\nlivrax book: " << QString::fromUtf8(error.what()) << "\n";
        return false;
    }
    return true;
}

int FinishFileJob(const print::PrintJob& job, const QString& what, const QString& out,
                  QTextStream& err) {
    err << "\rPáginas: " << job.pageCount() << "\n";
    // A book whose pages would run past the last page number was abandoned
    // there (SetUpFileJob): the first page asked for does not fit the book.
    if (job.cancelled()) {
        err << "livrax book: o livro passaria da folha " << books::MaxPageNumber
            << " e foi cortado na folha " << std::min(job.pageNumber(), books::MaxPageNumber)
            << "; informe uma --first-page menor. Nenhum arquivo foi gravado.\n";
        return 2;
    }
    const int pages = job.pageCount();
    QTextStream(stdout) << what << " gravado em " << out << " (" << pages
                        << (pages == 1 ? " página).\n" : " páginas).\n");
    return 0;
}

} // namespace livrax::shell
