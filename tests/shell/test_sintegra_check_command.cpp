// "livrax sintegra check": exit status, the text and JSON outputs, and the
// messages for wrong arguments and unreadable files.

#include "efiles/sintegra_layout.h"
#include "shell/sintegra_check_command.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace livrax;

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

Run Check(const QStringList& arguments) {
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = shell::RunSintegraCheckCommand(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

// Records 10, 11 and 90 of an informant with valid numbers; `cnpj` lets a
// case break the check digits.
QString WriteFile(const QTemporaryDir& dir, const QString& cnpj) {
    efiles::SintegraInformant informant;
    informant.cnpj = cnpj;
    informant.stateReg = u"224/3658792"_s;
    informant.state = u"RS"_s;
    informant.startDate = u"01/03/04"_s;
    informant.endDate = u"31/03/04"_s;
    informant.agreement = informant.natures = u"3"_s;
    informant.purpose = u"1"_s;
    efiles::SintegraWriter writer(informant, {});
    writer.Write10And11();
    writer.Write90();
    const QString path = dir.filePath(cnpj.right(2) + u".txt"_s);
    efiles::SaveSintegraFile(path, writer.lines());
    return path;
}

} // namespace

class TestSintegraCheckCommand : public QObject {
    Q_OBJECT

  private slots:
    void cleanFile();
    void findingsInTextAndJson();
    void wrongArguments_data();
    void wrongArguments();
};

void TestSintegraCheckCommand::cleanFile() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, u"11.222.333/0001-81"_s);
    const Run run = Check({path});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, path + u": nenhum problema, 0 observações\n"_s);
    QCOMPARE(run.err, QString());
}

void TestSintegraCheckCommand::findingsInTextAndJson() {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, u"11.222.333/0001-82"_s);

    const Run text = Check({path});
    QCOMPARE(text.status, 1);
    const QStringList lines = text.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(
        lines.contains(u"linha 1: CNPJ/CPF 11222333000182 com dígitos verificadores errados"_s),
        qPrintable(text.out));
    QCOMPARE(lines.last(), path + u": 1 problema, 0 observações"_s);

    const Run json = Check({u"--json"_s, path});
    QCOMPARE(json.status, 1);
    const QStringList objects = json.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(objects.size(), 1); // no summary among the JSON lines
    const QJsonObject finding = QJsonDocument::fromJson(objects.first().toUtf8()).object();
    QCOMPARE(finding.value(u"line"_s).toInt(), 1);
    QCOMPARE(finding.value(u"severity"_s).toString(), u"finding"_s);
    QCOMPARE(finding.value(u"code"_s).toString(), u"cnpj"_s);
}

void TestSintegraCheckCommand::wrongArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << QStringList() << u"falta o arquivo a conferir"_s;
    QTest::newRow("only --json") << QStringList{u"--json"_s} << u"falta o arquivo a conferir"_s;
    QTest::newRow("unknown option")
        << QStringList{u"--fix"_s, u"a.txt"_s} << u"opção desconhecida \"--fix\""_s;
    QTest::newRow("two files") << QStringList{u"a.txt"_s, u"b.txt"_s}
                               << u"um arquivo só; recebeu também \"b.txt\""_s;
    QTest::newRow("missing file") << QStringList{u"/nenhum/arquivo.txt"_s}
                                  << u"não foi possível ler \"/nenhum/arquivo.txt\""_s;
    QTest::newRow("a folder") << QStringList{u"/"_s} << u"\"/\" é uma pasta"_s;
}

void TestSintegraCheckCommand::wrongArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = Check(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(u"livrax sintegra check: "_s + message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

QTEST_APPLESS_MAIN(TestSintegraCheckCommand)
#include "test_sintegra_check_command.moc"
