#include "books/lx53.h"

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

const QString Title = u"R E G I S T R O   D E   E N T R A D A"_s;

struct Totals {
    IcmsAmounts icms;
    IpiAmounts ipi;
};

void PrintHeaderBlock(PrintJob& job, const LX53Options& options) {
    BookPageHeader(job, u"LX53"_s, Title, 30, options.period);
    DrawColumnTitleBoxes(job);
    job.printTextAt(65, 7, u"       D o c u m e n t o s   F i s c a i s"_s, {10, StyleFlag::Bold});
    job.printTextAt(65, 70, u"                V a l o r e s   F i s c a i s"_s,
                    {10, StyleFlag::Bold});
    job.printTextAt(70, 1, u"D"_s);
    job.printTextAt(80, 1, u" I"_s);
    job.printTextAt(80, 67, u"Clas."_s);
    job.printTextAt(90, 1, u"A"_s);
    job.printTextAt(90, 8, u"Nota"_s);
    job.printTextAt(90, 20, u"Data"_s);
    job.printTextAt(90, 29, u"Empresa"_s);
    job.printTextAt(90, 52, u"UF"_s);
    job.printTextAt(90, 67, u"Fisc."_s);
    PrintValueColumnTitles(job, true, options.printIpi);
    job.printTextAt(110, 0, QString()); // the first line starts here
    job.headerPrinted();
}

// The invoice's ICMS line (started by the frame) and its IPI line.
void PrintInvoice(BookPages& pages, const data::DataSlot& row, const LX53Options& options,
                  const BookLookups& lookups, Totals& totals) {
    PrintJob& job = pages.job();
    const qint64 accounting = BookAmount(row, u"LIQUIDO"_s);
    const qint64 icmsBase = BookAmount(row, u"ICMBASE"_s);
    const qint64 icmsTax = BookAmount(row, u"ICMVALOR"_s);
    const qint64 icmsExempt = BookAmount(row, u"ICMISENTAS"_s);
    // The stored ICMOUTRAS is not used: "other" is what base and exempt
    // leave of the accounting value.
    const qint64 icmsOther = accounting - icmsBase - icmsExempt;
    totals.icms += {accounting, icmsBase, icmsTax, icmsExempt, icmsOther};

    job.printText(0, FormatShortDate(row.value(u"DATA"_s).toDate()).left(2));
    job.printText(3, row.value(u"ESPECIE"_s).toString());
    job.printText(8, row.value(u"NNOTA"_s).toString());
    job.printText(17, row.value(u"SERIE"_s).toString());
    job.printText(20, FormatShortDate(row.value(u"DTNOTA"_s).toDate()));
    job.printText(29, lookups.partnerName(row.value(u"SIGLA"_s).toString()).left(15));
    job.printText(52, row.value(u"ESTADO"_s).toString());
    PrintBookAmount(job, ValueColumn::Accounting, accounting);
    job.printText(67, row.value(u"NATOPER"_s).toString());
    job.printText(ValueColumn::TaxName, u"ICMS"_s);
    PrintBookAmount(job, ValueColumn::Base, icmsBase);
    if (options.printIcm) {
        PrintBookRate(job, BookAmount(row, u"ICMPERC"_s));
        PrintBookAmount(job, ValueColumn::Tax, icmsTax);
        PrintBookAmount(job, ValueColumn::Exempt, icmsExempt);
        PrintBookAmount(job, ValueColumn::Other, icmsOther);
    }
    pages.newLine();

    const IpiAmounts ipi{BookAmount(row, u"IPIBASE"_s), BookAmount(row, u"IPIVALOR"_s),
                         BookAmount(row, u"IPIISENTAS"_s), BookAmount(row, u"IPIOUTRAS"_s)};
    if (!options.printIpi || ipi.base <= 0 || job.cancelled()) return;
    PrintIpiLine(pages, ipi, BookAmount(row, u"IPIPERC"_s));
    totals.ipi += ipi;
}

void PrintTotals(BookPages& pages, const LX53Options& options, const Totals& totals) {
    PrintJob& job = pages.job();
    if (!pages.line()) return;
    job.drawRule();
    pages.newLine();
    if (!pages.line()) return;
    job.printText(5, u"TOTAL DO PERÍODO"_s);
    job.printText(ValueColumn::TaxName, u"ICMS"_s);
    PrintBookAmount(job, ValueColumn::Accounting, totals.icms.accounting);
    PrintBookAmount(job, ValueColumn::Base, totals.icms.base);
    if (options.printIcm) {
        PrintBookAmount(job, ValueColumn::Tax, totals.icms.tax);
        PrintBookAmount(job, ValueColumn::Exempt, totals.icms.exempt);
        PrintBookAmount(job, ValueColumn::Other, totals.icms.other);
    }
    pages.newLine();
    if (options.printIpi && totals.ipi.base > 0) PrintIpiLine(pages, totals.ipi, std::nullopt);
    pages.ruleBelow();
    pages.newLine();
}

} // namespace

void PrintLX53(PrintJob& job, LX53Options& options) {
    Totals totals;
    InvoiceBook book;
    book.tableCode = u"PDE"_s;
    book.table = u"VRTNPDE"_s;
    book.baseCondition = u"(FAT = 'F')"_s;
    book.orderBy = u"DATA,NNOTA"_s;
    book.headerBlock = [&] { PrintHeaderBlock(job, options); };
    book.invoice = [&](const data::DataSlot& row, const BookLookups& lookups, BookPages& pages) {
        PrintInvoice(pages, row, options, lookups, totals);
    };
    book.totals = [&](BookPages& pages) { PrintTotals(pages, options, totals); };
    RunInvoiceBook(job, options.period, book);
}

} // namespace livrax::books
