#include "print/output_file.h"

#include "print/print_surface.h"

#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

namespace livrax::print {

void WriteTextFile(const QString& fileName, const QStringList& lines) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw PrintError(QStringLiteral("Não foi possível criar o arquivo ") + fileName);
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    for (const QString& line : lines) {
        file.write(encoder(line));
        file.write("\r\n");
    }
    if (!file.commit())
        throw PrintError(QStringLiteral("Não foi possível gravar o arquivo ") + fileName);
}

QString PartialFileName(const QString& fileName) { return fileName + QStringLiteral(".part"); }

void FinishFile(const QString& partial, const QString& fileName) {
    QFile::remove(fileName);
    if (!QFile::rename(partial, fileName)) {
        QFile::remove(partial);
        throw PrintError(QStringLiteral("Não foi possível gravar o arquivo ") + fileName);
    }
}

} // namespace livrax::print
