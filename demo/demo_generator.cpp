#include "demo/demo_generator.h"

#include "data/db_error.h"
#include "data/param_text.h"
#include "data/schema.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "demo/demo_documents.h"
#include "demo/demo_help.h"
#include "demo/demo_random.h"
#include "demo/demo_reference.h"
#include "demo/demo_reports.h"
#include "platform/stop_signals.h"

#include <QDir>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <memory>

namespace livrax::demo {

using namespace Qt::StringLiterals;
using data::Connection;
using data::DbValue;
using data::Statement;
using data::Transaction;

QString DemoErpFileName() {
    return u"livrax_erp.fdb"_s;
}
QString DemoSystemFileName() {
    return u"livrax_sistema.fdb"_s;
}
QString DemoUserName() {
    return u"DEMO"_s;
}

namespace {

constexpr qint64 One = 10000; // 1 in ten-thousandths
constexpr int CompanyCode = 1;

// Invoices written between two commits of the bulk load.
constexpr qint64 CommitEvery = 5000;

// A stop signal ends the run at the next invoice or step: the work folder
// is then removed whole, so nothing half-made is ever moved into place.
void StopPoint() {
    if (platform::StopRequested())
        throw data::DbError(u"interrompido pelo sinal "_s +
                            QString::fromLatin1(platform::StopSignalName()));
}

// Rounds ten-thousandths to whole cents, half away from zero.
qint64 Cents(qint64 value) {
    const qint64 half = value < 0 ? -50 : 50;
    return (value + half) / 100 * 100;
}

// `amount` × `percent` / 100, in cents. `percent` is in ten-thousandths too.
qint64 PercentOf(qint64 amount, qint64 percent) {
    return Cents(amount * percent / (100 * One));
}

qint64 Percent(int whole) {
    return qint64(whole) * One;
}

// One prepared INSERT into a table, reused for every row.
class RowWriter {
  public:
    RowWriter(Connection& connection, Transaction& transaction, const QString& table,
              const QStringList& columns)
        : m_statement(connection, transaction,
                      u"INSERT INTO "_s + table + u" ("_s + columns.join(u',') + u") VALUES (:"_s +
                          columns.join(u",:"_s) + u')') {}

    RowWriter& set(const QString& column, const DbValue& value) {
        m_statement.bind(column, value);
        return *this;
    }
    void write() {
        m_statement.execute();
        m_statement.clearBindings();
    }

  private:
    Statement m_statement;
};

struct Partner {
    QString sigla;
    QString state; // "EX" abroad
};

struct Product {
    QString code;
    ProductKind kind;
    qint64 price;
    bool purchased;
    QString type;
};

// How an operation enters the ICMS columns: taxed (base and tax), exempt
// (isentas) or other (outras).
enum class IcmsTreatment { Taxed, Exempt, Other };

// One kind of operation the generator writes, by the last three digits of
// its nature of operation.
struct Operation {
    int suffix;
    ProductKind products;
    IcmsTreatment icms;
    bool ipi = false;                 // IPI charged on the items (own production)
    bool retention = false;           // ICMS retained by tax substitution
    bool substituted = false;         // ST already paid: header keeps the debit rate, items 0
    bool service = false;             // municipal service tax instead of ICMS
    bool counterpartSupplier = false; // an exit to a supplier or an entry from a customer
};

struct Item {
    const Product* product;
    qint64 quantity, price, value, discount, icmsBase, icmsRate, icms, ipi, retained;
    qint64 accounting() const { return value - discount + ipi + retained; }
};

class Generator {
  public:
    Generator(const DemoOptions& options, const DemoProgress& progress)
        : m_options(options), m_progress(progress), m_random(options.seed) {}

    void run();

  private:
    void createDatabases();
    void writeNatures();
    void writeCities();
    void writePartners();
    void writeProducts();
    void writeInvoices();
    void writeInvoice(bool exit, qint64 key, qint64 number, QDate date);
    void writeFreight();
    void writeRegisters();
    void writeCatalogue(Connection& connection, Transaction& transaction);
    void writeCompanyRecord();
    void writeUserSettings();
    void writeParameter(Connection& connection, Transaction& transaction, const QString& key,
                        const QStringList& lines, const QString& title = {});
    void commitBatch();

    const Operation& pickOperation(bool exit);
    QList<Item> makeItems(bool exit, const Operation& operation, int rate);
    int natureFor(bool exit, const Operation& operation, const Partner& partner);
    const Partner& pickPartner(bool supplier);

    DemoOptions m_options;
    DemoProgress m_progress;
    DemoRandom m_random;
    Connection m_erp;
    Connection m_system;
    std::unique_ptr<Transaction> m_transaction;

    QList<DemoState> m_states;
    QHash<int, bool> m_natures; // CFOP -> exists in the table
    QList<Partner> m_suppliers;
    QList<Partner> m_customers;
    QHash<int, QList<const Product*>> m_productsByKind;
    QList<Product> m_products;
    QStringList m_cities;

