#include "efiles/datahouse_export.h"

#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/line_files.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/stop_cancel.h"
#include "platform/files.h"
#include "platform/stop_signals.h"

#include <QDir>
#include <QFileInfo>

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

constexpr auto Text = DataHouseKind::Text;
constexpr auto Amount = DataHouseKind::Amount;
constexpr auto Fixed = DataHouseKind::Fixed;

constexpr DataHouseField SalesFields[] = {
    {"cnpj", 1, 18, Text},
    {"state", 19, 2, Text},
    {"nature", 21, 4, Text},
    {"operation", 25, 2, Text},
    {"destinationState", 27, 2, Text},
    {"city", 29, 6, Fixed, "965"},
    {"firstNumber", 35, 6, Text},
    {"lastNumber", 41, 6, Text},
    {"kind", 47, 4, Fixed, "NF"},
    {"series", 51, 3, Fixed, "  1"},
    {"date", 54, 10, Text},
    {"contributor", 64, 1, Text},
    {"net", 65, 14, Amount},
    {"icmsRate", 79, 5, Amount},
    {"reduced", 84, 1, Fixed, "N"},
    {"reduction", 85, 9, Fixed, "0000,0000"},
    {"icmsBase", 94, 14, Amount},
    {"icmsTax", 108, 14, Amount},
    {"icmsExempt", 122, 14, Amount},
    {"icmsOther", 136, 14, Amount},
    {"charges", 150, 14, Amount},
    {"retainedRate", 164, 6, Amount},
    {"retainedBase", 170, 14, Amount},
    {"retainedTax", 184, 14, Amount},
    {"ipiBase", 198, 14, Amount},
    {"ipiTax", 212, 14, Amount},
    {"ipiExempt", 226, 14, Amount},
    {"ipiOther", 240, 14, Amount},
    {"issRate", 254, 6, Amount},
    {"issBase", 260, 14, Amount},
    {"issTax", 274, 14, Amount},
    {"account", 288, 4, Fixed, "0000"},
    {"note", 292, 40, Text},
    {"history", 332, 4, Fixed, "0000"},
    {"costCentre", 336, 3, Fixed, "000"},
    {"form", 339, 2, Fixed, "01"},
    {"accounts", 341, 25, Fixed, "0000000000000000000000000"},
    {"group", 366, 3, Fixed, "000"},
    {"type", 369, 2, Fixed, "00"},
    {"flag", 371, 1, Fixed},
    {"withheld", 372, 14, Amount},
    {"reserved", 386, 2, Fixed},
    {"filler", 388, 80, Fixed},
};

constexpr DataHouseField CustomerFields[] = {
    {"code", 1, 6, Fixed, "000000"},
    {"customer", 7, 20, Text},
    {"personType", 27, 1, Text},
    {"cnpj", 28, 18, Text},
    {"name", 46, 50, Text},
    {"address", 96, 50, Text},
    {"district", 146, 30, Text},
    {"state", 176, 2, Text},
    {"cityCode", 178, 6, Text},
    {"city", 184, 30, Text},
    {"postalCode", 214, 8, Text},
    {"phone", 222, 15, Text},
    {"foreign", 237, 1, Fixed, "N"},
    {"stateReg", 238, 25, Text},
    {"account1", 263, 10, Fixed, "0000000000"},
    {"account2", 273, 10, Fixed, "0000000000"},
};

// The code written for a city that has none in VRTNCID.
const QString DefaultCityCode = u"965"_s;
// The characters of a customer's city that are matched and written.
constexpr int CityLength = 14;

const QString InvoicesTable = u"PDS"_s;
const QString CitiesTable = u"CID"_s;

// A text column of the current row, as stored; empty for null.
QString TextOf(const data::DataSlot& row, const QString& column) {
    return row.value(column).toString();
}

qint64 AmountOf(const data::DataSlot& row, const QString& column) {
    return row.value(column).toScaled();
}

