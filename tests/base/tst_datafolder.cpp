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
    void locate_data();
    void locate();
    void findHelpFile_data();
    void findHelpFile();
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

void tst_DataFolder::locate_data()
{
    // Files made under the temporary folder; the program is in prog/, the per-user folder is user/.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("portableAsked");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("copied");
    QTest::newRow("build-tree") << QStringList{"prog/postavo"} << false << "user" << QStringList{};
    QTest::newRow("installed") << QStringList{"prog/postavo", "share/postavo/Help.rtf"} << false << "user"
                               << QStringList{};
    QTest::newRow("portable-marker") << QStringList{"prog/portable", "prog/posts.txt"} << false << "prog"
                                     << QStringList{};
    QTest::newRow("portable-option") << QStringList{"prog/posts.txt"} << true << "prog" << QStringList{};
    QTest::newRow("old-files-copied") << QStringList{"prog/posts2.txt", "prog/MESSAGES.TXT", "prog/Help.rtf"} << false
                                      << "user" << QStringList{"messages.txt", "posts2.txt"};
    QTest::newRow("per-user-in-use") << QStringList{"prog/posts2.txt", "user/sizes.txt"} << false << "user"
                                     << QStringList{};
}

void tst_DataFolder::locate()
{
    QFETCH(QStringList, files);
    QFETCH(bool, portableAsked);
    QFETCH(QString, expected);
    QFETCH(QStringList, copied);
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QString &file : files) {
        QVERIFY(root.mkpath(QFileInfo(file).path()));
        writeFile(root.filePath(file), file.toUtf8());
    }
    const DataLocation location = DataFolder::locate(root.filePath("prog"), root.filePath("user"), portableAsked);
    QCOMPARE(location.path, root.filePath(expected));
    QCOMPARE(location.portable, expected == "prog");
    QVERIFY(QFileInfo(location.path).isDir());
    QCOMPARE(location.copiedFiles, copied);
    QCOMPARE(location.copiedFrom, copied.isEmpty() ? QString() : root.filePath("prog"));
    for (const QString &file : files) { // originals untouched
        QCOMPARE(readFile(root.filePath(file)), file.toUtf8());
    }
    for (const QString &name : copied) {
        const QString original = files.filter(name, Qt::CaseInsensitive).value(0);
        QCOMPARE(readFile(root.filePath("user/" + name)), original.toUtf8());
    }
    if (copied.contains("posts2.txt")) { // it holds passwords
        QCOMPARE(QFile::permissions(root.filePath("user/posts2.txt")) & 0x0077, QFileDevice::Permissions());
    }
}

void tst_DataFolder::findHelpFile_data()
{
    QTest::addColumn<QStringList>("files"); // relative to the temporary folder; the program is in usr/bin
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("locale");
    QTest::newRow("in-data-folder") << QStringList{"data/Help.rtf", "usr/bin/Help.rtf"} << "data/Help.rtf" << "en_US";
    QTest::newRow("beside-program") << QStringList{"usr/bin/Help.rtf", "usr/share/postavo/Help.rtf"}
                                    << "usr/bin/Help.rtf" << "en_US";
    QTest::newRow("installed") << QStringList{"usr/share/postavo/Help.rtf"} << "usr/share/postavo/Help.rtf" << "en_US";
    QTest::newRow("installed-other-case") << QStringList{"usr/share/postavo/HELP.RTF"}
                                          << "usr/share/postavo/HELP.RTF" << "en_US";
    QTest::newRow("hidden-or-folder-is-not-it") << QStringList{"data/.Help.rtf", "usr/bin/Help.rtf/x"} << "" << "en_US";
    QTest::newRow("german-guide-beside-program") << QStringList{"data/Help.rtf", "usr/bin/Help_de.rtf"}
                                                << "usr/bin/Help_de.rtf" << "de_AT";
    QTest::newRow("russian-guide-installed") << QStringList{"usr/bin/Help.rtf", "usr/share/postavo/Help_ru.rtf"}
                                             << "usr/share/postavo/Help_ru.rtf" << "ru_RU";
    QTest::newRow("no-guide-in-the-language") << QStringList{"usr/bin/Help_de.rtf", "usr/bin/Help.rtf"}
                                              << "usr/bin/Help.rtf" << "fr_FR";
    QTest::newRow("nowhere") << QStringList{"usr/share/Help.rtf", "Help.rtf"} << "" << "en_US";
}

void tst_DataFolder::findHelpFile()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QFETCH(QString, locale);
    QTemporaryDir dir;
    QDir root(dir.path());
    QVERIFY(root.mkpath("data") && root.mkpath("usr/bin"));
    for (const QString &file : files) {
        QVERIFY(root.mkpath(QFileInfo(file).path()));
        writeFile(root.filePath(file), "{\\rtf1 help}");
    }
    const QString found
        = ::findHelpFile(DataFolder(root.filePath("data")), root.filePath("usr/bin"), QLocale(locale));
    QCOMPARE(found, expected.isEmpty() ? QString() : root.filePath(expected));
}

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_datafolder.moc"
