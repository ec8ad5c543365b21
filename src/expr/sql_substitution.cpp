#include "expr/sql_substitution.h"

#include "common/dates.h"
#include "common/fields.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

bool IsNameChar(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'[' || c == u']';
}

bool IsUsableName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name) {
        if (!IsNameChar(c)) return false;
    }
    return true;
}

bool IsIdentifierChar(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'$';
}

// The character that closes a Q'<open> ... <close>' literal.
QChar ClosingDelimiter(QChar open) {
    switch (open.unicode()) {
    case u'(':
        return u')';
    case u'[':
        return u']';
    case u'{':
        return u'}';
    case u'<':
        return u'>';
    default:
        return open;
    }
}

} // namespace

SqlValue SqlValue::text(const QString& value) {
    SqlValue v;
    v.m_kind = Kind::Text;
    v.m_text = value;
    return v;
}

SqlValue SqlValue::date(const QDate& value) {
    if (!value.isValid()) return text(QString());
    SqlValue v;
    v.m_kind = Kind::Date;
    v.m_date = value;
    return v;
}

SqlValue SqlValue::number(const QString& value) {
    static const QRegularExpression plainNumber(u"^-?[0-9]+(\\.[0-9]+)?$"_s);
    const QString trimmed = value.trimmed();
    if (!plainNumber.match(trimmed).hasMatch()) return text(value);
    SqlValue v;
    v.m_kind = Kind::Number;
    v.m_text = trimmed;
    return v;
}

SqlValue SqlValue::nothing() {
    return SqlValue();
}

SqlValue SqlValue::typed(const QString& value) {
    if (IsValidDate(value)) return date(ParseDate(value));
    return text(value);
}

QString SqlValue::inCode() const {
    switch (m_kind) {
    case Kind::Text:
        return Quote(m_text);
    // The date goes through SqlDate with a four-digit year, so the two-digit
    // year window plays no part.
    case Kind::Date:
        return SqlDate(m_date.toString(u"dd/MM/yyyy"_s));
    case Kind::Number:
        return m_text.startsWith(u'-') ? u'(' + m_text + u')' : m_text;
    case Kind::Nothing:
        break;
    }
    return QString();
}

QString SqlValue::inLiteral() const {
    switch (m_kind) {
    case Kind::Text:
        return QString(m_text).replace(u'\'', u"''"_s);
    case Kind::Date:
        return m_date.toString(u"dd.MM.yyyy"_s);
    case Kind::Number:
        return m_text;
    case Kind::Nothing:
        break;
    }
    return QString();
}

QString SqlValue::inIdentifier() const {
    switch (m_kind) {
    case Kind::Text:
        return QString(m_text).replace(u'"', u"\"\""_s);
    case Kind::Date:
    case Kind::Number:
        return inLiteral();
    case Kind::Nothing:
        break;
    }
    return QString();
}

QString SubstituteInSql(const QString& sql, const QList<SqlSubstitution>& substitutions) {
    QList<const SqlSubstitution*> usable;
    for (const SqlSubstitution& s : substitutions) {
        if (IsUsableName(s.name) && sql.contains(s.name)) usable.append(&s);
    }
    if (usable.isEmpty()) return sql;
    // The longest name that starts at a place wins: E_DATAI is not E_DATA
    // followed by "I".
    std::stable_sort(usable.begin(), usable.end(),
                     [](const SqlSubstitution* a, const SqlSubstitution* b) {
                         return a->name.size() > b->name.size();
                     });

    enum class State { Code, Literal, Identifier, QLiteral, LineComment, BlockComment };
    State state = State::Code;
    QChar qClose; // the delimiter that, followed by an apostrophe, ends a Q literal
    QString out;
    out.reserve(sql.size() + 64);
    const qsizetype n = sql.size();
    const auto at = [&sql, n](qsizetype i) { return i < n ? sql.at(i) : QChar(); };

    qsizetype i = 0;
    while (i < n) {
        if (state == State::Code || state == State::Literal || state == State::Identifier) {
            const SqlSubstitution* found = nullptr;
            for (const SqlSubstitution* s : usable) {
                if (QStringView(sql).mid(i).startsWith(s->name)) {
                    found = s;
                    break;
                }
            }
            if (found) {
                out += state == State::Code      ? found->value.inCode()
                       : state == State::Literal ? found->value.inLiteral()
                                                 : found->value.inIdentifier();
                i += found->name.size();
                continue;
            }
        }
        const QChar c = sql.at(i);
        const QChar next = at(i + 1);
        switch (state) {
        case State::Code:
            if ((c == u'q' || c == u'Q') && next == u'\'' && at(i + 2) != QChar() &&
                (i == 0 || !IsIdentifierChar(sql.at(i - 1)))) {
                qClose = ClosingDelimiter(at(i + 2));
                out += QStringView(sql).mid(i, 3);
                i += 3;
                state = State::QLiteral;
                continue;
            }
            if (c == u'\'')
                state = State::Literal;
            else if (c == u'"')
                state = State::Identifier;
            else if (c == u'-' && next == u'-')
                state = State::LineComment;
            else if (c == u'/' && next == u'*') {
                out += u"/*"_s;
                i += 2;
                state = State::BlockComment;
                continue;
            }
            break;
        case State::Literal:
        case State::Identifier: {
            const QChar quote = state == State::Literal ? u'\'' : u'"';
            if (c == quote) {
                if (next == quote) {
                    out += c;
                    out += next;
                    i += 2;
                    continue;
                }
                state = State::Code;
            }
            break;
        }
        case State::QLiteral:
            if (c == qClose && next == u'\'') {
                out += c;
                out += next;
                i += 2;
                state = State::Code;
                continue;
            }
            break;
        case State::LineComment:
            if (c == u'\n') state = State::Code;
            break;
        case State::BlockComment:
            if (c == u'*' && next == u'/') {
                out += u"*/"_s;
                i += 2;
                state = State::Code;
                continue;
            }
            break;
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace livrax::expr
