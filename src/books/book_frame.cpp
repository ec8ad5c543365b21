#include "books/book_frame.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "platform/clock.h"

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::StyleFlag;

QString PeriodCondition(const QString& baseCondition, BookPeriod& period) {
    QString condition = baseCondition;
    if (!period.dateField.isEmpty() && !IsBlank(period.startDate))
        condition += u" AND "_s + period.dateField + u" >= "_s + SqlDate(period.startDate);
    if (!IsBlank(period.endDate))
        condition += u" AND "_s + period.dateField + u" <= "_s + SqlDate(period.endDate);
    if (!period.filter.isEmpty()) {
        period.filter.replace(u'#', u' ');
        condition += u" AND "_s + u" ("_s + period.filter + u") "_s;
    }
    return condition;
}

void BookLookups::load() {
    read(true);
}

void BookLookups::loadNatures() {
    read(false);
}

void BookLookups::read(bool partners) {
    m_natures.clear();
    m_names.clear();
    using data::DataModule;
    using data::Slot;
    data::DataSlot& slot = DataModule().slot(Slot::T_CON9);
    try {
        if (data::RunSelect(Slot::T_CON9, u"NAT"_s, u"NATOPER, ATUGIAICM, RESUMIDA, DESCRICAO"_s,
                            QString())) {
            for (; !slot.eof(); slot.next())
                m_natures.insert(slot.value(0).toString().trimmed(),
                                 {slot.value(1).toString().trimmed() == u"N"_s,
                                  slot.value(2).toString(), slot.value(3).toString()});
        }
        if (partners && data::RunSelect(Slot::T_CON9, u"EMP"_s, u"SIGLA, EMPRESA"_s, QString())) {
            for (; !slot.eof(); slot.next())
                m_names.insert(slot.value(0).toString().trimmed(), slot.value(1).toString());
        }
    } catch (const data::DbError&) {
        slot.rollback(); // what was read stays; unknown codes fall back
    }
    data::CloseSlot(Slot::T_CON9);
}

bool BookLookups::natureExcluded(const QString& nature) const {
    const auto found = m_natures.constFind(nature.trimmed());
    return found != m_natures.cend() && found->excluded;
}

QString BookLookups::natureShortName(const QString& nature) const {
    return m_natures.value(nature.trimmed()).shortName;
}

QString BookLookups::natureDescription(const QString& nature) const {
    return m_natures.value(nature.trimmed()).description;
}

QString BookLookups::partnerName(const QString& sigla) const {
    const auto found = m_names.constFind(sigla.trimmed());
    return found == m_names.cend() ? sigla : *found;
}

qint64 BookAmount(const QString& text) {
    return ToScaled(text, 2);
}

qint64 BookAmount(const data::DbValue& value) {
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4) {
        const qint64 scaled = value.toScaled();
        return scaled - scaled % 100; // cut toward zero, as the text rule does
    }
    return BookAmount(value.toString());
}

qint64 BookAmount(const data::DataSlot& row, const QString& column) {
    return BookAmount(row.value(column));
}

void PrintBookAmount(print::PrintJob& job, int column, qint64 value) {
    job.printText(column, FormatScaled(value, 12, 2), Align::Right);
}

void DrawColumnTitleBoxes(print::PrintJob& job, int split) {
    using Box = print::PrintJob::BoxKind;
    job.drawBox(60, 0, 105, Box::Filled, 4, split);
    job.drawBox(60, split + 1, 105, Box::Filled, 4);
}

void PrintValueColumnTitles(print::PrintJob& job, bool taxTitle, bool ipiTitle) {
    job.printTextAt(80, ValueColumn::Accounting, u"Valor"_s, Align::Right);
    job.printTextAt(80, ValueColumn::TaxName, u"ICMS"_s);
    if (taxTitle) job.printTextAt(80, ValueColumn::Tax, u"Imposto"_s, Align::Right);
    job.printTextAt(80, ValueColumn::Exempt, u"Isentas ou"_s, Align::Right);
    job.printTextAt(90, ValueColumn::Accounting, u"Contabil"_s, Align::Right);
    if (ipiTitle) job.printTextAt(90, ValueColumn::TaxName, u"IPI"_s);
    job.printTextAt(90, ValueColumn::Base, u"Base Calc."_s, Align::Right);
    job.printTextAt(90, ValueColumn::Rate, u"Aliq."_s, Align::Right);
    job.printTextAt(90, ValueColumn::Tax, u"Creditado"_s, Align::Right);
    job.printTextAt(90, ValueColumn::Exempt, u"Não Tribut."_s, Align::Right);
    job.printTextAt(90, ValueColumn::Other, u"Outras"_s, Align::Right);
}

