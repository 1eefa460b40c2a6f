// The timer that checks while Postavo is closed: its units as systemd reads them, installed and removed through
// a stand-in for systemctl that writes down what it was asked.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "replies/closedchecks.h"

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ClosedChecks : public QObject
{
    Q_OBJECT

private slots:
    void unitsPassSystemdsVerify();
    void installAndRemove_data();
    void installAndRemove();
};

void tst_ClosedChecks::unitsPassSystemdsVerify()
{
    QTemporaryDir dir;
    // A program in a folder whose name needs quoting, as a portable copy's may.
    const QString program = dir.filePath(QStringLiteral("my 100% programs/postavo"));
    QVERIFY(QDir().mkpath(QFileInfo(program).path()));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    ClosedChecks checks(dir.filePath(QStringLiteral("units")), { program, QStringLiteral("--check"), QStringLiteral("--quiet") });
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("units"))));
    for (const auto &[name, text] : { std::pair { ClosedChecks::serviceName(), checks.serviceUnit() },
             std::pair { ClosedChecks::timerName(), checks.timerUnit(30) } }) {
        QFile file(dir.filePath(QStringLiteral("units/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    QVERIFY(checks.timerUnit(30).contains(QStringLiteral("OnUnitActiveSec=30min")));
    QVERIFY(checks.serviceUnit().contains(QStringLiteral("ExecStart=\"") + QString(program).replace("%", "%%")
        + QStringLiteral("\" --check --quiet")));

    QProcess verify;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("runtime"))));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    verify.setProcessEnvironment(environment);
    verify.setProcessChannelMode(QProcess::MergedChannels);
    verify.start(QStringLiteral("systemd-analyze"), { QStringLiteral("verify"), QStringLiteral("--user"),
        dir.filePath(QStringLiteral("units/") + ClosedChecks::timerName()),
        dir.filePath(QStringLiteral("units/") + ClosedChecks::serviceName()) });
    QVERIFY2(verify.waitForFinished(30000), "systemd-analyze did not run");
    const QByteArray said = verify.readAll();
    QVERIFY2(verify.exitCode() == 0 && said.trimmed().isEmpty(), said.constData());
}

void tst_ClosedChecks::installAndRemove_data()
{
    QTest::addColumn<int>("systemctlStatus");
    QTest::newRow("systemctl-agrees") << 0;
    QTest::newRow("systemctl-refuses") << 1;
}

void tst_ClosedChecks::installAndRemove()
{
    QFETCH(int, systemctlStatus);
    QTemporaryDir dir;
    // Writes down each call, and answers as it is told.
    const QString systemctl = dir.filePath(QStringLiteral("systemctl"));
    QFile script(systemctl);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$*\" >> \"$(dirname \"$0\")/calls\"\necho 'Failed to connect to bus' >&2\nexit "
        + QByteArray::number(systemctlStatus) + "\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString units = dir.filePath(QStringLiteral("config/systemd/user"));
    ClosedChecks checks(units, { QStringLiteral("/usr/bin/postavo"), QStringLiteral("--check") }, systemctl);

    QCOMPARE(checks.isAvailable(), systemctlStatus == 0);
    QString error;
    QCOMPARE(checks.install(15, &error), systemctlStatus == 0);
    QCOMPARE(checks.isInstalled(), systemctlStatus == 0);
    if (systemctlStatus != 0) {
        // Told why, and nothing left behind.
        QVERIFY2(error.contains(QStringLiteral("systemctl --user daemon-reload failed: Failed to connect to bus")),
            qPrintable(error));
        QVERIFY(QDir(units).entryList(QDir::Files).isEmpty());
        return;
    }
    QCOMPARE(fileBytes(units + QStringLiteral("/postavo-check.timer")), checks.timerUnit(15).toUtf8());
    QCOMPARE(fileBytes(units + QStringLiteral("/postavo-check.service")), checks.serviceUnit().toUtf8());
    QVERIFY(checks.remove(&error));
    QVERIFY(!checks.isInstalled());
    QVERIFY(QDir(units).entryList(QDir::Files).isEmpty());
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("calls"))),
        QByteArray("--user show-environment\n--user daemon-reload\n--user enable --now postavo-check.timer\n"
                   "--user disable --now postavo-check.timer\n--user daemon-reload\n"));
}

QTEST_GUILESS_MAIN(tst_ClosedChecks)
#include "tst_closedchecks.moc"
