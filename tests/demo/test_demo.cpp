// The demo company: repeatable from its seed, consistent as a set of fiscal
// documents, and created without ever overwriting a folder by accident.

#include "common/cnpj.h"
#include "data/connection.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_command.h"
#include "demo/demo_documents.h"
#include "demo/demo_generator.h"
#include "demo/demo_reports.h"
#include "demo/demo_summary.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::demo;
using namespace Qt::StringLiterals;

namespace {

// Every row of every table of a database, as sorted text lines.
QStringList DumpDatabase(const QString& path) {
    data::Connection connection;
    data::ConnectionOptions options;
    options.path = path;
    connection.open(options);
    data::Transaction transaction(connection);
    data::Statement tables(connection, transaction,
                           u"SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE "
                           u"RDB$RELATION_NAME STARTING WITH 'VRTN'"_s);
    QStringList names;
    tables.open();
    while (tables.fetch())
        names.append(tables.value(0).toString());
    QStringList rows;
    for (const QString& name : names) {
        data::Statement select(connection, transaction, u"SELECT * FROM "_s + name);
        select.open();
        while (select.fetch()) {
            QString row = name;
            for (int i = 0; i < select.columnCount(); ++i)
                row += u'|' + select.value(i).toString();
            rows.append(row);
        }
    }
    rows.sort();
    return rows;
}

// Runs a query on the demo's ERP database and returns the whole number in
// the first column of its single row.
qint64 Scalar(data::Connection& connection, const QString& sql) {
    data::Transaction transaction(connection);
    data::Statement select(connection, transaction, sql);
    select.open();
    return select.fetch() ? select.value(0).toInt() : -1;
}

} // namespace

class TestDemo : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_config;

  private Q_SLOTS:
    // The demo logs its user in: keep that in a settings store of our own.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }
    void sameSeedGivesSameRows();
    void documentsAreConsistent();
    void sampleReportsAreListed();
    void registrationsHaveValidCheckDigits_data();
    void registrationsHaveValidCheckDigits();
    void commandRefusesANonEmptyFolder();
    void commandReplacesWithForce();
    void commandRejectsBadOptions_data();
    void commandRejectsBadOptions();
};

void TestDemo::sameSeedGivesSameRows() {
    QTemporaryDir first, second, third;
    DemoOptions options;
    options.invoices = 300;
    options.seed = 7;
    options.folder = first.path();
    GenerateDemoCompany(options);
    options.folder = second.path();
    GenerateDemoCompany(options);
    options.folder = third.path();
    options.seed = 8;
    GenerateDemoCompany(options);

    for (const QString& file : {DemoErpFileName(), DemoSystemFileName()}) {
        const QStringList a = DumpDatabase(QDir(first.path()).filePath(file));
        const QStringList b = DumpDatabase(QDir(second.path()).filePath(file));
        QCOMPARE_GT(a.size(), 5);
        QCOMPARE(a, b);
    }
    QVERIFY(DumpDatabase(QDir(first.path()).filePath(DemoErpFileName())) !=
            DumpDatabase(QDir(third.path()).filePath(DemoErpFileName())));
}

