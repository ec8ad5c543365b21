#pragma once
// The saved settings of the SINTEGRA window: the key "PAR_SINTEGRA" of the
// parameter store (20 lines of "#"-separated fields, in the database that
// holds the customers and suppliers), over the informant data of the company
// register. The window and "livrax sintegra" read them the same way.

#include "efiles/sintegra_layout.h"
#include "efiles/sintegra_staging.h"

#include <QString>

namespace livrax::efiles {

inline constexpr int SintegraSettingsLines = 20;

// What the window keeps between runs.
struct SintegraSettings {
    SintegraInformant informant;                          // tabs "T-10" and "T-11": lines 10 and 11
    SintegraChoice choice;                                // line 5
    bool record60 = false, record88 = false;              // line 5; their boxes are always disabled
    QString outputFile;                                   // E_ARQSAIDA, line 4 field 2
    QString entryFilter;                                  // E_FILTROS, line 2
    QString exitFilter;                                   // S_FILTROS, line 3
    bool freightFromEntries = false;                      // CB_70_PDE, line 6 field 1
    QString entryFreightFilter;                           // E_FILTRO_PDE, line 6 field 2
    QString freightPayer = QStringLiteral("2");           // E_TFRETE, line 6 field 3
    bool blankEntrySeries = false;                        // CB_NGSENTRADA
    bool blankExitSeries = false;                         // CB_NGSSAIDA
    QString entrySeries50 = QStringLiteral("00");         // E_SERIE_50
    bool air = true, road = true, waybills = true;        // CB_MONTAR_AEREO, _TERRESTRE, _AWB
    bool zeroExitIcms = false;                            // CB_ZERAICM
    bool zeroEntryIcms = false;                           // CB_ZERAICMPDE
    QString exitFilter61, model61, series61, subSeries61; // line 12
};

// The output file a new installation proposes.
QString DefaultSintegraFile();
// The "PDE" freight filter a ticked CB_70_PDE starts with.
QString DefaultEntryFreightFilter();

// The window's defaults with the informant data of the company register
// (VRTNCAE): name and street (line 1), municipality, state, postal code and
// district (line 2), phone (line 3 field 2), CNPJ and state registration
// (line 4).
SintegraSettings CompanyDefaults();

// The company defaults overlaid with what "PAR_SINTEGRA" holds: an informant,
// period or option field only where the saved field is not empty; the record
// boxes ticked only where the flag is "S"; the convênio never restored.
SintegraSettings LoadSintegraSettings();

// Writes the settings back. The key is read again first, so that the lines
// and fields the window does not own (lines 1, 7-9, 13-20; field 1 of lines
// 10, 11 and 12; the fields after the window's own) keep what they held.
// False when the key was not written.
bool SaveSintegraSettings(const SintegraSettings& settings);

// What the staging takes from the settings; the air and road filters, which
// are not kept, are left empty.
SintegraStagingOptions StagingOptionsOf(const SintegraSettings& settings);

// The 100-character flag string of line 5: "S" or "N" at the position of each
// record type's box, spaces elsewhere.
QString RecordFlags(const SintegraSettings& settings);

} // namespace livrax::efiles
