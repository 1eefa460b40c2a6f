#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "base/datafolder.h"

class tst_DataFolder : public QObject
{
    Q_OBJECT

private slots:
    void fileNameFromPath_data();
    void fileNameFromPath();
    void fileExistsIgnoresCase();
    void fileExistsRejectsPatternsHiddenAndFolders();
    void createMissingDataFilesOnEmptyFolder();
    void createMissingDataFilesLeavesExistingFiles();
    void unwritableFolderIsReported();
};

static void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_DataFolder::fileNameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("backslash-path") << "C:\\Program Files\\Postavo\\Help.rtf" << "Help.rtf";
    QTest::newRow("slash-path") << "/opt/postavo/Help.rtf" << "Help.rtf";
    QTest::newRow("bare-name") << "Help.rtf" << "Help.rtf";
    QTest::newRow("ends-in-separator") << "C:\\data\\" << "";
}

void tst_DataFolder::fileNameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(::fileNameFromPath(path), name);
}

void tst_DataFolder::fileExistsIgnoresCase()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("Help.rtf"), "x");
    QVERIFY(fileExists(dir.filePath("Help.rtf")));
    QVERIFY(fileExists(dir.filePath("HELP.RTF")));
    QVERIFY(!fileExists(dir.filePath("Help.rt")));
    QVERIFY(!fileExists(dir.filePath("nothing.txt")));
}

void tst_DataFolder::fileExistsRejectsPatternsHiddenAndFolders()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("a.txt"), "x");
    writeFile(dir.filePath(".hidden.txt"), "x");
    QVERIFY(QDir(dir.path()).mkdir("folder.txt"));
    QVERIFY(!fileExists(dir.filePath("*.txt")));
    QVERIFY(!fileExists(dir.filePath("?.txt")));
    QVERIFY(!fileExists(dir.filePath(".hidden.txt")));
    QVERIFY(!fileExists(dir.filePath("folder.txt")));
    QVERIFY(!fileExists(dir.filePath("")));
    QVERIFY(!fileExists(QStringLiteral("/nonexistent/folder/a.txt")));
    QVERIFY(!fileExists(QString()));
}

void tst_DataFolder::createMissingDataFilesOnEmptyFolder()
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    QVERIFY(folder.createMissingDataFiles());
    const QStringList expected{"htmltemp.txt", "messages.txt", "posts.txt", "posts2.txt", "sizes.txt"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    for (const QString &name : expected) {
        QCOMPARE(readFile(folder.filePath(name)), QByteArray("\r\n"));
    }
}

void tst_DataFolder::createMissingDataFilesLeavesExistingFiles()
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    const QByteArray odd("no line end \xE9\x00 junk", 17);
    writeFile(folder.filePath("posts.txt"), odd);
    writeFile(folder.filePath("messages.txt"), QByteArray());
    QVERIFY(folder.createMissingDataFiles());
    QCOMPARE(readFile(folder.filePath("posts.txt")), odd);
    QCOMPARE(readFile(folder.filePath("messages.txt")), QByteArray());
    QCOMPARE(readFile(folder.filePath("sizes.txt")), QByteArray("\r\n"));
}

void tst_DataFolder::unwritableFolderIsReported()
{
    QTemporaryDir dir;
    const DataFolder missing(dir.filePath("gone"));
    QString reason;
    QVERIFY(!missing.isWritable(&reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!missing.createMissingDataFiles(&reason));
    QVERIFY(reason.startsWith("htmltemp.txt"));

    if (geteuid() != 0) { // root writes anywhere
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QVERIFY(!DataFolder(dir.path()).isWritable(&reason));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_datafolder.moc"
