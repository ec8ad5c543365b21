// "livrax book LX40": the Inventário Retroativo on a base date.

#include "shell/book_commands.h"

#include "books/lx40.h"
#include "common/conditions.h"
#include "common/dates.h"
#include "common/text.h"
#include "print/print_job.h"

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// Pairs of flags that set one check box on and off.
struct BoxFlags {
    QString on, off;
    bool books::LX40Options::*field;
};

const QList<BoxFlags>& Boxes() {
    static const QList<BoxFlags> boxes{
        {u"positive"_s, u"all-balances"_s, &books::LX40Options::positiveOnly},
        {u"register-cost"_s, u"item-cost"_s, &books::LX40Options::registerCost},
        {u"summary"_s, u"no-summary"_s, &books::LX40Options::summary},
    };
    return boxes;
}

bool CheckLX40(const QCommandLineParser& parser, QTextStream& err) {
    if (parser.isSet(u"date"_s)) {
        const QString date = parser.value(u"date"_s);
        if (IsBlank(date) || !IsValidShortDate(date)) {
            err << "livrax book: data inválida: \"" << date << "\" (use dd/mm/aa).\n";
            return false;
        }
    }
    if (parser.isSet(u"layout"_s) && !books::IsLX40Layout(parser.value(u"layout"_s))) {
        err << "livrax book: --layout deve ser 00, 01, 03, 04 ou 05: \""
            << parser.value(u"layout"_s) << "\".\n";
        return false;
    }
    if (parser.isSet(u"value"_s)) {
        const QString value = parser.value(u"value"_s);
        if (value.size() != 1 || !value[0].isDigit()) {
            err << "livrax book: --value deve ser um dígito de 0 a 9: \"" << value << "\".\n";
            return false;
        }
    }
    for (const BoxFlags& box : Boxes()) {
        if (parser.isSet(box.on) && parser.isSet(box.off)) {
            err << "livrax book: use --" << box.on << " ou --" << box.off << ", não os dois.\n";
            return false;
        }
    }
    for (const QString& name : {u"entry-filter"_s, u"exit-filter"_s}) {
        if (!parser.isSet(name)) continue;
        QString filter = parser.value(name);
        const QString problem = FilterProblem(filter.replace(u'#', u' '));
        if (!problem.isEmpty()) {
            err << "livrax book: --" << name
                << " recusado (só pode restringir os itens do livro): " << problem << ".\n";
            return false;
        }
    }
    return true;
}

int PrintInventory(const QCommandLineParser& parser, const QString& out, QTextStream& err) {
    // The saved settings are the defaults; the run does not change them.
    books::LX40Options options = books::LoadLX40Settings();
    if (parser.isSet(u"date"_s)) options.baseDate = parser.value(u"date"_s);
    if (parser.isSet(u"layout"_s)) options.layout = parser.value(u"layout"_s);
    if (parser.isSet(u"value"_s)) options.valueField = parser.value(u"value"_s).toInt();
    if (parser.isSet(u"book-number"_s)) options.bookNumber = parser.value(u"book-number"_s);
    if (parser.isSet(u"title"_s)) options.title = parser.value(u"title"_s);
    if (parser.isSet(u"first-page"_s)) options.firstPage = parser.value(u"first-page"_s);
    if (parser.isSet(u"entry-filter"_s)) options.entryFilter = parser.value(u"entry-filter"_s);
    if (parser.isSet(u"exit-filter"_s)) options.exitFilter = parser.value(u"exit-filter"_s);
    for (const BoxFlags& box : Boxes()) {
        if (parser.isSet(box.on)) options.*box.field = true;
        if (parser.isSet(box.off)) options.*box.field = false;
    }
    // A saved base date that is no date is a usage error too.
    if (!IsValidShortDate(options.baseDate)) {
        err << "livrax book: data inválida: \"" << options.baseDate
            << "\" (informe --date dd/mm/aa).\n";
        return 2;
    }
    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    if (!PrintedWithoutError([&] { books::PrintLX40(job, options); }, err)) return 1;
    return FinishFileJob(job, u"LX40"_s, out, err);
}

} // namespace

BookCommand LX40BookCommand() {
    BookCommand command;
    command.codes = {u"LX40"_s};
    command.usage = u"book LX40 [--date dd/mm/aa] [--layout 00|01|03|04|05] [--value 0-9] "
                    u"[--positive|--all-balances] [--register-cost|--item-cost] "
                    u"[--summary|--no-summary] [--entry-filter SQL] [--exit-filter SQL] "
                    u"[--book-number N] [--title TEXTO] [--first-page N] --out ARQUIVO.pdf|.txt"_s;
    command.options = {
        {u"date"_s, u"LX40: data base (\"DATA BASE\")."_s, u"dd/mm/aa"_s},
        {u"layout"_s,
         u"LX40: \"Dados do Relatório\": 00 saldo e valor, 01 entradas e saídas, 05 "
         u"entradas/saídas/acertos/saldos, 03 ou 04 só o resumo."_s,
         u"00|01|03|04|05"_s},
        {u"value"_s,
         u"LX40: \"Campo Valor\" do leiaute 00: 0 custo médio, 1 última compra, 2 preço de "
         u"venda, 3 máximo, 4 mínimo, 5 ext. A, 6 ext. I, 7 ext. X, 8 compra, 9 custo."_s,
         u"0-9"_s},
        {u"positive"_s, u"LX40: somente produtos de saldo positivo (\"Imprimir somente Saldo "
                        u"Positivo\")."_s},
        {u"all-balances"_s, u"LX40: todos os saldos, também os zerados e negativos."_s},
        {u"register-cost"_s, u"LX40: custo médio do cadastro do produto (\"C/Medio do "
                             u"Produto\")."_s},
        {u"item-cost"_s, u"LX40: custo médio do último item do produto."_s},
        {u"summary"_s, u"LX40: imprime o resumo (\"Imprimir Resumo\")."_s},
        {u"no-summary"_s, u"LX40: sem o resumo."_s},
        {u"entry-filter"_s,
         u"LX40: condição SQL sobre os itens de entrada (\"Filtro Itens Entrada\"; colunas "
         u"PIE.xxx e PRO.xxx)."_s,
         u"SQL"_s},
        {u"exit-filter"_s,
         u"LX40: condição SQL sobre os itens de saída (\"Filtro Itens Saída\"; colunas PIS.xxx "
         u"e PRO.xxx)."_s,
         u"SQL"_s},
        {u"book-number"_s, u"LX40: número do livro (\"Livro\")."_s, u"N"_s},
        {u"title"_s, u"LX40: título do relatório (\"TITULO\")."_s, u"TEXTO"_s},
    };
    command.check = [](const QCommandLineParser& parser, const QString&, QTextStream& err) {
        return CheckLX40(parser, err);
    };
    command.run = [](const QCommandLineParser& parser, const QString&, const QString& out,
                     QTextStream& err) { return PrintInventory(parser, out, err); };
    return command;
}

} // namespace livrax::shell
