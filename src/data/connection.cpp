#include "data/connection.h"

#include "data/fb_client.h"
#include "data/read_moment.h"
#include "data/transaction.h"

#include <cerrno>

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
    // The file name is UTF-8 whatever the connection's character set: without
    // this the engine reads it in WIN1252 and cannot map it to the file
    // system's names ("relatório" would not open).
    dpb->insertTag(status, isc_dpb_utf8_filename);
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

// Reads the status vector of a failed attachment: the first reason found
// among its error codes and operating-system error numbers.
ConnectFailure Classify(const Firebird::IStatus* status) {
    bool ioError = false;
    const char* operation = nullptr; // of the I/O error: "open", "read", "lock"...
    int systemError = 0;
    const intptr_t* item = status->getErrors();
    while (item && *item != isc_arg_end) {
        const intptr_t type = item[0];
        const intptr_t value = item[1];
        if (type == isc_arg_gds) {
            switch (value) {
            case isc_login:
                return ConnectFailure::Login;
            case isc_bad_db_format:
            case isc_wrong_ods:
            case isc_db_corrupt:
                return ConnectFailure::NotDatabase;
            case isc_already_opened: // an embedded engine of another process holds it
                return ConnectFailure::InUse;
            case isc_io_error:
                ioError = true;
                if (item[2] == isc_arg_string) operation = reinterpret_cast<const char*>(item[3]);
                break;
            default:
                break;
            }
        } else if ((type == isc_arg_unix || type == isc_arg_win32) && systemError == 0) {
            systemError = int(value);
        }
        // A counted string takes two slots (length and text), the others one.
        item += type == isc_arg_cstring ? 3 : 2;
    }
    if (!ioError) return ConnectFailure::Other;
    // A read that failed without an error of the system: the file is shorter
    // than a database's first page ("File size is less than expected").
    if (systemError == 0 && operation && qstrcmp(operation, "read") == 0)
        return ConnectFailure::NotDatabase;
#ifdef Q_OS_WIN
    constexpr int FileNotFound = 2, PathNotFound = 3, AccessDenied = 5, SharingViolation = 32,
                  LockViolation = 33;
    if (systemError == FileNotFound || systemError == PathNotFound) return ConnectFailure::NoFile;
    if (systemError == AccessDenied) return ConnectFailure::NoAccess;
    if (systemError == SharingViolation || systemError == LockViolation)
        return ConnectFailure::InUse;
#else
    if (systemError == ENOENT || systemError == ENOTDIR) return ConnectFailure::NoFile;
    if (systemError == EACCES || systemError == EPERM) return ConnectFailure::NoAccess;
    if (systemError == EWOULDBLOCK || systemError == EAGAIN) return ConnectFailure::InUse;
#endif
    return ConnectFailure::Other;
}

} // namespace

QString ConnectFailureText(ConnectFailure failure) {
    switch (failure) {
    case ConnectFailure::NoFile:
        return u"o arquivo não existe"_s;
    case ConnectFailure::NotDatabase:
        return u"o arquivo não é um banco de dados ou está danificado"_s;
    case ConnectFailure::InUse:
        return u"o arquivo está em uso por outro programa"_s;
    case ConnectFailure::Login:
        return u"usuário ou senha do banco de dados recusados"_s;
    case ConnectFailure::NoAccess:
        return u"sem permissão de acesso ao arquivo"_s;
    case ConnectFailure::Other:
        break;
    }
    return {};
}

namespace {

QString ReasonFor(ConnectFailure failure, const QString& engineMessage) {
    const QString text = ConnectFailureText(failure);
    return text.isEmpty() ? engineMessage : text + u" ("_s + engineMessage + u')';
}

} // namespace

ConnectError::ConnectError(const QString& what, ConnectFailure failure,
                           const QString& engineMessage)
    : DbError(what + u": "_s + ReasonFor(failure, engineMessage)), m_failure(failure),
      m_reason(ReasonFor(failure, engineMessage)), m_engineMessage(engineMessage) {}

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
    fb::CallStatus status;
    try {
        const QByteArray dpb = AttachParameters(status.get(), options, creating);
        const QByteArray path = options.path.toUtf8();
        const auto* buffer = reinterpret_cast<const unsigned char*>(dpb.constData());
        m_attachment = creating ? fb::Provider()->createDatabase(status.get(), path.constData(),
                                                                 unsigned(dpb.size()), buffer)
                                : fb::Provider()->attachDatabase(status.get(), path.constData(),
                                                                 unsigned(dpb.size()), buffer);
    } catch (const Firebird::FbException& error) {
        throw ConnectError(what, Classify(error.getStatus()), fb::FormatStatus(error.getStatus()));
    }
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

void ShutdownDatabaseEngine() {
    fb::ShutdownProvider();
}

void Connection::executeImmediate(const QString& sql) {
    Transaction transaction(*this);
    transaction.executeImmediate(sql);
    transaction.commit();
}

} // namespace livrax::data
