#include "expr/expression.h"

#include "common/fields.h"
#include "common/numbers.h"

#include <QHash>
#include <QTest>

#include <limits>

using namespace livrax;
using namespace livrax::expr;
using namespace Qt::StringLiterals;

namespace {

// "NAME=value;NAME2=value2" as a map; a value may be empty ("NAME=").
QHash<QString, QString> Pairs(const QString& text) {
    QHash<QString, QString> map;
    for (const QString& pair : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(u'=');
        map.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return map;
}

// A row of named columns in two tables, with macros that expand "[NAME]" and
// answer bare names the way the macro expander does.
class TableRow : public ExpressionRow {
  public:
    TableRow(const QString& main, const QString& secondary = {}, const QString& macros = {})
        : m_main(Pairs(main)), m_secondary(Pairs(secondary)), m_macros(Pairs(macros)) {}

    std::optional<QString> field(const QString& name) const override {
        const auto it = m_main.constFind(name);
        return it == m_main.constEnd() ? std::nullopt : std::optional<QString>(*it);
    }
    std::optional<QString> secondaryField(const QString& name) const override {
        const auto it = m_secondary.constFind(name);
        return it == m_secondary.constEnd() ? std::nullopt : std::optional<QString>(*it);
    }
    QString expandMacros(const QString& text) const override {
        QString s = text;
        for (auto it = m_macros.constBegin(); it != m_macros.constEnd(); ++it)
            s.replace(u'[' + it.key() + u']', it.value());
        return s;
    }
    QString macroValue(const QString& name) const override {
        const QString v = expandMacros(name);
        return m_macros.contains(v) ? m_macros.value(v) : v;
    }

    QHash<QString, QString> m_main;

  private:
    QHash<QString, QString> m_secondary;
    QHash<QString, QString> m_macros;
};

constexpr int NoDiagnostic = -1;

int DiagnosticCode(const ExpressionResult& r) {
    return r.diagnostic ? int(r.diagnostic->kind) : NoDiagnostic;
}

int Code(Diagnostic::Kind kind) {
    return int(kind);
}

// A table of rows keyed by one column, standing in for the database.
class FakeLookup : public LookupSource {
  public:
    QStringList primaryKey(const QString& table) const override {
        return table == u"NAT" ? QStringList{u"CODIGO"_s, u"EMPRESA"_s} : QStringList{};
    }
    std::unique_ptr<ExpressionRow> selectFirst(const QString& table, const QString& fields,
                                               const QString& keyField, const QString& keyValue,
                                               const QString& filter) const override {
        lastFields = fields;
        if (table == u"FAIL" || keyField != u"CODIGO") return nullptr;
        for (const QString& row : m_rows) {
            auto r = std::make_unique<TableRow>(row);
            if (r->field(u"CODIGO"_s) != keyValue) continue;
            if (!filter.isEmpty() && r->field(u"ATIVO"_s) != filter) continue;
            return r;
        }
        return nullptr;
    }
    mutable QString lastFields;

  private:
    QStringList m_rows{u"CODIGO=5102;DESCRICAO=VENDA;TIPO=S;CURTA=VD;ATIVO=S"_s,
                       u"CODIGO=1102;DESCRICAO=COMPRA;TIPO=E;CURTA=CP;ATIVO=N"_s};
};

} // namespace

class TestExpression : public QObject {
    Q_OBJECT

  private slots:
    void lineExpression_data();
    void lineExpression();
    void fieldExpression_data();
    void fieldExpression();
    void parsedOnceServesEveryRow();
    void readScaled_data();
    void readScaled();
    void compareBytes_data();
    void compareBytes();
    void lookupValue_data();
    void lookupValue();
};

void TestExpression::lineExpression_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("macros");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("diagnostic");

