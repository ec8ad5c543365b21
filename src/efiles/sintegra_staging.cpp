#include "efiles/sintegra_staging.h"

#include "common/conditions.h"
#include "common/dates.h"
#include "common/fields.h"
#include "common/text.h"
#include "data/catalogue.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/globals.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/stop_cancel.h"
#include "efiles/sintegra_reads.h"
#include "platform/stop_signals.h"

#include <QHash>

namespace livrax::efiles {

using namespace Qt::StringLiterals;
using data::DataSlot;

namespace {

constexpr data::Slot RowsSlot = data::Slot::T_CON2;   // the documents of each step
constexpr data::Slot AgencySlot = data::Slot::T_CON3; // the waybills' agencies

const QString Entries = u"*** ENTRADAS ***"_s;
const QString Exits = u"*** SAÍDAS ***"_s;

QString Text(const DataSlot& row, const QString& column) {
    return row.value(column).toString();
}

QString Trimmed(const DataSlot& row, const QString& column) {
    return row.value(column).toString().trimmed();
}

QString ShortDate(const DataSlot& row, const QString& column) {
    return FormatShortDate(row.value(column).toDate());
}

qint64 Amount(const DataSlot& row, const QString& column) {
    return AmountOf(row.value(column));
}

QString Cfop(const DataSlot& row) {
    return ZeroPad(Text(row, u"NATOPER"_s), 4);
}

QString OrIsento(const QString& stateReg) {
    return IsBlank(stateReg) ? u"ISENTO"_s : stateReg;
}

// "EX" for a partner outside Brazil: its country does not begin with "BR"
// (an empty country included).
QString PartnerState(const DataSlot& row) {
    return Trimmed(row, u"PAIS"_s).toUpper().startsWith(u"BR"_s) ? Text(row, u"ESTADO"_s) : u"EX"_s;
}

// The state registration of a partner in records 50, 51 and 53: people are
// exempt, and so is a company whose registration is blank or says so.
QString PartnerStateReg(const DataSlot& row) {
    if (Trimmed(row, u"FJ"_s) != u"J"_s) return u"ISENTO"_s;
    const QString stateReg = Trimmed(row, u"INSCEST"_s).toUpper();
    return stateReg.startsWith(u"ISEN"_s) || IsBlank(stateReg) ? u"ISENTO"_s : stateReg;
}

void CheckStop() {
    if (platform::StopRequested())
        throw data::DbError(u"sinal "_s + QString::fromLatin1(platform::StopSignalName()));
}

// The columns both directions' documents are read with.
QString DocumentColumns(const QString& table) {
    const QString t = table + u'.';
    return t + u"PEDIDO, "_s + t + u"FILIAL, "_s + t + u"NNOTA, "_s + t + u"SERIE, "_s + t +
           u"SIGLA, "_s + t + u"DATA, "_s + t + u"DTNOTA ,"_s + t + u"FAT, "_s + t +
           u"LIQUIDO, "_s + t + u"VOLESPEC, "_s + t + u"NATOPER, "_s + t + u"FRETE ,"_s + t +
           u"ICMBASE, "_s + t + u"ICMVALOR, "_s + t + u"ICMISENTAS, "_s + t + u"ICMPERC ,"_s + t +
           u"IPIBASE, "_s + t + u"IPIVALOR, "_s + t + u"IPIISENTAS ,"_s + t + u"SUBSTRBASE, "_s +
           t +
           u"SUBSTRVALOR ,VRTNEMP.EMPRESA, VRTNEMP.FJ, VRTNEMP.CGC, VRTNEMP.INSCEST, "
           "VRTNEMP.ESTADO, VRTNEMP.PAIS"_s;
}

// A section row: the title in the column the writers look at, the rest
// empty.
template <class Row> Row SectionRow(QString Row::*column, const QString& title) {
    Row row;
    row.*column = title;
    return row;
}

void Add(StagedTotals& totals, qint64 accounting, qint64 base, qint64 tax) {
    totals.accounting += accounting;
    totals.base += base;
    totals.tax += tax;
}

// The staging run: one object per run, its steps in the order the grids are
// laid out.
class Stager {
  public:
    Stager(const SintegraStagingOptions& options, const StagingProgress& progress)
        : m_options(options), m_progress(progress), m_d1(SqlDate(options.startDate)),
          m_d2(SqlDate(options.endDate)), m_company(Quote(data::Globals().company.companyCode)) {}

