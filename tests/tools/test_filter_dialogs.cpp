// The filter and column selection dialogs: the condition and column rules on
// their own, then both dialogs driven by their controls on a real database.

#include "data/data_module.h"
#include "data/returned_values.h"
#include "platform/window_registry.h"
#include "support/modal.h"
#include "support/module_fixture.h"
#include "tools/selection.h"
#include "tools/selection_windows.h"
#include "tools/tf_selc.h"
#include "tools/tf_self.h"

#include "common/conditions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;
using test::OnModal;

Q_DECLARE_METATYPE(livrax::tools::FilterOperator)

namespace {

QStringList ListItems(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// Closes the next error box, keeping its text.
std::shared_ptr<QString> CatchError() {
    auto text = std::make_shared<QString>();
    OnModal(u"ERROR_BOX"_s, [text](QWidget* box) {
        if (!box) return;
        *text = static_cast<QMessageBox*>(box)->text();
        static_cast<QMessageBox*>(box)->accept();
    });
    return text;
}

template <typename T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child) qFatal("control %s not found", qPrintable(name));
    return child;
}

void SelectItem(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) qFatal("item %s not found", qPrintable(text));
    list->setCurrentItem(found.first());
}

} // namespace

class TestFilterDialogs : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();

    void buildFilterLine_data();
    void buildFilterLine();
    void joinFilterLines_data();
    void joinFilterLines();
    void columnTables_data();
    void columnTables();
    void columnSize_data();
    void columnSize();
    void saveColumns_data();
    void saveColumns();

    void filterDialogBuildsLinesFromTheTable();
    void filterDialogEditsLines();
    void filterDialogRefusesAnInvalidDate();
    void filterDialogExeModeSetsTheTableFilter();
    void filterDialogTableModeAndCancel();
    void columnDialogOffersPrefixedColumns();
    void columnDialogSingleChoiceSavesAtOnce();
    void columnDialogTableModeMovesItems();
    void registeredWindowsHandBackTheResult();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestFilterDialogs::init() {
    ResetSelection();
    data::ResetReturnedValues();
    m_fixture = std::make_unique<test::ModuleFixture>();
}

void TestFilterDialogs::cleanup() {
    m_fixture.reset();
    platform::UnregisterWindow(u"SELF"_s);
    platform::UnregisterWindow(u"SELC"_s);
}

void TestFilterDialogs::buildFilterLine_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<FilterOperator>("op");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("refused");

    using Op = FilterOperator;
    QTest::newRow("contains") << u"NOME"_s << Op::Contains << u"ab"_s << u"S"_s
                              << u"NOME LIKE '%ab%'"_s << false;
    QTest::newRow("starts with, apostrophe doubled")
        << u"A.NOME"_s << Op::StartsWith << u"d'ag"_s << u"N"_s << u"A.NOME LIKE 'd''ag%'"_s
        << false;
    QTest::newRow("date") << u"DATA"_s << Op::Equal << u"01/02/07"_s << u"D"_s
                          << u"DATA = '01.02.2007'"_s << false;
    QTest::newRow("macro unquoted") << u"SIGLA"_s << Op::Equal << u"[GB_SEN_USER]"_s << u"S"_s
                                    << u"SIGLA = [GB_SEN_USER]"_s << false;
    QTest::newRow("is null any case")
        << u"X"_s << Op::Greater << u"is null"_s << u"S"_s << u"X IS NULL"_s << false;
    QTest::newRow("is not null") << u"X"_s << Op::Equal << u"IS NOT NULL"_s << u"D"_s
                                 << u"X IS NOT NULL"_s << false;
    QTest::newRow("NULL keeps the operator")
        << u"X"_s << Op::NotEqual << u"NULL"_s << u"S"_s << u"X <> NULL"_s << false;
    QTest::newRow("empty parentheses")
        << u"X"_s << Op::Equal << u"()"_s << u"S"_s << u"X = ('')"_s << false;
    QTest::newRow("empty text") << u"X"_s << Op::GreaterEqual << u"''"_s << u"N"_s << u"X >= ''"_s
                                << false;
    QTest::newRow("text value cannot end the quote")
        << u"NOME"_s << Op::Equal << u"x' OR 1=1 --"_s << u"S"_s << u"NOME = 'x'' OR 1=1 --'"_s
        << false;
    QTest::newRow("integer") << u"NUMERO"_s << Op::LessEqual << u"12"_s << u"I"_s
                             << u"NUMERO <= 12"_s << false;
    QTest::newRow("decimal comma")
        << u"VALOR"_s << Op::Less << u"5,30"_s << u"N"_s << u"VALOR < 5.30"_s << false;
    QTest::newRow("non-number on a number field is quoted")
        << u"NUMERO"_s << Op::Equal << u"1 OR 1=1"_s << u"I"_s << u"NUMERO = '1 OR 1=1'"_s << false;
    QTest::newRow("unknown type number")
        << u"X"_s << Op::Equal << u"-7"_s << u"U"_s << u"X = -7"_s << false;
    QTest::newRow("impossible date")
        << u"DATA"_s << Op::Equal << u"31/02/07"_s << u"D"_s << QString() << true;
    QTest::newRow("blank date mask")
        << u"DATA"_s << Op::Equal << u"  /  /  "_s << u"D"_s << QString() << true;
    QTest::newRow("macro followed by SQL")
        << u"SIGLA"_s << Op::Equal << u"[A] OR 1=1"_s << u"S"_s << QString() << true;
    QTest::newRow("empty value") << u"X"_s << Op::Equal << QString() << u"S"_s << QString()
                                 << false;
}

