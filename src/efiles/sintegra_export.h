#pragma once
// The SINTEGRA export: the checks of the informant data before anything is
// written, the file name proposed for the month, and the file's lines made
// from the informant, the chosen record types, the GNRE and the staged rows.
// The window's "Exportar" and "livrax sintegra" run the same steps.

#include "efiles/sintegra_layout.h"
#include "efiles/sintegra_staging.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace livrax::efiles {

// A check that failed: what the user is told, the tab brought to the front
// and the control that gets the focus.
struct SintegraRefusal {
    QString message;
    QString tab;   // "T-10", "T-11"
    QString field; // the control's name, "E_CONTATO"
    bool beep = false;
};

// The checks before an export, in order; the first that fails, or nothing.
// Contact, phone, CNPJ, state registration, number or complement, both
// dates (blank as IsBlank has it), and then dates that are real dates.
std::optional<SintegraRefusal> CheckSintegraExport(const SintegraInformant& informant);

// The staging's own check of the period: both dates given and real dates.
std::optional<SintegraRefusal> CheckStagingPeriod(const QString& startDate, const QString& endDate);

// The name proposed for the file: the folder part of `outputFile` (up to its
// last "\" or "/", either kind) followed by "GIA_" and the month and year of
// the final date ("31/03/04" gives "GIA_0304"), without an extension.
QString ProposedSintegraFileName(const QString& outputFile, const QString& endDate);

// The name the save dialog offers: ProposedSintegraFileName when the folder
// part of `outputFile` is a folder that exists on this system; otherwise (no
// folder, a drive letter or "\" path on a system without them, a folder
// that is gone) "GIA_mmyy" in the current folder, where the command line
// writes its file.
QString SintegraSaveProposal(const QString& outputFile, const QString& endDate);

// A chosen name without an extension gets ".TXT", as the save dialog does.
QString WithDefaultExtension(const QString& fileName);

// The lines of the file and what the writers counted.
struct SintegraFile {
    QStringList lines;
    std::map<int, int> counts;         // lines per record type (the count labels)
    std::vector<Product75> products75; // the rows of GRID_75, completed
};

// Called as each writer starts, with its record type (10 for records 10
// and 11, 90 for the totals), so the window can show that writer's tab.
using WriterStarted = std::function<void(int type)>;

// Runs the writers in file order: 10 and 11, 50, 51, 53 with 54 (the items
// read from the database), 55, 61, 70, 71, 75 (the products read from the
// database), 90.
SintegraFile ComposeSintegraFile(const SintegraInformant& informant, const SintegraChoice& choice,
                                 const SintegraGnre& gnre, const SintegraStaging& staging,
                                 const WriterStarted& started = {});

// The record types a count label is kept for, in file order.
const std::vector<int>& CountedRecordTypes();

} // namespace livrax::efiles
