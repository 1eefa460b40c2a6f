#include "base/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "base/textfile.h"

QStringList DataFiles::createdAtStartup()
{
    return {htmlTemp, messages, posts, posts2, sizes};
}

QString fileNameFromPath(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

bool fileExists(const QString &path)
{
    const QString name = fileNameFromPath(path);
    if (name.isEmpty()) {
        return false;
    }
    QString folder = path.left(path.size() - name.size());
    if (folder.isEmpty()) {
        folder = QStringLiteral(".");
    }
    QDir dir(QDir::fromNativeSeparators(folder));
    if (!dir.exists()) {
        return false;
    }
    // Hidden entries and folders are never listed; a pattern never equals a listed name.
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

DataFolder DataFolder::ofExecutable()
{
    return DataFolder(QCoreApplication::applicationDirPath());
}

DataFolder::DataFolder(const QString &path)
    : m_path(path)
{
}

QString DataFolder::filePath(const QString &fileName) const
{
    return m_path + QLatin1Char('/') + fileName;
}

bool DataFolder::isWritable(QString *reason) const
{
    const QFileInfo info(m_path);
    if (!info.isDir()) {
        if (reason) {
            *reason = QCoreApplication::translate("DataFolder", "the folder does not exist");
        }
        return false;
    }
    QTemporaryFile probe(filePath(QStringLiteral(".postavo-write-check-XXXXXX")));
    if (!probe.open()) {
        if (reason) {
            *reason = probe.errorString();
        }
        return false;
    }
    return true;
}

bool DataFolder::createMissingDataFiles(QString *error) const
{
    for (const QString &name : DataFiles::createdAtStartup()) {
        const QString path = filePath(name);
        if (fileExists(path)) {
            continue;
        }
        QString reason;
        if (!TextFile::append(path, QByteArrayLiteral("\r\n"), &reason)) {
            if (error) {
                *error = name + QStringLiteral(": ") + reason;
            }
            return false;
        }
        // The forum file holds passwords.
        if (name == DataFiles::posts2) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }
    return true;
}