    SintegraStaging run();

  private:
    void stageDocuments(bool entries);
    void stageDocument(const DataSlot& row, bool entries);
    void stage61();
    void stageFreight();
    void stageBills(bool air);
    void stageWaybills();
    void stageFreightFromEntries();
    void stageCarried(bool air);

    // Opens `sql` (the filter, when there is one, is checked and then added
    // to the statement by `build`) in the rows slot. False, with the reason
    // listed under `what`, when the filter is refused or the query fails:
    // the step then stages no documents.
    bool open(const QString& what, const QString& table, const QString& filter,
              const std::function<QString(const QString& filterText)>& build);
    // Walks the open rows from the first; a read that fails halfway stops the
    // run (the grid would hold part of the period).
    void walk(const std::function<void(const DataSlot&)>& each);

    const SintegraStagingOptions& m_options;
    const StagingProgress& m_progress;
    const QString m_d1, m_d2, m_company;
    SintegraStaging m_result;
};

bool Stager::open(const QString& what, const QString& table, const QString& filter,
                  const std::function<QString(const QString&)>& build) {
    QString filterText;
    if (!filter.trimmed().isEmpty()) {
        const QString problem = FilterProblem(filter);
        if (!problem.isEmpty()) {
            m_result.failures.append(
                what + u": filtro recusado (só pode restringir a consulta): "_s + problem);
            return false;
        }
        filterText = u" AND ("_s + filter + u")"_s;
    }
    try {
        data::OpenQuery(RowsSlot, table, build(filterText));
        return true;
    } catch (const data::DbError& error) {
        CheckStop(); // a query cancelled by a stop signal stops the run
        m_result.failures.append(what + u": a consulta falhou: "_s + error.message());
        return false;
    }
}

void Stager::walk(const std::function<void(const DataSlot&)>& each) {
    DataSlot& row = data::DataModule().slot(RowsSlot);
    try {
        for (; !row.eof(); row.next()) {
            CheckStop();
            each(row);
        }
    } catch (const data::DbError&) {
        row.rollback();
        throw;
    }
    data::CloseSlot(RowsSlot);
}

SintegraStaging Stager::run() {
    const SintegraChoice& choice = m_options.choice;
    if (m_d1.isEmpty() || m_d2.isEmpty()) {
        m_result.failures.append(u"A Data Inicial e Final devem estar Preenchidas"_s);
        return m_result;
    }
    // Every query of the run reads one moment of the databases; a stop
    // signal cancels the query in progress.
    data::ReadMoment moment;
    const data::CancelOnStop cancelOnStop;

    m_result.rows50.push_back(SectionRow(&Row50::cnpj, Entries));
    m_result.rows51.push_back(SectionRow(&Row51::cnpj, Entries));
    m_result.rows53.push_back(SectionRow(&Row53::cnpj, Entries));
    if (choice.r50 || choice.r51 || choice.r53) stageDocuments(true);
    m_result.rows50.push_back(SectionRow(&Row50::cnpj, Exits));
    m_result.rows51.push_back(SectionRow(&Row51::cnpj, Exits));
    m_result.rows53.push_back(SectionRow(&Row53::cnpj, Exits));
    if (choice.r50 || choice.r51 || choice.r53) stageDocuments(false);

    m_result.rows61.push_back(SectionRow(&Row61::type, Exits));
    if (choice.r61) stage61();

    if (choice.r70) {
        if (m_options.freightFromEntries)
            stageFreightFromEntries();
        else
            stageFreight();
    }
    if (choice.r70 && choice.r71) {
        if (m_options.air) stageCarried(true);
        if (m_options.road) stageCarried(false);
    }
    return std::move(m_result);
}

void Stager::stageDocuments(bool entries) {
    const QString table = entries ? u"VRTNPDE"_s : u"VRTNPDS"_s;
    const QString code = entries ? u"PDE"_s : u"PDS"_s;
    const QString from = TableRef(code) + u" LEFT OUTER JOIN "_s + TableRef(u"EMP"_s) + u" ON "_s +
                         table + u".SIGLA = VRTNEMP.SIGLA"_s;
    const QString condition =
        entries ? u"(VRTNPDE.FAT = 'F' OR VRTNPDE.FAT = 'C') AND (VRTNPDE.DATA >= "_s + m_d1 +
                      u" AND VRTNPDE.DATA  <= "_s + m_d2 + u")"_s
                : u"(VRTNPDS.FAT = 'F' OR VRTNPDS.FAT = 'C') AND (VRTNPDS.DTNOTA >= "_s + m_d1 +
                      u" AND  VRTNPDS.DTNOTA <= "_s + m_d2 + u")"_s;
    (entries ? m_result.entryHint : m_result.exitHint) = condition;
    const QString order = entries ? u" ORDER BY VRTNPDE.DATA, VRTNPDE.NNOTA"_s
                                  : u" ORDER BY VRTNPDS.NNOTA, VRTNPDS.DTNOTA"_s;
    const QString what =
        entries ? u"Entradas (registros 50, 51 e 53)"_s : u"Saídas (registros 50, 51 e 53)"_s;
    if (!open(what, code, entries ? m_options.entryFilter : m_options.exitFilter,
              [&](const QString& filter) {
                  return u"SELECT "_s + DocumentColumns(table) + u" FROM "_s + from + u" WHERE "_s +
                         condition + filter + order;
              }))
        return;
    walk([&](const DataSlot& row) { stageDocument(row, entries); });
}

// The columns records 50, 51 and 53 share for one document.
struct DocumentHead {
    QString cnpj, stateReg, date, state, series, number, cfop, cancelled, partner;
};

template <class Row> Row Headed(const DocumentHead& head) {
    Row r;
    r.cnpj = head.cnpj;
    r.stateReg = head.stateReg;
    r.date = head.date;
    r.state = head.state;
    r.series = head.series;
    r.number = head.number;
    r.cfop = head.cfop;
    r.cancelled = head.cancelled;
    r.partner = head.partner;
    return r;
}

void Stager::stageDocument(const DataSlot& row, bool entries) {
    const SintegraChoice& choice = m_options.choice;
    const bool blankSeries = entries ? m_options.blankEntrySeries : m_options.blankExitSeries;
    const bool cancelledFat = Trimmed(row, u"FAT"_s) == u"C"_s;
    const DocumentHead head{Text(row, u"CGC"_s),
                            PartnerStateReg(row),
                            ShortDate(row, entries ? u"DATA"_s : u"DTNOTA"_s),
                            PartnerState(row),
                            blankSeries ? u" "_s : Text(row, u"SERIE"_s),
                            Text(row, u"NNOTA"_s),
                            Cfop(row),
                            cancelledFat ? u"S"_s : u"N"_s,
                            Text(row, u"SIGLA"_s)};
    const qint64 total = Amount(row, u"LIQUIDO"_s);

    if (choice.r50) {
        auto r = Headed<Row50>(head);
        r.model = u"01"_s;
        const bool zeroIcms = entries ? m_options.zeroEntryIcms : m_options.zeroExitIcms;
        r.total = total;
        r.base = Amount(row, u"ICMBASE"_s);
        r.icms = zeroIcms ? 0 : Amount(row, u"ICMVALOR"_s);
        r.exempt = Amount(row, u"ICMISENTAS"_s);
        r.other = r.total - r.base - r.exempt;
        r.rate = Amount(row, u"ICMPERC"_s);
        // An entry's empty series takes the one the window gives for record 50.
        if (entries && r.series.trimmed().isEmpty() && !m_options.entrySeries50.isEmpty())
            r.series = m_options.entrySeries50;
        const bool cancelled = cancelledFat || (r.total == 0 && r.icms == 0);
        r.cancelled = cancelled ? u"S"_s : u"N"_s;
        if (cancelled && IsBlank(r.state)) r.state = m_options.informantState;
        if (!cancelled)
            Add(entries ? m_result.entries50 : m_result.exits50, r.total, r.base, r.icms);
        m_result.rows50.push_back(std::move(r));
    }
    const qint64 ipi = Amount(row, u"IPIVALOR"_s);
    if (choice.r51 && ipi != 0) {
        auto r = Headed<Row51>(head);
        const qint64 ipiBase = Amount(row, u"IPIBASE"_s);
        r.total = total;
        r.ipi = ipi;
        r.exempt = Amount(row, u"IPIISENTAS"_s);
        r.other = total - ipiBase - r.exempt;
        if (!cancelledFat)
            Add(entries ? m_result.entries51 : m_result.exits51, total, ipiBase, ipi);
        m_result.rows51.push_back(std::move(r));
    }
    const qint64 retained = Amount(row, u"SUBSTRVALOR"_s);
    if (choice.r53 && retained != 0) {
        auto r = Headed<Row53>(head);
        r.model = u"01"_s;
        r.subSeries = u"  "_s;
        r.total = total;
        r.retained = retained;
        r.expenses = Amount(row, u"FRETE"_s);
        r.direction = entries ? u"E"_s : u"S"_s;
        r.order = Trimmed(row, u"PEDIDO"_s);
        if (!cancelledFat)
            Add(entries ? m_result.entries53 : m_result.exits53, total,
                Amount(row, u"SUBSTRBASE"_s), retained);
        m_result.rows53.push_back(std::move(r));
    }
}

void Stager::stage61() {
    const QString condition =
        u"(VRTNPDS.FAT = 'F' OR VRTNPDS.FAT = 'C' ) AND (VRTNPDS.DTNOTA >= "_s + m_d1 +
        u" AND  VRTNPDS.DTNOTA <= "_s + m_d2 + u")"_s;
    const bool opened =
        open(u"Registro 61"_s, u"PDS"_s, m_options.exitFilter61, [&](const QString& filter) {
            return u"SELECT VRTNPDS.PEDIDO, VRTNPDS.DTNOTA, VRTNPDS.NNOTA, "
                   "VRTNPDS.LIQUIDO, VRTNPDS.SERIE, VRTNPDS.SIGLA, "
                   "VRTNPDS.DATA ,VRTNPDS.FAT, VRTNPDS.LIQUIDO, "
                   "VRTNPDS.VOLESPEC, VRTNPDS.NATOPER, VRTNPDS.FRETE ,"
                   "VRTNPDS.ICMBASE, VRTNPDS.ICMVALOR, VRTNPDS.ICMISENTAS, "
                   "VRTNPDS.ICMPERC ,VRTNPDS.IPIBASE, VRTNPDS.IPIVALOR, "
                   "VRTNPDS.IPIISENTAS ,VRTNPDS.SUBSTRBASE, "
                   "VRTNPDS.SUBSTRVALOR ,VRTNEMP.EMPRESA, VRTNEMP.FJ, "
                   "VRTNEMP.CGC, VRTNEMP.INSCEST, VRTNEMP.ESTADO, "
                   "VRTNEMP.PAIS FROM "_s +
                   TableRef(u"PDS"_s) + u" LEFT OUTER JOIN "_s + TableRef(u"EMP"_s) +
                   u" ON VRTNPDS.SIGLA = VRTNEMP.SIGLA WHERE "_s + condition + filter +
                   u" ORDER BY VRTNPDS.DTNOTA, VRTNPDS.NNOTA"_s;
        });
    if (!opened) return;
    std::vector<Row61>& rows = m_result.rows61;
    Row61 day; // the running sums of the day being read
    QDate dayDate;
    walk([&](const DataSlot& row) {
        const QDate date = row.value(u"DTNOTA"_s).toDate();
        Row61 detail{u"**"_s,
                     FormatShortDate(date),
                     m_options.model61,
                     m_options.series61,
                     m_options.subSeries61,
                     Text(row, u"NNOTA"_s),
                     Text(row, u"NNOTA"_s)};
        detail.total = Amount(row, u"LIQUIDO"_s);
        detail.base = Amount(row, u"ICMBASE"_s);
        detail.icms = m_options.zeroExitIcms ? 0 : Amount(row, u"ICMVALOR"_s);
        detail.exempt = Amount(row, u"ICMISENTAS"_s);
        detail.other = detail.total - detail.base - detail.exempt;
        detail.rate = Amount(row, u"ICMPERC"_s);
        // A new day closes the summary of the one before.
        if (!day.type.isEmpty() && date != dayDate) {
            rows.push_back(day);
            day = {};
        }
        if (day.type.isEmpty()) {
            day = detail;
            day.type = u"61"_s;
            day.total = day.base = day.icms = day.exempt = day.other = 0;
            dayDate = date;
        }
        day.lastNumber = detail.lastNumber;
        day.total += detail.total;
        day.base += detail.base;
        day.icms += detail.icms;
        day.exempt += detail.exempt;
        day.other += detail.other;
        day.rate = detail.rate;
        m_result.exits61 += detail.total;
        rows.push_back(std::move(detail));
    });
    if (!day.type.isEmpty()) rows.push_back(day);
}

void Stager::stageFreight() {
    if (!data::TableExists(u"FCA"_s)) return;
    if (m_options.air) {
        m_result.rows70.push_back(SectionRow(&Row70::cnpj, u"*** AÉREO ***"_s));
        stageBills(true);
    }
    if (m_options.road) {
        m_result.rows70.push_back(SectionRow(&Row70::cnpj, u"*** TERRESTRE ***"_s));
        stageBills(false);
    }
    if (m_options.waybills) {
        m_result.rows70.push_back(SectionRow(&Row70::cnpj, u"*** A W B ***"_s));
        stageWaybills();
    }
}

void Stager::stageBills(bool air) {
    const QString what =
        air ? u"Conhecimentos aéreos (registro 70)"_s : u"Conhecimentos terrestres (registro 70)"_s;
    const bool opened =
        open(what, air ? u"FCA"_s : u"FCT"_s, air ? m_options.airFilter : m_options.roadFilter,
             [&](const QString& filter) {
                 return air ? u"SELECT * FROM "_s + TableRef(u"FCA"_s, u"FCA"_s) +
                                  u" WHERE (STATUS <> '*') AND DTEMIS >= "_s + m_d1 +
                                  u" AND DTEMIS <= "_s + m_d2 + u" AND FILIAL = "_s + m_company +
                                  filter + u" ORDER BY FCA.NCONHEC, FCA.DTEMIS"_s
                            : u"SELECT * FROM "_s + TableRef(u"FCT"_s, u"FCT"_s) +
                                  u" WHERE (FCT.STATUS <> '*') AND FCT.DTEMIS >= "_s + m_d1 +
                                  u" AND FCT.DTEMIS <= "_s + m_d2 + u" AND FILIAL = "_s +
                                  m_company + filter + u" ORDER BY FCT.NCONHEC, FCT.DTEMIS"_s;
             });
    if (!opened) return;
    StagedTotals& totals = air ? m_result.air : m_result.road;
    walk([&](const DataSlot& row) {
        const QString number = Trimmed(row, u"NCONHEC"_s);
        if (m_progress) m_progress(number);
        Row70 r;
        r.cnpj = Text(row, air ? u"DESCGC"_s : u"DESCNPJ"_s);
        r.stateReg = OrIsento(Text(row, u"DESIE"_s));
        r.date = ShortDate(row, u"DTEMIS"_s);
        r.state = Text(row, u"DESESTADO"_s);
        r.model = air ? u"10"_s : u"08"_s;
        r.series = u"U"_s;
        r.subSeries = u"  "_s;
        r.number = ZeroPad(number, 6);
        r.cfop = Cfop(row);
        // A cancelled bill of lading is listed with its amounts zero.
        const bool cancelled = Trimmed(row, u"STATUS"_s) == u"C"_s;
        if (!cancelled) {
            r.total = Amount(row, air ? u"TOTAL"_s : u"VALTOTAL"_s);
            r.base = Amount(row, u"BASECALC"_s);
            r.icms = Amount(row, u"VALICM"_s);
        }
        r.exempt = r.total - r.base;
        r.freight = Trimmed(row, u"TFRETE"_s) == u"P"_s ? u"1"_s : u"2"_s;
        r.status = cancelled ? u"S"_s : u"N"_s;
        r.company = Text(row, u"DESNOME"_s);
        Add(totals, r.total, r.base, r.icms);
        m_result.rows70.push_back(std::move(r));
    });
}

// A carriers' agency of the air waybills.
struct Agency {
    QString cnpj, stateReg, state, name, serves;
};

void Stager::stageWaybills() {
    const QString what = u"A W B (registro 70)"_s;
    // The agencies are few: read once, kept by code. A waybill whose agency
    // is not among them is left out.
    QHash<QString, Agency> agencies;
    DataSlot& agencySlot = data::DataModule().slot(AgencySlot);
    try {
        for (bool found = data::OpenQuery(AgencySlot, u"CEA"_s,
                                          u"SELECT CODCEA, CGC, IE, ESTADO, NOME, ATE FROM "_s +
                                              TableRef(u"CEA"_s));
             found && !agencySlot.eof(); agencySlot.next())
            agencies.insert(Trimmed(agencySlot, u"CODCEA"_s),
                            {Text(agencySlot, u"CGC"_s), Text(agencySlot, u"IE"_s),
                             Text(agencySlot, u"ESTADO"_s), Text(agencySlot, u"NOME"_s),
                             Trimmed(agencySlot, u"ATE"_s)});
    } catch (const data::DbError& error) {
        agencySlot.rollback();
        m_result.failures.append(what + u": a consulta das agências falhou: "_s + error.message());
        return;
    }
    data::CloseSlot(AgencySlot);
    const bool opened = open(what, u"AWB"_s, QString(), [&](const QString&) {
        return u"SELECT AWB.NUMERO, AWB.DTMOV, AWB.CODCEA, AWB.VALOR, AWB.ICM, AWB.NAWB FROM "_s +
               TableRef(u"AWB"_s, u"AWB"_s) + u" WHERE (SINTEGRA = 'S' ) AND DTMOV >= "_s + m_d1 +
               u" AND DTMOV <= "_s + m_d2 + u" AND FILIAL = "_s + m_company +
               u" ORDER BY AWB.CODCEA, AWB.NUMERO, AWB.DTMOV"_s;
    });
    if (!opened) return;
    walk([&](const DataSlot& row) {
        const auto found = agencies.constFind(Trimmed(row, u"CODCEA"_s));
        if (found == agencies.cend()) return;
        const Agency& agency = *found;
        const qint64 value = Amount(row, u"VALOR"_s);
        const qint64 icms = Amount(row, u"ICM"_s);
        Row70 r;
        r.cnpj = agency.cnpj;
        r.stateReg = OrIsento(agency.stateReg);
        r.date = ShortDate(row, u"DTMOV"_s);
        r.state = agency.state;
        r.model = agency.serves == u"A"_s ? u"10"_s : u"08"_s;
        r.series = u"U"_s;
        r.subSeries = u"  "_s;
        r.number = ZeroPad(WaybillNumber(Text(row, u"NUMERO"_s), Text(row, u"NAWB"_s)), 6);
        r.cfop = agency.state.trimmed() == u"RS"_s ? u"1351"_s : u"2351"_s;
        r.total = value;
        r.base = icms == 0 ? 0 : value;
        r.icms = icms;
        r.exempt = r.total - r.base;
        r.freight = u"1"_s;
        r.status = u"N"_s;
        r.company = agency.name;
        m_result.rows70.push_back(std::move(r));
    });
}

void Stager::stageFreightFromEntries() {
    if (!data::TableExists(u"PDE"_s)) return;
    m_result.rows70.push_back(SectionRow(&Row70::cnpj, u"*** PDE ***"_s));
    const QString payer = m_options.freightPayer.left(1);
    const QString condition =
        u"(VRTNPDE.FAT = 'F') AND VRTNPDE.DATA >= "_s + m_d1 + u" AND VRTNPDE.DATA <= "_s + m_d2;
    m_result.entryFreightHint = condition;
    const bool opened = open(
        u"Notas de entrada (registro 70)"_s, u"PDE"_s, m_options.entryFreightFilter,
        [&](const QString& filter) {
            return u"SELECT VRTNPDE.NNOTA, VRTNPDE.DATA, VRTNPDE.PEDIDO ,VRTNPDE.FAT, "
                   "VRTNPDE.LIQUIDO, VRTNPDE.VOLESPEC, VRTNPDE.NATOPER, VRTNPDE.FRETE "
                   ",VRTNPDE.ICMBASE, VRTNPDE.ICMVALOR, VRTNPDE.ICMISENTAS, VRTNPDE.ICMPERC "
                   ",VRTNPDE.IPIBASE, VRTNPDE.IPIVALOR, VRTNPDE.IPIISENTAS ,VRTNPDE.SUBSTRBASE, "
                   "VRTNPDE.SUBSTRVALOR ,VRTNEMP.EMPRESA, VRTNEMP.FJ, VRTNEMP.CGC, "
                   "VRTNEMP.INSCEST, VRTNEMP.ESTADO, VRTNEMP.PAIS FROM "_s +
                   TableRef(u"PDE"_s) + u" LEFT OUTER JOIN "_s + TableRef(u"EMP"_s) +
                   u" ON VRTNPDE.SIGLA = VRTNEMP.SIGLA WHERE "_s + condition + filter +
                   u" ORDER BY VRTNPDE.NNOTA, VRTNPDE.DATA"_s;
        });
    if (!opened) return;
    walk([&](const DataSlot& row) {
        const QString kind = Trimmed(row, u"VOLESPEC"_s);
        Row70 r;
        r.cnpj = Text(row, u"CGC"_s);
        r.stateReg = OrIsento(Text(row, u"INSCEST"_s));
        r.date = ShortDate(row, u"DATA"_s);
        r.state = PartnerState(row);
        r.model = kind.isEmpty() ? u"08"_s : kind.left(2);
        r.series = u"U"_s;
        r.subSeries = u"  "_s;
        r.number = ZeroPad(Text(row, u"NNOTA"_s), 6);
        r.cfop = Cfop(row);
        r.total = Amount(row, u"LIQUIDO"_s);
        r.base = Amount(row, u"ICMBASE"_s);
        r.icms = Amount(row, u"ICMVALOR"_s);
        r.exempt = r.total - r.base;
        r.freight = payer;
        r.status = u"N"_s;
        r.company = Text(row, u"EMPRESA"_s);
        Add(m_result.air, r.total, r.base, r.icms);
        m_result.rows70.push_back(std::move(r));
    });
}

void Stager::stageCarried(bool air) {
    const QString code = air ? u"FCA"_s : u"FCT"_s;
    if (!data::TableExists(code) || !data::TableExists(u"NFC"_s)) return;
    m_result.rows71.push_back(
        SectionRow(&Row71::takerCnpj, air ? u"*** NFC AEREO"_s : u"*** NFC TERR"_s));
    const QString what = air ? u"Notas dos conhecimentos aéreos (registro 71)"_s
                             : u"Notas dos conhecimentos terrestres (registro 71)"_s;
    const bool opened = open(what, code, QString(), [&](const QString&) {
        return u"SELECT A.NCONHEC, A.FILIAL, A.DTEMIS, A.STATUS ,B.DESCGC, B.DESINSCEST, "
               "B.DESESTADO ,B.EMICGC, B.EMIINSCEST, B.EMIESTADO ,B.NOTDTEMIS, B.NOTNUMERO, "
               "B.NOTVALOR, B.NOTMODELO, B.NOTSERIE FROM "_s +
               TableRef(code, u"A"_s) + (air ? u" Left outer Join "_s : u" Left OUTER Join "_s) +
               TableRef(u"NFC"_s, u"B"_s) +
               (air ? u" On A.NCONHEC = B.CONNUMERO AND A.FILIAL = B.FILIAL"_s
                    : u" On A.NCONHEC = B.CONNUMERO and A.FILIAL = B.FILIAL"_s) +
               u" WHERE (STATUS <> '*') AND DTEMIS >= "_s + m_d1 + u" AND DTEMIS <= "_s + m_d2 +
               u" AND CONTIPO = "_s + Quote(code) + u" AND A.FILIAL = "_s + m_company +
               u" ORDER BY NCONHEC, DTEMIS"_s;
    });
    if (!opened) return;
    walk([&](const DataSlot& row) {
        const QString invoiceModel = Text(row, u"NOTMODELO"_s);
        const QString invoiceSeries = Text(row, u"NOTSERIE"_s);
        Row71 r{StripSymbols(Text(row, u"DESCGC"_s)),
                StripSymbols(Text(row, u"DESINSCEST"_s)),
                ShortDate(row, u"DTEMIS"_s),
                Text(row, u"DESESTADO"_s),
                air ? u"10"_s : u"08"_s,
                u"U"_s,
                QString(),
                ZeroPad(Text(row, u"NCONHEC"_s), 6),
                Text(row, u"EMIESTADO"_s),
                StripSymbols(Text(row, u"EMICGC"_s)),
                StripSymbols(Text(row, u"EMIINSCEST"_s)),
                ShortDate(row, u"NOTDTEMIS"_s),
                IsBlank(invoiceModel) ? u"01"_s : invoiceModel,
                IsBlank(invoiceSeries) ? u"000"_s : invoiceSeries,
                ZeroPad(Text(row, u"NOTNUMERO"_s), 6)};
        r.value = Amount(row, u"NOTVALOR"_s);
        m_result.rows71.push_back(std::move(r));
    });
}

} // namespace

QString WaybillNumber(const QString& number, const QString& masterNumber) {
    if (!IsBlank(masterNumber)) return masterNumber.trimmed();
    QString result = number.trimmed();
    if (result.size() > 7) result = result.right(7);
    if (result.size() == 7) result.chop(1);
    return result;
}

SintegraStaging StageSintegra(const SintegraStagingOptions& options,
                              const StagingProgress& progress) {
    return Stager(options, progress).run();
}

} // namespace livrax::efiles
