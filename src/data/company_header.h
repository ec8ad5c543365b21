#pragma once

#include <QString>

namespace livrax::data {

// The parameter-store key of the company register in the program's own
// database: 20 lines of "#"-separated fields.
inline const QString CompanyRegisterKey = QStringLiteral("VRTNCAE");

// Loads the company header (Globals().company) from the company register,
// leaving the register's 20 lines in ParamLines. Nothing changes when the
// program's database is not set or holds no register. Run by the start-up
// chain, and again by the register window after it saves.
void LoadCompanyHeader();

} // namespace livrax::data
