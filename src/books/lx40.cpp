#include "books/lx40.h"

#include "books/book_pages.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/db_value.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"
#include "data/stop_cancel.h"
#include "platform/stop_signals.h"

#include <QHash>

#include <array>

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;

namespace {

// The register's price columns, by the first character of "Campo Valor".
const std::array<QString, 10> PriceColumns{u"CUSTOMED"_s, u"ENTVALOR"_s, u"PRVENDA"_s, u"PRMAX"_s,
                                           u"PRMIN"_s,    u"PRA"_s,      u"PRI"_s,     u"PRX"_s,
                                           u"PRCOMPRA"_s, u"PRCUSTO"_s};

// The summary's seven prices (indexes into PriceColumns) and their captions.
constexpr std::array<int, 7> SummaryPrices{0, 1, 2, 3, 4, 8, 9};
const std::array<QString, 7> SummaryCaptions{
    u"Saldo X Custo Médio"_s,  u"Saldo X Ultima Entrada"_s, u"Saldo X Preço de Venda"_s,
    u"Saldo X Preço Máximo"_s, u"Saldo X Preço Mínimo"_s,   u"Saldo X Preço Compra"_s,
    u"Saldo X Preço Custo"_s};

// The columns of the item query, in its order.
enum ItemColumn { Code, Date, Side, Quantity, Price, Document, Item, Number, ItemCost };

// One product of the register.
struct Product {
    QString name, classification, unit;
    qint64 initial = 0; // SALDOINIC
    std::array<qint64, 10> prices{};
};

// What the item rows of one product add up to.
struct Movement {
    qint64 entries = 0, exits = 0; // quantities
    // QUANT × VALOR of each row, rounded to the cent (layout "01" only).
    qint64 entriesValue = 0, exitsValue = 0;
    qint64 lastItemCost = 0; // CUSTOMED of the product's last item row
};

QString OverflowMessage(const QString& code) {
    return u"Valor além do limite do livro no produto "_s + code + u"."_s;
}

// A quantity or price cut to four decimals; a NUMERIC is taken without its
// text.
qint64 Scaled4(const data::DbValue& value) {
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4)
        return value.toScaled();
    return ToScaled(value.toString(), 4);
}

// Checked sums: an amount never wraps.
qint64 Plus(qint64 a, qint64 b, const QString& code) {
    qint64 sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw BookError(OverflowMessage(code));
    return sum;
}

qint64 Minus(qint64 a, qint64 b, const QString& code) {
    qint64 difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) throw BookError(OverflowMessage(code));
    return difference;
}

// quantity × price, both in ten-thousandths, rounded once to the cent (half
// to even) and given in ten-thousandths.
qint64 ValueOf(qint64 quantity, qint64 price, const QString& code) {
    const std::optional<qint64> cents = MulDivRounded(quantity, price, 1000000);
    qint64 value = 0;
    if (!cents || __builtin_mul_overflow(*cents, qint64(100), &value))
        throw BookError(OverflowMessage(code));
    return value;
}

QString Amount(qint64 value, int width = 13) {
    return FormatScaled(value, width, 2);
}

// A filter as it is put into the query: its "#" (the filter dialog's line
// joins) made blanks; refused when it could reach beyond the book's own
// conditions.
QString CheckedFilter(const QString& typed, const QString& caption) {
    QString filter = typed;
    filter.replace(u'#', u' ');
    const QString problem = FilterProblem(filter);
    if (!problem.isEmpty())
        throw BookError(caption + u" recusado (só pode restringir os itens do livro): "_s +
                        problem + u"."_s);
    return filter.trimmed();
}

