#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "base/settingsstore.h"

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void readReturnsDefaultAndWritesNothing();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void sectionsAreSeparate();
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

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
