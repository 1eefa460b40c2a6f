// The program itself, asked to end by a signal during a session, saves what it holds as Exit does.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

#include "support/programenvironment.h"

class tst_EndSignal : public QObject
{
    Q_OBJECT

private slots:
    void signalSavesTheLists_data();
    void signalSavesTheLists();
};

static QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void tst_EndSignal::signalSavesTheLists_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void tst_EndSignal::signalSavesTheLists()
{
    QFETCH(int, signalNumber);
    // A copy in a folder of its own (a link where the file system allows one), with a home of its own.
    QTemporaryDir dir(QStringLiteral(POSTAVO_TEST_WORK_DIR "/endsignal-XXXXXX"));
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("postavo"));
    if (::link(POSTAVO_PROGRAM, qPrintable(program)) != 0) {
        QVERIFY(QFile::copy(QStringLiteral(POSTAVO_PROGRAM), program));
    }
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("home/.config")));
    const QDir data(dir.filePath(QStringLiteral("home/.local/share/Postavo")));
    QVERIFY(data.mkpath(QStringLiteral(".")));
    // Posts as an older version wrote them, without the empty lines and without sizes: the shut-down's
    // writing shows in the files.
    QVERIFY(writeBytes(data.filePath("posts.txt"), "http://a.example/1\r\nhttp://b.example/2\r\n"));
    QVERIFY(writeBytes(data.filePath("sizes.txt"), "\r\n"));
    QVERIFY(writeBytes(dir.filePath("home/.config/Postavo.ini"), "[data]\nlastSubject=Kept subject\n"));

    QProcess process;
    QByteArray log = startAndAwaitStartUp(process, program, dir.filePath(QStringLiteral("home")));
    QVERIFY2(process.state() == QProcess::Running, log.constData());
    QVERIFY2(log.contains(QByteArray("postavo.files: data folder: " + data.path().toUtf8())),
        log.constData());

    ::kill(pid_t(process.processId()), signalNumber);
    QVERIFY2(process.waitForFinished(60000), log.constData());
    log += process.readAll();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, log.constData());
    QCOMPARE(fileBytes(data.filePath("posts.txt")), QByteArray("http://a.example/1\r\n\r\nhttp://b.example/2\r\n\r\n"));
    QCOMPARE(fileBytes(data.filePath("sizes.txt")), QByteArray("unmeasured\r\n\r\nunmeasured\r\n\r\n"));
    const QByteArray settings = fileBytes(dir.filePath("home/.config/Postavo.ini"));
    QVERIFY2(settings.contains("lastSubject=Kept subject"), settings.constData());
    QVERIFY2(settings.contains("lastConvert=0"), settings.constData());
}

QTEST_GUILESS_MAIN(tst_EndSignal)
#include "tst_endsignal.moc"
