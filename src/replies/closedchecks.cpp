#include "replies/closedchecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "base/filereplacement.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ClosedChecks", text);
}

// A word of a unit's command line, quoted as systemd reads it.
QString quoted(QString word)
{
    if (!word.contains(u' ') && !word.contains(u'"') && !word.contains(u'\\') && !word.contains(u'%')) {
        return word;
    }
    word.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\"")).replace(u'%', QStringLiteral("%%"));
    return u'"' + word + u'"';
}

} // namespace

ClosedChecks::ClosedChecks(const QString &unitFolder, const QStringList &command, const QString &systemctl)
    : m_unitFolder(unitFolder)
    , m_command(command)
    , m_systemctl(systemctl)
{ }

QString ClosedChecks::defaultUnitFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/systemd/user");
}

QString ClosedChecks::serviceUnit() const
{
    QStringList words;
    for (const QString &word : m_command) {
        words.append(quoted(word));
    }
    // 1: new replies found, 3: the window is open and checks itself; neither is a failure of the unit.
    return QStringLiteral("[Unit]\n"
                          "Description=Postavo: check your posts for new replies\n\n"
                          "[Service]\n"
                          "Type=oneshot\n"
                          "ExecStart=%1\n"
                          "SuccessExitStatus=1 3\n")
        .arg(words.join(u' '));
}

QString ClosedChecks::timerUnit(int minutes) const
{
    return QStringLiteral("[Unit]\n"
                          "Description=Postavo: check your posts for new replies every %1 minutes\n\n"
                          "[Timer]\n"
                          "OnBootSec=5min\n"
                          "OnUnitActiveSec=%1min\n\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n")
        .arg(minutes);
}

bool ClosedChecks::isAvailable() const
{
    QProcess process;
    process.start(m_systemctl, { QStringLiteral("--user"), QStringLiteral("show-environment") });
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool ClosedChecks::isInstalled() const
{
    return QFileInfo::exists(QDir(m_unitFolder).filePath(timerName()));
}

bool ClosedChecks::systemctl(const QStringList &arguments, QString *error) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(m_systemctl, QStringList { QStringLiteral("--user") } + arguments);
    if (process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
        return true;
    }
    if (error) {
        const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
        *error = tr("systemctl --user %1 failed: %2")
                     .arg(arguments.join(u' '), said.isEmpty() ? process.errorString() : said);
    }
    return false;
}

bool ClosedChecks::install(int minutes, QString *error)
{
    QDir().mkpath(m_unitFolder);
    const QDir folder(m_unitFolder);
    WriteFailure failure;
    if (!replaceFile(folder.filePath(serviceName()), serviceUnit().toUtf8(), {}, &failure)
        || !replaceFile(folder.filePath(timerName()), timerUnit(minutes).toUtf8(), {}, &failure)) {
        if (error) {
            *error = failure.text();
        }
        remove(nullptr);
        return false;
    }
    if (!systemctl({ QStringLiteral("daemon-reload") }, error)
        || !systemctl({ QStringLiteral("enable"), QStringLiteral("--now"), timerName() }, error)) {
        remove(nullptr);
        return false;
    }
    return true;
}

bool ClosedChecks::remove(QString *error)
{
    const QDir folder(m_unitFolder);
    const bool stopped = !isInstalled() || systemctl({ QStringLiteral("disable"), QStringLiteral("--now"), timerName() }, error);
    QFile::remove(folder.filePath(timerName()));
    QFile::remove(folder.filePath(serviceName()));
    return systemctl({ QStringLiteral("daemon-reload") }, stopped ? error : nullptr) && stopped;
}
