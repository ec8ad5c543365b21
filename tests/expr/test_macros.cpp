// The macros: every name expanded for printing and for SQL, the value of one
// name (with the company register read again), the controls of a window in a
// stored condition, and values with apostrophes that stay one SQL literal on
// a real database.

#include "data/company_header.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/param_store.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "expr/designer_suggestions.h"
#include "expr/form_fields.h"
#include "expr/form_widgets.h"
#include "expr/macros.h"
#include "platform/clock.h"
#include "support/module_fixture.h"
#include "support/test_database.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace livrax;
using namespace livrax::expr;
using namespace Qt::StringLiterals;

namespace {

// Saturday 8 December 2007, 14:05:09.
const QDateTime Moment(QDate(2007, 12, 8), QTime(14, 5, 9));

void FillGlobals(const QString& userName, const QString& companyName) {
    data::SharedGlobals& g = data::Globals();
    g.user.name = userName;
    g.user.fullName = u"ANA PAULA SOUZA"_s;
    g.user.level = u"5"_s;
    g.user.number = u"07"_s;
    g.user.extra = u"R01"_s;
    g.registry.system = u"LX"_s;
    g.registry.dirDefault = u"/dados"_s;
    g.registry.dirs[1] = u"/dados/erp.fdb"_s;
    g.registry.dirs[5] = u"/dados/livrax.fdb"_s;
    for (int i = 0; i < 10; ++i)
        g.registry.campos[std::size_t(i)] = QString(QChar(u'a' + i));
    g.company.name = companyName;
    g.company.tradeName = u"MODELO"_s;
    g.company.address = u"RUA A, 1"_s;
    g.company.cnpj = u"11.222.333/0001-81"_s;
    g.company.stateRegistration = u"0960123458"_s;
    g.company.postalCode = u"90000-000"_s;
    g.company.city = u"PORTO ALEGRE"_s;
    g.company.email = u"contato@modelo.com.br"_s;
    g.company.phone = u"3333-4444"_s;
    g.company.fax = u"3333-5555"_s;
    g.company.state = u"RS"_s;
}

// The company register with `cnpj` on line 4, saved in the program's
// database without loading it.
void StoreCompanyRegister(const QString& cnpj) {
    data::ParamLines().clear();
    data::ParamLines().setLine(1, u"MODELO LTDA#RUA A, 1#MODELO#"_s);
    data::ParamLines().setLine(3, u"51#3333-4444#3333-5555#contato@modelo.com.br#"_s);
    data::ParamLines().setLine(4, cnpj + u"#0960123458#"_s);
    QVERIFY(
        data::ParamWrite(data::ParamDatabase(), data::CompanyRegisterKey, 20, u"MODELO LTDA"_s));
    data::ParamLines().clear();
}

// A report-manager window with one control of each kind.
class ManagerWindow {
  public:
    ManagerWindow() {
        add<QLineEdit>(u"E_DATAI"_s)->setText(u"01/01/07"_s);
        add<QLineEdit>(u"E_DATA"_s)->setText(u"05/05/07"_s);
        add<QLineEdit>(u"E_NOME"_s)->setText(u"O'BRIEN"_s);
        add<QLineEdit>(u"E_VALOR"_s)->setText(u"1500"_s);
        add<QLabel>(u"LA_TIPO"_s)->setText(u"rotulo"_s);
        auto* combo = add<QComboBox>(u"C_TIPO"_s);
        combo->addItems({u"E"_s, u"S"_s});
        combo->setCurrentIndex(1);
        add<QPlainTextEdit>(u"M_OBS"_s)->setPlainText(u"memo"_s);
        add<QTextEdit>(u"R_TEXTO"_s)->setPlainText(u"rico"_s);
        add<QPushButton>(u"E_BOTAO"_s)->setText(u"botao"_s);
    }
    const QWidget& widget() const { return m_window; }

  private:
    template <typename T> T* add(const QString& name) {
        auto* control = new T(&m_window);
        control->setObjectName(name);
        return control;
    }
    QWidget m_window;
};

} // namespace

