#pragma once

// Report definition files: the three keys of a report ("A" definition, "C",
// "V" last selection) written as line files named after their keys
// (PAR_LFPDS003A.FMB, ...C.FMB, ...V.FMB) and read back under the keys the
// file names give, so a report returns to the menu and number it left.

#include <QString>
#include <QStringList>

namespace livrax::data {
class Connection;
}

namespace livrax::reports {

struct ReportMenu;

// Writes the keys of report `number` to `folder` + key + ".FMB", in the
// order "A", "C", "V". False, with nothing written, when the report has no
// definition; false when a file could not be written.
bool ExportReportFiles(const ReportMenu& menu, int number, const QString& folder);

enum class ImportOutcome {
    Imported,
    BadName,          // not a definition file: menu + NNN + "A.FMB"
    MissingCompanion, // one of the three files is missing (or unreadable)
    Exists,           // the report is stored already and replacing was not asked
    NotWritten        // the database refused a key: nothing was stored
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::NotWritten;
    QString key;   // the definition key the file name gives
    QString title; // the report title, line 1 field 1
    // With MissingCompanion: the paths of the three files that are missing or
    // could not be read, in the order "A", "C", "V".
    QStringList missing;
};

// Stores the report of the definition file `file` (its "A" file) and its
// companions in `database`: the "A" key with its title, then "C" and "V"
// without one, in one transaction, so all three are stored or none. The
// companions are found beside it with the case of its name; the keys are the
// file names in upper case without ".FMB". A report already stored (any of
// its three keys) is replaced only when `replace` is true.
ImportResult ImportReportFiles(data::Connection* database, const QString& file, bool replace);

} // namespace livrax::reports
