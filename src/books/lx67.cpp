#include "books/lx67.h"

#include "books/book_pages.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/db_value.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"
#include "data/stop_cancel.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;
using print::Style;
using print::StyleFlag;

namespace {

// The form is laid out on 196 character columns of a landscape page.
constexpr int FormColumns = 196;
// Quantities end one column before the invoice number (98).
constexpr int QuantityEnd = 97;

// The columns of the query, in its order.
enum Column {
    Sigla,
    Product,
    Document,
    Date,
    Description,
    Batch,
    Quantity,
    ShortName,
    Presentation,
    Classification,
    Partner,
    Address,
    State,
    City,
    Cnpj
};

// Field `field` of register line `line`, trimmed; `placeholder` when empty.
QString RegisterValue(int line, int field, const QString& placeholder) {
    const QString value = SplitToList(data::ParamLines().line(line)).value(field - 1).trimmed();
    return value.isEmpty() ? placeholder : value;
}

// A quantity cut to four decimals; a NUMERIC is taken without its text.
qint64 Quantity4(const data::DbValue& value) {
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4)
        return value.toScaled();
    return ToScaled(value.toString(), 4);
}

// A quantity with two decimals, right-aligned in eight characters and never
// cut: a larger one takes the room it needs.
QString QuantityText(qint64 value) {
    return FormatScaled(value, 24, 2).trimmed().rightJustified(8, u' ');
}

// A text typed by the user that lands in the query: refused when it could
// reach beyond the list's own conditions.
QString Checked(const QString& text, const QString& caption) {
    const QString problem = FilterProblem(text);
    if (!problem.isEmpty())
        throw BookError(caption + u" recusado (só pode restringir os itens da relação): "_s +
                        problem + u"."_s);
    return text.trimmed();
}

QString CheckedDate(const QString& date) {
    if (IsBlank(date)) return QString();
    if (!IsValidDate(date)) throw BookError(u"Data inválida: "_s + date);
    return SqlDate(date);
}

// One run of the list: the header of each page, the item lines, the total.
class MedicineList {
  public:
    MedicineList(PrintJob& job, const LX67Options& options, const LX67Company& company)
        : m_job(job), m_options(options), m_company(company) {
        // A page narrower than the form draws it in proportion.
        m_columns = std::min(FormColumns, std::max(1, job.pageColumns()));
    }

    int at(int column) const { return column * m_columns / FormColumns; }

    void text(int row, int column, const QString& value, const print::TextFormat& format = {}) {
        m_job.printTextAt(row, at(column), value, format);
    }

    void header() {
        const print::PageMetrics& page = m_job.metrics();
        // The page border, in the page's own units: its whole width and height.
        m_job.next.penWidth = 2;
        m_job.drawBox(print::Arg(0), print::Arg(0), print::Arg(std::max(0, page.pageHeight - 4)),
                      u"L"_s, print::Arg(0), u"P"_s, print::Arg());
        m_job.drawBox(5, at(2), 115, PrintJob::BoxKind::Outline, 1, at(33));
        text(109, 16, u"Carimbo do CGC"_s, {6, std::nullopt, Align::Center});

        text(7, 194, u"Folha:    "_s + PadLeft(QString::number(m_job.pageNumber()), 4),
             Align::Right);
        text(17, 194, u"Data:  "_s + platform::Clock::today().toString(u"dd/MM/yy"_s),
             Align::Right);
        text(27, 194, u"Hora:  "_s + platform::Clock::now().time().toString(u"hh:mm:ss"_s),
             Align::Right);

        text(50, 150, u"MES / ANO:"_s);
        text(50, 165, m_options.startDate.mid(3, 2) + u" / "_s + m_options.startDate.mid(6, 2),
             {12, Style(StyleFlag::Bold)});
        text(65, 150, u"Aut. de Funcionamento"_s);
        text(80, 150, u"Licença de Funcionamento"_s);
        text(95, 150, u"Autorização Especial"_s);
        text(65, 194, u"nº "_s + m_company.operatingAuthorisation, Align::Right);
        text(80, 194, u"nº "_s + m_company.operatingLicence, Align::Right);
        text(95, 194, u"nº "_s + m_company.specialAuthorisation, Align::Right);

        text(5, 100, u"Secretaria da Saúde _________________"_s, {10, std::nullopt, Align::Center});
        text(20, 100, u"Autoridade Sanitária_________________"_s,
             {10, std::nullopt, Align::Center});
        text(35, 100, u"RELAÇÃO MENSAL DE VENDAS DE MEDICAMENTOS SUJEITO A CONTROLE ESPECIAL"_s,
             {0, Style(StyleFlag::Bold), Align::Center});
        text(50, 100, u"Anexo XXIII - "_s + m_options.startDate + u" até "_s + m_options.endDate,
             {8, std::nullopt, Align::Center});

        text(80, 50, u"Nome da Empresa:"_s);
        text(80, 68, m_company.name, {10, Style(StyleFlag::Bold)});
        text(100, 50, u"Endereço:"_s);
        text(100, 68, m_company.address, {10, Style(StyleFlag::Bold)});

        text(120, 32, u"Nome do Repres.legal ____________________________"_s, 8);
        text(120, 85, u"Nome do Responsável ____________________________"_s, 8);
        text(120, 140, u"CRF: "_s + m_company.crfState + u"   nº "_s + m_company.crfNumber, 8);

        m_job.drawRule(135);
        const QString name = u"Nome do Med."_s;
        const QString generic = u"Genérico"_s;
        const struct {
            int column;
            QString title;
        } titles[] = {{2, u"Num.DCB"_s},
                      {13, m_options.swapTitles ? generic : name},
                      {30, m_options.swapTitles ? name : generic},
                      {57, u"Lote"_s},
                      {68, u"Apresentação"_s},
                      {90, u"Quant."_s},
                      {98, u"Nota"_s},
                      {103, u"Data"_s},
                      {110, u"Empresa"_s},
                      {140, u"Endereço"_s},
                      {170, u"Cidade"_s},
                      {181, u"CGC"_s},
                      {193, u"UF"_s}};
        for (const auto& title : titles)
            text(135, title.column, title.title);
        m_job.drawRule(145);
        // The first line under the titles.
        m_job.printTextAt(160, 0, QString());
        m_job.headerPrinted();
    }

