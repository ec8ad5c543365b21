#include "data/connection.h"

#include "data/fb_client.h"
#include "data/read_moment.h"
#include "data/transaction.h"

using namespace Qt::StringLiterals;

namespace livrax::data {

namespace {

// Builds the attachment parameters shared by open and create.
QByteArray AttachParameters(Firebird::ThrowStatusWrapper* status, const ConnectionOptions& options,
                            bool creating) {
    Firebird::IXpbBuilder* dpb =
        fb::Util()->getXpbBuilder(status, Firebird::IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(status, isc_dpb_user_name, options.user.toUtf8().constData());
    if (!options.password.isEmpty())
        dpb->insertString(status, isc_dpb_password, options.password.toUtf8().constData());
    dpb->insertString(status, isc_dpb_lc_ctype, "WIN1252");
    dpb->insertInt(status, isc_dpb_sql_dialect, 3);
    if (creating) {
        dpb->insertInt(status, isc_dpb_page_size, options.pageSize);
        dpb->insertString(status, isc_dpb_set_db_charset, "WIN1252");
        dpb->insertInt(status, isc_dpb_force_write, options.forcedWrites ? 1 : 0);
    }
    QByteArray buffer(reinterpret_cast<const char*>(dpb->getBuffer(status)),
                      int(dpb->getBufferLength(status)));
    dpb->dispose();
    return buffer;
}

} // namespace

Connection::~Connection() {
    close();
}

void Connection::open(const ConnectionOptions& options) {
    attach(options, false);
}

void Connection::open() {
    attach(m_options, false);
}

void Connection::create(const ConnectionOptions& options) {
    attach(options, true);
}

void Connection::attach(const ConnectionOptions& requested, bool creating) {
    const ConnectionOptions options = requested; // may be m_options itself
    close();
    m_options = options;
    const QString what = (creating ? u"Erro ao criar "_s : u"Erro ao abrir "_s) + options.path;
    m_attachment = fb::Call(what, [&](auto* status) {
        const QByteArray dpb = AttachParameters(status, options, creating);
        const QByteArray path = fb::EncodeText(options.path);
        const auto* buffer = reinterpret_cast<const unsigned char*>(dpb.constData());
        return creating ? fb::Provider()->createDatabase(status, path.constData(),
                                                         unsigned(dpb.size()), buffer)
                        : fb::Provider()->attachDatabase(status, path.constData(),
                                                         unsigned(dpb.size()), buffer);
    });
}

void Connection::close() {
    if (!m_attachment) return;
    // A moment's snapshot of this database ends before the attachment goes.
    if (ReadMoment* moment = ReadMoment::current()) moment->forget(*this);
    fb::CallStatus status;
    try {
        m_attachment->detach(status.get()); // releases the interface on success
    } catch (const Firebird::FbException&) {
        // The attachment is unusable either way; drop our reference.
        m_attachment->release();
    }
    m_attachment = nullptr;
}

void Connection::executeImmediate(const QString& sql) {
    Transaction transaction(*this);
    transaction.executeImmediate(sql);
    transaction.commit();
}

} // namespace livrax::data
