#include "data/schema.h"

#include "data/db_error.h"
#include "data/transaction.h"

#include <QFile>

namespace livrax::data {

QString SchemaScript(SchemaPart part) {
    const QString name = part == SchemaPart::Erp ? QStringLiteral(":/db/erp.sql")
                                                 : QStringLiteral(":/db/system.sql");
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) throw DbError(QStringLiteral("Esquema ausente: ") + name);
    return QString::fromUtf8(file.readAll());
}

QStringList SplitSqlScript(const QString& script) {
    QStringList statements;
    QString current;
    const QStringList lines = script.split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QStringLiteral("--"))) continue;
        if (!current.isEmpty()) current += u'\n';
        if (line.endsWith(u';')) {
            current += line.chopped(1);
            statements.append(current);
            current.clear();
        } else {
            current += line;
        }
    }
    if (!current.trimmed().isEmpty()) statements.append(current);
    return statements;
}

void RunSqlScript(Connection& connection, const QString& script) {
    Transaction transaction(connection);
    for (const QString& statement : SplitSqlScript(script)) {
        try {
            transaction.executeImmediate(statement);
        } catch (const DbError& error) {
            throw DbError(error.message() + QStringLiteral("\nem: ") + statement.left(200));
        }
    }
    transaction.commit();
}

void CreateDatabaseWithSchema(Connection& connection, const ConnectionOptions& options,
                              std::initializer_list<SchemaPart> parts) {
    connection.create(options);
    for (SchemaPart part : parts) RunSqlScript(connection, SchemaScript(part));
}

} // namespace livrax::data
