#include "reports/report_query.h"

#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "expr/macros.h"
#include "expr/sql_substitution.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

const QStringList Operators = {u">="_s, u"<="_s, u"<>"_s, u">"_s, u"<"_s};

// "A." in front of a field or condition unless it already names its table
// ("S.X", "A.X").
QString Qualified(const QString& field) {
    return field.size() > 1 && field.at(1) == u'.' ? field : u"A."_s + field;
}

bool IsNumber(const QString& text) {
    static const QRegularExpression number(u"^-?[0-9]+([.,][0-9]+)?$"_s);
    return number.match(text).hasMatch();
}

// A column or "X.COLUMN": letters, digits and "_" only.
bool IsFieldName(const QString& text) {
    static const QRegularExpression name(u"^([A-Za-z]\\.)?[A-Za-z_][A-Za-z0-9_$]*$"_s);
    return name.match(text).hasMatch();
}

// Every whole word DATE outside quoted literals becomes today's date
// literal. Literals hold typed values, which are left as they were typed.
QString ReplaceDateWord(const QString& sql, const QDate& today) {
    const QString literal = SqlDate(FormatShortDate(today));
    QString out;
    bool inQuotes = false;
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; };
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'') {
            inQuotes = !inQuotes;
            out += c;
            continue;
        }
        if (!inQuotes && sql.mid(i, 4) == u"DATE"_s && (i == 0 || !isWordChar(sql.at(i - 1))) &&
            (i + 4 >= sql.size() || !isWordChar(sql.at(i + 4)))) {
            out += literal;
            i += 3;
            continue;
        }
        out += c;
    }
    return out;
}

// The words of a condition text split at blanks outside quoted literals.
QStringList ConditionWords(const QString& text) {
    QStringList words;
    QString word;
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == u'\'') inQuotes = !inQuotes;
        if (!inQuotes && c.isSpace()) {
            if (!word.isEmpty()) words << word;
            word.clear();
            continue;
        }
        word += c;
    }
    if (!word.isEmpty()) words << word;
    return words;
}

// The stored filter conditions as one condition: " AND " between two words
// unless one of them is AND or OR.
QString JoinConditionWords(const QStringList& words) {
    QString out;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i > 0) {
            const QString a = words.at(i - 1).toUpper(), b = words.at(i).toUpper();
            const bool joiner = a == u"AND"_s || a == u"OR"_s || b == u"AND"_s || b == u"OR"_s;
            out += joiner ? u" "_s : u" AND "_s;
        }
        out += words.at(i);
    }
    return out;
}

QString WithoutLeadingAnd(const QString& list) {
    return list.startsWith(u" AND "_s) ? list.mid(5) : list;
}

QString OrderClause(const ReportDefinition& definition, bool hasSecondary) {
    QString order = definition.grouping.field.trimmed();
    if (order.startsWith(u"A."_s)) order = order.mid(2);
    const QString secondarySort = definition.secondary.sortFields.trimmed();
    if (hasSecondary && !secondarySort.isEmpty())
        order = order.isEmpty() ? secondarySort : order + u","_s + secondarySort;
    const QString sort = definition.sortFields.trimmed();
    if (!sort.isEmpty()) {
        if (sort.contains(order))
            order = sort;
        else
            order = order.isEmpty() ? sort : order + u","_s + sort;
    }
    if (order == u"#"_s) order.clear();
    QStringList fields;
    for (QString part : order.replace(u'#', u',').split(u',', Qt::SkipEmptyParts)) {
        part = part.trimmed();
        if (part.isEmpty()) continue;
        if (part.startsWith(u"A."_s) || part.startsWith(u"S."_s))
            fields << part;
        else
            fields << u"A."_s + part;
    }
    return fields.isEmpty() ? QString() : u"ORDER BY "_s + fields.join(u',');
}

} // namespace

