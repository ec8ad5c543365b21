#include "print/page_images_pdf.h"

#include "print/output_file.h"
#include "print/print_surface.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace livrax::print {

void WritePageImagesPdf(const QStringList& pages, const QString& fileName, const QString& title,
                        Orientation orientation) {
    if (pages.isEmpty()) throw PrintError(u"Não há páginas para gravar."_s);
    OutputFile file(fileName);
    {
        QPdfWriter writer(file.device());
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(u"LIVRAX"_s);
        writer.setPageLayout(A4PageLayout(orientation));
        QPainter painter;
        if (!painter.begin(&writer))
            throw PrintError(u"Não foi possível criar o arquivo "_s + fileName);
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0) writer.newPage();
            const QImage image(pages[i]);
            const QSize area(writer.width(), writer.height());
            painter.drawImage(QRect(QPoint(0, 0), image.size().scaled(area, Qt::KeepAspectRatio)),
                              image);
        }
        painter.end();
    }
    file.commit();
}

} // namespace livrax::print
