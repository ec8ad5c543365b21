#pragma once

#include <QString>
#include <QStringList>

namespace livrax::shell {

QString ReportUsage();

// "livrax report run|list|check": runs, lists and checks the user-defined
// reports of a table as the logged-in user without any window. Options not
// given come from the report's saved selection and its menu's configuration,
// which the run leaves unchanged. Returns the exit status.
int RunReportCommand(const QStringList& arguments);

} // namespace livrax::shell
