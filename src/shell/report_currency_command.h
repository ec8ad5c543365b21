#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString ReportCurrencyUsage();

// "livrax report currency --title T --value V": sets the currency of the
// day as the report manager's "Moeda do Dia" does, as the logged-in user:
// the title (upper case, letters, digits and spaces, at most 20) and the
// value (a number, "," or "." before at most four decimals, at most 20
// characters) stored for the reports, and today's quotation of the currency
// written. `arguments` begin with "currency". Returns 0 when done, 1 when
// it failed, 2 for wrong arguments.
int RunReportCurrencyCommand(const QStringList& arguments);

} // namespace livrax::shell
