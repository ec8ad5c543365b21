#pragma once

#include <QString>

namespace livrax::data {

// Writes one row of the audit log VRTNLOG in database 1: who, when, which
// table (or a label such as "LOGOFF") and what was done. Does nothing (and
// succeeds) when the log is switched off or no database holds the log.
// False when the row could not be written; never interrupts the caller.
bool AuditLog(const QString& table, const QString& text);

} // namespace livrax::data
