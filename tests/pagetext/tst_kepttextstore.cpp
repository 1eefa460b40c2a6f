#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

#include "pagetext/kepttextstore.h"
#include "replies/textkeeper.h"

class tst_KeptTextStore : public QObject
{
    Q_OBJECT

private slots:
    void keptPrivatelyPerPost();
    void damagedFileReadsAsNoText_data();
    void damagedFileReadsAsNoText();
    void oldestTextsGoFirstPastTheLimit();
    void clearRemovesEveryText();
    void unwritableFolderKeepsNothing();
    void forgottenPostKeepsNothing();
    void keeperAnswersInOrderOnItsThread();
};

namespace {
// A line may start with what reads as byte-order marks; it is kept as it is.
const QChar s_mark(QChar::ByteOrderMark);
const KeptText s_text { { "Forum", "alice", s_mark + QString::fromUtf8("Où l'acheter ?") },
    { s_mark + s_mark + "Views: #" } };
const QString s_post = QStringLiteral("http://forum.example/t?id=1");
} // namespace

void tst_KeptTextStore::keptPrivatelyPerPost()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.filePath("cache/page-texts"));
    QVERIFY(!store.read(s_post));
    QVERIFY(store.write(s_post, s_text));
    QVERIFY(store.write("http://forum.example/t?id=2", { { "other" }, {} }));
    // Another way of writing the same address is the same post.
    QCOMPARE(store.read("HTTP://Forum.Example:80/t?id=1#reply-4"), s_text);
    QCOMPARE(QFile::permissions(store.folder()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QFile::permissions(store.fileOf(s_post)) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    store.remove(s_post);
    QVERIFY(!store.read(s_post));
    QCOMPARE(store.read("http://forum.example/t?id=2")->lines.toList(), QStringList { "other" });
}

void tst_KeptTextStore::damagedFileReadsAsNoText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = KeptTextStore::encode(s_text);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not-kept-text") << QByteArray("<html>");
    QTest::newRow("cut-short") << good.left(good.size() - 5);
    QTest::newRow("bytes-flipped") << good.left(12) + QByteArray(good.size() - 12, '\x5a');
    QTest::newRow("claims-four-gigabytes") << QByteArray("PVKT5\n\xff\xff\xff\xff", 10) + good.mid(10);
    QTest::newRow("noise-count-too-large") << QByteArray("PVKT5\n") + qCompress("9\nline\n");
    // Texts kept by earlier versions are dropped, whatever they hold.
    const QByteArray payload = "1\nViews: #\nForum\nbob\n";
    QTest::newRow("earlier-format-zlib") << QByteArray("PVKT1\n") + qCompress(payload);
    QTest::newRow("earlier-format-zstd") << "PVKT2\n"
            + QByteArray::fromHex("28b52ffd2015a90000310a56696577733a20230a466f72756d0a626f620a");
    QTest::newRow("earlier-tag") << "PVKT4\n" + good.mid(6);
}

void tst_KeptTextStore::damagedFileReadsAsNoText()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    QFile file(store.fileOf(s_post));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QVERIFY(!store.read(s_post));
    // The damaged text is replaced by the next one.
    QVERIFY(store.write(s_post, s_text));
    QCOMPARE(store.read(s_post), s_text);
}

void tst_KeptTextStore::oldestTextsGoFirstPastTheLimit()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    const KeptText big { QStringList(200, QString::number(qHash(dir.path()))), {} };
    const qint64 size = KeptTextStore::encode(big).size();
    store.setLimit(size * 2);
    for (const QString post : { "http://a/1", "http://a/2", "http://a/3" }) {
        QVERIFY(store.write(post, big));
    }
    QVERIFY(!store.read("http://a/1"));
    QVERIFY(store.read("http://a/2") && store.read("http://a/3"));
    QCOMPARE(store.totalSize(), size * 2);
    // Written again, the oldest becomes the newest, and a fresh store counts the same.
    QVERIFY(store.write("http://a/2", big));
    QVERIFY(store.write("http://a/4", big));
    QVERIFY(!store.read("http://a/3"));
    QCOMPARE(KeptTextStore(dir.path()).totalSize(), size * 2);
}

