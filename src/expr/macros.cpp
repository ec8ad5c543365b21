#include "expr/macros.h"

#include "common/text.h"
#include "data/company_header.h"
#include "data/globals.h"
#include "expr/sql_substitution.h"
#include "platform/clock.h"

#include <QList>
#include <QLocale>

#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace livrax::expr {

namespace {

// The slots the report runner fills while it prints.
struct MacroSlots {
    std::array<QString, 10> functions; // GBFUN0..GBFUN9 at [0]..[9]
    QString currencyTitle;
    QString currencyValue;
};

MacroSlots& Slots() {
    static MacroSlots instance;
    return instance;
}

// One name and where its value is: the text printed, and how it is written
// in SQL. Entries point at the values (globals, slots, the run's moment)
// instead of copying them, since a text expansion reads few of them.
struct MacroEntry {
    enum class Sql { Text, Date, Number };
    const QString* name;
    const QString* text;
    Sql sql = Sql::Text;
};

const QString& NoValue() {
    static const QString empty;
    return empty;
}

// "[" + stem + suffix + "]" for each suffix, built once.
QStringList BracketedNames(const QString& stem, const QString& suffixes) {
    QStringList names;
    for (const QChar suffix : suffixes)
        names.append(u'[' + stem + suffix + u']');
    return names;
}

// Today written out: "8 de dezembro de 2007 " (the trailing space is part of
// the stored layouts' spacing).
QString LongDate(const QDate& date) {
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return QString::number(date.day()) + u" de "_s +
           brazil.monthName(date.month(), QLocale::LongFormat) + u" de "_s +
           QString::number(date.year()) + u' ';
}

constexpr qsizetype EntryCount = 71;
using MacroEntries = std::array<MacroEntry, EntryCount>;

// Every name in the order of expansion, with where its value is at `moment`.
// Nothing is allocated: the names are built once, the values are pointed at.
MacroEntries Entries(const MacroRun::Moment& moment) {
    static const QStringList campoNames = BracketedNames(u"GBCAMPO"_s, u"ABCDEFGHIJ"_s);
    static const QStringList functionNames = BracketedNames(u"GBFUN"_s, u"1234567890"_s);
    static const QStringList sumNames = BracketedNames(u"GBSUM"_s, u"1234567890"_s);
    static const QStringList dirNames = BracketedNames(u"GB_DIR"_s, u"12345"_s);
    static const QStringList fixedNames = {
        u"[GBULTIMO]"_s,      u"[GB_SISTEMA]"_s,    u"[GB_VERSAO]"_s,    u"[GB_SEN_REP]"_s,
        u"GB_SEN_REP"_s,      u"[GB_SEN_USER]"_s,   u"[GB_SEN_NOMEC]"_s, u"[GB_SEN_NIVEL]"_s,
        u"[GB_SEN_NUMERO]"_s, u"[GB_DIRDEFAULT]"_s, u"[CAE_EMPRESA]"_s,  u"CAE_EMPRESA"_s,
        u"[CAE_ENDERECO]"_s,  u"CAE_ENDERECO"_s,    u"[CAE_FANTASIA]"_s, u"CAE_FANTASIA"_s,
        u"[CAE_CGC]"_s,       u"[CAE_INSCEST]"_s,   u"[CAE_CEP]"_s,      u"[CAE_CIDADE]"_s,
        u"[CAE_EMAIL]"_s,     u"[CAE_FONE]"_s,      u"[CAE_ETD]"_s,      u"[CAP_EMPRESA]"_s,
        u"[DATE]"_s,          u"[DATA]"_s,          u"[DATAI]"_s,        u"[DATAE]"_s,
        u"[TIME]"_s,          u"[HORA]"_s,          u"[DIA]"_s,          u"[MES]"_s,
        u"[ANO]"_s,           u"[ANO4]"_s,          u"[GB_TITMOEDA]"_s,  u"[GB_VALMOEDA]"_s};
    const data::SharedGlobals& g = data::Globals();
    const data::TRecCae& company = g.company;
    const data::TRecUser& user = g.user;
    const MacroSlots& filled = Slots();
    using Sql = MacroEntry::Sql;

    MacroEntries e;
    qsizetype at = 0;
    const auto add = [&](const QString& name, const QString& value, Sql sql = Sql::Text) {
        e[std::size_t(at++)] = {&name, &value, sql};
    };
    qsizetype fixed = 0;
    const auto next = [&]() -> const QString& { return fixedNames[fixed++]; };
    for (int i = 0; i < 10; ++i)
        add(campoNames[i], g.registry.campos[std::size_t(i)]);
    for (int i = 0; i < 10; ++i)
        add(functionNames[i], filled.functions[std::size_t((i + 1) % 10)]);
    for (int i = 0; i < 10; ++i)
        add(sumNames[i], NoValue());
    add(next(), NoValue()); // [GBULTIMO]
    add(next(), g.registry.system);
    add(next(), g.system.version);
    // The representative code is the third text of the user record.
    add(next(), user.extra);
    add(next(), user.extra);
    add(next(), user.name);
    add(next(), user.fullName);
    add(next(), user.level);
    add(next(), user.number);
    add(next(), g.registry.dirDefault);
    for (int i = 0; i < 5; ++i)
        add(dirNames[i], g.registry.dirs[std::size_t(i + 1)]);
    add(next(), company.name);
    add(next(), company.name);
    add(next(), company.address);
    add(next(), company.address);
    add(next(), company.tradeName);
    add(next(), company.tradeName);
    add(next(), company.cnpj);
    add(next(), company.stateRegistration);
    add(next(), company.postalCode);
    add(next(), company.city);
    add(next(), company.email);
    add(next(), company.phone);
    add(next(), company.state);
    add(next(), NoValue()); // [CAP_EMPRESA]
    add(next(), moment.shortDate, Sql::Date);
    add(next(), moment.shortDate, Sql::Date);
    add(next(), moment.monthFirst, Sql::Date);
    add(next(), moment.longDate);
    add(next(), moment.time);
    add(next(), moment.time);
    add(next(), moment.day, Sql::Number);
    add(next(), moment.month, Sql::Number);
    add(next(), moment.year, Sql::Number);
    add(next(), moment.year4, Sql::Number);
    add(next(), filled.currencyTitle);
    add(next(), filled.currencyValue, Sql::Number);
    Q_ASSERT(at == EntryCount && fixed == fixedNames.size());
    return e;
}

// Whether any name can occur in the text: every name but four bare ones
// starts with "[", and those four hold "GB_SEN_REP" or "CAE_".
bool MayHoldMacro(const QString& text) {
    return text.contains(u'[') || text.contains(u"CAE_"_s) || text.contains(u"GB_SEN_REP"_s);
}

// The value of a bare name asked by MacroValue; nullopt for any other text.
std::optional<QString> BareValue(const QString& name, const MacroRun::Moment& moment) {
    // Every bare name starts with G, C, D or H: operands such as "<>" or
    // "0,0000" are answered without going through the names.
    if (name.isEmpty()) return std::nullopt;
    if (const QChar first = name.front();
        first != u'G' && first != u'C' && first != u'D' && first != u'H')
        return std::nullopt;
    const data::SharedGlobals& g = data::Globals();
    const data::TRecCae& company = g.company;
    const data::TRecUser& user = g.user;
    const MacroSlots& filled = Slots();
    // The digit that ends stem + digit, or -1.
    const auto digitAfter = [&name](QStringView stem) {
        if (name.size() != stem.size() + 1 || !name.startsWith(stem)) return -1;
        const QChar last = name.back();
        return last >= u'0' && last <= u'9' ? last.unicode() - u'0' : -1;
    };
    if (const int n = digitAfter(u"GBFUN"); n >= 0) return filled.functions[std::size_t(n)];
    // GBSUM0 is not among the names a value is given for.
    if (digitAfter(u"GBSUM") >= 1) return QString();
    if (const int n = digitAfter(u"GB_DIR"); n >= 1 && n <= 5)
        return g.registry.dirs[std::size_t(n)];
    const std::pair<QString, QString> names[] = {
        {u"GB_SISTEMA"_s, g.registry.system},
        {u"GB_VERSAO"_s, g.system.version},
        {u"GB_SEN_USER"_s, user.name},
        {u"GB_SEN_NOMEC"_s, user.fullName},
        {u"GB_SEN_NIVEL"_s, user.level},
        {u"GB_SEN_NUMERO"_s, user.number},
        {u"GB_DIRDEFAULT"_s, g.registry.dirDefault},
        {u"CAE_EMPRESA"_s, company.name},
        {u"CAE_ENDERECO"_s, company.address},
        {u"CAE_CGC"_s, company.cnpj},
        {u"CAE_INSCEST"_s, company.stateRegistration},
        {u"CAE_CEP"_s, company.postalCode},
        {u"CAE_CIDADE"_s, company.city},
        {u"CAE_EMAIL"_s, company.email},
        {u"CAE_FONE"_s, company.phone},
        {u"CAE_FAX"_s, company.fax},
        {u"CAE_ETD"_s, company.state},
        {u"DATA"_s, moment.shortDate},
        {u"DATE"_s, moment.shortDate},
        {u"HORA"_s, moment.time},
    };
    for (const auto& [bare, value] : names) {
        if (name == bare) return value;
    }
    return std::nullopt;
}

} // namespace

