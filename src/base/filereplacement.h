#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Why a file could not be written, worded once for the user.
struct WriteFailure
{
    QString fileName; // the name the user knows, "posts.txt"
    int number = 0; // QFileDevice::FileError
    QString description; // the system's reason, "No space left on device"

    // "Could not save posts.txt: No space left on device"
    QString text() const;
};

// A file's new contents, written in full beside it and to the disk before they take its place, so that no
// failure (a full disk, a quota, a read-only or failing disk) leaves anything but the old file or the whole new
// one. Until commit() the old file is untouched; a replacement dropped before it leaves nothing behind.
class FileReplacement
{
public:
    struct Options
    {
        // Readable and writable by the owner alone (files that hold passwords).
        bool ownerOnly = false;
        // Synced to the disk before the rename, so a power cut cannot leave an empty file. A scratch file
        // that nothing reads after a restart does without.
        bool synced = true;
    };

    explicit FileReplacement(const QString &path, Options options);
    explicit FileReplacement(const QString &path)
        : FileReplacement(path, Options())
    { }

    // Writes the new contents beside the file and makes sure every byte reached the disk. False with
    // failure() set when anything refused.
    bool stage(const QByteArray &bytes);
    // Puts the staged contents in the file's place. Precondition: stage() succeeded.
    bool commit();

    const WriteFailure &failure() const { return m_failure; }

private:
    bool fail(int number, const QString &description);

    QString m_path;
    Options m_options;
    QSaveFile m_file;
    WriteFailure m_failure;
};

// Stages and commits in one step.
bool replaceFile(
    const QString &path, const QByteArray &bytes, FileReplacement::Options options, WriteFailure *failure = nullptr);