// Trailing blanks do not count when the database compares texts.
QString CompareKey(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

DataHouseSale ReadSale(const data::DataSlot& row) {
    DataHouseSale sale;
    sale.order = int(row.value(u"PEDIDO"_s).toInt());
    sale.invoice = TextOf(row, u"NNOTA"_s);
    sale.customer = TextOf(row, u"SIGLA"_s);
    sale.date = row.value(u"DTNOTA"_s).toDate();
    sale.nature = TextOf(row, u"NATOPER"_s);
    sale.vp = TextOf(row, u"VP"_s);
    sale.fat = TextOf(row, u"FAT"_s);
    sale.net = AmountOf(row, u"LIQUIDO"_s);
    sale.charges = AmountOf(row, u"ENCARGOS"_s);
    sale.icmsRate = AmountOf(row, u"ICMPERC"_s);
    sale.icmsBase = AmountOf(row, u"ICMBASE"_s);
    sale.icmsTax = AmountOf(row, u"ICMVALOR"_s);
    sale.icmsExempt = AmountOf(row, u"ICMISENTAS"_s);
    sale.icmsOther = AmountOf(row, u"ICMOUTRAS"_s);
    sale.ipiBase = AmountOf(row, u"IPIBASE"_s);
    sale.ipiTax = AmountOf(row, u"IPIVALOR"_s);
    sale.ipiExempt = AmountOf(row, u"IPIISENTAS"_s);
    sale.ipiOther = AmountOf(row, u"IPIOUTRAS"_s);
    sale.name = TextOf(row, u"EMPRESA"_s);
    sale.cnpj = TextOf(row, u"CGC"_s);
    sale.stateReg = TextOf(row, u"INSCEST"_s);
    sale.state = TextOf(row, u"ESTADO"_s);
    sale.address = TextOf(row, u"ENDERECO"_s);
    sale.personType = TextOf(row, u"FJ"_s);
    sale.phone = TextOf(row, u"TELEFONE"_s);
    sale.district = TextOf(row, u"BAIRRO"_s);
    sale.city = TextOf(row, u"CIDADE"_s);
    sale.postalCode = TextOf(row, u"CEP"_s);
    return sale;
}

void ThrowIfStopped() {
    if (platform::StopRequested())
        throw data::DbError(u"sinal "_s + QString::fromLatin1(platform::StopSignalName()));
}

// Reads the invoices the statement selects; the caller holds the moment.
std::vector<DataHouseSale> ReadSales(const QString& sql) {
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    std::vector<DataHouseSale> sales;
    try {
        bool found = data::OpenQuery(data::Slot::T_CON1, InvoicesTable, sql);
        for (; found && !row.eof(); row.next()) {
            ThrowIfStopped();
            sales.push_back(ReadSale(row));
        }
        ThrowIfStopped();
    } catch (const data::DbError& error) {
        row.rollback();
        throw DataHouseError(u"A consulta das notas falhou; nada foi exportado: "_s +
                             error.message() + u"\n"_s + sql);
    }
    data::CloseSlot(data::Slot::T_CON1);
    return sales;
}

CityCodes ReadCityCodes() {
    const QString sql = u"SELECT CODIGO, CIDADE FROM VRTNCID ORDER BY CODIGO"_s;
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON9);
    CityCodes codes;
    try {
        bool found = data::OpenQuery(data::Slot::T_CON9, CitiesTable, sql);
        for (; found && !row.eof(); row.next()) {
            const QString city = CompareKey(row.value(1).toString());
            if (!codes.contains(city)) codes.insert(city, row.value(0).toString());
        }
        ThrowIfStopped();
    } catch (const data::DbError& error) {
        row.rollback();
        throw DataHouseError(u"A consulta das cidades falhou; nada foi exportado: "_s +
                             error.message());
    }
    data::CloseSlot(data::Slot::T_CON9);
    return codes;
}

void CheckOptions(const DataHouseOptions& options) {
    if (IsBlank(options.startDate) || IsBlank(options.endDate))
        throw DataHouseError(u"Deve ser informada a Data Inicial e a Final"_s);
    for (const QString& date : {options.startDate, options.endDate})
        if (!IsValidShortDate(date)) throw DataHouseError(u"Data inválida: "_s + date);
    QString filter = options.filter;
    const QString problem = FilterProblem(filter.replace(u'#', u' '));
    if (!problem.isEmpty())
        throw DataHouseError(u"Filtro recusado (só pode restringir as notas): "_s + problem +
                             u"."_s);
}

// The files' lines and the list of tab "Erros".
struct Composed {
    QStringList sales, customers;
    QStringList customerMessages;
    int errors = 0;
};

void ComposeCustomers(const std::vector<DataHouseSale>& sales, const CityCodes& codes,
                      Composed& composed) {
    const DataHouseSale* last = nullptr;
    for (const DataHouseSale& sale : sales) {
        // A run of invoices of one customer gives one line; the same
        // customer after another one's invoices gives another.
        if (last && sale.customer == last->customer) continue;
        last = &sale;
        composed.customers << DataHouseCustomerLine(sale, DataHouseCityCode(codes, sale.city));
        if (IsBlank(sale.cnpj)) {
            ++composed.errors;
            composed.customerMessages << u"Falta CGC DO CLIENTE: "_s + sale.name;
        }
        if (IsBlank(sale.postalCode)) {
            ++composed.errors;
            composed.customerMessages << u"Falta CEP DO CLIENTE: "_s + sale.name;
        }
    }
}

