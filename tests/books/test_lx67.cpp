// The monthly list of controlled medicines over a small hand-made month
// (March 2008): two controlled products ("C" and "D") and one that is not,
// a partner of the register and one missing from it, a cancelled item, an
// item of April and a quantity that falls beyond two decimals. Every value
// below was worked out by hand from the rules.

#include "books/lx67.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "platform/clock.h"
#include "print/text_page_surface.h"
#include "support/module_fixture.h"
#include "support/text_pages.h"

#include <QTest>

using namespace livrax;
using namespace livrax::books;
using namespace Qt::StringLiterals;

namespace {

const QString Fixture = uR"(
INSERT INTO VRTNPRO (PRODUTO, NOME, RESUMIDA, APRES, CLASFISC, TIPOPRO) VALUES ('M1', 'DIAZEPAM', 'DIAZEPAM10', 'CX20', 'DCB01', 'C');
INSERT INTO VRTNPRO (PRODUTO, NOME, RESUMIDA, APRES, CLASFISC, TIPOPRO) VALUES ('M2', 'CLONAZEPAM', 'CLONAZ2', 'FR10', 'DCB02', 'D');
INSERT INTO VRTNPRO (PRODUTO, NOME, RESUMIDA, APRES, CLASFISC, TIPOPRO) VALUES ('N3', 'DIPIRONA', 'DIPIRONA', 'CX10', 'DCB03', 'N');
INSERT INTO VRTNEMP (SIGLA, EMPRESA, ENDERECO, ESTADO, CIDADE, CGC) VALUES ('CLI1', 'FARMACIA BOA', 'RUA A 1', 'SP', 'CAMPINAS', '12345678000195');
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (1, 1, 101, 'CLI1', '05.03.2008', 'F', 'M1', 'DIAZEPAM GENERICO', 'L123', 2.5);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (2, 1, 102, 'SUMIDO', '10.03.2008', 'F', 'M2', 'CLONAZEPAM GEN', 'L200', 1);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (3, 1, 103, 'CLI1', '12.03.2008', 'C', 'M1', 'DIAZEPAM GENERICO', 'L123', 7);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (4, 1, 104, 'CLI1', '15.03.2008', 'F', 'N3', 'DIPIRONA', 'L300', 9);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (5, 1, 100, 'CLI1', '01.04.2008', 'F', 'M1', 'DIAZEPAM GENERICO', 'L123', 11);
INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, DESCRICAO, LOTE, QUANT) VALUES (6, 1, 105, 'CLI1', '31.03.2008', 'F', 'M1', 'DIAZEPAM GENERICO', 'L129', 0.125);
)"_s;

LX67Options March() {
    LX67Options options;
    options.startDate = u"01/03/08"_s;
    options.endDate = u"31/03/08"_s;
    return options;
}

QList<QStringList> Pages(const LX67Options& options, const LX67Company& company = {}) {
    return test::TextPages([&](print::PrintJob& job) { PrintLX67(job, options, company); });
}

// The lines of a page that hold an item: those with its invoice's date (on
// text pages the company column starts on its last digit).
QStringList Items(const QStringList& page) {
    QStringList items;
    for (const QString& line : page)
        if (line.contains(u"/03/0"_s) && !line.contains(u"Anexo"_s) && !line.contains(u"Data:"_s))
            items << line;
    return items;
}

// The total: the line after the last item line that holds only a number.
QString Total(const QStringList& page) {
    QString total;
    for (const QString& line : page)
        if (!line.isEmpty() && line.at(0).isDigit() && line.count(u' ') == 0) total = line;
    return total;
}

} // namespace

class TestLX67 : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() { platform::Clock::setFixed(QDateTime(QDate(2008, 4, 2), QTime(9, 30, 5))); }
    void cleanup() { platform::Clock::reset(); }
    void lines();
    void emptyMonth();
    void swapTitles();
    void header_data();
    void header();
    void filterText_data();
    void filterText();
    void filterNarrowsTheItems();
    void orderText();
    void refused_data();
    void refused();
    void largeTotal();
    void pagesAndRightEdge();
};

