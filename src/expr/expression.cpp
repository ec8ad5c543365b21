#include "expr/expression.h"

#include "common/amount_words.h"
#include "common/fields.h"
#include "common/text.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

using Form = ParsedExpression::Form;
using Number = ExpressionToken::Number;
using Kind = Diagnostic::Kind;
using Wide = __int128;

constexpr qint64 Scale = 10000;
constexpr int LineDecimals = 6;  // ARIT and bracket operands
constexpr int FieldDecimals = 7; // literals and columns of field expressions

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool IsOperator(QStringView t) {
    return t == u"*" || t == u"/" || t == u"+" || t == u"-";
}

ExpressionResult Fault(Kind kind, const QString& detail) {
    return {QString(), Diagnostic{kind, detail}};
}

// The Windows-1252 byte of a character; characters the code page lacks are
// written as "?" by the encoder, so they compare as "?".
uchar Cp1252Byte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return uchar(u);
    static constexpr char16_t High[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) {
        if (High[i] == u) return uchar(0x80 + i);
    }
    return uchar('?');
}

// Rounds num / den to the nearest integer, ties to even. den != 0.
Wide DivideRoundEven(Wide num, Wide den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const bool negative = num < 0;
    const Wide magnitude = negative ? -num : num;
    Wide quotient = magnitude / den;
    const Wide twice = (magnitude % den) * 2;
    if (twice > den || (twice == den && quotient % 2 == 1)) ++quotient;
    return negative ? -quotient : quotient;
}

bool FitsInt64(Wide v) {
    return v >= Wide(std::numeric_limits<qint64>::min()) &&
           v <= Wide(std::numeric_limits<qint64>::max());
}

// One step of fixed-point arithmetic on ten-thousandths: "*" and "/" rounded
// to the nearest ten-thousandth, ties to even.
std::optional<Diagnostic> Apply(QChar op, qint64 left, qint64 right, qint64* out,
                                const QString& detail) {
    Wide r = 0;
    switch (op.unicode()) {
    case u'+':
        r = Wide(left) + right;
        break;
    case u'-':
        r = Wide(left) - right;
        break;
    case u'*':
        r = DivideRoundEven(Wide(left) * right, Scale);
        break;
    case u'/':
        if (right == 0) return Diagnostic{Kind::DivisionByZero, detail};
        r = DivideRoundEven(Wide(left) * Scale, right);
        break;
    default:
        return Diagnostic{Kind::Malformed, detail};
    }
    if (!FitsInt64(r)) return Diagnostic{Kind::Overflow, detail};
    *out = qint64(r);
    return std::nullopt;
}

QString TokenAt(const QList<QString>& values, int oneBased) {
    return oneBased >= 1 && oneBased <= values.size() ? values.at(oneBased - 1) : QString();
}

ExpressionToken MakeToken(const QString& text, int decimals) {
    ExpressionToken t;
    t.text = text;
    t.hasMacro = text.contains(u'[');
    if (text.startsWith(u"A."_s)) {
        t.column = text.mid(2);
    } else if (text.startsWith(u"S."_s)) {
        t.column = text.mid(2);
        t.secondary = true;
    } else {
        t.column = text;
    }
    if (!t.hasMacro) t.number = ReadScaled(text, decimals, &t.scaled);
    return t;
}

QList<ExpressionToken> MakeTokens(const QStringList& texts, int decimals) {
    QList<ExpressionToken> tokens;
    tokens.reserve(texts.size());
    for (const QString& text : texts)
        tokens.append(MakeToken(text, decimals));
    return tokens;
}