// Writes one file; a failure is noted in the result and the caller goes on.
bool WriteFile(const QString& path, const QStringList& lines, DataHouseResult& result) {
    const QString reason = WriteWindowsLinesFile(path, lines);
    if (reason.isEmpty()) return true;
    result.failures << u"Erro na criação do arquivo de saída: "_s + QDir::toNativeSeparators(path) +
                           u" ("_s + reason + u")"_s;
    return false;
}

} // namespace

QString DataHouseSalesName() {
    return u"DH_PDS_V.TXT"_s;
}

QString DataHouseCustomersName() {
    return u"DH_PDS_C.TXT"_s;
}

std::span<const DataHouseField> DataHouseSalesLayout() {
    return SalesFields;
}

std::span<const DataHouseField> DataHouseCustomersLayout() {
    return CustomerFields;
}

QString FormatDataHouseLine(std::span<const DataHouseField> layout, const DataHouseValues& values) {
    QString line;
    for (const DataHouseField& field : layout) {
        const QString name = QString::fromLatin1(field.name);
        switch (field.kind) {
        case DataHouseKind::Text:
            line += PadRight(values.texts.value(name), field.width);
            break;
        case DataHouseKind::Amount:
            line += FormatScaled(values.amounts.value(name), field.width, 2);
            break;
        case DataHouseKind::Fixed:
            line += PadRight(QString::fromLatin1(field.fixed), field.width);
            break;
        }
    }
    return line;
}

QString DataHouseCondition(DataHouseOptions& options) {
    QString condition = u"FAT = 'F' "_s + u" AND (DTNOTA >= "_s + SqlDate(options.startDate) +
                        u" AND  DTNOTA <= "_s + SqlDate(options.endDate) + u")"_s;
    if (!options.filter.isEmpty()) {
        options.filter.replace(u'#', u' ');
        condition += u" AND ("_s + options.filter + u") "_s;
    }
    return condition;
}

QString DataHouseSelectSql(const QString& condition) {
    return QStringList{
        u"SELECT PDS.PEDIDO, PDS.NNOTA, PDS.SIGLA, PDS.DTNOTA"_s,
        u", PDS.NATOPER, PDS.VP, PDS.FAT, PDS.LIQUIDO, PDS.ENCARGOS"_s,
        u", PDS.ICMPERC, PDS.ICMBASE, PDS.ICMVALOR, PDS.ICMISENTAS, PDS.ICMOUTRAS"_s,
        u", PDS.IPIBASE, PDS.IPIVALOR, PDS.IPIISENTAS, PDS.IPIOUTRAS"_s,
        u", EMP.EMPRESA, EMP.CGC, EMP.INSCEST, EMP.ESTADO, EMP.ENDERECO"_s,
        u", EMP.FJ, EMP.TELEFONE, EMP.BAIRRO, EMP.CIDADE, EMP.CEP"_s,
        u"FROM VRTNPDS PDS"_s,
        u"LEFT OUTER JOIN VRTNEMP EMP ON PDS.SIGLA = EMP.SIGLA"_s,
        u"WHERE "_s + condition,
        u"ORDER BY NNOTA,DTNOTA"_s,
    }
        .join(u'\n');
}

std::vector<DataHouseSale> SelectDataHouseSales(DataHouseOptions& options) {
    CheckOptions(options);
    const QString sql = DataHouseSelectSql(DataHouseCondition(options));
    const data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;
    return ReadSales(sql);
}

QString DataHouseCityCode(const CityCodes& codes, const QString& city) {
    const QString code = codes.value(CompareKey(city.left(CityLength)));
    return code.isEmpty() || code == u"0"_s ? DefaultCityCode : code;
}