void TestFilterDialogs::buildFilterLine() {
    QFETCH(QString, field);
    QFETCH(FilterOperator, op);
    QFETCH(QString, value);
    QFETCH(QString, type);
    QFETCH(QString, line);
    QFETCH(bool, refused);
    const FilterLine built = BuildFilterLine(field, op, value, type);
    QCOMPARE(built.text, line);
    QCOMPARE(!built.error.isEmpty(), refused);
}

void TestFilterDialogs::joinFilterLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("condition");

    QTest::newRow("parentheses") << QStringList{u"("_s, u"A = 1"_s, u"OR"_s, u"B = 2"_s, u")"_s}
                                 << u"(A = 1#OR#B = 2)"_s << u"(A = 1 OR B = 2)"_s;
    QTest::newRow("plain lines") << QStringList{u"A = 1"_s, u"B = 2"_s} << u"A = 1#B = 2"_s
                                 << u"A = 1 AND B = 2"_s;
    QTest::newRow("nothing") << QStringList{} << QString() << QString();
}

void TestFilterDialogs::joinFilterLines() {
    QFETCH(QStringList, lines);
    QFETCH(QString, result);
    QFETCH(QString, condition);
    QCOMPARE(JoinFilterLines(lines), result);
    // What the SQL-mode caller makes of the result.
    QCOMPARE(JoinConditions(result), condition);
    // Read back, the result gives the same text again.
    QCOMPARE(JoinFilterLines(SplitFilterLines(result)), result);
}

void TestFilterDialogs::columnTables_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("letters");
    QTest::addColumn<QStringList>("expected"); // prefix + "|" + table

    QTest::newRow("letters") << u"VRTNPDE#VRTNPIE"_s << true
                             << QStringList{u"A.|VRTNPDE"_s, u"B.|VRTNPIE"_s};
    QTest::newRow("no letters") << u"VRTNPDE#VRTNPIE#"_s << false
                                << QStringList{u"|VRTNPDE"_s, u"|VRTNPIE"_s};
    QTest::newRow("own prefix") << u"VRTNPDE#c.VRTNPIE"_s << false
                                << QStringList{u"|VRTNPDE"_s, u"C.|VRTNPIE"_s};
    QTest::newRow("at most five") << u"T1#T2#T3#T4#T5#T6"_s << true
                                  << QStringList{u"A.|T1"_s, u"B.|T2"_s, u"C.|T3"_s, u"D.|T4"_s,
                                                 u"E.|T5"_s};
}

void TestFilterDialogs::columnTables() {
    QFETCH(QString, source);
    QFETCH(bool, letters);
    QFETCH(QStringList, expected);
    QStringList tables;
    for (const ColumnTable& table : ColumnTables(source, letters))
        tables << table.prefix + u'|' + table.table;
    QCOMPARE(tables, expected);
}

void TestFilterDialogs::columnSize_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("size");

    QTest::newRow("double") << 27 << 0 << 8 << 0 << 13;
    QTest::newRow("numeric(15,4)") << 16 << -4 << 8 << 0 << 13;
    QTest::newRow("numeric(7,4)") << 8 << -4 << 4 << 0 << 13;
    QTest::newRow("date") << 12 << 0 << 4 << 0 << 8;
    QTest::newRow("integer") << 8 << 0 << 4 << 0 << 8;
    QTest::newRow("varchar(20)") << 37 << 0 << 20 << 20 << 20;
    QTest::newRow("char(2)") << 14 << 0 << 2 << 2 << 2;
}