void TestLX67::lines() {
    // Only the invoiced items of "C" and "D" products in March, by invoice:
    // 101, 102 (its partner is missing: shown by its code, the line kept)
    // and 105. The cancelled 103, the "N" product of 104 and the April
    // invoice 100 are left out. 0,125 is printed cut to 0,12 and the total
    // 2,5 + 1 + 0,125 = 3,625 is cut to 3,62.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    const QList<QStringList> pages = Pages(March());
    QCOMPARE(pages.size(), 1);
    const QStringList items = Items(pages[0]);
    QCOMPARE(items.size(), 3);
    const struct {
        QStringList parts;
    } expected[] = {
        {{u"DCB01"_s, u"DIAZEPAM10"_s, u"DIAZEPAM GENERICO"_s, u"L123"_s, u"CX20"_s, u"2,50"_s,
          u"101"_s, u"05/03/0"_s, u"FARMACIA BOA"_s, u"RUA A 1"_s, u"CAMPINAS"_s, u"SP"_s}},
        {{u"DCB02"_s, u"CLONAZ2"_s, u"CLONAZEPAM GEN"_s, u"L200"_s, u"FR10"_s, u"1,00"_s, u"102"_s,
          u"10/03/0"_s, u"SUMIDO"_s}},
        {{u"DCB01"_s, u"L129"_s, u"0,12"_s, u"105"_s, u"31/03/0"_s, u"FARMACIA BOA"_s}},
    };
    for (int i = 0; i < 3; ++i) {
        qsizetype from = 0;
        for (const QString& part : expected[i].parts) {
            const qsizetype at = items[i].indexOf(part, from);
            QVERIFY2(at >= 0, qPrintable(part + u" in "_s + items[i]));
            from = at + part.size();
        }
    }
    QCOMPARE(Total(pages[0]), u"3,62"_s);
}

void TestLX67::emptyMonth() {
    // February has no controlled sale: one page, the header and the titles,
    // no line, the total 0,00, numbered 1.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX67Options options;
    options.startDate = u"01/02/08"_s;
    options.endDate = u"29/02/08"_s;
    const QList<QStringList> pages = Pages(options);
    QCOMPARE(pages.size(), 1);
    const QString page = pages[0].join(u'\n');
    QVERIFY2(page.contains(u"Folha: 1"_s), qPrintable(page));
    QVERIFY2(page.contains(u"Num.DCB Nome do Med. Genérico"_s), qPrintable(page));
    QVERIFY(!page.contains(u"DCB01"_s) && !page.contains(u"DCB02"_s));
    QCOMPARE(Total(pages[0]), u"0,00"_s);
}

void TestLX67::swapTitles() {
    // Only the two titles change places; the columns keep the product's
    // RESUMIDA before the item's DESCRICAO.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX67Options options = March();
    options.swapTitles = true;
    const QStringList page = Pages(options).value(0);
    QVERIFY2(page.join(u'\n').contains(u"Num.DCB Genérico Nome do Med. Lote"_s),
             qPrintable(page.join(u'\n')));
    const QString first = Items(page).value(0);
    QVERIFY2(first.indexOf(u"DIAZEPAM10"_s) < first.indexOf(u"DIAZEPAM GENERICO"_s),
             qPrintable(first));
}

void TestLX67::header_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("licences");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("placeholders") << u"01/03/08"_s << false
                                  << QStringList{u"MES / ANO: 03 / 08"_s,
                                                 u"Anexo XXIII - 01/03/08 até 31/03/08"_s,
                                                 u"Aut. de Funcionamento nº ___________"_s,
                                                 u"Licença de Funcionamento nº ___________"_s,
                                                 u"Autorização Especial nº ___________"_s,
                                                 u"CRF: _____ nº ______________"_s};
    QTest::newRow("licences") << u"15/12/07"_s << true
                              << QStringList{u"MES / ANO: 12 / 07"_s,
                                             u"Anexo XXIII - 15/12/07 até 31/03/08"_s,
                                             u"Aut. de Funcionamento nº AF-1"_s,
                                             u"Licença de Funcionamento nº LF-2"_s,
                                             u"Autorização Especial nº AE-77"_s,
                                             u"CRF: SP nº 12345"_s,
                                             u"Nome da Empresa: DROGARIA MODELO"_s,
                                             u"Endereço: RUA DAS FLORES 10"_s};
}