    const int none = NoDiagnostic;
    using K = Diagnostic::Kind;
    // Conditional assignment.
    QTest::newRow("if equal") << u"IF A = A THEN X = 'SIM' ELSE X = 'NAO'"_s << u""_s << u"SIM"_s
                              << none;
    QTest::newRow("if else") << u"IF A = B THEN X = 'SIM' ELSE X = 'NAO'"_s << u""_s << u"NAO"_s
                             << none;
    QTest::newRow("if without else")
        << u"IF A = B THEN X = 'SIM'"_s << u""_s << u"IF A = B THEN X = 'SIM'"_s << none;
    QTest::newRow("if macro operand")
        << u"IF [GBFUN1] = 3 THEN X = 'TRES'"_s << u"GBFUN1=3"_s << u"TRES"_s << none;
    QTest::newRow("if other operator")
        << u"IF A <> B THEN X = 'SIM' ELSE X = 'NAO'"_s << u""_s
        << u"IF A <> B THEN X = 'SIM' ELSE X = 'NAO'"_s << Code(K::Malformed);
    QTest::newRow("if alone") << u"IF "_s << u""_s << u"IF "_s << Code(K::Malformed);
    // Truth values, compared as texts.
    QTest::newRow("ifbol text order") << u"IFBOL 10 < 9"_s << u""_s << u"T"_s << none;
    QTest::newRow("ifbol equal") << u"IFBOL A = B"_s << u""_s << u"F"_s << none;
    QTest::newRow("ifbol differ") << u"IFBOL A <> B"_s << u""_s << u"T"_s << none;
    QTest::newRow("ifbol greater") << u"IFBOL B > A"_s << u""_s << u"T"_s << none;
    QTest::newRow("cancelarse bare macro")
        << u"CANCELARSE GBFUN1 = S"_s << u"GBFUN1=S"_s << u"T"_s << none;
    QTest::newRow("ifbol >= not known")
        << u"IFBOL 1 >= 1"_s << u""_s << u"IFBOL 1 >= 1"_s << Code(K::Malformed);
    QTest::newRow("ifbol missing tokens")
        << u"IFBOL "_s << u""_s << u"IFBOL "_s << Code(K::Malformed);
    // Choice.
    QTest::newRow("iif holds") << u"IIF([GBFUN1] = 3,SEDEX,NORMAL)"_s << u"GBFUN1=3"_s << u"SEDEX"_s
                               << none;
    QTest::newRow("iif fails") << u"IIF([GBFUN1] = 3,SEDEX,NORMAL)"_s << u"GBFUN1=4"_s
                               << u"NORMAL"_s << none;
    QTest::newRow("iif point is comma") << u"IIF(1.5 = 1,5,A,B)"_s << u""_s << u"A"_s << none;
    QTest::newRow("iif apostrophes") << u"IIF('X' = X,'SIM','NAO')"_s << u""_s << u"SIM"_s << none;
    QTest::newRow("iif <=") << u"IIF(B <= A,X,Y)"_s << u""_s << u"Y"_s << none;
    QTest::newRow("iif >=") << u"IIF(B >= A,X,Y)"_s << u""_s << u"X"_s << none;
    QTest::newRow("iif blank is empty")
        << u"IIF([GBFUN1] = ,VAZIO,CHEIO)"_s << u"GBFUN1=0,00"_s << u"VAZIO"_s << none;
    // A macro's decimal comma does not split its value into two tokens.
    QTest::newRow("iif decimal macro")
        << u"IIF([GBFUN1] > 10,ALTO,BAIXO)"_s << u"GBFUN1=12,50"_s << u"ALTO"_s << none;
    QTest::newRow("iif unknown operator")
        << u"IIF(A ! A,X,Y)"_s << u""_s << u"Y"_s << Code(K::Malformed);
    QTest::newRow("iif missing tokens") << u"IIF("_s << u""_s << u""_s << Code(K::Malformed);
    // Print if.
    QTest::newRow("impse holds") << u"IMPSE([GBFUN1] > 0)"_s << u"GBFUN1=5;GBFUN0=12,50"_s
                                 << u"12,50"_s << none;
    QTest::newRow("impse fails") << u"IMPSE([GBFUN1] > 5)"_s << u"GBFUN1=5;GBFUN0=12,50"_s << u""_s
                                 << none;
    // Amount in words of the printed value.
    QTest::newRow("vextenso") << u"VEXTENSO"_s << u"GBFUN0=1,00"_s << u"HUM  REAL "_s << none;
    // Arithmetic with six decimals.
    QTest::newRow("arit product") << u"ARIT 2 * 12,3456"_s << u""_s << u"24,691200"_s << none;
    QTest::newRow("arit quotient cut") << u"ARIT 1 / 3"_s << u""_s << u"0,333333"_s << none;
    QTest::newRow("arit quotient exact") << u"ARIT 0,3 / 0,1"_s << u""_s << u"3,000000"_s << none;
    QTest::newRow("arit sum") << u"ARIT 1,5 + 2.25"_s << u""_s << u"3,750000"_s << none;
    QTest::newRow("arit negative") << u"ARIT 1 - 3,5"_s << u""_s << u"-2,500000"_s << none;
    QTest::newRow("arit product rounds even")
        << u"ARIT 0,0001 * 0,5"_s << u""_s << u"0,000000"_s << none;
    QTest::newRow("arit by zero") << u"ARIT 1 / 0"_s << u""_s << u""_s << Code(K::DivisionByZero);
    QTest::newRow("arit overflow")
        << u"ARIT 900000000000000 * 900000000000000"_s << u""_s << u""_s << Code(K::Overflow);
    QTest::newRow("arit not a number") << u"ARIT X + 1"_s << u""_s << u""_s << Code(K::NotANumber);
    QTest::newRow("arit missing operand") << u"ARIT 1 +"_s << u""_s << u""_s << Code(K::Malformed);
    QTest::newRow("arit unknown operator")
        << u"ARIT 1 % 2"_s << u""_s << u""_s << Code(K::Malformed);
    // Bracket operators.
    QTest::newRow("bracket product")
        << u"[GBFUN1] [*] [GBFUN2]"_s << u"GBFUN1=2;GBFUN2=3,5"_s << u"7,000000"_s << none;
    QTest::newRow("bracket extra spaces")
        << u"  [GBFUN1]   [-]  [GBFUN2] "_s << u"GBFUN1=2;GBFUN2=3,5"_s << u"-1,500000"_s << none;
    QTest::newRow("bracket by zero")
        << u"[GBFUN1] [/] [GBFUN2]"_s << u"GBFUN1=2;GBFUN2=0"_s << u""_s << Code(K::DivisionByZero);
    // Anything else prints as written.
    QTest::newRow("plain text") << u"TOTAL [GBFUN1]"_s << u"GBFUN1=3"_s << u"TOTAL [GBFUN1]"_s
                                << none;
    QTest::newRow("no precedence here") << u"2+3*4"_s << u""_s << u"2+3*4"_s << none;
    QTest::newRow("lower case if")
        << u"if A = A THEN X = 'S'"_s << u""_s << u"if A = A THEN X = 'S'"_s << none;
    QTest::newRow("empty") << u""_s << u""_s << u""_s << none;
}

