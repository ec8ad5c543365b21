#include "data/param_store.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/statement.h"
#include "data/transaction.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// VRTNPAR.CAMPO holds 100 characters; a longer title would make the whole
// write fail, losing the lines with it.
constexpr int TitleColumnWidth = 100;
// A new key keeps the first 60 characters of its title.
constexpr int NewKeyTitleWidth = 60;

const QString Table = u"VRTNPAR"_s;

} // namespace

Connection* ParamDatabase() {
    return B_DIR(5);
}

QString ParamLineArray::line(int n) const {
    return n >= 1 && n <= Size ? m_lines[std::size_t(n - 1)] : QString();
}

void ParamLineArray::setLine(int n, const QString& text) {
    if (n >= 1 && n <= Size) m_lines[std::size_t(n - 1)] = text;
}

void ParamLineArray::clear(int count) {
    const int span = ParamLineSpan(count);
    for (int n = 0; n < span; ++n)
        m_lines[std::size_t(n)].clear();
}

QStringList ParamLineArray::lines(int count) const {
    const int span = ParamLineSpan(count);
    QStringList result;
    result.reserve(span);
    for (int n = 0; n < span; ++n)
        result.append(m_lines[std::size_t(n)]);
    return result;
}

ParamLineArray& ParamLines() {
    static ParamLineArray lines;
    return lines;
}

namespace {

// The read ParamRead and ParamReadChecked share: whether the key was found,
// and whether the database, the query or the key's text failed.
struct ParamReadOutcome {
    bool found = false;
    bool failed = false;
};

ParamReadOutcome ReadParamLines(Connection* connection, const QString& key, int span) {
    ParamLineArray& lines = ParamLines();
    lines.clear(span);
    if (!connection || (connection->path().isEmpty() && !connection->isConnected()))
        return {false, true};

    const bool wasOpen = connection->isConnected();
    if (!wasOpen) {
        try {
            connection->open();
        } catch (const DbError&) {
            return {false, true};
        }
    }

    ParamReadOutcome outcome;
    outcome.found =
        RunSelect(Slot::T_CONY, Table, u"SELECT * FROM VRTNPAR WHERE CHAVE = "_s + Quote(key),
                  QString(), QString(), connection);
    DataSlot& slot = DataModule().slot(Slot::T_CONY);
    // A query that ran is left open, with or without a row; a failed one
    // was rolled back.
    outcome.failed = !outcome.found && !slot.isOpen();
    if (outcome.found) {
        try {
            const QString text = slot.value(u"TEXTO"_s).toString();
            for (const ParamTextLine& line : ParseParamText(text, span))
                lines.setLine(line.number, line.text);
        } catch (const DbError&) {
            slot.rollback();
            outcome.failed = true;
        }
    }
    CloseSlot(Slot::T_CONY);

    // The slot's transaction has ended, so nothing is left on the attachment
    // we opened.
    if (!wasOpen) connection->close();
    return outcome;
}

} // namespace

bool ParamRead(Connection* connection, const QString& key, int count) {
    return ReadParamLines(connection, key, ParamLineSpan(count)).found;
}

ParamReadResult ParamReadChecked(Connection* connection, const QString& key, int count) {
    const int span = ParamLineSpan(count);
    const ParamReadOutcome outcome = ReadParamLines(connection, key, span);
    if (outcome.failed) {
        ParamLines().clear(span);
        return ParamReadResult::Failed;
    }
    return outcome.found ? ParamReadResult::Found : ParamReadResult::Missing;
}

namespace {

// Lines 1..count of ParamLines as the TEXTO of a key; "#" lines are cleared
// in ParamLines too.
QString TextToWrite(int count) {
    const int span = ParamLineSpan(count);
    ParamLineArray& lines = ParamLines();
    for (int n = 1; n <= span; ++n)
        if (lines.line(n).trimmed() == u'#') lines.setLine(n, QString());
    return FormatParamText(lines.lines(span));
}

// Inserts or updates the key in `transaction`. Whether the key exists is
// asked in the transaction that writes it, so the answer is the latest
// committed one (not a report's moment). Throws DbError.
void StoreKey(Transaction& transaction, const QString& key, const QString& text,
              const QString& title) {
    Connection& connection = *transaction.connection();
    const bool withTitle = !title.isEmpty();
    Statement count(connection, transaction,
                    u"SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE = :PWCHAVE"_s);
    count.bind(u"PWCHAVE"_s, key);
    count.open();
    const bool exists = count.fetch() && count.value(0).toInt() > 0;
    count.close();
    if (!exists) {
        Statement insert(connection, transaction,
                         u"INSERT INTO VRTNPAR (CHAVE,TEXTO"_s +
                             (withTitle ? u",CAMPO"_s : QString()) +
                             u") VALUES (:PWCHAVE,:PWTEXTO"_s +
                             (withTitle ? u",:PWTITULO"_s : QString()) + u')');
        insert.bind(u"PWCHAVE"_s, key);
        insert.bind(u"PWTEXTO"_s, text);
        if (withTitle) insert.bind(u"PWTITULO"_s, title.left(NewKeyTitleWidth));
        insert.execute();
    } else {
        Statement update(connection, transaction,
                         u"UPDATE VRTNPAR\nSET TEXTO = :WTEXTO\n"_s +
                             (withTitle ? u",    CAMPO = :PWTITULO\n"_s : QString()) +
                             u"WHERE CHAVE = :PWCHAVE"_s);
        update.bind(u"WTEXTO"_s, text);
        if (withTitle) update.bind(u"PWTITULO"_s, title.left(TitleColumnWidth));
        update.bind(u"PWCHAVE"_s, key);
        update.execute();
    }
}

} // namespace

bool ParamWrite(Connection* connection, const QString& key, int count, const QString& title) {
    if (!connection || !connection->isConnected()) return false;

    const QString text = TextToWrite(count);
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.bind(connection);
        if (slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        StoreKey(slot.transaction(), key, text, title);
        slot.commit();
        return true;
    } catch (const DbError&) {
        // A record another station holds fails here after the lock timeout.
        slot.rollback();
        return false;
    }
}

bool ParamWrite(Transaction& transaction, const QString& key, int count, const QString& title) {
    if (!transaction.isActive() || transaction.mode() != TransactionMode::ReadWrite) return false;
    const QString text = TextToWrite(count);
    try {
        StoreKey(transaction, key, text, title);
        return true;
    } catch (const DbError&) {
        return false;
    }
}

} // namespace livrax::data
