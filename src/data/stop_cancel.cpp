#include "data/stop_cancel.h"

#include "data/data_module.h"
#include "data/fb_client.h"
#include "platform/stop_signals.h"

#include <mutex>

namespace livrax::data {

namespace {

std::mutex g_mutex;
int g_active = 0; // live CancelOnStop objects

void CancelOperations() {
    const std::lock_guard lock(g_mutex);
    if (g_active == 0) return;
    for (int number = 1; number <= 5; ++number) {
        Connection* connection = B_DIR(number);
        if (!connection || !connection->isConnected()) continue;
        try {
            fb::CallStatus status;
            connection->attachment()->cancelOperation(status.get(), fb_cancel_raise);
        } catch (const Firebird::FbException&) {
            // Nothing was running on it.
        }
    }
}

} // namespace

CancelOnStop::CancelOnStop() {
    static const bool registered = [] {
        platform::OnStopSignal(CancelOperations);
        return true;
    }();
    (void)registered;
    const std::lock_guard lock(g_mutex);
    ++g_active;
}

CancelOnStop::~CancelOnStop() {
    const std::lock_guard lock(g_mutex);
    --g_active;
}

} // namespace livrax::data