class TestMacros : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init() {
        data::ResetGlobals();
        ResetMacroSlots();
        platform::Clock::setFixed(Moment);
        FillGlobals(u"ANA"_s, u"MODELO LTDA"_s);
        SetMacroFunction(u"1"_s, u"  12,50 "_s);
        SetCurrencyOfTheDay(u"DOLAR"_s, u"5.4321"_s);
    }
    void cleanup() {
        platform::Clock::reset();
        data::ResetGlobals();
        ResetMacroSlots();
    }

    void expandsForPrinting_data();
    void expandsForPrinting();
    void runKeepsItsMomentAndReadsTheSlots();
    void macroFunctionDigits_data();
    void macroFunctionDigits();
    void macroValue_data();
    void macroValue();
    void macroValueReadsTheCompanyAgainOncePerRun();
    void expandsForSql_data();
    void expandsForSql();
    void userNamesForSql();
    void sqlValuesStayLiteralsOnTheDatabase_data();
    void sqlValuesStayLiteralsOnTheDatabase();
    void formFields_data();
    void formFields();
    void designerPickLists();
};

void TestMacros::expandsForPrinting_data() {
    QTest::addColumn<QString>("function2"); // GBFUN2, which may hold a name itself
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& fun2, const QString& text,
                        const QString& expected) {
        QTest::newRow(name) << fun2 << text << expected;
    };
    row("issued by", {}, u"Emitido em [DATE] por [GB_SEN_USER]"_s,
        u"Emitido em 08/12/07 por ANA"_s);
    row("lower case is no name", {}, u"[date] [Date]"_s, u"[date] [Date]"_s);
    row("no macro", {}, u"GBFUN1 DATE CAE_CGC"_s, u"GBFUN1 DATE CAE_CGC"_s);
    row("bare company names", {}, u"CAE_EMPRESA|CAE_ENDERECO|CAE_FANTASIA|CAE_CGC"_s,
        u"MODELO LTDA|RUA A, 1|MODELO|CAE_CGC"_s);
    row("company", {},
        u"[CAE_EMPRESA]|[CAE_ENDERECO]|[CAE_FANTASIA]|[CAE_CGC]|[CAE_INSCEST]|[CAE_CEP]|"
        "[CAE_CIDADE]|[CAE_EMAIL]|[CAE_FONE]|[CAE_ETD]"_s,
        u"MODELO LTDA|RUA A, 1|MODELO|11.222.333/0001-81|0960123458|90000-000|PORTO ALEGRE|"
        "contato@modelo.com.br|3333-4444|RS"_s);
    row("fax only by value", {}, u"[CAE_FAX]"_s, u"[CAE_FAX]"_s);
    row("user", {}, u"[GB_SEN_NOMEC]|[GB_SEN_NIVEL]|[GB_SEN_NUMERO]|[GB_SEN_REP]|GB_SEN_REP"_s,
        u"ANA PAULA SOUZA|5|07|R01|R01"_s);
    row("system and folders", {}, u"[GB_SISTEMA]|[GB_DIRDEFAULT]|[GB_DIR1]|[GB_DIR2]|[GB_DIR5]"_s,
        u"LX|/dados|/dados/erp.fdb||/dados/livrax.fdb"_s);
    row("always empty", {}, u"<[GBSUM1][GBSUM0][GBULTIMO][CAP_EMPRESA][GB_VERSAO]>"_s, u"<>"_s);
    row("registry fields", {}, u"[GBCAMPOA][GBCAMPOB][GBCAMPOJ]"_s, u"abj"_s);
    row("dates", {}, u"[DATE]|[DATA]|[DATAI]|[DATAE]|"_s,
        u"08/12/07|08/12/07|12/08/07|8 de dezembro de 2007 |"_s);
    row("date parts", {}, u"[DIA].[MES].[ANO] [ANO4] [TIME] [HORA]"_s,
        u"08.12.07 2007 14:05:09 14:05:09"_s);
    row("currency of the day", {}, u"[GB_TITMOEDA] = [GB_VALMOEDA]"_s, u"DOLAR = 5.4321"_s);
    row("function slots", {}, u"[GBFUN1]|[GBFUN2]|[GBFUN0]"_s, u"12,50||"_s);
    row("value with a later name", u"[DATE]"_s, u"Em [GBFUN2]"_s, u"Em 08/12/07"_s);
    row("value with an earlier name", u"[GBCAMPOA]"_s, u"[GBFUN2]"_s, u"[GBCAMPOA]"_s);
    row("same name twice", {}, u"[DIA][DIA]"_s, u"0808"_s);
}