// The form chosen by a line expression's first characters.
ParsedExpression ParseLine(const QString& text) {
    ParsedExpression p;
    p.kind = ExpressionKind::Line;
    p.source = text;
    const auto spaced = [&](const QString& s) { return MakeTokens(s.split(u' '), LineDecimals); };
    // IIF and IMPSE: "(" becomes a space, ")" and apostrophes go, and IIF's
    // commas separate its tokens too.
    const auto parenthesised = [&](bool commas) {
        QString s = text;
        s.replace(u'(', u' ');
        s.remove(u')');
        s.remove(u'\'');
        if (commas) s.replace(u',', u' ');
        return spaced(s);
    };

    if (text.startsWith(u"IFBOL "_s) || text.startsWith(u"CANCELARSE "_s)) {
        p.form = Form::Truth;
        p.tokens = spaced(text);
    } else if (text.startsWith(u"IF "_s) || text.startsWith(u"IF("_s)) {
        p.form = Form::If;
        p.tokens = spaced(text);
    } else if (text.startsWith(u"IIF("_s)) {
        p.form = Form::Choice;
        p.tokens = parenthesised(true);
    } else if (text.startsWith(u"IMPSE("_s)) {
        p.form = Form::PrintIf;
        p.tokens = parenthesised(false);
    } else if (text.startsWith(u"VEXTENSO"_s)) {
        p.form = Form::AmountWords;
    } else if (text.startsWith(u"ARIT "_s)) {
        p.form = Form::Arithmetic;
        const QList<ExpressionToken> all = spaced(text);
        // a, op, b are T2, T3, T4.
        p.tokens = all.mid(1, 3);
    } else if (text.contains(u" [*] "_s) || text.contains(u" [/] "_s) ||
               text.contains(u" [+] "_s) || text.contains(u" [-] "_s)) {
        p.form = Form::Arithmetic;
        QString s = text.trimmed();
        s = ReplaceText(s, u"   "_s, u" "_s);
        s = ReplaceText(s, u"  "_s, u" "_s);
        p.tokens = spaced(s).mid(0, 3);
    } else {
        p.form = Form::Verbatim;
    }
    return p;
}

ParsedExpression ParseField(const QString& text) {
    ParsedExpression p;
    p.kind = ExpressionKind::Field;
    p.source = text;
    if (text.trimmed().isEmpty()) {
        p.form = Form::Empty;
        return p;
    }
    if (text.startsWith(u"COPY("_s)) {
        p.form = Form::Copy;
        QString s = text;
        s.remove(u"COPY("_s);
        s.remove(u')');
        s.replace(u',', u'#');
        s.replace(u' ', u'#');
        p.tokens = MakeTokens(SplitToList(s), FieldDecimals);
        p.tokens.resize(qMax(p.tokens.size(), qsizetype(3)));
        // Start and length are read once, as the integers users type.
        for (qsizetype i = 1; i <= 2; ++i) {
            bool ok = true;
            p.tokens[i].scaled = ToInt(p.tokens[i].text, &ok);
            p.tokens[i].number = ok ? Number::Valid : Number::NotANumber;
        }
        return p;
    }
    // Operators stand alone; a minus sign is always an operator.
    QString s = text;
    s.remove(u' ');
    QString spacedText;
    spacedText.reserve(s.size() * 2);
    for (const QChar c : s) {
        if (c == u'*' || c == u'/' || c == u'+' || c == u'-') {
            spacedText += u' ';
            spacedText += c;
            spacedText += u' ';
        } else {
            spacedText += c;
        }
    }
    spacedText = ReplaceText(spacedText, u"  "_s, u" "_s);
    p.tokens = MakeTokens(spacedText.split(u' '), FieldDecimals);
    // A trailing operator leaves an empty last token: a missing operand.
    p.form = p.tokens.size() == 1 ? Form::Column : Form::Chain;
    return p;
}

std::optional<QString> ReadColumn(const ExpressionToken& t, const QString& column,
                                  const ExpressionRow& row) {
    return t.secondary ? row.secondaryField(column) : row.field(column);
}

// A field-expression operand: a column read as a number (empty counts 0) or,
// when the row has no such column, a number literal.
std::optional<Diagnostic> OperandValue(const ExpressionToken& t, const ExpressionRow& row,
                                       qint64* out) {
    *out = 0;
    if (t.text.isEmpty()) return std::nullopt; // missing operand
    if (t.hasMacro) {
        QString expanded = row.expandMacros(t.text);
        expanded.remove(u' ');
        const ExpressionToken resolved = MakeToken(expanded, FieldDecimals);
        if (resolved.hasMacro) return Diagnostic{Kind::UnknownField, t.text};
        return OperandValue(resolved, row, out);
    }
    // A column name never starts like a number, so literals skip the row.
    const QChar first = t.text.at(0);
    if (!IsDigit(first) && first != u',' && first != u'.') {
        if (const std::optional<QString> value = ReadColumn(t, t.column, row)) {
            if (value->trimmed().isEmpty()) return std::nullopt;
            switch (ReadScaled(*value, FieldDecimals, out)) {
            case Number::Valid:
                return std::nullopt;
            case Number::NotANumber:
                return Diagnostic{Kind::NotANumber, t.text};
            case Number::Overflow:
                return Diagnostic{Kind::Overflow, t.text};
            }
        }
    }
    switch (t.number) {
    case Number::Valid:
        *out = t.scaled;
        return std::nullopt;
    case Number::Overflow:
        return Diagnostic{Kind::Overflow, t.text};
    case Number::NotANumber:
        break;
    }
    return Diagnostic{IsOperator(t.text) ? Kind::Malformed : Kind::UnknownField, t.text};
}

