#include "books/settlement.h"

#include "books/book_frame.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/field_text.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;
using data::Slot;

namespace {

constexpr int RecordLines = 190;
constexpr int GridRowsKept = 20;
// Lines of the month record.
constexpr int EntryBoxesLine = 10, EntryDescriptionsLine = 11;
constexpr int ExitBoxesLine = 20, ExitDescriptionsLine = 21;
constexpr int BalanceLine = 30, ObsLine = 31, GuideNumberLine = 32;
constexpr int EntriesGridLine = 40, ExitsGridLine = 60;
// The rows of a grid beyond its first 20, after the lines above (which other
// programs read as they always were): all of them on one line per grid, seven
// fields a row, in grid order.
constexpr int EntriesMoreRowsLine = 80, ExitsMoreRowsLine = 81;
constexpr int FieldsPerRow = 7;

data::Connection* RecordDatabase() {
    return data::DatabaseFor(u"PDS"_s);
}

QString Field(const QStringList& fields, int n) {
    return fields.value(n - 1);
}

// The stored line with fields `values` (by number) replaced, every other
// field kept.
QString OverwriteFields(const QString& stored, const QMap<int, QString>& values) {
    QStringList fields = SplitToList(stored);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        while (fields.size() < it.key())
            fields.append(QString());
        fields[it.key() - 1] = it.value();
    }
    return JoinFields(fields);
}

QMap<int, QString> FieldTexts(const QMap<int, QString>& texts) {
    QMap<int, QString> result;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        result.insert(it.key(), FieldText(it.value()));
    return result;
}

QMap<int, QString> AmountTexts(const QMap<int, qint64>& amounts) {
    QMap<int, QString> result;
    for (auto it = amounts.cbegin(); it != amounts.cend(); ++it)
        result.insert(it.key(), FormatAmount(it.value()));
    return result;
}

// An amount kept to whole cents, as a box holds it.
qint64 Cents(qint64 amount) {
    return amount - amount % 100;
}

// A grid cell of a stored line: an empty one has no amount.
std::optional<qint64> CellAmount(const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    return ParseAmount(text);
}

QString CellText(const std::optional<qint64>& amount) {
    return amount ? FormatAmount(*amount) : QString();
}

NatureRow TotalRow(const std::array<qint64, 5>& sums) {
    NatureRow total{u"TOTAL"_s, QString(), {}};
    for (int i = 0; i < 5; ++i)
        total.amounts[i] = sums[i];
    return total;
}

// A grid row from its seven stored fields; none when its nature is empty.
std::optional<NatureRow> RowFromFields(const QStringList& fields, int first) {
    if (fields.value(first).isEmpty()) return std::nullopt;
    NatureRow row{fields.value(first), fields.value(first + 1), {}};
    for (int i = 0; i < 5; ++i)
        row.amounts[i] = CellAmount(fields.value(first + 2 + i));
    return row;
}

QStringList RowFields(const NatureRow& row) {
    QStringList cells{FieldText(row.nature), FieldText(row.history)};
    for (const std::optional<qint64>& amount : row.amounts)
        cells.append(CellText(amount));
    return cells;
}

NatureGrid GridFromLines(const data::ParamLineArray& lines, int firstLine, int moreRowsLine) {
    NatureGrid grid;
    for (int n = firstLine; n < firstLine + GridRowsKept; ++n)
        if (const auto row = RowFromFields(SplitToList(lines.line(n)), 0)) grid.rows.append(*row);
    const QStringList more = SplitToList(lines.line(moreRowsLine));
    for (int first = 0; first < more.size(); first += FieldsPerRow)
        if (const auto row = RowFromFields(more, first)) grid.rows.append(*row);
    std::array<qint64, 5> sums{};
    for (const NatureRow& row : std::as_const(grid.rows))
        for (int i = 0; i < 5; ++i)
            sums[i] += row.amounts[i].value_or(0);
    grid.rows.append(TotalRow(sums));
    return grid;
}

