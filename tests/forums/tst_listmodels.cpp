// The own posts and forums as window-free lists, and their store.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "forums/forums.h"
#include "forums/liststore.h"
#include "forums/ownposts.h"
#include "messages/messagelibrary.h"
#include "messages/messagestore.h"
#include "support/fullfilesystem.h"
#include "support/unreadablefile.h"

namespace {

PostResult outcome(PostOutcome kind, qint32 newSize = 0, qint64 growth = 0)
{
    PostResult result;
    result.outcome = kind;
    result.newSize = newSize;
    result.growth = growth;
    return result;
}

} // namespace

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
    void postRowsShowTheLastOutcome_data();
    void postRowsShowTheLastOutcome();
    void changesReachTheViews();
    void passwordIsInNoRole();
    void messageLibraryRows();
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

void tst_ListModels::postRowsShowTheLastOutcome_data()
{
    QTest::addColumn<PostResult>("result");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("hasNewReplies");
    QTest::addColumn<OwnPosts::Mark>("mark");
    QTest::newRow("grew") << outcome(PostOutcome::NewReplies, 1600, 600) << "1000" << true << OwnPosts::Mark::Checked;
    QTest::newRow("same") << outcome(PostOutcome::Unchanged, 1000, 0) << "1000" << false << OwnPosts::Mark::Checked;
    QTest::newRow("baseline-stores-size")
        << outcome(PostOutcome::Baseline, 9000) << "9000" << false << OwnPosts::Mark::Baseline;
    QTest::newRow("failed") << outcome(PostOutcome::NotChecked) << "1000" << false << OwnPosts::Mark::NotChecked;
}

void tst_ListModels::postRowsShowTheLastOutcome()
{
    QFETCH(PostResult, result);
    QFETCH(QString, size);
    QFETCH(bool, hasNewReplies);
    QFETCH(OwnPosts::Mark, mark);
    OwnPosts posts({"a", "b"}, {"1000", "1000"});
    // Told by its old index after "a" went: the outcome still finds "b".
    posts.remove(0);
    posts.storeOutcome(1, "b", result);
    const QModelIndex row = posts.index(0);
    QCOMPARE(row.data().toString(), QStringLiteral("b"));
    QCOMPARE(row.data(Qt::ToolTipRole).toString(), result.text());
    QCOMPARE(row.data(Qt::AccessibleDescriptionRole).toString(), result.text());
    QCOMPARE(row.data(OwnPosts::StoredSizeRole).toString(), size);
    QCOMPARE(row.data(OwnPosts::HasNewRepliesRole).toBool(), hasNewReplies);
    QCOMPARE(row.data(OwnPosts::MarkRole).value<OwnPosts::Mark>(), mark);

    // A new check, or a new measurement by a watch, takes the outcome away.
    posts.clearOutcomes();
    QCOMPARE(row.data(Qt::ToolTipRole).toString(), QString());
    QCOMPARE(row.data(OwnPosts::MarkRole).value<OwnPosts::Mark>(), OwnPosts::Mark::None);
    posts.storeOutcome(0, "b", result);
    QCOMPARE(posts.storeWatchedSize(0, "b", 77), 0);
    QCOMPARE(row.data(OwnPosts::HasNewRepliesRole).toBool(), false);
    QCOMPARE(row.data(OwnPosts::StoredSizeRole).toString(), QStringLiteral("77"));
}

void tst_ListModels::changesReachTheViews()
{
    OwnPosts posts;
    QSignalSpy inserted(&posts, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&posts, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&posts, &QAbstractItemModel::dataChanged);
    QVERIFY(posts.add("a"));
    QVERIFY(posts.add("b"));
    posts.storeSize(1, "b", "5");
    posts.remove(0);
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toModelIndex().row(), 1);
    QCOMPARE(posts.rowCount(), 1);
}

void tst_ListModels::passwordIsInNoRole()
{
    Forums forums({"http://f/"}, {ListFiles::joinLogin("alice", "Secret|pw")});
    forums.setLogin(0, ListFiles::joinLogin("alice", "Secret|pw2"));
    QCOMPARE(forums.index(0).data().toString(), QStringLiteral("http://f/"));
    QCOMPARE(forums.index(0).data(Forums::UserNameRole).toString(), QStringLiteral("alice"));
    for (int role = 0; role <= Qt::UserRole + 16; ++role) {
        QVERIFY2(!forums.index(0).data(role).toString().contains("Secret"), qPrintable(QString::number(role)));
    }
}

void tst_ListModels::messageLibraryRows()
{
    QTemporaryDir dir;
    MessageLibrary library(MessageStore(dir.filePath(DataFiles::messages)));
    bool exists = true;
    QVERIFY(!library.load(&exists));
    QVERIFY(!exists);
    const MessageStore store(library.path());
    QVERIFY(store.save("one\r\nline", "S"));
    QVERIFY(store.save("two", QString()));
    QVERIFY(store.save("one\r\nline", "S"));
    QVERIFY(library.load(&exists));
    QCOMPARE(library.rowCount(), 3);
    const QModelIndex first = library.index(0);
    QCOMPARE(first.data().toString(), QStringLiteral("one[br]line|S"));
    QCOMPARE(first.data(MessageLibrary::BodyRole).toString(), QStringLiteral("one\r\nline"));
    QCOMPARE(first.data(MessageLibrary::SubjectRole).toString(), QStringLiteral("S"));
    QCOMPARE(first.data(MessageLibrary::HasSubjectRole).toBool(), true);
    // Every copy of the line goes, and the rows follow the file.
    QVERIFY(library.remove(2));
    QCOMPARE(library.rowCount(), 1);
    QCOMPARE(library.index(0).data(MessageLibrary::BodyRole).toString(), QStringLiteral("two"));
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
    QVERIFY(disk.isMounted());
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
        disk.fill(1);
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
        // The notes go with them: the second size was not measured as the browser sees the page.
        QCOMPARE(bytes(DataFiles::postNotes), QByteArray("http://a/\t\t\r\n\r\nhttp://b/\t\t\r\n\r\n"));
    } else {
        QVERIFY(!error.description.isEmpty());
        QCOMPARE(bytes(DataFiles::posts), oldPosts);
        QCOMPARE(bytes(DataFiles::sizes), oldSizes);
    }
    const QStringList files = saved ? QStringList { "postnotes.txt", "posts.txt", "sizes.txt" }
                                    : QStringList { "posts.txt", "sizes.txt" };
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), files);
}

QTEST_GUILESS_MAIN(tst_ListModels)
#include "tst_listmodels.moc"
