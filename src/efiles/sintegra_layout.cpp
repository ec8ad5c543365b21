#include "efiles/sintegra_layout.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "print/output_file.h"

#include <QVarLengthArray>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace livrax::efiles {

namespace {

constexpr auto N = FieldKind::Numeric;
constexpr auto X = FieldKind::Alphanumeric;
constexpr auto D = FieldKind::Date;
constexpr auto B = FieldKind::Blank;

constexpr FieldSpec Fields10[] = {
    {"type", 1, 2, N},        {"cnpj", 3, 14, N},          {"stateReg", 17, 14, X},
    {"name", 31, 35, X},      {"municipality", 66, 30, X}, {"state", 96, 2, X},
    {"fax", 98, 10, N},       {"startDate", 108, 8, D},    {"endDate", 116, 8, D},
    {"agreement", 124, 1, X}, {"natures", 125, 1, X},      {"purpose", 126, 1, X},
};
constexpr FieldSpec Fields11[] = {
    {"type", 1, 2, N},         {"street", 3, 34, X},    {"number", 37, 5, N},
    {"complement", 42, 22, X}, {"district", 64, 15, X}, {"postalCode", 79, 8, N},
    {"contact", 87, 28, X},    {"phone", 115, 12, N},
};
constexpr FieldSpec Fields50[] = {
    {"type", 1, 2, N},        {"cnpj", 3, 14, N},    {"stateReg", 17, 14, X}, {"date", 31, 8, D},
    {"state", 39, 2, X},      {"model", 41, 2, X},   {"series", 43, 3, X},    {"number", 46, 6, N},
    {"cfop", 52, 4, N},       {"issuer", 56, 1, X},  {"total", 57, 13, N},    {"base", 70, 13, N},
    {"icms", 83, 13, N},      {"exempt", 96, 13, N}, {"other", 109, 13, N},   {"rate", 122, 4, N},
    {"cancelled", 126, 1, X},
};
constexpr FieldSpec Fields51[] = {
    {"type", 1, 2, N},     {"cnpj", 3, 14, N},       {"stateReg", 17, 14, X}, {"date", 31, 8, D},
    {"state", 39, 2, X},   {"series", 41, 3, X},     {"number", 44, 6, N},    {"cfop", 50, 4, N},
    {"total", 54, 13, N},  {"ipi", 67, 13, N},       {"exempt", 80, 13, N},   {"other", 93, 13, N},
    {"blank", 106, 20, B}, {"cancelled", 126, 1, X},
};
constexpr FieldSpec Fields53[] = {
    {"type", 1, 2, N},       {"cnpj", 3, 14, N},      {"stateReg", 17, 14, X},
    {"date", 31, 8, D},      {"state", 39, 2, X},     {"model", 41, 2, X},
    {"series", 43, 3, X},    {"number", 46, 6, N},    {"cfop", 52, 4, N},
    {"issuer", 56, 1, X},    {"total", 57, 13, N},    {"retained", 70, 13, N},
    {"expenses", 83, 13, N}, {"cancelled", 96, 1, X}, {"blank", 97, 30, B},
};
constexpr FieldSpec Fields54[] = {
    {"type", 1, 2, N},          {"cnpj", 3, 14, N},          {"model", 17, 2, X},
    {"series", 19, 3, X},       {"number", 22, 6, N},        {"cfop", 28, 4, N},
    {"taxSituation", 32, 3, X}, {"sequence", 35, 3, N},      {"product", 38, 14, X},
    {"quantity", 52, 11, N},    {"value", 63, 12, N},        {"discount", 75, 12, N},
    {"icmsBase", 87, 12, N},    {"retainedBase", 99, 12, N}, {"ipi", 111, 12, N},
    {"icmsRate", 123, 4, N},
};
constexpr FieldSpec Fields55[] = {
    {"type", 1, 2, N},
    {"cnpj", 3, 14, N},
    {"stateReg", 17, 14, X},
    {"date", 31, 8, D},
    {"substituteState", 39, 2, X},
    {"favouredState", 41, 2, X},
    {"bank", 43, 3, N},
    {"agency", 46, 4, N},
    {"number", 50, 20, N},
    {"amount", 70, 13, N},
    {"dueDate", 83, 8, D},
    {"reference", 91, 6, N},
    {"agreement", 97, 30, X},
};
constexpr FieldSpec Fields61[] = {
    {"type", 1, 2, N},         {"blank", 3, 28, B},      {"date", 31, 8, D},
    {"model", 39, 2, X},       {"series", 41, 3, X},     {"subSeries", 44, 2, X},
    {"firstNumber", 46, 6, N}, {"lastNumber", 52, 6, N}, {"total", 58, 13, N},
    {"base", 71, 13, N},       {"icms", 84, 12, N},      {"exempt", 96, 13, N},
    {"other", 109, 13, N},     {"rate", 122, 4, N},      {"end", 126, 1, B},
};
constexpr FieldSpec Fields70[] = {
    {"type", 1, 2, N},     {"cnpj", 3, 14, N},    {"stateReg", 17, 14, X}, {"date", 31, 8, D},
    {"state", 39, 2, X},   {"model", 41, 2, N},   {"series", 43, 1, X},    {"subSeries", 44, 2, X},
    {"number", 46, 6, N},  {"cfop", 52, 4, N},    {"total", 56, 13, N},    {"base", 69, 14, N},
    {"icms", 83, 14, N},   {"exempt", 97, 14, N}, {"other", 111, 14, N},   {"freight", 125, 1, X},
    {"status", 126, 1, X},
};
constexpr FieldSpec Fields71[] = {
    {"type", 1, 2, N},           {"takerCnpj", 3, 14, N},    {"takerStateReg", 17, 14, X},
    {"date", 31, 8, D},          {"state", 39, 2, X},        {"model", 41, 2, N},
    {"series", 43, 1, X},        {"subSeries", 44, 2, X},    {"billNumber", 46, 6, N},
    {"senderState", 52, 2, X},   {"senderCnpj", 54, 14, X},  {"senderStateReg", 68, 14, X},
    {"invoiceDate", 82, 8, D},   {"invoiceModel", 90, 2, X}, {"invoiceSeries", 92, 3, X},
    {"invoiceNumber", 95, 6, N}, {"value", 101, 14, N},      {"blank", 115, 12, B},
};
constexpr FieldSpec Fields75[] = {
    {"type", 1, 2, N},        {"startDate", 3, 8, D},   {"endDate", 11, 8, D},
    {"product", 19, 14, X},   {"ncm", 33, 8, B},        {"description", 41, 53, X},
    {"unit", 94, 6, X},       {"ipiRate", 100, 5, N},   {"icmsRate", 105, 4, N},
    {"reduction", 109, 5, N}, {"maxPrice", 114, 13, N},
};

constexpr FieldSpec Fields50Of1999[] = {
    {"type", 1, 2, N},    {"cnpj", 3, 14, N},       {"stateReg", 17, 14, X},
    {"date", 31, 8, D},   {"state", 39, 2, X},      {"model", 41, 2, X},
    {"series", 43, 3, X}, {"subSeries", 46, 2, X},  {"number", 48, 6, N},
    {"cfop", 54, 3, N},   {"total", 57, 13, N},     {"base", 70, 13, N},
    {"icms", 83, 13, N},  {"exempt", 96, 13, N},    {"other", 109, 13, N},
    {"rate", 122, 4, N},  {"cancelled", 126, 1, X},
};

const RecordLayout L10{"10", Fields10};
const RecordLayout L11{"11", Fields11};
const RecordLayout L50{"50", Fields50};
const RecordLayout L51{"51", Fields51};
const RecordLayout L53{"53", Fields53};
const RecordLayout L54{"54", Fields54};
const RecordLayout L55{"55", Fields55};
const RecordLayout L61{"61", Fields61};
const RecordLayout L70{"70", Fields70};
const RecordLayout L71{"71", Fields71};
const RecordLayout L75{"75", Fields75};
const RecordLayout L50Of1999{"50", Fields50Of1999};

// The ICMS rate written for a product that has none.
constexpr qint64 DefaultIcmsRate = 170000; // 17,00

// A set of ASCII symbols, tested in one step per character.
class SymbolSet {
  public:
    constexpr explicit SymbolSet(QStringView symbols) {
        for (qsizetype i = 0; i < symbols.size(); ++i)
            m_bits[symbols.at(i).unicode() / 64] |= quint64(1) << (symbols.at(i).unicode() % 64);
    }
    bool contains(QChar c) const {
        return c.unicode() < 128 && ((m_bits[c.unicode() / 64] >> (c.unicode() % 64)) & 1) != 0;
    }

