#include "tools/query_build.h"

#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace livrax::tools {

using namespace Qt::StringLiterals;

namespace {

const QString Contains = u"Conteúdo"_s;
const QString NotContains = u"NConteúdo"_s;
const QString StartsWith = u"Inicia"_s;

constexpr int MaxColumnListLength = 2500;

// The items of a column list: split on the commas that are not inside
// brackets, trimmed, empty ones dropped. Expressions keep their inner
// spaces ("SUBSTRING(NOME FROM 1 FOR 3)").
QStringList ColumnItems(QString list) {
    list.replace(u';', u',');
    QStringList items;
    QString current;
    int depth = 0;
    for (const QChar c : std::as_const(list)) {
        if (c == u'(') ++depth;
        if (c == u')' && depth > 0) --depth;
        if (c == u',' && depth == 0) {
            items << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    items << current.trimmed();
    items.removeAll(QString());
    return items;
}

// A plain column name (no prefix, no expression) that gets the table's
// letter.
bool NeedsPrefix(const QString& item) {
    static const QRegularExpression plain(u"^[A-Za-z_][A-Za-z0-9_$]*$"_s);
    return plain.match(item).hasMatch();
}

// "FIRST n" at the start of a column list, with what follows it.
struct FirstClause {
    QString clause;
    QString rest;
};
FirstClause SplitFirst(const QString& list) {
    static const QRegularExpression first(u"^\\s*(FIRST\\s+\\d+)\\s+(.*)$"_s,
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = first.match(list);
    if (!match.hasMatch()) return {{}, list};
    return {match.captured(1).simplified().toUpper(), match.captured(2)};
}

QStringList SplitNames(const QString& list) {
    QString names = list;
    names.replace(u';', u',');
    names.remove(u' ');
    QStringList items = names.split(u',', Qt::SkipEmptyParts);
    return items;
}

// A number typed for a number field, as the statement writes it ("1.234,5"
// is 1234.5), or empty when the text is not a number.
QString NumberLiteral(const QString& value) {
    static const QRegularExpression number(u"^-?[0-9]+(\\.[0-9]+)?$"_s);
    const QString dotted = DotDecimal(value);
    return number.match(dotted).hasMatch() ? dotted : QString();
}

// One condition of the group, or an error.
struct Condition {
    QString text;
    QString error;
};

Condition BuildCondition(const QString& field, QString op, const QString& value,
                         const QString& type) {
    if (!QueryOperators().contains(op)) op = Contains;
    const QString word = value.trimmed().toUpper();
    if (word == u"IS NULL"_s || word == u"IS NOT NULL"_s) return {field + u" "_s + word, {}};
    if (type == u"N"_s || type == u"I"_s || type == u"D"_s) {
        if (op == NotContains || op == StartsWith)
            return {{}, u"Operador "_s + op + u" não se aplica ao campo "_s + field};
        if (op == Contains) op = u"="_s;
        if (type == u"D"_s) {
            const QString date = SqlDate(value);
            if (date.isEmpty())
                return {{}, u"Data inválida para o campo "_s + field + u": "_s + value};
            return {field + u" "_s + op + u" "_s + date, {}};
        }
        const QString number = NumberLiteral(value);
        if (number.isEmpty())
            return {{}, u"Valor inválido para o campo numérico "_s + field + u": "_s + value};
        return {field + u" "_s + op + u" "_s + number, {}};
    }
    if (type == u"M"_s) {
        if (op == Contains)
            return {u"("_s + field + u" LIKE "_s + Quote(u"%"_s + value + u"%"_s) + u")"_s, {}};
        if (op == NotContains)
            return {u"("_s + field + u" NOT LIKE "_s + Quote(u"%"_s + value + u"%"_s) + u")"_s, {}};
        if (op == StartsWith)
            return {u"("_s + field + u" LIKE "_s + Quote(value + u"%"_s) + u")"_s, {}};
        return {u"("_s + field + u" "_s + op + u" "_s + Quote(value) + u")"_s, {}};
    }
    const QString upper = value.toUpper();
    const QString target = u"(UPPER("_s + field + u") "_s;
    if (op == Contains) return {target + u"LIKE "_s + Quote(u"%"_s + upper + u"%"_s) + u")"_s, {}};
    if (op == StartsWith) return {target + u"LIKE "_s + Quote(upper + u"%"_s) + u")"_s, {}};
    if (op == NotContains)
        return {target + u"NOT LIKE "_s + Quote(u"%"_s + upper + u"%"_s) + u")"_s, {}};
    return {target + op + u" "_s + Quote(upper) + u")"_s, {}};
}

QString DropLeadingAnd(const QString& text) {
    return text.startsWith(u" AND "_s) ? text.mid(5) : text;
}

} // namespace

const QStringList& QueryOperators() {
    static const QStringList operators{Contains, u"="_s, u"<>"_s,     u">="_s,   u"<="_s,
                                       u">"_s,   u"<"_s, NotContains, StartsWith};
    return operators;
}

const QStringList& QueryValueChoices() {
    static const QStringList choices{
        u"()"_s,          u"NULL"_s,        u"BLANK"_s,      u"  /  /  "_s,     u"IS NULL"_s,
        u"IS NOT NULL"_s, u"GB_SEN_USER"_s, u"GB_SEN_REP"_s, u"GB_SEN_NIVEL"_s, u"GB_SISTEMA"_s};
    return choices;
}

QString ConditionField(const QString& field) {
    const QString name = field.trimmed();
    if (name.isEmpty() || name.contains(u'.')) return name;
    return u"A."_s + name;
}

QString SecondConditionField(const QuerySettings& settings) {
    if (settings.field2.trimmed().isEmpty() && !settings.value2.isEmpty())
        return ConditionField(settings.field1);
    return ConditionField(settings.field2);
}

QString QueryColumnList(const QString& columns, const QString& returnFields) {
    const FirstClause first = SplitFirst(columns);
    QStringList items = ColumnItems(first.rest);
    if (items.isEmpty()) return {};
    QStringList upper;
    for (const QString& item : std::as_const(items)) {
        const QString name = item.toUpper();
        upper << name << (name.startsWith(u"A."_s) ? name.mid(2) : u"A."_s + name);
    }
    for (const QString& field : SplitNames(returnFields)) {
        if (upper.contains(field.toUpper())) continue;
        items << field;
        upper << field.toUpper() << u"A."_s + field.toUpper();
    }
    for (QString& item : items)
        if (NeedsPrefix(item)) item.prepend(u"A."_s);
    QString list = items.join(u',');
    if (!first.clause.isEmpty()) list.prepend(first.clause + u" "_s);
    if (list.size() > MaxColumnListLength) return {};
    return list;
}

QString SecondTableName(const QString& text) {
    const QString name = text.trimmed();
    if (name.size() < 3) return {};
    if (name.size() > 10 && name.contains(u'.')) return QFileInfo(name).completeBaseName();
    return name;
}

QueryStatement BuildQuery(const QuerySettings& s) {
    QueryStatement result;
    if (!s.sql.trimmed().isEmpty()) {
        result.sql = s.sql;
        return result;
    }
    const QString columns = QueryColumnList(s.columns, s.returnFields);
    QString secondTable = s.secondTable.trimmed();
    secondTable.remove(u".DB"_s, Qt::CaseInsensitive);
    QStringList second;
    if (!secondTable.isEmpty()) {
        second = ColumnItems(s.secondColumns);
        const bool prefixed = std::any_of(second.cbegin(), second.cend(), [](const QString& c) {
            return c.toUpper().startsWith(u"B."_s);
        });
        if (!prefixed)
            for (QString& column : second)
                if (NeedsPrefix(column)) column.prepend(u"B."_s);
    }
    QString sql = u"Select "_s;
    if (columns.isEmpty())
        sql += second.isEmpty() ? u"*"_s : u"A.*"_s;
    else
        sql += columns;
    if (!second.isEmpty()) sql += u", "_s + second.join(u',');
    sql += u" FROM "_s + s.table + u" A"_s;

    QString conditions;
    if (!secondTable.isEmpty()) {
        sql += u", "_s + secondTable + u" B"_s;
        conditions += u" AND (A."_s + s.mainJoinField.trimmed() + u" = B."_s +
                      s.secondJoinField.trimmed() + u")"_s;
    }
    // The date range.
    const QString dateField = s.dateField.trimmed();
    const auto addDate = [&](const QString& date, const QString& op) {
        if (dateField.isEmpty() || IsBlank(date)) return true;
        const QString literal = SqlDate(date);
        if (literal.isEmpty()) {
            result.error = u"Data inválida para o campo "_s + dateField + u": "_s + date;
            return false;
        }
        conditions += u" AND "_s + dateField + op + literal;
        return true;
    };
    if (!addDate(s.startDate, u" >= "_s) || !addDate(s.endDate, u" <= "_s)) return result;

    // The two field conditions and the branch.
    const QString field1 = ConditionField(s.field1);
    const QString field2 = SecondConditionField(s);
    const QString type2 = s.field2.trimmed().isEmpty() ? s.fieldType1 : s.fieldType2;
    const QString value1 = s.value1 == u" "_s ? QString() : s.value1;
    const QString value2 = s.value2 == u" "_s ? QString() : s.value2;
    const QString joiner = s.joiner.trimmed().toUpper() == u"AND"_s ? u" AND "_s : u" OR  "_s;
    QStringList group;
    if (!field1.isEmpty() && !value1.isEmpty()) {
        const Condition first = BuildCondition(field1, s.operator1, value1, s.fieldType1);
        if (!first.error.isEmpty()) return {{}, {}, first.error};
        group << first.text;
    }
    if (!field2.isEmpty() && !value2.isEmpty()) {
        const Condition secondCondition = BuildCondition(field2, s.operator2, value2, type2);
        if (!secondCondition.error.isEmpty()) return {{}, {}, secondCondition.error};
        group << secondCondition.text;
    }
    // The second condition is joined to the first; alone it stands by itself.
    QString fields = group.join(joiner);
    const QString branch = s.branch.trimmed();
    if (!branch.isEmpty()) {
        // The branch narrows both conditions, also when they are joined by OR.
        if (group.size() > 1 && joiner != u" AND "_s) fields = u"("_s + fields + u")"_s;
        fields += (fields.isEmpty() ? u""_s : u" AND "_s) + u"FILIAL = "_s + Quote(branch);
    }
    if (!fields.isEmpty()) conditions += u" AND ( "_s + fields + u" ) "_s;

    // The free filter only narrows what the conditions select.
    if (!IsBlank(s.filter)) {
        const QString problem = FilterProblem(s.filter);
        if (!problem.isEmpty()) return {{}, {}, u"Filtro inválido: "_s + problem};
        conditions += u" AND ( "_s + s.filter + u" ) "_s;
    }
    conditions = DropLeadingAnd(conditions);
    if (!conditions.isEmpty()) sql += u" WHERE ("_s + conditions + u")"_s;
    const QString order = s.order.trimmed();
    if (!order.isEmpty()) sql += u" ORDER BY "_s + order;
    result.sql = sql;
    result.conditions = conditions;
    return result;
}

QString SavedSettingsKey(const QString& user, const QString& table, const QString& suffix) {
    return u"PESQC_"_s + user + u"_"_s + table + u"_"_s + suffix;
}

QStringList SavedSettingsLines(const QuerySettings& s, const QString& lastStatement,
                               const QStringList& stored) {
    QStringList lines(40);
    lines[0] = s.filter;
    lines[1] = s.secondTable.trimmed().isEmpty() ? s.order : QString();
    lines[2] = s.columns;
    lines[3] = s.startDate;
    lines[4] = s.endDate;
    lines[5] = s.dateField;
    lines[6] = s.field1;
    lines[7] = s.value1;
    lines[8] = s.field2;
    lines[9] = s.value2;
    lines[11] = s.manual;
    lines[17] = s.secondColumns;
    lines[19] = lastStatement;
    lines[29] = s.secondTable;
    lines[31] = s.mainJoinField;
    lines[32] = s.secondJoinField;
    for (int line = 35; line <= 40; ++line)
        lines[line - 1] = stored.value(line - 1);
    return lines;
}

void ApplySavedSettings(const QStringList& lines, const QuerySettings& defaults, QuerySettings& s) {
    const auto line = [&](int n) { return lines.value(n - 1); };
    const auto fill = [](QString& control, const QString& saved, const QString& fallback) {
        if (!control.isEmpty()) return;
        control = saved.isEmpty() ? fallback : saved;
    };
    fill(s.order, line(2), defaults.order);
    fill(s.columns, line(3), defaults.columns);
    fill(s.field1, line(7), defaults.field1);
    if (s.filter.isEmpty() && s.value1.isEmpty()) s.value1 = line(8);
    if (s.manual.isEmpty()) s.manual = line(12);
    if (s.secondTable.trimmed().isEmpty()) {
        if (s.secondColumns.isEmpty()) s.secondColumns = QString(line(18)).replace(u';', u',');
        s.secondTable = SecondTableName(line(30));
        if (s.mainJoinField.isEmpty()) s.mainJoinField = line(32);
        if (s.secondJoinField.isEmpty()) s.secondJoinField = line(33);
    }
    if (s.sql.isEmpty()) s.sql = s.manual;
}

QStringList ParFileLines(const QuerySettings& s) {
    QStringList lines(33);
    lines[0] = s.field1;
    lines[1] = s.value1;
    lines[2] = s.joiner;
    lines[3] = s.value2;
    lines[4] = s.order;
    lines[5] = s.filter;
    lines[6] = s.operator1;
    lines[7] = s.operator2;
    lines[8] = s.field2;
    lines[10] = s.table;
    lines[13] = s.columns;
    lines[14] = s.returnFields;
    lines[16] = s.title;
    lines[17] = s.secondColumns;
    lines[20] = s.startDate;
    lines[21] = s.endDate;
    lines[22] = s.dateField;
    lines[29] = s.secondTable;
    lines[31] = s.mainJoinField;
    lines[32] = s.secondJoinField;
    return lines;
}

void ApplyParFileLines(const QStringList& lines, QuerySettings& s) {
    const auto line = [&](int n) { return lines.value(n - 1); };
    s.field1 = line(1);
    s.value1 = line(2);
    s.joiner = line(3);
    s.value2 = line(4);
    s.order = line(5);
    s.filter = line(6);
    s.operator1 = line(7).isEmpty() ? Contains : line(7);
    s.operator2 = line(8).isEmpty() ? Contains : line(8);
    s.field2 = line(9);
    if (!line(11).isEmpty()) s.table = line(11);
    s.columns = line(14);
    s.returnFields = line(15);
    s.title = line(17);
    s.secondColumns = line(18);
    s.startDate = line(21);
    s.endDate = line(22);
    s.dateField = line(23);
    s.secondTable = SecondTableName(line(30));
    s.mainJoinField = line(32);
    s.secondJoinField = line(33);
}

QString ParFileName(const QString& name) {
    QString file = name.trimmed().toUpper();
    if (!file.endsWith(u".PAR"_s)) file += u".PAR"_s;
    return file;
}

QString OrderForColumn(const QString& column, const QString& currentOrder, const QuerySettings& s,
                       const QStringList& resultColumns) {
    QString name = column.trimmed().toUpper();
    const QString columns = s.columns.toUpper();
    const QString secondColumns = s.secondColumns.toUpper();
    if (name.size() > 1 && name.endsWith(u'1')) {
        const QString shorter = name.chopped(1);
        bool inResult = false;
        for (const QString& result : resultColumns)
            inResult = inResult || result.toUpper() == shorter;
        if (inResult && !columns.contains(name) && !secondColumns.contains(name)) name = shorter;
    }
    const QString prefixed = (columns.contains(u"B."_s + name) ? u"B."_s : u"A."_s) + name;
    return currentOrder.trimmed().toUpper() == prefixed ? prefixed + u" DESC"_s : prefixed;
}

} // namespace livrax::tools
