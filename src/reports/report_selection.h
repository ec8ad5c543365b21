#pragma once

// The selections of user-defined reports: the last selection entered for a
// report (key menu + NNN + "V", written every time the report is run) and the
// selection configuration its menu's reports share (key menu + "0000").
// As with the definition, a write reads the stored lines first and replaces
// only the fields described here.

#include <QString>
#include <QStringList>

#include <array>

namespace livrax::data {
class Connection;
}

namespace livrax::reports {

// The nine selection boxes and nine multiple selections of a menu.
inline constexpr int SelectionBoxes = 9;

// Key menu + NNN + "V".
struct LastSelection {
    // Line 1.
    QString initialDate, finalDate; // dd/mm/yy
    QString dateField;              // the date field of the period
    QString firstPage;              // (4)
    QString currencyTitle, currencyValue;
    // Line 2.
    QString databaseName; // of the report's table
    QString tableName;    // physical name
    // Line 3: who ran the report and when (the period is line 1's).
    QString user;
    QString runDate;
    // Line 9: the values typed in the selection boxes (trailing blanks
    // removed), the choices of the multiple selections (1 first function,
    // 2 second, 3 all) and of the between-fields condition.
    std::array<QString, SelectionBoxes> values;
    std::array<QString, SelectionBoxes> choices;
    QString betweenFieldsChoice;
    // Line 11, trimmed.
    QString varSql;
    bool operator==(const LastSelection&) const = default;
};

// One selection box: a title, a field (optionally followed by ">=", "<=",
// "<>", ">" or "<") and the field's type letter ("S" and "U" are text).
struct SingleSelection {
    QString title, field, type;
    bool operator==(const SingleSelection&) const = default;
};

// A choice between two SQL conditions (or all records).
struct ChoiceSelection {
    QString firstTitle, firstFunction, secondTitle, secondFunction;
    bool operator==(const ChoiceSelection&) const = default;
};

// Key menu + "0000": lines 11..19, 21..29 and 31.
struct MenuSelectionConfig {
    std::array<SingleSelection, SelectionBoxes> singles;
    std::array<ChoiceSelection, SelectionBoxes> multiples;
    ChoiceSelection betweenFields;
    bool operator==(const MenuSelectionConfig&) const = default;
};

LastSelection LastSelectionFromLines(const QStringList& lines);
QStringList LastSelectionToLines(const LastSelection& selection, const QStringList& stored);
MenuSelectionConfig MenuSelectionFromLines(const QStringList& lines);
QStringList MenuSelectionToLines(const MenuSelectionConfig& config, const QStringList& stored);

// Reads and writes the keys; false when the key is missing (the value is
// then empty) or nothing was written.
bool ReadLastSelection(data::Connection* database, const QString& key, LastSelection& selection);
bool WriteLastSelection(data::Connection* database, const QString& key,
                        const LastSelection& selection);
bool ReadMenuSelection(data::Connection* database, const QString& key, MenuSelectionConfig& config);
bool WriteMenuSelection(data::Connection* database, const QString& key,
                        const MenuSelectionConfig& config);

} // namespace livrax::reports
