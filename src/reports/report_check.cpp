#include "reports/report_check.h"

#include "data/connection.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "expr/expression.h"
#include "expr/macros.h"

#include <QRegularExpression>
#include <QSet>

namespace livrax::reports {

using namespace Qt::StringLiterals;

namespace {

class ColumnCheck {
  public:
    explicit ColumnCheck(const LoadedReport& report)
        : m_main(report.mainColumns.begin(), report.mainColumns.end()),
          m_secondary(report.secondaryColumns.begin(), report.secondaryColumns.end()) {}

    // A name as the stored lines write it: "A.X", "S.X" or a bare X of the
    // main table, upper case or not.
    bool knows(const QString& name, bool secondary) const {
        return (secondary ? m_secondary : m_main).contains(name.trimmed().toUpper());
    }
    // "S.X" names the secondary table; the qualifier is dropped.
    bool knows(const QString& qualified) const {
        const QString name = qualified.trimmed();
        if (name.startsWith(u"S."_s, Qt::CaseInsensitive)) return knows(name.mid(2), true);
        if (name.startsWith(u"A."_s, Qt::CaseInsensitive)) return knows(name.mid(2), false);
        return knows(name, false);
    }

  private:
    QSet<QString> m_main, m_secondary;
};

// The fields of an order text ("A.SERIE#A.NOTA DESC", "#" or "," between
// them), without ASC/DESC.
QStringList OrderFields(const QString& order) {
    QStringList fields;
    static const QRegularExpression separators(u"[#,]"_s);
    for (QString part : order.split(separators, Qt::SkipEmptyParts)) {
        part = part.trimmed();
        static const QRegularExpression direction(u"\\s+(ASC|DESC)(ENDING)?$"_s,
                                                  QRegularExpression::CaseInsensitiveOption);
        part.remove(direction);
        if (!part.isEmpty()) fields << part;
    }
    return fields;
}

void CheckExpressions(const LoadedReport& report, const ColumnCheck& columns,
                      QStringList& findings) {
    for (qsizetype i = 0; i < report.definition.fields.size(); ++i) {
        const ReportField& field = report.definition.fields.at(i);
        const QString type = field.type.trimmed();
        if (type.isEmpty() || type == u"0"_s) continue;
        const QString where =
            u"%1.%2"_s.arg(field.line.trimmed().isEmpty() ? u"1"_s : field.line.trimmed())
                .arg(i + 1);
        QList<expr::ParsedExpression> parsed;
        if (type == u"1"_s)
            parsed << expr::ParseExpression(field.content, expr::ExpressionKind::Field);
        if (!field.function.trimmed().isEmpty())
            parsed << expr::ParseExpression(field.function, expr::ExpressionKind::Line);
        for (const expr::ParsedExpression& expression : parsed) {
            for (const expr::ExpressionToken& token : expression.tokens) {
                if (token.column.isEmpty() || token.hasMacro ||
                    token.number == expr::ExpressionToken::Number::Valid)
                    continue;
                if (!columns.knows(token.column, token.secondary))
                    findings << where + u": coluna desconhecida "_s + token.text;
            }
        }
    }
}

void CheckNamedFields(const LoadedReport& report, const ColumnCheck& columns,
                      QStringList& findings) {
    const ReportDefinition& definition = report.definition;
    for (const QString& field : OrderFields(definition.sortFields))
        if (!columns.knows(field)) findings << u"ordem: coluna desconhecida "_s + field;
    const QString group = definition.grouping.field.trimmed();
    if (!group.isEmpty() && !columns.knows(group))
        findings << u"grupo: coluna desconhecida "_s + group;
    if (report.secondaryTable.isEmpty()) return;
    const SecondaryTable& secondary = definition.secondary;
    if (!columns.knows(secondary.mainKey, false))
        findings << u"tabela secundária: coluna desconhecida A."_s + secondary.mainKey.trimmed();
    if (!columns.knows(secondary.secondaryKey, true))
        findings << u"tabela secundária: coluna desconhecida S."_s +
                        secondary.secondaryKey.trimmed();
    for (const QString& field : OrderFields(secondary.sortFields))
        if (!columns.knows(field))
            findings << u"tabela secundária: coluna de ordem desconhecida "_s + field;
}

} // namespace

ReportCheck CheckReport(const LoadedReport& report) {
    ReportCheck check;
    const ColumnCheck columns(report);
    CheckExpressions(report, columns, check.findings);
    CheckNamedFields(report, columns, check.findings);
    const expr::MacroRun macros;
    check.built = BuildReport(report, macros);
    for (const QString& refusal : check.built.refusals)
        check.findings << u"seleção: "_s + refusal;
    if (!check.built.refusals.isEmpty()) return check;
    try {
        data::Connection* database = data::DatabaseFor(report.table);
        if (!database) throw data::DbError(u"banco de dados da tabela não encontrado"_s);
        data::Transaction transaction(*database);
        const data::Statement statement(*database, transaction, check.built.sql());
    } catch (const std::exception& error) {
        check.findings << u"SQL: "_s + QString::fromUtf8(error.what());
    }
    return check;
}

} // namespace livrax::reports