void TestFilterDialogs::columnSize() {
    QFETCH(int, type);
    QFETCH(int, scale);
    QFETCH(int, length);
    QFETCH(int, characters);
    QFETCH(int, size);
    QCOMPARE(ColumnSize(type, scale, length, characters), size);
}

void TestFilterDialogs::saveColumns_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("sizes");

    QTest::newRow("with sizes") << QStringList{u"A.NUMERO,8"_s, u"B.DATA,8"_s, u"A.SIGLA,20"_s}
                                << u"A.NUMERO#B.DATA#A.SIGLA"_s << u"8#8#20"_s;
    QTest::newRow("names only") << QStringList{u"NOME"_s, u"CIDADE"_s} << u"NOME#CIDADE"_s
                                << QString();
    QTest::newRow("empty") << QStringList{} << QString() << QString();
}

void TestFilterDialogs::saveColumns() {
    QFETCH(QStringList, items);
    QFETCH(QString, result);
    QFETCH(QString, sizes);
    const SavedColumns saved = SaveColumns(items);
    QCOMPARE(saved.result, result);
    QCOMPARE(saved.sizes, sizes);
}

void TestFilterDialogs::filterDialogBuildsLinesFromTheTable() {
    Selection().selMode = u"SQL"_s;
    Selection().selSource = u"PDE"_s;
    Selection().selResult = u"FAT = 'F'"_s;
    TF_SELF dialog;
    QCOMPARE(dialog.windowTitle(), u"F_SELF - Seleção de Campos para Filtros"_s);
    auto* fields = Child<QListWidget>(&dialog, u"LB_ENT"_s);
    QCOMPARE(fields->item(0)->text(), u"PEDIDO"_s);
    QCOMPARE(fields->count(), 34);
    QCOMPARE(Child<QLabel>(&dialog, u"LA_ARQ"_s)->text(), u"VRTNPDE"_s);
    QCOMPARE(Child<QLabel>(&dialog, u"LA_DIR"_s)->text(), m_fixture->erp().path());
    QVERIFY(Child<QRadioButton>(&dialog, u"RG_OPER_0"_s)->isChecked());
    QVERIFY(!Child<QLineEdit>(&dialog, u"P_PREFIXO"_s)->isVisibleTo(&dialog));
    auto* lines = Child<QListWidget>(&dialog, u"LB_SAI"_s);
    QCOMPARE(ListItems(lines), QStringList{u"FAT = 'F'"_s});

    auto* value = Child<QComboBox>(&dialog, u"ED_SEL"_s);
    auto* build = Child<QPushButton>(&dialog, u"BU_MONTAR"_s);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_AND"_s), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_ABRE"_s), Qt::LeftButton);
    SelectItem(fields, u"SIGLA"_s);
    Child<QRadioButton>(&dialog, u"RG_OPER_7"_s)->setChecked(true);
    value->setEditText(u"ab"_s);
    QTest::mouseClick(build, Qt::LeftButton);
    QCOMPARE(value->currentText(), QString());
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_OR"_s), Qt::LeftButton);
    // Enter in the value box builds the line too.
    SelectItem(fields, u"DATA"_s);
    Child<QRadioButton>(&dialog, u"RG_OPER_0"_s)->setChecked(true);
    value->setEditText(u"01/02/07"_s);
    QTest::keyClick(value->lineEdit(), Qt::Key_Return);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_FECHA"_s), Qt::LeftButton);
    // A number column takes the number as typed; a pending value is built
    // by "Aplicar" before the result is made.
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_AND"_s), Qt::LeftButton);
    SelectItem(fields, u"NUMERO"_s);
    Child<QRadioButton>(&dialog, u"RG_OPER_4"_s)->setChecked(true);
    value->setEditText(u"100"_s);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_APLICAR"_s), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Selection().selResult,
             u"FAT = 'F'#AND#(SIGLA LIKE '%ab%'#OR#DATA = '01.02.2007')#AND#NUMERO >= 100"_s);
    QCOMPARE(JoinConditions(Selection().selResult),
             u"FAT = 'F' AND (SIGLA LIKE '%ab%' OR DATA = '01.02.2007') AND NUMERO >= 100"_s);
    QVERIFY(!data::DataModule().slot(data::Slot::GB_TAB).isOpen());
    QVERIFY(!Selection().tableFiltered);
}