// One side of the item query.
QString SideQuery(const QString& alias, const QString& tableCode, const QString& dateColumn,
                  const QString& side, const QString& baseDate, const QString& filter) {
    QString sql = u"SELECT "_s + alias + u".PRODUTO, "_s + alias + u"."_s + dateColumn +
                  u" AS DATA,'"_s + side + u"' AS ES,"_s + alias + u".QUANT,"_s + alias +
                  u".VALOR,"_s + alias + u".PEDIDO,"_s + alias + u".SEQ,"_s + alias +
                  u".NNOTA, "_s + alias + u".CUSTOMED,"_s + alias + u".NATOPER ,PRO.NOME FROM "_s +
                  data::ResolveTableName(tableCode) + u" "_s + alias + u" LEFT JOIN "_s +
                  data::ResolveTableName(u"PRO"_s) + u" PRO ON "_s + alias +
                  u".PRODUTO = PRO.PRODUTO WHERE "_s + alias + u".FAT = 'F' AND "_s + alias +
                  u".ATUPRO <> 'N' AND "_s + alias + u".ATUPRO <> 'X' AND "_s + alias +
                  u".ATUPRO <> '*' AND "_s + alias + u"."_s + dateColumn + u" <= "_s + baseDate;
    if (!filter.isEmpty()) sql += u" AND ("_s + filter + u")"_s;
    return sql;
}

// Both sides; `unmoved` adds a row marked "I" for every product of the
// register with an initial balance, so that a product without movement up
// to the base date gets its line too (its row sorts before its items).
QString ItemSql(const LX40Options& options, bool unmoved) {
    if (IsBlank(options.baseDate) || !IsValidShortDate(options.baseDate))
        throw BookError(u"Data inválida: "_s + options.baseDate);
    const QString entryFilter = CheckedFilter(options.entryFilter, u"Filtro Itens Entrada"_s);
    const QString exitFilter = CheckedFilter(options.exitFilter, u"Filtro Itens Saída"_s);
    const QString date = SqlDate(options.baseDate);
    QString sql = SideQuery(u"PIE"_s, u"PIE"_s, u"DATA"_s, u"E"_s, date, entryFilter) +
                  u" UNION ALL "_s +
                  SideQuery(u"PIS"_s, u"PIS"_s, u"DTNOTA"_s, u"S"_s, date, exitFilter);
    if (unmoved)
        sql += u" UNION ALL SELECT PRO.PRODUTO, CAST(NULL AS DATE), 'I', CAST(0 AS NUMERIC(15,4)), "
               u"CAST(0 AS NUMERIC(15,4)), 0, 0, 0, CAST(NULL AS NUMERIC(15,4)), "
               u"CAST(NULL AS INTEGER), PRO.NOME FROM "_s +
               data::ResolveTableName(u"PRO"_s) + u" PRO WHERE PRO.SALDOINIC <> 0"_s;
    // Document and item last: the last row of a product (its average cost)
    // is the same on every run.
    return sql + u" ORDER BY 1, 2, 3, 6, 7"_s;
}

// The register, read once: a hash by product code.
QHash<QString, Product> LoadProducts() {
    QString sql = u"SELECT PRODUTO, NOME, CLASFISC, UNIDADE, SALDOINIC"_s;
    for (const QString& column : PriceColumns)
        sql += u", "_s + column;
    sql += u" FROM "_s + data::ResolveTableName(u"PRO"_s);
    QHash<QString, Product> products;
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON9);
    try {
        for (bool found = data::OpenQuery(data::Slot::T_CON9, u"PRO"_s, sql); found && !row.eof();
             row.next()) {
            Product product;
            product.name = row.value(1).toString();
            product.classification = row.value(2).toString();
            product.unit = row.value(3).toString();
            product.initial = Scaled4(row.value(4));
            for (int k = 0; k < 10; ++k)
                product.prices[std::size_t(k)] = Scaled4(row.value(5 + k));
            products.insert(row.value(0).toString(), product);
        }
    } catch (const data::DbError& error) {
        row.rollback();
        throw BookError(u"A leitura dos produtos falhou: "_s + error.message());
    }
    data::CloseSlot(data::Slot::T_CON9);
    return products;
}

// One run of the book: the layout's lines, its totals and the summary.
class InventoryRun {
  public:
    InventoryRun(PrintJob& job, BookPages& pages, const LX40Options& options,
                 const QHash<QString, Product>& products)
        : m_job(job), m_pages(pages), m_options(options), m_products(products) {
        m_layout = options.layout;
        const int last = m_layout == u"01"_s ? 195 : m_layout == u"05"_s ? 125 : 134;
        m_shift = RightEdgeShift(job, last);
    }

