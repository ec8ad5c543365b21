// "livrax report export|import" over a fixture database: reports exported
// to their files and stored again from them, a stored report kept unless
// --replace, a range without reports, badly named files, missing companions
// and wrong arguments.

#include "data/statement.h"
#include "data/transaction.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"
#include "shell/report_files_command.h"
#include "support/captured_command.h"
#include "support/module_fixture.h"

#include <QDir>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace livrax;

namespace {

using Run = test::CapturedRun;

Run Report(const QStringList& arguments) {
    return test::RunCaptured(&shell::RunReportFilesCommand, arguments);
}

reports::ReportMenu SalesMenu() {
    return reports::MenuForTable(u"PDS"_s, u"PAR_LFPDS"_s);
}

reports::ReportDefinition Definition(const QString& title) {
    reports::ReportDefinition definition;
    definition.parameters.title = title;
    reports::ReportField number;
    number.title = u"Nota"_s;
    number.content = u"A.NUMERO"_s;
    number.type = u"1"_s;
    number.size = u"8"_s;
    reports::ReportField total = number;
    total.title = u"Total"_s;
    total.content = u"A.TOTAL"_s;
    total.picture = u"###.###.##0,00"_s;
    total.total = u"S"_s;
    definition.fields = {number, total};
    return definition;
}

void DeleteReport(const reports::ReportMenu& menu, int number) {
    data::Transaction transaction(*menu.database);
    data::Statement remove(*menu.database, transaction,
                           u"DELETE FROM VRTNPAR WHERE CHAVE STARTING WITH :P_CHAVE"_s);
    remove.bind(u"P_CHAVE"_s, reports::DefinitionKey(menu, number).chopped(1));
    remove.execute();
    transaction.commit();
}

} // namespace

class TestReportFilesCommand : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void exportThenImport();
    void refusals_data();
    void refusals();
};

void TestReportFilesCommand::exportThenImport() {
    test::ModuleFixture fixture;
    const reports::ReportMenu menu = SalesMenu();
    QVERIFY(menu.database);
    QVERIFY(reports::WriteReportDefinition(menu.database, reports::DefinitionKey(menu, 1),
                                           Definition(u"Vendas por cliente"_s)));
    QVERIFY(reports::WriteReportDefinition(menu.database, reports::DefinitionKey(menu, 3),
                                           Definition(u"Vendas por dia"_s)));
    reports::LastSelection selection;
    selection.initialDate = u"01/01/26"_s;
    selection.finalDate = u"31/12/26"_s;
    selection.dateField = u"A.DATA"_s;
    QVERIFY(reports::WriteLastSelection(menu.database, reports::SelectionKey(menu, 1), selection));
    // Another menu of the same table, outside the export.
    QVERIFY(reports::WriteReportDefinition(menu.database, u"FMQ_PDS002A"_s,
                                           Definition(u"Outro menu"_s)));

    QTemporaryDir dir;
    const QString folder = dir.path();
    Run exported = Report({u"export"_s, u"pds"_s, u"1-5"_s, u"--dir"_s, folder});
    QCOMPARE(exported.err, QString());
    QCOMPARE(exported.out,
             u"Relatório PAR_LFPDS001 \"Vendas por cliente\" exportado em %1: PAR_LFPDS001A.FMB, "
             u"PAR_LFPDS001C.FMB, PAR_LFPDS001V.FMB\n"
             u"Relatório PAR_LFPDS003 \"Vendas por dia\" exportado em %1: PAR_LFPDS003A.FMB, "
             u"PAR_LFPDS003C.FMB, PAR_LFPDS003V.FMB\n"
             u"2 relatório(s) exportado(s)\n"_s.arg(folder));
    QCOMPARE(exported.status, 0);
    QCOMPARE(QDir(folder).entryList(QDir::Files),
             (QStringList{u"PAR_LFPDS001A.FMB"_s, u"PAR_LFPDS001C.FMB"_s, u"PAR_LFPDS001V.FMB"_s,
                          u"PAR_LFPDS003A.FMB"_s, u"PAR_LFPDS003C.FMB"_s, u"PAR_LFPDS003V.FMB"_s}));

    const Run none = Report({u"export"_s, u"PDS"_s, u"004-009"_s, u"--dir"_s, folder});
    QCOMPARE(none.err, u"livrax report: nenhum relatório 004 a 009 no menu PAR_LFPDS; nada foi "
                       u"exportado\n"_s);
    QCOMPARE(none.status, 1);
    const Run other =
        Report({u"export"_s, u"PDS"_s, u"2"_s, u"--dir"_s, folder, u"--menu"_s, u"FMQ_PDS"_s});
    QCOMPARE(other.status, 0);
    QVERIFY(QFile::exists(QDir(folder).filePath(u"FMQ_PDS002A.FMB"_s)));

    // A stored report stays unless --replace is given.
    const QString file = QDir(folder).filePath(u"PAR_LFPDS001A.FMB"_s);
    const Run kept = Report({u"import"_s, file});
    QCOMPARE(kept.err, u"livrax report: o relatório PAR_LFPDS001 já existe; use --replace para "
                       u"substituí-lo\n"_s);
    QCOMPARE(kept.status, 1);

    // Deleted, it comes back whole from its files.
    reports::ReportDefinition before, after;
    QVERIFY(reports::ReadReportDefinition(menu.database, reports::DefinitionKey(menu, 1), before));
    QCOMPARE(before.parameters.title, u"Vendas por cliente"_s);
    DeleteReport(menu, 1);
    QCOMPARE(reports::ListReports(menu).size(), 1);
    const Run imported = Report({u"import"_s, file});
    QCOMPARE(imported.err, QString());
    QCOMPARE(imported.out, u"Relatório PAR_LFPDS001 \"Vendas por cliente\" importado\n"_s);
    QCOMPARE(imported.status, 0);
    QVERIFY(reports::ReadReportDefinition(menu.database, reports::DefinitionKey(menu, 1), after));
    QCOMPARE(after, before);
    reports::LastSelection readSelection;
    QVERIFY(
        reports::ReadLastSelection(menu.database, reports::SelectionKey(menu, 1), readSelection));
    QCOMPARE(readSelection.initialDate, selection.initialDate);
    QCOMPARE(readSelection.finalDate, selection.finalDate);
    QCOMPARE(readSelection.dateField, selection.dateField);

    // Changed in the database, --replace brings the exported report back.
    QVERIFY(reports::WriteReportDefinition(menu.database, reports::DefinitionKey(menu, 3),
                                           Definition(u"Mudado"_s)));
    const Run replaced =
        Report({u"import"_s, QDir(folder).filePath(u"PAR_LFPDS003A.FMB"_s), u"--replace"_s});
    QCOMPARE(replaced.err, QString());
    QCOMPARE(replaced.status, 0);
    QCOMPARE(reports::ListReports(menu),
             (QList<reports::ReportEntry>{{u"001"_s, u"Vendas por cliente"_s},
                                          {u"003"_s, u"Vendas por dia"_s}}));
}

