#pragma once
// Small reading rules shared by the SINTEGRA staging and the item and
// product reads of the export.

#include "data/db_value.h"

#include <QString>

namespace livrax::efiles {

// An amount as the SINTEGRA file takes it from a document: two decimals,
// further decimals cut (never rounded), in ten-thousandths.
qint64 AmountOf(const data::DbValue& value);

// The table of a code as a FROM item: its physical name (the company's own
// copy where the database keeps one per company), named `alias`, or
// "VRTN" + code when no alias is given, so that the statements' column
// qualifiers and the users' filters name it the same way whichever copy is
// read. "PDE" gives "VRTNPDE", or "VRTNPDE001 VRTNPDE".
QString TableRef(const QString& code, const QString& alias = {});

} // namespace livrax::efiles
