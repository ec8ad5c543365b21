#include "efiles/sintegra_grids.h"

#include "common/numbers.h"

namespace livrax::efiles {

using namespace Qt::StringLiterals;

namespace {

bool IsSection(const QString& firstColumn) {
    return firstColumn.startsWith(u"***"_s);
}

// A section row: "**" and its title.
QStringList Section(const QString& title) {
    return {u"**"_s, title};
}

QString A(qint64 value) {
    return AmountText(value);
}

template <typename Row>
StagedGrid MakeGrid(const std::vector<Row>& rows, QStringList captions, QSet<int> amounts,
                    QList<int> hidden, QStringList (*cells)(const Row&)) {
    StagedGrid grid;
    grid.captions = std::move(captions);
    grid.rows = int(rows.size());
    // The rows may be replaced before the view is told: a row that is gone
    // shows empty rather than reading past the end.
    grid.cells = [&rows, cells](int row) {
        return std::size_t(row) < rows.size() ? cells(rows[std::size_t(row)]) : QStringList();
    };
    grid.amountColumns = std::move(amounts);
    grid.hiddenColumns = std::move(hidden);
    return grid;
}

QStringList Cells50(const Row50& r) {
    if (IsSection(r.cnpj)) return Section(r.cnpj);
    return {u"50"_s,   r.cnpj,      r.stateReg, r.date,    r.state,     r.model,
            r.series,  QString(),   r.number,   r.cfop,    A(r.total),  A(r.base),
            A(r.icms), A(r.exempt), A(r.other), A(r.rate), r.cancelled, r.partner};
}

QStringList Cells51(const Row51& r) {
    if (IsSection(r.cnpj)) return Section(r.cnpj);
    return {u"51"_s,    r.cnpj,    r.stateReg,  r.date,     r.state,  r.series,
            QString(),  r.number,  r.cfop,      A(r.total), A(r.ipi), A(r.exempt),
            A(r.other), QString(), r.cancelled, r.partner};
}

QStringList Cells53(const Row53& r) {
    if (IsSection(r.cnpj)) return Section(r.cnpj);
    return {u"53"_s,       r.cnpj,      r.stateReg, r.date,      r.state,    r.model,
            r.series,      r.subSeries, r.number,   r.cfop,      A(r.total), A(r.retained),
            A(r.expenses), r.cancelled, r.partner,  r.direction, r.order};
}

QStringList Cells61(const Row61& r) {
    if (IsSection(r.type)) return Section(r.type);
    return {r.type,     r.date,    r.model,   r.series,    r.subSeries, r.firstNumber, r.lastNumber,
            A(r.total), A(r.base), A(r.icms), A(r.exempt), A(r.other),  A(r.rate)};
}

QStringList Cells70(const Row70& r) {
    if (IsSection(r.cnpj)) return Section(r.cnpj);
    return {u"70"_s,   r.cnpj,      r.stateReg, r.date,    r.state,    r.model,
            r.series,  r.subSeries, r.number,   r.cfop,    A(r.total), A(r.base),
            A(r.icms), A(r.exempt), A(r.other), r.freight, r.status,   r.company};
}

QStringList Cells71(const Row71& r) {
    if (IsSection(r.takerCnpj)) return Section(r.takerCnpj);
    return {QString(),
            r.takerCnpj,
            r.takerStateReg,
            r.date,
            r.state,
            r.model,
            r.series,
            r.subSeries,
            r.billNumber,
            r.senderState,
            r.senderCnpj,
            r.senderStateReg,
            r.invoiceDate,
            r.invoiceModel,
            r.invoiceSeries,
            r.invoiceNumber,
            r.takerCnpj.isEmpty() && r.value == 0 ? QString() : A(r.value)};
}

QStringList Cells75(const Product75& p) {
    return {p.code, p.description};
}

} // namespace

QString AmountText(qint64 tenThousandths) {
    return FormatScaled(tenThousandths, 13, 2).trimmed();
}

StagedGrid Grid50(const std::vector<Row50>& rows) {
    return MakeGrid(rows,
                    {u"50"_s, u"CNPJ"_s, u"Insc.Est."_s, u"Data"_s, u"UF"_s, u"Mod"_s, u"Se"_s,
                     u"SSe"_s, u"Numero"_s, u"CFOP"_s, u"Val.Total"_s, u"Base Calc."_s,
                     u"Valor ICMS"_s, u"Isentas"_s, u"Outras"_s, u"Aliq."_s, u"Canc"_s, u"Sigla"_s},
                    {11, 12, 13, 14, 15, 16}, {8}, &Cells50);
}

StagedGrid Grid51(const std::vector<Row51>& rows) {
    return MakeGrid(rows,
                    {u"51"_s, u"CNPJ"_s, u"Insc.Est."_s, u"Data"_s, u"UF"_s, u"Se"_s, u"SSe"_s,
                     u"Numero"_s, u"CFOP"_s, u"Val.Total"_s, u"Valor IPI"_s, u"Isentas"_s,
                     u"Outras"_s, u"**"_s, u"Canc"_s, u"Sigla"_s},
                    {10, 11, 12, 13}, {7}, &Cells51);
}

StagedGrid Grid53(const std::vector<Row53>& rows) {
    return MakeGrid(rows,
                    {u"53"_s, u"CNPJ"_s, u"Insc.Est."_s, u"Data"_s, u"UF"_s, u"Mod"_s, u"Se"_s,
                     u"SSe"_s, u"Numero"_s, u"CFOP"_s, u"Val.Total"_s, u"Valor Substr"_s,
                     u"Despesas"_s, u"Canc"_s, u"Sigla"_s, u"E/S"_s, u"Pedido"_s},
                    {11, 12, 13}, {8}, &Cells53);
}

StagedGrid Grid61(const std::vector<Row61>& rows) {
    return MakeGrid(rows,
                    {u"61"_s, u"Dt.Emiss."_s, u"Modelo"_s, u"Se."_s, u"SSe"_s, u"Num.Inicial"_s,
                     u"Num.Final"_s, u"Valor"_s, u"Base Calc."_s, u"Valor ICMS"_s, u"Isentas"_s,
                     u"Outras"_s, u"Aliq."_s},
                    {8, 9, 10, 11, 12, 13}, {}, &Cells61);
}

StagedGrid Grid70(const std::vector<Row70>& rows) {
    return MakeGrid(rows,
                    {u"70"_s, u"CNPJ"_s, u"Insc.Est."_s, u"Data"_s, u"UF"_s, u"Mod"_s, u"Se"_s,
                     u"SSe"_s, u"Numero"_s, u"CFOP"_s, u"Val.Total"_s, u"Base Calc"_s,
                     u"Val. ICMS"_s, u"Isentas"_s, u"Outras"_s, u"Cif/Fob"_s, u"Sit"_s,
                     u"Empresa"_s},
                    {11, 12, 13, 14, 15}, {}, &Cells70);
}

StagedGrid Grid71(const std::vector<Row71>& rows) {
    return MakeGrid(rows,
                    {QString(), u"CNPJ Destinatario"_s, u"Insc.Est."_s, u"Dt.Emis"_s, u"UF"_s,
                     u"Mod"_s, u"Se"_s, u"SS"_s, u"NConhec"_s, u"UF"_s, u"CNPJ Remetente"_s,
                     u"Insc.Est."_s, u"Nota Emis"_s, u"Mod"_s, u"Se"_s, u"NNota"_s, u"Valor"_s},
                    {17}, {}, &Cells71);
}

StagedGrid Grid75(const std::vector<Product75>& products) {
    return MakeGrid(products, {u"Produto"_s, u"Descrição"_s}, {}, {}, &Cells75);
}

void StagedGridModel::setGrid(StagedGrid grid) {
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

int StagedGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.rows;
}

int StagedGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_grid.captions.size()) + 1;
}

QVariant StagedGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_grid.rows) return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return m_grid.amountColumns.contains(column) || column == 0
                   ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                   : QVariant();
    if (role != Qt::DisplayRole) return {};
    if (column == 0) return index.row() + 1;
    return m_grid.cells(index.row()).value(column - 1);
}

QVariant StagedGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section == 0 ? u"Seq"_s : m_grid.captions.value(section - 1);
}

Qt::ItemFlags StagedGridModel::flags(const QModelIndex& index) const {
    // Inspection only: selectable, never editable.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace livrax::efiles
