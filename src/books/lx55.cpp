#include "books/lx55.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "data/data_module.h"

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;
using print::StyleFlag;

namespace {

const QString Title = u"R E G I S T R O   D E   S A Í D A"_s;

struct Totals {
    IcmsAmounts icms;
    qint64 stBase = 0, stTax = 0;
    IpiAmounts ipi;
};

void PrintHeaderBlock(PrintJob& job, const LX55Options& options) {
    BookPageHeader(job, u"LX55"_s, Title, 40, options.period);
    DrawColumnTitleBoxes(job);
    job.printTextAt(65, 7, u"      D o c u m e n t o s   F i s c a i s "_s, {10, StyleFlag::Bold});
    job.printTextAt(65, 70, u"                V a l o r e s   F i s c a i s"_s,
                    {10, StyleFlag::Bold});
    job.printTextAt(70, 1, u"D"_s);
    job.printTextAt(80, 1, u"I"_s);
    job.printTextAt(80, 33, u"Clas."_s);
    job.printTextAt(90, 1, u"A"_s);
    job.printTextAt(90, 9, u"Nota"_s);
    job.printTextAt(90, 17, u"Se"_s);
    job.printTextAt(90, 21, u"Data"_s);
    job.printTextAt(90, 29, u"UF"_s);
    job.printTextAt(90, 33, u"Fisc."_s);
    if (options.printCompany) job.printTextAt(90, 38, u"Empresa"_s);
    PrintValueColumnTitles(job, options.printIcm, options.printIpi);
    // Right-aligned a column short of the edge, so that on drawn pages it
    // stays inside the title box, whose border runs along the right edge.
    job.printTextAt(90, 129, u"Obs"_s, Align::Right);
    job.printTextAt(110, 0, QString()); // the first line starts here
    job.headerPrinted();
}

// The numbering check over the invoices in number order, those of natures
// left out of the books included: a number that does not follow the previous
// one is a gap; the first invoice of the run never is. A gap found before an
// invoice left out is marked on the next invoice printed.
class NumberingCheck {
  public:
    // An invoice printed: true when its line gets the gap mark.
    bool gap(const data::DataSlot& row) {
        const bool marked = skips(row) || m_gapPending;
        m_gapPending = false;
        return marked;
    }
    // An invoice left out of the book: its number is used all the same.
    void skipped(const data::DataSlot& row) {
        if (skips(row)) m_gapPending = true;
    }

  private:
    // True when the number does not follow the previous one.
    bool skips(const data::DataSlot& row) {
        const qint64 number = row.value(u"NNOTA"_s).toInt();
        if (m_last == 0) m_last = number - 1;
        const bool skipped = number - m_last != 1;
        m_last = number;
        return skipped;
    }

