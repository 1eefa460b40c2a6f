// The own posts and forums as window-free lists, and their store.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "forums/forums.h"
#include "forums/liststore.h"
#include "forums/ownposts.h"
#include "support/fullfilesystem.h"
#include "support/unreadablefile.h"

class tst_ListModels : public QObject
{
    Q_OBJECT

private slots:
    void postsAndSizesStayInStep_data();
    void postsAndSizesStayInStep();
    void measuredSizeFindsItsPost_data();
    void measuredSizeFindsItsPost();
    void forumsKeepALoginEach();
    void fullListsTakeNoMore();
    void unreadableFileIsNeverWrittenOver();
    void postsAndSizesAreKeptTogether_data();
    void postsAndSizesAreKeptTogether();
    void postsAndSizesAreReplacedTogether_data();
    void postsAndSizesAreReplacedTogether();
};

void tst_ListModels::postsAndSizesStayInStep_data()
{
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("missing-read-unmeasured") << QStringList{"10"} << QStringList{"10", "unmeasured", "unmeasured"};
    QTest::newRow("extra-dropped") << QStringList{"1", "2", "3", "4"} << QStringList{"1", "2", "3"};
}

void tst_ListModels::postsAndSizesStayInStep()
{
    QFETCH(QStringList, sizes);
    QFETCH(QStringList, expected);
    OwnPosts posts({"a", "b", "c"}, sizes);
    QCOMPARE(posts.sizes(), expected);
    posts.remove(1);
    QCOMPARE(posts.addresses(), (QStringList{"a", "c"}));
    QCOMPARE(posts.sizes(), (QStringList{expected.at(0), expected.at(2)}));
    QVERIFY(posts.add("d"));
    QCOMPARE(posts.storedSize(2), ListFiles::unmeasuredSize);
    posts.remove(7);
    QCOMPARE(posts.count(), 3);
}

void tst_ListModels::measuredSizeFindsItsPost_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("taken");
    QTest::newRow("entry-unchanged") << 1 << "b" << 1;
    QTest::newRow("entry-moved") << 0 << "b" << 1;
    QTest::newRow("index-gone") << 9 << "c" << 2;
    QTest::newRow("post-removed") << 1 << "x" << -1;
}

void tst_ListModels::measuredSizeFindsItsPost()
{
    QFETCH(int, index);
    QFETCH(QString, address);
    QFETCH(int, taken);
    OwnPosts posts({"a", "b", "c"}, {});
    QCOMPARE(posts.storeSize(index, address, "77"), taken);
    for (int i = 0; i < posts.count(); ++i) {
        QCOMPARE(posts.storedSize(i), i == taken ? QStringLiteral("77") : ListFiles::unmeasuredSize);
    }
}

void tst_ListModels::forumsKeepALoginEach()
{
    Forums forums({"f1", "f2"}, {"u|p"});
    QCOMPARE(forums.logins(), (QStringList{"u|p", "|"}));
    forums.setLogin(1, "v|q");
    forums.setLogin(5, "lost");
    forums.remove(0);
    QCOMPARE(forums.addresses(), QStringList{"f2"});
    QCOMPARE(forums.logins(), QStringList{"v|q"});
    QCOMPARE(forums.indexOf("f2"), 0);
    QCOMPARE(forums.indexOf("f1"), -1);
}

void tst_ListModels::fullListsTakeNoMore()
{
    QStringList many;
    for (int i = 0; i < ListFiles::maxEntries; ++i) {
        many.append(QString::number(i));
    }
    OwnPosts posts(many, {});
    Forums forums(many, {});
    QVERIFY(!posts.add("one more"));
    QVERIFY(!forums.add("one more", "|"));
    QCOMPARE(posts.count(), ListFiles::maxEntries);
    QCOMPARE(forums.count(), ListFiles::maxEntries);
}

void tst_ListModels::unreadableFileIsNeverWrittenOver()
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    QVERIFY(QDir().mkdir(folder.filePath(DataFiles::posts2))); // a folder where the file should be
    ListFiles::writePosts(folder.filePath(DataFiles::posts), {"p"});
    ListStore store(folder);
    OwnPosts posts;
    Forums forums;
    const QStringList problems = store.load(&posts, &forums);
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().startsWith(folder.filePath(DataFiles::posts2) + ": "));
    QCOMPARE(posts.addresses(), QStringList{"p"});
    QCOMPARE(posts.sizes(), QStringList{ListFiles::unmeasuredSize});
    QVERIFY(forums.add("f", "|"));
    QVERIFY(store.saveForums(forums));
    QVERIFY(QFileInfo(folder.filePath(DataFiles::posts2)).isDir());
    QVERIFY(store.savePostsAndSizes(posts));
    QCOMPARE(ListFiles::readSizes(folder.filePath(DataFiles::sizes), 1), QStringList{ListFiles::unmeasuredSize});
}

