#pragma once
// The check of a SINTEGRA file, this program's or another's: the bytes of the
// file in, every problem found out, each with its line number. Pure logic: no
// file access, no database, no window.

#include <QByteArray>
#include <QString>

#include <vector>

namespace livrax::efiles {

enum class CheckSeverity {
    Finding, // the file breaks the layout; the file is not accepted as it is
    Note,    // worth knowing, not an error: the known differences of this
             // program's own files, negative amounts
};

struct CheckFinding {
    int line = 0; // 1-based; 0 for the file as a whole
    CheckSeverity severity = CheckSeverity::Finding;
    QString code;    // short fixed identifier for other tools ("line-length")
    QString message; // in Portuguese, for the user
};

// Checks the bytes of a SINTEGRA file: line length and CR LF, record order,
// record 10 (codes, period, CNPJ, state registration), CNPJ/CPF check digits,
// state registrations, dates inside the period, numeric and date fields,
// record 54 against its record 50/53 and record 75, and record 90 (CNPJ and
// registration of record 10, totals per type, "99", the count of type-90
// lines in position 126). Record types of the published layout this program
// does not write (60, 74, 76, ...) are counted and checked for length only.
// Any bytes are read: an empty file, garbage or LF endings give findings. The
// result is in line order, file-level findings first.
std::vector<CheckFinding> CheckSintegraFile(const QByteArray& bytes);

// True for the record types of the published layout (10, 11, 50 ... 90),
// those this program writes and those only other programs do (60, 74, ...).
bool IsPublishedRecordType(int type);

// True when the list holds a Finding (notes do not count).
bool HasFindings(const std::vector<CheckFinding>& findings);

// "linha 12: ..." ("arquivo: ..." for line 0), notes marked "observação:".
QString FindingText(const CheckFinding& finding);

// One JSON object on one line:
// {"line":12,"severity":"finding","code":"cnpj","message":"..."}; severity
// is "finding" or "note".
QString FindingJson(const CheckFinding& finding);

} // namespace livrax::efiles
