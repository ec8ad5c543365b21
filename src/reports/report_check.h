#pragma once

// The check of a stored report without running it: every expression parsed
// and the columns it names looked up, the group, sort and join fields looked
// up, the statement built and prepared by the database. What the designer
// and `livrax report check` show before a report is trusted with a month.

#include "reports/report_query.h"
#include "reports/report_run.h"

#include <QStringList>

namespace livrax::reports {

struct ReportCheck {
    BuiltQuery built;
    // One finding per problem, as "where: what": "1.3" for field 3 on line 1
    // of the record block, "ordem", "grupo", "tabela secundária", "seleção",
    // "SQL".
    QStringList findings;
};

ReportCheck CheckReport(const LoadedReport& report);

} // namespace livrax::reports