void PrintBookRate(print::PrintJob& job, qint64 rate) {
    job.printText(ValueColumn::Rate, FormatScaled(rate, 6, 2), Align::Right);
}

void PrintIpiLine(print::PrintJob& job, const IpiAmounts& ipi, std::optional<qint64> rate) {
    job.printText(ValueColumn::TaxName, u"IPI"_s);
    PrintBookAmount(job, ValueColumn::Base, ipi.base);
    if (rate) PrintBookRate(job, *rate);
    PrintBookAmount(job, ValueColumn::Tax, ipi.tax);
    PrintBookAmount(job, ValueColumn::Exempt, ipi.exempt);
    PrintBookAmount(job, ValueColumn::Other, ipi.other);
    job.newLine();
}

QString RunInvoiceBook(print::PrintJob& job, BookPeriod& period, const InvoiceBook& book) {
    const QString condition = PeriodCondition(book.baseCondition, period);
    // The natures, the partners and the invoices are read in one moment: the
    // book never prints a total that the database never held.
    data::ReadMoment moment;
    BookLookups lookups;
    lookups.load();
    SetUpBookJob(job, job.settings.destination, period.firstPage);
    job.startJob();
    if (job.cancelled()) return {};
    job.pageHeader();

    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    const QString sql = u"SELECT * FROM "_s + book.table + u" WHERE "_s + condition +
                        u" ORDER BY "_s + book.orderBy;
    const bool found = data::RunSelect(data::Slot::T_CON1, book.tableCode, sql, QString());
    // No rows leaves the result open; a failed query leaves nothing open.
    const QString failed = !found && !row.isOpen() ? sql : QString();
    if (!found) book.headerBlock();
    try {
        for (; found && !row.eof() && !job.cancelled(); row.next()) {
            if (lookups.natureExcluded(row.value(u"NATOPER"_s).toString())) continue;
            if (job.headerPending()) book.headerBlock();
            book.invoice(row, lookups);
        }
    } catch (const data::DbError&) {
        row.rollback(); // the rows read so far are printed and totalled
    }
    data::CloseSlot(data::Slot::T_CON1);
    if (job.cancelled()) return failed;
    if (job.headerPending()) book.headerBlock();
    book.totals();
    job.endJob();
    return failed;
}

void SetUpBookJob(print::PrintJob& job, print::Destination destination, const QString& firstPage) {
    job.next.fontSize = 8;
    print::PrintSettings& settings = job.settings;
    settings.destination = destination;
    settings.unitMode = 3;
    settings.pageNumber = ToInt(firstPage) - 1;
    settings.jobFontName = u"ARIAL"_s;
    settings.jobFontSize = 7;
    settings.standardHeader = false;
}

void BookPageHeader(print::PrintJob& job, const QString& programCode, const QString& title,
                    int periodColumn, const BookPeriod& period) {
    job.printTextAt(0, 0, programCode);
    job.printTextAt(
        0, 20, title,
        {10, StyleFlag::Bold | StyleFlag::Underline | StyleFlag::Italic, Align::PageCenter});
    job.printTextAt(0, 0, u"Folha: "_s + PadLeft(QString::number(job.pageNumber()), 4),
                    Align::PageRight);
    BookCompanyLines(job, periodColumn, period);
}

void BookCompanyLines(print::PrintJob& job, int periodColumn, const BookPeriod& period) {
    const data::TRecCae& company = data::Globals().company;
    const QDateTime now = platform::Clock::now();
    job.printTextAt(15, 0, u"Empresa:"_s);
    job.printTextAt(15, 10, company.name, {10, StyleFlag::Bold});
    job.printTextAt(15, 0, u"Data: "_s + now.date().toString(u"dd/MM/yy"_s), Align::PageRight);
    job.printTextAt(30, 0, u"CGC (MF):"_s);
    job.printTextAt(30, 10, company.cnpj);
    job.printTextAt(30, 0, u"Hora: "_s + now.time().toString(u"hh:mm:ss"_s), Align::PageRight);
    job.printTextAt(45, 0, u"Insc.Est:"_s);
    job.printTextAt(45, 10, company.stateRegistration);
    job.printTextAt(45, periodColumn,
                    u"Mes/Período: "_s + period.startDate + u" A "_s + period.endDate,
                    {10, StyleFlag::Bold, Align::PageCenter});
}

} // namespace livrax::books
