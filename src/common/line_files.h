#pragma once
// Line files: the query configurations, report exports and old report formats
// the program keeps as text files of at most 190 lines (the lines of the
// parameter-store array), and the Windows-1252 CR LF writer every fixed-line
// text file of the program goes through.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace livrax {

// Lines a line file holds at most.
inline constexpr int LineFileLines = 190;

// Shows a message about a line file and waits for the user (a message box in
// the desktop program). The messages of a retry say "Tecle Enter para tentar
// novamente"; the call returns when the user has answered.
using LineFileNotice = std::function<void(const QString& message)>;

// The notice used when a caller passes none. By default it writes the message
// to the program's log (qWarning); the desktop program installs its message
// box at start-up.
void SetLineFileNotice(LineFileNotice notice);
const LineFileNotice& CurrentLineFileNotice();

// Fills `lines` (resized to 190, line 1 at index 0) from the file, in up to
// five tries. Every line is cleared first; lines after the 190th are skipped
// and a line that is exactly "#" is empty again. Nothing is read when the path
// is blank, is "*.*" or names no file. From the 4th try on the retry notice
// comes first; after the 5th failed try the "(GBF_READ) - ERRO" notice is
// shown. True when the file was read.
bool ReadLinesFile(const QString& path, QStringList& lines, const LineFileNotice& notice = {});

// Writes lines 1..190 of `lines` to the file, in up to five tries, all or
// nothing. A line that is "#" is cleared and every empty line below the last
// non-empty one becomes "#" (in `lines` too); empty lines after the last
// non-empty line are not written. A folder that does not exist is refused with
// "Diretório invalido para gravar Parametros (path)" and nothing is created.
// True when the file was written.
bool WriteLinesFile(const QString& path, QStringList& lines, const LineFileNotice& notice = {});

// The lines as Windows-1252 bytes, each followed by CR LF.
QByteArray EncodeWindowsLines(const QStringList& lines);

// Writes the lines as a Windows-1252 CR LF text file, all or nothing: the old
// file is replaced only when every write and the flush to disk succeeded.
// Empty when all is well, else the system's reason.
QString WriteWindowsLinesFile(const QString& path, const QStringList& lines);

} // namespace livrax
