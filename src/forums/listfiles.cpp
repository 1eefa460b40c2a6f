#include "forums/listfiles.h"

#include <QFile>

#include "base/filereplacement.h"
#include "base/textfile.h"

namespace ListFiles {

namespace {

const QChar s_bar = QLatin1Char('|');
const QString s_emptyLogin = QStringLiteral("|");

// A field separator or a line end inside a value would cut the record apart.
bool needsEscape(const QString &value)
{
    return value.contains(s_bar) || value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
}

QString escaped(const QString &value)
{
    QString text = value;
    text.replace(QStringLiteral("%"), QStringLiteral("%25"));
    text.replace(QStringLiteral("|"), QStringLiteral("%7C"));
    text.replace(QStringLiteral("\r"), QStringLiteral("%0D"));
    text.replace(QStringLiteral("\n"), QStringLiteral("%0A"));
    return text;
}

// Only the escapes written above are undone; any other "%" stays as it is.
QString unescaped(const QString &value)
{
    static const struct {
        const char *code;
        char16_t character;
    } escapes[] = {{"25", u'%'}, {"7C", u'|'}, {"0D", u'\r'}, {"0A", u'\n'}};
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == encodedMarker && i + 2 < value.size()) {
            const QString code = value.mid(i + 1, 2).toUpper();
            bool known = false;
            for (const auto &escape : escapes) {
                if (code == QLatin1String(escape.code)) {
                    text += QChar(escape.character);
                    known = true;
                    break;
                }
            }
            if (known) {
                i += 2;
                continue;
            }
        }
        text += c;
    }
    return text;
}

bool writeFile(const QString &path, const QString &text, bool ownerOnly, WriteError *error)
{
    return replaceFile(path, TextFile::encode(text), {ownerOnly, true}, error);
}

} // namespace

bool isSkippedLine(const QString &line)
{
    return line.isEmpty() || line == QLatin1String(" ") || line == QLatin1String("\r\n");
}

QStringList recordsFromLines(const QStringList &lines)
{
    QStringList records;
    for (const QString &line : lines) {
        if (records.size() >= maxEntries) {
            break;
        }
        if (!isSkippedLine(line)) {
            records.append(line);
        }
    }
    return records;
}

QString listText(const QStringList &records)
{
    QString text;
    for (const QString &record : records) {
        text += record + TextFile::crlf + TextFile::crlf;
    }
    return text;
}

QString joinLogin(const QString &user, const QString &password)
{
    if (needsEscape(user) || needsEscape(password) || user.startsWith(encodedMarker)) {
        return encodedMarker + escaped(user) + s_bar + escaped(password);
    }
    return user + s_bar + password;
}

bool splitLogin(const QString &entry, QString *user, QString *password)
{
    if (entry.isEmpty()) {
        return false;
    }
    const bool encoded = entry.startsWith(encodedMarker);
    const QStringList fields = (encoded ? entry.mid(1) : entry).split(s_bar);
    *user = encoded ? unescaped(fields.at(0)) : fields.at(0);
    const QString second = fields.size() > 1 ? fields.at(1) : QString();
    *password = encoded ? unescaped(second) : second;
    return true;
}

QString forumRecord(const QString &address, const QString &loginEntry)
{
    QString user;
    QString password;
    if (!splitLogin(loginEntry, &user, &password)) {
        return address + s_bar;
    }
    if (needsEscape(address) || needsEscape(user) || needsEscape(password) || address.startsWith(encodedMarker)) {
        return encodedMarker + escaped(address) + s_bar + escaped(user) + s_bar + escaped(password);
    }
    return address + s_bar + user + s_bar + password;
}

void parseForumRecord(const QString &line, QString *address, QString *loginEntry)
{
    const bool encoded = line.startsWith(encodedMarker);
    const QStringList fields = (encoded ? line.mid(1) : line).split(s_bar);
    *address = encoded ? unescaped(fields.at(0)) : fields.at(0);
    if (fields.size() < 3) {
        *loginEntry = s_emptyLogin;
        return;
    }
    // Fields after the third are ignored.
    *loginEntry = encoded ? joinLogin(unescaped(fields.at(1)), unescaped(fields.at(2)))
                          : joinLogin(fields.at(1), fields.at(2));
}

ForumList forumsFromLines(const QStringList &lines)
{
    ForumList forums;
    for (const QString &line : recordsFromLines(lines)) {
        QString address;
        QString login;
        parseForumRecord(line, &address, &login);
        forums.addresses.append(address);
        forums.logins.append(login);
    }
    return forums;
}

