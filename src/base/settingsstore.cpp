#include "base/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

namespace {
QString groupKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// A hand-edited INI line with bare commas reads back as a list; keep it as the text it was.
QString textOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                    : value.toString();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, applicationName()))
{ }

SettingsStore::SettingsStore(const QString &iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{ }

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::forLocation(const DataLocation &location)
{
    return location.portable
        ? std::make_unique<SettingsStore>(QDir(location.path).filePath(applicationName() + QStringLiteral(".ini")))
        : std::make_unique<SettingsStore>();
}

QString SettingsStore::applicationName()
{
    return QStringLiteral(POSTAVO_PRODUCT_NAME);
}

QString SettingsStore::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto unsaved = m_unsaved.constFind(groupKey(section, key));
    if (unsaved != m_unsaved.constEnd()) {
        return *unsaved;
    }
    const QVariant value = m_settings->value(groupKey(section, key));
    return value.isValid() ? textOf(value) : defaultValue;
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_unsaved.insert(groupKey(section, key), value);
    const QString path = m_settings->fileName();
    // The settings' own writer can put an empty file in the old one's place on a full disk and say nothing,
    // so the settings are laid out by it in a scratch file and put in place by the checked replacement.
    WriteFailure failure{QFileInfo(path).fileName(), int(QFileDevice::WriteError), QString()};
    QByteArray bytes;
    {
        QTemporaryDir scratch;
        const QString scratchPath = scratch.filePath(QStringLiteral("settings.ini"));
        {
            QSettings staging(scratchPath, QSettings::IniFormat);
            const QStringList keys = m_settings->allKeys();
            for (const QString &existing : keys) {
                staging.setValue(existing, m_settings->value(existing));
            }
            for (auto it = m_unsaved.cbegin(); it != m_unsaved.cend(); ++it) {
                staging.setValue(it.key(), it.value());
            }
            staging.sync();
            if (!scratch.isValid() || staging.status() != QSettings::NoError) {
                failure.description = QCoreApplication::translate("SettingsStore", "no room for a scratch file");
            }
        }
        bytes = fileBytes(scratchPath);
    }
    QDir().mkpath(QFileInfo(path).path());
    if (failure.description.isEmpty() && !bytes.isEmpty() && replaceFile(path, bytes, {}, &failure)) {
        m_unsaved.clear();
        // QSettings takes a file of the size and time it knows as unchanged, and file times are read to the
        // millisecond: a second write within one must still look new, or the value before it is read back.
        if (QFileInfo(path).lastModified() <= m_lastWritten) {
            QFile written(path);
            if (written.open(QIODevice::ReadWrite)) {
                written.setFileTime(m_lastWritten.addMSecs(1), QFileDevice::FileModificationTime);
            }
        }
        m_lastWritten = QFileInfo(path).lastModified();
        // Read again from the file as now written.
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        m_failing = false;
        return true;
    }
    if (failure.description.isEmpty()) {
        failure.description = QCoreApplication::translate("SettingsStore", "no room for a scratch file");
    }
    if (!m_failing && m_failureHandler) {
        m_failing = true;
        m_failureHandler(failure);
    }
    return false;
}

void SettingsStore::setFailureHandler(std::function<void(const WriteFailure &)> handler)
{
    m_failureHandler = std::move(handler);
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}
