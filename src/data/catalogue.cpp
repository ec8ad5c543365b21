#include "data/catalogue.h"

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/query_helpers.h"
#include "data/routing.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

QStringList ListTables(const QString& pattern, Connection* database) {
    if (!database) return {};
    const QString sql = pattern.isEmpty()
                            ? u"SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS "
                              "NULL AND RDB$RELATION_NAME NOT LIKE 'RDB$%'"_s
                            : u"SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS "
                              "NULL  AND UPPER(RDB$RELATION_NAME) LIKE "_s +
                                  Quote(pattern);
    QStringList names;
    if (RunSelect(Slot::T_CONW, QString(), sql + u" ORDER BY RDB$RELATION_NAME"_s, QString(),
                  QString(), database)) {
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
    Connection* database = DatabaseFor(u"ARQ"_s);
    if (!database) return;
    if (RunSelect(Slot::T_CONY, u"VRTNARQ"_s, u"*"_s, u"ANOME"_s, QString(), database, code)) {
        if (sequence.isEmpty()) {
            sequence = DataModule().slot(Slot::T_CONY).value(u"ASEQ"_s).toString().trimmed();
            if (sequence.isEmpty()) sequence = MaxOf(u"VRTNARQ"_s, u"ASEQ"_s);
        }
        CloseSlot(Slot::T_CONY);
        ExecStatement(u"VRTNARQ"_s,
                      u"UPDATE VRTNARQ\nSET ANOME       = "_s + Quote(code) +
                          u"\n   ,AARQUIVO    = "_s + Quote(name) + u"\n   ,ASEQ        = "_s +
                          Quote(sequence) + u"\n   ,ADESCRICAO  = "_s + Quote(text) +
                          u"\nWHERE ANOME = "_s + Quote(code),
                      database);
        return;
    }
    CloseSlot(Slot::T_CONY);
    if (sequence.isEmpty()) sequence = MaxOf(u"VRTNARQ"_s, u"ASEQ"_s);
    if (!PrepareStatement(u"VRTNARQ"_s, database)) return;
    DataSlot& slot = DataModule().slot(Slot::T_SQL);
    try {
        slot.setSql(u"INSERT INTO VRTNARQ(ANOME,AARQUIVO,ASEQ,ADESCRICAO)\n"
                    "VALUES (:PNOME,:PARQUIVO,:PSEQ,:PDESCRICAO)"_s);
        Statement& insert = slot.prepare();
        insert.bind(u"PNOME"_s, code);
        insert.bind(u"PARQUIVO"_s, name);
        insert.bind(u"PSEQ"_s, sequence);
        insert.bind(u"PDESCRICAO"_s, text);
        insert.execute();
        slot.commit();
    } catch (const DbError&) {
        slot.rollback();
    }
}

} // namespace livrax::data
