// Line files: what is written, what reads back, and the messages of a folder
// that does not exist and of a file that cannot be read or written.

#include "common/line_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace livrax;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Lines(std::initializer_list<std::pair<int, QString>> numbered) {
    QStringList lines(LineFileLines);
    for (const auto& [n, text] : numbered)
        lines[n - 1] = text;
    return lines;
}

} // namespace

class TestLineFiles : public QObject {
    Q_OBJECT

  private slots:
    void gapsAreMarkedAndReadBackEmpty();
    void onlyTheFirst190LinesAreRead();
    void line190RoundTrips();
    void nothingIsReadFromBlankOrMissingPaths();
    void missingFolderIsRefused();
    void unreadableFileIsTriedFiveTimes();
    void unwritableFileIsTriedFiveTimes();
    void rewritingReplacesTheOldFileWhole();
    void windowsLinesAreOneBytePerCharacter();
};

void TestLineFiles::windowsLinesAreOneBytePerCharacter() {
    // The euro sign is one of the code page's own (0x80); an empty line is
    // its CR LF alone.
    QCOMPARE(EncodeWindowsLines({u"€ 1,00"_s, QString(), u"AÇÃOÿ"_s}),
             QByteArray("\x80 1,00\r\n\r\nA\xC7\xC3O\xFF\r\n"));
    QCOMPARE(EncodeWindowsLines({}), QByteArray());
    // A character the code page lacks is "?", never SUB (0x1A), which ends a
    // DOS text where it stands; a character outside 16 bits is one "?".
    QCOMPARE(EncodeWindowsLines({u"A→B"_s, u"x😀y"_s, u"ç"_s}),
             QByteArray("A?B\r\nx?y\r\n\xE7\r\n"));
}

void TestLineFiles::gapsAreMarkedAndReadBackEmpty() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"CONSULTA.PAR"_s);
    QStringList lines = Lines({{1, u"A"_s}, {2, u"#"_s}, {3, u"AÇÃO"_s}});
    QStringList notices;
    const LineFileNotice notice = [&](const QString& m) { notices << m; };
    QVERIFY(WriteLinesFile(path, lines, notice));
    QCOMPARE(Contents(path), QByteArray("A\r\n#\r\nA\xC7\xC3O\r\n"));
    QCOMPARE(lines.mid(0, 4), (QStringList{u"A"_s, u"#"_s, u"AÇÃO"_s, QString()}));

    QStringList read{u"stale"_s};
    QVERIFY(ReadLinesFile(path, read, notice));
    QCOMPARE(read, Lines({{1, u"A"_s}, {3, u"AÇÃO"_s}}));
    QVERIFY(notices.isEmpty());
}

void TestLineFiles::onlyTheFirst190LinesAreRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"LONGO.PAR"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (int n = 1; n <= 200; ++n)
        file.write("L" + QByteArray::number(n) + "\r\n");
    file.close();
    QStringList read;
    QVERIFY(ReadLinesFile(path, read));
    QCOMPARE(read.size(), LineFileLines);
    QCOMPARE(read.first(), u"L1"_s);
    QCOMPARE(read.last(), u"L190"_s);
}

void TestLineFiles::line190RoundTrips() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ULTIMA.PAR"_s);
    QStringList lines = Lines({{190, u"FIM"_s}});
    QVERIFY(WriteLinesFile(path, lines));
    QStringList read;
    QVERIFY(ReadLinesFile(path, read));
    QCOMPARE(read, Lines({{190, u"FIM"_s}}));
    QCOMPARE(Contents(path).count("#\r\n"), 189);
}

void TestLineFiles::nothingIsReadFromBlankOrMissingPaths() {
    QTemporaryDir dir;
    for (const QString& path : {QString(), u"  "_s, u"*.*"_s, dir.filePath(u"NADA.PAR"_s)}) {
        QStringList read{u"stale"_s};
        QStringList notices;
        QVERIFY(!ReadLinesFile(path, read, [&](const QString& m) { notices << m; }));
        QCOMPARE(read, QStringList(LineFileLines));
        QVERIFY(notices.isEmpty());
    }
}

void TestLineFiles::missingFolderIsRefused() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"NAO/EXISTE.PAR"_s);
    QStringList lines = Lines({{1, u"A"_s}});
    QStringList notices;
    QVERIFY(!WriteLinesFile(path, lines, [&](const QString& m) { notices << m; }));
    QCOMPARE(notices, QStringList{u"Diretório invalido para gravar Parametros ("_s + path + u')'});
    QVERIFY(!QFileInfo::exists(dir.filePath(u"NAO"_s)));
}

void TestLineFiles::unreadableFileIsTriedFiveTimes() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"PASTA.PAR"_s); // a folder: it exists but cannot be read
    QVERIFY(QDir().mkdir(path));
    QStringList notices;
    QStringList read;
    QVERIFY(!ReadLinesFile(path, read, [&](const QString& m) { notices << m; }));
    const QString retry = u"(GBF_READ) - AVISO - Erro na leitura do arquivo: "_s + path +
                          u" Tecle Enter para tentar novamente"_s;
    QCOMPARE(notices, (QStringList{retry, retry,
                                   u"(GBF_READ) - ERRO na tentativa de LER o Arquivo: "_s + path}));
}

void TestLineFiles::unwritableFileIsTriedFiveTimes() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"PASTA.PAR"_s);
    QVERIFY(QDir().mkdir(path));
    QStringList lines = Lines({{1, u"A"_s}});
    QStringList notices;
    QVERIFY(!WriteLinesFile(path, lines, [&](const QString& m) { notices << m; }));
    const QString retry = u"(GBF_WRITE) - AVISO - Erro na gravação do arquivo: "_s + path +
                          u" Tecle Enter para tentar novamente"_s;
    QCOMPARE(notices,
             (QStringList{retry, retry,
                          u"(GBF_WRITE) - ERRO na tentativa de GRAVAR o Arquivo: "_s + path}));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList()); // no staged leftovers
}

void TestLineFiles::rewritingReplacesTheOldFileWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"CONSULTA.PAR"_s);
    QStringList lines = Lines({{1, u"A"_s}, {2, u"B"_s}, {3, u"C"_s}});
    QVERIFY(WriteLinesFile(path, lines));
    lines = Lines({{1, u"X"_s}});
    QVERIFY(WriteLinesFile(path, lines));
    QCOMPARE(Contents(path), QByteArray("X\r\n"));
    QCOMPARE(WriteWindowsLinesFile(dir.filePath(u"NAO/X.TXT"_s), {u"A"_s}).isEmpty(), false);
}

QTEST_GUILESS_MAIN(TestLineFiles)
#include "test_line_files.moc"
