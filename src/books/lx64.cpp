#include "books/lx64.h"

#include "books/book_frame.h"
#include "books/book_pages.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
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
#include "platform/clock.h"
#include "platform/stop_signals.h"

namespace livrax::books {

using namespace Qt::StringLiterals;
using print::Align;
using print::PrintJob;
using print::StyleFlag;

namespace {

constexpr qint64 One = 10000; // 1 in ten-thousandths

qint64 Scaled4(const data::DbValue& value) {
    if (value.isNull()) return 0;
    if (value.kind() == data::DbValue::Kind::Decimal && value.scale() >= 0 && value.scale() <= 4)
        return value.toScaled();
    return ToScaled(value.toString(), 4);
}

// a × b of two scaled amounts, rounded to the ten-thousandth.
std::optional<qint64> Times(std::optional<qint64> a, qint64 b) {
    if (!a) return std::nullopt;
    return MulDivRounded(*a, b, One);
}

// a / b of two scaled amounts, rounded to the ten-thousandth.
std::optional<qint64> Over(std::optional<qint64> a, qint64 b) {
    if (!a) return std::nullopt;
    return MulDivRounded(*a, One, b);
}

std::optional<qint64> Minus(std::optional<qint64> a, std::optional<qint64> b) {
    qint64 result = 0;
    if (!a || !b || __builtin_sub_overflow(*a, *b, &result)) return std::nullopt;
    return result;
}

std::optional<qint64> Plus(std::optional<qint64> a, std::optional<qint64> b) {
    qint64 result = 0;
    if (!a || !b || __builtin_add_overflow(*a, *b, &result)) return std::nullopt;
    return result;
}

// An amount cut to the cent, in cents.
qint64 Cents(qint64 value) {
    return value / 100;
}

QString ShortDate(const data::DbValue& value) {
    const QDate date = value.toDate();
    return date.isValid() ? date.toString(u"dd/MM/yy"_s) : QString();
}

void PageHeader(PrintJob& job, const LX64Options& options) {
    const data::TRecCae& company = data::Globals().company;
    const QDateTime now = platform::Clock::now();
    job.printTextAt(1, 0, u"Empresa:"_s);
    job.printTextAt(1, 10, company.name, {10, StyleFlag::Bold});
    job.printTextAt(1, 0, u"Folha: "_s + PadLeft(QString::number(job.pageNumber()), 4),
                    Align::PageRight);
    job.printTextAt(15, 0, u"CNPJ:"_s);
    job.printTextAt(15, 10, company.cnpj);
    job.printTextAt(15, 40, u"LX64 - PRODUTOS VENDIDOS SEM RETENÇÃO DE SUBS.TRIB. NA ENTRADA"_s,
                    {8, StyleFlag::Bold | StyleFlag::Underline | StyleFlag::Italic});
    job.printTextAt(15, 0, u"Data: "_s + now.date().toString(u"dd/MM/yy"_s), Align::PageRight);
    job.printTextAt(27, 0, u"Insc.Est: "_s + company.stateRegistration);
    job.printTextAt(27, 45, u"Mes/Período: "_s + options.startDate + u" A "_s + options.endDate,
                    {10, StyleFlag::Bold, Align::PageCenter});
    job.printTextAt(27, 0, u"Hora: "_s + now.time().toString(u"hh:mm:ss"_s), Align::PageRight);
    job.newLine();
    job.newLine();
    job.drawBox(u"46"_s, 0, u"87"_s, u"R"_s, u"-9"_s, {}, 57);
    job.drawBox(u"46"_s, 58, u"87"_s, u"R"_s, u"-9"_s, {}, 99);
    job.drawBox(u"46"_s, 100, u"87"_s, u"R"_s, u"-9"_s);
    job.printText(62, u"Mercadorias Vendidas / Saídas"_s, {10, StyleFlag::Bold});
    job.printText(101, u"Entradas Correspondentes"_s, {10, StyleFlag::Bold});
    job.newLine();
    job.printText(2, u"Dia"_s);
    job.printText(15, u"MERCADORIAS"_s);
    const auto right = [&job](int column, const QString& text) {
        job.printText(column, text, Align::Right);
    };
    right(56, u"Uni"_s);
    right(73, u"Nota   "_s);
    right(83, u"Valor"_s);
    right(88, u"Aliq"_s);
    right(98, u"Imposto"_s);
    right(108, u"Nota   "_s);
    right(130, u"Imposto"_s);
    job.newLine();
    right(64, u"Quant"_s);
    right(73, u"Número"_s);
    right(83, u"Total"_s);
    right(88, u"%"_s);
    right(98, u"a Débito"_s);
    right(108, u"Número"_s);
    right(118, u"Data  "_s);
    right(130, u"a Crédito"_s);
    job.newLine();
    job.newLine();
}

QString Join(const QString& table, const QString& alias) {
    return u"LEFT OUTER JOIN "_s + data::ResolveTableName(table) + u" "_s + alias;
}

} // namespace

const QStringList& LX64TypeItems() {
    static const QStringList items{u"0 - Todos"_s, u"1 - Oncológicos"_s, u"2 - Não Oncológicos"_s};
    return items;
}

const QStringList& LX64StateItems() {
    static const QStringList items{u"0 - Todos"_s, u"1 - No Estado"_s, u"2 - Fora do Estado"_s};
    return items;
}

QString LX64Condition(const LX64Options& options) {
    QString condition;
    QString filter = options.filter;
    filter.replace(u'#', u' ');
    filter = filter.trimmed();
    if (!filter.isEmpty()) {
        const QString problem = FilterProblem(filter);
        if (!problem.isEmpty())
            throw BookError(u"Filtro recusado (só pode restringir as linhas do relatório): "_s +
                            problem + u"."_s);
        condition += u" AND ("_s + filter + u")"_s;
    }
    const QString field = options.dateField.trimmed();
    if (!field.isEmpty()) {
        for (const QString* date : {&options.startDate, &options.endDate})
            if (!IsBlank(*date) && !IsValidShortDate(*date))
                throw BookError(u"Data inválida: "_s + *date);
        if (!IsBlank(options.startDate))
            condition += u" AND P50."_s + field + u" >= "_s + SqlDate(options.startDate);
        if (!IsBlank(options.endDate))
            condition += u" AND P50."_s + field + u" <= "_s + SqlDate(options.endDate);
    }
    if (!options.series.isEmpty()) condition += u" AND P50.SERIE <> "_s + Quote(options.series, 0);
    return condition.mid(5);
}

QString LX64Query(const LX64Options& options) {
    const QString condition = LX64Condition(options);
    QString sql =
        u"SELECT P50.PRODUTO, P50.DTNOTA, P50.PEDIDO, P50.SEQ, P50.NNOTA, P50.SERIE, P50.SIGLA\n"
        u", P50.QUANT,   P50.SALDO,     P50.NNOTAe, P50.SERIEe, P50.DATAe, P50.PEDIDOe, P50.SEQe\n"
        u", PRO.NOME,    PRO.UNIDADE,   PRO.SUBSTRIB, PRO.TIPOPRO\n"
        u", PDE.NATOPER   AS PDE_NATOPER\n, PDE.ICMBASE   AS PDE_ICMBASE\n"
        u", PDE.ICMVALOR  AS PDE_ICMVALOR\n, PDS.NATOPER   AS PDS_NATOPER\n"
        u", PDS.ICMBASE   AS PDS_ICMBASE\n, PDS.ICMVALOR  AS PDS_ICMVALOR\n"
        u", PDS.ICMPERC   AS PDS_ICMPERC\n, PDS.VALOR     AS PDS_VALOR\n"
        u", PDS.DESCVALOR AS PDS_DESCVALOR\n, PDS.ENCARGOS  AS PDS_ENCARGOS\n"
        u", PDS.ESTADO    AS PDS_ESTADO\n"
        u", PIS.PEDIDO AS PIS_PEDIDO, PIS.QUANT AS PIS_QUANT, PIS.ICMPERC AS PIS_ICMPERC\n"
        u", PIS.VALOR AS PIS_VALOR, PIS.DESCVALOR AS PIS_DESCVALOR\n"
        u", PIE.PEDIDO AS PIE_PEDIDO, PIE.QUANT AS PIE_QUANT, PIE.VALOR AS PIE_VALOR\n"
        u", PIE.DESCVALOR AS PIE_DESCVALOR, PIE.VALDESC AS PIE_VALDESC\n"
        u"FROM "_s +
        data::ResolveTableName(u"P50"_s) + u" P50\n"_s + Join(u"PRO"_s, u"PRO"_s) +
        u" ON P50.PRODUTO = PRO.PRODUTO\n"_s + Join(u"PDE"_s, u"PDE"_s) +
        u" ON P50.PEDIDOe = PDE.PEDIDO\n"_s + Join(u"PDS"_s, u"PDS"_s) +
        u" ON P50.PEDIDO  = PDS.PEDIDO\n"_s + Join(u"PIS"_s, u"PIS"_s) +
        u" ON PIS.PEDIDO = P50.PEDIDO AND PIS.SEQ = P50.SEQ\n"_s + Join(u"PIE"_s, u"PIE"_s) +
        u" ON PIE.PEDIDO = P50.PEDIDOe AND PIE.SEQ = P50.SEQe\n"_s;
    if (!condition.isEmpty()) sql += u"WHERE "_s + condition + u"\n"_s;
    // The build order last: the pieces of one item print in the order they were taken.
    return sql + u"ORDER BY P50.NNOTA, P50.PRODUTO, P50.LX50_SEQ"_s;
}

QString LX64FontSize(const QString& typed) {
    return ToInt(typed) < 4 ? u"7"_s : typed.trimmed();
}

std::optional<LX64Line> LX64Amounts(const LX64Piece& piece) {
    // The item's discount, shared by its pieces by quantity.
    std::optional<qint64> discount = piece.exitDiscount;
    if (piece.exitQuant != 0 && piece.exitQuant != piece.pieceQuant)
        discount = Over(Times(piece.exitDiscount, piece.pieceQuant), piece.exitQuant);
    const std::optional<qint64> saleValue =
        Minus(Times(piece.exitPrice, piece.pieceQuant), discount);
    std::optional<qint64> discountShare = 0, chargesShare = 0;
    if (piece.invoiceValue != 0) {
        discountShare = Over(Times(saleValue, piece.invoiceDiscount), piece.invoiceValue);
        chargesShare = Over(Times(saleValue, piece.invoiceCharges), piece.invoiceValue);
    }
    const std::optional<qint64> saleNet = Plus(Minus(saleValue, discountShare), chargesShare);
    const std::optional<qint64> debit = Over(Times(saleNet, piece.invoiceRate), 100 * One);
    std::optional<qint64> credit = 0;
    if (piece.entryFound && piece.entryQuant != 0 && piece.entryIcmsBase > 0) {
        const std::optional<qint64> entryNet =
            Minus(Minus(Times(piece.entryPrice, piece.entryQuant), piece.entryDiscount),
                  piece.entrySecondDiscount);
        const std::optional<qint64> entryShare =
            Over(Times(entryNet, piece.pieceQuant), piece.entryQuant);
        credit = Over(Times(entryShare, piece.entryIcmsValue), piece.entryIcmsBase);
    }
    if (!saleNet || !debit || !credit) return std::nullopt;
    LX64Line line;
    line.saleNet = *saleNet;
    line.rate = piece.invoiceRate;
    line.debit = *debit;
    line.credit = *credit;
    line.marked = Cents(*credit) > Cents(*debit);
    return line;
}

void PrintLX64(PrintJob& job, const LX64Options& options, const MatchProgress& progress) {
    const QString sql = LX64Query(options);
    if (options.build) BuildMatchTable(progress);

    data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;
    SetUpBookJob(job, job.settings.destination, options.firstPage);
    job.settings.jobFontSize = ToInt(LX64FontSize(options.fontSize));
    job.startJob();
    if (job.cancelled()) return;
    job.pageHeader();
    BookPages pages(job);
    pages.setHeaderBlock([&job, &options] { PageHeader(job, options); });
    const QString companyState = data::Globals().company.state.trimmed();

    data::DataSlot& row = data::DataModule().slot(data::Slot::T_CON1);
    bool found = false;
    try {
        found = data::OpenQuery(data::Slot::T_CON1, u"PDS"_s, sql);
    } catch (const data::DbError& error) {
        job.abandon();
        throw BookError(u"A consulta do relatório falhou: "_s + error.message() + u"\n"_s + sql);
    }
    qint64 saleTotal = 0, debitTotal = 0, creditTotal = 0;
    const auto right = [&job](int column, const QString& text) {
        job.printText(column, text, Align::Right);
    };
    try {
        // The header and the totals print even when no row does.
        if (!pages.line()) return;
        for (; found && !row.eof(); row.next()) {
            if (platform::StopRequested()) throw data::DbError(StopSignalReason());
            const QString tipo = row.value(u"TIPOPRO"_s).toString().trimmed();
            if (row.value(u"SUBSTRIB"_s).toString().trimmed() != u"S"_s) continue;
            if (options.type == 1 && tipo != u"O"_s) continue;
            if (options.type == 2 && tipo == u"O"_s) continue;
            if (row.value(u"NNOTAE"_s).isNull() || IsBlank(row.value(u"NNOTAE"_s).toString()))
                continue;
            if (row.value(u"PDE_NATOPER"_s).toString().trimmed().left(2) == u"19"_s) continue;
            const QString state = row.value(u"PDS_ESTADO"_s).toString().trimmed();
            if (options.state == 1 && state != companyState) continue;
            if (options.state == 2 && state == companyState) continue;
            if (row.value(u"PIS_PEDIDO"_s).isNull()) continue; // the exit item is gone
            if (!options.allInvoices && Cents(Scaled4(row.value(u"PIS_ICMPERC"_s))) != 0) continue;

            LX64Piece piece;
            piece.pieceQuant = Scaled4(row.value(u"QUANT"_s));
            piece.exitQuant = Scaled4(row.value(u"PIS_QUANT"_s));
            piece.exitPrice = Scaled4(row.value(u"PIS_VALOR"_s));
            piece.exitDiscount = Scaled4(row.value(u"PIS_DESCVALOR"_s));
            piece.invoiceValue = Scaled4(row.value(u"PDS_VALOR"_s));
            piece.invoiceDiscount = Scaled4(row.value(u"PDS_DESCVALOR"_s));
            piece.invoiceCharges = Scaled4(row.value(u"PDS_ENCARGOS"_s));
            piece.invoiceRate = Scaled4(row.value(u"PDS_ICMPERC"_s));
            piece.entryFound = !row.value(u"PIE_PEDIDO"_s).isNull();
            piece.entryQuant = Scaled4(row.value(u"PIE_QUANT"_s));
            piece.entryPrice = Scaled4(row.value(u"PIE_VALOR"_s));
            piece.entryDiscount = Scaled4(row.value(u"PIE_DESCVALOR"_s));
            piece.entrySecondDiscount = Scaled4(row.value(u"PIE_VALDESC"_s));
            piece.entryIcmsBase = Scaled4(row.value(u"PDE_ICMBASE"_s));
            piece.entryIcmsValue = Scaled4(row.value(u"PDE_ICMVALOR"_s));
            const std::optional<LX64Line> line = LX64Amounts(piece);
            if (!line)
                throw BookError(u"Valor além do limite do relatório no produto "_s +
                                row.value(u"PRODUTO"_s).toString().trimmed() + u"."_s);

            if (!pages.line()) break;
            job.printText(2, ShortDate(row.value(u"DTNOTA"_s)).left(2));
            job.printText(5, row.value(u"NOME"_s).toString());
            right(56, row.value(u"UNIDADE"_s).toString().trimmed());
            right(64, FormatScaled(piece.pieceQuant, 10, 2));
            right(73, row.value(u"NNOTA"_s).toString());
            right(83, FormatScaled(line->saleNet, 12, 2));
            right(88, FormatScaled(line->rate, 4, 0));
            right(98, FormatScaled(line->debit, 12, 2));
            right(108, row.value(u"NNOTAE"_s).toString());
            right(118, ShortDate(row.value(u"DATAE"_s)));
            right(130, FormatScaled(line->credit, 12, 2));
            if (line->marked) job.printText(132, u"*"_s);
            pages.newLine();
            const std::optional<qint64> sale = Plus(saleTotal, line->saleNet);
            const std::optional<qint64> debit = Plus(debitTotal, line->debit);
            const std::optional<qint64> credit = Plus(creditTotal, line->credit);
            if (!sale || !debit || !credit)
                throw BookError(u"Valor além do limite do relatório nos totais."_s);
            saleTotal = *sale;
            debitTotal = *debit;
            creditTotal = *credit;
        }
    } catch (const data::DbError& error) {
        row.rollback();
        job.abandon();
        throw BookError(u"O relatório foi interrompido e não foi gravado: "_s + error.message());
    } catch (const BookError&) {
        row.rollback();
        job.abandon();
        throw;
    }
    data::CloseSlot(data::Slot::T_CON1);
    if (job.cancelled()) return;
    if (!pages.line()) return;
    job.drawRule();
    pages.newLine();
    if (!pages.line()) return;
    job.printText(5, u"TOTAL DE IMPOSTO DO MÊS"_s);
    right(83, FormatScaled(saleTotal, 12, 2));
    right(98, FormatScaled(debitTotal, 12, 2));
    right(130, FormatScaled(creditTotal, 12, 2));
    pages.newLine();
    pages.ruleBelow();
    job.endJob();
}

} // namespace livrax::books
