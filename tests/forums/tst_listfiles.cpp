#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>
#include <QTest>

#include "base/datafolder.h"
#include "forums/listfiles.h"

class tst_ListFiles : public QObject
{
    Q_OBJECT

private slots:
    void unreadableFilesAreNamed();
    void writtenBytes_data();
    void writtenBytes();
    void readRecords_data();
    void readRecords();
    void parseForumLine_data();
    void parseForumLine();
    void plainRecordsKeepTheirFormat_data();
    void plainRecordsKeepTheirFormat();
    void everyCombinationRoundTrips();
    void loginEntryRoundTrips_data();
    void loginEntryRoundTrips();
    void emptyLoginShowsNothing();
    void binaryJunkKeepsListsInStep();
    void longFilesStopAtTheIndexLimit();
    void sizesInStep_data();
    void sizesInStep();
    void unmeasuredMarkerSurvivesRestart();
    void forumFileIsOwnerOnly();
    void createdForumFileIsOwnerOnly();
    void writeFailureHasNumberAndDescription();
};

static void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The owner, group and other bits (the "user" bits only repeat the owner's for the test's own files).
static QFileDevice::Permissions ownerGroupOther(const QString &path)
{
    return QFile::permissions(path) & ~QFileDevice::Permissions(QFileDevice::ReadUser | QFileDevice::WriteUser
                                                                 | QFileDevice::ExeUser);
}

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void tst_ListFiles::writtenBytes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("posts-two-entries") << "posts" << QStringList{"http://a/1", "http://b/2"} << QStringList()
                                       << QByteArray("http://a/1\r\n\r\nhttp://b/2\r\n\r\n");
    QTest::newRow("posts-none") << "posts" << QStringList() << QStringList() << QByteArray();
    QTest::newRow("posts-spaces-kept") << "posts" << QStringList{" http://a/ "} << QStringList()
                                       << QByteArray(" http://a/ \r\n\r\n");
    const QString zwnbsp(QChar(0xFEFF));
    QTest::newRow("posts-feff-starting-second-kept")
        << "posts" << QStringList{"http://a/", zwnbsp + "http://b/"} << QStringList()
        << QByteArray("http://a/\r\n\r\n\xEF\xBB\xBFhttp://b/\r\n\r\n");
    QTest::newRow("posts-feff-only-record-kept")
        << "posts" << QStringList{"http://a/", zwnbsp, "http://c/"} << QStringList()
        << QByteArray("http://a/\r\n\r\n\xEF\xBB\xBF\r\n\r\nhttp://c/\r\n\r\n");
    QTest::newRow("posts-feff-starting-first-gets-a-mark-before-it")
        << "posts" << QStringList{zwnbsp + "http://b/"} << QStringList()
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFhttp://b/\r\n\r\n");
    QTest::newRow("sizes") << "sizes" << QStringList{"1234", "0", ListFiles::unmeasuredSize} << QStringList()
                           << QByteArray("1234\r\n\r\n0\r\n\r\nunmeasured\r\n\r\n");
    QTest::newRow("forums") << "forums" << QStringList{"http://f/1", "http://f/2"}
                            << QStringList{"Enter Username|", "bob|secret"}
                            << QByteArray("http://f/1|Enter Username|\r\n\r\nhttp://f/2|bob|secret\r\n\r\n");
    QTest::newRow("forums-empty-login") << "forums" << QStringList{"http://f/1"} << QStringList{"|"}
                                        << QByteArray("http://f/1||\r\n\r\n");
    QTest::newRow("forums-utf8") << "forums" << QStringList{QString::fromUtf8("http://f/caf\xC3\xA9")}
                                 << QStringList{QString::fromUtf8("j\xC3\xB6rg|pw")}
                                 << QByteArray("http://f/caf\xC3\xA9|j\xC3\xB6rg|pw\r\n\r\n");
    QTest::newRow("forums-bar-in-password") << "forums" << QStringList{"http://f/1"}
                                            << QStringList{ListFiles::joinLogin("bob", "a|b")}
                                            << QByteArray("%http://f/1|bob|a%7Cb\r\n\r\n");
}

void tst_ListFiles::writtenBytes()
{
    QFETCH(QString, file);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    writeFile(path, "old contents that are longer than the new ones\r\n");
    bool ok = false;
    if (file == QLatin1String("posts")) {
        ok = ListFiles::writePosts(path, first);
        QCOMPARE(ListFiles::readPosts(path), first);
    } else if (file == QLatin1String("sizes")) {
        ok = ListFiles::writeSizes(path, first);
        QCOMPARE(ListFiles::readSizes(path, int(first.size())), first);
    } else {
        ok = ListFiles::writeForums(path, first, second);
        const ListFiles::ForumList forums = ListFiles::readForums(path);
        QCOMPARE(forums.addresses, first);
        QCOMPARE(forums.logins, second);
    }
    QVERIFY(ok);
    QCOMPARE(readFile(path), bytes);
}

