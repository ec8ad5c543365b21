// The pick lists windows fill from the database: columns of one or two
// tables with their prefixes, DATE columns, the catalogue and the indexed
// columns, and what the combos keep of their text.

#include "data/catalogue.h"
#include "support/module_fixture.h"
#include "tools/pick_lists.h"

#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include <memory>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestPickLists : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void fieldNamesOfOneAndTwoTables();
    void dateFieldNames();
    void fieldCombosKeepTheirText();
    void catalogue();
    void indexedFields();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestPickLists::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    // Two empty tables: the lists come from the columns, not from rows.
    m_fixture->erp().exec(u"CREATE TABLE VRTNTSA (NOME VARCHAR(10), DTB DATE, CODIGO INTEGER, "
                          "DTA DATE)"_s);
    m_fixture->erp().exec(u"CREATE TABLE VRTNTSB (VALOR NUMERIC(15,2), EMISSAO DATE)"_s);
    m_fixture->erp().exec(u"CREATE INDEX VRTNTSA_CN ON VRTNTSA (CODIGO, NOME)"_s);
    m_fixture->refreshTableLists();
}

void TestPickLists::cleanup() {
    m_fixture.reset();
}

void TestPickLists::fieldNamesOfOneAndTwoTables() {
    QCOMPARE(tools::TableFieldNames(u"TSA"_s),
             (QStringList{u"CODIGO"_s, u"DTA"_s, u"DTB"_s, u"NOME"_s}));
    QCOMPARE(tools::TableFieldNames(u"A.TSA"_s, u"S.TSB"_s),
             (QStringList{u"A.CODIGO"_s, u"A.DTA"_s, u"A.DTB"_s, u"A.NOME"_s, u"S.EMISSAO"_s,
                          u"S.VALOR"_s}));
    QCOMPARE(tools::TableFieldNames(u"VRTNTSB"_s, u"  "_s),
             (QStringList{u"EMISSAO"_s, u"VALOR"_s}));
    QVERIFY(tools::TableFieldNames(u" "_s, u"TSB"_s).isEmpty());
    QVERIFY(tools::TableFieldNames(u"XYZ"_s).isEmpty());
}

void TestPickLists::dateFieldNames() {
    QCOMPARE(tools::TableDateFieldNames(u"TSA"_s), (QStringList{u"DTA"_s, u"DTB"_s}));
    QCOMPARE(tools::TableDateFieldNames(u"A.TSA"_s, u"S.TSB"_s),
             (QStringList{u"A.DTA"_s, u"A.DTB"_s, u"S.EMISSAO"_s}));
}

void TestPickLists::fieldCombosKeepTheirText() {
    QComboBox combo;
    combo.setEditable(true);
    combo.addItem(u"OLD"_s);
    combo.setEditText(u"DTB"_s);
    tools::FillDateFieldCombo(&combo, u"TSA"_s);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), u"DTA"_s);
    QCOMPARE(combo.currentText(), u"DTB"_s);

    combo.setEditText(u"typed by hand"_s);
    tools::FillFieldCombo(&combo, u"TSB"_s);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.currentText(), u"typed by hand"_s);

    // A blank first table leaves the combo as it was.
    tools::FillFieldCombo(&combo, QString(), u"TSA"_s);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(1), u"VALOR"_s);
}

void TestPickLists::catalogue() {
    data::CatalogUpdate(u"TSB"_s, u"valores de teste"_s, u"2"_s);
    data::CatalogUpdate(u"TSA"_s, u"nomes de teste"_s, u"1"_s);
    QComboBox combo;
    tools::FillCatalogCombo(&combo);
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(0), QString());
    QCOMPARE(combo.itemText(1), u"TSA - NOMES DE TESTE"_s);
    QCOMPARE(combo.itemText(2), u"TSB - VALORES DE TESTE"_s);
}

void TestPickLists::indexedFields() {
    QComboBox combo;
    combo.setEditable(true);
    tools::FillIndexCombo(&combo, u"TSA"_s);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), u"CODIGO"_s);
    QCOMPARE(combo.itemText(1), u"NOME"_s);
    QCOMPARE(combo.currentText(), u"CODIGO"_s); // empty text: the first item shows

    combo.setEditText(u"NOME"_s);
    tools::FillIndexCombo(&combo, u"TSA"_s);
    QCOMPARE(combo.currentText(), u"NOME"_s);

    QListWidget list;
    list.addItem(u"stale"_s);
    tools::FillIndexList(&list, u"TSA"_s);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.item(1)->text(), u"NOME"_s);

    tools::FillIndexList(&list, u"TSB"_s); // a table without indexes
    QCOMPARE(list.count(), 0);
}

QTEST_MAIN(TestPickLists)
#include "test_pick_lists.moc"