void SetMacroFunction(const QString& digit, const QString& value) {
    if (digit.size() != 1 || digit.at(0) < u'0' || digit.at(0) > u'9') return;
    Slots().functions[std::size_t(digit.at(0).unicode() - u'0')] = value.trimmed();
}

void SetCurrencyOfTheDay(const QString& title, const QString& value) {
    Slots().currencyTitle = title;
    Slots().currencyValue = value;
}

void ResetMacroSlots() {
    Slots() = MacroSlots();
}

MacroRun::MacroRun() {
    const QDateTime now = platform::Clock::now();
    const QDate today = now.date();
    m_moment = {today,
                today.toString(u"dd/MM/yy"_s),
                today.toString(u"MM/dd/yy"_s),
                LongDate(today),
                now.time().toString(u"hh:mm:ss"_s),
                today.toString(u"dd"_s),
                today.toString(u"MM"_s),
                today.toString(u"yy"_s),
                today.toString(u"yyyy"_s)};
}

QString MacroRun::expand(const QString& text) const {
    if (!MayHoldMacro(text)) return text;
    QString result = text;
    for (const MacroEntry& entry : Entries(m_moment)) {
        if (result.contains(*entry.name)) result = ReplaceText(result, *entry.name, *entry.text);
    }
    return result;
}

