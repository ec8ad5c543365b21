// The EPP brackets and the accounts per customer and operation below their
// windows: typed amounts and keys, saves that store everything or nothing,
// the per-company CPC table, and the account lookup.

#include "data/db_error.h"
#include "data/schema.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "registers/account_lookup.h"
#include "registers/cpc_accounts.h"
#include "registers/epp_table.h"
#include "registers/register_amounts.h"
#include "support/module_fixture.h"

#include <QTest>

using namespace livrax;
using namespace livrax::registers;
using namespace Qt::StringLiterals;

namespace {

QString Scalar(test::TestDatabase& database, const QString& sql) {
    data::Transaction transaction(database.connection());
    data::Statement select(database.connection(), transaction, sql);
    select.open();
    const QString value = select.fetch() ? select.value(0).toString().trimmed() : u"<none>"_s;
    select.close();
    transaction.commit();
    return value;
}

CpcRecord Cpc(const QString& sigla, const QString& natoper, const QString& debit) {
    CpcRecord record;
    record.texts[u"SIGLA"_s] = sigla;
    record.texts[u"NATOPER"_s] = natoper;
    record.texts[u"CONTADEB"_s] = debit;
    return record;
}

} // namespace

class TestRegisterTables : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
    test::TestDatabase& erp() { return m_fixture->erp(); }

  private Q_SLOTS:
    void init() {
        m_fixture = std::make_unique<test::ModuleFixture>();
        // The company keeps its own copy of CPC, as the demo does.
        for (const QString& statement : data::CompanyTableStatements(u"CPC"_s, u"001"_s))
            erp().exec(statement);
        m_fixture->refreshTableLists();
    }
    void cleanup() { m_fixture.reset(); }

    void amounts_data();
    void amounts();
    void newKeys_data();
    void newKeys();
    void eppSaveStoresExactAmounts();
    void eppRefusedUpdateLeavesNothing();
    void eppBracketTextsNameTheField();
    void eppChainedBrackets();
    void cpcUsesTheCompanysTable();
    void cpcTakenSeqMovesToTheNext();
    void cpcUpdateAndDeleteByTheRecordsKey();
    void cpcRefusedUpdateLeavesNothing();
    void accountSearchFilter();
    void findAccount_data();
    void findAccount();
};

void TestRegisterTables::amounts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digits");
    QTest::addColumn<qint64>("hundredths"); // -1: refused
    QTest::newRow("empty is zero") << u""_s << 13 << qint64(0);
    QTest::newRow("blank is zero") << u"   "_s << 13 << qint64(0);
    QTest::newRow("comma") << u"1234,5"_s << 13 << qint64(123450);
    QTest::newRow("point") << u"1234.5"_s << 13 << qint64(123450);
    QTest::newRow("third decimal cut") << u"2.999"_s << 3 << qint64(299);
    QTest::newRow("leading zeros take no place") << u"000123.00"_s << 3 << qint64(12300);
    QTest::newRow("thirteen digits fit") << u"9999999999999.99"_s << 13 << qint64(999999999999999);
    QTest::newRow("fourteen digits refused") << u"10000000000000"_s << 13 << qint64(-1);
    QTest::newRow("rate of 1000 refused") << u"1000"_s << 3 << qint64(-1);
    QTest::newRow("letters refused") << u"12a"_s << 13 << qint64(-1);
    QTest::newRow("two separators refused") << u"1.234,50"_s << 13 << qint64(-1);
    QTest::newRow("sign refused") << u"-5"_s << 13 << qint64(-1);
    QTest::newRow("separator alone refused") << u","_s << 13 << qint64(-1);
}

void TestRegisterTables::amounts() {
    QFETCH(QString, text);
    QFETCH(int, digits);
    QFETCH(qint64, hundredths);
    const std::optional<qint64> parsed = ParseAmount(text, digits);
    if (hundredths < 0) {
        QVERIFY(!parsed);
    } else {
        QVERIFY(parsed);
        QCOMPARE(*parsed, hundredths);
    }
}

