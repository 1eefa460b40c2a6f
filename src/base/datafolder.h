#pragma once

#include <QString>
#include <QStringList>

// The data folder (the folder that holds the executable) and its files.
namespace DataFiles {
inline const QString htmlTemp = QStringLiteral("htmltemp.txt");
inline const QString messages = QStringLiteral("messages.txt");
inline const QString posts = QStringLiteral("posts.txt");
inline const QString posts2 = QStringLiteral("posts2.txt");
inline const QString sizes = QStringLiteral("sizes.txt");
inline const QString help = QStringLiteral("Help.rtf");

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
    // The folder of the running executable.
    static DataFolder ofExecutable();
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
