#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The data folder and its files. It is the per-user data folder wherever the program runs from, and the
// executable's own folder in portable mode.
namespace DataFiles {
inline const QString htmlTemp = QStringLiteral("htmltemp.txt");
inline const QString messages = QStringLiteral("messages.txt");
inline const QString posts = QStringLiteral("posts.txt");
inline const QString posts2 = QStringLiteral("posts2.txt");
inline const QString sizes = QStringLiteral("sizes.txt");
// What the program knows of each own post beyond its size: the beginning of the user's own text there.
inline const QString postNotes = QStringLiteral("postnotes.txt");
inline const QString help = QStringLiteral("Help.rtf");

// Where an installed program's shared files (the help text) are, seen from the executable's folder.
inline const QString installedShare = QStringLiteral("../share/postavo");
// A file of this name beside the executable keeps the data there (portable mode).
inline const QString portableMarker = QStringLiteral("portable");

// The five files created at start-up when missing, in the order they are created.
QStringList createdAtStartup();
} // namespace DataFiles

// The text after the last path separator ("\" or "/"); empty for an empty path or one ending in a separator.
QString fileNameFromPath(const QString &path);

// True when the path's folder holds a visible regular file whose name equals the path's file name, ignoring
// letter case. Wildcard patterns, hidden files, folders and every lookup error read as missing.
bool fileExists(const QString &path);

// Where the data lives for this run, and what the start did to get it there.
struct DataLocation
{
    QString path;
    bool portable = false;
    // Data files of an older version found beside the executable and copied (never moved) to the per-user
    // folder at this start; empty when nothing was copied.
    QString copiedFrom;
    QStringList copiedFiles;
    // Why a file could not be copied; the originals stay where they are either way.
    QString copyError;
};

class DataFolder
{
public:
    // The running program's data folder (see locate), created when missing; the choice is logged under
    // "postavo.files".
    static DataFolder forProgram(bool portableAsked, DataLocation *location = nullptr);
    // Portable (asked for, or the marker file beside the executable): the executable's folder. Otherwise the
    // per-user folder, into which the data files left beside the executable by an older version are copied
    // when the per-user folder holds none of them yet.
    static DataLocation locate(const QString &programFolder, const QString &perUserFolder, bool portableAsked);
    static bool isPortable(const QString &programFolder, bool portableAsked);
    explicit DataFolder(const QString &path);

    QString path() const { return m_path; }
    QString filePath(const QString &fileName) const;

    // Checks that files can be created and replaced here; *reason says why not.
    bool isWritable(QString *reason) const;

    // Creates each missing start-up file holding one CR LF; existing files are not opened.
    // On failure *error names the file and the reason.
    bool createMissingDataFiles(QString *error = nullptr) const;

private:
    QString m_path;
};

// The help text, in any letter case: in the data folder, beside the executable, or in the installed shared
// folder, first found first; the guide in the locale's language ("Help_de.rtf") before the English one. Empty
// when none holds it. Logged under "postavo.files".
QString findHelpFile(const DataFolder &data, const QString &programFolder, const QLocale &locale = QLocale());
QString findHelpFile(const DataFolder &data);
