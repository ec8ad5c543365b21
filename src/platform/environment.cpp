#include "platform/environment.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace livrax::platform {

bool HasDisplay() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#endif
}

QString OsUserName() {
    const QString name = qEnvironmentVariable("USERNAME");
    return name.isEmpty() ? qEnvironmentVariable("USER") : name;
}

QString WindowsUserName() {
    return OsUserName().left(255);
}

QString DefaultTempFolder() {
#ifdef Q_OS_WIN
    return u"C:\\VORTANETEMP\\"_s;
#else
    return QDir::tempPath() + u"/VORTANETEMP/"_s;
#endif
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(u'\\') || folder.endsWith(u'/');
}

QString FolderSeparatorFor(const QString& folder) {
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return u"\\"_s;
#else
    return folder.contains(u'\\') && !folder.contains(u'/') ? u"\\"_s : u"/"_s;
#endif
}

} // namespace livrax::platform