    qint64 m_last = 0; // the previous invoice's number
    bool m_gapPending = false;
};

// One invoice line (started by the frame) and its IPI line.
void PrintInvoice(BookPages& pages, const data::DataSlot& row, const LX55Options& options,
                  const BookLookups& lookups, Totals& totals, NumberingCheck& numbering) {
    PrintJob& job = pages.job();
    const bool cancelled = row.value(u"FAT"_s).toString().trimmed() == u"C"_s;
    const auto value = [&](const QString& column) {
        return cancelled ? 0 : BookAmount(row, column);
    };
    const qint64 stTax = value(u"SUBSTRVALOR"_s);
    const qint64 stBase = value(u"SUBSTRBASE"_s);
    const qint64 accounting = value(u"LIQUIDO"_s);
    const qint64 icmsBase = CappedIcmsBase(accounting, value(u"ICMBASE"_s));
    const qint64 icmsTax = value(u"ICMVALOR"_s);
    const qint64 icmsExempt = value(u"ICMISENTAS"_s);
    qint64 icmsOther = value(u"ICMOUTRAS"_s);
    if (icmsOther == 0) icmsOther = accounting - icmsBase - icmsExempt;
    IpiAmounts ipi;
    if (options.printIpi)
        ipi = {value(u"IPIBASE"_s), value(u"IPIVALOR"_s), value(u"IPIISENTAS"_s),
               value(u"IPIOUTRAS"_s)};
    const QString observation = stTax > 0 ? u"ST "_s : QString();
    if (stTax > 0) {
        totals.stTax += stTax;
        totals.stBase += stBase;
    }
    const qint64 rate = icmsTax != 0 || icmsBase != 0 ? BookAmount(row, u"ICMPERC"_s) : 0;
    totals.icms += {accounting, icmsBase, icmsTax, icmsExempt, icmsOther};

    const QDate date = row.value(u"DATA"_s).toDate();
    job.printText(0, FormatShortDate(date).left(2));
    job.printText(3, row.value(u"ESPECIE"_s).toString());
    job.printText(9, QString::number(row.value(u"NNOTA"_s).toInt()));
    if (numbering.gap(row)) job.printText(8, u"*"_s);
    job.printText(17, row.value(u"SERIE"_s).toString());
    job.printText(21, FormatShortDate(date));
    job.printText(29, row.value(u"ESTADO"_s).toString());
    job.printText(33, row.value(u"NATOPER"_s).toString());
    if (options.printCompany)
        job.printText(38, lookups.partnerName(row.value(u"SIGLA"_s).toString()).left(15));
    if (accounting == 0 && icmsTax == 0) {
        job.printText(ValueColumn::Accounting, u"*** CANCELADA ***"_s);
    } else {
        PrintBookAmount(job, ValueColumn::Accounting, accounting);
        job.printText(ValueColumn::TaxName, u"ICMS"_s);
        if (options.printIcm) {
            PrintBookAmount(job, ValueColumn::Base, icmsBase);
            PrintBookRate(job, rate);
            PrintBookAmount(job, ValueColumn::Tax, icmsTax);
        }
        PrintBookAmount(job, ValueColumn::Exempt, icmsExempt);
        PrintBookAmount(job, ValueColumn::Other, icmsOther);
        job.printText(127, observation);
    }
    pages.newLine();
    if (options.printIpi && ipi.base > 0 && !job.cancelled()) {
        PrintIpiLine(pages, ipi, BookAmount(row, u"IPIPERC"_s));
        totals.ipi += ipi;
    }
}

void PrintTotals(BookPages& pages, const LX55Options& options, const Totals& totals) {
    PrintJob& job = pages.job();
    if (!pages.line()) return;
    job.drawRule();
    pages.newLine();
    if (!pages.line()) return;
    job.printText(5, u"TOTAL DO PERÍODO"_s);
    job.printText(ValueColumn::TaxName, u"ICMS"_s);
    PrintBookAmount(job, ValueColumn::Accounting, totals.icms.accounting);
    if (options.printIcm) {
        PrintBookAmount(job, ValueColumn::Base, totals.icms.base);
        PrintBookAmount(job, ValueColumn::Tax, totals.icms.tax);
    }
    PrintBookAmount(job, ValueColumn::Exempt, totals.icms.exempt);
    // The substitution tax is reported on its own line, not among "outras".
    PrintBookAmount(job, ValueColumn::Other, totals.icms.other - totals.stTax);
    pages.newLine();
    if (options.printIpi && totals.ipi.base > 0) PrintIpiLine(pages, totals.ipi, std::nullopt);
    if (options.printSt && pages.line()) {
        job.printText(29, u"(ST)  Subst.Tributária:"_s);
        PrintBookAmount(job, ValueColumn::Base, totals.stBase);
        PrintBookAmount(job, ValueColumn::Other, totals.stTax);
        pages.newLine();
    }
    pages.ruleBelow();
}

} // namespace

void PrintLX55(PrintJob& job, LX55Options& options) {
    Totals totals;
    NumberingCheck numbering;
    InvoiceBook book;
    book.tableCode = u"PDS"_s;
    book.table = u"VRTNPDS"_s;
    book.baseCondition = u"(FAT = 'F' OR FAT = 'C')"_s;
    book.orderBy = u"NNOTA,DTNOTA"_s;
    book.headerBlock = [&] { PrintHeaderBlock(job, options); };
    book.invoice = [&](const data::DataSlot& row, const BookLookups& lookups, BookPages& pages) {
        PrintInvoice(pages, row, options, lookups, totals, numbering);
    };
    // An invoice left out of the book still uses its number.
    book.skipped = [&](const data::DataSlot& row) { numbering.skipped(row); };
    book.totals = [&](BookPages& pages) { PrintTotals(pages, options, totals); };
    RunInvoiceBook(job, options.period, book);
}

} // namespace livrax::books