void GridToLines(const NatureGrid& grid, int firstLine, int moreRowsLine,
                 data::ParamLineArray& lines) {
    for (int n = firstLine; n < firstLine + GridRowsKept; ++n)
        lines.setLine(n, QString());
    const QList<NatureRow> rows = grid.detailRows();
    QStringList more;
    for (int i = 0; i < rows.size(); ++i) {
        if (i < GridRowsKept) {
            lines.setLine(firstLine + i, JoinFields(RowFields(rows[i]), FieldsPerRow));
        } else {
            // Empty cells keep their places: only the line's trailing ones
            // are dropped, and they read back as empty.
            more += RowFields(rows[i]);
        }
    }
    lines.setLine(moreRowsLine, JoinFields(more));
}

// The WHERE condition of a recalculation: the books' period condition, then
// the filter in parentheses, so that an OR in it cannot reach past the
// invoiced status and the period (the ICMS book makes its "#" blanks, the IPI
// book sends it as typed).
QString RecalcCondition(const SettlementBook& book, const QString& dateColumn, RecalcInput& input) {
    BookPeriod period{input.startDate, input.endDate, dateColumn, QString(), QString()};
    QString condition = PeriodCondition(book.ipi ? u"FAT = 'F' "_s : u"FAT = 'F'"_s, period);
    if (!input.filter.isEmpty()) {
        if (!book.ipi) input.filter.replace(u'#', u' ');
        condition += u" AND ("_s + input.filter + u")"_s;
    }
    return condition;
}

// The sum of an amount column over a nature's invoices, each invoice's
// amount cut to cents first, as the invoice books take it.
QString SumOfCut(const QString& column, const QString& alias) {
    return u" ,SUM(TRUNC("_s + column + u", 2)) AS "_s + alias;
}

// The same for the ICMS base of the exits, each invoice's base capped at its
// accounting value as the exits book does (CappedIcmsBase).
QString SumOfCappedBase() {
    return u" ,SUM(CASE WHEN TRUNC(LIQUIDO, 2) > 0 AND TRUNC(LIQUIDO, 2) < TRUNC(ICMBASE, 2)"
           u" THEN TRUNC(LIQUIDO, 2) ELSE TRUNC(ICMBASE, 2) END) AS ICMBASE"_s;
}

QString RecalcStatement(const SettlementBook& book, bool exits, bool analytic,
                        const QString& condition) {
    const QString table = exits ? u"VRTNPDS"_s : u"VRTNPDE"_s;
    QString sql;
    if (analytic) {
        sql = u"SELECT NATOPER,PEDIDO, FILIAL, NNOTA, SERIE, SIGLA, DATA, DTNOTA"_s +
              (exits ? u" ,(LIQUIDO) AS CONTABIL"_s : u" ,LIQUIDO AS CONTABIL"_s) +
              u" ,VALOR,DESCVALOR,ENCARGOS"_s +
              (book.ipi ? QString() : u",ICMBASE,ICMVALOR,ICMISENTAS"_s) +
              (exits ? u",SUBSTRVALOR"_s : QString()) +
              u" ,IPIBASE,IPIVALOR,IPIISENTAS,IPIOUTRAS"_s + u" FROM "_s + table + u" WHERE "_s +
              condition + (exits ? u" ORDER BY NNOTA,DTNOTA"_s : u" ORDER BY DATA, NNOTA"_s);
    } else {
        sql = u"SELECT NATOPER"_s + SumOfCut(u"LIQUIDO"_s, u"CONTABIL"_s) +
              SumOfCut(u"VALOR"_s, u"VALOR"_s) + SumOfCut(u"DESCVALOR"_s, u"DESCVALOR"_s) +
              SumOfCut(u"ENCARGOS"_s, u"ENCARGOS"_s) +
              (book.ipi ? QString()
                        : (exits ? SumOfCappedBase() : SumOfCut(u"ICMBASE"_s, u"ICMBASE"_s)) +
                              SumOfCut(u"ICMVALOR"_s, u"ICMVALOR"_s) +
                              SumOfCut(u"ICMISENTAS"_s, u"ICMISENTAS"_s)) +
              (exits ? SumOfCut(u"SUBSTRVALOR"_s, u"SUBSTRVALOR"_s) : QString()) +
              SumOfCut(u"IPIBASE"_s, u"IPIBASE"_s) + SumOfCut(u"IPIVALOR"_s, u"IPIVALOR"_s) +
              SumOfCut(u"IPIISENTAS"_s, u"IPIISENTAS"_s) +
              SumOfCut(u"IPIOUTRAS"_s, u"IPIOUTRAS"_s) + u" FROM "_s + table + u" WHERE "_s +
              condition +
              // Groups in nature order, which the grid and its subtotals need.
              u" GROUP BY NATOPER ORDER BY NATOPER"_s;
    }
    return sql;
}

