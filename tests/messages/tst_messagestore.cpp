#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "messages/messagestore.h"
#include "support/unreadablefile.h"

class tst_MessageStore : public QObject
{
    Q_OBJECT

private slots:
    void readRecord_data();
    void readRecord();
    void storedLine_data();
    void storedLine();
    void saveDropsBlankLinesAndAppends();
    void saveRecreatesRemovedFile();
    void savedRecordReadsBack();
    void entriesKeepBlankLines();
    void removeDropsEveryCopy();
    void removeWithEmptyTextDropsBlankLines();
    void missingFile();
    void unreadableFileIsLeftAsItIs();
};

static QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static void setFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void tst_MessageStore::readRecord_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<bool>("hasSubject");
    QTest::newRow("three-lines") << "line1[br]line2[br]line3|S" << "line1\r\nline2\r\nline3" << "S" << true;
    QTest::newRow("upper-case-marker") << "a[BR]b[Br]c|" << "a\r\nb\r\nc" << "" << true;
    QTest::newRow("no-subject-piece") << "just a body" << "just a body" << "" << false;
    QTest::newRow("pipe-in-body-splits") << "a|b|c" << "a" << "b" << true;
    QTest::newRow("empty-body") << "|S" << "" << "S" << true;
    QTest::newRow("empty-line") << "" << "" << "" << false;
}

void tst_MessageStore::readRecord()
{
    QFETCH(QString, line);
    const MessageRecord record = MessageRecord::fromLine(line);
    QTEST(record.body, "body");
    QTEST(record.subject, "subject");
    QTEST(record.hasSubject, "hasSubject");
}

void tst_MessageStore::storedLine_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("line");
    QTest::newRow("crlf") << "line1\r\nline2\r\nline3" << "S" << "line1[br]line2[br]line3|S";
    QTest::newRow("empty") << "" << "" << "|";
    QTest::newRow("pipe-and-marker-unchanged") << "a|b [br]" << "s" << "a|b [br]|s";
    QTest::newRow("lone-cr-and-lf-stay-on-one-line") << "a\rb\nc" << "s" << "a[br]b[br]c|s";
    QTest::newRow("blank-lines") << "a\r\n\r\nb" << "" << "a[br][br]b|";
}

void tst_MessageStore::storedLine()
{
    QFETCH(QString, body);
    QFETCH(QString, subject);
    QTEST(MessageRecord::toLine(body, subject), "line");
}

void tst_MessageStore::saveDropsBlankLinesAndAppends()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    setFileBytes(store.filePath(), "\r\nfirst|A\r\n\r\n \r\n\r\nsecond|B");
    QVERIFY(store.save("three\r\nlines\r\nhere", "S"));
    QCOMPARE(fileBytes(store.filePath()), QByteArray("first|A\r\nsecond|B\r\nthree[br]lines[br]here|S\r\n"));
    QVERIFY(store.save("three\r\nlines\r\nhere", "S"));
    QCOMPARE(store.entries().size(), 4);
}

void tst_MessageStore::saveRecreatesRemovedFile()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    QVERIFY(!store.exists());
    QVERIFY(store.save("hello", "world"));
    QCOMPARE(fileBytes(store.filePath()), QByteArray("hello|world\r\n"));
}

void tst_MessageStore::savedRecordReadsBack()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    const QString body = QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC\r\nsee http://x.y\r\n\r\nbye");
    QVERIFY(store.save(body, QString::fromUtf8("\xC3\x9C")));
    const QStringList entries = store.entries();
    QCOMPARE(entries.size(), 1);
    const MessageRecord record = MessageRecord::fromLine(entries.first());
    QCOMPARE(record.body, body);
    QCOMPARE(record.subject, QString::fromUtf8("\xC3\x9C"));
}

void tst_MessageStore::entriesKeepBlankLines()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    setFileBytes(store.filePath(), "\r\n");
    bool exists = false;
    QCOMPARE(store.entries(&exists), QStringList{QString()});
    QVERIFY(exists);
    // An 8-bit line from an older file keeps its characters.
    setFileBytes(store.filePath(), "r\xE9sum\xE9|x\r\n");
    QCOMPARE(store.entries(), QStringList{QString::fromUtf8("r\xC3\xA9sum\xC3\xA9|x")});
}

void tst_MessageStore::removeDropsEveryCopy()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    setFileBytes(store.filePath(), "a|1\r\nb|2\r\na|1\r\nA|1\r\n");
    QVERIFY(store.remove("a|1"));
    QCOMPARE(fileBytes(store.filePath()), QByteArray("b|2\r\nA|1\r\n"));
}

void tst_MessageStore::removeWithEmptyTextDropsBlankLines()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    setFileBytes(store.filePath(), "\r\na|1\r\n\r\n \r\n");
    QVERIFY(store.remove(QString()));
    QCOMPARE(fileBytes(store.filePath()), QByteArray("a|1\r\n \r\n"));
}

void tst_MessageStore::missingFile()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    bool exists = true;
    QVERIFY(store.entries(&exists).isEmpty());
    QVERIFY(!exists);
}

void tst_MessageStore::unreadableFileIsLeftAsItIs()
{
    QTemporaryDir dir;
    const MessageStore store(dir.filePath("messages.txt"));
    const QByteArray kept("a|1\r\nb|2\r\n");
    setFileBytes(store.filePath(), kept);
    {
        UnreadableFile unreadable(store.filePath());
        bool exists = true;
        QString reason;
        QVERIFY(store.entries(&exists, &reason).isEmpty());
        QVERIFY(!exists);
        QVERIFY(!reason.isEmpty());
        QString error;
        QVERIFY(!store.save("c", "3", &error));
        QCOMPARE(error, reason);
        error.clear();
        QVERIFY(!store.remove("a|1", &error));
        QCOMPARE(error, reason);
    }
    QCOMPARE(fileBytes(store.filePath()), kept);
}

QTEST_GUILESS_MAIN(tst_MessageStore)
#include "tst_messagestore.moc"
