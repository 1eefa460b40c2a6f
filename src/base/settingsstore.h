#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>

#include "base/datafolder.h"
#include "base/filereplacement.h"

class QSettings;

// The per-user settings store: text values addressed by section and key, read with a default.
// Reads never write; every write is flushed at once so a crash loses nothing already set. A write that cannot
// reach the file leaves the file as it was.
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
    // False when the file could not be written; the value is still read back for the rest of the run.
    bool write(const QString &section, const QString &key, const QString &value);

    // Called when a write fails, once until a write succeeds again.
    void setFailureHandler(std::function<void(const WriteFailure &)> handler);

    QString fileName() const;

    static QString applicationName();
    // The store of a run whose data lives at location: the per-user file, or "Postavo.ini" beside the program
    // when it runs portable.
    static std::unique_ptr<SettingsStore> forLocation(const DataLocation &location);

private:
    std::unique_ptr<QSettings> m_settings;
    std::function<void(const WriteFailure &)> m_failureHandler;
    bool m_failing = false;
    // When this store last put the file in place, as the file system tells it.
    QDateTime m_lastWritten;
    // Values whose write failed: read as set, and written again with the next value.
    QHash<QString, QString> m_unsaved;
};
