#pragma once

#include <QList>
#include <QString>

namespace livrax::data {
class Connection;
}

namespace livrax::demo {

// Invoices of one month of one direction: how many, how many of them were
// cancelled, and the accounting value (LIQUIDO) of the invoiced ones.
struct MonthTotals {
    qint64 invoices = 0;
    qint64 cancelled = 0;
    qint64 total = 0; // ten-thousandths
};

struct DemoSummary {
    int year = 0;
    MonthTotals entries[12];
    MonthTotals exits[12];
};

// Reads the summary from the ERP database: entries by entry date, exits by
// issue date, both within `year`.
DemoSummary ReadDemoSummary(data::Connection& erp, int year);

// The summary as a table for the terminal.
QString FormatDemoSummary(const DemoSummary& summary);

} // namespace livrax::demo
