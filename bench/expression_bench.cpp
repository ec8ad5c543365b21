// The report expressions over many rows: each expression parsed once and
// evaluated for every row of an in-memory table, as the report runner does
// per printed line, beside a bare loop that only reads the same columns.
// Usage: expression_bench [rows]

#include "expr/expression.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <vector>

using namespace livrax;
using namespace livrax::expr;
using namespace Qt::StringLiterals;

namespace {

// One row of three columns, found by a switch on the name as a query slot
// finds them through its name map.
class BenchRow : public ExpressionRow {
  public:
    std::array<QString, 3> values;
    std::optional<QString> field(const QString& name) const override {
        if (name == u"QTDE") return values[0];
        if (name == u"PRECO") return values[1];
        if (name == u"DESCONTO") return values[2];
        return std::nullopt;
    }
    QString macroValue(const QString& name) const override {
        return name == u"[GBFUN1]" ? values[0] : name;
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTextStream out(stdout);

    // The rows: texts as the database gives them, built before timing.
    std::vector<BenchRow> table(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        table[std::size_t(i)].values = {QString::number(i % 97 + 1),
                                        QString::number(i % 1000) + u",25"_s,
                                        QString::number(i % 7) + u",5"_s};
    }

    const struct {
        const char* name;
        QString text;
        ExpressionKind kind;
    } cases[] = {
        {"field chain", u"QTDE*PRECO-DESCONTO"_s, ExpressionKind::Field},
        {"single column", u"PRECO"_s, ExpressionKind::Field},
        {"copy", u"COPY(PRECO,1,3)"_s, ExpressionKind::Field},
        {"iif", u"IIF([GBFUN1] = 3,SEDEX,NORMAL)"_s, ExpressionKind::Line},
        {"arit", u"ARIT 2 * 12,3456"_s, ExpressionKind::Line},
    };

    QElapsedTimer timer;
    timer.start();
    qsizetype bare = 0;
    for (const BenchRow& row : table)
        bare += row.field(u"QTDE"_s)->size() + row.field(u"PRECO"_s)->size();
    out << "reading two columns: " << timer.nsecsElapsed() / 1000000.0 << " ms (" << bare << ")\n";

    for (const auto& c : cases) {
        const ParsedExpression parsed = ParseExpression(c.text, c.kind);
        timer.restart();
        qsizetype length = 0;
        for (const BenchRow& row : table)
            length += Evaluate(parsed, row).text.size();
        const double ms = timer.nsecsElapsed() / 1000000.0;
        out << c.name << ": " << rows << " rows in " << ms << " ms, "
            << (ms * 1000000.0 / std::max(rows, 1)) << " ns a row (" << length << ")\n";
    }
    return 0;
}
