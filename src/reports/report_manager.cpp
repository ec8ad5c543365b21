#include "reports/report_manager.h"

#include "common/fields.h"
#include "common/line_files.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/db_value.h"
#include "data/param_store.h"
#include "data/queries.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "reports/key_lines.h"
#include "reports/report_encoding.h"
#include "reports/report_menu.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <array>

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

constexpr std::array<QChar, 3> Letters = {u'A', u'V', u'C'};

QString KeyOf(const ReportMenu& menu, int number, QChar letter) {
    return menu.key + ReportNumber(number) + letter;
}

bool Usable(const ReportMenu& menu) {
    return menu.database && menu.database->isConnected();
}

// The numbers of the menu that hold any report key (M + NNN + "A"/"V"/"C").
// Throws DbError.
QSet<int> TakenNumbers(const ReportMenu& menu) {
    QSet<int> taken;
    data::Transaction transaction(*menu.database, data::TransactionMode::ReadSnapshot);
    data::Statement select(*menu.database, transaction,
                           u"SELECT CHAVE FROM VRTNPAR WHERE CHAVE STARTING WITH :P_MENU"_s);
    select.bind(u"P_MENU"_s, menu.key);
    select.open();
    static const QRegularExpression tail(u"^(\\d{3})[AVC]$"_s);
    while (select.fetch()) {
        const QString key = select.value(0).toString();
        const QRegularExpressionMatch match = tail.match(key.mid(menu.key.size()));
        if (key.size() == menu.key.size() + 4 && match.hasMatch())
            taken.insert(match.captured(1).toInt());
    }
    transaction.commit();
    return taken;
}

bool KeyStored(data::Transaction& transaction, const QString& key) {
    data::Statement count(*transaction.connection(), transaction,
                          u"SELECT COUNT(*) FROM VRTNPAR WHERE CHAVE = :P_CHAVE"_s);
    count.bind(u"P_CHAVE"_s, key);
    count.open();
    return count.fetch() && count.value(0).toInt() > 0;
}

void Rename(data::Transaction& transaction, const QString& from, const QString& to) {
    data::Statement update(*transaction.connection(), transaction,
                           u"UPDATE VRTNPAR SET CHAVE = :P_NOVA WHERE CHAVE = :P_CHAVE"_s);
    update.bind(u"P_NOVA"_s, to);
    update.bind(u"P_CHAVE"_s, from);
    update.execute();
}

void DeleteKey(data::Transaction& transaction, const QString& key) {
    data::Statement remove(*transaction.connection(), transaction,
                           u"DELETE FROM VRTNPAR WHERE CHAVE = :P_CHAVE"_s);
    remove.bind(u"P_CHAVE"_s, key);
    remove.execute();
}

void ToSharedLines(const QStringList& lines) {
    for (int n = 1; n <= data::ParamLineArray::Size; ++n)
        data::ParamLines().setLine(n, lines.value(n - 1));
}

bool InRange(int number) {
    return number >= 1 && number <= LastReportNumber;
}

} // namespace

int FirstFreeNumber(const ReportMenu& menu) {
    if (!Usable(menu)) return 0;
    try {
        const QSet<int> taken = TakenNumbers(menu);
        for (int number = 1; number <= LastReportNumber; ++number)
            if (!taken.contains(number)) return number;
    } catch (const data::DbError&) {
    }
    return 0;
}

bool ReportExists(const ReportMenu& menu, int number) {
    if (!Usable(menu)) return false;
    try {
        return TakenNumbers(menu).contains(number);
    } catch (const data::DbError&) {
        return false;
    }
}

bool CopyReport(const ReportMenu& menu, int from, int to) {
    if (!Usable(menu) || !InRange(to) || from == to) return false;
    std::array<QStringList, Letters.size()> lines;
    std::array<bool, Letters.size()> found{};
    for (std::size_t i = 0; i < Letters.size(); ++i)
        found[i] = ReadKeyLines(menu.database, KeyOf(menu, from, Letters[i]), lines[i]);
    if (!found[0]) return false;
    try {
        data::Transaction transaction(*menu.database);
        for (const QChar letter : Letters)
            if (KeyStored(transaction, KeyOf(menu, to, letter))) return false;
        for (std::size_t i = 0; i < Letters.size(); ++i) {
            if (!found[i]) continue;
            ToSharedLines(lines[i]);
            if (!data::ParamWrite(transaction, KeyOf(menu, to, Letters[i]), 0)) return false;
        }
        transaction.commit();
        return true;
    } catch (const data::DbError&) {
        return false;
    }
}

