#include "print/output_file.h"

#include "print/print_surface.h"

#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

namespace livrax::print {

using namespace Qt::StringLiterals;

void WriteTextFile(const QString& fileName, const QStringList& lines) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw PrintError(u"Não foi possível criar o arquivo "_s + fileName);
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    for (const QString& line : lines) {
        file.write(encoder(line));
        file.write("\r\n");
    }
    if (!file.commit()) throw PrintError(u"Não foi possível gravar o arquivo "_s + fileName);
}

QString PartialFileName(const QString& fileName) {
    return fileName + u".part"_s;
}

void FinishFile(const QString& partial, const QString& fileName) {
    QFile::remove(fileName);
    if (!QFile::rename(partial, fileName)) {
        QFile::remove(partial);
        throw PrintError(u"Não foi possível gravar o arquivo "_s + fileName);
    }
}

} // namespace livrax::print