void TestMacros::expandsForPrinting() {
    QFETCH(QString, function2);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    SetMacroFunction(u"2"_s, function2);
    QCOMPARE(ExpandMacros(text), expected);
}

void TestMacros::runKeepsItsMomentAndReadsTheSlots() {
    MacroRun run;
    platform::Clock::setFixed(Moment.addDays(1).addSecs(60));
    SetMacroFunction(u"0"_s, u"field value"_s);
    QCOMPARE(run.expand(u"[DATE] [TIME] [GBFUN0]"_s), u"08/12/07 14:05:09 field value"_s);
    QCOMPARE(run.expandForSql(u"[DATE]"_s), u"'08.12.2007'"_s);
    QCOMPARE(ExpandMacros(u"[DATE] [TIME]"_s), u"09/12/07 14:06:09"_s);
}

void TestMacros::macroFunctionDigits_data() {
    QTest::addColumn<QString>("digit");
    QTest::addColumn<QString>("expected"); // "[GBFUN0]|[GBFUN9]|[GBFUN1]" afterwards
    QTest::newRow("0") << u"0"_s << u"x||12,50"_s;
    QTest::newRow("9") << u"9"_s << u"|x|12,50"_s;
    QTest::newRow("1 replaced") << u"1"_s << u"||x"_s;
    QTest::newRow("10") << u"10"_s << u"||12,50"_s;
    QTest::newRow("letter") << u"a"_s << u"||12,50"_s;
    QTest::newRow("empty") << QString() << u"||12,50"_s;
    QTest::newRow("other digit") << u"\u0661"_s << u"||12,50"_s; // Arabic-Indic one
}

void TestMacros::macroFunctionDigits() {
    QFETCH(QString, digit);
    QFETCH(QString, expected);
    SetMacroFunction(digit, u" x  "_s);
    QCOMPARE(ExpandMacros(u"[GBFUN0]|[GBFUN9]|[GBFUN1]"_s), expected);
}

void TestMacros::macroValue_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("slot bare") << u"GBFUN1"_s << u"12,50"_s;
    QTest::newRow("slot bracketed") << u"[GBFUN1]"_s << u"12,50"_s;
    QTest::newRow("empty slot") << u"GBFUN0"_s << QString();
    QTest::newRow("sum 1") << u"GBSUM1"_s << QString();
    QTest::newRow("sum 0 is no name") << u"GBSUM0"_s << u"GBSUM0"_s;
    QTest::newRow("user") << u"GB_SEN_USER"_s << u"ANA"_s;
    QTest::newRow("folder") << u"GB_DIR5"_s << u"/dados/livrax.fdb"_s;
    QTest::newRow("no folder 0") << u"GB_DIR0"_s << u"GB_DIR0"_s;
    QTest::newRow("no folder 6") << u"GB_DIR6"_s << u"GB_DIR6"_s;
    QTest::newRow("fax bare") << u"CAE_FAX"_s << u"3333-5555"_s;
    QTest::newRow("fax bracketed") << u"[CAE_FAX]"_s << u"[CAE_FAX]"_s;
    QTest::newRow("date") << u"DATE"_s << u"08/12/07"_s;
    QTest::newRow("data") << u"DATA"_s << u"08/12/07"_s;
    QTest::newRow("hora") << u"HORA"_s << u"14:05:09"_s;
    QTest::newRow("time is no bare name") << u"TIME"_s << u"TIME"_s;
    QTest::newRow("text with names")
        << u"Total [GBFUN1] em [DATE]"_s << u"Total 12,50 em 08/12/07"_s;
    QTest::newRow("unknown") << u"XYZ"_s << u"XYZ"_s;
}

void TestMacros::macroValue() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(MacroValue(name), expected);
}