void TestExpression::lineExpression() {
    QFETCH(QString, text);
    QFETCH(QString, macros);
    QFETCH(QString, expected);
    QFETCH(int, diagnostic);
    const ExpressionResult r = EvaluateLine(text, TableRow({}, {}, macros));
    QCOMPARE(r.text, expected);
    QCOMPARE(DiagnosticCode(r), diagnostic);
}

void TestExpression::fieldExpression_data() {
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("diagnostic");

    const int none = NoDiagnostic;
    using K = Diagnostic::Kind;
    const QString item = u"QTDE=2;PRECO=10,50;DESCONTO=1;NOME=ABCDEF;VAZIO=;DATA=10/12/26"_s;
    QTest::newRow("empty") << u""_s << item << u""_s << u""_s << none;
    QTest::newRow("column") << u"NOME"_s << item << u""_s << u"ABCDEF"_s << none;
    QTest::newRow("column of main") << u"A.NOME"_s << item << u""_s << u"ABCDEF"_s << none;
    QTest::newRow("column of secondary")
        << u"S.NOME"_s << item << u"NOME=XYZ"_s << u"XYZ"_s << none;
    QTest::newRow("unknown column")
        << u"NOMES"_s << item << u""_s << u""_s << Code(K::UnknownField);
    QTest::newRow("secondary lacks it")
        << u"S.QTDE"_s << item << u""_s << u""_s << Code(K::UnknownField);
    // Substrings.
    QTest::newRow("copy") << u"COPY(NOME,1,3)"_s << item << u""_s << u"ABC"_s << none;
    QTest::newRow("copy middle") << u"COPY(NOME,3,2)"_s << item << u""_s << u"CD"_s << none;
    QTest::newRow("copy past end") << u"COPY(NOME,5,10)"_s << item << u""_s << u"EF"_s << none;
    QTest::newRow("copy start zero") << u"COPY(NOME,0,2)"_s << item << u""_s << u"AB"_s << none;
    QTest::newRow("copy beyond") << u"COPY(NOME,9,2)"_s << item << u""_s << u""_s << none;
    QTest::newRow("copy unknown") << u"COPY(NOMES,1,3)"_s << item << u""_s << u""_s
                                  << Code(K::UnknownField);
    QTest::newRow("copy bad start")
        << u"COPY(NOME,1-,3)"_s << item << u""_s << u""_s << Code(K::Malformed);
    QTest::newRow("copy nothing") << u"COPY()"_s << item << u""_s << u""_s << Code(K::Malformed);
    // Arithmetic, left to right.
    QTest::newRow("columns") << u"QTDE*PRECO-DESCONTO"_s << item << u""_s << u"20"_s << none;
    QTest::newRow("no precedence") << u"2+3*4"_s << item << u""_s << u"20"_s << none;
    QTest::newRow("spaces ignored") << u" QTDE * PRECO "_s << item << u""_s << u"21"_s << none;
    QTest::newRow("decimals") << u"PRECO*2,3456"_s << item << u""_s << u"24,6288"_s << none;
    QTest::newRow("quotient rounds even") << u"1/8"_s << item << u""_s << u"0,125"_s << none;
    QTest::newRow("quotient rounds") << u"2/3"_s << item << u""_s << u"0,6667"_s << none;
    QTest::newRow("seven decimals") << u"0,00005+0"_s << item << u""_s << u"0"_s << none;
    QTest::newRow("seven decimals up") << u"0,0000501+0"_s << item << u""_s << u"0,0001"_s << none;
    QTest::newRow("eighth decimal cut") << u"0,00005009+0"_s << item << u""_s << u"0"_s << none;
    QTest::newRow("negative rounds even")
        << u"0-0,0003*0,5"_s << item << u""_s << u"-0,0002"_s << none;
    QTest::newRow("copy of secondary")
        << u"COPY(S.NOME,2,2)"_s << item << u"NOME=XYZ"_s << u"YZ"_s << none;
    QTest::newRow("empty column is zero") << u"VAZIO+PRECO"_s << item << u""_s << u"10,5"_s << none;
    QTest::newRow("both tables") << u"A.QTDE*S.QTDE"_s << item << u"QTDE=1,5"_s << u"3"_s << none;
    QTest::newRow("leading minus") << u"-5+QTDE"_s << item << u""_s << u"-3"_s << none;
    QTest::newRow("trailing operator") << u"QTDE+"_s << item << u""_s << u"2"_s << none;
    QTest::newRow("more than four terms") << u"1+1+1+1+1+1"_s << item << u""_s << u"6"_s << none;
    QTest::newRow("wide column") << u"TOTAL*2"_s << u"TOTAL=123.456.789,50"_s << u""_s
                                 << u"246913579"_s << none;
    QTest::newRow("column beats literal")
        << u"QTDE+1"_s << u"QTDE=2;1=100"_s << u""_s << u"3"_s << none;
    // Faults: an empty text and the reason, never a silent zero.
    QTest::newRow("by zero") << u"QTDE/0"_s << item << u""_s << u""_s << Code(K::DivisionByZero);
    QTest::newRow("by zero column")
        << u"QTDE/VAZIO"_s << item << u""_s << u""_s << Code(K::DivisionByZero);
    QTest::newRow("misspelt column")
        << u"QTDE*PRECOS"_s << item << u""_s << u""_s << Code(K::UnknownField);
    QTest::newRow("text column") << u"NOME+1"_s << item << u""_s << u""_s << Code(K::NotANumber);
    QTest::newRow("date column") << u"DATA+1"_s << item << u""_s << u""_s << Code(K::NotANumber);
    QTest::newRow("two operators") << u"QTDE*-1"_s << item << u""_s << u""_s << Code(K::Malformed);
    QTest::newRow("literal too large")
        << u"99999999999999999999+1"_s << item << u""_s << u""_s << Code(K::Overflow);
    QTest::newRow("sum overflows")
        << u"900000000000000+900000000000000"_s << item << u""_s << u""_s << Code(K::Overflow);
    QTest::newRow("product overflows")
        << u"9000000*9000000*9000000"_s << item << u""_s << u""_s << Code(K::Overflow);
    QTest::newRow("quotient overflows")
        << u"900000000000000/0,0001"_s << item << u""_s << u""_s << Code(K::Overflow);
    QTest::newRow("smallest") << u"0-922337203685477,5807-0,0001"_s << item << u""_s
                              << u"-922337203685477,5808"_s << none;
    QTest::newRow("leading zeros of decimals")
        << u"0,0105+0"_s << item << u""_s << u"0,0105"_s << none;
    QTest::newRow("largest sum") << u"922337203685477+0,5807"_s << item << u""_s
                                 << u"922337203685477,5807"_s << none;
}

