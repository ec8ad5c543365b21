#include "books/lx70.h"

#include "books/book_pages.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/stop_cancel.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;
using print::StyleFlag;

namespace {

const QString Table = u"VRTNPDS"_s;
const QString TableCode = u"PDS"_s;
const QString Fields = u"PEDIDO,DTNOTA,NNOTA,SERIE,LIQUIDO,VALOR,ISQNBASE,ISQNVALOR,DATA,ISQNRET"_s;

[[noreturn]] void OutOfRange() {
    throw BookError(u"Valor fora do alcance no livro de ISSQN: a soma ou o imposto passa do "
                    u"maior valor que o livro registra."_s);
}

// sum += value, refused when it leaves the 64-bit range.
void Accumulate(qint64& sum, qint64 value) {
    if (__builtin_add_overflow(sum, value, &sum)) OutOfRange();
}

qint64 Minus(qint64 a, qint64 b) {
    qint64 result = 0;
    if (__builtin_sub_overflow(a, b, &result)) OutOfRange();
    return result;
}

// taxable × rate / 100 (both in ten-thousandths), rounded once to the cent,
// half to even.
qint64 TaxOnRate(qint64 taxable, qint64 rate) {
    const std::optional<qint64> cents = MulDivRounded(taxable, rate, qint64(100) * 10000 * 100);
    qint64 tax = 0;
    if (!cents || __builtin_mul_overflow(*cents, qint64(100), &tax)) OutOfRange();
    return tax;
}

// The column the period applies to, without a table alias ("A.DATA").
QString DateColumn(const BookPeriod& period) {
    return TextAfter(period.dateField, u"."_s).trimmed().toUpper();
}

// The day of the current row, or 0 when its date column holds none.
int DayOf(const data::DataSlot& row, const QString& column) {
    const QDate date = row.value(column).toDate();
    return date.isValid() ? date.day() : 0;
}

// The last column of the amounts is 122 (the rule after the net); a page of
// fewer columns moves the value side left so that nothing is cut.
constexpr int LastColumn = 123;
constexpr int ListColumn = 8;
constexpr int ListEnd = 76; // the day lists stay left of the rule at 77

class LX70Printer {
  public:
    LX70Printer(PrintJob& job, const LX70Options& options, const LX70DayTable& table)
        : m_job(job), m_pages(job), m_options(options), m_table(table) {}

    void run() {
        const LX70Summary summary = LX70Summarize(m_table, m_options);
        SetUpBookJob(m_job, m_job.settings.destination, m_options.period.firstPage);
        m_job.startJob();
        if (m_job.cancelled()) return;
        try {
            print(summary);
        } catch (const BookError&) {
            m_job.abandon(); // an amount out of range: no book at all
            throw;
        }
    }

  private:
    void print(const LX70Summary& summary) {
        m_shift = std::max(0, LastColumn - m_job.pageColumns());
        m_job.pageHeader();
        m_pages.setHeaderBlock([this] { headerBlock(); });
        // The header of the first page, with the rule over the first day.
        if (!m_pages.line()) return;
        m_job.drawRule();
        columnRules();
        m_job.halfLine();
        for (int d = 0; d < 31 && !m_job.cancelled(); ++d)
            printDay(d);
        printSubcontracted();
        printUndated();
        printTotal(summary);
        printSummary(summary);
        if (m_job.cancelled()) return;
        // A signal while the pages were drawn: no book is written either.
        if (platform::StopRequested()) throw InterruptedBook(StopSignalReason());
        m_job.endJob();
    }

    int value(int column) const { return column - m_shift; }
    int listWidth() const { return value(ListEnd) - ListColumn + 1; }