  private:
    quint64 m_bits[2] = {};
};

// What DigitsField drops from a CNPJ, CPF, postal code or phone.
constexpr QStringView DigitSymbolText = u",./-\\";
constexpr SymbolSet DigitSymbols(DigitSymbolText);
// What StripSymbols drops from a state registration.
constexpr SymbolSet StateRegistrationSymbols(StrippedSymbols);

// An amount's digits with `decimals` implied decimals, further decimals cut
// toward zero, as QString::number writes them ("-" in front of a negative).
class ScaledDigits {
  public:
    ScaledDigits(qint64 tenThousandths, int decimals) {
        qint64 divisor = 1;
        for (int i = decimals; i < 4; ++i)
            divisor *= 10;
        const qint64 value = tenThousandths / divisor;
        quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
        do {
            m_text[--m_begin] = char16_t(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) m_text[--m_begin] = u'-';
    }
    QStringView view() const { return QStringView(m_text + m_begin, m_text + Size); }

  private:
    static constexpr int Size = 24; // 19 digits and the sign of any qint64
    char16_t m_text[Size];
    int m_begin = Size;
};

// The text with the characters of `symbols` dropped, then trimmed, as
// DropChars(...).trimmed() gives it, kept on the stack.
class WithoutSymbols {
  public:
    WithoutSymbols(QStringView text, const SymbolSet& symbols) {
        for (const QChar c : text)
            if (!symbols.contains(c)) m_kept.append(c);
    }
    QStringView trimmed() const { return QStringView(m_kept.data(), m_kept.size()).trimmed(); }

