#include "base/settingsstore.h"

#include <QSettings>
#include <QStringList>

namespace {
QString groupKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, applicationName()))
{
}

SettingsStore::SettingsStore(const QString &iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::applicationName()
{
    return QStringLiteral(POSTAVO_PRODUCT_NAME);
}

QString SettingsStore::read(const QString &section, const QString &key, const QString &defaultValue) const
{
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

void SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(groupKey(section, key), value);
    m_settings->sync();
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}
