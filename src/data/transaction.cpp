#include "data/transaction.h"

#include "data/connection.h"
#include "data/fb_client.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {
// Read-write, read committed (latest committed version), waiting on locks:
// the isolation a shared ERP database expects from a reporting client.
const unsigned char TransactionParameters[] = {
    isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait};
} // namespace

Transaction::~Transaction() {
    rollback();
}

void Transaction::start(Connection& connection) {
    if (m_transaction) rollback();
    if (!connection.isConnected()) throw DbError(u"Banco de dados não conectado"_s);
    m_transaction = fb::Call(QString(), [&](auto* status) {
        return connection.attachment()->startTransaction(status, sizeof TransactionParameters,
                                                         TransactionParameters);
    });
    m_connection = &connection;
}

void Transaction::commit() {
    if (!m_transaction) return;
    fb::Call(QString(), [&](auto* status) { m_transaction->commit(status); });
    m_transaction = nullptr; // commit released the interface
}

void Transaction::commitRetaining() {
    if (!m_transaction) return;
    fb::Call(QString(), [&](auto* status) { m_transaction->commitRetaining(status); });
}

void Transaction::rollback() noexcept {
    if (!m_transaction) return;
    fb::CallStatus status;
    try {
        m_transaction->rollback(status.get()); // releases the interface on success
    } catch (const Firebird::FbException&) {
        m_transaction->release();
    }
    m_transaction = nullptr;
}

void Transaction::executeImmediate(const QString& sql) {
    if (!m_transaction) throw DbError(u"Transação não iniciada"_s);
    fb::Call(QString(), [&](auto* status) {
        m_connection->attachment()->execute(status, m_transaction, 0,
                                            fb::EncodeText(sql).constData(), 3, nullptr, nullptr,
                                            nullptr, nullptr);
    });
}

} // namespace livrax::data