    void headerBlock() {
        using Box = PrintJob::BoxKind;
        const data::TRecCae& company = data::Globals().company;
        const QDateTime now = platform::Clock::now();
        m_job.drawBox(0, 0, 60, Box::Filled, 0);
        m_job.printTextAt(2, 2, u"LX70"_s);
        m_job.printTextAt(
            2, 20, u"L I V R O   D E   I S S Q N"_s,
            {10, StyleFlag::Bold | StyleFlag::Underline | StyleFlag::Italic, Align::PageCenter});
        m_job.printTextAt(2, 0,
                          u"Folha: "_s + PadLeft(QString::number(m_job.pageNumber()), 4) + u"  "_s,
                          Align::PageRight);
        m_job.printTextAt(15, 2, u"Empresa:"_s);
        m_job.printTextAt(15, 10, company.name, {10, StyleFlag::Bold});
        m_job.printTextAt(15, 0, u"Data: "_s + now.date().toString(u"dd/MM/yy"_s) + u"  "_s,
                          Align::PageRight);
        const QString cnpj = u"CGC (MF): "_s + company.cnpj;
        m_job.printTextAt(30, 2, cnpj);
        // A full CNPJ reaches past column 27: the registration moves right
        // rather than overprint it.
        m_job.printTextAt(30, std::max(27, 2 + int(cnpj.size()) + 2),
                          u"Insc.Mun. "_s + company.municipalRegistration);
        m_job.printTextAt(30, 0, u"Hora: "_s + now.time().toString(u"hh:mm:ss"_s) + u"  "_s,
                          Align::PageRight);
        m_job.printTextAt(45, 2, u"Aliquota:"_s + FormatScaled(m_options.rate, 6, 2) + u" %"_s);
        m_job.printTextAt(45, 40,
                          u"Mes/Período: "_s + m_options.period.startDate + u" A "_s +
                              m_options.period.endDate,
                          {10, StyleFlag::Bold, Align::PageCenter});
        m_job.drawBox(70, 0, 90, Box::Filled, 3);
        m_job.printTextAt(75, 3, u"DIA"_s);
        m_job.printTextAt(75, ListColumn, u"Documentos Comprobatórios"_s);
        // The titles follow the amounts: the net stands first unless
        // "Produtos x Base" puts the total there.
        const bool totalFirst = m_options.productsFirst;
        m_job.printTextAt(75, value(90), totalFirst ? u"T O T A L"_s : u"LIQUIDO."_s, Align::Right);
        m_job.printTextAt(75, value(105), u"DEDUÇÕES"_s, Align::Right);
        m_job.printTextAt(75, value(120), totalFirst ? u"LIQUIDO."_s : u"T O T A L"_s,
                          Align::Right);
        m_job.printTextAt(95, 0, QString()); // the first line starts here
    }

    void columnRules() {
        for (const int column : {0, 6, value(77), value(92), value(107), value(122)})
            m_job.printText(column, u"|"_s);
        m_job.printText(0, u"|"_s, Align::PageRight);
    }

    void amount(int column, qint64 amount) {
        m_job.printText(value(column), FormatScaled(amount, 13, 2), Align::Right);
    }

    // The three amounts of a line in the order "Produtos x Base" gives.
    void amounts(qint64 total, qint64 deductions) {
        const qint64 net = Minus(total, deductions);
        amount(90, m_options.productsFirst ? total : net);
        amount(105, deductions);
        amount(120, m_options.productsFirst ? net : total);
    }

    // The rule under a line and the half line that follows it.
    void separator() {
        m_pages.newLine();
        if (!m_pages.line()) return;
        m_job.drawRule();
        columnRules();
        m_job.halfLine();
    }

    // A list at column 8, continued on lines of its own below.
    bool continuation(const QStringList& pieces) {
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            m_pages.newLine();
            if (!m_pages.line()) return false;
            columnRules();
            m_job.printText(ListColumn, pieces[i]);
        }
        return true;
    }

    void printDay(int d) {
        const LX70Day& day = m_table.days[d];
        if (!m_pages.line()) return;
        const QStringList pieces = WrapNumberList(CompressNumberList(day.numbers), listWidth());
        columnRules();
        m_job.printText(3, PadLeft(QString::number(d + 1), 2));
        m_job.printText(ListColumn, pieces.value(0));
        amounts(day.total, day.deductions);
        if (!continuation(pieces)) return;
        separator();
    }

    void printSubcontracted() {
        if (!m_pages.line()) return;
        columnRules();
        m_job.printText(ListColumn, u"(-) Subempreitadas"_s);
        amount(105, m_options.subcontracted);
        separator();
    }

    // Invoices whose date column holds no day are in no day and no total:
    // the book says which they are.
    void printUndated() {
        if (m_table.undated.isEmpty() || !m_pages.line()) return;
        QStringList pieces =
            WrapNumberList(u"Notas sem data em "_s + DateColumn(m_options.period) +
                               u", fora dos dias e dos totais: "_s + m_table.undated.join(u", "_s),
                           listWidth());
        columnRules();
        m_job.printText(ListColumn, pieces.value(0));
        if (!continuation(pieces)) return;
        separator();
    }

    void printTotal(const LX70Summary& summary) {
        if (!m_pages.line()) return;
        columnRules();
        m_job.printText(ListColumn, u"TOTAL DO PERÍODO"_s);
        amounts(summary.total, summary.deductions);
        m_pages.newLine();
        m_pages.ruleBelow();
        m_pages.newLine();
        m_pages.newLine();
        m_pages.newLine();
    }

