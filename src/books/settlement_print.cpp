#include "books/settlement_print.h"

#include "books/book_frame.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"

#include <algorithm>
#include <functional>

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;
using print::StyleFlag;

namespace {

const int AmountColumns[5] = {75, 90, 105, 120, 135};
constexpr int LastAmountColumn = 135;

// How one settlement book writes its amounts: the ICMS book with thousands
// separators, the IPI book without.
struct AmountStyle {
    bool thousands = true;

    QString text(qint64 scaled) const {
        return thousands ? FormatMoney(ScaledToText(scaled), 13, 2) : FormatScaled(scaled, 13, 2);
    }
    // A grid cell: the IPI book prints it as the grid holds it (an empty cell
    // stays empty); the ICMS book writes an empty one as zero.
    QString cell(const std::optional<qint64>& amount) const {
        if (thousands) return text(amount.value_or(0));
        return amount ? FormatAmount(*amount) : QString();
    }
};

// A description cut into lines of at most `width` characters, each break
// after the last blank that fits (or at `width` in a word longer than that),
// so that the whole description is printed.
QStringList WrappedLines(const QString& text, int width) {
    QStringList lines;
    QString rest = text.trimmed();
    while (rest.size() > width && width > 0) {
        qsizetype cut = rest.lastIndexOf(u' ', width);
        if (cut <= 0) cut = width;
        lines << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    lines << rest;
    return lines;
}

// A row is printed when any of its amounts is not zero (the IPI book prints
// every row).
bool HasAmount(const std::array<qint64, 5>& amounts) {
    return std::any_of(amounts.begin(), amounts.end(), [](qint64 a) { return a != 0; });
}

class SettlementPrinter {
  public:
    SettlementPrinter(PrintJob& job, const SettlementBook& book, const MonthData& month,
                      const BookPeriod& period)
        : m_job(job), m_pages(job), m_book(book), m_month(month),
          m_period(period), m_style{!book.ipi} {}

    void run() {
        SetUpBookJob(m_job, m_job.settings.destination, m_period.firstPage, 2);
        m_job.startJob();
        if (m_job.cancelled()) return;
        // The amounts end at column 135; where the page holds fewer columns
        // the value columns move left together.
        m_valueShift = RightEdgeShift(m_job, LastAmountColumn);
        m_job.pageHeader();
        printPart(false);
        m_pages.newPage();
        if (!m_job.cancelled()) printPart(true);
        m_pages.newPage();
        printSummary();
        m_job.endJob();
    }

  private:
    // A column of the values' side of the parts.
    int value(int column) const { return column - m_valueShift; }
    // The characters of a nature's description that fit before the first
    // amount (13 wide, ending at column 75) with a blank between.
    int historyWidth() const { return value(AmountColumns[0]) - 13 - 6 - 1; }

    QString title(const QString& spacedPart) const {
        return u"REGISTRO DE APURAÇÃO - "_s + m_book.taxName + u"    "_s + spacedPart;
    }

    void printTop(const QString& partTitle) {
        m_job.printTextAt(0, 0, m_book.code);
        m_job.printTextAt(0, 20, title(partTitle),
                          {10, StyleFlag::Bold | StyleFlag::Underline, Align::PageCenter});
        m_job.next.fontName = u"ARIAL"_s;
        m_job.printTextAt(0, 0, u"Folha: "_s + PadLeft(QString::number(m_job.pageNumber()), 4),
                          {10, StyleFlag::Bold, Align::PageRight});
        BookCompanyLines(m_job, 40, m_period);
    }

    void printPartHeader(bool exits) {
        printTop(exits ? u"S A Í D A S"_s : u"E N T R A D A S"_s);
        DrawColumnTitleBoxes(m_job, value(65));
        m_job.printTextAt(65, value(80), u"            V a l o r e s   F i s c a i s"_s,
                          {10, StyleFlag::Bold});
        m_job.printTextAt(70, 1, u"Class."_s);
        m_job.printTextAt(75, 20, u"N  a  t  u  r  e  z a"_s, {10, StyleFlag::Bold});
        m_job.printTextAt(80, 1, u"Fiscal"_s);
        m_job.printTextAt(80, value(105), u"Operações com Crédito de Imposto"_s, Align::Right);
        m_job.printTextAt(80, value(135), u"Operações sem Crédito de Imposto"_s, Align::Right);
        m_job.printTextAt(90, value(75), u"Contábil"_s, Align::Right);
        m_job.printTextAt(90, value(90), u"Base Cálc."_s, Align::Right);
        m_job.printTextAt(90, value(105), exits ? u"Imp.Deb."_s : u"Imp.Cred."_s, Align::Right);
        m_job.printTextAt(90, value(120), u"Isentas N.trib."_s, Align::Right);
        m_job.printTextAt(90, value(135), u"Outras"_s, Align::Right);
        m_job.printTextAt(110, 0, QString());
        m_job.headerPrinted();
    }

    void printAmounts(const std::array<QString, 5>& texts, bool bold) {
        for (int i = 0; i < 5; ++i)
            m_job.printText(
                value(AmountColumns[i]), texts[i],
                {0, bold ? print::Style(StyleFlag::Bold) : print::Style(), Align::Right});
    }

    void printSubtotal(const std::array<qint64, 5>& subtotals) {
        if (!m_pages.line()) return;
        m_job.drawRule();
        m_pages.newLine();
        if (!m_pages.line()) return;
        m_job.printText(6, u"SUBTOTAL"_s, StyleFlag::Bold);
        std::array<QString, 5> texts;
        for (int i = 0; i < 5; ++i)
            texts[i] = m_style.text(subtotals[i]);
        printAmounts(texts, true);
        m_pages.newLine();
        m_pages.ruleBelow();
        m_pages.newLine();
    }

    // One grid row: nature, description and amounts, the TOTAL row in bold;
    // a description wider than its column goes on below, at the same column.
    void printRow(const NatureRow& row) {
        if (!m_pages.line()) return;
        const bool total = row.isTotal();
        std::array<QString, 5> texts;
        for (int i = 0; i < 5; ++i)
            texts[i] = m_style.cell(row.amounts[i]);
        QStringList history;
        if (total) {
            m_job.printText(6, u"TOTAL DO IMPOSTO DO PERÍODO"_s, StyleFlag::Bold);
        } else {
            m_job.printText(0, row.nature);
            history = WrappedLines(row.history, historyWidth());
            m_job.printText(6, history.takeFirst());
        }
        printAmounts(texts, total);
        for (const QString& more : std::as_const(history)) {
            m_pages.newLine();
            if (!m_pages.line()) return;
            m_job.printText(6, more);
        }
    }

    // One part: its header on every page it takes, the grid rows, a subtotal
    // after each group of natures sharing a first digit, and the TOTAL line.
    void printPart(bool exits) {
        m_pages.setHeaderBlock([this, exits] { printPartHeader(exits); });
        m_pages.line(); // the header, even over an empty grid
        const QList<NatureRow>& rows = (exits ? m_month.exitsGrid : m_month.entriesGrid).rows;
        std::array<qint64, 5> subtotals{};
        for (qsizetype r = 0; r < rows.size() && !m_job.cancelled(); ++r) {
            const NatureRow& row = rows[r];
            std::array<qint64, 5> amounts;
            for (int i = 0; i < 5; ++i)
                amounts[i] = row.amounts[i].value_or(0);
            // The ICMS book leaves out a row without any amount.
            if (m_book.ipi || HasAmount(amounts))
                printRow(row);
            else
                m_pages.line();
            m_pages.newLine();
            for (int i = 0; i < 5; ++i)
                subtotals[i] += amounts[i];
            const QString next = r + 1 < rows.size() ? rows[r + 1].nature : QString();
            if (HasAmount(subtotals) && !row.isTotal() && !row.nature.isEmpty() &&
                next.left(1) != row.nature.left(1)) {
                printSubtotal(subtotals);
                subtotals = {};
            }
        }
    }

    // One line of the summary: the box's caption, a free box's description
    // after it, and the amount.
    void printItem(const QString& caption, qint64 amount, const QString& description = QString()) {
        if (!m_pages.line()) return;
        m_job.printText(15, caption);
        if (!description.isEmpty()) m_job.printText(18, description);
        m_job.printText(95, m_style.text(amount), Align::Right);
        m_pages.newLine();
    }

    void printBoxes(bool exits) {
        const QMap<int, qint64>& boxes = exits ? m_month.exits : m_month.entries;
        const QMap<int, QString>& descriptions =
            exits ? m_month.exitDescriptions : m_month.entryDescriptions;
        for (int box : exits ? ExitBoxes() : EntryBoxes())
            printItem(BoxCaption(exits, box), boxes.value(box), descriptions.value(box));
    }

    void printSection(int top, int bottom, const QString& heading) {
        using Box = print::PrintJob::BoxKind;
        m_job.drawBox(top, 10, bottom, Box::Filled, 2, 110);
        m_job.drawBox(top + 25, 12, bottom - 3, Box::Filled, 1, 108);
        m_job.printTextAt(top + 10, 45, heading, {8, StyleFlag::Bold});
        m_pages.placeAt(top + 35); // the section's first line
    }

    void printGuideLine(const QString& caption, const std::function<QString(const Guide&)>& part) {
        static const int columns[4] = {30, 50, 70, 95};
        if (!m_pages.line()) return;
        m_job.printText(15, caption);
        for (int g = 0; g < 4; ++g)
            m_job.printText(columns[g], part(m_month.guides[g]));
        m_pages.newLine();
    }

    void printSummary() {
        if (m_job.cancelled()) return;
        m_pages.setHeaderBlock([this] { printTop(u"R E S U M O"_s); });
        m_pages.line();
        printSection(70, 260, u"C R É D I T O   D O   I M P O S T O"_s);
        printBoxes(false);
        printSection(280, 440, u"D É B I T O   D O   I M P O S T O"_s);
        printBoxes(true);
        printSection(460, 520, u"A P U R A Ç Ã O   D O S   S A L D O S"_s);
        printItem(BoxCaption(false, 29), m_month.box29);
        printItem(BoxCaption(false, 30), m_month.box30);
        printSection(540, 660, u"G U I A S   D E   A R R E C A D A Ç Ã O"_s);
        printGuideLine(u"Número:"_s, [](const Guide& g) { return g.number; });
        printGuideLine(u"Data:"_s, [](const Guide& g) { return g.date; });
        printGuideLine(u"Valor:"_s, [](const Guide& g) { return g.value; });
        printGuideLine(u"Org.Arrec."_s, [](const Guide& g) { return g.agency; });
        m_pages.newLine();
        if (!m_pages.line()) return;
        m_job.printText(15, u"OBS:"_s);
        for (const QString& line : m_month.obs) {
            if (!m_pages.line()) return;
            m_job.printText(30, line);
            m_pages.newLine();
        }
    }

    PrintJob& m_job;
    BookPages m_pages;
    const SettlementBook& m_book;
    const MonthData& m_month;
    const BookPeriod& m_period;
    AmountStyle m_style;
    int m_valueShift = 0;
};

} // namespace

void PrintSettlement(PrintJob& job, const SettlementBook& book, const MonthData& month,
                     const BookPeriod& period) {
    SettlementPrinter(job, book, month, period).run();
}

} // namespace livrax::books
