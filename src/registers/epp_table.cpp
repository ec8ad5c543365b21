#include "registers/epp_table.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "registers/register_amounts.h"

namespace livrax::registers {

using namespace Qt::StringLiterals;

namespace {

data::Connection& EppDatabase() {
    data::Connection* database = data::DatabaseFor(EppTableName());
    if (!database || !database->isConnected())
        throw data::DbError(u"A tabela %1 não está em nenhum banco aberto."_s.arg(EppTableName()));
    return *database;
}

bool OnlyDigits(const QString& text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return !text.isEmpty();
}

QString Column(const QString& prefix, int bracket) {
    return prefix + QString::number(bracket);
}

} // namespace

QString EppTableName() {
    return data::ResolveTableName(u"EPP"_s);
}

std::vector<EppRecord> LoadEppRecords() {
    data::Connection& database = EppDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(database, transaction,
                           u"SELECT * FROM %1 ORDER BY ANO,MES"_s.arg(EppTableName()));
    select.open();
    std::vector<EppRecord> records;
    while (select.fetch()) {
        EppRecord record;
        record.year = select.value(u"ANO"_s).toString().trimmed();
        record.month = select.value(u"MES"_s).toString().trimmed();
        for (int n = 1; n <= EppBracketCount; ++n) {
            EppBracket& bracket = record.brackets[std::size_t(n - 1)];
            // Ten-thousandths to hundredths: the columns hold two decimals.
            bracket.from = select.value(Column(u"DE"_s, n)).toScaled() / 100;
            bracket.to = select.value(Column(u"ATE"_s, n)).toScaled() / 100;
            bracket.discount = select.value(Column(u"DESC"_s, n)).toScaled() / 100;
        }
        records.push_back(record);
    }
    transaction.commit();
    return records;
}

bool EppKeyExists(const QString& year, const QString& month) {
    data::Connection& database = EppDatabase();
    data::Transaction transaction(database, data::TransactionMode::ReadSnapshot);
    data::Statement select(
        database, transaction,
        u"SELECT COUNT(*) FROM %1 WHERE ANO = :P_ANO AND MES = :P_MES"_s.arg(EppTableName()));
    select.bind(u"P_ANO"_s, year);
    select.bind(u"P_MES"_s, month);
    select.open();
    const bool found = select.fetch() && select.value(0).toInt() > 0;
    select.close();
    transaction.commit();
    return found;
}

EppNewKey CheckEppKey(const QString& yearText, const QString& monthText, int currentYear) {
    EppNewKey key;
    const QString year = yearText.trimmed();
    const QString month = monthText.trimmed();
    if (!OnlyDigits(year) || year.size() > 4) {
        key.refusal = u"ANO INVÁLIDO."_s;
        return key;
    }
    key.year = ZeroPad(year, 4);
    key.yearWarning = key.year < u"1992"_s || key.year.toInt() > currentYear + 1;
    if (!OnlyDigits(month) || month.size() > 2 || month.toInt() > 12) {
        key.refusal = u"MÊS INVÁLIDO."_s;
        return key;
    }
    key.month = ZeroPad(month, 2);
    return key;
}

void SaveEppRecord(const EppRecord& record) {
    data::Connection& database = EppDatabase();
    const QString table = EppTableName();
    data::Transaction transaction(database);
    data::Statement exists(
        database, transaction,
        u"SELECT COUNT(*) FROM %1 WHERE ANO = :P_ANO AND MES = :P_MES"_s.arg(table));
    exists.bind(u"P_ANO"_s, record.year);
    exists.bind(u"P_MES"_s, record.month);
    exists.open();
    const bool found = exists.fetch() && exists.value(0).toInt() > 0;
    exists.close();
    if (!found) {
        data::Statement insert(database, transaction,
                               u"INSERT INTO %1 (ANO,MES,FILIAL) VALUES("
                               u":P_ANO,:P_MES,:P_FILIAL)"_s.arg(table));
        insert.bind(u"P_ANO"_s, record.year);
        insert.bind(u"P_MES"_s, record.month);
        insert.bind(u"P_FILIAL"_s, qint64(0));
        insert.execute();
    }
    QStringList sets;
    for (const QString& prefix : {u"DE"_s, u"ATE"_s, u"DESC"_s})
        for (int n = 1; n <= EppBracketCount; ++n)
            sets << u"%1 = :P_%1"_s.arg(Column(prefix, n));
    data::Statement update(
        database, transaction,
        u"UPDATE %1 SET %2 WHERE ANO = :P_ANO AND MES = :P_MES"_s.arg(table, sets.join(u","_s)));
    for (int n = 1; n <= EppBracketCount; ++n) {
        const EppBracket& bracket = record.brackets[std::size_t(n - 1)];
        update.bind(u"P_"_s + Column(u"DE"_s, n), data::DbValue::decimal(bracket.from, 2));
        update.bind(u"P_"_s + Column(u"ATE"_s, n), data::DbValue::decimal(bracket.to, 2));
        update.bind(u"P_"_s + Column(u"DESC"_s, n), data::DbValue::decimal(bracket.discount, 2));
    }
    update.bind(u"P_ANO"_s, record.year);
    update.bind(u"P_MES"_s, record.month);
    update.execute();
    transaction.commit();
}

bool DeleteEppRecord(const QString& year, const QString& month) {
    return data::DeleteWhere(EppTableName(),
                             u"ANO = %1 AND MES = %2"_s.arg(Quote(year), Quote(month)));
}

std::optional<QString> ReadEppBrackets(const EppBracketTexts& texts, EppRecord& record) {
    std::array<EppBracket, EppBracketCount> brackets{};
    for (int n = 1; n <= EppBracketCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const struct {
            const QString& text;
            int digits;
            QString field;
            qint64& target;
        } fields[] = {
            {texts.from[i], EppAmountDigits, u"DE %1"_s.arg(n), brackets[i].from},
            {texts.to[i], EppAmountDigits, u"ATÉ %1"_s.arg(n), brackets[i].to},
            {texts.discount[i], EppRateDigits, u"DESCONTO %1"_s.arg(n), brackets[i].discount},
        };
        for (const auto& field : fields) {
            const std::optional<qint64> amount = ParseAmount(field.text, field.digits);
            if (!amount) return AmountProblem(field.field, field.text);
            field.target = *amount;
        }
    }
    record.brackets = brackets;
    return std::nullopt;
}

void ChainEppBrackets(EppBracketTexts& texts) {
    for (int n = 2; n <= EppBracketCount; ++n) {
        const std::size_t i = std::size_t(n - 1);
        const std::optional<qint64> upper = ParseAmount(texts.to[i], EppAmountDigits);
        const std::optional<qint64> previous = ParseAmount(texts.to[i - 1], EppAmountDigits);
        if (upper && *upper != 0 && previous) texts.from[i] = AmountText(*previous + 1);
    }
}

} // namespace livrax::registers
