#include "platform/stop_signals.h"

#include <QList>

#include <atomic>
#include <csignal>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace livrax::platform {

namespace {

std::atomic<int> g_signal{0};

struct Watchers {
    std::mutex mutex;
    QList<std::function<void()>> handlers;
    bool installed = false;
    bool fired = false;
};

Watchers& TheWatchers() {
    static Watchers watchers;
    return watchers;
}

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Takes the stop signals one by one as they come: the first one sets the
// flag and runs the handlers; later ones are taken and dropped.
void Watch() {
    const sigset_t set = StopSet();
    while (true) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) continue;
        int expected = 0;
        if (!g_signal.compare_exchange_strong(expected, signal)) continue;
        Watchers& watchers = TheWatchers();
        QList<std::function<void()>> handlers;
        {
            const std::lock_guard lock(watchers.mutex);
            watchers.fired = true;
            handlers = watchers.handlers;
        }
        for (const std::function<void()>& handler : handlers)
            handler();
    }
}

} // namespace

void InstallStopSignals() {
    Watchers& watchers = TheWatchers();
    const std::lock_guard lock(watchers.mutex);
    std::signal(SIGXFSZ, SIG_IGN);
    if (watchers.installed) return;
    watchers.installed = true;
    // Blocked in this thread and so in every thread started after it (the
    // database engine's, Qt's): no thread is interrupted by them, and no
    // handler another library installs ever runs. The watcher takes them.
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(Watch).detach();
}

int StopSignal() {
    return g_signal.load();
}

const char* StopSignalName() {
    switch (StopSignal()) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "";
    }
}

void OnStopSignal(std::function<void()> handler) {
    Watchers& watchers = TheWatchers();
    std::unique_lock lock(watchers.mutex);
    if (watchers.fired) {
        lock.unlock();
        handler();
        return;
    }
    watchers.handlers.append(std::move(handler));
}

} // namespace livrax::platform
