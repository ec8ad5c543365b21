// The items of the record-53 documents and the products of record 75, read
// while the SINTEGRA file is written.

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/read_moment.h"
#include "data/routing.h"
#include "data/statement.h"
#include "data/transaction.h"
#include "efiles/sintegra_reads.h"
#include "efiles/sintegra_staging.h"

#include <QHash>

#include <memory>

namespace livrax::efiles {

using namespace Qt::StringLiterals;
using data::DataSlot;
using data::DbValue;

namespace {

constexpr data::Slot ProductSlot = data::Slot::T_CON5;

// Codes per statement of the product read: well inside the engine's limit
// on the members of an IN list.
constexpr int CodesPerQuery = 500;

struct ProductText {
    QString name, taxSituation;
};

// The products' names and tax situations, each read once per export: used
// when the products are kept in another database than the items, so that
// they cannot be joined to them.
class ProductTexts {
  public:
    const ProductText& operator()(const QString& code) {
        const auto found = m_products.constFind(code);
        if (found != m_products.cend()) return *found;
        ProductText product;
        DataSlot& slot = data::DataModule().slot(ProductSlot);
        try {
            if (data::OpenQuery(ProductSlot, u"PRO"_s,
                                u"SELECT NOME, ST FROM "_s + data::ResolveTableName(u"PRO"_s) +
                                    u" WHERE PRODUTO = "_s + Quote(code)))
                product = {slot.value(0).toString(), slot.value(1).toString().trimmed()};
        } catch (const data::DbError& error) {
            throw data::DbError(u"Produto "_s + code + u": "_s + error.message());
        }
        data::CloseSlot(ProductSlot);
        return *m_products.insert(code, product);
    }

  private:
    QHash<QString, ProductText> m_products;
};

// The columns of an item statement, found by name once when it is prepared
// (NOME and ST only where the products are joined: -1 otherwise).
struct ItemColumns {
    explicit ItemColumns(const data::Statement& s)
        : sequence(s.columnIndex(u"SEQ"_s)), product(s.columnIndex(u"PRODUTO"_s)),
          quantity(s.columnIndex(u"QUANT"_s)), value(s.columnIndex(u"VALORA"_s)),
          discount(s.columnIndex(u"VALDESC"_s)), discountValue(s.columnIndex(u"DESCVALOR"_s)),
          accounting(s.columnIndex(u"CONTABIL"_s)), icms(s.columnIndex(u"ICMVALOR"_s)),
          retained(s.columnIndex(u"SUBSTR"_s)), ipi(s.columnIndex(u"IPIVALOR"_s)),
          icmsRate(s.columnIndex(u"ICMPERC"_s)), productName(s.columnIndex(u"NOME"_s)),
          taxSituation(s.columnIndex(u"ST"_s)) {}

    int sequence, product, quantity, value, discount, discountValue, accounting, icms, retained,
        ipi, icmsRate, productName, taxSituation;
};

Item54 ReadItem(const data::Statement& row, const ItemColumns& column) {
    Item54 item;
    item.sequence = row.value(column.sequence).toString();
    item.product = row.value(column.product).toString();
    // The quantity keeps its three decimals for the file; amounts are cut
    // to two.
    item.quantity = row.value(column.quantity).toScaled();
    item.value = AmountOf(row.value(column.value));
    item.discount = AmountOf(row.value(column.discount));
    item.discountValue = AmountOf(row.value(column.discountValue));
    item.accounting = AmountOf(row.value(column.accounting));
    item.icms = AmountOf(row.value(column.icms));
    item.retained = AmountOf(row.value(column.retained));
    item.ipi = AmountOf(row.value(column.ipi));
    item.icmsRate = AmountOf(row.value(column.icmsRate));
    return item;
}

// The items of the documents of one direction: the statement is prepared
// once and run again for each document with its key.
class DirectionItems {
  public:
    explicit DirectionItems(const QString& code) : m_code(code) {}

    std::vector<Item54> read(const QString& order, ProductTexts& products) {
        if (!m_statement) prepare();
        // The export's moment when it has one, else a snapshot of the
        // reader's own, kept for the whole file.
        data::ReadMoment* moment = data::ReadMoment::current();
        data::Transaction* transaction = moment ? moment->snapshotOf(*m_database) : nullptr;
        if (!transaction) {
            if (moment) moment->checkSnapshot(*m_database);
            if (!m_ownTransaction.isActive())
                m_ownTransaction.start(*m_database, data::TransactionMode::ReadSnapshot);
            transaction = &m_ownTransaction;
        }
        std::vector<Item54> items;
        // In the order the database returns them, as the document's lines
        // were always written.
        m_statement->bind(u"P_PEDIDO"_s, DbValue(order));
        m_statement->open(*transaction);
        while (m_statement->fetch()) {
            Item54 item = ReadItem(*m_statement, *m_columns);
            if (m_joined) {
                item.productName = m_statement->value(m_columns->productName).toString();
                item.taxSituation =
                    m_statement->value(m_columns->taxSituation).toString().trimmed();
            } else {
                const ProductText& product = products(item.product);
                item.productName = product.name;
                item.taxSituation = product.taxSituation;
            }
            items.push_back(std::move(item));
        }
        return items;
    }