    std::unique_ptr<RowWriter> m_entryHeader, m_entryItem, m_exitHeader, m_exitItem;
    qint64 m_done = 0, m_total = 0;
};

const QList<Operation>& EntryOperations() {
    using K = ProductKind;
    using T = IcmsTreatment;
    static const QList<Operation> operations = {
        {102, K::Goods, T::Taxed},
        {102, K::Goods, T::Taxed},
        {102, K::Goods, T::Taxed},
        {403, K::Substitution, T::Taxed, false, true},
        {403, K::Controlled, T::Taxed, false, true},
        {101, K::Industrial, T::Taxed, true},
        {556, K::Goods, T::Other},
        {933, K::Service, T::Other, false, false, false, true},
        {910, K::Substitution, T::Exempt},
        {949, K::Goods, T::Other},
        {915, K::Industrial, T::Other},
        {202, K::Goods, T::Taxed, false, false, false, false, true},
    };
    return operations;
}

const QList<Operation>& ExitOperations() {
    using K = ProductKind;
    using T = IcmsTreatment;
    static const QList<Operation> operations = {
        {102, K::Goods, T::Taxed},
        {102, K::Goods, T::Taxed},
        {102, K::Goods, T::Taxed},
        {405, K::Substitution, T::Other, false, false, true},
        {405, K::Substitution, T::Other, false, false, true},
        {403, K::Substitution, T::Taxed, false, true},
        {405, K::Controlled, T::Other, false, false, true},
        {405, K::Controlled, T::Other, false, false, true},
        {101, K::Industrial, T::Taxed, true},
        {933, K::Service, T::Other, false, false, false, true},
        {933, K::Service, T::Other, false, false, false, true},
        {910, K::Goods, T::Taxed},
        {915, K::Industrial, T::Other},
        {202, K::Goods, T::Taxed, false, false, false, false, true},
    };
    return operations;
}

void Generator::run() {
    m_states = DemoStates();
    createDatabases();
    m_transaction = std::make_unique<Transaction>(m_erp);
    // The accounts per customer and operation are kept once per company
    // (VRTNCPC001), as installations with several companies do.
    for (const QString& statement : data::CompanyTableStatements(u"CPC"_s, u"001"_s))
        m_transaction->executeImmediate(statement);
    m_transaction->commit();
    m_transaction->start(m_erp);
    writeNatures();
    StopPoint();
    writeCities();
    StopPoint();
    writePartners();
    StopPoint();
    writeProducts();
    StopPoint();
    writeRegisters();
    StopPoint();
    writeFreight();
    writeCatalogue(m_erp, *m_transaction);
    writeUserSettings();
    m_transaction->commit();
    m_transaction->start(m_erp);
    StopPoint();
    writeInvoices();
    m_transaction->commit();
    StopPoint();
    WriteDemoReports(m_erp, m_options.year);
    writeCompanyRecord();
    WriteDemoHelp(m_system);
    m_erp.close();
    m_system.close();
}

void Generator::createDatabases() {
    data::ConnectionOptions erp;
    erp.path = QDir(m_options.folder).filePath(DemoErpFileName());
    erp.forcedWrites = false; // a bulk load; the files are new and disposable
    data::CreateDatabaseWithSchema(m_erp, erp, {data::SchemaPart::Erp, data::SchemaPart::System});
    data::ConnectionOptions system = erp;
    system.path = QDir(m_options.folder).filePath(DemoSystemFileName());
    data::CreateDatabaseWithSchema(m_system, system, {data::SchemaPart::System});
}

void Generator::writeNatures() {
    RowWriter writer(m_erp, *m_transaction, u"VRTNNAT"_s,
                     {u"NATOPER"_s, u"DESCRICAO"_s, u"RESUMIDA"_s, u"ATUGIAICM"_s});
    for (const DemoNature& nature : DemoNatures()) {
        m_natures.insert(nature.code, true);
        writer.set(u"NATOPER"_s, nature.code)
            .set(u"DESCRICAO"_s, nature.description)
            .set(u"RESUMIDA"_s, nature.description.left(30))
            .set(u"ATUGIAICM"_s, nature.inBooks ? u"S"_s : u"N"_s)
            .write();
    }
}

void Generator::writeCities() {
    RowWriter writer(m_erp, *m_transaction, u"VRTNCID"_s, {u"CODIGO"_s, u"CIDADE"_s});
    int code = 101;
    for (const DemoState& state : m_states) {
        for (const QString& city : state.cities) {
            m_cities.append(city);
            // One city is left out on purpose: the accounting export then
            // falls back to its default city code.
            if (city == u"PASSO FUNDO"_s) continue;
            writer.set(u"CODIGO"_s, code++).set(u"CIDADE"_s, city.left(14)).write();
        }
    }
}

void Generator::writePartners() {
    static const QStringList firstWords = {
        u"ALFA"_s,        u"AURORA"_s,   u"BOM JESUS"_s, u"CENTRAL"_s,  u"CRUZEIRO"_s,
        u"ESTRELA"_s,     u"GAÚCHA"_s,   u"HORIZONTE"_s, u"IPIRANGA"_s, u"LITORAL"_s,
        u"MERIDIANO"_s,   u"NORTE"_s,    u"PAMPA"_s,     u"PIONEIRA"_s, u"PROGRESSO"_s,
        u"SANTA CLARA"_s, u"SÃO JOSÉ"_s, u"VITÓRIA"_s};
    static const QStringList secondWords = {u"COMÉRCIO DE MEDICAMENTOS"_s,
                                            u"HOSPITAL"_s,
                                            u"CLÍNICA MÉDICA"_s,
                                            u"FARMÁCIA"_s,
                                            u"DROGARIA"_s,
                                            u"LABORATÓRIO"_s,
                                            u"DISTRIBUIDORA"_s,
                                            u"INDÚSTRIA FARMACÊUTICA"_s,
                                            u"EQUIPAMENTOS MÉDICOS"_s,
                                            u"CASA DE SAÚDE"_s};
    static const QStringList companyTypes = {u"LTDA"_s, u"S.A."_s, u"EIRELI"_s, u"ME"_s};
    static const QStringList people = {u"ANA"_s,   u"BRUNO"_s, u"CARLA"_s,  u"DIEGO"_s,
                                       u"ELISA"_s, u"FÁBIO"_s, u"GISELE"_s, u"HUGO"_s};
    static const QStringList surnames = {u"ALMEIDA"_s,  u"BORGES"_s,    u"CARDOSO"_s, u"DUARTE"_s,
                                         u"FERREIRA"_s, u"GONÇALVES"_s, u"MACHADO"_s};
    static const QStringList streets = {u"RUA DOS ANDRADAS"_s,     u"AV. BRASIL"_s,
                                        u"RUA SETE DE SETEMBRO"_s, u"AV. INDEPENDÊNCIA"_s,
                                        u"RUA DAS FLORES"_s,       u"AV. DOS ESTADOS"_s};
    static const QStringList districts = {u"CENTRO"_s, u"JARDIM AMÉRICA"_s, u"VILA NOVA"_s,
                                          u"SÃO JOÃO"_s, u"INDUSTRIAL"_s};
    static const QHash<QString, int> postalRanges = {
        {u"RS"_s, 90000}, {u"SP"_s, 1000}, {u"RJ"_s, 20000}, {u"PR"_s, 80000}, {u"SC"_s, 88000}};

    RowWriter writer(m_erp, *m_transaction, u"VRTNEMP"_s,
                     {u"SIGLA"_s, u"EMPRESA"_s, u"FJ"_s, u"CGC"_s, u"INSCEST"_s, u"ENDERECO"_s,
                      u"BAIRRO"_s, u"CIDADE"_s, u"ESTADO"_s, u"CEP"_s, u"PAIS"_s, u"TELEFONE"_s,
                      u"EMAIL"_s});
    const qint64 count = std::clamp<qint64>(m_options.invoices / 15, 40, 20000);
    const qint64 suppliers = count / 3;
    for (qint64 i = 0; i < count; ++i) {
        const bool supplier = i < suppliers;
        const qint64 number = supplier ? i + 1 : i - suppliers + 1;
        Partner partner;
        partner.sigla =
            (supplier ? u"FOR"_s : u"CLI"_s) + QString::number(number).rightJustified(5, u'0');
        // Pick the state by its weight.
        qint64 roll = m_random.below(100);
        const DemoState* state = &m_states.first();
        for (const DemoState& candidate : m_states) {
            if (roll < candidate.weight) {
                state = &candidate;
                break;
            }
            roll -= candidate.weight;
        }
        const bool foreign = !supplier && number == 7;
        const bool person = !supplier && !foreign && m_random.chance(15);
        partner.state = foreign ? u"EX"_s : state->code;

        QString name = person ? m_random.pick(people) + u' ' + m_random.pick(surnames) + u' ' +
                                    m_random.pick(surnames)
                              : m_random.pick(secondWords) + u' ' + m_random.pick(firstWords) +
                                    u' ' + m_random.pick(companyTypes);
        QString cgc, registration;
        if (person) {
            const QString base = m_random.digits(9);
            QString cpf = base + QString::number(Modulo11Digit(base, {10, 9, 8, 7, 6, 5, 4, 3, 2}));
            cpf += QString::number(Modulo11Digit(cpf, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
            cgc = cpf.left(3) + u'.' + cpf.mid(3, 3) + u'.' + cpf.mid(6, 3) + u'-' + cpf.mid(9);
            registration = u"ISENTO"_s;
        } else if (!foreign) {
            cgc = MakeCnpj(m_random);
            registration =
                m_random.chance(8) ? u"ISENTO"_s : MakeStateRegistration(m_random, state->code);
        } else {
            name = u"IMPORTADORA DEL PLATA S.A."_s;
            registration = u"ISENTO"_s;
        }
        // A few gaps the accounting export reports as errors.
        if (!supplier && number == 5) cgc.clear();
        const int postal = postalRanges.value(state->code) + int(m_random.below(7000));
        QString cep = QString::number(postal).rightJustified(5, u'0') + u'-' + m_random.digits(3);
        if (!supplier && number == 3) cep.clear();

        writer.set(u"SIGLA"_s, partner.sigla)
            .set(u"EMPRESA"_s, name.left(50))
            .set(u"FJ"_s, person ? u"F"_s : u"J"_s)
            .set(u"CGC"_s, cgc)
            .set(u"INSCEST"_s, registration)
            .set(u"ENDERECO"_s,
                 m_random.pick(streets) + u", "_s + QString::number(m_random.between(10, 3999)))
            .set(u"BAIRRO"_s, m_random.pick(districts))
            .set(u"CIDADE"_s, foreign ? u"BUENOS AIRES"_s : m_random.pick(state->cities))
            .set(u"ESTADO"_s, partner.state)
            .set(u"CEP"_s, foreign ? QString() : cep)
            .set(u"PAIS"_s, foreign ? u"ARGENTINA"_s : u"BRASIL"_s)
            .set(u"TELEFONE"_s, u"("_s + m_random.digits(2) + u") "_s + m_random.digits(4) + u'-' +
                                    m_random.digits(4))
            .set(u"EMAIL"_s, m_random.chance(85)
                                 ? u"contato"_s + QString::number(i + 1) + u"@parceiro.com.br"_s
                                 : QString())
            .write();
        (supplier ? m_suppliers : m_customers).append(partner);
    }
}

void Generator::writeProducts() {
    RowWriter writer(m_erp, *m_transaction, u"VRTNPRO"_s,
                     {u"PRODUTO"_s, u"NOME"_s,     u"RESUMIDA"_s,  u"UNIDADE"_s,  u"CLASFISC"_s,
                      u"APRES"_s,   u"TIPOPRO"_s,  u"SUBSTRIB"_s,  u"ST"_s,       u"ICMPERC"_s,
                      u"IPIPERC"_s, u"REDICM"_s,   u"SALDOINIC"_s, u"CUSTOMED"_s, u"ENTVALOR"_s,
                      u"PRVENDA"_s, u"PRMAX"_s,    u"PRMIN"_s,     u"PRA"_s,      u"PRI"_s,
                      u"PRX"_s,     u"PRCOMPRA"_s, u"PRCUSTO"_s});
    const QList<DemoProductModel> models = DemoProductModels();
    // Larger demos get more products: variants of the catalogue items.
    const qint64 variants = std::clamp<qint64>(m_options.invoices / 20000, 1, 100);
    m_products.reserve(models.size() * variants);
    for (qint64 variant = 0; variant < variants; ++variant) {
        for (const DemoProductModel& model : models) {
            Product product;
            product.code = u"P"_s + QString::number(m_products.size() + 1).rightJustified(5, u'0');
            product.kind = model.kind;
            product.price = model.price + variant * 1000;
            product.purchased = model.purchased;
            product.type = model.type;
            m_products.append(product);

            const bool medicine =
                model.kind == ProductKind::Substitution || model.kind == ProductKind::Controlled;
            const qint64 cost = Cents(product.price * 6 / 10);
            const QString name = variant == 0
                                     ? model.name
                                     : model.name.left(52) + u" V"_s + QString::number(variant + 1);
            writer.set(u"PRODUTO"_s, product.code)
                .set(u"NOME"_s, name)
                .set(u"RESUMIDA"_s, model.name.section(u' ', 0, 1).left(30))
                .set(u"UNIDADE"_s, model.unit)
                .set(u"CLASFISC"_s, medicine                             ? u"3004.90.69"_s
                                    : model.kind == ProductKind::Service ? QString()
                                                                         : u"9402.90.20"_s)
                .set(u"APRES"_s, medicine ? model.name.section(u' ', -3) : QString())
                .set(u"TIPOPRO"_s, model.type.isEmpty() ? u"N"_s : model.type)
                .set(u"SUBSTRIB"_s, medicine ? u"S"_s : u"N"_s)
                .set(u"ST"_s, medicine ? u"060"_s : u"000"_s)
                .set(u"ICMPERC"_s,
                     DbValue::decimal(model.kind == ProductKind::Service ? 0 : 1700, 2))
                .set(u"IPIPERC"_s,
                     DbValue::decimal(model.kind == ProductKind::Industrial ? 1000 : 0, 2))
                .set(u"REDICM"_s, DbValue::decimal(0, 2))
                .set(u"SALDOINIC"_s, DbValue::scaled(model.kind == ProductKind::Service
                                                         ? 0
                                                         : m_random.between(0, 40) * One))
                .set(u"CUSTOMED"_s, DbValue::scaled(cost))
                .set(u"ENTVALOR"_s, DbValue::scaled(cost))
                .set(u"PRVENDA"_s, DbValue::scaled(product.price))
                .set(u"PRMAX"_s, DbValue::scaled(Cents(product.price * 12 / 10)))
                .set(u"PRMIN"_s, DbValue::scaled(Cents(product.price * 9 / 10)))
                .set(u"PRA"_s, DbValue::scaled(product.price))
                .set(u"PRI"_s, DbValue::scaled(Cents(product.price * 95 / 100)))
                .set(u"PRX"_s, DbValue::scaled(Cents(product.price * 11 / 10)))
                .set(u"PRCOMPRA"_s, DbValue::scaled(cost))
                .set(u"PRCUSTO"_s, DbValue::scaled(Cents(cost * 11 / 10)))
                .write();
        }
    }
    for (const Product& product : m_products)
        m_productsByKind[int(product.kind)].append(&product);
}

const Partner& Generator::pickPartner(bool supplier) {
    return supplier ? m_random.pick(m_suppliers) : m_random.pick(m_customers);
}

const Operation& Generator::pickOperation(bool exit) {
    return m_random.pick(exit ? ExitOperations() : EntryOperations());
}

int Generator::natureFor(bool exit, const Operation& operation, const Partner& partner) {
    const int base = exit ? 5000 : 1000;
    const int origin = partner.state == u"EX"_s                 ? 2
                       : partner.state == m_states.first().code ? 0
                                                                : 1;
    int code = base + origin * 1000 + operation.suffix;
    // Operations with abroad exist only for some natures; the rest fall back
    // to a plain purchase or sale.
    if (!m_natures.contains(code)) code = base + origin * 1000 + 102;
    // Services are taxed by the municipality; there is no service nature for
    // abroad, so a foreign taker is treated as another state.
    if (operation.service) code = base + qMin(origin, 1) * 1000 + operation.suffix;
    return code;
}

QList<Item> Generator::makeItems(bool exit, const Operation& operation, int rate) {
    QList<Item> items;
    const QList<const Product*>& candidates = m_productsByKind.value(int(operation.products));
    const int count = operation.service ? 1 : int(m_random.between(1, 4));
    const bool discounted = m_random.chance(10);
    for (int i = 0; i < count; ++i) {
        const Product* product = m_random.pick(candidates);
        while (!exit && !product->purchased)
            product = m_random.pick(candidates);
        Item item{};
        item.product = product;
        item.quantity = (operation.products == ProductKind::Industrial ? m_random.between(1, 5)
                         : operation.service                           ? 1
                                                                       : m_random.between(1, 60)) *
                        One;
        // Sales vary around the list price; purchases cost about 60% of it.
        const qint64 list = exit ? product->price : product->price * 6 / 10;
        item.price = Cents(list + list * (m_random.below(21) - 10) / 100);
        item.value = Cents(item.quantity * item.price / One);
        item.discount = discounted ? PercentOf(item.value, Percent(3)) : 0;
        const qint64 net = item.value - item.discount;
        if (operation.ipi) item.ipi = PercentOf(net, Percent(10));
        if (operation.icms == IcmsTreatment::Taxed) {
            item.icmsRate = Percent(rate);
            item.icmsBase = net;
            item.icms = PercentOf(net, item.icmsRate);
        }
        if (operation.retention) {
            const qint64 stBase = Cents((net + item.ipi) * 14 / 10);
            item.retained = qMax<qint64>(0, PercentOf(stBase, Percent(17)) - item.icms);
        }
        items.append(item);
    }
    return items;
}

void Generator::writeInvoices() {
    const QStringList headerColumns = {
        u"PEDIDO"_s,     u"FILIAL"_s,      u"NUMERO"_s,   u"NNOTA"_s,      u"SERIE"_s,
        u"ESPECIE"_s,    u"SIGLA"_s,       u"ESTADO"_s,   u"DATA"_s,       u"DTNOTA"_s,
        u"NATOPER"_s,    u"FAT"_s,         u"VOLESPEC"_s, u"FRETEFC"_s,    u"VALOR"_s,
        u"VALORA"_s,     u"DESCVALOR"_s,   u"ENCARGOS"_s, u"FRETE"_s,      u"LIQUIDO"_s,
        u"ICMBASE"_s,    u"ICMPERC"_s,     u"ICMVALOR"_s, u"ICMISENTAS"_s, u"ICMOUTRAS"_s,
        u"SUBSTRBASE"_s, u"SUBSTRVALOR"_s, u"IPIBASE"_s,  u"IPIPERC"_s,    u"IPIVALOR"_s,
        u"IPIISENTAS"_s, u"IPIOUTRAS"_s,   u"DTINCL"_s,   u"DTALT"_s};
    const QStringList itemColumns = {
        u"PEDIDO"_s,   u"SEQ"_s,     u"FILIAL"_s,    u"NNOTA"_s,   u"SERIE"_s,    u"SIGLA"_s,
        u"DATA"_s,     u"NATOPER"_s, u"FAT"_s,       u"ATUPRO"_s,  u"PRODUTO"_s,  u"QUANT"_s,
        u"VALOR"_s,    u"VALORA"_s,  u"DESCVALOR"_s, u"VALDESC"_s, u"CONTABIL"_s, u"ICMPERC"_s,
        u"ICMVALOR"_s, u"SUBSTR"_s,  u"IPIVALOR"_s,  u"CUSTOMED"_s};
    m_entryHeader = std::make_unique<RowWriter>(m_erp, *m_transaction, u"VRTNPDE"_s, headerColumns);
    m_entryItem = std::make_unique<RowWriter>(m_erp, *m_transaction, u"VRTNPIE"_s,
                                              itemColumns + QStringList{u"NUMERO"_s});
    m_exitHeader = std::make_unique<RowWriter>(
        m_erp, *m_transaction, u"VRTNPDS"_s,
        headerColumns + QStringList{u"VP"_s, u"ISQNBASE"_s, u"ISQNVALOR"_s, u"ISQNRET"_s});
    m_exitItem = std::make_unique<RowWriter>(
        m_erp, *m_transaction, u"VRTNPIS"_s,
        itemColumns + QStringList{u"DTNOTA"_s, u"DESCRICAO"_s, u"LOTE"_s});

    const qint64 entries = m_options.invoices * 2 / 5;
    const qint64 exits = m_options.invoices - entries;
    m_total = m_options.invoices;
    const QDate first(m_options.year, 1, 1);
    const qint64 days = first.daysInYear();

    // Entries and exits are spread evenly over the year, in date order, so
    // the exit numbers grow with the issue date.
    for (qint64 k = 0; k < entries; ++k) {
        writeInvoice(false, k + 1, 0, first.addDays(k * days / entries));
        commitBatch();
    }
    qint64 number = 1000;
    for (qint64 k = 0; k < exits; ++k) {
        ++number;
        // An occasional skipped number, and always one in the middle of the year.
        if (k == exits / 2 || m_random.chance(1)) ++number;
        writeInvoice(true, k + 1, number, first.addDays(k * days / exits));
        commitBatch();
    }
    m_entryHeader.reset();
    m_entryItem.reset();
    m_exitHeader.reset();
    m_exitItem.reset();
}

void Generator::commitBatch() {
    StopPoint();
    ++m_done;
    if (m_done % CommitEvery == 0) m_transaction->commitRetaining();
    if (m_progress && (m_done % 1000 == 0 || m_done == m_total)) m_progress(m_done, m_total);
}

void Generator::writeInvoice(bool exit, qint64 key, qint64 number, QDate date) {
    const Operation& operation = pickOperation(exit);
    // Exits go to customers and entries come from suppliers, except returns.
    const Partner& partner = pickPartner(exit == operation.counterpartSupplier);
    const DemoState* state = nullptr;
    for (const DemoState& candidate : m_states)
        if (candidate.code == partner.state) state = &candidate;
    int nature = natureFor(exit, operation, partner);
    // One entry of the year carries a nature of operation missing from the
    // table, as happens when a nature is deleted after use.
    if (!exit && key == 3) nature = 1360;
    const bool abroad = partner.state == u"EX"_s;
    const int rate = state ? state->icmsRate : 0;
    const QList<Item> items = makeItems(exit, operation, rate);
    const bool cancelled = m_random.chance(exit ? 2 : 1);

    qint64 value = 0, discount = 0, icmsBase = 0, icms = 0, ipi = 0, retained = 0, retainedBase = 0;
    for (const Item& item : items) {
        value += item.value;
        discount += item.discount;
        icmsBase += item.icmsBase;
        icms += item.icms;
        ipi += item.ipi;
        retained += item.retained;
        if (item.retained > 0)
            retainedBase += Cents((item.value - item.discount + item.ipi) * 14 / 10);
    }
    const qint64 merchandise = value - discount;
    const qint64 freight =
        !operation.service && m_random.chance(15) ? PercentOf(merchandise, Percent(2)) : 0;
    if (operation.icms == IcmsTreatment::Taxed && !abroad && freight > 0) {
        icmsBase += freight;
        icms += PercentOf(freight, Percent(rate));
    }
    const qint64 total = merchandise + freight + ipi + retained;
    const IcmsTreatment treatment = abroad ? IcmsTreatment::Exempt : operation.icms;
    if (treatment != IcmsTreatment::Taxed) icmsBase = icms = 0;
    const qint64 exempt = treatment == IcmsTreatment::Exempt ? total : 0;
    const qint64 other = total - icmsBase - exempt;
    const qint64 ipiBase = operation.ipi ? merchandise : 0;
    // Taxed operations carry their rate; sales of goods whose tax was already
    // retained keep the debit rate in the header while the items carry none.
    const qint64 headerRate =
        treatment == IcmsTreatment::Taxed || operation.substituted ? Percent(rate) : 0;

    RowWriter& header = exit ? *m_exitHeader : *m_entryHeader;
    const QDate issued =
        exit ? date : qMax(QDate(date.year(), date.month(), 1), date.addDays(-m_random.below(3)));
    const qint64 invoiceNumber = exit ? number : m_random.between(1, 999999);
    const QString series =
        exit ? u"1"_s : m_random.pick(QStringList{u"1"_s, u"1"_s, u"2"_s, u"U"_s});
    const QString fat = cancelled ? u"C"_s : u"F"_s;
    header.set(u"PEDIDO"_s, key)
        .set(u"FILIAL"_s, CompanyCode)
        .set(u"NUMERO"_s, key)
        .set(u"NNOTA"_s, invoiceNumber)
        .set(u"SERIE"_s, series)
        .set(u"ESPECIE"_s, u"NF"_s)
        .set(u"SIGLA"_s, partner.sigla)
        .set(u"ESTADO"_s, partner.state)
        .set(u"DATA"_s, date)
        .set(u"DTNOTA"_s, issued)
        .set(u"NATOPER"_s, nature)
        .set(u"FAT"_s, fat)
        .set(u"VOLESPEC"_s, operation.service ? QString() : u"CX"_s)
        .set(u"FRETEFC"_s, freight > 0 ? u"1"_s : u"2"_s)
        .set(u"VALOR"_s, DbValue::scaled(merchandise))
        .set(u"VALORA"_s, DbValue::scaled(value))
        .set(u"DESCVALOR"_s, DbValue::scaled(0))
        .set(u"ENCARGOS"_s, DbValue::scaled(0))
        .set(u"FRETE"_s, DbValue::scaled(freight))
        .set(u"LIQUIDO"_s, DbValue::scaled(total))
        .set(u"ICMBASE"_s, DbValue::scaled(icmsBase))
        .set(u"ICMPERC"_s, DbValue::scaled(headerRate))
        .set(u"ICMVALOR"_s, DbValue::scaled(icms))
        .set(u"ICMISENTAS"_s, DbValue::scaled(exempt))
        .set(u"ICMOUTRAS"_s, DbValue::scaled(other))
        .set(u"SUBSTRBASE"_s, DbValue::scaled(retainedBase))
        .set(u"SUBSTRVALOR"_s, DbValue::scaled(retained))
        .set(u"IPIBASE"_s, DbValue::scaled(ipiBase))
        .set(u"IPIPERC"_s, DbValue::scaled(operation.ipi ? Percent(10) : 0))
        .set(u"IPIVALOR"_s, DbValue::scaled(ipi))
        .set(u"IPIISENTAS"_s, DbValue::scaled(0))
        .set(u"IPIOUTRAS"_s, DbValue::scaled(total - ipiBase))
        .set(u"DTINCL"_s, date)
        .set(u"DTALT"_s, date);
    if (exit) {
        const qint64 serviceTax = operation.service ? PercentOf(merchandise, Percent(5)) : 0;
        header.set(u"VP"_s, m_random.chance(40) ? u"V"_s : u"P"_s)
            .set(u"ISQNBASE"_s, DbValue::scaled(operation.service ? merchandise : 0))
            .set(u"ISQNVALOR"_s, DbValue::scaled(serviceTax))
            .set(u"ISQNRET"_s, DbValue::scaled(m_random.chance(30) ? serviceTax : 0));
    }
    header.write();

    RowWriter& itemWriter = exit ? *m_exitItem : *m_entryItem;
    int sequence = 0;
    for (const Item& item : items) {
        itemWriter.set(u"PEDIDO"_s, key)
            .set(u"SEQ"_s, ++sequence)
            .set(u"FILIAL"_s, CompanyCode)
            .set(u"NNOTA"_s, invoiceNumber)
            .set(u"SERIE"_s, series)
            .set(u"SIGLA"_s, partner.sigla)
            .set(u"DATA"_s, date)
            .set(u"NATOPER"_s, nature)
            .set(u"FAT"_s, fat)
            .set(u"ATUPRO"_s, operation.service ? u"N"_s : u"S"_s)
            .set(u"PRODUTO"_s, item.product->code)
            .set(u"QUANT"_s, DbValue::scaled(item.quantity))
            .set(u"VALOR"_s, DbValue::scaled(item.price))
            .set(u"VALORA"_s, DbValue::scaled(item.value))
            .set(u"DESCVALOR"_s, DbValue::scaled(item.discount))
            .set(u"VALDESC"_s, DbValue::scaled(0))
            .set(u"CONTABIL"_s, DbValue::scaled(item.accounting()))
            .set(u"ICMPERC"_s, DbValue::scaled(abroad ? 0 : item.icmsRate))
            .set(u"ICMVALOR"_s, DbValue::scaled(abroad ? 0 : item.icms))
            .set(u"SUBSTR"_s, DbValue::scaled(item.retained))
            .set(u"IPIVALOR"_s, DbValue::scaled(item.ipi))
            .set(u"CUSTOMED"_s, DbValue::scaled(Cents(item.product->price * 6 / 10)));
        if (exit) {
            itemWriter.set(u"DTNOTA"_s, issued)
                .set(u"DESCRICAO"_s, QString())
                .set(u"LOTE"_s,
                     item.product->kind == ProductKind::Controlled
                         ? u"L"_s + QString::number(date.year() % 100) + m_random.digits(4)
                         : QString());
        } else {
            itemWriter.set(u"NUMERO"_s, key);
        }
        itemWriter.write();
    }
}

void Generator::writeFreight() {
    // Bills of lading issued by the company (road and air) with the invoices
    // they carry, and air waybills received through two agencies.
    RowWriter road(m_erp, *m_transaction, u"VRTNFCT"_s,
                   {u"NCONHEC"_s, u"FILIAL"_s, u"DTEMIS"_s, u"STATUS"_s, u"VALTOTAL"_s,
                    u"BASECALC"_s, u"VALICM"_s, u"TFRETE"_s, u"DESCNPJ"_s, u"DESIE"_s,
                    u"DESESTADO"_s, u"DESNOME"_s, u"NATOPER"_s});
    RowWriter air(m_erp, *m_transaction, u"VRTNFCA"_s,
                  {u"NCONHEC"_s, u"FILIAL"_s, u"DTEMIS"_s, u"STATUS"_s, u"TOTAL"_s, u"BASECALC"_s,
                   u"VALICM"_s, u"TFRETE"_s, u"DESCGC"_s, u"DESIE"_s, u"DESESTADO"_s, u"DESNOME"_s,
                   u"NATOPER"_s});
    RowWriter carried(m_erp, *m_transaction, u"VRTNNFC"_s,
                      {u"CONTIPO"_s, u"CONNUMERO"_s, u"FILIAL"_s, u"DESCGC"_s, u"DESINSCEST"_s,
                       u"DESESTADO"_s, u"EMICGC"_s, u"EMIINSCEST"_s, u"EMIESTADO"_s, u"NOTDTEMIS"_s,
                       u"NOTNUMERO"_s, u"NOTVALOR"_s, u"NOTMODELO"_s, u"NOTSERIE"_s});
    RowWriter agencies(m_erp, *m_transaction, u"VRTNCEA"_s,
                       {u"CODCEA"_s, u"CGC"_s, u"IE"_s, u"ESTADO"_s, u"NOME"_s, u"ATE"_s});
    RowWriter waybills(m_erp, *m_transaction, u"VRTNAWB"_s,
                       {u"NUMERO"_s, u"CODCEA"_s, u"FILIAL"_s, u"DTMOV"_s, u"VALOR"_s, u"ICM"_s,
                        u"NAWB"_s, u"SINTEGRA"_s});
    agencies.set(u"CODCEA"_s, u"AER01"_s)
        .set(u"CGC"_s, MakeCnpj(m_random))
        .set(u"IE"_s, MakeStateRegistration(m_random, u"RS"_s))
        .set(u"ESTADO"_s, u"RS"_s)
        .set(u"NOME"_s, u"AGÊNCIA AÉREA PAMPA LTDA"_s)
        .set(u"ATE"_s, u"A"_s)
        .write();
    agencies.set(u"CODCEA"_s, u"ROD01"_s)
        .set(u"CGC"_s, MakeCnpj(m_random))
        .set(u"IE"_s, MakeStateRegistration(m_random, u"SP"_s))
        .set(u"ESTADO"_s, u"SP"_s)
        .set(u"NOME"_s, u"EXPRESSO PAULISTA TRANSPORTES"_s)
        .set(u"ATE"_s, u"T"_s)
        .write();

    const QString companyCnpj = DemoCompanyRecord().at(3).section(u'#', 0, 0);
    int conhec = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int n = 0; n < 3; ++n) {
            const bool isAir = n == 2;
            const QDate issued(m_options.year, month, int(m_random.between(1, 28)));
            const Partner& taker = m_random.pick(m_customers);
            const qint64 total = Cents(m_random.between(150, 2500) * One);
            const qint64 base = taker.state == u"EX"_s ? 0 : total;
            const int rate = taker.state == m_states.first().code ? 17 : 12;
            RowWriter& writer = isAir ? air : road;
            ++conhec;
            writer.set(u"NCONHEC"_s, conhec)
                .set(u"FILIAL"_s, CompanyCode)
                .set(u"DTEMIS"_s, issued)
                .set(u"STATUS"_s, month == 6 && n == 0 ? u"C"_s : u"N"_s)
                .set(isAir ? u"TOTAL"_s : u"VALTOTAL"_s, DbValue::scaled(total))
                .set(u"BASECALC"_s, DbValue::scaled(base))
                .set(u"VALICM"_s, DbValue::scaled(PercentOf(base, Percent(rate))))
                .set(u"TFRETE"_s, m_random.chance(50) ? u"P"_s : u"F"_s)
                .set(isAir ? u"DESCGC"_s : u"DESCNPJ"_s, MakeCnpj(m_random))
                .set(u"DESIE"_s, MakeStateRegistration(m_random, u"RS"_s))
                .set(u"DESESTADO"_s, u"RS"_s)
                .set(u"DESNOME"_s, u"CLIENTE TOMADOR "_s + taker.sigla)
                .set(u"NATOPER"_s, rate == 17 ? 5352 : 6352)
                .write();
            const int invoices = int(m_random.between(1, 3));
            for (int i = 0; i < invoices; ++i) {
                carried.set(u"CONTIPO"_s, isAir ? u"FCA"_s : u"FCT"_s)
                    .set(u"CONNUMERO"_s, conhec)
                    .set(u"FILIAL"_s, CompanyCode)
                    .set(u"DESCGC"_s, MakeCnpj(m_random))
                    .set(u"DESINSCEST"_s, MakeStateRegistration(m_random, u"RS"_s))
                    .set(u"DESESTADO"_s, u"RS"_s)
                    .set(u"EMICGC"_s, companyCnpj)
                    .set(u"EMIINSCEST"_s, u"0960123458"_s)
                    .set(u"EMIESTADO"_s, u"RS"_s)
                    .set(u"NOTDTEMIS"_s, issued)
                    .set(u"NOTNUMERO"_s, m_random.between(1000, 99999))
                    .set(u"NOTVALOR"_s, DbValue::scaled(Cents(m_random.between(500, 20000) * One)))
                    .set(u"NOTMODELO"_s, u"01"_s)
                    .set(u"NOTSERIE"_s, u"1"_s)
                    .write();
            }
        }
        for (int n = 0; n < 2; ++n) {
            const qint64 valueOfWaybill = Cents(m_random.between(80, 900) * One);
            waybills.set(u"NUMERO"_s, m_random.digits(8))
                .set(u"CODCEA"_s, n == 0 ? u"AER01"_s : u"ROD01"_s)
                .set(u"FILIAL"_s, CompanyCode)
                .set(u"DTMOV"_s, QDate(m_options.year, month, int(m_random.between(1, 28))))
                .set(u"VALOR"_s, DbValue::scaled(valueOfWaybill))
                .set(u"ICM"_s, DbValue::scaled(PercentOf(valueOfWaybill, Percent(12))))
                .set(u"NAWB"_s, QString())
                .set(u"SINTEGRA"_s, u"S"_s)
                .write();
        }
    }
}

void Generator::writeRegisters() {
    // Small fixed registers: accounts, histories, cost centres, accounts per
    // customer and operation, EPP brackets, currency quotations, the user.
    const int year = m_options.year;
    const QString script =
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA) VALUES "
        u"('1000000000','1',1,1,'ATIVO','D','S');\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA) VALUES "
        u"('1120100001','1.1.2.01.0001',101,2,'CLIENTES DIVERSOS','D','A');\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA,CBSIGLA) VALUES "
        u"('1120100002','1.1.2.01.0002',102,3,'CLIENTE CLI00001','D','A','CLI00001');\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA) VALUES "
        u"('3110100001','3.1.1.01.0001',301,4,'RECEITA DE VENDAS','C','A');\n"
        u"INSERT INTO VRTNCBP (CONTA,EDCONTA,RESUMIDA,SEQ_CBP,NOME,NATUREZA,SA) VALUES "
        u"('3110100002','3.1.1.01.0002',302,5,'RECEITA DE SERVIÇOS','C','A');\n"
        u"INSERT INTO VRTNCBH (NUMERO,HISTORICO) VALUES (1,'VENDA CONFORME NOTA FISCAL');\n"
        u"INSERT INTO VRTNCBH (NUMERO,HISTORICO) VALUES (2,'PRESTAÇÃO DE SERVIÇO CONFORME NOTA');\n"
        u"INSERT INTO VRTNCUS (CCUSTO) VALUES ('+++++');\n"
        u"INSERT INTO VRTNCUS (CCUSTO) VALUES ('COMERCIAL');\n"
        u"INSERT INTO VRTNCUS (CCUSTO) VALUES ('SERVICOS');\n"
        u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA,NATOPER,CONTADEB,CONTACRED,HPDEB,HPCRED,NETLOG) "
        u"VALUES (1,0,'CLI00001','5102','1120100002','3110100001','1','1','A');\n"
        u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA,NATOPER,CONTADEB,CONTACRED,HPDEB,HPCRED,NETLOG) "
        u"VALUES (2,0,'','5933','1120100001','3110100002','2','2','A');\n"
        u"INSERT INTO VRTNCPC001 (SEQ,FILIAL,SIGLA,NATOPER,CONTADEB,CONTACRED,NETLOG) "
        u"VALUES (3,0,'CLI00002','','1120100001','3110100001','A');\n"
        u"INSERT INTO VRTNEPP (ANO,MES,FILIAL,DE1,ATE1,DESC1,DE2,ATE2,DESC2,DE3,ATE3,DESC3) VALUES "
        u"('YEAR','01',0,0,10000,2.5,10000.01,20000,4,20000.01,50000,5.5);\n"
        u"INSERT INTO VRTNEPP (ANO,MES,FILIAL,DE1,ATE1,DESC1,DE2,ATE2,DESC2) VALUES "
        u"('YEAR','07',0,0,12000,2.5,12000.01,30000,4);\n"
        u"INSERT INTO VRTNMOE (MOEDA,DATA,COMPRA,VENDA,TIPO,USUARIO,DTALT) VALUES "
        u"('DOLAR','02.01.YEAR',5.4321,5.4321,'C','DEMO','02.01.YEAR');\n"
        u"INSERT INTO VRTNMOE (MOEDA,DATA,COMPRA,VENDA,TIPO,USUARIO,DTALT) VALUES "
        u"('DOLAR','03.01.YEAR',5.4407,5.4407,'C','DEMO','03.01.YEAR');\n"
        u"INSERT INTO VRTNSEN (USUARIO,NOMEC,NIVEL,NUMERO,DEPART,GERAL,GERAL1) VALUES "
        u"('DEMO','USUÁRIO DE DEMONSTRAÇÃO','9','01','FISC','SSSSSSSSSS','SSSSSSSSSS');\n"_s;
    for (const QString& statement :
         data::SplitSqlScript(QString(script).replace(u"YEAR"_s, QString::number(year))))
        m_transaction->executeImmediate(statement);
}