void TestFilterDialogs::filterDialogEditsLines() {
    Selection().selMode = u"SQL"_s;
    Selection().selSource = u"PDE"_s;
    Selection().selResult = u"A = 1#B = 2#C = 3"_s;
    TF_SELF dialog;
    auto* lines = Child<QListWidget>(&dialog, u"LB_SAI"_s);
    auto* value = Child<QComboBox>(&dialog, u"ED_SEL"_s);
    auto* prefix = Child<QLineEdit>(&dialog, u"P_PREFIXO"_s);

    // Up: the line goes back to the value box.
    lines->setCurrentRow(1);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_SOBE"_s), Qt::LeftButton);
    QCOMPARE(value->currentText(), u"B = 2"_s);
    QCOMPARE(ListItems(lines), (QStringList{u"A = 1"_s, u"C = 3"_s}));
    // Down: the value box text becomes a line as it stands.
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_DESCE"_s), Qt::LeftButton);
    QCOMPARE(ListItems(lines), (QStringList{u"A = 1"_s, u"C = 3"_s, u"B = 2"_s}));
    QCOMPARE(value->currentText(), QString());
    // Remove one line; the prefix goes before the field.
    lines->setCurrentRow(0);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_EXCLUIR"_s), Qt::LeftButton);
    prefix->setText(u"A."_s);
    SelectItem(Child<QListWidget>(&dialog, u"LB_ENT"_s), u"SERIE"_s);
    Child<QRadioButton>(&dialog, u"RG_OPER_6"_s)->setChecked(true);
    value->setEditText(u"1"_s);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    value->setFocus();
    // As a user's key goes: to the widget with the focus (the combo box).
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    // Enter builds the line and neither applies nor cancels.
    QVERIFY(dialog.isVisible());
    QCOMPARE(ListItems(lines), (QStringList{u"C = 3"_s, u"B = 2"_s, u"A.SERIE LIKE '1%'"_s}));
    // Alphabetical order of the fields.
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_ORDEM"_s), Qt::LeftButton);
    QCOMPARE(Child<QListWidget>(&dialog, u"LB_ENT"_s)->item(0)->text(), u"DATA"_s);
    // Clear everything and apply: the result is empty.
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_LIMPAR"_s), Qt::LeftButton);
    QCOMPARE(lines->count(), 0);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    QCOMPARE(Selection().selResult, QString());
}

void TestFilterDialogs::filterDialogRefusesAnInvalidDate() {
    Selection().selMode = u"SQL"_s;
    Selection().selSource = u"PDE"_s;
    Selection().selResult = u"FAT = 'F'"_s;
    TF_SELF dialog;
    dialog.show();
    SelectItem(Child<QListWidget>(&dialog, u"LB_ENT"_s), u"DTNOTA"_s);
    auto* value = Child<QComboBox>(&dialog, u"ED_SEL"_s);
    value->setEditText(u"31/02/07"_s);
    const std::shared_ptr<QString> message = CatchError();
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    QCOMPARE(*message, u"Data inválida: 31/02/07"_s);
    // Nothing was built or applied; the dialog stays open with the value.
    QVERIFY(dialog.isVisible());
    QCOMPARE(ListItems(Child<QListWidget>(&dialog, u"LB_SAI"_s)), QStringList{u"FAT = 'F'"_s});
    QCOMPARE(value->currentText(), u"31/02/07"_s);
    QCOMPARE(Selection().selResult, u"FAT = 'F'"_s);
}