void tst_ListFiles::readRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("records");
    QTest::newRow("missing-file-marker") << QByteArray("\r\n") << QStringList();
    QTest::newRow("only-blank-lines") << QByteArray("\r\n\r\n \r\n\r\n") << QStringList();
    QTest::newRow("single-space-skipped") << QByteArray("a\r\n \r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("two-spaces-kept") << QByteArray("a\r\n  \r\n") << QStringList{"a", "  "};
    QTest::newRow("spaces-around-kept") << QByteArray(" http://x/ \r\n\r\n") << QStringList{" http://x/ "};
    QTest::newRow("no-empty-lines-between") << QByteArray("1\r\n2\r\n3") << QStringList{"1", "2", "3"};
    QTest::newRow("lf-and-cr-ends") << QByteArray("a\n\nb\r\rc\r\n") << QStringList{"a", "b", "c"};
    QTest::newRow("windows-1252") << QByteArray("http://x/\xE9\r\n") << QStringList{QString::fromUtf8("http://x/\xC3\xA9")};
    QTest::newRow("tab-is-a-record") << QByteArray("\t\r\n") << QStringList{"\t"};
}

void tst_ListFiles::readRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, records);
    QTemporaryDir dir;
    const QString path = dir.filePath("posts.txt");
    writeFile(path, bytes);
    QCOMPARE(ListFiles::readPosts(path), records);
    QCOMPARE(ListFiles::readForums(path).addresses.size(), records.size());
    QCOMPARE(ListFiles::readForums(path).logins.size(), records.size());
}

void tst_ListFiles::parseForumLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("three-fields") << "http://f/|bob|pw" << "http://f/" << "bob" << "pw";
    QTest::newRow("empty-password") << "http://f/|bob|" << "http://f/" << "bob" << "";
    QTest::newRow("empty-login") << "http://f/||" << "http://f/" << "" << "";
    QTest::newRow("extra-fields-ignored") << "http://f/|bob|pw|more|x" << "http://f/" << "bob" << "pw";
    QTest::newRow("two-fields-get-empty-login") << "http://f/|bob" << "http://f/" << "" << "";
    QTest::newRow("one-field-gets-empty-login") << "http://f/" << "http://f/" << "" << "";
    QTest::newRow("empty-address") << "|bob|pw" << "" << "bob" << "pw";
    QTest::newRow("user-starting-with-marker") << "http://f/|%bob|pw" << "http://f/" << "%bob" << "pw";
    QTest::newRow("encoded") << "%http://f/a%7Cb|b%7Cob|p%25w%7C" << "http://f/a|b" << "b|ob" << "p%w|";
    QTest::newRow("encoded-lower-case-escape") << "%x%7cy|u|p" << "x|y" << "u" << "p";
    QTest::newRow("encoded-unknown-escape-kept") << "%a%20b%|u%|%" << "a%20b%" << "u%" << "%";
    QTest::newRow("encoded-short") << "%http://f/%7C" << "http://f/|" << "" << "";
}

void tst_ListFiles::parseForumLine()
{
    QFETCH(QString, line);
    QFETCH(QString, address);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QString parsedAddress;
    QString login;
    ListFiles::parseForumRecord(line, &parsedAddress, &login);
    QCOMPARE(parsedAddress, address);
    QString parsedUser;
    QString parsedPassword;
    QVERIFY(ListFiles::splitLogin(login, &parsedUser, &parsedPassword));
    QCOMPARE(parsedUser, user);
    QCOMPARE(parsedPassword, password);
}

void tst_ListFiles::plainRecordsKeepTheirFormat_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("typical") << "http://forum.example/post?x=1&y=%20" << "Enter Username" << "";
    QTest::newRow("percent-in-values") << "http://f/%7C" << "%user" << "50%";
    QTest::newRow("all-empty") << "" << "" << "";
    QTest::newRow("spaces") << " a " << " u " << " p ";
}

void tst_ListFiles::plainRecordsKeepTheirFormat()
{
    QFETCH(QString, address);
    QFETCH(QString, user);
    QFETCH(QString, password);
    const QString record = ListFiles::forumRecord(address, ListFiles::joinLogin(user, password));
    QCOMPARE(record, address + "|" + user + "|" + password);
    // An old reader that splits at every "|" sees the same three values.
    QCOMPARE(record.split('|'), (QStringList{address, user, password}));
}

