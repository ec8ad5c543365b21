#include "expr/database_lookup.h"

#include "data/data_module.h"
#include "data/globals.h"
#include "data/metadata.h"
#include "data/queries.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

// The columns of one row, copied out of the slot.
class CopiedRow : public ExpressionRow {
  public:
    explicit CopiedRow(const data::DataSlot& slot) {
        for (int i = 0; i < slot.fieldCount(); ++i)
            m_columns.insert(slot.fieldName(i), slot.value(i).toString());
    }
    std::optional<QString> field(const QString& name) const override {
        const auto it = m_columns.constFind(name);
        return it == m_columns.constEnd() ? std::nullopt : std::optional<QString>(*it);
    }

  private:
    QHash<QString, QString> m_columns;
};

bool ListHolds(int database, const QString& table) {
    QString list = data::Globals().tableLists[std::size_t(database)];
    if (!list.endsWith(u',')) list += u',';
    return (u',' + list).contains(u',' + table + u',');
}

} // namespace

QStringList DatabaseLookup::primaryKey(const QString& table) const {
    return data::ListPrimaryKey(nullptr, table);
}

std::unique_ptr<ExpressionRow>
DatabaseLookup::selectFirst(const QString& table, const QString& fields, const QString& keyField,
                            const QString& keyValue, const QString& filter) const {
    const QString narrowing = filter.trimmed().isEmpty() ? QString() : u'(' + filter + u')';
    if (!data::RunSelectAnd(table, fields, keyField, narrowing, {}, nullptr, keyValue))
        return nullptr;
    data::DataSlot& slot = data::DataModule().slot(data::Slot::T_CONX);
    auto row = std::make_unique<CopiedRow>(slot);
    data::CloseSlot(data::Slot::T_CONX);
    return row;
}

int TableDatabaseNumber(const QString& table, int n) {
    if (n >= 1 && n <= 5) return ListHolds(n, table) ? n : 0;
    if (n != 0) return 0;
    for (int database : {5, 4, 3, 2, 1}) {
        if (ListHolds(database, table)) return database;
    }
    return 0;
}

} // namespace livrax::expr