RecalcResult Recalc(const SettlementBook& book, bool exits, RecalcInput& input, MonthData& month) {
    // The natures and the invoices in one moment; within RecalculateAndSave
    // both sides share its moment.
    data::ReadMoment moment;
    RecalcResult result;
    result.condition = RecalcCondition(book, exits ? u"DTNOTA"_s : u"DATA"_s, input);
    const QString sql = RecalcStatement(book, exits, input.analytic, result.condition);
    const Slot slotName = exits ? Slot::T_CONB : Slot::T_CONA;
    // The ICMS book reads both sides where the exits are; the IPI book reads
    // each side in its own table's database.
    const QString tableCode = exits || !book.ipi ? u"PDS"_s : u"PDE"_s;

    BookLookups lookups;
    lookups.loadNatures();
    const QString tax = book.ipi ? u"IPI"_s : u"ICM"_s;
    const QString baseColumn = tax + u"BASE"_s, taxColumn = tax + u"VALOR"_s,
                  exemptColumn = tax + u"ISENTAS"_s;
    NatureGrid& grid = exits ? month.exitsGrid : month.entriesGrid;
    grid.rows.clear();
    std::array<qint64, 5> totals{};

    data::DataSlot& slot = data::DataModule().slot(slotName);
    // A filter that could reach beyond the month's invoices is not run.
    const QString problem = FilterProblem(input.filter);
    bool found = false;
    if (!problem.isEmpty()) {
        result.failedQuery = u"filtro recusado ("_s + problem + u"): "_s + input.filter;
    } else {
        try {
            found = data::OpenQuery(slotName, tableCode, sql);
        } catch (const data::DbError& error) {
            result.failedQuery = sql;
            result.failureReason = error.message();
        }
    }
    if (slot.isOpen())
        for (int i = 0; i < slot.fieldCount(); ++i)
            result.columns.append(slot.fieldName(i));
    try {
        for (; found && !slot.eof(); slot.next()) {
            QStringList raw;
            for (int i = 0; i < slot.fieldCount(); ++i)
                raw.append(slot.value(i).toString());
            result.rows.append(raw);

            const QString nature = slot.value(u"NATOPER"_s).toString().trimmed();
            if (!nature.isEmpty() && lookups.natureExcluded(nature)) continue;
            const qint64 accounting = BookAmount(slot, u"CONTABIL"_s);
            qint64 base = BookAmount(slot, baseColumn);
            // An invoice of the exits (one row per invoice) has its ICMS base
            // capped as the exits book caps it; the summary query caps each
            // invoice's before summing.
            if (input.analytic && exits && !book.ipi) base = CappedIcmsBase(accounting, base);
            const qint64 exempt = BookAmount(slot, exemptColumn);
            // The ICMS book's "Outras" is what base and exempt amounts leave of
            // the accounting value, as in the invoice books; the exits' tax
            // substitution is not among them (the exits book reports it on its
            // own line), so the grids' totals are the books' totals.
            qint64 other = accounting - base - exempt;
            if (exits) other -= std::max<qint64>(0, BookAmount(slot, u"SUBSTRVALOR"_s));
            if (book.ipi) other = BookAmount(slot, u"IPIOUTRAS"_s);
            const std::array<qint64, 5> amounts{accounting, base, BookAmount(slot, taxColumn),
                                                exempt, other};
            NatureRow row{nature, QString(), {}};
            if (input.analytic)
                row.history = slot.value(u"NNOTA"_s).toString().trimmed() + u' ' +
                              slot.value(u"DTNOTA"_s).toString();
            else
                row.history =
                    book.ipi ? lookups.natureDescription(nature) : lookups.natureShortName(nature);
            for (int i = 0; i < 5; ++i) {
                row.amounts[i] = amounts[i];
                totals[i] += amounts[i];
            }
            grid.rows.append(row);
        }
    } catch (const data::DbError& error) {
        // A walk broken off is a failed recalculation: no partial totals.
        slot.rollback();
        result.failedQuery = sql;
        result.failureReason = error.message();
        grid.rows.clear();
        totals = {};
    }
    data::CloseSlot(slotName); // the raw rows were copied for the window
    grid.rows.append(TotalRow(totals));
    (exits ? month.exits[22] : month.entries[12]) = totals[2];
    RecomputeSummary(month);
    return result;
}

} // namespace

