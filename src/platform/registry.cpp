#include "platform/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

using namespace Qt::StringLiterals;

namespace livrax::platform {

QString GlobalsKeyPath() {
    return u"\\Software\\VORTANE\\USER\\GLOBAIS_FB"_s;
}
QString ProgramKeyPath(const QString& program) {
    return u"\\Software\\VORTANE\\PROGRAM\\"_s + program;
}
QString PublicKeyPath() {
    return u"\\Software\\VORTANE\\PUBLICOS"_s;
}

namespace {

// The store and the group the key's values live in.
struct Store {
    std::unique_ptr<QSettings> settings;
    QString group;
};

Store Open(const QString& path) {
    QString group = path;
    group.replace(u'\\', u'/');
    while (group.startsWith(u'/'))
        group.remove(0, 1);
#ifdef Q_OS_WIN
    return {
        std::make_unique<QSettings>(u"HKEY_CURRENT_USER\\"_s + QString(group).replace(u'/', u'\\'),
                                    QSettings::NativeFormat),
        QString()};
#else
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/livrax"_s;
    return {std::make_unique<QSettings>(folder + u"/registry.ini"_s, QSettings::IniFormat), group};
#endif
}

QString Entry(const Store& store, const QString& name) {
    return store.group.isEmpty() ? name : store.group + u'/' + name;
}

} // namespace

RegistryKey::RegistryKey(const QString& path) : m_path(path) {}

bool RegistryKey::exists() const {
    return !valueNames().isEmpty();
}

QStringList RegistryKey::valueNames() const {
    Store store = Open(m_path);
    if (!store.group.isEmpty()) store.settings->beginGroup(store.group);
    return store.settings->childKeys();
}

std::optional<QString> RegistryKey::value(const QString& name) const {
    const Store store = Open(m_path);
    const QString entry = Entry(store, name);
    if (!store.settings->contains(entry)) return std::nullopt;
    return store.settings->value(entry).toString();
}

bool RegistryKey::setValue(const QString& name, const QString& value) {
    Store store = Open(m_path);
    if (store.group.isEmpty() == false) {
        // The INI file's folder may not exist yet on a new account.
        QDir().mkpath(QFileInfo(store.settings->fileName()).absolutePath());
    }
    store.settings->setValue(Entry(store, name), value);
    // QSettings keeps a value it could not write in memory only; the status
    // after sync() is the only sign that it was lost.
    store.settings->sync();
    return store.settings->status() == QSettings::NoError;
}

bool RegistryKey::removeValue(const QString& name) {
    Store store = Open(m_path);
    store.settings->remove(Entry(store, name));
    store.settings->sync();
    return store.settings->status() == QSettings::NoError;
}

QString RegistryKey::location() const {
    return Open(m_path).settings->fileName();
}

QString ReadRegistryText(int root, const QString& key, const QString& name) {
    if (root != 0) return {};
    return RegistryKey(key).value(name).value_or(QString());
}

QString ReadProgramSetting(const QString& program, const QString& name) {
    return ReadRegistryText(0, ProgramKeyPath(program), name);
}

void WriteProgramSetting(const QString& program, const QString& name, const QString& value) {
    RegistryKey(ProgramKeyPath(program)).setValue(name, value);
}

} // namespace livrax::platform
