#pragma once

// A real web server for tests and benchmarks that need one on a fixed address (the probe always uses port 80).
// It runs from a temporary prefix of its own (configuration, pid file, logs, temporary folders) and serves
// files from a folder the caller fills. Binding port 80 needs root.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

class NginxServer
{
public:
    NginxServer() = default;
    NginxServer(const NginxServer &) = delete;
    NginxServer &operator=(const NginxServer &) = delete;
    ~NginxServer() { stop(); }

    // The server's program; empty when it is not installed (Debian package nginx-light).
    static QString executable()
    {
        return QStandardPaths::findExecutable(QStringLiteral("nginx"),
            { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/sbin") });
    }

    // Starts serving rootFolder on listenAddress ("127.0.0.2:80") and returns once this server accepts
    // connections there. Another checkout's run may hold the address for a moment, so a busy port is waited
    // out for up to half a minute. On failure, why says what went wrong and nothing is left running.
    bool start(const QString &listenAddress, const QString &rootFolder, QString *why)
    {
        stop();
        const qsizetype colon = listenAddress.lastIndexOf(QLatin1Char(':'));
        m_host = listenAddress.left(colon);
        m_port = quint16(listenAddress.mid(colon + 1).toUInt());
        const QString program = executable();
        if (program.isEmpty()) {
            *why = QStringLiteral("nginx is not installed");
            return false;
        }
        if (colon <= 0 || m_port == 0) {
            *why = QStringLiteral("not an address with a port: ") + listenAddress;
            return false;
        }
        m_prefix.reset(new QTemporaryDir);
        if (!m_prefix->isValid() || !writeConfig(listenAddress, rootFolder)) {
            *why = QStringLiteral("cannot write the server's configuration");
            return false;
        }

        m_process.setProgram(program);
        m_process.setArguments({ QStringLiteral("-p"), m_prefix->path() + QLatin1Char('/'), QStringLiteral("-e"),
            prefixFile("logs/error.log"), QStringLiteral("-c"), prefixFile("nginx.conf"), QStringLiteral("-g"),
            QStringLiteral("daemon off;") });
        m_process.setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
        // Should this process die without stopping it, the server goes too (the master stops its workers).
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif

        for (int attempt = 0; attempt < 30; ++attempt) {
            m_process.start();
            if (!m_process.waitForStarted(5000)) {
                *why = QStringLiteral("nginx did not start: ") + m_process.errorString();
                return false;
            }
            for (int wait = 0; wait < 100 && m_process.state() == QProcess::Running; ++wait) {
                // The pid file appears once the address is bound, so the server that answers is this one.
                if (ownsPidFile() && accepts()) {
                    return true;
                }
                m_process.waitForFinished(50);
            }
            if (m_process.state() == QProcess::Running) {
                *why = QStringLiteral("nginx runs but accepts no connection");
                stop();
                return false;
            }
            const QByteArray output = m_process.readAll();
            QFile log(prefixFile("logs/error.log"));
            const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
            if (!output.contains("Address already in use") && !logged.contains("Address already in use")) {
                *why = QStringLiteral("nginx exited: ") + QString::fromLocal8Bit(output + logged);
                return false;
            }
            QThread::msleep(1000);
        }
        *why = QStringLiteral("port %1 of %2 stayed busy").arg(m_port).arg(m_host);
        return false;
    }

    // Stops the server and waits until it has gone; safe to call when it does not run.
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(5000);
            }
        }
    }

    // Further configuration for the http block (more server blocks), used by the next start().
    void setExtraConfig(const QByteArray &config) { m_extraConfig = config; }

    bool isRunning() const
    {
        return m_process.state() == QProcess::Running;
    }

private:
    QString prefixFile(const char *name) const
    {
        return QDir(m_prefix->path()).filePath(QLatin1String(name));
    }

    bool writeConfig(const QString &listenAddress, const QString &rootFolder)
    {
        const QDir dir(m_prefix->path());
        for (const char *sub : { "logs", "temp" }) {
            if (!dir.mkpath(QLatin1String(sub))) {
                return false;
            }
        }
        const QByteArray temp = prefixFile("temp").toUtf8();
        const QByteArray config = "user root;\n"
                                  "worker_processes 1;\n"
                                  "pid "
            + prefixFile("nginx.pid").toUtf8() + ";\nerror_log " + prefixFile("logs/error.log").toUtf8()
            + ";\n"
              "events { worker_connections 64; }\n"
              "http {\n"
              "  access_log "
            + prefixFile("logs/access.log").toUtf8() + ";\n  client_body_temp_path " + temp
            + "/body;\n  proxy_temp_path " + temp + "/proxy;\n  fastcgi_temp_path " + temp
            + "/fastcgi;\n  uwsgi_temp_path " + temp + "/uwsgi;\n  scgi_temp_path " + temp
            + "/scgi;\n"
              "  default_type application/octet-stream;\n"
              "  server {\n"
              "    listen "
            + listenAddress.toUtf8() + ";\n    root " + rootFolder.toUtf8()
            + ";\n"
              "  }\n"
            + m_extraConfig + "}\n";
        QFile file(prefixFile("nginx.conf"));
        return file.open(QIODevice::WriteOnly) && file.write(config) == config.size();
    }

    bool ownsPidFile() const
    {
        QFile pidFile(prefixFile("nginx.pid"));
        return pidFile.open(QIODevice::ReadOnly) && pidFile.readAll().trimmed().toLongLong() == m_process.processId();
    }

    bool accepts() const
    {
        QTcpSocket socket;
        socket.connectToHost(m_host, m_port);
        return socket.waitForConnected(200);
    }

    QByteArray m_extraConfig;
    std::unique_ptr<QTemporaryDir> m_prefix;
    QProcess m_process;
    QString m_host;
    quint16 m_port = 0;
};
