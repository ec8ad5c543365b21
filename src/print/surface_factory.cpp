#include "print/page_image_surface.h"
#include "print/pdf_surface.h"
#include "print/print_job.h"
#include "print/printer_surface.h"
#include "print/spreadsheet_surface.h"
#include "print/text_grid_surface.h"
#include "print/text_page_surface.h"
#include "print/word_document_surface.h"

namespace livrax::print {

std::unique_ptr<PrintSurface> MakeSurface(const QString& destination) {
    if (destination == u"T") return std::make_unique<TextGridSurface>();
    if (destination == u"G") return std::make_unique<TextPageSurface>();
    if (destination == u"F") return std::make_unique<PdfSurface>();
    if (destination == u"P") return std::make_unique<PrinterSurface>();
    if (destination == u"E") return std::make_unique<SpreadsheetSurface>();
    if (destination == u"W") return std::make_unique<WordDocumentSurface>();
    // "K": the preview's pages; the e-mail window takes them from there.
    if (destination == u"V" || destination == u"K") return std::make_unique<PageImageSurface>();
    throw PrintError(QStringLiteral("Destino de impressão não disponível: ") + destination);
}

} // namespace livrax::print
