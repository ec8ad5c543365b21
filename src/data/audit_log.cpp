#include "data/audit_log.h"

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/routing.h"
#include "platform/clock.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {
// The file name of a database path, local ("C:\DADOS\ERP.FDB") or on a
// server ("host:/dados/erp.fdb").
QString FileNameOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return cut < 0 ? path.section(u':', -1) : path.mid(cut + 1);
}

// The log's own number generator, created with the schema. Each call takes a
// new number, outside any transaction, so stations writing at the same time
// never get the same one.
const QString LogSequence = u"VRTNLOG_SEQ"_s;

// The value of the first column of a one-row query run in the slot's
// transaction; 0 when there is no row or the value is null.
qint64 FirstValue(DataSlot& slot, const QString& sql) {
    slot.setSql(sql);
    Statement& select = slot.prepare();
    select.open();
    const qint64 value = select.fetch() ? select.value(0).toInt() : 0;
    select.close();
    return value;
}

// The number of the next row of the log. A database made before the log had
// its generator numbers the row one above the highest present, read in the
// writing transaction; two stations may then still get the same number.
qint64 NextLogSequence(DataSlot& slot) {
    const bool hasSequence =
        FirstValue(slot, u"SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = '"_s +
                             LogSequence + u'\'') > 0;
    if (hasSequence)
        return FirstValue(slot,
                          u"SELECT NEXT VALUE FOR "_s + LogSequence + u" FROM RDB$DATABASE"_s);
    return FirstValue(slot, u"SELECT MAX(LOG_SEQ) FROM VRTNLOG"_s) + 1;
}

} // namespace

bool AuditLog(const QString& table, const QString& text) {
    if (Globals().system.logSwitch == u"N"_s || !DatabaseFor(u"LOG"_s)) return true;
    // The row goes to the log of database 1, even when another database also
    // has a log table; its number comes from that database too.
    DataSlot& slot = DataModule().slot(Slot::T_SQLZ);
    bool written = false;
    try {
        slot.bind(B_DIR(1));
        if (slot.transaction().isActive()) slot.commit();
        slot.startTransaction();
        const qint64 sequence = NextLogSequence(slot);
        slot.setSql(
            u"INSERT INTO VRTNLOG (LOG_SEQ,LOG_USUARIO,LOG_DATA,LOG_HORA,LOG_TABELA,LOG_OBS,"
            "LOG_BASE)\nVALUES(:P_LOG_SEQ,:P_LOG_USUARIO,:P_LOG_DATA,:P_LOG_HORA,:P_LOG_TABELA,"
            ":P_LOG_OBS,:P_LOG_BASE)"_s);
        Statement& insert = slot.prepare();
        const QDateTime now = platform::Clock::now();
        insert.bind(u"P_LOG_SEQ"_s, sequence);
        insert.bind(u"P_LOG_USUARIO"_s, Globals().user.name.left(20));
        insert.bind(u"P_LOG_DATA"_s, now.date());
        insert.bind(u"P_LOG_HORA"_s, now.time().toString(u"hh:mm:ss"_s));
        insert.bind(u"P_LOG_TABELA"_s, ResolveTableName(table).left(10));
        insert.bind(u"P_LOG_OBS"_s, text.left(200));
        insert.bind(u"P_LOG_BASE"_s, FileNameOf(B_DIR(5)->path()).left(30));
        insert.execute();
        slot.commit();
        written = true;
    } catch (const DbError&) {
        slot.rollback();
    }
    return written;
}

} // namespace livrax::data
