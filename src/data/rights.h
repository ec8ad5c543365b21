#pragma once

namespace livrax::data {

// The positions of the user's rights string (GB_SEN_GERAL) that the program
// checks, counted from 1.
namespace right {
constexpr int TableColumns = 4;     // table maintenance: column selection ("S" only)
constexpr int ReportPanel = 7;      // report manager: its button panel
constexpr int ReportFormat = 8;     // report manager: "Formatar"
constexpr int TableUse = 11;        // table maintenance below level 9 ("S" only)
constexpr int TableChanges = 12;    // table maintenance below level 9: changes ("S" only)
constexpr int ParameterTable = 15;  // table maintenance: VRTNPAR ("S" only)
constexpr int QueryGrid = 21;       // generic query: the result grid
constexpr int QuerySelection = 22;  // generic query: the selection pages
constexpr int QueryPrint = 23;      // generic query: "Imprimir"
constexpr int QueryParameters = 24; // generic query: "Parâmetros"
constexpr int QueryOpen = 25;       // generic query: "Abrir"
constexpr int QuerySave = 26;       // generic query: "Salvar"
constexpr int QueryExport = 27;     // generic query: the export menu
constexpr int QuerySql = 28;        // generic query: the "SQL" page ("S" only)
} // namespace right

// Whether the logged-in user holds the right at `position` of the rights
// string: every position is allowed unless its character is "N", so a
// string too short to reach the position allows it.
bool HasRight(int position);
// For the positions allowed only by "S": true only when the character there
// is "S", so a string too short to reach the position denies it.
bool HasRightOnlyWithS(int position);

} // namespace livrax::data
