// The SINTEGRA file over a demo company: the staging of a month and of the
// year beside a bare run of the same statements through the same connection,
// and the export (every record writer, the items and products read, the file
// saved) beside saving the same number of 126-character lines straight from
// a prepared buffer. The files exported stay in the folder as
// sintegra-month.txt and sintegra-year.txt, to be compared between builds.
// Usage: sintegra_bench [invoices [folder]]

#include "bench_demo.h"
#include "bench_timing.h"
#include "data/company_header.h"
#include "data/data_module.h"
#include "data/globals.h"
#include "data/read_moment.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_generator.h"
#include "efiles/sintegra_layout.h"
#include "efiles/sintegra_staging.h"
#include "shell/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace livrax;
using livrax::bench::Milliseconds;
using livrax::bench::Rounds;
using namespace livrax::efiles;
using namespace Qt::StringLiterals;

namespace {

SintegraStagingOptions Options(const QString& start, const QString& end) {
    SintegraStagingOptions options;
    options.startDate = start;
    options.endDate = end;
    SintegraChoice& choice = options.choice;
    choice.r50 = choice.r51 = choice.r53 = choice.r54 = choice.r55 = choice.r61 = true;
    choice.r70 = choice.r71 = choice.r75 = true;
    options.model61 = u"02"_s;
    options.series61 = u"D"_s;
    options.informantState = u"RS"_s;
    return options;
}

// The statements the staging ran, streamed with every column in one
// transaction of the ERP's connection, without the staging's rules.
double BareQueries(const QStringList& statements) {
    return Milliseconds([&] {
        data::Connection& erp = *data::B_DIR(1);
        data::Transaction transaction(erp);
        qint64 values = 0;
        for (const QString& sql : statements) {
            data::Statement select(erp, transaction, sql);
            select.open();
            while (select.fetch())
                for (int i = 0; i < select.columnCount(); ++i)
                    values += select.value(i).isNull() ? 0 : 1;
        }
        (void)values;
    });
}

// Every writer in file order, then the file saved.
QStringList Export(const SintegraStaging& staged, SintegraStagingOptions options,
                   const QString& path, bool withItems = true) {
    options.choice.r54 = options.choice.r75 = withItems;
    const data::TRecCae& company = data::Globals().company;
    SintegraInformant informant;
    informant.cnpj = company.cnpj;
    informant.stateReg = company.stateRegistration;
    informant.name = company.name;
    informant.state = u"RS"_s;
    informant.startDate = options.startDate;
    informant.endDate = options.endDate;
    SintegraWriter writer(informant, options.choice);
    {
        data::ReadMoment moment; // the export reads one moment too
        writer.Write10And11();
        writer.Write50(staged.rows50);
        writer.Write51(staged.rows51);
        writer.Write53With54(staged.rows53, DatabaseItems());
        writer.Write55({});
        writer.Write61(staged.rows61);
        writer.Write70(staged.rows70);
        writer.Write71(staged.rows71);
        writer.Write75(ReadProducts75(writer.products75()));
        writer.Write90();
    }
    SaveSintegraFile(path, writer.lines());
    return writer.lines();
}

struct Figures {
    double staging = 0, bare = 0, exporting = 0, plain = 0, writersOnly = 0;
    std::size_t documents = 0, withItems = 0;
    qsizetype lines = 0, statements = 0;
};

Figures Measure(const QString& name, const QString& start, const QString& end,
                const QString& folder) {
    const SintegraStagingOptions options = Options(start, end);
    Figures figures;
    for (int round = 0; round < Rounds; ++round) {
        QStringList statements;
        data::SetQueryObserver(
            [&statements](data::Slot, const QString& sql) { statements.append(sql); });
        SintegraStaging staged;
        const double staging = Milliseconds([&] { staged = StageSintegra(options); });
        data::SetQueryObserver({});
        if (!staged.failures.isEmpty())
            throw std::runtime_error(staged.failures.join(u'\n').toStdString());
        const double bare = BareQueries(statements);

        QStringList lines;
        const double exporting = Milliseconds(
            [&] { lines = Export(staged, options, folder + u"/sintegra-"_s + name + u".txt"_s); });
        const double writersOnly =
            Milliseconds([&] { Export(staged, options, folder + u"/sintegra-no54.txt"_s, false); });
        const QStringList prepared(lines.size(), QString(SintegraLineWidth, u'9'));
        const double plain =
            Milliseconds([&] { SaveSintegraFile(folder + u"/prepared.txt"_s, prepared); });

        const auto best = [round](double& kept, double now) {
            kept = round == 0 ? now : std::min(kept, now);
        };
        best(figures.staging, staging);
        best(figures.bare, bare);
        best(figures.exporting, exporting);
        best(figures.plain, plain);
        best(figures.writersOnly, writersOnly);
        figures.documents = staged.rows50.size() + staged.rows61.size() + staged.rows70.size() +
                            staged.rows71.size();
        figures.withItems = staged.rows53.size() - 2; // less the section rows
        figures.lines = lines.size();
        figures.statements = statements.size();
    }
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 invoices = argc > 1 ? QByteArray(argv[1]).toLongLong() : 20000;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();
    QTextStream out(stdout);

    bench::OpenDemoCompany(folder, invoices);

    out << invoices << " invoices of a demo year\n";
    out << "period  grid rows  statements  staging ms  bare ms  ratio   lines  53 docs  "
           "export ms  prepared ms  ratio  without 54/75 ms\n";
    for (const auto& [name, start, end] : {std::tuple{u"month"_s, u"01/03/26"_s, u"31/03/26"_s},
                                           std::tuple{u"year "_s, u"01/01/26"_s, u"31/12/26"_s}}) {
        const Figures f = Measure(name.trimmed(), start, end, folder);
        out << name << "  " << qSetFieldWidth(9) << f.documents << qSetFieldWidth(12)
            << f.statements << qSetFieldWidth(12) << qRound(f.staging) << qSetFieldWidth(9)
            << qRound(f.bare) << qSetFieldWidth(7) << QString::number(f.staging / f.bare, 'f', 2)
            << qSetFieldWidth(8) << f.lines << qSetFieldWidth(9) << f.withItems
            << qSetFieldWidth(11) << qRound(f.exporting) << qSetFieldWidth(13)
            << QString::number(f.plain, 'f', 1) << qSetFieldWidth(7)
            << QString::number(f.exporting / f.plain, 'f', 2) << qSetFieldWidth(17)
            << qRound(f.writersOnly) << qSetFieldWidth(0) << "\n";
        out.flush();
    }
    data::DataModule().closeAll();
    return 0;
}
