#include "print/page_image_surface.h"
#include "print/pdf_surface.h"
#include "print/print_job.h"
#include "print/printer_surface.h"
#include "print/spreadsheet_surface.h"
#include "print/text_grid_surface.h"
#include "print/text_page_surface.h"
#include "print/word_document_surface.h"

namespace livrax::print {

using namespace Qt::StringLiterals;

std::unique_ptr<PrintSurface> MakeSurface(Destination destination) {
    switch (destination) {
    case Destination::TextGrid:
        return std::make_unique<TextGridSurface>();
    case Destination::TextPages:
        return std::make_unique<TextPageSurface>();
    case Destination::PdfFile:
        return std::make_unique<PdfSurface>();
    case Destination::Printer:
        return std::make_unique<PrinterSurface>();
    case Destination::Spreadsheet:
        return std::make_unique<SpreadsheetSurface>();
    case Destination::WordProcessor:
        return std::make_unique<WordDocumentSurface>();
    case Destination::Preview:
    case Destination::Email: // the e-mail window takes the preview's pages
        return std::make_unique<PageImageSurface>();
    }
    throw PrintError(u"Destino de impressão não disponível: "_s + DestinationCode(destination));
}

} // namespace livrax::print