void TestRegisterTables::newKeys_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("key");
    QTest::newRow("ordinary") << u"2004"_s << u"5"_s << u""_s << false << u"2004/05"_s;
    QTest::newRow("month 00 taken") << u"2004"_s << u"00"_s << u""_s << false << u"2004/00"_s;
    QTest::newRow("next year no warning") << u"2027"_s << u"01"_s << u""_s << false << u"2027/01"_s;
    QTest::newRow("two years ahead warns") << u"2028"_s << u"01"_s << u""_s << true << u"2028/01"_s;
    QTest::newRow("before 1992 warns") << u"1991"_s << u"12"_s << u""_s << true << u"1991/12"_s;
    QTest::newRow("month 13") << u"2004"_s << u"13"_s << u"MÊS INVÁLIDO."_s << false << u""_s;
    QTest::newRow("month with a quote")
        << u"2004"_s << u"1'"_s << u"MÊS INVÁLIDO."_s << false << u""_s;
    QTest::newRow("negative month") << u"2004"_s << u"-1"_s << u"MÊS INVÁLIDO."_s << false << u""_s;
    QTest::newRow("year letters") << u"20X4"_s << u"01"_s << u"ANO INVÁLIDO."_s << false << u""_s;
    QTest::newRow("five-digit year")
        << u"20045"_s << u"01"_s << u"ANO INVÁLIDO."_s << false << u""_s;
    QTest::newRow("blank year") << u" "_s << u"01"_s << u"ANO INVÁLIDO."_s << false << u""_s;
}

void TestRegisterTables::newKeys() {
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, refusal);
    QFETCH(bool, warning);
    QFETCH(QString, key);
    // The warning limit follows the clock's year: 2026 + 1.
    const EppNewKey checked = CheckEppKey(year, month, 2026);
    QCOMPARE(checked.refusal, refusal);
    QCOMPARE(checked.yearWarning, warning);
    if (refusal.isEmpty()) QCOMPARE(checked.year + u'/' + checked.month, key);
}

void TestRegisterTables::eppSaveStoresExactAmounts() {
    EppRecord record;
    record.year = u"2004"_s;
    record.month = u"05"_s;
    record.brackets[0] = {0, 1000000, 250};
    record.brackets[29] = {999999999999999, 999999999999999, 99999};
    SaveEppRecord(record);
    QCOMPARE(Scalar(erp(), u"SELECT COUNT(*) FROM VRTNEPP"_s), u"1"_s);
    QCOMPARE(Scalar(erp(), u"SELECT FILIAL FROM VRTNEPP"_s), u"0"_s);
    // An empty bracket is stored as zero, not as an empty text.
    QCOMPARE(Scalar(erp(), u"SELECT DE2 + ATE2 + DESC2 FROM VRTNEPP"_s).toDouble(), 0.0);

    // Saving again only updates the row.
    record.brackets[1] = {1000001, 2000000, 500};
    SaveEppRecord(record);
    const std::vector<EppRecord> stored = LoadEppRecords();
    QCOMPARE(stored.size(), std::size_t(1));
    QVERIFY(stored[0].brackets == record.brackets);
    QVERIFY(EppKeyExists(u"2004"_s, u"05"_s));
    QVERIFY(!EppKeyExists(u"2004"_s, u"5"_s));
}

// The database refuses the brackets after the row was created: nothing of
// the record stays, not even an empty row under its key.
void TestRegisterTables::eppRefusedUpdateLeavesNothing() {
    erp().exec(u"ALTER TABLE VRTNEPP ADD CONSTRAINT CK_EPP_RATE CHECK (DESC1 IS NULL OR "
               u"DESC1 <= 100)"_s);
    EppRecord record;
    record.year = u"2005"_s;
    record.month = u"01"_s;
    record.brackets[0].discount = 15000; // 150.00 %
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveEppRecord(record));
    QCOMPARE(Scalar(erp(), u"SELECT COUNT(*) FROM VRTNEPP"_s), u"0"_s);
}

void TestRegisterTables::eppBracketTextsNameTheField() {
    EppBracketTexts texts;
    texts.from[0] = u"10,5"_s;
    texts.to[11] = u"1e5"_s;
    EppRecord record;
    record.brackets[0].from = 77;
    QCOMPARE(ReadEppBrackets(texts, record).value_or(QString()),
             u"Valor inválido no campo ATÉ 12: 1e5"_s);
    QCOMPARE(record.brackets[0].from, qint64(77)); // nothing read
    texts.to[11] = u"20000"_s;
    texts.discount[29] = u"1000.00"_s;
    QCOMPARE(ReadEppBrackets(texts, record).value_or(QString()),
             u"Valor inválido no campo DESCONTO 30: 1000.00"_s);
    texts.discount[29] = u"999.99"_s;
    QVERIFY(!ReadEppBrackets(texts, record));
    QCOMPARE(record.brackets[0].from, qint64(1050));
    QCOMPARE(record.brackets[11].to, qint64(2000000));
    QCOMPARE(record.brackets[29].discount, qint64(99999));
}