QString MacroRun::expandForSql(const QString& sql) const {
    if (!MayHoldMacro(sql)) return sql;
    QList<SqlSubstitution> substitutions;
    substitutions.reserve(EntryCount);
    for (const MacroEntry& entry : Entries(m_moment)) {
        switch (entry.sql) {
        case MacroEntry::Sql::Text:
            substitutions.append({*entry.name, SqlValue::text(*entry.text)});
            break;
        case MacroEntry::Sql::Date:
            substitutions.append({*entry.name, SqlValue::date(m_moment.today)});
            break;
        case MacroEntry::Sql::Number:
            substitutions.append({*entry.name, SqlValue::number(*entry.text)});
            break;
        }
    }
    return SubstituteInSql(sql, substitutions);
}

QString MacroRun::value(const QString& name) {
    const QString v = expand(name);
    if (v.startsWith(u"CAE_"_s) && !m_companyReloaded) {
        data::LoadCompanyHeader();
        m_companyReloaded = true;
    }
    return BareValue(v, m_moment).value_or(v);
}

QString MacroRun::expandUserNamesForSql(const QString& sql) const {
    const data::SharedGlobals& g = data::Globals();
    return SubstituteInSql(sql, {
                                    {u"GB_SEN_REP"_s, SqlValue::text(g.user.extra)},
                                    {u"GB_SEN_USER"_s, SqlValue::text(g.user.name)},
                                    {u"GB_SEN_NIVEL"_s, SqlValue::text(g.user.level)},
                                    {u"GB_SISTEMA"_s, SqlValue::text(g.registry.system)},
                                });
}

QString ExpandMacros(const QString& text) {
    return MacroRun().expand(text);
}

QString ExpandMacrosForSql(const QString& sql) {
    return MacroRun().expandForSql(sql);
}

QString MacroValue(const QString& name) {
    return MacroRun().value(name);
}

QString ExpandUserNamesForSql(const QString& sql) {
    return MacroRun().expandUserNamesForSql(sql);
}

} // namespace livrax::expr