  private:
    void prepare() {
        m_database = data::DatabaseFor(m_code);
        if (!m_database)
            throw data::DbError(u"Nenhum banco de dados contém a tabela "_s +
                                data::ResolveTableName(m_code));
        // With the products in the same database their name and tax
        // situation come joined to the items: one statement per document.
        m_joined = m_database == data::DatabaseFor(u"PRO"_s);
        const QString columns = u"I.SEQ, I.PRODUTO, I.QUANT, I.VALORA, I.VALDESC, I.DESCVALOR, "
                                "I.CONTABIL, I.ICMVALOR, I.SUBSTR, I.IPIVALOR, I.ICMPERC"_s;
        const QString sql = m_joined
                                ? u"SELECT "_s + columns + u", P.NOME, P.ST FROM "_s +
                                      TableRef(m_code, u"I"_s) + u" LEFT OUTER JOIN "_s +
                                      TableRef(u"PRO"_s, u"P"_s) +
                                      u" ON P.PRODUTO = I.PRODUTO WHERE I.PEDIDO = :P_PEDIDO"_s
                                : u"SELECT "_s + columns + u" FROM "_s + TableRef(m_code, u"I"_s) +
                                      u" WHERE I.PEDIDO = :P_PEDIDO"_s;
        m_ownTransaction.start(*m_database, data::TransactionMode::ReadSnapshot);
        m_statement = std::make_unique<data::Statement>(*m_database, m_ownTransaction, sql);
        m_columns = std::make_unique<ItemColumns>(*m_statement);
    }

    QString m_code;
    data::Connection* m_database = nullptr;
    bool m_joined = false;
    data::Transaction m_ownTransaction;
    std::unique_ptr<data::Statement> m_statement;
    std::unique_ptr<ItemColumns> m_columns;
};

// The reader behind DatabaseItems: both directions and the products.
class ItemReader {
  public:
    std::vector<Item54> operator()(const Row53& document) {
        const QString order = document.order.trimmed();
        if (order.isEmpty()) return {};
        DirectionItems& items = document.direction.trimmed() == u"E"_s ? m_entries : m_exits;
        try {
            return items.read(order, m_products);
        } catch (const data::DbError& error) {
            throw data::DbError(u"Itens do pedido "_s + order + u": "_s + error.message());
        }
    }

  private:
    DirectionItems m_entries{u"PIE"_s}, m_exits{u"PIS"_s};
    ProductTexts m_products;
};

} // namespace

ItemSource DatabaseItems() {
    auto reader = std::make_shared<ItemReader>();
    return [reader](const Row53& document) { return (*reader)(document); };
}

std::vector<Product75> ReadProducts75(const std::vector<Product75>& gathered) {
    std::vector<Product75> result = gathered;
    QHash<QString, std::vector<std::size_t>> wanted; // code -> places in the result
    QStringList codes;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const QString& code = result[i].code;
        if (code.isEmpty()) continue;
        auto& places = wanted[code];
        if (places.empty()) codes.append(code);
        places.push_back(i);
    }
    DataSlot& row = data::DataModule().slot(ProductSlot);
    for (qsizetype first = 0; first < codes.size(); first += CodesPerQuery) {
        QStringList quoted;
        for (const QString& code : codes.mid(first, CodesPerQuery))
            quoted.append(Quote(code));
        const QString sql = u"SELECT PRODUTO, UNIDADE, IPIPERC, ICMPERC, REDICM, PRMAX FROM "_s +
                            data::ResolveTableName(u"PRO"_s) + u" WHERE PRODUTO IN ("_s +
                            quoted.join(u", "_s) + u")"_s;
        try {
            for (bool found = data::OpenQuery(ProductSlot, u"PRO"_s, sql); found && !row.eof();
                 row.next()) {
                const auto places = wanted.constFind(row.value(0).toString());
                if (places == wanted.cend()) continue;
                for (const std::size_t i : *places) {
                    Product75& product = result[i];
                    product.unit = row.value(1).toString();
                    product.ipiRate = AmountOf(row.value(2));
                    product.icmsRate = AmountOf(row.value(3));
                    product.reduction = AmountOf(row.value(4));
                    product.maxPrice = AmountOf(row.value(5));
                }
            }
        } catch (const data::DbError& error) {
            row.rollback();
            throw data::DbError(u"Produtos do registro 75: "_s + error.message());
        }
        data::CloseSlot(ProductSlot);
    }
    return result;
}

} // namespace livrax::efiles
