#pragma once
// The DataHouse export: the issued sales invoices of a period and their
// customers as two fixed-layout text files for the accounting office's
// system, DH_PDS_V.TXT (one line of 467 characters per invoice) and
// DH_PDS_C.TXT (one line of 282 characters per run of invoices of the same
// customer), Windows-1252 with CR LF. Customers lacking a CNPJ or a postal
// code are listed as errors; their lines are written all the same.
//
// The window, the command line and the tests all run ExportDataHouse; it
// touches no widget.

#include "common/error.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace livrax::efiles {

inline constexpr int DataHouseSalesWidth = 467;
inline constexpr int DataHouseCustomersWidth = 282;

// The two files' names in the export folder.
QString DataHouseSalesName();     // "DH_PDS_V.TXT"
QString DataHouseCustomersName(); // "DH_PDS_C.TXT"

// What the export takes: the window's controls, or the command's options.
struct DataHouseOptions {
    QString startDate;     // E_DTINICIAL, "dd/mm/yy"
    QString endDate;       // E_DTFINAL
    QString filter;        // E_FILTROPDS: an SQL condition on the invoices, "#" read as blanks
    QString folder;        // E_DIRETORIO; empty: the EXPORTAR folder beside the first database
    bool sales = true;     // CB_VENDAS
    bool customers = true; // CB_CLIENTES
    bool writeIcms = true; // CB_VALICM: rate, base and tax of the ICMS in the sales lines
};

// An export that could not run: dates missing or invalid, a filter refused,
// no destination folder, a query that failed or rows that stopped coming.
// Nothing has been written then.
class DataHouseError : public Error {
  public:
    using Error::Error;
};

// One selected invoice with its customer (the LEFT JOIN of VRTNPDS and
// VRTNEMP). Amounts and the rate in ten-thousandths.
struct DataHouseSale {
    int order = 0;    // PEDIDO
    QString invoice;  // NNOTA
    QString customer; // SIGLA
    QDate date;       // DTNOTA
    QString nature;   // NATOPER
    QString vp;       // VP
    QString fat;      // FAT
    qint64 net = 0, charges = 0;
    qint64 icmsRate = 0, icmsBase = 0, icmsTax = 0, icmsExempt = 0, icmsOther = 0;
    qint64 ipiBase = 0, ipiTax = 0, ipiExempt = 0, ipiOther = 0;
    // The customer's row; all empty when the customer is not registered.
    QString name, cnpj, stateReg, state, address, personType, phone, district, city, postalCode;
};

// The condition of the selection: issued invoices (FAT 'F') whose DTNOTA
// lies in the period, and the filter in parentheses. The filter's "#" are
// made blanks in `options.filter` too, as the window shows it.
QString DataHouseCondition(DataHouseOptions& options);
// The statement of the selection under that condition, ordered by NNOTA and
// DTNOTA.
QString DataHouseSelectSql(const QString& condition);

// Checks the dates and the filter and reads the selected invoices in one
// moment of the database; throws DataHouseError.
std::vector<DataHouseSale> SelectDataHouseSales(DataHouseOptions& options);

// The customers' city codes (VRTNCID): CIDADE -> CODIGO, the lowest code
// for a city listed twice.
using CityCodes = QHash<QString, QString>;
// The code written for a customer's city: that of the row whose CIDADE is
// the city's first 14 characters, "965" when there is none or its code is 0.
QString DataHouseCityCode(const CityCodes& codes, const QString& city);

// The lines, exactly DataHouseSalesWidth and DataHouseCustomersWidth wide.
QString DataHouseSalesLine(const DataHouseSale& sale, bool writeIcms);
QString DataHouseCustomerLine(const DataHouseSale& sale, const QString& cityCode);

// How a field of a line is filled.
enum class DataHouseKind {
    Text,   // the value left-aligned, spaces on the right, leftmost characters kept
    Amount, // the amount with two decimals cut and a decimal comma, right-aligned,
            // spaces on the left, rightmost characters kept; zero when not given
    Fixed,  // the constant text of the layout
};

struct DataHouseField {
    const char* name;
    int position; // first column, 1-based
    int width;
    DataHouseKind kind;
    const char* fixed = ""; // Fixed: the text, exactly `width` long
};

// The layouts of the two lines, in line order (for the formatter and the
// checks of the layouts themselves).
std::span<const DataHouseField> DataHouseSalesLayout();
std::span<const DataHouseField> DataHouseCustomersLayout();

// A line's values by field name: texts for Text fields, amounts in
// ten-thousandths for Amount fields.
struct DataHouseValues {
    QHash<QString, QString> texts;
    QHash<QString, qint64> amounts;
};
QString FormatDataHouseLine(std::span<const DataHouseField> layout, const DataHouseValues& values);

// What an export did.
struct DataHouseResult {
    QString folder; // where the files went
    int salesLines = 0;
    int customerLines = 0;
    int errors = 0;       // customers lacking CNPJ or postal code
    QStringList messages; // the list of tab "Erros", in order
    QStringList failures; // files that could not be written, with the reason
    bool ok() const { return failures.isEmpty(); }
};

// The folder proposed when none is given: "EXPORTAR" beside the first
// database (GB_DIR1); empty when that path names no folder.
QString DefaultDataHouseFolder();
// The path of a file of the export in `folder`.
QString DataHouseFilePath(const QString& folder, const QString& name);

// Runs the export: checks the dates and the filter, takes the default folder
// when none is given (into `options.folder`) and creates it, reads the
// invoices and the city codes in one moment of the database, and writes each
// ticked file whole or not at all. A file that cannot be written is a
// failure of the result and the other file is still written; anything that
// stops the export before (DataHouseError) writes neither.
DataHouseResult ExportDataHouse(DataHouseOptions& options);

} // namespace livrax::efiles