void TestLX67::header() {
    QFETCH(QString, start);
    QFETCH(bool, licences);
    QFETCH(QStringList, expected);
    test::ModuleFixture fixture;
    data::ParamLines().clear();
    if (licences) {
        data::ParamLines().setLine(1, u"DROGARIA MODELO#RUA DAS FLORES 10"_s);
        data::ParamLines().setLine(8, u" AE-77 #2#3#4#5#6#AF-1#LF-2"_s);
        data::ParamLines().setLine(9, u"1#2#3#4#5#6# SP #12345"_s);
    } else {
        // Blank values are empty ones.
        data::ParamLines().setLine(8, u"  ######   #"_s);
    }
    QVERIFY(data::ParamWrite(data::ParamDatabase(), u"VRTNCAE"_s, 20));
    LX67Options options = March();
    options.startDate = start;
    const QStringList page = Pages(options, LoadLX67Company()).value(0);
    // Texts of the header sharing a line with others: each in order on
    // some line.
    for (const QString& text : expected) {
        const QStringList words = text.split(u' ');
        bool found = false;
        for (const QString& line : page) {
            qsizetype from = 0;
            bool all = true;
            for (const QString& word : words) {
                const qsizetype at = line.indexOf(word, from);
                if (at < 0) {
                    all = false;
                    break;
                }
                from = at + word.size();
            }
            found = found || all;
        }
        QVERIFY2(found, qPrintable(text + u"\n"_s + page.join(u'\n')));
    }
}

void TestLX67::filterText_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("expected");
    QTest::newRow("star after =") << u"PIS.LOTE = 'L12*'"_s << u"PIS.LOTE LIKE 'L12%'"_s;
    QTest::newRow("already LIKE") << u"PIS.LOTE LIKE 'L12*'"_s << u"PIS.LOTE LIKE 'L12%'"_s;
    QTest::newRow("joined fields") << u"PIS.LOTE = 'L12*'#PIS.SIGLA = 'CLI1'"_s
                                   << u"PIS.LOTE LIKE 'L12%' AND PIS.SIGLA = 'CLI1'"_s;
    QTest::newRow("<=") << u"PIS.LOTE <= 'L12*'"_s << u"PIS.LOTE <= 'L12*'"_s;
    QTest::newRow(">=") << u"PIS.LOTE >= 'L12*'"_s << u"PIS.LOTE >= 'L12*'"_s;
    QTest::newRow("!=") << u"PIS.LOTE != 'L12*'"_s << u"PIS.LOTE != 'L12*'"_s;
    QTest::newRow("product") << u"PIS.QUANT = 2*3"_s << u"PIS.QUANT = 2*3"_s;
    QTest::newRow("lone star") << u"PIS.LOTE = '*'"_s << u"PIS.LOTE = '*'"_s;
    QTest::newRow("no star") << u"PIS.NNOTA = 101"_s << u"PIS.NNOTA = 101"_s;
}

void TestLX67::filterText() {
    QFETCH(QString, dialog);
    QFETCH(QString, expected);
    QCOMPARE(LX67FilterText(dialog), expected);
}

void TestLX67::filterNarrowsTheItems() {
    // The stored L12 filter leaves the batches L123 and L129 (and the
    // order by quantity puts 105 first); SIGLA, a column of the partners
    // too, is named as the item's.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX67Options options = March();
    options.filter = LX67FilterText(u"PIS.LOTE = 'L12*'#PIS.SIGLA = 'CLI1'"_s);
    options.order = u"PIS.QUANT"_s;
    const QStringList page = Pages(options).value(0);
    const QStringList items = Items(page);
    QCOMPARE(items.size(), 2);
    QVERIFY2(items[0].contains(u"L129"_s) && items[1].contains(u"L123"_s),
             qPrintable(items.join(u'\n')));
    QCOMPARE(Total(page), u"2,62"_s);
}

