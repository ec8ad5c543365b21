#include "common/cnpj.h"
#include "common/conditions.h"
#include "common/masks.h"
#include "common/text.h"

#include <QTest>

using namespace livrax;
using namespace Qt::StringLiterals;

class TestText : public QObject {
    Q_OBJECT

  private slots:
    void replaceText_data();
    void replaceText();
    void replaceTextKeepsLongTail();
    void stripSymbols_data();
    void stripSymbols();
    void onlyChars_data();
    void onlyChars();
    void dropChars();
    void isBlank_data();
    void isBlank();
    void accents();
    void joinConditions_data();
    void joinConditions();
    void starToLike_data();
    void starToLike();
    void applyMask_data();
    void applyMask();
    void formatByPicture_data();
    void formatByPicture();
    void cnpj_data();
    void cnpj();
    void cnpjCheckDigits();
    void cpf_data();
    void cpf();
};

void TestText::replaceText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("firstOnly");
    QTest::addColumn<QString>("expected");

    QTest::newRow("all") << "a-b-c"
                         << "-"
                         << "+" << false << "a+b+c";
    QTest::newRow("first only") << "a-b-c"
                                << "-"
                                << "+" << true << "a+b-c";
    QTest::newRow("replacement holds find") << "aaa"
                                            << "a"
                                            << "aa" << false << "aaaaaa";
    QTest::newRow("no new match across inserted text") << "aXa"
                                                       << "X"
                                                       << "Xa" << false << "aXaa";
    QTest::newRow("empty find") << "abc"
                                << ""
                                << "x" << false << "abc";
    QTest::newRow("absent") << "abc"
                            << "z"
                            << "x" << false << "abc";
    QTest::newRow("removal") << "[A][A]"
                             << "[A]"
                             << "" << false << "";
    QTest::newRow("case sensitive") << "GBCAMPOA gbcampoa"
                                    << "GBCAMPOA"
                                    << "1" << false << "1 gbcampoa";
    QTest::newRow("pairs of blanks, one pass") << "a    b"
                                               << "  "
                                               << " " << false << "a  b";
}

void TestText::replaceText() {
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(bool, firstOnly);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceText(text, find, replacement, firstOnly), expected);
}

void TestText::replaceTextKeepsLongTail() {
    // A long text (an SQL statement, a report title) keeps everything after
    // a replacement, however long.
    const QString tail = QString(3000, QLatin1Char('x')) + u"END"_s;
    QCOMPARE(ReplaceText(u"[A]"_s + tail + u"[A]"_s, u"[A]"_s, u"1"_s), u"1"_s + tail + u"1"_s);
    QCOMPARE(ReplaceText(u"#"_s + tail, u"#"_s, u" "_s, true), u" "_s + tail);
}

void TestText::stripSymbols_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CNPJ") << "11.222.333/0001-81"
                          << "11222333000181";
    QTest::newRow("postal code") << " 93000-000 "
                                 << "93000000";
    QTest::newRow("every symbol") << "a,b.c-d_e#f*g/h\\i:j\"k!l?m>n<o'p"
                                  << "abcdefghijklmnop";
    QTest::newRow("inner spaces and brackets kept") << "(11) 5555-1234"
                                                    << "(11) 55551234";
    QTest::newRow("only symbols") << " - "
                                  << "";
}

void TestText::stripSymbols() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripSymbols(text), expected);
}

void TestText::onlyChars_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("set");
    QTest::addColumn<bool>("expected");

    const QString digits = u"0123456789"_s;
    QTest::newRow("digits") << "123" << digits << true;
    QTest::newRow("outer spaces ignored") << " 123 " << digits << true;
    QTest::newRow("inner space not in set") << "1 23" << digits << false;
    QTest::newRow("inner space in set") << "1 23" << digits + u' ' << true;
    QTest::newRow("letter") << "12a" << digits << false;
    QTest::newRow("empty") << "" << digits << false;
    QTest::newRow("blank") << "   " << u" "_s << false;
}

void TestText::onlyChars() {
    QFETCH(QString, text);
    QFETCH(QString, set);
    QFETCH(bool, expected);
    QCOMPARE(OnlyChars(text, set), expected);
}

void TestText::dropChars() {
    QCOMPARE(DropChars(u"a1b2c3"_s, u"123"_s), u"abc"_s);
    QCOMPARE(DropChars(u"1 2"_s, u"12"_s), u" "_s);
    QCOMPARE(DropChars(u"abc"_s, QString()), u"abc"_s);
}

void TestText::isBlank_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("empty date") << "  /  /  " << true;
    QTest::newRow("zero amount") << "0,00" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("negative zero") << "-0.0" << true;
    QTest::newRow("all blank characters") << ",.;: -_#/\\0" << true;
    QTest::newRow("tabs and a line end around zeros") << "\t0,00\r\n" << true;
    QTest::newRow("a cent") << "0,01" << false;
    QTest::newRow("letter") << "a" << false;
    QTest::newRow("date") << "01/01/07" << false;
}

