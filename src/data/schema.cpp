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

QStringList CompanyTableStatements(const QString& code, const QString& companyCode) {
    const QString table = QStringLiteral("VRTN") + code.toUpper();
    const QString copy = table + companyCode;
    QStringList statements;
    for (const QString& statement : SplitSqlScript(SchemaScript(SchemaPart::Erp))) {
        if (statement.startsWith(QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" ("))) {
            statements.append(QString(statement).replace(QStringLiteral("CREATE TABLE ") + table,
                                                         QStringLiteral("CREATE TABLE ") + copy));
        } else if (statement.startsWith(QStringLiteral("CREATE INDEX ")) &&
                   statement.contains(QStringLiteral(" ON ") + table + QStringLiteral(" ("))) {
            // Index names are unique per database: the copy's carry the code.
            QString index = statement;
            index.replace(QStringLiteral(" ON ") + table + QStringLiteral(" ("),
                          QStringLiteral(" ON ") + copy + QStringLiteral(" ("));
            const qsizetype nameEnd = index.indexOf(u' ', 13);
            index.insert(nameEnd, companyCode);
            statements.append(index);
        }
    }
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
