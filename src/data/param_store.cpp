#include "data/param_store.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"

namespace livrax::data {

namespace {

// VRTNPAR.CAMPO holds 100 characters; a longer title would make the whole
// write fail, losing the lines with it.
constexpr int kTitleColumnWidth = 100;
// A new key keeps the first 60 characters of its title.
constexpr int kNewKeyTitleWidth = 60;

const QString kTable = QStringLiteral("VRTNPAR");

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

    const bool found = RunSelect(
        Slot::T_CONY, kTable, QStringLiteral("SELECT * FROM VRTNPAR WHERE CHAVE = ") + Quote(key),
        QString(), QString(), connection);
    if (found) {
        DataSlot& slot = DataModule().slot(Slot::T_CONY);
        try {
            const QString text = slot.value(QStringLiteral("TEXTO")).toString();
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

    const bool exists =
        RunSelect(Slot::T_CONY, kTable,
                  QStringLiteral("SELECT CHAVE FROM VRTNPAR WHERE CHAVE = ") + Quote(key),
                  QString(), QString(), connection);
    CloseSlot(Slot::T_CONY);

    const bool withTitle = !title.isEmpty();
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.bind(connection);
        if (slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        if (!exists) {
            slot.setSql(QStringLiteral("INSERT INTO VRTNPAR (CHAVE,TEXTO") +
                        (withTitle ? QStringLiteral(",CAMPO") : QString()) +
                        QStringLiteral(") VALUES (:PWCHAVE,:PWTEXTO") +
                        (withTitle ? QStringLiteral(",:PWTITULO") : QString()) + u')');
            Statement& insert = slot.prepare();
            insert.bind(QStringLiteral("PWCHAVE"), key);
            insert.bind(QStringLiteral("PWTEXTO"), text);
            if (withTitle) insert.bind(QStringLiteral("PWTITULO"), title.left(kNewKeyTitleWidth));
            insert.execute();
        } else {
            slot.setSql(QStringLiteral("UPDATE VRTNPAR\nSET TEXTO = :WTEXTO\n") +
                        (withTitle ? QStringLiteral(",    CAMPO = :PWTITULO\n") : QString()) +
                        QStringLiteral("WHERE CHAVE = :PWCHAVE"));
            Statement& update = slot.prepare();
            update.bind(QStringLiteral("WTEXTO"), text);
            if (withTitle) update.bind(QStringLiteral("PWTITULO"), title.left(kTitleColumnWidth));
            update.bind(QStringLiteral("PWCHAVE"), key);
            update.execute();
        }
        slot.commit();
        return true;
    } catch (const DbError&) {
        DataModule().slot(Slot::T_CONY).rollback();
        slot.rollback();
        return false;
    }
}

} // namespace livrax::data
