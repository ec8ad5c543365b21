#pragma once

#include "books/book_frame.h"

#include <QList>
#include <QString>

namespace livrax::books {

// The saved inputs of the books that share the LX53 layout of settings
// lines: line 3 holds start date, end date and date column ("#"-joined, with
// two more positions kept as read), line 4 the filter, line 6 the first page,
// and from line 7 on one check box per line ("S"/"N").
struct LineBookSettings {
    QString key;   // parameter-store key, "PAR_LX53"
    QString table; // the table whose database keeps the key, "PDE"
    int lines = 15;
    // For each check box: whether it is checked when its line was never
    // written (most boxes), or only when the line says "S".
    QList<bool> checkedByDefault;
};

struct LoadedBookSettings {
    BookPeriod period;
    QList<bool> checks;
};

// Reads the settings; a new installation gets the defaults (first page "1",
// boxes checked as `checkedByDefault` says, empty dates).
LoadedBookSettings LoadBookSettings(const LineBookSettings& layout);

// Writes them back; lines the book does not set keep their stored values.
void SaveBookSettings(const LineBookSettings& layout, const BookPeriod& period,
                      const QList<bool>& checks);

} // namespace livrax::books
