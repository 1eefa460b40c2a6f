#include "base/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "base/textfile.h"

namespace {

// Off unless asked for (QT_LOGGING_RULES="postavo.files.info=true"): says which folders the program uses.
Q_LOGGING_CATEGORY(lcFiles, "postavo.files", QtWarningMsg)

// The folder's file with this name, whatever the letter case it was saved in; empty when there is none.
QString actualFilePath(const QString &folder, const QString &fileName)
{
    const QString exact = folder + QLatin1Char('/') + fileName;
    if (!fileExists(exact)) {
        return QString();
    }
    if (QFileInfo(exact).isFile()) {
        return exact;
    }
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) {
            return folder + QLatin1Char('/') + entry;
        }
    }
    return QString();
}

} // namespace

QStringList DataFiles::createdAtStartup()
{
    return { htmlTemp, messages, posts, posts2, sizes };
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

DataFolder DataFolder::forProgram(bool portableAsked, DataLocation *location)
{
    const DataLocation found = locate(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), portableAsked);
    qCInfo(lcFiles).noquote() << "data folder:" << QDir::toNativeSeparators(found.path);
    if (!found.copiedFrom.isEmpty()) {
        qCInfo(lcFiles).noquote() << "copied from" << QDir::toNativeSeparators(found.copiedFrom) << ":"
                                  << found.copiedFiles.join(QStringLiteral(", "));
    }
    if (!found.copyError.isEmpty()) {
        qCWarning(lcFiles).noquote() << found.copyError;
    }
    if (location) {
        *location = found;
    }
    return DataFolder(found.path);
}

bool DataFolder::isPortable(const QString &programFolder, bool portableAsked)
{
    return portableAsked || QFileInfo(programFolder + QLatin1Char('/') + DataFiles::portableMarker).exists();
}

DataLocation DataFolder::locate(const QString &programFolder, const QString &perUserFolder, bool portableAsked)
{
    DataLocation location;
    location.portable = isPortable(programFolder, portableAsked);
    location.path = location.portable ? programFolder : perUserFolder;
    // A folder that cannot be made is reported by the start-up's write check, with the reason.
    QDir().mkpath(location.path);
    if (location.portable || QFileInfo(programFolder) == QFileInfo(perUserFolder)) {
        return location;
    }
    const QStringList names = DataFiles::createdAtStartup();
    for (const QString &name : names) {
        if (!actualFilePath(perUserFolder, name).isEmpty()) {
            return location; // the per-user folder is in use: what lies beside the executable is not ours
        }
    }
    for (const QString &name : names) {
        const QString old = actualFilePath(programFolder, name);
        if (old.isEmpty()) {
            continue;
        }
        const QString copy = perUserFolder + QLatin1Char('/') + name;
        if (!QFile::copy(old, copy)) {
            location.copyError = QCoreApplication::translate("DataFolder", "Could not copy %1 to %2.")
                                     .arg(QDir::toNativeSeparators(old), QDir::toNativeSeparators(perUserFolder));
            continue;
        }
        if (name == DataFiles::posts2) {
            QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        location.copiedFiles.append(name);
    }
    if (!location.copiedFiles.isEmpty()) {
        location.copiedFrom = programFolder;
    }
    return location;
}

DataFolder::DataFolder(const QString &path)
    : m_path(path)
{ }

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

QString findHelpFile(const DataFolder &data, const QString &programFolder, const QLocale &locale)
{
    const QStringList folders { data.path(), programFolder,
        QDir::cleanPath(programFolder + QLatin1Char('/') + DataFiles::installedShare) };
    // The languages as the captions' translations are chosen: "de-AT" asks for the German guide.
    QStringList names;
    for (const QString &language : locale.uiLanguages()) {
        const QString name = QStringLiteral("Help_%1.rtf").arg(language.section(u'-', 0, 0));
        if (!names.contains(name) && language.section(u'-', 0, 0) != QLatin1String("en")) {
            names.append(name);
        }
    }
    names.append(DataFiles::help);
    for (const QString &name : names) {
        for (const QString &folder : folders) {
            const QString path = actualFilePath(folder, name);
            if (!path.isEmpty()) {
                qCInfo(lcFiles).noquote() << "help text:" << QDir::toNativeSeparators(path);
                return path;
            }
        }
    }
    qCInfo(lcFiles).noquote() << "help text: not found in" << folders.join(QStringLiteral(", "));
    return QString();
}

QString findHelpFile(const DataFolder &data)
{
    return findHelpFile(data, QCoreApplication::applicationDirPath());
}
