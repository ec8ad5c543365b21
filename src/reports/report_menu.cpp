#include "reports/report_menu.h"

#include "common/fields.h"
#include "data/connection.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"

using namespace Qt::StringLiterals;

namespace livrax::reports {

namespace {

// A LIKE pattern that matches `text` itself and then anything: "_", "%" and
// the escape character are escaped.
QString LikePrefix(const QString& text) {
    QString pattern;
    for (const QChar c : text) {
        if (c == u'_' || c == u'%' || c == u'\\') pattern += u'\\';
        pattern += c;
    }
    return pattern + u'%';
}

QString KeyFor(const ReportMenu& menu, int number, QChar letter) {
    return menu.key + ReportNumber(number) + letter;
}

} // namespace

ReportMenu MenuForTable(const QString& tableCode, const QString& key) {
    return {tableCode, key.isEmpty() ? u"FMQ_"_s + tableCode : key, data::DatabaseFor(tableCode)};
}

QString ReportNumber(int number) {
    return ZeroPad(qint64(number), 3);
}

QString DefinitionKey(const ReportMenu& menu, int number) {
    return KeyFor(menu, number, u'A');
}

QString SelectionKey(const ReportMenu& menu, int number) {
    return KeyFor(menu, number, u'V');
}

QString CompanionKey(const ReportMenu& menu, int number) {
    return KeyFor(menu, number, u'C');
}

QString MenuSelectionKey(const ReportMenu& menu) {
    return menu.key + u"0000"_s;
}

QList<ReportEntry> ListReports(const ReportMenu& menu) {
    QList<ReportEntry> reports;
    if (!menu.database || !menu.database->isConnected()) return reports;
    try {
        data::Transaction transaction(*menu.database, data::TransactionMode::ReadSnapshot);
        data::Statement select(*menu.database, transaction,
                               u"SELECT CHAVE,CAMPO FROM VRTNPAR WHERE CHAVE LIKE "_s +
                                   Quote(LikePrefix(menu.key)) + u" ESCAPE '\\' ORDER BY CHAVE"_s);
        select.open();
        const qsizetype keyLength = menu.key.size() + 4;
        while (select.fetch()) {
            const QString key = select.value(0).toString();
            // Only M + NNN + "A": the menu's configuration ends in "0", and a
            // longer key belongs to another menu whose key begins with M.
            if (key.size() != keyLength || !key.endsWith(u'A')) continue;
            reports.append({key.mid(menu.key.size(), 3), select.value(1).toString()});
        }
        transaction.commit();
    } catch (const data::DbError&) {
        reports.clear();
    }
    return reports;
}

void SetCurrentReport(const ReportMenu& menu, int number) {
    data::RegistryValues& registry = data::Globals().registry;
    const QString path = menu.database ? menu.database->path() : QString();
    const QString values[] = {
        menu.tableCode,
        QString(path).replace(u"\\\\"_s, u"\\"_s),
        path,
        data::ResolveTableName(menu.tableCode),
        menu.key,
        DefinitionKey(menu, number),
        SelectionKey(menu, number),
        CompanionKey(menu, number),
        MenuSelectionKey(menu),
    };
    for (std::size_t i = 0; i < std::size(values); ++i)
        registry.fmq[i] = values[i];
    registry.fmqMenuItem = number;
}

} // namespace livrax::reports