void TestRegisterTables::eppChainedBrackets() {
    EppBracketTexts texts;
    texts.to[0] = u"10000.00"_s;
    texts.to[1] = u"20000.00"_s;
    texts.from[2] = u"5.00"_s; // ATÉ 3 empty: DE 3 kept
    texts.to[3] = u"x"_s;      // not an amount: DE 4 and DE 5 kept
    texts.from[4] = u"7.00"_s;
    texts.to[4] = u"50000"_s;
    ChainEppBrackets(texts);
    QCOMPARE(texts.from[1], u"10000.01"_s);
    QCOMPARE(texts.from[2], u"5.00"_s);
    QCOMPARE(texts.from[3], QString());
    QCOMPARE(texts.from[4], u"7.00"_s);
}

void TestRegisterTables::cpcUsesTheCompanysTable() {
    erp().exec(u"INSERT INTO VRTNCPC (SEQ,FILIAL,SIGLA) VALUES (1,0,'GERAL')"_s);
    QCOMPARE(CpcTableName(), u"VRTNCPC001"_s);
    QVERIFY(LoadCpcRecords().empty());
    const qint64 first = SaveCpcRecord(Cpc(u"CLI01"_s, QString(), u"1.1.01"_s));
    const qint64 second = SaveCpcRecord(Cpc(QString(), u"5102"_s, QString()));
    QCOMPARE(first, qint64(1));
    QCOMPARE(second, qint64(2));
    const std::vector<CpcRecord> records = LoadCpcRecords();
    QCOMPARE(records.size(), std::size_t(2));
    QCOMPARE(Scalar(erp(), u"SELECT NETLOG FROM VRTNCPC001 WHERE SEQ = 1"_s), u"A"_s);
    QCOMPARE(Scalar(erp(), u"SELECT COUNT(*) FROM VRTNCPC"_s), u"1"_s);
    // SIGLA alone or NATOPER alone is enough; neither is refused.
    QCOMPARE(CpcSaveProblem(Cpc(u"CLI01"_s, QString(), QString())), QString());
    QCOMPARE(CpcSaveProblem(Cpc(QString(), u"5102"_s, QString())), QString());
    QCOMPARE(CpcSaveProblem(Cpc(u" "_s, QString(), u"1"_s)),
             u"A Natureza de Operação ou Sigla deve ser informada."_s);
}

// Another station stores the SEQ this one read as the next: the save moves
// on to the following SEQ and the station's row is left as it was.
void TestRegisterTables::cpcTakenSeqMovesToTheNext() {
    erp().exec(u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA) VALUES (4,0,'ANTES')"_s);
    bool stationRan = false;
    const qint64 seq = SaveCpcRecord(Cpc(u"NOVO"_s, QString(), QString()), [&](qint64 next) {
        if (stationRan) return;
        stationRan = true;
        QCOMPARE(next, qint64(5));
        erp().exec(u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA) VALUES (5,0,'OUTRA')"_s);
    });
    QCOMPARE(seq, qint64(6));
    QCOMPARE(Scalar(erp(), u"SELECT SIGLA FROM VRTNCPC001 WHERE SEQ = 5"_s), u"OUTRA"_s);
    QCOMPARE(Scalar(erp(), u"SELECT SIGLA FROM VRTNCPC001 WHERE SEQ = 6"_s), u"NOVO"_s);
}

// Rows of two branches share a SEQ: a change and a delete touch the
// record's own row only.
void TestRegisterTables::cpcUpdateAndDeleteByTheRecordsKey() {
    erp().exec(u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA) VALUES (3,0,'MATRIZ')"_s);
    erp().exec(u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA) VALUES (3,2,'FILIAL2')"_s);
    CpcRecord branch;
    for (const CpcRecord& record : LoadCpcRecords())
        if (record.filial == 2) branch = record;
    QCOMPARE(branch.seq, qint64(3));
    branch.texts[u"CONTADEB"_s] = u"O'BRIEN"_s;
    QCOMPARE(SaveCpcRecord(branch), qint64(3));
    QCOMPARE(Scalar(erp(), u"SELECT CONTADEB FROM VRTNCPC001 WHERE FILIAL = 2"_s), u"O'BRIEN"_s);
    QCOMPARE(Scalar(erp(), u"SELECT COALESCE(CONTADEB,'-') FROM VRTNCPC001 WHERE FILIAL = 0"_s),
             u"-"_s);
    QVERIFY(DeleteCpcRecord(3, 2));
    QCOMPARE(Scalar(erp(), u"SELECT LIST(SIGLA) FROM VRTNCPC001"_s), u"MATRIZ"_s);
}

