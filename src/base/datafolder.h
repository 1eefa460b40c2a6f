#pragma once

#include <QString>
#include <QStringList>

// The data folder and its files. It is the executable's own folder when the program runs from a build tree or a
// portable folder, and the per-user data folder once the program is installed.
namespace DataFiles {
inline const QString htmlTemp = QStringLiteral("htmltemp.txt");
inline const QString messages = QStringLiteral("messages.txt");
inline const QString posts = QStringLiteral("posts.txt");
inline const QString posts2 = QStringLiteral("posts2.txt");
inline const QString sizes = QStringLiteral("sizes.txt");
inline const QString help = QStringLiteral("Help.rtf");

// Where an installed program's shared files (the help text) are, seen from the executable's folder. Its
// presence is what tells an installed program from one in a build tree or a portable folder.
inline const QString installedShare = QStringLiteral("../share/postavo");

// The five files created at start-up when missing, in the order they are created.
QStringList createdAtStartup();
} // namespace DataFiles

// The text after the last path separator ("\" or "/"); empty for an empty path or one ending in a separator.
QString fileNameFromPath(const QString &path);

// True when the path's folder holds a visible regular file whose name equals the path's file name, ignoring
// letter case. Wildcard patterns, hidden files, folders and every lookup error read as missing.
bool fileExists(const QString &path);

class DataFolder
{
public:
    // The running program's data folder (see choosePath), created when missing; the choice is logged under
    // "postavo.files".
    static DataFolder forProgram();
    // The executable's folder when the program is not installed and can write there; otherwise the per-user
    // folder. An installed program never writes beside itself, even run by someone who could.
    static QString choosePath(const QString &programFolder, const QString &perUserFolder);
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
// folder, first found first. Empty when none holds it. Logged under "postavo.files".
QString findHelpFile(const DataFolder &data, const QString &programFolder);
QString findHelpFile(const DataFolder &data);
