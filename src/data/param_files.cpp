#include "data/param_files.h"

#include "data/param_store.h"

namespace livrax::data {

bool ReadLinesFile(const QString& path, const LineFileNotice& notice) {
    QStringList lines;
    const bool read = livrax::ReadLinesFile(path, lines, notice);
    for (int n = 1; n <= ParamLineArray::Size; ++n)
        ParamLines().setLine(n, lines.value(n - 1));
    return read;
}

bool WriteLinesFile(const QString& path, const LineFileNotice& notice) {
    QStringList lines = ParamLines().lines();
    const bool written = livrax::WriteLinesFile(path, lines, notice);
    for (int n = 1; n <= ParamLineArray::Size; ++n)
        ParamLines().setLine(n, lines.value(n - 1));
    return written;
}

} // namespace livrax::data