    // A text from `column`, broken at blanks onto the next lines where the
    // page has not the room for it.
    void fitted(int column, const QString& text) {
        const int room = std::max(20, m_job.pageColumns() - column);
        QString rest = text;
        while (rest.size() > room) {
            qsizetype cut = rest.lastIndexOf(u' ', room);
            if (cut <= 0) cut = room;
            m_job.printText(column, rest.left(cut));
            m_job.newLine();
            rest = rest.mid(cut).trimmed();
        }
        m_job.printText(column, rest);
    }

    void bold(int column, const QString& text) {
        m_job.printText(column, text, {10, StyleFlag::Bold});
    }

    void nextHalf() {
        m_job.newLine();
        m_job.halfLine();
    }

    void printSummary(const LX70Summary& summary) {
        if (!m_pages.line()) return;
        // The RESUMO stays on one page: it starts a new one when the rest of
        // this one is too short for its lines.
        const int lineHeight = m_job.metrics().lineHeight;
        if (m_job.currentY() + 26 * lineHeight > m_job.metrics().pageHeight - 4 * lineHeight - 50) {
            m_pages.newPage();
            if (!m_pages.line()) return;
        }
        bold(40, u"R E S U M O"_s);
        m_job.newLine();
        m_job.newLine();
        m_job.drawBox(print::Arg(), print::Arg(0), print::Arg(u"+90"_s), u"R"_s);
        m_job.newLine();
        m_job.printText(3, u"A) Soma mensal do liq. Tributável"_s);
        // Right-aligned before "Imposto:", clear of the caption whatever its size.
        m_job.printText(49, FormatScaled(summary.taxable, 13, 2).trimmed(),
                        {10, StyleFlag::Bold, Align::Right});
        m_job.printText(50, u"Imposto: ________________"_s);
        bold(70, FormatScaled(summary.tax, 13, 2));
        nextHalf();
        m_job.printText(3, u"B) Estimativa Mensal"_s);
        m_job.printText(50, u"Imposto retido: ___________"_s);
        if (summary.withheld > 0) bold(70, FormatScaled(summary.withheld, 13, 2));
        nextHalf();
        const QString paidIn = u"C) Total Recolhido do mês em:"_s;
        m_job.printText(3, paidIn);
        bold(3 + paidIn.size() + 1, m_options.paymentDate); // after its caption, not over it
        m_job.printText(50, u"Total do Imposto:__________"_s);
        bold(70, FormatScaled(summary.toPay, 13, 2));
        nextHalf();
        fitted(3, u"D) Total Recolhido em _______/_______/_______  P/Intimação ou Ato de Infração "
                  u"numero ___________"_s);
        nextHalf();
        fitted(3, u"E) Cálculo pelo número de profissionais.  Num.Profissionais: "_s +
                      FormatDecimal(QString::number(m_options.professionals), 7, 0) +
                      u"      Valor ISSQN: "_s +
                      FormatMoney(ScaledToText(m_options.issValue), 12, 2).trimmed() +
                      u"      Imposto retido:_____________"_s);
        m_job.newLine();
        m_job.newLine();
        m_job.newLine();
        if (!m_options.note.isEmpty()) fitted(3, u"Obs: "_s + m_options.note);
        for (int i = 0; i < 4; ++i)
            m_job.newLine();
        const QString signedOn = u"Data:  _______/_______/_______"_s;
        m_job.printText(3, signedOn);
        fitted(3 + signedOn.size() + 2, u"Assinatura do Responsável: "
                                        u"____________________________________________"_s);
        m_job.newLine();
    }

    PrintJob& m_job;
    BookPages m_pages;
    const LX70Options& m_options;
    const LX70DayTable& m_table;
    int m_shift = 0;
};

// The walk of the invoices broken off by a stop signal.
struct StopSignalError {};

} // namespace