void TestExpression::fieldExpression() {
    QFETCH(QString, expr);
    QFETCH(QString, main);
    QFETCH(QString, secondary);
    QFETCH(QString, expected);
    QFETCH(int, diagnostic);
    const ExpressionResult r = EvaluateField(expr, TableRow(main, secondary));
    QCOMPARE(r.text, expected);
    QCOMPARE(DiagnosticCode(r), diagnostic);
}

void TestExpression::parsedOnceServesEveryRow() {
    // One parse, many rows: each row's own values and macros are read.
    const ParsedExpression chain = ParseExpression(u"QTDE*[GBFUN1]"_s, ExpressionKind::Field);
    const ParsedExpression choice =
        ParseExpression(u"IIF([GBFUN1] = 3,SEDEX,NORMAL)"_s, ExpressionKind::Line);
    const struct {
        QString qtde, fun1, product, choice;
    } rows[] = {{u"2"_s, u"3"_s, u"6"_s, u"SEDEX"_s},
                {u"1,5"_s, u"4"_s, u"6"_s, u"NORMAL"_s},
                {u"0"_s, u"3"_s, u"0"_s, u"SEDEX"_s}};
    for (const auto& row : rows) {
        const TableRow r(u"QTDE="_s + row.qtde, {}, u"GBFUN1="_s + row.fun1);
        QCOMPARE(Evaluate(chain, r).text, row.product);
        QCOMPARE(Evaluate(choice, r).text, row.choice);
    }
    // A macro holding a spaced value stays one operand.
    const TableRow spaced({}, {}, u"GBFUN1=A B;GBFUN2=A B"_s);
    QCOMPARE(EvaluateLine(u"IF [GBFUN1] = [GBFUN2] THEN X = 'S' ELSE X = 'N'"_s, spaced).text,
             u"S"_s);
}

