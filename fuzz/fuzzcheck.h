#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken property stops the run as a crash would, so the fuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                                   \
    do {                                                                                                        \
        if (!(condition)) {                                                                                     \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);             \
            std::abort();                                                                                       \
        }                                                                                                       \
    } while (false)

namespace Fuzz {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Text as the program holds it: valid UTF-16, so writing it as UTF-8 and reading it back can be exact.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input's text cut at NUL into the values a target needs; missing ones are empty.
inline QStringList fields(const uint8_t *data, size_t size, int count)
{
    QStringList parts = text(data, size).split(QChar(0));
    while (parts.size() < count) {
        parts.append(QString());
    }
    return parts;
}

// A folder for the files a target writes, in memory where the system has such a folder: every list file is
// written with a sync to disk, which would otherwise take most of the run.
inline QString scratchFolder()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/postavo-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/postavo-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    return dir.path();
}

} // namespace Fuzz
