#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace livrax::platform {

// The suite's keys in the current user's settings.
QString GlobalsKeyPath();
QString ProgramKeyPath(const QString& program);
QString PublicKeyPath();

// One key of the current user's settings, holding string values. On Windows
// it is the registry under HKEY_CURRENT_USER; elsewhere an INI file,
// "livrax/registry.ini" in the user's configuration folder (XDG_CONFIG_HOME),
// with one section per key, so a test or another user is isolated by its
// own configuration folder.
class RegistryKey {
  public:
    // `path` as the suite names it: "\Software\VORTANE\USER\GLOBAIS_FB".
    explicit RegistryKey(const QString& path);

    // True when the key holds at least one value.
    bool exists() const;
    QStringList valueNames() const;
    // The value, or nothing when the key or the value is missing.
    std::optional<QString> value(const QString& name) const;
    // Creates the key when needed and stores the value at once. False when
    // the store could not be written (its folder cannot be made, the file is
    // read-only): the value is then not kept.
    bool setValue(const QString& name, const QString& value);
    bool removeValue(const QString& name);
    // Where the values are kept, for messages: the INI file, or the registry
    // key on Windows.
    QString location() const;

  private:
    QString m_path;
};

// A string value under a root of the settings (root 0: the current user; the
// program keeps no other root); empty when the key or the value is missing.
QString ReadRegistryText(int root, const QString& key, const QString& name);

// A program's own settings, in the key ProgramKeyPath(program): a missing
// value reads as empty; writing creates the key when needed.
QString ReadProgramSetting(const QString& program, const QString& name);
void WriteProgramSetting(const QString& program, const QString& name, const QString& value);

} // namespace livrax::platform