ExpressionResult EvaluateChain(const ParsedExpression& p, const ExpressionRow& row) {
    const QList<ExpressionToken>& t = p.tokens;
    qint64 result = 0;
    if (std::optional<Diagnostic> d = OperandValue(t.at(0), row, &result))
        return {QString(), std::move(d)};
    for (qsizetype i = 1; i < t.size(); i += 2) {
        const QString& op = t.at(i).text;
        if (!IsOperator(op)) return Fault(Kind::Malformed, op);
        qint64 operand = 0;
        if (i + 1 < t.size()) {
            if (std::optional<Diagnostic> d = OperandValue(t.at(i + 1), row, &operand))
                return {QString(), std::move(d)};
        }
        const QString& detail = i + 1 < t.size() ? t.at(i + 1).text : op;
        if (std::optional<Diagnostic> d = Apply(op.at(0), result, operand, &result, detail))
            return {QString(), std::move(d)};
    }
    return {ShortestDecimal(result), std::nullopt};
}

ExpressionResult EvaluateColumn(const ParsedExpression& p, const ExpressionRow& row) {
    const ExpressionToken& t = p.tokens.at(0);
    const ExpressionToken resolved =
        t.hasMacro ? MakeToken(row.expandMacros(t.text).remove(u' '), FieldDecimals) : t;
    if (std::optional<QString> value = ReadColumn(resolved, resolved.column, row))
        return {*value, std::nullopt};
    return Fault(Kind::UnknownField, t.text);
}

ExpressionResult EvaluateCopy(const ParsedExpression& p, const ExpressionRow& row) {
    if (p.tokens.isEmpty() || p.tokens.at(0).text.isEmpty())
        return Fault(Kind::Malformed, p.source);
    const ExpressionToken& name = p.tokens.at(0);
    const std::optional<QString> value = ReadColumn(name, name.column, row);
    if (!value) return Fault(Kind::UnknownField, name.text);
    if (p.tokens.at(1).number != Number::Valid || p.tokens.at(2).number != Number::Valid)
        return Fault(Kind::Malformed, p.source);
    qint64 start = p.tokens.at(1).scaled;
    const qint64 length = p.tokens.at(2).scaled;
    // A start before the first character reads from the first.
    if (start < 1) start = 1;
    if (length <= 0 || start > value->size()) return {QString(), std::nullopt};
    return {value->mid(start - 1, length), std::nullopt};
}

// The six comparison operators of IIF and IMPSE; nullopt for any other.
std::optional<bool> Compare(const QString& a, const QString& op, const QString& b) {
    const int c = CompareBytes(a, b);
    if (op == u"=") return c == 0;
    if (op == u"<>") return c != 0;
    if (op == u">") return c > 0;
    if (op == u"<") return c < 0;
    if (op == u">=") return c >= 0;
    if (op == u"<=") return c <= 0;
    return std::nullopt;
}

// Six-decimal text of a quotient given in millionths.
QString MillionthsText(Wide millionths) {
    const bool negative = millionths < 0;
    const Wide magnitude = negative ? -millionths : millionths;
    QString s = QString::number(quint64(magnitude / 1000000)) + u',' +
                QString::number(quint64(magnitude % 1000000)).rightJustified(6, u'0');
    if (negative) s.prepend(u'-');
    return s;
}

ExpressionResult EvaluateArithmetic(const ParsedExpression& p, const ExpressionRow& row) {
    const QString a = row.macroValue(p.tokens.value(0).text);
    const QString op = row.macroValue(p.tokens.value(1).text);
    const QString b = row.macroValue(p.tokens.value(2).text);
    qint64 values[2] = {0, 0};
    const QString* operands[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        if (operands[i]->isEmpty()) return Fault(Kind::Malformed, p.source);
        switch (ReadScaled(*operands[i], LineDecimals, &values[i])) {
        case Number::Valid:
            break;
        case Number::NotANumber:
            return Fault(Kind::NotANumber, *operands[i]);
        case Number::Overflow:
            return Fault(Kind::Overflow, *operands[i]);
        }
    }
    const QString symbol =
        op.size() == 3 && op.startsWith(u'[') && op.endsWith(u']') ? op.mid(1, 1) : op;
    if (!IsOperator(symbol)) return Fault(Kind::Malformed, op);
    if (symbol == u"/") {
        // The quotient itself, cut to six decimals.
        if (values[1] == 0) return Fault(Kind::DivisionByZero, b);
        const Wide millionths = Wide(values[0]) * 1000000 / values[1];
        if (!FitsInt64(millionths / 100)) return Fault(Kind::Overflow, p.source);
        return {MillionthsText(millionths), std::nullopt};
    }
    qint64 result = 0;
    if (std::optional<Diagnostic> d = Apply(symbol.at(0), values[0], values[1], &result, p.source))
        return {QString(), std::move(d)};
    return {MillionthsText(Wide(result) * 100), std::nullopt};
}

