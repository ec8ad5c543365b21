#pragma once
// The help texts without windows: topics (table HLD: SEQ, TITULO and the
// rich text TEXTO) and the search keys that point at them (table HLP: SEQ,
// SEQHLD the topic, CHAVE). Both tables live in the database DatabaseFor
// gives for their codes. Every value reaches the database as a statement
// parameter; the functions that change rows do it in one transaction and
// throw data::DbError when the database refuses, with nothing changed.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace livrax::tools {

// One row of a search: a key (CHAVE) or a topic's title, and the topic it
// leads to.
struct HelpMatch {
    int topic = 0; // SEQHLD of a key, SEQ of a title
    QString text;  // CHAVE or TITULO
    bool isKey = false;
    bool operator==(const HelpMatch&) const = default;
};

// The keys containing `word`, then the titles containing it, each group
// ordered by its text (letter case counts, as in the database's LIKE). An
// empty word lists every title.
QList<HelpMatch> SearchHelp(const QString& word);
// Every topic's title, ordered by title.
QList<HelpMatch> ListAllTopics();
// The editor's search: keys and titles containing `word`, ordered by their
// text together; the topic of the first, or 0 when none matches.
int FirstTopicMatching(const QString& word);

// The recent-words list after a search for `word` found rows: the word at
// the top, the entries above its old place (or all, when it was not there)
// one place down.
QStringList WithRecentWord(QStringList words, const QString& word);

struct HelpTopic {
    int number = 0;
    QString title;
    QByteArray text; // the rich text as stored
};

// The topic `number`; none when there is no such topic.
std::optional<HelpTopic> LoadTopic(int number);
// Saves the topic: a number above 0 changes that topic, 0 adds a new one
// with the highest number plus one. Returns the topic's number.
int SaveTopic(int number, const QString& title, const QByteArray& text);
// Adds a new topic and its keys together (a topic brought from another
// installation): nothing is stored when any row is refused. Returns the
// topic's number.
int AddTopic(const QString& title, const QByteArray& text, const QStringList& keys);
// Deletes the topic and every key that points at it, together; the deletion
// is written to the audit log once done.
void DeleteTopic(int number);

struct HelpKey {
    int number = 0; // SEQ
    int topic = 0;  // SEQHLD
    QString text;   // CHAVE
    bool operator==(const HelpKey&) const = default;
};

// The keys of a topic, in key-number order.
QList<HelpKey> KeysOfTopic(int topic);
// The key `number`; none when there is no such key.
std::optional<HelpKey> LoadKey(int number);
// Saves a key of `topic`: a key number above 0 changes that key's text, 0
// adds a new key with the highest number plus one. Returns the key's number,
// or 0 without asking the database for a topic not saved yet (0) or a blank
// text: no key may point at a topic that does not exist (a topic deleted
// meanwhile throws DbError).
int SaveKey(int topic, int number, const QString& text);
// Deletes one key; written to the audit log.
void DeleteKey(int number);

// The stored text of a topic as plain text (for the command line and the
// e-mail message): rich text read through the RTF reader, anything else
// as it is.
QString TopicPlainText(const QByteArray& text);

// "Procurar no Texto": the first line after `fromLine` whose upper-case
// text holds the upper-case `text`, and where; none when no later line does.
struct TextHit {
    int line = 0;
    int position = 0;
    bool operator==(const TextHit&) const = default;
};
std::optional<TextHit> FindInLines(const QStringList& lines, int fromLine, const QString& text);

} // namespace livrax::tools
