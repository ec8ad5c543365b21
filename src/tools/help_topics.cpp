#include "tools/help_topics.h"

#include "data/audit_log.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "platform/rtf.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextDocument>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

// CHAVE and TITULO hold 100 characters: a longer word is in none of them.
// The pattern ("%" + word + "%") is cast to a text long enough for it, so a
// word as long as a key does not overflow the column's type.
constexpr int TextLength = 100;

data::Connection& HelpDatabase() {
    data::Connection* database = data::DatabaseFor(u"HLD"_s);
    if (!database || !database->isConnected())
        throw data::DbError(u"As tabelas do Help (HLD e HLP) não estão em nenhum banco aberto."_s);
    return *database;
}

QString Topics() {
    return data::ResolveTableName(u"HLD"_s);
}

QString Keys() {
    return data::ResolveTableName(u"HLP"_s);
}

QString Pattern(const QString& word) {
    return u"%"_s + word + u"%"_s;
}

// The rows of a search statement: (topic, text, group) with group 1 for keys.
QList<HelpMatch> Matches(const QString& sql, const QString& word) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction, sql);
    if (select.parameterNames().contains(u"P_PESQ"_s)) select.bind(u"P_PESQ"_s, Pattern(word));
    select.open();
    QList<HelpMatch> matches;
    while (select.fetch()) {
        HelpMatch match;
        match.topic = int(select.value(0).toInt());
        match.text = select.value(1).toString();
        match.isKey = select.columnCount() > 2 && select.value(2).toInt() == 1;
        matches.append(match);
    }
    transaction.commit();
    return matches;
}

// The stored text of a topic: the rich text's bytes as the text column
// holds them (the connection speaks Windows-1252).
QString StoredText(const QByteArray& text) {
    QStringDecoder decode("windows-1252", QStringDecoder::Flag::Stateless);
    return decode(text);
}

QByteArray TextBytes(const QString& stored) {
    QStringEncoder encode("windows-1252", QStringEncoder::Flag::Stateless);
    return encode(stored);
}

int NextNumber(data::Connection& database, data::Transaction& transaction, const QString& table) {
    data::Statement max(database, transaction, u"SELECT MAX(SEQ) FROM "_s + table);
    max.open();
    const qint64 highest = max.fetch() ? max.value(0).toInt() : 0;
    max.close();
    return int(highest) + 1;
}

int InsertTopic(data::Connection& database, data::Transaction& transaction, const QString& title,
                const QByteArray& text) {
    const int number = NextNumber(database, transaction, Topics());
    data::Statement insert(database, transaction,
                           u"INSERT INTO "_s + Topics() +
                               u"\n(SEQ,TITULO,TEXTO)\nVALUES ( :P_SEQ, :P_TITULO, :P_TEXTO )"_s);
    insert.bind(u"P_SEQ"_s, number);
    insert.bind(u"P_TITULO"_s, title.left(TextLength));
    insert.bind(u"P_TEXTO"_s, StoredText(text));
    insert.execute();
    return number;
}

int InsertKey(data::Connection& database, data::Transaction& transaction, int topic,
              const QString& text) {
    const int number = NextNumber(database, transaction, Keys());
    data::Statement insert(database, transaction,
                           u"INSERT INTO "_s + Keys() +
                               u"\n(SEQ,SEQHLD,CHAVE)\nVALUES ( :P_SEQ, :P_SEQHLD, :P_CHAVE )"_s);
    insert.bind(u"P_SEQ"_s, number);
    insert.bind(u"P_SEQHLD"_s, topic);
    insert.bind(u"P_CHAVE"_s, text.left(TextLength));
    insert.execute();
    return number;
}

} // namespace

