#pragma once
// The saved inputs of the DataHouse export, shared by its window and its
// command.

#include "efiles/datahouse_export.h"

namespace livrax::efiles {

// Saved settings: key "PAR_DH_PDS" (20 lines) in the database that holds
// the invoices: line 3 start date, 4 end date, 6 filter, 11 folder, 12 "S"/"N"
// for the ICMS amounts (written unless it says "N").
DataHouseOptions LoadDataHouseSettings();
// Reads the key again and writes these lines into it, keeping the others;
// false when the key was not written.
bool SaveDataHouseSettings(const DataHouseOptions& options);

} // namespace livrax::efiles
