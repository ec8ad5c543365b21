#include "reports/report_selection.h"

#include "reports/key_lines.h"
#include "reports/report_encoding.h"

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

constexpr int LineCount = 190;
constexpr int WideLineFields = 40; // lines 1 and 9 of the last selection
constexpr int ShortLineFields = 5; // the other lines

// Line numbers (from 1).
constexpr int PeriodLine = 1, TableLine = 2, RunLine = 3, BoxesLine = 9, VarSqlLine = 11;
constexpr int FirstSingleLine = 11, FirstMultipleLine = 21, BetweenFieldsLine = 31;
// Fields of line 9.
constexpr int FirstValueField = 11, FirstChoiceField = 21, BetweenFieldsChoiceField = 31;

QStringList Padded(const QStringList& stored) {
    QStringList lines = stored;
    while (lines.size() < LineCount)
        lines.append(QString());
    return lines;
}

QString WithoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

ChoiceSelection ChoiceFromLine(const QString& text) {
    const LineFields line(text, ShortLineFields);
    return {line.at(1), line.at(2), line.at(3), line.at(4)};
}

QString ChoiceToLine(const ChoiceSelection& choice, const QString& stored) {
    LineFields line(stored, ShortLineFields);
    line.set(1, StoredText(choice.firstTitle));
    line.set(2, StoredCondition(choice.firstFunction));
    line.set(3, StoredText(choice.secondTitle));
    line.set(4, StoredCondition(choice.secondFunction));
    return line.joined();
}

} // namespace

LastSelection LastSelectionFromLines(const QStringList& lines) {
    LastSelection selection;
    const LineFields period(lines.value(PeriodLine - 1), WideLineFields);
    selection.initialDate = period.at(1);
    selection.finalDate = period.at(2);
    selection.dateField = period.at(3);
    selection.firstPage = period.at(5);
    selection.currencyTitle = period.at(6);
    selection.currencyValue = period.at(7);

    const LineFields table(lines.value(TableLine - 1), ShortLineFields);
    selection.databaseName = table.at(1);
    selection.tableName = table.at(2);

    const LineFields run(lines.value(RunLine - 1), ShortLineFields);
    selection.user = run.at(1);
    selection.runDate = run.at(2);

    const LineFields boxes(lines.value(BoxesLine - 1), WideLineFields);
    for (int i = 0; i < SelectionBoxes; ++i) {
        selection.values[std::size_t(i)] = boxes.at(FirstValueField + i);
        selection.choices[std::size_t(i)] = boxes.at(FirstChoiceField + i);
    }
    selection.betweenFieldsChoice = boxes.at(BetweenFieldsChoiceField);
    selection.varSql = lines.value(VarSqlLine - 1);
    return selection;
}

QStringList LastSelectionToLines(const LastSelection& selection, const QStringList& stored) {
    QStringList lines = Padded(stored);

    LineFields period(lines[PeriodLine - 1], WideLineFields);
    period.set(1, StoredText(selection.initialDate));
    period.set(2, StoredText(selection.finalDate));
    period.set(3, StoredText(selection.dateField));
    period.set(5, StoredNumber(selection.firstPage, 4));
    period.set(6, StoredText(selection.currencyTitle));
    period.set(7, StoredText(selection.currencyValue));
    period.set(8, QString());
    lines[PeriodLine - 1] = period.joined();

    LineFields table(lines[TableLine - 1], ShortLineFields);
    table.set(1, StoredText(selection.databaseName));
    table.set(2, StoredText(selection.tableName));
    lines[TableLine - 1] = table.joined();

    LineFields run(lines[RunLine - 1], ShortLineFields);
    run.set(1, StoredText(selection.user));
    run.set(2, StoredText(selection.runDate));
    run.set(3, StoredText(selection.initialDate));
    run.set(4, StoredText(selection.finalDate));
    lines[RunLine - 1] = run.joined();

    LineFields boxes(lines[BoxesLine - 1], WideLineFields);
    for (int i = 0; i < SelectionBoxes; ++i) {
        boxes.set(FirstValueField + i,
                  StoredText(WithoutTrailingBlanks(selection.values[std::size_t(i)])));
        boxes.set(FirstChoiceField + i, StoredText(selection.choices[std::size_t(i)]));
    }
    boxes.set(BetweenFieldsChoiceField, StoredText(selection.betweenFieldsChoice));
    lines[BoxesLine - 1] = boxes.joined();

    lines[VarSqlLine - 1] = selection.varSql.trimmed();
    return lines;
}

MenuSelectionConfig MenuSelectionFromLines(const QStringList& lines) {
    MenuSelectionConfig config;
    for (int i = 0; i < SelectionBoxes; ++i) {
        const LineFields single(lines.value(FirstSingleLine - 1 + i), ShortLineFields);
        config.singles[std::size_t(i)] = {single.at(1), single.at(2), single.at(3)};
        config.multiples[std::size_t(i)] = ChoiceFromLine(lines.value(FirstMultipleLine - 1 + i));
    }
    config.betweenFields = ChoiceFromLine(lines.value(BetweenFieldsLine - 1));
    return config;
}

QStringList MenuSelectionToLines(const MenuSelectionConfig& config, const QStringList& stored) {
    QStringList lines = Padded(stored);
    for (int i = 0; i < SelectionBoxes; ++i) {
        const SingleSelection& selection = config.singles[std::size_t(i)];
        QString& text = lines[FirstSingleLine - 1 + i];
        LineFields single(text, ShortLineFields);
        single.set(1, StoredText(selection.title));
        single.set(2, StoredText(selection.field));
        single.set(3, StoredText(selection.type));
        single.set(4, QString()); // not used, written empty
        text = single.joined();

        QString& multiple = lines[FirstMultipleLine - 1 + i];
        multiple = ChoiceToLine(config.multiples[std::size_t(i)], multiple);
    }
    QString& between = lines[BetweenFieldsLine - 1];
    between = ChoiceToLine(config.betweenFields, between);
    return lines;
}

bool ReadLastSelection(data::Connection* database, const QString& key, LastSelection& selection) {
    QStringList lines;
    const bool found = ReadKeyLines(database, key, lines);
    selection = LastSelectionFromLines(lines);
    return found;
}

bool WriteLastSelection(data::Connection* database, const QString& key,
                        const LastSelection& selection) {
    QStringList stored;
    ReadKeyLines(database, key, stored);
    return WriteKeyLines(database, key, LastSelectionToLines(selection, stored));
}

bool ReadMenuSelection(data::Connection* database, const QString& key,
                       MenuSelectionConfig& config) {
    QStringList lines;
    const bool found = ReadKeyLines(database, key, lines);
    config = MenuSelectionFromLines(lines);
    return found;
}

bool WriteMenuSelection(data::Connection* database, const QString& key,
                        const MenuSelectionConfig& config) {
    QStringList stored;
    ReadKeyLines(database, key, stored);
    return WriteKeyLines(database, key, MenuSelectionToLines(config, stored));
}

} // namespace livrax::reports
