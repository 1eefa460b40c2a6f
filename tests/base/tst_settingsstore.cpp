#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "base/settingsstore.h"
#include "support/fullfilesystem.h"

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void readReturnsDefaultAndWritesNothing();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void sectionsAreSeparate();
    void refusedWriteKeepsFileAndTellsOnce_data();
    void refusedWriteKeepsFileAndTellsOnce();
};

void tst_SettingsStore::readReturnsDefaultAndWritesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    {
        SettingsStore store(path);
        QCOMPARE(store.read("Settings", "showHelp", "1"), QStringLiteral("1"));
        QCOMPARE(store.read("data", "lastSubject", "Type Subject Here"), QStringLiteral("Type Subject Here"));
    }
    QVERIFY(!QFile::exists(path));
}

void tst_SettingsStore::valuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << "";
    QTest::newRow("one-blank") << " ";
    QTest::newRow("two-blanks") << "  ";
    QTest::newRow("line-breaks") << "a\r\nb\r\n\r\n";
    QTest::newRow("commas-quotes") << "a, b, \"c\", 'd'";
    QTest::newRow("markup") << "<a href='x'>y</a> [url=z]";
    QTest::newRow("non-ascii") << QString::fromUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    QTest::newRow("backslashes-equals") << "C:\\x=1;#not a comment";
}

void tst_SettingsStore::valuesRoundTrip()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    {
        SettingsStore store(path);
        store.write("data", "lastMessage", value);
    }
    SettingsStore reopened(path);
    QCOMPARE(reopened.read("data", "lastMessage", "default"), value);
}

void tst_SettingsStore::sectionsAreSeparate()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Postavo.ini"));
    store.write("data", "showHelp", "0");
    QCOMPARE(store.read("Settings", "showHelp", "1"), QStringLiteral("1"));
    QCOMPARE(store.read("data", "showHelp", "1"), QStringLiteral("0"));
}

void tst_SettingsStore::refusedWriteKeepsFileAndTellsOnce_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full-disk") << "full" << "No space left on device";
    QTest::newRow("read-only-disk") << "read-only" << "Read-only file system";
}

void tst_SettingsStore::refusedWriteKeepsFileAndTellsOnce()
{
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    FullFileSystem disk;
    QVERIFY(disk.isMounted());
    const QString path = disk.filePath("Postavo.ini");
    SettingsStore store(path);
    QList<WriteFailure> told;
    store.setFailureHandler([&told](const WriteFailure &failure) { told.append(failure); });
    QVERIFY(store.write("data", "lastMessage", QString(600, 'a')));
    const QByteArray old = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    if (trouble == "read-only") {
        disk.makeReadOnly();
    } else {
        disk.fill();
    }
    QVERIFY(!store.write("data", "lastMessage", QString(900, 'b')));
    QVERIFY(!store.write("data", "lastSubject", "second"));
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.first().fileName, QStringLiteral("Postavo.ini"));
    QVERIFY2(told.first().description.contains(reason), qPrintable(told.first().description));
    QVERIFY(!told.first().description.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    file.close();
    // What could not be written is still what the program reads, and goes out with the next write.
    QCOMPARE(store.read("data", "lastMessage", "?"), QString(900, 'b'));
    disk.release();
    QVERIFY(store.write("data", "lastConvert", "2"));
    SettingsStore reopened(path);
    QCOMPARE(reopened.read("data", "lastMessage", "?"), QString(900, 'b'));
    QCOMPARE(reopened.read("data", "lastSubject", "?"), QStringLiteral("second"));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
