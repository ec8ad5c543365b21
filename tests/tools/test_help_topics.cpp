// The help texts without windows, on a real database: the search lists keys
// before titles, the recent words, topic and key numbers, a refused save or
// deletion that leaves everything as it was, and the search in a text's
// lines.

#include "data/db_error.h"
#include "data/statement.h"
#include "support/module_fixture.h"
#include "tools/help_topics.h"

#include <QTest>

#include <memory>

using namespace livrax;
using namespace livrax::tools;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<livrax::tools::HelpMatch>)

namespace {

// Three topics; "PESQC" is a key of topics 2 and 3 and part of the title of
// topic 1; "Consulta" is both a key (of topic 3) and a title word.
const QString Fixture = uR"(
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (1, 'Janela PESQC', '{\rtf1 um}');
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (2, 'Consulta geral', '{\rtf1 dois}');
INSERT INTO VRTNHLD (SEQ, TITULO, TEXTO) VALUES (3, 'Contas por cliente', 'texto simples');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (1, 3, 'PESQC - filtros');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (2, 2, 'PESQC');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (3, 3, 'Consulta de contas');
INSERT INTO VRTNHLP (SEQ, SEQHLD, CHAVE) VALUES (4, 3, 'FCPC');
)"_s;

HelpMatch Key(int topic, const QString& text) {
    return {topic, text, true};
}

HelpMatch Title(int topic, const QString& text) {
    return {topic, text, false};
}

qint64 Count(test::TestDatabase& database, const QString& sql) {
    data::Transaction transaction(database.connection());
    data::Statement select(database.connection(), transaction, sql);
    select.open();
    const qint64 count = select.fetch() ? select.value(0).toInt() : -1;
    select.close();
    transaction.commit();
    return count;
}

} // namespace

class TestHelpTopics : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void search_data();
    void search();
    void editorSearchTakesTheFirstTextInOrder();
    void recentWords_data();
    void recentWords();
    void topicNumbers();
    void refusedSaveChangesNothing_data();
    void refusedSaveChangesNothing();
    void deletionTakesTheKeysInOneTransaction();
    void keysOfUnsavedTopicAreRefused();
    void keysSavedChangedAndDeleted();
    void topicAddedWithItsKeysOrNotAtAll();
    void plainText();
    void findInLines_data();
    void findInLines();

  private:
    std::unique_ptr<test::ModuleFixture> m_fixture;
};

void TestHelpTopics::init() {
    m_fixture = std::make_unique<test::ModuleFixture>();
    m_fixture->store().load(Fixture);
}

void TestHelpTopics::cleanup() {
    m_fixture.reset();
}

void TestHelpTopics::search_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QList<HelpMatch>>("expected");
    QTest::newRow("keys before titles, each by its text")
        << u"PESQC"_s
        << QList<HelpMatch>{Key(2, u"PESQC"_s), Key(3, u"PESQC - filtros"_s),
                            Title(1, u"Janela PESQC"_s)};
    QTest::newRow("a word in a key and a title: twice, the key first")
        << u"Consulta"_s
        << QList<HelpMatch>{Key(3, u"Consulta de contas"_s), Title(2, u"Consulta geral"_s)};
    QTest::newRow("only a title") << u"cliente"_s
                                  << QList<HelpMatch>{Title(3, u"Contas por cliente"_s)};
    QTest::newRow("letter case counts") << u"pesqc"_s << QList<HelpMatch>{};
    QTest::newRow("nothing") << u"XYZ"_s << QList<HelpMatch>{};
    QTest::newRow("a quote is a character like any other")
        << u"'; DELETE FROM VRTNHLD"_s << QList<HelpMatch>{};
    QTest::newRow("as long as a key") << QString(100, u'A') << QList<HelpMatch>{};
    QTest::newRow("longer than any key") << QString(101, u'A') << QList<HelpMatch>{};
    QTest::newRow("empty: every title")
        << QString()
        << QList<HelpMatch>{Title(2, u"Consulta geral"_s), Title(3, u"Contas por cliente"_s),
                            Title(1, u"Janela PESQC"_s)};
}