void TestMacros::macroValueReadsTheCompanyAgainOncePerRun() {
    test::ModuleFixture fixture;
    StoreCompanyRegister(u"11.111.111/0001-11"_s);
    data::LoadCompanyHeader();
    StoreCompanyRegister(u"22.222.222/0001-22"_s); // saved by another station

    QCOMPARE(MacroValue(u"[CAE_CGC]"_s), u"11.111.111/0001-11"_s);
    MacroRun run;
    QCOMPARE(run.value(u"CAE_CGC"_s), u"22.222.222/0001-22"_s);
    StoreCompanyRegister(u"33.333.333/0001-33"_s);
    QCOMPARE(run.value(u"CAE_CGC"_s), u"22.222.222/0001-22"_s);
    QCOMPARE(run.expand(u"[CAE_CGC]"_s), u"22.222.222/0001-22"_s);
    QCOMPARE(MacroValue(u"CAE_CGC"_s), u"33.333.333/0001-33"_s);
}

void TestMacros::expandsForSql_data() {
    QTest::addColumn<QString>("function2");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& fun2, const QString& currency,
                        const QString& sql, const QString& expected) {
        QTest::newRow(name) << fun2 << currency << sql << expected;
    };
    row("user in code", {}, {}, u"USUARIO = [GB_SEN_USER]"_s, u"USUARIO = 'O''BRIEN'"_s);
    row("user in a literal", {}, {}, u"OBS = 'por [GB_SEN_USER].'"_s, u"OBS = 'por O''BRIEN.'"_s);
    row("bare representative", {}, {}, u"REP = GB_SEN_REP"_s, u"REP = 'R01'"_s);
    row("company breaking out", {}, {}, u"NOME = [CAE_EMPRESA]"_s, u"NOME = 'X'' OR 1=1 --'"_s);
    row("bare company", {}, {}, u"NOME = CAE_EMPRESA"_s, u"NOME = 'X'' OR 1=1 --'"_s);
    row("dates", {}, {}, u"D = [DATE] OR D = [DATA] OR D = [DATAI] OR D = '[DATE]'"_s,
        u"D = '08.12.2007' OR D = '08.12.2007' OR D = '08.12.2007' OR D = '08.12.2007'"_s);
    row("numbers", {}, {}, u"EXTRACT(MONTH FROM D) = [MES] AND A IN ([ANO], [ANO4], [DIA])"_s,
        u"EXTRACT(MONTH FROM D) = 12 AND A IN (07, 2007, 08)"_s);
    row("time", {}, {}, u"H < [HORA]"_s, u"H < '14:05:09'"_s);
    row("currency number", {}, u"5.4321"_s, u"V * [GB_VALMOEDA]"_s, u"V * 5.4321"_s);
    row("negative currency", {}, u"-2"_s, u"V -[GB_VALMOEDA] AND F = 1"_s, u"V -(-2) AND F = 1"_s);
    row("currency not a number", {}, u"1 OR 1=1"_s, u"V * [GB_VALMOEDA]"_s, u"V * '1 OR 1=1'"_s);
    row("value not expanded again", u"[GB_SEN_USER]"_s, {}, u"F = [GBFUN2]"_s,
        u"F = '[GB_SEN_USER]'"_s);
    row("value with a bare name", u"CAE_EMPRESA"_s, {}, u"F = '[GBFUN2]'"_s,
        u"F = 'CAE_EMPRESA'"_s);
    row("escaped apostrophe", {}, {}, u"F = 'it''s [GB_SEN_USER]' OR G = [GB_SEN_USER]"_s,
        u"F = 'it''s O''BRIEN' OR G = 'O''BRIEN'"_s);
    row("identifier", {}, {}, u"SELECT \"[GB_SEN_USER]\" FROM T"_s, u"SELECT \"O'BRIEN\" FROM T"_s);
    row("line comment", {}, {}, u"-- it's [GB_SEN_USER]\nA = [GB_SEN_USER]"_s,
        u"-- it's [GB_SEN_USER]\nA = 'O''BRIEN'"_s);
    row("block comment", {}, {}, u"/* it's [DATE] */ A = [DIA]"_s, u"/* it's [DATE] */ A = 08"_s);
    row("q literal", {}, {}, u"A = q'{it's [GB_SEN_USER]}' OR B = [DIA]"_s,
        u"A = q'{it's [GB_SEN_USER]}' OR B = 08"_s);
    row("unclosed literal", {}, {}, u"A = 'x [GB_SEN_USER]"_s, u"A = 'x O''BRIEN"_s);
    row("no macro", {}, {}, u"A = 'it''s' AND DATE = 1"_s, u"A = 'it''s' AND DATE = 1"_s);
}

