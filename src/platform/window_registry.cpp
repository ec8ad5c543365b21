#include "platform/window_registry.h"

#include <QHash>

namespace livrax::platform {

namespace {
QHash<QString, WindowLauncher>& Launchers() {
    static QHash<QString, WindowLauncher> launchers;
    return launchers;
}
} // namespace

void RegisterWindow(const QString& name, WindowLauncher launcher) {
    Launchers().insert(name, std::move(launcher));
}

void UnregisterWindow(const QString& name) {
    Launchers().remove(name);
}

bool IsWindowRegistered(const QString& name) {
    return Launchers().contains(name);
}

bool OpenWindow(const QString& name, QWidget* parent, const QStringList& arguments) {
    const auto found = Launchers().constFind(name);
    if (found == Launchers().cend()) return false;
    // A copy: the launcher may register or remove windows while it runs.
    const WindowLauncher launcher = *found;
    launcher(parent, arguments);
    return true;
}

} // namespace livrax::platform
