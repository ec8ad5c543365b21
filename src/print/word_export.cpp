#include "print/word_export.h"

#include "print/output_file.h"
#include "print/page_image_surface.h"
#include "print/print_surface.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

// The largest picture, in 1/96 inch, that fits the text area of an A4 and of
// a letter sheet with 2 cm margins: 450 × 660 points.
constexpr double MaxWidth = 600;
constexpr double MaxHeight = 880;

} // namespace

QString ExportPagesToDocument(const QString& tempFolder, int lastPage, const QString& fileName) {
    const QString target = fileName.isEmpty() ? tempFolder + u"LIVRAX.odt"_s : fileName;
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int n = 1; n <= lastPage; ++n) {
        const QString path = PageImageSurface::PageFile(tempFolder, n);
        if (!QFile::exists(path)) break;
        const QImage image(path);
        if (image.isNull()) throw PrintError(u"Não foi possível ler a imagem "_s + path);
        if (n > 1) {
            QTextBlockFormat pageBreak;
            pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(pageBreak);
        }
        const QUrl name(QFileInfo(path).fileName());
        document.addResource(QTextDocument::ImageResource, name, image);
        const double scale = std::min({1.0, MaxWidth / image.width(), MaxHeight / image.height()});
        QTextImageFormat picture;
        picture.setName(name.toString());
        picture.setWidth(image.width() * scale);
        picture.setHeight(image.height() * scale);
        cursor.insertImage(picture);
    }
    // The document's zip writer closes its device itself, so the document
    // goes to a partial file renamed when complete.
    // The file is opened here, not by the writer: Qt's ODF writer leaks its
    // buffers when it cannot open its device itself.
    const QString partial = PartialFileName(target);
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly))
        throw PrintError(u"Não foi possível gravar o arquivo "_s + target);
    QTextDocumentWriter writer(&file, "odf");
    const bool written = writer.write(&document);
    file.close();
    if (!written) {
        QFile::remove(partial);
        throw PrintError(u"Não foi possível gravar o arquivo "_s + target);
    }
    FinishFile(partial, target);
    return target;
}

} // namespace livrax::print
