#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace livrax::data {

// The logged-in user (TREC_USER). Lengths in the comments are the limits the
// start-up chain applies when it fills the record.
struct TRecUser {
    QString name;                       // 20, GB_SEN_USER
    QString fullName;                   // 40, GB_SEN_NOMEC
    QString extra;                      // 20, not filled by this program
    QString level;                      // 1, GB_SEN_NIVEL, "1".."9"
    QString number;                     // 2, not filled by this program
    QString department;                 // 4, GB_SEN_DEPART
    QString password;                   // 29, never filled by this program
    QString rights;                     // 250, GB_SEN_GERAL
    QString rights1;                    // 250, GB_SEN_GERAL1
    std::array<QString, 7> rightsLines; // 50 each, lines 10..16 of "SEN__" + user
    QString tempFolder;                 // always ends with a folder separator
    QString flags;                      // 20 preference flags
    std::array<QString, 8> texts;       // e-mail and preference texts, lines 10..17 of "PUSER_"
    QString numberText;                 // 20, line 9 of "SEN__" + user
};

// The user's own company (TREC_CAE), loaded from the parameter-store key
// "VRTNCAE".
struct TRecCae {
    QString name;                  // 60
    QString tradeName;             // 20
    QString address;               // 60
    QString cnpj;                  // 20, as typed with its mask
    QString stateRegistration;     // 20
    QString municipalRegistration; // 20
    QString city;                  // 30
    QString state;                 // 2
    QString postalCode;            // 9
    QString phone;                 // 40
    QString fax;                   // 20
    QString email;                 // 40
    QString companyCode;           // 3 digits, "001"
    QString companyCodeCopy;       // 3, the code as loaded from the key
    QString currentBranch;         // 3
    QString branchFilter;          // " AND FILIAL = " + branch when multi-branch
    QString multiBranch;           // "S" or "N"
    int duplicateSeries = 0;
    QString invoiceSeries; // 2
    QString accessLevels;  // line 7: levels allowed for the data folder
};

// The system record (TREC_SIS); the start-up chain leaves it empty, so the
// version expands to empty and the audit log is on.
struct TRecSis {
    QString text; // 20
    QString version;
    QString logSwitch; // "N" turns the audit log off
};

// The registry values of the globals key that have no place in the records.
struct RegistryValues {
    QString system;              // GB_SISTEMA
    QString systemCompanion;     // GB_SISTEMAC
    QString dirDefault;          // GB_DIRDEFAULT
    std::array<QString, 6> dirs; // GB_DIR1..GB_DIR5 at [1]..[5]
    QString dirTemp;             // GB_DIRTEMP
    QString program;             // PROGRAMA
    QString wpar;                // WPAR
    QString param;               // PARAM
    QString gbParam;             // GBPARAM
    // FMQ_SIGLARQ, FMQ_DIR, FMQ_DATABASENAME, FMQ_TABLENAME, FMQ_FILENAME,
    // FMQ_FILENAMEA, FMQ_FILENAMEV, FMQ_FILENAMEC, FMQ_FILENAME0, FMQ_OPERACAO
    std::array<QString, 10> fmq;
    bool fmqPrinted = false;        // FMQ_PRINTED
    bool fmqClose = false;          // FMQ_CLOSE
    int fmqMenuItem = 0;            // FMQ_MENUITEM
    std::array<QString, 10> campos; // GBCAMPO: macro values GBCAMPOA..GBCAMPOJ
    // Database log-in of this deployment, when it is not the default one
    // (servers with other credentials). Never printed.
    QString dbUser;     // GB_DBUSER
    QString dbPassword; // GB_DBPASSWORD
};

// Names of the FMQ_ values, in the order of RegistryValues::fmq.
const QStringList& FmqValueNames();

// The process-wide values shared by every part of the program.
struct SharedGlobals {
    RegistryValues registry;
    TRecUser user;
    TRecCae company;
    TRecSis system;
    // User tables of each database, each name followed by ","; [1], [2],
    // [3] and [5] are used (no table is ever routed to database 4).
    std::array<QString, 6> tableLists;
    // The last resolved table name and the database chosen for it (0: none).
    QString routedName;
    int routedDatabase = 0;
};

// The one instance. Tests reset it in init().
SharedGlobals& Globals();
void ResetGlobals();

} // namespace livrax::data
