#pragma once

// Access to the database client library, shared by the wrapper classes of
// this folder. Not for use outside src/data.

#include "data/db_error.h"

#include <firebird/Interface.h>

#include <QByteArray>
#include <QString>

#include <utility>

namespace livrax::data::fb {

Firebird::IMaster* Master();
Firebird::IUtil* Util();
Firebird::IProvider* Provider();
// Stops the engine and the client (see ShutdownDatabaseEngine).
void ShutdownProvider();

// Windows-1252 is the character set of every connection.
constexpr unsigned CharsetWin1252 = 53;
QByteArray EncodeText(const QString& text);
QString DecodeText(const char* data, int length);

QString FormatStatus(const Firebird::IStatus* status);

// A status object for one call into the client, disposed at scope end. Calls
// made through `wrapper` throw Firebird::FbException on failure.
class CallStatus {
  public:
    CallStatus() : m_status(Master()->getStatus()), m_wrapper(m_status) {}
    ~CallStatus() { m_status->dispose(); }
    CallStatus(const CallStatus&) = delete;
    CallStatus& operator=(const CallStatus&) = delete;
    Firebird::ThrowStatusWrapper* operator->() { return &m_wrapper; }
    Firebird::ThrowStatusWrapper* get() { return &m_wrapper; }

  private:
    Firebird::IStatus* m_status;
    Firebird::ThrowStatusWrapper m_wrapper;
};

// Runs `work(status)` and turns a client failure into DbError, prefixed with
// `what` so the message says which operation failed.
template <typename Work> auto Call(const QString& what, Work&& work) {
    CallStatus status;
    try {
        return std::forward<Work>(work)(status.get());
    } catch (const Firebird::FbException& error) {
        QString message = FormatStatus(error.getStatus());
        using namespace Qt::StringLiterals;
        throw DbError(what.isEmpty() ? message : what + u": "_s + message);
    }
}

} // namespace livrax::data::fb
