#pragma once

#include <QString>
#include <QStringList>

#include "base/filereplacement.h"

// The files of the forum list ("posts2.txt"), the own-posts list ("posts.txt") and the stored page sizes
// ("sizes.txt"), and the login entries kept beside the forum list.
//
// Every list file holds one record per line, each followed by an empty line. Values that contain "|" (or a
// line end) cannot be written in the plain "address|user|password" record, so such a record (and only such
// a record) is written encoded: it starts with "%", and inside it "%" reads "%25", "|" "%7C", CR "%0D" and
// LF "%0A". No address a browser reports starts with "%", so plain records stay exactly as older versions
// wrote them.
namespace ListFiles {

// List indices are 16-bit: no list holds more entries than this.
inline constexpr int maxEntries = 32767;

// Stands in the stored sizes for a post whose page has not been measured yet. Not a number, and not a blank
// line, so it survives a restart and a reply check can tell it from a size.
inline const QString unmeasuredSize = QStringLiteral("unmeasured");

// Starts every encoded record and login entry.
inline constexpr QChar encodedMarker = QLatin1Char('%');

// Lines the readers skip: empty, a single space, or a bare CR LF.
bool isSkippedLine(const QString &line);

// The records among the lines, in order, at most maxEntries.
QStringList recordsFromLines(const QStringList &lines);

// File text: every record followed by CR LF and an empty line.
QString listText(const QStringList &records);

// One login as kept beside the forum list: "user|password", or an encoded entry when either value contains
// "|" or a line end (or the user name starts with the marker) so that splitting it can never move characters
// between the two values.
QString joinLogin(const QString &user, const QString &password);
// False for an empty entry (nothing to show); otherwise fills user and password.
bool splitLogin(const QString &entry, QString *user, QString *password);

// One line of "posts2.txt" and back. A line with fewer than three fields still yields a forum; its login is
// the empty one ("|"), so the forum and login lists keep the same length.
QString forumRecord(const QString &address, const QString &loginEntry);
void parseForumRecord(const QString &line, QString *address, QString *loginEntry);

struct ForumList
{
    QStringList addresses;
    QStringList logins; // same length as addresses
};

ForumList forumsFromLines(const QStringList &lines);
// Precondition: logins has at least as many entries as addresses; a missing one is written as empty.
QString forumsText(const QStringList &addresses, const QStringList &logins);

// Keeps the stored sizes index for index with the own posts: missing sizes read as unmeasured, sizes past
// the last post are dropped.
QStringList sizesInStep(QStringList sizes, int postCount);

// The stored size as a byte count; false for the unmeasured marker or any other text that is not a whole
// number.
bool storedSize(const QString &entry, qint32 *bytes);

// What is kept of an own post beside its address and size ("postnotes.txt", one record per post, each followed
// by an empty line): "address TAB flags TAB own text". The flags are letters: "b" the stored size was measured as
// the browser pane sees the page, "s" the page showed the own text when it was last measured.
struct PostNote
{
    QString address;
    // The beginning of the user's own post on the page (one line); empty when it is not known.
    QString ownText;
    bool shown = false;
    bool measuredAsBrowser = false;
};

QList<PostNote> notesFromLines(const QStringList &lines);
QString notesText(const QList<PostNote> &notes);

using WriteError = WriteFailure;

// Why a list file that exists cannot be read (empty when it can, or when it does not exist).
QString unreadableReason(const QString &path);

// A file that cannot be read yields an empty list.
QStringList readPosts(const QString &path);
ForumList readForums(const QString &path);
QStringList readSizes(const QString &path, int postCount);

// Each rewrites the whole file in one step; a write that fails leaves the old file as it was. The forum file
// holds passwords and is made readable by its owner only where the file system allows it; where it does not,
// the file is written all the same.
bool writePosts(const QString &path, const QStringList &posts, WriteError *error = nullptr);
bool writeForums(const QString &path, const QStringList &addresses, const QStringList &logins,
                 WriteError *error = nullptr);
bool writeSizes(const QString &path, const QStringList &sizes, WriteError *error = nullptr);
// The own posts and their sizes as one: both new files are on the disk in full before either replaces its old
// one, and when either cannot be written neither is replaced. With a notes path, the notes go with them.
bool writePostsAndSizes(const QString &postsPath, const QStringList &posts, const QString &sizesPath,
                        const QStringList &sizes, WriteError *error = nullptr, const QString &notesPath = QString(),
                        const QList<PostNote> &notes = {});

} // namespace ListFiles