bool MoveReport(const ReportMenu& menu, int from, int to) {
    if (!Usable(menu) || !InRange(from) || !InRange(to) || from == to) return false;
    try {
        data::Transaction transaction(*menu.database);
        for (const QChar letter : Letters) {
            const QString fromKey = KeyOf(menu, from, letter);
            const QString toKey = KeyOf(menu, to, letter);
            // The exchange key lives only inside this transaction; no other
            // station ever sees it, and no report number is borrowed for it.
            const QString exchange = fromKey + u"#MOVE"_s;
            if (KeyStored(transaction, exchange)) DeleteKey(transaction, exchange);
            Rename(transaction, fromKey, exchange);
            Rename(transaction, toKey, fromKey);
            Rename(transaction, exchange, toKey);
        }
        transaction.commit();
        return true;
    } catch (const data::DbError&) {
        return false;
    }
}

bool DeleteReport(const ReportMenu& menu, int number, const QString& title) {
    if (!Usable(menu)) return false;
    return data::DeleteWhere(
        u"PAR"_s, u"CHAVE STARTING WITH "_s + Quote(menu.key + ReportNumber(number)), menu.database,
        title.trimmed().isEmpty() ? ReportNumber(number) : title);
}

OldFormatFiles OldFormatFilesOf(const QString& path) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = path.left(path.size() - suffix.size() - 1);
    const bool lower = !suffix.isEmpty() && suffix.at(0).isLower();
    return {path, base + (lower ? u"c."_s : u"C."_s) + suffix,
            base + (lower ? u"v."_s : u"V."_s) + suffix};
}

OldImportOutcome ImportOldFormatReport(const ReportMenu& menu, int number, const QString& path,
                                       bool replace, QString* title) {
    const OldFormatFiles files = OldFormatFilesOf(path);
    QStringList definition, companion, selection;
    if (!QFileInfo(files.definition).isFile() || !ReadLinesFile(files.definition, definition))
        return OldImportOutcome::Missing;
    const bool hasCompanion =
        QFileInfo(files.companion).isFile() && ReadLinesFile(files.companion, companion);
    const bool hasSelection =
        QFileInfo(files.selection).isFile() && ReadLinesFile(files.selection, selection);
    const QString read = StoredTitle(LineFields(definition.value(0), 1).at(1));
    if (title) *title = read;
    if (!Usable(menu) || !InRange(number)) return OldImportOutcome::NotWritten;
    try {
        data::Transaction transaction(*menu.database);
        bool stored = false;
        for (const QChar letter : Letters)
            stored = KeyStored(transaction, KeyOf(menu, number, letter)) || stored;
        if (stored && !replace) return OldImportOutcome::Exists;
        // A companion the new files lack must not survive from the old report.
        for (const QChar letter : Letters)
            DeleteKey(transaction, KeyOf(menu, number, letter));
        ToSharedLines(definition);
        if (!data::ParamWrite(transaction, KeyOf(menu, number, u'A'), 0, read))
            return OldImportOutcome::NotWritten;
        if (hasCompanion) {
            ToSharedLines(companion);
            if (!data::ParamWrite(transaction, KeyOf(menu, number, u'C'), 0))
                return OldImportOutcome::NotWritten;
        }
        if (hasSelection) {
            ToSharedLines(selection);
            if (!data::ParamWrite(transaction, KeyOf(menu, number, u'V'), 0))
                return OldImportOutcome::NotWritten;
        }
        transaction.commit();
        return OldImportOutcome::Imported;
    } catch (const data::DbError&) {
        return OldImportOutcome::NotWritten;
    }
}

