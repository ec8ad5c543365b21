// The generic query's grid and text export against the bare database
// reads: a table of a million item rows (generated in a new embedded
// database) opened in the query model and its first screen read, beside the
// same statement opened directly and its first batch of 200 rows read as
// text; then 100,000 rows exported to a fixed-width text file, beside the
// same rows read directly and the same bytes written straight to a file.
//
//   query_bench [rows [exportRows]]

#include "bench_timing.h"
#include "common/fields.h"
#include "data/connection.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "tools/query_export.h"
#include "tools/query_model.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace livrax;
using namespace Qt::StringLiterals;

namespace {

constexpr int ScreenRows = 40;

// Items as the invoice item tables hold them.
void CreateItems(data::Connection& connection, int rows) {
    connection.executeImmediate(
        u"CREATE TABLE QBITEM (NNOTA INTEGER, ITEM INTEGER, PRODUTO VARCHAR(20), "
        u"DESCRICAO VARCHAR(40), QUANT NUMERIC(15,4), VALOR NUMERIC(15,2), EMISSAO DATE)"_s);
    connection.executeImmediate(
        u"EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < "_s + QString::number(rows) +
        u") DO BEGIN INSERT INTO QBITEM VALUES (:I / 5 + 1, MOD(:I, 5) + 1, "
        u"'P' || LPAD(MOD(:I, 9973), 6, '0'), 'PRODUTO DE DEMONSTRACAO ' || MOD(:I, 9973), "
        u"MOD(:I, 97) + 0.25, MOD(:I, 100003) / 100.00, DATE '2026-01-01' + MOD(:I, 365)); "
        u"I = I + 1; END END"_s);
}

// The bare first batch: the statement in a snapshot, 200 rows read as text.
int BareFirstBatch(data::Connection& connection, const QString& sql, int rows) {
    data::Transaction transaction(connection, data::TransactionMode::ReadSnapshot);
    data::Statement select(connection, transaction, sql);
    select.open();
    QList<QStringList> batch;
    while (batch.size() < rows && select.fetch()) {
        QStringList row;
        for (int i = 0; i < select.columnCount(); ++i)
            row << select.value(i).toString();
        batch << row;
    }
    select.close();
    transaction.commit();
    return int(batch.size());
}

// The bare export: the rows read directly and their padded lines written
// straight to a file, no staging. Widths as the export gives them.
qint64 BareExport(data::Connection& connection, const QString& sql, const QList<int>& widths,
                  const QString& fileName) {
    data::Transaction transaction(connection, data::TransactionMode::ReadSnapshot);
    data::Statement select(connection, transaction, sql);
    select.open();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return -1;
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    QString header;
    for (int i = 0; i < select.columnCount(); ++i)
        header += PadRight(select.columnName(i), widths.at(i));
    file.write(encoder.encode(header + u"\r\n"_s));
    while (select.fetch()) {
        QString line;
        for (int i = 0; i < select.columnCount(); ++i)
            line += PadRight(select.value(i).toString(), widths.at(i));
        line += u"\r\n"_s;
        file.write(encoder.encode(line));
    }
    file.close();
    transaction.commit();
    return QFile(fileName).size();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1000, atoi(argv[1])) : 1000000;
    const int exportRows = argc > 2 ? std::max(100, atoi(argv[2])) : 100000;
    QTemporaryDir dir;
    data::ConnectionOptions options;
    options.path = dir.filePath(u"QUERY.FDB"_s);
    options.forcedWrites = false;
    data::Connection connection;
    connection.create(options);
    const double loading = bench::Milliseconds([&] { CreateItems(connection, rows); });
    std::printf("table QBITEM: %d rows generated in %.0f ms\n", rows, loading);

    // --- the grid's first screen ---
    for (const QString& sql :
         {u"SELECT * FROM QBITEM"_s, u"SELECT * FROM QBITEM ORDER BY DESCRICAO, NNOTA"_s}) {
        double grid = 1e18, bare = 1e18;
        for (int round = 0; round < bench::Rounds; ++round) {
            grid = std::min(grid, bench::Milliseconds([&] {
                                tools::QueryModel model;
                                model.open(connection, sql);
                                QString seen;
                                for (int r = 0; r < ScreenRows; ++r)
                                    for (int c = 0; c < model.columnCount(); ++c)
                                        seen = model.index(r, c).data().toString();
                                model.close();
                            }));
            bare =
                std::min(bare, bench::Milliseconds([&] {
                             BareFirstBatch(connection, sql, tools::QueryModel::DefaultBatchSize);
                         }));
        }
        std::printf("first screen  %-50s model %8.1f ms  bare batch %8.1f ms  ratio %.2f\n",
                    qPrintable(sql), grid, bare, grid / bare);
    }
    {
        tools::QueryModel model;
        model.open(connection, u"SELECT * FROM QBITEM"_s);
        const double scroll = bench::Milliseconds([&] {
            while (model.rowCount() < 10000 && model.canFetchMore())
                model.fetchMore();
        });
        std::printf("scrolling to row 10,000 (49 more batches): %.1f ms\n", scroll);
    }

    // --- the text export ---
    const QString sql = u"SELECT FIRST "_s + QString::number(exportRows) + u" * FROM QBITEM"_s;
    double exported = 1e18, bare = 1e18, straight = 1e18;
    qint64 bytes = 0;
    for (int round = 0; round < bench::Rounds; ++round) {
        exported = std::min(exported, bench::Milliseconds([&] {
                                tools::QueryModel model;
                                model.open(connection, sql);
                                const tools::ExportResult result =
                                    tools::ExportText(model, dir.filePath(u"EXPORT.TXT"_s));
                                if (result.status != tools::ExportResult::Status::Written)
                                    std::printf("export failed: %s\n", qPrintable(result.error));
                            }));
        tools::QueryModel widthsOf;
        widthsOf.open(connection, sql);
        QList<int> widths;
        for (int c = 0; c < widthsOf.columnCount(); ++c)
            widths << tools::TextExportWidth(widthsOf, c);
        widthsOf.close();
        bare = std::min(bare, bench::Milliseconds([&] {
                            bytes =
                                BareExport(connection, sql, widths, dir.filePath(u"BARE.TXT"_s));
                        }));
        QFile file(dir.filePath(u"BARE.TXT"_s));
        file.open(QIODevice::ReadOnly);
        const QByteArray content = file.readAll();
        straight = std::min(straight, bench::Milliseconds([&] {
                                QFile out(dir.filePath(u"STRAIGHT.TXT"_s));
                                out.open(QIODevice::WriteOnly);
                                out.write(content);
                            }));
    }
    QFile a(dir.filePath(u"EXPORT.TXT"_s)), b(dir.filePath(u"BARE.TXT"_s));
    a.open(QIODevice::ReadOnly);
    b.open(QIODevice::ReadOnly);
    const bool same = a.readAll() == b.readAll();
    std::printf("export %d rows (%lld bytes, %s): export %.1f ms  bare read+write %.1f ms  "
                "ratio %.2f;  the bytes alone written straight: %.1f ms\n",
                exportRows, bytes, same ? "same bytes" : "DIFFERENT BYTES", exported, bare,
                exported / bare, straight);
    return same ? 0 : 1;
}