void TestMacros::expandsForSql() {
    QFETCH(QString, function2);
    QFETCH(QString, currency);
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    FillGlobals(u"O'BRIEN"_s, u"X' OR 1=1 --"_s);
    SetMacroFunction(u"2"_s, function2);
    SetCurrencyOfTheDay(QString(), currency);
    QCOMPARE(ExpandMacrosForSql(sql), expected);
}

void TestMacros::userNamesForSql() {
    FillGlobals(u"O'BRIEN"_s, QString());
    QCOMPARE(ExpandUserNamesForSql(u"(USUARIO = GB_SEN_USER OR REP = GB_SEN_REP) AND "
                                   "NIVEL <= GB_SEN_NIVEL AND SIS = 'GB_SISTEMA'"_s),
             u"(USUARIO = 'O''BRIEN' OR REP = 'R01') AND NIVEL <= '5' AND SIS = 'LX'"_s);
}

void TestMacros::sqlValuesStayLiteralsOnTheDatabase_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected"); // the first column of the one row, as text
    QTest::newRow("user") << u"SELECT [GB_SEN_USER] FROM RDB$DATABASE"_s << u"O'BRIEN"_s;
    QTest::newRow("user in a literal")
        << u"SELECT 'por [GB_SEN_USER]' FROM RDB$DATABASE"_s << u"por O'BRIEN"_s;
    QTest::newRow("company") << u"SELECT [CAE_EMPRESA] FROM RDB$DATABASE"_s << u"X' OR 1=1 --"_s;
    QTest::newRow("condition") << u"SELECT COUNT(*) FROM RDB$DATABASE WHERE 1 = 0 AND "
                                  "CAE_EMPRESA = ''"_s
                               << u"0"_s;
    QTest::newRow("today, day first")
        << u"SELECT CAST([DATE] AS DATE) FROM RDB$DATABASE"_s << u"08/12/07"_s;
    QTest::newRow("today in a literal")
        << u"SELECT CAST('[DATA]' AS DATE) FROM RDB$DATABASE"_s << u"08/12/07"_s;
    QTest::newRow("typed date") << u"SELECT CAST( E_DATAI AS DATE) FROM RDB$DATABASE"_s
                                << u"01/01/07"_s;
    QTest::newRow("typed name") << u"SELECT E_NOME FROM RDB$DATABASE"_s << u"O'BRIEN"_s;
    QTest::newRow("typed number") << u"SELECT COUNT(*) FROM RDB$DATABASE WHERE 200 < E_VALOR"_s
                                  << u"1"_s;
    QTest::newRow("user names")
        << u"SELECT COUNT(*) FROM RDB$DATABASE WHERE GB_SEN_USER = 'O''BRIEN' AND "
           "GB_SEN_NIVEL = 5"_s
        << u"1"_s;
    QTest::newRow("missing field")
        << u"SELECT COUNT(*) FROM RDB$DATABASE WHERE 1 = 1 E_FALTA"_s << u"1"_s;
}

void TestMacros::sqlValuesStayLiteralsOnTheDatabase() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    FillGlobals(u"O'BRIEN"_s, u"X' OR 1=1 --"_s);
    ManagerWindow window;
    const QString ready =
        ExpandFormFieldsForSql(ExpandUserNamesForSql(ExpandMacrosForSql(sql)), window.widget());

    test::TestDatabase database(test::TestDatabase::Tables::ProgramOnly);
    data::Transaction transaction(database.connection());
    try {
        data::Statement select(database.connection(), transaction, ready);
        select.open();
        QVERIFY2(select.fetch(), qPrintable(ready));
        QCOMPARE(select.value(0).toString(), expected);
        QVERIFY(!select.fetch());
    } catch (const data::DbError& error) {
        QFAIL(qPrintable(ready + u": "_s + QString::fromUtf8(error.what())));
    }
}

