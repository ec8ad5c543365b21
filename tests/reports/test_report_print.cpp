// The layout of a user-defined report: group lines, record blocks, subtotals
// and the total line, drawn to text pages and compared with lines worked out
// by hand.

#include "expr/expression_row.h"
#include "print/print_job.h"
#include "print/print_settings.h"
#include "print/text_grid_surface.h"
#include "reports/report_print.h"
#include "support/text_pages.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace livrax;
using namespace livrax::reports;
using namespace Qt::StringLiterals;

namespace {

class MapRow : public expr::ExpressionRow {
  public:
    explicit MapRow(QMap<QString, QString> columns) : m_columns(std::move(columns)) {}
    std::optional<QString> field(const QString& name) const override {
        if (!m_columns.contains(name)) return std::nullopt;
        return m_columns.value(name);
    }

  private:
    QMap<QString, QString> m_columns;
};

// Look-ups answered from the key, each asked look-up kept in `asked`.
class NamesSource : public expr::LookupSource {
  public:
    mutable QStringList asked;
    QStringList primaryKey(const QString&) const override { return {u"SIGLA"_s}; }
    std::unique_ptr<expr::ExpressionRow> selectFirst(const QString& table, const QString&,
                                                     const QString& keyField,
                                                     const QString& keyValue,
                                                     const QString& filter) const override {
        asked << table + u" "_s + keyField + u"="_s + keyValue + u" "_s + filter;
        return std::make_unique<MapRow>(QMap<QString, QString>{{u"NOME"_s, u"Nome"_s + keyValue}});
    }
};

ReportField Field(const QString& title, const QString& content, const QString& column,
                  const QString& size, const QString& alignment, const QString& printFlags) {
    ReportField field;
    field.title = title;
    field.content = content;
    field.type = u"1"_s;
    field.line = u"1"_s;
    field.column = column;
    field.size = size;
    field.alignment = alignment;
    field.printFlags = printFlags;
    return field;
}

} // namespace

class TestReportPrint : public QObject {
    Q_OBJECT

  private slots:
    void groupsWithSubtotalsAndTotal();
    void settingsFromTheDefinition();
    void longValuesWrap();
    void longValuesAreCutOnTheTextGrid();
    void fieldOnTheGroupLine();
};

void TestReportPrint::groupsWithSubtotalsAndTotal() {
    ReportDefinition definition;
    definition.grouping.field = u"A.SIGLA"_s;
    definition.grouping.title = u"Grupo:"_s;
    definition.fields << Field(u"Sigla"_s, u"A.SIGLA"_s, u"0"_s, u"5"_s, u"0"_s, u"11"_s)
                      << Field(u"Valor"_s, u"A.VALOR"_s, u"60"_s, u"8"_s, u"1"_s, u"1111"_s)
                      // A misspelt column prints nothing and is reported.
                      << Field(u"Erro"_s, u"A.VALORX"_s, u"120"_s, u"6"_s, u"0"_s, u"11"_s)
                      // A look-up by SIGLA within the row's branch.
                      << Field(u"Nome"_s, u"A.SIGLA"_s, u"180"_s, u"8"_s, u"0"_s, u"1100000S"_s);
    ReportField& name = definition.fields.last();
    name.type = u"4"_s;
    name.otherTable = u"CLI"_s;
    name.otherKey = u"SIGLA"_s;
    name.otherField = u"NOME"_s;
    NamesSource names;
    const QList<MapRow> rows = {
        MapRow({{u"SIGLA"_s, u"A"_s}, {u"VALOR"_s, u"10"_s}, {u"FILIAL"_s, u"1"_s}}),
        MapRow({{u"SIGLA"_s, u"A"_s}, {u"VALOR"_s, u"2,5"_s}, {u"FILIAL"_s, u"1"_s}}),
        MapRow({{u"SIGLA"_s, u"B"_s}, {u"VALOR"_s, u"4"_s}, {u"FILIAL"_s, u"2"_s}})};
    QStringList diagnostics;
    const QStringList lines = test::TextPageLines([&](print::PrintJob& job) {
        job.settings.standardHeader = false;
        job.startJob();
        ReportLayout layout(definition, job, &names);
        qsizetype next = 0;
        layout.print([&]() -> const expr::ExpressionRow* {
            return next < rows.size() ? &rows.at(next++) : nullptr;
        });
        job.endJob();
        diagnostics = layout.diagnostics();
    });
    // Subtotals 10 + 2,5 and 4; total 16,5; values right-aligned in 8.
    const QStringList expected = {u"Sigla Valor Erro Nome"_s,
                                  u"Grupo: A"_s,
                                  u"A 10 NomeA"_s,
                                  u"A 2,5 NomeA"_s,
                                  u"12,5"_s,
                                  u"Grupo: B"_s,
                                  u"B 4 NomeB"_s,
                                  u"4"_s,
                                  u"16,5"_s};
    QCOMPARE(lines, expected);
    // One question per key and branch, the branch quoted.
    QCOMPARE(names.asked,
             QStringList({u"CLI SIGLA=A FILIAL = '1'"_s, u"CLI SIGLA=B FILIAL = '2'"_s}));
    QCOMPARE(diagnostics.size(), 1);
    QVERIFY2(diagnostics.first().startsWith(u"1.3: "_s), qPrintable(diagnostics.first()));
}