    void headerBlock() {
        if (m_layout == u"00"_s) {
            text(1, u"Produto"_s);
            text(20, u"Descrição"_s);
            text(75, u"Class.Fiscal"_s);
            right(98, u"Saldo"_s);
            right(111, LX40ValueItems().value(m_options.valueField).mid(4));
            right(124, u"Saldo x Valor"_s);
            text(127, u"Unidade"_s);
        } else if (m_layout == u"01"_s) {
            right(120, u"________ENTRADAS________"_s);
            right(150, u"_________SAIDAS_________"_s);
            right(180, u"_________SALDO__________"_s);
            m_job.newLine();
            text(1, u"Produto"_s);
            text(20, u"Descrição"_s);
            text(70, u"Class.Fiscal"_s);
            text(84, u"Unidade"_s);
            right(105, u"QUANT"_s);
            right(120, u"VALOR"_s);
            right(135, u"QUANT"_s);
            right(150, u"VALOR"_s);
            right(165, u"QUANT"_s);
            right(180, u"VALOR"_s);
            right(195, u"ACERTOS"_s);
        } else if (m_layout == u"05"_s) {
            text(1, u"Produto"_s);
            text(20, u"Descrição"_s);
            right(80, u"Entradas"_s);
            right(95, u"Saidas"_s);
            right(110, u"Acertos"_s);
            right(125, u"Saldo"_s);
        } else {
            return; // the summary-only layouts have no columns
        }
        m_job.newLine();
        m_job.drawRule();
        m_job.newLine();
    }

    // The line of one product; false when the job was cancelled.
    bool product(const QString& code, const Movement& movement) {
        static const Product missing; // not in the register: no name, no balance
        const auto found = m_products.constFind(code);
        const Product& product = found == m_products.cend() ? missing : *found;
        const qint64 balance =
            Plus(Minus(movement.entries, movement.exits, code), product.initial, code);
        // "05" leaves out only negative balances; the others all that are
        // not positive.
        const bool adjustments = m_layout == u"05"_s;
        if (m_options.positiveOnly && (adjustments ? balance < 0 : balance <= 0)) return true;
        if (m_layout == u"00"_s) {
            qint64 price = product.prices[std::size_t(m_options.valueField)];
            const qint64 averageCost =
                m_options.registerCost ? product.prices[0] : movement.lastItemCost;
            if (m_options.valueField == 0 && averageCost > 0) price = averageCost;
            const qint64 value = ValueOf(balance, price, code);
            if (!m_pages.line()) return false;
            names(code, product, 75);
            right(98, Amount(balance));
            right(111, Amount(price));
            right(124, Amount(value));
            text(127, product.unit);
            m_pages.newLine();
            m_totalBalance = Plus(m_totalBalance, balance, code);
            m_totalValue = Plus(m_totalValue, value, code);
        } else if (m_layout == u"01"_s) {
            if (!m_pages.line()) return false;
            names(code, product, 70);
            text(84, product.unit);
            right(105, Amount(movement.entries));
            right(120, Amount(movement.entriesValue));
            right(135, Amount(movement.exits));
            right(150, Amount(movement.exitsValue));
            right(165, Amount(Minus(movement.entries, movement.exits, code)));
            right(180, Amount(Minus(movement.entriesValue, movement.exitsValue, code)));
            right(195, Amount(product.initial));
            m_pages.newLine();
            m_entries = Plus(m_entries, movement.entries, code);
            m_entriesValue = Plus(m_entriesValue, movement.entriesValue, code);
            m_exits = Plus(m_exits, movement.exits, code);
            m_exitsValue = Plus(m_exitsValue, movement.exitsValue, code);
        } else if (adjustments) {
            if (!m_pages.line()) return false;
            m_job.printText(1, code);
            m_job.printText(20, product.name);
            right(80, Amount(movement.entries, 15));
            right(95, Amount(movement.exits, 15));
            right(110, Amount(product.initial, 15));
            right(125, Amount(balance, 15));
            m_pages.newLine();
        }
        for (std::size_t k = 0; k < SummaryPrices.size(); ++k)
            m_summary[k] =
                Plus(m_summary[k],
                     ValueOf(balance, product.prices[std::size_t(SummaryPrices[k])], code), code);
        return true;
    }

