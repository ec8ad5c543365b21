#include "data/transaction.h"

#include "data/connection.h"
#include "data/fb_client.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// A few seconds: long enough for another station's short save to end, short
// enough that a held record is reported instead of hanging the program.
int lockTimeout = 5;

QByteArray TransactionParameters(TransactionMode mode) {
    if (mode == TransactionMode::ReadSnapshot) {
        // Reads only, so it takes no record locks and waits for nothing.
        static const char snapshot[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_concurrency,
                                        isc_tpb_nowait};
        return QByteArray(snapshot, sizeof snapshot);
    }
    // Read committed (latest committed version), waiting on a held record
    // for the lock timeout only: the isolation a shared ERP database expects
    // from a client that writes little and briefly.
    static const char readWrite[] = {isc_tpb_version3,
                                     isc_tpb_write,
                                     isc_tpb_read_committed,
                                     isc_tpb_rec_version,
                                     isc_tpb_wait,
                                     isc_tpb_lock_timeout,
                                     4};
    QByteArray tpb(readWrite, sizeof readWrite);
    const quint32 seconds = quint32(qMax(1, lockTimeout));
    for (int shift = 0; shift < 32; shift += 8) // little-endian, as the engine reads it
        tpb.append(char((seconds >> shift) & 0xff));
    return tpb;
}

} // namespace

int LockTimeoutSeconds() {
    return lockTimeout;
}

void SetLockTimeoutSeconds(int seconds) {
    lockTimeout = qMax(1, seconds);
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::start(Connection& connection, TransactionMode mode) {
    if (m_transaction) rollback();
    if (!connection.isConnected()) throw DbError(u"Banco de dados não conectado"_s);
    const QByteArray tpb = TransactionParameters(mode);
    m_transaction = fb::Call(QString(), [&](auto* status) {
        return connection.attachment()->startTransaction(
            status, unsigned(tpb.size()), reinterpret_cast<const unsigned char*>(tpb.constData()));
    });
    m_connection = &connection;
    m_mode = mode;
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
