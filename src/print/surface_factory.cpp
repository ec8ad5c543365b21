#include "print/page_image_surface.h"
#include "print/pdf_surface.h"
#include "print/print_job.h"
#include "print/text_grid_surface.h"

namespace livrax::print {

std::unique_ptr<PrintSurface> MakeSurface(const QString& destination) {
    if (destination == u"T") return std::make_unique<TextGridSurface>();
    if (destination == u"F") return std::make_unique<PdfSurface>();
    if (destination == u"V" || destination == u"W" || destination == u"K")
        return std::make_unique<PageImageSurface>();
    throw PrintError(QStringLiteral("Destino de impressão não disponível: ") + destination);
}

} // namespace livrax::print
