// The match table of the sales without tax-substitution retention and its
// report over a demo year: the build (LX50) beside streaming the same entry
// and exit rows plus as many inserts through one prepared statement (into a
// scratch table of the same columns, rolled back), and a month of the report
// (LX64, text pages) beside a bare query of that month's rows of the table.
// Usage: match_bench [invoices [folder]].

#include "bench_demo.h"
#include "bench_timing.h"
#include "books/lx50.h"
#include "books/lx64.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "print/print_job.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using namespace livrax;
using livrax::bench::Milliseconds;
using livrax::bench::Rounds;
using namespace Qt::StringLiterals;

namespace {

qint64 Stream(data::Connection& database, data::Transaction& transaction, const QString& sql) {
    data::Statement select(database, transaction, sql);
    select.open();
    qint64 rows = 0;
    while (select.fetch()) {
        for (int i = 0; i < select.columnCount(); ++i)
            (void)select.value(i);
        ++rows;
    }
    return rows;
}

// The build's reading and writing with no matching: both item streams, then
// `rows` inserts through one prepared statement.
double BareBuild(qint64 rows) {
    data::Connection& erp = *data::B_DIR(1);
    {
        data::Transaction create(erp);
        data::Statement(erp, create,
                        books::MatchTableCreateSql().replace(u"VRTNP50"_s, u"BENCH_P50"_s))
            .execute();
        create.commit();
    }
    const double ms = Milliseconds([&] {
        data::Transaction transaction(erp);
        for (const QString& side :
             {u"SELECT PIE.PRODUTO, PIE.DATA, PIE.PEDIDO, PIE.SEQ, PIE.NNOTA, PIE.SERIE, "
              u"PIE.NATOPER, PIE.FAT, PIE.ATUPRO, PIE.QUANT, PIE.SIGLA, PRO.SALDOINIC FROM "
              u"VRTNPIE PIE LEFT JOIN VRTNPRO PRO ON PIE.PRODUTO = PRO.PRODUTO WHERE FAT = 'F' "
              u"AND NATOPER > 100 ORDER BY PIE.PRODUTO, PIE.DATA, PIE.PEDIDO, PIE.SEQ"_s,
              u"SELECT PIS.PRODUTO, PIS.DTNOTA, PIS.PEDIDO, PIS.SEQ, PIS.NNOTA, PIS.SERIE, "
              u"PIS.NATOPER, PIS.FAT, PIS.ATUPRO, PIS.QUANT, PIS.SIGLA, PRO.SALDOINIC FROM "
              u"VRTNPIS PIS LEFT JOIN VRTNPRO PRO ON PIS.PRODUTO = PRO.PRODUTO WHERE FAT = 'F' "
              u"AND NATOPER > 100 ORDER BY PIS.PRODUTO, PIS.DTNOTA, PIS.PEDIDO, PIS.SEQ"_s})
            Stream(erp, transaction, side);
        data::Statement insert(erp, transaction,
                               u"INSERT INTO BENCH_P50 (LX50_SEQ, PRODUTO, DTNOTA, PEDIDO, SEQ, "
                               u"NNOTA, SERIE, SIGLA, SALDO, QUANT, NNOTAe, SERIEe, DATAe, "
                               u"PEDIDOe, SEQe) VALUES (:A, :B, :C, :D, :E, :F, :G, :H, :I, :J, "
                               u":K, :L, :M, :N, :O)"_s);
        for (qint64 row = 1; row <= rows; ++row) {
            insert.bind(u"A"_s, row);
            insert.bind(u"B"_s, u"PRODUTO"_s);
            insert.bind(u"C"_s, QDate(2026, 3, 1));
            for (const QString& name : {u"D"_s, u"E"_s, u"F"_s, u"K"_s, u"N"_s, u"O"_s})
                insert.bind(name, row);
            for (const QString& name : {u"G"_s, u"L"_s})
                insert.bind(name, u"1"_s);
            insert.bind(u"H"_s, u"CLIENTE"_s);
            insert.bind(u"I"_s, data::DbValue::scaled(row));
            insert.bind(u"J"_s, data::DbValue::scaled(10000));
            insert.bind(u"M"_s, QDate(2026, 2, 1));
            insert.execute();
        }
        transaction.rollback();
    });
    data::Transaction drop(erp);
    data::Statement(erp, drop, u"DROP TABLE BENCH_P50"_s).execute();
    drop.commit();
    return ms;
}

books::LX64Options Month() {
    books::LX64Options options;
    options.startDate = u"01/03/26"_s;
    options.endDate = u"31/03/26"_s;
    options.allInvoices = true;
    return options;
}

double BareMonth() {
    return Milliseconds([] {
        data::Connection& erp = *data::B_DIR(1);
        data::Transaction transaction(erp);
        Stream(erp, transaction,
               u"SELECT * FROM VRTNP50 WHERE DTNOTA >= '01.03.2026' AND DTNOTA <= '31.03.2026' "
               u"ORDER BY NNOTA, PRODUTO"_s);
    });
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 invoices = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
    QTextStream out(stdout);
    bench::OpenDemoCompany(folder, invoices);

    out << invoices << " invoices of a demo year\n";
    double build = 0, bareBuild = 0, report = 0, bareReport = 0;
    qint64 rows = 0;
    int pages = 0;
    for (int round = 0; round < Rounds; ++round) {
        const double b = Milliseconds([&] { rows = books::BuildMatchTable(); });
        const double bb = BareBuild(rows);
        print::PrintJob job;
        job.settings.destination = print::Destination::TextPages;
        const double r = Milliseconds([&] { books::PrintLX64(job, Month()); });
        pages = job.pageCount();
        const double br = BareMonth();
        build = round == 0 ? b : std::min(build, b);
        bareBuild = round == 0 ? bb : std::min(bareBuild, bb);
        report = round == 0 ? r : std::min(report, r);
        bareReport = round == 0 ? br : std::min(bareReport, br);
    }
    out << "LX50 build: " << qRound(build) << " ms, bare " << qRound(bareBuild) << " ms, ratio "
        << QString::number(build / bareBuild, 'f', 2) << ", " << rows << " rows\n";
    out << "LX64 month: " << qRound(report) << " ms, bare " << qRound(bareReport) << " ms, ratio "
        << QString::number(report / bareReport, 'f', 2) << ", " << pages << " pages\n";
    data::DataModule().closeAll();
    return 0;
}