void TestMacros::formFields_data() {
    QTest::addColumn<bool>("forSql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, bool forSql, const QString& text,
                        const QString& expected) {
        QTest::newRow(name) << forSql << text << expected;
    };
    row("typed date", false, u"DATA >= E_DATAI"_s, u"DATA >= 01/01/07"_s);
    row("missing E_ removed", false, u"DATA >= E_FALTA"_s, u"DATA >= "_s);
    row("missing other kept", false, u"X = F_FALTA"_s, u"X = F_FALTA"_s);
    row("button kept", false, u"X = E_BOTAO"_s, u"X = E_BOTAO"_s);
    row("text controls", false, u"LA_TIPO C_TIPO M_OBS R_TEXTO"_s, u"rotulo S memo rico"_s);
    row("every occurrence", false, u"E_DATAI 2 3 4 5 6 7 8 9 10 E_DATAI"_s,
        u"01/01/07 2 3 4 5 6 7 8 9 10 01/01/07"_s);
    row("eleventh word", false, u"1 2 3 4 5 6 7 8 9 10 E_DATAI"_s,
        u"1 2 3 4 5 6 7 8 9 10 E_DATAI"_s);
    row("empty words count", false, u"1  3 4 5 6 7 8 9 10 E_DATAI"_s,
        u"1  3 4 5 6 7 8 9 10 E_DATAI"_s);
    row("name inside a longer one", false, u"D >= E_DATA AND D <= E_DATAI"_s,
        u"D >= 05/05/07 AND D <= 01/01/07"_s);
    row("sql date", true, u"DATA >= E_DATAI"_s, u"DATA >= '01.01.2007'"_s);
    row("sql text", true, u"NOME = E_NOME OR C = C_TIPO"_s, u"NOME = 'O''BRIEN' OR C = 'S'"_s);
    row("sql in a literal", true, u"E_NOME = NOME OR OBS LIKE '%E_NOME%'"_s,
        u"'O''BRIEN' = NOME OR OBS LIKE '%O''BRIEN%'"_s);
    row("sql missing removed", true, u"A = 1 E_FALTA"_s, u"A = 1 "_s);
    row("sql longer name", true, u"D >= E_DATA AND D <= E_DATAI"_s,
        u"D >= '05.05.2007' AND D <= '01.01.2007'"_s);
}

void TestMacros::formFields() {
    QFETCH(bool, forSql);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    ManagerWindow window;
    QCOMPARE(forSql ? ExpandFormFieldsForSql(text, window.widget())
                    : ExpandFormFields(text, window.widget()),
             expected);
}

void TestMacros::designerPickLists() {
    QComboBox combo;
    combo.setEditable(true);
    combo.addItem(u"antigo"_s);
    combo.setEditText(u"[GBFUN1] * 2"_s);

    FillMacroSuggestions(combo);
    QCOMPARE(combo.count(), 26);
    QCOMPARE(combo.itemText(0), QString());
    QCOMPARE(combo.itemText(1), u"[CAE_CGC]"_s);
    QCOMPARE(combo.itemText(25), u"[GB_TITMOEDA] = [GB_VALMOEDA]"_s);
    QCOMPARE(combo.currentText(), u"[GBFUN1] * 2"_s);

    FillFormulaSuggestions(combo);
    QCOMPARE(combo.count(), 30);
    QCOMPARE(combo.itemText(0), QString());
    for (int i = 2; i < combo.count(); ++i)
        QVERIFY2(combo.itemText(i - 1) < combo.itemText(i), qPrintable(combo.itemText(i)));
    QVERIFY(combo.findText(u"IF(TXTIPO = '3','SEDEX',TXTIPO)"_s) > 0);
    QCOMPARE(combo.currentText(), u"[GBFUN1] * 2"_s);
}

QTEST_MAIN(TestMacros)
#include "test_macros.moc"
