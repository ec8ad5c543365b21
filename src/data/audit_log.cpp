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
} // namespace

bool AuditLog(const QString& table, const QString& text) {
    if (Globals().system.logSwitch == u"N"_s || !DatabaseFor(u"LOG"_s)) return true;
    // The next number is taken from the log the row goes to (database 1), even
    // when another database also has a log table.
    int sequence = 0;
    if (RunSelect(Slot::T_CONW, u"VRTNLOG"_s, u"MAX(LOG_SEQ) AS RETORNO"_s, QString(), QString(),
                  B_DIR(1)))
        sequence = ToInt(DataModule().slot(Slot::T_CONW).value(u"RETORNO"_s).toString());
    CloseSlot(Slot::T_CONW);
    DataSlot& slot = DataModule().slot(Slot::T_SQLZ);
    bool written = false;
    try {
        slot.bind(B_DIR(1));
        slot.startTransaction();
        slot.setSql(
            u"INSERT INTO VRTNLOG (LOG_SEQ,LOG_USUARIO,LOG_DATA,LOG_HORA,LOG_TABELA,LOG_OBS,"
            "LOG_BASE)\nVALUES(:P_LOG_SEQ,:P_LOG_USUARIO,:P_LOG_DATA,:P_LOG_HORA,:P_LOG_TABELA,"
            ":P_LOG_OBS,:P_LOG_BASE)"_s);
        Statement& insert = slot.prepare();
        const QDateTime now = platform::Clock::now();
        insert.bind(u"P_LOG_SEQ"_s, sequence + 1);
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
    try {
        slot.commit();
    } catch (const DbError&) {
        slot.rollback();
    }
    return written;
}

} // namespace livrax::data
