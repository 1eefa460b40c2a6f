#include "base/filereplacement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

FileReplacement::Fault &fault()
{
    static FileReplacement::Fault s_fault;
    return s_fault;
}

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

void FileReplacement::setFaultForTesting(Fault hook)
{
    fault() = std::move(hook);
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
    // A small file only sits in the buffer after write(); the disk refuses it at the flush, and a commit
    // after a failed flush would put an empty file in the old one's place. So every step is checked here.
    if (m_file.write(bytes) != bytes.size()) {
        return fail(m_file.error(), m_file.errorString());
    }
    if (const int injected = fault() ? fault()(m_path) : 0) {
        return fail(QFileDevice::ResourceError, qt_error_string(injected));
    }
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        return fail(m_file.error(), m_file.errorString());
    }
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
