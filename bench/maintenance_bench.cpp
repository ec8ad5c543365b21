// The table maintenance's mass change against one bare UPDATE: the sales
// items of a demo year (70,000 invoices give about 100,000 item rows) get
// VALORA := VALOR * 12 through the mass change (keys read in order, the
// expression worked out for each row, each row written by its key in one
// transaction), beside "UPDATE VRTNPIS SET VALORA = VALOR * 12" over the same
// rows, in the same run.
//
//   maintenance_bench [invoices [folder]]

#include "bench_demo.h"
#include "bench_timing.h"
#include "data/connection.h"
#include "data/globals.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "tools/table_maintenance.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

using namespace livrax;
using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 invoices = argc > 1 ? QByteArray(argv[1]).toLongLong() : 70000;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
    QTextStream out(stdout);

    bench::OpenDemoCompany(folder, invoices);
    // The benchmark works as a user of the highest level.
    data::Globals().user.level = u"9"_s;
    QString error;
    const tools::MaintenanceTable table = tools::FindMaintenanceTable(u"PIS"_s, nullptr, &error);
    if (!table.valid()) {
        out << "no item table: " << error << "\n";
        return 1;
    }
    qint64 rows = 0;
    {
        data::Transaction transaction(*table.database);
        data::Statement count(*table.database, transaction,
                              u"SELECT COUNT(*) FROM "_s + table.name);
        count.open();
        count.fetch();
        rows = count.value(0).toInt();
        count.close();
        transaction.commit();
    }
    tools::MassChange change;
    change.field = u"VALORA"_s;
    change.content = u"VALOR * 12"_s;
    change.expression = true;

    double mass = 1e300, bare = 1e300, walk = 1e300;
    qint64 changed = 0;
    for (int round = 0; round < bench::Rounds; ++round) {
        bare = std::min(bare, bench::Milliseconds([&] {
                            data::Transaction transaction(*table.database);
                            transaction.executeImmediate(u"UPDATE "_s + table.name +
                                                         u" SET VALORA = VALOR * 12"_s);
                            transaction.commit();
                        }));
        walk = std::min(walk, bench::Milliseconds([&] {
                            tools::MassChange dry = change;
                            dry.dryRun = true;
                            tools::ApplyMassChange(table, dry);
                        }));
        mass = std::min(mass, bench::Milliseconds([&] {
                            const tools::ChangeResult result =
                                tools::ApplyMassChange(table, change);
                            if (!result.ok) out << "mass change failed: " << result.message << "\n";
                            changed = result.changed;
                        }));
    }
    out << rows << " item rows of " << invoices << " demo invoices; " << changed
        << " changed by the mass change\n"
        << "mass change (VALORA := VALOR * 12)  " << qRound(mass) << " ms\n"
        << "  of which reading and working out    " << qRound(walk) << " ms (--dry-run)\n"
        << "bare UPDATE of the same rows         " << qRound(bare) << " ms\n"
        << "ratio " << QString::number(mass / bare, 'f', 2) << "\n";
    return 0;
}