void TestExpression::readScaled_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("value");

    const int ok = int(ExpressionToken::Number::Valid);
    const int nan = int(ExpressionToken::Number::NotANumber);
    const int over = int(ExpressionToken::Number::Overflow);
    QTest::newRow("integer") << u"12"_s << 7 << ok << qint64(120000);
    QTest::newRow("comma") << u"12,5"_s << 7 << ok << qint64(125000);
    QTest::newRow("point") << u"12.5"_s << 7 << ok << qint64(125000);
    QTest::newRow("thousands") << u"1.234,56"_s << 7 << ok << qint64(12345600);
    QTest::newRow("negative") << u"-0,0005"_s << 7 << ok << qint64(-5);
    QTest::newRow("spaces") << u" 7 "_s << 7 << ok << qint64(70000);
    QTest::newRow("leading comma") << u",5"_s << 7 << ok << qint64(5000);
    QTest::newRow("half to even down") << u"0,00025"_s << 7 << ok << qint64(2);
    QTest::newRow("half to even up") << u"0,00035"_s << 7 << ok << qint64(4);
    QTest::newRow("above half") << u"0,000251"_s << 7 << ok << qint64(3);
    QTest::newRow("cut before rounding") << u"0,0002500001"_s << 6 << ok << qint64(2);
    QTest::newRow("largest") << u"922337203685477,5807"_s << 7 << ok
                             << std::numeric_limits<qint64>::max();
    // Wider than the fixed 15-character field ToScaled reads: kept whole.
    QTest::newRow("wide integer") << u"123456789,5"_s << 7 << ok << qint64(1234567895000);
    QTest::newRow("one beyond") << u"922337203685477,5808"_s << 7 << over << qint64(0);
    QTest::newRow("rounds beyond") << u"922337203685477,58075"_s << 7 << over << qint64(0);
    QTest::newRow("letters") << u"12A"_s << 7 << nan << qint64(0);
    QTest::newRow("empty") << u""_s << 7 << nan << qint64(0);
    QTest::newRow("sign only") << u"-"_s << 7 << nan << qint64(0);
    QTest::newRow("two commas") << u"1,2,3"_s << 7 << nan << qint64(0);
    QTest::newRow("two points") << u"1.234.567"_s << 7 << nan << qint64(0);
    QTest::newRow("inner sign") << u"1-2"_s << 7 << nan << qint64(0);
    QTest::newRow("date") << u"10/12/26"_s << 7 << nan << qint64(0);
}

