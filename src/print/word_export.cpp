#include "print/word_export.h"

#include "print/output_file.h"
#include "print/page_image_surface.h"
#include "print/print_surface.h"

#include <QBuffer>
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
    // is made in memory and then written as one output file.
    QBuffer buffer;
    QTextDocumentWriter writer(&buffer, "odf");
    if (!writer.write(&document)) throw PrintError(WriteFailure(target, QString()));
    OutputFile file(target);
    file.device()->write(buffer.data());
    file.commit();
    return target;
}

} // namespace livrax::print