const SettlementBook& IcmsSettlement() {
    static const SettlementBook book{u"LX56"_s,     u"F_LX56 - Registro de Apuração do ICMS"_s,
                                     u"PAR_LX56"_s, u"PAR_LF_"_s,
                                     u"ICMS"_s,     false};
    return book;
}

const SettlementBook& IpiSettlement() {
    static const SettlementBook book{u"LX57"_s,     u"F_LX57 - Registro de Apuração do IPI"_s,
                                     u"PAR_LX57"_s, u"PAR_IPI_"_s,
                                     u"IPI"_s,      true};
    return book;
}

const QList<int>& EntryBoxes() {
    static const QList<int> boxes{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 27, 28, 37, 38};
    return boxes;
}

const QList<int>& ExitBoxes() {
    static const QList<int> boxes{19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 37, 38};
    return boxes;
}

const QList<int>& FreeBoxes() {
    static const QList<int> boxes{27, 28, 37, 38};
    return boxes;
}

QString BoxCaption(bool exits, int box) {
    static const QMap<int, QString> entryCaptions{
        {11, u"11 - Saldo CREDOR do período anterior"_s},
        {12, u"12 - Créditos por Entradas"_s},
        {13, u"13 - Créditos Simbólicos"_s},
        {14, u"14 - Créditos por Estímulos de Exportação"_s},
        {15, u"15 - Créditos por Pagamentos Antecipados"_s},
        {16, u"16 - Créditos por Importação ou Arrematação"_s},
        {17, u"17 - Créditos por Pag. Responsabilidade"_s},
        {18, u"18 - Créditos por Compensação"_s},
        {19, u"19 - Créditos transf. de outros Establecim."_s},
        {20, u"20 - Créditos cedidos por terceiros"_s},
        {21, u"21 - Estornos de Débitos"_s},
    };
    static const QMap<int, QString> exitCaptions{
        {19, u"19 - Créditos transf.p/outros Estabelecim."_s},
        {20, u"20 - Créditos Cedidos para terceiros"_s},
        {21, u"21 - Estornos de Créditos"_s},
        {22, u"22 - Débitos por Saídas"_s},
        {23, u"23 - Débitos por Importação ou Arrematação"_s},
        {24, u"24 - Débitos por Responsábilidade"_s},
        {25, u"25 - Débitos por Resp. não compensáveis"_s},
        {26, u"26 - Débitos por Compensação"_s},
    };
    static const QMap<int, QString> balanceCaptions{
        {29, u"29 - Saldo Credor a transportar para o Período seguinte"_s},
        {30, u"30 - Saldo Devedor a Recolher"_s},
    };
    if (FreeBoxes().contains(box)) return QString::number(box) + u" -"_s;
    if (balanceCaptions.contains(box)) return balanceCaptions.value(box);
    return (exits ? exitCaptions : entryCaptions).value(box);
}

qint64 ParseAmount(const QString& text) {
    return ToScaled(text, 2);
}

QString FormatAmount(qint64 amount) {
    return FormatScaled(amount, 13, 2);
}

QString NormaliseAmount(const QString& text) {
    return FormatAmount(ParseAmount(text));
}

bool NatureRow::isTotal() const {
    return nature == u"TOTAL"_s;
}

const QStringList& NatureGrid::Titles() {
    static const QStringList titles{u"NatOper"_s,       u"Historico"_s,    u"V.Contábil"_s,
                                    u"Base de Calc."_s, u"Imposto Deb."_s, u"Isentas"_s,
                                    u"Outras"_s};
    return titles;
}

QList<NatureRow> NatureGrid::detailRows() const {
    QList<NatureRow> details = rows;
    if (!details.isEmpty() && details.last().isTotal()) details.removeLast();
    return details;
}

QString BalanceText(const MonthData& month, int box) {
    // The box not in use shows a zero amount like the other ("0,00").
    const bool credit = month.box29 > 0;
    if (box == 29) return FormatAmount(credit ? month.box29 : 0);
    return FormatAmount(credit ? 0 : month.box30);
}

