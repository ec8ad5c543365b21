#include "platform/files.h"

#include "platform/environment.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace livrax::platform {

namespace {

#ifdef Q_OS_WIN
constexpr bool ChangesNameCase = true;
#else
constexpr bool ChangesNameCase = false;
#endif

// The folder part of a path, ending with its separator; empty when the path
// names no folder.
QString FolderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return cut < 0 ? QString() : path.left(cut + 1);
}

QString Join(const QString& folder, const QString& rest) {
    if (folder.isEmpty() || EndsWithSeparator(folder)) return folder + rest;
    return folder + FolderSeparatorFor(folder) + rest;
}

// "server:C:\dados\" becomes "C:\dados\", "server:/dados/" becomes "/dados/";
// a drive letter alone is no server.
QString WithoutServer(const QString& folder) {
    const qsizetype colon = folder.indexOf(u':');
    return colon <= 1 ? folder : folder.mid(colon + 1);
}

// Adds the files of `folder` matching `pattern`; false once mode "1" is done.
bool ListInto(const QString& folder, const QString& pattern, const QString& mode,
              QStringList& list) {
    const QDir dir(folder.isEmpty() ? u"."_s : folder);
    const QStringList names = dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        list.append(ChangesNameCase ? folder.toLower() + name.toUpper() : folder + name);
        if (mode == u"1"_s) return false;
    }
    if (mode == u"A"_s) return true;
    const QStringList subFolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& sub : subFolders)
        if (!ListInto(Join(folder.isEmpty() ? u"."_s : folder, sub + u'/'), pattern,
                      mode == u"1"_s ? mode : u"T"_s, list))
            return false;
    return true;
}

} // namespace

QStringList ListFiles(const QString& mask, const QString& mode, QStringList list) {
    const QString folder = FolderOf(mask);
    ListInto(folder, mask.mid(folder.size()), mode, list);
    return list;
}

int DeleteFiles(const QString& mask, const QString& mode) {
    const QStringList files = ListFiles(mask, mode);
    for (const QString& file : files)
        if (QFileInfo::exists(file)) QFile::remove(file);
    return int(files.size());
}

QStringList LaunchCandidates(const QString& name, const LaunchFolders& folders) {
    QString program = name;
#ifdef Q_OS_WIN
    if (!program.contains(u'.')) program += u".EXE"_s;
#endif
    const QString dir = FolderOf(folders.database1);
    const QString local = WithoutServer(dir);
    QStringList candidates{
        Join(folders.tempFolder, program),
        Join(folders.programFolder, program),
        Join(local, u"EXE/"_s + program),
        QDir::current().filePath(program),
        Join(Join(folders.database1, u"EXE"_s), program),
        Join(dir, u"EXE/"_s + program),
    };
#ifdef Q_OS_WIN
    QString share = dir;
    share.replace(u':', u'\\');
    share.replace(u"\\\\"_s, u"\\"_s);
    candidates.append(u"\\\\"_s + share + u"EXE\\"_s + program);
#endif
    return candidates;
}

QString FolderBesideDatabase(const QString& database1, const QString& name) {
    const QString folder = WithoutServer(FolderOf(database1));
    return folder.isEmpty() ? QString() : folder + name;
}

QString StartSiblingProgram(const QString& name, const QString& param,
                            const LaunchFolders& folders) {
    const QStringList candidates = LaunchCandidates(name, folders);
    for (const QString& candidate : candidates) {
        if (!QFileInfo(candidate).isFile()) continue;
        const QStringList arguments = param.isEmpty() ? QStringList() : QStringList{param};
        return QProcess::startDetached(QFileInfo(candidate).absoluteFilePath(), arguments)
                   ? candidate
                   : QString();
    }
    return {};
}

} // namespace livrax::platform
