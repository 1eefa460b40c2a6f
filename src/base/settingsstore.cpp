#include "base/settingsstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

namespace {
QString groupKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings say only that the file could not be written. A file of the same size written beside it, and
// dropped, shows the system's reason.
QString writeFailureReason(const QString &path)
{
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        return probe.errorString();
    }
    probe.write(QByteArray(qMax<qint64>(QFileInfo(path).size(), 1) + 1, '\n'));
    const bool flushed = probe.flush();
    const QString reason = probe.errorString();
    probe.cancelWriting();
    return flushed ? QCoreApplication::translate("SettingsStore", "the file could not be written") : reason;
}
} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, applicationName()))
{
    m_savedBytes = fileBytes(m_settings->fileName());
}

SettingsStore::SettingsStore(const QString &iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{
    m_savedBytes = fileBytes(m_settings->fileName());
}

SettingsStore::~SettingsStore() = default;

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
    if (!value.isValid()) {
        return defaultValue;
    }
    // A hand-edited INI line with bare commas reads back as a list; keep it as the text it was.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_unsaved.insert(groupKey(section, key), value);
    for (auto it = m_unsaved.cbegin(); it != m_unsaved.cend(); ++it) {
        m_settings->setValue(it.key(), it.value());
    }
    m_settings->sync();
    const QString path = m_settings->fileName();
    // The settings' own writer can put an empty file in the old one's place on a full disk and still report
    // success, so a write counts only when the file reads back with the value.
    if (m_settings->status() == QSettings::NoError
        && QSettings(path, QSettings::IniFormat).value(groupKey(section, key)).toString() == value) {
        m_unsaved.clear();
        m_savedBytes = fileBytes(path);
        m_failing = false;
        return true;
    }
    const QString reason = writeFailureReason(path);
    if (fileBytes(path) != m_savedBytes) {
        replaceFile(path, m_savedBytes, {});
    }
    // An error stays with the settings object for good: a new one tells whether the next write succeeds.
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (!m_failing && m_failureHandler) {
        m_failing = true;
        m_failureHandler({QFileInfo(path).fileName(), int(QFileDevice::WriteError), reason});
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