void TestText::isBlank() {
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsBlank(text), expected);
}

void TestText::accents() {
    QCOMPARE(UpperAccents(u"áàãâäéèêëíìîïóòõôöúùûüç"_s), u"ÁÀÃÂÄÉÈÊËÍÌÎÏÓÒÕÔÖÚÙÛÜÇ"_s);
    QCOMPARE(UpperAccents(u"ação é x ÿ"_s), u"aÇÃo É x ÿ"_s);
    QCOMPARE(RemoveAccents(u"àâêôûãõáéíóúçü ÀÂÊÔÛÃÕÁÉÍÓÚÇÜ"_s), u"aaeouaoaeioucu AAEOUAOAEIOUCU"_s);
    QCOMPARE(RemoveAccents(u"èìòùäëïö ÈÌÒÙÄËÏÖ"_s), u"èìòùäëïö ÈÌÒÙÄËÏÖ"_s);
    QCOMPARE(RemoveAccents(u"Saídas Apuração"_s), u"Saidas Apuracao"_s);
}

void TestText::joinConditions_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("OR in brackets") << "(A = 1#OR#B = 2)"
                                    << "(A = 1 OR B = 2)";
    QTest::newRow("implicit AND") << "A = 1#B = 2"
                                  << "A = 1 AND B = 2";
    QTest::newRow("explicit AND then implicit") << "A = 1#AND#B = 2#C = 3"
                                                << "A = 1 AND B = 2 AND C = 3";
    QTest::newRow("terminated line") << "A = 1#"
                                     << "A = 1";
    QTest::newRow("empty fields skipped") << "A = 1##B = 2"
                                          << "A = 1 AND B = 2";
    QTest::newRow("empty field after OR") << "A = 1#OR##B = 2"
                                          << "A = 1 OR B = 2";
    QTest::newRow("leading empty field") << "#A = 1"
                                         << "A = 1";
    QTest::newRow("empty") << ""
                           << "";
}

void TestText::joinConditions() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(JoinConditions(line), expected);
}

void TestText::starToLike_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("expected");

    QTest::newRow("prefix") << "NOME = 'AB*'"
                            << "NOME LIKE 'AB%'";
    QTest::newRow("lone star") << "NOME = '*'"
                               << "NOME = '*'";
    QTest::newRow("already LIKE") << "NOME LIKE 'AB*'"
                                  << "NOME LIKE 'AB*'";
    QTest::newRow("only the first star") << "NOME = 'A*B*'"
                                         << "NOME LIKE 'A%B*'";
    QTest::newRow("second condition") << "CIDADE = 'X' AND NOME = 'AB*'"
                                      << "CIDADE = 'X' AND NOME LIKE 'AB%'";
    QTest::newRow("no space after =") << "NOME ='AB*'"
                                      << "NOME ='AB*'";
    QTest::newRow("no star") << "A = 1"
                             << "A = 1";
    QTest::newRow("less or equal") << "NOME <= 'AB*'"
                                   << "NOME <= 'AB*'";
    QTest::newRow("greater or equal") << "NOME >= 'AB*'"
                                      << "NOME >= 'AB*'";
    QTest::newRow("star alone") << "*"
                                << "*";
}

void TestText::starToLike() {
    QFETCH(QString, condition);
    QFETCH(QString, expected);
    QCOMPARE(StarToLike(condition), expected);
}

void TestText::applyMask_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");

    QTest::newRow("postal code") << "93000000"
                                 << "XXXXX-XXX"
                                 << "93000-000";
    QTest::newRow("already masked") << "93000-000"
                                    << "XXXXX-XXX"
                                    << "93000-000";
    QTest::newRow("CNPJ") << "12345678000195"
                          << "XX.XXX.XXX/XXXX-XX"
                          << "12.345.678/0001-95";
    QTest::newRow("date") << "15022007"
                          << "XX/XX/XXXX"
                          << "15/02/2007";
    QTest::newRow("short text") << "930"
                                << "XXXXX-XXX"
                                << "930  -   ";
    QTest::newRow("long text cut") << "930000001"
                                   << "XXXXX-XXX"
                                   << "93000-000";
    QTest::newRow("empty mask") << "9 3-0"
                                << ""
                                << "9 3-0";
}

void TestText::applyMask() {
    QFETCH(QString, text);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(ApplyMask(text, mask), expected);
}

