#pragma once
// The line files of the shared line array: a query configuration or report
// export read into ParamLines and written back from it.

#include "common/line_files.h"

#include <QString>

namespace livrax::data {

// Fills ParamLines from the line file (livrax::ReadLinesFile).
bool ReadLinesFile(const QString& path, const LineFileNotice& notice = {});
// Writes ParamLines to the line file (livrax::WriteLinesFile); the "#" marks
// it sets are left in ParamLines.
bool WriteLinesFile(const QString& path, const LineFileNotice& notice = {});

} // namespace livrax::data
