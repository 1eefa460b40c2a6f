// The list files, the message records and the text files under them. Any bytes are read as a damaged list
// file would be; what was read, written back, must read back the same. Then the input, cut at NUL into
// values, goes through each writer and reader and must come back as the files' comments promise.
#include <QFile>
#include <QRegularExpression>

#include "base/textfile.h"
#include "forums/listfiles.h"
#include "fuzzcheck.h"
#include "messages/messagestore.h"

namespace {

QString path(const QString &name)
{
    return Fuzz::scratchFolder() + QLatin1Char('/') + name;
}

bool hasLineEnd(const QString &value)
{
    return value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
}

// Every reading of a file: posts, forums and sizes, and that a written list reads back as it was read.
void readAsListFile(const QByteArray &bytes)
{
    const QStringList lines = TextFile::splitLines(bytes);
    for (const QString &line : lines) {
        FUZZ_CHECK(!hasLineEnd(line));
    }
    const QStringList posts = ListFiles::recordsFromLines(lines);
    FUZZ_CHECK(ListFiles::recordsFromLines(TextFile::splitLines(TextFile::encode(ListFiles::listText(posts))))
               == posts);

    const ListFiles::ForumList forums = ListFiles::forumsFromLines(lines);
    FUZZ_CHECK(forums.addresses.size() == posts.size() && forums.logins.size() == posts.size());
    const QString forumsPath = path(QStringLiteral("posts2.txt"));
    FUZZ_CHECK(ListFiles::writeForums(forumsPath, forums.addresses, forums.logins));
    const ListFiles::ForumList again = ListFiles::readForums(forumsPath);
    FUZZ_CHECK(again.addresses == forums.addresses);
    FUZZ_CHECK(again.logins == forums.logins);

    const QStringList sizes = ListFiles::sizesInStep(posts, int(posts.size()) / 2);
    FUZZ_CHECK(sizes.size() == posts.size() / 2);
    for (const QString &size : sizes) {
        qint32 bytesCount = 0;
        ListFiles::storedSize(size, &bytesCount);
    }
}

void loginRoundTrip(const QString &address, const QString &user, const QString &password)
{
    const QString login = ListFiles::joinLogin(user, password);
    QString readUser;
    QString readPassword;
    FUZZ_CHECK(ListFiles::splitLogin(login, &readUser, &readPassword));
    FUZZ_CHECK(readUser == user && readPassword == password);

    const QString forumsPath = path(QStringLiteral("posts2.txt"));
    const QStringList addresses{QStringLiteral("http://forum/"), address};
    FUZZ_CHECK(ListFiles::writeForums(forumsPath, addresses, {login, login}));
    const ListFiles::ForumList forums = ListFiles::readForums(forumsPath);
    FUZZ_CHECK(forums.addresses == addresses);
    FUZZ_CHECK(forums.logins.size() == 2);
    FUZZ_CHECK(ListFiles::splitLogin(forums.logins.at(1), &readUser, &readPassword));
    FUZZ_CHECK(readUser == user && readPassword == password);

    // Alone, and so first in its file.
    FUZZ_CHECK(ListFiles::writeForums(forumsPath, {address}, {login}));
    FUZZ_CHECK(ListFiles::readForums(forumsPath).addresses == QStringList{address});
}

// Plain records: any value without a line end that is not a line the readers skip.
void postsRoundTrip(const QStringList &values)
{
    QStringList posts;
    for (const QString &value : values) {
        if (!hasLineEnd(value) && !ListFiles::isSkippedLine(value)) {
            posts.append(value);
        }
    }
    const QString postsPath = path(QStringLiteral("posts.txt"));
    FUZZ_CHECK(ListFiles::writePosts(postsPath, posts));
    FUZZ_CHECK(ListFiles::readPosts(postsPath) == posts);
    FUZZ_CHECK(ListFiles::readSizes(postsPath, int(posts.size())) == posts);
}

// Nothing in a body is encoded but its line breaks: a "|" or a "[br]" of its own cannot come back.
void messageRoundTrip(const QString &body, const QString &subject)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
    const QString line = MessageRecord::toLine(body, subject);
    FUZZ_CHECK(!hasLineEnd(line));

    const QString storePath = path(QStringLiteral("messages.txt"));
    QFile::remove(storePath);
    const MessageStore store(storePath);
    FUZZ_CHECK(store.save(body, subject));
    FUZZ_CHECK(store.entries() == QStringList{line});
    const bool clash = line == QLatin1String("a|b");
    const QString other = clash ? QStringLiteral("c|d") : QStringLiteral("a|b");
    FUZZ_CHECK(store.save(other.left(1), other.right(1)));
    FUZZ_CHECK(store.entries() == (QStringList{line, other}));
    FUZZ_CHECK(store.remove(other));
    FUZZ_CHECK(store.entries() == QStringList{line});

    if (body.contains(QLatin1Char('|')) || body.contains(QLatin1String("[br]"), Qt::CaseInsensitive)
        || subject.contains(QLatin1Char('|'))) {
        return;
    }
    const MessageRecord record = MessageRecord::fromLine(line);
    QString expectedBody = body;
    expectedBody.replace(lineBreak, TextFile::crlf);
    QString expectedSubject = subject;
    expectedSubject.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    FUZZ_CHECK(record.body == expectedBody);
    FUZZ_CHECK(record.hasSubject && record.subject == expectedSubject);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    readAsListFile(Fuzz::bytes(data, size));

    const QStringList values = Fuzz::fields(data, size, 3);
    loginRoundTrip(values.at(0), values.at(1), values.at(2));
    postsRoundTrip(values);
    messageRoundTrip(values.at(0), values.at(1));
    return 0;
}
