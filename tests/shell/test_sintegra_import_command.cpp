// "livrax sintegra import" over a fixture database: the dry run, the import,
// the second import that needs --again, a malformed file refused with
// nothing written, and the wrong arguments.

#include "data/statement.h"
#include "data/transaction.h"
#include "efiles/sintegra_layout.h"
#include "platform/clock.h"
#include "shell/sintegra_import_command.h"
#include "support/captured_command.h"
#include "support/module_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace livrax;

namespace {

using Run = test::CapturedRun;

Run Import(const QStringList& arguments) {
    return test::RunCaptured(&shell::RunSintegraImportCommand, arguments);
}

// Records 10, 11, 50 (an entry of 1.000,50 and two exits of 200,00 and
// 30,25) and 90.
QString WriteFile(const QTemporaryDir& dir) {
    efiles::SintegraInformant informant;
    informant.cnpj = u"99.888.777/0001-66"_s;
    informant.stateReg = u"224/3658792"_s;
    informant.state = u"RS"_s;
    informant.startDate = u"01/03/26"_s;
    informant.endDate = u"31/03/26"_s;
    efiles::SintegraChoice choice;
    choice.r50 = true;
    efiles::SintegraWriter writer(informant, choice);
    const auto row = [](const QString& number, const QString& cfop, qint64 cents) {
        efiles::Row50 r;
        r.cnpj = u"12.345.678/0001-90"_s;
        r.date = u"10/03/26"_s;
        r.state = u"RS"_s;
        r.model = u"01"_s;
        r.number = number;
        r.cfop = cfop;
        r.total = r.base = cents * 100;
        r.icms = cents * 100 * 17 / 100;
        r.rate = 170000;
        r.cancelled = u"N"_s;
        return r;
    };
    writer.Write10And11();
    writer.Write50({row(u"500"_s, u"1102"_s, 100050), row(u"7"_s, u"5102"_s, 20000),
                    row(u"8"_s, u"6102"_s, 3025)});
    writer.Write90();
    const QString path = dir.filePath(u"OUTRO.TXT"_s);
    efiles::SaveSintegraFile(path, writer.lines());
    return path;
}

int Count(test::ModuleFixture& fixture, const QString& table) {
    data::Connection& db = fixture.erp().connection();
    data::Transaction transaction(db);
    data::Statement count(db, transaction, u"SELECT COUNT(*) FROM "_s + table);
    count.open();
    const int n = count.fetch() ? int(count.value(0).toInt()) : -1;
    count.close();
    transaction.commit();
    return n;
}

} // namespace

class TestSintegraImportCommand : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2026, 4, 10), QTime(9, 0))); }
    void cleanup() { platform::Clock::reset(); }
    void dryRunThenImportThenAgain();
    void malformedFileWritesNothing();
    void wrongArguments_data();
    void wrongArguments();
};

void TestSintegraImportCommand::dryRunThenImportThenAgain() {
    test::ModuleFixture fixture;
    fixture.erp().exec(u"INSERT INTO VRTNEMP (SIGLA, CGC) VALUES ('FOR1', '12.345.678/0001-90')"_s);
    QTemporaryDir dir;
    const QString path = WriteFile(dir);
    const QString summary = path + u": Entradas: 1 documento, total 1.000,50, ICMS 170,08; "
                                   u"Saídas: 2 documentos, total 230,25, ICMS 39,14\n"_s;

    Run dry = Import({path, u"--dry-run"_s});
    QCOMPARE(dry.err, QString());
    QCOMPARE(dry.out, summary + u"simulação: nada foi gravado\n"_s);
    QCOMPARE(dry.status, 0);
    QCOMPARE(Count(fixture, u"VRTNPDE"_s) + Count(fixture, u"VRTNPDS"_s), 0);

    Run first = Import({path});
    QCOMPARE(first.err, QString());
    QCOMPARE(first.out, summary + u"Conversão concluída: 1 entrada(s) e 2 saída(s) gravadas\n"_s);
    QCOMPARE(first.status, 0);
    QCOMPARE(Count(fixture, u"VRTNPDE"_s), 1);
    QCOMPARE(Count(fixture, u"VRTNPDS"_s), 2);

    Run second = Import({path});
    QCOMPARE(second.out, summary +
                             u"3 de 3 documento(s) já existe(m) no banco de dados (mesmo número, "
                             u"parceiro e data)\n"_s);
    QCOMPARE(second.err, u"livrax sintegra import: documentos já importados; use --again "
                         u"para importá-los de novo\n"_s);
    QCOMPARE(second.status, 1);
    QCOMPARE(Count(fixture, u"VRTNPDS"_s), 2);

    Run again = Import({u"--again"_s, path});
    QCOMPARE(again.err, QString());
    QCOMPARE(again.status, 0);
    QCOMPARE(Count(fixture, u"VRTNPDE"_s), 2);
    QCOMPARE(Count(fixture, u"VRTNPDS"_s), 4);
}

void TestSintegraImportCommand::malformedFileWritesNothing() {
    test::ModuleFixture fixture;
    QTemporaryDir dir;
    const QString path = WriteFile(dir);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    // The second document loses a character; garbage follows the last line.
    const qsizetype second = bytes.indexOf("\r\n50", bytes.indexOf("\r\n50") + 1);
    bytes.remove(second + 70, 1);
    bytes += "lixo\r\n";
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const Run run = Import({path});
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, path + u": linha 4: linha com 125 caracteres; o registro tem 126\n"_s + path +
                          u": linha 7: tipo de registro desconhecido: \"li\"\n"
                          u"livrax sintegra import: arquivo recusado (2 problemas); nada foi "
                          u"importado\n"_s);
    QCOMPARE(run.status, 1);
    QVERIFY(!run.connected);
    QCOMPARE(Count(fixture, u"VRTNPDE"_s) + Count(fixture, u"VRTNPDS"_s), 0);
}

void TestSintegraImportCommand::wrongArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");
    const QString usage = u"Uso: livrax sintegra import ARQUIVO [--dry-run] [--again]\n"_s;
    QTest::newRow("no file") << QStringList{}
                             << u"livrax sintegra import: falta o arquivo a importar\n"_s + usage
                             << 2;
    QTest::newRow("unknown option")
        << QStringList{u"a.txt"_s, u"--force"_s}
        << u"livrax sintegra import: opção desconhecida \"--force\"\n"_s + usage << 2;
    QTest::newRow("two files")
        << QStringList{u"a.txt"_s, u"b.txt"_s}
        << u"livrax sintegra import: um arquivo só; recebeu também \"b.txt\"\n"_s + usage << 2;
    QTest::newRow("missing file")
        << QStringList{u"/nonexistent/SINTEGRA.TXT"_s}
        << u"livrax sintegra import: não foi possível ler \"/nonexistent/SINTEGRA.TXT\": No such "
           u"file or directory\n"_s
        << 2;
}

void TestSintegraImportCommand::wrongArguments() {
    QFETCH(QStringList, arguments);
    const Run run = Import(arguments);
    QTEST(run.err, "err");
    QTEST(run.status, "status");
    QVERIFY(!run.connected);
}

QTEST_GUILESS_MAIN(TestSintegraImportCommand)
#include "test_sintegra_import_command.moc"
