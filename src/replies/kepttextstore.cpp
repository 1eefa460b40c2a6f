#include "replies/kepttextstore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QtEndian>

#include <fcntl.h>
#include <lz4.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "base/filereplacement.h"
#include "replies/postaddress.h"

namespace {

// A text is kept LZ4-compressed, behind its size and its page's chunks: it is read back for every check of its
// post, and LZ4 reads it several times faster than zstd. Texts kept by earlier versions, without chunks, LZ4-,
// zlib- or zstd-compressed, read as well.
const QByteArray s_magic = QByteArrayLiteral("PVKT4\n");
const QByteArray s_lz4Magic = QByteArrayLiteral("PVKT3\n");
const QByteArray s_zstdMagic = QByteArrayLiteral("PVKT2\n");
const QByteArray s_zlibMagic = QByteArrayLiteral("PVKT1\n");
const QString s_suffix = QStringLiteral(".ptz");
constexpr qsizetype s_fileNamesKept = 10000;
// After the magic: the text's size, the reading that cut the chunks, and their count.
constexpr qsizetype s_headerSize = 6 + 3 * 4;
// A chunk's four offsets and three hashes, little-endian.
constexpr qsizetype s_chunkSize = 4 * 4 + 3 * 8;

void putChunk(char *out, const PageChunk &chunk)
{
    qToLittleEndian(chunk.start, out);
    qToLittleEndian(chunk.length, out + 4);
    qToLittleEndian(chunk.textStart, out + 8);
    qToLittleEndian(chunk.textLength, out + 12);
    qToLittleEndian(chunk.lead, out + 16);
    qToLittleEndian(chunk.opening, out + 24);
    qToLittleEndian(chunk.hash, out + 32);
}

PageChunk chunkAt(const char *in)
{
    return { qFromLittleEndian<quint32>(in), qFromLittleEndian<quint32>(in + 4), qFromLittleEndian<quint32>(in + 8),
        qFromLittleEndian<quint32>(in + 12), qFromLittleEndian<quint64>(in + 16), qFromLittleEndian<quint64>(in + 24),
        qFromLittleEndian<quint64>(in + 32) };
}

QString oneLine(const QString &line)
{
    QString text = line;
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

KeptTextStore::KeptTextStore(const QString &folder)
    : m_folder(folder)
{ }

QString KeptTextStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/page-texts");
}

QString KeptTextStore::fileOf(const QString &address) const
{
    {
        const QMutexLocker locker(&m_fileNamesLock);
        const auto found = m_fileNames.constFind(address);
        if (found != m_fileNames.constEnd()) {
            return *found;
        }
    }
    const QByteArray hash
        = QCryptographicHash::hash(PostAddress::identity(address).toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString path = m_folder + u'/' + QString::fromLatin1(hash.left(32)) + s_suffix;
    const QMutexLocker locker(&m_fileNamesLock);
    // Far more than a user has posts; past it the names are made again.
    if (m_fileNames.size() >= s_fileNamesKept) {
        m_fileNames.clear();
    }
    m_fileNames.insert(address, path);
    return path;
}

QByteArray KeptTextStore::encode(const KeptText &text)
{
    QString noise = QString::number(text.noise.size()) + u'\n';
    for (const QString &shape : text.noise) {
        noise += oneLine(shape) + u'\n';
    }
    // The lines are UTF-8 already, one line each.
    const QByteArray bytes = noise.toUtf8() + text.lines.text();
    if (bytes.size() > LZ4_MAX_INPUT_SIZE) {
        return {};
    }
    const int bound = LZ4_compressBound(int(bytes.size()));
    const qsizetype header = s_headerSize + text.chunks.size() * s_chunkSize;
    QByteArray file(header + bound, Qt::Uninitialized);
    std::memcpy(file.data(), s_magic.constData(), size_t(s_magic.size()));
    qToLittleEndian(quint32(bytes.size()), file.data() + s_magic.size());
    qToLittleEndian(PageChunks::readingVersion, file.data() + s_magic.size() + 4);
    qToLittleEndian(quint32(text.chunks.size()), file.data() + s_magic.size() + 8);
    for (qsizetype i = 0; i < text.chunks.size(); ++i) {
        putChunk(file.data() + s_headerSize + i * s_chunkSize, text.chunks.at(i));
    }
    const int written = LZ4_compress_default(bytes.constData(), file.data() + header, int(bytes.size()), bound);
    if (written <= 0) {
        return {};
    }
    file.truncate(header + written);
    return file;
}

namespace {

constexpr quint64 s_largestText = quint64(KeptTextStore::maximumFileSize) * 8;

// The text of size bytes that an LZ4 block holds; empty when the block is damaged.
QByteArray fromLz4(quint32 size, QByteArrayView block)
{
    // LZ4 makes a byte at most about 255 of the text's.
    if (size > s_largestText || size > quint64(block.size()) * 255 + 16) {
        return {};
    }
    QByteArray payload(qsizetype(size), Qt::Uninitialized);
    const int got = LZ4_decompress_safe(block.data(), payload.data(), int(block.size()), int(size));
    return got == int(size) ? payload : QByteArray();
}

// The payload of a kept-text file, and its page's chunks in *chunks when it has some of this version's
// reading; empty when it is none or damaged. Nothing larger than a kept text can be is made room for, whatever
// the file claims.
QByteArray uncompressed(const QByteArray &bytes, QList<PageChunk> *chunks)
{
    if (bytes.startsWith(s_magic) && bytes.size() >= s_headerSize) {
        const char *const header = bytes.constData() + s_magic.size();
        const quint32 count = qFromLittleEndian<quint32>(header + 8);
        if (count > quint64(bytes.size() - s_headerSize) / s_chunkSize) {
            return {};
        }
        if (qFromLittleEndian<quint32>(header + 4) == PageChunks::readingVersion) {
            chunks->reserve(count);
            for (quint32 i = 0; i < count; ++i) {
                chunks->append(chunkAt(bytes.constData() + s_headerSize + qsizetype(i) * s_chunkSize));
            }
        }
        return fromLz4(qFromLittleEndian<quint32>(header),
            QByteArrayView(bytes).sliced(s_headerSize + qsizetype(count) * s_chunkSize));
    }
    if (bytes.startsWith(s_lz4Magic) && bytes.size() >= s_lz4Magic.size() + 4) {
        return fromLz4(qFromLittleEndian<quint32>(bytes.constData() + s_lz4Magic.size()),
            QByteArrayView(bytes).sliced(s_lz4Magic.size() + 4));
    }
    if (bytes.startsWith(s_zstdMagic)) {
        const QByteArrayView frame = QByteArrayView(bytes).sliced(s_zstdMagic.size());
        const unsigned long long size = ZSTD_getFrameContentSize(frame.data(), size_t(frame.size()));
        if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR || size > s_largestText) {
            return {};
        }
        thread_local const std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx *)> context(
            ZSTD_createDCtx(), ZSTD_freeDCtx);
        if (!context) {
            return {};
        }
        QByteArray payload(qsizetype(size), Qt::Uninitialized);
        const size_t got
            = ZSTD_decompressDCtx(context.get(), payload.data(), size_t(size), frame.data(), size_t(frame.size()));
        return ZSTD_isError(got) || got != size ? QByteArray() : payload;
    }
    if (bytes.startsWith(s_zlibMagic) && bytes.size() >= s_zlibMagic.size() + 4) {
        const QByteArrayView compressed = QByteArrayView(bytes).sliced(s_zlibMagic.size());
        // The length qUncompress would make room for before it reads a byte.
        if (qFromBigEndian<quint32>(compressed.data()) > s_largestText) {
            return {};
        }
        return qUncompress(reinterpret_cast<const uchar *>(compressed.data()), compressed.size());
    }
    return {};
}

} // namespace

