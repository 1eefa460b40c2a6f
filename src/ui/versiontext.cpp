#include "ui/versiontext.h"

#include <QStringList>

QString majorMinorVersion(int major, int minor)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

QString majorMinorVersion(const QString &dottedVersion)
{
    const QStringList parts = dottedVersion.trimmed().split(QLatin1Char('.'));
    const auto part = [&parts](int i) {
        bool ok = false;
        const int value = i < parts.size() ? parts.at(i).trimmed().toInt(&ok) : 0;
        return ok && value >= 0 ? value : 0;
    };
    return majorMinorVersion(part(0), part(1));
}