  private:
    QVarLengthArray<QChar, 32> m_kept;
};

// ZeroPad(text, width) written to `width` characters at `out`: "0" on the
// left; when longer, the rightmost characters are kept.
void ZeroPadInto(QStringView text, QChar* out, int width) {
    const qsizetype kept = std::min<qsizetype>(text.size(), width);
    std::fill(out, out + width - kept, u'0');
    std::copy(text.end() - kept, text.end(), out + width - kept);
}

// True when DigitsField(text, field.size()) is `field`.
bool DigitsFieldIs(QStringView text, QStringView field) {
    QVarLengthArray<QChar, 16> made(field.size());
    ZeroPadInto(WithoutSymbols(text, DigitSymbols).trimmed(), made.data(), int(made.size()));
    return QStringView(made.data(), made.size()) == field;
}

// Values of a field other than a text as typed.
struct Digits { // DigitsField: the CNPJ, CPF, postal code or phone with its symbols dropped
    QStringView text;
};
struct StateReg { // StateRegistrationField: symbols stripped, left-aligned
    QStringView text;
};
struct Amount { // AmountField of ten-thousandths: two implied decimals
    qint64 tenThousandths;
};
struct Quantity { // QuantityField of ten-thousandths: three implied decimals
    qint64 tenThousandths;
};

bool IsSectionRow(const QString& secondColumn) {
    return secondColumn.startsWith(u"***"_s);
}

QString FirstChar(const QString& text) {
    return text.left(1);
}

} // namespace

// One line being laid out by its record's table: each value fills the next
// field straight in the line's characters, made as wide as that field by
// its kind; the fields given no value are filled as if given an empty text.
// The line starts as 126 spaces, so Blank fields are already done.
class RecordLine {
  public:
    explicit RecordLine(const RecordLayout& layout)
        : m_layout(layout), m_line(SintegraLineWidth, u' ') {}

