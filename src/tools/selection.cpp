#include "tools/selection.h"

#include "common/dates.h"
#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace livrax::tools {

SelHandOver& Selection() {
    static SelHandOver selection;
    return selection;
}

void ResetSelection() {
    Selection() = SelHandOver();
}

void CommitSelectionTables() {
    using namespace livrax::data;
    for (Slot id : {Slot::GB_TAB, Slot::T_TABW}) {
        DataSlot& slot = DataModule().slot(id);
        try {
            slot.commit();
        } catch (const DbError&) {
            slot.rollback();
        }
    }
}

// ---- filter dialog ------------------------------------------------------

const QStringList& FilterOperatorCaptions() {
    static const QStringList captions{
        u"= Igual a"_s,      u"> Maior que"_s,    u"< Menor que"_s, u"<> Diferente de"_s,
        u">= Maior Igual"_s, u"<= Menor Igual"_s, u"Inicia por"_s,  u"Contenha"_s};
    return captions;
}

const QStringList& FilterValueChoices() {
    static const QStringList choices{u"()"_s,
                                     u"BLANK"_s,
                                     u"NULL"_s,
                                     u"IS NULL"_s,
                                     u"IS NOT NULL"_s,
                                     u"''"_s,
                                     u"  /  /  "_s,
                                     u"GB_SEN_USER"_s,
                                     u"GB_SEN_REP"_s,
                                     u"GB_SEN_NIVEL"_s,
                                     u"GB_SISTEMA"_s,
                                     u"------------------------------"_s,
                                     u"SIGLA LIKE \"%ABC%\""_s,
                                     u"SIGLA NOT LIKE \"%ABC%\""_s,
                                     u"SIGLA = 'ABC*'"_s};
    return choices;
}

namespace {

QString ComparisonText(FilterOperator op) {
    switch (op) {
    case FilterOperator::Equal:
        return u" = "_s;
    case FilterOperator::Greater:
        return u" > "_s;
    case FilterOperator::Less:
        return u" < "_s;
    case FilterOperator::NotEqual:
        return u" <> "_s;
    case FilterOperator::GreaterEqual:
        return u" >= "_s;
    case FilterOperator::LessEqual:
        return u" <= "_s;
    case FilterOperator::StartsWith:
    case FilterOperator::Contains:
        break;
    }
    return {};
}

bool IsMacro(const QString& value) {
    // One bracketed name and nothing else: the macro expander fills it in
    // before the condition runs.
    static const QRegularExpression macro(u"^\\[[^\\[\\]'\"]+\\]$"_s);
    return macro.match(value).hasMatch();
}

// A number as SQL takes it: digits with an optional sign and one decimal
// separator (the decimal comma typed by users becomes a point). Empty when the
// text is not such a number.
QString NumberLiteral(const QString& value) {
    static const QRegularExpression number(u"^[+-]?\\d+([.,]\\d+)?$"_s);
    const QString text = value.trimmed();
    if (!number.match(text).hasMatch()) return {};
    QString literal = text;
    literal.replace(u',', u'.');
    return literal;
}

} // namespace

bool FilterLineNeedsType(FilterOperator op, const QString& value) {
    if (op == FilterOperator::StartsWith || op == FilterOperator::Contains) return false;
    const QString upper = value.toUpper();
    if (upper == u"IS NULL"_s || upper == u"IS NOT NULL"_s || value == u"NULL"_s ||
        value == u"()"_s || value == u"''"_s)
        return false;
    return !value.startsWith(u'[');
}

FilterLine BuildFilterLine(const QString& field, FilterOperator op, const QString& value,
                           const QString& typeLetter) {
    FilterLine line;
    if (value.isEmpty()) return line;
    if (op == FilterOperator::StartsWith) {
        line.text = field + u" LIKE "_s + Quote(value + u'%');
        return line;
    }
    if (op == FilterOperator::Contains) {
        line.text = field + u" LIKE "_s + Quote(u'%' + value + u'%');
        return line;
    }
    const QString comparison = ComparisonText(op);
    const QString upper = value.toUpper();
    if (upper == u"IS NULL"_s) {
        line.text = field + u" IS NULL"_s;
    } else if (upper == u"IS NOT NULL"_s) {
        line.text = field + u" IS NOT NULL"_s;
    } else if (value == u"NULL"_s) {
        line.text = field + comparison + u"NULL"_s;
    } else if (value == u"()"_s) {
        line.text = field + comparison + u"('')"_s;
    } else if (value == u"''"_s) {
        line.text = field + comparison + u"''"_s;
    } else if (value.startsWith(u'[')) {
        if (IsMacro(value))
            line.text = field + comparison + value;
        else
            line.error = u"Macro inválida: "_s + value;
    } else if (typeLetter == u"S"_s) {
        line.text = field + comparison + Quote(value);
    } else if (typeLetter == u"D"_s) {
        const QString date = SqlDate(value);
        if (date.isEmpty())
            line.error = u"Data inválida: "_s + value;
        else
            line.text = field + comparison + date;
    } else {
        // Numbers are written as they are; anything else is a text the
        // database compares after converting it, never a piece of SQL.
        const QString number = NumberLiteral(value);
        line.text = field + comparison + (number.isEmpty() ? Quote(value) : number);
    }
    return line;
}

