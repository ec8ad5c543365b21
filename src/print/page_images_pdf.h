#pragma once

#include "print/print_settings.h"

#include <QStringList>

namespace livrax::print {

// Writes a PDF of saved page images, one per page, each fitted into the
// printable area of an A4 sheet; its text is part of the pictures. The file
// appears only when complete. Throws PrintError when there are no pages or
// the file cannot be created.
void WritePageImagesPdf(const QStringList& pages, const QString& fileName, const QString& title,
                        Orientation orientation);

} // namespace livrax::print
