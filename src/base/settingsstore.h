#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: text values addressed by section and key, read with a default.
// Reads never write; every write is flushed at once so a crash loses nothing already set.
class SettingsStore
{
public:
    // The user's own store: an INI file named after the application ("Postavo").
    SettingsStore();
    // A store kept in the given INI file (tests, or a portable set-up).
    explicit SettingsStore(const QString &iniFilePath);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    void write(const QString &section, const QString &key, const QString &value);

    QString fileName() const;

    static QString applicationName();

private:
    std::unique_ptr<QSettings> m_settings;
};
