#include "print/editor_files.h"

#include "common/line_files.h"
#include "common/windows_1252.h"
#include "platform/rtf.h"
#include "print/output_file.h"
#include "print/print_surface.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>

namespace livrax::print {

using namespace Qt::StringLiterals;

QString WithTextExtension(const QString& fileName) {
    if (QFileInfo(fileName).fileName().contains(u'.')) return fileName;
    return fileName + u".TXT"_s;
}

QStringList PlainLines(const QTextDocument& document) {
    if (document.isEmpty()) return {};
    return InWindows1252(document.toPlainText()).split(u'\n');
}

bool ReadEditorFile(const QString& fileName, QTextDocument& document) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw PrintError(u"Não foi possível abrir o arquivo "_s + fileName + u": "_s +
                         file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PrintError(u"Não foi possível ler o arquivo "_s + fileName + u": "_s +
                         file.errorString());
    if (platform::IsRtf(bytes)) {
        platform::RtfToDocument(bytes, document);
        return true;
    }
    QStringDecoder decode("windows-1252", QStringConverter::Flag::Stateless);
    QString text = decode(bytes);
    text.replace(u"\r\n"_s, u"\n"_s);
    if (text.endsWith(u'\n')) text.chop(1); // the end of the last line
    document.setPlainText(text);
    return false;
}

void WriteEditorFile(const QString& fileName, const QTextDocument& document, bool plain) {
    OutputFile file(fileName);
    const QByteArray bytes =
        plain ? EncodeWindowsLines(PlainLines(document)) : platform::DocumentToRtf(document);
    file.device()->write(bytes);
    file.commit();
}

} // namespace livrax::print
