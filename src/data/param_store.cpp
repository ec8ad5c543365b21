#include "data/param_store.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"

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

bool ParamRead(Connection* connection, const QString& key, int count) {
    const int span = ParamLineSpan(count);
    ParamLineArray& lines = ParamLines();
    lines.clear(span);
    if (!connection || (connection->path().isEmpty() && !connection->isConnected())) return false;

    const bool wasOpen = connection->isConnected();
    if (!wasOpen) {
        try {
            connection->open();
        } catch (const DbError&) {
            return false;
        }
    }

    const bool found =
        RunSelect(Slot::T_CONY, Table, u"SELECT * FROM VRTNPAR WHERE CHAVE = "_s + Quote(key),
                  QString(), QString(), connection);
    if (found) {
        DataSlot& slot = DataModule().slot(Slot::T_CONY);
        try {
            const QString text = slot.value(u"TEXTO"_s).toString();
            for (const ParamTextLine& line : ParseParamText(text, span))
                lines.setLine(line.number, line.text);
        } catch (const DbError&) {
            slot.rollback();
        }
    }
    CloseSlot(Slot::T_CONY);

    // The slot's transaction has ended, so nothing is left on the attachment
    // we opened.
    if (!wasOpen) connection->close();
    return found;
}

bool ParamWrite(Connection* connection, const QString& key, int count, const QString& title) {
    if (!connection || !connection->isConnected()) return false;

    const int span = ParamLineSpan(count);
    ParamLineArray& lines = ParamLines();
    for (int n = 1; n <= span; ++n)
        if (lines.line(n).trimmed() == u'#') lines.setLine(n, QString());
    const QString text = FormatParamText(lines.lines(span));

    const bool withTitle = !title.isEmpty();
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.bind(connection);
        if (slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        // Whether the key exists is asked in the transaction that writes it,
        // so the answer is the latest committed one (not a report's moment).
        slot.setSql(u"SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE = :PWCHAVE"_s);
        Statement& count = slot.prepare();
        count.bind(u"PWCHAVE"_s, key);
        count.open();
        const bool exists = count.fetch() && count.value(0).toInt() > 0;
        count.close();
        if (!exists) {
            slot.setSql(u"INSERT INTO VRTNPAR (CHAVE,TEXTO"_s +
                        (withTitle ? u",CAMPO"_s : QString()) + u") VALUES (:PWCHAVE,:PWTEXTO"_s +
                        (withTitle ? u",:PWTITULO"_s : QString()) + u')');
            Statement& insert = slot.prepare();
            insert.bind(u"PWCHAVE"_s, key);
            insert.bind(u"PWTEXTO"_s, text);
            if (withTitle) insert.bind(u"PWTITULO"_s, title.left(NewKeyTitleWidth));
            insert.execute();
        } else {
            slot.setSql(u"UPDATE VRTNPAR\nSET TEXTO = :WTEXTO\n"_s +
                        (withTitle ? u",    CAMPO = :PWTITULO\n"_s : QString()) +
                        u"WHERE CHAVE = :PWCHAVE"_s);
            Statement& update = slot.prepare();
            update.bind(u"WTEXTO"_s, text);
            if (withTitle) update.bind(u"PWTITULO"_s, title.left(TitleColumnWidth));
            update.bind(u"PWCHAVE"_s, key);
            update.execute();
        }
        slot.commit();
        return true;
    } catch (const DbError&) {
        // A record another station holds fails here after the lock timeout.
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
