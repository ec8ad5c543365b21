#include "demo/demo_reports.h"

#include "data/db_error.h"
#include "demo/demo_generator.h"
#include "reports/report_definition.h"
#include "reports/report_menu.h"
#include "reports/report_selection.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace livrax::demo {

namespace {

// One column of a sample report; `summed` columns are amounts with a
// subtotal per group and a total.
struct SampleColumn {
    QString title, content;
    int size;
    QString picture;
    bool summed = false;
};

struct SampleReport {
    QString tableCode;
    int number;
    QString title;
    QString group; // the group field, also the first sort field
    QList<SampleColumn> columns;
};

const QString Money = u"P,14,2"_s;

QList<SampleReport> SampleReports() {
    const SampleColumn date{u"Data"_s, u"A.DATA"_s, 8, {}};
    const SampleColumn invoice{u"Nota"_s, u"A.NNOTA"_s, 8, {}};
    const SampleColumn customer{u"Cliente"_s, u"A.SIGLA"_s, 10, {}};
    return {
        {u"PDS"_s,
         1,
         u"Vendas por cliente"_s,
         u"A.SIGLA"_s,
         {date,
          invoice,
          {u"Valor contábil"_s, u"A.LIQUIDO"_s, 14, Money, true},
          {u"ICMS"_s, u"A.ICMVALOR"_s, 14, Money, true}}},
        {u"PDS"_s,
         2,
         u"Vendas por dia"_s,
         u"A.DATA"_s,
         {invoice, customer, {u"Valor contábil"_s, u"A.LIQUIDO"_s, 14, Money, true}}},
        {u"PIS"_s,
         1,
         u"Itens vendidos por produto"_s,
         u"A.PRODUTO"_s,
         {date,
          invoice,
          customer,
          {u"Quantidade"_s, u"A.QUANT"_s, 12, u"N,12,3"_s, true},
          {u"Valor contábil"_s, u"A.CONTABIL"_s, 14, Money, true}}},
    };
}

reports::ReportMenu MenuOf(data::Connection& erp, const QString& tableCode) {
    return {tableCode, u"PAR_LF"_s + tableCode, &erp};
}

reports::ReportDefinition DefinitionOf(const SampleReport& sample) {
    reports::ReportDefinition definition;
    definition.parameters.title = sample.title;
    definition.parameters.flags = u"0000000ASS"_s; // analytic, header and field titles printed
    definition.parameters.savedBy = DemoUserName();
    definition.sortFields = sample.group;
    definition.grouping.field = sample.group;
    int column = 0;
    for (const SampleColumn& sampled : sample.columns) {
        reports::ReportField field;
        field.title = sampled.title;
        field.content = sampled.content;
        field.type = u"1"_s;
        field.line = u"1"_s;
        field.column = QString::number(column);
        field.size = QString::number(sampled.size);
        field.picture = sampled.picture;
        field.alignment = sampled.picture.isEmpty() ? u"0"_s : u"1"_s;
        field.printFlags = sampled.summed ? u"111100000000"_s : u"110000000000"_s;
        if (sampled.summed) field.subtotal = field.total = sampled.content;
        definition.fields.append(field);
        column += (sampled.size + 2) * 6; // 6 designer units per character
    }
    return definition;
}

// The last selection: the whole demo year by the invoice date.
reports::LastSelection SelectionOf(const QString& tableCode, int year) {
    reports::LastSelection selection;
    selection.initialDate = QDate(year, 1, 1).toString(u"dd/MM/yy"_s);
    selection.finalDate = QDate(year, 12, 31).toString(u"dd/MM/yy"_s);
    selection.dateField = u"A.DATA"_s;
    selection.firstPage = u"1"_s;
    selection.tableName = u"VRTN"_s + tableCode;
    return selection;
}

// One selection box per menu: the customer, by its code.
reports::MenuSelectionConfig MenuSelection() {
    reports::MenuSelectionConfig config;
    config.singles[0] = {u"Cliente"_s, u"A.SIGLA"_s, u"S"_s};
    return config;
}

void Check(bool written, const QString& key) {
    if (!written) throw data::DbError(u"o relatório de demonstração %1 não foi gravado"_s.arg(key));
}

} // namespace

QList<DemoReportMenu> DemoReportMenus() {
    return {{u"PDS"_s, u"PAR_LFPDS"_s}, {u"PIS"_s, u"PAR_LFPIS"_s}};
}

void WriteDemoReports(data::Connection& erp, int year) {
    for (const DemoReportMenu& entry : DemoReportMenus()) {
        const reports::ReportMenu menu = MenuOf(erp, entry.tableCode);
        const QString key = reports::MenuSelectionKey(menu);
        Check(reports::WriteMenuSelection(&erp, key, MenuSelection()), key);
    }
    for (const SampleReport& sample : SampleReports()) {
        const reports::ReportMenu menu = MenuOf(erp, sample.tableCode);
        const QString definitionKey = reports::DefinitionKey(menu, sample.number);
        Check(reports::WriteReportDefinition(&erp, definitionKey, DefinitionOf(sample)),
              definitionKey);
        const QString selectionKey = reports::SelectionKey(menu, sample.number);
        Check(reports::WriteLastSelection(&erp, selectionKey, SelectionOf(sample.tableCode, year)),
              selectionKey);
    }
}

QString FormatDemoReports(data::Connection& erp) {
    QString text = u"Relatórios de exemplo:\n"_s;
    for (const DemoReportMenu& entry : DemoReportMenus()) {
        for (const reports::ReportEntry& report :
             reports::ListReports(MenuOf(erp, entry.tableCode)))
            text += u"  %1 %2  %3\n"_s.arg(entry.key, report.number, report.title);
    }
    return text;
}

} // namespace livrax::demo