void TestHelpTopics::search() {
    QFETCH(QString, word);
    QFETCH(QList<HelpMatch>, expected);
    const QList<HelpMatch> found = SearchHelp(word);
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        QCOMPARE(found[i].text, expected[i].text);
        QCOMPARE(found[i].topic, expected[i].topic);
        QCOMPARE(found[i].isKey, expected[i].isKey);
    }
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), 3);
}

void TestHelpTopics::editorSearchTakesTheFirstTextInOrder() {
    // Keys and titles together by text: "Consulta de contas" (key of 3)
    // comes before "Consulta geral" (title of 2).
    QCOMPARE(FirstTopicMatching(u"Consulta"_s), 3);
    QCOMPARE(FirstTopicMatching(u"PESQC"_s), 1); // "Janela PESQC" < "PESQC"
    QCOMPARE(FirstTopicMatching(u"XYZ"_s), 0);
}

void TestHelpTopics::recentWords_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty list") << QStringList{} << u"A"_s << QStringList{u"A"_s};
    QTest::newRow("already first")
        << QStringList{u"A"_s, u"B"_s} << u"A"_s << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("new word: one entry more")
        << QStringList{u"A"_s, u"B"_s} << u"C"_s << QStringList{u"C"_s, u"A"_s, u"B"_s};
    QTest::newRow("from the middle: those above move down")
        << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s} << u"C"_s
        << QStringList{u"C"_s, u"A"_s, u"B"_s, u"D"_s};
    QTest::newRow("new word takes the first empty entry")
        << QStringList{u"A"_s, QString(), u"B"_s} << u"C"_s << QStringList{u"C"_s, u"A"_s, u"B"_s};
}

void TestHelpTopics::recentWords() {
    QFETCH(QStringList, before);
    QFETCH(QString, word);
    QFETCH(QStringList, after);
    QCOMPARE(WithRecentWord(before, word), after);
}

void TestHelpTopics::topicNumbers() {
    m_fixture->store().exec(u"DELETE FROM VRTNHLP"_s);
    m_fixture->store().exec(u"DELETE FROM VRTNHLD"_s);
    QCOMPARE(SaveTopic(0, u"Primeiro"_s, "{\\rtf1 a}"), 1);
    QCOMPARE(SaveTopic(0, u"Segundo"_s, "{\\rtf1 b}"), 2);
    QCOMPARE(SaveTopic(1, u"Primeiro mudado"_s, "{\\rtf1 \\'e7}"), 1);
    const std::optional<HelpTopic> topic = LoadTopic(1);
    QVERIFY(topic);
    QCOMPARE(topic->title, u"Primeiro mudado"_s);
    QCOMPARE(topic->text, QByteArray("{\\rtf1 \\'e7}"));
    QVERIFY(!LoadTopic(7));
    // A topic deleted meanwhile is not "saved" into nothing.
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveTopic(7, u"Sumiu"_s, "x"));
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), 2);
}

void TestHelpTopics::refusedSaveChangesNothing_data() {
    QTest::addColumn<int>("number");
    QTest::newRow("new topic") << 0;
    QTest::newRow("changed topic") << 2;
}

void TestHelpTopics::refusedSaveChangesNothing() {
    QFETCH(int, number);
    m_fixture->store().exec(u"CREATE EXCEPTION E_RECUSA 'gravacao recusada'"_s);
    m_fixture->store().exec(u"CREATE TRIGGER T_RECUSA FOR VRTNHLD BEFORE INSERT OR UPDATE AS "
                            u"BEGIN EXCEPTION E_RECUSA; END"_s);
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveTopic(number, u"Novo"_s, "{\\rtf1 x}"));
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), 3);
    QCOMPARE(LoadTopic(2)->title, u"Consulta geral"_s);
}

void TestHelpTopics::deletionTakesTheKeysInOneTransaction() {
    // The topic's row refuses to go: its keys stay too.
    m_fixture->store().exec(u"CREATE EXCEPTION E_RECUSA 'exclusao recusada'"_s);
    m_fixture->store().exec(u"CREATE TRIGGER T_RECUSA FOR VRTNHLD BEFORE DELETE AS "
                            u"BEGIN IF (OLD.SEQ = 3) THEN EXCEPTION E_RECUSA; END"_s);
    QVERIFY_THROWS_EXCEPTION(data::DbError, DeleteTopic(3));
    QCOMPARE(KeysOfTopic(3).size(), 3);
    QVERIFY(LoadTopic(3));

    DeleteTopic(2);
    QVERIFY(!LoadTopic(2));
    QVERIFY(KeysOfTopic(2).isEmpty());
    QCOMPARE(KeysOfTopic(3).size(), 3);
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), 2);
}