    // A text, by the field's kind: Numeric trimmed, "0" on the left, the
    // rightmost characters kept; Alphanumeric spaces on the right, the
    // leftmost kept; Date as yyyymmdd (a text that is no date as typed);
    // Blank ignores it.
    RecordLine& operator<<(const QString& value) {
        const FieldSpec* field = next();
        if (!field) return *this;
        switch (field->kind) {
        case FieldKind::Numeric:
            zeroPadded(*field, QStringView(value).trimmed());
            break;
        case FieldKind::Alphanumeric:
            leftAligned(*field, value);
            break;
        case FieldKind::Date:
            leftAligned(*field, DateYMD(value));
            break;
        case FieldKind::Blank:
            break;
        }
        return *this;
    }
    RecordLine& operator<<(Digits value) {
        return numeric(WithoutSymbols(value.text, DigitSymbols).trimmed());
    }
    RecordLine& operator<<(StateReg value) {
        const FieldSpec* field = next();
        if (!field) return *this;
        Q_ASSERT(field->kind == FieldKind::Alphanumeric);
        leftAligned(*field, WithoutSymbols(value.text, StateRegistrationSymbols).trimmed());
        return *this;
    }
    RecordLine& operator<<(Amount value) {
        return numeric(ScaledDigits(value.tenThousandths, 2).view());
    }
    RecordLine& operator<<(Quantity value) {
        return numeric(ScaledDigits(value.tenThousandths, 3).view());
    }

    // The record type, for the counts of record 90.
    int type() const { return QLatin1StringView(m_layout.type).toInt(); }
    // The finished line, 126 characters.
    QString take() {
        while (m_next < m_layout.fields.size())
            *this << QString();
        return std::move(m_line);
    }

  private:
    // The next field of the table; nullptr when the table has no more.
    const FieldSpec* next() {
        return m_next < m_layout.fields.size() ? &m_layout.fields[m_next++] : nullptr;
    }
    QChar* columns(const FieldSpec& field) { return m_line.data() + field.position - 1; }

    RecordLine& numeric(QStringView digits) {
        const FieldSpec* field = next();
        if (!field) return *this;
        Q_ASSERT(field->kind == FieldKind::Numeric);
        zeroPadded(*field, digits);
        return *this;
    }
    void zeroPadded(const FieldSpec& field, QStringView text) {
        ZeroPadInto(text, columns(field), field.width);
    }
    void leftAligned(const FieldSpec& field, QStringView text) {
        const qsizetype kept = std::min<qsizetype>(text.size(), field.width);
        std::copy(text.begin(), text.begin() + kept, columns(field));
    }