QString forumsText(const QStringList &addresses, const QStringList &logins)
{
    QStringList records;
    records.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        records.append(forumRecord(addresses.at(i), logins.value(i)));
    }
    return listText(records);
}

QStringList sizesInStep(QStringList sizes, int postCount)
{
    const int count = qMax(0, postCount);
    if (sizes.size() > count) {
        sizes.resize(count);
    }
    while (sizes.size() < count) {
        sizes.append(unmeasuredSize);
    }
    return sizes;
}

bool storedSize(const QString &entry, qint32 *bytes)
{
    bool ok = false;
    const qint32 value = entry.toInt(&ok);
    if (ok && bytes) {
        *bytes = value;
    }
    return ok;
}

namespace {

const QChar s_tab = QLatin1Char('\t');

// A note's value on one line of its own record.
QString oneField(QString value)
{
    for (QChar &c : value) {
        if (c == s_tab || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            c = QLatin1Char(' ');
        }
    }
    return value;
}

} // namespace

QList<PostNote> notesFromLines(const QStringList &lines)
{
    QList<PostNote> notes;
    for (const QString &line : recordsFromLines(lines)) {
        const QStringList fields = line.split(s_tab);
        PostNote note;
        note.address = fields.at(0);
        const QString flags = fields.value(1);
        note.measuredAsBrowser = flags.contains(QLatin1Char('b'));
        note.shown = flags.contains(QLatin1Char('s'));
        // A tab in what follows was a blank once.
        note.ownText = QStringList(fields.mid(2)).join(QLatin1Char(' '));
        if (!note.address.isEmpty()) {
            notes.append(note);
        }
    }
    return notes;
}

QString notesText(const QList<PostNote> &notes)
{
    QStringList records;
    records.reserve(notes.size());
    for (const PostNote &note : notes) {
        const QString flags = QString(note.measuredAsBrowser ? QStringLiteral("b") : QString())
            + (note.shown ? QStringLiteral("s") : QString());
        records.append(oneField(note.address) + s_tab + flags + s_tab + oneField(note.ownText));
    }
    return listText(records);
}

QString unreadableReason(const QString &path)
{
    QFile file(path);
    if (!file.exists() || file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.errorString();
}

QStringList readPosts(const QString &path)
{
    return recordsFromLines(TextFile::readLines(path));
}

ForumList readForums(const QString &path)
{
    return forumsFromLines(TextFile::readLines(path));
}

QStringList readSizes(const QString &path, int postCount)
{
    return sizesInStep(recordsFromLines(TextFile::readLines(path)), postCount);
}

bool writePosts(const QString &path, const QStringList &posts, WriteError *error)
{
    return writeFile(path, listText(posts), false, error);
}

bool writeForums(const QString &path, const QStringList &addresses, const QStringList &logins, WriteError *error)
{
    return writeFile(path, forumsText(addresses, logins), true, error);
}

bool writeSizes(const QString &path, const QStringList &sizes, WriteError *error)
{
    return writeFile(path, listText(sizes), false, error);
}

bool writePostsAndSizes(const QString &postsPath, const QStringList &posts, const QString &sizesPath,
                        const QStringList &sizes, WriteError *error, const QString &notesPath,
                        const QList<PostNote> &notes)
{
    FileReplacement postsFile(postsPath);
    FileReplacement sizesFile(sizesPath);
    FileReplacement notesFile(notesPath);
    const bool withNotes = !notesPath.isEmpty();
    FileReplacement *failed = nullptr;
    if (!postsFile.stage(TextFile::encode(listText(posts)))) {
        failed = &postsFile;
    } else if (!sizesFile.stage(TextFile::encode(listText(sizes)))) {
        failed = &sizesFile;
    } else if (withNotes && !notesFile.stage(TextFile::encode(notesText(notes)))) {
        failed = &notesFile;
    } else if (!postsFile.commit()) {
        failed = &postsFile;
    } else if (!sizesFile.commit()) {
        // All were whole on the disk beside their files; only a failing rename gets here.
        failed = &sizesFile;
    } else if (withNotes && !notesFile.commit()) {
        failed = &notesFile;
    }
    if (failed && error) {
        *error = failed->failure();
    }
    return failed == nullptr;
}

} // namespace ListFiles
