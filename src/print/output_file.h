#pragma once

#include <QString>
#include <QStringList>

namespace livrax::print {

// Writes lines as a Windows-1252 text file with CR LF line ends, all or
// nothing: through a temporary file renamed when complete. Throws PrintError
// naming the path when the file cannot be written.
void WriteTextFile(const QString& fileName, const QStringList& lines);

// A path next to `fileName` to write to before the rename, and the rename
// itself (replacing an existing file). FinishFile throws PrintError.
QString PartialFileName(const QString& fileName);
void FinishFile(const QString& partial, const QString& fileName);

} // namespace livrax::print