std::optional<KeptText> KeptTextStore::decode(const QByteArray &bytes)
{
    QList<PageChunk> chunks;
    QByteArray payload = uncompressed(bytes, &chunks);
    if (payload.isEmpty() || !payload.endsWith('\n')) {
        return std::nullopt;
    }
    const QByteArrayView rest(payload);
    const qsizetype countEnd = rest.indexOf('\n');
    bool ok = false;
    const qsizetype noiseCount = rest.first(countEnd).toLongLong(&ok);
    if (!ok || noiseCount < 0 || noiseCount > rest.size()) {
        return std::nullopt;
    }
    KeptText text;
    qsizetype start = countEnd + 1;
    for (; text.noise.size() < noiseCount && start < rest.size(); ++start) {
        const qsizetype end = rest.indexOf('\n', start);
        // Each line as it was, a leading byte-order mark included.
        text.noise.append(TextLines::textOf(rest.sliced(start, end - start)));
        start = end;
    }
    if (text.noise.size() < noiseCount) {
        return std::nullopt;
    }
    // The page's lines as they are, in UTF-8.
    QByteArray lines = std::move(payload);
    lines.remove(0, start);
    text.lines = TextLines::fromText(std::move(lines));
    text.chunks = std::move(chunks);
    return text;
}

namespace {

// The file's bytes; null when it cannot be read or is larger than limit. A check reads a kept text per page:
// four system calls, where QFile makes seven.
QByteArray wholeFile(const QString &path, qint64 limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    const auto closer = qScopeGuard([fd] { ::close(fd); });
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > limit) {
        return {};
    }
    // A kept text is replaced, never written in place: the file keeps the size it has now.
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return {};
        }
        got += n;
    }
    return bytes;
}

} // namespace