QList<HelpMatch> SearchHelp(const QString& word) {
    if (word.isEmpty()) return ListAllTopics();
    if (word.size() > TextLength) return {};
    return Matches(u"SELECT DISTINCT SEQHLD AS SEQHLD, CHAVE AS CHAVE, 1 AS AA FROM "_s + Keys() +
                       u" WHERE CHAVE LIKE CAST(:P_PESQ AS VARCHAR(210)) UNION SELECT DISTINCT SEQ "
                       u"AS SEQHLD, TITULO "
                       u"AS CHAVE, 2 AS AA FROM "_s +
                       Topics() +
                       u" WHERE TITULO LIKE CAST(:P_PESQ AS VARCHAR(210)) ORDER BY 3,2"_s,
                   word);
}

QList<HelpMatch> ListAllTopics() {
    return Matches(u"SELECT SEQ AS SEQHLD, TITULO AS CHAVE, 2 AS AA FROM "_s + Topics() +
                       u" ORDER BY 3,2"_s,
                   QString());
}

int FirstTopicMatching(const QString& word) {
    if (word.size() > TextLength) return 0;
    const QList<HelpMatch> matches =
        Matches(u"SELECT SEQHLD AS SEQHLD, CHAVE AS CHAVE FROM "_s + Keys() +
                    u" WHERE CHAVE LIKE CAST(:P_PESQ AS VARCHAR(210)) UNION SELECT SEQ AS SEQHLD, "
                    u"TITULO AS CHAVE "
                    u"FROM "_s +
                    Topics() + u" WHERE TITULO LIKE CAST(:P_PESQ AS VARCHAR(210)) ORDER BY 2"_s,
                word);
    return matches.isEmpty() ? 0 : matches.constFirst().topic;
}

QStringList WithRecentWord(QStringList words, const QString& word) {
    if (!words.isEmpty() && words.constFirst() == word) return words;
    qsizetype place = words.indexOf(word);
    if (place < 0) place = words.indexOf(QString());
    if (place >= 0) words.remove(place);
    words.prepend(word);
    return words;
}

std::optional<HelpTopic> LoadTopic(int number) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction,
                           u"SELECT TITULO, TEXTO FROM "_s + Topics() + u" WHERE SEQ = :P_SEQ"_s);
    select.bind(u"P_SEQ"_s, number);
    select.open();
    std::optional<HelpTopic> topic;
    if (select.fetch()) {
        topic =
            HelpTopic{number, select.value(0).toString(), TextBytes(select.value(1).toString())};
    }
    select.close();
    transaction.commit();
    return topic;
}

int SaveTopic(int number, const QString& title, const QByteArray& text) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database);
    if (number > 0) {
        data::Statement update(database, transaction,
                               u"UPDATE "_s + Topics() +
                                   u"\nSET TITULO    = :P_TITULO\n  , TEXTO     = :P_TEXTO\n"
                                   u"WHERE SEQ = :P_SEQ"_s);
        update.bind(u"P_TITULO"_s, title.left(TextLength));
        update.bind(u"P_TEXTO"_s, StoredText(text));
        update.bind(u"P_SEQ"_s, number);
        update.execute();
        // Deleted meanwhile (another station): saying "saved" would lose the
        // text.
        if (update.affectedRows() == 0)
            throw data::DbError(u"O tópico %1 não existe mais no banco de dados."_s.arg(number));
    } else {
        number = InsertTopic(database, transaction, title, text);
    }
    transaction.commit();
    return number;
}

int AddTopic(const QString& title, const QByteArray& text, const QStringList& keys) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database);
    const int number = InsertTopic(database, transaction, title, text);
    for (const QString& key : keys)
        InsertKey(database, transaction, number, key);
    transaction.commit();
    return number;
}