    void item(const data::DataSlot& row, qint64 quantity) {
        const auto cell = [this](int column, const QString& value, int size) {
            m_job.printText(at(column), value, size);
        };
        cell(2, row.value(Classification).toString(), 6);
        cell(13, row.value(ShortName).toString(), 5);
        cell(30, row.value(Description).toString().left(32), 5);
        cell(57, row.value(Batch).toString(), 6);
        cell(68, row.value(Presentation).toString(), 5);
        quantityCell(quantity);
        cell(98, row.value(Document).toString(), 7);
        const QDate date = row.value(Date).toDate();
        cell(103, date.isValid() ? date.toString(u"dd/MM/yy"_s) : QString(), 6);
        // A partner missing from the register is shown by its code.
        const bool known = !row.value(Partner).isNull();
        cell(110, (known ? row.value(Partner).toString() : row.value(Sigla).toString()).left(35),
             5);
        cell(140, row.value(Address).toString(), 5);
        cell(170, row.value(City).toString().left(12), 5);
        cell(181, row.value(Cnpj).toString(), 5);
        cell(193, row.value(State).toString(), 6);
    }

    void total(qint64 total) { quantityCell(total); }

  private:
    // A quantity is right-aligned in its column, eight characters from 90;
    // a larger one grows to the left, so that it is whole and leaves the
    // invoice number clear.
    void quantityCell(qint64 quantity) {
        m_job.printText(at(QuantityEnd), QuantityText(quantity), {6, std::nullopt, Align::Right});
    }

    PrintJob& m_job;
    const LX67Options& m_options;
    const LX67Company& m_company;
    int m_columns = FormColumns;
};

void SetUpJob(PrintJob& job) {
    print::PrintSettings& settings = job.settings;
    settings.orientation = print::Orientation::Landscape;
    settings.jobFontName = u"Arial"_s;
    settings.jobFontSize = 8;
    settings.unitMode = 3;
    // The form's pages are numbered from 1.
    settings.pageNumber = 0;
    settings.standardHeader = false;
}

} // namespace

LX67Company LoadLX67Company() {
    data::LoadCompanyHeader();
    LX67Company company;
    const data::TRecCae& header = data::Globals().company;
    company.name = header.name.trimmed();
    company.address = header.address.trimmed();
    data::Connection* store = data::ParamDatabase();
    if (!store || store->path().isEmpty() || !data::ParamRead(store, data::CompanyRegisterKey, 20))
        return company;
    company.specialAuthorisation = RegisterValue(8, 1, company.specialAuthorisation);
    company.operatingAuthorisation = RegisterValue(8, 7, company.operatingAuthorisation);
    company.operatingLicence = RegisterValue(8, 8, company.operatingLicence);
    company.crfState = RegisterValue(9, 7, company.crfState);
    company.crfNumber = RegisterValue(9, 8, company.crfNumber);
    return company;
}