void TestRegisterTables::cpcRefusedUpdateLeavesNothing() {
    erp().exec(u"ALTER TABLE VRTNCPC001 ADD CONSTRAINT CK_CPC_DEB CHECK (CONTADEB IS NULL OR "
               u"CONTADEB <> 'RECUSADA')"_s);
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveCpcRecord(Cpc(u"CLI"_s, QString(), u"RECUSADA"_s)));
    QCOMPARE(Scalar(erp(), u"SELECT COUNT(*) FROM VRTNCPC001"_s), u"0"_s);
}

// The filter runs as a condition on the plan: an apostrophe typed is
// searched for, not taken as the end of the text.
void TestRegisterTables::accountSearchFilter() {
    QCOMPARE(AccountSearchFilter(u"  "_s), QString());
    erp().load(u"INSERT INTO VRTNCBP (CONTA,NOME) VALUES ('1.1','CAIXA');\n"
               u"INSERT INTO VRTNCBP (CONTA,NOME) VALUES ('1.2','D''AGUA');\n"
               u"INSERT INTO VRTNCBP (CONTA,NOME,CBSIGLA) VALUES ('1.3','BANCO','AGU');\n"_s);
    const auto matching = [this](const QString& typed) {
        return Scalar(erp(), u"SELECT LIST(CONTA) FROM (SELECT CONTA FROM VRTNCBP WHERE "_s +
                                 AccountSearchFilter(typed) + u" ORDER BY CONTA)"_s);
    };
    QCOMPARE(matching(u"D'A"_s), u"1.2"_s);
    QCOMPARE(matching(u"AGU"_s), u"1.2,1.3"_s);
    QCOMPARE(matching(u"x' OR '1'='1"_s), QString());
}

void TestRegisterTables::findAccount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sa");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("name"); // of the last account found
    QTest::newRow("empty") << u""_s << u"A"_s << u""_s << u"CAIXA"_s;
    QTest::newRow("abbreviated number, SA A")
        << u"1234"_s << u"A"_s << u"1.1.01.001"_s << u"CAIXA"_s;
    QTest::newRow("abbreviated of a synthetic, SA A") << u"77"_s << u"A"_s << u"*"_s << u"CAIXA"_s;
    QTest::newRow("abbreviated of a synthetic, any SA")
        << u"77"_s << u"*"_s << u"1.1.01"_s << u"DISPONIVEL"_s;
    QTest::newRow("plain number, SA S") << u"1.1.01"_s << u"S"_s << u"1.1.01"_s << u"DISPONIVEL"_s;
    QTest::newRow("plain number, SA A") << u"1.1.01"_s << u"A"_s << u"*"_s << u"CAIXA"_s;
    QTest::newRow("edited number") << u"11101001"_s << u"A"_s << u"1.1.01.001"_s << u"CAIXA"_s;
    QTest::newRow("short code ignores SA, lower case typed")
        << u"cli01"_s << u"S"_s << u"2.1.01.005"_s << u"CLIENTE UM"_s;
    QTest::newRow("apostrophe") << u"D'AGUA"_s << u"A"_s << u"3.1.01.007"_s << u"AGUA"_s;
    QTest::newRow("apostrophe unknown") << u"X' OR '1'='1"_s << u"*"_s << u"*"_s << u"CAIXA"_s;
}

void TestRegisterTables::findAccount() {
    QFETCH(QString, text);
    QFETCH(QString, sa);
    QFETCH(QString, account);
    QFETCH(QString, name);
    erp().load(
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA,CBSIGLA) VALUES "
        u"('1.1.01','1101',77,1,'DISPONIVEL','D','S',NULL);\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA,CBSIGLA) VALUES "
        u"('1.1.01.001','11101001',1234,2,'CAIXA','D','A',NULL);\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA,CBSIGLA) VALUES "
        u"('2.1.01.005','21101005',1235,3,'CLIENTE UM','C','A','CLI01');\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA,CBSIGLA) VALUES "
        u"('3.1.01.007','31101007',1236,4,'AGUA','D','A','D''AGUA');\n"_s);
    // A first lookup that finds CAIXA, so that a lookup finding nothing can
    // be seen to keep it.
    QCOMPARE(FindAccount(u"1234"_s, u"A"_s), u"1.1.01.001"_s);
    QCOMPARE(FindAccount(text, sa), account);
    QCOMPARE(LastAccountFound().nome, name);
}

QTEST_MAIN(TestRegisterTables)
#include "test_register_tables.moc"