void Generator::writeCatalogue(Connection& connection, Transaction& transaction) {
    // One catalogue row per table of the database, described for the
    // table pickers of the program.
    static const QHash<QString, QString> descriptions = {
        {u"EMP"_s, u"CLIENTES E FORNECEDORES"_s},
        {u"CID"_s, u"CIDADES"_s},
        {u"NAT"_s, u"NATUREZAS DE OPERAÇÃO"_s},
        {u"PRO"_s, u"PRODUTOS"_s},
        {u"PDE"_s, u"NOTAS DE ENTRADA"_s},
        {u"PIE"_s, u"ITENS DAS NOTAS DE ENTRADA"_s},
        {u"PDS"_s, u"NOTAS DE SAÍDA"_s},
        {u"PIS"_s, u"ITENS DAS NOTAS DE SAÍDA"_s},
        {u"P50"_s, u"LX64 - PROD.VENDIDOS S/RETENÇÃO SUBSTRIB"_s},
        {u"FCA"_s, u"CONHECIMENTOS AÉREOS"_s},
        {u"FCT"_s, u"CONHECIMENTOS RODOVIÁRIOS"_s},
        {u"NFC"_s, u"NOTAS DOS CONHECIMENTOS"_s},
        {u"CEA"_s, u"AGÊNCIAS DE CARGA"_s},
        {u"AWB"_s, u"CONHECIMENTOS AÉREOS RECEBIDOS"_s},
        {u"CBP"_s, u"PLANO DE CONTAS"_s},
        {u"CBH"_s, u"HISTÓRICOS PADRÃO"_s},
        {u"CUS"_s, u"CENTROS DE CUSTO"_s},
        {u"CPC"_s, u"CONTAS POR CLIENTE E OPERAÇÃO"_s},
        {u"EPP"_s, u"TABELA EPP"_s},
        {u"MOE"_s, u"COTAÇÕES DE MOEDAS"_s},
        {u"DUP"_s, u"DUPLICATAS"_s},
        {u"SEN"_s, u"USUÁRIOS"_s},
        {u"AGD"_s, u"AGENDA"_s},
        {u"PAR"_s, u"PARÂMETROS"_s},
        {u"ARQ"_s, u"CATÁLOGO DE TABELAS"_s},
        {u"LOG"_s, u"REGISTRO DE OPERAÇÕES"_s},
        {u"HLD"_s, u"AJUDA - TÓPICOS"_s},
        {u"HLP"_s, u"AJUDA - CHAVES"_s}};
    Statement tables(
        connection, transaction,
        u"SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS "
        u"NULL AND RDB$RELATION_NAME STARTING WITH 'VRTN' ORDER BY RDB$RELATION_NAME"_s);
    // One row per code; a per-company table (VRTNCPC001) stands for its code.
    QMap<QString, QString> names;
    tables.open();
    while (tables.fetch()) {
        const QString name = tables.value(0).toString();
        if (!names.contains(name.mid(4, 3)) || name.size() > 7) names[name.mid(4, 3)] = name;
    }
    RowWriter writer(connection, transaction, u"VRTNARQ"_s,
                     {u"ANOME"_s, u"AARQUIVO"_s, u"ASEQ"_s, u"ADESCRICAO"_s});
    int sequence = 0;
    for (auto entry = names.cbegin(); entry != names.cend(); ++entry) {
        const QString& code = entry.key();
        const QString& name = entry.value();
        writer.set(u"ANOME"_s, code)
            .set(u"AARQUIVO"_s, name)
            .set(u"ASEQ"_s, QString::number(++sequence).rightJustified(3, u'0'))
            .set(u"ADESCRICAO"_s, descriptions.value(code, name).left(40))
            .write();
    }
}