void TestReportFilesCommand::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");
    // "DIR" stands for a folder that holds only PAR_LFPDS002A.FMB.
    const QString exportUsage =
        u"Uso: livrax report export TABELA NNN[-MMM] --dir PASTA [--menu CHAVE]\n"_s;
    const QString importUsage = u"Uso: livrax report import ARQUIVO [--replace]\n"_s;
    QTest::newRow("no subcommand")
        << QStringList{}
        << u"livrax report: falta o subcomando (export ou import)\nUso: livrax "
           u"report export TABELA NNN[-MMM] --dir PASTA [--menu CHAVE] | report "
           u"import ARQUIVO [--replace]\n"_s
        << 2;
    QTest::newRow("export without a folder")
        << QStringList{u"export"_s, u"PDS"_s, u"1"_s}
        << u"livrax report: falta a pasta (--dir)\n"_s + exportUsage << 2;
    QTest::newRow("export, folder missing")
        << QStringList{u"export"_s, u"PDS"_s, u"1"_s, u"--dir"_s, u"DIR/nada"_s}
        << u"livrax report: a pasta \"DIR/nada\" não existe\n"_s + exportUsage << 2;
    QTest::newRow("export, range backwards")
        << QStringList{u"export"_s, u"PDS"_s, u"5-3"_s, u"--dir"_s, u"DIR"_s}
        << u"livrax report: números de relatório inválidos \"5-3\" (NNN ou NNN-MMM)\n"_s +
               exportUsage
        << 2;
    QTest::newRow("export, four digits")
        << QStringList{u"export"_s, u"PDS"_s, u"1000"_s, u"--dir"_s, u"DIR"_s}
        << u"livrax report: números de relatório inválidos \"1000\" (NNN ou NNN-MMM)\n"_s +
               exportUsage
        << 2;
    QTest::newRow("export without the range")
        << QStringList{u"export"_s, u"PDS"_s, u"--dir"_s, u"DIR"_s}
        << u"livrax report: informe a tabela e os números dos relatórios\n"_s + exportUsage << 2;
    QTest::newRow("import without a file")
        << QStringList{u"import"_s}
        << u"livrax report: falta o arquivo a importar\n"_s + importUsage << 2;
    QTest::newRow("import, unknown option")
        << QStringList{u"import"_s, u"DIR/PAR_LFPDS002A.FMB"_s, u"--force"_s}
        << u"livrax report: opção desconhecida \"--force\"\n"_s + importUsage << 2;
    QTest::newRow("import, not a definition file")
        << QStringList{u"import"_s, u"DIR/PAR_LFPDS002V.FMB"_s}
        << u"livrax report: \"DIR/PAR_LFPDS002V.FMB\" não é um arquivo de definição de relatório "
           u"(menu + NNN + A.FMB, por exemplo PAR_LFPDS001A.FMB); nada foi importado\n"_s
        << 1;
    QTest::newRow("import, companions missing")
        << QStringList{u"import"_s, u"DIR/PAR_LFPDS002A.FMB"_s}
        << u"livrax report: faltam arquivos do relatório (ou não puderam ser lidos): "
           u"DIR/PAR_LFPDS002C.FMB, DIR/PAR_LFPDS002V.FMB; nada foi importado\n"_s
        << 1;
}

void TestReportFilesCommand::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QFile file(dir.filePath(u"PAR_LFPDS002A.FMB"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Relatório#\r\n");
    file.close();
    for (QString& argument : arguments)
        argument.replace(u"DIR"_s, dir.path());

    const Run run = Report(arguments);
    QCOMPARE(run.err, err.replace(u"DIR"_s, dir.path()));
    QCOMPARE(run.out, QString());
    QTEST(run.status, "status");
    QVERIFY(!run.connected);
}

QTEST_GUILESS_MAIN(TestReportFilesCommand)
#include "test_report_files_command.moc"
