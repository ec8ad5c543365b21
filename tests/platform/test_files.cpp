// Program settings, files found by a mask and the places a sibling program
// is started from.

#include "platform/files.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace livrax::platform;

namespace {

void Touch(const QString& path, const QByteArray& contents = "x") {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QStringList Relative(const QTemporaryDir& dir, QStringList files) {
    for (QString& file : files)
        file = QDir(dir.path()).relativeFilePath(file);
    files.sort();
    return files;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

  private slots:
    // The settings go to a folder of the test's own, never the user's.
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void programSettingsRoundTrip();
    void listFilesByMode_data();
    void listFilesByMode();
    void deleteFilesCountsWhatItListed();
    void launchCandidatesInOrder();
    void startsTheFirstCopyFound();
    void folderBesideDatabase_data();
    void folderBesideDatabase();

  private:
    QTemporaryDir m_config;
};

void TestFiles::programSettingsRoundTrip() {
    QCOMPARE(ReadProgramSetting(u"TF_EDITOR"_s, u"FONTE"_s), QString());
    WriteProgramSetting(u"TF_EDITOR"_s, u"FONTE"_s, u"Courier New#10#"_s);
    QCOMPARE(ReadProgramSetting(u"TF_EDITOR"_s, u"FONTE"_s), u"Courier New#10#"_s);
    QCOMPARE(ReadRegistryText(0, ProgramKeyPath(u"TF_EDITOR"_s), u"FONTE"_s), u"Courier New#10#"_s);
    QCOMPARE(ReadRegistryText(1, ProgramKeyPath(u"TF_EDITOR"_s), u"FONTE"_s), QString());
    QCOMPARE(ReadProgramSetting(u"TF_OUTRO"_s, u"FONTE"_s), QString());
}

void TestFiles::listFilesByMode_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("A: the folder only") << u"A"_s << QStringList{u"a.fmb"_s, u"b.FMB"_s};
    QTest::newRow("T: sub-folders too")
        << u"T"_s << QStringList{u"a.fmb"_s, u"b.FMB"_s, u"sub/c.fmb"_s, u"sub/deep/d.fmb"_s};
    QTest::newRow("1: the first found") << u"1"_s << QStringList{u"a.fmb"_s};
}

void TestFiles::listFilesByMode() {
    QFETCH(QString, mode);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    for (const char* name : {"a.fmb", "b.FMB", "c.txt", "sub/c.fmb", "sub/deep/d.fmb"})
        Touch(dir.filePath(QString::fromLatin1(name)));
    const QStringList found = ListFiles(dir.path() + u"/*.fmb"_s, mode);
    QCOMPARE(Relative(dir, found), expected);
    // A given list is added to.
    QCOMPARE(ListFiles(dir.path() + u"/*.fmb"_s, mode, {u"x"_s}).first(), u"x"_s);
}

void TestFiles::deleteFilesCountsWhatItListed() {
    QTemporaryDir dir;
    for (const char* name : {"P1.PAR", "P2.PAR", "keep.txt", "sub/P3.PAR"})
        Touch(dir.filePath(QString::fromLatin1(name)));
    QCOMPARE(DeleteFiles(dir.path() + u"/*.PAR"_s, u"A"_s), 2);
    QVERIFY(!QFileInfo::exists(dir.filePath(u"P1.PAR"_s)));
    QVERIFY(QFileInfo::exists(dir.filePath(u"sub/P3.PAR"_s)));
    QVERIFY(QFileInfo::exists(dir.filePath(u"keep.txt"_s)));
    QCOMPARE(DeleteFiles(dir.path() + u"/*.PAR"_s, u"T"_s), 1);
    QCOMPARE(DeleteFiles(dir.path() + u"/*.PAR"_s, u"T"_s), 0);
}

void TestFiles::launchCandidatesInOrder() {
    const LaunchFolders folders{u"/tmp/VORTANETEMP/"_s, u"/opt/livrax"_s,
                                u"server:/dados/erp.fdb"_s};
    const QStringList expected{
        u"/tmp/VORTANETEMP/GERADOR"_s,
        u"/opt/livrax/GERADOR"_s,
        u"/dados/EXE/GERADOR"_s,
        QDir::current().filePath(u"GERADOR"_s),
        u"server:/dados/erp.fdb/EXE/GERADOR"_s,
        u"server:/dados/EXE/GERADOR"_s,
    };
#ifdef Q_OS_WIN
    QCOMPARE(LaunchCandidates(u"GERADOR"_s, folders).size(), expected.size() + 1);
#else
    QCOMPARE(LaunchCandidates(u"GERADOR"_s, folders), expected);
#endif
}

void TestFiles::startsTheFirstCopyFound() {
    QTemporaryDir dir;
    const QString marker = dir.filePath(u"started.txt"_s);
    // The same program beside the database and in the temporary folder: the
    // temporary folder's copy wins.
    const QByteArray script = "#!/bin/sh\necho \"$0 $1\" > '" + QFile::encodeName(marker) + "'\n";
    const QString inExe = dir.filePath(u"dados/EXE/GERADOR"_s);
    const QString inTemp = dir.filePath(u"temp/GERADOR"_s);
    Touch(inExe, script);
    Touch(inTemp, script);
    for (const QString& path : {inExe, inTemp})
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    LaunchFolders folders{dir.filePath(u"temp/"_s), dir.filePath(u"none"_s),
                          dir.filePath(u"dados/erp.fdb"_s)};

    QCOMPARE(StartSiblingProgram(u"GERADOR"_s, u"RELAT1"_s, folders), inTemp);
    QTRY_VERIFY(QFileInfo(marker).size() > 0);
    QFile started(marker);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(started.readAll().trimmed(), QFile::encodeName(inTemp) + " RELAT1");

    QFile::remove(inTemp);
    QCOMPARE(StartSiblingProgram(u"GERADOR"_s, QString(), folders), inExe);
    QCOMPARE(StartSiblingProgram(u"OUTRO"_s, QString(), folders), QString());
}

void TestFiles::folderBesideDatabase_data() {
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("expected");
    QTest::newRow("local") << u"/dados/livrax1.fdb"_s << u"/dados/EXPORTAR"_s;
    QTest::newRow("server") << u"servidor:/dados/livrax1.fdb"_s << u"/dados/EXPORTAR"_s;
    QTest::newRow("drive") << u"C:\\dados\\LIVRAX1.FDB"_s << u"C:\\dados\\EXPORTAR"_s;
    QTest::newRow("server and drive")
        << u"srv:C:\\dados\\LIVRAX1.FDB"_s << u"C:\\dados\\EXPORTAR"_s;
    QTest::newRow("no folder") << u"livrax1.fdb"_s << QString();
    QTest::newRow("none") << QString() << QString();
}

void TestFiles::folderBesideDatabase() {
    QFETCH(QString, database);
    QFETCH(QString, expected);
    QCOMPARE(livrax::platform::FolderBesideDatabase(database, u"EXPORTAR"_s), expected);
}

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
