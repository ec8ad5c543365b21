#pragma once

// The pick lists that windows fill from the database: the table catalogue,
// the columns of one or two tables (optionally prefixed "A." / "S."), their
// DATE columns, and a table's indexed columns.

#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace livrax::tools {

// The columns of `firstTable` and `secondTable` (codes or names; a blank one
// is skipped), sorted. A table written "A.PDE" lists its columns as
// "A.DATA", "A.NNOTA" ...; the two-character prefix is kept before each name.
// Empty when the first table is blank.
QStringList TableFieldNames(const QString& firstTable, const QString& secondTable = {});
// As TableFieldNames, with the DATE columns only.
QStringList TableDateFieldNames(const QString& firstTable, const QString& secondTable = {});
// An empty first entry, then "ANOME - ADESCRICAO" of every catalogue row in
// ANOME order, trimmed, empty results left out.
QStringList CatalogEntries();

// The combo's items become the list; the text it showed stays. Nothing
// happens when the first table is blank.
void FillFieldCombo(QComboBox* combo, const QString& firstTable, const QString& secondTable = {});
void FillDateFieldCombo(QComboBox* combo, const QString& firstTable,
                        const QString& secondTable = {});
void FillCatalogCombo(QComboBox* combo);

// The table's indexed columns. The combo keeps its text, or shows its first
// item when the text was empty.
void FillIndexCombo(QComboBox* combo, const QString& table);
void FillIndexList(QListWidget* list, const QString& table);

} // namespace livrax::tools