QString JoinFilterLines(const QStringList& lines) {
    QString result = lines.join(u'#');
    result.replace(u"(#"_s, u"("_s);
    result.replace(u"#)"_s, u")"_s);
    return result;
}

QStringList SplitFilterLines(const QString& result) {
    QStringList lines;
    for (const QString& field : result.split(u'#'))
        if (!field.trimmed().isEmpty()) lines << field;
    return lines;
}

QString FilterResultAsTableFilter(const QString& result) {
    QString filter = result;
    filter.replace(u'#', u' ');
    return filter;
}

// ---- column dialog ------------------------------------------------------

QList<ColumnTable> ColumnTables(const QString& source, bool letterPrefixes) {
    static const QRegularExpression ownPrefix(u"^([A-Za-z])\\.(.+)$"_s);
    QList<ColumnTable> tables;
    for (const QString& field : source.split(u'#')) {
        const QString name = field.trimmed();
        if (name.isEmpty()) continue;
        if (tables.size() == 5) break;
        ColumnTable table;
        const QRegularExpressionMatch match = ownPrefix.match(name);
        if (match.hasMatch()) {
            table.prefix = match.captured(1).toUpper() + u'.';
            table.table = match.captured(2);
        } else {
            if (letterPrefixes)
                table.prefix = QString(QChar(char16_t(u'A' + tables.size()))) + u'.';
            table.table = name;
        }
        tables << table;
    }
    return tables;
}

int ColumnSize(int fieldType, int scale, int length, int characterLength) {
    switch (fieldType) {
    case 10: // FLOAT
    case 27: // DOUBLE
        return 13;
    case 12: // DATE
        return 8;
    case 7:  // SMALLINT and the numerics stored in it
    case 8:  // INTEGER, idem
    case 16: // BIGINT, idem
        if (scale < 0) return 13;
        return fieldType == 16 ? 12 : fieldType == 8 ? 8 : length;
    case 14: // CHAR
    case 37: // VARCHAR
        return characterLength > 0 ? characterLength : length;
    default:
        return length;
    }
}

QString ColumnItem(const QString& prefix, const ColumnInfo& column) {
    return prefix + column.name + u',' + QString::number(column.size);
}

QList<ColumnInfo> ListTableColumns(const QString& table) {
    using namespace livrax::data;
    QList<ColumnInfo> columns;
    const QString name = ResolveTableName(table.trimmed().toUpper());
    Connection* database = DatabaseFor(name);
    if (!database) return columns;
    const QString sql =
        u"SELECT RF.RDB$FIELD_NAME AS CAMPO, F.RDB$FIELD_TYPE AS TIPO,"
        " COALESCE(F.RDB$FIELD_SCALE, 0) AS ESCALA, COALESCE(F.RDB$FIELD_LENGTH, 0) AS TAMANHO,"
        " COALESCE(F.RDB$CHARACTER_LENGTH, 0) AS CARACTERES"
        " FROM RDB$RELATION_FIELDS RF"
        " JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE"
        " WHERE RF.RDB$RELATION_NAME = "_s +
        Quote(name) + u" ORDER BY RF.RDB$FIELD_POSITION"_s;
    if (!RunSelect(Slot::T_CONY, name, sql, QString(), QString(), database)) {
        CloseSlot(Slot::T_CONY);
        return columns;
    }
    DataSlot& slot = DataModule().slot(Slot::T_CONY);
    try {
        while (!slot.eof()) {
            ColumnInfo column;
            column.name = slot.value(u"CAMPO"_s).toString().trimmed().toUpper();
            column.size = ColumnSize(
                int(slot.value(u"TIPO"_s).toInt()), int(slot.value(u"ESCALA"_s).toInt()),
                int(slot.value(u"TAMANHO"_s).toInt()), int(slot.value(u"CARACTERES"_s).toInt()));
            columns << column;
            slot.next();
        }
        CloseSlot(Slot::T_CONY);
    } catch (const DbError&) {
        slot.rollback();
        columns.clear();
    }
    return columns;
}

QStringList ChosenColumns(const QString& result, const QStringList& offered) {
    QString text = result;
    text.replace(u',', u'#');
    QStringList items;
    for (const QString& field : text.split(u'#')) {
        const QString item = field.trimmed();
        if (item.isEmpty()) continue;
        QString chosen = item;
        for (const QString& candidate : offered) {
            if (TextBefore(candidate, u","_s) == item) {
                chosen = candidate;
                break;
            }
        }
        items << chosen;
    }
    return items;
}

SavedColumns SaveColumns(const QStringList& items) {
    SavedColumns saved;
    for (const QString& item : items) {
        const QString name = item.section(u',', 0, 0);
        const QString size = item.section(u',', 1, 1);
        if (!saved.result.isEmpty()) saved.result += u'#';
        saved.result += name;
        if (!saved.sizes.isEmpty()) saved.sizes += u'#';
        saved.sizes += size;
    }
    return saved;
}

} // namespace livrax::tools