QString SelectionCondition(const SingleSelection& box, const QString& value, QString* refusal) {
    QString field = box.field.trimmed();
    QString op = u" = "_s;
    QString bareField = field;
    for (const QString& candidate : Operators) {
        if (field.endsWith(candidate)) {
            op = u" "_s;
            bareField = field.left(field.size() - candidate.size()).trimmed();
            break;
        }
    }
    field = Qualified(field);
    bareField = Qualified(bareField);
    const QString type = box.type.trimmed().toUpper();
    QStringList alternatives;
    for (QString alternative : value.toUpper().split(u" OR "_s)) {
        alternative = alternative.trimmed().replace(u'*', u'%');
        if (alternative.isEmpty()) continue;
        if (type == u"S"_s || type == u"U"_s || type == u"M"_s) {
            alternatives << (alternative.contains(u'%')
                                 ? bareField + u" LIKE "_s + Quote(alternative)
                                 : field + op + Quote(alternative));
        } else if (type == u"D"_s) {
            const QString date = SqlDate(alternative);
            if (date.isEmpty()) {
                if (refusal) *refusal = u"data inválida: "_s + alternative;
                return {};
            }
            alternatives << field + op + date;
        } else {
            if (!IsNumber(alternative)) {
                if (refusal) *refusal = u"não é um número: "_s + alternative;
                return {};
            }
            alternatives << field + op + QString(alternative).replace(u',', u'.');
        }
    }
    if (alternatives.isEmpty()) return {};
    return u"("_s + alternatives.join(u" OR "_s) + u")"_s;
}

QString ApplyVarSql(const QString& filter, const QString& value) {
    const QString typed = value.trimmed();
    const expr::SqlValue literal =
        IsValidDate(typed) ? expr::SqlValue::typed(typed) : expr::SqlValue::number(typed);
    return expr::SubstituteInSql(filter, {{u"[VARSQL]"_s, literal}});
}

Currency CurrencyOfTheDay(const Currency& stored, const LastSelection& selection) {
    Currency currency = stored;
    if (!IsBlank(selection.currencyTitle)) currency.title = selection.currencyTitle;
    if (!IsBlank(selection.currencyValue)) currency.value = selection.currencyValue;
    if (!OnlyChars(currency.value, u"0123456789,.-"_s)) currency.value = u"1"_s;
    currency.value = currency.value.replace(u',', u'.').trimmed();
    if (currency.value.isEmpty()) currency.value = u"1"_s;
    return currency;
}

