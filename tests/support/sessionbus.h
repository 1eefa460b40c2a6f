#pragma once

// A session bus of the test's own: a dbus-daemon started before the application object exists, so that
// everything in the process (Qt's bus connection included) uses it, and stopped at the end. No service
// files, so nothing is started on demand: a name nobody owns gets an error at once.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

class PrivateSessionBus
{
public:
    // Starts the daemon and points DBUS_SESSION_BUS_ADDRESS at it; error() says why when that failed.
    PrivateSessionBus()
    {
        const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!m_dir.isValid() || !file.open(QIODevice::WriteOnly)) {
            m_error = "cannot write the bus configuration";
            return;
        }
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                   "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig><type>session</type>"
                   "<listen>unix:dir=" + QDir::toNativeSeparators(m_dir.path()).toUtf8() + "</listen>"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        file.close();

        int out[2];
        if (pipe(out) != 0) {
            m_error = "no pipe";
            return;
        }
        const QByteArray configArg = "--config-file=" + config.toLocal8Bit();
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execlp("dbus-daemon", "dbus-daemon", configArg.constData(), "--print-address", "--nofork",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        close(out[1]);
        QByteArray address;
        pollfd ready{out[0], POLLIN, 0};
        char buffer[512];
        while (!address.contains('\n') && poll(&ready, 1, 10000) > 0) {
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            address.append(buffer, n);
        }
        close(out[0]);
        m_address = address.trimmed();
        if (m_address.isEmpty()) {
            m_error = "dbus-daemon did not start (is the package dbus-daemon installed?)";
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address);
    }

    ~PrivateSessionBus()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }

    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    QByteArray address() const { return m_address; }
    const char *error() const { return m_error; }

private:
    QTemporaryDir m_dir;
    pid_t m_pid = -1;
    QByteArray m_address;
    const char *m_error = nullptr;
};
