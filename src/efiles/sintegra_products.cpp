// The items of the record-53 documents and the products of record 75, read
// while the SINTEGRA file is written.

#include "common/fields.h"
#include "data/data_module.h"
#include "data/db_error.h"
#include "data/queries.h"
#include "data/routing.h"
#include "efiles/sintegra_reads.h"
#include "efiles/sintegra_staging.h"

#include <QHash>

#include <memory>

namespace livrax::efiles {

using namespace Qt::StringLiterals;
using data::DataSlot;

namespace {

constexpr data::Slot ItemSlot = data::Slot::T_CON4;
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

Item54 ReadItem(const DataSlot& row) {
    Item54 item;
    item.sequence = row.value(u"SEQ"_s).toString();
    item.product = row.value(u"PRODUTO"_s).toString();
    // The quantity keeps its three decimals for the file; amounts are cut
    // to two.
    item.quantity = row.value(u"QUANT"_s).toScaled();
    item.value = AmountOf(row.value(u"VALORA"_s));
    item.discount = AmountOf(row.value(u"VALDESC"_s));
    item.discountValue = AmountOf(row.value(u"DESCVALOR"_s));
    item.accounting = AmountOf(row.value(u"CONTABIL"_s));
    item.icms = AmountOf(row.value(u"ICMVALOR"_s));
    item.retained = AmountOf(row.value(u"SUBSTR"_s));
    item.ipi = AmountOf(row.value(u"IPIVALOR"_s));
    item.icmsRate = AmountOf(row.value(u"ICMPERC"_s));
    return item;
}

std::vector<Item54> ReadItems(const Row53& document, ProductTexts& products) {
    if (document.order.trimmed().isEmpty()) return {};
    const QString code = document.direction.trimmed() == u"E"_s ? u"PIE"_s : u"PIS"_s;
    // One statement per document: with the products in the same database,
    // their name and tax situation come joined to the items.
    const bool joined = data::DatabaseFor(code) == data::DatabaseFor(u"PRO"_s);
    const QString columns = u"I.SEQ, I.PRODUTO, I.QUANT, I.VALORA, I.VALDESC, I.DESCVALOR, "
                            "I.CONTABIL, I.ICMVALOR, I.SUBSTR, I.IPIVALOR, I.ICMPERC"_s;
    const QString sql =
        joined ? u"SELECT "_s + columns + u", P.NOME, P.ST FROM "_s + TableRef(code, u"I"_s) +
                     u" LEFT OUTER JOIN "_s + TableRef(u"PRO"_s, u"P"_s) +
                     u" ON P.PRODUTO = I.PRODUTO WHERE I.PEDIDO = "_s + Quote(document.order)
               : u"SELECT "_s + columns + u" FROM "_s + TableRef(code, u"I"_s) +
                     u" WHERE I.PEDIDO = "_s + Quote(document.order);
    std::vector<Item54> items;
    DataSlot& row = data::DataModule().slot(ItemSlot);
    try {
        // In the order the database returns them, as the document's lines
        // were always written.
        for (bool found = data::OpenQuery(ItemSlot, code, sql); found && !row.eof(); row.next()) {
            Item54 item = ReadItem(row);
            if (joined) {
                item.productName = row.value(u"NOME"_s).toString();
                item.taxSituation = row.value(u"ST"_s).toString().trimmed();
            }
            items.push_back(std::move(item));
        }
    } catch (const data::DbError& error) {
        row.rollback();
        throw data::DbError(u"Itens do pedido "_s + document.order + u": "_s + error.message());
    }
    data::CloseSlot(ItemSlot);
    if (!joined) {
        for (Item54& item : items) {
            const ProductText& product = products(item.product);
            item.productName = product.name;
            item.taxSituation = product.taxSituation;
        }
    }
    return items;
}

} // namespace

ItemSource DatabaseItems() {
    auto products = std::make_shared<ProductTexts>();
    return [products](const Row53& document) { return ReadItems(document, *products); };
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
