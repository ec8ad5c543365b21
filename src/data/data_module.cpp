#include "data/data_module.h"

#include "data/db_error.h"
#include "data/read_moment.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {
const char* const SlotNames[] = {
    "T_CON0", "T_CON1", "T_CON2", "T_CON3", "T_CON4",   "T_CON5", "T_CON6",  "T_CON7",
    "T_CON8", "T_CON9", "T_CONA", "T_CONB", "T_CONC",   "T_COND", "T_CONE",  "T_CONU",
    "T_CONW", "T_CONX", "T_CONY", "T_CONZ", "T_CADSQL", "T_SQL",  "T_SQLU",  "T_SQLZ",
    "GB_TAB", "T_TAB0", "T_TAB1", "T_TAB2", "T_TABW",   "T_ARQ",  "IBTable1"};
static_assert(std::size(SlotNames) == std::size_t(Slot::Count));

QueryObserver& Observer() {
    static QueryObserver observer;
    return observer;
}
} // namespace

void SetQueryObserver(QueryObserver observer) {
    Observer() = std::move(observer);
}

SlotKind KindOf(Slot slot) {
    if (slot >= Slot::GB_TAB) return SlotKind::Table;
    if (slot >= Slot::T_SQL) return SlotKind::Statement;
    return SlotKind::Query;
}

QString SlotName(Slot slot) {
    return QString::fromLatin1(SlotNames[int(slot)]);
}

void DataSlot::bind(Connection* database) {
    if (database == m_database) return;
    commit();
    m_statement.reset();
    m_database = database;
}

void DataSlot::startTransaction() {
    if (!m_database) throw DbError(u"Nenhum banco de dados para "_s + SlotName(m_slot));
    if (m_snapshot) return;
    const ReadMoment* moment = KindOf(m_slot) == SlotKind::Query ? ReadMoment::current() : nullptr;
    Transaction* snapshot = moment ? moment->snapshotOf(*m_database) : nullptr;
    if (!snapshot) {
        if (moment) moment->checkSnapshot(*m_database);
        if (!m_transaction.isActive()) m_transaction.start(*m_database);
        return;
    }
    if (m_transaction.isActive()) {
        // Reads left open from before the moment: end them, the slot reads
        // the moment from now on.
        close();
        m_statement.reset();
        try {
            m_transaction.commit();
        } catch (const DbError&) {
            m_transaction.rollback();
        }
    }
    m_snapshot = snapshot;
}

void DataSlot::commit() {
    close();
    if (m_snapshot)
        m_snapshot = nullptr; // the moment ends its snapshot
    else if (m_transaction.isActive())
        m_transaction.commit();
    m_statement.reset();
}

void DataSlot::rollback() noexcept {
    m_open = false;
    m_hasRow = false;
    m_statement.reset(); // closes the cursor without asking the server
    if (m_snapshot)
        m_snapshot = nullptr;
    else
        m_transaction.rollback();
}

void DataSlot::leaveSnapshot(const Transaction* snapshot) noexcept {
    if (!m_snapshot || m_snapshot != snapshot) return;
    m_open = false;
    m_hasRow = false;
    m_statement.reset();
    m_snapshot = nullptr;
}

bool DataSlot::open() {
    close();
    m_statement.reset();
    startTransaction();
    m_statement = std::make_unique<Statement>(*m_database, transaction(), m_sql);
    m_statement->open();
    m_open = true;
    m_hasRow = m_statement->fetch();
    if (Observer()) Observer()(m_slot, m_sql);
    return m_hasRow;
}

bool DataSlot::next() {
    if (!m_hasRow || !m_statement) return false;
    m_hasRow = m_statement->fetch();
    return m_hasRow;
}

void DataSlot::close() {
    if (m_statement) m_statement->close();
    m_open = false;
    m_hasRow = false;
}

DbValue DataSlot::value(const QString& field) const {
    if (!m_statement || !m_hasRow) return {};
    const int index = m_statement->columnIndex(field);
    return index < 0 ? DbValue() : m_statement->value(index);
}

DbValue DataSlot::value(int index) const {
    return m_statement && m_hasRow ? m_statement->value(index) : DbValue();
}

QString DataSlot::fieldName(int index) const {
    return m_statement ? m_statement->columnName(index) : QString();
}

bool DataSlot::hasField(const QString& field) const {
    return m_statement && m_statement->columnIndex(field) >= 0;
}

Statement& DataSlot::prepare() {
    close();
    m_statement.reset();
    startTransaction();
    m_statement = std::make_unique<Statement>(*m_database, transaction(), m_sql);
    return *m_statement;
}

TF_OPEN::TF_OPEN() {
    for (int i = 0; i < int(Slot::Count); ++i)
        m_slots[std::size_t(i)] = std::make_unique<DataSlot>(Slot(i));
}

TF_OPEN::~TF_OPEN() {
    closeAll();
}

int TF_OPEN::numberOf(const Connection* connection) const {
    for (int i = 0; i < int(m_connections.size()); ++i)
        if (&m_connections[std::size_t(i)] == connection) return i;
    return 0;
}

void TF_OPEN::closeAll() {
    for (auto& slot : m_slots) {
        slot->rollback();
        slot->bind(nullptr);
    }
    for (Connection& connection : m_connections)
        connection.close();
    openErrors = {};
}

TF_OPEN& DataModule() {
    static TF_OPEN module;
    return module;
}

Connection* B_DIR(int number) {
    return number >= 1 && number <= 5 ? &DataModule().connection(number) : nullptr;
}

} // namespace livrax::data
