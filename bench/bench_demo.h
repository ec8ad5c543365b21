#pragma once

// The demo company every benchmark runs on: made once in a folder, then
// opened as the session of the benchmark's process.

#include "data/company_header.h"
#include "data/globals.h"
#include "demo/demo_generator.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>

namespace livrax::bench {

// Opens the demo company in `folder` (connections, table lists, company
// header), generating it first with `invoices` invoices when the folder holds
// none. Returns the options it was (or would have been) generated with.
inline demo::DemoOptions OpenDemoCompany(const QString& folder, qint64 invoices) {
    demo::DemoOptions options;
    options.folder = folder;
    options.invoices = invoices;
    QDir().mkpath(folder);
    if (!QFile::exists(QDir(folder).filePath(demo::DemoErpFileName())))
        demo::GenerateDemoCompany(options);
    data::Globals().registry.dirs[1] = QDir(folder).filePath(demo::DemoErpFileName());
    data::Globals().registry.dirs[5] = QDir(folder).filePath(demo::DemoSystemFileName());
    data::Globals().registry.dirTemp = folder + u'/';
    shell::ConnectDatabases({});
    shell::LoadTableLists();
    data::LoadCompanyHeader();
    return options;
}

} // namespace livrax::bench
