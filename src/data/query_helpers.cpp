#include "data/query_helpers.h"

#include "data/data_module.h"
#include "data/queries.h"

namespace livrax::data {

qint64 CountRows(const QString& table, const QString& where, Connection* database) {
    qint64 count = 0;
    if (RunSelect(Slot::T_CONY, table, QStringLiteral("COUNT(*) AS CONTA"), where, QString(),
                  database))
        count = DataModule().slot(Slot::T_CONY).value(QStringLiteral("CONTA")).toInt();
    CloseSlot(Slot::T_CONY);
    return count;
}

QString MaxOf(const QString& table, const QString& field, const QString& where) {
    if (field.isEmpty()) return {};
    QString condition = where;
    if (condition.left(6).compare(QStringLiteral("WHERE "), Qt::CaseInsensitive) == 0)
        condition = condition.mid(6);
    const QString first = field.section(u',', 0, 0);
    QString result;
    if (RunSelect(Slot::T_CONW, table, QStringLiteral("MAX(") + first + QStringLiteral(") AS RETORNO"),
                  condition))
        result = DataModule().slot(Slot::T_CONW).value(QStringLiteral("RETORNO")).toString();
    CloseSlot(Slot::T_CONW);
    return result;
}

} // namespace livrax::data