void TestExpression::readScaled() {
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(int, status);
    QFETCH(qint64, value);
    qint64 read = 0;
    QCOMPARE(int(ReadScaled(text, decimals, &read)), status);
    if (status != int(ExpressionToken::Number::Valid)) return;
    QCOMPARE(read, value);
    // A number the strict reader accepts reads as the program reads it
    // elsewhere, as far as it fits the 15 characters ToScaled formats it in.
    if (FormatDecimal(text, 0, decimals).trimmed().size() <= 15)
        QCOMPARE(read, ToScaled(text, decimals));
}

void TestExpression::compareBytes_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("digits as text") << u"10"_s << u"9"_s << -1;
    QTest::newRow("prefix is less") << u"AB"_s << u"ABC"_s << -1;
    QTest::newRow("equal") << u"SÃO"_s << u"SÃO"_s << 0;
    QTest::newRow("upper before lower") << u"Z"_s << u"a"_s << -1;
    QTest::newRow("accent after letters") << u"É"_s << u"z"_s << 1;
    // The euro sign is byte 0x80, below the accented capitals (0xC0..).
    QTest::newRow("code page order") << u"€"_s << u"À"_s << -1;
}

void TestExpression::compareBytes() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int c = CompareBytes(a, b);
    QCOMPARE((c > 0) - (c < 0), sign);
    QCOMPARE(-((CompareBytes(b, a) > 0) - (CompareBytes(b, a) < 0)), sign);
}