QString MonthKey(const SettlementBook& book, const QString& startDate) {
    if (startDate.mid(3, 2).trimmed().isEmpty()) return {};
    return book.monthKeyPrefix + startDate.mid(6, 2) + startDate.mid(3, 2);
}

MonthData LoadMonth(const SettlementBook& book, const QString& startDate) {
    // The month and the credit of the month before, as stored at one moment.
    data::ReadMoment moment;
    MonthData month;
    const QString key = MonthKey(book, startDate);
    if (!key.isEmpty())
        data::ParamRead(RecordDatabase(), key, RecordLines);
    else
        data::ParamLines().clear(RecordLines);
    const data::ParamLineArray& lines = data::ParamLines();

    const QStringList entryBoxes = SplitToList(lines.line(EntryBoxesLine));
    const QStringList entryTexts = SplitToList(lines.line(EntryDescriptionsLine));
    const QStringList exitBoxes = SplitToList(lines.line(ExitBoxesLine));
    const QStringList exitTexts = SplitToList(lines.line(ExitDescriptionsLine));
    for (int box : EntryBoxes())
        month.entries[box] = ParseAmount(Field(entryBoxes, box));
    for (int box : ExitBoxes())
        month.exits[box] = ParseAmount(Field(exitBoxes, box));
    for (int box : FreeBoxes()) {
        month.entryDescriptions[box] = Field(entryTexts, box);
        month.exitDescriptions[box] = Field(exitTexts, box);
    }
    const QStringList balance = SplitToList(lines.line(BalanceLine));
    month.box29 = ParseAmount(Field(balance, 29));
    month.box30 = ParseAmount(Field(balance, 30));
    const QStringList obs = SplitToList(lines.line(ObsLine));
    for (int i = 0; i < 3; ++i)
        month.obs[i] = Field(obs, i + 1);
    std::array<QStringList, 4> guideLines;
    for (int i = 0; i < 4; ++i)
        guideLines[i] = SplitToList(lines.line(GuideNumberLine + i));
    for (int g = 0; g < 4; ++g)
        month.guides[g] = {Field(guideLines[0], g + 1), Field(guideLines[1], g + 1),
                           Field(guideLines[2], g + 1), Field(guideLines[3], g + 1)};
    month.entriesGrid = GridFromLines(lines, EntriesGridLine, EntriesMoreRowsLine);
    month.exitsGrid = GridFromLines(lines, ExitsGridLine, ExitsMoreRowsLine);

    CarryCredit(book, startDate, month);
    RecomputeSummary(month);
    return month;
}

bool SaveMonth(const SettlementBook& book, const QString& startDate, const MonthData& month) {
    const QString key = MonthKey(book, startDate);
    if (key.isEmpty()) return false;
    data::Connection* database = RecordDatabase();
    data::ParamRead(database, key, RecordLines);
    data::ParamLineArray& lines = data::ParamLines();
    const auto overwrite = [&lines](int line, const QMap<int, QString>& values) {
        lines.setLine(line, OverwriteFields(lines.line(line), values));
    };
    overwrite(EntryBoxesLine, AmountTexts(month.entries));
    overwrite(EntryDescriptionsLine, FieldTexts(month.entryDescriptions));
    overwrite(ExitBoxesLine, AmountTexts(month.exits));
    overwrite(ExitDescriptionsLine, FieldTexts(month.exitDescriptions));
    // Both balance boxes are stored as amounts, the "0" shown for the box
    // without the balance as "0,00".
    overwrite(BalanceLine, {{29, FormatAmount(month.box29)}, {30, FormatAmount(month.box30)}});
    overwrite(ObsLine, FieldTexts({{1, month.obs[0]}, {2, month.obs[1]}, {3, month.obs[2]}}));
    for (int i = 0; i < 4; ++i) {
        QMap<int, QString> values;
        for (int g = 0; g < 4; ++g) {
            const Guide& guide = month.guides[g];
            const std::array<QString, 4> parts{guide.number, guide.date, guide.value, guide.agency};
            values.insert(g + 1, FieldText(parts[i]));
        }
        overwrite(GuideNumberLine + i, values);
    }
    GridToLines(month.entriesGrid, EntriesGridLine, EntriesMoreRowsLine, lines);
    GridToLines(month.exitsGrid, ExitsGridLine, ExitsMoreRowsLine, lines);
    return data::ParamWrite(database, key, RecordLines);
}