    const RecordLayout& m_layout;
    std::size_t m_next = 0;
    QString m_line;
};

const RecordLayout& Layout10() {
    return L10;
}
const RecordLayout& Layout11() {
    return L11;
}
const RecordLayout& Layout50() {
    return L50;
}
const RecordLayout& Layout51() {
    return L51;
}
const RecordLayout& Layout53() {
    return L53;
}
const RecordLayout& Layout54() {
    return L54;
}
const RecordLayout& Layout55() {
    return L55;
}
const RecordLayout& Layout61() {
    return L61;
}
const RecordLayout& Layout70() {
    return L70;
}
const RecordLayout& Layout71() {
    return L71;
}
const RecordLayout& Layout75() {
    return L75;
}

const RecordLayout& Layout50Of1999() {
    return L50Of1999;
}

const FieldSpec* FindField(const RecordLayout& layout, const char* name) {
    for (const FieldSpec& field : layout.fields)
        if (qstrcmp(field.name, name) == 0) return &field;
    return nullptr;
}

std::vector<const RecordLayout*> AllLayouts() {
    return {&L10, &L11, &L50, &L51, &L53, &L54, &L55, &L61, &L70, &L71, &L75};
}

QString FormatRecord(const RecordLayout& layout, const QStringList& values) {
    RecordLine line(layout);
    for (qsizetype i = 0; i < qsizetype(layout.fields.size()); ++i)
        line << values.value(i);
    return line.take();
}

QString DigitsField(const QString& text, int width) {
    return ZeroPad(DropChars(text, DigitSymbolText.toString()).trimmed(), width);
}

QString AmountField(const QString& text, int width) {
    const QString normal = FormatDecimal(text, width + 1, 2);
    return ZeroPad(DropChars(normal, u",."_s).trimmed(), width);
}

QString AmountField(qint64 tenThousandths, int width) {
    return ZeroPad(ScaledDigits(tenThousandths, 2).view().toString(), width);
}

QString QuantityField(const QString& text, int width) {
    const QString normal = FormatDecimal(text, width + 1, 3);
    return ZeroPad(DropChars(normal, u",."_s).trimmed(), width);
}

QString QuantityField(qint64 tenThousandths, int width) {
    return ZeroPad(ScaledDigits(tenThousandths, 3).view().toString(), width);
}

QString StateRegistrationField(const QString& text) {
    return PadRight(StripSymbols(text), 14);
}

bool SintegraChoice::ticked(int type) const {
    if (type == 54) return r53 && r54;
    const bool* ticked = box(type);
    return ticked && *ticked;
}

bool* SintegraChoice::box(int type) {
    return const_cast<bool*>(std::as_const(*this).box(type));
}

const bool* SintegraChoice::box(int type) const {
    static constexpr std::pair<int, bool SintegraChoice::*> Boxes[] = {
        {50, &SintegraChoice::r50}, {51, &SintegraChoice::r51}, {53, &SintegraChoice::r53},
        {54, &SintegraChoice::r54}, {55, &SintegraChoice::r55}, {61, &SintegraChoice::r61},
        {70, &SintegraChoice::r70}, {71, &SintegraChoice::r71}, {75, &SintegraChoice::r75},
    };
    for (const auto& [boxType, member] : Boxes)
        if (boxType == type) return &(this->*member);
    return nullptr;
}

SintegraWriter::SintegraWriter(SintegraInformant informant, SintegraChoice choice)
    : m_informant(std::move(informant)), m_choice(choice) {}

int SintegraWriter::count(int type) const {
    const auto found = m_counts.find(type);
    return found == m_counts.end() ? 0 : found->second;
}

void SintegraWriter::Append(RecordLine& line) {
    ++m_counts[line.type()];
    m_lines.append(line.take());
}

void SintegraWriter::Write10And11() {
    const SintegraInformant& i = m_informant;
    Append(RecordLine(L10) << u"10"_s << Digits{i.cnpj} << StateReg{i.stateReg} << i.name
                           << i.municipality << i.state << Digits{i.fax} << i.startDate << i.endDate
                           << FirstChar(i.agreement) << FirstChar(i.natures)
                           << FirstChar(i.purpose));
    Append(RecordLine(L11) << u"11"_s << i.street << i.number << i.complement << i.district
                           << Digits{i.postalCode} << i.contact << Digits{i.phone});
}

void SintegraWriter::Write50(const std::vector<Row50>& rows) {
    if (!m_choice.r50) return;
    m_counts[50] = 0;
    const QString ownCnpj = DigitsField(m_informant.cnpj, 8);
    for (const Row50& r : rows) {
        if (IsSectionRow(r.cnpj)) continue;
        // The informant issued the document: an exit, or an entry under its
        // own number.
        const QString cfop = r.cfop.trimmed();
        const bool exit = !cfop.isEmpty() && cfop.at(0).isDigit() && cfop.at(0) > u'4';
        const bool own = DigitsFieldIs(r.cnpj, ownCnpj);
        const QStringView stateReg = IsBlank(r.stateReg) ? u"ISENTO" : QStringView(r.stateReg);
        Append(RecordLine(L50) << u"50"_s << Digits{r.cnpj} << StateReg{stateReg} << r.date
                               << r.state << r.model << r.series << r.number << r.cfop
                               << (exit || own ? u"P"_s : u"T"_s) << Amount{r.total}
                               << Amount{r.base} << Amount{r.icms} << Amount{r.exempt}
                               << Amount{r.other} << Amount{r.rate} << r.cancelled);
    }
}

void SintegraWriter::Write51(const std::vector<Row51>& rows) {
    if (!m_choice.r51) return;
    m_counts[51] = 0;
    for (const Row51& r : rows) {
        if (IsSectionRow(r.cnpj)) continue;
        Append(RecordLine(L51) << u"51"_s << Digits{r.cnpj} << StateReg{r.stateReg} << r.date
                               << r.state << r.series << r.number << r.cfop << Amount{r.total}
                               << Amount{r.ipi} << Amount{r.exempt} << Amount{r.other} << QString()
                               << r.cancelled);
    }
}

void SintegraWriter::Write53With54(const std::vector<Row53>& rows, const ItemSource& items) {
    if (!m_choice.r53) return;
    m_counts[53] = 0;
    if (m_choice.r54) m_counts[54] = 0;
    for (const Row53& r : rows) {
        if (IsSectionRow(r.cnpj)) continue;
        Append(RecordLine(L53) << u"53"_s << Digits{r.cnpj} << StateReg{r.stateReg} << r.date
                               << r.state << r.model << r.series << r.number << r.cfop << u"P"_s
                               << Amount{r.total} << Amount{r.retained} << Amount{r.expenses}
                               << r.cancelled);
        if (m_choice.r54 && items) Write54ForDocument(r, items(r));
    }
}

void SintegraWriter::Write54ForDocument(const Row53& row, const std::vector<Item54>& items) {
    for (const Item54& item : items) {
        // Each discount is taken with two decimals before they are summed.
        const qint64 discount = item.discount / 100 * 100 + item.discountValue / 100 * 100;
        const QString situation = item.taxSituation.isEmpty() ? u"000"_s : item.taxSituation;
        Append(RecordLine(L54) << u"54"_s << Digits{row.cnpj} << row.model << row.series
                               << row.number << row.cfop << situation << item.sequence
                               << item.product << Quantity{item.quantity} << Amount{item.value}
                               << Amount{discount} << Amount{item.icms > 0 ? item.accounting : 0}
                               << Amount{item.retained > 0 ? item.accounting : 0}
                               << Amount{item.ipi} << Amount{item.icmsRate});
        if (!m_choice.r75) continue;
        if (m_listedProducts.contains(item.product)) continue;
        m_listedProducts.insert(item.product);
        Product75 product;
        product.code = item.product;
        product.description = item.productName;
        m_products75.push_back(product);
    }
}

void SintegraWriter::Write55(const SintegraGnre& g) {
    if (!m_choice.r55) return;
    m_counts[55] = 0;
    Append(RecordLine(L55) << u"55"_s << Digits{g.cnpj} << StateReg{g.stateReg} << g.date
                           << g.substituteState << g.favouredState << g.bank << g.agency << g.number
                           << Amount{g.amount} << g.dueDate << g.reference << g.agreement);
}

void SintegraWriter::Write61(const std::vector<Row61>& rows) {
    if (!m_choice.r61) return;
    m_counts[61] = 0;
    for (const Row61& r : rows) {
        if (r.type != u"61"_s) continue;
        Append(RecordLine(L61) << u"61"_s << QString() << r.date << r.model << r.series
                               << r.subSeries << r.firstNumber << r.lastNumber << Amount{r.total}
                               << Amount{r.base} << Amount{r.icms} << Amount{r.exempt}
                               << Amount{r.other} << Amount{r.rate});
    }
}

void SintegraWriter::Write70(const std::vector<Row70>& rows) {
    if (!m_choice.r70) return;
    m_counts[70] = 0;
    for (const Row70& r : rows) {
        if (IsSectionRow(r.cnpj)) continue;
        Append(RecordLine(L70) << u"70"_s << Digits{r.cnpj} << StateReg{r.stateReg} << r.date
                               << r.state << r.model << r.series << r.subSeries << r.number
                               << r.cfop << Amount{r.total} << Amount{r.base} << Amount{r.icms}
                               << Amount{r.exempt} << Amount{r.other} << r.freight << r.status);
    }
}

void SintegraWriter::Write71(const std::vector<Row71>& rows) {
    if (!m_choice.r71) return;
    m_counts[71] = 0;
    for (const Row71& r : rows) {
        if (r.takerCnpj.isEmpty() || IsSectionRow(r.takerCnpj)) continue;
        Append(RecordLine(L71) << u"71"_s << Digits{r.takerCnpj} << StateReg{r.takerStateReg}
                               << r.date << r.state << r.model << r.series << r.subSeries
                               << r.billNumber << r.senderState << r.senderCnpj << r.senderStateReg
                               << r.invoiceDate << r.invoiceModel << r.invoiceSeries
                               << r.invoiceNumber << Amount{r.value});
    }
}

void SintegraWriter::Write75(const std::vector<Product75>& products) {
    if (!m_choice.r75) return;
    m_counts[75] = 0;
    for (const Product75& p : products) {
        if (p.code.isEmpty()) continue;
        const qint64 icmsRate = p.icmsRate == 0 ? DefaultIcmsRate : p.icmsRate;
        Append(RecordLine(L75) << u"75"_s << m_informant.startDate << m_informant.endDate << p.code
                               << QString() << p.description << p.unit << Amount{p.ipiRate}
                               << Amount{icmsRate} << Amount{p.reduction} << Amount{p.maxPrice});
    }
}

void SintegraWriter::Write90() {
    std::vector<std::pair<int, int>> counts;
    for (const int type : {50, 51, 53, 54, 55, 61, 70, 71, 75})
        if (m_choice.ticked(type)) counts.emplace_back(type, count(type));
    m_lines.append(Record90Lines(m_informant.cnpj, m_informant.stateReg, counts));
}

QStringList Record90Lines(const QString& cnpj, const QString& stateReg,
                          const std::vector<std::pair<int, int>>& counts) {
    constexpr int SlotsPerLine = 9;
    QStringList pairs;
    qint64 total = 2; // records 10 and 11; the type-90 lines are added below
    for (const auto& [type, lines] : counts) {
        if (lines <= 0) continue; // a type without lines has no slot
        pairs.append(ZeroPad(type, 2) + ZeroPad(lines, 8));
        total += lines;
    }
    const int lineCount = int(pairs.size()) / SlotsPerLine + 1; // the "99" slot included
    total += lineCount;
    pairs.append(u"99"_s + ZeroPad(total, 8));

    const QString head = u"90"_s + DigitsField(cnpj, 14) + StateRegistrationField(stateReg);
    QStringList result;
    for (int n = 0; n < lineCount; ++n) {
        QString line = head + pairs.mid(n * SlotsPerLine, SlotsPerLine).join(QString());
        result.append(PadRight(line, SintegraLineWidth - 1) + QString::number(lineCount));
    }
    return result;
}

void SaveSintegraFile(const QString& path, const QStringList& lines) {
    print::WriteTextFile(path, lines);
}

} // namespace livrax::efiles
