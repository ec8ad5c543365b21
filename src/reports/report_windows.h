#pragma once

namespace livrax::reports {

// Registers the report windows by name:
// - "PR", the runner of one report, opened with {table code, menu key
//   (empty for "FMQ_" + code), report number};
// - "PFMQF", the designer of one report's definition, with the same
//   arguments;
// - "REPORTS", what the main menu opens for a table's reports, with {table
//   code, menu key}: the report manager TF_PFMQM.
void RegisterReportWindows();

} // namespace livrax::reports
