#include "books/book_frame.h"

#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/stop_cancel.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"

#include <algorithm>

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::StyleFlag;

void CheckBookPeriod(const BookPeriod& period, const QString& table) {
    QString filter = period.filter;
    const QString problem = FilterProblem(filter.replace(u'#', u' '));
    if (!problem.isEmpty())
        throw BookError(u"Filtro recusado (só pode restringir as notas do livro): "_s + problem +
                        u"."_s);
    if (period.dateField.isEmpty()) return;
    const QString field = TextAfter(period.dateField, u"."_s).trimmed().toUpper();
    for (const QString& dateField : data::ListDateFields(table))
        if (dateField.trimmed().toUpper() == field) return;
    throw BookError(u"Campo de data recusado: "_s + period.dateField +
                    u" não é uma coluna de data da tabela "_s + table + u"."_s);
}

QString BookDocumentName(const QString& code, const QString& startDate, const QString& endDate) {
    QStringList parts{code};
    const auto date = [](const QString& text) {
        return IsBlank(text) ? QString() : text.trimmed().replace(u'/', u'-');
    };
    const QString start = date(startDate), end = date(endDate);
    if (!start.isEmpty()) parts << start;
    if (!end.isEmpty()) parts << (start.isEmpty() ? u"até "_s : u"a "_s) + end;
    return parts.join(u' ');
}

QString DefaultDateField() {
    return u"DTNOTA"_s;
}

int FirstPageNumber(const QString& text, int fallback) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok && number >= 1 && number <= MaxPageNumber ? number : fallback;
}

QString FirstPageText(const QString& text, int fallback) {
    return FirstPageNumber(text, 0) == 0 ? QString::number(fallback) : text;
}

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

int RightEdgeShift(const print::PrintJob& job, int lastColumn) {
    return std::max(0, lastColumn - job.pageColumns());
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

qint64 CappedIcmsBase(qint64 accounting, qint64 base) {
    return accounting > 0 && accounting < base ? accounting : base;
}

void PrintIpiLine(BookPages& pages, const IpiAmounts& ipi, std::optional<qint64> rate) {
    if (!pages.line()) return;
    print::PrintJob& job = pages.job();
    job.printText(ValueColumn::TaxName, u"IPI"_s);
    PrintBookAmount(job, ValueColumn::Base, ipi.base);
    if (rate) PrintBookRate(job, *rate);
    PrintBookAmount(job, ValueColumn::Tax, ipi.tax);
    PrintBookAmount(job, ValueColumn::Exempt, ipi.exempt);
    PrintBookAmount(job, ValueColumn::Other, ipi.other);
    pages.newLine();
}

void RunInvoiceBook(print::PrintJob& job, BookPeriod& period, const InvoiceBook& book) {
    CheckBookPeriod(period, book.table);
    const QString condition = PeriodCondition(book.baseCondition, period);
    // The natures, the partners and the invoices are read in one moment: the
    // book never prints a total that the database never held.
    data::ReadMoment moment;
    // A stop signal cancels the query in the database too.
    const data::CancelOnStop cancelOnStop;
    BookLookups lookups;
    lookups.load();
    SetUpBookJob(job, job.settings.destination, period.firstPage);
    job.startJob();
    if (job.cancelled()) return;
    job.pageHeader();
    BookPages pages(job);
    pages.setHeaderBlock(book.headerBlock);

    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    const QString sql = u"SELECT * FROM "_s + book.table + u" WHERE "_s + condition +
                        u" ORDER BY "_s + book.orderBy;
    bool found = false;
    try {
        found = data::OpenQuery(data::Slot::T_CON1, book.tableCode, sql);
    } catch (const data::DbError& error) {
        job.abandon();
        throw BookError(u"A consulta do livro falhou: "_s + error.message() + u"\n"_s + sql);
    }
    try {
        // A walk broken off (a stop signal, the connection lost) is a failure:
        // a book never prints the rows read so far as if they were all.
        for (; found && !row.eof() && !job.cancelled(); row.next()) {
            if (platform::StopRequested()) throw data::DbError(StopSignalReason());
            if (lookups.natureExcluded(row.value(u"NATOPER"_s).toString())) {
                if (book.skipped) book.skipped(row);
                continue;
            }
            if (book.beforeLine) book.beforeLine(row, pages);
            if (!pages.line()) break;
            book.invoice(row, lookups, pages);
        }
    } catch (const data::DbError& error) {
        row.rollback();
        job.abandon();
        throw InterruptedBook(error.message());
    }
    data::CloseSlot(data::Slot::T_CON1);
    if (job.cancelled()) return;
    if (platform::StopRequested()) {
        job.abandon();
        throw InterruptedBook(StopSignalReason());
    }
    // The totals' first line carries the header of a book without rows.
    book.totals(pages);
    job.endJob();
}

void SetUpBookJob(print::PrintJob& job, print::Destination destination, const QString& firstPage,
                  int fallbackFirstPage) {
    job.next.fontSize = 8;
    print::PrintSettings& settings = job.settings;
    settings.destination = destination;
    settings.unitMode = 3;
    settings.pageNumber = FirstPageNumber(firstPage, fallbackFirstPage) - 1;
    settings.jobFontName = u"ARIAL"_s;
    settings.jobFontSize = 7;
    settings.standardHeader = false;
}

void BookPageHeader(print::PrintJob& job, const QString& programCode, const QString& title,
                    int periodColumn, const BookPeriod& period, const BookHeaderExtras& extras) {
    job.printTextAt(0, 0, programCode);
    job.printTextAt(
        0, 20, title,
        {10, StyleFlag::Bold | StyleFlag::Underline | StyleFlag::Italic, Align::PageCenter});
    job.printTextAt(0, 0, u"Folha: "_s + PadLeft(QString::number(job.pageNumber()), 4),
                    Align::PageRight);
    BookCompanyLines(job, periodColumn, period, extras);
}

void BookCompanyLines(print::PrintJob& job, int periodColumn, const BookPeriod& period,
                      const BookHeaderExtras& extras) {
    const data::TRecCae& company = data::Globals().company;
    const QDateTime now = platform::Clock::now();
    job.printTextAt(15, 0, u"Empresa:"_s);
    job.printTextAt(15, 10, company.name, {10, StyleFlag::Bold});
    job.printTextAt(15, 0, u"Data: "_s + now.date().toString(u"dd/MM/yy"_s), Align::PageRight);
    job.printTextAt(30, 0, u"CGC (MF):"_s);
    job.printTextAt(30, 10, company.cnpj);
    if (!extras.centreLine.isEmpty())
        job.printTextAt(30, 0, extras.centreLine, {10, StyleFlag::Bold, Align::PageCenter});
    job.printTextAt(30, 0, u"Hora: "_s + now.time().toString(u"hh:mm:ss"_s), Align::PageRight);
    job.printTextAt(45, 0, u"Insc.Est:"_s);
    job.printTextAt(45, 10, company.stateRegistration);
    job.printTextAt(45, periodColumn,
                    extras.periodPrefix + u"Mes/Período: "_s + period.startDate + u" A "_s +
                        period.endDate,
                    {10, StyleFlag::Bold, Align::PageCenter});
}

QString StopSignalReason() {
    return u"sinal "_s + QString::fromLatin1(platform::StopSignalName());
}

BookError InterruptedBook(const QString& reason) {
    return BookError(u"O livro foi interrompido e não foi gravado: "_s + reason);
}

} // namespace livrax::books
