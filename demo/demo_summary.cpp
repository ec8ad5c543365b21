#include "demo/demo_summary.h"

#include "common/fields.h"
#include "common/numbers.h"
#include "data/statement.h"
#include "data/transaction.h"

namespace livrax::demo {

using namespace Qt::StringLiterals;

namespace {

void ReadMonths(data::Connection& erp, data::Transaction& transaction, const QString& table,
                const QString& dateColumn, int year, MonthTotals* months) {
    data::Statement select(erp, transaction,
                           u"SELECT EXTRACT(MONTH FROM "_s + dateColumn +
                               u") AS MES, COUNT(*) AS NOTAS,"
                               u" SUM(CASE WHEN FAT = 'C' THEN 1 ELSE 0 END) AS CANCELADAS,"
                               u" SUM(CASE WHEN FAT = 'F' THEN LIQUIDO ELSE 0 END) AS TOTAL"
                               u" FROM "_s +
                               table + u" WHERE "_s + dateColumn +
                               u" BETWEEN :P_INICIO AND :P_FIM GROUP BY 1"_s);
    select.bind(u"P_INICIO"_s, QDate(year, 1, 1));
    select.bind(u"P_FIM"_s, QDate(year, 12, 31));
    select.open();
    while (select.fetch()) {
        const int month = int(select.value(u"MES"_s).toInt());
        if (month < 1 || month > 12) continue;
        months[month - 1].invoices = select.value(u"NOTAS"_s).toInt();
        months[month - 1].cancelled = select.value(u"CANCELADAS"_s).toInt();
        months[month - 1].total = select.value(u"TOTAL"_s).toScaled();
    }
}

// "  ----- title -----" filling `width` characters, over a block of columns.
QString Banner(const QString& title, int width) {
    const int dashes = width - 3 - int(title.size()) - 2;
    const int left = dashes / 2;
    return Spaces(3) + QString(left, u'-') + u' ' + title + u' ' + QString(dashes - left, u'-');
}

QString Row(const QString& label, const MonthTotals& entries, const MonthTotals& exits) {
    return PadRight(label, 10) + PadLeft(QString::number(entries.invoices), 9) +
           PadLeft(QString::number(entries.cancelled), 6) +
           FormatMoney(ScaledToText(entries.total), 19, 2) +
           PadLeft(QString::number(exits.invoices), 10) +
           PadLeft(QString::number(exits.cancelled), 6) +
           FormatMoney(ScaledToText(exits.total), 19, 2) + u'\n';
}

} // namespace

DemoSummary ReadDemoSummary(data::Connection& erp, int year) {
    DemoSummary summary;
    summary.year = year;
    data::Transaction transaction(erp);
    ReadMonths(erp, transaction, u"VRTNPDE"_s, u"DATA"_s, year, summary.entries);
    ReadMonths(erp, transaction, u"VRTNPDS"_s, u"DTNOTA"_s, year, summary.exits);
    transaction.commit();
    return summary;
}

QString FormatDemoSummary(const DemoSummary& summary) {
    static const char16_t* const names[] = {u"JANEIRO",  u"FEVEREIRO", u"MARÇO",    u"ABRIL",
                                            u"MAIO",     u"JUNHO",     u"JULHO",    u"AGOSTO",
                                            u"SETEMBRO", u"OUTUBRO",   u"NOVEMBRO", u"DEZEMBRO"};
    QString text = u"Notas fiscais de "_s + QString::number(summary.year) +
                   u" (valor contábil das notas faturadas)\n\n"_s;
    text += Spaces(10) + Banner(u"Entradas"_s, 34) + Banner(u"Saídas"_s, 35) + u'\n';
    text += PadRight(u"Mês"_s, 10) + PadLeft(u"Notas"_s, 9) + PadLeft(u"Canc."_s, 6) +
            PadLeft(u"Valor"_s, 19) + PadLeft(u"Notas"_s, 10) + PadLeft(u"Canc."_s, 6) +
            PadLeft(u"Valor"_s, 19) + u'\n';
    MonthTotals entries, exits;
    for (int month = 0; month < 12; ++month) {
        text += Row(QString::fromUtf16(names[month]), summary.entries[month], summary.exits[month]);
        entries.invoices += summary.entries[month].invoices;
        entries.cancelled += summary.entries[month].cancelled;
        entries.total += summary.entries[month].total;
        exits.invoices += summary.exits[month].invoices;
        exits.cancelled += summary.exits[month].cancelled;
        exits.total += summary.exits[month].total;
    }
    text += Row(u"TOTAL"_s, entries, exits);
    return text;
}

} // namespace livrax::demo