void tst_KeptTextStore::clearRemovesEveryText()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    QVERIFY(store.write(s_post, s_text));
    QVERIFY(store.write("http://a/2", s_text));
    QVERIFY(store.clear());
    QVERIFY(!store.read(s_post));
    QVERIFY(!store.read("http://a/2"));
    QCOMPARE(store.totalSize(), 0);
}

void tst_KeptTextStore::unwritableFolderKeepsNothing()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    KeptTextStore store(dir.filePath("file/page-texts"));
    QVERIFY(!store.write(s_post, s_text));
    QVERIFY(!store.read(s_post));
}

// A post removed while its page's text waits to be kept or compared keeps nothing; the check still hears back.
void tst_KeptTextStore::forgottenPostKeepsNothing()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    QObject context;
    int answers = 0;
    QStringList told { "not told" };
    {
        TextKeeper keeper(&store);
        const QByteArray page = "<p>" + QByteArray(200000, 'x') + "</p><p>first</p>";
        keeper.keepBaseline(s_post, "text/html", page, &context, [&](const ReplyTexts::Baseline &) { ++answers; });
        keeper.forget(s_post);
        PostResult grown;
        grown.outcome = PostOutcome::NewReplies;
        keeper.afterCheck(s_post, grown, {}, "text/html", page + "<p>a new reply here</p>", &context,
            [&](const ReplyTexts::Judgement &judged) {
                ++answers;
                told = judged.result.newText;
            });
        keeper.forget(s_post);
        keeper.waitForDone();
        QVERIFY(!store.read(s_post));
        QTRY_COMPARE(answers, 2);
    }
    QCOMPARE(told, QStringList());
}

// Jobs run one after another in the order given and answer on the keeper's thread; an answer whose context is gone
// never comes, though its job ran; the keeper's end waits for the jobs given.
void tst_KeptTextStore::keeperAnswersInOrderOnItsThread()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    QObject context;
    auto gone = std::make_unique<QObject>();
    QStringList told;
    QList<QThread *> threads;
    PostResult grown;
    grown.outcome = PostOutcome::NewReplies;
    const QByteArray page = "<p>Where can I buy one near me?</p>";
    const QByteArray reply = "<p>At the shop on the corner, open on Sundays.</p>";
    {
        TextKeeper keeper(&store);
        keeper.keepBaseline("http://a/1", "text/html", page, &context, [&](const ReplyTexts::Baseline &) {
            told += "kept";
            threads += QThread::currentThread();
        });
        keeper.afterCheck("http://a/1", grown, {}, "text/html", page + reply, &context,
            [&](const ReplyTexts::Judgement &judged) {
                told += judged.result.newText;
                threads += QThread::currentThread();
            });
        keeper.keepBaseline(
            "http://a/2", "text/html", page, gone.get(), [&](const ReplyTexts::Baseline &) { told += "gone"; });
        gone.reset();
        keeper.keepBaseline(
            "http://a/3", "text/html", page, &context, [&](const ReplyTexts::Baseline &) { told += "last"; });
        QTRY_COMPARE(told, (QStringList { "kept", "At the shop on the corner, open on Sundays.", "last" }));
        QCOMPARE(threads, (QList<QThread *> { QThread::currentThread(), QThread::currentThread() }));
        QVERIFY(store.read("http://a/2"));
        keeper.keepBaseline("http://a/4", "text/html", page, &context, [](const ReplyTexts::Baseline &) {});
    }
    QVERIFY(store.read("http://a/4"));
}

QTEST_GUILESS_MAIN(tst_KeptTextStore)
#include "tst_kepttextstore.moc"
