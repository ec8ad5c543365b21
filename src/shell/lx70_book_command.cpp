// "livrax book LX70": the Livro de ISSQN of a period.

#include "shell/book_commands.h"

#include "books/lx70_settings.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/numbers.h"
#include "common/text.h"
#include "print/print_job.h"

#include <QRegularExpression>

namespace livrax::shell {

using namespace Qt::StringLiterals;

namespace {

// The options that take an amount, with two decimals ("12,50" or "12.50").
const QStringList AmountOptions{u"rate"_s, u"subcontracted"_s, u"iss-value"_s, u"withheld"_s};

bool IsAmount(const QString& text) {
    static const QRegularExpression amount(u"^\\d{1,13}([.,]\\d+)?$"_s);
    return amount.match(text.trimmed()).hasMatch();
}

qint64 AmountOf(const QString& text) {
    return ToScaled(QString(text.trimmed()).replace(u'.', u','), 2);
}

bool CheckLX70(const QCommandLineParser& parser, QTextStream& err) {
    for (const QString& name : AmountOptions) {
        if (parser.isSet(name) && !IsAmount(parser.value(name))) {
            err << "livrax book: --" << name << " deve ser um valor como 12,50: \""
                << parser.value(name) << "\".\n";
            return false;
        }
    }
    if (parser.isSet(u"method"_s)) {
        const QString method = parser.value(u"method"_s).trimmed();
        if (method != u"0"_s && method != u"1"_s && method != u"2"_s) {
            err << "livrax book: --method deve ser 0 (na impressão), 1 (do cadastro) ou 2 "
                   "(calculado): \""
                << method << "\".\n";
            return false;
        }
    }
    if (parser.isSet(u"gross"_s) && parser.isSet(u"net"_s)) {
        err << "livrax book: use --gross ou --net, não os dois.\n";
        return false;
    }
    if (parser.isSet(u"professionals"_s)) {
        static const QRegularExpression count(u"^\\d{1,7}$"_s);
        if (!count.match(parser.value(u"professionals"_s).trimmed()).hasMatch()) {
            err << "livrax book: --professionals deve ser um número inteiro: \""
                << parser.value(u"professionals"_s) << "\".\n";
            return false;
        }
    }
    if (parser.isSet(u"payment-date"_s) && !IsValidShortDate(parser.value(u"payment-date"_s))) {
        err << "livrax book: data inválida: \"" << parser.value(u"payment-date"_s)
            << "\" (use dd/mm/aa).\n";
        return false;
    }
    return true;
}

int PrintBook(const QCommandLineParser& parser, const QString& out, QTextStream& err) {
    const books::LineBookSettings<books::LX70Options>& settings = books::LX70Settings();
    // The saved settings are the defaults; the run does not change them.
    books::LX70Options options = books::LoadBookSettings(settings);
    if (!ReadPeriodOptions(parser, options.period, err)) return 2;
    if (options.period.dateField.isEmpty()) options.period.dateField = books::DefaultDateField();
    for (const books::BookOption<books::LX70Options>& option : settings.options)
        if (parser.isSet(option.flag))
            options.*option.field = option.flagTurns == books::FlagTurns::On;
    if (parser.isSet(u"rate"_s)) options.rate = AmountOf(parser.value(u"rate"_s));
    if (parser.isSet(u"subcontracted"_s))
        options.subcontracted = AmountOf(parser.value(u"subcontracted"_s));
    if (parser.isSet(u"iss-value"_s)) options.issValue = AmountOf(parser.value(u"iss-value"_s));
    if (parser.isSet(u"withheld"_s)) options.withheld = AmountOf(parser.value(u"withheld"_s));
    if (parser.isSet(u"method"_s))
        options.method = books::LX70Method(ToInt(parser.value(u"method"_s)));
    if (parser.isSet(u"gross"_s)) options.gross = true;
    if (parser.isSet(u"net"_s)) options.gross = false;
    if (parser.isSet(u"professionals"_s))
        options.professionals = ToInt(parser.value(u"professionals"_s));
    if (parser.isSet(u"note"_s)) options.note = parser.value(u"note"_s);
    // As in the window: a start date given moves the payment date to the
    // following month, unless one is given.
    if (parser.isSet(u"payment-date"_s))
        options.paymentDate = parser.value(u"payment-date"_s);
    else if (parser.isSet(u"from"_s))
        options.paymentDate = books::LX70PaymentDate(options.paymentDate, options.period.startDate);

    print::PrintJob job(print::CompanyPrintSettings());
    SetUpFileJob(job, out, err);
    books::LX70DayTable table;
    if (!PrintedWithoutError([&] { table = books::PrintLX70(job, options); }, err)) return 1;
    if (!table.undated.isEmpty())
        err << "\nlivrax book: notas sem data em " << options.period.dateField
            << ", fora dos dias e dos totais: " << table.undated.join(u", "_s) << "\n";
    return FinishFileJob(job, u"LX70"_s, out, err);
}

} // namespace

BookCommand LX70BookCommand() {
    BookCommand command;
    command.codes = {u"LX70"_s};
    command.options = PeriodOptions();
    command.options += {
        {u"rate"_s, u"LX70: alíquota do ISSQN, em %."_s, u"PERCENTUAL"_s},
        {u"subcontracted"_s, u"LX70: (-) subempreitadas, deduzidas do mês."_s, u"VALOR"_s},
        {u"method"_s,
         u"LX70: cálculo do imposto: 0 na impressão (alíquota), 1 do cadastro, 2 calculado."_s,
         u"0|1|2"_s},
        {u"gross"_s, u"LX70: o total do dia é o valor bruto (VALOR)."_s},
        {u"net"_s, u"LX70: o total do dia é o valor líquido (LIQUIDO)."_s},
        {u"professionals"_s, u"LX70: número de profissionais."_s, u"N"_s},
        {u"iss-value"_s, u"LX70: valor do ISSQN por profissional."_s, u"VALOR"_s},
        {u"payment-date"_s, u"LX70: data de recolhimento."_s, u"dd/mm/aa"_s},
        {u"withheld"_s, u"LX70: total do imposto retido, informado."_s, u"VALOR"_s},
        {u"note"_s, u"LX70: observação impressa no resumo."_s, u"TEXTO"_s},
    };
    QString flags;
    for (const books::BookOption<books::LX70Options>& option : books::LX70Settings().options) {
        command.options.append({option.flag, option.flagHelp});
        flags += u" [--"_s + option.flag + u"]"_s;
    }
    command.usage = u"book LX70 [--from dd/mm/yy] [--to dd/mm/yy] [--field COLUNA] "
                    u"[--filter SQL] [--first-page N] [--rate PERCENTUAL] "
                    u"[--subcontracted VALOR] [--method 0|1|2] [--gross|--net]"_s +
                    flags +
                    u" [--professionals N] [--iss-value VALOR] [--payment-date dd/mm/aa] "
                    u"[--withheld VALOR] [--note TEXTO] --out ARQUIVO.pdf|.txt"_s;
    command.check = [](const QCommandLineParser& parser, const QString&, QTextStream& err) {
        return CheckLX70(parser, err);
    };
    command.run = [](const QCommandLineParser& parser, const QString&, const QString& out,
                     QTextStream& err) { return PrintBook(parser, out, err); };
    return command;
}

} // namespace livrax::shell