BuiltQuery BuildReportQuery(const QueryInputs& in) {
    BuiltQuery built;
    const ReportDefinition& definition = *in.definition;
    const LastSelection& selection = *in.selection;
    const MenuSelectionConfig& config = *in.config;
    const SecondaryTable& secondary = definition.secondary;
    const bool hasSecondary = !in.secondaryTable.isEmpty();

    // Refuse run-time values first, so nothing is built from them.
    const QString dateField = selection.dateField.trimmed();
    if (!dateField.isEmpty()) {
        if (!IsFieldName(dateField)) built.refusals << u"Campo de data inválido: "_s + dateField;
        if (!IsBlank(selection.initialDate) && SqlDate(selection.initialDate).isEmpty())
            built.refusals << u"Data inicial inválida: "_s + selection.initialDate;
        if (!IsBlank(selection.finalDate) && SqlDate(selection.finalDate).isEmpty())
            built.refusals << u"Data final inválida: "_s + selection.finalDate;
    }
    QStringList singles;
    for (int i = 0; i < SelectionBoxes; ++i) {
        const SingleSelection& box = config.singles.at(std::size_t(i));
        const QString value = selection.values.at(std::size_t(i));
        if (box.field.trimmed().isEmpty() || value.trimmed().isEmpty()) continue;
        QString refusal;
        const QString condition = SelectionCondition(box, value, &refusal);
        if (!refusal.isEmpty()) {
            const QString name =
                box.title.trimmed().isEmpty() ? u"seleção %1"_s.arg(i + 1) : box.title.trimmed();
            built.refusals << u"Valor inválido em \""_s + name + u"\": "_s + refusal;
            continue;
        }
        if (!condition.isEmpty()) singles << condition;
    }
    if (!built.refusals.isEmpty()) return built;

    // 1-2: the columns and the main table.
    QStringList columns;
    for (const QString& column : in.mainColumns)
        columns << u"A."_s + column;
    if (hasSecondary)
        for (const QString& column : in.secondaryColumns)
            columns << u"S."_s + column;
    built.lines << u"SELECT "_s + columns.join(u',');
    built.lines << u"FROM "_s + in.mainTable + u" A"_s;

    // 3: the secondary table.
    QString first;
    if (hasSecondary) {
        const QString join =
            u"(A."_s + secondary.mainKey.trimmed() + u" = S."_s + secondary.secondaryKey.trimmed();
        const QString filter = secondary.filter.trimmed();
        if (secondary.joinKind.trimmed() == u"1"_s || secondary.joinKind.trimmed() == u"2"_s) {
            built.lines << (secondary.joinKind.trimmed() == u"1"_s ? u"LEFT OUTER JOIN "_s
                                                                   : u"RIGHT OUTER JOIN "_s) +
                               in.secondaryTable + u" S"_s;
            built.lines << u"ON "_s + join +
                               (secondary.joinOnBranch ? u" AND A.FILIAL = S.FILIAL )"_s : u")"_s);
            if (!filter.isEmpty()) first += u" AND ("_s + filter + u")"_s;
        } else {
            built.lines << u" , "_s + in.secondaryTable + u" S"_s;
            first += u" AND "_s + join + u")"_s;
            if (!filter.isEmpty()) first += u" AND ("_s + filter + u")"_s;
            if (secondary.joinOnBranch) first += u" AND A.FILIAL = S.FILIAL"_s;
        }
    }

    // 4: the SQL filter. One that waits for a [VARSQL] value is left out
    // until a value is typed; any other always applies.
    const QString sqlFilter = definition.parameters.sqlFilter.trimmed();
    const QString varSql = selection.varSql.trimmed();
    if (!sqlFilter.isEmpty()) {
        const bool waitsForValue = sqlFilter.contains(u"[VARSQL]"_s);
        if (!waitsForValue)
            first += u" AND ("_s + sqlFilter + u")"_s;
        else if (!varSql.isEmpty())
            first += u" AND ("_s + ApplyVarSql(sqlFilter, varSql).trimmed() + u")"_s;
    }

    // 5: the WHERE line.
    first = WithoutLeadingAnd(first);
    const bool hasWhere = !first.isEmpty();
    if (hasWhere) built.lines << u"WHERE "_s + first;

    // 6: the second list.
    QString second;
    if (!dateField.isEmpty()) {
        const QString initial = selection.initialDate.trimmed();
        const QString final = selection.finalDate.trimmed();
        if (!IsBlank(initial)) second += u"("_s + dateField + u" >= "_s + SqlDate(initial) + u")"_s;
        if (!IsBlank(final))
            second += u" AND ("_s + dateField + u" <= "_s + SqlDate(final) + u")"_s;
        if (!IsBlank(initial))
            built.titlePeriod += (initial == final ? u"   Data: "_s : u"   de "_s) + initial;
        if (!IsBlank(final) && final != initial) built.titlePeriod += u"   até "_s + final;
    }
    for (const QString& condition : singles)
        second += (second.isEmpty() ? QString() : u" AND "_s) + condition;
    for (int i = 0; i < SelectionBoxes; ++i) {
        const ChoiceSelection& choice = config.multiples.at(std::size_t(i));
        if (choice.firstTitle.trimmed().isEmpty()) continue;
        const QString chosen = selection.choices.at(std::size_t(i)).trimmed();
        const QString function = chosen == u"1"_s   ? choice.firstFunction.trimmed()
                                 : chosen == u"2"_s ? choice.secondFunction.trimmed()
                                                    : QString();
        if (!function.isEmpty()) second += u" AND "_s + Qualified(function);
    }
    second = ReplaceDateWord(second, in.today);
    const QString permanent = definition.parameters.permanentFilter.trimmed();
    if (!permanent.isEmpty()) second += u" AND ("_s + permanent + u")"_s;
    const QString conditions = in.macros->expandForSql(definition.filterConditions);
    const QStringList words = ConditionWords(conditions);
    if (!words.isEmpty()) second += u" AND ("_s + JoinConditionWords(words) + u")"_s;
    second = WithoutLeadingAnd(in.macros->expandUserNamesForSql(second));
    if (!second.isEmpty()) built.lines << (hasWhere ? u" AND "_s : u"WHERE "_s) + second;

    // 7: the order.
    const QString order = OrderClause(definition, hasSecondary);
    if (!order.isEmpty()) built.lines << order;
    return built;
}

} // namespace livrax::reports
