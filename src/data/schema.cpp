#include "data/schema.h"

#include "data/db_error.h"
#include "data/transaction.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace livrax::data {

QString SchemaScript(SchemaPart part) {
    const QString name = part == SchemaPart::Erp ? u":/db/erp.sql"_s : u":/db/system.sql"_s;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) throw DbError(u"Esquema ausente: "_s + name);
    return QString::fromUtf8(file.readAll());
}

QStringList SplitSqlScript(const QString& script) {
    QStringList statements;
    QString current;
    const QStringList lines = script.split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u"--"_s)) continue;
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
    const QString table = u"VRTN"_s + code.toUpper();
    const QString copy = table + companyCode;
    QStringList statements;
    for (const QString& statement : SplitSqlScript(SchemaScript(SchemaPart::Erp))) {
        if (statement.startsWith(u"CREATE TABLE "_s + table + u" ("_s)) {
            statements.append(
                QString(statement).replace(u"CREATE TABLE "_s + table, u"CREATE TABLE "_s + copy));
        } else if (statement.startsWith(u"CREATE INDEX "_s) &&
                   statement.contains(u" ON "_s + table + u" ("_s)) {
            // Index names are unique per database: the copy's carry the code.
            QString index = statement;
            index.replace(u" ON "_s + table + u" ("_s, u" ON "_s + copy + u" ("_s);
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
            throw DbError(error.message() + u"\nem: "_s + statement.left(200));
        }
    }
    transaction.commit();
}

void CreateDatabaseWithSchema(Connection& connection, const ConnectionOptions& options,
                              std::initializer_list<SchemaPart> parts) {
    connection.create(options);
    for (SchemaPart part : parts)
        RunSqlScript(connection, SchemaScript(part));
}

} // namespace livrax::data