void TestDemo::sampleReportsAreListed() {
    QTemporaryDir folder;
    DemoOptions options;
    options.invoices = 60;
    options.year = 2025;
    options.folder = folder.path();
    GenerateDemoCompany(options);
    data::Connection erp;
    data::ConnectionOptions connection;
    connection.path = QDir(folder.path()).filePath(DemoErpFileName());
    erp.open(connection);

    const reports::ReportMenu sales{u"PDS"_s, u"PAR_LFPDS"_s, &erp};
    const reports::ReportMenu items{u"PIS"_s, u"PAR_LFPIS"_s, &erp};
    QCOMPARE(reports::ListReports(sales),
             (QList<reports::ReportEntry>{{u"001"_s, u"Vendas por cliente"_s},
                                          {u"002"_s, u"Vendas por dia"_s}}));
    QCOMPARE(reports::ListReports(items),
             (QList<reports::ReportEntry>{{u"001"_s, u"Itens vendidos por produto"_s}}));
    QCOMPARE(FormatDemoReports(erp), u"Relatórios de exemplo:\n"
                                     u"  PAR_LFPDS 001  Vendas por cliente\n"
                                     u"  PAR_LFPDS 002  Vendas por dia\n"
                                     u"  PAR_LFPIS 001  Itens vendidos por produto\n"_s);

    // Report 001 of the sales: grouped by customer, the accounting value
    // with a subtotal per customer and a total, shown as money.
    reports::ReportDefinition definition;
    QVERIFY(reports::ReadReportDefinition(&erp, reports::DefinitionKey(sales, 1), definition));
    QCOMPARE(definition.parameters.title, u"Vendas por cliente"_s);
    QCOMPARE(definition.grouping.field, u"A.SIGLA"_s);
    QCOMPARE(definition.fields.size(), 4);
    const reports::ReportField& amount = definition.fields[2];
    QCOMPARE(amount.content, u"A.LIQUIDO"_s);
    QCOMPARE(amount.picture, u"P,14,2"_s);
    QCOMPARE(amount.subtotal, u"A.LIQUIDO"_s);
    QCOMPARE(amount.total, u"A.LIQUIDO"_s);

    for (const DemoReportMenu& entry : DemoReportMenus()) {
        const reports::ReportMenu menu{entry.tableCode, entry.key, &erp};
        reports::MenuSelectionConfig config;
        QVERIFY(reports::ReadMenuSelection(&erp, reports::MenuSelectionKey(menu), config));
        QCOMPARE(config.singles[0], (reports::SingleSelection{u"Cliente"_s, u"A.SIGLA"_s, u"S"_s}));
        const QList<reports::ReportEntry> listed = reports::ListReports(menu);
        QVERIFY(!listed.isEmpty());
        for (const reports::ReportEntry& report : listed) {
            const int number = report.number.toInt();
            reports::LastSelection selection;
            QVERIFY(
                reports::ReadLastSelection(&erp, reports::SelectionKey(menu, number), selection));
            QCOMPARE(selection.initialDate, u"01/01/25"_s);
            QCOMPARE(selection.finalDate, u"31/12/25"_s);
            QCOMPARE(selection.dateField, u"A.DATA"_s);
            // Every field, the grouping and the sorting name columns of the
            // menu's table: the query of the report's fields runs.
            QVERIFY(reports::ReadReportDefinition(&erp, reports::DefinitionKey(menu, number),
                                                  definition));
            QStringList columns;
            for (const reports::ReportField& field : std::as_const(definition.fields))
                columns.append(field.content);
            columns.append(definition.grouping.field);
            const QString sql = u"SELECT "_s + columns.join(u',') + u" FROM VRTN"_s +
                                entry.tableCode + u" A ORDER BY "_s + definition.sortFields;
            QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM ("_s + sql + u")"_s), qint64(0));
        }
    }
}

void TestDemo::documentsAreConsistent() {
    QTemporaryDir folder;
    DemoOptions options;
    options.invoices = 1200;
    options.year = 2025;
    options.folder = folder.path();
    GenerateDemoCompany(options);
    data::Connection erp;
    data::ConnectionOptions connection;
    connection.path = QDir(folder.path()).filePath(DemoErpFileName());
    erp.open(connection);

    // Every invoice lies in the year, every month has entries and exits.
    const DemoSummary summary = ReadDemoSummary(erp, 2025);
    qint64 entries = 0, exits = 0, cancelled = 0;
    for (int month = 0; month < 12; ++month) {
        QCOMPARE_GT(summary.entries[month].invoices, 0);
        QCOMPARE_GT(summary.exits[month].invoices, 0);
        entries += summary.entries[month].invoices;
        exits += summary.exits[month].invoices;
        cancelled += summary.exits[month].cancelled;
    }
    QCOMPARE(entries + exits, qint64(1200));
    QCOMPARE_GT(cancelled, 0);

    for (const QString& table : {u"VRTNPDE"_s, u"VRTNPDS"_s}) {
        const QString items = table == u"VRTNPDE"_s ? u"VRTNPIE"_s : u"VRTNPIS"_s;
        // The accounting value splits into base, exempt and other amounts,
        // and adds up from the merchandise, freight, IPI and retained ICMS.
        QCOMPARE(Scalar(erp, u"SELECT COUNT(*) FROM "_s + table +
                                 u" WHERE ICMBASE + ICMISENTAS + ICMOUTRAS <> LIQUIDO"
                                 u" OR VALOR + FRETE + IPIVALOR + SUBSTRVALOR <> LIQUIDO"
                                 u" OR IPIBASE + IPIISENTAS + IPIOUTRAS <> LIQUIDO"_s),
                 qint64(0));
        // The items add up to their header and repeat its date and status.
        QCOMPARE(Scalar(erp, u"SELECT COUNT(*) FROM "_s + table +
                                 u" H WHERE H.VALOR + H.IPIVALOR + H.SUBSTRVALOR <> (SELECT "
                                 u"SUM(I.CONTABIL) FROM "_s +
                                 items + u" I WHERE I.PEDIDO = H.PEDIDO)"_s),
                 qint64(0));
        QCOMPARE(Scalar(erp, u"SELECT COUNT(*) FROM "_s + items + u" I JOIN "_s + table +
                                 u" H ON H.PEDIDO = I.PEDIDO WHERE I.DATA <> H.DATA OR I.FAT <> "
                                 u"H.FAT OR I.NATOPER <> H.NATOPER"_s),
                 qint64(0));
    }
    // Exit numbers grow with the issue date and skip at least one number.
    QCOMPARE(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDS A JOIN VRTNPDS B ON B.NNOTA > A.NNOTA"
                         u" AND B.DTNOTA < A.DTNOTA"_s),
             qint64(0));
    QCOMPARE_GE(Scalar(erp, u"SELECT MAX(NNOTA) - MIN(NNOTA) + 1 - COUNT(*) FROM VRTNPDS"_s), 1);
    // What the books must meet: natures left out of the books, a nature missing
    // from the table, tax substitution, IPI and service invoices.
    QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDS S JOIN VRTNNAT N ON N.NATOPER = "
                            u"S.NATOPER WHERE N.ATUGIAICM = 'N'"_s),
                0);
    QCOMPARE(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDE E WHERE NOT EXISTS (SELECT 1 FROM "
                         u"VRTNNAT N WHERE N.NATOPER = E.NATOPER)"_s),
             qint64(1));
    QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDS WHERE SUBSTRVALOR > 0"_s), 0);
    QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDS WHERE IPIVALOR > 0"_s), 0);
    QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPDS WHERE ISQNVALOR > 0 AND NATOPER IN "
                            u"(5933, 6933)"_s),
                0);
    QCOMPARE_GT(Scalar(erp, u"SELECT COUNT(*) FROM VRTNPRO WHERE TIPOPRO IN ('C', 'D')"_s), 0);

    // Partners' CNPJs carry valid check digits.
    data::Transaction transaction(erp);
    data::Statement partners(erp, transaction,
                             u"SELECT CGC FROM VRTNEMP WHERE FJ = 'J' AND CGC <> ''"_s);
    partners.open();
    int checked = 0;
    while (partners.fetch()) {
        QVERIFY2(IsValidCNPJ(partners.value(0).toString()),
                 qPrintable(partners.value(0).toString()));
        ++checked;
    }
    QCOMPARE_GT(checked, 20);
}

