// The generic query's exports on a real database: the text file's bytes
// (fixed widths, CR LF, Windows-1252), a cancelled or failing export that
// leaves no file, and the workbook read back from its sheet XML.

#include "support/test_database.h"
#include "tools/query_export.h"
#include "tools/query_model.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

class TestQueryExport : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void textFileBytes();
    void cancelledExportLeavesOldFile();
    void failingExportReportsIt();
    void workbookReadBack();
    void exportNames();

  private:
    std::unique_ptr<test::TestDatabase> m_database;
    QueryModel m_model;
};

void TestQueryExport::init() {
    m_database = std::make_unique<test::TestDatabase>(test::TestDatabase::Tables::ProgramOnly);
    m_database->exec(u"CREATE TABLE TX (NOME VARCHAR(6), ID INTEGER, VALOR NUMERIC(15,2), "
                     u"DIA DATE)"_s);
    m_database->exec(u"INSERT INTO TX VALUES ('Café', 7, 1234.50, DATE '2026-03-01')"_s);
    m_database->exec(u"INSERT INTO TX VALUES ('Pão', -12, -0.75, NULL)"_s);
    m_model.open(m_database->connection(),
                 u"SELECT NOME, ID, VALOR, DIA FROM TX ORDER BY ID DESC"_s);
}

void TestQueryExport::cleanup() {
    m_model.close();
    m_database.reset();
}

void TestQueryExport::textFileBytes() {
    QCOMPARE(TextExportWidth(m_model, 0), 6);
    QCOMPARE(TextExportWidth(m_model, 1), 15);
    QCOMPARE(TextExportWidth(m_model, 3), 8);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"LISTA.TXT"_s);
    const ExportResult result = ExportText(m_model, path);
    QCOMPARE(result.status, ExportResult::Status::Written);
    QCOMPARE(result.rows, 2);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // NOME 6, ID 15, VALOR 15, DIA 8 characters; "é" and "ã" one byte each.
    const QByteArray expected = "NOME  ID             VALOR          DIA     \r\n"
                                "Caf\xe9  7              1234,50        01/03/26\r\n"
                                "P\xe3o   -12            -0,75                  \r\n";
    QCOMPARE(file.readAll(), expected);
}

void TestQueryExport::cancelledExportLeavesOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"LISTA.TXT"_s);
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    int asked = 0;
    const ExportResult result = ExportText(m_model, path, [&] { return ++asked == 2; });
    QCOMPARE(result.status, ExportResult::Status::Cancelled);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old contents\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"LISTA.TXT"_s});

    const QString book = dir.filePath(u"LISTA.XLSX"_s);
    QCOMPARE(ExportWorkbook(m_model, book, {}, [] { return true; }).status,
             ExportResult::Status::Cancelled);
    QVERIFY(!QFile::exists(book));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"LISTA.TXT"_s});
}

void TestQueryExport::failingExportReportsIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"NAO/EXISTE/LISTA.TXT"_s);
    const ExportResult text = ExportText(m_model, path);
    QCOMPARE(text.status, ExportResult::Status::Failed);
    QVERIFY(!text.error.isEmpty());
    const ExportResult book = ExportWorkbook(m_model, dir.filePath(u"NAO/LISTA.XLSX"_s), {});
    QCOMPARE(book.status, ExportResult::Status::Failed);
    QVERIFY(!book.error.isEmpty());
}

namespace {

QString Unzipped(const QString& archive, const QString& member) {
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, archive, member});
    if (!unzip.waitForFinished(10000) || unzip.exitCode() != 0) return {};
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

void TestQueryExport::workbookReadBack() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"LISTA.XLSX"_s);
    const ExportResult result = ExportWorkbook(m_model, path, {60, 48, 70, 66});
    QCOMPARE(result.status, ExportResult::Status::Written);
    const QString sheet = Unzipped(path, u"xl/worksheets/sheet1.xml"_s);
    const QString strings = Unzipped(path, u"xl/sharedStrings.xml"_s);
    QVERIFY2(!sheet.isEmpty(), "the workbook has no first sheet");
    // The names in row 1, the texts as shared strings.
    for (const QString& text : {u"NOME"_s, u"ID"_s, u"VALOR"_s, u"DIA"_s, u"Café"_s, u"Pão"_s})
        QVERIFY2(strings.contains(u"<t>"_s + text + u"</t>"_s), qPrintable(text));
    // Numbers as numbers, the date as its serial day (2026-03-01), the
    // empty date left out.
    QVERIFY2(sheet.contains(u"<c r=\"B2\"><v>7</v></c>"_s), qPrintable(sheet));
    QVERIFY(sheet.contains(u"<c r=\"C2\"><v>1234.5</v></c>"_s));
    QVERIFY(sheet.contains(u"<c r=\"B3\"><v>-12</v></c>"_s));
    QVERIFY(sheet.contains(u"<c r=\"C3\"><v>-0.75</v></c>"_s));
    QVERIFY(sheet.contains(u"<v>46082</v>"_s));
    QVERIFY(!sheet.contains(u"r=\"D3\""_s));
    // Column widths: the grid's pixels over 6 (70 pixels: 11.67 characters).
    QVERIFY(sheet.contains(u"<col min=\"3\" max=\"3\" width=\"12."_s) ||
            sheet.contains(u"<col min=\"3\" max=\"3\" width=\"11.6"_s));
    // The titles are bold: row 1's cells carry a style of their own.
    QVERIFY(sheet.contains(u"<c r=\"A1\" s=\"1\" t=\"s\">"_s));
}

void TestQueryExport::exportNames() {
    QCOMPARE(ExportFileName(u"lista"_s, u".TXT"_s), u"LISTA.TXT"_s);
    QCOMPARE(ExportFileName(u"lista.txt"_s, u".TXT"_s), u"LISTA.TXT"_s);
    QCOMPARE(ExportFileName(u"Vendas"_s, u".xlsx"_s), u"VENDAS.XLSX"_s);
}

QTEST_MAIN(TestQueryExport)
#include "test_query_export.moc"