QString LX67FilterText(const QString& dialogResult) {
    const QString condition = JoinConditions(dialogResult);
    const qsizetype star = condition.indexOf(u'*');
    if (star < 0) return condition;
    // A star outside quotes is a product or a column list, not a wildcard.
    bool quoted = false;
    for (qsizetype i = 0; i < star; ++i)
        if (condition[i] == u'\'') quoted = !quoted;
    if (!quoted) return condition;
    const qsizetype wordStart = condition.lastIndexOf(u' ', star) + 1;
    if (condition.left(wordStart).trimmed().endsWith(u"LIKE"_s, Qt::CaseInsensitive) &&
        !condition.contains(u"'*'"_s)) {
        QString result = condition;
        result[star] = u'%';
        return result;
    }
    return StarToLike(condition);
}

QString LX67OrderText(const QString& dialogResult) {
    QStringList columns;
    for (const QString& field : dialogResult.split(u'#', Qt::SkipEmptyParts)) {
        const QString column = field.trimmed();
        if (column.isEmpty()) continue;
        columns << (column.contains(u'.') ? column : u"PIS."_s + column);
    }
    return columns.join(u", "_s);
}

QString LX67Query(const LX67Options& options) {
    const QString start = CheckedDate(options.startDate);
    const QString end = CheckedDate(options.endDate);
    QString filter = options.filter;
    filter = Checked(filter.replace(u'#', u' '), u"Filtro"_s);
    const QString order = Checked(options.order, u"Ordem"_s);
    QString sql =
        u"SELECT PIS.SIGLA, PIS.PRODUTO, PIS.NNOTA, PIS.DATA, PIS.DESCRICAO, PIS.LOTE, PIS.QUANT,"
        u" PRO.RESUMIDA, PRO.APRES, PRO.CLASFISC,"
        u" EMP.EMPRESA, EMP.ENDERECO, EMP.ESTADO, EMP.CIDADE, EMP.CGC FROM "_s +
        data::ResolveTableName(u"PIS"_s) + u" PIS JOIN "_s + data::ResolveTableName(u"PRO"_s) +
        u" PRO ON PIS.PRODUTO = PRO.PRODUTO LEFT JOIN "_s + data::ResolveTableName(u"EMP"_s) +
        u" EMP ON PIS.SIGLA = EMP.SIGLA WHERE PIS.FAT = 'F'"
        u" AND (PRO.TIPOPRO = 'C' OR PRO.TIPOPRO = 'D')"_s;
    if (!filter.isEmpty()) sql += u" AND ("_s + filter + u")"_s;
    if (!start.isEmpty()) sql += u" AND PIS.DATA >= "_s + start;
    if (!end.isEmpty()) sql += u" AND PIS.DATA <= "_s + end;
    return sql + u" ORDER BY "_s + (order.isEmpty() ? u"PIS.NNOTA, PRO.PRODUTO"_s : order);
}

void PrintLX67(PrintJob& job, const LX67Options& options, const LX67Company& company) {
    const QString sql = LX67Query(options);
    const data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;
    // The query runs before the first page: a refused filter or order prints
    // nothing.
    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    bool found = false;
    try {
        found = data::OpenQuery(data::Slot::T_CON1, u"PRO"_s, sql);
    } catch (const data::DbError& error) {
        throw BookError(u"A consulta da relação falhou: "_s + error.message() + u"\n"_s + sql);
    }
    SetUpJob(job);
    job.startJob();
    if (job.cancelled()) {
        data::CloseSlot(data::Slot::T_CON1);
        return;
    }
    job.pageHeader();
    MedicineList list(job, options, company);
    BookPages pages(job);
    pages.setHeaderBlock([&list] { list.header(); });
    qint64 total = 0;
    try {
        for (; found && !row.eof(); row.next()) {
            if (platform::StopRequested()) throw data::DbError(StopSignalReason());
            if (!pages.line()) break;
            const qint64 quantity = Quantity4(row.value(Quantity));
            if (__builtin_add_overflow(total, quantity, &total))
                throw BookError(u"Quantidade total além do limite da relação."_s);
            list.item(row, quantity);
            pages.newLine();
            pages.ruleBelow();
        }
    } catch (const data::DbError& error) {
        row.rollback();
        job.abandon();
        throw BookError(u"A relação foi interrompida e não foi gravada: "_s + error.message());
    } catch (const BookError&) {
        row.rollback();
        job.abandon();
        throw;
    }
    data::CloseSlot(data::Slot::T_CON1);
    if (job.cancelled()) return;
    if (platform::StopRequested()) {
        job.abandon();
        throw BookError(u"A relação foi interrompida e não foi gravada: "_s + StopSignalReason());
    }
    // An empty month still gets its page, with the total 0,00.
    if (!pages.line()) return;
    list.total(total);
    pages.newLine();
    pages.ruleBelow();
    job.endJob();
}

} // namespace livrax::books
