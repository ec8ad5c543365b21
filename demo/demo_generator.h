#pragma once

#include <QString>

#include <functional>

namespace livrax::demo {

struct DemoOptions {
    QString folder; // where the database files are created
    int year = 2026;
    qint64 invoices = 2400; // entries and exits together
    quint64 seed = 1;
    // The demo user's temporary folder, kept in the user's settings.
    QString tempFolder;
};

// The demo's user, logged in on the demo databases with every right.
QString DemoUserName();

// Names of the demo's database files inside the folder: the ERP's tables
// (connection 1) and the program's own store with the company record
// (connection 5).
QString DemoErpFileName();
QString DemoSystemFileName();

// Called now and then while invoices are written: done and total.
using DemoProgress = std::function<void(qint64 done, qint64 total)>;

// Creates the demo company's database files in `options.folder` and fills
// them. The same options give the same rows, value for value. The files must
// not exist yet. Throws DbError when the database refuses something.
void GenerateDemoCompany(const DemoOptions& options, const DemoProgress& progress = {});

} // namespace livrax::demo
