#pragma once

#include <QString>

namespace livrax::print {

// Exports the page images of a preview to a word-processor document (.odt):
// the images tempFolder + "B_PRINT" + n + ".JPG" for n = 1 ... lastPage, one
// per page with a page break between pages, ending at the first image that
// is missing. Each image is scaled to fit the text area of an A4 or letter
// sheet. The document is written to `fileName`, or to tempFolder +
// "LIVRAX.odt" when it is empty, whole or not at all; returns its path.
// Throws PrintError when an image cannot be read or the document cannot be
// written.
QString ExportPagesToDocument(const QString& tempFolder, int lastPage,
                              const QString& fileName = QString());

} // namespace livrax::print
