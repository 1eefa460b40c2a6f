#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTest>

// The environment of the program started as a user whose home is home and who sets no folders of their own,
// with the program saying where its files go.
inline QProcessEnvironment programEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME" }) {
        environment.remove(QLatin1String(name));
    }
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("postavo.files.info=true"));
    environment.insert(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{category}: %{message}"));
    return environment;
}

// Starts program as that user and returns what it logged up to the help window's look-up, the last step of its
// start-up, or up to its end when it ends before (or the 90 s wait runs out: callers check the log).
inline QByteArray startAndAwaitStartUp(QProcess &process, const QString &program, const QString &home)
{
    process.setProcessEnvironment(programEnvironment(home));
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {});
    QByteArray log;
    (void)QTest::qWaitFor(
        [&] {
            log += process.readAll();
            return log.contains("postavo.files: help text:") || process.state() == QProcess::NotRunning;
        },
        90000);
    return log;
}