void CarryCredit(const SettlementBook& book, const QString& startDate, MonthData& month) {
    if (startDate.mid(3, 2).trimmed().isEmpty()) return;
    const QString previous = MonthKey(book, AddMonths(startDate, -1));
    QString credit;
    if (!previous.isEmpty() && data::ParamRead(RecordDatabase(), previous, RecordLines))
        credit = Field(SplitToList(data::ParamLines().line(BalanceLine)), 29);
    month.entries[11] = ParseAmount(credit);
}

void RecomputeSummary(MonthData& month) {
    qint64 credits = 0, debits = 0;
    for (int box : EntryBoxes()) {
        month.entries[box] = Cents(month.entries.value(box));
        credits += month.entries[box];
    }
    for (int box : ExitBoxes()) {
        month.exits[box] = Cents(month.exits.value(box));
        debits += month.exits[box];
    }
    month.entriesTotal = credits;
    month.exitsTotal = debits;
    const qint64 balance = credits - debits;
    month.box29 = balance > 0 ? balance : 0;
    month.box30 = balance > 0 ? 0 : -balance;
}

RecalcResult RecalcEntries(const SettlementBook& book, RecalcInput& input, MonthData& month) {
    return Recalc(book, false, input, month);
}

RecalcResult RecalcExits(const SettlementBook& book, RecalcInput& input, MonthData& month) {
    return Recalc(book, true, input, month);
}

QStringList MonthRecalc::failedQueries() const {
    QStringList failed;
    for (const QString& query : {entries.failedQuery, exits.failedQuery})
        if (!query.isEmpty()) failed.append(query);
    return failed;
}

QStringList MonthRecalc::failures() const {
    QStringList failed;
    for (const RecalcResult* side : {&entries, &exits}) {
        if (side->failedQuery.isEmpty()) continue;
        failed.append(side->failureReason.isEmpty()
                          ? side->failedQuery
                          : side->failureReason + u"\n"_s + side->failedQuery);
    }
    return failed;
}

MonthRecalc RecalculateAndSave(const SettlementBook& book, const QString& startDate,
                               const QString& endDate, QString& entriesFilter, QString& exitsFilter,
                               MonthData& month) {
    MonthData recalculated = month;
    RecalcInput entries{startDate, endDate, entriesFilter, false};
    RecalcInput exits{startDate, endDate, exitsFilter, false};
    MonthRecalc result;
    {
        // Entries and exits of the same moment: an invoice the ERP commits
        // meanwhile is in both sides or in neither.
        data::ReadMoment moment;
        result.entries = RecalcEntries(book, entries, recalculated);
        result.exits = RecalcExits(book, exits, recalculated);
    }
    entriesFilter = entries.filter;
    exitsFilter = exits.filter;
    if (result.failed()) return result;
    // Saved after the moment, in a short transaction of its own.
    result.saved = SaveMonth(book, startDate, recalculated);
    if (result.saved) month = recalculated;
    return result;
}

SettlementSettings LoadSettlementSettings(const SettlementBook& book) {
    data::ParamRead(RecordDatabase(), book.settingsKey, RecordLines);
    const data::ParamLineArray& lines = data::ParamLines();
    SettlementSettings settings;
    settings.startDate = lines.line(2);
    settings.endDate = lines.line(3);
    settings.firstPage = FirstPageText(lines.line(4), 2);
    settings.entriesFilter = lines.line(6);
    settings.exitsFilter = lines.line(7);
    return settings;
}

bool SaveSettlementSettings(const SettlementBook& book, const SettlementSettings& settings) {
    data::Connection* database = RecordDatabase();
    data::ParamRead(database, book.settingsKey, RecordLines);
    data::ParamLineArray& lines = data::ParamLines();
    for (int emptied : {1, 5, 8, 9})
        lines.setLine(emptied, QString());
    lines.setLine(2, settings.startDate);
    lines.setLine(3, settings.endDate);
    lines.setLine(4, settings.firstPage);
    lines.setLine(6, settings.entriesFilter);
    lines.setLine(7, settings.exitsFilter);
    return data::ParamWrite(database, book.settingsKey, RecordLines);
}

bool MonthIsEmpty(const MonthData& month) {
    return month.entriesTotal == 0 && month.exitsTotal == 0;
}

} // namespace livrax::books