void TestFilterDialogs::filterDialogExeModeSetsTheTableFilter() {
    Selection().selMode = u"EXE"_s;
    Selection().selSource = u"PDE"_s;
    Selection().tableFilter = u"FAT = 'F'"_s;
    {
        TF_SELF dialog;
        // An empty result starts from the table's current filter.
        QCOMPARE(ListItems(Child<QListWidget>(&dialog, u"LB_SAI"_s)), QStringList{u"FAT = 'F'"_s});
        QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_AND"_s), Qt::LeftButton);
        SelectItem(Child<QListWidget>(&dialog, u"LB_ENT"_s), u"ESTADO"_s);
        Child<QComboBox>(&dialog, u"ED_SEL"_s)->setEditText(u"SP"_s);
        QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    }
    QCOMPARE(Selection().selResult, u"FAT = 'F'#AND#ESTADO = 'SP'"_s);
    QCOMPARE(Selection().tableFilter, u"FAT = 'F' AND ESTADO = 'SP'"_s);
    QVERIFY(Selection().tableFiltered);
    {
        TF_SELF dialog;
        QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_LIMPAR"_s), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    }
    QCOMPARE(Selection().tableFilter, QString());
    QVERIFY(!Selection().tableFiltered);
}

void TestFilterDialogs::filterDialogTableModeAndCancel() {
    Selection().selMode = u"TABELA"_s;
    Selection().selSource = u"nome#cidade##uf"_s;
    Selection().selResult = u"X = 1"_s;
    TF_SELF dialog;
    auto* fields = Child<QListWidget>(&dialog, u"LB_ENT"_s);
    QCOMPARE(ListItems(fields), (QStringList{u"NOME"_s, u"CIDADE"_s, u"UF"_s}));
    // No table: the type is unknown, so a number stays a number and any
    // other text is quoted.
    SelectItem(fields, u"CIDADE"_s);
    auto* value = Child<QComboBox>(&dialog, u"ED_SEL"_s);
    value->setEditText(u"Campinas"_s);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_MONTAR"_s), Qt::LeftButton);
    QCOMPARE(ListItems(Child<QListWidget>(&dialog, u"LB_SAI"_s)),
             (QStringList{u"X = 1"_s, u"CIDADE = 'Campinas'"_s}));
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_CANCELAR"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Selection().selResult, u"X = 1"_s);
}

void TestFilterDialogs::columnDialogOffersPrefixedColumns() {
    Selection().selMode = u"ARQUIVO"_s;
    Selection().selSource = u"VRTNPDE#VRTNPIE"_s;
    Selection().selResult = u"NUMERO, DATA"_s;
    TF_SELC dialog;
    QCOMPARE(dialog.windowTitle(), u"F_SELC - Seleção de Campos"_s);
    auto* offered = Child<QListWidget>(&dialog, u"LB_ENT"_s);
    auto* chosen = Child<QListWidget>(&dialog, u"LB_SAI"_s);
    QCOMPARE(offered->item(0)->text(), u"PEDIDO,8"_s);
    QCOMPARE(offered->findItems(u"NUMERO,8"_s, Qt::MatchExactly).size(), qsizetype(2));
    // The chosen columns read back take the sizes offered for them.
    QCOMPARE(ListItems(chosen), (QStringList{u"NUMERO,8"_s, u"DATA,8"_s}));

    Child<QCheckBox>(&dialog, u"CB_ABC"_s)->setChecked(true);
    const QStringList items = ListItems(offered);
    QCOMPARE(items.size(), 34 + 23);
    QCOMPARE(items.at(2), u"A.NUMERO,8"_s);
    QCOMPARE(items.at(34 + 3), u"B.NUMERO,8"_s);
    QVERIFY(items.contains(u"A.SIGLA,20"_s));
    QVERIFY(items.contains(u"A.ESTADO,2"_s));
    QVERIFY(items.contains(u"B.QUANT,13"_s));
    QVERIFY(items.contains(u"B.DATA,8"_s));
    QCOMPARE(Child<QLabel>(&dialog, u"LA_ARQ"_s)->text(), u"VRTNPIE"_s);

    SelectItem(offered, u"B.QUANT,13"_s);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_ADICIONA"_s), Qt::LeftButton);
    chosen->setCurrentRow(2);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_SOBE"_s), Qt::LeftButton);
    QCOMPARE(ListItems(chosen), (QStringList{u"NUMERO,8"_s, u"B.QUANT,13"_s, u"DATA,8"_s}));
    chosen->setCurrentRow(0);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_RETIRA"_s), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_SALVAR"_s), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Selection().selResult, u"B.QUANT#DATA"_s);
    QCOMPARE(Selection().selSizes, u"13#8"_s);
}

