#pragma once
// Staging of the SINTEGRA file ("Montar"): the period's purchase and sales
// invoices, bills of lading and air waybills read from the ERP tables and
// laid out one document per row in the grids the record writers read, with
// the entries and exits totals shown beside each grid. The run needs no
// widgets: the SINTEGRA window shows its result in read-only grids, and
// "livrax sintegra" exports it straight away.

#include "efiles/sintegra_layout.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace livrax::efiles {

// What the staging reads from the window's fields (or the command line).
struct SintegraStagingOptions {
    QString startDate, endDate;    // E_DTINICIAL, E_DTFINAL: "dd/mm/yy"
    SintegraChoice choice;         // CB_50, CB_51, CB_53, CB_61, CB_70, CB_71
    bool blankEntrySeries = false; // CB_NGSENTRADA
    bool blankExitSeries = false;  // CB_NGSSAIDA
    QString entrySeries50 =
        QStringLiteral("00");                   // E_SERIE_50: an entry's empty series in record 50
    bool zeroExitIcms = false;                  // CB_ZERAICM
    bool zeroEntryIcms = false;                 // CB_ZERAICMPDE
    bool freightFromEntries = false;            // CB_70_PDE: record 70 from the purchase invoices
    QString freightPayer = QStringLiteral("2"); // E_TFRETE, its first character
    bool air = true;                            // CB_MONTAR_AEREO
    bool road = true;                           // CB_MONTAR_TERRESTRE
    bool waybills = true;                       // CB_MONTAR_AWB
    QString model61, series61, subSeries61;     // E_MODELO_61, E_SERIE_61, E_SUBSERIE_61
    QString entryFilter;                        // E_FILTROS (SQL condition over VRTNPDE)
    QString exitFilter;                         // S_FILTROS (over VRTNPDS)
    QString exitFilter61;                       // S_FILTRO_61
    QString entryFreightFilter;                 // E_FILTRO_PDE
    QString airFilter;                          // E_FILTRO_AEREO
    QString roadFilter;                         // E_FILTRO_TERRESTRE
    QString informantState;                     // E_UF: the state of a cancelled row without one
};

// Contábil, base and tax of one direction, in ten-thousandths.
struct StagedTotals {
    qint64 accounting = 0, base = 0, tax = 0;
};

// The staged grids. Section rows ("*** ENTRADAS ***", "*** SAÍDAS ***",
// "*** AÉREO ***" ...) are rows whose first column (cnpj, Row61::type,
// Row71::takerCnpj) holds the title; the writers skip them. Amounts are in
// ten-thousandths, cut to two decimals as they were read.
struct SintegraStaging {
    std::vector<Row50> rows50;
    std::vector<Row51> rows51;
    std::vector<Row53> rows53;
    std::vector<Row61> rows61;
    std::vector<Row70> rows70;
    std::vector<Row71> rows71;
    StagedTotals entries50, exits50; // LA_E_* / LA_S_*
    StagedTotals entries51, exits51; // ..._51
    StagedTotals entries53, exits53; // ..._53
    qint64 exits61 = 0;              // LA_S_CONTABIL_61
    StagedTotals air, road;          // LA_*_AER, LA_*_TER
    // Each staging query that failed (a filter that is not valid SQL for its
    // table), with the database's reason: its grid stays without rows and
    // the staging goes on.
    QStringList failures;
    // The conditions the entries, exits and record-70 purchase queries were
    // run with (the user's filter not included): the hints of E_FILTROS,
    // S_FILTROS and the "Filtro PDE" link.
    QString entryHint, exitHint, entryFreightHint;
};

// Called with the number of the bill of lading being staged (LA_NCONHEC).
using StagingProgress = std::function<void(const QString& number)>;

// Runs the staging for a period whose dates are both valid (the caller
// refuses blank dates with its own message; a date that is not one stages
// nothing and lists "A Data Inicial e Final devem estar Preenchidas"),
// reading every query in one moment of the databases. A user filter is
// refused (listed, its grid without document rows) when it could do more
// than narrow its query (FilterProblem). Stops with data::DbError when the
// database cannot be read at all or a walk through the rows breaks off
// (a stop signal included); a failed query of one grid is only listed.
SintegraStaging StageSintegra(const SintegraStagingOptions& options,
                              const StagingProgress& progress = {});

// The items of a staged record-53 document from VRTNPIE ("E") or VRTNPIS
// ("S") with their products' rows, for the record-54 lines. Products are
// read once each and kept for the run. A read that fails throws
// data::DbError naming the document: the file is then not written. The
// source holds its prepared statements on the connection: keep it no longer
// than the export (it reads in the export's ReadMoment when there is one,
// else in a snapshot of its own).
ItemSource DatabaseItems();

// The record-75 products gathered by the writers, completed from VRTNPRO
// (a product not found keeps its values zero), in the same order. A read
// that fails throws data::DbError.
std::vector<Product75> ReadProducts75(const std::vector<Product75>& gathered);

// The number of an air waybill in record 70: NAWB when it is not blank,
// otherwise NUMERO trimmed, cut to its last seven characters, and a number
// of seven characters without its last one ("12345678" gives "234567").
QString WaybillNumber(const QString& number, const QString& masterNumber);

} // namespace livrax::efiles
