#pragma once
// The SINTEGRA file: fixed lines of 126 characters, Windows-1252, CR LF, one
// record per line. Each record type is a table of fields (position, width,
// kind) laid out by one formatter; the writers fill those fields from the
// informant's data and the staged document rows and append finished lines to
// one list, which the export saves to disk.

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace livrax::efiles {

inline constexpr int SintegraLineWidth = 126;

// How a field is filled.
enum class FieldKind {
    Numeric,      // N: right-aligned, "0" on the left, rightmost characters kept
    Alphanumeric, // X: left-aligned, spaces on the right, leftmost characters kept
    Date,         // D: yyyymmdd of a date; a text that is no date as typed
    Blank,        // spaces
};

struct FieldSpec {
    const char* name;
    int position; // first column, 1-based
    int width;
    FieldKind kind;
};

// One record type's fields, in line order.
struct RecordLayout {
    const char* type;
    std::span<const FieldSpec> fields;
};

// The layouts of every record type, for the formatter and the checks of the
// layout itself (contiguous fields, 126 columns).
const RecordLayout& Layout10();
const RecordLayout& Layout11();
const RecordLayout& Layout50();
const RecordLayout& Layout51();
const RecordLayout& Layout53();
const RecordLayout& Layout54();
const RecordLayout& Layout55();
const RecordLayout& Layout61();
const RecordLayout& Layout70();
const RecordLayout& Layout71();
const RecordLayout& Layout75();
std::vector<const RecordLayout*> AllLayouts();
// Record 50 as the older layout of Convênio 31/99 has it (three-digit CFOP,
// series and sub-series before the number, no issuer field). This program
// never writes it; the reversal reads files of documents dated up to 2002 by
// it.
const RecordLayout& Layout50Of1999();

// The field of that name in the layout, or nullptr.
const FieldSpec* FindField(const RecordLayout& layout, const char* name);

// Lays the values out by the record's table: one value per field (a missing
// value is empty; Blank fields ignore theirs), each made exactly as wide as
// its field by its kind. The line is always 126 characters.
QString FormatRecord(const RecordLayout& layout, const QStringList& values);

// Field conversions.
// CNPJ, CPF, CEP, phone: "," "." "/" "-" "\" removed, trimmed, ZeroPad(width).
QString DigitsField(const QString& text, int width);
// An amount typed or shown with a decimal comma (or point) as its digits with
// two implied decimals, further decimals cut; a minus sign stays in front of
// the digits, the zeros go before it ("-10" in 13: "00000000-1000").
QString AmountField(const QString& text, int width);
// The same for an amount in ten-thousandths.
QString AmountField(qint64 tenThousandths, int width);
// As AmountField with three implied decimals.
QString QuantityField(const QString& text, int width);
QString QuantityField(qint64 tenThousandths, int width);
// A state registration: symbols stripped, trimmed, PadRight(14).
QString StateRegistrationField(const QString& text);

// The informant and the file's choices (tabs "T-10" and "T-11" of the
// SINTEGRA window).
struct SintegraInformant {
    QString cnpj;         // E_CNPJ10
    QString stateReg;     // E_INSCEST
    QString name;         // E_NOMECONTRIB
    QString municipality; // E_MUNICIPIO
    QString state;        // E_UF
    QString fax;          // E_FAX
    QString startDate;    // E_DTINICIAL
    QString endDate;      // E_DTFINAL
    QString agreement;    // E_CONVENIO, its first character is written
    QString natures;      // E_NATUREZA, its first character is written
    QString purpose;      // E_ARQMAG, its first character is written
    QString street;       // E_LOGRADOURO
    QString number;       // E_NUMERO
    QString complement;   // E_COMPLEMENTO
    QString district;     // E_BAIRRO
    QString postalCode;   // E_CEP
    QString contact;      // E_CONTATO
    QString phone;        // E_TELEFONE
};

// GNRE of tab "T-55".
struct SintegraGnre {
    QString cnpj;            // E_55_02
    QString stateReg;        // E_55_03
    QString date;            // E_55_04
    QString substituteState; // E_55_05
    QString favouredState;   // E_55_06
    QString bank;            // E_55_07
    QString agency;          // E_55_08
    QString number;          // E_55_09
    qint64 amount = 0;       // E_55_10, ten-thousandths
    QString dueDate;         // E_55_11
    QString reference;       // E_55_12, MMAAAA
    QString agreement;       // E_55_13
};

// Staged document rows (the rows of the staging grids). Amounts and rates are
// ten-thousandths. A row whose CNPJ column begins with "***" is a section
// title and is not written.
struct Row50 { // GRID_50
    QString cnpj, stateReg, date, state, model, series, subSeries, number, cfop;
    qint64 total = 0, base = 0, icms = 0, exempt = 0, other = 0, rate = 0;
    QString cancelled; // "S" or "N"
    QString partner;   // Sigla
};

struct Row51 { // GRID_51
    QString cnpj, stateReg, date, state, series, subSeries, number, cfop;
    qint64 total = 0, ipi = 0, exempt = 0, other = 0;
    QString cancelled, partner;
};

struct Row53 { // GRID_53
    QString cnpj, stateReg, date, state, model, series, subSeries, number, cfop;
    qint64 total = 0, retained = 0, expenses = 0;
    QString cancelled, partner;
    QString direction; // "E" entries, "S" exits
    QString order;     // Pedido: the document key of its items
};

struct Row61 {    // GRID_61
    QString type; // "61" for a day summary, "**" for a detail row
    QString date, model, series, subSeries, firstNumber, lastNumber;
    qint64 total = 0, base = 0, icms = 0, exempt = 0, other = 0, rate = 0;
};

struct Row70 { // GRID_70
    QString cnpj, stateReg, date, state, model, series, subSeries, number, cfop;
    qint64 total = 0, base = 0, icms = 0, exempt = 0, other = 0;
    QString freight; // Cif/Fob
    QString status;  // Sit
    QString company;
};

struct Row71 { // GRID_71
    QString takerCnpj, takerStateReg, date, state, model, series, subSeries, billNumber;
    QString senderState, senderCnpj, senderStateReg, invoiceDate, invoiceModel, invoiceSeries,
        invoiceNumber;
    qint64 value = 0;
};

// An item of a record-53 document with what its product row says.
struct Item54 {
    QString sequence;         // SEQ
    QString product;          // PRODUTO
    QString productName;      // the product's NOME
    QString taxSituation;     // the product's ST
    qint64 quantity = 0;      // QUANT
    qint64 value = 0;         // VALORA
    qint64 discount = 0;      // VALDESC
    qint64 discountValue = 0; // DESCVALOR
    qint64 accounting = 0;    // CONTABIL
    qint64 icms = 0;          // ICMVALOR
    qint64 retained = 0;      // SUBSTR
    qint64 ipi = 0;           // IPIVALOR
    qint64 icmsRate = 0;      // ICMPERC
};

// A product of record 75 (a GRID_75 row and its product row; a product that
// was not found leaves the values zero).
struct Product75 {
    QString code;         // column 1
    QString description;  // column 2
    QString unit;         // UNIDADE
    qint64 ipiRate = 0;   // IPIPERC
    qint64 icmsRate = 0;  // ICMPERC; zero is written as 17,00
    qint64 reduction = 0; // REDICM
    qint64 maxPrice = 0;  // PRMAX
};

// The record types whose boxes are ticked on the window.
struct SintegraChoice {
    bool r50 = false, r51 = false, r53 = false, r54 = false, r55 = false, r61 = false, r70 = false,
         r71 = false, r75 = false;
    // Whether the writer of a record type writes: its box, and for 54 the
    // box of 53 too (items follow their record-53 documents).
    bool ticked(int type) const;
    // The box of a record type the window offers (50, 51, 53, 54, 55, 61,
    // 70, 71, 75); nullptr for any other type.
    bool* box(int type);
    const bool* box(int type) const;
};

// The items of a record-53 document, in the order the database returns them.
using ItemSource = std::function<std::vector<Item54>(const Row53&)>;

// A line being laid out by its record's table (the writers' own).
class RecordLine;

// The record writers: each appends its lines to lines() and keeps the number
// of lines it wrote for its record type, which record 90 totals. A writer of a
// record type whose box is not ticked writes nothing.
class SintegraWriter {
  public:
    SintegraWriter(SintegraInformant informant, SintegraChoice choice);

    void Write10And11();
    void Write50(const std::vector<Row50>& rows);
    void Write51(const std::vector<Row51>& rows);
    // Each record-53 line followed by its record-54 lines (when 54 is ticked);
    // with 75 ticked the items' products are gathered for Write75.
    void Write53With54(const std::vector<Row53>& rows, const ItemSource& items);
    void Write55(const SintegraGnre& gnre);
    void Write61(const std::vector<Row61>& rows);
    void Write70(const std::vector<Row70>& rows);
    void Write71(const std::vector<Row71>& rows);
    void Write75(const std::vector<Product75>& products);
    // The totals: one type-90 line, or several when the totalled types and the
    // "99" slot need more than the nine slots of a line.
    void Write90();

    const QStringList& lines() const { return m_lines; }
    // Lines written for a record type (the window's count labels).
    int count(int type) const;
    // The products gathered by Write53With54 (the rows of GRID_75), in the
    // order they first appeared, each once.
    const std::vector<Product75>& products75() const { return m_products75; }

  private:
    void Append(RecordLine& line);
    void Write54ForDocument(const Row53& row, const std::vector<Item54>& items);

    SintegraInformant m_informant;
    SintegraChoice m_choice;
    QStringList m_lines;
    std::map<int, int> m_counts;
    std::vector<Product75> m_products75;
    QSet<QString> m_listedProducts; // the codes in m_products75
};

// The type-90 lines for these counts (types in file order, each with the
// lines it wrote; a zero count writes no slot).
QStringList Record90Lines(const QString& cnpj, const QString& stateReg,
                          const std::vector<std::pair<int, int>>& counts);

// Saves the lines as the SINTEGRA file (Windows-1252, CR LF after every
// line), all or nothing; throws print::PrintError naming the path and reason.
void SaveSintegraFile(const QString& path, const QStringList& lines);

} // namespace livrax::efiles
