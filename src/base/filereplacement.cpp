#include "base/filereplacement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr QFileDevice::Permissions s_ownerModes = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString WriteFailure::text() const
{
    return QCoreApplication::translate("WriteFailure", "Could not save %1: %2").arg(fileName, description);
}

FileReplacement::FileReplacement(const QString &path, Options options)
    : m_path(path)
    , m_options(options)
    , m_file(path)
{
    m_failure.fileName = QFileInfo(path).fileName();
}

bool FileReplacement::fail(int number, const QString &description)
{
    m_failure.number = number == QFileDevice::NoError ? int(QFileDevice::UnspecifiedError) : number;
    m_failure.description = description;
    m_file.cancelWriting();
    return false;
}

bool FileReplacement::stage(const QByteArray &bytes)
{
    if (!m_file.open(QIODevice::WriteOnly)) {
#ifdef Q_OS_UNIX
        // For a file it may not replace, the save file names no cause; the system does.
        if (QFileInfo::exists(m_path) && ::access(QFile::encodeName(m_path).constData(), W_OK) != 0) {
            return fail(m_file.error(), qt_error_string(errno));
        }
#endif
        return fail(m_file.error(), m_file.errorString());
    }
    // Best effort: on a file system without modes the file is still written.
    if (m_options.ownerOnly) {
        m_file.setPermissions(s_ownerModes);
    }
#ifdef Q_OS_UNIX
    // Written by hand: a disk that takes part of the bytes (full, or a file size limit reached) answers the
    // rest with the reason, which the buffered writer drops ("Unknown error").
    const char *data = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(m_file.handle(), data, size_t(left));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            // The numbers Qt's own writer gives: a full disk is out of a resource.
            const int number = errno == ENOSPC ? QFileDevice::ResourceError : QFileDevice::WriteError;
            return fail(number, qt_error_string(errno));
        }
        data += written;
        left -= written;
    }
#else
    // A small file only sits in the buffer after write(); the disk refuses it at the flush, and a commit
    // after a failed flush would put an empty file in the old one's place. So every step is checked here.
    if (m_file.write(bytes) != bytes.size() || !m_file.flush() || m_file.error() != QFileDevice::NoError) {
        return fail(m_file.error(), m_file.errorString());
    }
#endif
#ifdef Q_OS_UNIX
    // Quotas and network file systems may refuse only here.
    if (m_options.synced && ::fsync(m_file.handle()) != 0) {
        return fail(QFileDevice::WriteError, qt_error_string(errno));
    }
#endif
    return true;
}

bool FileReplacement::commit()
{
    if (!m_file.commit()) {
        m_failure.number = m_file.error() == QFileDevice::NoError ? int(QFileDevice::RenameError) : int(m_file.error());
        m_failure.description = m_file.errorString();
        return false;
    }
    if (m_options.ownerOnly) {
        // The rename keeps the temporary file's mode; make sure of it where it does not.
        QFile::setPermissions(m_path, s_ownerModes);
    }
    return true;
}

bool replaceFile(const QString &path, const QByteArray &bytes, FileReplacement::Options options, WriteFailure *failure)
{
    FileReplacement file(path, options);
    const bool written = file.stage(bytes) && file.commit();
    if (!written && failure) {
        *failure = file.failure();
    }
    return written;
}