CurrencyOfDay ReadCurrencyOfDay() {
    if (!data::ParamRead(data::DatabaseFor(u"MOE"_s), u"PAR_MOEDADIA"_s, 2)) return {};
    return {data::ParamLines().line(1), data::ParamLines().line(2)};
}

bool ParseCurrencyValue(const QString& text, qint64* tenThousandths) {
    static const QRegularExpression number(u"^\\d+([.,]\\d{1,4})?$"_s);
    const QString value = text.trimmed();
    // NUMERIC(15,4): at most eleven digits before the point.
    static const qint64 limit = 100'000'000'000LL * 10'000;
    qint64 parsed = 0;
    if (text.size() > 20 || !number.match(value).hasMatch() ||
        !data::ParseDecimal(value, 4, &parsed) || parsed >= limit)
        return false;
    *tenThousandths = parsed;
    return true;
}

QString CurrencyTitleProblem(const QString& title) {
    const QString name = title.trimmed();
    if (name.isEmpty()) return u"Informe o nome da moeda."_s;
    if (name.size() > 20) return u"O nome da moeda tem no máximo 20 caracteres."_s;
    static const QRegularExpression plain(u"^[\\p{L}\\d ]+$"_s);
    if (!plain.match(name).hasMatch())
        return u"O nome da moeda leva só letras, números e espaços: \"%1\"."_s.arg(name);
    return {};
}

QString SaveCurrencyOfDay(const QString& title, const QString& value, const QString& user,
                          const QDate& today) {
    const QString name = title.trimmed();
    if (const QString problem = CurrencyTitleProblem(name); !problem.isEmpty()) return problem;
    qint64 rate = 0;
    if (!ParseCurrencyValue(value, &rate))
        return u"Valor da moeda inválido: \"%1\" (um número, até 4 decimais)."_s.arg(value);
    data::Connection* database = data::DatabaseFor(u"MOE"_s);
    if (!database || !database->isConnected())
        return u"Banco de dados da tabela MOE não encontrado."_s;
    const QString table = data::ResolveTableName(u"MOE"_s);
    try {
        data::Transaction transaction(*database);
        data::ParamLines().clear();
        data::ParamLines().setLine(1, name);
        data::ParamLines().setLine(2, QString(value).replace(u',', u'.').trimmed());
        if (!data::ParamWrite(transaction, u"PAR_MOEDADIA"_s, 2))
            return u"A moeda do dia não pôde ser gravada."_s;
        data::Statement count(*database, transaction,
                              u"SELECT COUNT(*) FROM "_s + table +
                                  u" WHERE MOEDA = :P_MOEDA AND DATA = :P_DATA"_s);
        count.bind(u"P_MOEDA"_s, name);
        count.bind(u"P_DATA"_s, today);
        count.open();
        const bool exists = count.fetch() && count.value(0).toInt() > 0;
        count.close();
        if (!exists) {
            data::Statement insert(*database, transaction,
                                   u"INSERT INTO "_s + table +
                                       u" (MOEDA,DATA) VALUES (:P_MOEDA, :P_DATA)"_s);
            insert.bind(u"P_MOEDA"_s, name);
            insert.bind(u"P_DATA"_s, today);
            insert.execute();
        }
        data::Statement update(*database, transaction,
                               u"UPDATE "_s + table +
                                   u" SET COMPRA = :P_VALOR, VENDA = :P_VALOR, TIPO = 'C', "
                                   u"USUARIO = :P_USUARIO, DTALT = :P_DATA "
                                   u"WHERE MOEDA = :P_MOEDA AND DATA = :P_DATA"_s);
        update.bind(u"P_VALOR"_s, data::DbValue::scaled(rate));
        update.bind(u"P_USUARIO"_s, user.left(20));
        update.bind(u"P_DATA"_s, today);
        update.bind(u"P_MOEDA"_s, name);
        update.execute();
        transaction.commit();
    } catch (const data::DbError& error) {
        return u"A cotação da moeda não pôde ser gravada: "_s + error.message();
    }
    return {};
}

QString SelectionFieldName(const QString& field) {
    static const QRegularExpression comparison(u"\\s*(>=|<=|<>|>|<|=)\\s*$"_s);
    return QString(field).remove(comparison).trimmed();
}

} // namespace livrax::reports
