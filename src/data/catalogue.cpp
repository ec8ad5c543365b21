#include "data/catalogue.h"

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "data/routing.h"

namespace livrax::data {

QStringList ListTables(const QString& pattern, Connection* database) {
    if (!database) return {};
    const QString sql =
        pattern.isEmpty()
            ? QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS "
                             "NULL AND RDB$RELATION_NAME NOT LIKE 'RDB$%'")
            : QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS "
                             "NULL  AND UPPER(RDB$RELATION_NAME) LIKE ") +
                  Quote(pattern);
    QStringList names;
    if (RunSelect(Slot::T_CONW, QString(), sql + QStringLiteral(" ORDER BY RDB$RELATION_NAME"),
                  QString(), QString(), database)) {
        DataSlot& slot = DataModule().slot(Slot::T_CONW);
        try {
            do {
                names.append(slot.value(0).toString().trimmed());
            } while (slot.next());
        } catch (const DbError&) {
            slot.rollback();
        }
    }
    CloseSlot(Slot::T_CONW);
    return names;
}

bool TableExists(const QString& table, Connection* database) {
    const QString name = ResolveTableName(table);
    return !ListTables(name + u'%', database ? database : DatabaseFor(table)).isEmpty();
}

void CatalogUpdate(const QString& table, const QString& description, const QString& seq) {
    const QString name = ResolveTableName(table).toUpper();
    const QString code = name.mid(4, 3);
    const QString text = description.left(40).toUpper();
    QString sequence = seq;
    Connection* database = DatabaseFor(QStringLiteral("ARQ"));
    if (!database) return;
    if (RunSelect(Slot::T_CONY, QStringLiteral("VRTNARQ"), QStringLiteral("*"),
                  QStringLiteral("ANOME"), QString(), database, code)) {
        if (sequence.isEmpty()) {
            sequence = DataModule().slot(Slot::T_CONY).value(QStringLiteral("ASEQ")).toString().trimmed();
            if (sequence.isEmpty()) sequence = MaxOf(QStringLiteral("VRTNARQ"), QStringLiteral("ASEQ"));
        }
        CloseSlot(Slot::T_CONY);
        ExecStatement(QStringLiteral("VRTNARQ"),
                      QStringLiteral("UPDATE VRTNARQ\nSET ANOME       = ") + Quote(code) +
                          QStringLiteral("\n   ,AARQUIVO    = ") + Quote(name) +
                          QStringLiteral("\n   ,ASEQ        = ") + Quote(sequence) +
                          QStringLiteral("\n   ,ADESCRICAO  = ") + Quote(text) +
                          QStringLiteral("\nWHERE ANOME = ") + Quote(code),
                      database);
        return;
    }
    CloseSlot(Slot::T_CONY);
    if (sequence.isEmpty()) sequence = MaxOf(QStringLiteral("VRTNARQ"), QStringLiteral("ASEQ"));
    if (!PrepareStatement(QStringLiteral("VRTNARQ"), database)) return;
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.setSql(QStringLiteral("INSERT INTO VRTNARQ(ANOME,AARQUIVO,ASEQ,ADESCRICAO)\n"
                                   "VALUES (:PNOME,:PARQUIVO,:PSEQ,:PDESCRICAO)"));
        Statement& insert = slot.prepare();
        insert.bind(QStringLiteral("PNOME"), code);
        insert.bind(QStringLiteral("PARQUIVO"), name);
        insert.bind(QStringLiteral("PSEQ"), sequence);
        insert.bind(QStringLiteral("PDESCRICAO"), text);
        insert.execute();
        slot.commit();
    } catch (const DbError&) {
        slot.rollback();
    }
}

} // namespace livrax::data