void tst_ListModels::postsAndSizesAreKeptTogether_data()
{
    QTest::addColumn<QString>("unreadable");
    QTest::newRow("posts") << DataFiles::posts;
    QTest::newRow("sizes") << DataFiles::sizes;
}

void tst_ListModels::postsAndSizesAreKeptTogether()
{
    QFETCH(QString, unreadable);
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    const QByteArray posts("http://a/\r\n\r\nhttp://b/\r\n\r\n");
    const QByteArray sizes("100\r\n\r\n200\r\n\r\n");
    const auto bytes = [&folder](const QString &name) {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    for (const auto &[name, content] : {std::pair{DataFiles::posts, posts}, std::pair{DataFiles::sizes, sizes}}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    {
        UnreadableFile denied(folder.filePath(unreadable));
        ListStore store(folder);
        OwnPosts own;
        Forums forums;
        const QStringList problems = store.load(&own, &forums);
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().startsWith(folder.filePath(unreadable) + ": "));
        QVERIFY(own.add("http://c/"));
        QVERIFY(store.savePostsAndSizes(own));
    }
    QCOMPARE(bytes(DataFiles::posts), posts);
    QCOMPARE(bytes(DataFiles::sizes), sizes);
}

void tst_ListModels::postsAndSizesAreReplacedTogether_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("failedFile");
    QTest::newRow("room-for-both") << "none" << "";
    QTest::newRow("room-for-neither") << "full" << "posts.txt";
    // The new posts file fits; the sizes file after it does not.
    QTest::newRow("room-for-posts-only") << "one-page" << "sizes.txt";
    QTest::newRow("read-only") << "read-only" << "posts.txt";
}

void tst_ListModels::postsAndSizesAreReplacedTogether()
{
    QFETCH(QString, trouble);
    QFETCH(QString, failedFile);
    FullFileSystem disk;
    const DataFolder folder(disk.path());
    const auto bytes = [&folder](const QString &name) {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    QVERIFY(ListFiles::writePostsAndSizes(folder.filePath(DataFiles::posts), {"http://a/"},
                                          folder.filePath(DataFiles::sizes), {"100"}));
    const QByteArray oldPosts = bytes(DataFiles::posts);
    const QByteArray oldSizes = bytes(DataFiles::sizes);
    ListStore store(folder);
    OwnPosts own;
    Forums forums;
    QVERIFY(store.load(&own, &forums).isEmpty());
    QVERIFY(own.add("http://b/"));
    QCOMPARE(own.storeSize(1, "http://b/", "200"), 1);
    if (trouble == "full") {
        disk.fill();
    } else if (trouble == "one-page") {
        if (disk.isReal()) {
            disk.fill(1);
        } else {
            FileReplacement::setFaultForTesting([](const QString &path) {
                return path.endsWith(QLatin1String("/sizes.txt")) ? ENOSPC : 0;
            });
        }
    } else if (trouble == "read-only") {
        disk.makeReadOnly();
    }

    ListFiles::WriteError error;
    const bool saved = store.savePostsAndSizes(own, &error);
    disk.release();
    QCOMPARE(saved, failedFile.isEmpty());
    QCOMPARE(error.fileName, failedFile);
    if (saved) {
        QCOMPARE(bytes(DataFiles::posts), QByteArray("http://a/\r\n\r\nhttp://b/\r\n\r\n"));
        QCOMPARE(bytes(DataFiles::sizes), QByteArray("100\r\n\r\n200\r\n\r\n"));
    } else {
        QVERIFY(!error.description.isEmpty());
        QCOMPARE(bytes(DataFiles::posts), oldPosts);
        QCOMPARE(bytes(DataFiles::sizes), oldSizes);
    }
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"posts.txt", "sizes.txt"}));
}

QTEST_GUILESS_MAIN(tst_ListModels)
#include "tst_listmodels.moc"