void tst_ListFiles::everyCombinationRoundTrips()
{
    const QStringList values{"",   "plain", "a|b",  "|",      "||",        "%start", "50%",
                             "%7C", "%25",  "%|%", "end|",   "%7C|%25|x", " | ",    "a\r\nb",
                             "\n",  "%0A\r"};
    QStringList addresses;
    QStringList logins;
    for (const QString &address : values) {
        for (const QString &user : values) {
            for (const QString &password : values) {
                const QString login = ListFiles::joinLogin(user, password);
                QString shownUser;
                QString shownPassword;
                QVERIFY(ListFiles::splitLogin(login, &shownUser, &shownPassword));
                QCOMPARE(shownUser, user);
                QCOMPARE(shownPassword, password);

                const QString record = ListFiles::forumRecord(address, login);
                QString readAddress;
                QString readLogin;
                ListFiles::parseForumRecord(record, &readAddress, &readLogin);
                QCOMPARE(readAddress, address);
                QCOMPARE(readLogin, login);

                const auto clean = [](const QString &v) {
                    return !v.contains('|') && !v.contains('\r') && !v.contains('\n');
                };
                const bool plain = clean(address) && clean(user) && clean(password) && !address.startsWith('%');
                if (plain) {
                    QCOMPARE(record, address + "|" + user + "|" + password);
                }
                if (clean(user) && clean(password) && !user.startsWith('%')) {
                    QCOMPARE(login, user + "|" + password);
                }
                addresses.append(address);
                logins.append(login);
            }
        }
    }

    // The same through the file, where blank-looking records must not be skipped.
    QTemporaryDir dir;
    const QString path = dir.filePath("posts2.txt");
    QVERIFY(ListFiles::writeForums(path, addresses, logins));
    const ListFiles::ForumList forums = ListFiles::readForums(path);
    QCOMPARE(forums.addresses, addresses);
    QCOMPARE(forums.logins, logins);
}

void tst_ListFiles::loginEntryRoundTrips_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("entry");
    QTest::newRow("plain") << "bob" << "pw" << "bob|pw";
    QTest::newRow("placeholder") << "Enter Username" << "" << "Enter Username|";
    QTest::newRow("bar-in-user") << "b|ob" << "pw" << "%b%7Cob|pw";
    QTest::newRow("bar-in-password") << "bob" << "p|w" << "%bob|p%7Cw";
    QTest::newRow("user-starts-with-marker") << "%bob" << "pw" << "%%25bob|pw";
    QTest::newRow("percent-in-password-only") << "bob" << "%pw" << "bob|%pw";
    QTest::newRow("line-end-in-password") << "bob" << "p\r\nw" << "%bob|p%0D%0Aw";
}

void tst_ListFiles::loginEntryRoundTrips()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, entry);
    QCOMPARE(ListFiles::joinLogin(user, password), entry);
    QString u;
    QString p;
    QVERIFY(ListFiles::splitLogin(entry, &u, &p));
    QCOMPARE(u, user);
    QCOMPARE(p, password);
}

void tst_ListFiles::emptyLoginShowsNothing()
{
    QString user = "kept";
    QString password = "kept";
    QVERIFY(!ListFiles::splitLogin(QString(), &user, &password));
    QCOMPARE(user, QString("kept"));
    QVERIFY(ListFiles::splitLogin("|", &user, &password));
    QCOMPARE(user, QString());
    QCOMPARE(password, QString());
}

void tst_ListFiles::binaryJunkKeepsListsInStep()
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) {
        junk.append(char((i * 7919 + 13) % 256));
    }
    junk.append(QByteArray("\0\0|\xFF\xFE|", 7));
    junk.append("\r\nhttp://good/|u|p\r\n");
    QTemporaryDir dir;
    const QString path = dir.filePath("posts2.txt");
    writeFile(path, junk);
    const ListFiles::ForumList forums = ListFiles::readForums(path);
    QVERIFY(!forums.addresses.isEmpty());
    QCOMPARE(forums.logins.size(), forums.addresses.size());
    QCOMPARE(forums.addresses.last(), QString("http://good/"));
    QCOMPARE(forums.logins.last(), QString("u|p"));
    for (const QString &login : forums.logins) {
        QString user;
        QString password;
        QVERIFY(ListFiles::splitLogin(login, &user, &password));
    }
}

