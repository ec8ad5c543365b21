#include "books/lx52.h"

#include "common/dates.h"
#include "common/text.h"
#include "data/data_module.h"

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;

namespace {

const QString Title = u"G I A   M O D E L O   B"_s;

// Column k (1..8) of the amounts ends at character 14 * k + 20.
int AmountColumn(int k) {
    return 14 * k + 20;
}

const QString ColumnTitles[8] = {u"Val Contabil"_s, u"Base Cálculo"_s, u"Imposto"_s,
                                 u"Isentas"_s,      u"Outras"_s,       u"Subs.Tribut."_s,
                                 u"IPI Base"_s,     u"IPI Imposto"_s};

GiaAmounts InvoiceAmounts(const data::DataSlot& row) {
    const qint64 accounting = BookAmount(row, u"LIQUIDO"_s);
    const qint64 icmsBase = BookAmount(row, u"ICMBASE"_s);
    return {{accounting, icmsBase, BookAmount(row, u"ICMVALOR"_s), BookAmount(row, u"ICMISENTAS"_s),
             accounting - icmsBase, BookAmount(row, u"SUBSTRVALOR"_s),
             BookAmount(row, u"IPIBASE"_s), BookAmount(row, u"IPIVALOR"_s)}};
}

// One run of the book: the groups open and their sums.
class GiaRun {
    using Arg = print::Arg;

  public:
    GiaRun(PrintJob& job, const LX52Options& options) : m_job(job), m_options(options) {}

    void headerBlock() {
        BookHeaderExtras extras;
        extras.periodPrefix =
            m_options.side == LX52Side::Exits ? u"SAÍDAS     "_s : u"ENTRADAS   "_s;
        if (m_options.grouping == LX52Grouping::Analytic)
            extras.centreLine = u"ESTADO: "_s + m_state;
        BookPageHeader(m_job, u"LX52"_s, Title, 40, m_options.period, extras);
        using Box = PrintJob::BoxKind;
        m_job.drawBox(60, 0, 85, Box::Filled, 4, 20);
        m_job.drawBox(60, 21, 85, Box::Filled, 4);
        m_job.printTextAt(70, 1, u"   Nat. Operação"_s);
        for (int k = 1; k <= 8; ++k)
            m_job.printTextAt(70, AmountColumn(k), ColumnTitles[k - 1], Align::Right);
        m_job.printTextAt(90, 0, QString()); // the first line starts here
        m_job.headerPrinted();
    }

    // A counted invoice of another state or nature closes the groups open:
    // only invoices that count open or close a group.
    void beforeLine(const data::DataSlot& row, BookPages& pages) {
        const QString state = row.value(u"ESTADO"_s).toString().trimmed();
        const QString nature = row.value(u"NATOPER"_s).toString().trimmed();
        if (m_open) {
            if (byStates() && state != m_state) {
                closeNature(pages);
                closeState(pages);
                // Each state of the analytic book begins on its own page.
                if (m_options.grouping == LX52Grouping::Analytic) pages.newPage();
            } else if (byNatures() && nature != m_nature) {
                closeNature(pages);
            }
        }
        m_open = true;
        m_state = state;
        m_nature = nature;
    }

    void invoice(const data::DataSlot& row) {
        const GiaAmounts amounts = InvoiceAmounts(row);
        m_natureSums += amounts;
        m_stateSums += amounts;
        m_grandSums += amounts;
    }

    void totals(BookPages& pages) {
        if (m_open) {
            closeNature(pages);
            closeState(pages);
        }
        groupLine(pages, u"   TOTAL  GERAL"_s, m_grandSums);
    }

  private:
    bool byStates() const { return m_options.grouping != LX52Grouping::ByNature; }
    bool byNatures() const { return m_options.grouping != LX52Grouping::ByState; }

    // A nature line only where one of its sums is not 0 (sums that cancel
    // out are not zero sums).
    void closeNature(BookPages& pages) {
        if (byNatures() && !m_natureSums.isZero())
            groupLine(pages, u"   "_s + m_nature, m_natureSums);
        m_natureSums = {};
    }

    void closeState(BookPages& pages) {
        if (byStates()) groupLine(pages, u"   TOTAL  "_s + m_state, m_stateSums);
        m_stateSums = {};
    }

    // A line in its two boxes, two lines high, its texts half a line down.
    // The half line is an offset of the texts, not a move of the row: the
    // page never breaks between the boxes and their texts.
    void groupLine(BookPages& pages, const QString& caption, const GiaAmounts& sums) {
        if (!pages.line()) return;
        m_job.drawBox(Arg(), Arg(0), Arg(u"+20"_s), u"R"_s, {}, {}, Arg(20));
        m_job.drawBox(Arg(), Arg(21), Arg(u"+20"_s), u"R"_s);
        m_job.next.rowOffset = 5;
        m_job.printText(1, caption);
        for (int k = 1; k <= 8; ++k) {
            m_job.next.rowOffset = 5;
            PrintBookAmount(m_job, AmountColumn(k), sums.values[k - 1]);
        }
        pages.newLine();
        pages.newLine();
    }

    PrintJob& m_job;
    const LX52Options& m_options;
    bool m_open = false; // a counted invoice has been seen
    QString m_state, m_nature;
    GiaAmounts m_natureSums, m_stateSums, m_grandSums;
};

} // namespace

void PrintLX52(PrintJob& job, LX52Options& options) {
    // Both dates are put into the query: a period must be whole.
    for (const QString& date : {options.period.startDate, options.period.endDate})
        if (IsBlank(date) || !IsValidShortDate(date)) throw BookError(u"Data inválida: "_s + date);
    const bool exits = options.side == LX52Side::Exits;
    options.period.dateField = exits ? u"DTNOTA"_s : u"DATA"_s;
    GiaRun run(job, options);
    InvoiceBook book;
    book.tableCode = exits ? u"PDS"_s : u"PDE"_s;
    book.table = exits ? u"VRTNPDS"_s : u"VRTNPDE"_s;
    // Entries count their cancelled invoices too; exits only the invoiced.
    book.baseCondition = exits ? u"(FAT = 'F')"_s : u"(FAT = 'F' OR FAT = 'C')"_s;
    book.orderBy = options.grouping == LX52Grouping::ByNature ? u"NATOPER, DATA"_s
                                                              : u"ESTADO, NATOPER, DATA"_s;
    book.headerBlock = [&run] { run.headerBlock(); };
    book.beforeLine = [&run](const data::DataSlot& row, BookPages& pages) {
        run.beforeLine(row, pages);
    };
    book.invoice = [&run](const data::DataSlot& row, const BookLookups&, BookPages&) {
        run.invoice(row);
    };
    book.totals = [&run](BookPages& pages) { run.totals(pages); };
    RunInvoiceBook(job, options.period, book);
}

} // namespace livrax::books
