#pragma once
// Files found by a mask, and the suite's sibling programs started from the
// folders they are installed in.

#include <QString>
#include <QStringList>

namespace livrax::platform {

// Adds to `list` every file matching `mask` (a folder and a file-name pattern
// with "*" and "?", matched without regard to case) and returns it. Mode "1"
// stops after the first file found; unless the mode is "A" the sub-folders of
// the mask's folder are searched too, with the same pattern, recursively. On
// Windows each file is named by the mask's folder in lower case and the file
// name in upper case; on file systems that tell case apart names stay as
// stored, since a changed case would name another file.
QStringList ListFiles(const QString& mask, const QString& mode, QStringList list = {});

// Lists like ListFiles and deletes every listed file that still exists; the
// number of files listed.
int DeleteFiles(const QString& mask, const QString& mode);

// Where a sibling program is looked for.
struct LaunchFolders {
    QString tempFolder;    // the user's temporary folder (GB_DIRTEMP)
    QString programFolder; // the folder of the running program
    QString database1;     // GB_DIR1, the first database's path ("server:path" allowed)
};

// The places a sibling program is looked for, in order: the temporary folder,
// the program's own folder, the "EXE" folder beside the first database (its
// path without a server prefix), the current folder, GB_DIR1 + "/EXE/", the
// "EXE" folder of the database's folder and, on Windows, the same folder
// reached as a network share. On Windows a name without "." gets ".EXE";
// elsewhere programs carry no extension and the name stays as given.
QStringList LaunchCandidates(const QString& name, const LaunchFolders& folders);

// The folder `name` inside the first database's folder (GB_DIR1's folder,
// its path without a server prefix), ending without a separator; empty when
// the database path names no folder. "/dados/livrax1.fdb" and "EXPORTAR"
// give "/dados/EXPORTAR".
QString FolderBesideDatabase(const QString& database1, const QString& name);

// Starts the first candidate that exists, detached, with `param` as its one
// argument when not empty. The started path, or empty when none exists or it
// could not be started.
QString StartSiblingProgram(const QString& name, const QString& param,
                            const LaunchFolders& folders);

} // namespace livrax::platform
