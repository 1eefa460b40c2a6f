#pragma once

// Certificate authorities and server certificates for one test run, made in a folder with the openssl command
// (Debian package openssl). Nothing is added to the machine's trusted store: tests hand the authority to the
// code under test themselves.

#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QString>

class TestCertificates
{
public:
    explicit TestCertificates(const QString &folder)
        : m_dir(folder)
    { }

    static QString executable() { return QStandardPaths::findExecutable(QStringLiteral("openssl")); }

    // name.key and name.crt: an authority that signs itself.
    bool makeAuthority(const QString &name, QString *why)
    {
        return run({ "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       keyPath(name), "-out", certificatePath(name), "-days", "2", "-subj",
                       "/CN=Postavo test authority " + name, "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                       "keyUsage=critical,keyCertSign,cRLSign" },
            why);
    }

    // name.key and name.crt for a server, signed by the authority, valid for altNames ("IP:127.0.0.2,DNS:x").
    bool makeServer(const QString &name, const QString &authority, const QString &altNames, QString *why)
    {
        const QString request = m_dir.filePath(name + ".csr");
        const QString extensions = m_dir.filePath(name + ".ext");
        QFile file(extensions);
        const QByteArray text
            = "subjectAltName=" + altNames.toLatin1() + "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            *why = "cannot write " + extensions;
            return false;
        }
        file.close();
        return run({ "req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       keyPath(name), "-out", request, "-subj", "/CN=" + name },
                   why)
            && run({ "x509", "-req", "-in", request, "-CA", certificatePath(authority), "-CAkey", keyPath(authority),
                       "-set_serial", QString::number(++m_serial), "-days", "2", "-extfile", extensions, "-out",
                       certificatePath(name) },
                why);
    }

    QString keyPath(const QString &name) const { return m_dir.filePath(name + ".key"); }
    QString certificatePath(const QString &name) const { return m_dir.filePath(name + ".crt"); }
    QList<QSslCertificate> certificates(const QString &name) const
    {
        return QSslCertificate::fromPath(certificatePath(name));
    }

private:
    bool run(const QStringList &arguments, QString *why)
    {
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(executable(), arguments);
        if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            *why = "openssl " + arguments.first() + " failed: " + QString::fromLocal8Bit(openssl.readAll());
            return false;
        }
        return true;
    }

    QDir m_dir;
    int m_serial = 0;
};