void Generator::writeParameter(Connection& connection, Transaction& transaction, const QString& key,
                               const QStringList& lines, const QString& title) {
    Statement insert(
        connection, transaction,
        u"INSERT INTO VRTNPAR (CHAVE,TEXTO,CAMPO) VALUES (:PWCHAVE,:PWTEXTO,:PWTITULO)"_s);
    insert.bind(u"PWCHAVE"_s, key);
    insert.bind(u"PWTEXTO"_s, data::FormatParamText(lines));
    insert.bind(u"PWTITULO"_s, title.isEmpty() ? DbValue() : DbValue(title.left(60)));
    insert.execute();
}

void Generator::writeCompanyRecord() {
    // The company record and the user's last company live in database 5.
    Transaction transaction(m_system);
    const QStringList lines = DemoCompanyRecord();
    writeParameter(m_system, transaction, u"VRTNCAE"_s, lines, lines.first().section(u'#', 0, 0));
    writeParameter(m_system, transaction, u"USUARIO_"_s + DemoUserName(), {u"001"_s});
    writeCatalogue(m_system, transaction);
    transaction.commit();
}

void Generator::writeUserSettings() {
    // Preferences (flags, temporary folder) and rights of the demo user, in
    // the database of the ERP, which also holds the users' table.
    QStringList preferences(20);
    preferences[0] = u"SSSS3"_s;
    preferences[1] = m_options.tempFolder;
    writeParameter(m_erp, *m_transaction, u"PUSER_"_s + DemoUserName(), preferences);
    QStringList rights(16);
    rights[8] = u"0"_s;
    for (int line = 9; line < 16; ++line)
        rights[line] = QString(50, u'S');
    writeParameter(m_erp, *m_transaction, u"SEN__"_s + DemoUserName(), rights);
}

} // namespace

void GenerateDemoCompany(const DemoOptions& options, const DemoProgress& progress) {
    Generator(options, progress).run();
}

} // namespace livrax::demo