void TestFilterDialogs::columnDialogSingleChoiceSavesAtOnce() {
    Selection().selMode = u"ARQUIVO#1"_s;
    Selection().selSource = u"VRTNPDE#B.VRTNPIE"_s;
    Selection().selResult = u"PEDIDO"_s;
    TF_SELC dialog;
    QVERIFY(dialog.singleChoice());
    for (const QString& name :
         {u"BU_RETIRA"_s, u"BU_LIMPA"_s, u"BU_TODOS"_s, u"BU_SOBE"_s, u"BU_DESCE"_s})
        QVERIFY2(!Child<QPushButton>(&dialog, name)->isVisibleTo(&dialog), qPrintable(name));
    QVERIFY(Child<QPushButton>(&dialog, u"BU_ADICIONA"_s)->isVisibleTo(&dialog));
    auto* offered = Child<QListWidget>(&dialog, u"LB_ENT"_s);
    QVERIFY(dialog.offered().contains(u"B.SEQ,8"_s));
    QVERIFY(dialog.offered().contains(u"SERIE,2"_s));
    // A double click chooses the column alone and closes the dialog.
    dialog.show();
    SelectItem(offered, u"B.SEQ,8"_s);
    QListWidgetItem* item = offered->currentItem();
    const QPoint where = offered->visualItemRect(item).center();
    // The view takes a double click only on the item the press was on.
    QTest::mouseClick(offered->viewport(), Qt::LeftButton, {}, where);
    QVERIFY(dialog.isVisible());
    QTest::mouseDClick(offered->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(Selection().selResult, u"B.SEQ"_s);
    QCOMPARE(Selection().selSizes, u"8"_s);
}

void TestFilterDialogs::columnDialogTableModeMovesItems() {
    Selection().selMode = u"TABELA"_s;
    Selection().selSource = u"NOME#CIDADE#UF"_s;
    Selection().selResult = u"UF#NOME"_s;
    Selection().selSizes = u"old"_s;
    TF_SELC dialog;
    auto* chosen = Child<QListWidget>(&dialog, u"LB_SAI"_s);
    QCOMPARE(ListItems(chosen), (QStringList{u"UF"_s, u"NOME"_s}));
    chosen->setCurrentRow(0);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_DESCE"_s), Qt::LeftButton);
    QCOMPARE(ListItems(chosen), (QStringList{u"NOME"_s, u"UF"_s}));
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_LIMPA"_s), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_TODOS"_s), Qt::LeftButton);
    QCOMPARE(ListItems(chosen), (QStringList{u"NOME"_s, u"CIDADE"_s, u"UF"_s}));
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_ORDEM"_s), Qt::LeftButton);
    QCOMPARE(dialog.offered(), (QStringList{u"CIDADE"_s, u"NOME"_s, u"UF"_s}));
    QTest::mouseClick(Child<QPushButton>(&dialog, u"BU_SALVAR"_s), Qt::LeftButton);
    QCOMPARE(Selection().selResult, u"NOME#CIDADE#UF"_s);
    QCOMPARE(Selection().selSizes, QString());
}

void TestFilterDialogs::registeredWindowsHandBackTheResult() {
    RegisterSelectionWindows();
    OnModal(u"TF_SELF"_s, [](QWidget* dialog) {
        if (!dialog) return;
        auto* value = Child<QComboBox>(dialog, u"ED_SEL"_s);
        SelectItem(Child<QListWidget>(dialog, u"LB_ENT"_s), u"FAT"_s);
        value->setEditText(u"F"_s);
        QTest::mouseClick(Child<QPushButton>(dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    });
    QVERIFY(platform::OpenWindow(u"SELF"_s, nullptr, {u"SQL"_s, u"PDE"_s, u"A = 1"_s}));
    QCOMPARE(data::ReturnedValues().values[0], u"A = 1#FAT = 'F'"_s);
    QVERIFY(data::ReturnedValues().rowChosen);
    // A fourth argument is the prefix the query gives the table's columns.
    OnModal(u"TF_SELF"_s, [](QWidget* dialog) {
        if (!dialog) return;
        SelectItem(Child<QListWidget>(dialog, u"LB_ENT"_s), u"FAT"_s);
        Child<QComboBox>(dialog, u"ED_SEL"_s)->setEditText(u"F"_s);
        QTest::mouseClick(Child<QPushButton>(dialog, u"BU_APLICAR"_s), Qt::LeftButton);
    });
    QVERIFY(platform::OpenWindow(u"SELF"_s, nullptr, {u"SQL"_s, u"PIE"_s, QString(), u"PIE."_s}));
    QCOMPARE(data::ReturnedValues().values[0], u"PIE.FAT = 'F'"_s);

    OnModal(u"TF_SELC"_s, [](QWidget* dialog) {
        if (dialog) Child<QPushButton>(dialog, u"BU_CANCELAR"_s)->click();
    });
    QVERIFY(platform::OpenWindow(u"SELC"_s, nullptr, {u"TABELA"_s, u"A#B"_s, u"B"_s}));
    QCOMPARE(data::ReturnedValues().values[0], u"B"_s);
    QVERIFY(!data::ReturnedValues().rowChosen);
}

QTEST_MAIN(TestFilterDialogs)
#include "test_filter_dialogs.moc"
