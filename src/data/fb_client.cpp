#include "data/fb_client.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace livrax::data::fb {

Firebird::IMaster* Master() {
    static Firebird::IMaster* master = Firebird::fb_get_master_interface();
    return master;
}

Firebird::IUtil* Util() {
    return Master()->getUtilInterface();
}

namespace {
// The dispatcher picks the remote client for "host:path" and the embedded
// engine for a plain file path. Made on first use; it lives until the
// engine is shut down.
Firebird::IProvider* dispatcher = nullptr;
} // namespace

Firebird::IProvider* Provider() {
    if (!dispatcher) dispatcher = Master()->getDispatcher();
    return dispatcher;
}

void ShutdownProvider() {
    // A process that never opened a database has no engine to stop.
    if (!dispatcher) return;
    CallStatus status;
    try {
        dispatcher->shutdown(status.get(), 0, fb_shutrsn_app_stopped);
    } catch (const Firebird::FbException&) {
        // Leaving anyway: the engine's own exit handlers do the rest.
    }
}

QByteArray EncodeText(const QString& text) {
    // Converters are costly to create; the program is single-threaded, and a
    // per-thread instance keeps tests with threads safe as well.
    thread_local QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    return encoder(text);
}

QString DecodeText(const char* data, int length) {
    thread_local QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(data, length));
}

QString FormatStatus(const Firebird::IStatus* status) {
    char buffer[2048];
    // formatStatus takes a non-const status but only reads it.
    const unsigned length =
        Util()->formatStatus(buffer, sizeof buffer, const_cast<Firebird::IStatus*>(status));
    QString message = QString::fromLocal8Bit(buffer, int(qMin<unsigned>(length, sizeof buffer)));
    return message.simplified();
}

} // namespace livrax::data::fb