ExpressionResult EvaluateLineForm(const ParsedExpression& p, const ExpressionRow& row) {
    // T(i), the i-th token with its macro replaced by its value.
    const auto T = [&](int i) {
        return i >= 1 && i <= p.tokens.size() ? row.macroValue(p.tokens.at(i - 1).text) : QString();
    };
    const auto unchanged = [&](const QString& detail) {
        return ExpressionResult{p.source, Diagnostic{Kind::Malformed, detail}};
    };
    switch (p.form) {
    case Form::If: {
        if (T(3) != u"=") return unchanged(T(3));
        if (CompareBytes(T(2), T(4)) == 0) return {T(8).remove(u'\''), std::nullopt};
        if (T(9) == u"ELSE") return {T(12).remove(u'\''), std::nullopt};
        return {p.source, std::nullopt};
    }
    case Form::Truth: {
        const QString op = T(3);
        if (op != u"=" && op != u"<>" && op != u">" && op != u"<") return unchanged(op);
        return {*Compare(T(2), op, T(4)) ? u"T"_s : u"F"_s, std::nullopt};
    }
    case Form::Choice: {
        QString a = T(2).replace(u'.', u',');
        const QString b = T(4).replace(u'.', u',');
        if (b.isEmpty() && IsBlank(a)) a.clear();
        const std::optional<bool> holds = Compare(a, T(3), b);
        if (!holds) return {T(6), Diagnostic{Kind::Malformed, T(3)}};
        return {*holds ? T(5) : T(6), std::nullopt};
    }
    case Form::PrintIf: {
        const std::optional<bool> holds = Compare(T(2), T(3), T(4));
        if (!holds) return Fault(Kind::Malformed, T(3));
        return {*holds ? row.macroValue(u"GBFUN0"_s) : QString(), std::nullopt};
    }
    case Form::AmountWords:
        return {AmountInWords(row.macroValue(u"GBFUN0"_s)), std::nullopt};
    case Form::Arithmetic:
        return EvaluateArithmetic(p, row);
    default:
        return {p.source, std::nullopt};
    }
}

} // namespace