void tst_ListFiles::longFilesStopAtTheIndexLimit()
{
    QByteArray bytes;
    for (int i = 0; i < ListFiles::maxEntries + 500; ++i) {
        bytes += "http://f/" + QByteArray::number(i) + ((i % 3 == 0) ? "\r\n\r\n" : "|u\r\n");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("posts2.txt");
    writeFile(path, bytes);
    const ListFiles::ForumList forums = ListFiles::readForums(path);
    QCOMPARE(forums.addresses.size(), ListFiles::maxEntries);
    QCOMPARE(forums.logins.size(), ListFiles::maxEntries);
    QCOMPARE(forums.addresses.last(), QString("http://f/%1").arg(ListFiles::maxEntries - 1));
    QCOMPARE(ListFiles::readPosts(path).size(), ListFiles::maxEntries);
    QCOMPARE(ListFiles::readSizes(path, ListFiles::maxEntries).size(), ListFiles::maxEntries);
}

void tst_ListFiles::sizesInStep_data()
{
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<int>("posts");
    QTest::addColumn<QStringList>("expected");
    const QString u = ListFiles::unmeasuredSize;
    QTest::newRow("same-length") << QStringList{"1", "2"} << 2 << QStringList{"1", "2"};
    QTest::newRow("fewer-sizes-padded") << QStringList{"1"} << 3 << QStringList{"1", u, u};
    QTest::newRow("more-sizes-dropped") << QStringList{"1", "2", "3"} << 1 << QStringList{"1"};
    QTest::newRow("no-posts") << QStringList{"1"} << 0 << QStringList();
    QTest::newRow("junk-kept-in-place") << QStringList{"x", "2"} << 2 << QStringList{"x", "2"};
}

void tst_ListFiles::sizesInStep()
{
    QFETCH(QStringList, sizes);
    QFETCH(int, posts);
    QFETCH(QStringList, expected);
    QCOMPARE(ListFiles::sizesInStep(sizes, posts), expected);
}

void tst_ListFiles::unmeasuredMarkerSurvivesRestart()
{
    QVERIFY(!ListFiles::isSkippedLine(ListFiles::unmeasuredSize));
    qint32 bytes = -1;
    QVERIFY(!ListFiles::storedSize(ListFiles::unmeasuredSize, &bytes));
    QVERIFY(!ListFiles::storedSize(QString(), &bytes));
    QVERIFY(ListFiles::storedSize("20480", &bytes));
    QCOMPARE(bytes, 20480);

    QTemporaryDir dir;
    const QString path = dir.filePath("sizes.txt");
    const QStringList sizes{"100", ListFiles::unmeasuredSize, "300"};
    QVERIFY(ListFiles::writeSizes(path, sizes));
    QCOMPARE(ListFiles::readSizes(path, 3), sizes);
}

void tst_ListFiles::forumFileIsOwnerOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("posts2.txt");
    writeFile(path, "http://f/|bob|pw\r\n");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);
    QVERIFY(ListFiles::writeForums(path, {"http://f/"}, {"bob|pw"}));
    QCOMPARE(ownerGroupOther(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    const QString fresh = dir.filePath("fresh.txt");
    QVERIFY(ListFiles::writeForums(fresh, {}, {}));
    QCOMPARE(ownerGroupOther(fresh), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void tst_ListFiles::createdForumFileIsOwnerOnly()
{
    QTemporaryDir dir;
    QVERIFY(DataFolder(dir.path()).createMissingDataFiles());
    const QString path = dir.filePath("posts2.txt");
    QCOMPARE(readFile(path), QByteArray("\r\n"));
    QCOMPARE(ownerGroupOther(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void tst_ListFiles::writeFailureHasNumberAndDescription()
{
    QTemporaryDir dir;
    // A folder where the file should be cannot be replaced, whoever runs the test.
    const QString path = dir.filePath("posts2.txt");
    QVERIFY(QDir(dir.path()).mkdir("posts2.txt"));
    ListFiles::WriteError error;
    QVERIFY(!ListFiles::writeForums(path, {"http://f/"}, {"u|p"}, &error));
    QVERIFY(error.number != 0);
    QVERIFY(!error.description.isEmpty());
    QVERIFY(QFileInfo(path).isDir());
}

void tst_ListFiles::unreadableFilesAreNamed()
{
    QTemporaryDir dir;
    QCOMPARE(ListFiles::unreadableReason(dir.filePath("missing.txt")), QString());
    QFile plain(dir.filePath("posts.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("http://x.y/\r\n\r\n");
    plain.close();
    QCOMPARE(ListFiles::unreadableReason(plain.fileName()), QString());
    // A folder where a list file belongs cannot be read as one.
    QVERIFY(QDir(dir.path()).mkdir("sizes.txt"));
    QVERIFY(!ListFiles::unreadableReason(dir.filePath("sizes.txt")).isEmpty());
    if (geteuid() != 0) { // root reads any file
        QVERIFY(plain.setPermissions(QFileDevice::WriteOwner));
        QVERIFY(!ListFiles::unreadableReason(plain.fileName()).isEmpty());
    }
}

QTEST_GUILESS_MAIN(tst_ListFiles)
#include "tst_listfiles.moc"