void TestLX67::orderText() {
    QCOMPARE(LX67OrderText(u"NNOTA#PRO.PRODUTO#"_s), u"PIS.NNOTA, PRO.PRODUTO"_s);
    QCOMPARE(LX67OrderText(QString()), QString());
}

void TestLX67::refused_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("message");
    // The database's own words reach the user; nothing is printed.
    QTest::newRow("unknown column") << u"PIS.NADA = 1"_s << QString() << u"NADA"_s;
    QTest::newRow("ambiguous column") << u"SIGLA = 'CLI1'"_s << QString() << u"SIGLA"_s;
    QTest::newRow("bad order") << QString() << u"PIS.NENHUMA"_s << u"NENHUMA"_s;
    // Refused before it reaches the database.
    QTest::newRow("beyond the list") << u"1=1) OR (1=1"_s << QString() << u"Filtro recusado"_s;
    QTest::newRow("statement end") << QString() << u"PIS.NNOTA; DELETE"_s << u"Ordem recusado"_s;
}

void TestLX67::refused() {
    QFETCH(QString, filter);
    QFETCH(QString, order);
    QFETCH(QString, message);
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    LX67Options options = March();
    options.filter = filter;
    options.order = order;
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    try {
        PrintLX67(job, options, {});
        QFAIL("printed");
    } catch (const BookError& error) {
        QVERIFY2(error.message().contains(message), qPrintable(error.message()));
    }
    const auto* surface = static_cast<const print::TextPageSurface*>(job.surface());
    QVERIFY(!surface || surface->pages().isEmpty());
}

void TestLX67::largeTotal() {
    // 99.999,99 + 5 and one item of 123.456,78: printed whole, as is the
    // total 223.461,77.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    fixture.erp().load(uR"(
UPDATE VRTNPIS SET QUANT = 99999.99 WHERE PEDIDO = 1;
UPDATE VRTNPIS SET QUANT = 5 WHERE PEDIDO = 2;
UPDATE VRTNPIS SET QUANT = 123456.78 WHERE PEDIDO = 6;
)"_s);
    const QStringList page = Pages(March()).value(0);
    const QStringList items = Items(page);
    QVERIFY2(items.value(0).contains(u"99999,99"_s), qPrintable(items.join(u'\n')));
    QVERIFY2(items.value(2).contains(u"123456,78"_s), qPrintable(items.join(u'\n')));
    QCOMPARE(Total(page), u"223461,77"_s);
}

void TestLX67::pagesAndRightEdge() {
    // Enough items for several pages: each page has the header with its
    // number from 1, the total is on the last, and no line passes the
    // page's right edge.
    test::ModuleFixture fixture;
    fixture.erp().load(Fixture);
    QString more;
    for (int n = 0; n < 120; ++n)
        more += u"INSERT INTO VRTNPIS (PEDIDO, SEQ, NNOTA, SIGLA, DATA, FAT, PRODUTO, LOTE, QUANT) "
                u"VALUES (%1, 1, %1, 'CLI1', '20.03.2008', 'F', 'M2', 'X', 1);\n"_s.arg(1000 + n);
    fixture.erp().load(more);
    print::PrintJob job;
    job.settings.destination = print::Destination::TextPages;
    PrintLX67(job, March(), {});
    const QList<QStringList>& raw = static_cast<print::TextPageSurface*>(job.surface())->pages();
    QVERIFY(raw.size() >= 2);
    for (const QStringList& page : raw)
        for (const QString& line : page)
            QVERIFY2(line.trimmed().isEmpty() || line.size() <= job.pageColumns() + 1,
                     qPrintable(QString::number(line.size()) + u": "_s + line));
    const QList<QStringList> pages = Pages(March());
    for (int p = 0; p < pages.size(); ++p) {
        const QString text = pages[p].join(u'\n');
        QVERIFY2(text.contains(u"Folha: "_s + QString::number(p + 1)), qPrintable(text));
        QVERIFY(text.contains(u"Num.DCB"_s));
    }
    QCOMPARE(Total(pages.last()), u"123,62"_s);
}

QTEST_MAIN(TestLX67)
#include "test_lx67.moc"