void TestReportPrint::settingsFromTheDefinition() {
    ReportDefinition definition;
    definition.parameters.title = u"Notas"_s;
    definition.parameters.flags = u"00000000N"_s;
    // Designer units: lines are halves, the right margin thirds.
    definition.parameters.topMargin = u"5"_s;
    definition.parameters.bottomMargin = u"3"_s;
    definition.parameters.rightMargin = u"7"_s;
    definition.parameters.leftMargin = u"4"_s;
    definition.printer.orientation = u"H"_s;
    definition.fonts.header = {u"Courier"_s, u"9"_s, u"fsBold"_s};
    definition.fonts.title.size = u"14"_s;
    print::PrintSettings settings;
    settings.companyName = u"EMPRESA"_s;
    ApplyReportSettings(definition, u"   de 01/01/07"_s, settings);
    QCOMPARE(settings.title, u"Notas   de 01/01/07"_s);
    QCOMPARE(settings.standardHeader, false);
    QCOMPARE(QList<int>({settings.topMargin, settings.bottomMargin, settings.rightMargin,
                         settings.leftMargin}),
             QList<int>({3, 2, 2, 2}));
    QCOMPARE(settings.orientation, print::Orientation::Landscape);
    QCOMPARE(settings.companyName, u"EMPRESA"_s); // blank in the definition: kept
    QCOMPARE(settings.titleFontName, u"Courier"_s);
    QCOMPARE(settings.titleFontSize, 14);
    QCOMPARE(settings.headerFontSize, 9);
}

namespace {

// Two records whose first value is longer than its field, drawn by `layout`
// on a job the caller started; with the wrap flag set.
void PrintLongValues(print::PrintJob& job) {
    ReportDefinition definition;
    definition.parameters.flags = u"0000000000000000S"_s;
    definition.fields << Field(u"Nome"_s, u"A.NOME"_s, u"0"_s, u"4"_s, u"0"_s, u"01"_s)
                      << Field(u"Nota"_s, u"A.NNOTA"_s, u"60"_s, u"4"_s, u"0"_s, u"01"_s);
    const QList<MapRow> rows = {MapRow({{u"NOME"_s, u"ABCDEFGHIJ"_s}, {u"NNOTA"_s, u"1"_s}}),
                                MapRow({{u"NOME"_s, u"XY"_s}, {u"NNOTA"_s, u"2"_s}})};
    ReportLayout layout(definition, job);
    qsizetype next = 0;
    layout.print([&]() -> const expr::ExpressionRow* {
        return next < rows.size() ? &rows.at(next++) : nullptr;
    });
}

} // namespace

void TestReportPrint::longValuesWrap() {
    const QStringList lines = test::TextPageLines([&](print::PrintJob& job) {
        job.settings.standardHeader = false;
        job.startJob();
        PrintLongValues(job);
        job.endJob();
    });
    // The next record starts below the wrapped pieces.
    QCOMPARE(lines, QStringList({u"ABCD 1"_s, u"EFGH"_s, u"IJ"_s, u"XY 2"_s}));
}

// The text grid keeps one line per record whatever the wrap flag says: the
// long value is cut to its field.
void TestReportPrint::longValuesAreCutOnTheTextGrid() {
    QTemporaryDir folder;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextGrid;
    job.settings.standardHeader = false;
    job.settings.outputFile = folder.filePath(u"grade.txt"_s);
    job.startJob();
    PrintLongValues(job);
    QStringList lines;
    for (const QString& line : static_cast<print::TextGridSurface*>(job.surface())->lines())
        if (!line.trimmed().isEmpty()) lines << line.simplified();
    job.endJob();
    QCOMPARE(lines, QStringList({u"ABCD 1"_s, u"XY 2"_s}));
}

void TestReportPrint::fieldOnTheGroupLine() {
    ReportDefinition definition;
    definition.grouping.field = u"A.SIGLA"_s;
    definition.grouping.title = u"Grupo:"_s;
    definition.fields << Field(u"Nota"_s, u"A.NNOTA"_s, u"0"_s, u"4"_s, u"0"_s, u"01"_s)
                      << Field(u"Cidade"_s, u"A.CIDADE"_s, u"120"_s, u"4"_s, u"0"_s, u"0100003"_s);
    const QList<MapRow> rows = {
        MapRow({{u"SIGLA"_s, u"A"_s}, {u"NNOTA"_s, u"1"_s}, {u"CIDADE"_s, u"SP"_s}}),
        MapRow({{u"SIGLA"_s, u"B"_s}, {u"NNOTA"_s, u"2"_s}, {u"CIDADE"_s, u"RJ"_s}})};
    const QStringList lines = test::TextPageLines([&](print::PrintJob& job) {
        job.settings.standardHeader = false;
        job.startJob();
        ReportLayout layout(definition, job);
        qsizetype next = 0;
        layout.print([&]() -> const expr::ExpressionRow* {
            return next < rows.size() ? &rows.at(next++) : nullptr;
        });
        job.endJob();
    });
    QCOMPARE(lines, QStringList({u"Grupo: A SP"_s, u"1"_s, u"Grupo: B RJ"_s, u"2"_s}));
}

QTEST_MAIN(TestReportPrint)
#include "test_report_print.moc"