ExpressionToken::Number ReadScaled(QStringView text, int decimals, qint64* out) {
    QStringView s = text.trimmed();
    const bool negative = s.startsWith(u'-');
    if (negative) s = s.mid(1);
    qsizetype commas = 0;
    qsizetype dots = 0;
    qsizetype digits = 0;
    for (const QChar c : s) {
        if (c == u',') {
            ++commas;
        } else if (c == u'.') {
            ++dots;
        } else if (IsDigit(c)) {
            ++digits;
        } else {
            return Number::NotANumber;
        }
    }
    // With both separators the dots group thousands; otherwise the one
    // separator present is the decimal point.
    const QChar point = commas > 0 ? u',' : u'.';
    if (digits == 0 || (commas > 0 ? commas : dots) > 1) return Number::NotANumber;
    const bool skipDots = commas > 0;

    constexpr quint64 Max = quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    bool overflow = false;
    const auto push = [&](char16_t digit) {
        if (magnitude > (Max - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    };
    int fractionDigits = -1; // -1 while in the integer part
    char16_t firstRest = 0;  // the fifth decimal
    bool restBeyondFirst = false;
    for (const QChar c : s) {
        if (c == point) {
            fractionDigits = 0;
            continue;
        }
        if (c == u'.' && skipDots) continue;
        const char16_t d = c.unicode() - u'0';
        if (fractionDigits < 0) {
            push(d);
        } else {
            ++fractionDigits;
            if (fractionDigits > decimals) continue; // cut, never rounded on
            if (fractionDigits <= 4)
                push(d);
            else if (fractionDigits == 5)
                firstRest = u'0' + d;
            else if (d != 0)
                restBeyondFirst = true;
        }
    }
    for (int i = qMax(fractionDigits, 0); i < 4; ++i)
        push(0);
    if (firstRest > u'5' || (firstRest == u'5' && (restBeyondFirst || magnitude % 2 == 1))) {
        if (magnitude == Max)
            overflow = true;
        else
            ++magnitude;
    }
    if (overflow) return Number::Overflow;
    *out = negative ? -qint64(magnitude) : qint64(magnitude);
    return Number::Valid;
}

QString ShortestDecimal(qint64 tenThousandths) {
    // Written backwards into a buffer: one allocation, for the result.
    const quint64 magnitude =
        tenThousandths < 0 ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    char16_t buffer[28];
    int at = 28;
    quint64 fraction = magnitude % Scale;
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (; digits > 0; --digits, fraction /= 10)
            buffer[--at] = char16_t(u'0' + fraction % 10);
        buffer[--at] = u',';
    }
    quint64 integer = magnitude / Scale;
    do {
        buffer[--at] = char16_t(u'0' + integer % 10);
        integer /= 10;
    } while (integer > 0);
    if (tenThousandths < 0) buffer[--at] = u'-';
    return QString(reinterpret_cast<const QChar*>(buffer + at), 28 - at);
}

int CompareBytes(QStringView a, QStringView b) {
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const uchar x = Cp1252Byte(a.at(i));
        const uchar y = Cp1252Byte(b.at(i));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

ParsedExpression ParseExpression(const QString& text, ExpressionKind kind) {
    return kind == ExpressionKind::Line ? ParseLine(text) : ParseField(text);
}

ExpressionResult Evaluate(const ParsedExpression& p, const ExpressionRow& row) {
    switch (p.form) {
    case Form::Empty:
        return {};
    case Form::Verbatim:
        return {p.source, std::nullopt};
    case Form::Column:
        return EvaluateColumn(p, row);
    case Form::Copy:
        return EvaluateCopy(p, row);
    case Form::Chain:
        return EvaluateChain(p, row);
    default:
        return EvaluateLineForm(p, row);
    }
}

ExpressionResult EvaluateLine(const QString& text, const ExpressionRow& row) {
    return Evaluate(ParseExpression(text, ExpressionKind::Line), row);
}

ExpressionResult EvaluateField(const QString& text, const ExpressionRow& row) {
    return Evaluate(ParseExpression(text, ExpressionKind::Field), row);
}

ExpressionResult LookupValue(const LookupSource& source, const QString& table,
                             const QString& keyField, const QString& keyValue,
                             const QString& filter, const QString& expr) {
    if (table.trimmed().isEmpty()) return {};
    QString key = keyField;
    if (key.isEmpty()) {
        key = source.primaryKey(table).value(0);
        if (key.isEmpty()) return Fault(Kind::LookupFailed, table);
    }
    if (keyValue.isEmpty()) return {};

    const bool choice = expr.startsWith(u"IIF("_s) || expr.startsWith(u"IF("_s);
    // The choice reads three columns of the row, so it selects them all.
    const QString fields = choice || expr.trimmed().isEmpty() ? u"*"_s : expr;
    const std::unique_ptr<ExpressionRow> row =
        source.selectFirst(table, fields, key, keyValue, filter);
    if (!row) return Fault(Kind::LookupFailed, keyValue);

    const auto column = [&](const QString& name) -> std::optional<QString> {
        return name.isEmpty() ? std::nullopt : row->field(name);
    };
    if (!choice) {
        // "A.NAME" selects the column NAME of the table's alias.
        const QString name = expr.startsWith(u"A."_s) ? expr.mid(2) : expr;
        if (std::optional<QString> value = column(name)) return {*value, std::nullopt};
        return Fault(Kind::LookupFailed, expr);
    }
    QString s = expr;
    s.replace(u'(', u' ');
    s.remove(u')');
    s.remove(u'\'');
    s.replace(u',', u' ');
    const QStringList t = s.split(u' ');
    if (TokenAt(t, 3) != u"=") return Fault(Kind::Malformed, TokenAt(t, 3));
    const std::optional<QString> tested = column(TokenAt(t, 2));
    const std::optional<QString> equal = column(TokenAt(t, 5));
    const std::optional<QString> other = column(TokenAt(t, 6));
    if (!tested || !equal || !other) return Fault(Kind::LookupFailed, expr);
    return {CompareBytes(*tested, TokenAt(t, 4)) == 0 ? *equal : *other, std::nullopt};
}

} // namespace livrax::expr
