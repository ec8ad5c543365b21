#include "data/read_moment.h"

#include "data/data_module.h"
#include "data/db_error.h"
#include "data/transaction.h"

namespace livrax::data {

using namespace Qt::StringLiterals;

namespace {
// The program is single-threaded: one moment at a time for the process.
ReadMoment* currentMoment = nullptr;
} // namespace

ReadMoment::ReadMoment() {
    if (currentMoment) return; // joins the run's moment
    m_outermost = true;
    // Every snapshot starts now, one after the other, before any query of
    // the run: the moment is the same for every database the run reads.
    TF_OPEN& module = DataModule();
    for (int number = 0; number <= 5; ++number) {
        Connection& connection = module.connection(number);
        if (!connection.isConnected()) continue;
        auto transaction = std::make_unique<Transaction>();
        try {
            transaction->start(connection, TransactionMode::ReadSnapshot);
        } catch (const DbError& error) {
            // Its slots fail with this reason rather than read outside the
            // moment (checkSnapshot).
            m_failures.emplace_back(&connection, error.message());
            continue;
        }
        m_snapshots.push_back({&connection, std::move(transaction)});
    }
    currentMoment = this;
}

ReadMoment::~ReadMoment() {
    if (!m_outermost) return;
    currentMoment = nullptr;
    for (Snapshot& snapshot : m_snapshots)
        end(snapshot);
}

ReadMoment* ReadMoment::current() {
    return currentMoment;
}

Transaction* ReadMoment::snapshotOf(const Connection& connection) const {
    for (const Snapshot& snapshot : m_snapshots)
        if (snapshot.connection == &connection && snapshot.transaction->isActive())
            return snapshot.transaction.get();
    return nullptr;
}

void ReadMoment::checkSnapshot(const Connection& connection) const {
    for (const auto& [failed, reason] : m_failures)
        if (failed == &connection)
            throw DbError(u"A leitura em um só momento não pôde começar: "_s + reason);
}

void ReadMoment::forget(const Connection& connection) noexcept {
    for (Snapshot& snapshot : m_snapshots)
        if (snapshot.connection == &connection) end(snapshot);
}

void ReadMoment::end(Snapshot& snapshot) noexcept {
    Transaction* transaction = snapshot.transaction.get();
    if (!transaction->isActive()) return;
    TF_OPEN& module = DataModule();
    for (int i = 0; i < int(Slot::Count); ++i)
        module.slot(Slot(i)).leaveSnapshot(transaction);
    // Nothing was written in it: commit and rollback end it alike.
    try {
        transaction->commit();
    } catch (const DbError&) {
        transaction->rollback();
    }
}

} // namespace livrax::data