void TestExpression::lookupValue_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QString>("keyValue");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expr");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("diagnostic");

    const int none = NoDiagnostic;
    using K = Diagnostic::Kind;
    QTest::newRow("column") << u"NAT"_s << u"CODIGO"_s << u"5102"_s << u""_s << u"DESCRICAO"_s
                            << u"VENDA"_s << u"DESCRICAO"_s << none;
    QTest::newRow("alias") << u"NAT"_s << u"CODIGO"_s << u"5102"_s << u""_s << u"A.DESCRICAO"_s
                           << u"VENDA"_s << u"A.DESCRICAO"_s << none;
    QTest::newRow("primary key") << u"NAT"_s << u""_s << u"1102"_s << u""_s << u"DESCRICAO"_s
                                 << u"COMPRA"_s << u"DESCRICAO"_s << none;
    QTest::newRow("filtered out") << u"NAT"_s << u"CODIGO"_s << u"1102"_s << u"S"_s
                                  << u"DESCRICAO"_s << u""_s << u"DESCRICAO"_s
                                  << Code(K::LookupFailed);
    QTest::newRow("iif equal") << u"NAT"_s << u"CODIGO"_s << u"5102"_s << u""_s
                               << u"IIF(TIPO = S,DESCRICAO,CURTA)"_s << u"VENDA"_s << u"*"_s
                               << none;
    QTest::newRow("iif differ") << u"NAT"_s << u"CODIGO"_s << u"1102"_s << u""_s
                                << u"IIF(TIPO = S,DESCRICAO,CURTA)"_s << u"CP"_s << u"*"_s << none;
    QTest::newRow("if form") << u"NAT"_s << u"CODIGO"_s << u"1102"_s << u""_s
                             << u"IF(TIPO = E,DESCRICAO,CURTA)"_s << u"COMPRA"_s << u"*"_s << none;
    QTest::newRow("iif other operator")
        << u"NAT"_s << u"CODIGO"_s << u"1102"_s << u""_s << u"IIF(TIPO <> S,DESCRICAO,CURTA)"_s
        << u""_s << u"*"_s << Code(K::Malformed);
    QTest::newRow("iif unknown column")
        << u"NAT"_s << u"CODIGO"_s << u"1102"_s << u""_s << u"IIF(TIPO = S,DESCRICAO,LONGA)"_s
        << u""_s << u"*"_s << Code(K::LookupFailed);
    QTest::newRow("unknown column") << u"NAT"_s << u"CODIGO"_s << u"5102"_s << u""_s << u"NOME"_s
                                    << u""_s << u"NOME"_s << Code(K::LookupFailed);
    QTest::newRow("no row") << u"NAT"_s << u"CODIGO"_s << u"9999"_s << u""_s << u"DESCRICAO"_s
                            << u""_s << u"DESCRICAO"_s << Code(K::LookupFailed);
    QTest::newRow("database failure")
        << u"FAIL"_s << u"CODIGO"_s << u"5102"_s << u""_s << u"DESCRICAO"_s << u""_s
        << u"DESCRICAO"_s << Code(K::LookupFailed);
    QTest::newRow("no primary key") << u"XYZ"_s << u""_s << u"5102"_s << u""_s << u"DESCRICAO"_s
                                    << u""_s << u""_s << Code(K::LookupFailed);
    QTest::newRow("blank table") << u" "_s << u"CODIGO"_s << u"5102"_s << u""_s << u"DESCRICAO"_s
                                 << u""_s << u""_s << none;
    QTest::newRow("no key value") << u"NAT"_s << u"CODIGO"_s << u""_s << u""_s << u"DESCRICAO"_s
                                  << u""_s << u""_s << none;
}

void TestExpression::lookupValue() {
    QFETCH(QString, table);
    QFETCH(QString, keyField);
    QFETCH(QString, keyValue);
    QFETCH(QString, filter);
    QFETCH(QString, expr);
    QFETCH(QString, expected);
    QFETCH(QString, fields);
    QFETCH(int, diagnostic);
    const FakeLookup source;
    const ExpressionResult r = LookupValue(source, table, keyField, keyValue, filter, expr);
    QCOMPARE(r.text, expected);
    QCOMPARE(DiagnosticCode(r), diagnostic);
    QCOMPARE(source.lastFields, fields);
}

QTEST_GUILESS_MAIN(TestExpression)
#include "test_expression.moc"