void DeleteTopic(int number) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database);
    data::Statement keys(database, transaction,
                         u"DELETE FROM "_s + Keys() + u" WHERE SEQHLD = :P_SEQ"_s);
    keys.bind(u"P_SEQ"_s, number);
    keys.execute();
    data::Statement topic(database, transaction,
                          u"DELETE FROM "_s + Topics() + u" WHERE SEQ = :P_SEQ"_s);
    topic.bind(u"P_SEQ"_s, number);
    topic.execute();
    transaction.commit();
    const QString seq = QString::number(number);
    data::AuditLog(u"HLP"_s, u"EXCLUSAO: SEQHLD = '"_s + seq + u"' - "_s);
    data::AuditLog(u"HLD"_s, u"EXCLUSAO: SEQ = '"_s + seq + u"' - "_s);
}

QList<HelpKey> KeysOfTopic(int topic) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction,
                           u"SELECT CHAVE, SEQ, SEQHLD FROM "_s + Keys() +
                               u" WHERE SEQHLD = :P_SEQHLD ORDER BY SEQ"_s);
    select.bind(u"P_SEQHLD"_s, topic);
    select.open();
    QList<HelpKey> keys;
    while (select.fetch())
        keys.append({int(select.value(1).toInt()), int(select.value(2).toInt()),
                     select.value(0).toString()});
    transaction.commit();
    return keys;
}

std::optional<HelpKey> LoadKey(int number) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction,
                           u"SELECT CHAVE, SEQ, SEQHLD FROM "_s + Keys() +
                               u" WHERE SEQ = :P_SEQ"_s);
    select.bind(u"P_SEQ"_s, number);
    select.open();
    std::optional<HelpKey> key;
    if (select.fetch())
        key = HelpKey{int(select.value(1).toInt()), int(select.value(2).toInt()),
                      select.value(0).toString()};
    select.close();
    transaction.commit();
    return key;
}

int SaveKey(int topic, int number, const QString& text) {
    if (topic <= 0 || text.trimmed().isEmpty()) return 0;
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database);
    if (number > 0) {
        data::Statement update(database, transaction,
                               u"UPDATE "_s + Keys() +
                                   u"\nSET CHAVE    = :P_CHAVE\nWHERE SEQ = :P_SEQ"_s);
        update.bind(u"P_CHAVE"_s, text.left(TextLength));
        update.bind(u"P_SEQ"_s, number);
        update.execute();
        if (update.affectedRows() == 0)
            throw data::DbError(u"A chave %1 não existe mais no banco de dados."_s.arg(number));
    } else {
        // A topic deleted meanwhile (another station) gets no key.
        data::Statement exists(database, transaction,
                               u"SELECT COUNT(*) FROM "_s + Topics() + u" WHERE SEQ = :P_SEQ"_s);
        exists.bind(u"P_SEQ"_s, topic);
        exists.open();
        const bool found = exists.fetch() && exists.value(0).toInt() > 0;
        exists.close();
        if (!found)
            throw data::DbError(u"O tópico %1 não existe mais no banco de dados."_s.arg(topic));
        number = InsertKey(database, transaction, topic, text);
    }
    transaction.commit();
    return number;
}

void DeleteKey(int number) {
    data::Connection& database = HelpDatabase();
    data::Transaction transaction(database);
    data::Statement remove(database, transaction,
                           u"DELETE FROM "_s + Keys() + u" WHERE SEQ = :P_SEQ"_s);
    remove.bind(u"P_SEQ"_s, number);
    remove.execute();
    transaction.commit();
    data::AuditLog(u"HLP"_s, u"EXCLUSAO: SEQ = '"_s + QString::number(number) + u"' - "_s);
}

QString TopicPlainText(const QByteArray& text) {
    if (!platform::IsRtf(text)) return StoredText(text);
    QTextDocument document;
    platform::RtfToDocument(text, document);
    return document.toPlainText();
}

std::optional<TextHit> FindInLines(const QStringList& lines, int fromLine, const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const QString wanted = text.toUpper();
    for (int line = qMax(0, fromLine + 1); line < lines.size(); ++line) {
        const qsizetype position = lines[line].toUpper().indexOf(wanted);
        if (position >= 0) return TextHit{line, int(position)};
    }
    return std::nullopt;
}

} // namespace livrax::tools