void TestHelpTopics::keysOfUnsavedTopicAreRefused() {
    QCOMPARE(SaveKey(0, 0, u"ORFA"_s), 0);
    QCOMPARE(SaveKey(2, 0, u"   "_s), 0);
    // A topic deleted by another station meanwhile.
    QVERIFY_THROWS_EXCEPTION(data::DbError, SaveKey(9, 0, u"ORFA"_s));
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLP"_s), 4);
}

void TestHelpTopics::keysSavedChangedAndDeleted() {
    const int added = SaveKey(1, 0, u"TF_PESQC"_s);
    QCOMPARE(added, 5);
    QCOMPARE(LoadKey(added), (HelpKey{5, 1, u"TF_PESQC"_s}));
    QCOMPARE(SaveKey(1, added, u"PESQC janela"_s), added);
    QCOMPARE(KeysOfTopic(1), (QList<HelpKey>{{5, 1, u"PESQC janela"_s}}));
    DeleteKey(added);
    QVERIFY(!LoadKey(added));
    QVERIFY(KeysOfTopic(1).isEmpty());
}

void TestHelpTopics::topicAddedWithItsKeysOrNotAtAll() {
    QCOMPARE(AddTopic(u"Importado"_s, "{\\rtf1 x}", {u"IMP"_s, u"OUTRA"_s}), 4);
    QCOMPARE(KeysOfTopic(4), (QList<HelpKey>{{5, 4, u"IMP"_s}, {6, 4, u"OUTRA"_s}}));
    // The second key is refused: neither the topic nor the first key stay.
    m_fixture->store().exec(u"CREATE EXCEPTION E_RECUSA 'chave recusada'"_s);
    m_fixture->store().exec(u"CREATE TRIGGER T_RECUSA FOR VRTNHLP BEFORE INSERT AS "
                            u"BEGIN IF (NEW.CHAVE = 'RUIM') THEN EXCEPTION E_RECUSA; END"_s);
    QVERIFY_THROWS_EXCEPTION(data::DbError,
                             AddTopic(u"Outro"_s, "{\\rtf1 y}", {u"BOA"_s, u"RUIM"_s}));
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLD"_s), 4);
    QCOMPARE(Count(m_fixture->store(), u"SELECT COUNT(*) FROM VRTNHLP"_s), 6);
}

void TestHelpTopics::plainText() {
    QCOMPARE(TopicPlainText("{\\rtf1 Relat\\'f3rio\\par linha}"), u"Relatório\nlinha"_s);
    QCOMPARE(TopicPlainText("texto \xe9"), u"texto é"_s);
}

void TestHelpTopics::findInLines_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line"); // -1: not found
    QTest::addColumn<int>("position");
    QTest::newRow("next line, any letter case") << 0 << u"filtro:"_s << 2 << 3;
    QTest::newRow("the caret's own line is skipped") << 2 << u"FILTRO:"_s << 4 << 0;
    QTest::newRow("the only matching line is the caret's") << 4 << u"filtro:"_s << -1 << 0;
    QTest::newRow("from before the first line") << -1 << u"Ajuda"_s << 0 << 0;
    QTest::newRow("empty text") << -1 << QString() << -1 << 0;
}

void TestHelpTopics::findInLines() {
    QFETCH(int, from);
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(int, position);
    const QStringList lines{u"Ajuda da consulta"_s, u"veja Filtro"_s, u"Os Filtro: usam"_s,
                            QString(), u"FILTRO: de novo"_s};
    const std::optional<TextHit> hit = FindInLines(lines, from, text);
    if (line < 0) {
        QVERIFY(!hit);
    } else {
        QVERIFY(hit);
        QCOMPARE(*hit, (TextHit{line, position}));
    }
}

QTEST_GUILESS_MAIN(TestHelpTopics)
#include "test_help_topics.moc"
