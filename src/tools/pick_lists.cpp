#include "tools/pick_lists.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/metadata.h"
#include "data/queries.h"

#include <QComboBox>
#include <QListWidget>

#include <functional>

namespace livrax::tools {

using namespace Qt::StringLiterals;
using data::Slot;

namespace {

using ColumnsOf = std::function<QStringList(const QString& code)>;

// The columns of each non-blank table, each behind the table's "X." prefix
// when it has one, sorted.
QStringList PrefixedColumns(const QString& firstTable, const QString& secondTable,
                            const ColumnsOf& columnsOf) {
    QStringList names;
    if (firstTable.trimmed().isEmpty()) return names;
    for (const QString& table : {firstTable, secondTable}) {
        const QString trimmed = table.trimmed();
        if (trimmed.isEmpty()) continue;
        const bool prefixed = trimmed.size() > 2 && trimmed[1] == u'.';
        const QString prefix = prefixed ? trimmed.left(2) : QString();
        for (const QString& column : columnsOf(prefixed ? trimmed.mid(2) : trimmed))
            names.append(prefix + column);
    }
    names.sort();
    return names;
}

// Every column of the table as a query returns them, whether or not it has rows.
QStringList AllColumns(const QString& code) {
    QStringList columns;
    data::RunSelect(Slot::T_CONW, code, u"FIRST 1 *"_s, QString());
    const data::DataSlot& slot = data::DataModule().slot(Slot::T_CONW);
    if (slot.isOpen())
        for (int i = 0; i < slot.fieldCount(); ++i)
            columns.append(slot.fieldName(i).trimmed());
    data::CloseSlot(Slot::T_CONW);
    return columns;
}

QStringList DateColumns(const QString& code) {
    return data::ListDateFields(code);
}

void ReplaceItemsKeepingText(QComboBox* combo, const QStringList& items) {
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(items);
    combo->setCurrentText(text);
}

} // namespace

QStringList TableFieldNames(const QString& firstTable, const QString& secondTable) {
    return PrefixedColumns(firstTable, secondTable, AllColumns);
}

QStringList TableDateFieldNames(const QString& firstTable, const QString& secondTable) {
    return PrefixedColumns(firstTable, secondTable, DateColumns);
}

QStringList CatalogEntries() {
    QStringList entries{QString()};
    data::DataSlot& slot = data::DataModule().slot(Slot::T_CONX);
    if (data::RunSelect(Slot::T_CONX, u"VRTNARQ"_s, u"SELECT * FROM VRTNARQ ORDER BY ANOME"_s,
                        QString())) {
        try {
            for (; !slot.eof(); slot.next()) {
                const QString entry = (slot.value(u"ANOME"_s).toString() + u" - "_s +
                                       slot.value(u"ADESCRICAO"_s).toString())
                                          .trimmed();
                if (!entry.isEmpty()) entries.append(entry);
            }
        } catch (const data::DbError&) {
            slot.rollback(); // the rows read so far are listed
        }
    }
    data::CloseSlot(Slot::T_CONX);
    return entries;
}

void FillFieldCombo(QComboBox* combo, const QString& firstTable, const QString& secondTable) {
    if (firstTable.trimmed().isEmpty()) return;
    ReplaceItemsKeepingText(combo, TableFieldNames(firstTable, secondTable));
}

void FillDateFieldCombo(QComboBox* combo, const QString& firstTable, const QString& secondTable) {
    if (firstTable.trimmed().isEmpty()) return;
    ReplaceItemsKeepingText(combo, TableDateFieldNames(firstTable, secondTable));
}

void FillCatalogCombo(QComboBox* combo) {
    combo->clear();
    combo->addItems(CatalogEntries());
}

void FillIndexCombo(QComboBox* combo, const QString& table) {
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(data::ListIndexedFields(nullptr, table));
    if (text.isEmpty())
        combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    else
        combo->setCurrentText(text);
}

void FillIndexList(QListWidget* list, const QString& table) {
    list->clear();
    list->addItems(data::ListIndexedFields(nullptr, table));
}

} // namespace livrax::tools