    void totals() {
        const QString code = u"TOTAL GERAL"_s;
        if (m_layout == u"00"_s) {
            if (!m_pages.line()) return;
            m_job.drawRule();
            m_pages.newLine();
            if (!m_pages.line()) return;
            m_job.printText(20, u"*** TOTAL GERAL ***"_s);
            right(98, Amount(m_totalBalance));
            right(124, Amount(m_totalValue));
            m_pages.newLine();
            m_pages.ruleBelow();
        } else if (m_layout == u"01"_s) {
            if (!m_pages.line()) return;
            m_job.printText(20, u"*** TOTAL GERAL ***"_s);
            right(105, Amount(m_entries));
            right(120, Amount(m_entriesValue));
            right(135, Amount(m_exits));
            right(150, Amount(m_exitsValue));
            right(165, Amount(Minus(m_entries, m_exits, code)));
            right(180, Amount(Minus(m_entriesValue, m_exitsValue, code)));
            m_pages.newLine();
        }
    }

    // The summary in its two boxes, on a page of its own after the lines
    // (on the first page when the layout prints no lines).
    void summary(bool ownPage) {
        if (ownPage) m_pages.newPage();
        if (m_job.cancelled()) return;
        m_job.headerPrinted();
        m_job.newLine();
        m_job.drawBox(105, 5, 125, PrintJob::BoxKind::Outline, 0, 60);
        m_job.printTextAt(110, 7, u"===================== RESUMO ======================"_s);
        m_job.drawBox(138, 5, 280, PrintJob::BoxKind::Outline, 0, 60);
        for (std::size_t k = 0; k < SummaryCaptions.size(); ++k) {
            if (k == 0)
                m_job.printTextAt(145, 10, SummaryCaptions[k]);
            else
                m_job.printText(10, SummaryCaptions[k]);
            m_job.printText(50, FormatMoney(ScaledToText(m_summary[k]), 13, 2),
                            {0, print::Style(print::StyleFlag::Bold), Align::Right});
            m_job.newLine();
            m_job.newLine();
        }
    }

  private:
    // A column right of the product's name, moved left where the page is
    // narrower than the layout.
    int column(int at) const { return at > 20 ? at - m_shift : at; }
    void text(int at, const QString& value) { m_job.printText(column(at), value); }
    void right(int at, const QString& value) { m_job.printText(column(at), value, Align::Right); }
    void names(const QString& code, const Product& product, int classificationColumn) {
        m_job.printText(1, code);
        m_job.printText(20, product.name);
        text(classificationColumn, product.classification);
    }

    PrintJob& m_job;
    BookPages& m_pages;
    const LX40Options& m_options;
    const QHash<QString, Product>& m_products;
    QString m_layout;
    int m_shift = 0;
    qint64 m_totalBalance = 0, m_totalValue = 0;
    qint64 m_entries = 0, m_entriesValue = 0, m_exits = 0, m_exitsValue = 0;
    std::array<qint64, 7> m_summary{};
};

void SetUpJob(PrintJob& job, const LX40Options& options) {
    print::PrintSettings& settings = job.settings;
    settings.orientation =
        options.layout == u"01"_s ? print::Orientation::Landscape : print::Orientation::Portrait;
    settings.jobFontName = u"Arial"_s;
    settings.jobFontSize = 8;
    settings.unitMode = 3;
    settings.pageNumber = FirstPageNumber(options.firstPage, 1) - 1;
    settings.standardHeader = true;
    settings.headerStyle = print::HeaderStyle::Simple;
    settings.title = options.title;
    const QString book =
        options.bookNumber.trimmed().isEmpty() ? QString() : u"LIVRO: "_s + options.bookNumber;
    settings.subtitle = book + u"      DATA BASE: "_s + options.baseDate;
    const data::TRecCae& company = data::Globals().company;
    settings.subtitle2 = u"CNPJ: "_s + company.cnpj.left(26) + u"       Insc.Estadual: "_s +
                         company.stateRegistration;
}

} // namespace

const QStringList& LX40LayoutItems() {
    static const QStringList items{u"00 - Class.Fiscal/Unid/Saldo/Valor/Saldo x Valor"_s,
                                   u"01 - Entradas e Saídas pelo preço de Compra e Venda"_s,
                                   u"03 - "_s, u"04 - "_s,
                                   u"05 - Entradas/Saídas/Acertos/Saldos"_s};
    return items;
}