QString DataHouseSalesLine(const DataHouseSale& sale, bool writeIcms) {
    DataHouseValues values;
    QHash<QString, QString>& texts = values.texts;
    texts.insert(u"cnpj"_s, sale.cnpj);
    texts.insert(u"state"_s, sale.state);
    texts.insert(u"nature"_s, sale.nature);
    texts.insert(u"operation"_s, sale.vp == u"V"_s ? u"01"_s : u"02"_s);
    texts.insert(u"destinationState"_s, sale.state);
    texts.insert(u"firstNumber"_s, sale.invoice);
    texts.insert(u"lastNumber"_s, sale.invoice);
    texts.insert(u"date"_s, sale.date.isValid() ? sale.date.toString(u"dd/MM/yyyy"_s) : QString());
    const QString stateReg = sale.stateReg.trimmed().toUpper();
    texts.insert(u"contributor"_s, !IsBlank(stateReg) && stateReg != u"ISENTO"_s ? u"S"_s : u"N"_s);
    if (sale.fat == u"C"_s) texts.insert(u"note"_s, u"NOTA CANCELADA"_s);
    QHash<QString, qint64>& amounts = values.amounts;
    amounts.insert(u"net"_s, sale.net);
    if (writeIcms) {
        amounts.insert(u"icmsRate"_s, sale.icmsRate);
        amounts.insert(u"icmsBase"_s, sale.icmsBase);
        amounts.insert(u"icmsTax"_s, sale.icmsTax);
    }
    amounts.insert(u"icmsExempt"_s, sale.icmsExempt);
    amounts.insert(u"icmsOther"_s, sale.icmsOther);
    amounts.insert(u"charges"_s, sale.charges);
    amounts.insert(u"ipiBase"_s, sale.ipiBase);
    amounts.insert(u"ipiTax"_s, sale.ipiTax);
    amounts.insert(u"ipiExempt"_s, sale.ipiExempt);
    amounts.insert(u"ipiOther"_s, sale.ipiOther);
    return FormatDataHouseLine(SalesFields, values);
}

QString DataHouseCustomerLine(const DataHouseSale& sale, const QString& cityCode) {
    DataHouseValues values;
    QHash<QString, QString>& texts = values.texts;
    texts.insert(u"customer"_s, sale.customer);
    texts.insert(u"personType"_s, sale.personType);
    texts.insert(u"cnpj"_s, sale.cnpj);
    texts.insert(u"name"_s, sale.name);
    texts.insert(u"address"_s, sale.address);
    texts.insert(u"district"_s, sale.district);
    texts.insert(u"state"_s, sale.state);
    texts.insert(u"cityCode"_s, cityCode);
    texts.insert(u"city"_s, sale.city.left(CityLength));
    texts.insert(u"postalCode"_s, StripSymbols(sale.postalCode));
    texts.insert(u"phone"_s, sale.phone);
    texts.insert(u"stateReg"_s, sale.stateReg);
    return FormatDataHouseLine(CustomerFields, values);
}

QString DefaultDataHouseFolder() {
    return platform::FolderBesideDatabase(data::Globals().registry.dirs[1], u"EXPORTAR"_s);
}

QString DataHouseFilePath(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

DataHouseResult ExportDataHouse(DataHouseOptions& options) {
    CheckOptions(options);
    if (options.folder.trimmed().isEmpty()) options.folder = DefaultDataHouseFolder();
    const QString folder = options.folder.trimmed();
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw DataHouseError(u"Diretório de destino não localizado"_s);

    DataHouseResult result;
    result.folder = folder;
    if (!options.sales && !options.customers) return result;

    // Everything is read before anything is written, in one moment: a query
    // that fails leaves no file, and both files show the same invoices.
    std::vector<DataHouseSale> sales;
    CityCodes codes;
    {
        const QString sql = DataHouseSelectSql(DataHouseCondition(options));
        const data::ReadMoment moment;
        const data::CancelOnStop cancelOnStop;
        sales = ReadSales(sql);
        if (options.customers) codes = ReadCityCodes();
    }

    Composed composed;
    if (options.sales)
        for (const DataHouseSale& sale : sales)
            composed.sales << DataHouseSalesLine(sale, options.writeIcms);
    if (options.customers) ComposeCustomers(sales, codes, composed);

    if (options.sales &&
        WriteFile(DataHouseFilePath(folder, DataHouseSalesName()), composed.sales, result)) {
        result.messages << u"Arquivo vendas - "_s + DataHouseSalesName() << u"*** Erros: 0"_s;
        result.salesLines = int(composed.sales.size());
    }
    if (options.customers && WriteFile(DataHouseFilePath(folder, DataHouseCustomersName()),
                                       composed.customers, result)) {
        result.messages << u"Arquivo Clientes - "_s + DataHouseCustomersName();
        result.messages << composed.customerMessages;
        result.messages << u"*** Erros: "_s + QString::number(composed.errors);
        result.customerLines = int(composed.customers.size());
        result.errors = composed.errors;
    }
    return result;
}

} // namespace livrax::efiles