LX70DayTable LX70Withheld(LX70Options& options) {
    BookPeriod& period = options.period;
    if (period.dateField.trimmed().isEmpty()) period.dateField = DefaultDateField();
    CheckBookPeriod(period, Table);
    const QString condition = PeriodCondition(u"FAT = 'F'"_s, period);
    const QString column = DateColumn(period);
    QString fields = Fields;
    if (!fields.split(u',').contains(column)) fields += u","_s + column;

    LX70DayTable table;
    data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    QString sql;
    try {
        if (options.method == LX70Method::Calculated) {
            sql = u"SELECT SUM(ISQNRET) AS ISQNRET FROM "_s + Table + u" A WHERE "_s + condition;
            if (data::OpenQuery(data::Slot::T_CON1, TableCode, sql))
                table.withheldCalc = BookAmount(row, u"ISQNRET"_s);
        }
        sql = u"SELECT "_s + fields + u" FROM "_s + Table + u" A WHERE "_s + condition +
              u" ORDER BY DTNOTA,NNOTA"_s;
        for (bool found = data::OpenQuery(data::Slot::T_CON1, TableCode, sql); found && !row.eof();
             row.next()) {
            // The rows already fetched go on arriving after the database's
            // cancel: the signal itself ends the walk.
            if (platform::StopRequested()) throw StopSignalError();
            qint64 amount = 0, deduction = 0;
            if (options.method == LX70Method::Calculated) {
                amount = BookAmount(row, u"ISQNBASE"_s);
                deduction = BookAmount(row, u"ISQNVALOR"_s);
            } else {
                // Amount and base are both cut to the cent first, so that
                // every day's total less its deductions is its net.
                amount = BookAmount(row, options.gross ? u"VALOR"_s : u"LIQUIDO"_s);
                const qint64 base =
                    BookAmount(row, options.copyNetToBase ? u"LIQUIDO"_s : u"ISQNBASE"_s);
                deduction = options.zeroDeductions ? 0 : Minus(amount, base);
            }
            const QString number = row.value(u"NNOTA"_s).toString().trimmed();
            Accumulate(table.issTotal, BookAmount(row, u"ISQNVALOR"_s));
            const int day = DayOf(row, column);
            if (day < 1 || day > 31) {
                table.undated << number;
                continue;
            }
            LX70Day& entry = table.days[day - 1];
            entry.numbers += number + u","_s;
            Accumulate(entry.total, amount);
            Accumulate(entry.deductions, deduction);
        }
    } catch (const StopSignalError&) {
        row.rollback();
        throw InterruptedBook(StopSignalReason());
    } catch (const data::DbError& error) {
        row.rollback();
        if (platform::StopRequested()) throw InterruptedBook(error.message());
        throw BookError(u"A consulta do livro falhou: "_s + error.message() + u"\n"_s + sql);
    }
    data::CloseSlot(data::Slot::T_CON1);
    return table;
}

LX70Summary LX70Summarize(const LX70DayTable& table, const LX70Options& options) {
    LX70Summary summary;
    for (const LX70Day& day : table.days) {
        Accumulate(summary.total, day.total);
        Accumulate(summary.deductions, day.deductions);
    }
    Accumulate(summary.deductions, options.subcontracted);
    summary.taxable = Minus(summary.total, summary.deductions);
    switch (options.method) {
    case LX70Method::OnPrint:
        summary.tax = TaxOnRate(summary.taxable, options.rate);
        break;
    case LX70Method::Register:
        summary.tax = table.issTotal;
        break;
    case LX70Method::Calculated:
        summary.tax = summary.deductions;
        break;
    }
    summary.withheld = options.withheld;
    Accumulate(summary.withheld, table.withheldCalc);
    summary.toPay = summary.withheld > 0 ? Minus(summary.tax, summary.withheld) : summary.tax;
    return summary;
}

QString CompressNumberList(const QString& numbers) {
    QStringList runs;
    bool open = false;
    qint64 first = 0, last = 0;
    const auto close = [&] {
        if (open)
            runs << (first == last ? QString::number(first)
                                   : QString::number(first) + u" a "_s + QString::number(last));
        open = false;
    };
    for (const QString& part : numbers.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 number = part.trimmed().toLongLong(&ok);
        if (!ok) { // not a number: written as it is, a run of its own
            close();
            runs << part.trimmed();
            continue;
        }
        if (open && (number == last || number == last + 1)) {
            last = number;
            continue;
        }
        close();
        open = true;
        first = last = number;
    }
    close();
    return runs.join(u',');
}

QStringList WrapNumberList(const QString& compressed, int width) {
    QStringList lines;
    QString line;
    const QStringList parts = compressed.split(u',');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString part = parts[i] + (i + 1 < parts.size() ? u","_s : QString());
        if (!line.isEmpty() && line.size() + part.size() > width) {
            lines << line;
            line.clear();
        }
        line += part;
        // A single part wider than the column is cut into widths of its own.
        while (line.size() > width) {
            lines << line.left(width);
            line = line.mid(width);
        }
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

QString LX70PaymentDate(const QString& paymentDate, const QString& startDate) {
    const QDate start = ParseDate(startDate);
    if (!start.isValid()) return paymentDate;
    const int day = IsBlank(paymentDate) ? 10 : ToInt(paymentDate.trimmed().left(2));
    if (day < 1 || day > 31) return paymentDate;
    const QDate month = QDate(start.year(), start.month(), 1).addMonths(1);
    return FormatShortDate(QDate(month.year(), month.month(), std::min(day, month.daysInMonth())));
}

LX70DayTable PrintLX70(PrintJob& job, LX70Options& options) {
    const LX70DayTable table = LX70Withheld(options);
    LX70Printer(job, options, table).run();
    return table;
}

} // namespace livrax::books
