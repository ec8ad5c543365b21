// The entries and exits books, the GIA Modelo B (entries, analytic) and the
// Inventário Retroativo (layout "00" on the last day of the year) over a
// demo year, to text pages and to PDF,
// beside the time to stream the same rows with a bare query through the same
// connection; and in the preview window, the time until its first page is
// on the screen beside the time of the whole job (page images written).
// Usage: book_bench [invoices [folder [targets [books]]]], targets "GF" by
// default: G text pages, F PDF, V the preview window (offscreen); books
// "LX53,LX55,LX52,LX40" by default.

#include "bench_demo.h"
#include "bench_timing.h"
#include "books/lx40.h"
#include "books/lx52.h"
#include "books/lx53.h"
#include "books/lx55.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "print/preview_window.h"
#include "print/print_job.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace livrax;
using livrax::bench::Milliseconds;
using livrax::bench::Rounds;
using namespace Qt::StringLiterals;

namespace {

// Streams every column of the book's rows, as the book's query returns them.
double BareQuery(const QString& table, const QString& order,
                 const QString& dateField = u"DTNOTA"_s) {
    return Milliseconds([&] {
        data::Connection& erp = *data::B_DIR(1);
        data::Transaction transaction(erp);
        data::Statement select(erp, transaction,
                               u"SELECT * FROM "_s + table + u" WHERE "_s + dateField +
                                   u" >= '01.01.2026' AND "_s + dateField +
                                   u" <= '31.12.2026' ORDER BY "_s + order);
        select.open();
        qint64 sum = 0;
        while (select.fetch())
            for (int i = 0; i < select.columnCount(); ++i)
                sum += select.value(i).isNull() ? 0 : 1;
        (void)sum;
    });
}

books::LX40Options Inventory() {
    books::LX40Options options;
    options.baseDate = u"31/12/26"_s;
    options.layout = u"00"_s;
    return options;
}

// Streams every column of the inventory's item rows, as its query orders them.
double BareInventoryQuery() {
    return Milliseconds([&] {
        data::Connection& erp = *data::B_DIR(1);
        data::Transaction transaction(erp);
        data::Statement select(erp, transaction, books::LX40ItemQuery(Inventory()));
        select.open();
        qint64 sum = 0;
        while (select.fetch())
            for (int i = 0; i < select.columnCount(); ++i)
                sum += select.value(i).isNull() ? 0 : 1;
        (void)sum;
    });
}

books::BookPeriod Year() {
    return {u"01/01/26"_s, u"31/12/26"_s, u"DTNOTA"_s, QString(), u"1"_s};
}

void RunBook(print::PrintJob& job, const QString& book) {
    if (book == u"LX40"_s) {
        books::PrintLX40(job, Inventory());
    } else if (book == u"LX52"_s) {
        books::LX52Options options;
        options.period = Year();
        books::PrintLX52(job, options);
    } else if (book == u"LX55"_s) {
        books::LX55Options options;
        options.period = Year();
        books::PrintLX55(job, options);
    } else {
        books::LX53Options options;
        options.period = Year();
        books::PrintLX53(job, options);
    }
}

struct PreviewTimes {
    double firstPage = -1; // ms until page 1 is shown
    double total = 0;      // ms until the job has ended
    int pages = 0;
};

// The book in the preview window, as "Visão" runs it.
PreviewTimes Preview(const QString& book) {
    PreviewTimes times;
    print::PrintJob job;
    job.settings.destination = print::Destination::Preview;
    print::TF_PRINT window(job);
    QElapsedTimer timer;
    QObject::connect(window.findChild<QLineEdit*>(u"E_INC"_s), &QLineEdit::textChanged, &window,
                     [&] {
                         if (times.firstPage < 0 && window.shownPage() == 1)
                             times.firstPage = double(timer.nsecsElapsed()) / 1e6;
                     });
    timer.start();
    window.run([&book](print::PrintJob& running) { RunBook(running, book); });
    times.total = double(timer.nsecsElapsed()) / 1e6;
    times.pages = job.pageCount();
    window.done(QDialog::Rejected);
    return times;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 invoices = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
    const QString targets = argc > 3 ? QString::fromLocal8Bit(argv[3]) : u"GF"_s;
    const QStringList books =
        (argc > 4 ? QString::fromLocal8Bit(argv[4]) : u"LX53,LX55,LX52,LX40"_s)
            .split(u',', Qt::SkipEmptyParts);
    QTextStream out(stdout);

    bench::OpenDemoCompany(folder, invoices);

    out << invoices << " invoices of a demo year\n";
    out << "book  target      book ms   bare query ms   ratio   pages\n";
    for (const QString& book : books) {
        for (const QChar letter : targets) {
            const QString target(letter);
            if (target == u"V"_s) {
                const PreviewTimes times = Preview(book);
                out << book << "  preview: first page shown " << qRound(times.firstPage)
                    << " ms, whole job " << qRound(times.total) << " ms, " << times.pages
                    << " pages\n";
                out.flush();
                continue;
            }
            double bare = 0, ms = 0;
            int pages = 0;
            for (int round = 0; round < Rounds; ++round) {
                const double bareRound =
                    book == u"LX40"_s   ? BareInventoryQuery()
                    : book == u"LX55"_s ? BareQuery(u"VRTNPDS"_s, u"NNOTA,DTNOTA"_s)
                    : book == u"LX53"_s
                        ? BareQuery(u"VRTNPDE"_s, u"DATA,NNOTA"_s)
                        : BareQuery(u"VRTNPDE"_s, u"ESTADO, NATOPER, DATA"_s, u"DATA"_s);
                print::PrintJob job;
                job.settings.destination = *print::DestinationFromCode(target);
                job.settings.outputFile =
                    folder + u'/' + book + (target == u"G"_s ? u".txt"_s : u".pdf"_s);
                const double bookRound = Milliseconds([&] { RunBook(job, book); });
                bare = round == 0 ? bareRound : std::min(bare, bareRound);
                ms = round == 0 ? bookRound : std::min(ms, bookRound);
                pages = job.pageCount();
            }
            out << book << "  " << (target == u"G"_s ? "text pages" : "PDF       ") << "  "
                << qSetFieldWidth(9) << qRound(ms) << qSetFieldWidth(0) << "   "
                << qSetFieldWidth(13) << qRound(bare) << qSetFieldWidth(0) << "   "
                << qSetFieldWidth(5) << QString::number(ms / bare, 'f', 2) << qSetFieldWidth(0)
                << "   " << pages << "\n";
            out.flush();
        }
    }
    data::DataModule().closeAll();
    return 0;
}