void TestDemo::registrationsHaveValidCheckDigits_data() {
    // Published examples of valid state registrations.
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("complete");
    QTest::newRow("SP") << u"SP"_s << u"1100424911"_s << u"110042490114"_s;
    QTest::newRow("RJ") << u"RJ"_s << u"9999999"_s << u"99999993"_s;
    QTest::newRow("PR") << u"PR"_s << u"12345678"_s << u"1234567850"_s;
    QTest::newRow("RS") << u"RS"_s << u"224365879"_s << u"2243658792"_s;
    QTest::newRow("SC") << u"SC"_s << u"25104085"_s << u"251040852"_s;
}

void TestDemo::registrationsHaveValidCheckDigits() {
    QFETCH(QString, state);
    QFETCH(QString, base);
    QFETCH(QString, complete);
    QCOMPARE(CompleteStateRegistration(state, base), complete);
}

void TestDemo::commandRefusesANonEmptyFolder() {
    QTemporaryDir folder;
    QFile keep(QDir(folder.path()).filePath(u"notas.txt"_s));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("do not touch");
    keep.close();
    QCOMPARE(RunDemoCommand({u"--dir"_s, folder.path(), u"--invoices"_s, u"50"_s, u"--no-gui"_s}),
             2);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"notas.txt"_s});
    QVERIFY(keep.open(QIODevice::ReadOnly));
    QCOMPARE(keep.readAll(), QByteArray("do not touch"));
}

void TestDemo::commandReplacesWithForce() {
    QTemporaryDir parent;
    const QString folder = QDir(parent.path()).filePath(u"demo"_s);
    const QStringList arguments = {u"--dir"_s, folder, u"--invoices"_s, u"60"_s, u"--no-gui"_s};
    QCOMPARE(RunDemoCommand(arguments), 0);
    const QString erp = QDir(folder).filePath(DemoErpFileName());
    const QStringList before = DumpDatabase(erp);
    QCOMPARE(RunDemoCommand(arguments), 2);
    QCOMPARE(RunDemoCommand(arguments + QStringList{u"--force"_s, u"--seed"_s, u"9"_s}), 0);
    QVERIFY(DumpDatabase(erp) != before);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{DemoErpFileName(), DemoSystemFileName(), u"temp"_s}));
}

void TestDemo::commandRejectsBadOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{u"--colour"_s};
    QTest::newRow("year not a number") << QStringList{u"--year"_s, u"dois mil"_s};
    QTest::newRow("year out of range") << QStringList{u"--year"_s, u"1850"_s};
    QTest::newRow("no invoices") << QStringList{u"--invoices"_s, u"0"_s};
    QTest::newRow("negative seed") << QStringList{u"--seed"_s, u"-1"_s};
    QTest::newRow("stray argument") << QStringList{u"agora"_s};
}

void TestDemo::commandRejectsBadOptions() {
    QFETCH(QStringList, arguments);
    QTemporaryDir parent;
    const QString folder = QDir(parent.path()).filePath(u"demo"_s);
    QCOMPARE(RunDemoCommand(arguments + QStringList{u"--dir"_s, folder}), 2);
    QVERIFY(!QDir(folder).exists());
}

QTEST_GUILESS_MAIN(TestDemo)
#include "test_demo.moc"