std::optional<KeptText> KeptTextStore::read(const QString &address) const
{
    return decode(wholeFile(fileOf(address), maximumFileSize));
}

bool KeptTextStore::ensureFolder() const
{
    QDir dir(m_folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral("."))) {
        return false;
    }
    return QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool KeptTextStore::write(const QString &address, const KeptText &text)
{
    if (!ensureFolder()) {
        return false;
    }
    const QString path = fileOf(address);
    const QByteArray bytes = encode(text);
    if (bytes.isEmpty()) {
        return false;
    }
    const QMutexLocker locker(&m_indexLock);
    scan();
    // A cache: checked to the end like every file, but not worth a disk sync per page.
    if (!replaceFile(path, bytes, { .ownerOnly = true, .synced = false })) {
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    forget(name);
    m_entries.insert(name, { bytes.size(), QDateTime::currentMSecsSinceEpoch(), ++m_sequence });
    m_total += bytes.size();
    trim();
    return true;
}

void KeptTextStore::remove(const QString &address)
{
    const QString path = fileOf(address);
    const QMutexLocker locker(&m_indexLock);
    QFile::remove(path);
    forget(QFileInfo(path).fileName());
}

bool KeptTextStore::clear()
{
    bool cleared = true;
    const QMutexLocker locker(&m_indexLock);
    const QDir dir(m_folder);
    for (const QString &name : dir.entryList({ QStringLiteral("*") + s_suffix }, QDir::Files | QDir::Hidden)) {
        cleared = QFile::remove(dir.filePath(name)) && cleared;
    }
    m_entries.clear();
    m_total = 0;
    m_scanned = false;
    return cleared;
}

qint64 KeptTextStore::totalSize()
{
    const QMutexLocker locker(&m_indexLock);
    scan();
    return m_total;
}

void KeptTextStore::scan()
{
    if (m_scanned) {
        return;
    }
    m_scanned = true;
    m_entries.clear();
    m_total = 0;
    const QDir dir(m_folder);
    for (const QFileInfo &info : dir.entryInfoList({ QStringLiteral("*") + s_suffix }, QDir::Files | QDir::Hidden)) {
        m_entries.insert(info.fileName(), { info.size(), info.lastModified().toMSecsSinceEpoch(), 0 });
        m_total += info.size();
    }
}

void KeptTextStore::forget(const QString &name)
{
    const auto found = m_entries.constFind(name);
    if (found != m_entries.constEnd()) {
        m_total -= found->size;
        m_entries.erase(found);
    }
}

void KeptTextStore::trim()
{
    if (m_total <= m_limit) {
        return;
    }
    std::vector<std::pair<QString, Entry>> byAge;
    byAge.reserve(size_t(m_entries.size()));
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        byAge.emplace_back(it.key(), it.value());
    }
    std::sort(byAge.begin(), byAge.end(), [](const auto &a, const auto &b) {
        return std::tie(a.second.writtenMs, a.second.sequence) < std::tie(b.second.writtenMs, b.second.sequence);
    });
    const QDir dir(m_folder);
    for (const auto &[name, entry] : byAge) {
        if (m_total <= m_limit) {
            break;
        }
        QFile::remove(dir.filePath(name));
        forget(name);
    }
}