const QStringList& LX40ValueItems() {
    static const QStringList items{
        u"0 - Custo Médio"_s, u"1 - Ult. Compra"_s, u"2 - Pr. de Venda"_s, u"3 - Pr. Máximo"_s,
        u"4 - Pr. Mínimo"_s,  u"5 - Pr.Ext A"_s,    u"6 - Pr.Ext I"_s,     u"7 - Pr Ext X. "_s,
        u"8 - Pr. Compra"_s,  u"9 - Pr. Custo"_s};
    return items;
}

QString LX40ItemFor(const QStringList& items, const QString& code) {
    if (!code.isEmpty())
        for (const QString& item : items)
            if (item.startsWith(code)) return item;
    return items.first();
}

bool IsLX40Layout(const QString& code) {
    if (code.size() != 2) return false;
    for (const QString& item : LX40LayoutItems())
        if (item.startsWith(code)) return true;
    return false;
}

QString LX40ItemQuery(const LX40Options& options) {
    return ItemSql(options, false);
}

void PrintLX40(PrintJob& job, const LX40Options& options) {
    if (!IsLX40Layout(options.layout))
        throw BookError(u"Dados do Relatório desconhecidos: "_s + options.layout);
    if (options.valueField < 0 || options.valueField > 9)
        throw BookError(u"Campo Valor desconhecido: "_s + QString::number(options.valueField));
    const QString sql = ItemSql(options, true);
    // "03" and "04" print lines of no product: without the summary there is
    // nothing to read.
    const bool summaryOnly = options.layout == u"03"_s || options.layout == u"04"_s;
    const bool walk = !summaryOnly || options.summary;

    // The register and the items are read in one moment.
    data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;
    const QHash<QString, Product> products = walk ? LoadProducts() : QHash<QString, Product>();
    SetUpJob(job, options);
    job.startJob();
    if (job.cancelled()) return;
    job.pageHeader();
    BookPages pages(job);
    InventoryRun run(job, pages, options, products);
    pages.setHeaderBlock([&run] { run.headerBlock(); });

    if (walk) {
        data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
        bool found = false;
        try {
            found = data::OpenQuery(data::Slot::T_CON1, u"PDS"_s, sql);
        } catch (const data::DbError& error) {
            job.abandon();
            throw BookError(u"A consulta do livro falhou: "_s + error.message() + u"\n"_s + sql);
        }
        const bool values = options.layout == u"01"_s;
        try {
            QString current;
            bool open = false;
            Movement movement;
            for (; found && !row.eof(); row.next()) {
                if (platform::StopRequested()) throw data::DbError(StopSignalReason());
                const QString code = row.value(Code).toString();
                if (open && code != current) {
                    if (!run.product(current, movement)) break;
                    movement = {};
                }
                current = code;
                open = true;
                const QString side = row.value(Side).toString();
                if (side == u"I"_s) continue; // the register's initial balance only
                const qint64 quantity = Scaled4(row.value(Quantity));
                const bool entry = side == u"E"_s;
                qint64& sum = entry ? movement.entries : movement.exits;
                sum = Plus(sum, quantity, code);
                if (values) {
                    qint64& value = entry ? movement.entriesValue : movement.exitsValue;
                    value = Plus(value, ValueOf(quantity, Scaled4(row.value(Price)), code), code);
                }
                movement.lastItemCost = Scaled4(row.value(ItemCost));
            }
            if (open && !job.cancelled()) run.product(current, movement);
        } catch (const data::DbError& error) {
            row.rollback();
            job.abandon();
            throw InterruptedBook(error.message());
        } catch (const BookError&) {
            row.rollback();
            job.abandon();
            throw;
        }
        data::CloseSlot(data::Slot::T_CON1);
    }
    if (job.cancelled()) return;
    if (platform::StopRequested()) {
        job.abandon();
        throw InterruptedBook(StopSignalReason());
    }
    try {
        run.totals();
        if (options.summary) run.summary(!summaryOnly);
    } catch (const BookError&) {
        job.abandon();
        throw;
    }
    job.endJob();
}

} // namespace livrax::books
