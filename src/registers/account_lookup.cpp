#include "registers/account_lookup.h"

#include "data/connection.h"
#include "data/db_error.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"

#include <optional>

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

AccountLookupResult& LastFound() {
    static AccountLookupResult result;
    return result;
}

// RESUMIDA is an INTEGER: a digit text longer than nine digits names none.
std::optional<qint64> AbbreviatedNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    return text.toLongLong();
}

} // namespace

const AccountLookupResult& LastAccountFound() {
    return LastFound();
}

QString FindAccount(const QString& text, const QString& sa) {
    if (text.isEmpty()) return {};
    const QString typed = text.toUpper();
    const bool anyKind = sa == u"*"_s;
    const QString kind = anyKind ? QString() : u" AND SA = :P_SA"_s;
    const std::optional<qint64> abbreviated = AbbreviatedNumber(typed);
    QString condition =
        u"CBSIGLA = :P_TEXT OR (EDCONTA = :P_TEXT%1) OR (CONTA = :P_TEXT%1)"_s.arg(kind);
    if (abbreviated) condition += u" OR (RESUMIDA = :P_RESUMIDA%1)"_s.arg(kind);
    const QString table = data::ResolveTableName(u"CBP"_s);
    data::Connection* database = data::DatabaseFor(table);
    if (!database || !database->isConnected()) return u"*"_s;
    try {
        data::Transaction transaction(*database, data::TransactionMode::ReadSnapshot);
        data::Statement select(
            *database, transaction,
            u"SELECT FIRST 1 CONTA,EDCONTA,SEQ_CBP,NOME,CONTAF,CCUSTO,ADIC,"
            u"NATUREZA,SA FROM %1 WHERE %2 ORDER BY CONTA"_s.arg(table, condition));
        select.bind(u"P_TEXT"_s, typed);
        if (!anyKind) select.bind(u"P_SA"_s, sa);
        if (abbreviated) select.bind(u"P_RESUMIDA"_s, *abbreviated);
        select.open();
        if (!select.fetch()) return u"*"_s;
        const auto field = [&select](const char16_t* name) {
            return select.value(QString::fromUtf16(name)).toString().trimmed();
        };
        AccountLookupResult found;
        found.seqCbp = field(u"SEQ_CBP");
        found.edConta = field(u"EDCONTA");
        found.nome = field(u"NOME");
        found.contaF = field(u"CONTAF");
        found.cCusto = field(u"CCUSTO");
        found.adic = field(u"ADIC");
        found.conta = field(u"CONTA");
        found.natureza = field(u"NATUREZA");
        found.sa = field(u"SA");
        select.close();
        transaction.commit();
        LastFound() = found;
        return found.conta;
    } catch (const data::DbError&) {
        return u"*"_s;
    }
}

} // namespace livrax::registers