void TestText::formatByPicture_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("expected");

    QTest::newRow("N") << "1234,5"
                       << "N,10,2"
                       << "   1234,50";
    QTest::newRow("P") << "1234,5"
                       << "P,10,2"
                       << "  1.234,50";
    QTest::newRow("T") << "1234,5"
                       << "T,10,2"
                       << "1234,50";
    QTest::newRow("B, not zero") << "12"
                                 << "B,6,2"
                                 << " 12,00";
    QTest::newRow("B, zero") << "0"
                             << "B,6,2"
                             << "      ";
    QTest::newRow("B, zero with decimals") << "0,00"
                                           << "B,4,2"
                                           << "    ";
    QTest::newRow("Z") << "12"
                       << "Z,5,0"
                       << "00012";
    QTest::newRow("Z, decimals") << "12,5"
                                 << "Z,7,2"
                                 << "0012,50";
    QTest::newRow("Z, zero") << "0"
                             << "Z,5,0"
                             << "00000";
    QTest::newRow("C") << "ABCDEFG"
                       << "C,3,2"
                       << "CD";
    QTest::newRow("C, past the end") << "ABC"
                                     << "C,2,5"
                                     << "BC";
    QTest::newRow("& two decimals") << "1234,567"
                                    << "&999.99"
                                    << "1234,56";
    QTest::newRow("& no point") << "1234,567"
                                << "&"
                                << "1234";
    QTest::newRow("& three decimals") << "12"
                                      << "&0.000"
                                      << "12,000";
    QTest::newRow("M, CNPJ") << "12345678000195"
                             << "M,XX.XXX.XXX/XXXX-XX"
                             << "12.345.678/0001-95";
    QTest::newRow("M, digits") << "12.3a"
                               << "M,999-9"
                               << "123-0";
    QTest::newRow("M, short value") << "12"
                                    << "M,9999"
                                    << "1200";
    QTest::newRow("M, letters") << "AB"
                                << "M,XXXX"
                                << "AB  ";
    QTest::newRow("empty picture") << "12"
                                   << ""
                                   << "12";
    QTest::newRow("blank value") << "  "
                                 << "N,5,2"
                                 << "  ";
    QTest::newRow("unknown kind") << "12"
                                  << "[EXTENSO]"
                                  << "12";
    // The picture's numbers are read as typed numbers: spaces and other
    // characters dropped, a missing one or a misplaced sign as 0.
    QTest::newRow("N, spaced numbers") << "1,5"
                                       << "N, 6 , 2"
                                       << "  1,50";
    QTest::newRow("N, no decimals given") << "12,34"
                                          << "N,5"
                                          << "   12";
    QTest::newRow("C, misplaced sign") << "ABC"
                                       << "C,1,2-"
                                       << "";
}

void TestText::formatByPicture() {
    QFETCH(QString, value);
    QFETCH(QString, picture);
    QFETCH(QString, expected);
    QCOMPARE(FormatByPicture(value, picture), expected);
}

void TestText::cnpj_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("masked") << "11.222.333/0001-81" << true;
    QTest::newRow("digits only") << "11222333000181" << true;
    QTest::newRow("outer spaces") << " 11222333000181 " << true;
    QTest::newRow("another") << "12.345.678/0001-95" << true;
    QTest::newRow("remainder below 2 gives 0") << "00.000.000/0040-06" << true;
    QTest::newRow("wrong second digit") << "11.222.333/0001-82" << false;
    QTest::newRow("wrong first digit") << "11.222.333/0001-71" << false;
    QTest::newRow("digit missing") << "1122233300018" << false;
    QTest::newRow("digit too many") << "112223330001810" << false;
    QTest::newRow("inner space") << "11222333 000181" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("only symbols") << "../-" << false;
}

void TestText::cnpj() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidCNPJ(text), valid);
}

void TestText::cnpjCheckDigits() {
    QCOMPARE(CnpjCheckDigits(u"112223330001"_s), u"81"_s);
    QCOMPARE(CnpjCheckDigits(u"123456780001"_s), u"95"_s);
    QCOMPARE(CnpjCheckDigits(u"000000000040"_s), u"06"_s);
    const QString base = u"987654320001"_s;
    QVERIFY(IsValidCNPJ(base + CnpjCheckDigits(base)));
}

void TestText::cpf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    // 1*10+1*9+1*8+4*7+4*6+4*5+7*4+7*3+7*2 = 162, 162 mod 11 = 8: first 3;
    // with it, weights 11..2 give 204, 204 mod 11 = 6: second 5.
    QTest::newRow("masked") << "111.444.777-35" << true;
    QTest::newRow("plain") << "11144477735" << true;
    // Remainder 1 gives 0 (210 mod 11), then 255 mod 11 = 2 gives 9.
    QTest::newRow("remainder below two") << "123.456.789-09" << true;
    QTest::newRow("first digit wrong") << "111.444.777-45" << false;
    QTest::newRow("second digit wrong") << "123.456.789-01" << false;
    QTest::newRow("too short") << "1114447773" << false;
    QTest::newRow("letters") << "11144477A35" << false;
    QTest::newRow("empty") << "" << false;
}

void TestText::cpf() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidCPF(text), valid);
}

QTEST_APPLESS_MAIN(TestText)
#include "test_text.moc"
